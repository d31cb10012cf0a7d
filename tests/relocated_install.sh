#!/usr/bin/env bash
# An installed tree moved to another folder still finds its pictures and help
# page beside the program, and never falls back to the build or source tree:
# with a file missing from the moved tree the program says so.
# Usage: relocated_install.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$cmake" --install "$build" --prefix "$tmp/installed" >/dev/null
mv "$tmp/installed" "$tmp/moved"
prefix=$tmp/moved
mkdir "$tmp/work"
cd "$tmp/work" # no pictures in the working directory

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

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
grep -qF "message: Error: Cannot open file \"$prefix/share/kinemo/help/index.html\"" out.txt ||
  fail "a missing help page went unreported"
grep -q '^open:' out.txt && fail "opened a help page from outside the moved tree: $(grep '^open:' out.txt)"
grep -c '^message:' out.txt | grep -qx 2 || fail "expected two messages: $(cat out.txt)"
echo "moved install finds its data: $prefix"
