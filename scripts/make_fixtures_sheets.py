#!/usr/bin/python3
"""Makes the test books for sheet order, number formats and .xls layout in
tests/data/xlsx/ and tests/data/xls/, each written by producers that have
nothing to do with this project:

    sheets12_{openpyxl,xlsxwriter,gnumeric}.xlsx
        twelve worksheets; A1 of each names its sheet.  The parts are
        sheet1.xml to sheet12.xml, so in byte order sheet10.xml comes second.
    chartsheet_{openpyxl,xlsxwriter}.xlsx
        worksheet "前", chart sheet "グラフ", worksheet "後".
    formats_{openpyxl,xlsxwriter}.xlsx
        one row per number format in FORMATS: A the value in that format,
        B the format code as text.
    fragmented_libreoffice.xls
        LibreOffice's .xls of a book of 80 rows, with two sectors of its
        Workbook stream swapped in the file and its allocation table
        rewritten to match, so that the stream is no longer stored in order.

Run it from anywhere; it rewrites the books in place.

    sudo apt-get install python3-openpyxl python3-xlsxwriter gnumeric libreoffice-calc-nogui
    scripts/make_fixtures_sheets.py
"""
import datetime
import os
import struct
import subprocess
import tempfile

import openpyxl
import openpyxl.chart
import xlsxwriter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
XLSX = os.path.join(ROOT, "tests", "data", "xlsx")
XLS = os.path.join(ROOT, "tests", "data", "xls")
FIXED_TIME = datetime.datetime(2016, 3, 25, 9, 0, 0)

SHEETS12 = ["表%d" % n for n in range(1, 13)]

WHEN = datetime.datetime(2016, 3, 25, 14, 5, 9)
REIWA = datetime.datetime(2026, 12, 6)
FORMATS = [
    ('yyyy"年"m"月"d"日";@', WHEN),
    ('m"月"d"日";@', WHEN),
    ('yyyy"年"m"月";@', WHEN),
    ('h"時"mm"分";@', WHEN),
    ('h"時"mm"分"ss"秒"', WHEN),
    ('[$-411]ggge"年"m"月"d"日"', WHEN),
    ('[$-411]ggge"年"m"月"d"日"', REIWA),
    ('[$-411]ge.m.d', REIWA),
    ('aaa', WHEN),
    ('aaaa', WHEN),
    ('#,##0', -8.2e-10),
]


def openpyxl_sheets12(path):
    book = openpyxl.Workbook()
    book.remove(book.active)
    for name in SHEETS12:
        book.create_sheet(name)["A1"] = name
    book.properties.created = FIXED_TIME
    book.save(path)


def xlsxwriter_sheets12(path):
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    for name in SHEETS12:
        book.add_worksheet(name).write_string("A1", name)
    book.close()


def openpyxl_chartsheet(path):
    book = openpyxl.Workbook()
    before = book.active
    before.title = "前"
    before.append(["前", 1])
    before.append(["", 2])
    chart = openpyxl.chart.BarChart()
    chart.add_data(openpyxl.chart.Reference(before, min_col=2, min_row=1, max_row=2))
    book.create_chartsheet("グラフ").add_chart(chart)
    book.create_sheet("後")["A1"] = "後"
    book.properties.created = FIXED_TIME
    book.save(path)


def xlsxwriter_chartsheet(path):
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    before = book.add_worksheet("前")
    before.write_row(0, 0, ["前", 1])
    before.write_number(1, 1, 2)
    chartsheet = book.add_chartsheet("グラフ")
    chart = book.add_chart({"type": "bar"})
    chart.add_series({"values": "='前'!$B$1:$B$2"})
    chartsheet.set_chart(chart)
    book.add_worksheet("後").write_string("A1", "後")
    book.close()


def openpyxl_formats(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "書式"
    for row, (code, value) in enumerate(FORMATS, start=1):
        sheet.cell(row=row, column=1, value=value).number_format = code
        sheet.cell(row=row, column=2, value=code)
    book.properties.created = FIXED_TIME
    book.save(path)


def xlsxwriter_formats(path):
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    sheet = book.add_worksheet("書式")
    for row, (code, value) in enumerate(FORMATS):
        style = book.add_format({"num_format": code})
        if isinstance(value, datetime.datetime):
            sheet.write_datetime(row, 0, value, style)
        else:
            sheet.write_number(row, 0, value, style)
        sheet.write_string(row, 1, code)
    book.close()


def ssconvert(source, path):
    subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:xlsx2", source, path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def libreoffice_xls(path):
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "fragmented_libreoffice.xlsx")
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "明細"
        for row in range(1, 81):
            sheet.append(["行%d" % row, row, row * 1.5])
        book.save(source)
        subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + work + "/profile",
                        "--convert-to", "xls", "--outdir", work, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(os.path.join(work, "fragmented_libreoffice.xls"), "rb") as converted:
            data = bytearray(converted.read())
    swap_workbook_sectors(data, 2, 7)
    with open(path, "wb") as out:
        out.write(data)


def swap_workbook_sectors(data, first, second):
    """Swaps the sectors at chain positions `first` and `second` of the
    Workbook stream of a compound file with 512-byte sectors and a single
    allocation-table sector list in the header."""
    u32 = lambda at: struct.unpack_from("<I", data, at)[0]
    sector = lambda n: 512 * (n + 1)
    table_sectors = [u32(76 + 4 * i) for i in range(u32(44))]
    entry_at = lambda n: sector(table_sectors[n // 128]) + 4 * (n % 128)

    def chain(start):
        found = []
        while start < 0xFFFFFFFA:
            found.append(start)
            start = u32(entry_at(start))
        return found

    directory = chain(u32(48))
    for index in range(len(directory) * 4):
        entry = sector(directory[index // 4]) + 128 * (index % 4)
        if data[entry:entry + 18].decode("utf-16-le") == "Workbook\0":
            sectors = chain(u32(entry + 116))
            break
    a, b = sectors[first], sectors[second]
    data[sector(a):sector(a) + 512], data[sector(b):sector(b) + 512] = \
        data[sector(b):sector(b) + 512], data[sector(a):sector(a) + 512]
    sectors[first], sectors[second] = b, a
    for here, after in zip(sectors, sectors[1:] + [0xFFFFFFFE]):
        struct.pack_into("<I", data, entry_at(here), after)


def main():
    os.makedirs(XLSX, exist_ok=True)
    os.makedirs(XLS, exist_ok=True)
    openpyxl_sheets12(os.path.join(XLSX, "sheets12_openpyxl.xlsx"))
    xlsxwriter_sheets12(os.path.join(XLSX, "sheets12_xlsxwriter.xlsx"))
    ssconvert(os.path.join(XLSX, "sheets12_openpyxl.xlsx"), os.path.join(XLSX, "sheets12_gnumeric.xlsx"))
    openpyxl_chartsheet(os.path.join(XLSX, "chartsheet_openpyxl.xlsx"))
    xlsxwriter_chartsheet(os.path.join(XLSX, "chartsheet_xlsxwriter.xlsx"))
    openpyxl_formats(os.path.join(XLSX, "formats_openpyxl.xlsx"))
    xlsxwriter_formats(os.path.join(XLSX, "formats_xlsxwriter.xlsx"))
    libreoffice_xls(os.path.join(XLS, "fragmented_libreoffice.xls"))


if __name__ == "__main__":
    main()
