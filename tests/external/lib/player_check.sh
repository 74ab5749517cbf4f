# shellcheck shell=bash disable=SC2034,SC2154  # the checks set scratch and needs, and use what this sets
# The start the checks under Xvfb share: the build folder (first argument or
# TAVOLEX_BUILD_DIR), the programs of it the check runs, the tools it needs,
# a scratch folder, the display library, and for the player's checks the
# group's Presentation built. Source it from the check, having set `needs`
# to the tools beyond Xvfb, `scratch` to the scratch folder's name and, when
# the check runs more than the program and the store tool, `built` to the
# programs it runs (paths in the build folder):
#   needs="xdotool soffice" scratch=tavolex-play-docs
#   . "$(dirname "$0")/lib/player_check.sh"
# It sets build, program, store, here (the checks' folder), samples, work and
# app_pid, and ends the check with end_check on exit. A missing tool or
# program skips the check (exit 77).

build=${TAVOLEX_BUILD_DIR:-${1:-}}
[ -n "$build" ] || { echo "usage: $0 BUILD_DIR (or set TAVOLEX_BUILD_DIR)" >&2; exit 1; }
build=$(cd "$build" && pwd)
program=$build/src/Tavolex
store=$build/tests/tavolex_store_tool
here=$(cd "$(dirname "$0")" && pwd)
samples="${TAVOLEX_SOURCE_DIR:-$here/../..}/tests/data"

for tool in Xvfb ${needs:-}; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for built_program in ${built:-src/Tavolex tests/tavolex_store_tool}; do
  [ -x "$build/$built_program" ] || { echo "SKIP: $build/$built_program is not built"; exit 77; }
done

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
