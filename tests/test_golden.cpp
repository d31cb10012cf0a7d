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
#include "app/state_json.h"
#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"

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
    {"AllAutoPilots", "988426b243fb410ecea29be241e6cece232576ee1eb682a19e5e2f4904575b77",
     "key:Ctrl+M menu:Animate ticks:10000"},
    {"DemoFromKeyboard", "cb2633f2b5babe948bf2f00d2c8ee05672da2d74d4c5a4e3661972d35cef30a5",
     "key:Ctrl+D ticks:8000"},
    {"DemoFromMenu", "d459a8691f5f9d8efbafe51902923a7785205f29a8083832494a618206c9ee66",
     "menu:ModeDmo1 ticks:8000"},
    {"RobotsByHand", "5e01dae78611f4f607b19c106368bd4a8ca367b864919ccf94346dea4b6cba32",
     "combo:0 key:Num8 key:Num8 key:Num4 menu:Animate ticks:1500 combo:1 key:Num7 key:Num9 "
     "key:Num9 ticks:1500 key:Num5 ticks:500"},
    {"MonocycleController", "8f0cdea57fcb534095b52061df4b1ffdcf1753bb943338a9a701349805130bae",
     "combo:3 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 key:Num2 key:Num2 "
     "ticks:1500"},
    {"MonocycleManual", "48d0466702c9399f776de1020827c74ff54c2cb40c9ddcc809212330e6e7123e",
     "combo:3 menu:Animate ticks:500 key:G key:Num8 ticks:200 key:Num2 key:Num2 ticks:200 key:Num5 "
     "ticks:300 key:G ticks:1000"},
    {"BicycleController", "d39d4a1af7c7fb8bdd4fa1b1cfdbb13cc0870730a390988080df98e9e6d0096b",
     "combo:4 menu:Animate ticks:1000 key:Num8 key:Num8 ticks:1500 key:Num2 key:Num2 key:Num2 "
     "ticks:1500"},
    {"BicycleManual", "5f9e7f8e3e11cd6daa59e7a71d93c570f44b2659d729e4aa4b7f5b018bedf68b",
     "combo:4 menu:Animate ticks:500 key:G key:Num7 key:Num9 key:Num9 ticks:300 key:Num3 ticks:300 "
     "key:Num4 key:Num6 ticks:300 key:G ticks:1000"},
    {"PendulumController", "81a0f7c6a3fbc155c2c2e5fb1b197933d56fb9fb08e742fcde7aa92b02fcd8ba",
     "combo:8 key:G menu:Animate ticks:1000 key:Num6 ticks:1000 key:Num8 ticks:1000 key:Num4 "
     "ticks:1000"},
    {"PendulumManual", "8617f9e92ce04d220b7fa71ceacccfd598db7430be7cf9bd8e5fec3160f6dea8",
     "combo:8 menu:Animate key:Num8 ticks:500 key:Num2 key:Num2 ticks:500 key:E ticks:500"},
    {"Rail0Force1", "bea261f78ce82b173328d1143c247e022eb88b011cc041404ecd62139c8b4170",
     "combo:6 set:RailType=0 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force2", "1f6e4c4bcbf24b36e6c8dd02e37fdb17533755a024cf49dd47dab7c187f7381a",
     "combo:6 set:RailType=0 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail0Force3", "065bb5d4e323ec2889746752a5c5b79527ba112abcdb53b87dc2c8bc33687ceb",
     "combo:6 set:RailType=0 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force1", "8fc69d0ad6981e0032d132c380451d387ac019282ae521e9276e7c548ef61975",
     "combo:6 set:RailType=1 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force2", "d200101743104be9f69f1b6d9e84f2836b8f0339989430e5dc4e1ab7bce03959",
     "combo:6 set:RailType=1 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail1Force3", "6de5270a0a3d91e766c600a0ca3f730ce07d21155ba492388cfd115f3e50db61",
     "combo:6 set:RailType=1 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force1", "bb57989a1ce488a9aa2a7516358f5894ccd627ba1771a37daceb2cddcf7c4807",
     "combo:6 set:RailType=2 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force2", "7bfc8785f83eb64c76bc942bf4bcda40a1df24efc76077fd1538a87dee2d8e82",
     "combo:6 set:RailType=2 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail2Force3", "bdda2887ae16059b24c5b87fc90eb875d6df55ab8d3a994155a453b56886157b",
     "combo:6 set:RailType=2 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force1", "275dbcbebdb90e42a76487b9b662baf7175df4dd50576be1cf87206a41d56993",
     "combo:6 set:RailType=3 set:ForceModel=1 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force2", "2ed5a2d29d7ef54a7d85786a91a75cd0a462c82272e6ddb2d3ff6a44076c308d",
     "combo:6 set:RailType=3 set:ForceModel=2 set:SBfs=100 menu:Animate ticks:4000"},
    {"Rail3Force3", "9f5a8fcb35f7115c81b53415c1486e49d4fadd71f1b06f4f368cbd13082246ad",
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
