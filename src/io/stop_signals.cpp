#include "io/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

volatile std::sig_atomic_t received = 0;
int wake[2] = {-1, -1};
struct sigaction earlier[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

// Async-signal-safe only: a flag and a write.
void OnStop(int signal) {
  const int saved = errno;
  if (received == 0) received = signal;
  if (wake[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake[1], &byte, 1);
  }
  errno = saved;
}

} // namespace

TStopSignals::TStopSignals() {
  received = 0;
  if (wake[0] < 0 && ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) wake[0] = wake[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  // Interrupted writes go on: a file is never left half-written by the signal.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 2; ++i)
    ::sigaction(kSignals[i], &action, &earlier[i]);
}

TStopSignals::~TStopSignals() {
  for (int i = 0; i < 2; ++i)
    ::sigaction(kSignals[i], &earlier[i], nullptr);
  // The request was this run's; a later run in the process starts afresh.
  received = 0;
  for (int& fd : wake) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

int TStopSignals::Received() {
  return received;
}

int TStopSignals::Fd() {
  return wake[0];
}
