// CAVIGenerator: writes equally sized 24-bit frames into an AVI file. It knows
// nothing of OpenGL or of the simulation; the owner gives it a file name, a
// frame rate and a frame size, starts it, hands it one frame at a time and
// releases it:
//   FrameRate = ...; SetBitmapHeader(w, h); FileName = ...; MakeExtAvi();
//   InitEngine(); AddFrame(bits)...; ReleaseEngine();
// Results: 0 on success, negative on failure (with ErrorText), 1 when the
// compression choice is cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "recording/avi_file.h"
#include "recording/avi_format.h"
#include "recording/compression_options.h"
#include "recording/frame_encoder.h"

class CAVIGenerator {
public:
  CAVIGenerator();
  ~CAVIGenerator();
  CAVIGenerator(const CAVIGenerator&) = delete;
  CAVIGenerator& operator=(const CAVIGenerator&) = delete;

  // Frame size from the window's client size, each rounded down to a
  // multiple of 4 so that a row of 3 bytes per pixel needs no padding.
  void SetBitmapHeader(int clientWidth, int clientHeight);
  // The smallest client width and height that give a frame.
  static constexpr int kMinFrameSide = 4;
  int32_t InitEngine();
  // Writes biSizeImage bytes from `bits` as the next key frame.
  int32_t AddFrame(const void* bits);
  // Completes and closes the file, which only now takes its name: until then
  // a file already under the name is left as it was. Harmless when nothing is
  // open; negative (with ErrorText) when the file could not be completed. A
  // failed recording replaces an existing file only when `failed` is Replace;
  // with Keep it is dropped if the name is taken.
  int32_t ReleaseEngine(TSafeOutput::TExisting failed = TSafeOutput::TExisting::Replace);
  // Appends ".avi" when the name does not contain "avi" (case-sensitive).
  void MakeExtAvi();
  static std::string WithExtAvi(std::string name);

  std::string FileName = "Untitled.avi";
  uint32_t FrameRate = 30;
  TBitmapInfoHeader BitmapHeader;
  std::string ErrorText;
  int32_t FrameIndex = 0;
  std::unique_ptr<TAviFile> AviFile;
  std::unique_ptr<TAviStreamFormat> AviStream;
  std::unique_ptr<TFrameEncoder> AviCompressedStream;

  // The compression choice shown by InitEngine, filled with the last choice;
  // returning false cancels. Unset: the last choice is used without asking.
  std::function<bool(TCompressionOptions&)> ChooseCompression;
  TCompressionOptions Compression;

private:
  friend struct TAviGeneratorTestAccess;
  uint64_t RiffLimit = kAviRiffLimit;
  uint64_t DiskLimit = std::numeric_limits<uint64_t>::max();
  bool Checkpoints = true; // off only to measure what they cost
};
