#include "dialogs/dlg_compression.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

TDialogCompression::TDialogCompression(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "Compression vidéo"), 313, 170);
  auto* group = new QGroupBox(this);
  SetTr(group, "title", QT_TRANSLATE_NOOP("Kinemo", "Compresseur"));
  RBUncompressed = new QRadioButton(group);
  SetTr(RBUncompressed, "text", QT_TRANSLATE_NOOP("Kinemo", "Images non compressées"));
  RBUncompressed->setObjectName(QStringLiteral("RBUncompressed"));
  RBMotionJpeg = new QRadioButton(group);
  SetTr(RBMotionJpeg, "text", QT_TRANSLATE_NOOP("Kinemo", "Motion-JPEG"));
  RBMotionJpeg->setObjectName(QStringLiteral("RBMotionJpeg"));
  SEQuality = new QSpinBox(group);
  SEQuality->setObjectName(QStringLiteral("SEQuality"));
  SEQuality->setRange(1, 100);
  SetHintTr(SEQuality, QT_TRANSLATE_NOOP("Kinemo", "Qualité des images JPEG (1 à 100)"));
  connect(RBMotionJpeg, &QRadioButton::toggled, SEQuality, &QSpinBox::setEnabled);

  auto* quality = new QFormLayout;
  auto* quality_label = new QLabel(group);
  SetTr(quality_label, "text", QT_TRANSLATE_NOOP("Kinemo", "Qualité"));
  quality->addRow(quality_label, SEQuality);
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
