#include "io/safe_output.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "io/stop_signals.h"

namespace {

// A name no other writer picks: the process, a counter and the clock.
std::string UniqueSuffix() {
  static std::atomic<unsigned long long> counter{0};
  unsigned long long x = static_cast<unsigned long long>(::getpid()) * 0x9E3779B97F4A7C15ull;
  x ^= ++counter * 0xBF58476D1CE4E5B9ull;
  x ^= static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string s;
  for (int i = 0; i < 8; ++i) {
    s += kDigits[x % 36];
    x /= 36;
  }
  return s;
}

// Makes a rename durable; a folder that cannot be synced is no failure.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  [[maybe_unused]] const int rc = ::fsync(fd);
  ::close(fd);
}

std::string FolderOf(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

// Where a write to `path` lands: the end of its chain of symbolic links, even
// when no file is there yet (a dangling link is written through, not
// replaced by a file). 0 or errno.
int FollowLinks(const std::string& path, std::string& dest) {
  dest = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(dest.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(dest, ec);
    if (ec) return ec.value();
    dest = to.is_absolute() ? to.string() : FolderOf(dest) + "/" + to.string();
  }
  return ELOOP;
}

// What SameFile compares: a regular file's device and inode, or for a name
// with no file yet its folder's real path and the name; empty for a device, a
// pipe, or a name in no folder.
std::string FileKey(const std::string& path) {
  std::string dest;
  if (FollowLinks(path, dest) != 0) return "";
  struct stat st {};
  if (::stat(dest.c_str(), &st) == 0)
    return S_ISREG(st.st_mode) ? std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) : "";
  char* folder = ::realpath(FolderOf(dest).c_str(), nullptr);
  if (!folder) return "";
  std::string key = std::string(folder) + "/" + std::filesystem::path(dest).filename().string();
  std::free(folder);
  return key;
}

} // namespace

bool SameFile(const std::string& a, const std::string& b) {
  const std::string key = FileKey(a);
  return !key.empty() && key == FileKey(b);
}

TSafeOutput::~TSafeOutput() {
  Discard();
}

void TSafeOutput::Reset() {
  fd_ = -1;
  direct_ = false;
  published_ = false;
  final_.clear();
  working_.clear();
  size_ = 0;
}

int TSafeOutput::Open(const std::string& target) {
  Discard();
  target_ = target;
  std::string dest;
  if (const int err = FollowLinks(target, dest); err != 0) return err;
  struct stat st {};
  const bool exists = ::stat(dest.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    // Non-blocking so that a pipe without a reader fails instead of hanging,
    // and so that a slow reader is waited for in WriteAt, where a stop
    // signal can end the wait.
    fd_ = ::open(dest.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) return errno;
    direct_ = true;
    working_ = dest;
    return 0;
  }

  final_ = dest;
  const std::string folder = FolderOf(final_);
  if (exists) {
    // Renaming over a file needs only the folder's permission; as other
    // tools do, a file the user may not write is not replaced either.
    if (::faccessat(AT_FDCWD, final_.c_str(), W_OK, AT_EACCESS) != 0) {
      const int err = errno;
      Reset();
      return err;
    }
    // Nor one a shared folder (sticky, as /tmp) keeps for its owner: the
    // rename would be refused only once everything was written.
    struct stat dir {};
    const uid_t me = ::geteuid();
    if (me != 0 && ::stat(folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) &&
        st.st_uid != me && dir.st_uid != me) {
      Reset();
      return EPERM;
    }
  }
  std::string base = std::filesystem::path(final_).filename().string();
  // The temporary name is cut to fit, so a name the folder cannot hold would
  // fail only at the rename, once everything (a whole recording) was written.
  const long name_max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  if (base.size() > static_cast<std::size_t>(name_max > 0 ? name_max : NAME_MAX)) {
    Reset();
    return ENAMETOOLONG;
  }
  // Room for the prefix and suffix within a file name's limit.
  if (base.size() > 200) base.resize(200);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = folder + "/." + base + "." + UniqueSuffix() + ".tmp";
    fd_ = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      working_ = candidate;
      // A replaced file keeps its permissions.
      if (exists) {
        [[maybe_unused]] const int rc = ::fchmod(fd_, st.st_mode & 07777);
      }
      return 0;
    }
    if (errno != EEXIST) break;
  }
  const int err = errno;
  Reset();
  return err;
}

bool TSafeOutput::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) return false;
  while (!bytes.empty()) {
    // A pipe cannot seek: what is written directly in order is appended.
    const ssize_t n = direct_ && offset == size_
                          ? ::write(fd_, bytes.data(), bytes.size())
                          : ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    // A pipe or a terminal that is full: waited for until its reader takes
    // more, or a stop signal ends the wait.
    if (n < 0 && errno == EAGAIN && direct_ && WaitWritable(fd_)) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
    if (offset > size_) size_ = offset;
  }
  return true;
}

bool TSafeOutput::Write(std::span<const std::uint8_t> bytes) {
  return WriteAt(size_, bytes);
}

bool TSafeOutput::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool TSafeOutput::Truncate(std::uint64_t size) {
  if (fd_ < 0 || size > size_) return false;
  size_ = size;
  // Devices such as /dev/full cannot be cut; nothing is kept in them anyway.
  return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || direct_;
}

bool TSafeOutput::Sync() {
  if (fd_ < 0) return false;
  return ::fdatasync(fd_) == 0 || errno == EINVAL || direct_;
}

int TSafeOutput::Publish() {
  if (fd_ < 0) return EBADF;
  if (direct_ || published_) return 0;
  if (::link(working_.c_str(), final_.c_str()) == 0) {
    // One name is enough: the file goes on under the target's.
    ::unlink(working_.c_str());
  } else if (errno == EEXIST) {
    return EEXIST;
  } else {
    // File systems without hard links: check, then rename.
    struct stat st {};
    if (::lstat(final_.c_str(), &st) == 0) return EEXIST;
    if (::rename(working_.c_str(), final_.c_str()) != 0) return errno;
  }
  working_ = final_;
  published_ = true;
  // The folder is synced at Commit, not here: a writer publishes while it
  // writes (a recording, frame after frame), and waiting for the disk here
  // would hold it up. Until Commit nothing it wrote is known to be on the
  // disk anyway; a killed process loses nothing the kernel has.
  return 0;
}

int TSafeOutput::CloseChecked() {
  int err = 0;
  // Late write errors (a full disk, a network file system) show here.
  if (!direct_ && ::fsync(fd_) != 0 && errno != EINVAL) err = errno;
  if (::close(fd_) != 0 && err == 0 && errno != EINTR) err = errno;
  fd_ = -1;
  return err;
}

int TSafeOutput::Commit(TExisting existing) {
  if (fd_ < 0) return EBADF;
  int err = CloseChecked();
  if (published_) {
    // Already under its name: what was written stays there.
    SyncFolder(FolderOf(final_));
    Reset();
    return err;
  }
  if (direct_ || err != 0) {
    Discard();
    return err;
  }
  bool renamed = false;
  if (existing == TExisting::Replace) {
    renamed = ::rename(working_.c_str(), final_.c_str()) == 0;
    if (!renamed) err = errno;
  } else if (::link(working_.c_str(), final_.c_str()) == 0) {
    // Given the target's name only because that name was free; the
    // temporary name is removed below.
  } else if (errno == EEXIST) {
    err = EEXIST;
  } else {
    // File systems without hard links: check, then rename.
    struct stat st {};
    if (::lstat(final_.c_str(), &st) == 0) {
      err = EEXIST;
    } else {
      renamed = ::rename(working_.c_str(), final_.c_str()) == 0;
      if (!renamed) err = errno;
    }
  }
  if (!renamed) ::unlink(working_.c_str());
  if (err == 0) SyncFolder(FolderOf(final_));
  Reset();
  return err;
}

void TSafeOutput::Discard() {
  if (published_ && fd_ >= 0) {
    // Removed from the name only while the name is still this file's.
    struct stat mine {
    }, named{};
    if (::fstat(fd_, &mine) != 0 || ::stat(final_.c_str(), &named) != 0 ||
        mine.st_ino != named.st_ino || mine.st_dev != named.st_dev)
      working_.clear();
  }
  if (fd_ >= 0) ::close(fd_);
  if (!direct_ && !working_.empty()) ::unlink(working_.c_str());
  Reset();
}

int WriteFileSafely(const std::string& path, std::string_view contents) {
  TSafeOutput out;
  if (const int err = out.Open(path); err != 0) return err;
  errno = 0;
  if (!out.Write(contents)) {
    const int err = errno != 0 ? errno : ENOSPC;
    out.Discard();
    return err;
  }
  return out.Commit();
}
