#!/usr/bin/python3
"""Makes the books of tests/app/data/iso_dates/: the same dates and times
written by openpyxl as ISO 8601 texts (<c t="d">, as strict-format
producers write them) and as serial numbers, in a book counting from 1900
and in one counting from 1904.  The search must find each ISO cell exactly
as it finds the number cell beside it in the other book.

    iso_1900.xlsx  number_1900.xlsx  iso_1904.xlsx  number_1904.xlsx

    sudo apt-get install python3-openpyxl
    scripts/make_fixtures_iso_dates.py
"""
import datetime
import os

import openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "app", "data", "iso_dates")

DAY = datetime.date(2009, 6, 15)
MOMENT = datetime.datetime(2009, 6, 15, 13, 5, 0)
TIME = datetime.time(13, 5, 0)

# Column A: one cell per kind of value and class of number format.
CELLS = [
    (DAY, "dd/mm/yyyy"),              # date, date format
    (DAY, "yyyy-mm-dd"),              # date, another date format
    (MOMENT, "yyyy/m/d h:mm"),        # date and time, date-time format
    (TIME, "h:mm:ss"),                # time alone, time format
    (MOMENT, "dd/mm/yyyy"),           # date and time under a date format
    (DAY, "mmmm d, yyyy"),            # date, month written out
]


def write(name, iso, epoch_1904):
    book = openpyxl.Workbook(iso_dates=iso)
    if epoch_1904:
        book.epoch = CALENDAR_MAC_1904
    sheet = book.active
    sheet.title = "Dates"
    for row, (value, code) in enumerate(CELLS, start=1):
        cell = sheet.cell(row=row, column=1, value=value)
        cell.number_format = code
    book.save(os.path.join(OUT, name))


def main():
    os.makedirs(OUT, exist_ok=True)
    for epoch_1904 in (False, True):
        year = "1904" if epoch_1904 else "1900"
        write("iso_%s.xlsx" % year, True, epoch_1904)
        write("number_%s.xlsx" % year, False, epoch_1904)


if __name__ == "__main__":
    main()
