#!/usr/bin/env bash
# Installs the Debian packages Kinemo needs to build, test and run, if missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6opengl6-dev libqcustomplot-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libturbojpeg0-dev libstb-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
  xvfb xauth ffmpeg
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n # translations: lupdate, lrelease, Qt's own French
  pybind11-dev python3-dev python3-numpy python3-pytest python3-mypy python3-pil # the Python module
  python3-pandas python3-tqdm python3-distributed # its sweeps
  python3-scipy python3-matplotlib python3-nbclient python3-nbformat python3-ipykernel # the examples
  dpkg-dev file clang-format
  clang libclang-rt-14-dev) # the libFuzzer targets (scripts/fuzz.sh)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
