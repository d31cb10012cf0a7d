// SIGINT, SIGTERM and SIGHUP (Ctrl+C in a terminal, a session that ends, a
// closed terminal) as requests to stop: while a TStopSignals lives, the handler
// only notes the signal and wakes a pipe. The program looks at Received()
// between its steps, or waits on Fd() in its event loop, then completes its
// files and exits with the conventional 128 + the signal's number. Nothing
// else runs in the handler.
//
// SIGPIPE and SIGXFSZ are ignored meanwhile: a reader that went away or a file
// size limit then fails the write with its error (EPIPE, EFBIG), which the
// writer reports, instead of killing the process with its temporary files left.
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
  // "SIGINT", "SIGTERM" or "SIGHUP".
  static const char* Name(int signal);
};

// Waits until `fd` (a pipe, a terminal, a socket) takes more bytes. A stop
// signal ends the wait: false, with errno EINTR, when one has come and the
// reader still takes nothing. A stopped run thus never hangs on a reader that
// stopped reading.
bool WaitWritable(int fd);
