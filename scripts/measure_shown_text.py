#!/usr/bin/python3
"""Compares the library's shown text of every formatted number cell of the
test corpus with what LibreOffice shows for the same cell (CSV export with
"save cell contents as shown", Japanese locale) and with SheetJS's text of
the cell, and prints the share of equal texts and the format codes that
still differ from LibreOffice.

Cells in General and codes with a fill character (*x) are left out: their
text depends on the column width.

  scripts/measure_shown_text.py [--corpus DIR] [--work DIR] [--examples N] [--codes N]

The renderer is compiled from lib/format and lib/base into the work folder; LibreOffice's
CSV files are kept there and reused on the next run.  Needs g++, soffice,
the ja_JP.UTF-8 locale, python3-xlrd and node with the xlsx package in
build/oracle-node (npm install --prefix build/oracle-node xlsx).
"""
import argparse
import collections
import csv
import glob
import json
import os
import re
import subprocess
import sys
import zipfile
import xml.etree.ElementTree as ET

import xlrd

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

DRIVER = r'''
#include "shown_text.h"
#include <iostream>
#include <map>
// Lines "code TAB value TAB 1904-flag" in, shown texts out ("\x01" for none).
int main() {
    std::map<std::string, ShownFormat> formats;
    std::string line, out;
    while (std::getline(std::cin, line)) {
        const auto a = line.find('\t'), b = line.rfind('\t');
        const std::string code = line.substr(0, a);
        auto it = formats.find(code);
        if (it == formats.end())
            it = formats.emplace(code, code.rfind("builtin ", 0) == 0
                ? ShownFormat::builtin(std::stoi(code.substr(8))) : ShownFormat::compile(code)).first;
        const bool ok = it->second.render(std::stod(line.substr(a + 1, b - a - 1)), line[b + 1] == '1', out);
        std::cout << (ok ? out : std::string("\x01")) << '\n';
    }
}
'''

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
      "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
      "rel": "http://schemas.openxmlformats.org/package/2006/relationships"}


def build_driver(work):
    source = os.path.join(work, "shown_driver.cpp")
    binary = os.path.join(work, "shown_driver")
    with open(source, "w") as f:
        f.write(DRIVER)
    lib = os.path.join(ROOT, "lib")
    subprocess.run(["g++", "-std=c++20", "-O2", "-I" + os.path.join(lib, "format"),
                    "-I" + os.path.join(lib, "base"), source,
                    os.path.join(lib, "format", "shown_format.cpp"), os.path.join(lib, "format", "shown_text.cpp"),
                    os.path.join(lib, "base", "date_serial.cpp"), "-o", binary], check=True)
    return binary


def column_index(ref):
    letters = re.match(r"[A-Z]+", ref).group(0)
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n - 1, int(ref[len(letters):]) - 1


def xlsx_cells(path):
    """(sheet name, row, column, value, code, 1904) of every number cell
    whose format is not General."""
    z = zipfile.ZipFile(path)
    book = ET.fromstring(z.read("xl/workbook.xml"))
    pr = book.find("m:workbookPr", NS)
    date1904 = pr is not None and pr.get("date1904") in ("1", "true")
    rels = ET.fromstring(z.read("xl/_rels/workbook.xml.rels"))
    targets = {r.get("Id"): r.get("Target") for r in rels.findall("rel:Relationship", NS)}
    styles = ET.fromstring(z.read("xl/styles.xml")) if "xl/styles.xml" in z.namelist() else None
    codes, xf_formats = {}, []
    if styles is not None:
        for nf in styles.findall("m:numFmts/m:numFmt", NS):
            codes[int(nf.get("numFmtId"))] = nf.get("formatCode")
        xf_formats = [int(xf.get("numFmtId", "0")) for xf in styles.findall("m:cellXfs/m:xf", NS)]
    for sheet in book.findall("m:sheets/m:sheet", NS):
        target = targets.get(sheet.get("{%s}id" % NS["r"]), "")
        part = target.lstrip("/") if target.startswith("/") else "xl/" + target
        if part not in z.namelist():
            continue
        for _, c in ET.iterparse(z.open(part)):
            if c.tag != "{%s}c" % NS["m"]:
                continue
            v = c.find("m:v", NS)
            if v is None or c.get("t", "n") != "n" or c.get("r") is None:
                c.clear()
                continue
            s = int(c.get("s", "0"))
            number = xf_formats[s] if s < len(xf_formats) else 0
            if number != 0:
                code = codes.get(number, f"builtin {number}")
                col, row = column_index(c.get("r"))
                yield sheet.get("name"), row, col, float(v.text), code, date1904
            c.clear()


def xls_cells(path):
    book = xlrd.open_workbook(path, formatting_info=True, on_demand=True, logfile=open(os.devnull, "w"))
    written = {f.format_key: f.format_str for f in book.format_list}
    for index in range(book.nsheets):
        sheet = book.sheet_by_index(index)
        for row in range(sheet.nrows):
            for col in range(sheet.ncols):
                cell = sheet.cell(row, col)
                if cell.ctype not in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
                    continue
                key = book.xf_list[cell.xf_index].format_key
                if key == 0:
                    continue
                # Built-in numbers keep their Japanese meaning unless the
                # book writes its own code for them.
                code = written.get(key, f"builtin {key}")
                yield sheet.name, row, col, float(cell.value), code, book.datemode == 1


def libreoffice_csv(book, out_dir, profile):
    """One CSV per sheet, made once and kept."""
    base = os.path.splitext(os.path.basename(book))[0]
    if glob.glob(os.path.join(out_dir, glob.escape(base) + "-*.csv")) or \
       os.path.exists(os.path.join(out_dir, base + ".failed")):
        return
    os.makedirs(out_dir, exist_ok=True)
    env = dict(os.environ, LC_ALL="ja_JP.UTF-8", LANG="ja_JP.UTF-8")
    options = "44,34,76,1,,1041,false,true,true,false,false,-1"
    run = subprocess.run(["soffice", f"-env:UserInstallation=file://{profile}", "--headless",
                          "--convert-to", f"csv:Text - txt - csv (StarCalc):{options}",
                          "--outdir", out_dir, book], env=env, capture_output=True, timeout=600)
    if run.returncode != 0 or not glob.glob(os.path.join(out_dir, glob.escape(base) + "-*.csv")):
        open(os.path.join(out_dir, base + ".failed"), "w").close()


SHEETJS = r'''
const X = require('xlsx');
for (const path of process.argv.slice(1)) {
    const texts = {};
    try {
        const wb = X.readFile(path, {cellNF: true});
        for (const name of wb.SheetNames) {
            const sheet = wb.Sheets[name], cells = {};
            for (const ref of Object.keys(sheet))
                if (ref[0] !== '!' && sheet[ref].t === 'n' && sheet[ref].w !== undefined) {
                    const a = X.utils.decode_cell(ref);
                    cells[a.r + ',' + a.c] = sheet[ref].w;
                }
            texts[name] = cells;
        }
    } catch (e) {}
    console.log(JSON.stringify(texts));
}
'''


def sheetjs_texts(paths):
    """Per book, per sheet name, "row,column" -> SheetJS's text."""
    node_dir = os.path.join(ROOT, "build", "oracle-node")
    result = {}
    for start in range(0, len(paths), 20):
        chunk = paths[start:start + 20]
        run = subprocess.run(["node", "-e", SHEETJS] + chunk, cwd=node_dir, capture_output=True,
                             text=True, check=True)
        for path, line in zip(chunk, run.stdout.splitlines()):
            result[path] = json.loads(line)
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--corpus", default=os.path.join(ROOT, "..", "shared", "corpus"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "shown-measure"))
    parser.add_argument("--examples", type=int, default=3)
    parser.add_argument("--codes", type=int, default=40, help="codes listed per oracle")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    driver = build_driver(args.work)
    profile = os.path.join(os.path.abspath(args.work), "lo-profile")

    cells = []  # (group, book, sheet, row, col, value, code, 1904)
    for path in sorted(glob.glob(os.path.join(args.corpus, "*", "*"))):
        ext = os.path.splitext(path)[1].lower()
        if ext not in (".xls", ".xlsx", ".xlsm"):
            continue
        try:
            found = list(xls_cells(path) if ext == ".xls" else xlsx_cells(path))
        except Exception as e:  # a book the Python readers cannot open is left out
            print(f"skipped {path}: {e}", file=sys.stderr)
            continue
        found = [c for c in found if not re.search(r'\*', re.sub(r'"[^"]*"|\\.', "", c[4]))]
        if not found:
            continue
        rel = os.path.relpath(path, args.corpus)
        out_dir = os.path.join(args.work, "csv", os.path.dirname(rel))
        libreoffice_csv(path, out_dir, profile)
        base = os.path.splitext(os.path.basename(path))[0]
        for sheet, row, col, value, code, d1904 in found:
            cells.append((rel.split("/")[0], rel, os.path.join(out_dir, f"{base}-{sheet}.csv"),
                          row, col, value, code, d1904))

    js = sheetjs_texts(sorted({os.path.join(args.corpus, c[1]) for c in cells}))
    run = subprocess.run([driver], input="".join(f"{c[6]}\t{c[5]!r}\t{int(c[7])}\n" for c in cells),
                         capture_output=True, text=True, check=True)
    shown = run.stdout.split("\n")
    sheets = {}
    totals = collections.Counter()
    equal = collections.Counter()
    equal_js = collections.Counter()
    totals_js = collections.Counter()
    differing = collections.defaultdict(list)
    differing_js = collections.defaultdict(list)
    for cell, mine in zip(cells, shown):
        group, rel, csv_path, row, col, value, code, _ = cell
        if mine == "\x01":
            continue  # General: no shown form of its own
        if csv_path not in sheets:
            try:
                with open(csv_path, encoding="utf-8", newline="") as f:
                    sheets[csv_path] = list(csv.reader(f))
            except OSError:
                sheets[csv_path] = None
        rows = sheets[csv_path]
        if rows is None:
            continue
        lo = rows[row][col] if row < len(rows) and col < len(rows[row]) else ""
        sheet_name = os.path.basename(csv_path)[len(os.path.splitext(os.path.basename(rel))[0]) + 1:-4]
        js_text = js.get(os.path.join(args.corpus, rel), {}).get(sheet_name, {}).get(f"{row},{col}")
        third_party = group != "generated"
        for key in ("all", "third-party") if third_party else ("all",):
            totals[key] += 1
            equal[key] += mine == lo
            if js_text is not None:
                totals_js[key] += 1
                equal_js[key] += mine == js_text
        if js_text is not None and mine != js_text:
            differing_js[code].append((rel, value, mine, js_text))
        if mine != lo:
            differing[code].append((rel, value, mine, lo))
    for key in ("third-party", "all"):
        if totals[key]:
            print(f"{key}: {equal[key]} of {totals[key]} formatted number cells equal to LibreOffice "
                  f"({100.0 * equal[key] / totals[key]:.2f}%), {equal_js[key]} of {totals_js[key]} "
                  f"that SheetJS shows equal to SheetJS ({100.0 * equal_js[key] / max(1, totals_js[key]):.2f}%)")
    for name, table in (("LibreOffice", differing), ("SheetJS", differing_js)):
        print(f"\nCodes whose text differs from {name}'s, by cell count:")
        for code, rows in sorted(table.items(), key=lambda kv: -len(kv[1]))[:args.codes]:
            print(f"{len(rows):7d}  {code}")
            for rel, value, mine, theirs in rows[:args.examples]:
                print(f"           {rel}  {value!r}: mine {mine!r}, {name} {theirs!r}")

if __name__ == "__main__":
    main()
