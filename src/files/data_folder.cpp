#include "files/data_folder.h"

#include <filesystem>

#ifndef KINEMO_DATA_FROM_BIN
#define KINEMO_DATA_FROM_BIN "../share/kinemo"
#endif

std::string ExecutablePath(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self.string();
  // Without /proc: a name with a slash is a path; a bare name came from PATH,
  // which tells nothing reliable about the program's own folder.
  const std::string given = argv0 ? argv0 : "";
  if (given.find('/') == std::string::npos) return {};
  const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
  return ec ? std::string() : absolute.string();
}

std::string DataFolderOf(const std::string& executable) {
  if (executable.empty()) return {};
  return (std::filesystem::path(executable).parent_path() / KINEMO_DATA_FROM_BIN)
      .lexically_normal()
      .string();
}
