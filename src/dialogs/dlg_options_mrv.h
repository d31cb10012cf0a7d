// "Options de la MRV linéaire et de son rail": rail shape and force model.
#pragma once

#include <QDialog>

#include "window/dialog_models.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;

class TDialogOptionsMRV : public QDialog {
public:
  explicit TDialogOptionsMRV(QWidget* parent = nullptr);
  void Load(const TDialogOptionsMRVModel& model);
  void Store(TDialogOptionsMRVModel& model) const;

  QGroupBox* RGTypeRail;
  QButtonGroup* RGTypeRailItems; // id = item index
  QGroupBox* GB2;
  QRadioButton* RBModelePhysiqueSimple;
  QRadioButton* RBModelePhysiqueSimpleCorrige;
  QRadioButton* RBModelePhysiqueDistance;
};
