// libFuzzer target: the command line. The input is the argument list, one
// argument a line. It is checked as the program checks it; the actions of
// every --do are then parsed against a window and, when they all pass, played
// into it (no OpenGL, no output files, at most a few thousand ticks), as a
// state-only run would.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/runner.h"
#include "window/gl_form.h"

namespace {

constexpr long long kMaxTicks = 2000;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The data log (key C) is written to the working directory.
  const auto dir = std::filesystem::temp_directory_path() /
                   ("kinemo_fuzz_actions_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  std::vector<std::string> args;
  std::string arg;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      args.push_back(arg);
      arg.clear();
    } else {
      arg += static_cast<char>(data[i]);
    }
  }
  args.push_back(arg);
  std::string error;
  const bool valid = CheckHeadlessArgs(args, error);
  if (!valid && error.empty()) std::abort(); // a refusal always says why

  THeadlessToolkit tk;
  TGL_Form form(tk);
  std::vector<TAction> actions;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] != "--do") continue;
    std::istringstream in(args[i + 1]);
    std::string word;
    while (in >> word) {
      TAction a;
      if (!ParseAction(word, form, a, error)) {
        if (error.empty()) std::abort();
        return 0;
      }
      actions.push_back(std::move(a));
    }
  }
  long long ticks = 0;
  for (const TAction& a : actions) {
    ticks += RunningTicks(form, a);
    if (ticks > kMaxTicks) break;
    ApplyAction(form, tk, a);
    if (tk.CloseRequested) break;
    tk.Messages.clear();
  }
  form.FormClose();
  return 0;
}
