// "Sélection du robot actif": the index of the device the keys drive.
#pragma once

#include <QDialog>

#include "window/dialog_models.h"

class QLabel;
class QLineEdit;

class TDialogRobSel : public QDialog {
public:
  explicit TDialogRobSel(QWidget* parent = nullptr);
  void Load(const TDialogRobSelModel& model);
  void Store(TDialogRobSelModel& model) const;

  QLineEdit* IDC_EDITRobSel;

private:
  QLabel* range_;
};
