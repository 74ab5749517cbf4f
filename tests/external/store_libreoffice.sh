#!/usr/bin/env bash
# The base workbook as another program sees it: one made and changed by our
# store opens in LibreOffice with its password and shows the expected sheets
# and rows; workbooks LibreOffice saves (a store, and a plain workbook with and
# without password) read correctly in ours; msoffcrypto-tool decrypts every
# store we write and xlrd reads it. Skipped (77) without LibreOffice.
set -uo pipefail
tool="${TAVOLEX_BUILD_DIR:?}/tests/tavolex_store_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null || { echo "LibreOffice with python3-uno is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # check DESCRIPTION PYTHON-EXPRESSION-ON-d
  if $py -c "import json,sys; d=json.load(open('$work/dump.json')); sys.exit(0 if ($2) else 1)"; then
    echo "ok: $1"
  else
    echo "FAILED: $1"; cat "$work/dump.json"; fail=1
  fi
}

# msoffcrypto-tool decrypts the file and xlrd reads START and DATA from it.
decrypts() {  # decrypts DESCRIPTION FILE
  if $py - "$2" "$password" <<'PY'
import io, sys
import msoffcrypto, xlrd
office = msoffcrypto.OfficeFile(open(sys.argv[1], 'rb'))
office.load_key(password=sys.argv[2])
clear = io.BytesIO()
office.decrypt(clear)
sys.exit(0 if xlrd.open_workbook(file_contents=clear.getvalue()).sheet_names() == ['START', 'DATA'] else 1)
PY
  then echo "ok: msoffcrypto-tool and xlrd read $1"; else echo "FAILED: msoffcrypto-tool or xlrd on $1"; fail=1; fi
}

password=$("$tool" password)
store="$work/store"; mkdir "$store"
"$tool" create "$store" || exit 1
$py "$here/lo_workbook.py" dump "$store/BasePresentation.xls" "$password" > "$work/dump.json" || { echo "LibreOffice could not open the new store"; exit 1; }
check "sheets START then DATA" "[s['name'] for s in d['sheets']] == ['START','DATA']"
check "START visible, DATA not" "d['sheets'][0]['visible'] and not d['sheets'][1]['visible']"
check "header texts" "[h['text'] for h in d['header']] == ['Pos.','PresentationGroup','Supp.','Description','FileName','InpSheet','OutSheet','ObjName','FirstPage','LastPage','Sort']"
check "header bold and underlined" "all(h['bold'] and h['underline'] == 1 for h in d['header'])"
check "no lines yet" "d['rows'] == []"
decrypts "the new store" "$store/BasePresentation.xls"

"$tool" add "$store" 1 "Budget" "first" 100 && "$tool" add "$store" 2 "Other" "second" 100 \
  && "$tool" add "$store" 3 "budget" "third" 200 && "$tool" add "$store" 4 "Late" "fourth" 100 || exit 1
decrypts "the store after four adds" "$store/BasePresentation.xls"
"$tool" copy "$store" "budget" "Budget copy" || exit 1
"$tool" delete "$store" "Other" || exit 1
$py "$here/lo_workbook.py" dump "$store/BasePresentation.xls" "$password" > "$work/dump.json" || exit 1
check "rows after copy and delete" "[(r[0], r[1], r[3], r[10]) for r in d['rows']] == [('1','Budget','first','100'),('3','budget','third','200'),('4','Late','fourth','100'),('5','Budget copy','first','100'),('6','Budget copy','third','200')]"
check "still START and hidden DATA" "[(s['name'], s['visible']) for s in d['sheets']] == [('START', True), ('DATA', False)]"
decrypts "the store after copy and delete" "$store/BasePresentation.xls"

# Lines written through the line editor: inserts, a duplicate and a delete.
doc="$work/memo.doc"; cp "$here/../data/memo.doc" "$doc"; pdf="$work/report.pdf"; echo x > "$pdf"
"$tool" line-insert "$store" "Lines" "first line" "$doc" 120 && "$tool" line-insert "$store" "Lines" "second line" "$pdf" 110 \
  && "$tool" line-duplicate "$store" "Lines" 1 130 && "$tool" line-delete "$store" "Lines" 0 || exit 1
$py "$here/lo_workbook.py" dump "$store/BasePresentation.xls" "$password" > "$work/dump.json" || exit 1
check "rows after the line editor" "[(r[0], r[1], r[2], r[3], r[10]) for r in d['rows'][5:]] == [('7','Lines','','first line','120'),('9','Lines','','first line','130')]"
check "the rows before them unchanged" "[r[0] for r in d['rows'][:5]] == ['1','3','4','5','6']"
decrypts "the store after the line editor" "$store/BasePresentation.xls"

other="$work/other"; mkdir "$other"
$py "$here/lo_workbook.py" make-store "$other/BasePresentation.xls" "$password" || exit 1
# Which of "Budget" and "budget" stays depends on the sort; compare without case.
if [ "$("$tool" list "$other" | tr '\n' '|' | tr 'A-Z' 'a-z')" = "annual|budget|zeta|" ]; then echo "ok: a store saved by LibreOffice lists its groups"
else echo "FAILED: list of LibreOffice's store: $("$tool" list "$other" 2>&1 | tr '\n' '|')"; fail=1; fi
# Saved by us, the rows LibreOffice wrote are copied as they were read: a line
# added and a group deleted, LibreOffice and xlrd read what is left.
"$tool" line-insert "$other" "Zeta" "sixth" "$pdf" 150 && "$tool" delete "$other" "Annual" || exit 1
$py "$here/lo_workbook.py" dump "$other/BasePresentation.xls" "$password" > "$work/dump.json" || exit 1
check "LibreOffice's store after a line added and a group deleted" "[(r[0], r[3]) for r in d['rows']] == [('1','first'),('3','third'),('4','fourth'),('6','sixth')]"
decrypts "LibreOffice's store saved by ours" "$other/BasePresentation.xls"

for pw in "" "s3cret"; do
  $py "$here/lo_workbook.py" make-plain "$work/plain.xls" $pw || exit 1
  out=$("$tool" dump "$work/plain.xls" $pw) || { echo "FAILED: our reader on LibreOffice's workbook (password '$pw')"; fail=1; continue; }
  expected=$'sheet First\nsheet Second\nsheet Hidden one\nworksheet First visible\ncell First!$A$1 Città è bella\ncell First!$B$1 42.5\ncell First!$A$2 -7\nworksheet Second visible\ncell Second!$A$1 20\ncell Second!$B$1 22\ncell Second!$C$1 42\nworksheet Hidden one hidden'
  if [ "$out" = "$expected" ]; then echo "ok: LibreOffice's workbook read by ours (password '$pw')"
  else echo "FAILED: LibreOffice's workbook (password '$pw'):"; echo "$out"; fail=1; fi
done
if [ -n "$pw" ] && "$tool" dump "$work/plain.xls" wrongpw >/dev/null 2>&1; then echo "FAILED: wrong password accepted"; fail=1; fi
exit $fail
