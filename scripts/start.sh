#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tavolex. The whole argument is
# the data folder, optionally followed by "|" and a language code:
#   scripts/start.sh "/home/me/Presentations|I"
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" run
TAVOLEX_TARGET=tavolex "$root/scripts/build.sh" "$root/build" -DTAVOLEX_BENCH=OFF >/dev/null
exec "$root/build/src/Tavolex" "$@"
