#include "dialogs/dlg_capture.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

namespace {
// A labelled edit: the label above its edit.
QLineEdit* AddLabelledEdit(QDialog& dialog, QVBoxLayout& layout, const char* name,
                           const char* label, const char* hint) {
  auto* caption = new QLabel(&dialog);
  SetTr(caption, "text", label);
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QString::fromLatin1(name));
  caption->setBuddy(edit);
  if (hint) {
    SetHintTr(caption, hint);
    SetHintTr(edit, hint);
  }
  layout.addWidget(caption);
  layout.addWidget(edit);
  return edit;
}
} // namespace

TDialogCapture::TDialogCapture(QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "Paramètres de la capture AVI"), 313, 214);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(2);
  LEfilename = AddLabelledEdit(*this, *layout, "LEfilename",
                               QT_TRANSLATE_NOOP("Kinemo", "Nom du fichier"), nullptr);
  LEfps = AddLabelledEdit(*this, *layout, "LEfps", QT_TRANSLATE_NOOP("Kinemo", "fps"),
                          QT_TRANSLATE_NOOP("Kinemo", "Nombre d'images par seconde"));
  LEtime = AddLabelledEdit(*this, *layout, "LEtime", QT_TRANSLATE_NOOP("Kinemo", "Durée (s)"),
                           QT_TRANSLATE_NOOP("Kinemo", "Durée de la capture"));
  layout->addStretch();
  layout->addWidget(MakeOkCancel(*this));
}

void TDialogCapture::Load(const TDialogCaptureModel& model) {
  LEfilename->setText(QString::fromStdString(model.LEfilename));
  LEfps->setText(QString::fromStdString(model.LEfps));
  LEtime->setText(QString::fromStdString(model.LEtime));
  LEfilename->setFocus();
}

void TDialogCapture::Store(TDialogCaptureModel& model) const {
  model.LEfilename = LEfilename->text().toStdString();
  model.LEfps = LEfps->text().toStdString();
  model.LEtime = LEtime->text().toStdString();
}
