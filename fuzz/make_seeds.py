#!/usr/bin/env python3
"""Seed corpora for the fuzz targets.

    make_seeds.py shared OUT     seeds from ../shared (corpus workbooks and format cases) into
                                 OUT/TARGET/; they are never copied into the repository
    make_seeds.py crafted OUT    the small structure-aware seeds kept in fuzz/seeds/TARGET/

Zip packages become the entry-list form that fuzz/FuzzInput.h describes (a name-length byte, the
name, a 32-bit content length, the content), so that mutations reach the entries' content.
"""
import hashlib
import os
import struct
import sys
import zipfile

MAX_SEED = 1 << 20  # larger workbooks slow every execution down
ZIP_TARGETS = {".xlsx": "fuzz_xlsx", ".xlsm": "fuzz_xlsx", ".xltx": "fuzz_xlsx",
               ".xlsb": "fuzz_xlsb", ".ods": "fuzz_ods"}


def parts(entries):
    """The entry-list form of (name, bytes) pairs."""
    out = bytearray()
    for name, data in entries:
        raw = name.encode()
        out += bytes([len(raw)]) + raw + struct.pack("<I", len(data)) + data
    return bytes(out)


def save(out, target, data, stem=None):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    stem = stem or hashlib.sha1(data).hexdigest()[:16]
    with open(os.path.join(folder, stem), "wb") as f:
        f.write(data)


def package_parts(path):
    """The entries of a package that a reader looks at (no pictures or thumbnails)."""
    with zipfile.ZipFile(path) as z:
        entries = []
        for info in z.infolist():
            if info.filename.endswith((".xml", ".rels", ".bin")) or info.filename == "mimetype":
                if "media/" in info.filename or "printerSettings" in info.filename:
                    continue
                entries.append((info.filename, z.read(info)))
    return parts(entries)


def from_shared(shared, out):
    corpus = os.path.join(shared, "corpus", "files")
    for name in sorted(os.listdir(corpus)):
        path = os.path.join(corpus, name)
        ext = os.path.splitext(name)[1].lower()
        try:
            if ext in ZIP_TARGETS:
                data = package_parts(path)
                target = ZIP_TARGETS[ext]
            elif ext == ".xls":
                data = open(path, "rb").read()
                target = "fuzz_xls"
            else:
                continue
        except (zipfile.BadZipFile, OSError, KeyError):
            continue
        if len(data) <= MAX_SEED:
            save(out, target, data)
    seen = set()
    with open(os.path.join(shared, "vectors", "cases.tsv"), encoding="utf-8") as f:
        next(f)
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 7 or fields[5] != "n" or fields[4] in seen:
                continue
            seen.add(fields[4])
            try:
                value = float(fields[6])
            except ValueError:
                continue
            save(out, "fuzz_numfmt", struct.pack("<d", value) + fields[4].encode())


CONTENT_TYPES = b"""<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>"""
ROOT_RELS = b"""<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>"""
WORKBOOK = b"""<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><workbookPr date1904="0"/><sheets><sheet name="S" sheetId="1" r:id="rId1"/><sheet name="H" sheetId="2" state="hidden" r:id="rId4"/></sheets></workbook>"""
WORKBOOK_RELS = b"""<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/><Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/></Relationships>"""
STYLES = b"""<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="2"><numFmt numFmtId="164" formatCode="[Red][&lt;0]#,##0.00_);&quot;x&quot;@"/><numFmt numFmtId="165" formatCode="yyyy-mm-dd hh:mm:ss.000 AM/PM"/></numFmts><cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="14"/></cellXfs></styleSheet>"""
STRINGS = b"""<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2"><si><t xml:space="preserve"> one _x000D_ </t></si><si><r><t>ri</t></r><r><t>ch</t></r><rPh><t>x</t></rPh></si></sst>"""


def sheet(data):
    return (b'<?xml version="1.0" encoding="UTF-8"?>\n<worksheet xmlns="http://schemas.openxmlformats.org/'
            b'spreadsheetml/2006/main"><dimension ref="A1:XFD1048576"/><sheetData>' + data +
            b"</sheetData></worksheet>")


SHEET1 = sheet(b'<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>-1234.5</v></c>'
               b'<c r="C1" s="2"><v>45000.75</v></c><c r="D1" t="inlineStr"><is><t>in&amp;line</t></is></c>'
               b'<c r="E1" t="b"><v>1</v></c><c r="F1" t="e"><v>#DIV/0!</v></c><c r="G1" t="str"><f>A1</f><v>f</v></c>'
               b'<c r="H1" t="d"><v>2024-02-29T12:00:00</v></c></row><row><c><v>1</v></c><c t="s"><v>1</v></c></row>'
               b'<row r="1048576"><c r="XFD1048576" s="3"><v>1</v></c></row>')
SHEET2 = sheet(b"\r\n   <row r=\"2\">\r\n<c r=\"B2\"><v> 2 </v></c></row>")

ODS_CONTENT = b"""<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" office:version="1.2"><office:automatic-styles><number:number-style style:name="N1"><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/><number:text> kg</number:text></number:number-style><style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/></office:automatic-styles><office:body><office:spreadsheet><table:table table:name="T"><table:table-column table:number-columns-repeated="3"/><table:table-row table:number-rows-repeated="2"><table:table-cell office:value-type="float" office:value="1234.5" table:style-name="ce1" table:number-columns-repeated="2"><text:p>1,234.50 kg</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>a<text:s text:c="3"/>b<text:tab/>c</text:p><text:p>d</text:p></table:table-cell></table:table-row><table:table-row table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="16384"/></table:table-row><table:table-row><table:table-cell table:number-columns-repeated="16383"/><table:table-cell office:value-type="date" office:date-value="2024-02-29T10:00:00"/></table:table-row></table:table></office:spreadsheet></office:body></office:document-content>"""
ODS_MANIFEST = b"""<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"><manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/></manifest:manifest>"""


def biff(record_type, data=b""):
    return struct.pack("<HH", record_type, len(data)) + data


def biff_text(text, count_bytes=2):
    raw = text.encode("latin-1")
    return struct.pack("<H" if count_bytes == 2 else "<B", len(raw)) + b"\x00" + raw


def xls_stream():
    bof = lambda kind: biff(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0, 6))
    xf = lambda fmt: biff(0x00E0, struct.pack("<HHH", 0, fmt, 0) + bytes(14))
    sst = biff(0x00FC, struct.pack("<II", 2, 2) + biff_text("alpha") + biff_text("beta"))
    globals_ = (biff(0x0042, struct.pack("<H", 1252)) + biff(0x0022, struct.pack("<H", 0)) +
                biff(0x041E, struct.pack("<H", 164) + biff_text("0.00%")) + xf(0) + xf(164) + sst)
    sheet = (bof(0x0010) + biff(0x0203, struct.pack("<HHHd", 0, 0, 1, 0.125)) +
             biff(0x00FD, struct.pack("<HHHI", 0, 1, 0, 1)) +
             biff(0x0204, struct.pack("<HHH", 1, 0, 0) + biff_text("label")) +
             biff(0x027E, struct.pack("<HHHI", 1, 1, 0, (123 << 2) | 2)) +
             biff(0x0006, struct.pack("<HHH", 2, 0, 0) + b"\x00\x00\x00\x00\x00\x00\xff\xff" +
                  struct.pack("<HIH", 0, 0, 0)) +
             biff(0x0207, biff_text("formula text")) + biff(0x000A))
    head = bof(0x0005) + globals_
    bound_size = len(biff(0x0085, struct.pack("<IBB", 0, 0, 0) + bytes([1, 0]) + b"S"))
    position = len(head) + bound_size + 4
    bound = biff(0x0085, struct.pack("<IBB", position, 0, 0) + bytes([1, 0]) + b"S")
    return head + bound + biff(0x000A) + sheet


def crafted(out):
    xlsx = [("[Content_Types].xml", CONTENT_TYPES), ("_rels/.rels", ROOT_RELS),
            ("xl/workbook.xml", WORKBOOK), ("xl/_rels/workbook.xml.rels", WORKBOOK_RELS),
            ("xl/styles.xml", STYLES), ("xl/sharedStrings.xml", STRINGS),
            ("xl/worksheets/sheet1.xml", SHEET1), ("xl/worksheets/sheet2.xml", SHEET2)]
    save(out, "fuzz_xlsx", parts(xlsx), "crafted-cells")
    save(out, "fuzz_ods", parts([("mimetype", b"application/vnd.oasis.opendocument.spreadsheet"),
                                 ("META-INF/manifest.xml", ODS_MANIFEST),
                                 ("content.xml", ODS_CONTENT)]), "crafted-repeats")
    save(out, "fuzz_xls", xls_stream(), "crafted-stream")
    for i, (value, code) in enumerate([
            (1234.5678, "#,##0.00_);[Red](#,##0.00)"), (45000.5, "[$-409]dddd, mmmm dd, yyyy h:mm AM/PM"),
            (-0.25, "# ?/?;-# ??/??;0;@"), (1e300, "0.0E+00"), (3.75, "[h]:mm:ss.00"),
            (12, '[>=100]"big";[<0]"neg";"small "0'), (7, "@\"x\"* 0")]):
        save(out, "fuzz_numfmt", struct.pack("<d", value) + code.encode(), "crafted-%d" % i)
    for i, text in enumerate([b"C:\\Data\\book.xlsx\x00*.xl*", b"/tmp/a.b.c\x00a?c*.*",
                              "\u00c9t\u00e9.XLSX\x00\u00e9t\u00c9*".encode(), b".hidden\x00**?**.*"]):
        save(out, "fuzz_paths", text, "crafted-%d" % i)


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("shared", "crafted"):
        sys.exit(__doc__)
    if sys.argv[1] == "shared":
        here = os.path.dirname(os.path.abspath(__file__))
        from_shared(os.path.join(here, "..", "..", "shared"), sys.argv[2])
    else:
        crafted(sys.argv[2])
