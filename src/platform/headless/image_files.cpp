#include "platform/headless/image_files.h"

#include <cerrno>
#include <cstring>
#include <span>

#include "io/safe_output.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

// The encoder hands its bytes over in pieces, without a way to hear of a
// failed write: the first failure is kept and checked at the end.
struct TImageSink {
  TSafeOutput Out;
  int Error = 0;
};

void Put(void* context, void* data, int size) {
  auto* sink = static_cast<TImageSink*>(context);
  if (sink->Error != 0) return;
  errno = 0;
  if (!sink->Out.Write(
          std::span(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size))))
    sink->Error = errno != 0 ? errno : EIO;
}

// Encodes through `encode` into `path`: complete, or not there at all (an
// earlier file of that name stays as it was).
template <class F> bool WriteImage(const std::string& path, F encode, std::string& error) {
  TImageSink sink;
  int err = sink.Out.Open(path);
  if (err == 0) {
    if (!encode(&Put, &sink)) err = EINVAL;
    if (err == 0) err = sink.Error;
    // Without a commit the output is discarded with the sink.
    if (err == 0) err = sink.Out.Commit();
  }
  if (err != 0) error = "cannot write " + path + ": " + std::strerror(err);
  return err == 0;
}

} // namespace

bool WritePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgba,
              std::string& error) {
  if (w <= 0 || h <= 0 || rgba.size() != static_cast<std::size_t>(w) * h * 4) {
    error = "cannot write " + path + ": no picture";
    return false;
  }
  return WriteImage(
      path,
      [&](stbi_write_func* put, void* sink) {
        return stbi_write_png_to_func(put, sink, w, h, 4, rgba.data(), w * 4) != 0;
      },
      error);
}

bool WriteBmp(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb,
              std::string& error) {
  if (w <= 0 || h <= 0 || rgb.size() != static_cast<std::size_t>(w) * h * 3) {
    error = "cannot write " + path + ": no picture";
    return false;
  }
  return WriteImage(
      path,
      [&](stbi_write_func* put, void* sink) {
        return stbi_write_bmp_to_func(put, sink, w, h, 3, rgb.data()) != 0;
      },
      error);
}
