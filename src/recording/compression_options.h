// The compression choice offered when a recording starts. A plain model: the
// window's dialog or the command line fills it.
#pragma once

enum class TCodec {
  Raw,   // uncompressed 24-bit frames
  Mjpeg, // Motion-JPEG, every frame a key frame
};

struct TCompressionOptions {
  TCodec Codec = TCodec::Raw;
  int Quality = 90; // JPEG quality 1..100, used by Motion-JPEG only
};
