// Texture pictures read from bitmap files, as RGBA with pure white keyed out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Larger sides are taken for a damaged header rather than a picture.
constexpr int kMaxPictureSide = 4096;

struct TPicture {
  int Width = 0;
  int Height = 0;
  // Row 0 is the top row of the picture; 4 bytes per pixel.
  std::vector<std::uint8_t> Rgba;
};

// Every pixel whose red, green and blue are all 255 gets alpha 0, every other 255.
void ColourKey(TPicture& picture);

// Reads the file at `path` and keys it. On failure `error` holds the message
// the user is shown and `picture` is left empty.
bool ReadKeyedPicture(const std::string& path, TPicture& picture, std::string& error);

// A 2 x 2 picture entirely keyed out, so textured faces show the colour the
// draw routine sets: stands in for a picture that could not be read.
TPicture NeutralPicture();

// The first of `folders` ("" for the working directory) that holds `file_name`,
// as a path; empty if none does.
std::string FindDataFile(const std::vector<std::string>& folders, const std::string& file_name);
