#include "dialogs/dlg_options_mrv.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"

namespace {
// Narrow margins: the captions of both groups side by side need the width.
constexpr int kInset = 6;

// Sets a radio button without its siblings reacting, so that "none selected"
// can be shown as well.
void SetRadio(QRadioButton* button, bool checked) {
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(true);
}
} // namespace

TDialogOptionsMRV::TDialogOptionsMRV(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QStringLiteral("Options de la MRV linéaire et de son rail"), 419, 185);

  RGTypeRail = new QGroupBox(QStringLiteral("Type de rail"), this);
  RGTypeRail->setObjectName(QStringLiteral("RGTypeRail"));
  RGTypeRailItems = new QButtonGroup(this);
  auto* rail_layout = new QVBoxLayout(RGTypeRail);
  rail_layout->setContentsMargins(kInset, kInset, kInset, kInset);
  const QString items[] = {QStringLiteral("Rail droit"), QStringLiteral("Rail droit et décallé"),
                           QStringLiteral("Rail courbé"), QStringLiteral("Rail courbé et fermé")};
  for (int i = 0; i < 4; ++i) {
    auto* item = new QRadioButton(items[i], RGTypeRail);
    RGTypeRailItems->addButton(item, i);
    rail_layout->addWidget(item);
  }

  GB2 = new QGroupBox(QStringLiteral("Modèle des forces"), this);
  GB2->setObjectName(QStringLiteral("GB2"));
  auto* model_layout = new QVBoxLayout(GB2);
  model_layout->setContentsMargins(kInset, kInset, kInset, kInset);
  auto add_model = [&](const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption, GB2);
    button->setObjectName(QString::fromLatin1(name));
    model_layout->addWidget(button);
    return button;
  };
  RBModelePhysiqueSimple =
      add_model("RBModelePhysiqueSimple", QStringLiteral("Modele physique simple"));
  RBModelePhysiqueSimpleCorrige =
      add_model("RBModelePhysiqueSimpleCorrige", QStringLiteral("Modele physique simple corrigé"));
  RBModelePhysiqueDistance =
      add_model("RBModelePhysiqueDistance", QStringLiteral("Modele basée sur la distance"));
  // Models 1 and 2 give no torque: on a curve the carriage runs straight on
  // and stalls, which looks like a fault unless said.
  const QString no_torque = tr("Sans couple : sur un rail courbé, le chariot ne tourne pas et "
                               "s'arrête dans le virage (le modèle basé sur la distance le fait "
                               "tourner).");
  RBModelePhysiqueSimple->setToolTip(no_torque);
  RBModelePhysiqueSimpleCorrige->setToolTip(no_torque);
  RBModelePhysiqueDistance->setToolTip(
      tr("Calcule aussi le couple : le chariot suit un rail courbé."));
  model_layout->addStretch();

  // The force models have the longer captions: that group takes the spare width.
  auto* groups = new QHBoxLayout;
  groups->addWidget(RGTypeRail, 0);
  groups->addWidget(GB2, 1);
  groups->setSpacing(kInset);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kInset, kInset, kInset, kInset);
  layout->addLayout(groups);
  layout->addWidget(MakeOkCancel(*this));
}

void TDialogOptionsMRV::Load(const TDialogOptionsMRVModel& model) {
  RGTypeRailItems->setExclusive(false);
  for (QAbstractButton* b : RGTypeRailItems->buttons())
    b->setChecked(RGTypeRailItems->id(b) == model.RGTypeRail);
  RGTypeRailItems->setExclusive(true);
  SetRadio(RBModelePhysiqueSimple, model.RBModelePhysiqueSimple);
  SetRadio(RBModelePhysiqueSimpleCorrige, model.RBModelePhysiqueSimpleCorrige);
  SetRadio(RBModelePhysiqueDistance, model.RBModelePhysiqueDistance);
}

void TDialogOptionsMRV::Store(TDialogOptionsMRVModel& model) const {
  model.RGTypeRail = RGTypeRailItems->checkedId();
  model.RBModelePhysiqueSimple = RBModelePhysiqueSimple->isChecked();
  model.RBModelePhysiqueSimpleCorrige = RBModelePhysiqueSimpleCorrige->isChecked();
  model.RBModelePhysiqueDistance = RBModelePhysiqueDistance->isChecked();
}
