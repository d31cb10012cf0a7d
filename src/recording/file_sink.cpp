#include "recording/file_sink.h"

int TFileSink::Open(const std::string& path) {
  Size = 0;
  return Out.Open(path);
}

int TFileSink::Commit(TSafeOutput::TExisting existing) {
  return Out.Commit(existing);
}

void TFileSink::Discard() {
  Out.Discard();
}

bool TFileSink::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  if (!Out.IsOpen()) return false;
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
  return Out.WriteAt(offset, bytes) && fits;
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
  // Fails harmlessly on devices such as /dev/full.
  Out.Truncate(size);
}
