// TGL_Form: the main window's state and event handlers, without any toolkit.
// The platform layer owns a TGL_Form, mirrors its control models into widgets
// and calls its handlers; the headless runner and the tests do the same.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "app/dialog_models.h"
#include "app/virtual_keys.h"
#include "models/form_shared.h"
#include "models/robot.h"
#include "platform/controls.h"
#include "platform/toolkit.h"

class TRobot4;

class TGL_Form : public TFormShared {
public:
  explicit TGL_Form(TToolkit& toolkit);
  ~TGL_Form();
  TGL_Form(const TGL_Form&) = delete;
  TGL_Form& operator=(const TGL_Form&) = delete;

  TToolkit& Toolkit() { return toolkit_; }

  // --- Controls of the window (mirrored by the platform layer) ---
  TTimer Timer1;
  TScrollBar SBtimer;
  TScrollBar SBfs;
  TComboBox CBListe;
  TStatusBar StatusBar;
  TProgressGauge CGaugeCapture;

  // --- Dialog models ---
  TDialogOptionsModel DialogOptions;
  TDialogOptionsMRVModel DialogOptionsMRV;
  TDialogRobSelModel DialogRobSel;
  TFormDlgViewModel FormDlgView;
  TDialogCaptureModel DialogCapture;
  TDialogCompressionModel DialogCompression;

  // --- Controller state ---
  TRobotArray* Robots = nullptr; // owned, with the devices it points at
  std::int32_t NbRobots = 0;
  std::int32_t RobSel = 0;
  TRobot4* DemoRobot = nullptr;
  double SimTime = 0;
  double Dt = 0.01;
  bool AllAuto = false;
  bool DemoMode = false;
  std::int32_t DemoPhase = 0;
  std::int32_t DemoStep = 0;
  std::int32_t DemoLen1 = 0, DemoLen2 = 0, DemoLen3 = 0;
  double DemoW2 = 0, DemoW3 = 0;
  bool LogOn = false;
  std::ofstream Log;

  // --- Camera and mouse ---
  double xv = 0, zv = 0, yv = 0;
  double zpos = 0;
  double yrot = 0;
  double yrotSmooth = 0;
  double xrot = 0;
  double CamStep = 0;
  bool RightDrag = false;
  bool LeftDrag = false;
  bool ShowDiagonals = false;
  int LastMouseX = 0, LastMouseY = 0;

  // --- View ---
  double ToothWidth = 0;
  double RailWidth = 0;
  float FrameCount = 0;
  float FrameWindowStart = 0;

  // --- Recording ---
  bool Recording = false;

  // --- Handlers: simulation ---
  void Timer1Timer();
  void AnimateClick();
  void ResetrobotsClick();
  void SBtimerChange();
  void SBfsChange();
  void CBListeSelect();
  void SelectRobot1Click();
  void Options1Click();
  void OptionsMRVrail1Click();
  void FormKeyDown(std::uint16_t& Key, TShiftState Shift);
  void ModeDmo1Click();
  void ViewClick();
  void FormPaint();
  void Quitter();
  void CBListeCloseUp();
  void SBtimerKeyUp();
  void SBfsKeyUp();
  void AproposClick();
  void EnregistreAVI1Click();
  void Aide2Click();
  void UpdateStatusText();
  // Where the help page is installed.
  std::string HelpPagePath() const;
  // The ", dt:Tmr ..." part of the status line.
  std::string StatusRatioText() const;

  // --- Later parts of the tick ---
  void DemoCameraStep();
  void RefreshViewDialog();
  void RenderScene();
  void WriteLogLine();
  void CaptureStep();
  // The magnified pole/tooth inset of the switched-reluctance carriage.
  void DrawToothInset();
  // Recompiles the ground grid (after the diagonals were toggled).
  void RebuildGrid();

  // Moves the selection to device n (caller checks the range).
  void SelectDevice(std::int32_t n);
  // Reports a failed text conversion as the framework's default handler would.
  void ShowConversionError(const std::string& message);

  // Lists the controller's own fields by name (state dumps, tests).
  void VisitFields(TFieldVisitor& v) const;

private:
  void ContactPass();
  // Starts the demonstration; from the keyboard it also sets every AutoMode.
  void StartDemonstration(bool from_keyboard);
  // The C key: opens or closes the data log; false if it could not be opened.
  bool ToggleLog();
  void CheckLogWritten();

  TToolkit& toolkit_;
};
