#!/usr/bin/env bash
# The floor this machine sets under any store command, as whole processes
# (perf stat task-clock, the least of RUNS runs): a process doing nothing, the
# store tool starting and ending (its libraries loaded and relocated), and
# fresh memory of the size a 9,999-line store's model takes, written page by
# page and faulted in ahead with one call. On a virtual machine the first
# touch of a page costs far more than on bare metal. Given a store (a
# BasePresentation.xls with the tool's password), also the least any command
# on it costs (the file read and decrypted) and the least any save costs (the
# same, then encrypted again and written), with no cell read.
#
#   bench/machine_floor.sh [BUILD_DIR] [RUNS] [STORE]      (defaults: build, 7, none)
set -euo pipefail
build=${1:-build}
runs=${2:-7}
store=${3:-}
pages="$build/bench/tavolex_fresh_pages"
tool="$build/tests/tavolex_store_tool"
save="$build/bench/tavolex_save_floor"
for program in "$pages" "$tool" "$save"; do
  [ -x "$program" ] || { echo "no $program: build the targets tavolex_fresh_pages, tavolex_save_floor and tavolex_store_tool" >&2; exit 1; }
done
command -v perf > /dev/null || { echo "perf is missing (Debian package linux-perf)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

least() {  # least LABEL COMMAND...: the least CPU time of RUNS runs
  local label=$1; shift
  local best=
  for ((i = 0; i < runs; ++i)); do
    perf stat -x, -e task-clock -o "$work/perf.txt" "$@" > /dev/null 2>&1
    local ms
    ms=$(awk -F, '/task-clock/ { print $1 }' "$work/perf.txt")
    if [ -z "$best" ] || awk -v a="$ms" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$ms; fi
  done
  printf '%-52s %8.1f ms\n' "$label" "$best"
}

echo "least CPU time of $runs runs (perf stat task-clock); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
least "a process doing nothing" "$pages" 0
least "the store tool starting and ending" "$tool" password
for mb in 2 6 13; do
  least "$mb MB of fresh memory, faulted page by page" "$pages" "$mb"
  least "$mb MB of fresh memory, faulted in with one call" "$pages" "$mb" populate
done
if [ -n "$store" ]; then
  password=$("$tool" password)
  least "the store read and decrypted" "$save" "$store" "$password"
  least "the store read, decrypted, encrypted and written" "$save" "$store" "$password" "$work/saved.xls"
fi
