#!/usr/bin/python3
"""Makes the books of tests/data/xlsx/ whose XML parts are written in
UTF-16, as some producers write them: one small book by openpyxl, then
the same package with every XML part (relationships and content types
included) re-encoded, the XML declaration naming the encoding.

    encoding_utf8_openpyxl.xlsx     as openpyxl writes it
    encoding_utf16le_openpyxl.xlsx  every part UTF-16LE with a byte-order mark
    encoding_utf16be_openpyxl.xlsx  every part UTF-16BE with a byte-order mark

    sudo apt-get install python3-openpyxl
    scripts/make_fixtures_encodings.py
"""
import datetime
import os
import re
import zipfile

import openpyxl

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "xlsx")
FIXED_TIME = datetime.datetime(2016, 3, 25, 9, 0, 0)


def write_book(path):
    book = openpyxl.Workbook()
    book.properties.created = book.properties.modified = FIXED_TIME
    first = book.active
    first.title = "Données"
    first["A1"] = "Ładowność € 東京"
    first["A2"] = 1148
    first["B1"] = "𠮷野家"   # beyond the 16-bit plane: a surrogate pair in UTF-16
    second = book.create_sheet("日本語")
    second["A1"] = "売上"
    book.save(path)


def reencode(source, target, codec, bom):
    with zipfile.ZipFile(source) as zin, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as zout:
        for info in zin.infolist():
            data = zin.read(info.filename)
            if info.filename.endswith((".xml", ".rels")):
                text = data.decode("utf-8")
                text = re.sub(r'encoding="[^"]*"', 'encoding="UTF-16"', text, count=1)
                data = bom + text.encode(codec)
            entry = zipfile.ZipInfo(info.filename, date_time=FIXED_TIME.timetuple()[:6])
            entry.compress_type = zipfile.ZIP_DEFLATED
            zout.writestr(entry, data)


def main():
    original = os.path.join(OUT, "encoding_utf8_openpyxl.xlsx")
    write_book(original)
    reencode(original, os.path.join(OUT, "encoding_utf16le_openpyxl.xlsx"), "utf-16-le", b"\xff\xfe")
    reencode(original, os.path.join(OUT, "encoding_utf16be_openpyxl.xlsx"), "utf-16-be", b"\xfe\xff")


if __name__ == "__main__":
    main()
