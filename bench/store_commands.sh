#!/usr/bin/env bash
# Times each command of the main window and the line editor as a whole
# process of the command-line store tool, on stores of 100, 1,000 and 9,999
# lines, and prints a table: the median wall time and the median peak memory
# (maximum resident set, from /usr/bin/time -v) of RUNS runs, and with perf
# installed the median CPU time (task-clock) of RUNS more.
#
#   bench/store_commands.sh [BUILD_DIR] [RUNS]      (defaults: build, 7)
#
# The stores are written by LibreOffice (tests/external/lo_workbook.py) when it
# is installed, as a user's store saved by another suite would be; otherwise
# by our own tool. STORES=DIR keeps the stores there and reuses them on the
# next run (LibreOffice takes about a minute for each). Every run starts from the same store: a command that
# changes it works on a fresh copy, which is not timed. The half-second
# button feedback is left out (--no-feedback-pause).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
runs=${2:-7}
tool="$build/tests/tavolex_store_tool"
[ -x "$tool" ] || { echo "no $tool: build the target tavolex_store_tool first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }
py=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
password=$("$tool" password)

make_store() {  # make_store FOLDER LINES
  mkdir -p "$1"
  if command -v soffice > /dev/null && $py -c "import uno" 2> /dev/null; then
    $py "$here/../tests/external/lo_workbook.py" make-lines-store "$1/BasePresentation.xls" "$password" "$2"
    writer=LibreOffice
  else
    "$tool" create "$1"
    for ((id = 1; id <= $2; ++id)); do "$tool" add "$1" "$id" "Group $((id % 200))" "Description of line $id" $((100 + id / 200)); done
    writer=Tavolex
  fi
}

# shellcheck source=store_timing.sh
. "$here/store_timing.sh"

# measure FOLDER ARGS...: prints "milliseconds kilobytes" (medians)
measure() {
  local folder=$1; shift
  local times=() peaks=() cpus=()
  for ((i = 0; i < runs; ++i)); do
    fresh_run "$folder"
    local start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/time.txt" "$tool" --no-feedback-pause "${@/FOLDER/$work/run}" > /dev/null 2> "$work/err.txt" \
      || { echo "the command $* failed:" >&2; cat "$work/err.txt" >&2; exit 1; }
    end=$(date +%s%N)
    # A command that saves must have saved: a refusal (a full table) is no measure of it.
    if [ "$saves" = yes ] && cmp -s "$folder/BasePresentation.xls" "$work/run/BasePresentation.xls"; then
      echo "the command $* did not change the store:" >&2; cat "$work/err.txt" >&2; exit 1
    fi
    # time -v gives the wall time in hundredths only: the clock around it is finer.
    times+=("$(((end - start) / 1000))")
    peaks+=("$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")")
    # The CPU time in a run of its own (perf would count in the peak memory):
    # on a shared machine it says more than the wall time.
    if [ -n "$perf" ]; then
      fresh_run "$folder"
      perf stat -x, -e task-clock -o "$work/perf.txt" "$tool" --no-feedback-pause "${@/FOLDER/$work/run}" > /dev/null 2>&1
      cpus+=("$(awk -F, '/task-clock/ { print $1 }' "$work/perf.txt")")
    fi
  done
  local cpu=-
  [ -n "$perf" ] && cpu=$(printf '%s\n' "${cpus[@]}" | median)
  echo "$(printf '%s\n' "${times[@]}" | median | awk '{ print $1 / 1000 }') $(printf '%s\n' "${peaks[@]}" | median) $cpu"
}

sizes=(100 1000 9999)
stores=${STORES:-$work}
writer="an earlier run (kept in $stores)"
for n in "${sizes[@]}"; do [ -f "$stores/s$n/BasePresentation.xls" ] || make_store "$stores/s$n" "$n"; done
perf=$(command -v perf || true)
[ -n "$perf" ] && perf stat -e task-clock true > /dev/null 2>&1 || perf=
echo "stores written by $writer; median of $runs runs; wall ms / peak MB${perf:+ / CPU ms (perf stat task-clock)}"
printf '%-34s' "command"; for n in "${sizes[@]}"; do printf '%26s' "$n lines"; done; echo
row() {  # row LABEL STORE ARGS... (FOLDER stands for the store's folder; STORE s or d)
  printf '%-34s' "$1"; local store=$2; shift 2
  case $1 in copy|delete|line-insert|line-duplicate|line-delete) saves=yes ;; *) saves=no ;; esac
  for n in "${sizes[@]}"; do
    read -r ms kb cpu < <(measure "$stores/$store$n" "$@")
    printf "%10.1f / %5.1f" "$ms" "$(awk -v k="$kb" "BEGIN { print k / 1024 }")"
    [ "$cpu" = - ] || printf " / %5.1f" "$cpu"
  done
  echo
}
# The line files of the stores do not exist: copying a line needs one that
# does, which the stores "d" get in a group of their own (not timed). Readers
# stop at row 9999, so a full store has no room for a new line or a copied
# group: the commands that add lines run on the "d" stores, which give up
# the groups "Group 7" and "Group 8" first (two lines of 100, a hundred of 9,999).
for n in "${sizes[@]}"; do
  rm -rf "$stores/d$n"; mkdir -p "$stores/d$n"; cp "$stores/s$n/BasePresentation.xls" "$stores/d$n/"
  for group in "Group 7" "Group 8"; do
    "$tool" --no-feedback-pause delete "$stores/d$n" "$group" > /dev/null
  done
  "$tool" --no-feedback-pause line-insert "$stores/d$n" "Bench" "a line" /etc/hostname 150 > /dev/null
  "$tool" list "$stores/d$n" | grep -qx Bench || { echo "could not prepare the store d$n" >&2; exit 1; }
done
every_command
