#include "platform/headless/headless_toolkit.h"

void THeadlessToolkit::MessageBox(const std::string& text, const std::string& caption,
                                  TMsgIcon icon) {
  Messages.push_back({text, caption, icon});
  if (DivertMessage && DivertMessage(text)) return;
  if (Echo) *Echo << "message: " << (caption.empty() ? "Kinemo" : caption) << ": " << text << "\n";
}

TModalResult THeadlessToolkit::ShowModal(TDialogId id) {
  ShownDialogs.push_back(id);
  return AnswerDialog ? AnswerDialog(id) : TModalResult::Cancel;
}

void THeadlessToolkit::SetDialogVisible(TDialogId id, bool visible) {
  VisibilityChanges.emplace_back(id, visible);
}

bool THeadlessToolkit::Question(const std::string& text, const std::string& caption) {
  Questions.push_back(text);
  const bool yes = AnswerQuestion && AnswerQuestion(text);
  if (Echo)
    *Echo << "question: " << caption << ": " << text << " " << (yes ? "Oui" : "Non") << "\n";
  return yes;
}

void THeadlessToolkit::OpenDocument(const std::string& path, std::function<void()> failed) {
  OpenedDocuments.push_back(path);
  // No browser here: say which page the window would have shown.
  if (Echo) *Echo << "open: " << path << "\n";
  if (OpenDocumentFails && failed) failed();
}

bool THeadlessToolkit::ChooseFile(TFileChoice choice, const std::string& start, std::string& path) {
  FileChoiceStarts.push_back(start);
  return AnswerFile && AnswerFile(choice, path);
}
