// Image files the command line and the tests write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGBA pixels, top row first.
bool WritePng(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgba,
              std::string& error);
// RGB pixels, top row first, as an uncompressed 24-bit bitmap.
bool WriteBmp(const std::string& path, int w, int h, const std::vector<std::uint8_t>& rgb,
              std::string& error);
