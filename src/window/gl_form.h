// TGL_Form: the main window's state and event handlers, without any toolkit.
// The platform layer owns a TGL_Form, mirrors its control models into widgets
// and calls its handlers; the headless runner and the tests do the same.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "models/device_keys.h"
#include "models/robot.h"
#include "models/status_part.h"
#include "recording/avi_generator.h"
#include "sim/scene.h"
#include "sim/simulation.h"
#include "texts/text_memo.h"
#include "view/scene_view.h"
#include "window/capture_clock.h"
#include "window/controls.h"
#include "window/dialog_models.h"
#include "window/input.h"
#include "window/toolkit.h"
#include "window/virtual_keys.h"

class TRobot2;

class TGL_Form : public TSceneHost, private TDeviceKeyHost {
public:
  explicit TGL_Form(TToolkit& toolkit);
  ~TGL_Form();
  TGL_Form(const TGL_Form&) = delete;
  TGL_Form& operator=(const TGL_Form&) = delete;

  // --- Controls of the window (mirrored by the platform layer) ---
  TTimer Timer1;
  TScrollBar SBtimer;
  TScrollBar SBfs;
  TComboBox CBListe;
  // The first panel's text is made when read (StatusText), from the values
  // the last frame noted.
  mutable TStatusBar StatusBar;
  TProgressGauge CGaugeCapture;

  // --- Dialog models ---
  TDialogOptionsModel DialogOptions;
  TDialogOptionsMRVModel DialogOptionsMRV;
  TDialogRobSelModel DialogRobSel;
  TFormDlgViewModel FormDlgView;
  TDialogCaptureModel DialogCapture;
  TDialogCompressionModel DialogCompression;

  // --- The simulation the window shows and drives ---
  TSimulation Sim;

  // --- Controller state of the window ---
  TRobot2* RefRobot = nullptr; // owned; the wheel size of the shared lists
  bool DemoMode = false;
  std::int32_t DemoPhase = 0;
  std::int32_t DemoStep = 0;
  std::int32_t DemoLen1 = 0, DemoLen2 = 0, DemoLen3 = 0;
  double DemoW2 = 0, DemoW3 = 0;
  bool LogOn = false;
  std::ofstream Log;
  // The data log could not be opened or written (the message was shown).
  bool LogFailed = false;

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
  std::int32_t LastMouseX = 0, LastMouseY = 0;

  // --- View ---
  // The 3D view in the platform's OpenGL context; it draws nothing until made.
  TSceneView View;
  double ToothWidth = 0;
  double RailWidth = 0;
  float FrameCount = 0;
  float FrameWindowStart = 0;
  // Set by the headless runner: a tick's frame is drawn only when its pixels
  // are read (a recorded frame, the last frame of a screenshot run). The rest
  // of the render pass still runs every tick, so nothing else changes.
  bool DeferTickFrames = false;
  // Folders searched in turn for the texture bitmaps ("" is the working directory).
  std::vector<std::string> TextureFolders;
  // The program's data folder (pictures, help page); set by the platform layer.
  std::string DataFolder;
  // Sets DataFolder; pictures are then looked for in the working directory, then there.
  void UseDataFolder(const std::string& folder);
  // The client size given by the last resize; it fixes a recording's frame size.
  int ClientWidth = 0, ClientHeight = 0;

  // --- Recording ---
  CAVIGenerator AviGen;
  bool Recording = false;
  std::int32_t CaptureFps = 0;
  double CaptureDuration = 0;
  double CaptureStartTime = 0;
  std::int32_t CaptureFramesDue = 0;
  std::int32_t CaptureFramesDone = 0;
  const TBitmapInfoHeader* CaptureHeader = nullptr;
  std::vector<std::uint8_t> CaptureBuffer;
  std::int32_t CaptureResult = 0;
  TCaptureClock CaptureClock;

  // Called before every tick (a program driving the window, e.g. a controller
  // written in Python); false skips that tick. Empty unless something set it.
  std::function<bool()> BeforeTick;

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
  void Quitter();
  void CBListeCloseUp();
  void SBtimerKeyUp();
  void SBfsKeyUp();
  void AproposClick();
  void Aide2Click();
  void EnregistreAVI1Click();
  // Select > "Ouvrir une scène…" and "Enregistrer la scène…": a file chosen
  // by the user, then OpenScene or SaveScene.
  void OuvrirScene1Click();
  void EnregistrerScene1Click();
  // Puts the whole simulation in the state the scene file holds, or, if the
  // file is unreadable or unsound, shows why and changes nothing.
  bool OpenScene(const std::string& path);
  // Writes the scene file safely (the file there stays intact on failure,
  // which is shown).
  bool SaveScene(const std::string& path);
  // Sets every value of a scene read against this window (see scene.h); its
  // devices become the simulation's set.
  void ApplyScene(TScene& scene);

  // --- What a scene holds of the window (see scene.h) ---
  const TSimulation& SceneSimulation() const override { return Sim; }
  void VisitSceneFields(TFieldVisitor& v) const override { VisitFields(v); }
  TSceneFieldUse SceneFieldUse(std::string_view path) const override;
  bool SceneFieldMayBeNonFinite(std::string_view path) const override;
  std::vector<TFieldRange> SceneRanges(std::int32_t devices) const override;
  std::vector<std::pair<std::string, std::string>> SceneExtraMembers() const override;
  std::string SceneProblem(const TScene& scene) const override;
  // The last scene file opened or saved; the file dialogs start there.
  std::string LastScenePath;
  // Completes the running recording now; the writer's result, shown if negative.
  std::int32_t EndRecording();
  // The help page in the data folder (whether it is there or not), in the
  // window's language: the window names the page of its language here.
  std::string HelpPageName = "index.html";
  std::string HelpPagePath() const;
  // The ", dt:Tmr ..." part of the status line.
  std::string StatusRatioText() const;
  static std::string StatusRatioText(int interval, double dt, char separator);
  // The telemetry of the status line, as the last frame left it.
  const std::string& StatusText() const;
  // The same line with '.' as the decimal separator, as files hold it.
  std::string StatusTextForFiles() const;
  // The user's decimal separator changed (the window's language): the status
  // line and the view dialog's edits show their numbers again with it.
  void SeparatorChanged();

  // --- Later parts of the tick ---
  void DemoCameraStep();
  void RefreshViewDialog();
  // The view dialog's edits from the camera values, its bars left where they are.
  void RefreshViewEdits();
  void RenderScene();
  // Draws the last frame the render pass deferred, if it is not drawn yet.
  void DrawPendingFrame();
  // Draws the view of the current state and nothing else (no frame counted,
  // no status line): pixels for a program that asks for them.
  void DrawScene();
  void WriteLogLine();
  void CaptureStep();
  // Recompiles the ground grid (after the diagonals were toggled).
  void RebuildGrid();

  // --- View: resources, projection, frame ---
  void InitGL(int width, int height);
  void SetProjection(int width, int height);
  void FormResize(int width, int height);
  void FormPaint();
  void FormClose();
  void MeasureFrameRate();
  void UpdateStatusText();

  // --- View: mouse and camera ---
  void FormMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void FormMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void FormMouseMove(TShiftState Shift, int X, int Y);
  void FormMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  void ResetView();
  void ResetviewClick();
  // The camera over the selected device; with FollowDevice it stays there at
  // every frame as the device moves (not saved: a way of looking, not state).
  void CentreOnDevice();
  void CentreOnDeviceClick();
  bool FollowDevice = false;
  void ViewClick();

  // --- View dialog handlers ---
  void ButtonResetClick();
  void ScrollBarzposChange();
  void ScrollBaryrotChange();
  void ScrollBarxrotChange();
  // Key presses in the dialog's edits; Enter (13) takes the typed value.
  void IDC_EDITxvKeyPress(char Key);
  void IDC_EDITyvKeyPress(char Key);
  void IDC_EDITzvKeyPress(char Key);
  void IDC_EDITzposKeyPress(char Key);
  void IDC_EDITyrotKeyPress(char Key);
  void IDC_EDITxrotKeyPress(char Key);

  // The simulation's parameter edits, seen at once while paused.
  bool SetParameter(std::int32_t n, std::string_view name, double value,
                    std::string* error = nullptr);
  void RestoreParameters(std::int32_t n);
  // The integration step if the options dialog takes it; false, with its
  // message, otherwise.
  bool SetStep(double dt, std::string* why = nullptr);
  // "Pas à pas" and the space bar: exactly one tick; a running simulation is
  // paused first, so that each press moves it on by one tick.
  void PasAPas1Click();

  // Moves the selection to device n (caller checks the range); the device
  // list follows.
  void SelectDevice(std::int32_t n);
  // The device list from the simulation's set, the selected device chosen.
  void FillDeviceList();
  // A new set of devices from a list of class names (see TSimulation): the
  // demonstration stops, the device list follows. Nothing changes if the
  // list makes no set.
  TSetProblem SetDevices(const std::vector<std::string>& classes);
  // The classes the set lacks for the demonstration or the rail options.
  std::vector<std::string> Lacks(TSetNeed need) const;
  // Reset robots without the redraw (the R key draws after every key).
  void ResetRobots();
  // Reports a failed text conversion as the framework's default handler would.
  void ShowConversionError(const std::string& message);

  // Lists the controller's own fields by name (state dumps, tests).
  void VisitFields(TFieldVisitor& v) const;

  // Starts the demonstration; from the keyboard it also sets every AutoMode.
  void StartDemonstration(bool from_keyboard);
  // The C key: opens or closes the data log; false if it could not be opened.
  bool ToggleLog() override;

private:
  // The render pass; `draw` false does all of it but the drawing.
  void RenderFrame(bool draw);
  // Writes one whole line into the log. A failed write (full disk) closes the
  // log, cuts it back to its last whole line and says so.
  void WriteLogRecord(const std::string& line);
  void InitViewState();
  bool EditEntered(char key, const std::string& text, double& value);
  void MakeStatusText(char separator, std::string& text) const;
  // Lets the compression dialog answer the writer's compression choice.
  void InitRecording();
  void ReadCaptureFrame();
  void ReleaseCapture();

  TToolkit& toolkit_;
  std::uint64_t log_whole_bytes_ = 0; // the whole lines in the log so far
  bool frame_pending_ = false;
  // The status line's texts of numbers, by place in the line.
  // What the last frame's status line shows, and whether its text is yet to make.
  struct TStatusSnapshot {
    float Frames = 0;
    double Time = 0;
    int Interval = 0;
    double Dt = 0;
    char Separator = '.';
    TStatusPart Part;
  };
  TStatusSnapshot status_;
  mutable bool status_stale_ = false;
  mutable std::vector<TTextMemo<2>> status_numbers_;
  mutable TTextMemo<3> status_ratio_;
};
