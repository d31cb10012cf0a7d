#include "recording/frame_encoder.h"

#include <algorithm>
#include <turbojpeg.h>
#include <vector>

namespace {

class TRawEncoder final : public TFrameEncoder {
public:
  explicit TRawEncoder(uint32_t size) : Size(size) {}
  bool Encode(const uint8_t* bits, std::span<const uint8_t>& out, std::string&) override {
    out = {bits, Size};
    return true;
  }
  uint32_t Handler() const override { return 0; }
  uint32_t Compression() const override { return 0; }
  uint32_t ChunkId() const override { return FourCC("00db"); }

private:
  uint32_t Size;
};

class TMjpegEncoder final : public TFrameEncoder {
public:
  TMjpegEncoder(tjhandle handle, const TBitmapInfoHeader& header, int quality)
      : Handle(handle), Width(header.biWidth), Height(header.biHeight),
        Quality(std::clamp(quality, 1, 100)),
        Buffer(tjBufSize(header.biWidth, header.biHeight, Subsampling)) {}
  ~TMjpegEncoder() override { tjDestroy(Handle); }
  TMjpegEncoder(const TMjpegEncoder&) = delete;
  TMjpegEncoder& operator=(const TMjpegEncoder&) = delete;

  bool Encode(const uint8_t* bits, std::span<const uint8_t>& out, std::string& error) override {
    unsigned char* dest = Buffer.data();
    unsigned long size = Buffer.size();
    // Bottom-up rows, as the frame layout stores them, give an upright picture.
    if (tjCompress2(Handle, bits, Width, Width * 3, Height, TJPF_BGR, &dest, &size, Subsampling,
                    Quality, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC | TJFLAG_FASTDCT) != 0) {
      error = tjGetErrorStr2(Handle);
      return false;
    }
    out = {dest, size};
    return true;
  }
  uint32_t Handler() const override { return FourCC("MJPG"); }
  uint32_t Compression() const override { return FourCC("MJPG"); }
  uint32_t ChunkId() const override { return FourCC("00dc"); }

private:
  static constexpr int Subsampling = TJSAMP_420;
  tjhandle Handle;
  int Width, Height, Quality;
  std::vector<unsigned char> Buffer;
};

} // namespace

std::unique_ptr<TFrameEncoder> MakeFrameEncoder(const TCompressionOptions& options,
                                                const TBitmapInfoHeader& header, int32_t& result) {
  result = 0;
  switch (options.Codec) {
  case TCodec::Raw:
    return std::make_unique<TRawEncoder>(header.biSizeImage);
  case TCodec::Mjpeg: {
    tjhandle handle = tjInitCompress();
    if (handle == nullptr) {
      result = kAviErrMemory;
      return nullptr;
    }
    return std::make_unique<TMjpegEncoder>(handle, header, options.Quality);
  }
  }
  result = kAviErrNoCompressor;
  return nullptr;
}
