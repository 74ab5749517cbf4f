#!/usr/bin/env bash
# Runs each command of bench/store_commands.sh on the 9,999-line stores with
# two builds of the store tool in turns, and prints for each the least and the
# median CPU time (perf stat task-clock), the median page faults and the
# median peak memory of RUNS runs. On a machine shared with other work the
# wall times mislead; runs in turns see the same load.
#
#   STORES=DIR bench/compare_store_tools.sh OLD_TOOL NEW_TOOL [RUNS]   (default 7)
#
# DIR holds the stores s9999 and d9999 that bench/store_commands.sh made.
set -euo pipefail
old=$1 new=$2 runs=${3:-7}
stores=${STORES:?set STORES to the folder of bench/store_commands.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=store_timing.sh
. "$(dirname "$0")/store_timing.sh"

# once TOOL STORE ARGS...: prints "cpu faults kb"
once() {
  local tool=$1 store=$2; shift 2
  fresh_run "$stores/$store"
  perf stat -x, -e task-clock,page-faults -o "$work/perf.txt" "$tool" --no-feedback-pause "${@/FOLDER/$work/run}" > /dev/null 2>&1
  fresh_run "$stores/$store"
  /usr/bin/time -f %M -o "$work/time.txt" "$tool" --no-feedback-pause "${@/FOLDER/$work/run}" > /dev/null 2>&1
  echo "$(awk -F, '/task-clock/ { c = $1 } /page-faults/ { f = $1 } END { print c, f }' "$work/perf.txt") $(cat "$work/time.txt")"
}

summary() {  # the least and median CPU, median faults and peak MB of a file of "cpu faults kb"
  local least cpu faults kb
  least=$(awk '{ print $1 }' "$1" | sort -n | head -1)
  cpu=$(awk '{ print $1 }' "$1" | median)
  faults=$(awk '{ print $2 }' "$1" | median)
  kb=$(awk '{ print $3 }' "$1" | median)
  printf '%5.0f / %5.0f ms %6.0f %6.1f MB' "$least" "$cpu" "$faults" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
}

row() {  # row LABEL STORE ARGS... (STORE s or d: the stores of 9,999 lines)
  local label=$1 store=$2; shift 2
  : > "$work/old.txt"; : > "$work/new.txt"
  for ((i = 0; i < runs; ++i)); do
    once "$old" "${store}9999" "$@" >> "$work/old.txt"
    once "$new" "${store}9999" "$@" >> "$work/new.txt"
  done
  printf '%-34s %s   %s\n' "$label" "$(summary "$work/old.txt")" "$(summary "$work/new.txt")"
}

echo "9,999 lines, $runs runs each in turns: CPU least / median, page faults, peak memory (old, then new)"
every_command
