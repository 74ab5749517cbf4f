#!/usr/bin/python3
"""Outside views of a workbook with embedded objects, for the external checks.

  ole_objects.py storages FILE    -> one line per MBD storage: name, CLSID, streams (sorted, '|'-joined)
  ole_objects.py package FILE STORAGE OUT
                                  -> the file inside STORAGE/\\x01Ole10Native, read by olefile and
                                     parsed here as MS-OLEDS lays it out, written to OUT
  ole_objects.py lo FILE OUT      -> one line per OLE object LibreOffice finds (sheet, name), then
                                     the workbook saved again by LibreOffice to OUT: LibreOffice
                                     on Linux shows no class of a foreign object, but writes each
                                     back with the class it read
  ole_objects.py pages FILE...    -> the page count of each document, slide count of each
                                     presentation, as LibreOffice opens them
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def storages(path):
    import olefile
    ole = olefile.OleFileIO(path)
    names = sorted({e[0] for e in ole.listdir(streams=True, storages=True) if e[0].startswith("MBD")})
    for name in names:
        streams = sorted("/".join(e[1:]) for e in ole.listdir() if e[0] == name)
        print("%s\t%s\t%s" % (name, ole.getclsid(name).upper(), "|".join(s.replace("\x01", "\\1").replace("\x03", "\\3") for s in streams)))


def package(path, storage, out):
    import olefile
    data = olefile.OleFileIO(path).openstream(storage + "/\x01Ole10Native").read()
    at = 4 + 2
    for _ in range(2):  # label, source path
        at = data.index(b"\0", at) + 1
    at += 4  # unused, kind
    temp_length = struct.unpack_from("<I", data, at)[0]
    at += 4 + temp_length
    size = struct.unpack_from("<I", data, at)[0]
    with open(out, "wb") as f:
        f.write(data[at + 4:at + 4 + size])


def lo(path, out):
    from lo_workbook import Office, save_xls
    with Office() as office:
        doc = office.open(path)
        sheets = doc.getSheets()
        for i in range(sheets.getCount()):
            sheet = sheets.getByIndex(i)
            page = sheet.getDrawPage()
            for k in range(page.getCount()):
                shape = page.getByIndex(k)
                if shape.getShapeType() == "com.sun.star.drawing.OLE2Shape":
                    print("%s\t%s" % (sheet.getName(), shape.getPropertyValue("PersistName")))
        save_xls(doc, out, None)


def pages(paths):
    from lo_workbook import Office
    with Office() as office:
        for path in paths:
            doc = office.open(path)
            if hasattr(doc, "getDrawPages"):
                print(doc.getDrawPages().getCount())
            else:
                print(doc.getCurrentController().getPropertyValue("PageCount"))
            doc.close(True)


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "storages":
        storages(sys.argv[2])
    elif command == "package":
        package(sys.argv[2], sys.argv[3], sys.argv[4])
    elif command == "pages":
        pages(sys.argv[2:])
    elif command == "lo":
        lo(sys.argv[2], sys.argv[3])
    else:
        sys.exit("unknown command " + command)
