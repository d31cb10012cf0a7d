// kinemo: the desktop program, or with --headless the command line without a display.
#include <iostream>
#include <string>
#include <vector>

#include "platform/headless/runner.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args)
    if (a == "--headless") return RunHeadless(args, std::cout, std::cerr);
  std::cerr << "kinemo: this build has no desktop window yet; run it as: kinemo --headless --do "
               "\"menu:Animate ticks:100\" --state state.json\n";
  return 1;
}
