#include "view/ripple.h"

#include <cmath>

std::vector<std::uint8_t> RippleImage() {
  std::vector<std::uint8_t> image(kRippleSize * kRippleSize * 3);
  for (int i = 0; i < kRippleSize; ++i) {
    for (int j = 0; j < kRippleSize; ++j) {
      const float dx = static_cast<float>((128 - i) * 40 / 255.0);
      const float dy = static_cast<float>((128 - j) * 40 / 255.0);
      const double d = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy) + 0.1;
      const float c = static_cast<float>(std::cos(d));
      std::uint8_t* px = &image[(i * kRippleSize + j) * 3];
      px[0] = static_cast<std::uint8_t>((c + 1) * 0.5 * 255);
      px[1] = 128;
      px[2] = 128;
    }
  }
  return image;
}
