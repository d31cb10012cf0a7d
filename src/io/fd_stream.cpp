#include "io/fd_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "io/stop_signals.h"

namespace {

constexpr std::size_t kBlock = 4096;

} // namespace

TFdStreamBuf::TFdStreamBuf(int fd, bool lines) : fd_(fd), lines_(lines) {}

TFdStreamBuf::~TFdStreamBuf() {
  Flush();
}

TFdStreamBuf::int_type TFdStreamBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  xsputn(&ch, 1);
  return c;
}

std::streamsize TFdStreamBuf::xsputn(const char* s, std::streamsize n) {
  // An ended output takes everything without a word: its writer goes on.
  if (ended_) return n;
  pending_.append(s, static_cast<std::size_t>(n));
  if (pending_.size() >= kBlock || (lines_ && std::find(s, s + n, '\n') != s + n)) Flush();
  return n;
}

int TFdStreamBuf::sync() {
  return Flush() ? 0 : -1;
}

bool TFdStreamBuf::Flush() {
  std::size_t done = 0;
  while (!ended_ && done < pending_.size()) {
    // At most what a pipe takes at once after it said it had room, so that
    // the write itself never waits.
    if (!WaitWritable(fd_)) {
      ended_ = true;
      break;
    }
    const ssize_t n = ::write(fd_, pending_.data() + done,
                              std::min(pending_.size() - done, std::size_t{PIPE_BUF}));
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0)
      ended_ = true;
    else
      done += static_cast<std::size_t>(n);
  }
  pending_.clear();
  return !ended_;
}
