#!/usr/bin/python3
"""Dumps the text, number and boolean cells of Excel 97-2003 books with xlrd.

An independent reader's view of a book, for comparing with the library's
BIFF reader.  One line per cell, tab-separated:

    sheet name, row (0-based), column (0-based), kind, text

kind is "s" for a text, "n" for a number and "b" for a boolean.  Numbers are
written with all their digits (Python's repr of the double), so that the
comparison can allow for the six decimals the library keeps.  Tabs, line
ends and backslashes in texts are escaped as \\t, \\n, \\r and \\\\.  Dates
(numbers with a date format, as xlrd sees them), errors and empty cells are
left out.

Usage: oracle_xlrd.py BOOK.xls [OUT.tsv]
Exit status 0, or 2 when xlrd cannot read the book.
"""
import sys

import xlrd


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def main():
    if len(sys.argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    try:
        book = xlrd.open_workbook(sys.argv[1], on_demand=False)
    except Exception as error:  # any failure means "not readable by xlrd"
        sys.stderr.write("xlrd: %s\n" % error)
        return 2
    lines = []
    for sheet in book.sheets():
        for row in range(sheet.nrows):
            for column in range(sheet.row_len(row)):
                cell = sheet.cell(row, column)
                if cell.ctype == xlrd.XL_CELL_TEXT:
                    kind, text = "s", cell.value
                elif cell.ctype == xlrd.XL_CELL_NUMBER:
                    kind, text = "n", repr(float(cell.value))
                elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
                    kind, text = "b", "TRUE" if cell.value else "FALSE"
                else:
                    continue
                lines.append("%s\t%d\t%d\t%s\t%s\n" % (escape(sheet.name), row, column, kind, escape(text)))
    out = open(sys.argv[2], "w", encoding="utf-8") if len(sys.argv) > 2 else sys.stdout
    out.writelines(lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
