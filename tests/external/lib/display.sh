# Shared by the external checks that need windows: a virtual X display of
# their own, and waiting for the program's windows. Source it; it sets
# DISPLAY and leaves the Xvfb pid in xvfb_pid. Needs $work (a scratch folder).
# A check sets app_pid to the program it starts and ends with `trap end_check EXIT`.

# Ends the check with the reason, and the program's last output when there is some.
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/app.log" ] && tail -20 "$work/app.log" >&2
  exit 1
}

# Stops the program (app_pid, when set) and the display, and removes $work.
end_check() {
  if [ -n "${app_pid:-}" ] && kill -0 "$app_pid" 2> /dev/null; then
    kill "$app_pid" 2> /dev/null
    wait "$app_pid" 2> /dev/null
  fi
  stop_display
  rm -rf "$work"
}

# A screenshot of the whole display into the build folder ($build), when
# ImageMagick is installed.
shot() {
  command -v import > /dev/null || return 0
  import -display "$DISPLAY" -window root "$build/$1" || fail "screenshot $1"
}

start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$work/display" > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  for _ in $(seq 1 100); do
    number=$(tr -dc '0-9' < "$work/display")
    if [ -n "$number" ]; then
      export DISPLAY=":$number"
      return 0
    fi
    kill -0 "$xvfb_pid" 2> /dev/null || break
    sleep 0.1
  done
  fail "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
}

stop_display() {
  if [ -n "${xvfb_pid:-}" ] && kill -0 "$xvfb_pid" 2> /dev/null; then
    kill "$xvfb_pid" 2> /dev/null
    wait "$xvfb_pid" 2> /dev/null
  fi
}

# Prints the id of the visible window whose title is exactly $1, waiting at
# most 20 s; fails when the process $2 ends first or the time is up.
wait_for_title() {
  local title=$1 pid=$2 id name
  for _ in $(seq 1 100); do
    for id in $(xdotool search --onlyvisible --name "." 2> /dev/null); do
      name=$(xdotool getwindowname "$id" 2> /dev/null)
      if [ "$name" = "$title" ]; then
        echo "$id"
        return 0
      fi
    done
    kill -0 "$pid" 2> /dev/null || fail "the program ended before a window \"$title\" appeared"
    sleep 0.2
  done
  fail "no window \"$title\" within 20 s"
}

# No window manager runs: focus the window directly, then press a key in it.
press_in() {
  xdotool windowfocus "$1" 2> /dev/null
  sleep 0.2
  xdotool key "$2"
}
