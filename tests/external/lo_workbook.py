#!/usr/bin/python3
"""Opens and writes .xls workbooks in LibreOffice, as a user's spreadsheet
program would, for the external checks.

  lo_workbook.py dump FILE [PASSWORD]      -> JSON: sheets, visibility, DATA rows, header fonts
  lo_workbook.py make-store FILE PASSWORD  -> a store made by LibreOffice: START, hidden DATA, lines
  lo_workbook.py make-plain FILE [PASSWORD]-> sheets First/Second with text, numbers and a formula
  lo_workbook.py make-lines-store FILE PASSWORD COUNT -> a store of COUNT lines in 200 groups
"""
import json
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


class Office:
    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="tavolex-lo-")
        self.pipe = "tavolex%d" % os.getpid()
        self.proc = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
             "-env:UserInstallation=file://" + self.profile,
             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.time() + 90
        while True:
            try:
                ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)
                break
            except Exception:
                if time.time() > deadline or self.proc.poll() is not None:
                    raise RuntimeError("LibreOffice did not start")
                time.sleep(0.3)
        self.ctx = ctx
        self.desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        return self

    def open(self, path, password=None):
        args = [prop("Hidden", True)]
        if password:
            args.append(prop("Password", password))
        doc = self.desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(path)), "_blank", 0, tuple(args))
        if doc is None:
            raise RuntimeError("LibreOffice could not open " + path)
        return doc

    def new(self):
        return self.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))

    def __exit__(self, *exc):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        try:
            self.proc.wait(timeout=20)
        except Exception:
            self.proc.kill()
        subprocess.run(["rm", "-rf", self.profile])


def cell_text(sheet, col, row):
    c = sheet.getCellByPosition(col, row)
    return c.getString()


def dump(path, password):
    with Office() as office:
        doc = office.open(path, password)
        sheets = doc.getSheets()
        out = {"sheets": [], "rows": [], "header": []}
        for i in range(sheets.getCount()):
            s = sheets.getByIndex(i)
            out["sheets"].append({"name": s.getName(), "visible": bool(s.IsVisible)})
        if sheets.hasByName("DATA"):
            data = sheets.getByName("DATA")
            for col in range(11):
                c = data.getCellByPosition(col, 0)
                out["header"].append({"text": c.getString(), "bold": c.CharWeight >= 150,
                                      "underline": int(c.CharUnderline)})
            for row in range(1, 10000):
                if cell_text(data, 0, row).strip() == "":
                    break
                out["rows"].append([cell_text(data, col, row) for col in range(11)])
        for i in range(sheets.getCount()):
            s = sheets.getByIndex(i)
            if s.getName() != "DATA":
                out.setdefault("cells", {})[s.getName()] = [
                    [cell_text(s, col, row) for col in range(3)] for row in range(3)]
        doc.close(True)
        print(json.dumps(out, ensure_ascii=False))


def save_xls(doc, path, password):
    args = [prop("FilterName", "MS Excel 97"), prop("Overwrite", True)]
    if password:
        args.append(prop("Password", password))
    doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)), tuple(args))
    doc.close(True)


def make_store(path, password):
    with Office() as office:
        doc = office.new()
        sheets = doc.getSheets()
        first = sheets.getByIndex(0)
        first.setName("START")
        sheets.insertNewByName("DATA", 1)
        data = sheets.getByName("DATA")
        headers = ["Pos.", "PresentationGroup", "Supp.", "Description", "FileName", "InpSheet",
                   "OutSheet", "ObjName", "FirstPage", "LastPage", "Sort"]
        for col, text in enumerate(headers):
            data.getCellByPosition(col, 0).setString(text)
        lines = [(1, "  Budget  ", "first"), (2, "Annual", "second"), (3, "budget", "third"),
                 (4, "Zeta", "fourth"), (5, "Annual", "fifth")]
        for row, (ident, group, desc) in enumerate(lines, start=1):
            data.getCellByPosition(0, row).setValue(ident)
            data.getCellByPosition(1, row).setString(group)
            data.getCellByPosition(3, row).setString(desc)
            data.getCellByPosition(10, row).setValue(100 * row)
        data.IsVisible = False
        save_xls(doc, path, password)


def make_lines_store(path, password, count):
    """A store of `count` lines in 200 groups, as a user's long list would be."""
    with Office() as office:
        doc = office.new()
        sheets = doc.getSheets()
        sheets.getByIndex(0).setName("START")
        sheets.insertNewByName("DATA", 1)
        data = sheets.getByName("DATA")
        headers = ("Pos.", "PresentationGroup", "Supp.", "Description", "FileName", "InpSheet",
                   "OutSheet", "ObjName", "FirstPage", "LastPage", "Sort")
        rows = [headers]
        for ident in range(1, count + 1):
            rows.append((ident, "Group %d" % (ident % 200), "P" if ident % 7 == 0 else "",
                         "Description of line %d" % ident, "/home/user/documents/file%d.doc" % ident,
                         "", "", "", 1, 3, 100 + ident // 200))
        data.getCellRangeByPosition(0, 0, len(headers) - 1, count).setDataArray(tuple(rows))
        data.IsVisible = False
        save_xls(doc, path, password)


def make_plain(path, password):
    with Office() as office:
        doc = office.new()
        sheets = doc.getSheets()
        first = sheets.getByIndex(0)
        first.setName("First")
        sheets.insertNewByName("Second", 1)
        sheets.insertNewByName("Hidden one", 2)
        first.getCellByPosition(0, 0).setString("Città è bella")
        first.getCellByPosition(1, 0).setValue(42.5)
        first.getCellByPosition(0, 1).setValue(-7)
        second = sheets.getByName("Second")
        second.getCellByPosition(0, 0).setValue(20)
        second.getCellByPosition(1, 0).setValue(22)
        second.getCellByPosition(2, 0).setFormula("=A1+B1")
        sheets.getByName("Hidden one").IsVisible = False
        save_xls(doc, path, password)


if __name__ == "__main__":
    cmd, path = sys.argv[1], sys.argv[2]
    pw = sys.argv[3] if len(sys.argv) > 3 else None
    if cmd == "make-lines-store":  # make-lines-store PATH PASSWORD COUNT
        make_lines_store(path, pw, int(sys.argv[4]))
    else:
        {"dump": dump, "make-store": make_store, "make-plain": make_plain}[cmd](path, pw)
