#include "dialogs/dlg_options.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

TDialogOptions::TDialogOptions(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "Options"), 313, 214);
  const char* hint = QT_TRANSLATE_NOOP("Kinemo", "change le pas d'intégration numérique");
  auto* label1 = new QLabel(this);
  SetTr(label1, "text", QT_TRANSLATE_NOOP("Kinemo", "dt (s)"));
  label1->setObjectName(QStringLiteral("label1"));
  Editdt = new QLineEdit(this);
  Editdt->setObjectName(QStringLiteral("Editdt"));
  label1->setBuddy(Editdt);
  SetHintTr(label1, hint);
  SetHintTr(Editdt, hint);

  auto* form = new QFormLayout;
  form->addRow(label1, Editdt);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
  layout->addWidget(MakeOkCancel(*this));
}

void TDialogOptions::Load(const TDialogOptionsModel& model) {
  Editdt->setText(QString::fromStdString(model.Editdt));
  Editdt->selectAll();
  Editdt->setFocus();
}

void TDialogOptions::Store(TDialogOptionsModel& model) const {
  model.Editdt = Editdt->text().toStdString();
}
