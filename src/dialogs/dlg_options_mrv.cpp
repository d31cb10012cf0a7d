#include "dialogs/dlg_options_mrv.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

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
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "Options de la MRV linéaire et de son rail"), 419,
               185);

  RGTypeRail = new QGroupBox(this);
  SetTr(RGTypeRail, "title", QT_TRANSLATE_NOOP("Kinemo", "Type de rail"));
  RGTypeRail->setObjectName(QStringLiteral("RGTypeRail"));
  RGTypeRailItems = new QButtonGroup(this);
  auto* rail_layout = new QVBoxLayout(RGTypeRail);
  rail_layout->setContentsMargins(kInset, kInset, kInset, kInset);
  const char* const items[] = {QT_TRANSLATE_NOOP("Kinemo", "Rail droit"),
                               QT_TRANSLATE_NOOP("Kinemo", "Rail droit et décallé"),
                               QT_TRANSLATE_NOOP("Kinemo", "Rail courbé"),
                               QT_TRANSLATE_NOOP("Kinemo", "Rail courbé et fermé")};
  for (int i = 0; i < 4; ++i) {
    auto* item = new QRadioButton(RGTypeRail);
    SetTr(item, "text", items[i]);
    RGTypeRailItems->addButton(item, i);
    rail_layout->addWidget(item);
  }

  GB2 = new QGroupBox(this);
  SetTr(GB2, "title", QT_TRANSLATE_NOOP("Kinemo", "Modèle des forces"));
  GB2->setObjectName(QStringLiteral("GB2"));
  auto* model_layout = new QVBoxLayout(GB2);
  model_layout->setContentsMargins(kInset, kInset, kInset, kInset);
  auto add_model = [&](const char* name, const char* caption) {
    auto* button = new QRadioButton(GB2);
    SetTr(button, "text", caption);
    button->setObjectName(QString::fromLatin1(name));
    model_layout->addWidget(button);
    return button;
  };
  RBModelePhysiqueSimple =
      add_model("RBModelePhysiqueSimple", QT_TRANSLATE_NOOP("Kinemo", "Modele physique simple"));
  RBModelePhysiqueSimpleCorrige =
      add_model("RBModelePhysiqueSimpleCorrige",
                QT_TRANSLATE_NOOP("Kinemo", "Modele physique simple corrigé"));
  RBModelePhysiqueDistance = add_model("RBModelePhysiqueDistance",
                                       QT_TRANSLATE_NOOP("Kinemo", "Modele basée sur la distance"));
  // Models 1 and 2 give no torque: on a curve the carriage runs straight on
  // and stalls, which looks like a fault unless said.
  const char* const no_torque =
      QT_TRANSLATE_NOOP("Kinemo", "Sans couple : sur un rail courbé, le chariot ne tourne pas et "
                                  "s'arrête dans le virage (le modèle basé sur la distance le "
                                  "fait tourner).");
  SetTr(RBModelePhysiqueSimple, "toolTip", no_torque);
  SetTr(RBModelePhysiqueSimpleCorrige, "toolTip", no_torque);
  SetTr(RBModelePhysiqueDistance, "toolTip",
        QT_TRANSLATE_NOOP("Kinemo", "Calcule aussi le couple : le chariot suit un rail courbé."));
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
