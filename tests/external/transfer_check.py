#!/usr/bin/python3
"""A transferred sheet against its source, as independent readers see them.

  transfer_check.py xlrd SOURCE SHEET COPY SHEET
      xlrd (formatting_info): values, number formats, fonts, fills, borders,
      alignment, merged cells, column widths, row heights and hidden rows,
      cell by cell; prints what differs, exit 1 when anything does.
  transfer_check.py lo PAIRS_JSON
      LibreOffice: for each [source, sheet, copy, sheet] the shown texts, the
      number formats and merged areas cell by cell, and the drawn objects:
      every chart of the source is a picture in the copy, at the cell under
      the chart's top-left corner and of the chart's size.
"""
import json
import sys

COLOUR_SIDES = ("left", "right", "top", "bottom")


def rgb(book, index):
    # Palettes may differ between the files: compare the colours, not their numbers.
    return book.colour_map.get(index)


def xf_facts(book, xf_index):
    xf = book.xf_list[xf_index]
    font = book.font_list[xf.font_index]
    fill = xf.background
    facts = {
        "format": book.format_map[xf.format_key].format_str,
        "font": (font.name, font.height, bool(font.bold), bool(font.italic), font.underline_type,
                 bool(font.struck_out), font.escapement, rgb(book, font.colour_index)),
        "fill": (fill.fill_pattern,) + ((rgb(book, fill.pattern_colour_index), rgb(book, fill.background_colour_index))
                                        if fill.fill_pattern else ()),
        "borders": tuple((getattr(xf.border, side + "_line_style"),
                          rgb(book, getattr(xf.border, side + "_colour_index"))
                          if getattr(xf.border, side + "_line_style") else None) for side in COLOUR_SIDES),
        "alignment": (xf.alignment.hor_align, xf.alignment.vert_align, bool(xf.alignment.text_wrapped),
                      xf.alignment.indent_level, xf.alignment.rotation),
    }
    return facts


def compare_xlrd(source_path, source_name, copy_path, copy_name):
    import xlrd
    src_book = xlrd.open_workbook(source_path, formatting_info=True)
    cpy_book = xlrd.open_workbook(copy_path, formatting_info=True)
    src = src_book.sheet_by_name(source_name)
    cpy = cpy_book.sheet_by_name(copy_name)
    problems = []
    cells = 0
    for r in range(src.nrows):
        for c in range(src.ncols):
            where = xlrd.cellname(r, c)
            a = src.cell(r, c)
            if r >= cpy.nrows or c >= cpy.ncols:
                problems.append("%s missing in the copy" % where)
                continue
            b = cpy.cell(r, c)
            # Formulas arrive as their values: compare the values the source shows.
            if (a.ctype, a.value) != (b.ctype, b.value):
                problems.append("%s value %r, copy %r" % (where, a.value, b.value))
            fa, fb = xf_facts(src_book, src.cell_xf_index(r, c)), xf_facts(cpy_book, cpy.cell_xf_index(r, c))
            for key in fa:
                if fa[key] != fb[key]:
                    problems.append("%s %s %s, copy %s" % (where, key, fa[key], fb[key]))
            cells += 1
    if sorted(src.merged_cells) != sorted(cpy.merged_cells):
        problems.append("merged %s, copy %s" % (sorted(src.merged_cells), sorted(cpy.merged_cells)))
    for c in range(src.ncols):
        ca, cb = src.colinfo_map.get(c), cpy.colinfo_map.get(c)
        a = (src.computed_column_width(c), bool(ca and ca.hidden))
        b = (cpy.computed_column_width(c), bool(cb and cb.hidden))
        if a != b:
            problems.append("column %d width/hidden %s, copy %s" % (c, a, b))
    for r in range(src.nrows):
        ra, rb = src.rowinfo_map.get(r), cpy.rowinfo_map.get(r)
        a = (ra.height, bool(ra.hidden)) if ra else None
        b = (rb.height, bool(rb.hidden)) if rb else None
        if a != b:
            problems.append("row %d height/hidden %s, copy %s" % (r + 1, a, b))
    if problems:
        print("FAILED: %s!%s against %s!%s:\n  %s" % (source_path, source_name, copy_path, copy_name,
                                                     "\n  ".join(problems[:40])))
        return False
    print("ok: xlrd: %s!%s and its copy %s agree in %d cells (values, formats, fonts, fills, borders, "
          "alignment), %d merged areas, widths and heights" % (source_path.rsplit("/", 1)[-1], source_name,
                                                               copy_name, cells, len(src.merged_cells)))
    return True


def lo_sheet(doc, name):
    """What LibreOffice shows of a sheet: texts, formats, merged areas, drawn objects."""
    sheet = doc.getSheets().getByName(name)
    cursor = sheet.createCursor()
    cursor.gotoEndOfUsedArea(False)
    end = cursor.getRangeAddress()
    formats = doc.getNumberFormats()
    out = {"cells": {}, "merged": [], "shapes": []}
    for r in range(end.EndRow + 1):
        for c in range(end.EndColumn + 1):
            cell = sheet.getCellByPosition(c, r)
            fmt = formats.getByKey(cell.NumberFormat).FormatString
            out["cells"]["%d,%d" % (r, c)] = [cell.getString(), fmt]
            area = sheet.createCursorByRange(sheet.getCellRangeByPosition(c, r, c, r))
            area.collapseToMergedArea()
            a = area.getRangeAddress()
            if (a.StartColumn, a.StartRow) == (c, r) and (a.EndColumn, a.EndRow) != (c, r):
                out["merged"].append([a.StartRow, a.StartColumn, a.EndRow, a.EndColumn])

    def cell_under(x, y):
        # The cell whose area holds the point: the last row and column starting at or before it.
        row = col = 0
        while row < 10000 and sheet.getCellByPosition(0, row + 1).Position.Y <= y:
            row += 1
        while col < 1000 and sheet.getCellByPosition(col + 1, 0).Position.X <= x:
            col += 1
        return [row, col]

    page = sheet.getDrawPage()
    for i in range(page.getCount()):
        shape = page.getByIndex(i)
        p, s = shape.getPosition(), shape.getSize()
        out["shapes"].append({"type": shape.getShapeType(), "cell": cell_under(p.X, p.Y),
                              "width": s.Width, "height": s.Height})
    return out


def compare_lo(pairs):
    sys.path.insert(0, __file__.rsplit("/", 1)[0])
    from lo_workbook import Office
    problems = []
    reports = []
    with Office() as office:
        docs = {}

        def sheet_of(path, name):
            if path not in docs:
                docs[path] = office.open(path)
            return lo_sheet(docs[path], name)

        for source, source_name, copy, copy_name in pairs:
            a, b = sheet_of(source, source_name), sheet_of(copy, copy_name)
            label = "%s!%s" % (source.rsplit("/", 1)[-1], source_name)
            for key, (text, fmt) in a["cells"].items():
                other = b["cells"].get(key, ["", "General"])
                if [text, fmt] != other:
                    problems.append("%s cell %s shows %r (%s), copy %r (%s)" % (label, key, text, fmt, *other))
            if sorted(a["merged"]) != sorted(b["merged"]):
                problems.append("%s merged %s, copy %s" % (label, a["merged"], b["merged"]))
            charts = [s for s in a["shapes"] if s["type"] == "com.sun.star.drawing.OLE2Shape"]
            pictures = [s for s in b["shapes"] if s["type"] == "com.sun.star.drawing.GraphicObjectShape"]
            if len(pictures) != len(charts) or len(b["shapes"]) != len(a["shapes"]):
                problems.append("%s: %d charts among %d objects, copy %d pictures among %d" % (
                    label, len(charts), len(a["shapes"]), len(pictures), len(b["shapes"])))
            for chart, picture in zip(charts, pictures):
                if chart["cell"] != picture["cell"]:
                    problems.append("%s: a chart at row/column %s, its picture at %s" % (
                        label, chart["cell"], picture["cell"]))
                for side in ("width", "height"):
                    # The picture is the chart's size; 1 mm of rounding in the anchor is allowed.
                    if abs(chart[side] - picture[side]) > 100:
                        problems.append("%s: a chart %s %d, its picture %d (1/100 mm)" % (
                            label, side, chart[side], picture[side]))
            reports.append("%s: %d cells, %d merged, %d chart(s) as picture(s) at %s" % (
                label, len(a["cells"]), len(a["merged"]), len(pictures), [p["cell"] for p in pictures]))
        for doc in docs.values():
            doc.close(True)
    if problems:
        print("FAILED: LibreOffice:\n  " + "\n  ".join(problems[:40]))
        return False
    for line in reports:
        print("ok: LibreOffice: " + line)
    return True


if __name__ == "__main__":
    if sys.argv[1] == "xlrd":
        sys.exit(0 if compare_xlrd(*sys.argv[2:6]) else 1)
    if sys.argv[1] == "lo":
        sys.exit(0 if compare_lo(json.loads(sys.argv[2])) else 1)
    sys.exit("usage: transfer_check.py xlrd SOURCE SHEET COPY SHEET | lo PAIRS_JSON")
