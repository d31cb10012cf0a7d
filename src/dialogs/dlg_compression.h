// "Compression vidéo": uncompressed frames or Motion-JPEG with its quality,
// asked when a recording starts; "Annuler" abandons the recording.
#pragma once

#include <QDialog>

#include "window/dialog_models.h"

class QRadioButton;
class QSpinBox;

class TDialogCompression : public QDialog {
public:
  explicit TDialogCompression(QWidget* parent = nullptr);
  void Load(const TDialogCompressionModel& model);
  void Store(TDialogCompressionModel& model) const;

  QRadioButton* RBUncompressed;
  QRadioButton* RBMotionJpeg;
  QSpinBox* SEQuality;
};
