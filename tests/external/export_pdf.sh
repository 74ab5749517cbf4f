#!/usr/bin/env bash
# `--play ... --export-pdf` of the real program, without a display, over a
# Presentation the batch build writes: a sheet line, a Word page range, a
# PowerPoint slide range, a PDF, a sheet kept out of printing ("P"), a Word
# line kept out of everything ("S") and a text file (not printable). The PDF
# read with poppler's tools holds exactly the printed lines' pages, in DATA
# order: the sheet's values, then the pages of the document and the slides
# LibreOffice lays out on its own, then the PDF; nothing of the excluded
# lines. Also: status 2 and no file for a workbook that is no Presentation,
# and an earlier export kept whole when nothing can be written.
# Skipped (77) without the program, poppler's tools or LibreOffice.
set -uo pipefail
build="${TAVOLEX_BUILD_DIR:?}"
program="$build/src/Tavolex"
store="$build/tests/tavolex_store_tool"
here=$(cd "$(dirname "$0")" && pwd)
samples="${TAVOLEX_SOURCE_DIR:-$here/../..}/tests/data"
[ -x "$program" ] && [ -x "$store" ] || { echo "SKIP: the program or the store tool is not built"; exit 77; }
for tool in pdfinfo pdftotext soffice; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavolex-export.XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
fail=0
problem() { echo "FAILED: $*"; fail=1; }
# LibreOffice keeps its profile here, never in the user's home.
export HOME=$work/home
mkdir -p "$HOME"

folder="$work/Presentazioni"
mkdir -p "$folder" "$work/reference"
cp "$samples/budget.xls" "$samples/report.doc" "$samples/memo.doc" "$samples/deck.ppt" "$folder/"
printf 'Handout for the export check\n' > "$work/handout.txt"
printf 'just notes\n' > "$folder/notes.txt"
# The references: LibreOffice's own layout of the documents.
soffice -env:UserInstallation="file://$work/lo" --headless --convert-to pdf --outdir "$work/reference" \
  "$work/handout.txt" "$folder/report.doc" "$folder/deck.ppt" "$folder/memo.doc" > "$work/lo.log" 2>&1 \
  || { echo "SKIP: LibreOffice converts nothing: $(cat "$work/lo.log")"; exit 77; }
cp "$work/reference/handout.pdf" "$folder/handout.pdf"

group="Export"
"$store" create "$folder" > /dev/null || exit 1
add() { "$store" add "$folder" "$@" > /dev/null || exit 1; }
add 1 "$group" "Totals" 100 "" "$folder/budget.xls" Summary Totals "" ""
add 2 "$group" "Figures" 150 P "$folder/budget.xls" Data Figures "" ""
add 3 "$group" "Report pages" 200 "" "$folder/report.doc" "" "" 2 3
add 4 "$group" "The memo" 250 S "$folder/memo.doc" "" "" "" ""
add 5 "$group" "Slides" 300 "" "$folder/deck.ppt" "" "" 2 6
add 6 "$group" "Handout" 400 "" "$folder/handout.pdf" "" "" "" ""
add 7 "$group" "Notes" 500 "" "$folder/notes.txt" "" "" "" ""
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --build "$folder" --group "$group" --version 1 > "$work/build.log" 2>&1 \
  || { echo "FAILED: the build: $(cat "$work/build.log")"; exit 1; }
presentation="$folder/$group - 1.xls"
before=$(sha256sum "$presentation")

out="$work/out dir/Export – 1.pdf"
mkdir -p "$work/out dir"
started=$(date +%s%N)
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --play "$presentation" --export-pdf "$out" \
  > "$work/export.out" 2> "$work/export.err"
status=$?
took=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status" = 0 ] || problem "exit status $status: $(cat "$work/export.err")"
[ -f "$out" ] || { problem "no PDF written"; exit 1; }
echo "export: status $status in ${took} ms"
grep -q '"Notes" (notes.txt) is not printable' "$work/export.err" || problem "the text file is not named: $(cat "$work/export.err")"
[ "$(sha256sum "$presentation")" = "$before" ] || problem "the Presentation changed"

pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
# One page's text with blanks squeezed, for comparing layouts of one engine.
page_text() { pdftotext -layout -f "$2" -l "$2" "$1" - | tr -s ' \n\f' ' ' | sed 's/^ //; s/ $//'; }

sheet_pages=$(( $(pages "$out") - 2 - 5 - 1 ))
[ "$sheet_pages" -ge 1 ] || problem "$(pages "$out") pages: fewer than the documents alone"
echo "pages: $(pages "$out") ($sheet_pages of the sheet, 2 of the report, 5 slides, 1 handout)"
sheet_text=$(pdftotext -f 1 -l "$sheet_pages" "$out" -)
echo "$sheet_text" | grep -Eq '5[.,]?150' || problem "the sheet's total 5150 is not on its pages: $sheet_text"

# The documents' pages follow the sheet, as LibreOffice lays them out.
expect_page() {  # export page, reference file, reference page
  local got want
  got=$(page_text "$out" "$1")
  want=$(page_text "$2" "$3")
  [ -n "$want" ] || { echo "note: page $3 of $(basename "$2") has no text to compare"; return; }
  [ "$got" = "$want" ] || problem "page $1 is not page $3 of $(basename "$2"): '$got' / '$want'"
}
p=$sheet_pages
for k in 2 3; do p=$((p + 1)); expect_page "$p" "$work/reference/report.pdf" "$k"; done
for k in 2 3 4 5 6; do p=$((p + 1)); expect_page "$p" "$work/reference/deck.pdf" "$k"; done
p=$((p + 1)); expect_page "$p" "$work/reference/handout.pdf" 1
[ "$p" = "$(pages "$out")" ] || problem "$(pages "$out") pages, expected $p"

# Nothing of the excluded lines.
memo=$(pdftotext "$work/reference/memo.pdf" - | tr -s ' \n\f' ' ' | cut -c1-40)
all=$(pdftotext "$out" - | tr -s ' \n\f' ' ')
[ -n "$memo" ] && case "$all" in *"$memo"*) problem "the memo (\"S\") is in the export";; esac
figures=$(pdftotext -f 1 -l "$sheet_pages" "$out" - | grep -c .)
echo "excluded lines absent (memo text not found; $figures text lines on the sheet pages)"

# Nothing to write: status 2, an earlier export kept.
cp "$out" "$work/earlier.pdf"
env -u DISPLAY "$program" --play "$folder/budget.xls" --export-pdf "$out" > /dev/null 2> "$work/bad.err"
status=$?
[ "$status" = 2 ] || problem "a workbook that is no Presentation: status $status"
grep -q "not a Tavolex Presentation" "$work/bad.err" || problem "no reason: $(cat "$work/bad.err")"
cmp -s "$out" "$work/earlier.pdf" || problem "the earlier export changed"
env -u DISPLAY "$program" --play "$presentation" --export-pdf "$work/no such folder/x.pdf" > /dev/null 2> "$work/bad.err"
status=$?
[ "$status" = 2 ] || problem "an output folder that is not there: status $status"
echo "status 2 for no Presentation and an unwritable output, earlier export kept"

[ "$fail" = 0 ] && echo "PASS"
exit "$fail"
