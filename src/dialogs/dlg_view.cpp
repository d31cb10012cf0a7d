#include "dialogs/dlg_view.h"

#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"
#include "window/gl_form.h"

namespace {
constexpr char kEnter = 13;
}

TFormDlgView::TFormDlgView(TGL_Form& form, TDispatch dispatch, QWidget* parent)
    : QDialog(parent), form_(form), dispatch_(std::move(dispatch)) {
  SetTr(this, "windowTitle", QT_TRANSLATE_NOOP("Kinemo", "Coordonnées de visualisation"));
  setFixedSize(362, 168);
  setModal(false);
  TFormDlgViewModel& m = form_.FormDlgView;

  IDC_EDITxv = AddEdit("IDC_EDITxv", m.IDC_EDITxv, &TGL_Form::IDC_EDITxvKeyPress);
  IDC_EDITyv = AddEdit("IDC_EDITyv", m.IDC_EDITyv, &TGL_Form::IDC_EDITyvKeyPress);
  IDC_EDITzv = AddEdit("IDC_EDITzv", m.IDC_EDITzv, &TGL_Form::IDC_EDITzvKeyPress);
  IDC_EDITzpos = AddEdit("IDC_EDITzpos", m.IDC_EDITzpos, &TGL_Form::IDC_EDITzposKeyPress);
  IDC_EDITyrot = AddEdit("IDC_EDITyrot", m.IDC_EDITyrot, &TGL_Form::IDC_EDITyrotKeyPress);
  IDC_EDITxrot = AddEdit("IDC_EDITxrot", m.IDC_EDITxrot, &TGL_Form::IDC_EDITxrotKeyPress);
  ScrollBarzpos = AddBar("ScrollBarzpos", m.ScrollBarzpos);
  ScrollBaryrot = AddBar("ScrollBaryrot", m.ScrollBaryrot);
  ScrollBarxrot = AddBar("ScrollBarxrot", m.ScrollBarxrot);

  ButtonReset = new QPushButton(this);
  SetTr(ButtonReset, "text", QT_TRANSLATE_NOOP("Kinemo", "Reset"));
  ButtonReset->setObjectName(QStringLiteral("ButtonReset"));
  // Enter belongs to the edits, never to the button.
  ButtonReset->setAutoDefault(false);
  connect(ButtonReset, &QPushButton::clicked, this,
          [this] { dispatch_([this] { form_.ButtonResetClick(); }); });

  const char* centre = QT_TRANSLATE_NOOP("Kinemo", "Position centre de vision");
  const char* depth = QT_TRANSLATE_NOOP("Kinemo", "Profondeur");
  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(2);
  auto row = [&](int r, int column, const char* label, QLineEdit* edit, const char* hint) {
    auto* caption = new QLabel(QString::fromLatin1(label), this);
    caption->setBuddy(edit);
    SetHintTr(caption, hint);
    SetHintTr(edit, hint);
    grid->addWidget(caption, r, column);
    grid->addWidget(edit, r, column + 1);
  };
  row(0, 0, "xv", IDC_EDITxv, centre);
  // Top to bottom in tab order.
  row(1, 0, "zv", IDC_EDITzv, centre);
  row(2, 0, "yv", IDC_EDITyv, centre);
  row(0, 2, "zpos", IDC_EDITzpos, depth);
  grid->addWidget(ScrollBarzpos, 1, 3);
  row(2, 2, "yrot", IDC_EDITyrot, depth);
  grid->addWidget(ScrollBaryrot, 3, 3);
  row(4, 2, "xrot", IDC_EDITxrot, depth);
  grid->addWidget(ScrollBarxrot, 5, 3);
  grid->addWidget(ButtonReset, 5, 1);

  setTabOrder(IDC_EDITxv, IDC_EDITzv);
  setTabOrder(IDC_EDITzv, IDC_EDITyv);
  setTabOrder(IDC_EDITyv, IDC_EDITzpos);
  setTabOrder(IDC_EDITzpos, ScrollBarzpos);
  setTabOrder(ScrollBarzpos, IDC_EDITyrot);
  setTabOrder(IDC_EDITyrot, ScrollBaryrot);
  setTabOrder(ScrollBaryrot, IDC_EDITxrot);
  setTabOrder(IDC_EDITxrot, ScrollBarxrot);
  setTabOrder(ScrollBarxrot, ButtonReset);
  Mirror();
}

QLineEdit* TFormDlgView::AddEdit(const char* name, std::string& model,
                                 void (TGL_Form::*on_key)(char)) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  TEdit& slot = edits_[edit_count_++];
  slot.Widget = edit;
  slot.Model = &model;
  connect(edit, &QLineEdit::textEdited, this, [&slot](const QString& text) {
    *slot.Model = text.toStdString();
    slot.Shown = *slot.Model;
  });
  TGL_Form* form = &form_;
  connect(edit, &QLineEdit::returnPressed, this,
          [this, form, on_key] { dispatch_([form, on_key] { (form->*on_key)(kEnter); }); });
  return edit;
}

QScrollBar* TFormDlgView::AddBar(const char* name, TScrollBar& model) {
  auto* bar = new QScrollBar(Qt::Horizontal, this);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(model.Min, model.Max);
  bar->setPageStep(1);
  bar->setFocusPolicy(Qt::StrongFocus); // in the tab order, for the arrow keys
  bars_[bar_count_++] = {bar, &model};
  connect(bar, &QScrollBar::valueChanged, this,
          [this, &model](int value) { dispatch_([&model, value] { model.SetPosition(value); }); });
  return bar;
}

void TFormDlgView::Mirror() {
  for (int i = 0; i < edit_count_; ++i) {
    TEdit& e = edits_[i];
    if (*e.Model == e.Shown) continue;
    e.Shown = *e.Model;
    const QSignalBlocker block(e.Widget);
    e.Widget->setText(QString::fromStdString(e.Shown));
  }
  for (int i = 0; i < bar_count_; ++i) {
    const QSignalBlocker block(bars_[i].Widget);
    bars_[i].Widget->setValue(bars_[i].Model->Position);
  }
  if (isVisible() != form_.FormDlgView.Visible) setVisible(form_.FormDlgView.Visible);
}

void TFormDlgView::hideEvent(QHideEvent* event) {
  // Closed by the user (title-bar button or Escape): "&View" shows it again next
  // time. A spontaneous hide (the main window minimised) keeps it shown.
  if (!event->spontaneous()) form_.FormDlgView.Visible = false;
  QDialog::hideEvent(event);
}
