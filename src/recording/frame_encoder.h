// Turns one frame in the bitmap layout (24-bit, bottom-up, blue-green-red)
// into the bytes stored in the AVI file, for the codec the user chose.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "recording/avi_format.h"
#include "recording/compression_options.h"

class TFrameEncoder {
public:
  virtual ~TFrameEncoder() = default;
  // The stored form of the frame, valid until the next call; false with a
  // readable reason when the frame cannot be compressed.
  virtual bool Encode(const uint8_t* bits, std::span<const uint8_t>& out, std::string& error) = 0;
  virtual uint32_t Handler() const = 0;     // stream header fccHandler
  virtual uint32_t Compression() const = 0; // biCompression of the stored format
  virtual uint32_t ChunkId() const = 0;     // '00db' uncompressed, '00dc' compressed
};

// Null with an AVI result code in `result` when the codec cannot be set up.
std::unique_ptr<TFrameEncoder> MakeFrameEncoder(const TCompressionOptions& options,
                                                const TBitmapInfoHeader& header, int32_t& result);
