// Where the help page is: the installed data folder, else the source tree the
// program was built from (a run from the build directory).
#include <filesystem>

#include "app/gl_form.h"

#ifndef KINEMO_DATA_DIR
#define KINEMO_DATA_DIR ""
#endif
#ifndef KINEMO_SOURCE_DIR
#define KINEMO_SOURCE_DIR ""
#endif

std::string TGL_Form::HelpPagePath() const {
  const std::filesystem::path installed =
      std::filesystem::path(KINEMO_DATA_DIR) / "help/index.html";
  const std::filesystem::path source =
      std::filesystem::path(KINEMO_SOURCE_DIR) / "resources/help/index.html";
  std::error_code ec;
  if (*KINEMO_DATA_DIR && std::filesystem::is_regular_file(installed, ec))
    return installed.string();
  if (*KINEMO_SOURCE_DIR && std::filesystem::is_regular_file(source, ec)) return source.string();
  return installed.string();
}
