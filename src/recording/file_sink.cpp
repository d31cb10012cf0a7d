#include "recording/file_sink.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

TFileSink::~TFileSink() {
  Close();
}

int TFileSink::Open(const std::string& path) {
  Close();
  // Non-blocking so that a pipe without a reader fails instead of hanging.
  Fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (Fd < 0) return errno;
  Size = 0;
  return 0;
}

void TFileSink::Close() {
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
}

bool TFileSink::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  if (Fd < 0) return false;
  // Nothing to write always fits, even exactly at the size limit.
  if (bytes.empty()) return true;
  bool fits = true;
  if (offset >= SizeLimit) {
    bytes = {};
    fits = false;
  } else if (bytes.size() > SizeLimit - offset) {
    // Like a full disk: what fits is written, the rest fails.
    bytes = bytes.first(SizeLimit - offset);
    fits = false;
  }
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(Fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
  return fits;
}

bool TFileSink::Append(std::initializer_list<std::span<const uint8_t>> parts) {
  uint64_t at = Size;
  for (const auto& part : parts) {
    if (!WriteAt(at, part)) {
      Truncate(Size);
      return false;
    }
    at += part.size();
  }
  Size = at;
  return true;
}

bool TFileSink::Patch(uint64_t offset, std::span<const uint8_t> bytes) {
  if (offset + bytes.size() > Size) return false;
  return WriteAt(offset, bytes);
}

void TFileSink::Truncate(uint64_t size) {
  if (size > Size) return;
  Size = size;
  if (Fd < 0) return;
  // Fails harmlessly on devices such as /dev/full.
  [[maybe_unused]] const int rc = ::ftruncate(Fd, static_cast<off_t>(size));
}
