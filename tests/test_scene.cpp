// Scenes: a simulation saved and reopened goes on exactly as if it had never
// stopped; a bad scene is refused whole with a message naming its first
// problem; saving never loses the file already there.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "models/constants.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "platform/headless/actions.h"
#include "platform/headless/runner.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;
using nlohmann::json;

// A window on the scripted toolkit, its view at the command line's size.
struct TWindow {
  THeadlessToolkit tk;
  std::unique_ptr<TGL_Form> form;
  TWindow() : form(std::make_unique<TGL_Form>(tk)) {
    form->UseDataFolder(KINEMO_BUILD_DATA_DIR);
    form->FormResize(1280, 720);
  }
  // Applies a --do action list.
  void Do(const std::string& actions) {
    std::istringstream words(actions);
    std::string word;
    while (words >> word) {
      TAction a;
      std::string error;
      ASSERT_TRUE(ParseAction(word, *form, a, error)) << error;
      ApplyAction(*form, tk, a);
    }
  }
  void Ticks(int n) { Do("ticks:" + std::to_string(n)); }
  std::string Dump() const { return StateJson(*form); }
  bool Load(const std::string& text) {
    TScene scene;
    std::string error;
    if (!ParseScene(text, *form, scene, error)) {
      ADD_FAILURE() << error;
      return false;
    }
    form->ApplyScene(scene);
    form->RenderScene(); // as OpenScene does
    return true;
  }
};

// The dump without what a scene restarts rather than restores: the frame-rate
// count and the figure the status line shows from it.
json Comparable(const std::string& dump) {
  json j = json::parse(dump);
  j.erase("FrameCount");
  j.erase("FrameWindowStart");
  std::string& status = j["StatusBar"][0].get_ref<std::string&>();
  status.erase(0, status.find(", t:"));
  return j;
}

// Names every field where two dumps differ.
std::string Differences(const json& a, const json& b) {
  std::string out;
  const json patch = json::diff(a, b);
  for (const json& op : patch)
    out += op["path"].get<std::string>() + " ";
  return out;
}

struct THistory {
  const char* Name;
  const char* Actions; // before the N ticks
  int N, M;
  std::function<void(TGL_Form&)> Edit = nullptr; // after the actions
  std::vector<std::string> Devices = {};         // another set than the program's
};

std::vector<THistory> Histories() {
  std::vector<THistory> h = {
      {"AllAutoPilots", "key:Ctrl+M menu:Animate", 1500, 700},
      {"DemoMidPhase", "key:Ctrl+D", 1234, 600},
      // Shown, the view dialog writes its bars' whole numbers into the camera.
      {"DemoWithViewDialog", "menu:View menu:ModeDmo1", 950, 400},
      {"MonocycleManual", "combo:3 menu:Animate ticks:200 key:G key:Num8 key:Num8", 300, 400},
      {"BicycleManual", "combo:4 menu:Animate ticks:100 key:G key:Num7 key:Num9", 200, 300},
      {"RobotKByHand", "combo:1 key:Num7 key:Num9 key:Num9 menu:Animate", 300, 300},
      {"SettingsAndCamera",
       "set:Dt=0.02 set:SBtimer=37 key:T select:4 key:Up key:Q key:W set:zv=-0.25 menu:Animate",
       250, 250},
      {"PendulumGainHalved", "combo:8 key:G menu:Animate", 500, 500,
       [](TGL_Form& f) {
         const TFieldRef kp = FindField(*f.Sim.MsPtr, "Kp");
         kp.Set(kp.Get() * 0.5);
       }},
      // Sets of their own, reopened in windows that hold the program's.
      {"PendulumAlone", "key:G menu:Animate", 300, 300, nullptr, {"TRailAimant", "TMSlin"}},
      {"RobotsAndLoopRail",
       "combo:0 key:Num8 key:Num8 key:Num6 combo:3 key:Ctrl+M menu:Animate",
       400,
       300,
       nullptr,
       {"TRobot4", "TMonocycle", "TRail", "TMRVlin", "TMonocycle", "TRobot4"}},
  };
  // The reluctance carriage on each rail shape with each force model.
  for (int k = 0; k < 12; ++k)
    h.push_back({"Reluctance", "", 400, 300});
  return h;
}

std::string RailActions(int index) {
  const int rail = index / 3, model = index % 3 + 1;
  return "combo:6 set:RailType=" + std::to_string(rail) +
         " set:ForceModel=" + std::to_string(model) + " set:SBfs=73 menu:Animate";
}

TEST(Scene, ContinuingAReopenedSceneEqualsNeverHavingStopped) {
  const std::vector<THistory> histories = Histories();
  int rail_case = 0;
  for (const THistory& h : histories) {
    const std::string actions = *h.Actions ? h.Actions : RailActions(rail_case++);
    SCOPED_TRACE(std::string(h.Name) + ": " + actions);
    std::string straight, saved;
    {
      TWindow w;
      if (!h.Devices.empty()) {
        ASSERT_FALSE(w.form->SetDevices(h.Devices));
      }
      w.Do(actions);
      if (h.Edit) h.Edit(*w.form);
      w.Ticks(h.N + h.M);
      straight = w.Dump();
    }
    {
      TWindow w;
      if (!h.Devices.empty()) {
        ASSERT_FALSE(w.form->SetDevices(h.Devices));
      }
      w.Do(actions);
      if (h.Edit) h.Edit(*w.form);
      w.Ticks(h.N);
      saved = w.Dump();
    }
    // Reopened in a fresh window, and in one with a history of its own.
    for (const char* before :
         {"", "key:Ctrl+D menu:View set:SBfs=77 key:T combo:6 set:RailType=2 set:ForceModel=1 "
              "set:Dt=0.03 key:W ticks:333 menu:View"}) {
      SCOPED_TRACE(*before ? "used window" : "fresh window");
      TWindow w;
      w.Do(before);
      ASSERT_TRUE(w.Load(saved));
      const json loaded = Comparable(w.Dump()), expected = Comparable(saved);
      EXPECT_TRUE(loaded == expected) << Differences(loaded, expected);
      w.Ticks(h.M);
      const json a = Comparable(w.Dump()), b = Comparable(straight);
      EXPECT_TRUE(a == b) << Differences(a, b);
      // The controls show what the scene set.
      EXPECT_EQ(w.form->CBListe.ItemIndex, w.form->Sim.RobSel);
      EXPECT_EQ(w.form->SBtimer.Position, w.form->Timer1.Interval);
      EXPECT_EQ(w.form->SBfs.Position * 0.1, w.form->Sim.Fs);
    }
  }
}

// The dump of a window that has run a little of everything, as a base to spoil.
std::string SampleScene() {
  TWindow w;
  w.Do("key:Ctrl+M menu:Animate ticks:120 combo:4 key:G key:Num7 ticks:30");
  return w.Dump();
}

struct TCorrupt {
  const char* Name;
  std::function<void(json&)> Spoil; // on the parsed sample
  const char* Problem;
};

const std::vector<TCorrupt>& CorruptScenes() {
  auto set = [](const char* pointer, json value) {
    return [pointer, value](json& j) { j[json::json_pointer(pointer)] = value; };
  };
  auto drop = [](const char* parent, const char* key) {
    return [parent, key](json& j) { j[json::json_pointer(parent)].erase(key); };
  };
  static const std::vector<TCorrupt> cases = {
      {"array", [](json& j) { j = json::array(); }, "n'est pas une scène Kinemo"},
      {"other format", set("/format", "kinemo-state"), "n'est pas une scène Kinemo"},
      {"no format", drop("", "format"), "n'est pas une scène Kinemo"},
      {"newer version", set("/version", 5), "version 5, plus récente que ce programme"},
      {"version 0", set("/version", 0), "version de scène inconnue : 0"},
      {"version as text", set("/version", "1"), "version : entier attendu"},
      {"no device list", drop("", "Devices"), "champ manquant : Devices"},
      {"device list of another kind", set("/Devices", 9), "Devices : tableau de noms"},
      {"unknown class listed", set("/Devices/0", "TFoo"),
       "Devices : classe d'appareil inconnue « TFoo »"},
      {"carriage without its rail", set("/Devices", json::array({"TMSlin"})),
       "Devices : TMSlin roule sur un TRailAimant, absent de l'ensemble"},
      {"list and devices differ", set("/Devices/2", "TMonocycle"),
       "Robots[2] : TRobot4 au lieu de TMonocycle"},
      {"window field missing", drop("", "Dt"), "champ manquant : Dt"},
      {"timer field missing", drop("/Timer1", "Interval"), "champ manquant : Timer1.Interval"},
      {"device field missing", drop("/Robots/3", "Kp"), "champ manquant : Robots[3].Kp"},
      {"wheel field missing", drop("/Robots/0/WheelR", "SpinRate"),
       "champ manquant : Robots[0].WheelR.SpinRate"},
      {"no devices", drop("", "Robots"), "champ manquant : Robots"},
      {"flag as number", set("/Robots/4/ControllerOn", 1),
       "Robots[4].ControllerOn : true ou false attendu"},
      {"fraction for an integer", set("/RobSel", 2.5), "RobSel : entier de 32 bits attendu"},
      {"integer beyond 32 bits", set("/DemoStep", 4294967296LL),
       "DemoStep : entier de 32 bits attendu"},
      {"text for a number", set("/Robots/2/Traction", "fast"),
       "Robots[2].Traction : nombre attendu"},
      {"short array", [](json& j) { j["Robots"][3]["State"].erase(3); },
       "Robots[3].State : tableau de 4 valeurs attendu"},
      {"wheel missing", set("/Robots/0/WheelR", nullptr), "Robots[0].WheelR : objet attendu"},
      {"wheel where none is", set("/Robots/1/WheelRL", json::object()),
       "Robots[1].WheelRL : null attendu"},
      {"nan in a state", set("/Robots/3/State/0", "nan"),
       "Robots[3].State[0] : valeur non finie (nan)"},
      {"infinite time", set("/SimTime", "inf"), "SimTime : valeur non finie (inf)"},
      {"selection beyond the set", set("/RobSel", 9), "RobSel : 9 hors de l'intervalle 0 … 8"},
      {"negative selection", set("/RobSel", -1), "RobSel : -1 hors de l'intervalle 0 … 8"},
      {"rail shape", set("/Robots/5/RailType", 4),
       "Robots[5].RailType : 4 hors de l'intervalle 0 … 3"},
      {"magnet rail shape", set("/Robots/7/RailType", -1),
       "Robots[7].RailType : -1 hors de l'intervalle 0 … 3"},
      {"force model", set("/Robots/6/ForceModel", 0),
       "Robots[6].ForceModel : 0 hors de l'intervalle 1 … 3"},
      {"motor phase", set("/Robots/6/Phase", 3), "Robots[6].Phase : 3 hors de l'intervalle 0 … 2"},
      {"controller period", set("/Robots/8/CtrlCountdown", -2147483648LL),
       "Robots[8].CtrlCountdown : -2147483648 hors de l'intervalle"},
      {"tooth pitch", set("/Robots/5/ToothPitch", 1e-9),
       "Robots[5].ToothPitch : 1e-09 donne plus de 100000 pas sur le rail"},
      {"curve radius", set("/Robots/7/CurveRadius", 0),
       "Robots[7].CurveRadius : 0 n'est pas positif"},
      // Angles beyond the interval their wrap keeps them in (found by the event fuzz).
      {"pendulum angle", set("/Robots/8/PendTheta", 100000),
       "Robots[8].PendTheta : 100000 hors de l'intervalle -3.14159265358979 … 3.14159265358979"},
      {"initial heading", set("/Robots/1/Theta0", 4), "Robots[1].Theta0 : 4 hors de l'intervalle"},
      {"bicycle heading", set("/Robots/4/State/2", -3.2),
       "Robots[4].State[2] : -3.2 hors de l'intervalle"},
      {"tooth direction", set("/Robots/6/ToothTheta", -3.2),
       "Robots[6].ToothTheta : -3.2 hors de l'intervalle 0 … 6.28318530717959"},
      {"wheel angle", set("/Robots/3/Wheel/Phi", 100000),
       "Robots[3].Wheel.Phi : 100000 hors de l'intervalle"},
      {"time a tick no longer moves on", set("/SimTime", 1e15),
       "SimTime : 1e+15 hors de l'intervalle 0 … 1000000000000"},
      {"huge but finite", set("/Robots/6/Current", -1e300),
       "Robots[6].Current : -1e+300 hors de l'intervalle -1e+18 … 1e+18"},
      {"parameter beyond what the instruments accept", set("/Robots/0/Mass", 0),
       "Robots[0].Mass : 0 hors de l'intervalle 0.01 … 5"},
      {"wheel without a radius", set("/Robots/0/WheelL/R", 0),
       "Robots[0].WheelL.R : 0 hors de l'intervalle 0.001 … 10"},
      {"carriage size", set("/Robots/8/ToothWidth", 1e9),
       "Robots[8].ToothWidth : 1000000000 hors de l'intervalle 0.0001 … 1"},
      {"a whole turn", set("/Robots/8/Theta", 2 * kPi), "Robots[8].Theta : 6.28318530717959 hors"},
      {"step", set("/Dt", 0.06), "Dt : 0.06 hors de l'intervalle 0 … 0.05"},
      {"frequency", set("/Fs", 0), "Fs : 0 hors de l'intervalle 0.1 … 10"},
      {"timer period", set("/Timer1/Interval", 101),
       "Timer1.Interval : 101 hors de l'intervalle 0 … 100"},
      {"view dialog bar", set("/FormDlgView/ScrollBarzpos", 31),
       "FormDlgView.ScrollBarzpos : 31 hors de l'intervalle 0 … 30"},
      {"demo phase", set("/DemoPhase", 10), "DemoPhase : 10 hors de l'intervalle 0 … 9"},
      {"demo length", set("/DemoLen2", 0), "DemoLen2 : 0 hors de l'intervalle 1 …"},
      {"device count", set("/NbRobots", 8), "NbRobots : 8 au lieu de 9"},
      {"device set size", [](json& j) { j["Robots"].erase(8); },
       "Robots : 8 appareils au lieu de 9"},
      {"unknown class", set("/Robots/2/class", "TFoo"),
       "Robots[2] : classe d'appareil inconnue « TFoo »"},
      {"another class", set("/Robots/2/class", "TMonocycle"),
       "Robots[2] : TMonocycle au lieu de TRobot4"},
      {"type code", set("/Robots/2/TypeCode", 3), "Robots[2].TypeCode : 3 au lieu de 4"},
      {"device index", set("/Robots/2/Index", 5), "Robots[2].Index : 5 au lieu de 2"},
      {"second selection", set("/Robots/0/Selected", true),
       "Robots[0].Selected : 1 au lieu de 0 (RobSel 4)"},
  };
  return cases;
}

TEST(Scene, CorruptScenesAreRefusedWholeWithTheirFirstProblem) {
  const std::string sample_text = SampleScene();
  const json sample = json::parse(sample_text);
  TScratchDir dir;
  TWindow w;
  w.Do("combo:6 set:RailType=1 menu:Animate ticks:40");
  const std::string before = w.Dump();
  auto refused = [&](const std::string& path, const std::string& problem) {
    const std::size_t shown = w.tk.Messages.size();
    EXPECT_FALSE(w.form->OpenScene(path));
    ASSERT_EQ(w.tk.Messages.size(), shown + 1);
    EXPECT_EQ(w.tk.Messages.back().Caption, "Ouvrir une scène");
    const std::string& text = w.tk.Messages.back().Text;
    EXPECT_EQ(text.rfind("Impossible d'ouvrir la scène " + path + " : ", 0), 0u) << text;
    EXPECT_NE(text.find(problem), std::string::npos) << text;
    EXPECT_TRUE(w.Dump() == before)
        << "a refused scene changed " << Differences(json::parse(before), json::parse(w.Dump()));
  };
  for (const TCorrupt& c : CorruptScenes()) {
    SCOPED_TRACE(c.Name);
    json j = sample;
    c.Spoil(j);
    const std::string path = dir / "bad.json";
    std::ofstream(path) << j.dump();
    refused(path, c.Problem);
  }
  const struct {
    const char* Name;
    std::string Text;
    const char* Problem;
  } raw[] = {
      {"empty", "", "fichier vide"},
      {"cut short", sample_text.substr(0, 50), "JSON invalide (ligne 1, colonne 51)"},
      {"second line", "{\n  \"format\": kinemo}", "JSON invalide (ligne 2, colonne 13)"},
      {"number overflow", R"({"format": "kinemo-scene", "version": 1e999})",
       "JSON invalide (nombre hors des limites)"},
      {"too large", std::string(kMaxSceneBytes + 1, ' '), "fichier trop grand pour une scène"},
  };
  for (const auto& c : raw) {
    SCOPED_TRACE(c.Name);
    const std::string path = dir / "bad.json";
    std::ofstream(path) << c.Text;
    refused(path, c.Problem);
  }
  refused(dir / "missing.json", "fichier ou dossier introuvable");
  refused(dir.Dir.string(), "c'est un dossier");
}

TEST(Scene, TheSelectMenuOpensAndSavesThroughFileChoices) {
  TScratchDir dir;
  TWindow w;
  const std::string path = dir / "lesson.json";
  std::vector<TFileChoice> asked;
  std::string answer;
  w.tk.AnswerFile = [&](TFileChoice c, std::string& p) {
    asked.push_back(c);
    p = answer;
    return !answer.empty();
  };
  // Cancelled: nothing written, nothing changed.
  w.form->EnregistrerScene1Click();
  w.form->OuvrirScene1Click();
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(w.tk.FileChoiceStarts,
            (std::vector<std::string>{"scene.json", w.form->DataFolder + "/scenes"}));

  w.Do("combo:3 set:SBfs=42 menu:Animate ticks:50");
  answer = path;
  w.form->EnregistrerScene1Click();
  const std::string saved = ReadFile(path);
  EXPECT_EQ(json::parse(saved)["format"], "kinemo-scene");
  EXPECT_TRUE(w.tk.Questions.empty());

  // An existing file is replaced only when the user says so.
  w.Ticks(10);
  w.form->EnregistrerScene1Click();
  ASSERT_EQ(w.tk.Questions.size(), 1u);
  EXPECT_EQ(w.tk.Questions[0], path + " existe déjà. Voulez-vous le remplacer ?");
  EXPECT_EQ(ReadFile(path), saved);
  w.tk.AnswerQuestion = [](const std::string&) { return true; };
  w.form->EnregistrerScene1Click();
  EXPECT_NE(ReadFile(path), saved);
  EXPECT_EQ(w.tk.FileChoiceStarts.back(), path); // the dialogs start from the last file

  TWindow other;
  other.tk.AnswerFile = [&](TFileChoice c, std::string& p) {
    EXPECT_EQ(c, TFileChoice::OpenScene);
    p = path;
    return true;
  };
  other.form->OuvrirScene1Click();
  EXPECT_EQ(other.form->Sim.RobSel, 3);
  EXPECT_EQ(other.form->SBfs.Position, 42);
  EXPECT_EQ(other.form->LastScenePath, path);
}

// Opened while recording, a scene first completes the video: its time is the
// simulated time, which the scene moves.
TEST(Scene, OpeningEndsARecordingAndKeepsTheLogAndTheMouse) {
  TScratchDir dir;
  const std::string scene = dir / "s.json";
  {
    TWindow w;
    w.Do("menu:Animate ticks:5");
    ASSERT_TRUE(w.form->SaveScene(scene));
  }
  TWindow w;
  w.form->Recording = true; // as if a recording ran (without a context none can start)
  w.form->LogOn = true;
  w.form->RightDrag = true;
  ASSERT_TRUE(w.form->OpenScene(scene));
  EXPECT_FALSE(w.form->Recording);
  EXPECT_TRUE(w.form->LogOn);
  EXPECT_TRUE(w.form->RightDrag);
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(Scene, TheCommandLineLoadsBeforeItsActionsAndRefusesBadScenesWritingNothing) {
  TScratchDir dir;
  const std::string first = dir / "first.json", second = dir / "second.json",
                    straight = dir / "straight.json";
  auto run = [](std::vector<std::string> args, std::string* err = nullptr) {
    std::ostringstream out, e;
    args.insert(args.begin(), "--headless");
    const int code = RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, e);
    if (err) *err = e.str();
    return code;
  };
  ASSERT_EQ(run({"--size", "32x32", "--do", "key:Ctrl+D ticks:150", "--state", first}), 0);
  // --load comes first wherever it is written.
  ASSERT_EQ(run({"--size", "32x32", "--do", "ticks:100", "--load", first, "--state", second}), 0);
  ASSERT_EQ(run({"--size", "32x32", "--do", "key:Ctrl+D ticks:250", "--state", straight}), 0);
  EXPECT_TRUE(Comparable(ReadFile(second)) == Comparable(ReadFile(straight)));

  Put(first, "{}");
  const std::string shot = dir / "shot.png";
  std::string err;
  EXPECT_EQ(
      run({"--load", first, "--do", "ticks:3", "--state", second, "--screenshot", shot}, &err), 2);
  EXPECT_EQ(err, "kinemo: Impossible d'ouvrir la scène " + first +
                     " : ce fichier n'est pas une scène Kinemo (\"format\" doit valoir "
                     "\"kinemo-scene\")\n");
  EXPECT_FALSE(fs::exists(shot));
  EXPECT_TRUE(Comparable(ReadFile(second)) == Comparable(ReadFile(straight))); // untouched
  EXPECT_EQ(run({"--load", first, "--load", first}, &err), 2);
  EXPECT_EQ(err, "kinemo: --load may be given once\n");
}

// A scene of the first version, saved before the format had a device list,
// opens with the program's nine devices and every value it holds.
TEST(Scene, OlderVersionsOpenWithTheDefaultsOfWhatTheyLack) {
  const std::string path = KINEMO_SOURCE_DIR "/tests/data/scene-version-1.json";
  std::ifstream in(path);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  const json file = json::parse(text);
  ASSERT_EQ(file["version"], 1);
  TWindow w;
  w.Do("combo:0 key:Num8 ticks:5");
  ASSERT_TRUE(w.form->OpenScene(path)) << w.tk.Messages.back().Text;
  EXPECT_EQ(w.form->Sim.DeviceClassNames(), StandardDeviceSet());
  // A device's field added later keeps the value a new device has.
  auto without_added = [](json device) {
    for (const TAddedField& f : kAddedFields)
      if (f.Class && device["class"] == f.Class) {
        EXPECT_EQ(device[f.Path], false) << f.Path;
        device.erase(f.Path);
      }
    return device;
  };
  for (int i = 0; i < w.form->Sim.NbRobots; ++i)
    EXPECT_EQ(without_added(json::parse(DeviceJson(w.form->Sim.Device(i)))), file["Robots"][i])
        << i;
  json saved = Comparable(w.Dump()), before = Comparable(text);
  for (json& device : saved["Robots"])
    device = without_added(device);
  EXPECT_EQ(saved["version"], kSceneVersion);
  EXPECT_EQ(saved["Devices"], json(StandardDeviceSet()));
  EXPECT_EQ(saved["Ticks"], 0);
  for (const char* added : {"version", "Devices", "Ticks"})
    saved.erase(added), before.erase(added);
  EXPECT_TRUE(saved == before) << Differences(saved, before);
}

// The example scenes that come with the program open and show what they say.
TEST(Scene, TheExampleScenesOpen) {
  const std::string folder = std::string(KINEMO_BUILD_DATA_DIR) + "/scenes/";
  TWindow w;
  ASSERT_TRUE(w.form->OpenScene(folder + "pendule-en-equilibre.json"));
  const TMSlin& ms = *w.form->Sim.MsPtr;
  EXPECT_EQ(w.form->Sim.RobSel, 8);
  EXPECT_TRUE(ms.ControllerOn);
  EXPECT_NEAR(w.form->xv, ms.PosX, 0.05); // the camera on the carriage
  w.Do("menu:Animate ticks:500");
  EXPECT_LT(std::abs(ms.PendTheta - ms.ThetaRef), 0.05); // still balancing

  ASSERT_TRUE(w.form->OpenScene(folder + "moteur-reluctance-boucle.json"));
  EXPECT_EQ(w.form->Sim.RobSel, 6);
  EXPECT_EQ(w.form->Sim.RailPtr->RailType, 3);
  EXPECT_EQ(w.form->Sim.MrvPtr->ForceModel, 3);
  // Its force model turns it: it gets past the first bend of the loop.
  w.Do("menu:Animate ticks:1200");
  EXPECT_GT(w.form->Sim.MrvPtr->Theta, 1.5);

  ASSERT_TRUE(w.form->OpenScene(folder + "robots-en-equilibre-sans-regulateur.json"));
  for (int i : {3, 4})
    EXPECT_FALSE(FindField(*w.form->Sim.Robots[i], "ControllerOn").Get()) << i;
  EXPECT_TRUE(w.tk.Messages.empty());
}

} // namespace KINEMO_UNITY_ID
} // namespace
