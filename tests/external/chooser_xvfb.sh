#!/usr/bin/env bash
# The chooser in real windows on a virtual X display: the Qt tests of the
# chooser (a folder opened by double-click, a file taken with Select, the
# folder mode's window) run against the xcb platform instead of offscreen,
# and leave their screenshots in the build folder (chooser_*.png).
#
# Usage: chooser_xvfb.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb, or the Qt tests not built).
set -uo pipefail

build=${TAVOLEX_BUILD_DIR:-${1:-}}
[ -n "$build" ] || { echo "usage: $0 BUILD_DIR" >&2; exit 1; }
build=$(cd "$build" && pwd)
tests=$build/tests/tests_qt
command -v Xvfb > /dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
[ -x "$tests" ] || { echo "SKIP: $tests is not built"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tavolex-chooser.XXXXXX")
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2> /dev/null; then
    kill "$xvfb_pid" 2> /dev/null
    wait "$xvfb_pid" 2> /dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
  number=$(tr -dc '0-9' < "$work/display")
  [ -n "$number" ] && { display=":$number"; break; }
  kill -0 "$xvfb_pid" 2> /dev/null || break
  sleep 0.1
done
[ -n "$display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }

rm -f "$build"/chooser_*.png
DISPLAY=$display QT_QPA_PLATFORM=xcb HOME=$work XDG_RUNTIME_DIR=$work TAVOLEX_SCREENSHOT_DIR=$build \
  "$tests" --gtest_filter='ChooserWindow.*' || { echo "FAIL: the chooser tests failed on X" >&2; exit 1; }
for shot in chooser_file_mode.png chooser_folder_mode.png; do
  [ -s "$build/$shot" ] || { echo "FAIL: no screenshot $shot" >&2; exit 1; }
  echo "screenshot $build/$shot"
done
echo "PASS"
