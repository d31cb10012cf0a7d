// Opening and saving scenes from the window: the Select menu's two commands,
// and the one step that sets a checked scene.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/gl_form.h"
#include "app/scene.h"
#include "app/state_json.h"
#include "io/safe_output.h"

namespace {

constexpr const char* kOpenCaption = "Ouvrir une scène";
constexpr const char* kSaveCaption = "Enregistrer la scène";

} // namespace

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

void TGL_Form::ApplyScene(const TScene& scene) {
  const bool diagonals = ShowDiagonals;
  for (const TScene::TValue& v : scene.Values)
    v.Field.Set(v.Value);
  // The controls that show what was set, moved without their change handlers:
  // the values are the scene's, not the controls'.
  CBListe.ItemIndex = Sim.RobSel;
  SBtimer.Position = Timer1.Interval;
  SBfs.Position = std::clamp(static_cast<int>(std::lround(Sim.Fs * 10)), SBfs.Min, SBfs.Max);
  RefreshViewEdits();
  toolkit_.SetDialogVisible(TDialogId::View, FormDlgView.Visible);
  if (ShowDiagonals != diagonals) RebuildGrid();
  // The frame rate is measured afresh from here.
  FrameCount = 0;
  FrameWindowStart = static_cast<float>(toolkit_.TickCountMs() * 0.001);
}
