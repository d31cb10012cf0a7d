// Whether the program may open a window.
#include <gtest/gtest.h>

#include "platform/qt/desktop.h"

TEST(Desktop, AWindowNeedsADisplayOrAChosenPlatform) {
  struct TCase {
    const char *Qpa, *Display, *Wayland;
    bool Expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, false},    {"", "", "", false},
      {nullptr, ":0", nullptr, true},        {nullptr, nullptr, "wayland-0", true},
      {"offscreen", nullptr, nullptr, true},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(DisplayAvailable(c.Qpa, c.Display, c.Wayland), c.Expected)
        << (c.Qpa ? c.Qpa : "-") << " " << (c.Display ? c.Display : "-");
}
