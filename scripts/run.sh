#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kinemo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
# The desktop window is not in the program yet: show a short run of the device set.
exec build/src/kinemo --headless --do "menu:Animate ticks:300 select:2 ticks:200 menu:Resetrobots ticks:10" "$@"
