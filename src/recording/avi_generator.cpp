#include "recording/avi_generator.h"

#include <cerrno>

namespace {

const char* const kOk = "Ok";
const char* const kDiskWriteText = " A disk error occurred while writing the file.";

std::string OpenFailureText(int32_t code) {
  switch (code) {
  case kAviErrBadFormat:
    return "The file couldn't be read, indicating a corrupt file or an unrecognized format.";
  case kAviErrMemory:
    return "The file could not be opened because of insufficient memory.";
  case kAviErrFileRead:
    return "A disk error occurred while reading the file.";
  case kAviErrFileOpen:
    return "A disk error occurred while opening the file.";
  case kRegdbErrClassNotReg:
    return "According to the registry, the type of file specified in AVIFileOpen does not have a "
           "handler to process it";
  default:
    return {};
  }
}

std::string CompressorFailureText(int32_t code) {
  switch (code) {
  case kAviErrUnsupported:
    return "Compression is not supported for this type of data. This error might be returned if "
           "you try to compress data that is not audio or video.";
  case kAviErrMemory:
    return " There is not enough memory to complete the operation.";
  case kAviErrNoCompressor:
    return " A suitable compressor cannot be found.";
  default:
    return {};
  }
}

std::string WriteFailureText(int32_t code) {
  if (code == kAviErrError) return " The file has reached its largest size.";
  return kDiskWriteText;
}

bool ValidFrameFormat(const TBitmapInfoHeader& h, uint32_t frameRate) {
  return frameRate > 0 && h.biWidth > 0 && h.biHeight > 0 && h.biBitCount == 24 &&
         h.biSizeImage == uint64_t(3) * uint32_t(h.biWidth) * uint32_t(h.biHeight);
}

} // namespace

CAVIGenerator::CAVIGenerator() = default;

// A file still open is completed by its own destructor rather than left
// without headers.
CAVIGenerator::~CAVIGenerator() = default;

void CAVIGenerator::SetBitmapHeader(int clientWidth, int clientHeight) {
  BitmapHeader = {};
  BitmapHeader.biSize = kBitmapInfoHeaderSize;
  BitmapHeader.biWidth = clientWidth / 4 * 4;
  BitmapHeader.biHeight = clientHeight / 4 * 4;
  BitmapHeader.biPlanes = 1;
  BitmapHeader.biBitCount = 24;
  BitmapHeader.biCompression = 0;
  const int64_t size =
      (int64_t(24) * BitmapHeader.biWidth + 31) / 32 * 4 * int64_t(BitmapHeader.biHeight);
  // A size the format cannot hold is left 0, which InitEngine refuses.
  BitmapHeader.biSizeImage =
      size > 0 && size <= int64_t(std::numeric_limits<uint32_t>::max()) ? uint32_t(size) : 0;
}

std::string CAVIGenerator::WithExtAvi(std::string name) {
  if (name.find("avi") == std::string::npos) name += ".avi";
  return name;
}

void CAVIGenerator::MakeExtAvi() {
  FileName = WithExtAvi(FileName);
}

int32_t CAVIGenerator::InitEngine() {
  // A file still being written is completed before another one starts.
  if (AviFile || AviStream || AviCompressedStream) ReleaseEngine();
  ErrorText = kOk;

  // Checked before the file is made: a format that can hold no frame
  // creates nothing.
  if (!ValidFrameFormat(BitmapHeader, FrameRate)) {
    ErrorText = "AVI Stream creation failed. Check Bitmap info.";
    return kAviErrBadFormat;
  }
  auto file = std::make_unique<TAviFile>(RiffLimit, DiskLimit, Checkpoints);
  if (const int err = file->Open(FileName); err != 0) {
    const int32_t code = err == ENOMEM ? kAviErrMemory : kAviErrFileOpen;
    ErrorText = "AVI Engine failed to initialize. Check filename " + FileName + ".";
    ErrorText += OpenFailureText(code);
    return code;
  }
  AviFile = std::move(file);
  AviStream = std::make_unique<TAviStreamFormat>();
  AviStream->Bitmap = BitmapHeader;
  AviStream->FrameRate = FrameRate;
  AviStream->SuggestedBufferSize = BitmapHeader.biSizeImage;

  TCompressionOptions options = Compression;
  if (ChooseCompression && !ChooseCompression(options)) return kAviCancelled;
  Compression = options;

  int32_t code = 0;
  AviCompressedStream = MakeFrameEncoder(options, BitmapHeader, code);
  if (!AviCompressedStream) {
    ErrorText = "AVI Compressed Stream creation failed.";
    ErrorText += CompressorFailureText(code);
    return code;
  }
  AviStream->Handler = AviCompressedStream->Handler();
  AviStream->ChunkId = AviCompressedStream->ChunkId();
  AviStream->Bitmap.biCompression = AviCompressedStream->Compression();

  if (const int32_t r = AviFile->Start(*AviStream); r != 0) {
    ErrorText = "AVI Compressed Stream format setting failed.";
    ErrorText += WriteFailureText(r);
    return r;
  }
  FrameIndex = 0;
  return 0;
}

int32_t CAVIGenerator::AddFrame(const void* bits) {
  ++FrameIndex;
  if (!AviFile || !AviCompressedStream) {
    ErrorText = "AVI frame write failed. No AVI file is open.";
    return kAviErrError;
  }
  if (bits == nullptr) {
    ErrorText = "AVI frame write failed. No frame was given.";
    return kAviErrError;
  }
  std::span<const uint8_t> stored;
  std::string why;
  if (!AviCompressedStream->Encode(static_cast<const uint8_t*>(bits), stored, why)) {
    ErrorText = "AVI frame compression failed. " + why;
    return kAviErrError;
  }
  const int32_t r = AviFile->WriteFrame(stored);
  if (r != 0) ErrorText = "AVI frame write failed." + WriteFailureText(r);
  return r;
}

int32_t CAVIGenerator::ReleaseEngine(TSafeOutput::TExisting failed) {
  AviStream.reset();
  AviCompressedStream.reset();
  if (!AviFile) return 0;
  const int32_t r = AviFile->Finish(failed);
  AviFile.reset();
  // A failure already reported keeps its text.
  if (r != 0 && ErrorText == kOk)
    ErrorText = std::string("AVI file completion failed.") + kDiskWriteText;
  return r;
}
