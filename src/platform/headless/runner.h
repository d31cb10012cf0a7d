// The command line without a display:
//   kinemo --headless --do "<actions>" [--state FILE.json]
// Actions run in order, as the window's events would: ticks:N (N timer events),
// select:N (the robot-selection dialog answered with N), menu:NAME.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes: 0 done, 1 an output could not be written, 2 invalid arguments.
int RunHeadless(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
