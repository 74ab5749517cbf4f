#!/usr/bin/env bash
# The player's sheet view against LibreOffice, over the formatted sample and
# the Presentation our build makes of it:
#   1. every text a cell of the sample's sheet shows, and of the frozen copy
#      in the Presentation, equals the text LibreOffice shows for that cell
#      (checked);
#   2. the frozen sheet shown full screen by `--play` under Xvfb, and
#      LibreOffice's own rendering of the sample's sheet (PDF, then PNG):
#      both cut to their content and brought to one size, ImageMagick's
#      normalised RMSE of the two is printed as the pixel-difference score,
#      not checked: the programs place fonts and charts their own ways;
#   3. our own printed page of the frozen sheet (its page setup) against
#      LibreOffice's, scored the same way.
# The pictures land in the build folder (sheet_view/).
# Exit 0 passed, 1 failed, 77 skipped (no LibreOffice, python3-uno,
# ImageMagick, poppler, Xvfb or xdotool, or the programs are not built).
set -uo pipefail

needs="xdotool soffice compare convert import pdftoppm" scratch=tavolex-sheet-view
built="src/Tavolex tests/tavolex_store_tool tests/tavolex_sheet_tool"
# shellcheck source=lib/player_check.sh
. "$(dirname "$0")/lib/player_check.sh"
tool=$build/tests/tavolex_sheet_tool
py=/usr/bin/python3
$py -c "import uno" 2> /dev/null || { echo "SKIP: LibreOffice with python3-uno is not installed"; exit 77; }
out="$build/sheet_view"
rm -rf "$out"
mkdir -p "$out"

folder="$work/Presentations"
mkdir -p "$folder"
cp "$samples/formatted.xls" "$folder/"
"$store" create "$folder" > /dev/null || fail "no base workbook"
"$store" add "$folder" 1 "View" "Quarterly report" 100 "" "$folder/formatted.xls" Report Report "" "" || fail "no line"
build_presentation "$folder" View

# 1. Every shown text, ours against LibreOffice's.
status=0
for file in "$folder/formatted.xls" "$presentation"; do
  name=$(basename "$file")
  "$tool" texts "$file" Report > "$out/ours-$name.txt" || fail "our texts of $name"
  $py "$here/lo_sheet_view.py" texts "$file" Report > "$out/lo-$name.txt" 2> "$work/lo.log" \
    || fail "LibreOffice could not read $name: $(tail -3 "$work/lo.log")"
  # A hidden row's texts show in neither program's cells, but both read them.
  if diff "$out/lo-$name.txt" "$out/ours-$name.txt" > "$work/diff.txt"; then
    echo "ok: $name: $(wc -l < "$out/ours-$name.txt") shown texts equal LibreOffice's"
  else
    echo "FAILED: $name: shown texts differ (< LibreOffice, > ours):"
    cat "$work/diff.txt"
    status=1
  fi
done

# LibreOffice's rendering of the sample's sheet, first page.
lo_profile="$work/lo-profile"
soffice -env:UserInstallation="file://$lo_profile" --headless --norestore --convert-to pdf --outdir "$work" \
  "$folder/formatted.xls" > "$work/lo-pdf.log" 2>&1 || fail "LibreOffice made no PDF: $(cat "$work/lo-pdf.log")"
pdftoppm -r 96 -f 1 -l 1 -png "$work/formatted.pdf" "$work/lo-page" || fail "pdftoppm on LibreOffice's PDF"
cp "$work"/lo-page*.png "$out/lo-page.png"

# Cuts both to their content, brings the second to the first's size and
# prints the normalised RMSE (0 the same, 1 opposite).
score() {
  convert "$1" -background white -flatten -fuzz 5% -trim +repage "$work/a.png"
  local size
  size=$(identify -format '%wx%h' "$work/a.png")
  convert "$2" -background white -flatten -fuzz 5% -trim +repage -resize "$size!" "$work/b.png"
  compare -metric RMSE "$work/a.png" "$work/b.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}

# 2. The sheet on screen: --play, a click on the line, a screenshot.
start_display
"$program" --play "$presentation" > "$work/app.log" 2>&1 &
app_pid=$!
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
sleep 0.5
xdotool mousemove --window "$menu" 120 115 click 1
sheet=$(wait_for_title "Tavolex 1.1 - Quarterly report" "$app_pid") || exit 1
sleep 1
import -display "$DISPLAY" -window root "$out/ours-screen.png" || fail "no screenshot"
press_in "$sheet" Escape
menu=$(wait_for_title "Tavolex 1.1 - Presentation Menu" "$app_pid") || exit 1
kill "$app_pid" 2> /dev/null
wait "$app_pid" 2> /dev/null
app_pid=""
echo "screen against LibreOffice's page: pixel difference $(score "$out/lo-page.png" "$out/ours-screen.png") (0 same, 1 opposite)"

# 3. Our printed page against LibreOffice's.
"$tool" pdf "$presentation" Report "$work/ours.pdf" > /dev/null || fail "our printed pages"
pdftoppm -r 96 -f 1 -l 1 -png "$work/ours.pdf" "$work/ours-page" || fail "pdftoppm on our PDF"
cp "$work"/ours-page*.png "$out/ours-page.png"
echo "printed page against LibreOffice's: pixel difference $(score "$out/lo-page.png" "$out/ours-page.png") (0 same, 1 opposite)"
exit $status
