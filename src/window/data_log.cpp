// The run data log of the switched-reluctance motor: "capture.dat", one line of
// nine fixed-width columns per tick while that carriage is selected.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <locale>
#include <sstream>

#include "models/linear/mrvlin.h"
#include "sim/scene.h"
#include "window/gl_form.h"

namespace {

constexpr const char* kLogFile = "capture.dat";
constexpr const char* kSeparator = "  ";

template <class T> void Column(std::ostream& out, const T& value) {
  out.width(16);
  out << value << kSeparator;
}

// Only a regular file can hold the log: opening a FIFO would wait for a reader
// and freeze the window, and a pipe or a device cannot be cut back to whole
// lines. Looked at without blocking.
bool RegularLogFile() {
  const int fd = ::open(kLogFile, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

} // namespace

bool TGL_Form::ToggleLog() {
  LogOn = !LogOn;
  if (!LogOn) {
    Log.close();
    Log.clear();
    return true;
  }
  Log.clear();
  if (RegularLogFile()) Log.open(kLogFile, std::ios::out | std::ios::trunc);
  if (!Log.is_open() || !Log) {
    Log.close();
    Log.clear();
    LogOn = false;
    LogFailed = true;
    toolkit_.MessageBox("capture.dat impossible à ouvrir", "Erreur d'écriture", TMsgIcon::Error);
    return false;
  }
  LogFailed = false;
  log_whole_bytes_ = 0;
  // A data file: '.' as the decimal point whatever the user's locale.
  Log.imbue(std::locale::classic());
  Log.setf(std::ios::left, std::ios::adjustfield);
  Log.precision(8);
  std::ostringstream header;
  header.copyfmt(Log);
  for (const char* name : {"t", "Fx", "Fy", "Fz", "PosX", "VitX", "xalim", "dx", "dxregard"})
    Column(header, name);
  header << "\n";
  WriteLogRecord(header.str());
  return LogOn;
}

void TGL_Form::WriteLogLine() {
  if (!Log.is_open()) return;
  const TMRVlin& m = *Sim.MrvPtr;
  std::ostringstream line;
  line.copyfmt(Log);
  Column(line, Sim.SimTime);
  Column(line, m.Fx);
  Column(line, m.Fy);
  Column(line, m.Fz);
  Column(line, m.PosX);
  Column(line, m.VitX);
  Column(line, m.Phase);
  Column(line, m.Dx);
  Column(line, m.OverlapX);
  line << "\n";
  WriteLogRecord(line.str());
}

// Each line goes out whole, so that a failed write (full disk) can be undone
// to the last whole line rather than leave a line cut mid-field; the log is
// then closed with a message rather than silently stop growing.
void TGL_Form::WriteLogRecord(const std::string& line) {
  errno = 0;
  if (Log.write(line.data(), static_cast<std::streamsize>(line.size())) && Log.flush()) {
    log_whole_bytes_ += line.size();
    return;
  }
  const int error = errno;
  Log.close();
  Log.clear();
  LogOn = false;
  LogFailed = true;
  std::error_code ignored;
  std::filesystem::resize_file(kLogFile, log_whole_bytes_, ignored);
  toolkit_.MessageBox("Erreur d'écriture dans capture.dat : le journal est fermé" +
                          (error != 0 ? " (" + FileErrorText(error) + ")" : std::string()),
                      "Erreur d'écriture", TMsgIcon::Error);
}
