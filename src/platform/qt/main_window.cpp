#include "platform/qt/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cstring>

#include "dialogs/about.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/dlg_capture.h"
#include "dialogs/dlg_compression.h"
#include "dialogs/dlg_options.h"
#include "dialogs/dlg_options_mrv.h"
#include "dialogs/dlg_robsel.h"
#include "dialogs/dlg_view.h"
#include "dialogs/translated.h"
#include "io/safe_output.h"
#include "platform/qt/captioned_bar.h"
#include "platform/qt/desktop.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/icons.h"
#include "platform/qt/instruments_panel.h"
#include "platform/qt/language.h"
#include "platform/qt/scope_dock.h"
#include "platform/qt/tick_timer.h"
#include "platform/qt/view_input.h"
#include "sim/scene.h"
#include "window/gl_form.h"

void TComboList::hidePopup() {
  // Qt also calls this when the box is hidden or destroyed with no list open.
  const bool was_open = view() && view()->window()->isVisible();
  QComboBox::hidePopup();
  if (was_open && OnCloseUp) OnCloseUp();
}

TMainWindow::TMainWindow(TGL_Form& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  SetTr(this, "windowTitle",
        QT_TRANSLATE_NOOP("Kinemo", "Visualisation 3D et simulation de mouvement"));
  setWindowIcon(ProgramIcon());
  auto dispatch = [this](const std::function<void()>& handler) { Dispatch(handler); };

  input_ = std::make_unique<TViewInput>(form_, dispatch);
  if (OpenGLAvailable()) {
    GLView = new TGLView(form_, *input_, this);
    GLView->OnFormChanged = [this] { SyncControls(); };
    GLView->OnPointerEnter = [this] { ShowHint({}); };
    View = GLView->Container();
  } else {
    View = new TInputView(*input_, this);
  }
  View->installEventFilter(this);
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
  BuildInstruments();
  BuildScope();
  SyncControls();
  View->setFocus();
}

TMainWindow::~TMainWindow() {
  // Nothing of the window is called back while its parts go.
  CBListe->OnCloseUp = nullptr;
  View->removeEventFilter(this);
  if (GLView) GLView->OnPointerEnter = nullptr;
  for (QMenu* menu : findChildren<QMenu*>())
    menu->disconnect(this);
  Instruments->disconnect(this);
  Instruments->OnClosed = nullptr;
  Instruments->OnEditDone = nullptr;
  Scope->disconnect(this);
  Scope->OnClosed = nullptr;
  Scope->OnError = nullptr;
  Scope->OnEditDone = nullptr;
  Timer1->Sync(TTimer{false, 0});
}

namespace {
void SetActionHint(QAction* action, const char* hint) {
  SetTr(action, "toolTip", hint);
  SetTr(action, "statusTip", hint);
}
} // namespace

QAction* TMainWindow::AddAction(const char* name, const char* caption, const char* hint,
                                void (TGL_Form::*handler)()) {
  auto* action = new QAction(this);
  SetTr(action, "text", caption);
  action->setObjectName(QString::fromLatin1(name));
  if (hint) SetActionHint(action, hint);
  TGL_Form* form = &form_;
  connect(action, &QAction::triggered, this,
          [this, form, handler] { Dispatch([form, handler] { (form->*handler)(); }); });
  actions_[action->objectName()] = action;
  return action;
}

QAction* TMainWindow::AddWindowAction(const char* name, const char* caption,
                                      const std::function<void()>& handler) {
  auto* action = new QAction(this);
  SetTr(action, "text", caption);
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, handler);
  actions_[action->objectName()] = action;
  return action;
}

QAction* TMainWindow::Action(const QString& name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void TMainWindow::BuildActions() {
  AddAction("SelectRobot1", QT_TRANSLATE_NOOP("Kinemo", "Select &Robot"),
            QT_TRANSLATE_NOOP("Kinemo",
                              "Sélectionne le robot actif qui va prendre les commandes au clavier"),
            &TGL_Form::SelectRobot1Click);
  AddAction("Quitter", QT_TRANSLATE_NOOP("Kinemo", "&Quitter"), nullptr, &TGL_Form::Quitter);
  // O is not a key of the key map, so Ctrl+O can be a real shortcut; S is
  // (the camera), so saving has none.
  AddAction(
      "OuvrirScene1", QT_TRANSLATE_NOOP("Kinemo", "&Ouvrir une scène…"),
      QT_TRANSLATE_NOOP("Kinemo", "Ouvre une simulation enregistrée et la reprend telle quelle"),
      &TGL_Form::OuvrirScene1Click)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  AddAction(
      "EnregistrerScene1", QT_TRANSLATE_NOOP("Kinemo", "&Enregistrer la scène…"),
      QT_TRANSLATE_NOOP(
          "Kinemo", "Enregistre toute la simulation dans un fichier pour la reprendre plus tard"),
      &TGL_Form::EnregistrerScene1Click);
  // The global keys of the key map are shown after their commands. Only as
  // text (after a tab): a real shortcut would take the key from FormKeyDown.
  QAction* animate = AddAction("Animate", QT_TRANSLATE_NOOP("Kinemo", "&Animate\tA"), nullptr,
                               &TGL_Form::AnimateClick);
  animate->setIcon(AnimateIcon());
  SetTr(animate, "toolTip", QT_TRANSLATE_NOOP("Kinemo", "Animate (A)"));
  AddAction("Resetrobots", QT_TRANSLATE_NOOP("Kinemo", "&Reset robots\tR"), nullptr,
            &TGL_Form::ResetrobotsClick);
  AddAction("Resetview", QT_TRANSLATE_NOOP("Kinemo", "Reset &view"), nullptr,
            &TGL_Form::ResetviewClick)
      ->setIcon(ResetViewIcon());
  AddAction("ModeDmo1", QT_TRANSLATE_NOOP("Kinemo", "Mode &Démo\tCtrl+D"), nullptr,
            &TGL_Form::ModeDmo1Click);
  AddAction("Options1", QT_TRANSLATE_NOOP("Kinemo", "&Options"), nullptr, &TGL_Form::Options1Click);
  AddAction("OptionsMRVrail1", QT_TRANSLATE_NOOP("Kinemo", "Options &MRV / rail"), nullptr,
            &TGL_Form::OptionsMRVrail1Click);
  AddAction("View", QT_TRANSLATE_NOOP("Kinemo", "&View"), nullptr, &TGL_Form::ViewClick);
  AddAction("EnregistreAVI1", QT_TRANSLATE_NOOP("Kinemo", "&Enregistre AVI"),
            QT_TRANSLATE_NOOP("Kinemo", "Enregistre une séquence en .avi"),
            &TGL_Form::EnregistreAVI1Click);
  AddAction("Aide2", QT_TRANSLATE_NOOP("Kinemo", "Ai&de"), nullptr, &TGL_Form::Aide2Click);
  AddAction("Apropos", QT_TRANSLATE_NOOP("Kinemo", "A &propos"), nullptr, &TGL_Form::AproposClick);
  AddAction("PasAPas1", QT_TRANSLATE_NOOP("Kinemo", "&Pas à pas\tEspace"),
            QT_TRANSLATE_NOOP("Kinemo", "Avance la simulation d'un seul pas de temps"),
            &TGL_Form::PasAPas1Click)
      ->setIcon(StepIcon());
  // F2 is read after the key map had it (see BuildInstruments), so it is text here too.
  QAction* instruments =
      AddWindowAction("Instruments1", QT_TRANSLATE_NOOP("Kinemo", "&Instruments\tF2"),
                      [this] { ShowInstruments(!Instruments->isVisible()); });
  instruments->setCheckable(true);
  SetActionHint(
      instruments,
      QT_TRANSLATE_NOOP("Kinemo", "Valeurs, touches et paramètres de l'appareil sélectionné"));
  QAction* scope = AddWindowAction("Oscilloscope1", QT_TRANSLATE_NOOP("Kinemo", "&Oscilloscope"),
                                   [this] { ShowScope(!Scope->isVisible()); });
  scope->setCheckable(true);
  SetActionHint(scope, QT_TRANSLATE_NOOP(
                           "Kinemo", "Courbes des grandeurs des appareils en fonction du temps"));
  AddWindowAction("CaptureEcran1", QT_TRANSLATE_NOOP("Kinemo", "&Capture d'écran…"),
                  [this] { CaptureEcran1Click(); });
  SetTr(Action(QStringLiteral("CaptureEcran1")), "statusTip",
        QT_TRANSLATE_NOOP("Kinemo", "Enregistre la vue 3D dans une image PNG"));
  // Without shortcuts: every free-looking key may be one the key map reads.
  AddAction("CentrerAppareil1", QT_TRANSLATE_NOOP("Kinemo", "&Centrer sur l'appareil"),
            QT_TRANSLATE_NOOP("Kinemo", "Place la caméra au-dessus de l'appareil sélectionné"),
            &TGL_Form::CentreOnDeviceClick);
  QAction* follow = AddWindowAction(
      "SuivreAppareil1", QT_TRANSLATE_NOOP("Kinemo", "&Suivre l'appareil sélectionné"), [this] {
        Dispatch([this] {
          form_.FollowDevice = !form_.FollowDevice;
          form_.CentreOnDeviceClick();
        });
      });
  follow->setCheckable(true);
  SetTr(follow, "iconText", QT_TRANSLATE_NOOP("Kinemo", "Suivre"));
  SetTr(Action(QStringLiteral("CentrerAppareil1")), "iconText",
        QT_TRANSLATE_NOOP("Kinemo", "Centrer"));
  SetActionHint(follow, QT_TRANSLATE_NOOP("Kinemo", "La caméra garde l'appareil sélectionné au "
                                                    "centre pendant qu'il se déplace"));
  // Pressed while the simulation runs.
  Action(QStringLiteral("Animate"))->setCheckable(true);
}

namespace {
// The help page written in `code`'s language.
std::string HelpPageOf(const QString& code) {
  return code == QLatin1String("en") ? "index-en.html" : "index.html";
}
} // namespace

void TMainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto add_menu = [&](const char* caption, std::initializer_list<const char*> items) {
    QMenu* menu = bar->addMenu(QString());
    SetTr(menu, "title", caption);
    menu->setToolTipsVisible(true);
    // However the menu closes, the hint of its last item goes with it.
    connect(menu, &QMenu::aboutToHide, this, [this] { ShowHint({}); });
    for (const char* item : items) {
      if (*item == '-')
        menu->addSeparator();
      else
        menu->addAction(Action(QString::fromLatin1(item)));
    }
    return menu;
  };
  add_menu(QT_TRANSLATE_NOOP("Kinemo", "&Select"),
           {"SelectRobot1", "-", "OuvrirScene1", "EnregistrerScene1", "-", "Quitter"});
  add_menu(QT_TRANSLATE_NOOP("Kinemo", "&Run"), {"Animate", "PasAPas1", "Resetrobots", "Resetview",
                                                 "ModeDmo1", "-", "Options1", "OptionsMRVrail1"});
  QMenu* display = add_menu(QT_TRANSLATE_NOOP("Kinemo", "&Affichage"),
                            {"View", "CentrerAppareil1", "SuivreAppareil1", "-", "Instruments1",
                             "Oscilloscope1", "CaptureEcran1", "-", "EnregistreAVI1"});
  AddLabelsMenu(*display);
  BuildLanguageMenu(*display);
  form_.HelpPageName = HelpPageOf(InstalledLanguage());
  add_menu(QT_TRANSLATE_NOOP("Kinemo", "&?"), {"Aide2", "Apropos"});
}

void TMainWindow::BuildLanguageMenu(QMenu& parent) {
  parent.addSeparator();
  QMenu* menu = parent.addMenu(QString());
  menu->setObjectName(QStringLiteral("Langue"));
  SetTr(menu, "title", QT_TRANSLATE_NOOP("Kinemo", "&Langue"));
  auto* group = new QActionGroup(menu);
  // Each language is named in itself, so that it is found in any.
  const struct {
    const char* Name;
    const char* Caption;
    TLanguage Language;
  } items[] = {{"LangueSysteme", QT_TRANSLATE_NOOP("Kinemo", "&Système"), TLanguage::System},
               {"LangueFrancais", "&Français", TLanguage::French},
               {"LangueEnglish", "&English", TLanguage::English}};
  const TLanguage remembered = RememberedLanguage();
  // --lang may have chosen another language than the one remembered.
  const bool overridden = LanguageCode(remembered) != InstalledLanguage();
  for (const auto& item : items) {
    auto* action = new QAction(QString::fromUtf8(item.Caption), group);
    if (item.Language == TLanguage::System) SetTr(action, "text", item.Caption);
    action->setObjectName(QString::fromLatin1(item.Name));
    action->setCheckable(true);
    action->setChecked(overridden ? LanguageCode(item.Language) == InstalledLanguage() &&
                                        item.Language != TLanguage::System
                                  : item.Language == remembered);
    const TLanguage language = item.Language;
    connect(action, &QAction::triggered, this, [this, language] { SetLanguage(language); });
    actions_[action->objectName()] = action;
    menu->addAction(action);
  }
}

void TMainWindow::SetLanguage(TLanguage language) {
  RememberLanguage(language);
  InstallLanguage(LanguageCode(language));
  form_.HelpPageName = HelpPageOf(InstalledLanguage());
  Dispatch([this] { form_.SeparatorChanged(); });
  Retranslate(this);
  // Texts made from pieces, and the panels built from the device's description.
  EnableForSet();
  Instruments->Retranslate();
  Scope->Retranslate();
  ReturnFocus();
}

void TMainWindow::AddLabelsMenu(QMenu& view_menu) {
  // Whose 3D texts are drawn, remembered: zoomed out, every device's pile up.
  auto* menu = new QMenu(&view_menu);
  menu->setObjectName(QStringLiteral("Etiquettes"));
  SetTr(menu, "title", QT_TRANSLATE_NOOP("Kinemo", "É&tiquettes"));
  view_menu.insertMenu(Action(QStringLiteral("Instruments1")), menu);
  auto* group = new QActionGroup(menu);
  const char* const captions[] = {QT_TRANSLATE_NOOP("Kinemo", "Toutes"),
                                  QT_TRANSLATE_NOOP("Kinemo", "Appareil sélectionné seulement"),
                                  QT_TRANSLATE_NOOP("Kinemo", "Aucune")};
  auto show = [this, group](int mode, bool chosen) {
    group->actions()[mode]->setChecked(true);
    form_.View.Labels = static_cast<TLabelsShown>(mode);
    if (!chosen) return; // at start-up: the first frame comes
    QSettings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"))
        .setValue(QStringLiteral("view/labels"), mode);
    Dispatch([this] {
      if (!form_.Timer1.Enabled) form_.RenderScene();
    });
  };
  for (int mode = 0; mode < 3; ++mode) {
    QAction* action =
        AddWindowAction(QStringLiteral("Etiquettes%1").arg(mode).toLatin1().constData(),
                        captions[mode], [show, mode] { show(mode, true); });
    action->setCheckable(true);
    group->addAction(action);
    menu->addAction(action);
  }
  const int saved = QSettings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"))
                        .value(QStringLiteral("view/labels"), 0)
                        .toInt();
  show(saved >= 0 && saved < 3 ? saved : 0, false);
}

void TMainWindow::BuildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setFixedHeight(28);
  bar->setIconSize(QSize(20, 20));
  bar->setMovable(false);
  // The tool buttons never take the keyboard from the view.
  for (auto [action, name] : {std::pair{"Animate", "ToolButton2"},
                              {"PasAPas1", "ToolButtonStep"},
                              {"Resetview", "ToolButton3"}}) {
    bar->addAction(Action(QString::fromLatin1(action)));
    QWidget* button = bar->widgetForAction(Action(QString::fromLatin1(action)));
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);
  }
  bar->addSeparator();

  // The toolbar controls never keep the keyboard: keys are the view's.
  CBListe = new TComboList(bar);
  CBListe->setObjectName(QStringLiteral("CBListe"));
  CBListe->setFixedWidth(123);
  CBListe->setFocusPolicy(Qt::NoFocus);
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

  auto add_bar = [&](const char* name, TScrollBar& model, const char* hint) {
    auto* sb = new TCaptionedBar(bar);
    sb->setObjectName(QString::fromLatin1(name));
    sb->setFixedWidth(128);
    sb->setRange(model.Min, model.Max);
    sb->setPageStep(0);
    sb->setFocusPolicy(Qt::NoFocus);
    SetHintTr(sb, hint);
    sb->installEventFilter(this);
    connect(sb, &QScrollBar::valueChanged, this,
            [this, &model](int v) { Dispatch([&model, v] { model.SetPosition(v); }); });
    bar->addWidget(sb);
    return sb;
  };
  SBtimer = add_bar("SBtimer", form_.SBtimer,
                    QT_TRANSLATE_NOOP("Kinemo", "Change la periode dt d'intégration numérique"));
  bar->addSeparator();
  SBfs = add_bar(
      "SBfs", form_.SBfs,
      QT_TRANSLATE_NOOP("Kinemo", "Change la fréquence d'alimentation des enroulements du MRVlin"));
  bar->addSeparator();

  CGaugeCapture = new QProgressBar(bar);
  CGaugeCapture->setObjectName(QStringLiteral("CGaugeCapture"));
  CGaugeCapture->setFixedSize(100, 22);
  CGaugeCapture->setTextVisible(false);
  CGaugeCapture->setMinimum(0);
  // A hidden widget inside a toolbar is hidden through its action.
  gauge_action_ = bar->addWidget(CGaugeCapture);
  gauge_action_->setVisible(false);
  // Last: in a narrow window these go out of sight before the gauge does.
  bar->addSeparator();
  for (const char* action : {"CentrerAppareil1", "SuivreAppareil1"}) {
    bar->addAction(Action(QString::fromLatin1(action)));
    bar->widgetForAction(Action(QString::fromLatin1(action)))->setFocusPolicy(Qt::NoFocus);
  }
}

void TMainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i == 0) {
      // The telemetry takes all the width the mouse-mode panel leaves; a line
      // longer than that is cut at the panel's edge, never widening it.
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
      panel->setMinimumWidth(0);
      bar->addWidget(panel, 1);
    } else {
      panel->setFixedWidth(100);
      bar->addWidget(panel);
    }
    StatusPanels[i] = panel;
  }
  TimerStopped = new QLabel(bar);
  SetTr(TimerStopped, "text",
        QT_TRANSLATE_NOOP("Kinemo", "Simulation arrêtée : période du minuteur à 0 ms"));
  TimerStopped->setObjectName(QStringLiteral("TimerStopped"));
  TimerStopped->setStyleSheet(QStringLiteral("color: #b00000"));
  TimerStopped->setVisible(false);
  bar->addPermanentWidget(TimerStopped);
}

void TMainWindow::Dispatch(const std::function<void()>& handler) {
  if (GLView) GLView->MakeCurrent();
  handler();
  SyncControls();
}

void TMainWindow::SyncControls() {
  {
    // The list shows the set's devices (a scene may bring another set) and
    // the selected one, whatever changed the selection.
    const QSignalBlocker block(CBListe);
    if (listed_ != form_.CBListe.Items) {
      listed_ = form_.CBListe.Items;
      CBListe->clear();
      for (const std::string& item : listed_)
        CBListe->addItem(QString::fromStdString(item));
    }
    if (CBListe->currentIndex() != form_.Sim.RobSel) CBListe->setCurrentIndex(form_.Sim.RobSel);
  }
  for (auto [widget, model] : {std::pair{SBtimer, &form_.SBtimer}, {SBfs, &form_.SBfs}}) {
    const QSignalBlocker block(widget);
    widget->setValue(model->Position);
  }
  static_cast<TCaptionedBar*>(SBtimer)->SetCaption(
      Tr(QT_TRANSLATE_NOOP("Kinemo", "Période %1 ms")).arg(form_.SBtimer.Position));
  static_cast<TCaptionedBar*>(SBfs)->SetCaption(
      Tr(QT_TRANSLATE_NOOP("Kinemo", "Fs %1 Hz")).arg(QLocale().toString(form_.Sim.Fs, 'f', 1)));
  TimerStopped->setVisible(form_.Timer1.Interval == 0);
  form_.StatusText();
  for (int i = 0; i < 2; ++i) {
    const auto& panels = form_.StatusBar.Panels;
    QString text =
        i < static_cast<int>(panels.size()) ? QString::fromStdString(panels[i].Text) : QString();
    if (i == 0 && !hint_.isEmpty()) text = hint_;
    if (StatusPanels[i]->text() != text) StatusPanels[i]->setText(text);
  }
  const TProgressGauge& g = form_.CGaugeCapture;
  if (CGaugeCapture->maximum() != g.MaxValue) CGaugeCapture->setMaximum(g.MaxValue);
  if (CGaugeCapture->value() != g.Progress) CGaugeCapture->setValue(g.Progress);
  if (gauge_action_->isVisible() != g.Visible) gauge_action_->setVisible(g.Visible);

  if (form_.Sim.SetVersion() != set_version_) {
    set_version_ = form_.Sim.SetVersion();
    EnableForSet();
  }
  QAction* animate = Action(QStringLiteral("Animate"));
  if (animate->isChecked() != form_.Timer1.Enabled) animate->setChecked(form_.Timer1.Enabled);
  Timer1->Sync(form_.Timer1);
  FormDlgView->Mirror();
  Instruments->FollowSelection();
}

void TMainWindow::EnableForSet() {
  const struct {
    const char* Action;
    TSetNeed Need;
    const char* What;
  } commands[] = {
      {"ModeDmo1", TSetNeed::Demonstration, QT_TRANSLATE_NOOP("Kinemo", "La démonstration")},
      {"OptionsMRVrail1", TSetNeed::RailOptions,
       QT_TRANSLATE_NOOP("Kinemo", "Les options du moteur et du rail")}};
  for (const auto& c : commands) {
    QAction* action = Action(QString::fromLatin1(c.Action));
    const std::vector<std::string> lack = form_.Lacks(c.Need);
    QString why;
    for (std::size_t i = 0; i < lack.size(); ++i)
      why += (i == 0 ? Tr(QT_TRANSLATE_NOOP("Kinemo", " un "))
                     : Tr(QT_TRANSLATE_NOOP("Kinemo", " et un "))) +
             QString::fromStdString(lack[i]);
    if (!lack.empty())
      why = Tr(QT_TRANSLATE_NOOP("Kinemo", "%1 demande%2, absent de cet ensemble d'appareils"))
                .arg(Tr(c.What), why);
    action->setEnabled(lack.empty());
    action->setToolTip(
        why.isEmpty() ? action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0)
                      : why);
    action->setStatusTip(why);
  }
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

void TMainWindow::ShowHint(const QString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  SyncControls();
}

void TMainWindow::FitToScreen() {
  const QScreen* s = screen();
  if (!s || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
    return;
  const QRect avail = s->availableGeometry();
  const QRect frame = frameGeometry();
  if (avail.contains(frame)) return;
  // Four fifths of the area, centred: clearly a restored window, and room to
  // spare for a frame the window system reports a few pixels short.
  const QSize extra = frame.size() - geometry().size();
  const QSize size = QSize(avail.width() * 4 / 5, avail.height() * 4 / 5)
                         .boundedTo(avail.size() - extra)
                         .expandedTo(minimumSize());
  resize(size);
  // move() places the frame's top-left corner.
  move(avail.left() + std::max(0, avail.width() - size.width() - extra.width()) / 2,
       avail.top() + std::max(0, avail.height() - size.height() - extra.height()) / 2);
}

void TMainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
  if (!(old & (Qt::WindowMaximized | Qt::WindowFullScreen))) return;
  // Restored: the size kept from before may be the whole screen, to which the
  // frame then adds. The window manager applies the restored geometry after
  // telling of the new state, so look again a little later too.
  QTimer::singleShot(0, this, &TMainWindow::FitToScreen);
  QTimer::singleShot(250, this, &TMainWindow::FitToScreen);
}

bool TMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // Hints go to the telemetry panel and leave it again (see ShowHint);
    // the status bar's own messages would hide both panels.
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainWindow::keyPressEvent(QKeyEvent* event) {
  // Keys reach the window itself when no widget holds the focus, as after
  // a click on the toolbar took the system focus from the view's own window
  // or after a menu or a dialog closed; they are the key map's all the same.
  HandleKey(*event);
}

namespace {
// The panel's visibility, kept for the next start.
bool InstrumentsWereShown() {
  const QSettings settings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"));
  return settings.value(QStringLiteral("instruments/visible"), false).toBool();
}

void RememberInstruments(bool shown) {
  QSettings settings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"));
  settings.setValue(QStringLiteral("instruments/visible"), shown);
}
} // namespace

void TMainWindow::closeEvent(QCloseEvent* event) {
  // Hidden with the window, but shown at the next start if it was shown now.
  RememberInstruments(Instruments->isVisible());
  if (FormDlgView->isVisible()) FormDlgView->hide();
  Dispatch([this] { form_.FormClose(); });
  event->accept();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == View && event->type() == QEvent::Enter) ShowHint({});
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

void TMainWindow::BuildInstruments() {
  Instruments = new TInstrumentsPanel(
      form_, [this](const std::function<void()>& h) { Dispatch(h); }, this);
  addDockWidget(Qt::RightDockWidgetArea, Instruments);
  Instruments->hide();
  Instruments->OnEditDone = [this] { ReturnFocus(); };
  Instruments->OnClosed = [this] { ShowInstruments(false); };
  connect(Instruments, &QDockWidget::visibilityChanged, this,
          [this] { Action(QStringLiteral("Instruments1"))->setChecked(Instruments->isVisible()); });
  // F2 reaches the key map like every key, then shows or hides the panel.
  input_->AfterKey = [this](std::uint16_t key, TShiftState) {
    if (key == vk::F1 + 1) ShowInstruments(!Instruments->isVisible());
  };
  if (InstrumentsWereShown()) Instruments->show();
}

void TMainWindow::BuildScope() {
  Scope = new TScopeDock(form_, this);
  addDockWidget(Qt::BottomDockWidgetArea, Scope);
  Scope->hide();
  Scope->OnClosed = [this] { ShowScope(false); };
  Scope->OnEditDone = [this] { ReturnFocus(); };
  Scope->OnError = [this](const QString& text) {
    QMessageBox::warning(this, Tr(QT_TRANSLATE_NOOP("Kinemo", "Oscilloscope")), text);
  };
  connect(Scope, &QDockWidget::visibilityChanged, this,
          [this] { Action(QStringLiteral("Oscilloscope1"))->setChecked(Scope->isVisible()); });
}

void TMainWindow::ShowScope(bool visible) {
  Scope->setVisible(visible);
  Action(QStringLiteral("Oscilloscope1"))->setChecked(visible);
  if (visible && !scope_sized_ && isVisible()) {
    // A third of the window: the plot readable and the view well over half
    // the height at 1280x720; the user's later height is kept.
    scope_sized_ = true;
    resizeDocks({Scope}, {height() / 3}, Qt::Vertical);
  }
  ReturnFocus();
}

void TMainWindow::KeepViewTall() {
  if (!Scope->isVisible() || Scope->isFloating()) return;
  const Qt::DockWidgetArea area = dockWidgetArea(Scope);
  if (area != Qt::BottomDockWidgetArea && area != Qt::TopDockWidgetArea) return;
  const int lack = (height() + 1) / 2 - View->height();
  if (lack > 0) resizeDocks({Scope}, {Scope->height() - lack}, Qt::Vertical);
}

void TMainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // The docks keep their sizes and the view alone would shrink.
  KeepViewTall();
}

void TMainWindow::ShowInstruments(bool visible) {
  Instruments->setVisible(visible);
  Action(QStringLiteral("Instruments1"))->setChecked(visible);
  RememberInstruments(visible);
  // After F2 the view's own window still has the keys; asking for them again
  // would pass them through the view's container on to the menu bar.
  if (!GLView || QGuiApplication::focusWindow() != GLView) ReturnFocus();
}

QString TMainWindow::ScreenshotName(const QDateTime& when) {
  return QStringLiteral("kinemo-%1.png").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
}

void TMainWindow::CaptureEcran1Click() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString path = QFileDialog::getSaveFileName(
      this, Tr(QT_TRANSLATE_NOOP("Kinemo", "Capture d'écran")),
      QDir(folder).filePath(ScreenshotName(QDateTime::currentDateTime())),
      Tr(QT_TRANSLATE_NOOP("Kinemo", "Images PNG (*.png)")));
  ReturnFocus();
  if (!path.isEmpty()) SaveScreenshot(path);
}

bool TMainWindow::SaveScreenshot(const QString& path) {
  auto fail = [this, &path](const QString& why) {
    QMessageBox::warning(
        this, Tr(QT_TRANSLATE_NOOP("Kinemo", "Capture d'écran")),
        Tr(QT_TRANSLATE_NOOP("Kinemo",
                             "La capture d'écran n'a pas pu être enregistrée :\n%1\n(%2)"))
            .arg(path, why));
    return false;
  };
  if (!GLView) return fail(Tr(QT_TRANSLATE_NOOP("Kinemo", "pas de vue 3D sur cet affichage")));
  if (GLView) GLView->MakeCurrent();
  const QImage image = GLView->grabFramebuffer();
  if (image.isNull()) return fail(Tr(QT_TRANSLATE_NOOP("Kinemo", "la vue 3D n'a pas pu être lue")));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    return fail(Tr(QT_TRANSLATE_NOOP("Kinemo", "l'image n'a pas pu être codée")));
  const int error = WriteFileSafely(QFile::encodeName(path).toStdString(),
                                    std::string_view(png.data(), png.size()));
  if (error != 0) return fail(QString::fromStdString(FileErrorText(error)));
  return true;
}
