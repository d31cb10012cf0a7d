#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
(cd build && ctest --output-on-failure --timeout 600)
scripts/build.sh build-asan -DKINEMO_SANITIZE=ON -DKINEMO_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure --timeout 600)
