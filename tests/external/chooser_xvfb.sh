#!/usr/bin/env bash
# The chooser in real windows on a virtual X display: the Qt tests of the
# chooser (a folder opened by double-click, a file taken with Select, the
# folder mode's window) and of the line editor (its file box opens the
# chooser, the chosen document is probed) run against the xcb platform
# instead of offscreen, and leave their screenshots in the build folder
# (chooser_*.png, line_editor_*.png).
#
# Usage: chooser_xvfb.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb, or the Qt tests not built).
set -uo pipefail

needs="" built="tests/tests_qt" scratch=tavolex-chooser
# shellcheck source=lib/player_check.sh
. "$(dirname "$0")/lib/player_check.sh"
tests=$build/tests/tests_qt
start_display

rm -f "$build"/chooser_*.png "$build"/line_editor_*.png
QT_QPA_PLATFORM=xcb HOME=$work XDG_RUNTIME_DIR=$work TAVOLEX_SCREENSHOT_DIR=$build \
  "$tests" --gtest_filter='ChooserWindow.*:LineEditorWindow.*' || fail "the chooser tests failed on X"
for shot in chooser_file_mode.png chooser_folder_mode.png line_editor_chooser.png line_editor_probe.png; do
  [ -s "$build/$shot" ] || fail "no screenshot $shot"
  echo "screenshot $build/$shot"
done
echo "PASS"
