#include "dialogs/dlg_compression.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"

TDialogCompression::TDialogCompression(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QStringLiteral("Compression vidéo"), 313, 170);
  auto* group = new QGroupBox(QStringLiteral("Compresseur"), this);
  RBUncompressed = new QRadioButton(QStringLiteral("Images non compressées"), group);
  RBUncompressed->setObjectName(QStringLiteral("RBUncompressed"));
  RBMotionJpeg = new QRadioButton(QStringLiteral("Motion-JPEG"), group);
  RBMotionJpeg->setObjectName(QStringLiteral("RBMotionJpeg"));
  SEQuality = new QSpinBox(group);
  SEQuality->setObjectName(QStringLiteral("SEQuality"));
  SEQuality->setRange(1, 100);
  SetHint(SEQuality, QStringLiteral("Qualité des images JPEG (1 à 100)"));
  connect(RBMotionJpeg, &QRadioButton::toggled, SEQuality, &QSpinBox::setEnabled);

  auto* quality = new QFormLayout;
  quality->addRow(QStringLiteral("Qualité"), SEQuality);
  auto* inner = new QVBoxLayout(group);
  inner->addWidget(RBUncompressed);
  inner->addWidget(RBMotionJpeg);
  inner->addLayout(quality);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(MakeOkCancel(*this));
}

void TDialogCompression::Load(const TDialogCompressionModel& model) {
  const bool mjpeg = model.Codec == TDialogCompressionModel::MotionJpeg;
  RBMotionJpeg->setChecked(mjpeg);
  RBUncompressed->setChecked(!mjpeg);
  SEQuality->setEnabled(mjpeg);
  SEQuality->setValue(model.Quality);
}

void TDialogCompression::Store(TDialogCompressionModel& model) const {
  model.Codec = RBMotionJpeg->isChecked() ? TDialogCompressionModel::MotionJpeg
                                          : TDialogCompressionModel::Uncompressed;
  model.Quality = SEQuality->value();
}
