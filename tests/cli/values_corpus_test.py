#!/usr/bin/env python3
"""tabulon-cli --values --csv over the real-file corpus: every numeric cell's text reads back to
the value that the workbook stores, read here from the raw XML of xlsx and ods files and from the
BIFF8 records of xls files (NUMBER, RK, MULRK, numeric FORMULA results, booleans): numbers to the
same double, dates and times through ISO 8601 to the same serial (to the millisecond).

Usage: values_corpus_test.py TABULON_CLI CORPUS_FOLDER
Exit status 0 when every cell read back, 1 on a mismatch, 77 when the corpus is missing.
"""
import csv
import datetime
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile
import xml.etree.ElementTree as ET

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
STRICT = "{http://purl.oclc.org/ooxml/spreadsheetml/main}"
REL = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
PKG_REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"

ISO = re.compile(r"^(?:(\d{4})-(\d\d)-(\d\d))?T?(?:(\d\d):(\d\d):(\d\d)(?:\.(\d{1,3}))?)?$")
HALF_MS = 0.5 / 86400000
EPOCH_1900 = datetime.datetime(1899, 12, 30)
EPOCH_1904 = datetime.datetime(1904, 1, 1)


def column_number(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n


def iso_serial(text, date1904):
    """The serial day number of an ISO 8601 text, in the workbook's date system."""
    m = ISO.match(text)
    if not m or text == "":
        return None
    year, month, day, hour, minute, second, fraction = m.groups()
    serial = 0.0
    if year:
        when = datetime.datetime(int(year), int(month), int(day))
        serial = (when - (EPOCH_1904 if date1904 else EPOCH_1900)).days
        # The 1900 system counts a 29 February 1900 that never was.
        if not date1904 and serial < 61:
            serial -= 1
    if hour:
        ms = ((int(hour) * 60 + int(minute)) * 60 + int(second)) * 1000
        if fraction:
            ms += int(fraction.ljust(3, "0"))
        serial += ms / 86400000
    return serial


class Checker:
    def __init__(self):
        self.numbers = 0
        self.dates = 0
        self.booleans = 0
        self.failures = []

    def number(self, where, text, stored, date1904):
        """A numeric cell: its text is the same double, or an ISO date of the same serial."""
        try:
            if float(text) == stored:
                self.numbers += 1
                return
        except ValueError:
            serial = iso_serial(text, date1904)
            if serial is not None and abs(serial - stored) <= HALF_MS + abs(stored) * 1e-15:
                self.dates += 1
                return
        self.failures.append(f"{where}: {text!r} for the stored {stored!r}")

    def boolean(self, where, text, stored):
        if text == ("TRUE" if stored else "FALSE"):
            self.booleans += 1
        else:
            self.failures.append(f"{where}: {text!r} for the stored boolean {stored}")


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, strict=True))


def cell_text(rows, row, col):
    if row <= len(rows) and col <= len(rows[row - 1]):
        return rows[row - 1][col - 1]
    return None


def xlsx_sheets(archive):
    """(name, part) of every sheet, and whether the workbook counts from 1904."""
    workbook = ET.fromstring(archive.read("xl/workbook.xml"))
    ns = MAIN if workbook.tag.startswith(MAIN) else STRICT
    pr = workbook.find(f"{ns}workbookPr")
    date1904 = pr is not None and pr.get("date1904") in ("1", "true")
    rels = ET.fromstring(archive.read("xl/_rels/workbook.xml.rels"))
    targets = {r.get("Id"): r.get("Target") for r in rels.iter(f"{PKG_REL}Relationship")}
    sheets = []
    for sheet in workbook.iter(f"{ns}sheet"):
        rid = next((v for k, v in sheet.attrib.items() if k.endswith("}id")), None)
        target = targets.get(rid, "")
        part = target.lstrip("/") if target.startswith("/") else "xl/" + target
        sheets.append((sheet.get("name"), part))
    return sheets, date1904


def check_xlsx(path, csv_of, checker):
    with zipfile.ZipFile(path) as archive:
        sheets, date1904 = xlsx_sheets(archive)
        for name, part in sheets:
            rows = csv_of(name)
            if rows is None or part not in archive.namelist():
                continue
            row = 0
            for element in ET.fromstring(archive.read(part)).iter():
                tag = element.tag.rsplit("}", 1)[-1]
                if tag == "row":
                    row = int(element.get("r", row + 1))
                    col = 0
                elif tag == "c":
                    ref = element.get("r")
                    if ref:
                        m = re.match(r"([A-Z]+)(\d+)", ref)
                        col, row = column_number(m.group(1)), int(m.group(2))
                    else:
                        col += 1
                    value = next((v.text for v in element if v.tag.endswith("}v")), None)
                    kind = element.get("t", "n")
                    if value is None or kind not in ("n", "b"):
                        continue
                    where = f"{os.path.basename(path)} {name}!R{row}C{col}"
                    text = cell_text(rows, row, col)
                    if text is None:
                        checker.failures.append(f"{where}: no field")
                    elif kind == "b":
                        checker.boolean(where, text, value.strip() in ("1", "true"))
                    else:
                        checker.number(where, text, float(value), date1904)


def ods_serial(text):
    when = datetime.datetime.fromisoformat(text[:26])
    return (when - EPOCH_1900) / datetime.timedelta(days=1)


def ods_duration(text):
    m = re.match(r"^-?P(?:(\d+)D)?T(?:(\d+)H)?(?:(\d+)M)?(?:([\d.]+)S)?$", text)
    days, hours, minutes, seconds = (float(g) if g else 0.0 for g in m.groups())
    return days + (hours * 3600 + minutes * 60 + seconds) / 86400


def check_ods(path, csv_of, checker):
    with zipfile.ZipFile(path) as archive:
        if "content.xml" not in archive.namelist():
            return
        content = ET.fromstring(archive.read("content.xml"))
    for table in content.iter(f"{TABLE}table"):
        name = table.get(f"{TABLE}name")
        rows = csv_of(name)
        if rows is None:
            continue
        row = 0
        for row_element in table.iter(f"{TABLE}table-row"):
            repeat_rows = int(row_element.get(f"{TABLE}number-rows-repeated", "1"))
            col = 0
            for cell in row_element:
                if not (cell.tag.endswith("}table-cell") or cell.tag.endswith("}covered-table-cell")):
                    continue
                repeat = int(cell.get(f"{TABLE}number-columns-repeated", "1"))
                kind = cell.get(f"{OFFICE}value-type")
                stored = None
                if kind in ("float", "percentage", "currency"):
                    stored = float(cell.get(f"{OFFICE}value"))
                elif kind == "date":
                    stored = ods_serial(cell.get(f"{OFFICE}date-value"))
                elif kind == "time":
                    stored = ods_duration(cell.get(f"{OFFICE}time-value"))
                elif kind == "boolean":
                    stored = cell.get(f"{OFFICE}boolean-value") == "true"
                if stored is not None and repeat_rows * repeat <= 10000:
                    for r in range(row + 1, row + repeat_rows + 1):
                        for c in range(col + 1, col + repeat + 1):
                            where = f"{os.path.basename(path)} {name}!R{r}C{c}"
                            text = cell_text(rows, r, c)
                            if text is None:
                                checker.failures.append(f"{where}: no field")
                            elif kind == "boolean":
                                checker.boolean(where, text, stored)
                            else:
                                checker.number(where, text, stored, False)
                col += repeat
            row += repeat_rows


def biff_records(stream, at):
    """(type, data) of the records of the substream at offset `at`, up to its EOF, without the
    substreams inside it (an embedded chart's cached series values are no cells)."""
    depth = 0
    while at + 4 <= len(stream):
        kind, size = struct.unpack_from("<HH", stream, at)
        at += 4 + size
        if kind == 0x0809:  # BOF
            depth += 1
        elif kind == 0x000A:  # EOF
            depth -= 1
            if depth <= 0:
                return
        elif depth == 1:
            yield kind, stream[at - size:at]


def rk_value(rk):
    """The number of an RK value (as an unsigned 32-bit number)."""
    if rk & 2:
        value = float((rk - (1 << 32) if rk & 0x80000000 else rk) >> 2)  # a signed integer
    else:
        value = struct.unpack("<d", struct.pack("<Q", (rk & 0xFFFFFFFC) << 32))[0]
    return value / 100 if rk & 1 else value


def compound_file_stream(path, wanted):
    """The stream `wanted` of a compound file (the container of xls), or None."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1":
        return None
    sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
    fat_count, first_dir = struct.unpack_from("<II", data, 0x2C)
    cutoff, first_minifat, _, first_difat, difat_count = struct.unpack_from("<IIIII", data, 0x38)

    def at(sid):
        return data[(sid + 1) * sector:(sid + 2) * sector]

    fat_sectors = [sid for sid in struct.unpack_from("<109I", data, 0x4C) if sid < 0xFFFFFFFA]
    sid = first_difat
    for _ in range(difat_count):
        entries = struct.unpack(f"<{sector // 4}I", at(sid))
        fat_sectors += [e for e in entries[:-1] if e < 0xFFFFFFFA]
        sid = entries[-1]
    fat = []
    for sid in fat_sectors[:fat_count]:
        fat += struct.unpack(f"<{sector // 4}I", at(sid))

    def chain(start, table):
        seen = set()
        while start < 0xFFFFFFFA and start not in seen and start < len(table):
            seen.add(start)
            yield start
            start = table[start]

    directory = b"".join(at(sid) for sid in chain(first_dir, fat))
    minifat = []
    for sid in chain(first_minifat, fat):
        minifat += struct.unpack(f"<{sector // 4}I", at(sid))
    root_start = struct.unpack_from("<I", directory, 0x74)[0]
    ministream = b"".join(at(sid) for sid in chain(root_start, fat))
    for entry in range(0, len(directory), 128):
        size = struct.unpack_from("<H", directory, entry + 0x40)[0]
        if directory[entry:entry + max(size - 2, 0)].decode("utf-16-le", "replace") != wanted:
            continue
        start, length = struct.unpack_from("<II", directory, entry + 0x74)
        if length < cutoff:
            parts = (ministream[sid * mini:(sid + 1) * mini] for sid in chain(start, minifat))
        else:
            parts = (at(sid) for sid in chain(start, fat))
        return b"".join(parts)[:length]
    return None


def check_xls(path, csv_of, checker):
    """BIFF8 workbooks that are not encrypted; others are left to the other tests."""
    stream = compound_file_stream(path, "Workbook")
    if stream is None:
        return False
    sheets, date1904 = [], False
    if stream[:2] != b"\x09\x08" or struct.unpack_from("<H", stream, 4)[0] != 0x0600:
        return False  # not BIFF8
    for kind, data in biff_records(stream, 0):
        if kind == 0x002F:
            return False  # encrypted
        if kind == 0x0022:
            date1904 = struct.unpack_from("<H", data)[0] == 1
        if kind == 0x0085 and data[5] == 0:  # a worksheet
            count, flags = data[6], data[7]
            name = (data[8:8 + 2 * count].decode("utf-16-le") if flags & 1
                    else data[8:8 + count].decode("latin-1"))
            sheets.append((name, struct.unpack_from("<I", data)[0]))
    for name, offset in sheets:
        rows = csv_of(name)
        if rows is None:
            continue
        for kind, data in biff_records(stream, offset):
            cells = []
            if kind == 0x0203:  # NUMBER
                row, col = struct.unpack_from("<HH", data)
                cells.append((row, col, struct.unpack_from("<d", data, 6)[0]))
            elif kind == 0x027E:  # RK
                row, col = struct.unpack_from("<HH", data)
                cells.append((row, col, rk_value(struct.unpack_from("<I", data, 6)[0])))
            elif kind == 0x00BD:  # MULRK
                row, first = struct.unpack_from("<HH", data)
                for i in range((len(data) - 6) // 6):
                    rk = struct.unpack_from("<I", data, 4 + 6 * i + 2)[0]
                    cells.append((row, first + i, rk_value(rk)))
            elif kind == 0x0006 and data[12:14] != b"\xff\xff":  # FORMULA with a number
                row, col = struct.unpack_from("<HH", data)
                cells.append((row, col, struct.unpack_from("<d", data, 6)[0]))
            elif kind == 0x0205 and data[7] == 0:  # BOOLERR holding a boolean
                row, col = struct.unpack_from("<HH", data)
                where = f"{os.path.basename(path)} {name}!R{row + 1}C{col + 1}"
                text = cell_text(rows, row + 1, col + 1)
                if text is not None:
                    checker.boolean(where, text, data[6] != 0)
            for row, col, stored in cells:
                where = f"{os.path.basename(path)} {name}!R{row + 1}C{col + 1}"
                text = cell_text(rows, row + 1, col + 1)
                if text is None:
                    checker.failures.append(f"{where}: no field")
                elif math.isfinite(stored):
                    checker.number(where, text, stored, date1904)
    return True


def main():
    cli, corpus = sys.argv[1], sys.argv[2]
    files = os.path.join(corpus, "files")
    if not os.path.isdir(files):
        print(f"shared data: {files}: missing")
        return 1 if os.environ.get("CI") == "true" else 77
    checker = Checker()
    covered = {}
    with tempfile.TemporaryDirectory() as scratch:
        for index, name in enumerate(sorted(os.listdir(files))):
            path = os.path.join(files, name)
            stem, ext = os.path.splitext(name)
            ext = ext.lower()
            if ext not in (".xlsx", ".xlsm", ".xltx", ".ods", ".xls"):
                continue
            if ext != ".xls" and not zipfile.is_zipfile(path):
                continue
            out = os.path.join(scratch, str(index))
            subprocess.run([cli, "--values", "--csv", "--mode", "sheet", "--output", out, path],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)

            def csv_of(sheet):
                result = os.path.join(out, f"{stem}_{sheet}.csv")
                return read_csv(result) if os.path.isfile(result) else None

            try:
                if ext == ".xls":
                    if not check_xls(path, csv_of, checker):
                        continue
                else:
                    (check_ods if ext == ".ods" else check_xlsx)(path, csv_of, checker)
            except (KeyError, ET.ParseError, zipfile.BadZipFile, struct.error, IndexError, OSError):
                continue  # a damaged or encrypted file: tabulon-cli saved nothing for it
            covered[ext] = covered.get(ext, 0) + 1
    print(f"workbooks {covered}: {checker.numbers} numbers, {checker.dates} dates and times, "
          f"{checker.booleans} booleans read back")
    for failure in checker.failures[:50]:
        print("FAIL:", failure)
    return 1 if checker.failures or checker.numbers == 0 or checker.dates == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
