// Golden determinism: the SHA-256 of each device's state after long fixed runs,
// and of the rest of the state (the window's and the simulation's own fields),
// is pinned in tests/data/golden-hashes.txt, so that a build with another
// compiler, optimiser or library that moves any device by one bit fails. Two
// runs in one process could not see that.
//
// Each run is the command line's action list on a window without an OpenGL
// context, so its state is that of
//   kinemo --headless --do "<actions>" --state s.json
// and of the same run drawing every frame. A deliberate change to one
// device's physics changes only that device's lines (and those of devices it
// touches): run the test with KINEMO_UPDATE_GOLDEN=1 to write the new hashes,
// and read the file's diff.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

const char* const kHashFile = KINEMO_SOURCE_DIR "/tests/data/golden-hashes.txt";

std::string Sha256Hex(const std::string& data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (!EVP_Digest(data.data(), data.size(), digest, &size, EVP_sha256(), nullptr)) return "";
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i)
    hex += {kHex[digest[i] >> 4], kHex[digest[i] & 15]};
  return hex;
}

// "root" and each device's index, with the hash of its part of the dump after
// the actions, as the runner writes it with its default view size. The root
// is the dump up to the status line, which only shows the devices' values.
std::map<std::string, std::string> HashesAfter(const std::string& actions) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  form.FormResize(1280, 720);
  std::istringstream words(actions);
  std::string word;
  while (words >> word) {
    TAction a;
    std::string error;
    if (!ParseAction(word, form, a, error)) {
      ADD_FAILURE() << error;
      return {};
    }
    ApplyAction(form, tk, a);
  }
  const std::string state = StateJson(form);
  std::map<std::string, std::string> hashes = {
      {"root", Sha256Hex(state.substr(0, state.find(",\"StatusBar\"")))}};
  for (std::int32_t i = 0; i < form.Sim.NbRobots; ++i)
    hashes[std::to_string(i)] = Sha256Hex(DeviceJson(form.Sim.Device(i)));
  form.FormClose();
  return hashes;
}

struct TGolden {
  const char* Name;
  const char* Actions;
};

const TGolden kGolden[] = {
    {"AllAutoPilots", "key:Ctrl+M menu:Animate ticks:10000"},
    {"DemoFromKeyboard", "key:Ctrl+D ticks:8000"},
    {"DemoFromMenu", "menu:ModeDmo1 ticks:8000"},
    {"RobotsByHand", "combo:0 key:Num8 key:Num8 key:Num4 menu:Animate ticks:1500 combo:1 key:Num7 "
                     "key:Num9 key:Num9 ticks:1500 key:Num5 ticks:500"},
    {"MonocycleController", "combo:3 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 "
                            "key:Num2 key:Num2 ticks:1500"},
    {"MonocycleManual", "combo:3 menu:Animate ticks:500 key:G key:Num8 ticks:200 key:Num2 key:Num2 "
                        "ticks:200 key:Num5 ticks:300 key:G ticks:1000"},
    {"BicycleController", "combo:4 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 "
                          "key:Num2 key:Num2 ticks:1500"},
    {"BicycleManual", "combo:4 menu:Animate ticks:500 key:G key:Num7 key:Num9 key:Num9 ticks:300 "
                      "key:Num3 ticks:300 key:Num4 key:Num6 ticks:300 key:G ticks:1000"},
    {"PendulumController", "combo:8 key:G menu:Animate ticks:1000 key:Num6 ticks:1000 key:Num8 "
                           "ticks:1000 key:Num4 ticks:1000"},
    {"PendulumManual",
     "combo:8 menu:Animate key:Num8 ticks:500 key:Num2 key:Num2 ticks:500 key:E ticks:500"},
    {"Rail0Force1", "combo:6 set:RailType=0 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force2", "combo:6 set:RailType=0 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force3", "combo:6 set:RailType=0 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force1", "combo:6 set:RailType=1 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force2", "combo:6 set:RailType=1 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force3", "combo:6 set:RailType=1 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force1", "combo:6 set:RailType=2 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force2", "combo:6 set:RailType=2 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force3", "combo:6 set:RailType=2 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force1", "combo:6 set:RailType=3 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force2", "combo:6 set:RailType=3 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force3", "combo:6 set:RailType=3 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
};

// The pinned lines, "run part hash", by run and part.
std::map<std::string, std::map<std::string, std::string>> Pinned() {
  std::map<std::string, std::map<std::string, std::string>> pinned;
  std::ifstream in(kHashFile);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string run, part, hash;
    fields >> run >> part >> hash;
    pinned[run][part] = hash;
  }
  return pinned;
}

TEST(Golden, EveryDevicesStateIsPinned) {
  const bool update = std::getenv("KINEMO_UPDATE_GOLDEN") != nullptr;
  const auto pinned = Pinned();
  std::string file = "# run part sha256: the state after each golden run (test_golden.cpp)\n";
  for (const TGolden& g : kGolden) {
    const auto hashes = HashesAfter(g.Actions);
    const auto it = pinned.find(g.Name);
    for (const auto& [part, hash] : hashes) {
      file += std::string(g.Name) + " " + part + " " + hash + "\n";
      if (update) continue;
      const std::string expected =
          it == pinned.end() || !it->second.count(part) ? "" : it->second.at(part);
      EXPECT_EQ(hash, expected) << "the state of " << part << " after \"" << g.Actions
                                << "\" changed (run " << g.Name << ")";
    }
  }
  if (update) std::ofstream(kHashFile) << file;
}

} // namespace KINEMO_UNITY_ID
} // namespace
