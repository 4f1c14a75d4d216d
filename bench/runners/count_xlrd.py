#!/usr/bin/python3
"""Counts the cells of the .xls books below FOLDER whose text holds NEEDLE,
reading each book with xlrd.

    count_xlrd.py FOLDER NEEDLE
"""
import pathlib
import sys

import xlrd


def main():
    folder, needle = sys.argv[1], sys.argv[2]
    count = 0
    for path in sorted(pathlib.Path(folder).rglob("*.xls")):
        book = xlrd.open_workbook(str(path), on_demand=True)
        for index in range(book.nsheets):
            sheet = book.sheet_by_index(index)
            for row in range(sheet.nrows):
                count += sum(1 for value in sheet.row_values(row)
                             if isinstance(value, str) and needle in value)
            book.unload_sheet(index)
        book.release_resources()
    print(count)


if __name__ == "__main__":
    main()
