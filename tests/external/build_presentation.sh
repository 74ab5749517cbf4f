#!/usr/bin/env bash
# The batch build of the real program over the shared samples, and the
# Presentation it writes as outside readers see it: the exit statuses 0, 1
# and 2 (a group name with blanks and letters beyond ASCII); olefile shows
# the workbook, the macro project's storages and the embedded objects, whose
# shapes on DATA are hidden (their OfficeArt records walked without our
# code); the project holds the four macro texts and is locked with the base
# password; LibreOffice opens the file and finds the sheets, their states,
# the DATA rows, the pictures and the objects our own reader finds, the
# objects not shown. Skipped (77) without the program or olefile; the
# LibreOffice part without LibreOffice.
set -uo pipefail
build="${TAVOLEX_BUILD_DIR:?}"
program="$build/src/Tavolex"
store="$build/tests/tavolex_store_tool"
vba_tool="$build/tests/tavolex_vba_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
samples="${TAVOLEX_SOURCE_DIR:-$here/../..}/../shared/samples"
[ -x "$program" ] || { echo "the program is not built"; exit 77; }
$py -c "import olefile" 2>/dev/null || { echo "olefile is not installed"; exit 77; }

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
fail=0
folder="$work/Dati Presentazioni"
mkdir -p "$folder"
cp "$samples/formatted.xls" "$samples/budget.xls" "$samples/report.doc" "$samples/deck.ppt" "$folder/"
printf '%%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%%%EOF\n' > "$folder/notes.pdf"
printf '  segreta  \n' > "$work/password"
base_password=$("$store" password)

group="Revisione Qualità 2027"
"$store" create "$folder" || exit 1
add() { "$store" add "$folder" "$@" || exit 1; }
add 1 "$group" "Report with charts" 100 "" "$folder/formatted.xls" Report "Report" "" ""
add 2 "$group" "Word pages" 200 "" "$folder/report.doc" "" "" 2 4
add 3 "$group" "Slides" 300 "" "$folder/deck.ppt" "" "" 1 7
add 4 "$group" "A PDF" 400 "" "$folder/notes.pdf" "" "" "" ""
add 5 "$group" "Passed over" 500 S "$folder/none.xls" A A "" ""
add 6 "$group" "Missing" 600 "" "$folder/none.doc" "" "" 1 1
add 7 "$group" "Beyond" 700 "" "$folder/report.doc" "" "" 3 9
add 8 "Solo Excel" "Totals" 100 "" "$folder/budget.xls" Summary Totals "" ""
add 9 "$group" "Totals" 150 "" "$folder/budget.xls" Summary Totals "" ""

expect_status() {  # expected, then the arguments after --build FOLDER
  local expected=$1; shift
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY "$program" --build "$folder" "$@") > "$work/out.txt" 2>&1
  local status=$?
  if [ "$status" = "$expected" ]; then echo "ok: exit status $status for $*"
  else echo "FAILED: exit status $status, expected $expected, for $*"; cat "$work/out.txt"; fail=1; fi
}
expect_status 0 --group "solo excel" --version 1
grep -q "^1/1 carried: Totals$" "$work/out.txt" || { echo "FAILED: no progress line"; cat "$work/out.txt"; fail=1; }
expect_status 2 --group "Nessuno" --version 1
grep -q "^No such group: Nessuno$" "$work/out.txt" || { echo "FAILED: no reason printed"; fail=1; }
expect_status 2 --group "$group" --version "a|b"
expect_status 1 --group "$group" --version "v 2" --password-file "$work/password"
presentation="$folder/$group - v 2.xls"
[ -f "$presentation" ] || { echo "FAILED: no Presentation written"; exit 1; }
grep -q "/none.doc  Does not exist!" "$work/out.txt" || { echo "FAILED: the missing file's message"; fail=1; }
grep -q "^'To' > max value!" "$work/out.txt" || { echo "FAILED: no page-range message"; cat "$work/out.txt"; fail=1; }
ls -a "$folder" | grep -q "tavolex-build" && { echo "FAILED: a temporary file was left"; fail=1; }

# The compound file: the workbook, the macro project, one storage per embedded file.
$py - "$presentation" <<'PY' || fail=1
import sys, olefile
ole = olefile.OleFileIO(sys.argv[1])
entries = ["/".join(e) for e in ole.listdir(streams=True, storages=True)]
for needed in ["Workbook", "_VBA_PROJECT_CUR/PROJECT", "_VBA_PROJECT_CUR/VBA/dir", "_VBA_PROJECT_CUR/Us_Menu"]:
    if needed not in entries:
        print("FAILED: no %s in %s" % (needed, entries)); sys.exit(1)
objects = sorted(e for e in entries if e.startswith("MBD") and "/" not in e)
print("ok: olefile finds Workbook, _VBA_PROJECT_CUR and %d object storage(s) %s" % (len(objects), objects))
PY
# The objects on DATA are hidden in the file itself (read without our code).
$py "$here/drawing_shapes.py" "$presentation" > "$work/shapes.json" || fail=1
$py - "$work/shapes.json" <<'PY' || fail=1
import json, sys
sheets = json.load(open(sys.argv[1]))
data = sheets.get("DATA", [])
problems = []
if len(data) != 3 or not all(s["ole"] and s["hidden"] for s in data):
    problems.append("DATA shapes %s, three hidden embedded objects expected" % data)
for name, shapes in sheets.items():
    if name != "DATA" and any(s["hidden"] for s in shapes):
        problems.append("a hidden shape on %s" % name)
if problems:
    print("FAILED: " + "; ".join(problems)); sys.exit(1)
print("ok: the OfficeArt records of DATA hold %d embedded objects, all hidden" % len(data))
PY
$py "$here/vba_project.py" sources "$presentation" "$vba_tool" || fail=1
$py "$here/vba_project.py" protection "$presentation" locked "$base_password" || fail=1

if command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null; then
  $py "$here/lo_presentation.py" dump "$presentation" > "$work/lo.json" || { echo "FAILED: LibreOffice"; exit 1; }
  "$store" dump "$presentation" > "$work/ours.txt" || fail=1
  $py - "$work/lo.json" "$work/ours.txt" <<'PY' || fail=1
import json, sys
lo = json.load(open(sys.argv[1]))
ours = [l.split(" ", 2) for l in open(sys.argv[2]).read().splitlines() if l.startswith("worksheet ")]
problems = []
names = [s["name"] for s in lo["sheets"]]
if names != [o[1] for o in ours]:
    problems.append("sheets %s, ours %s" % (names, [o[1] for o in ours]))
for s in lo["sheets"]:
    shown = s["name"] == "START"
    if s["visible"] != shown:
        problems.append("%s visible=%s" % (s["name"], s["visible"]))
    if s["protected"] == shown:
        problems.append("%s protected=%s" % (s["name"], s["protected"]))
if names[0] != "START" or "DATA" not in names or "Totals" not in names:
    problems.append("sheets %s" % names)
# The sheet with two charts needs the chart pictures the program draws.
report = next((s for s in lo["sheets"] if s["name"] == "Report"), None)
if report is None:
    print("note: the sheet with charts was not carried (no chart pictures in this build)")
elif sum(1 for k in report["shapes"] if "Graphic" in k) != 2:
    problems.append("Report shapes %s, two pictures expected" % report["shapes"])
data = next(s for s in lo["sheets"] if s["name"] == "DATA")
if data["first_row"][11] != "v 2|Tavolex 1.1|E|segreta":
    problems.append("settings text %r" % data["first_row"][11])
descriptions = [r[3] for r in lo["rows"]]
for gone in ["Missing", "Beyond"]:
    if gone in descriptions: problems.append(gone + " still in DATA")
for kept in ["Totals", "Passed over", "Word pages", "Slides", "A PDF"]:
    if kept not in descriptions: problems.append(kept + " not in DATA")
embedded = [r for r in lo["rows"] if r[3] in ("Word pages", "Slides", "A PDF")]
objects = sum(1 for k in data["shapes"] if "OLE2" in k)
if len(embedded) != objects:
    problems.append("%d embedded lines in DATA, %d objects" % (len(embedded), objects))
if any(data["shapes_visible"]):
    problems.append("objects shown on DATA: %s" % data["shapes_visible"])
if report is not None and not all(report["shapes_visible"]):
    problems.append("hidden pictures on Report: %s" % report["shapes_visible"])
if any("|" in r[7] for r in lo["rows"]):
    problems.append("a count left in column H")
if not lo["structure_protected"]:
    problems.append("the structure is not protected")
if problems:
    print("FAILED: " + "; ".join(problems)); sys.exit(1)
print("ok: LibreOffice opens the Presentation: sheets %s, %d DATA rows, %d hidden object(s)" % (names, len(lo["rows"]), objects))
PY
else
  echo "skipped: LibreOffice with python3-uno is not installed"
fi
exit $fail
