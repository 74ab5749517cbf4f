#!/usr/bin/env bash
# The macro project of a Presentation as other readers see it. The engine
# writes a workbook with the four macro texts, as the build driver fills and
# locks it; then, with olefile and a decoder of our own written from the
# format's documentation: its storages and streams are those Excel writes
# (compared with an Excel 2003 workbook that has a form), the sources are the
# macro texts, the Workbook stream ties the sheets to their code names, and
# the locked project's PROJECT stream decodes to "locked, password set".
# LibreOffice, its VBA import switched on, imports the four components with
# every line of their source. Skipped (77) without olefile; the LibreOffice
# part is skipped without LibreOffice.
set -uo pipefail
tool="${TAVOLEX_BUILD_DIR:?}/tests/tavolex_vba_tool"
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
check="$py $here/vba_project.py"
reference="${TAVOLEX_SOURCE_DIR:-$here/../..}/../shared/samples/reference/poi_ex42570-20305.xls"
$py -c "import olefile" 2>/dev/null || { echo "olefile is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
"$tool" presentation "$work/locked.xls" ab1234 || exit 1
"$tool" presentation "$work/open.xls" || exit 1

for file in locked open; do
  if [ -f "$reference" ]; then $check structure "$work/$file.xls" "$reference" || fail=1
  else echo "skipped: the Excel reference workbook is not available"; fi
  $check sources "$work/$file.xls" "$tool" || fail=1
  $check records "$work/$file.xls" || fail=1
done
$check protection "$work/locked.xls" locked ab1234 || fail=1
$check protection "$work/open.xls" open || fail=1

# Our reader gives back what was written, and the password opens only its project.
"$tool" dump "$work/locked.xls" > "$work/dump.txt" || fail=1
if grep -q "^name TavolexVBP$" "$work/dump.txt" && grep -q "^locked yes$" "$work/dump.txt" \
   && [ "$(grep -c '^module ' "$work/dump.txt")" = 7 ]; then echo "ok: our reader reads the locked project back"
else echo "FAILED: our reader's view:"; head -20 "$work/dump.txt"; fail=1; fi
if "$tool" opens "$work/locked.xls" ab1234 && ! "$tool" opens "$work/locked.xls" ab1235; then
  echo "ok: the password opens the locked project, another does not"
else echo "FAILED: password check of the locked project"; fail=1; fi

if command -v soffice >/dev/null && $py -c "import uno" 2>/dev/null; then
  for file in open locked; do $check libreoffice "$work/$file.xls" "$tool" || fail=1; done
else
  echo "skipped: LibreOffice with python3-uno is not installed"
fi
exit $fail
