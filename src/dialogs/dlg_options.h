// "Options": the integration step dt.
#pragma once

#include <QDialog>

#include "window/dialog_models.h"

class QLineEdit;

class TDialogOptions : public QDialog {
public:
  explicit TDialogOptions(QWidget* parent = nullptr);
  void Load(const TDialogOptionsModel& model);
  void Store(TDialogOptionsModel& model) const;

  QLineEdit* Editdt;
};
