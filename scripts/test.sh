#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer. Warnings in our code
# are errors here. With KINEMO_REQUIRE_ALL=1 (CI) a test that would skip itself
# for want of OpenGL, ffmpeg or Xvfb fails instead. Tests run in parallel: each
# keeps to files of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DKINEMO_WERROR=ON
(cd build && ctest -j"$(nproc)" --output-on-failure --timeout 600)
scripts/build.sh build-asan -DKINEMO_WERROR=ON -DKINEMO_SANITIZE=ON -DKINEMO_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j"$(nproc)" --output-on-failure --timeout 600)
