#!/usr/bin/python3
"""Checks the macro project of a Presentation written by the engine with
readers of our own making here (olefile for the compound file, a decompressor
and the protection decoding written from the format's documentation) and with
LibreOffice's VBA import.

  vba_project.py structure FILE REFERENCE       storages and streams as Excel lays them out
  vba_project.py protection FILE locked|open [PASSWORD]
  vba_project.py sources FILE TOOL              module sources equal the macro texts
  vba_project.py records FILE                   OBPROJ and the CODENAME records of the Workbook stream
  vba_project.py libreoffice FILE TOOL          LibreOffice imports the four components with their source
Exit status 0 when the check holds; the reason is printed otherwise.
"""
import hashlib
import struct
import subprocess
import sys

import olefile

PROJECT = "_VBA_PROJECT_CUR"


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def decompress(data):
    if not data or data[0] != 1:
        raise ValueError("no signature")
    out = bytearray()
    pos = 1
    while pos < len(data):
        header = struct.unpack_from("<H", data, pos)[0]
        end = min(pos + (header & 0x0FFF) + 3, len(data))
        pos += 2
        start = len(out)
        if not header & 0x8000:
            out += data[pos:pos + 4096]
            pos += 4096
            continue
        while pos < end:
            flags = data[pos]
            pos += 1
            for bit in range(8):
                if pos >= end:
                    break
                if flags >> bit & 1:
                    token = struct.unpack_from("<H", data, pos)[0]
                    pos += 2
                    bits = max((len(out) - start - 1).bit_length(), 4)
                    length = (token & (0xFFFF >> bits)) + 3
                    offset = (token >> (16 - bits)) + 1
                    for _ in range(length):
                        out.append(out[-offset])
                else:
                    out.append(data[pos])
                    pos += 1
    return bytes(out)


def dir_records(ole):
    data = decompress(ole.openstream(PROJECT + "/VBA/dir").read())
    pos, records = 0, []
    while pos + 6 <= len(data):
        rid, size = struct.unpack_from("<HI", data, pos)
        if rid == 0x0009:
            size = 6
        records.append((rid, data[pos + 6:pos + 6 + size]))
        pos += 6 + size
    return records


def modules(ole):
    """(name, stream, offset, procedural) of each module."""
    out, current = [], None
    for rid, body in dir_records(ole):
        if rid == 0x0019:
            current = [body.decode("cp1252"), None, 0, False]
            out.append(current)
        elif current and rid == 0x001A:
            current[1] = body.decode("cp1252")
        elif current and rid == 0x0031:
            current[2] = struct.unpack("<I", body)[0]
        elif current and rid == 0x0021:
            current[3] = True
    return out


def entries(ole):
    return sorted("/".join(e) for e in ole.listdir(streams=True, storages=True) if e[0] == PROJECT)


def shape(path, names):
    """Entries with module and form names replaced by their kind."""
    out = set()
    for e in path:
        parts = e.split("/")
        parts = [names.get(p, p) for p in parts]
        out.add("/".join(parts))
    return out


def structure(file, reference):
    ours, excel = olefile.OleFileIO(file), olefile.OleFileIO(reference)
    def names(ole):
        kinds = {}
        for line in ole.openstream(PROJECT + "/PROJECT").read().decode("cp1252").splitlines():
            key, _, value = line.partition("=")
            if key in ("Document", "Module", "BaseClass"):
                kinds[value.split("/")[0]] = "<" + key + ">"
        return kinds
    ours_shape = shape(entries(ours), names(ours))
    excel_shape = {e for e in shape(entries(excel), names(excel)) if "__SRP_" not in e}
    if ours_shape != excel_shape:
        fail("entries differ from Excel's: ours only %s, Excel's only %s" % (sorted(ours_shape - excel_shape),
                                                                            sorted(excel_shape - ours_shape)))
    expected = {"_VBA_PROJECT_CUR/VBA/Module1", "_VBA_PROJECT_CUR/VBA/ThisWorkbook", "_VBA_PROJECT_CUR/VBA/Us_Menu",
                "_VBA_PROJECT_CUR/VBA/Userform00", "_VBA_PROJECT_CUR/Us_Menu/\x03VBFrame",
                "_VBA_PROJECT_CUR/Userform00/f", "_VBA_PROJECT_CUR/Userform00/o"}
    missing = expected - set(entries(ours))
    if missing:
        fail("missing " + str(sorted(missing)))
    if ours.openstream(PROJECT + "/VBA/_VBA_PROJECT").read() != b"\xcc\x61\xff\xff\x00\x00\x00":
        fail("_VBA_PROJECT is not the source-only header")
    for form in ("Us_Menu", "Userform00"):
        if ours.openstream(PROJECT + "/" + form + "/\x01CompObj").read() != \
                excel.openstream(PROJECT + "/UserForm1/\x01CompObj").read():
            fail(form + ": CompObj differs from Excel's")
        if ours.get_size(PROJECT + "/" + form + "/o") != 0:
            fail(form + ": the o stream is not empty")
    print("ok: storages and streams as Excel writes them: " + ", ".join(entries(ours)))


def deobfuscate(text):
    data = bytes.fromhex(text)
    seed, version_enc, key_enc = data[0], data[1], data[2]
    if version_enc ^ seed != 2:
        raise ValueError("version")
    enc2, enc1, plain1 = version_enc, key_enc, key_enc ^ seed
    out = []
    for b in data[3:]:
        p = b ^ ((enc2 + plain1) & 0xFF)
        out.append(p)
        enc2, enc1, plain1 = enc1, b, p
    ignored = (seed & 6) // 2
    length = struct.unpack("<I", bytes(out[ignored:ignored + 4]))[0]
    body = bytes(out[ignored + 4:])
    if length != len(body):
        raise ValueError("length")
    return body


def protection(file, expected, password):
    ole = olefile.OleFileIO(file)
    lines = dict(line.split("=", 1) for line in ole.openstream(PROJECT + "/PROJECT").read().decode("cp1252").splitlines()
                 if "=" in line and not line.startswith("&H"))
    state = struct.unpack("<I", deobfuscate(lines["CMG"].strip('"')))[0]
    dpb = deobfuscate(lines["DPB"].strip('"'))
    visibility = deobfuscate(lines["GC"].strip('"'))
    if expected == "open":
        if (state, dpb, visibility, lines["ID"] != '"{00000000-0000-0000-0000-000000000000}"') != (0, b"\x00", b"\xff", True):
            fail("not an open project: state %d, password %s, visibility %s" % (state, dpb.hex(), visibility.hex()))
        print("ok: open project (state 0, no password, visible)")
        return
    if state != 5 or visibility != b"\x00" or len(dpb) != 29 or dpb[0] != 0xFF or dpb[28] != 0:
        fail("not locked with a password: state %d, password %s, visibility %s" % (state, dpb.hex(), visibility.hex()))
    if lines["ID"] != '"{00000000-0000-0000-0000-000000000000}"':
        fail("a locked project keeps its id: " + lines["ID"])
    grbit = dpb[1:4]
    def nulls(raw, first):
        return bytes(0 if not (grbit[(first + i) // 8] >> (7 - (first + i) % 8)) & 1 else b for i, b in enumerate(raw))
    key, stored = nulls(dpb[4:8], 0), nulls(dpb[8:28], 4)
    if hashlib.sha1(password.encode("cp1252") + key).digest() != stored:
        fail("the password hash does not hold the password")
    if hashlib.sha1((password + "x").encode("cp1252") + key).digest() == stored:
        fail("another password opens it")
    print("ok: locked, password set (state 5, visibility 0, SHA-1 of the password and key %s)" % key.hex())


def sources(file, tool):
    ole = olefile.OleFileIO(file)
    texts = {"ThisWorkbook": "workbook", "Module1": "module", "Us_Menu": "menu", "Userform00": "backdrop"}
    found = {}
    for name, stream, offset, procedural in modules(ole):
        source = decompress(ole.openstream(PROJECT + "/VBA/" + stream).read()[offset:]).decode("cp1252")
        if not source.startswith('Attribute VB_Name = "%s"\r\n' % name):
            fail(name + ": the source does not start with its name")
        code = "".join(l + "\r\n" for l in source.split("\r\n")[:-1] if not l.startswith("Attribute "))
        found[name] = (code, procedural)
    for name, which in texts.items():
        if name not in found:
            fail("no module " + name)
        text = subprocess.run([tool, "text", which], check=True, capture_output=True).stdout.decode("cp1252")
        if found[name][0] != text:
            fail(name + ": the source differs from the macro text")
    if not found["Module1"][1] or found["Us_Menu"][1]:
        fail("module types: Module1 must be procedural, the forms not")
    print("ok: the four components hold the macro texts: " + ", ".join(sorted(found)))


def records(file):
    data = olefile.OleFileIO(file).openstream("Workbook").read()
    pos, substream, seen = 0, -1, []
    while pos + 4 <= len(data):
        rid, size = struct.unpack_from("<HH", data, pos)
        body = data[pos + 4:pos + 4 + size]
        if rid == 0x0809:
            substream += 1
        if rid in (0x00D3, 0x01BA, 0x013D, 0x009C):
            name = body[3:3 + struct.unpack_from("<H", body)[0]].decode("latin-1") if rid == 0x01BA else ""
            seen.append((substream, rid, name))
        pos += 4 + size
    globals_ = [r[1:] for r in seen if r[0] == 0]
    if globals_[:4] != [(0x013D, ""), (0x00D3, ""), (0x01BA, "ThisWorkbook"), (0x009C, "")]:
        fail("globals: TABID, OBPROJ, CODENAME ThisWorkbook, FNGROUPCOUNT expected, found %s" % globals_)
    sheets = sorted(r[2] for r in seen if r[0] > 0 and r[1] == 0x01BA)
    documents = sorted(l.split("=")[1].split("/")[0] for l in
                       olefile.OleFileIO(file).openstream(PROJECT + "/PROJECT").read().decode("cp1252").splitlines()
                       if l.startswith("Document=") and "ThisWorkbook" not in l)
    if sheets != documents:
        fail("sheet code names %s, document modules %s" % (sheets, documents))
    print("ok: OBPROJ and CODENAME ThisWorkbook after TABID; sheets " + ", ".join(sheets))


def libreoffice(file, tool):
    sys.path.insert(0, __file__.rsplit("/", 1)[0])
    from lo_workbook import Office, prop
    with Office() as office:
        provider = office.ctx.ServiceManager.createInstanceWithContext(
            "com.sun.star.configuration.ConfigurationProvider", office.ctx)
        access = provider.createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationUpdateAccess",
            (prop("nodepath", "/org.openoffice.Office.Calc/Filter/Import/VBA"),))
        access.setPropertyValue("Load", True)
        access.setPropertyValue("Executable", True)
        access.commitChanges()
        doc = office.open(file)
        libraries = doc.BasicLibraries
        sources = {}
        for name in libraries.getElementNames():
            libraries.loadLibrary(name)
            library = libraries.getByName(name)
            for module in library.getElementNames():
                sources[module] = library.getByName(module)
        doc.close(True)
    texts = {"ThisWorkbook": "workbook", "Module1": "module", "Us_Menu": "menu", "Userform00": "backdrop"}
    for name, which in texts.items():
        if name not in sources:
            fail("LibreOffice did not import %s (it has %s)" % (name, sorted(sources)))
        imported = set(l.strip() for l in sources[name].replace("\r\n", "\n").replace("\r", "\n").split("\n"))
        text = subprocess.run([tool, "text", which], check=True, capture_output=True).stdout.decode("cp1252")
        lost = [l.strip() for l in text.split("\r\n") if l.strip() and l.strip() not in imported]
        if lost:
            fail("%s: %d lines not in LibreOffice's import, first %r" % (name, len(lost), lost[0]))
    print("ok: LibreOffice imports " + ", ".join(sorted(sources)) + " with every line of the macro texts")


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "structure":
        structure(*args)
    elif command == "protection":
        protection(args[0], args[1], args[2] if len(args) > 2 else "")
    elif command == "sources":
        sources(*args)
    elif command == "records":
        records(*args)
    elif command == "libreoffice":
        libreoffice(*args)
    else:
        fail("unknown command " + command)
