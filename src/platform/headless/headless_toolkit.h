// The toolkit without a window: message boxes are recorded (and echoed), modal
// dialogs are answered by a script, the clock is virtual. The command line and
// the tests use it.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "window/toolkit.h"

class THeadlessToolkit : public TToolkit {
public:
  struct TMessage {
    std::string Text;
    std::string Caption;
    TMsgIcon Icon;
  };

  void MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon) override;
  bool Question(const std::string& text, const std::string& caption) override;
  TModalResult ShowModal(TDialogId id) override;
  void SetDialogVisible(TDialogId id, bool visible) override;
  void ReturnFocus() override { ++FocusReturns; }
  char DecimalSeparator() const override { return Separator; }
  std::uint32_t TickCountMs() override { return NowMs; }
  void SwapBuffers() override {
    ++Swaps;
    if (OnSwapBuffers) OnSwapBuffers();
  }
  void OpenDocument(const std::string& path, std::function<void()> failed) override;
  void CloseWindow() override { CloseRequested = true; }
  bool ChooseFile(TFileChoice choice, const std::string& start, std::string& path) override;

  // Answers the next modal dialogs; without an answer a dialog is cancelled.
  std::function<TModalResult(TDialogId)> AnswerDialog;
  // Answers questions; without an answer the default "Non" is taken.
  std::function<bool(const std::string& text)> AnswerQuestion;
  // What presenting a frame means where there is no window (null: nothing).
  std::function<void()> OnSwapBuffers;
  // Answers file choices with a path; without an answer the choice is cancelled.
  std::function<bool(TFileChoice, std::string& path)> AnswerFile;
  // Whether opening a document fails (no browser).
  bool OpenDocumentFails = false;
  // Where message boxes and opened documents are echoed, one line each (null: silent).
  std::ostream* Echo = nullptr;
  // Takes a message box instead of the echo when it returns true (the command
  // line reports its own errors); the message is recorded either way.
  std::function<bool(const std::string& text)> DivertMessage;

  std::vector<TMessage> Messages;
  std::vector<std::string> Questions;
  std::vector<TDialogId> ShownDialogs;
  std::vector<std::pair<TDialogId, bool>> VisibilityChanges;
  std::vector<std::string> OpenedDocuments;
  // The start offered by each file choice.
  std::vector<std::string> FileChoiceStarts;
  char Separator = '.';
  std::uint32_t NowMs = 0;
  int FocusReturns = 0;
  int Swaps = 0;
  bool CloseRequested = false;
};
