# shellcheck shell=bash disable=SC2034,SC2154  # the checks set scratch and needs, and use what this sets
# The start the player's checks under Xvfb share: the build folder (first
# argument or TAVOLEX_BUILD_DIR), the program and the store tool in it, the
# tools the check needs, a scratch folder, the display library, and the
# group's Presentation built. Source it from the check, having set `needs`
# to the tools beyond Xvfb and xdotool and `scratch` to the scratch folder's
# name:
#   needs="soffice" scratch=tavolex-play-docs
#   . "$(dirname "$0")/lib/player_check.sh"
# It sets build, program, store, here (the checks' folder), samples, work and
# app_pid, and ends the check with end_check on exit.

build=${TAVOLEX_BUILD_DIR:-${1:-}}
[ -n "$build" ] || { echo "usage: $0 BUILD_DIR (or set TAVOLEX_BUILD_DIR)" >&2; exit 1; }
build=$(cd "$build" && pwd)
program=$build/src/Tavolex
store=$build/tests/tavolex_store_tool
here=$(cd "$(dirname "$0")" && pwd)
samples="${TAVOLEX_SOURCE_DIR:-$here/../..}/tests/data"

for tool in Xvfb xdotool ${needs:-}; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -x "$program" ] && [ -x "$store" ] || { echo "SKIP: the program or the store tool is not built"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/$scratch.XXXXXX")
app_pid=""
# shellcheck source=display.sh
. "$here/lib/display.sh"
trap end_check EXIT

# build_presentation FOLDER GROUP: the program's --build of GROUP in the data
# folder FOLDER, without a display; sets presentation to the file written.
build_presentation() {
  env -u DISPLAY "$program" --build "$1" --group "$2" --version 1 > "$work/build.log" 2>&1 \
    || fail "the build failed: $(cat "$work/build.log")"
  presentation="$1/$2 - 1.xls"
  [ -f "$presentation" ] || fail "no Presentation written"
}
