#!/usr/bin/python3
"""Makes the Excel 5.0/95 (BIFF5) test books in tests/data/xls/.

No producer at hand writes BIFF5 any more (LibreOffice and the Python
libraries only read it), so the records are written here from the MS-XLS
layouts: a globals substream with its CODEPAGE record, cell formats, one
number format and the sheet list, then each sheet's cells.  Every 8-bit
text (sheet names, cell texts, the format code) is stored in the book's
code page:

    codepage_<page>_biff5.xls  one book per code page, in a compound file
                               holding the stream "Book", as Excel 95 saves
    bare_stream_biff5.xls      the 1250 book's stream alone, without the
                               compound file, as some exporters write

LibreOffice serves as the oracle: with --check, each book in a Windows
code page is converted to CSV by soffice, which must show the cell text
given here.  The Mac code pages are not checked so: LibreOffice does not
convert them (it shows the 10029 book's "Ładowność" as "üadownoæ").

    scripts/make_fixtures_codepages.py [--check]
"""
import csv
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "xls")

# Code page -> (iconv codec of Python, sheet name, cell text, format code).
# The format code's currency sign is one the code page has.
BOOKS = {
    1250: ("cp1250", "Ärkusz1", "Ładowność", '"€"#,##0.00'),
    1251: ("cp1251", "Лист1", "Привет мир", '#,##0.00" р."'),
    1252: ("cp1252", "Feuille€", "Œuvre “été”", '"€"#,##0.00'),
    932: ("cp932", "シート1", "日本語のテキスト", '"￥"#,##0'),
    936: ("gbk", "工作表1", "中文文本", '"￥"#,##0.00'),
    949: ("cp949", "시트1", "한국어 텍스트", '"￦"#,##0'),
    950: ("cp950", "工作表1", "繁體中文", '"NT$"#,##0.00'),
    10007: ("mac_cyrillic", "Лист1", "Привет мир", '#,##0.00" р."'),
    10029: ("mac_latin2", "Arkusz ł", "Ładowność", '#,##0.00" zł"'),
}
NUMBER = 1234.5
FORMAT_INDEX = 164


def record(number, data):
    return struct.pack("<HH", number, len(data)) + data


def bof(kind):
    return record(0x0809, struct.pack("<HHHH", 0x0500, kind, 0x0DBB, 0x07CC))


def eof():
    return record(0x000A, b"")


def xf(number_format, style):
    # BIFF5 XF: font, format, then the type and protection bits (bit 2: a
    # style XF; a cell XF names style XF 0 as its parent), alignment and
    # colours, 16 bytes in all.
    kind = 0xFFF5 if style else 0x0001
    return record(0x00E0, struct.pack("<HHH", 0, number_format, kind) + struct.pack("<HHHHH", 0x20, 0, 0, 0, 0))


def font():
    name = b"Arial"
    return record(0x0031, struct.pack("<HHHHHBBBB", 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + bytes([len(name)]) + name)


def sheet_stream(codec, text):
    label = text.encode(codec)
    return (bof(0x0010) +
            record(0x0200, struct.pack("<HHHHH", 0, 2, 0, 1, 0)) +   # DIMENSIONS: rows 0-1, column 0
            record(0x0204, struct.pack("<HHHH", 0, 0, 15, len(label)) + label) +
            record(0x0203, struct.pack("<HHHd", 1, 0, 16, NUMBER)) +
            eof())


def workbook_stream(codepage, codec, sheet, text, code):
    sheet_name = sheet.encode(codec)
    code_bytes = code.encode(codec)
    head = bof(0x0005) + record(0x0042, struct.pack("<H", codepage))
    head += b"".join(font() for _ in range(5))
    head += record(0x041E, struct.pack("<HB", FORMAT_INDEX, len(code_bytes)) + code_bytes)
    head += b"".join(xf(0, True) for _ in range(15)) + xf(0, False) + xf(FORMAT_INDEX, False)

    def boundsheet(position):
        return record(0x0085, struct.pack("<IBBB", position, 0, 0, len(sheet_name)) + sheet_name)

    globals_size = len(head) + len(boundsheet(0)) + len(eof())
    return head + boundsheet(globals_size) + eof() + sheet_stream(codec, text)


def compound_file(name, stream):
    """A compound file of 512-byte sectors holding one stream, padded to
    4096 bytes so that it lies in ordinary sectors."""
    stream = stream + b"\0" * max(0, 4096 - len(stream))
    sectors = (len(stream) + 511) // 512
    end, free, fat_mark = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD
    fat = [fat_mark, end] + [2 + i + 1 for i in range(sectors - 1)] + [end]
    fat += [free] * (128 - len(fat))

    def entry(entry_name, kind, child, start, size):
        encoded = (entry_name + "\0").encode("utf-16-le")
        return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1) +
                struct.pack("<III", free, free, child) + b"\0" * 16 + b"\0" * 4 + b"\0" * 16 +
                struct.pack("<III", start, size, 0))

    directory = entry("Root Entry", 5, 1, end, 0) + entry(name, 2, free, 2, len(stream))
    directory += (b"\0" * 64 + struct.pack("<HBB", 0, 0, 0) + struct.pack("<III", free, free, free) +
                  b"\0" * 48) * 2
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16 + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) +
              b"\0" * 6 + struct.pack("<IIIIIIIII", 0, 1, 1, 0, 4096, end, 0, end, 0) +
              struct.pack("<I", 0) + struct.pack("<I", free) * 108)
    return header + b"".join(struct.pack("<I", v) for v in fat) + directory + stream.ljust(sectors * 512, b"\0")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def check(path, sheet, text):
    """LibreOffice's reading of the book must give the texts written."""
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["soffice", "--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                        "--outdir", folder, path], check=True, capture_output=True,
                       env=dict(os.environ, HOME=folder))
        out = os.path.join(folder, os.path.splitext(os.path.basename(path))[0] + ".csv")
        with open(out, encoding="utf-8") as f:
            rows = list(csv.reader(f))
    ok = rows and rows[0][0] == text
    print(("ok   " if ok else "DIFF ") + os.path.basename(path) + ": " + repr(rows[:2]))
    return ok


def main():
    checking = "--check" in sys.argv
    good = True
    for codepage, (codec, sheet, text, code) in BOOKS.items():
        stream = workbook_stream(codepage, codec, sheet, text, code)
        path = os.path.join(OUT, "codepage_%d_biff5.xls" % codepage)
        write(path, compound_file("Book", stream))
        if codepage == 1250:
            bare = os.path.join(OUT, "bare_stream_biff5.xls")
            write(bare, stream)
            if checking:
                good = check(bare, sheet, text) and good
        if checking and codepage < 10000:
            good = check(path, sheet, text) and good
    return 0 if good else 1


if __name__ == "__main__":
    sys.exit(main())
