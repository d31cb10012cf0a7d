// An output file written only at known offsets, so that a failed write can be
// undone and headers can be rewritten in place later.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>

class TFileSink {
public:
  TFileSink() = default;
  ~TFileSink();
  TFileSink(const TFileSink&) = delete;
  TFileSink& operator=(const TFileSink&) = delete;

  // 0, or the errno of the failed open. Creates or empties the file.
  int Open(const std::string& path);
  void Close();

  // Writes the parts one after the other at End(). On failure the file is cut
  // back to the old end (as far as the system allows) and End() is unchanged.
  bool Append(std::initializer_list<std::span<const uint8_t>> parts);
  // Overwrites bytes already in the file.
  bool Patch(uint64_t offset, std::span<const uint8_t> bytes);
  // Drops everything from `size` on.
  void Truncate(uint64_t size);
  uint64_t End() const { return Size; }

  // A file size the writes may not pass, as on a full disk (tests only).
  uint64_t SizeLimit = std::numeric_limits<uint64_t>::max();

private:
  bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
  int Fd = -1;
  uint64_t Size = 0;
};
