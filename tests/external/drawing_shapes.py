#!/usr/bin/python3
"""The drawn objects of each sheet of an .xls, read straight from the file
with olefile and a walk of the BIFF8 records and their OfficeArt drawing
data (none of our code): for every shape, whether it is an embedded object
(fOleShape) and whether it is hidden (property 0x03BF with fUsefHidden and
fHidden set). A file encrypted with Excel's built-in password (as a
protected structure makes it) is decrypted first with msoffcrypto-tool.

  drawing_shapes.py FILE   -> JSON {sheet name: [{"ole": bool, "hidden": bool}, ...]}
"""
import json
import struct
import sys

import io

import olefile

BOF, EOF, BOUNDSHEET, MSODRAWING, CONTINUE = 0x0809, 0x000A, 0x0085, 0x00EC, 0x003C


def records(stream, at=0):
    while at + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, at)
        yield at, rid, stream[at + 4:at + 4 + size]
        at += 4 + size


def sheet_offsets(stream):
    sheets = []
    for _, rid, body in records(stream):
        if rid == BOUNDSHEET:
            offset, chars, flags = struct.unpack_from("<I", body, 0)[0], body[6], body[7]
            raw = body[8:8 + chars * (2 if flags & 1 else 1)]
            sheets.append((raw.decode("utf-16-le" if flags & 1 else "latin-1"), offset))
        elif rid == EOF:
            break
    return sheets


def drawing_data(stream, offset):
    """The sheet's MSODRAWING data joined, leaving out embedded chart substreams."""
    data, depth, previous = b"", 0, None
    for _, rid, body in records(stream, offset):
        if rid == BOF:
            depth += 1
        elif rid == EOF:
            depth -= 1
            if depth == 0:
                break
        elif depth == 1 and (rid == MSODRAWING or (rid == CONTINUE and previous == MSODRAWING)):
            data += body
        if depth == 1:
            previous = MSODRAWING if rid == MSODRAWING or (rid == CONTINUE and previous == MSODRAWING) else rid
    return data


def shapes(data):
    found = []

    def walk(begin, end):
        at = begin
        while at + 8 <= end:
            ver_inst, rtype, length = struct.unpack_from("<HHI", data, at)
            body, stop = at + 8, min(at + 8 + length, end)
            if rtype == 0xF004:  # a shape container: its FSP and OPT
                shape = {"ole": False, "hidden": False, "patriarch": False}
                inner = body
                while inner + 8 <= stop:
                    vi, t, n = struct.unpack_from("<HHI", data, inner)
                    if t == 0xF00A and n >= 8:
                        flags = struct.unpack_from("<I", data, inner + 12)[0]
                        shape["ole"] = bool(flags & 0x10)
                        shape["patriarch"] = bool(flags & 0x4)
                    elif t == 0xF00B:
                        for k in range(vi >> 4):
                            pid, value = struct.unpack_from("<HI", data, inner + 8 + 6 * k)
                            if pid & 0x3FFF == 0x03BF:
                                shape["hidden"] = bool(value & 0x20000) and bool(value & 0x2)
                    inner += 8 + n
                if not shape.pop("patriarch"):
                    found.append(shape)
            elif ver_inst & 0xF == 0xF:
                walk(body, stop)
            at = body + length

    walk(0, len(data))
    return found


def workbook_stream(path):
    stream = olefile.OleFileIO(path).openstream("Workbook").read()
    for _, rid, _ in records(stream):
        if rid == 0x002F:  # FILEPASS
            import msoffcrypto
            office = msoffcrypto.OfficeFile(open(path, "rb"))
            office.load_key(password="VelvetSweatshop")
            clear = io.BytesIO()
            office.decrypt(clear)
            return olefile.OleFileIO(clear.getvalue()).openstream("Workbook").read()
        if rid in (EOF, BOUNDSHEET):
            break
    return stream


def main(path):
    stream = workbook_stream(path)
    print(json.dumps({name: shapes(drawing_data(stream, offset)) for name, offset in sheet_offsets(stream)},
                     ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
