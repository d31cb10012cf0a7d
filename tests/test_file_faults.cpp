// Every file the program writes, against every way the file system can refuse
// it: a full disk, /dev/full, a folder that may not be written, a folder or a
// FIFO under the name, links, an earlier file the user may not write, and
// names with unusual characters. A failure says so
// (a message in the window; exit code 1 and a line on the command line),
// never hangs, and leaves an earlier file of that name as it was; an unusual
// name is written under exactly that name.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <set>
#include <sstream>

#include "files/csv_export.h"
#include "models/key_codes.h"
#include "platform/headless/egl_context.h"
#include "platform/headless/runner.h"
#include "sim/scene.h"
#include "sim/scope_history.h"
#include "test_support.h"
#include "unavailable.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

constexpr int kWidth = 96, kHeight = 64;
constexpr rlim_t kFullDiskBytes = 512; // less than any output's file
const std::string kEarlier = "earlier\n";

struct TOutcome {
  bool Ok = false;
  std::string Message; // the window's last message, or the command line's errors
  bool NoGl = false;   // no OpenGL context could be had
};

TOutcome Headless(std::vector<std::string> args) {
  args.insert(args.begin(),
              {"--headless", "--size", std::to_string(kWidth) + "x" + std::to_string(kHeight)});
  std::ostringstream out, err;
  const int code = RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, err);
  return {code == 0, err.str(), code == 3};
}

// The window with an OpenGL view, as for a recording or a picture.
struct TGlWindow : TFormFixture {
  TEglContext gl;
  bool Ready = false;
  TGlWindow() {
    std::string error;
    Ready = gl.Create(kWidth, kHeight, error);
    if (Ready) form->InitGL(kWidth, kHeight);
    form->FormResize(kWidth, kHeight);
  }
  ~TGlWindow() {
    if (Ready) form->FormClose();
  }
};

TOutcome WindowResult(const TFormFixture& w, bool ok) {
  return {ok && w.tk.Messages.empty(), w.tk.Messages.empty() ? "" : w.tk.Messages.back().Text};
}

// The data log: always "capture.dat" in the working folder, which `path`
// names through its folder.
TOutcome DataLog(const std::string& path) {
  const fs::path old = fs::current_path();
  fs::current_path(fs::path(path).parent_path());
  TFormFixture w;
  w.form->SelectDevice(6);
  w.Key(vk::Letter('C'));
  const bool opened = w.form->LogOn;
  w.Ticks(5);
  const bool stayed = w.form->LogOn;
  if (stayed) w.Key(vk::Letter('C'));
  fs::current_path(old);
  return WindowResult(w, opened && stayed);
}

// The same through the command line, where a failure ends the run.
TOutcome HeadlessLog(const std::string& path) {
  const fs::path old = fs::current_path();
  fs::current_path(fs::path(path).parent_path());
  TOutcome r = Headless({"--do", "combo:6 menu:Animate key:C ticks:5 key:C"});
  fs::current_path(old);
  return r;
}

TOutcome WindowRecording(const std::string& path) {
  TGlWindow w;
  if (!w.Ready) return {false, "", true};
  w.tk.AnswerDialog = [&w, path](TDialogId id) {
    if (id == TDialogId::Capture) w.form->DialogCapture = {path, "100", "0.3"};
    return TModalResult::OK;
  };
  w.tk.AnswerQuestion = [](const std::string&) { return true; };
  w.form->EnregistreAVI1Click();
  const bool started = w.form->Recording;
  for (int k = 0; k < 40 && w.form->Recording; ++k)
    w.form->Timer1Timer();
  w.form->EndRecording();
  return WindowResult(w, started && w.form->CaptureResult >= 0);
}

TOutcome WindowScene(const std::string& path) {
  TFormFixture w;
  return WindowResult(w, w.form->SaveScene(path));
}

// The scope's export, as its dock calls it (the dock words the message).
TOutcome ScopeCsv(const std::string& path) {
  TFormFixture w;
  TScopeHistory history(w.form->Sim);
  w.form->Sim.TickObservers.push_back(&history);
  w.Ticks(50);
  const int e = WriteHistoryCsv(history, {history.Find(8, "PosX")}, path);
  return {e == 0, e == 0 ? "" : FileErrorText(e)};
}

enum class TFault {
  FullDisk,
  DevFull,
  ReadOnly,
  Folder,
  Fifo,
  Name,
  LinkToNoFile,     // a symbolic link to a file not made yet: written through
  LinkNowhere,      // a link into a folder that is not there
  ReadOnlyFile,     // an earlier file the user may not write (0444)
  OthersSharedFile, // an earlier file of another user in a shared (sticky) folder
};

// Faults seen before anything is written: the output must not even start.
bool AtOpen(TFault f) {
  return f != TFault::FullDisk && f != TFault::DevFull;
}

struct TOutput {
  const char* Name;
  const char* Extension; // of the names tried
  TOutcome (*Write)(const std::string& path);
  // How a failure message begins, for a file named `path`.
  std::string (*Says)(const std::string& path, TFault fault);
  bool FixedName = false; // the data log: unusual names go to its folder
};

std::string CannotWrite(const std::string& path, TFault) {
  return "kinemo: cannot write " + path + ": ";
}

std::string Nothing(const std::string&, TFault) {
  return {};
}

const TOutput kOutputs[] = {
    {"capture.dat", "", DataLog,
     [](const std::string&, TFault f) {
       return std::string(f == TFault::FullDisk
                              ? "Erreur d'écriture dans capture.dat : le journal est fermé"
                              : "capture.dat impossible à ouvrir");
     },
     true},
    {"capture.dat, key:C", "", HeadlessLog,
     [](const std::string&, TFault f) {
       return std::string(f == TFault::FullDisk
                              ? "kinemo: Erreur d'écriture dans capture.dat : le journal est fermé"
                              : "kinemo: capture.dat impossible à ouvrir");
     },
     true},
    {"AVI, window", ".avi", WindowRecording,
     [](const std::string& p, TFault f) {
       return AtOpen(f) ? "AVI Engine failed to initialize. Check filename " + p + "."
                        : std::string("AVI ");
     }},
    {"AVI, --record", ".avi",
     [](const std::string& p) {
       return Headless({"--record", p, "--fps", "100", "--do", "menu:Animate ticks:40"});
     },
     [](const std::string& p, TFault f) {
       return "kinemo: the recording to " + p + (AtOpen(f) ? " could not start: AVI Engine" : "");
     }},
    {"PNG, --screenshot", ".png",
     [](const std::string& p) {
       return Headless({"--do", "ticks:2", "--screenshot", p});
     },
     CannotWrite},
    {"scene, window", ".json", WindowScene,
     [](const std::string& p, TFault) { return "Impossible d'enregistrer la scène " + p + " : "; }},
    {"scene, --state", ".json",
     [](const std::string& p) {
       return Headless({"--do", "ticks:2", "--state", p});
     },
     CannotWrite},
    {"CSV, --csv", ".csv",
     [](const std::string& p) {
       return Headless({"--do", "menu:Animate ticks:50", "--csv", p});
     },
     CannotWrite},
    {"CSV, scope", ".csv", ScopeCsv, Nothing},
};

// Root's power to override permissions (and a sticky folder's owners) set
// aside in this thread, which does the writing, while this lives.
class TNoOverride {
public:
  TNoOverride() {
    if (::geteuid() != 0) return;
    header_ = {_LINUX_CAPABILITY_VERSION_3, 0};
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      lowered[cap / 32].effective &= ~(1u << (cap % 32));
    lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~TNoOverride() {
    if (lowered_) ::syscall(SYS_capset, &header_, saved_);
  }
  TNoOverride(const TNoOverride&) = delete;
  TNoOverride& operator=(const TNoOverride&) = delete;

private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
};

// A folder nobody may write to, root included.
class TReadOnlyFolder {
public:
  explicit TReadOnlyFolder(const fs::path& folder) : folder_(folder) {
    ::chmod(folder.c_str(), 0555);
  }
  ~TReadOnlyFolder() { ::chmod(folder_.c_str(), 0755); }
  // Whether a file can still be made in it (then the test means nothing).
  bool Writable() const {
    const fs::path probe = folder_ / "probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
  }

private:
  fs::path folder_;
  TNoOverride no_override_;
};

struct TFaultCase {
  const char* Name;
  TFault Fault;
  std::string Stem = "out"; // for TFault::Name
  bool Fails = true;
};

const TFaultCase kFaults[] = {
    {"full disk", TFault::FullDisk},
    {"/dev/full", TFault::DevFull},
    {"read-only folder", TFault::ReadOnly},
    {"a folder has the name", TFault::Folder},
    {"a FIFO has the name", TFault::Fifo},
    {"spaces", TFault::Name, "a name  with spaces ", false},
    {"UTF-8", TFault::Name, "prise de vue é ß 日本 🙂", false},
    {"quotes", TFault::Name, "it's \"quoted\" `x` $HOME", false},
    {"leading dash", TFault::Name, "-o", false},
    {"too long", TFault::Name, std::string(300, 'n'), true},
    {"link to no file yet", TFault::LinkToNoFile, "out", false},
    {"link into no folder", TFault::LinkNowhere},
    {"read-only file", TFault::ReadOnlyFile},
    {"another user's file in a shared folder", TFault::OthersSharedFile},
};

// What a folder holds: names, and for each what it is and holds.
std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    std::string what = e.path().filename().string();
    if (e.is_symlink())
      what += " -> " + fs::read_symlink(e.path()).string();
    else if (e.is_fifo())
      what += " (fifo)";
    else if (e.is_directory())
      what += "/ " + std::to_string(Listing(e.path()).size());
    else
      what += " = " + ReadFile(e.path());
    names.insert(what);
  }
  return names;
}

void PrintTo(const TOutput& output, std::ostream* os) {
  *os << output.Name;
}

class FileFaults : public ::testing::TestWithParam<TOutput> {};

TEST_P(FileFaults, FailuresSaySoLeaveEarlierFilesAndUnusualNamesAreWrittenAsGiven) {
  const TOutput& output = GetParam();
  for (const TFaultCase& c : kFaults) {
    SCOPED_TRACE(std::string(output.Name) + " x " + c.Name);
    TScratchDir dir;
    const fs::path old = fs::current_path();
    fs::current_path(dir.Dir);
    // Relative names, as typed: a leading '-' must stay a name.
    fs::path folder = dir.Dir;
    std::string name = c.Stem + output.Extension;
    if (output.FixedName) {
      if (c.Fault == TFault::Name) {
        // The log's folder takes the unusual name instead.
        if (c.Fails) {
          fs::current_path(old);
          continue; // no such folder can be made
        }
        folder /= c.Stem;
        fs::create_directory(folder);
      }
      name = (folder / "capture.dat").string();
    }
    const bool keeps_earlier = !output.FixedName; // the log is emptied at each opening
    // Another user's file can be made by root only.
    if (c.Fault == TFault::OthersSharedFile && ::geteuid() != 0) {
      fs::current_path(old);
      continue;
    }
    switch (c.Fault) {
    case TFault::FullDisk:
    case TFault::ReadOnly:
      if (keeps_earlier) std::ofstream(name, std::ios::binary) << kEarlier;
      break;
    case TFault::DevFull:
      fs::create_symlink("/dev/full", name);
      break;
    case TFault::Folder:
      fs::create_directory(name);
      std::ofstream(fs::path(name) / "inside") << kEarlier;
      break;
    case TFault::Fifo:
      ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
      break;
    case TFault::Name:
      break;
    case TFault::LinkToNoFile:
      fs::create_symlink("target", name);
      break;
    case TFault::LinkNowhere:
      fs::create_symlink("missing/target", name);
      break;
    case TFault::ReadOnlyFile:
    case TFault::OthersSharedFile:
      std::ofstream(name, std::ios::binary) << kEarlier;
      if (c.Fault == TFault::ReadOnlyFile) {
        ::chmod(name.c_str(), 0444);
      } else {
        ASSERT_EQ(::chown(name.c_str(), 65534, 65534), 0);
        ::chmod(folder.c_str(), 01777);
      }
      break;
    }
    const std::set<std::string> before = Listing(folder);

    ::alarm(60); // a write that blocks ends the test run rather than hang it
    TOutcome r;
    if (c.Fault == TFault::FullDisk) {
      TFileSizeLimit full(kFullDiskBytes);
      r = output.Write(name);
    } else if (c.Fault == TFault::ReadOnly) {
      TReadOnlyFolder locked(folder);
      ASSERT_FALSE(locked.Writable()) << "the folder cannot be made read-only here";
      r = output.Write(name);
    } else if (c.Fault == TFault::ReadOnlyFile || c.Fault == TFault::OthersSharedFile) {
      TNoOverride as_a_user;
      r = output.Write(name);
    } else {
      r = output.Write(name);
    }
    ::alarm(0);
    fs::current_path(old);
    ::chmod(folder.c_str(), 0755);
    if (r.NoGl) SKIP_UNAVAILABLE("no OpenGL context: " + r.Message);

    if (c.Fails) {
      EXPECT_FALSE(r.Ok);
      EXPECT_FALSE(r.Message.empty());
      EXPECT_EQ(r.Message.rfind(output.Says(name, c.Fault), 0), 0u) << r.Message;
      EXPECT_LE(std::count(r.Message.begin(), r.Message.end(), '\n'), 1) << "said more than once";
      // The window speaks French: no system text left untranslated.
      EXPECT_EQ(r.Message.find("(errno"), std::string::npos) << r.Message;
      if (keeps_earlier || c.Fault != TFault::FullDisk) {
        EXPECT_EQ(Listing(folder), before) << "an earlier file changed, or one was left";
      }
    } else {
      EXPECT_TRUE(r.Ok) << r.Message;
      EXPECT_EQ(r.Message, "");
      const fs::path file = folder / (output.FixedName ? "capture.dat" : name);
      EXPECT_TRUE(fs::is_regular_file(file));
      EXPECT_GT(fs::file_size(file), 0u);
      // A link stays, its file beside it.
      const bool link = c.Fault == TFault::LinkToNoFile;
      EXPECT_EQ(fs::is_symlink(file), link);
      EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), link ? 2 : 1)
          << "a temporary file left";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(, FileFaults, ::testing::ValuesIn(kOutputs),
                         [](const ::testing::TestParamInfo<TOutput>& info) {
                           std::string n;
                           for (const char* p = info.param.Name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) n += *p;
                           return n;
                         });

} // namespace KINEMO_UNITY_ID
} // namespace
