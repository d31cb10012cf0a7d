#!/usr/bin/env bash
# An installed tree moved to another folder still finds its pictures and help
# page beside the program, and never falls back to the build or source tree:
# with a file missing from the moved tree the program says so.
# Usage: relocated_install.sh install|deb CMAKE_BIN_DIR BUILD_DIR
#   install: `cmake --install` into a prefix, then moved;
#   deb: the Debian package from cpack, unpacked into a folder of its own.
set -euo pipefail
mode=$1
cmake_bin=$2
build=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "$mode" = install ]; then
  "$cmake_bin/cmake" --install "$build" --prefix "$tmp/installed" >/dev/null
  mv "$tmp/installed" "$tmp/moved"
  prefix=$tmp/moved
else
  (cd "$build" && "$cmake_bin/cpack" -G DEB -B "$tmp/package" >/dev/null)
  deb=$(echo "$tmp"/package/kinemo_*.deb)
  [ -f "$deb" ] || fail "no package built"
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libturbojpeg0 libglu1-mesa libegl1 libgl1-mesa-dri; do
    [[ $depends == *"$lib"* ]] || fail "$lib missing from Depends: $depends"
  done
  dpkg-deb -x "$deb" "$tmp/unpacked"
  prefix=$tmp/unpacked/usr
fi
mkdir "$tmp/work"
cd "$tmp/work" # no pictures in the working directory

run() {
  set +e
  "$prefix/bin/kinemo" --headless --size 64x48 --do "menu:Aide2" --screenshot shot.png >out.txt 2>err.txt
  code=$?
  set -e
  if [ "$code" = 3 ]; then
    echo "no OpenGL context: $(cat err.txt)"
    [ "${KINEMO_REQUIRE_ALL:-0}" = 1 ] && fail "an OpenGL context is required"
    exit 77 # skipped
  fi
  [ "$code" = 0 ] || fail "exit code $code: $(cat err.txt)"
}

run
grep -q '^message:' out.txt && fail "unexpected message: $(grep '^message:' out.txt)"
grep -qxF "open: $prefix/share/kinemo/help/index.html" out.txt ||
  fail "help page not in the moved tree: $(grep '^open:' out.txt || echo none opened)"
[ -s shot.png ] || fail "no screenshot"

rm "$prefix/share/kinemo/movagreen.bmp" "$prefix/share/kinemo/help/index.html"
run
grep -qF 'message: Error: Cannot open file "movagreen.bmp"' out.txt ||
  fail "a missing picture went unreported"
grep -qF "$prefix/share/kinemo/help/index.html" out.txt && grep -qF "message: Aide: La page d'aide n'a pas pu être ouverte" out.txt ||
  fail "a missing help page went unreported"
grep -q '^open:' out.txt && fail "opened a help page from outside the moved tree: $(grep '^open:' out.txt)"
[ "$(grep -c '^message:' out.txt)" = 2 ] || fail "expected two messages: $(cat out.txt)"
echo "the $mode tree finds its data in $prefix"
