// TSafeOutput: writes a file so that the file already under that name is never
// touched until the new one is complete. The bytes go to a temporary file
// created next to the target (same folder, so same file system); Commit
// flushes and closes it, checking both, and renames it over the target in one
// step. Discard, or destruction without Commit, removes the temporary file.
//
// A target that exists but is not a regular file (a device such as /dev/null,
// a pipe) has no contents to protect and cannot be renamed over: it is written
// directly, and Commit only closes it. A symbolic link is followed, so that the
// file it names is replaced (or made, for a link to no file yet) and the link
// kept. An existing file the user may not write is refused (EACCES), as other
// tools refuse it, although the folder would let it be replaced.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class TSafeOutput {
public:
  TSafeOutput() = default;
  ~TSafeOutput(); // discards what was not committed
  TSafeOutput(const TSafeOutput&) = delete;
  TSafeOutput& operator=(const TSafeOutput&) = delete;

  // Starts a new file for `target`; 0 or the errno of the failure. The target
  // is not opened, created or changed. An output still open is discarded.
  int Open(const std::string& target);
  bool IsOpen() const { return fd_ >= 0; }

  // Checked writes at a given offset (the file can be patched and cut back,
  // as container formats with headers written last need). False on any error
  // or short write.
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // Appends at the end of what was written so far.
  bool Write(std::span<const std::uint8_t> bytes);
  bool Write(std::string_view text);
  bool Truncate(std::uint64_t size);
  std::uint64_t Size() const { return size_; }
  // Waits until what was written so far is on the disk, so that later writes
  // that refer to it (headers, indexes) never reach the disk without it.
  bool Sync();

  // Gives the file the target's name now, while writing goes on, so that a
  // writer killed before Commit leaves what it wrote under that name. Done
  // only when no file has the name (EEXIST otherwise: an earlier file is
  // still replaced only by Commit). 0 or errno; a device written directly is
  // already under its name.
  int Publish();
  bool Published() const { return published_; }
  bool Direct() const { return direct_; }

  // How Commit treats a file that already has the target's name.
  enum class TExisting { Replace, Keep };
  // Flush, close and rename over the target; 0 or the errno of the failure.
  // With Keep, an existing target stays as it is and EEXIST is returned. On
  // any failure the temporary file is removed and the target is unchanged.
  // A published file keeps its name whatever the result.
  int Commit(TExisting existing = TExisting::Replace);
  // Removes the temporary file; the target stays as it was (a published file,
  // which took a free name, is removed from it).
  void Discard();

  // The file named by the caller, and where the bytes go until Commit.
  const std::string& Target() const { return target_; }
  const std::string& WorkingPath() const { return working_; }

  // A size the file may not grow past, as on a full disk (tests only).
  std::uint64_t SizeLimit = UINT64_MAX;

private:
  int CloseChecked();
  void Reset();

  int fd_ = -1;
  bool direct_ = false;    // writing the target itself (not a regular file)
  bool published_ = false; // the working file has the target's name (Publish)
  std::string target_;     // as given
  std::string final_;      // the path renamed over (a link's destination)
  std::string working_;    // the temporary file, or the target when direct
  std::uint64_t size_ = 0;
};

// Writes `contents` to `path` through a TSafeOutput: all or nothing. 0 or errno.
int WriteFileSafely(const std::string& path, std::string_view contents);

// Whether `a` and `b` name the same regular file, or the same name where no
// file is yet, each followed through its links as TSafeOutput follows them.
// Devices and pipes are never the same file: nothing sent there is kept.
bool SameFile(const std::string& a, const std::string& b);
