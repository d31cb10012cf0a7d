// The generated ring pattern of the TexRipple texture.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kRippleSize = 256;

// kRippleSize x kRippleSize RGB bytes, row by row: concentric red-to-grey rings
// centred in the image.
std::vector<std::uint8_t> RippleImage();
