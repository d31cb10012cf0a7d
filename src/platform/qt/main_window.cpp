#include "platform/qt/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/gl_form.h"
#include "dialogs/about.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/dlg_capture.h"
#include "dialogs/dlg_compression.h"
#include "dialogs/dlg_options.h"
#include "dialogs/dlg_options_mrv.h"
#include "dialogs/dlg_robsel.h"
#include "dialogs/dlg_view.h"
#include "platform/qt/desktop.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/icons.h"
#include "platform/qt/tick_timer.h"

void TComboList::hidePopup() {
  // Qt also calls this when the box is hidden or destroyed with no list open.
  const bool was_open = view() && view()->window()->isVisible();
  QComboBox::hidePopup();
  if (was_open && OnCloseUp) OnCloseUp();
}

TMainWindow::TMainWindow(TGL_Form& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  setWindowTitle(QStringLiteral("Visualisation 3D et simulation de mouvement"));
  setWindowIcon(ProgramIcon());
  auto dispatch = [this](const std::function<void()>& handler) { Dispatch(handler); };

  input_ = std::make_unique<TViewInput>(form_, dispatch);
  if (OpenGLAvailable()) {
    GLView = new TGLView(form_, *input_, this);
    GLView->OnFormChanged = [this] { SyncControls(); };
    View = GLView->Container();
  } else {
    View = new TInputView(*input_, this);
  }
  setCentralWidget(View);
  Timer1 = new TTickTimer([this] { Dispatch([this] { form_.Timer1Timer(); }); }, this);

  DialogOptions = new TDialogOptions(this);
  DialogOptionsMRV = new TDialogOptionsMRV(this);
  DialogRobSel = new TDialogRobSel(this);
  DialogCapture = new TDialogCapture(this);
  DialogCompression = new TDialogCompression(this);
  DlgAbout = new TDlgAbout(ProgramIcon(), this);
  FormDlgView = new TFormDlgView(form_, dispatch, this);

  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  SyncControls();
  View->setFocus();
}

TMainWindow::~TMainWindow() {
  CBListe->OnCloseUp = nullptr;
  Timer1->Sync(TTimer{false, 0});
}

QAction* TMainWindow::AddAction(const char* name, const QString& caption, const QString& hint,
                                void (TGL_Form::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
  }
  TGL_Form* form = &form_;
  connect(action, &QAction::triggered, this,
          [this, form, handler] { Dispatch([form, handler] { (form->*handler)(); }); });
  actions_[action->objectName()] = action;
  return action;
}

QAction* TMainWindow::Action(const QString& name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void TMainWindow::BuildActions() {
  AddAction("SelectRobot1", QStringLiteral("Select &Robot"),
            QStringLiteral("Sélectionne le robot actif qui va prendre les commandes au clavier"),
            &TGL_Form::SelectRobot1Click);
  AddAction("Quitter", QStringLiteral("&Quitter"), {}, &TGL_Form::Quitter);
  AddAction("Animate", QStringLiteral("&Animate"), {}, &TGL_Form::AnimateClick)
      ->setIcon(AnimateIcon());
  AddAction("Resetrobots", QStringLiteral("&Reset robots"), {}, &TGL_Form::ResetrobotsClick);
  AddAction("Resetview", QStringLiteral("Reset &view"), {}, &TGL_Form::ResetviewClick)
      ->setIcon(ResetViewIcon());
  AddAction("ModeDmo1", QStringLiteral("Mode &Démo"), {}, &TGL_Form::ModeDmo1Click);
  AddAction("Options1", QStringLiteral("&Options"), {}, &TGL_Form::Options1Click);
  AddAction("OptionsMRVrail1", QStringLiteral("Options &MRV / rail"), {},
            &TGL_Form::OptionsMRVrail1Click);
  AddAction("View", QStringLiteral("&View"), {}, &TGL_Form::ViewClick);
  AddAction("EnregistreAVI1", QStringLiteral("&Enregistre AVI"),
            QStringLiteral("Enregistre une séquence en .avi"), &TGL_Form::EnregistreAVI1Click);
  AddAction("Aide2", QStringLiteral("Ai&de"), {}, &TGL_Form::Aide2Click);
  AddAction("Apropos", QStringLiteral("A &propos"), {}, &TGL_Form::AproposClick);
  // Pressed while the simulation runs.
  Action(QStringLiteral("Animate"))->setCheckable(true);
}

void TMainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto add_menu = [&](const QString& caption, std::initializer_list<const char*> items) {
    QMenu* menu = bar->addMenu(caption);
    menu->setToolTipsVisible(true);
    for (const char* item : items) {
      if (*item == '-')
        menu->addSeparator();
      else
        menu->addAction(Action(QString::fromLatin1(item)));
    }
    return menu;
  };
  add_menu(QStringLiteral("&Select"), {"SelectRobot1", "-", "Quitter"});
  add_menu(QStringLiteral("&Run"),
           {"Animate", "Resetrobots", "Resetview", "ModeDmo1", "-", "Options1", "OptionsMRVrail1"});
  add_menu(QStringLiteral("&Affichage"), {"View", "EnregistreAVI1"});
  add_menu(QStringLiteral("&?"), {"Aide2", "Apropos"});
}

void TMainWindow::BuildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setFixedHeight(28);
  bar->setIconSize(QSize(20, 20));
  bar->setMovable(false);
  bar->addAction(Action(QStringLiteral("Animate")));
  bar->widgetForAction(Action(QStringLiteral("Animate")))
      ->setObjectName(QStringLiteral("ToolButton2"));
  bar->addAction(Action(QStringLiteral("Resetview")));
  bar->widgetForAction(Action(QStringLiteral("Resetview")))
      ->setObjectName(QStringLiteral("ToolButton3"));
  bar->addSeparator();

  // The toolbar controls never keep the keyboard: keys are the view's.
  CBListe = new TComboList(bar);
  CBListe->setObjectName(QStringLiteral("CBListe"));
  CBListe->setFixedWidth(123);
  CBListe->setFocusPolicy(Qt::NoFocus);
  for (const std::string& item : form_.CBListe.Items)
    CBListe->addItem(QString::fromStdString(item));
  CBListe->installEventFilter(this);
  connect(CBListe, &QComboBox::activated, this, [this](int index) {
    Dispatch([this, index] {
      form_.CBListe.ItemIndex = index;
      form_.CBListeSelect();
    });
  });
  CBListe->OnCloseUp = [this] { Dispatch([this] { form_.CBListeCloseUp(); }); };
  bar->addWidget(CBListe);
  bar->addSeparator();

  auto add_bar = [&](const char* name, TScrollBar& model, const QString& hint) {
    auto* sb = new QScrollBar(Qt::Horizontal, bar);
    sb->setObjectName(QString::fromLatin1(name));
    sb->setFixedWidth(128);
    sb->setRange(model.Min, model.Max);
    sb->setPageStep(0);
    sb->setFocusPolicy(Qt::NoFocus);
    SetHint(sb, hint);
    sb->installEventFilter(this);
    connect(sb, &QScrollBar::valueChanged, this,
            [this, &model](int v) { Dispatch([&model, v] { model.SetPosition(v); }); });
    bar->addWidget(sb);
    return sb;
  };
  SBtimer = add_bar("SBtimer", form_.SBtimer,
                    QStringLiteral("Change la periode dt d'intégration numérique"));
  bar->addSeparator();
  SBfs = add_bar("SBfs", form_.SBfs,
                 QStringLiteral("Change la fréquence d'alimentation des enroulements du MRVlin"));
  bar->addSeparator();

  CGaugeCapture = new QProgressBar(bar);
  CGaugeCapture->setObjectName(QStringLiteral("CGaugeCapture"));
  CGaugeCapture->setFixedSize(100, 22);
  CGaugeCapture->setTextVisible(false);
  CGaugeCapture->setMinimum(0);
  // A hidden widget inside a toolbar is hidden through its action.
  gauge_action_ = bar->addWidget(CGaugeCapture);
  gauge_action_->setVisible(false);
}

void TMainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(i == 0 ? 650 : 100);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(panel);
    StatusPanels[i] = panel;
  }
}

void TMainWindow::Dispatch(const std::function<void()>& handler) {
  if (GLView) GLView->MakeCurrent();
  handler();
  SyncControls();
}

void TMainWindow::SyncControls() {
  {
    const QSignalBlocker block(CBListe);
    if (CBListe->currentIndex() != form_.CBListe.ItemIndex)
      CBListe->setCurrentIndex(form_.CBListe.ItemIndex);
  }
  for (auto [widget, model] : {std::pair{SBtimer, &form_.SBtimer}, {SBfs, &form_.SBfs}}) {
    const QSignalBlocker block(widget);
    widget->setValue(model->Position);
  }
  for (int i = 0; i < 2; ++i) {
    const auto& panels = form_.StatusBar.Panels;
    const QString text =
        i < static_cast<int>(panels.size()) ? QString::fromStdString(panels[i].Text) : QString();
    if (StatusPanels[i]->text() != text) StatusPanels[i]->setText(text);
  }
  const TProgressGauge& g = form_.CGaugeCapture;
  if (CGaugeCapture->maximum() != g.MaxValue) CGaugeCapture->setMaximum(g.MaxValue);
  if (CGaugeCapture->value() != g.Progress) CGaugeCapture->setValue(g.Progress);
  if (gauge_action_->isVisible() != g.Visible) gauge_action_->setVisible(g.Visible);

  QAction* animate = Action(QStringLiteral("Animate"));
  if (animate->isChecked() != form_.Timer1.Enabled) animate->setChecked(form_.Timer1.Enabled);
  Timer1->Sync(form_.Timer1);
  FormDlgView->Mirror();
}

bool TMainWindow::ShowModal(TDialogId id) {
  auto run = [this](auto* dialog, auto& model) {
    dialog->Load(model);
    if (dialog->exec() != QDialog::Accepted) return false;
    dialog->Store(model);
    return true;
  };
  bool ok = false;
  switch (id) {
  case TDialogId::Options:
    ok = run(DialogOptions, form_.DialogOptions);
    break;
  case TDialogId::OptionsMRV:
    ok = run(DialogOptionsMRV, form_.DialogOptionsMRV);
    break;
  case TDialogId::RobSel:
    ok = run(DialogRobSel, form_.DialogRobSel);
    break;
  case TDialogId::Capture:
    ok = run(DialogCapture, form_.DialogCapture);
    break;
  case TDialogId::Compression:
    ok = run(DialogCompression, form_.DialogCompression);
    break;
  case TDialogId::About:
    ok = DlgAbout->exec() == QDialog::Accepted;
    break;
  case TDialogId::View:
    FormDlgView->Mirror();
    ok = FormDlgView->exec() == QDialog::Accepted;
    break;
  }
  ReturnFocus();
  return ok;
}

void TMainWindow::SetDialogVisible(TDialogId id, bool visible) {
  if (id != TDialogId::View) return;
  FormDlgView->Mirror();
  FormDlgView->setVisible(visible);
}

void TMainWindow::ReturnFocus() {
  activateWindow();
  View->setFocus(Qt::OtherFocusReason);
}

void TMainWindow::FramePresented() {
  if (GLView) GLView->FramePresented();
}

void TMainWindow::HandleKey(const QKeyEvent& event) {
  input_->Key(event);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (FormDlgView->isVisible()) FormDlgView->hide();
  Dispatch([this] { form_.FormClose(); });
  event->accept();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CBListe && event->type() == QEvent::KeyPress) {
    // The combo box's key-down is the window's key handler.
    HandleKey(*static_cast<QKeyEvent*>(event));
    return true;
  }
  if ((watched == SBtimer || watched == SBfs) && event->type() == QEvent::KeyRelease) {
    Dispatch([this, watched] {
      if (watched == SBtimer)
        form_.SBtimerKeyUp();
      else
        form_.SBfsKeyUp();
    });
  }
  return QMainWindow::eventFilter(watched, event);
}
