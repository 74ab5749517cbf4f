#!/usr/bin/env bash
# Create the Presentation in the real program on a virtual X display: the
# main window lists a small group (a workbook sheet and a Word document),
# a click selects it, Create the Presentation asks for the version and the
# password, builds, and shows its report while the button is green "OK"
# (a pixel of the screenshot beside the box); the Presentation is then on
# disk with its sheets. OK starts the player on it, a program of its own
# (`Tavolex --play "<Presentation>"`, whose menu then shows), and ends the
# program; the desktop's opener (one that only notes it here) is not used. The screenshot of the report lands
# in the build folder (create_report.png, path printed).
# Usage: create_xvfb.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool, or no program).
set -uo pipefail

needs="xdotool" scratch=tavolex-create
# shellcheck source=lib/player_check.sh
. "$(dirname "$0")/lib/player_check.sh"

start_display
export HOME=$work/home
export XDG_RUNTIME_DIR=$work/runtime
# The desktop's opener: one that notes what it was given.
printf '#!/bin/sh\nprintf "%%s\\n" "$1" > "%s/opened"\n' "$work" > "$work/opener"
chmod +x "$work/opener"
export TAVOLEX_OPEN_COMMAND=$work/opener
export QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

data="$work/data folder"
mkdir -p "$data"
cp "$samples/budget.xls" "$samples/memo.doc" "$data/"
group="Xvfb group"
"$store" create "$data" > /dev/null || fail "no base workbook"
"$store" add "$data" 1 "$group" "Totals" 100 "" "$data/budget.xls" Summary Totals "" "" > /dev/null || fail "no line"
"$store" add "$data" 2 "$group" "Memo" 200 "" "$data/memo.doc" "" "" 1 1 > /dev/null || fail "no line"
presentation="$data/$group - 1.xls"

# Waits until the window $1 is gone, at most 10 s.
wait_gone() {
  for _ in $(seq 1 50); do
    xdotool getwindowname "$1" > /dev/null 2>&1 || return 0
    xdotool search --onlyvisible --name "." 2> /dev/null | grep -qx "$1" || return 0
    sleep 0.2
  done
  fail "the window \"$(xdotool getwindowname "$1")\" is still open"
}
answer() {  # types $2 into the input box $1 and confirms it
  xdotool windowfocus "$1" 2> /dev/null
  sleep 0.2
  [ -n "$2" ] && xdotool type --delay 20 "$2"
  xdotool key Return
  wait_gone "$1"
}

"$program" "$data" > "$work/app.log" 2>&1 &
app_pid=$!
main=$(wait_for_title "Tavolex 1.1" "$app_pid") || exit 1
# The group list (ListBox1 at 73.3, 90 points): its first row near 123, 98
# points, 164, 131 pixels. Create the Presentation (100 x 30 points at 432,
# 210): its middle at 643, 300 pixels.
xdotool mousemove --window "$main" 164 131 click 1
sleep 0.3
xdotool mousemove --window "$main" 643 300 click 1
answer "$(wait_for_title "Tavolex" "$app_pid")" 1  # the version
answer "$(wait_for_title "Tavolex" "$app_pid")" ""  # no password
report=$(wait_for_title "Tavolex" "$app_pid") || exit 1
[ -f "$presentation" ] || fail "the report is up but \"$presentation\" is missing"
if command -v import > /dev/null; then
  sleep 0.3  # let the box paint
  import -display "$DISPLAY" -window root "$build/create_report.png" || fail "no screenshot"
  echo "screenshot $build/create_report.png"
  # The right end of the button (x 576 to 709 pixels, y 280 to 320 in the
  # window, which opens centred on the screen), beside the box: green.
  eval "$(xdotool getwindowgeometry --shell "$main")"
  pixel=$(convert "$build/create_report.png" -crop "1x1+$((X + 700))+$((Y + 300))" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
  read -r red green blue <<< "$pixel"
  [ "$green" -gt 200 ] && [ "$red" -lt 160 ] && [ "$blue" -lt 160 ] \
    || fail "the Create button is not green while the report is up (pixel $pixel)"
  echo "the button is green (pixel $pixel) while the report is up"
fi
"$store" dump "$presentation" > "$work/dump.txt" 2>&1 || fail "our reader cannot read the Presentation"
grep -q "^worksheet Totals" "$work/dump.txt" || fail "no sheet Totals in the Presentation: $(head -5 "$work/dump.txt")"
echo "Create: the report is shown and \"$group - 1.xls\" is written with its sheets"

press_in "$report" Return
for _ in $(seq 1 50); do
  kill -0 "$app_pid" 2> /dev/null || break
  sleep 0.2
done
kill -0 "$app_pid" 2> /dev/null && fail "the program still runs 10 s after the report"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "the program ended with status $status"
# The player outlives the program: its menu shows, started on the Presentation.
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$$") || exit 1
app_pid=$(xdotool getwindowpid "$menu")
mapfile -d '' player_args < "/proc/$app_pid/cmdline"
[ "${player_args[1]:-}" = "--play" ] && [ "${player_args[2]:-}" = "$presentation" ] \
  || fail "the player was started as: ${player_args[*]}"
[ -e "$work/opened" ] && fail "the desktop's opener was started too"
echo "OK on the report starts the player on the Presentation and ends the program (status 0)"
xdotool mousemove --window "$menu" 240 429 click 1   # the menu's Exit
for _ in $(seq 1 50); do
  kill -0 "$app_pid" 2> /dev/null || break
  sleep 0.2
done
kill -0 "$app_pid" 2> /dev/null && fail "the player still runs after its Exit"
app_pid=""
echo "PASS"
