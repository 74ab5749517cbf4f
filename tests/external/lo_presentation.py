#!/usr/bin/python3
"""A Presentation as LibreOffice sees it, for the external checks.

  lo_presentation.py dump FILE  -> JSON: sheets with visibility, protection,
                                   shapes (pictures, embedded objects) and
                                   whether each is shown, and
                                   cells A1:L1; the DATA rows (columns A..K)
"""
import json
import sys

sys.path.insert(0, __file__.rsplit("/", 1)[0])
from lo_workbook import Office, cell_text  # noqa: E402


def dump(path):
    with Office() as office:
        doc = office.open(path)
        sheets = doc.getSheets()
        out = {"sheets": [], "rows": [], "structure_protected": bool(doc.isProtected())}
        for i in range(sheets.getCount()):
            s = sheets.getByIndex(i)
            shapes = s.getDrawPage()
            kinds = [shapes.getByIndex(k).getShapeType() for k in range(shapes.getCount())]
            shown = [bool(shapes.getByIndex(k).Visible) for k in range(shapes.getCount())]
            out["sheets"].append({
                "name": s.getName(), "visible": bool(s.IsVisible), "protected": bool(s.isProtected()),
                "shapes": kinds, "shapes_visible": shown, "first_row": [cell_text(s, col, 0) for col in range(12)]})
        data = sheets.getByName("DATA")
        for row in range(1, 10000):
            if cell_text(data, 0, row).strip() == "":
                break
            out["rows"].append([cell_text(data, col, row) for col in range(11)])
        doc.close(True)
    print(json.dumps(out, ensure_ascii=False))


if __name__ == "__main__":
    if sys.argv[1] == "dump":
        dump(sys.argv[2])
