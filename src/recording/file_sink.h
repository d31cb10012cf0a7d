// An output file written only at known offsets, so that a failed write can be
// undone and headers can be rewritten in place later. The bytes go through a
// TSafeOutput: a file already under the name stays as it was until Commit.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>

#include "io/safe_output.h"

class TFileSink {
public:
  // 0, or the errno of the failed open. Nothing is written under the name yet.
  int Open(const std::string& path);
  // Gives the completed file its name; 0 or errno (see TSafeOutput::Commit).
  int Commit(TSafeOutput::TExisting existing = TSafeOutput::TExisting::Replace);
  // Drops what was written; a file under the name stays as it was.
  void Discard();

  // Writes the parts one after the other at End(). On failure the file is cut
  // back to the old end (as far as the system allows) and End() is unchanged.
  bool Append(std::initializer_list<std::span<const uint8_t>> parts);
  // Overwrites bytes already in the file.
  bool Patch(uint64_t offset, std::span<const uint8_t> bytes);
  // Drops everything from `size` on.
  void Truncate(uint64_t size);
  uint64_t End() const { return Size; }
  // See TSafeOutput::Sync and Publish.
  bool Sync() { return Out.Sync(); }
  // A device or a pipe written directly, with nothing to keep safe.
  bool Direct() const { return Out.Direct(); }
  int Publish() { return Out.Publish(); }

  // A file size the writes may not pass, as on a full disk (tests only).
  uint64_t SizeLimit = std::numeric_limits<uint64_t>::max();

private:
  bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
  TSafeOutput Out;
  uint64_t Size = 0;
};
