// libFuzzer target: the texture bitmaps, read by the same function as at
// start-up (from a file: the input is handed over through an in-memory file).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "view/picture.h"

namespace {

int MemoryFile() {
  static const int fd = ::memfd_create("picture.bmp", MFD_CLOEXEC);
  if (fd < 0) std::abort();
  return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = MemoryFile();
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    std::abort();
  TPicture picture;
  std::string error;
  const bool read = ReadKeyedPicture("/proc/self/fd/" + std::to_string(fd), picture, error);
  // A picture read is whole and within the sides a picture may have; a
  // refused one is empty and says why.
  if (read) {
    if (picture.Width < 1 || picture.Height < 1 || picture.Width > kMaxPictureSide ||
        picture.Height > kMaxPictureSide ||
        picture.Rgba.size() != static_cast<std::size_t>(picture.Width) * picture.Height * 4)
      std::abort();
  } else if (error.empty() || !picture.Rgba.empty()) {
    std::abort();
  }
  return 0;
}
