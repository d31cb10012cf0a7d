#include "view/picture.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_MAX_DIMENSIONS kMaxPictureSide
#include <stb/stb_image.h>

void ColourKey(TPicture& picture) {
  for (std::size_t i = 0; i + 3 < picture.Rgba.size(); i += 4) {
    const bool white =
        picture.Rgba[i] == 255 && picture.Rgba[i + 1] == 255 && picture.Rgba[i + 2] == 255;
    picture.Rgba[i + 3] = white ? 0 : 255;
  }
}

bool ReadKeyedPicture(const std::string& path, TPicture& picture, std::string& error) {
  picture = TPicture{};
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "Cannot open file \"" + path + "\". " + std::strerror(errno);
    return false;
  }
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgb = stbi_load_from_file(f, &w, &h, &channels, 3);
  std::fclose(f);
  if (!rgb) {
    error = "Cannot read bitmap \"" + path + "\": " + stbi_failure_reason();
    return false;
  }
  // The decoder takes a header of no rows or columns for a picture; no
  // texture can be made of it.
  if (w < 1 || h < 1) {
    stbi_image_free(rgb);
    error = "Cannot read bitmap \"" + path + "\": no pixels";
    return false;
  }
  picture.Width = w;
  picture.Height = h;
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  picture.Rgba.resize(n * 4);
  for (std::size_t p = 0; p < n; ++p) {
    picture.Rgba[p * 4] = rgb[p * 3];
    picture.Rgba[p * 4 + 1] = rgb[p * 3 + 1];
    picture.Rgba[p * 4 + 2] = rgb[p * 3 + 2];
    picture.Rgba[p * 4 + 3] = 255;
  }
  stbi_image_free(rgb);
  ColourKey(picture);
  return true;
}

TPicture NeutralPicture() {
  TPicture p;
  p.Width = p.Height = 2;
  p.Rgba.assign(16, 255);
  ColourKey(p);
  return p;
}

std::string FindDataFile(const std::vector<std::string>& folders, const std::string& file_name) {
  for (const std::string& folder : folders) {
    const std::filesystem::path p = folder.empty() ? std::filesystem::path(file_name)
                                                   : std::filesystem::path(folder) / file_name;
    std::error_code ec;
    if (std::filesystem::is_regular_file(p, ec)) return p.string();
  }
  return {};
}
