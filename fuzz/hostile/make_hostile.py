#!/usr/bin/env python3
"""Hostile and odd workbooks, one per class of attack, written into OUT:

    make_hostile.py OUT

Each file is small (at most 16 MB) and asks the readers for far more than it holds, or holds
damage that a lenient reader passes over. fuzz/hostile/run_hostile.sh runs tabulon-cli on them
and prints the table kept in fuzz/README.md.
"""
import os
import struct
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def xlsx(path, sheet_data, strings=None, styles=None, sheet_name="S", strings_raw=None,
         sheet_chunks=None):
    """A package with one sheet; sheet_chunks (an iterable of bytes) streams a huge sheet part."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/'
                   'content-types"><Default Extension="xml" ContentType="application/xml"/></Types>')
        z.writestr("_rels/.rels", f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{REL}/'
                   'officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets><sheet '
                   f'name="{sheet_name}" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{REL}/worksheet" '
                   f'Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="{REL}/sharedStrings" '
                   f'Target="sharedStrings.xml"/><Relationship Id="rId3" Type="{REL}/styles" '
                   'Target="styles.xml"/></Relationships>')
        if styles is not None:
            z.writestr("xl/styles.xml", f'<styleSheet xmlns="{MAIN}">{styles}</styleSheet>')
        if strings_raw is not None:
            with z.open("xl/sharedStrings.xml", "w", force_zip64=True) as f:
                for chunk in strings_raw:
                    f.write(chunk)
        elif strings is not None:
            z.writestr("xl/sharedStrings.xml", f'<sst xmlns="{MAIN}">{strings}</sst>')
        with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as f:
            f.write(f'<worksheet xmlns="{MAIN}"><sheetData>'.encode())
            if sheet_chunks is not None:
                for chunk in sheet_chunks:
                    f.write(chunk)
            else:
                f.write(sheet_data.encode())
            f.write(b"</sheetData></worksheet>")


def ods(path, table):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
        z.writestr("content.xml",
                   '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:'
                   'office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
                   'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body>'
                   f'<office:spreadsheet><table:table table:name="T">{table}</table:table>'
                   '</office:spreadsheet></office:body></office:document-content>')


def repeat(piece, times, block=1 << 20):
    """piece repeated, in chunks of about a MiB."""
    per = max(1, block // len(piece))
    chunk = piece * per
    full, rest = divmod(times, per)
    for _ in range(full):
        yield chunk
    yield piece * rest


# BIFF8 records and a compound file around a Workbook stream.
def rec(kind, data=b""):
    return struct.pack("<HH", kind, len(data)) + data


def bof(kind):
    return rec(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0, 6))


def xf(fmt):
    return rec(0x00E0, struct.pack("<HHH", 0, fmt, 0) + bytes(14))


def text8(s, count=None):
    raw = s.encode("latin-1")
    return struct.pack("<H", len(raw) if count is None else count) + b"\x00" + raw


def workbook_stream(globals_, sheet_records, position=None, name=b"S"):
    head = bof(0x0005) + b"".join(globals_)
    bound_len = len(rec(0x0085, bytes(6) + bytes([len(name), 0]) + name))
    pos = len(head) + bound_len + 4 if position is None else position
    bound = rec(0x0085, struct.pack("<IBB", pos, 0, 0) + bytes([len(name), 0]) + name)
    return head + bound + rec(0x000A) + bof(0x0010) + b"".join(sheet_records) + rec(0x000A)


def compound(stream, fat_loop=False, dir_loop=False):
    """A version 3 compound file (512-byte sectors) with the stream as "Workbook"; the stream is
    padded to 4096 bytes so that it lives in regular sectors."""
    stream = stream + bytes(max(0, 4096 - len(stream)))
    sectors = (len(stream) + 511) // 512
    fat_sector = sectors          # one FAT sector after the stream
    dir_sector = sectors + 1
    fat = list(range(1, sectors)) + [0xFFFFFFFE]
    if fat_loop:
        fat[1] = 1                # the second sector leads to itself, long before the end
    fat += [0xFFFFFFFD, 0xFFFFFFFE]
    fat += [0xFFFFFFFF] * (128 - len(fat))
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(16) + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6)
              + bytes(6) + struct.pack("<IIIIIIIII", 0, 1, dir_sector, 0, 4096, 0xFFFFFFFE, 0,
                                       0xFFFFFFFE, 0))
    header += struct.pack("<I", fat_sector) + struct.pack("<I", 0xFFFFFFFF) * 108

    def entry(name, kind, child, left, right, start, size):
        raw = name.encode("utf-16-le") + b"\x00\x00"
        return (raw.ljust(64, b"\x00") + struct.pack("<HBBIII", len(raw), kind, 1, left, right, child)
                + bytes(16) + bytes(4) + bytes(16) + struct.pack("<IQ", start, size))
    root_child = 1
    work_left = 1 if dir_loop else 0xFFFFFFFF  # the entry names itself as its sibling
    directory = (entry("Root Entry", 5, root_child, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE, 0) +
                 entry("Workbook", 2, 0xFFFFFFFF, work_left, 0xFFFFFFFF, 0, len(stream)))
    directory = directory.ljust(512, b"\x00")
    body = stream.ljust(sectors * 512, b"\x00")
    return header + body + b"".join(struct.pack("<I", v) for v in fat) + directory


# The export shows a used range of at least two rows and two columns; the cells that a case is
# about go into column A, and B2 widens the range.
CORNER = '<row r="3001"><c r="B3001"><v>0</v></c></row>'
XLS_CORNER = rec(0x0203, struct.pack("<HHHd", 1, 1, 0, 0.0))


def main(out):
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)

    # Zip bombs: 4.5 GiB of shared strings; 30 million tiny shared strings; 25 million cells.
    xlsx(p("zip-bomb-strings.xlsx"), "", strings_raw=[f'<sst xmlns="{MAIN}"><si><t>'.encode()] +
         list(repeat(b"a", 9 * (1 << 29))) + [b"</t></si></sst>"])
    xlsx(p("many-strings.xlsx"), "", strings_raw=[f'<sst xmlns="{MAIN}">'.encode()] +
         list(repeat(b"<si><t>a</t></si>", 30_000_000)) + [b"</sst>"])
    xlsx(p("many-cells.xlsx"), "", sheet_chunks=repeat(b"<row>" + b"<c><v>1</v></c>" * 25 + b"</row>",
                                                       1_000_000))
    # 1.25 GiB of white space between two rows.
    xlsx(p("whitespace-run.xlsx"), "", sheet_chunks=[b'<row r="1"><c r="A1"><v>1</v></c><c r="B1"><v>2</v></c></row>']
         + list(repeat(b" ", 5 << 28)) + [b'<row r="2"><c r="A2"><v>3</v></c><c r="B2"><v>4</v></c></row>'])
    # Entity expansion: the billion laughs in the shared strings.
    lol = '<!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa">' + "".join(
        f'<!ENTITY {chr(98 + i)} "{("&" + chr(97 + i) + ";") * 10}">' for i in range(9)) + "]>"
    xlsx(p("entity-expansion.xlsx"), '<row r="1"><c r="A1" t="s"><v>0</v></c></row>',
         strings_raw=[(lol + f'<sst xmlns="{MAIN}"><si><t>&j;</t></si></sst>').encode()])
    # Far corner: A1 and XFD1048576, in xlsx and in an ods made of empty repeats.
    xlsx(p("far-corner.xlsx"), '<row r="1"><c r="A1"><v>1</v></c></row><row r="1048576">'
         '<c r="XFD1048576"><v>2</v></c></row>')
    ods(p("far-corner.ods"), '<table:table-row><table:table-cell office:value-type="float" '
        'office:value="1"/></table:table-row><table:table-row table:number-rows-repeated="1048574">'
        '<table:table-cell table:number-columns-repeated="16384"/></table:table-row><table:table-row>'
        '<table:table-cell table:number-columns-repeated="16383"/><table:table-cell '
        'office:value-type="float" office:value="2"/></table:table-row>')
    # Repeat amplification: a value repeated over every cell of the sheet.
    ods(p("repeat-cells.ods"), '<table:table-row table:number-rows-repeated="1048576"><table:table-cell '
        'office:value-type="float" office:value="1" table:number-columns-repeated="16384"/>'
        '</table:table-row>')
    # Text amplification: 20,000 runs of 32,767 spaces in one cell; one long text used 3,000 times.
    ods(p("text-spaces.ods"), '<table:table-row><table:table-cell office:value-type="string"><text:p>'
        + '<text:s text:c="32767"/>' * 20000 + "</text:p></table:table-cell></table:table-row>"
        '<table:table-row><table:table-cell/><table:table-cell office:value-type="float" '
        'office:value="1"/></table:table-row>')
    xlsx(p("text-reused.xlsx"), "".join(f'<row r="{r}"><c r="A{r}" t="s"><v>0</v></c></row>'
                                         for r in range(1, 3001)) + CORNER,
         strings="<si><t>" + "x" * 100000 + "</t></si>")
    # Format-code amplification: a 1,000,000-character code used by 3,000 cells.
    xlsx(p("format-code.xlsx"), "".join(f'<row r="{r}"><c r="A{r}" s="1"><v>1</v></c></row>'
                                         for r in range(1, 3001)) + CORNER,
         styles='<numFmts count="1"><numFmt numFmtId="164" formatCode="' + "0" * 1_000_000 +
         '"/></numFmts><cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="164"/></cellXfs>')
    # Out-of-range indexes.
    xlsx(p("bad-string-index.xlsx"), '<row r="1"><c r="A1" t="s"><v>999999999</v></c></row>',
         strings="<si><t>a</t></si>")
    xlsx(p("bad-style-index.xlsx"), '<row r="1"><c r="A1" s="70000"><v>1.5</v></c><c r="B1" s="-1">'
         '<v>2</v></c></row><row r="2"><c r="B2"><v>3</v></c></row>')
    xlsx(p("bad-cell-reference.xlsx"), '<row r="1"><c r="XFE1"><v>1</v></c></row>')
    # Bad names and NULs.
    xlsx(p("bad-sheet-name.xlsx"), '<row r="1"><c r="A1"><v>1</v></c></row><row r="2"><c r="B2"><v>2</v></c></row>',
         sheet_name="../../x:y*?&lt;&gt;|" + "n" * 300)
    xlsx(p("nul-in-xml.xlsx"), '<row r="1"><c r="A1" t="inlineStr"><is><t>a\x00b</t></is></c></row>')
    xlsx(p("escaped-nul.xlsx"), '<row r="1"><c r="A1" t="inlineStr"><is><t>a_x0000_b</t></is></c></row>'
         '<row r="2"><c r="B2"><v>2</v></c></row>')
    # Loops in compound files, broken records.
    simple = workbook_stream([xf(0)], [rec(0x0203, struct.pack("<HHHd", 0, 0, 0, 1.5)), XLS_CORNER])
    open(p("cfb-fat-loop.xls"), "wb").write(compound(simple, fat_loop=True))
    open(p("cfb-directory-loop.xls"), "wb").write(compound(simple, dir_loop=True))
    open(p("format-one-char-long.xls"), "wb").write(compound(workbook_stream(
        [rec(0x041E, struct.pack("<H", 164) + text8("0.00", count=5)), xf(0), xf(164)],
        [rec(0x0203, struct.pack("<HHHd", 0, 0, 1, 1.5)), XLS_CORNER])))
    open(p("format-zero-length.xls"), "wb").write(compound(workbook_stream(
        [rec(0x041E), xf(0)], [rec(0x0203, struct.pack("<HHHd", 0, 0, 0, 1.5)), XLS_CORNER])))
    open(p("label-past-record.xls"), "wb").write(compound(workbook_stream(
        [xf(0)], [rec(0x0204, struct.pack("<HHH", 0, 0, 0) + struct.pack("<HBHI", 40, 0x0C, 2, 100) + b"abc"), XLS_CORNER])))
    open(p("sheet-entry-at-globals.xls"), "wb").write(compound(workbook_stream(
        [xf(0)], [rec(0x0203, struct.pack("<HHHd", 0, 0, 0, 1.5))], position=0)))
    open(p("xls-nul-name.xls"), "wb").write(compound(workbook_stream(
        [xf(0)], [rec(0x0204, struct.pack("<HHH", 0, 0, 0) + text8("a\x00b")), XLS_CORNER], name=b"a\x00/b")))


if __name__ == "__main__":
    # An option such as --help is not a folder to write into.
    if len(sys.argv) != 2 or sys.argv[1].startswith("-"):
        sys.exit(__doc__)
    main(sys.argv[1])
