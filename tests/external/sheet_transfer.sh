#!/usr/bin/env bash
# Sheets carried into a Presentation by the real program's batch build, as
# independent readers see them beside their sources: xlrd compares values,
# number formats, fonts, fills, borders, alignment, merged cells, widths and
# heights cell by cell (formatted.xls, and budget.xls whose formulas arrive
# as values); LibreOffice shows the same texts and formats, the same merged
# areas, and each chart as a picture at the chart's cell and of its size.
# Exit 0 passed, 1 failed, 77 skipped (no program or xlrd; the LibreOffice
# part is skipped alone without LibreOffice).
set -uo pipefail
build="${TAVOLEX_BUILD_DIR:?}"
program="$build/src/Tavolex"
store="$build/tests/tavolex_store_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
samples="${TAVOLEX_SOURCE_DIR:-$here/../..}/../shared/samples"
[ -x "$program" ] && [ -x "$store" ] || { echo "SKIP: the program is not built"; exit 77; }
$py -c "import xlrd" 2>/dev/null || { echo "SKIP: xlrd is not installed"; exit 77; }

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
folder="$work/data"
mkdir -p "$folder"
cp "$samples/formatted.xls" "$samples/budget.xls" "$folder/"
"$store" create "$folder" || exit 1
add() { "$store" add "$folder" "$@" || exit 1; }
add 1 Transfer "Report" 100 "" "$folder/formatted.xls" report "Report" "" ""
add 2 Transfer "Totals" 200 "" "$folder/budget.xls" Summary "Totals" "" ""
add 3 Transfer "Chart data" 300 "" "$folder/budget.xls" Data "Chart data" "" ""
sum_before=$(md5sum "$folder/formatted.xls" "$folder/budget.xls")
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 "$program" --build "$folder" --group Transfer --version 1) \
  > "$work/out.txt" 2>&1 || { echo "FAILED: the build"; cat "$work/out.txt"; exit 1; }
presentation="$folder/Transfer - 1.xls"
[ "$(md5sum "$folder/formatted.xls" "$folder/budget.xls")" = "$sum_before" ] \
  || { echo "FAILED: a source file changed"; exit 1; }

fail=0
$py "$here/transfer_check.py" xlrd "$folder/formatted.xls" Report "$presentation" Report || fail=1
$py "$here/transfer_check.py" xlrd "$folder/budget.xls" Summary "$presentation" Totals || fail=1
$py "$here/transfer_check.py" xlrd "$folder/budget.xls" Data "$presentation" "Chart data" || fail=1

if command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null; then
  pairs=$($py -c 'import json, sys; f, b, p = sys.argv[1:]; print(json.dumps([[f, "Report", p, "Report"], [b, "Summary", p, "Totals"], [b, "Data", p, "Chart data"]]))' \
    "$folder/formatted.xls" "$folder/budget.xls" "$presentation")
  timeout 240 $py "$here/transfer_check.py" lo "$pairs" || fail=1
else
  echo "skipped: LibreOffice with python3-uno is not installed"
fi
exit $fail
