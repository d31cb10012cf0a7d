#include "platform/headless/runner.h"

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>

#include "app/csv_export.h"
#include "app/gl_form.h"
#include "io/safe_output.h"
#include "io/stop_signals.h"
#include "platform/headless/actions.h"
#include "platform/headless/egl_context.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/image_files.h"
#include "sim/state_json.h"

namespace {

struct TOptions {
  std::vector<TAction> Actions;
  std::string StateFile;
  std::string SceneFile; // --load
  std::string ScreenshotFile;
  std::string CsvFile;
  long long CsvEvery = 1;
  bool CsvEveryGiven = false;
  TCaptureAnswer Capture; // Capture.File empty: no --record
  bool CaptureSettingsGiven = false;
  int Width = 1280;
  int Height = 720;
};

constexpr long long kMaxSide = 16384;

bool ParseSeconds(const std::string& s, double& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size() && std::isfinite(v);
}

bool ParseArgs(const std::vector<std::string>& args, const TGL_Form& form, TOptions& opt,
               std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "--headless") continue;
    if (arg == "--do") {
      std::string list;
      if (!value(list)) return false;
      std::istringstream in(list);
      std::string word;
      while (in >> word) {
        TAction a;
        if (!ParseAction(word, form, a, error)) return false;
        opt.Actions.push_back(std::move(a));
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
      error = "unknown argument: " + arg;
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
  // Checked before the recording makes its file.
  constexpr int kMin = CAVIGenerator::kMinFrameSide;
  if (!opt.Capture.File.empty() && (opt.Width < kMin || opt.Height < kMin)) {
    error = "--record needs a --size of at least " + std::to_string(kMin) + "x" +
            std::to_string(kMin) +
            " (frames are multiples of 4 pixels): " + std::to_string(opt.Width) + "x" +
            std::to_string(opt.Height);
    return false;
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
  return ParseArgs(args, form, opt, error);
}

int RunHeadless(const std::vector<std::string>& args, const std::string& data_folder,
                std::ostream& out, std::ostream& err, TDrawFrames draw) {
  TStopSignals stop; // SIGINT, SIGTERM: the run ends with its files complete
  THeadlessToolkit tk;
  tk.Echo = &out;
  TEglContext gl; // outlives the form, which releases its resources in it
  // The window before its context: the actions are checked against it (its
  // device set), and nothing runs or is drawn until they all pass.
  TGL_Form form(tk);
  form.UseDataFolder(data_folder);
  TOptions opt;
  std::string error;
  if (!ParseArgs(args, form, opt, error)) {
    err << "kinemo: " << error << "\n";
    return 2;
  }

  // The scene first, as the window opens one: a bad file ends the run before
  // anything is drawn or written.
  if (!opt.SceneFile.empty()) {
    tk.Echo = nullptr; // its message goes to the error stream
    const bool opened = form.OpenScene(opt.SceneFile);
    tk.Echo = &out;
    if (!opened) {
      err << "kinemo: " << tk.Messages.back().Text << "\n";
      return 2;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%-16s t=%.6g s  timer %s  selected %d\n", "load",
                  form.Sim.SimTime, form.Timer1.Enabled ? "running" : "paused", form.Sim.RobSel);
    out << line;
  }

  const bool record = !opt.Capture.File.empty();
  const bool screenshot = !opt.ScreenshotFile.empty();
  // Drawing is what makes a long run slow: without an output that needs
  // pixels there is no context at all.
  std::string gl_error = "not needed";
  const bool have_gl = (record || screenshot || draw == TDrawFrames::Every) &&
                       gl.Create(opt.Width, opt.Height, gl_error);
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
    ApplyAction(form, tk, a, record ? &opt.Capture : nullptr);
    char line[160];
    std::snprintf(line, sizeof line, "%-16s t=%.6g s  timer %s  selected %d\n", a.Text.c_str(),
                  form.Sim.SimTime, form.Timer1.Enabled ? "running" : "paused", form.Sim.RobSel);
    out << line;
    // menu:Quitter closes the window: no later event reaches it.
    if (tk.CloseRequested) break;
  }

  if (const int signal = TStopSignals::Received(); signal != 0) {
    // The run did not reach its end: no state or picture of it. What was
    // being written is completed: the recording here, the data log (whole
    // lines, flushed at each) when the window goes on return.
    const bool recording = form.Recording;
    if (recording) form.EndRecording();
    err << "kinemo: stopped by " << (signal == SIGINT ? "SIGINT" : "SIGTERM")
        << " at t=" << form.Sim.SimTime << " s";
    if (recording && form.CaptureResult >= 0)
      err << "; " << form.AviGen.FrameIndex << " frames recorded to " << form.AviGen.FileName;
    err << "\n";
    if (form.CaptureResult < 0)
      err << "kinemo: the recording to " << form.AviGen.FileName
          << " failed: " << form.AviGen.ErrorText << "\n";
    form.FormClose();
    return TStopSignals::ExitCode(signal);
  }

  for (const TRobot* r : form.Sim.Robots) {
    char line[160];
    std::snprintf(line, sizeof line, "  %d %-12s x=%+.4f y=%+.4f theta=%+.4f\n", r->Index,
                  r->ClassName(), r->PosX, r->PosY, r->Theta);
    out << line;
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
    out << "recorded " << form.AviGen.FrameIndex << " frames to " << form.AviGen.FileName << "\n";
  }
  form.FormClose();
  return code;
}
