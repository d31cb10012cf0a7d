// The command line without a display:
//   kinemo --headless --do "<actions>" [--state FILE.json] [--screenshot FILE.png]
//          [--size WxH] [--record FILE.avi [--fps N] [--duration S] [--codec raw|mjpeg]]
//          [--csv FILE.csv [--csv-every N]] [--load FILE.json] [--quiet] [--progress]
// Actions run in order, as the window's events would: ticks:N (N timer events),
// select:N (the robot-selection dialog answered with N), menu:NAME, paint (the
// window's paint event: one frame drawn). --record sets a recording up before
// the actions, as the menu command would with its dialogs answered (25 fps,
// 10 s and uncompressed unless given); the file is completed when the run ends.
// --csv writes a row every tick (every N ticks) of the actions: the simulated
// time, then every described quantity of the device selected at the first row.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Which frames a run draws. Needed: an OpenGL context only when an output
// needs pixels (--screenshot, --record), and of the ticks' frames only those
// whose pixels are read. Every: a context in any case and every frame drawn,
// as the window does. Both give the same state and the same pictures.
enum class TDrawFrames { Needed, Every };

// The size of the view unless --size gives one.
inline constexpr int kDefaultViewWidth = 1280, kDefaultViewHeight = 720;

// The view is drawn off screen at the given size (1280x720 by default); the
// screenshot is the last frame of the run.
// Exit codes: 0 done, 1 an output could not be written, 2 invalid arguments,
// 3 an output needs pixels but no OpenGL context could be had.
// `data_folder` holds the pictures and the help page. `err_terminal`: the
// error stream is standard error and a terminal, which shows the progress of
// long actions.
int RunHeadless(const std::vector<std::string>& args, const std::string& data_folder,
                std::ostream& out, std::ostream& err, TDrawFrames draw = TDrawFrames::Needed,
                bool err_terminal = false);

// --help: every option and action, from the tables that parse them.
std::string UsageText();
// --version: "kinemo 2.3".
std::string VersionText();
// Each option of the help with a value the parser takes ("--size 640x480").
std::vector<std::string> OptionSamples();

// Checks a command line as RunHeadless does before it runs anything; false
// with the message it would give. Nothing is read, run or written.
bool CheckHeadlessArgs(const std::vector<std::string>& args, std::string& error);
