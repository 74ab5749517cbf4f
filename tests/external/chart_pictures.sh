#!/usr/bin/env bash
# Our chart pictures against LibreOffice's own rendering of the same charts:
# for every chart of the chart samples, the kind, the number of series and
# the points of each series must agree with what LibreOffice reads; a
# pixel-difference score (ImageMagick's normalised RMSE of the two pictures
# at one size, on white) is printed for each chart, not checked: the two
# programs draw fonts, ticks and margins their own ways.
# The pictures land in the build folder (chart_pictures/).
# Exit 0 passed, 1 failed, 77 skipped (no LibreOffice, python3-uno or ImageMagick).
set -uo pipefail
build=${TAVOLEX_BUILD_DIR:?}
source_dir=${TAVOLEX_SOURCE_DIR:?}
tool="$build/tests/tavolex_chart_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null || { echo "SKIP: LibreOffice with python3-uno is not installed"; exit 77; }
command -v compare >/dev/null && command -v convert >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }
[ -x "$tool" ] || { echo "SKIP: $tool is not built"; exit 77; }

out="$build/chart_pictures"
rm -rf "$out"; mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
samples=("$source_dir/tests/data/budget.xls" "$source_dir/tests/data/formatted.xls")
for name in tika_testEXCEL-charts.xls poi_SimpleScatterChart.xls; do
  f="$source_dir/../shared/samples/reference/$name"
  [ -f "$f" ] && samples+=("$f")
done

fail=0
for sample in "${samples[@]}"; do
  stem=$(basename "$sample" .xls)
  mkdir -p "$out/$stem"
  cp "$sample" "$work/$stem.xls"  # LibreOffice wants to lock the file beside it
  "$tool" "$sample" "$out/$stem" > "$out/$stem/ours.txt" || { echo "FAILED: our pictures of $stem"; fail=1; continue; }
  $py "$here/lo_charts.py" "$work/$stem.xls" "$out/$stem" > "$out/$stem/lo.txt" \
    || { echo "FAILED: LibreOffice on $stem"; fail=1; continue; }
  # Kind, series count and points per series; titles are LibreOffice's own
  # choice where the file leaves them automatic, so they are only shown.
  if [ "$(cut -f1,3-5 "$out/$stem/ours.txt")" = "$(cut -f1,3-5 "$out/$stem/lo.txt")" ]; then
    echo "ok: $stem: $(cut -f3-5 "$out/$stem/ours.txt" | tr '\t\n' ' ;')"
  else
    echo "FAILED: $stem: ours and LibreOffice's differ:"; paste "$out/$stem/ours.txt" "$out/$stem/lo.txt"; fail=1
  fi
  while IFS=$'\t' read -r n _; do
    ours="$out/$stem/chart-$n.png" theirs="$out/$stem/lo-$n.png"
    [ -f "$ours" ] && [ -f "$theirs" ] || { echo "  chart $n: no picture to compare"; continue; }
    size=$(identify -format '%wx%h' "$ours")
    convert "$ours" -background white -flatten "$work/a.png"
    convert "$theirs" -background white -flatten -resize "$size!" "$work/b.png"
    score=$(compare -metric RMSE "$work/a.png" "$work/b.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    echo "  chart $n ($size): pixel difference $score (0 same, 1 opposite)"
  done < "$out/$stem/ours.txt"
done
exit $fail
