// kinemo: the desktop program, or with --headless the command line without a display.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "files/data_folder.h"
#include "io/fd_stream.h"
#include "platform/headless/runner.h"
#include "platform/qt/desktop.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string data_folder = DataFolderOf(ExecutablePath(argv[0]));
  for (const std::string& a : args)
    if (a == "--help" || a == "--version") {
      std::cout << (a == "--help" ? UsageText() : VersionText());
      return 0;
    }
  for (const std::string& a : args)
    if (a == "--headless") {
      // Lines as they end where someone watches; a stop signal never waits
      // on a reader that stopped reading.
      TFdStream out(STDOUT_FILENO, ::isatty(STDOUT_FILENO) == 1);
      TFdStream err(STDERR_FILENO, true);
      return RunHeadless(args, data_folder, out, err, TDrawFrames::Needed,
                         ::isatty(STDERR_FILENO) == 1);
    }
  if (!DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                        std::getenv("WAYLAND_DISPLAY"))) {
    std::cerr << "kinemo: no display (DISPLAY and WAYLAND_DISPLAY are unset); without a window "
                 "run: kinemo --headless --do \"menu:Animate ticks:100\" --state state.json\n";
    return 1;
  }
  return RunDesktop(argc, argv, data_folder);
}
