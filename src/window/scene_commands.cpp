// Opening and saving scenes from the window: the Select menu's two commands,
// and the one step that sets a checked scene.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <limits>

#include "io/safe_output.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "sim/step_limit.h"
#include "texts/number_text.h"
#include "window/gl_form.h"

namespace {

constexpr const char* kOpenCaption = "Ouvrir une scène";
constexpr const char* kSaveCaption = "Enregistrer la scène";

constexpr double kIntMax = std::numeric_limits<std::int32_t>::max();
// Thirty thousand years; at 1e15 s a step of 0.01 s no longer adds anything.
constexpr double kMaxSimTime = 1e12;
// Whole numbers of ticks are exact as doubles up to here.
constexpr double kMaxTicks = 9007199254740992.0;
// As the scene reader bounds the devices' widths.
constexpr double kMinSize = 1e-4, kMaxSize = 1;

// "un TRobot4 et un TMRVlin".
std::string JoinedFrench(const std::vector<std::string>& classes) {
  std::string out;
  for (std::size_t i = 0; i < classes.size(); ++i)
    out += (i == 0 ? "un " : i + 1 == classes.size() ? " et un " : ", un ") + classes[i];
  return out;
}

} // namespace

TSceneFieldUse TGL_Form::SceneFieldUse(std::string_view path) const {
  // The device set is the scene's own: the count only has to agree with it.
  if (path == "NbRobots") return TSceneFieldUse::Check;
  // The log and the recording write files of the window that opens the scene;
  // the mouse and the frame-rate count are that window's too.
  constexpr std::string_view kNotRestored =
      " LogOn RightDrag LeftDrag LastMouseX LastMouseY FrameCount FrameWindowStart Recording"
      " CaptureFps CaptureDuration CaptureStartTime CaptureFramesDue CaptureFramesDone"
      " CaptureResult ";
  if (kNotRestored.find(" " + std::string(path) + " ") != std::string_view::npos)
    return TSceneFieldUse::Ignore;
  return TSceneFieldUse::Restore;
}

bool TGL_Form::SceneFieldMayBeNonFinite(std::string_view path) const {
  // The camera may go anywhere, even to infinity (W enlarges its step without
  // bound); every other number of a scene is kept finite by the program.
  static constexpr std::string_view kCamera[] = {"xv",   "zv",         "yv",   "zpos",
                                                 "yrot", "yrotSmooth", "xrot", "CamStep"};
  for (std::string_view name : kCamera)
    if (path == name) return true;
  return false;
}

std::vector<TFieldRange> TGL_Form::SceneRanges(std::int32_t devices) const {
  const TFormDlgViewModel& view = FormDlgView;
  return {
      // Far beyond any run, and short of the times at which a step of the
      // dialog's usual sizes no longer moves the time on.
      {"SimTime", 0, kMaxSimTime},
      {"Ticks", 0, kMaxTicks},
      {"Dt", 0, kMaxDt},
      // As the toolbar's bars set them.
      {"Fs", SBfs.Min * 0.1, SBfs.Max * 0.1},
      {"Timer1.Interval", static_cast<double>(SBtimer.Min), static_cast<double>(SBtimer.Max)},
      {"RobSel", 0, devices - 1.0},
      {"DemoPhase", 0, 9},
      {"ToothWidth", kMinSize, kMaxSize},
      {"RailWidth", kMinSize, kMaxSize},
      {"DemoStep", 0, kIntMax},
      {"DemoLen1", 1, kIntMax},
      {"DemoLen2", 1, kIntMax},
      {"DemoLen3", 1, kIntMax},
      {"FormDlgView.ScrollBarzpos", static_cast<double>(view.ScrollBarzpos.Min),
       static_cast<double>(view.ScrollBarzpos.Max)},
      {"FormDlgView.ScrollBaryrot", static_cast<double>(view.ScrollBaryrot.Min),
       static_cast<double>(view.ScrollBaryrot.Max)},
      {"FormDlgView.ScrollBarxrot", static_cast<double>(view.ScrollBarxrot.Min),
       static_cast<double>(view.ScrollBarxrot.Max)},
  };
}

std::vector<std::pair<std::string, std::string>> TGL_Form::SceneExtraMembers() const {
  std::string panels = "[";
  for (std::size_t i = 0; i < StatusBar.Panels.size(); ++i)
    panels += (i ? "," : "") + JsonString(i == 0 ? StatusTextForFiles() : StatusBar.Panels[i].Text);
  return {{"StatusBar", panels + "]"}};
}

std::string TGL_Form::SceneProblem(const TScene& scene) const {
  if (const double ticks = scene.Root.at("Ticks"); ticks != std::trunc(ticks))
    return "Ticks : " + FloatToStr(ticks, '.') + " n'est pas un nombre entier";
  // The demonstration drives a four-wheel robot and follows the reluctance
  // carriage: a running one needs both.
  if (scene.Root.at("DemoMode") != 0) {
    const std::vector<std::string> lack = MissingFor(TSetNeed::Demonstration, scene.Classes);
    if (!lack.empty()) return "DemoMode : la démonstration demande " + JoinedFrench(lack);
  }
  return {};
}

void TGL_Form::OuvrirScene1Click() {
  // The first time, the example scenes that come with the program.
  const std::string start = LastScenePath.empty() ? DataFolder + "/scenes" : LastScenePath;
  std::string path;
  if (!toolkit_.ChooseFile(TFileChoice::OpenScene, start, path)) return;
  OpenScene(path);
}

void TGL_Form::EnregistrerScene1Click() {
  const std::string start = LastScenePath.empty() ? "scene.json" : LastScenePath;
  std::string path;
  if (!toolkit_.ChooseFile(TFileChoice::SaveScene, start, path)) return;
  std::error_code ec;
  if (std::filesystem::exists(path, ec) &&
      !toolkit_.Question(path + " existe déjà. Voulez-vous le remplacer ?", kSaveCaption))
    return;
  SaveScene(path);
}

bool TGL_Form::OpenScene(const std::string& path) {
  std::string text, error;
  TScene scene;
  if (!ReadSceneFile(path, text, error) || !ParseScene(text, *this, scene, error)) {
    toolkit_.MessageBox("Impossible d'ouvrir la scène " + path + " : " + error, kOpenCaption,
                        TMsgIcon::Error);
    return false;
  }
  // A recording follows simulated time, which the scene moves: the video
  // holds what was recorded up to here.
  if (Recording) EndRecording();
  ApplyScene(scene);
  LastScenePath = path;
  RenderScene();
  return true;
}

bool TGL_Form::SaveScene(const std::string& path) {
  if (const int e = WriteFileSafely(path, StateJson(*this)); e != 0) {
    toolkit_.MessageBox("Impossible d'enregistrer la scène " + path + " : " + FileErrorText(e),
                        kSaveCaption, TMsgIcon::Error);
    return false;
  }
  LastScenePath = path;
  return true;
}

void TGL_Form::ApplyScene(TScene& scene) {
  const bool diagonals = ShowDiagonals;
  ::ApplyScene(scene, Sim);
  // The controls that show what was set, moved without their change handlers:
  // the values are the scene's, not the controls'.
  FillDeviceList();
  SBtimer.Position = Timer1.Interval;
  SBfs.Position = std::clamp(static_cast<int>(std::lround(Sim.Fs * 10)), SBfs.Min, SBfs.Max);
  RefreshViewEdits();
  toolkit_.SetDialogVisible(TDialogId::View, FormDlgView.Visible);
  if (ShowDiagonals != diagonals) RebuildGrid();
  // The frame rate is measured afresh from here.
  FrameCount = 0;
  FrameWindowStart = static_cast<float>(toolkit_.TickCountMs() * 0.001);
}
