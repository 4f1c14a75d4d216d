#!/usr/bin/python3
"""Makes the Excel 2007 test books in tests/data/xlsx/.

The same small book (Japanese sheet names and texts, whole and decimal
numbers, formulas, dates in Excel's built-in short date format, a
percentage, a boolean, a merged label) is written by three producers that
have nothing to do with this project:

    openpyxl_ja.xlsx    openpyxl (formulas are stored without cached values)
    xlsxwriter_ja.xlsx  XlsxWriter (formulas with the cached values given here)
    gnumeric_ja.xlsx    Gnumeric's ssconvert, from the openpyxl book
                        (formulas recalculated and stored with their values)

Run it from anywhere; it rewrites the books in place.

    sudo apt-get install python3-openpyxl python3-xlsxwriter gnumeric
    scripts/make_fixtures_xlsx.py
"""
import datetime
import os
import subprocess

import openpyxl
import xlsxwriter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "xlsx")
FIXED_TIME = datetime.datetime(2016, 3, 25, 9, 0, 0)
SHORT_DATE_ID = 14          # Excel's built-in short date format
SHORT_DATE_CODE = "mm-dd-yy"  # how openpyxl names format 14

HEADER = ["品名", "数量", "単価", "日付", "金額"]
ROWS = [
    ["りんご", 3, 150.5, datetime.datetime(2016, 3, 25), "=B2*C2", 451.5],
    ["みかん", 12, 80, datetime.datetime(2016, 3, 26), "=B3*C3", 960],
    ["東京都千代田区&<特別>", -7, 0.125, datetime.datetime(1989, 1, 8), "=B4*C4", -0.875],
]
TOTAL_FORMULA = "=SUM('売上'!E2:E4)"
TOTAL_VALUE = 1410.625
SUMMARY_TEXTS = {"B2": "改行\nあり", "B3": "𠮷野家", "D1": "ｶﾅ"}


def openpyxl_book(path):
    book = openpyxl.Workbook()
    sales = book.active
    sales.title = "売上"
    sales.append(HEADER)
    for row in ROWS:
        sales.append(row[:5])
    for r in range(2, 2 + len(ROWS)):
        sales.cell(row=r, column=4).number_format = SHORT_DATE_CODE
    summary = book.create_sheet("集計表")
    summary["A1"] = "合計"
    summary.merge_cells("A1:A3")
    summary["B1"] = TOTAL_FORMULA
    summary["C1"] = 0.25
    summary["C1"].number_format = "0%"
    for name, text in SUMMARY_TEXTS.items():
        summary[name] = text
    summary["A5"] = True
    book.properties.created = FIXED_TIME
    book.save(path)


def xlsxwriter_book(path):
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    date_format = book.add_format({"num_format": SHORT_DATE_ID})
    percent = book.add_format({"num_format": 9})
    sales = book.add_worksheet("売上")
    sales.write_row(0, 0, HEADER)
    for i, (name, count, price, day, formula, value) in enumerate(ROWS, start=1):
        sales.write_string(i, 0, name)
        sales.write_number(i, 1, count)
        sales.write_number(i, 2, price)
        sales.write_datetime(i, 3, day, date_format)
        sales.write_formula(i, 4, formula, None, value)
    summary = book.add_worksheet("集計表")
    summary.merge_range("A1:A3", "合計")
    summary.write_formula("B1", TOTAL_FORMULA, None, TOTAL_VALUE)
    summary.write_number("C1", 0.25, percent)
    for name, text in SUMMARY_TEXTS.items():
        summary.write_string(name, text)
    summary.write_boolean("A5", True)
    book.close()


def gnumeric_book(path, source):
    subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:xlsx2", source, path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    os.makedirs(OUT, exist_ok=True)
    source = os.path.join(OUT, "openpyxl_ja.xlsx")
    openpyxl_book(source)
    xlsxwriter_book(os.path.join(OUT, "xlsxwriter_ja.xlsx"))
    gnumeric_book(os.path.join(OUT, "gnumeric_ja.xlsx"), source)


if __name__ == "__main__":
    main()
