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

} // namespace

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
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    // Non-blocking so that a pipe without a reader fails instead of hanging.
    fd_ = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return errno;
    // Once open, writes wait for a slow reader rather than fail.
    if (const int flags = ::fcntl(fd_, F_GETFL); flags >= 0)
      ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    direct_ = true;
    working_ = target;
    return 0;
  }

  final_ = target;
  struct stat link {};
  if (exists && ::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      final_ = real;
      std::free(real);
    }
  }
  std::string base = std::filesystem::path(final_).filename().string();
  const std::string folder = FolderOf(final_);
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
