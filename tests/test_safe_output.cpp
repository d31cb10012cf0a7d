// Safe output: a file under the target's name is never touched before the new
// one is complete, whatever ends the writing; no temporary file is left.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "io/safe_output.h"
#include "scratch.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::size_t FilesIn(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(SafeOutput, TheTargetChangesOnlyAtCommit) {
  enum TEnd { Commit, Discard, Destroy, CommitKeep };
  const struct {
    const char* Name;
    TEnd End;
    bool OldFile;
    const char* Expected; // contents after the end; null: no file
    int Result;
  } cases[] = {
      {"commit replaces", Commit, true, "new", 0},
      {"commit creates", Commit, false, "new", 0},
      {"discard keeps", Discard, true, "old", 0},
      {"discard creates nothing", Discard, false, nullptr, 0},
      {"destruction keeps", Destroy, true, "old", 0},
      {"keep leaves an earlier file", CommitKeep, true, "old", EEXIST},
      {"keep takes a free name", CommitKeep, false, "new", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TScratchDir dir;
    const std::string target = dir / "run1.avi";
    if (c.OldFile) Put(target, "old");
    {
      TSafeOutput out;
      ASSERT_EQ(out.Open(target), 0);
      EXPECT_NE(out.WorkingPath(), target);
      EXPECT_EQ(fs::path(out.WorkingPath()).parent_path(), dir.Dir);
      // Written out of order and cut back, as a container with late headers is.
      ASSERT_TRUE(out.Write(std::string_view("xxxNEW-tail")));
      ASSERT_TRUE(out.WriteAt(
          0, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("new"), 3)));
      ASSERT_TRUE(out.Truncate(3));
      EXPECT_EQ(ReadFile(target), c.OldFile ? "old" : "");
      if (c.End == Commit || c.End == CommitKeep) {
        EXPECT_EQ(out.Commit(c.End == Commit ? TSafeOutput::TExisting::Replace
                                             : TSafeOutput::TExisting::Keep),
                  c.Result);
      }
      if (c.End == Discard) out.Discard();
      EXPECT_EQ(out.IsOpen(), c.End == Destroy);
    }
    EXPECT_EQ(fs::exists(target), c.Expected != nullptr);
    if (c.Expected) {
      EXPECT_EQ(ReadFile(target), c.Expected);
    }
    EXPECT_EQ(FilesIn(dir.Dir), c.Expected ? 1u : 0u) << "a temporary file was left";
  }
}

TEST(SafeOutput, LinksDevicesAndPermissionsStayWhatTheyAre) {
  TScratchDir dir;
  // A link: the file it names is replaced, the link stays.
  const std::string real = dir / "real.dat", link = dir / "link.dat";
  Put(real, "old");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, link);
  ASSERT_EQ(WriteFileSafely(link, "new"), 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A device is written directly and stays a device.
  EXPECT_EQ(WriteFileSafely("/dev/null", "anything"), 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  TSafeOutput full;
  ASSERT_EQ(full.Open("/dev/full"), 0);
  EXPECT_FALSE(full.Write(std::string_view("x")));
  EXPECT_EQ(FilesIn(dir.Dir), 2u);

  // A pipe (kinemo --state /dev/stdout | ...): written in order, waiting for
  // its reader, well beyond what the pipe holds at once.
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  TSafeOutput pipe;
  while (pipe.Open(fifo) == ENXIO) // no reader yet
    std::this_thread::yield();
  const std::string big(1 << 20, 'p');
  EXPECT_TRUE(pipe.Write(big));
  EXPECT_EQ(pipe.Commit(), 0);
  reader.join();
  EXPECT_EQ(received, big);
}

} // namespace KINEMO_UNITY_ID
} // namespace
