#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "dialogs/translated.h"

void SetFixedForm(QDialog& dialog, const char* caption, int width, int height) {
  SetTr(&dialog, "windowTitle", caption);
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
  dialog.setFixedSize(width, height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(width / 2, height / 2));
  }
}

QDialogButtonBox* MakeOkCancel(QDialog& dialog) {
  auto* box = new QDialogButtonBox(&dialog);
  QPushButton* ok = box->addButton(QString(), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = box->addButton(QString(), QDialogButtonBox::RejectRole);
  SetTr(ok, "text", QT_TRANSLATE_NOOP("Kinemo", "OK"));
  SetTr(cancel, "text", QT_TRANSLATE_NOOP("Kinemo", "Annuler"));
  ok->setObjectName(QStringLiteral("OKBtn"));
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  ok->setDefault(true);
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return box;
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}
