// The on-disk vocabulary of AVI files: the bitmap header of a frame and the
// result codes of the AVI file library the writer reports.
#pragma once

#include <cstdint>

// Layout of the published Windows BITMAPINFOHEADER (40 bytes when serialised).
struct TBitmapInfoHeader {
  uint32_t biSize = 0;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 0;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

constexpr uint32_t kBitmapInfoHeaderSize = 40;

constexpr uint32_t FourCC(const char (&s)[5]) {
  return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
         uint32_t(uint8_t(s[3])) << 24;
}

// Result codes, negative as int32, with the values of the AVI file library so
// that callers comparing against them keep working.
constexpr int32_t AviError(uint32_t code) {
  return static_cast<int32_t>(code);
}
constexpr int32_t kAviErrUnsupported = AviError(0x80044065);
constexpr int32_t kAviErrBadFormat = AviError(0x80044066);
constexpr int32_t kAviErrMemory = AviError(0x80044067);
constexpr int32_t kAviErrFileRead = AviError(0x8004406D);
constexpr int32_t kAviErrFileWrite = AviError(0x8004406E);
constexpr int32_t kAviErrFileOpen = AviError(0x8004406F);
constexpr int32_t kAviErrNoCompressor = AviError(0x80044071);
constexpr int32_t kAviErrReadOnly = AviError(0x80044072);
constexpr int32_t kAviErrError = AviError(0x800440C7);
constexpr int32_t kRegdbErrClassNotReg = AviError(0x80040154);

// Returned by InitEngine when the user cancels the compression choice.
constexpr int32_t kAviCancelled = 1;
