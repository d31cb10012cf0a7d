// The toolkit services on Qt: message boxes, the dialogs bound to TGL_Form's
// models, focus, the user's decimal separator, the clock and the browser.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "window/toolkit.h"

class TMainWindow;

class TQtToolkit : public TToolkit {
public:
  TQtToolkit();
  ~TQtToolkit() override;
  // The window whose dialogs, view and focus the services use.
  void Attach(TMainWindow* window);

  void MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon) override;
  bool Question(const std::string& text, const std::string& caption) override;
  TModalResult ShowModal(TDialogId id) override;
  void SetDialogVisible(TDialogId id, bool visible) override;
  void ReturnFocus() override;
  // The window's language's, read at each call: it may change at any time.
  char DecimalSeparator() const override;
  std::uint32_t TickCountMs() override;
  void SwapBuffers() override;
  void OpenDocument(const std::string& path, std::function<void()> failed) override;
  void CloseWindow() override;
  bool ChooseFile(TFileChoice choice, const std::string& start, std::string& path) override;

  // The program that opens a document (found on the path); empty: the
  // desktop services, which cannot tell whether a browser started.
  QString Launcher;

private:
  QPointer<TMainWindow> window_;
  // Parent of the launcher processes still running.
  std::unique_ptr<QObject> launches_;
  QElapsedTimer clock_;
};
