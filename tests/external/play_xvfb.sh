#!/usr/bin/env bash
# The player of the real program on a virtual X display:
#   1. a Presentation written by --build: `--play` shows the window
#      "Tavolex 1.1 - Presentation Menu" in front of a blank backdrop; a
#      click on its first line shows its sheet full screen without the
#      backdrop, Esc brings menu and backdrop back, Ctrl+Click on it prints
#      the sheet (to a PDF through TAVOLEX_PRINT_TO_PDF: its cells' texts in
#      order), "Print the Presentation" prints both sheet lines, and "Exit"
#      ends with status 0, the Presentation unchanged;
#   2. a workbook that is no Presentation: a box (title "Tavolex") and the
#      reason on standard error, then status 2.
# Screenshots land in the build folder (play_xvfb_*.png).
#
# Usage: play_xvfb.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool, or no program).
set -uo pipefail

needs="xdotool" scratch=tavolex-play
# shellcheck source=lib/player_check.sh
. "$(dirname "$0")/lib/player_check.sh"

# Waits at most 20 s for the program to end; leaves its exit status in $status.
wait_end() {
  for _ in $(seq 1 100); do
    if ! kill -0 "$app_pid" 2> /dev/null; then
      wait "$app_pid"
      status=$?
      app_pid=""
      return 0
    fi
    sleep 0.2
  done
  fail "the program did not end"
}

# How many windows of the program the backdrop's size (768 x 576 points,
# 1024 x 768 pixels) are on screen.
backdrops() {
  local id count=0
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2> /dev/null); do
    xdotool getwindowgeometry "$id" 2> /dev/null | grep -q "Geometry: 1024x768" && count=$((count + 1))
  done
  echo "$count"
}

folder="$work/Presentations"
mkdir -p "$folder"
cp "$samples/budget.xls" "$samples/formatted.xls" "$folder/"
"$store" create "$folder" > /dev/null || fail "no base workbook"
"$store" add "$folder" 1 "Review" "Quarterly report" 100 "" "$folder/formatted.xls" Report Report "" "" || fail "no line"
"$store" add "$folder" 2 "Review" "Totals" 200 "" "$folder/budget.xls" Summary Totals "" "" || fail "no line"
build_presentation "$folder" Review
before=$(sha256sum "$presentation")

start_display

# 1. The menu, a sheet line, back, printing, Exit.
TAVOLEX_PRINT_TO_PDF="$work/print.pdf" "$program" --play "$presentation" > "$work/app.log" 2>&1 &
app_pid=$!
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
sleep 0.5
shot play_xvfb_menu.png
[ "$(backdrops)" = 1 ] || fail "no backdrop behind the menu"
xdotool mousemove --window "$menu" 120 115 click 1   # the first line
sheet=$(wait_for_title "Tavolex 1.1 - Quarterly report" "$app_pid") || exit 1
sleep 0.5
shot play_xvfb_sheet.png
[ "$(backdrops)" = 0 ] || fail "the backdrop stayed up under the sheet"
press_in "$sheet" Escape
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
sleep 0.3
[ "$(backdrops)" = 1 ] || fail "no backdrop behind the menu after the sheet"
# Ctrl+Click prints the line's sheet on its page setup.
xdotool mousemove --window "$menu" 120 115 keydown ctrl click 1 keyup ctrl
for _ in $(seq 1 50); do [ -s "$work/print.pdf" ] && break; sleep 0.2; done
sleep 0.5
[ -s "$work/print.pdf" ] || fail "Ctrl+Click printed nothing"
if command -v pdftotext > /dev/null; then
  printed=$(pdftotext -layout "$work/print.pdf" - | tr -s ' \n' ' ')
  case $printed in
    *"Quarterly report"*Region*Q1*North*"1,250.50 €"*Total*"09/12/2025"*) ;;
    *) fail "the printed sheet does not hold its cells in order: $printed" ;;
  esac
fi
# "Print the Presentation": both sheet lines, one job each.
xdotool mousemove --window "$menu" 560 429 click 1
for _ in $(seq 1 50); do [ -s "$work/print-3.pdf" ] && break; sleep 0.2; done
sleep 0.5
[ -s "$work/print-2.pdf" ] && [ -s "$work/print-3.pdf" ] || fail "Print the Presentation printed $(ls "$work" | grep -c '^print')/3 jobs"
echo "ok: Ctrl+Click and Print the Presentation print the sheets"
xdotool mousemove --window "$menu" 240 429 click 1   # Exit
wait_end
[ "$status" = 0 ] || fail "--play ended with status $status"
[ "$(sha256sum "$presentation")" = "$before" ] || fail "the Presentation was changed"
echo "ok: menu shown in front of its backdrop, a sheet shown without it and left with Esc, Exit ends with 0"

# 2. No Presentation.
"$program" --play "$folder/formatted.xls" > "$work/app.log" 2>&1 &
app_pid=$!
box=$(wait_for_title "Tavolex" "$app_pid") || exit 1
shot play_xvfb_not_presentation.png
press_in "$box" Return
wait_end
[ "$status" = 2 ] || fail "a workbook that is no Presentation ended with status $status"
grep -q "is not a Tavolex Presentation" "$work/app.log" || fail "no reason given: $(cat "$work/app.log")"
echo "ok: no Presentation, status 2 with the reason"
