#!/usr/bin/env bash
# Workbooks with objects our engine embedded, seen from outside: olefile
# shows each MBD storage with the class id and streams Excel writes, a
# package's file read with olefile equals the source byte for byte, our own
# extraction gives every file back, and LibreOffice opens the workbook and
# lists the objects on the right sheet and saves them back with their classes.
# Exit 0 passed, 1 failed, 77 skipped (no olefile, or the tool is not built).
set -uo pipefail
build=${TAVOLEX_BUILD_DIR:?}
source_dir=${TAVOLEX_SOURCE_DIR:?}
tool="$build/tests/tavolex_embed_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
$py -c "import olefile" 2>/dev/null || { echo "SKIP: python3-olefile is not installed"; exit 77; }
[ -x "$tool" ] || { echo "SKIP: $tool is not built"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # what, then the command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}

cp "$source_dir/tests/data/memo.doc" "$source_dir/tests/data/deck.ppt" "$work/"
printf '%%PDF-1.4\n%% a small file\n%%%%EOF\n' > "$work/scan.pdf"
head -c 300000 /dev/urandom > "$work/archive with blanks.zip"
"$tool" make "$work/objects.xls" "$work/memo.doc" "$work/deck.ppt" "$work/scan.pdf" "$work/archive with blanks.zip" \
  || { echo "FAILED: the tool could not write the workbook"; exit 1; }

$py "$here/ole_objects.py" storages "$work/objects.xls" > "$work/storages.txt"
cat "$work/storages.txt"
check "Word storage with its class and the OLE streams" \
  grep -qP '^MBD00000001\t00020906-0000-0000-C000-000000000046\t.*\\1CompObj\|\\1Ole\|\\3ObjInfo.*WordDocument' "$work/storages.txt"
check "PowerPoint storage with its class" \
  grep -qP '^MBD00000002\t64818D10-4F9B-11CF-86EA-00AA00B929E8\t.*PowerPoint Document' "$work/storages.txt"
check "package storages" \
  test "$(grep -cP '\t0003000C-0000-0000-C000-000000000046\t\\1CompObj\|\\1Ole10Native$' "$work/storages.txt")" = 2
for pair in "MBD00000003:scan.pdf" "MBD00000004:archive with blanks.zip"; do
  storage=${pair%%:*} name=${pair#*:}
  $py "$here/ole_objects.py" package "$work/objects.xls" "$storage" "$work/out-olefile"
  check "$name read by olefile equals the source" cmp -s "$work/out-olefile" "$work/$name"
done
n=1
for name in memo.doc deck.ppt scan.pdf "archive with blanks.zip"; do
  "$tool" extract "$work/objects.xls" DATA "Object $n" "$work/out-ours"
  case $name in
    *.doc|*.ppt) cp "$work/out-ours" "$work/extracted-$name";;
    *) check "$name extracted by us equals the source" cmp -s "$work/out-ours" "$work/$name";;
  esac
  n=$((n + 1))
done

if command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null; then
  $py "$here/ole_objects.py" lo "$work/objects.xls" "$work/lo.xls" > "$work/lo.txt" 2>"$work/lo.err" || cat "$work/lo.err"
  cat "$work/lo.txt"
  check "LibreOffice lists the four objects on DATA" \
    test "$(cat "$work/lo.txt")" = "$(printf 'DATA\tObject %s\n' 1 2 3 4)"
  # Documents need LibreOffice's Writer and Impress, which the spreadsheet-only install lacks.
  if $py "$here/ole_objects.py" pages "$work/memo.doc" "$work/deck.ppt" >/dev/null 2>&1; then
    $py "$here/ole_objects.py" pages "$work/extracted-memo.doc" "$work/extracted-deck.ppt" > "$work/pages.txt"
    check "LibreOffice opens the extracted documents: 1 page, 7 slides" test "$(cat "$work/pages.txt")" = "$(printf '1\n7')"
  else
    echo "skipped: LibreOffice opens no documents here (no Writer or Impress)"
  fi
  $py "$here/ole_objects.py" storages "$work/lo.xls" > "$work/lo-storages.txt"
  cat "$work/lo-storages.txt"
  check "LibreOffice writes them back with the classes it read" \
    test "$(cut -f2 "$work/lo-storages.txt" | sort | tr '\n' ' ')" = \
         "00020906-0000-0000-C000-000000000046 0003000C-0000-0000-C000-000000000046 0003000C-0000-0000-C000-000000000046 64818D10-4F9B-11CF-86EA-00AA00B929E8 "
else
  echo "skipped: LibreOffice with python3-uno is not installed"
fi
exit $fail
