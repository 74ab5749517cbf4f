#!/usr/bin/python3
"""LibreOffice's own view of one sheet, for the comparison with our sheet view.

  lo_sheet_view.py texts FILE SHEET
prints row, column and the text LibreOffice shows (tab-separated, 1-based)
for every cell of the sheet's used area that shows a text; the sheet may be
hidden or very hidden.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lo_workbook import Office  # noqa: E402


def texts(path, name):
    with Office() as office:
        doc = office.open(path)
        try:
            sheet = doc.getSheets().getByName(name)
            cursor = sheet.createCursor()
            cursor.gotoEndOfUsedArea(False)
            end = cursor.getRangeAddress()
            for row in range(end.EndRow + 1):
                for col in range(end.EndColumn + 1):
                    text = sheet.getCellByPosition(col, row).getString()
                    if text:
                        print("%d\t%d\t%s" % (row + 1, col + 1, text))
        finally:
            doc.close(True)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] != "texts":
        sys.exit(__doc__)
    texts(sys.argv[2], sys.argv[3])
