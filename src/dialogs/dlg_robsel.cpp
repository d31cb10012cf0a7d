#include "dialogs/dlg_robsel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

TDialogRobSel::TDialogRobSel(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "Sélection du robot actif"), 313, 137);
  auto* label1 = new QLabel(this);
  SetTr(label1, "text", QT_TRANSLATE_NOOP("Kinemo", "Robot sélectionné"));
  label1->setObjectName(QStringLiteral("Label1"));
  IDC_EDITRobSel = new QLineEdit(this);
  IDC_EDITRobSel->setObjectName(QStringLiteral("IDC_EDITRobSel"));
  label1->setBuddy(IDC_EDITRobSel);
  range_ = new QLabel(this);
  range_->setObjectName(QStringLiteral("Range"));

  auto* form = new QFormLayout;
  form->addRow(label1, IDC_EDITRobSel);
  form->addRow(QString(), range_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
  layout->addWidget(MakeOkCancel(*this));
}

void TDialogRobSel::Load(const TDialogRobSelModel& model) {
  IDC_EDITRobSel->setText(QString::fromStdString(model.IDC_EDITRobSel));
  range_->setText(Tr(QT_TRANSLATE_NOOP("Kinemo", "Numéro de 0 à %1")).arg(model.Devices - 1));
  IDC_EDITRobSel->selectAll();
  IDC_EDITRobSel->setFocus();
}

void TDialogRobSel::Store(TDialogRobSelModel& model) const {
  model.IDC_EDITRobSel = IDC_EDITRobSel->text().toStdString();
}
