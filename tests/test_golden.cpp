// Golden determinism: the SHA-256 of the state dump after long fixed runs is
// pinned here, so that a build with another compiler, optimiser or library that
// moves any device by one bit fails. Two runs in one process could not see that.
//
// Each run is the command line's action list on a window without an OpenGL
// context, so its hash is that of
//   kinemo --headless --do "<actions>" --state s.json
// and of the same run drawing every frame. A deliberate change to one device's
// physics updates only the lines of the runs that device takes part in: the
// failure prints the new hash to pin.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <ostream>
#include <sstream>
#include <string>

#include "app/gl_form.h"
#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/state_json.h"

namespace {

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

// The dump after the actions, as the runner writes it with its default view size.
std::string StateAfter(const std::string& actions) {
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
      return "";
    }
    ApplyAction(form, tk, a);
  }
  std::string state = StateJson(form);
  form.FormClose();
  return state;
}

struct TGolden {
  const char* Name;
  const char* Sha256;
  const char* Actions;
};

const TGolden kGolden[] = {
    {"AllAutoPilots", "478ae9c78621e496f502cf85cddfea5c48f2af0fc19b8098bd83342402b5e4b9",
     "key:Ctrl+M menu:Animate ticks:10000"},
    {"DemoFromKeyboard", "273721f830ca406903431af8830d5d06c9aff53d72950f010c100947ca5f116e",
     "key:Ctrl+D ticks:8000"},
    {"DemoFromMenu", "bb72d46b06adfae4a3f8bce7b0baf897af407320fd039f0ed7fc93de568b8814",
     "menu:ModeDmo1 ticks:8000"},
    {"RobotsByHand", "ee1d24a3480d18cbee7a05a9fe06e0edfc083bb1b74015101e00ad7b444408e9",
     "combo:0 key:Num8 key:Num8 key:Num4 menu:Animate ticks:1500 combo:1 key:Num7 key:Num9 "
     "key:Num9 ticks:1500 key:Num5 ticks:500"},
    {"MonocycleController", "8170a543456270cdc38641bc8a32f1141c7b952dc1358dd87fe0202ab192c27f",
     "combo:3 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 key:Num2 key:Num2 "
     "ticks:1500"},
    {"MonocycleManual", "07265b265e6c28d238979cb46fe523e637408a9dc6bd8dadd04bae2319855fff",
     "combo:3 menu:Animate ticks:500 key:G key:Num8 ticks:200 key:Num2 key:Num2 ticks:200 key:Num5 "
     "ticks:300 key:G ticks:1000"},
    {"BicycleController", "339198dad4f572582a6befd2d2b5c4ae0845c1738d13e331de93a855347b1257",
     "combo:4 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 key:Num2 key:Num2 "
     "ticks:1500"},
    {"BicycleManual", "b2b0d6725941e8654a42071b98f2e580b9719e5a64c96862a580ed8e2f3c135f",
     "combo:4 menu:Animate ticks:500 key:G key:Num7 key:Num9 key:Num9 ticks:300 key:Num3 ticks:300 "
     "key:Num4 key:Num6 ticks:300 key:G ticks:1000"},
    {"PendulumController", "f6ab92ccbe6914a03b21d0fb6b208d960f41b08d23e7a20002cce0c6d902ac07",
     "combo:8 key:G menu:Animate ticks:1000 key:Num6 ticks:1000 key:Num8 ticks:1000 key:Num4 "
     "ticks:1000"},
    {"PendulumManual", "dff42b62a5b9ee82280864cd8ff548527791a987767f3d5ed4702dbe0ae0d216",
     "combo:8 menu:Animate key:Num8 ticks:500 key:Num2 key:Num2 ticks:500 key:E ticks:500"},
    {"Rail0Force1", "179267673efd0c6f791ddf767e6588b5f83395bf04e907055bf32ed7b6cd9f69",
     "combo:6 set:RailType=0 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force2", "629f7333fcd7da5496debc788b14e13597b030a39b8a06a03decd48083ad2e24",
     "combo:6 set:RailType=0 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force3", "6d2071ae03d77cf217e0c17b91872bd21a7519c9323a4e6c98cd27dcd884fd45",
     "combo:6 set:RailType=0 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force1", "c1f9f4169a2a3324ab674580de66b92fe6a5683fca0b29ce3f0177b27cfe86d2",
     "combo:6 set:RailType=1 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force2", "5ac9d33935d7282a2721a8221da202a7b58b2efc4e23f5020c353a0153d4614f",
     "combo:6 set:RailType=1 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force3", "3d14b7d7055abb34220962d6c8cc200d003a0088e2bd527f51d3b790343c7ed7",
     "combo:6 set:RailType=1 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force1", "5b4e07cf9513d5f6ac083496b866470cb4b37334cc022db4c326a94113debec3",
     "combo:6 set:RailType=2 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force2", "059050d8c2369bb528b82761971c39b06ff551f55c2b573bb25fc4e2dd5db339",
     "combo:6 set:RailType=2 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force3", "ea619753348593229111755e9f45181952a4de1af4e1d14ca45241d6460389ad",
     "combo:6 set:RailType=2 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force1", "cafe8c3b3b67510a8e0026803abfd03055f4312f6c8cd7b0cd260cd5ee17b233",
     "combo:6 set:RailType=3 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force2", "f21428106a0cdb368ba28c2045a3295b6e80b9db47cb0bcd73c7da1d0d98c520",
     "combo:6 set:RailType=3 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force3", "93f9a456953dcf4ecaed4c0931831483d251c6f0be7faa4b3f426cf8147e7ff7",
     "combo:6 set:RailType=3 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
};

void PrintTo(const TGolden& g, std::ostream* os) {
  *os << g.Name;
}

class Golden : public ::testing::TestWithParam<TGolden> {};

TEST_P(Golden, StateHashIsPinned) {
  const TGolden& g = GetParam();
  EXPECT_EQ(Sha256Hex(StateAfter(g.Actions)), g.Sha256)
      << "the state after \"" << g.Actions << "\" changed (scenario " << g.Name << ")";
}

INSTANTIATE_TEST_SUITE_P(Runs, Golden, ::testing::ValuesIn(kGolden),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
