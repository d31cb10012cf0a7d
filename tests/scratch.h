// Scratch files named after the running test, so that tests and parallel runs
// never share one, and reading a whole file back.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A path in the temporary folder, unique to this process and test.
inline std::filesystem::path TempFile(const std::string& name) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string test = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : test)
    if (c == '/') c = '_';
  return std::filesystem::temp_directory_path() /
         ("kinemo_" + std::to_string(::getpid()) + "_" + test + "_" + name);
}

// A folder of its own for a test, removed with its contents afterwards.
struct TScratchDir {
  std::filesystem::path Dir;
  explicit TScratchDir(const std::string& name = "dir") : Dir(TempFile(name)) {
    std::filesystem::create_directories(Dir);
  }
  ~TScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
  }
  std::string operator/(const std::string& name) const { return (Dir / name).string(); }
};

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// Files may not grow past `bytes` while this lives, as on a full disk; the
// signal the limit raises is ignored so that the write fails instead.
struct TFileSizeLimit {
  rlimit Saved{};
  void (*OldHandler)(int) = nullptr;
  bool Applied = false;
  explicit TFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &Saved);
    OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = Saved;
    small.rlim_cur = bytes;
    Applied = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
};
