#!/usr/bin/env python3
"""Writes the small seed inputs of the fuzz targets into fuzz/seeds/.

The packages are stored without compression so that mutations reach the
XML; the workbook stream touches every record kind the reader interprets.
Run from anywhere; the files are committed, so this is only needed when the
seeds change."""
import os
import struct
import zipfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def write(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data)


def cell_names():
    for i, text in enumerate(["A1", "$XFD$1048576", "b7", "AA10", "Sheet1!B2", "'My ''sheet'!C3:D4",
                              "A1:C5", "XFE1", "A0", "A1048577", "$A$1:$b$2", "C1,000"]):
        write("fuzz_cell_name", "name%02d" % i, text.encode())


PACKAGE = {
    "[Content_Types].xml": '<?xml version="1.0"?><Types xmlns="x"><Default Extension="xml" ContentType="a"/></Types>',
    "xl/workbook.xml": '<workbook><sheets><sheet name="S1" sheetId="1" r:id="rId1"/>'
                       '<sheet name="日本" sheetId="2" r:id="rId2"/></sheets></workbook>',
    "xl/sharedStrings.xml": '<sst count="3" uniqueCount="3"><si><t>ab&amp;c_x000D_</t></si>'
                            '<si><r><t>x</t></r><r><t xml:space="preserve">y </t></r><rPh><t>z</t></rPh></si>'
                            '<si><t/></si></sst>',
    "xl/styles.xml": '<styleSheet><numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy/m/d h:mm"/></numFmts>'
                     '<fonts><font><sz val="11"/><name val="Calibri"/><color theme="1"/></font></fonts>'
                     '<fills><fill><patternFill patternType="none"/></fill></fills>'
                     '<borders><border><left style="thin"><color rgb="FF000000"/></left><right/><top/><bottom/></border></borders>'
                     '<cellXfs><xf numFmtId="0" fontId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="10"/></cellXfs>'
                     '</styleSheet>',
    "xl/worksheets/sheet1.xml": '<worksheet><dimension ref="A1:D3"/><sheetData>'
                                '<row r="1" spans="1:4"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>42452</v></c>'
                                '<c r="C1" s="2"><v>42452.5</v></c><c r="D1" s="3"><v>0.125</v></c></row>'
                                '<row r="3"><c r="A3" t="str"><f>A1</f><v>t</v></c><c r="B3" t="e"><v>#N/A</v></c>'
                                '<c r="C3" t="b"><v>1</v></c><c r="D3" t="inlineStr"><is><t>in</t></is></c></row>'
                                '</sheetData><mergeCells><mergeCell ref="A1:B1"/></mergeCells></worksheet>',
    "xl/worksheets/sheet2.xml": '<worksheet><sheetData><row r="2"><c r="B2" t="s"><v>1</v></c>'
                                '<c r="XFD2"><v>12.50</v></c></row></sheetData></worksheet>',
    "xl/worksheets/_rels/sheet1.xml.rels": '<Relationships><Relationship Target="../drawings/drawing1.xml"/>'
                                           '<Relationship Target="../comments1.xml"/></Relationships>',
    "xl/comments1.xml": '<comments><commentList><comment ref="A1"><text><r><t>note</t></r></text></comment>'
                        '</commentList></comments>',
    "xl/drawings/drawing1.xml": '<xdr:wsDr><xdr:twoCellAnchor><xdr:sp><xdr:nvSpPr><xdr:cNvPr id="2" name="T"/>'
                                '</xdr:nvSpPr><xdr:spPr><a:prstGeom prst="rect"/></xdr:spPr><xdr:txBody><a:p><a:r>'
                                '<a:t>shape</a:t></a:r></a:p></xdr:txBody></xdr:sp></xdr:twoCellAnchor></xdr:wsDr>',
    "docProps/custom.xml": '<Properties><property name="P"><vt:lpwstr>v</vt:lpwstr></property></Properties>',
}


def packages():
    import io
    for name, parts in [("full.xlsx", PACKAGE),
                        ("one_sheet.xlsx", {k: PACKAGE[k] for k in ("xl/workbook.xml", "xl/worksheets/sheet1.xml")})]:
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as z:
            z.writestr("xl/", "")
            for part, text in parts.items():
                z.writestr(part, text.encode("utf-8"))
        write("fuzz_xlsx_package", name, buffer.getvalue())


def record(number, data=b""):
    return struct.pack("<HH", number, len(data)) + data


def cell(row, column, xf):
    return struct.pack("<HHH", row, column, xf)


def workbook_stream():
    globals_ = [
        record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0005, 0, 0, 0, 0)),
        record(0x005C, b"\x04\x00\x00user"),
        record(0x041E, struct.pack("<HHB", 164, 10, 0) + b"yyyy/m/d h"),
        record(0x041E, struct.pack("<HHB", 165, 2, 1) + "年月".encode("utf-16-le")),
    ]
    for number_format in (0, 14, 164, 10, 165):
        globals_.append(record(0x00E0, struct.pack("<HHH", 0, number_format, 0) + bytes(14)))
    globals_.append(record(0x00E0, struct.pack("<HHH", 0, 0, 4) + bytes(14)))   # a style format
    globals_.append(record(0x0085, struct.pack("<IBB", 0, 0, 0) + bytes([2, 0]) + b"S1"))
    globals_.append(record(0x0085, struct.pack("<IBB", 0, 0, 0) + bytes([2, 1]) + "日本".encode("utf-16-le")))
    # Shared strings: one plain, one rich with a run, one split across a
    # CONTINUE that switches to 16-bit characters.
    sst = struct.pack("<II", 3, 3)
    sst += struct.pack("<HB", 3, 0) + b"abc"
    sst += struct.pack("<HBH", 2, 8, 1) + b"xy" + b"\x00\x00\x01\x00"
    sst += struct.pack("<HB", 4, 0) + b"pq"
    globals_.append(record(0x00FC, sst))
    globals_.append(record(0x003C, b"\x01" + "漢字".encode("utf-16-le")))
    globals_.append(record(0x000A))
    sheet = [
        record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0010, 0, 0, 0, 0)),
        record(0x00FD, cell(0, 0, 0) + struct.pack("<I", 2)),
        record(0x0203, cell(0, 1, 0) + struct.pack("<d", 2.5)),
        record(0x027E, cell(0, 2, 1) + struct.pack("<I", (42452 << 2) | 2)),
        record(0x00BD, struct.pack("<HH", 1, 0) + struct.pack("<HI", 2, 0x3FF00000) +
               struct.pack("<HI", 3, (25 << 2) | 3) + struct.pack("<H", 1)),
        record(0x0006, cell(2, 0, 0) + struct.pack("<d", 7.0) + bytes(8)),
        record(0x0006, cell(2, 1, 0) + b"\x00\x00\x00\x00\x00\x00\xff\xff" + bytes(8)),
        record(0x0207, struct.pack("<HB", 3, 0) + b"str"),
        record(0x0204, cell(3, 5, 0) + struct.pack("<H", 4) + "ｶﾅ".encode("cp932") + b"ab"),
        record(0x0201, cell(4, 7, 0)),
        record(0x01B6, bytes(18)),
        record(0x003C, b"\x00note"),
        record(0x000A),
    ]
    return b"".join(globals_ + sheet)


def values_strings():
    # The first byte picks the lexer variant and the character set.
    for i, (selector, text) in enumerate([
            (1, 'A1="abc" B1=12 C1=3.5 D1="2016/3/25" E1="a ""quoted"" b"'),
            (1, 'A1.FONT.SIZE=12 A1.FONT.COLOR=RED B2:C3.BORDER=THIN A1:D1.MERGE=TRUE'),
            (5, 'A2="\u65e5\u672c" Sheet1!B2=1;'),
            (0, 'EXCEL="a b.xlsx" MODE=UNLOAD TEMP_WORKBOOK_PATH="/tmp/x"'),
            (2, 'SUM(A1:B2)+ROUND(C3,2)*-1^2%'),
            (3, 'word1 "two words" =')]):
        write("fuzz_arguments", "values%02d" % i, bytes([selector]) + text.encode("utf-8"))
    write("fuzz_arguments", "values_sjis", bytes([1]) + 'A1="表示" B1="ソ"'.encode("cp932"))


def section_files():
    write("fuzz_section_file", "settings.ini", b"\x00[Z-Scan]\r\nFOLDER=\"C:\\data\"\r\nKEYWORD=\"REPORT 2016\"\r\n"
          b"EXCEL=\"1\"\r\n;comment\r\nREGEX=0\r\n")
    write("fuzz_section_file", "sjis.ini", b"\x00[S]\nWORD=\"" + "検索".encode("cp932") + b"\"\n  BAD LINE\nK=\n")


def main():
    values_strings()
    section_files()
    cell_names()
    packages()
    write("fuzz_biff", "stream.bin", workbook_stream())


if __name__ == "__main__":
    main()
