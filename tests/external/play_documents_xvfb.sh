#!/usr/bin/env bash
# The player's document lines in the real program on a virtual X display:
# a Presentation with a Word line (pages 2 to 3 of the five-page report) and
# a PowerPoint line (slides 2 to 6 of the seven-slide deck). `--play` shows
# the menu; Enter on the Word line lays it out with LibreOffice and shows it
# full screen ("Tavolex 1.1 - The report"), from a private copy (folder 0700,
# files 0600); Esc brings the menu back; the deck line shows as a slide show,
# Right moves on, Alt+F4 brings the menu back; Ctrl+Click on the Word line
# prints its two pages (to a PDF through TAVOLEX_PRINT_TO_PDF); Exit ends with status 0 and
# the private copies are gone. Screenshots land in the build folder
# (play_documents_*.png).
#
# Usage: play_documents_xvfb.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool, LibreOffice or program).
set -uo pipefail

needs="xdotool soffice" scratch=tavolex-play-docs
# shellcheck source=lib/player_check.sh
. "$(dirname "$0")/lib/player_check.sh"

# A first layout by LibreOffice takes seconds: waits at most 90 s.
wait_long() {
  local title=$1 id name
  for _ in $(seq 1 450); do
    for id in $(xdotool search --onlyvisible --name "." 2> /dev/null); do
      name=$(xdotool getwindowname "$id" 2> /dev/null)
      [ "$name" = "$title" ] && { echo "$id"; return 0; }
    done
    kill -0 "$app_pid" 2> /dev/null || fail "the program ended before a window \"$title\" appeared"
    sleep 0.2
  done
  fail "no window \"$title\" within 90 s"
}

# The menu stays under a document's window: it is back when that window is gone.
wait_gone() {
  local title=$1 id
  for _ in $(seq 1 50); do
    local found=""
    for id in $(xdotool search --onlyvisible --name "." 2> /dev/null); do
      [ "$(xdotool getwindowname "$id" 2> /dev/null)" = "$title" ] && found=$id
    done
    [ -z "$found" ] && return 0
    sleep 0.2
  done
  fail "the window \"$title\" is still shown"
}

folder="$work/Presentations"
mkdir -p "$folder" "$work/tmp"
cp "$samples/report.doc" "$samples/deck.ppt" "$folder/"
"$store" create "$folder" > /dev/null || fail "no base workbook"
"$store" add "$folder" 1 "Docs" "The report" 100 "" "$folder/report.doc" "" "" 2 3 || fail "no line"
"$store" add "$folder" 2 "Docs" "The deck" 200 "" "$folder/deck.ppt" "" "" 2 6 || fail "no line"
build_presentation "$folder" Docs

start_display

TAVOLEX_PRINT_TO_PDF="$work/print.pdf" TMPDIR="$work/tmp" "$program" --play "$presentation" > "$work/app.log" 2>&1 &
app_pid=$!
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
sleep 0.5
clicked=$(date +%s%N)
xdotool mousemove --window "$menu" 120 115 click 1   # the first line: the report
report=$(wait_long "Tavolex 1.1 - The report") || exit 1
echo "the report shown $(( ($(date +%s%N) - clicked) / 1000000 )) ms after the click (menu shown 0.5 s before)"
sleep 1
shot play_documents_report.png
pdf=$(find "$work/tmp" -name report.pdf | head -1)
[ -n "$pdf" ] || fail "no layout of the report in the private folder"
[ "$(stat -c %a "$pdf")" = 600 ] || fail "the layout is not private: $(stat -c %a "$pdf")"
[ "$(stat -c %a "$(dirname "$(dirname "$(dirname "$pdf")")")")" = 700 ] || fail "the private folder is not 0700"
press_in "$report" Escape
wait_gone "Tavolex 1.1 - The report"
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
sleep 0.5
shot play_documents_menu_again.png
echo "ok: the Word line shown full screen from a private layout, Esc back to the menu"

press_in "$menu" Down
xdotool key Return
deck=$(wait_long "Tavolex 1.1 - The deck") || exit 1
sleep 1
shot play_documents_slide2.png
press_in "$deck" Right
sleep 0.5
shot play_documents_slide3.png
cmp -s "$build/play_documents_slide2.png" "$build/play_documents_slide3.png" 2> /dev/null \
  && fail "Right did not move to the next slide"
press_in "$deck" alt+F4
wait_gone "Tavolex 1.1 - The deck"
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
echo "ok: the PowerPoint line as a slide show, Right moves on, Alt+F4 back to the menu"

sleep 0.3
# Ctrl+Click prints the Word line's range, and only that.
xdotool mousemove --window "$menu" 120 115 keydown ctrl click 1 keyup ctrl
for _ in $(seq 1 150); do [ -s "$work/print.pdf" ] && break; sleep 0.2; done
sleep 0.5
[ -s "$work/print.pdf" ] || fail "Ctrl+Click on the Word line printed nothing"
if command -v pdfinfo > /dev/null; then
  pages=$(pdfinfo "$work/print.pdf" | awk '/^Pages:/ {print $2}')
  [ "$pages" = 2 ] || fail "the Word line printed $pages pages, not its 2"
fi
echo "ok: Ctrl+Click prints the Word line's two pages"

xdotool mousemove --window "$menu" 240 429 click 1   # Exit
for _ in $(seq 1 100); do kill -0 "$app_pid" 2> /dev/null || break; sleep 0.2; done
kill -0 "$app_pid" 2> /dev/null && fail "the program did not end"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "--play ended with status $status"
left=$(find "$work/tmp" -maxdepth 1 -name 'tavolex-player-*')
[ -z "$left" ] || fail "private copies left behind: $left"
echo "ok: Exit ends with 0 and the private copies are gone"
