// Our own help page and the program's data folder, which holds it and the
// texture pictures.
#include <filesystem>

#include "window/gl_form.h"

void TGL_Form::UseDataFolder(const std::string& folder) {
  DataFolder = folder;
  // The working directory first, as the pictures were always looked for there.
  TextureFolders = {""};
  if (!folder.empty()) TextureFolders.push_back(folder);
}

std::string TGL_Form::HelpPagePath() const {
  return (std::filesystem::path(DataFolder) / "help" / HelpPageName).string();
}
