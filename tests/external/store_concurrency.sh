#!/usr/bin/env bash
# Eight copies of the program saving a new line into one data folder at the
# same moment, twice over, through the real line editor: every line is there
# afterwards, each once, with an id of its own, and the store reads whole
# with msoffcrypto-tool and xlrd. Skipped (77) without those Python modules.
set -uo pipefail
tool="${TAVOLEX_BUILD_DIR:?}/tests/tavolex_store_tool"
py=/usr/bin/python3
$py -c "import msoffcrypto, xlrd" 2>/dev/null || { echo "msoffcrypto-tool or xlrd is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
store="$work/store"; mkdir "$store"
"$tool" create "$store" > /dev/null || exit 1
cp "${TAVOLEX_SOURCE_DIR:?}/tests/data/memo.doc" "$store/memo.doc"

fail=0
for round in 1 2; do
  pids=()
  for i in 1 2 3 4 5 6 7 8; do
    sort=$((100 + round * 10 + i))
    "$tool" --no-feedback-pause line-insert "$store" Load "round $round line $i" "$store/memo.doc" "$sort" \
      > "$work/out-$round-$i" 2>&1 &
    pids+=($!)
  done
  for k in "${!pids[@]}"; do
    wait "${pids[$k]}" || { echo "FAILED: writer $((k + 1)) of round $round:"; cat "$work/out-$round-$((k + 1))"; fail=1; }
  done
done

$py - "$store/BasePresentation.xls" "$("$tool" password)" <<'PY' || fail=1
import io, sys
import msoffcrypto, xlrd
office = msoffcrypto.OfficeFile(open(sys.argv[1], 'rb'))
office.load_key(password=sys.argv[2])
clear = io.BytesIO()
office.decrypt(clear)
data = xlrd.open_workbook(file_contents=clear.getvalue()).sheet_by_name('DATA')
ids, descriptions = [], []
for r in range(1, data.nrows):
    if data.cell_value(r, 0) in ('', None):
        break
    ids.append(data.cell_value(r, 0))
    descriptions.append(data.cell_value(r, 3))
expected = sorted('round %d line %d' % (k, i) for k in (1, 2) for i in range(1, 9))
ok = True
if sorted(descriptions) != expected:
    print('FAILED: the lines are', sorted(descriptions)); ok = False
if len(set(ids)) != len(ids):
    print('FAILED: ids repeat:', ids); ok = False
print('ok: sixteen lines saved at once, each once, ids', sorted(int(i) for i in ids) if ok else '')
sys.exit(0 if ok else 1)
PY
exit $fail
