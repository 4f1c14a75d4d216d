#!/usr/bin/python3
"""Makes the books of numbers shown through their formats in tests/app/data/shown/.

One sheet of numbers, each under a number format that shows it otherwise
than the plain number (dates in several layouts, currency, percent,
decimals, exponent, a month name), written by openpyxl and converted to
Excel 97-2003 by LibreOffice, so that both readers hand the search the same
cells:

    shown_numbers.xlsx   openpyxl
    shown_numbers.xls    LibreOffice (soffice --convert-to xls)

Run it from anywhere; it rewrites the books in place.

    sudo apt-get install python3-openpyxl libreoffice-calc-nogui
    scripts/make_fixtures_shown.py
"""
import os
import shutil
import subprocess
import tempfile

import openpyxl

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "app", "data", "shown")

# (cell, value, number format); 42454 is 2016-03-25, 44197 is 2021-01-01.
CELLS = [
    ("A1", 42454, "yyyy/mm/dd"),
    ("A2", 42454, "yyyy-mm-dd"),
    ("A3", 42454, "m/d/yyyy"),
    ("A4", 42454, '[$-411]ggge"年"m"月"d"日"'),
    ("A5", 42454, "mmmm d, yyyy"),
    ("A6", 42454 + 14 / 24 + 5 / 1440, "yyyy-mm-dd hh:mm"),
    ("B1", 1148, '"$"#,##0.00'),
    ("B2", 0.75, "0%"),
    ("B3", 1, "0.00"),
    ("B4", 1.12e-10, "0.00E+00"),
    ("B5", 44197, 'mmmm" "yyyy'),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Shown"
    for ref, value, code in CELLS:
        sheet[ref] = value
        sheet[ref].number_format = code
    xlsx = os.path.join(OUT, "shown_numbers.xlsx")
    book.save(xlsx)
    with tempfile.TemporaryDirectory() as profile:
        subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                        "--convert-to", "xls", "--outdir", profile, xlsx],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.copy(os.path.join(profile, "shown_numbers.xls"), os.path.join(OUT, "shown_numbers.xls"))


if __name__ == "__main__":
    main()
