#include "dialogs/dlg_options.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"

TDialogOptions::TDialogOptions(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QStringLiteral("Options"), 313, 214);
  const QString hint = QStringLiteral("change le pas d'intégration numérique");
  auto* label1 = new QLabel(QStringLiteral("dt (s)"), this);
  label1->setObjectName(QStringLiteral("label1"));
  Editdt = new QLineEdit(this);
  Editdt->setObjectName(QStringLiteral("Editdt"));
  label1->setBuddy(Editdt);
  SetHint(label1, hint);
  SetHint(Editdt, hint);

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
