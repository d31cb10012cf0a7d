#include "io/stop_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace {

volatile std::sig_atomic_t received = 0;
int wake[2] = {-1, -1};
constexpr int kStops[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kIgnored[] = {SIGPIPE, SIGXFSZ};
struct sigaction earlier_stops[std::size(kStops)];
struct sigaction earlier_ignored[std::size(kIgnored)];

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
  for (std::size_t i = 0; i < std::size(kStops); ++i)
    ::sigaction(kStops[i], &action, &earlier_stops[i]);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  for (std::size_t i = 0; i < std::size(kIgnored); ++i)
    ::sigaction(kIgnored[i], &ignore, &earlier_ignored[i]);
}

TStopSignals::~TStopSignals() {
  for (std::size_t i = 0; i < std::size(kStops); ++i)
    ::sigaction(kStops[i], &earlier_stops[i], nullptr);
  for (std::size_t i = 0; i < std::size(kIgnored); ++i)
    ::sigaction(kIgnored[i], &earlier_ignored[i], nullptr);
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

const char* TStopSignals::Name(int signal) {
  switch (signal) {
  case SIGINT:
    return "SIGINT";
  case SIGTERM:
    return "SIGTERM";
  case SIGHUP:
    return "SIGHUP";
  default:
    return "a signal";
  }
}

bool WaitWritable(int fd) {
  while (true) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {wake[0], POLLIN, 0}};
    // Once a stop has come the pipe stays readable (the window's loop may
    // have drained it, hence the flag): only a look at the reader, no wait.
    const bool stopping = received != 0;
    const int n = ::poll(fds, wake[0] >= 0 && !stopping ? 2 : 1, stopping ? 0 : -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    // An error or a hang-up shows in the write that follows.
    if (fds[0].revents != 0) return true;
    if (received != 0) {
      errno = EINTR;
      return false;
    }
  }
}
