// The main window on Qt: menus, toolbar, status bar, Timer1 and the 3D view
// around one TGL_Form. Widget events call the form's handlers; after every
// handler the widgets are set again from the form's control models.
#pragma once

#include <QComboBox>
#include <QDateTime>
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/language.h"
#include "window/toolkit.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollBar;
class TDialogCapture;
class TDialogCompression;
class TDialogOptions;
class TDialogOptionsMRV;
class TDialogRobSel;
class TDlgAbout;
class TFormDlgView;
class TGLView;
class TGL_Form;
class TInstrumentsPanel;
class TScopeDock;
class TTickTimer;
class TViewInput;

// The device selector; reports when its list closes.
class TComboList : public QComboBox {
public:
  using QComboBox::QComboBox;
  std::function<void()> OnCloseUp;
  void hidePopup() override;
};

class TMainWindow : public QMainWindow {
public:
  TMainWindow(TGL_Form& form, QWidget* parent = nullptr);
  ~TMainWindow() override;

  // Runs a form handler with the GL context current, then mirrors the controls.
  void Dispatch(const std::function<void()>& handler);
  // Sets every widget from the form's control models.
  void SyncControls();

  // A key press from the view or a toolbar control, to FormKeyDown.
  void HandleKey(const QKeyEvent& event);

  // Toolkit services.
  bool ShowModal(TDialogId id);
  void SetDialogVisible(TDialogId id, bool visible);
  void ReturnFocus();
  void FramePresented();

  // The command by its menu-item name ("Animate", "Resetview", ...).
  QAction* Action(const QString& name) const;

  // Shows or hides the instruments panel, and remembers it for the next start.
  void ShowInstruments(bool visible);
  // Shows or hides the scope.
  void ShowScope(bool visible);
  // Remembers `language` and shows every text of the window in it at once.
  void SetLanguage(TLanguage language);
  // Saves the 3D view as a PNG at its size in device pixels, through a
  // temporary file renamed once complete; false after saying why, with the path.
  bool SaveScreenshot(const QString& path);
  // "kinemo-2024-05-14-153012.png": the date and time of `when`.
  static QString ScreenshotName(const QDateTime& when);

  // A hint shown in the first status panel in place of the telemetry until
  // the pointer leaves what it describes (an empty hint).
  void ShowHint(const QString& hint);
  // A window whose frame overflows the screen's available area is made four
  // fifths of that area, centred.
  void FitToScreen();

  TGL_Form& Form() { return form_; }
  // The view widget that takes the keys and the mouse: GLView's container
  // when the platform has OpenGL, else a stand-in without drawing.
  QWidget* View = nullptr;
  TGLView* GLView = nullptr;
  TComboList* CBListe = nullptr;
  QScrollBar* SBtimer = nullptr;
  QScrollBar* SBfs = nullptr;
  QProgressBar* CGaugeCapture = nullptr;
  QLabel* StatusPanels[2] = {nullptr, nullptr};
  // Shown while the timer's period is 0, which stops the simulation.
  QLabel* TimerStopped = nullptr;
  TFormDlgView* FormDlgView = nullptr;
  TDialogOptions* DialogOptions = nullptr;
  TDialogOptionsMRV* DialogOptionsMRV = nullptr;
  TDialogRobSel* DialogRobSel = nullptr;
  TDialogCapture* DialogCapture = nullptr;
  TDialogCompression* DialogCompression = nullptr;
  TDlgAbout* DlgAbout = nullptr;
  TTickTimer* Timer1 = nullptr;
  TInstrumentsPanel* Instruments = nullptr;
  TScopeDock* Scope = nullptr;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void AddLabelsMenu(QMenu& view_menu);
  void BuildStatusBar();
  void BuildLanguageMenu(QMenu& parent);
  // Captions and hints are French sources marked for translation; hint may be null.
  QAction* AddAction(const char* name, const char* caption, const char* hint,
                     void (TGL_Form::*handler)());
  QAction* AddWindowAction(const char* name, const char* caption,
                           const std::function<void()>& handler);
  // Commands whose devices the set lacks are greyed, saying why.
  void EnableForSet();
  void BuildInstruments();
  void BuildScope();
  // A scope docked above or below the view gives back what it takes beyond
  // half the window's height.
  void KeepViewTall();
  // Asks for a file name, then saves the view there.
  void CaptureEcran1Click();

  TGL_Form& form_;
  std::unique_ptr<TViewInput> input_;
  std::map<QString, QAction*> actions_;
  QAction* gauge_action_ = nullptr; // a toolbar widget is shown and hidden by its action
  bool scope_sized_ = false;        // the scope got its first height
  QString hint_;
  std::vector<std::string> listed_;               // the device list's items as shown
  std::uint64_t set_version_ = ~std::uint64_t(0); // the set the commands were enabled for
};
