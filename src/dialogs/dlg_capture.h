// "Paramètres de la capture AVI": file name, frame rate and duration of a
// recording. Created once, so the last entries are offered again.
#pragma once

#include <QDialog>

#include "window/dialog_models.h"

class QLineEdit;

class TDialogCapture : public QDialog {
public:
  explicit TDialogCapture(QWidget* parent = nullptr);
  void Load(const TDialogCaptureModel& model);
  void Store(TDialogCaptureModel& model) const;

  QLineEdit* LEfilename;
  QLineEdit* LEfps;
  QLineEdit* LEtime;
};
