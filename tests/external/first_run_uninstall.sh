#!/usr/bin/env bash
# The first run and Uninstall of the real program on a virtual X display,
# with its own home and desktop folder:
#   1. twice: no argument, Yes, the chooser, the launcher's message, the
#      help window; the first time the chooser's Select takes the program's
#      own folder (spaces, non-ASCII letters), the second time a new folder
#      is made in it whose name holds quotes, "$" and "%": one launcher on
#      the desktop, for the new folder, which desktop-file-validate accepts,
#      and the "Tavolex Player" entry among the user's applications for
#      .xls files (validated too), no default program set (no mimeapps.list);
#   2. the launcher started the way desktops start it (gio launch): the
#      program comes up on that folder and makes its base workbook there;
#   3. Ctrl+Alt+click on Uninstall, Yes: the program ends, the launcher, the
#      player's entry and
#      the base workbook (with its lock) are gone at once, the program file
#      about a second later, and every other file stays.
# Usage: first_run_uninstall.sh [BUILD_DIR]   (or TAVOLEX_BUILD_DIR=...)
# Exit 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool, or no program).
set -uo pipefail

build=${TAVOLEX_BUILD_DIR:-${1:-}}
[ -n "$build" ] || { echo "usage: $0 BUILD_DIR" >&2; exit 1; }
build=$(cd "$build" && pwd)
for tool in Xvfb xdotool; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x "$build/src/Tavolex" ] || { echo "SKIP: the program is not built"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tavolex-firstrun.XXXXXX")
app_pid=""
. "$(dirname "$0")/lib/display.sh"
trap end_check EXIT

start_display
export HOME=$work/home
export XDG_DESKTOP_DIR=$HOME/Desktop
export XDG_CONFIG_HOME=$HOME/.config
export XDG_RUNTIME_DIR=$work/runtime
export TAVOLEX_OPEN_COMMAND=/bin/true
export QT_QPA_PLATFORM=xcb
# No session bus: nothing may start one for us.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
unset XDG_CURRENT_DESKTOP TAVOLEX_PRINT_TO_PDF XDG_DATA_HOME
mkdir -p "$XDG_DESKTOP_DIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# A copy of the program in a folder with spaces and non-ASCII letters: the
# chooser starts there. (A "%" in the program's own path is something GLib's
# launcher loader does not take, so the awkward characters go in the data
# folder's name.)
programs="$work/Prä sentation"
mkdir -p "$programs"
cp "$build/src/Tavolex" "$programs/Tavolex"
program="$programs/Tavolex"
name="Q1 'it' \$HOME %u"
folder="$programs/$name"
launcher="$XDG_DESKTOP_DIR/Tavolex 1.1.desktop"
player_entry="$HOME/.local/share/applications/tavolex-player.desktop"

# $1 = select: take the start folder; create: make the folder $name there.
first_run() {
  "$program" > "$work/app.log" 2>&1 &
  app_pid=$!
  press_in "$(wait_for_title "Tavolex 1.1" "$app_pid")" Return  # Yes: make the shortcut
  chooser=$(wait_for_title "Select a folder or create new" "$app_pid")
  if [ "$1" = select ]; then
    press_in "$chooser" Return  # Select has the focus
  else
    # "Create a new folder" is 114.75 x 18.75 points at 48, 258: its middle is at 141, 357 pixels.
    xdotool mousemove --window "$chooser" 141 357 click 1
    input=$(wait_for_title "Tavolex" "$app_pid")
    xdotool windowfocus "$input" 2> /dev/null
    sleep 0.2
    xdotool type --delay 20 "$name"
    xdotool key Return
    sleep 0.5
    press_in "$(wait_for_title "Tavolex" "$app_pid")" Return  # Yes: create it
  fi
  press_in "$(wait_for_title "Tavolex" "$app_pid")" Return  # the launcher's message
  wait_for_title "Tavolex 1.1  Tutorial" "$app_pid" > /dev/null
  kill "$app_pid" 2> /dev/null
  wait "$app_pid" 2> /dev/null
  app_pid=""
}

first_run select
[ -f "$launcher" ] || fail "no launcher after the first run"
first_run create
[ -d "$folder" ] || fail "the chooser made no folder \"$name\""
count=$(find "$XDG_DESKTOP_DIR" -mindepth 1 | wc -l)
[ "$count" = 1 ] || fail "$count files on the desktop after two first runs: $(ls -A "$XDG_DESKTOP_DIR")"
[ -x "$launcher" ] || fail "the launcher is not executable"
echo "two first runs: one launcher"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$launcher" || fail "desktop-file-validate rejects the launcher"
  echo "desktop-file-validate accepts it"
else
  echo "desktop-file-validate is not installed: not checked"
fi
[ -f "$player_entry" ] || fail "no Tavolex Player entry after the first run"
grep -qx 'MimeType=application/vnd.ms-excel;' "$player_entry" || fail "the player's entry offers no .xls: $(cat "$player_entry")"
grep -q -- '"--play" %f$' "$player_entry" || fail "the player's entry does not start --play: $(cat "$player_entry")"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$player_entry" || fail "desktop-file-validate rejects the player's entry"
fi
[ -z "$(find "$HOME" -name mimeapps.list)" ] || fail "a default program was set: $(find "$HOME" -name mimeapps.list)"
echo "the Tavolex Player entry offers .xls files, no default set"

# --- 2. the launcher, started as a desktop starts it -------------------------------
if command -v gio > /dev/null; then
  gio launch "$launcher" > "$work/app.log" 2>&1 || fail "gio launch failed"
  box=$(wait_for_title "Tavolex" "$$")
  app_pid=$(xdotool getwindowpid "$box")
  echo "the launcher started the program (gio launch)"
else
  "$program" "$folder/" > "$work/app.log" 2>&1 &
  app_pid=$!
  box=$(wait_for_title "Tavolex" "$app_pid")
  echo "gio is not installed: the program started directly"
fi
[ -f "$folder/BasePresentation.xls" ] || fail "no base workbook in the launcher's folder"
press_in "$box" Return
main=$(wait_for_title "Tavolex 1.1" "$app_pid")
echo "keep me" > "$folder/notes.txt"
echo "the launcher's folder came back to start-up: base workbook made, main window shown"

# --- 3. Uninstall --------------------------------------------------------------------
# Uninstall is 100 x 30 points at 72, 366: its middle is at 163, 508 pixels.
xdotool windowfocus "$main" 2> /dev/null
sleep 0.2
xdotool mousemove --window "$main" 163 508 keydown ctrl keydown alt click 1 keyup alt keyup ctrl
press_in "$(wait_for_title "Tavolex" "$app_pid")" Return  # Yes is the default
# Ended: gone, or a zombie (the launcher's program is no child of ours,
# and whoever adopted it may reap it late).
running() { [ "$(awk '{print $3}' "/proc/$1/stat" 2> /dev/null)" != "" ] && [ "$(awk '{print $3}' "/proc/$1/stat" 2> /dev/null)" != Z ]; }
for _ in $(seq 1 100); do
  running "$app_pid" || break
  sleep 0.05
done
running "$app_pid" && fail "the program still runs after Uninstall"
app_pid=""
ended=$(date +%s%N)
[ -e "$program" ] || fail "the program file went before the second was over"
[ -e "$launcher" ] && fail "the launcher is still there"
[ -e "$player_entry" ] && fail "the player's entry is still there"
[ -e "$folder/BasePresentation.xls" ] && fail "the base workbook is still there"
[ -e "$folder/.BasePresentation.xls.tavolex-lock" ] && fail "the lock file is still there"
for _ in $(seq 1 40); do
  [ -e "$program" ] || break
  sleep 0.1
done
[ -e "$program" ] && fail "the program file is still there 4 s after the end"
gone_ms=$(( ($(date +%s%N) - ended) / 1000000 ))
[ -f "$folder/notes.txt" ] || fail "another file of the data folder went too"
echo "Uninstall: launcher, player entry and base workbook gone at once, the program file ${gone_ms} ms after the end, notes.txt kept"
echo "PASS"
