#!/usr/bin/python3
"""Makes the sample books in samples/ and the test books in tests/app/data/.

Each book comes from a producer independent of this project: openpyxl,
XlsxWriter, and Gnumeric's ssconvert for the Excel 97-2003 book.  Run it
from anywhere; it rewrites the books in place.

    sudo apt-get install python3-openpyxl python3-xlsxwriter gnumeric
    scripts/make_samples.py
"""
import datetime
import os
import shutil
import subprocess
import tempfile

import openpyxl
import openpyxl.styles
import xlsxwriter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SAMPLES = os.path.join(ROOT, "samples")
TEST_DATA = os.path.join(ROOT, "tests", "app", "data")
FIXED_TIME = datetime.datetime(2016, 3, 25, 9, 0, 0)
SHORT_DATE = "mm-dd-yy"  # Excel's built-in short date format (id 14)


def japanese_book(path):
    """Japanese texts, a short date and numbers, on two sheets (openpyxl)."""
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "売上"
    sheet.append(["地域", "担当", "日付", "金額"])
    sheet.append(["東京", "山田", datetime.date(2016, 3, 25), 120000])
    sheet.append(["大阪", "佐藤", datetime.date(2016, 4, 1), 98000])
    sheet.append(["名古屋", "鈴木", datetime.date(2016, 12, 31), 45500])
    for row in range(2, 5):
        sheet.cell(row=row, column=3).number_format = SHORT_DATE
    sheet["A6"] = "東京タワー見学"
    notes = book.create_sheet("メモ")
    notes["A1"] = "会議は東京本社で行います。"
    notes["B3"] = "apple と みかん"
    notes["C5"] = "全角　スペース"
    book.properties.created = FIXED_TIME
    book.save(path)


def english_book(path, sheet_names=("Inventory", "Notes")):
    """English texts, a short date, mixed letter case (XlsxWriter)."""
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    date_format = book.add_format({"num_format": 14})
    inventory = book.add_worksheet(sheet_names[0])
    inventory.write_row(0, 0, ["Item", "Count", "Updated"])
    inventory.write_row(1, 0, ["apple", 12])
    inventory.write_datetime(1, 2, datetime.datetime(2016, 3, 25), date_format)
    inventory.write_row(2, 0, ["Apple pie", 3])
    inventory.write_datetime(2, 2, datetime.datetime(2016, 3, 5), date_format)
    inventory.write_row(3, 0, ["pineapple", 7])
    notes = book.add_worksheet(sheet_names[1])
    notes.write(0, 0, "The Tokyo office opens on 2016/3/25.")
    notes.write(4, 3, "Order more apples")
    book.close()


def macro_book(path):
    """A book saved under a macro-enabled name (XlsxWriter)."""
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    sheet = book.add_worksheet("Macro")
    sheet.write(0, 0, "apple macro")
    sheet.write(1, 1, "東京マクロ")
    book.close()


def legacy_book(path):
    """An Excel 97-2003 book written by Gnumeric from an openpyxl book."""
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "legacy.xlsx")
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "旧形式"
        sheet["A1"] = "東京支店"
        sheet["B2"] = "apple juice"
        sheet["C3"] = datetime.date(2016, 3, 25)
        sheet["C3"].number_format = SHORT_DATE
        sheet["D4"] = 2016
        book.save(source)
        subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:excel_biff8", source, path],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def hidden_book(path):
    """A book the search must never reach: it lies in a hidden place."""
    book = openpyxl.Workbook()
    book.active["A1"] = "apple secret 東京"
    book.save(path)


def many_hits_book(path, count=10001):
    """One sheet whose column A holds `count` cells with the word "hit"."""
    book = xlsxwriter.Workbook(path)
    book.set_properties({"created": FIXED_TIME})
    sheet = book.add_worksheet("Hits")
    for row in range(count):
        sheet.write_string(row, 0, "hit %d" % (row + 1))
    book.close()


def blank_cells_book(path):
    """Rows ending in formatted but empty cells (openpyxl writes them as
    cells without a value)."""
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Trim"
    bold = openpyxl.styles.Font(bold=True)
    sheet["A1"] = "only"
    for name in ("B1", "C1", "D2", "E2"):
        sheet[name].font = bold
    sheet["A2"] = "x"
    sheet["C2"] = "y"
    book.save(path)


def main():
    if os.path.isdir(SAMPLES):
        shutil.rmtree(SAMPLES)
    os.makedirs(os.path.join(SAMPLES, "sub"))
    os.makedirs(os.path.join(SAMPLES, ".hidden"))
    japanese_book(os.path.join(SAMPLES, "日本語の表.xlsx"))
    english_book(os.path.join(SAMPLES, "english.xlsx"))
    macro_book(os.path.join(SAMPLES, "macro.xlsm"))
    legacy_book(os.path.join(SAMPLES, "sub", "legacy.xls"))
    hidden_book(os.path.join(SAMPLES, ".hidden", "secret.xlsx"))
    hidden_book(os.path.join(SAMPLES, ".hidden_book.xlsx"))
    with open(os.path.join(SAMPLES, "notes.txt"), "w", encoding="utf-8") as notes:
        notes.write("apple 東京: text files are not searched\n")

    os.makedirs(TEST_DATA, exist_ok=True)
    many_hits_book(os.path.join(TEST_DATA, "many_hits.xlsx"))
    blank_cells_book(os.path.join(TEST_DATA, "blank_cells.xlsx"))


if __name__ == "__main__":
    main()
