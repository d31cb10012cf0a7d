// The run data log of the switched-reluctance motor: "capture.dat", one line of
// nine fixed-width columns per tick while that carriage is selected.
#include <locale>

#include "app/gl_form.h"
#include "models/linear/mrvlin.h"

namespace {

constexpr const char* kLogFile = "capture.dat";
constexpr const char* kSeparator = "  ";

template <class T> void Column(std::ostream& out, const T& value) {
  out.width(16);
  out << value << kSeparator;
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
  Log.open(kLogFile, std::ios::out | std::ios::trunc);
  if (!Log) {
    Log.close();
    Log.clear();
    toolkit_.MessageBox("capture.dat impossible à ouvrir", "Erreur d'écriture", TMsgIcon::Error);
    LogOn = false;
    return false;
  }
  // A data file: '.' as the decimal point whatever the user's locale.
  Log.imbue(std::locale::classic());
  Log.setf(std::ios::left, std::ios::adjustfield);
  Log.precision(8);
  for (const char* name : {"t", "Fx", "Fy", "Fz", "PosX", "VitX", "xalim", "dx", "dxregard"})
    Column(Log, name);
  Log << "\n";
  CheckLogWritten();
  return LogOn;
}

void TGL_Form::WriteLogLine() {
  if (!Log.is_open()) return;
  const TMRVlin& m = *MrvPtr;
  Column(Log, SimTime);
  Column(Log, m.Fx);
  Column(Log, m.Fy);
  Column(Log, m.Fz);
  Column(Log, m.PosX);
  Column(Log, m.VitX);
  Column(Log, m.Phase);
  Column(Log, m.Dx);
  Column(Log, m.OverlapX);
  Log << "\n";
  CheckLogWritten();
}

// A failed write (full disk) closes the log and says so, rather than leaving a
// log that silently stops growing.
void TGL_Form::CheckLogWritten() {
  if (Log.flush()) return;
  Log.close();
  Log.clear();
  LogOn = false;
  toolkit_.MessageBox("Erreur d'écriture dans capture.dat : le journal est fermé",
                      "Erreur d'écriture", TMsgIcon::Error);
}
