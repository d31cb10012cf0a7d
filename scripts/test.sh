#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (C++ and Python); then
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# simulations on several threads under ThreadSanitizer. Warnings in our code
# are errors here. With KINEMO_REQUIRE_ALL=1 (CI) a test that would skip itself
# for want of OpenGL, ffmpeg or Xvfb fails instead. Tests run in parallel: each
# keeps to files of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
scripts/build.sh build -DKINEMO_WERROR=ON
(cd build && ctest -j"$jobs" --output-on-failure --timeout 600)

# The sanitizers' builds: line tables are enough for their reports, and -O1
# keeps them quick to build and to run.
sanitized=(-DKINEMO_WERROR=ON -DKINEMO_BUILD_BENCH=OFF
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
scripts/build.sh build-asan "${sanitized[@]}" -DKINEMO_SANITIZE=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j"$jobs" --output-on-failure --timeout 600)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${sanitized[@]}" -DKINEMO_TSAN=ON >/dev/null
cmake --build build-tsan --parallel "$jobs" --target kinemo_thread_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/kinemo_thread_tests
