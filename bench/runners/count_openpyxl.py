#!/usr/bin/python3
"""Counts the cells of the .xlsx books below FOLDER whose text holds NEEDLE,
reading each book with openpyxl in read-only mode.

    count_openpyxl.py FOLDER NEEDLE
"""
import pathlib
import sys

import openpyxl


def main():
    folder, needle = sys.argv[1], sys.argv[2]
    count = 0
    for path in sorted(pathlib.Path(folder).rglob("*.xlsx")):
        book = openpyxl.load_workbook(path, read_only=True, data_only=True)
        for sheet in book.worksheets:
            for row in sheet.iter_rows(values_only=True):
                count += sum(1 for value in row if isinstance(value, str) and needle in value)
        book.close()
    print(count)


if __name__ == "__main__":
    main()
