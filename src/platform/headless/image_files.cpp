#include "platform/headless/image_files.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool WritePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgba,
              std::string& error) {
  if (w <= 0 || h <= 0 || rgba.size() != static_cast<std::size_t>(w) * h * 4 ||
      !stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4)) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool WriteBmp(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb,
              std::string& error) {
  if (w <= 0 || h <= 0 || rgb.size() != static_cast<std::size_t>(w) * h * 3 ||
      !stbi_write_bmp(path.c_str(), w, h, 3, rgb.data())) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
