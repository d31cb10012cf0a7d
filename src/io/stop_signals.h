// SIGINT and SIGTERM (Ctrl+C in a terminal, a session that ends) as requests
// to stop: while a TStopSignals lives, the handler only notes the signal and
// wakes a pipe. The program looks at Received() between its steps, or waits
// on Fd() in its event loop, then completes its files and exits with the
// conventional 128 + the signal's number. Nothing else runs in the handler.
#pragma once

class TStopSignals {
public:
  TStopSignals();  // installs the handlers
  ~TStopSignals(); // puts back the earlier ones
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // 0, or the first stop signal received while a TStopSignals lives.
  static int Received();
  // Readable once a stop signal has come; -1 when no pipe could be made.
  static int Fd();
  // 128 + the signal, the exit code a shell shows for it.
  static int ExitCode(int signal) { return 128 + signal; }
};
