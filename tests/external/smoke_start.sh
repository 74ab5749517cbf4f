#!/usr/bin/env bash
# Starts the real program on a virtual X display and checks its first windows:
#   1. a fresh data folder: the base workbook is made and the box
#      "The Excel file ==> ... has been created!" (title "Tavolex") comes up;
#      after OK the main window "Tavolex 1.1" follows;
#   2. the same folder again: the main window "Tavolex 1.1" comes first, and
#      its Exit button ends the program;
#   3. New on a fresh folder opens the line editor, its file box opens the
#      chooser, a document is taken and probed, the line is saved, and Exit
#      brings the main window back;
#   4. no argument: the first-run question box titled "Tavolex 1.1".
# Screenshots of each land in the build folder (smoke_start_*.png).
#
# Usage: smoke_start.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool, or no program).
set -uo pipefail

build=${TAVOLEX_BUILD_DIR:-${1:-}}
if [ -z "$build" ]; then
  echo "usage: $0 BUILD_DIR (or set TAVOLEX_BUILD_DIR)" >&2
  exit 1
fi
build=$(cd "$build" && pwd)
program=$build/src/Tavolex

for tool in Xvfb xdotool; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x "$program" ] || { echo "SKIP: $program is not built"; exit 77; }
have_import=1
command -v import > /dev/null || have_import=0

work=$(mktemp -d "${TMPDIR:-/tmp}/tavolex-smoke.XXXXXX")
xvfb_pid=""
app_pid=""

cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2> /dev/null; then
    kill "$app_pid" 2> /dev/null
    wait "$app_pid" 2> /dev/null
  fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2> /dev/null; then
    kill "$xvfb_pid" 2> /dev/null
    wait "$xvfb_pid" 2> /dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/app.log" ]; then
    echo "--- program output" >&2
    tail -30 "$work/app.log" >&2
  fi
  exit 1
}

# --- a display of our own -------------------------------------------------------
# Xvfb picks a free display number itself and writes it once it accepts
# connections, so runs at the same moment never share a display. -noreset:
# the server must not restart (refusing connections meanwhile) each time the
# program of one check ends before the next one starts.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
  number=$(tr -dc '0-9' < "$work/display")
  if [ -n "$number" ]; then
    display=":$number"
    break
  fi
  kill -0 "$xvfb_pid" 2> /dev/null || break
  sleep 0.1
done
[ -n "$display" ] || fail "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
export DISPLAY=$display
echo "display $DISPLAY (Xvfb pid $xvfb_pid)"

# The program must touch nothing outside the test: its own home, desktop and
# runtime folder, and a harmless opener instead of the desktop's.
export HOME=$work/home
export XDG_DESKTOP_DIR=$HOME/Desktop
export XDG_RUNTIME_DIR=$work/runtime
export TAVOLEX_OPEN_COMMAND=/bin/true
export QT_QPA_PLATFORM=xcb
unset TAVOLEX_PRINT_TO_PDF
mkdir -p "$XDG_DESKTOP_DIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# --- helpers --------------------------------------------------------------------
start_program() {
  "$program" "$@" > "$work/app.log" 2>&1 &
  app_pid=$!
}

stop_program() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2> /dev/null; then
    kill "$app_pid" 2> /dev/null
    wait "$app_pid" 2> /dev/null
  fi
  app_pid=""
}

# Prints the id of the visible window whose title is exactly $1, waiting at
# most 20 s; fails when the program ends or the time is up.
wait_for_window() {
  local title=$1 id name
  for _ in $(seq 1 100); do
    for id in $(xdotool search --onlyvisible --name "Tavolex" 2> /dev/null); do
      name=$(xdotool getwindowname "$id" 2> /dev/null)
      if [ "$name" = "$title" ]; then
        echo "$id"
        return 0
      fi
    done
    kill -0 "$app_pid" 2> /dev/null || fail "the program ended before a window \"$title\" appeared"
    sleep 0.2
  done
  local shown
  shown=$(for id in $(xdotool search --onlyvisible --name "." 2> /dev/null); do xdotool getwindowname "$id"; done | tr '\n' '|')
  fail "no window \"$title\" within 20 s (visible: $shown)"
}

screenshot() {
  [ "$have_import" = 1 ] || return 0
  sleep 0.3  # let the window paint
  import -display "$DISPLAY" -window root "$build/$1" || fail "screenshot $1"
  echo "screenshot $build/$1"
}

# No window manager runs: focus the window directly, then type into it.
press_return_in() {
  xdotool windowfocus "$1" 2> /dev/null
  sleep 0.2
  xdotool key Return
}

# --- 1. a fresh data folder --------------------------------------------------------
data="$work/data folder"
mkdir -p "$data"
start_program "$data"
box=$(wait_for_window "Tavolex") || exit 1
[ -f "$data/BasePresentation.xls" ] || fail "the box is up but $data/BasePresentation.xls is missing"
screenshot smoke_start_created.png
echo "fresh folder: box \"Tavolex\" shown, BasePresentation.xls created"
press_return_in "$box"
wait_for_window "Tavolex 1.1" > /dev/null || exit 1
echo "fresh folder: main window follows the box"
stop_program

# --- 2. the same folder again, left by its Exit button ------------------------------
start_program "$data"
main=$(wait_for_window "Tavolex 1.1") || exit 1
for id in $(xdotool search --onlyvisible --name "^Tavolex$" 2> /dev/null); do
  fail "a message box came up before the main window"
done
screenshot smoke_start_main.png
echo "existing folder: main window \"Tavolex 1.1\" comes first"
# Exit is 100 x 30 points at 432, 312: its middle is at 643, 436 pixels.
xdotool mousemove --window "$main" 643 436 click 1
for _ in $(seq 1 50); do
  kill -0 "$app_pid" 2> /dev/null || break
  sleep 0.2
done
kill -0 "$app_pid" 2> /dev/null && fail "the program still runs 10 s after Exit was clicked"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "the program ended with status $status after Exit"
echo "existing folder: Exit ends the program (status 0)"

# --- 3. New opens the line editor; a line is saved; Exit brings back the list -------
# Both windows are titled "Tavolex 1.1": they differ in size (the editor is
# 560 x 440 points, 747 x 587 pixels).
window_width() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'; }
fresh="$work/fresh folder"
mkdir -p "$fresh"
cp "$(dirname "$0")/../data/memo.doc" "$fresh/memo.doc"
start_program "$fresh"
box=$(wait_for_window "Tavolex") || exit 1
press_return_in "$box"
main=$(wait_for_window "Tavolex 1.1") || exit 1
# New: 100 x 30 points at 432, 90, its middle at 643, 140 pixels.
xdotool mousemove --window "$main" 643 140 click 1
prompt=$(wait_for_window "Tavolex") || exit 1
xdotool windowfocus "$prompt"; sleep 0.2
xdotool type --delay 20 "Fresh group"; xdotool key Return
editor=""
for _ in $(seq 1 50); do
  for id in $(xdotool search --onlyvisible --name "^Tavolex 1.1$" 2> /dev/null); do
    [ "$(window_width "$id")" = 747 ] && editor=$id
  done
  [ -n "$editor" ] && break
  sleep 0.2
done
[ -n "$editor" ] || fail "the line editor did not open after New"
# Insert new line (424, 30 points, 124 x 26): middle at 648, 57 pixels.
xdotool mousemove --window "$editor" 648 57 click 1; sleep 0.5
screenshot smoke_start_editor.png
echo "New: the line editor opens with its fields"
# The file box (TextBox1 at 6, 56 in Frame3 at 12, 188): a click opens the
# chooser "Find:" in the data folder.
xdotool mousemove --window "$editor" 100 342 click 1
chooser=""
for _ in $(seq 1 50); do
  chooser=$(xdotool search --onlyvisible --name "^Find:$" 2> /dev/null | head -1)
  [ -n "$chooser" ] && break
  sleep 0.2
done
[ -n "$chooser" ] || fail "the file box did not open the chooser"
screenshot smoke_start_chooser.png
# The file list (File1 at 198, 54 points): a click on its first row gives it
# the focus, "m" jumps to memo.doc and Enter takes it, as Select does.
xdotool mousemove --window "$chooser" 304 82 click 1; sleep 0.3
xdotool key m; sleep 0.2; xdotool key Return; sleep 1
xdotool search --onlyvisible --name "^Find:$" > /dev/null 2>&1 && fail "the chooser is still open after Enter on memo.doc"
screenshot smoke_start_probed.png
echo "the file box opens the chooser; memo.doc is taken and probed"
# The sort number (TextBox4 at 332, 18 in Frame3): type it, then Save (442, 56).
xdotool mousemove --window "$editor" 488 294 click 1; sleep 0.2
xdotool type --delay 20 "120"; sleep 0.2
xdotool mousemove --window "$editor" 684 343 click 1
question=$(wait_for_window "Tavolex") || exit 1
xdotool windowfocus "$question"; sleep 0.2
xdotool key shift+Tab space  # from the default No to Yes
sleep 1.5
# Exit (424, 138 points): middle at 648, 201 pixels.
xdotool mousemove --window "$editor" 648 201 click 1
sleep 1
main=""
for id in $(xdotool search --onlyvisible --name "^Tavolex 1.1$" 2> /dev/null); do
  [ "$(window_width "$id")" = 1018 ] && main=$id
done
[ -n "$main" ] || fail "the main window did not come back after Exit"
screenshot smoke_start_back.png
"$build/tests/tavolex_store_tool" list "$fresh" 2> /dev/null | grep -qx "Fresh group" \
  || fail "the saved line's group is not in the store"
echo "Exit: the main window is back and the new group is stored"
stop_program

# --- 4. no argument: the first run -----------------------------------------------
start_program
wait_for_window "Tavolex 1.1" > /dev/null || exit 1
screenshot smoke_start_firstrun.png
echo "no argument: first-run question \"Tavolex 1.1\" shown"
stop_program

echo "PASS"
exit 0
