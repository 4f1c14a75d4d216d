#!/usr/bin/python3
"""Dumps the text and whole-number cells of Excel 2007 books with openpyxl.

Used as an independent reader to check the library's package reader:

    scripts/oracle_openpyxl.py [--root DIR] BOOK.xlsx [BOOK.xlsm ...]

For each book, one line per cell on standard output:

    <book> TAB <sheet position> TAB <cell name> TAB <text>

where <book> is the path as given, or relative to DIR with --root.

Only cells whose text does not depend on a display format are listed:
strings (cached formula results included; Excel's _xHHHH_ escapes, which
openpyxl leaves as they are, decoded) and whole numbers in the General
format.  Texts holding control characters other than tab and line ends are
left out: Excel writes them as escapes that readers show differently.  The
sheet position counts the sheets the workbook part lists (chart sheets
included), which is how the library numbers sheets.  In the text,
backslash, tab, carriage return and line feed are written as \\\\, \\t, \\r and \\n.

Exit status 0; a book openpyxl cannot read is reported on standard error
and skipped.
"""
import os
import posixpath
import re
import resource
import sys
import zipfile
import xml.etree.ElementTree as ET

import openpyxl

REL_NS = "{http://schemas.openxmlformats.org/package/2006/relationships}"
EXCEL_ESCAPE = re.compile("_x([0-9A-Fa-f]{4})_")
CONTROL = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f]")
MEMORY_LIMIT = 4 << 30  # openpyxl may not take the machine down on a hostile book


def unescape(text):
    """Excel's _xHHHH_ escapes, which openpyxl leaves in the text, as Excel shows them."""
    return EXCEL_ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text)


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\r", "\\r").replace("\n", "\\n"))


def relationships(package, part):
    """(type, target part) of each relationship of a part ("" for the package)."""
    folder, file = posixpath.split(part)
    rels_name = posixpath.join(folder, "_rels", file + ".rels")
    if rels_name not in package.namelist():
        return []
    found = []
    for rel in ET.fromstring(package.read(rels_name)).iter(REL_NS + "Relationship"):
        target = rel.get("Target", "")
        if target.startswith("/"):
            target = target[1:]
        else:
            target = posixpath.normpath(posixpath.join(folder, target))
        found.append((rel.get("Type", ""), rel.get("Id"), target))
    return found


def sheet_positions(path):
    """Sheet name -> position of the sheet in the workbook's list.

    The list counts every <sheet> with a name and a sheetId, worksheets and
    chart sheets alike; a package may keep its workbook elsewhere, named by
    the package's relationships."""
    with zipfile.ZipFile(path) as package:
        workbook = "xl/workbook.xml"
        if workbook not in package.namelist():
            for kind, _, target in relationships(package, ""):
                if kind.endswith("/officeDocument"):
                    workbook = target
        positions = {}
        for sheet in ET.fromstring(package.read(workbook)).iter():
            if sheet.tag.endswith("}sheet") and sheet.get("name") and sheet.get("sheetId"):
                positions.setdefault(sheet.get("name"), len(positions))
    return positions


def dump(path, name, out):
    positions = sheet_positions(path)
    book = openpyxl.load_workbook(path, data_only=True)
    for sheet in book.worksheets:
        position = positions.get(sheet.title)
        if position is None:
            continue
        # Only the cells the sheet stores: walking rows and columns up to
        # the sheet's dimension would make every empty cell in between.
        for (_, _), cell in sorted(sheet._cells.items()):
            value = cell.value
            if isinstance(value, bool) or value is None:
                continue
            if isinstance(value, str):
                text = unescape(value)
                if CONTROL.search(text):
                    continue
            elif isinstance(value, int) and cell.number_format == "General":
                text = str(value)
            else:
                continue
            out.write("%s\t%d\t%s\t%s\n" % (name, position, cell.coordinate, escape(text)))


def main(args):
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))
    root = None
    if len(args) >= 2 and args[0] == "--root":
        root, args = args[1], args[2:]
    out = sys.stdout
    for path in args:
        name = os.path.relpath(path, root) if root else path
        try:
            dump(path, name, out)
        except Exception as error:  # any failure of the independent reader
            sys.stderr.write("%s: %s\n" % (path, error))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
