#include "platform/qt/qt_toolkit.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "dialogs/number_entry.h"
#include "dialogs/translated.h"
#include "platform/qt/main_window.h"

TQtToolkit::TQtToolkit() : launches_(std::make_unique<QObject>()) {
  clock_.start();
  Launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

char TQtToolkit::DecimalSeparator() const {
  return EntrySeparator();
}

TQtToolkit::~TQtToolkit() {
  // A launcher still running is left to itself: no report reaches a form
  // that is gone. (Its browser, if any, runs on as a process of its own.)
  for (QProcess* p : launches_->findChildren<QProcess*>())
    p->disconnect();
}

void TQtToolkit::Attach(TMainWindow* window) {
  window_ = window;
}

void TQtToolkit::MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon) {
  QMessageBox::Icon qicon = QMessageBox::NoIcon;
  switch (icon) {
  case TMsgIcon::Error:
    qicon = QMessageBox::Critical;
    break;
  case TMsgIcon::Warning:
    qicon = QMessageBox::Warning;
    break;
  case TMsgIcon::Information:
    qicon = QMessageBox::Information;
    break;
  case TMsgIcon::None:
    break;
  }
  QMessageBox box(qicon, CoreText(caption.empty() ? "Kinemo" : caption), CoreText(text),
                  QMessageBox::Ok, window_);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.exec();
}

TModalResult TQtToolkit::ShowModal(TDialogId id) {
  if (!window_) return TModalResult::Cancel;
  return window_->ShowModal(id) ? TModalResult::OK : TModalResult::Cancel;
}

void TQtToolkit::SetDialogVisible(TDialogId id, bool visible) {
  if (window_) window_->SetDialogVisible(id, visible);
}

void TQtToolkit::ReturnFocus() {
  if (window_) window_->ReturnFocus();
}

std::uint32_t TQtToolkit::TickCountMs() {
  return static_cast<std::uint32_t>(clock_.elapsed());
}

void TQtToolkit::SwapBuffers() {
  if (window_) window_->FramePresented();
}

void TQtToolkit::OpenDocument(const std::string& path, std::function<void()> failed) {
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
  if (Launcher.isEmpty()) {
    if (!QDesktopServices::openUrl(url) && failed) failed();
    return;
  }
  // The launcher reports by its exit status whether a browser could be
  // started; it may take a while, so it is watched without blocking.
  auto* process = new QProcess(launches_.get());
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  auto report = [process, failed](bool ok) {
    process->disconnect();
    process->deleteLater();
    if (!ok && failed) failed();
  };
  QObject::connect(process, &QProcess::finished, process,
                   [process, report](int code, QProcess::ExitStatus status) {
                     report(status == QProcess::NormalExit && code == 0);
                   });
  QObject::connect(process, &QProcess::errorOccurred, process, [report](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) report(false);
  });
  process->start(Launcher, {url.toString()});
}

bool TQtToolkit::Question(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Question, CoreText(caption.empty() ? "Kinemo" : caption),
                  CoreText(text), QMessageBox::Yes | QMessageBox::No, window_);
  box.setObjectName(QStringLiteral("Question"));
  box.button(QMessageBox::Yes)->setText(Tr(QT_TRANSLATE_NOOP("Kinemo", "&Oui")));
  box.button(QMessageBox::No)->setText(Tr(QT_TRANSLATE_NOOP("Kinemo", "&Non")));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void TQtToolkit::CloseWindow() {
  // After the current handler returns, so that it never runs on a closed window.
  if (window_) QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
}

bool TQtToolkit::ChooseFile(TFileChoice choice, const std::string& start, std::string& path) {
  const bool save = choice == TFileChoice::SaveScene;
  // Qt's own dialog, in the window's language; the form asks before a file
  // is replaced.
  QFileDialog dialog(window_, save ? Tr(QT_TRANSLATE_NOOP("Kinemo", "Enregistrer la scène"))
                                   : Tr(QT_TRANSLATE_NOOP("Kinemo", "Ouvrir une scène")));
  dialog.setObjectName(QStringLiteral("SceneFileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(Tr(QT_TRANSLATE_NOOP("Kinemo", "Scènes Kinemo (*.json)")));
  dialog.setDefaultSuffix(QStringLiteral("json"));
  dialog.setLabelText(QFileDialog::LookIn, Tr(QT_TRANSLATE_NOOP("Kinemo", "Dossier :")));
  dialog.setLabelText(QFileDialog::FileName, Tr(QT_TRANSLATE_NOOP("Kinemo", "Nom du fichier :")));
  dialog.setLabelText(QFileDialog::FileType, Tr(QT_TRANSLATE_NOOP("Kinemo", "Type :")));
  dialog.setLabelText(QFileDialog::Accept, save ? Tr(QT_TRANSLATE_NOOP("Kinemo", "&Enregistrer"))
                                                : Tr(QT_TRANSLATE_NOOP("Kinemo", "&Ouvrir")));
  dialog.setLabelText(QFileDialog::Reject, Tr(QT_TRANSLATE_NOOP("Kinemo", "Annuler")));
  const QFileInfo where(QString::fromStdString(start));
  if (where.isDir()) {
    dialog.setDirectory(where.absoluteFilePath());
  } else {
    dialog.setDirectory(where.absolutePath());
    dialog.selectFile(where.fileName());
  }
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (chosen) path = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
  ReturnFocus();
  return chosen;
}
