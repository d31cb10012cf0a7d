// The toolkit services on Qt: message boxes, the dialogs bound to TGL_Form's
// models, focus, the user's decimal separator, the clock and the browser.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "platform/toolkit.h"

class TMainWindow;

class TQtToolkit : public TToolkit {
public:
  TQtToolkit();
  // The window whose dialogs, view and focus the services use.
  void Attach(TMainWindow* window);

  void MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon) override;
  bool Question(const std::string& text, const std::string& caption) override;
  TModalResult ShowModal(TDialogId id) override;
  void SetDialogVisible(TDialogId id, bool visible) override;
  void ReturnFocus() override;
  char DecimalSeparator() const override { return separator_; }
  std::uint32_t TickCountMs() override;
  void SwapBuffers() override;
  void OpenDocument(const std::string& path) override;
  void CloseWindow() override;

private:
  QPointer<TMainWindow> window_;
  QElapsedTimer clock_;
  char separator_ = '.';
};
