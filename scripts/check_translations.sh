#!/usr/bin/env bash
# Fails when the English catalogue lacks a text of the window or of the
# devices: lupdate run over the Qt layer into a scratch copy must find no new
# or unfinished message, and none that the sources no longer have.
# Usage: check_translations.sh [lupdate]
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${1:-/usr/lib/qt6/bin/lupdate}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp translations/kinemo_en.ts "$scratch/kinemo_en.ts"
"$lupdate" -locations none -source-language fr -target-language en src/platform/qt src/dialogs \
  -ts "$scratch/kinemo_en.ts" >/dev/null
if grep -q 'type="\(unfinished\|vanished\|obsolete\)"' "$scratch/kinemo_en.ts"; then
  echo "translations/kinemo_en.ts is not complete (cmake --build <dir> --target update_translations, then translate):"
  grep -B2 'type="\(unfinished\|vanished\|obsolete\)"' "$scratch/kinemo_en.ts" | grep '<source>' || true
  exit 1
fi
# The window looks texts up in these two contexts only (Tr, DeviceTr): tr() in
# a class of ours, which has no Q_OBJECT, asks its Qt base's context at run
# time, so lupdate's context of the class name is never shown.
others=$(grep -o '<name>[^<]*</name>' "$scratch/kinemo_en.ts" | grep -v '<name>\(Kinemo\|Devices\)</name>' || true)
if [ -n "$others" ]; then
  echo "texts outside the contexts Kinemo and Devices (use Tr(QT_TRANSLATE_NOOP(\"Kinemo\", ...)), not tr()):"
  echo "$others"
  exit 1
fi
echo "translations/kinemo_en.ts: every text translated"
