#!/usr/bin/python3
"""Checks the results Z-Scan.exe wrote for the books folder under Wine
against zscan's (tests/win32/run_wine_tests.sh): the text result holds the
same hits in the same order, with CR LF line ends, among them the book at
the bottom of a path longer than MAX_PATH; the result book has a row per
hit, each cell a string holding the exact text found.

Usage: check_window_results.py OUTPUT_FOLDER WINDOWS_BOOKS BOOKS ZSCAN "WORDS" """
import os
import subprocess
import sys

import openpyxl

out, windows_books, books, zscan, words = sys.argv[1:]
failures = []

raw = open(out + "/text-result.txt", "rb").read()
if not raw.endswith(b"\r\n") or b"\n" in raw.replace(b"\r\n", b""):
    failures.append("result lines do not all end in CR LF")


def mapped(line):
    path, rest = line[1:].split("]", 1)
    return "[" + books + path[len(windows_books):].replace("\\", "/") + "]" + rest


window_lines = [l for l in raw.decode("cp932").split("\r\n") if l]
window_hits = [mapped(l) for l in window_lines]
# zscan's own result file goes into the output folder: the shared temporary
# folder's may be held by another zscan run on the machine.
run = subprocess.run([zscan, "--no-settings", "--words", words, "--no-excel", "--no-regex", books],
                     capture_output=True, text=True, env=dict(os.environ, TEMP=out))
zscan_hits = [l for l in run.stdout.split("\n") if l]
if not zscan_hits or window_hits != zscan_hits:
    failures.append("window hits differ from zscan's:\n  " + "\n  ".join(window_hits) +
                    "\nzscan:\n  " + "\n  ".join(zscan_hits))
if not any(len(l[1:].split("]")[0]) > 260 for l in window_lines):
    failures.append("no hit in the book whose path is longer than 260 characters")

rows = list(openpyxl.load_workbook(out + "/result.xlsx").active.iter_rows())
if len(rows) != len(zscan_hits) + 1:
    failures.append(f"result book has {len(rows)} rows for {len(zscan_hits)} hits")
texts = [row[0].value for row in rows[1:]]
if "=SUM(1,2)" not in texts or "00123" not in texts:
    failures.append("result book lacks the exact texts =SUM(1,2) and 00123: %r" % texts)
for row in rows[1:]:
    if any(cell.data_type != "s" for cell in row):
        failures.append("result book row holds a non-text: %r" % [(c.value, c.data_type) for c in row])

for failure in failures:
    print("FAIL:", failure)
print(f"{len(window_hits)} hits, same as zscan" if not failures else "result checks FAILED")
sys.exit(1 if failures else 0)
