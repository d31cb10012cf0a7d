// A test that needs what this machine may lack (an OpenGL context, the ffmpeg
// decoder) skips itself without it, so that a developer's run stays useful.
// CI sets KINEMO_REQUIRE_ALL=1, which turns every such skip into a failure: a
// CI machine must not pass with part of the suite silently left out.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline bool RequireAll() {
  const char* v = std::getenv("KINEMO_REQUIRE_ALL");
  return v != nullptr && std::string(v) == "1";
}

// Skips the test (fails it under KINEMO_REQUIRE_ALL=1), saying why.
#define SKIP_UNAVAILABLE(why)                                                                      \
  do {                                                                                             \
    const std::string why_unavailable = (why);                                                     \
    if (RequireAll()) GTEST_FAIL() << "required (KINEMO_REQUIRE_ALL=1): " << why_unavailable;      \
    GTEST_SKIP() << why_unavailable;                                                               \
  } while (false)
