#include "platform/headless/runner.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <sstream>
#include <sys/ioctl.h>
#include <unistd.h>

#include "files/csv_export.h"
#include "io/safe_output.h"
#include "io/stop_signals.h"
#include "platform/headless/actions.h"
#include "platform/headless/egl_context.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/image_files.h"
#include "platform/headless/progress.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

namespace {

struct TOptions {
  std::vector<std::string> ActionWords; // --do, checked once the device set is known
  std::vector<TAction> Actions;
  std::vector<std::string> Devices; // --devices: a set of these classes
  std::string StateFile;
  std::string SceneFile; // --load
  std::string ScreenshotFile;
  std::string CsvFile;
  long long CsvEvery = 1;
  bool CsvEveryGiven = false;
  TCaptureAnswer Capture; // Capture.File empty: no --record
  bool CaptureSettingsGiven = false;
  int Width = kDefaultViewWidth;
  int Height = kDefaultViewHeight;
  bool Quiet = false;    // no report on standard output
  bool Progress = false; // the progress line even where standard error is no terminal
};

constexpr long long kMaxSide = 16384;

// The options as --help lists them; `Sample` is a value the parser takes.
struct TOptionHelp {
  const char* Name;
  const char* Value; // "" for a switch
  const char* Help;
  const char* Sample;
};
const TOptionHelp kOptionHelp[] = {
    {"--headless", "", "run without a window (needed for every option below)", ""},
    {"--do", "\"ACTIONS\"", "the actions, separated by spaces, applied in order", "ticks:1"},
    {"--devices", "CLASS,...", "this set of devices instead of the program's nine",
     "TRailAimant,TMSlin"},
    {"--load", "FILE.json", "start from this scene", "scene.json"},
    {"--state", "FILE.json", "write the state after the actions (a scene)", "state.json"},
    {"--screenshot", "FILE.png", "write the view after the actions", "view.png"},
    {"--size", "WxH", "size of the view drawn (default 1280x720)", "640x480"},
    {"--csv", "FILE.csv", "the selected device's quantities at the start and every N ticks",
     "run.csv"},
    {"--csv-every", "N", "a CSV row every N ticks (default 1)", "2"},
    {"--record", "FILE.avi", "record the view into an AVI file", "run.avi"},
    {"--fps", "N", "frames per second of the recording (default 25)", "25"},
    {"--duration", "S", "seconds of simulated time to record (default 10)", "4"},
    {"--codec", "raw|mjpeg", "uncompressed frames (default) or Motion-JPEG", "mjpeg"},
    {"--quiet", "", "nothing on standard output, no progress line", ""},
    {"--progress", "", "the progress line even where standard error is no terminal", ""},
    {"--help", "", "this text", ""},
    {"--version", "", "the program's version", ""},
};

bool ParseSeconds(const std::string& s, double& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size() && std::isfinite(v);
}

// An output that is an input, or another output, would replace it: refused
// before anything runs. Names are compared as files (through links, by inode).
bool CheckFileClashes(const TOptions& opt, std::string& error) {
  struct TNamed {
    std::string What, Path;
  };
  std::vector<TNamed> outputs;
  if (!opt.StateFile.empty()) outputs.push_back({"--state", opt.StateFile});
  if (!opt.ScreenshotFile.empty()) outputs.push_back({"--screenshot", opt.ScreenshotFile});
  if (!opt.CsvFile.empty()) outputs.push_back({"--csv", opt.CsvFile});
  if (!opt.Capture.File.empty())
    outputs.push_back({"--record", CAVIGenerator::WithExtAvi(opt.Capture.File)});
  for (const std::string& word : opt.ActionWords)
    if (word == "key:C" || word == "key:c") {
      outputs.push_back({"the data log (key:C)", "capture.dat"});
      break;
    }
  std::vector<TNamed> seen;
  if (!opt.SceneFile.empty()) seen.push_back({"--load", opt.SceneFile});
  for (const TNamed& o : outputs) {
    for (const TNamed& s : seen)
      if (SameFile(o.Path, s.Path)) {
        error = o.What + " " + o.Path + " is the same file as " + s.What + " " + s.Path;
        return false;
      }
    seen.push_back(o);
  }
  return true;
}

bool ParseArgs(const std::vector<std::string>& args, TOptions& opt, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      // A forgotten value would take the next option for a file name.
      if (args[i + 1].rfind("--", 0) == 0) {
        error = arg + " needs a value, not the option " + args[i + 1];
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "--headless" || arg == "--help" || arg == "--version") continue;
    if (arg == "--quiet" || arg == "--progress") {
      (arg == "--quiet" ? opt.Quiet : opt.Progress) = true;
      continue;
    }
    if (arg == "--do") {
      std::string list;
      if (!value(list)) return false;
      std::istringstream in(list);
      std::string word;
      while (in >> word)
        opt.ActionWords.push_back(word);
    } else if (arg == "--devices") {
      std::string list;
      if (!value(list)) return false;
      std::istringstream in(list);
      std::string name;
      while (std::getline(in, name, ','))
        opt.Devices.push_back(name);
      if (opt.Devices.empty()) {
        error = "--devices needs a list of device classes, e.g. TRailAimant,TMSlin";
        return false;
      }
    } else if (arg == "--csv") {
      if (!value(opt.CsvFile)) return false;
      if (opt.CsvFile.empty()) {
        error = "--csv needs a file name";
        return false;
      }
    } else if (arg == "--csv-every") {
      std::string n;
      if (!value(n)) return false;
      if (!ParseInt(n, opt.CsvEvery) || opt.CsvEvery < 1) {
        error = "--csv-every needs a whole number of ticks above 0: " + n;
        return false;
      }
      opt.CsvEveryGiven = true;
    } else if (arg == "--load") {
      if (!opt.SceneFile.empty()) {
        error = "--load may be given once";
        return false;
      }
      if (!value(opt.SceneFile)) return false;
      if (opt.SceneFile.empty()) {
        error = "--load needs a file name";
        return false;
      }
    } else if (arg == "--state" || arg == "--screenshot" || arg == "--record") {
      std::string& file = arg == "--state"        ? opt.StateFile
                          : arg == "--screenshot" ? opt.ScreenshotFile
                                                  : opt.Capture.File;
      if (!value(file)) return false;
      if (file.empty()) {
        error = arg + " needs a file name";
        return false;
      }
    } else if (arg == "--fps") {
      long long fps = 0;
      if (!value(opt.Capture.Fps)) return false;
      if (!ParseInt(opt.Capture.Fps, fps) || fps < 1 ||
          fps > std::numeric_limits<std::int32_t>::max()) {
        error = "--fps needs a whole number of frames per second above 0: " + opt.Capture.Fps;
        return false;
      }
      opt.CaptureSettingsGiven = true;
    } else if (arg == "--duration") {
      double seconds = 0;
      if (!value(opt.Capture.Duration)) return false;
      if (!ParseSeconds(opt.Capture.Duration, seconds) || seconds < 0) {
        error = "--duration needs seconds of simulated time, 0 or more: " + opt.Capture.Duration;
        return false;
      }
      opt.CaptureSettingsGiven = true;
    } else if (arg == "--codec") {
      std::string codec;
      if (!value(codec)) return false;
      if (codec != "raw" && codec != "mjpeg") {
        error = "--codec needs raw or mjpeg: " + codec;
        return false;
      }
      opt.Capture.Codec = codec == "mjpeg" ? 1 : 0;
      opt.CaptureSettingsGiven = true;
    } else if (arg == "--size") {
      std::string size;
      if (!value(size)) return false;
      const auto x = size.find('x');
      long long w = 0, h = 0;
      if (x == std::string::npos || !ParseInt(size.substr(0, x), w) ||
          !ParseInt(size.substr(x + 1), h) || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        error = "--size needs WIDTHxHEIGHT between 1 and " + std::to_string(kMaxSide) + ": " + size;
        return false;
      }
      opt.Width = static_cast<int>(w);
      opt.Height = static_cast<int>(h);
    } else {
      error = "unknown argument: " + arg + " (kinemo --help lists them)";
      return false;
    }
  }
  if (opt.CaptureSettingsGiven && opt.Capture.File.empty()) {
    error = "--fps, --duration and --codec need --record";
    return false;
  }
  if (opt.CsvEveryGiven && opt.CsvFile.empty()) {
    error = "--csv-every needs --csv";
    return false;
  }
  if (!opt.Devices.empty() && !opt.SceneFile.empty()) {
    error = "--devices and --load both give the device set: a scene holds its own";
    return false;
  }
  // Checked before the recording makes its file.
  constexpr int kMin = CAVIGenerator::kMinFrameSide;
  if (!opt.Capture.File.empty() && (opt.Width < kMin || opt.Height < kMin)) {
    error = "--record needs a --size of at least " + std::to_string(kMin) + "x" +
            std::to_string(kMin) +
            " (frames are multiples of 4 pixels): " + std::to_string(opt.Width) + "x" +
            std::to_string(opt.Height);
    return false;
  }
  return CheckFileClashes(opt, error);
}

// The device set --devices asks for (the program's own without it).
bool MakeDeviceSet(const TOptions& opt, TGL_Form& form, std::string& error) {
  if (opt.Devices.empty()) return true;
  if (const TSetProblem problem = form.SetDevices(opt.Devices)) {
    error = "--devices: " + problem.English();
    return false;
  }
  return true;
}

// The actions, checked against the device set they will act on.
bool ParseActions(const TGL_Form& form, TOptions& opt, std::string& error) {
  for (const std::string& word : opt.ActionWords) {
    TAction a;
    if (!ParseAction(word, form, a, error)) return false;
    opt.Actions.push_back(std::move(a));
  }
  return true;
}

// Complete, or not written at all: an earlier file of that name stays.
bool WriteFile(const std::string& path, const std::string& content, std::string& error) {
  const int err = WriteFileSafely(path, content);
  if (err != 0) error = "cannot write " + path + ": " + std::strerror(err);
  return err == 0;
}

} // namespace

bool CheckHeadlessArgs(const std::vector<std::string>& args, std::string& error) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  TOptions opt;
  return ParseArgs(args, opt, error) && MakeDeviceSet(opt, form, error) &&
         ParseActions(form, opt, error);
}

namespace {

// The OpenGL driver's compiler (C++ inside a C library) may run out of memory
// where no handler can catch it: the process is then ended by std::terminate.
// It still says why, with the view's size, rather than abort without a word.
std::string memory_note;

[[noreturn]] void OnTerminate() {
  try {
    if (const std::exception_ptr e = std::current_exception()) std::rethrow_exception(e);
  } catch (const std::bad_alloc&) {
    const std::string text = "kinemo: out of memory" + memory_note + "\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
    ::_exit(1);
  } catch (...) {
  }
  std::abort();
}

// The "name  t=...  timer ...  selected N" line of an action (or the load).
void ReportLine(std::ostream& out, const std::string& name, const TGL_Form& form) {
  char line[160];
  std::snprintf(line, sizeof line, "%-16s t=%.6g s  timer %s  selected %d\n", name.c_str(),
                form.Sim.SimTime, form.Timer1.Enabled ? "running" : "paused", form.Sim.RobSel);
  out << line;
}

int Run(const std::vector<std::string>& args, const std::string& data_folder, std::ostream& out,
        std::ostream& err, TDrawFrames draw, bool err_terminal) {
  THeadlessToolkit tk;
  TEglContext gl; // outlives the form, which releases its resources in it
  // The window before its context: the actions are checked against it (its
  // device set), and nothing runs or is drawn until they all pass.
  TGL_Form form(tk);
  form.UseDataFolder(data_folder);
  TOptions opt;
  std::string error;
  if (!ParseArgs(args, opt, error) || !MakeDeviceSet(opt, form, error)) {
    err << "kinemo: " << error << "\n";
    return 2;
  }
  memory_note = " (OpenGL view of " + std::to_string(opt.Width) + "x" + std::to_string(opt.Height) +
                " pixels)";
  // --quiet: nothing on standard output but what an output file sends there.
  std::ostringstream unheard;
  std::ostream& report = opt.Quiet ? unheard : out;
  tk.Echo = opt.Quiet ? nullptr : &out;
  // A data log that cannot be written is an output that failed: its message
  // goes to the error stream, once, and the run ends there.
  bool log_reported = false;
  tk.DivertMessage = [&form, &err, &log_reported](const std::string& text) {
    if (!form.LogFailed || log_reported) return false;
    log_reported = true;
    err << "kinemo: " << text << "\n";
    return true;
  };

  // The scene first, as the window opens one: a bad file ends the run before
  // anything is drawn or written.
  if (!opt.SceneFile.empty()) {
    tk.Echo = nullptr; // its message goes to the error stream
    const bool opened = form.OpenScene(opt.SceneFile);
    tk.Echo = opt.Quiet ? nullptr : &out;
    if (!opened) {
      err << "kinemo: " << tk.Messages.back().Text << "\n";
      return 2;
    }
  }
  // Nothing has run yet: the actions are checked against the set they act on.
  if (!ParseActions(form, opt, error)) {
    err << "kinemo: " << error << "\n";
    return 2;
  }
  if (!opt.SceneFile.empty()) ReportLine(report, "load", form);

  const bool record = !opt.Capture.File.empty();
  const bool screenshot = !opt.ScreenshotFile.empty();
  // A tick makes one frame at most: a higher rate would shorten the video.
  // Checked once the scene set the step, before any file is made.
  if (record) {
    long long fps = 0;
    ParseInt(opt.Capture.Fps, fps);
    if (const std::int32_t most = MaxFrameRate(form.Sim.Dt); fps > most) {
      err << "kinemo: --fps " << fps << " is more than the step of " << form.Sim.Dt
          << " s feeds (one frame a tick): at most " << most << " frames per second\n";
      return 2;
    }
  }
  // Drawing is what makes a long run slow: without an output that needs
  // pixels there is no context at all.
  std::string gl_error = "not needed";
  const bool have_gl = (record || screenshot || draw == TDrawFrames::Every) &&
                       gl.Create(opt.Width, opt.Height, gl_error);
  if ((record || screenshot) && gl.OutOfMemory()) {
    err << "kinemo: " << gl_error << "\n";
    return 1;
  }
  if (record && !have_gl) {
    err << "kinemo: --record needs an OpenGL context (" << gl_error << ")\n";
    return 3;
  }
  // Each frame drawn is finished: the software renderer would otherwise keep
  // queuing frames that are never presented, and memory would grow with the run.
  if (have_gl) tk.OnSwapBuffers = [&gl] { gl.Finish(); };
  form.DeferTickFrames = draw == TDrawFrames::Needed;
  // As the window opens: resources in the new context, then the resize to the
  // client size that draws the first frame. Without a context the frame is
  // still counted, so the state dump is the same either way.
  if (have_gl) form.InitGL(opt.Width, opt.Height);
  form.FormResize(opt.Width, opt.Height);

  // As if chosen from the menu before anything else.
  if (record) {
    StartRecording(form, tk, opt.Capture);
    if (!form.Recording) {
      err << "kinemo: the recording to " << opt.Capture.File << " could not start"
          << (tk.Messages.empty() ? std::string() : ": " + tk.Messages.back().Text) << "\n";
      form.FormClose();
      return 1;
    }
  }

  // Rows from the first tick of the actions; a file that cannot even be
  // started stops the run before anything happens.
  TCsvRecorder csv;
  if (!opt.CsvFile.empty()) {
    if (!csv.Open(opt.CsvFile, static_cast<std::uint64_t>(opt.CsvEvery), error)) {
      err << "kinemo: " << error << "\n";
      if (form.Recording) form.EndRecording();
      form.FormClose();
      return 1;
    }
    form.Sim.TickObservers.push_back(&csv);
  }

  TProgressLine::TMode mode = TProgressLine::TMode::Off;
  if (err_terminal && (opt.Progress || !opt.Quiet)) mode = TProgressLine::TMode::Terminal;
  if (!err_terminal && opt.Progress) mode = TProgressLine::TMode::Lines;
  winsize size{};
  const int columns =
      err_terminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
  TProgressLine progress(err, mode, form, columns);

  long long ticks_run = 0;
  for (const TAction& a : opt.Actions) {
    if (TStopSignals::Received() != 0) break;
    const long long ticks = RunningTicks(form, a);
    if (ticks > kMaxRunningTicks - ticks_run) {
      err << "kinemo: " << a.Text << ": a run delivers at most " << kMaxRunningTicks
          << " ticks while the timer runs\n";
      form.FormClose();
      return 2;
    }
    ticks_run += ticks;
    // Only ticks defer their frames, and nothing changes between a tick's frame
    // and the next action: drawn now, it is the frame the tick would have drawn.
    if (screenshot) form.DrawPendingFrame();
    progress.Begin(a.Text, ticks);
    ApplyAction(form, tk, a, record ? &opt.Capture : nullptr, &progress);
    progress.End(TStopSignals::Received() != 0);
    ReportLine(report, a.Text, form);
    // menu:Quitter closes the window: no later event reaches it.
    if (tk.CloseRequested || form.LogFailed) break;
  }

  const int signal = TStopSignals::Received();
  if (signal != 0 || form.LogFailed) {
    // The run did not reach its end: no state or picture of it. What was
    // being written is completed: the recording here, the data log (whole
    // lines, flushed at each) when the window goes on return.
    const bool recording = form.Recording;
    if (recording) form.EndRecording();
    if (signal != 0) {
      err << "kinemo: stopped by " << TStopSignals::Name(signal) << " at t=" << form.Sim.SimTime
          << " s";
      if (recording && form.CaptureResult >= 0)
        err << "; " << form.AviGen.FrameIndex << " frames recorded to " << form.AviGen.FileName;
      err << "\n";
    }
    if (form.CaptureResult < 0)
      err << "kinemo: the recording to " << form.AviGen.FileName
          << " failed: " << form.AviGen.ErrorText << "\n";
    form.FormClose();
    return signal != 0 ? TStopSignals::ExitCode(signal) : 1;
  }

  for (const TRobot* r : form.Sim.Robots) {
    char line[160];
    std::snprintf(line, sizeof line, "  %d %-12s x=%+.4f y=%+.4f theta=%+.4f\n", r->Index,
                  r->ClassName(), r->PosX, r->PosY, r->Theta);
    report << line;
  }

  int code = 0;
  if (!opt.CsvFile.empty() && !csv.Finish(form.Sim, error)) {
    err << "kinemo: " << error << "\n";
    code = 1;
  }
  if (!opt.StateFile.empty() && !WriteFile(opt.StateFile, StateJson(form), error)) {
    err << "kinemo: " << error << "\n";
    code = 1;
  }
  if (screenshot) {
    form.DrawPendingFrame();
    if (!have_gl) {
      err << "kinemo: --screenshot needs an OpenGL context (" << gl_error << ")\n";
      code = 3;
    } else if (!WritePng(opt.ScreenshotFile, gl.Width(), gl.Height(), gl.ReadPixelsTopDown(),
                         error)) {
      err << "kinemo: " << error << "\n";
      code = 1;
    }
  }
  // The file is completed even when its duration has not elapsed.
  if (form.Recording) form.EndRecording();
  if (form.CaptureResult < 0) {
    err << "kinemo: the recording to " << form.AviGen.FileName
        << " failed: " << form.AviGen.ErrorText << "\n";
    code = 1;
  } else if (record) {
    report << "recorded " << form.AviGen.FrameIndex << " frames to " << form.AviGen.FileName
           << "\n";
  }
  form.FormClose();
  // A stop that came while the outputs were written (one waiting on a reader
  // among them) still ends the run with its code.
  if (const int late = TStopSignals::Received(); late != 0) {
    err << "kinemo: stopped by " << TStopSignals::Name(late) << " while writing the outputs\n";
    return TStopSignals::ExitCode(late);
  }
  return code;
}

} // namespace

std::string UsageText() {
  std::string text = "Usage: kinemo [SCENE.json] [--devices CLASS,...]   the window\n"
                     "       kinemo --headless --do \"ACTIONS\" [OPTION...]   without a display\n"
                     "An interactive 3D simulator of small robots and linear motors.\n\nOptions:\n";
  for (const TOptionHelp& o : kOptionHelp) {
    std::string name = std::string(o.Name) + (*o.Value ? " " : "") + o.Value;
    name.resize(std::max<std::size_t>(name.size() + 1, 26), ' ');
    text += "  " + name + o.Help + "\n";
  }
  text += "\nActions of --do:\n" + ActionsHelp();
  text += "\nExit codes: 0 done, 1 an output could not be written, 2 invalid arguments or a "
          "refused scene,\n3 no OpenGL context for an output that needs pixels, 129, 130, 143 "
          "stopped by a signal.\n";
  return text;
}

std::string VersionText() {
  return "kinemo " KINEMO_VERSION "\n";
}

std::vector<std::string> OptionSamples() {
  std::vector<std::string> samples;
  for (const TOptionHelp& o : kOptionHelp)
    samples.push_back(std::string(o.Name) + (*o.Sample ? " " : "") + o.Sample);
  return samples;
}

int RunHeadless(const std::vector<std::string>& args, const std::string& data_folder,
                std::ostream& out, std::ostream& err, TDrawFrames draw, bool err_terminal) {
  for (const std::string& a : args)
    if (a == "--help" || a == "--version") {
      out << (a == "--help" ? UsageText() : VersionText());
      out.flush();
      return 0;
    }
  // SIGINT, SIGTERM, SIGHUP: the run ends with its files complete. SIGPIPE and
  // SIGXFSZ are ignored meanwhile: the write fails and says why.
  TStopSignals stop;
  memory_note.clear();
  const std::terminate_handler earlier = std::set_terminate(OnTerminate);
  int code = 1;
  try {
    code = Run(args, data_folder, out, err, draw, err_terminal);
  } catch (const std::bad_alloc&) {
    // Every file being written was dropped or completed on the way out.
    err << "kinemo: out of memory" << memory_note << "\n";
  }
  std::set_terminate(earlier);
  // While the signals are still handled: a reader gone makes this fail, not
  // kill the process.
  out.flush();
  err.flush();
  return code;
}
