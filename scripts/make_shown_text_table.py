#!/usr/bin/env python3
"""Builds tests/data/shown_text_cases.tsv: number format codes x values x the
text a spreadsheet program in the Japanese locale shows, taken from two
independent programs.

  1. LibreOffice Calc, run with LC_ALL=ja_JP.UTF-8 and a private profile so
     that its default locale is Japanese, exports the book as CSV with
     "save cell contents as shown".
  2. SheetJS (npm package xlsx) reads the same book; its .w text of a cell.

Where they agree the text is taken.  Where they disagree, DECISIONS below
says which one holds for the Japanese locale and why; the table gets a
comment line (a line without a tab) with the reason above the row.  A disagreement no rule covers
stops the script, so that every one is looked at.

Needs python3-xlsxwriter, soffice, the ja_JP.UTF-8 locale and node with the
xlsx package in build/oracle-node (npm install --prefix build/oracle-node xlsx).

  scripts/make_shown_text_table.py [--out tests/data/shown_text_cases.tsv]
"""
import argparse
import csv
import json
import os
import re
import subprocess
import sys
import tempfile

import xlsxwriter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NODE_DIR = os.path.join(ROOT, "build", "oracle-node")

NUMBERS = [0, 1, -1, 0.5, 1234.5678, -1234.5678, 0.0001234, 1234567.891, 2.675]
DATES = [42454.58691, 44197, 43586, 43585.75, 32516, 32515, 9880, 61, 55153.5]
TIMES = [0.5, 0.99998, 1.75, 0.0416435, 42454.586921, 0.5000058, 0.000011574]
FRACTIONS = [0.75, 0.83, 1.5, 3.14159, 0, -2.25, 12.999]

NUMBER_CODES = [
    "0", "0.00", "#,##0", "#,##0.00", "#,##0.000", "0%", "0.0%", "0.00%", "0.000%",
    "0.00E+00", "##0.0E+0", "0.0E-0", "#,##0;(#,##0)", "#,##0.00;[Red]-#,##0.00",
    '"$"#,##0.00', "[$€-407]#,##0.00", "[$¥-411]#,##0", '"¥"#,##0;"¥"\\-#,##0',
    "#,##0,", '#,##0,,"百万"', "0.0#", "#.##", "#", "000-0000", "00000",
    '[>=100]"big";[<0]"neg";0.0', '[<1000]0;#,##0,"千"', '0;-0;"zero"', "0.00_);(0.00)",
    '_ * #,##0_ ;_ * \\-#,##0_ ;_ * "-"_ ;_ @_ ', '#,##0"円"', '0"個"', "#,##0.0;▲#,##0.0",
    "?.??", ".00", '[<0]"neg "0;0', "0.00;;", '"Total "0', "[Blue]0.0;[Red]-0.0", "0.00;-0.00;0.00;@",
]
FRACTION_CODES = ["# ?/?", "# ??/??", "?/?", "# ?/4", "# ??/100", "0 ?/8", "??/??"]
DATE_CODES = [
    "yyyy/m/d", "yyyy/mm/dd", "yyyy-mm-dd", "m/d/yyyy", "mmmm d, yyyy", "mmm-yy", "d-mmm-yy",
    "mmmmm", "yy/m/d", 'yyyy"年"m"月"d"日"', 'm"月"d"日"', '[$-411]ggge"年"m"月"d"日"',
    '[$-411]gge"年"m"月"d"日"', "[$-411]ge.m.d", "[$-411]ggg ee\"年\"", "aaa", "aaaa", "(aaa)",
    "ddd", "dddd", "yyyy/m/d(aaa)", "yyyy/m/d;@", "[$-F800]dddd, mmmm dd, yyyy",
    "yyyy/m/d h:mm", "yyyy/m/d h:mm:ss", "m/d h:mm AM/PM", "YYYY/MM/DD",
    "[$-F400]h:mm:ss AM/PM", "[$-411]h:mm AM/PM",
]
TIME_CODES = [
    "h:mm", "hh:mm:ss", "h:mm AM/PM", "h:mm:ss A/P", "[h]:mm:ss", "[mm]:ss", "[ss]", "mm:ss.0",
    "h:mm:ss.00", 'h"時"mm"分"', 'h"時"mm"分"ss"秒"'
]
BUILTIN_VALUES = {
    **{n: NUMBERS for n in (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 37, 38, 39, 40, 48)},
    **{n: FRACTIONS for n in (12, 13)},
    **{n: DATES for n in (14, 15, 16, 17, 22, 27, 28, 29, 30, 31, 34, 35, 36)},
    **{n: DATES for n in range(50, 59)},
    **{n: TIMES for n in (18, 19, 20, 21, 32, 33, 45, 46, 47)},
}

# The built-in formats as the Japanese locale defines them.  A built-in
# row is expected to show what the oracles show for this code written out:
# LibreOffice pads built-in 14 as yyyy/mm/dd, SheetJS reads 14 and 22 the US
# way and has no table for the Japanese ids 27 to 58.
YEN = "\"¥\""
ERA_DATE = '[$-411]ggge"年"m"月"d"日"'
JA_BUILTINS = {
    1: "0", 2: "0.00", 3: "#,##0", 4: "#,##0.00",
    5: f"{YEN}#,##0;{YEN}\\-#,##0", 6: f"{YEN}#,##0;[Red]{YEN}\\-#,##0",
    7: f"{YEN}#,##0.00;{YEN}\\-#,##0.00", 8: f"{YEN}#,##0.00;[Red]{YEN}\\-#,##0.00",
    9: "0%", 10: "0.00%", 11: "0.00E+00", 12: "# ?/?", 13: "# ??/??",
    14: "yyyy/m/d", 15: "d-mmm-yy", 16: "d-mmm", 17: "mmm-yy", 18: "h:mm AM/PM",
    19: "h:mm:ss AM/PM", 20: "h:mm", 21: "h:mm:ss", 22: "yyyy/m/d h:mm",
    27: "[$-411]ge.m.d", 28: ERA_DATE, 29: ERA_DATE, 30: "m/d/yy", 31: 'yyyy"年"m"月"d"日"',
    32: 'h"時"mm"分"', 33: 'h"時"mm"分"ss"秒"', 34: 'yyyy"年"m"月"', 35: 'm"月"d"日"',
    36: "[$-411]ge.m.d", 37: "#,##0;-#,##0", 38: "#,##0;[Red]-#,##0",
    39: "#,##0.00;-#,##0.00", 40: "#,##0.00;[Red]-#,##0.00", 45: "mm:ss",
    46: "[h]:mm:ss", 47: "mm:ss.0", 48: "##0.0E+0",
    50: "[$-411]ge.m.d", 51: ERA_DATE, 52: 'yyyy"年"m"月"', 53: 'm"月"d"日"', 54: ERA_DATE,
    55: 'yyyy"年"m"月"', 56: 'm"月"d"日"', 57: "[$-411]ge.m.d", 58: ERA_DATE,
}

# Which oracle holds where they differ for a written-out code, tried in
# order: (test on code, value, LibreOffice text, SheetJS text) -> the oracle
# to take, and the reason.
def bare(code):
    """The code without quoted texts, escapes and brackets, in lower case."""
    return re.sub(r'"[^"]*"|\\.|\[[^\]]*\]', "", code).lower()


DECISIONS = [
    (lambda c, v, lo, js: v < 61 and any(x in bare(c) for x in "ymdg"),
     "js", "before March 1900 the 1900 date system counts the day 1900-02-29; "
           "LibreOffice's calendar starts one day earlier"),
    (lambda c, v, lo, js: "[$-f" in c.lower(),
     "lo", "[$-F800] and [$-F400] stand for the locale's system date and time formats; "
           "SheetJS ignores the tag"),
    (lambda c, v, lo, js: not js,
     "lo", "SheetJS cannot show this code or value"),
    (lambda c, v, lo, js: v == 2.675,
     "lo", "the program rounds the decimal value it keeps (15 digits), where 2.675 is a tie; "
           "SheetJS rounds the binary double, which lies below it"),
    (lambda c, v, lo, js: js == "-" + lo,
     "js", "a negative number that rounds to zero keeps its minus sign in the program"),
    (lambda c, v, lo, js: lo == "-" + js,
     "lo", "a single section, or one chosen by a condition, writes the minus sign itself"),
    (lambda c, v, lo, js: js.rstrip(".") == lo and c.endswith(".##"),
     "js", "the decimal point stays when # drops every decimal"),
    (lambda c, v, lo, js: "/" in bare(c) and not any(x in bare(c) for x in "ymdh"),
     "lo", "a fraction shows the closest fraction its denominator places allow (SheetJS "
           "stops at the last convergent) and a whole number blanks the fraction's places"),
    (lambda c, v, lo, js: "g" in bare(c) or "aaa" in bare(c),
     "lo", "Japanese eras (g, e) and weekdays (aaa) are the locale's own; SheetJS has none"),
    (lambda c, v, lo, js: "mmm" in bare(c) or "ddd" in bare(c),
     "js", "the Japanese locale keeps English month and day names for mmm and ddd; "
           "LibreOffice takes its Japanese calendar names"),
    (lambda c, v, lo, js: "am/pm" in c.lower() or "a/p" in c.lower(),
     "js", "AM/PM and A/P are written as in the code; LibreOffice writes 午前/午後 "
            "for AM/PM without a locale tag"),
    (lambda c, v, lo, js: "s" in bare(c),
     "js", "the program rounds a time to the finest unit shown; LibreOffice cuts the seconds"),
]


def cases():
    for codes, values in ((NUMBER_CODES, NUMBERS), (FRACTION_CODES, FRACTIONS),
                          (DATE_CODES, DATES), (TIME_CODES, TIMES)):
        for code in codes:
            for v in values:
                yield code, v
    for number, values in sorted(BUILTIN_VALUES.items()):
        for v in values:
            yield f"builtin {number}", v


def write_book(path, rows):
    """Column A the code, B the value in that format, C for a built-in the
    value in the Japanese locale's code of that built-in."""
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet()
    formats = {}

    def fmt(key):
        if key not in formats:
            formats[key] = book.add_format({"num_format": key})
        return formats[key]
    for r, (code, value) in enumerate(rows):
        sheet.write_string(r, 0, code)
        if code.startswith("builtin "):
            number = int(code.split()[1])
            sheet.write_number(r, 1, value, fmt(number))
            sheet.write_number(r, 2, value, fmt(JA_BUILTINS[number]))
        else:
            sheet.write_number(r, 1, value, fmt(code))
    book.close()


def libreoffice_texts(book, work):
    env = dict(os.environ, LC_ALL="ja_JP.UTF-8", LANG="ja_JP.UTF-8")
    profile = "file://" + os.path.join(work, "lo-profile")
    # Separator, quote, UTF-8, first line, column types, Japanese, quoted as
    # text, detect numbers, save cell contents as shown.
    options = "44,34,76,1,,1041,false,true,true"
    subprocess.run(["soffice", f"-env:UserInstallation={profile}", "--headless",
                    "--convert-to", f"csv:Text - txt - csv (StarCalc):{options}",
                    "--outdir", work, book], env=env, check=True, capture_output=True)
    with open(os.path.join(work, "book.csv"), encoding="utf-8", newline="") as f:
        return [(row + ["", "", ""])[1:3] for row in csv.reader(f)]


def sheetjs_texts(book, count):
    script = ("const X=require('xlsx');const wb=X.readFile(process.argv[1],{cellNF:true});"
              "const s=wb.Sheets[wb.SheetNames[0]];const out=[];"
              "const w=(r,c)=>{const x=s[X.utils.encode_cell({r:r,c:c})];return x&&x.w!==undefined?x.w:null;};"
              "for(let r=0;r<+process.argv[2];++r)out.push([w(r,1),w(r,2)]);"
              "console.log(JSON.stringify(out));")
    run = subprocess.run(["node", "-e", script, book, str(count)], cwd=NODE_DIR,
                         check=True, capture_output=True, text=True)
    return json.loads(run.stdout)


def decide(code, value, lo, js):
    """The expected text and, where the oracles differ, the reason; None
    when no decision covers the difference."""
    if lo == js:
        return lo, None
    for test, choice, reason in DECISIONS:
        if test(code, value, lo, js):
            return (lo if choice == "lo" else js), reason
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default=os.path.join(ROOT, "tests/data/shown_text_cases.tsv"))
    args = parser.parse_args()
    rows = list(cases())
    with tempfile.TemporaryDirectory() as work:
        book = os.path.join(work, "book.xlsx")
        write_book(book, rows)
        lo = libreoffice_texts(book, work)
        js = sheetjs_texts(book, len(rows))
    lines = ["# Rows: format code (or builtin N), TAB, value, TAB, shown text.  A line without a TAB "
             "is a comment.  Made from LibreOffice (ja-JP) and SheetJS by scripts/make_shown_text_table.py"]
    undecided = 0
    for k, (code, value) in enumerate(rows):
        (lo_text, lo_ja), (js_text, js_ja) = lo[k], js[k]
        if code.startswith("builtin "):
            ja_code = JA_BUILTINS[int(code.split()[1])]
            decided = decide(ja_code, value, lo_ja, js_ja)
            if decided and lo_text == js_text == decided[0]:
                decided = (decided[0], None)
            elif decided:
                decided = (decided[0], f"built-in means {ja_code} in the Japanese locale"
                           + (f"; {decided[1]}" if decided[1] else ""))
        else:
            decided = decide(code, value, lo_text, js_text)
        if decided is None:
            undecided += 1
            print(f"undecided: {code!r} {value!r}: LibreOffice {lo_text!r}, SheetJS {js_text!r}",
                  file=sys.stderr)
            continue
        text, reason = decided
        if reason:
            lines.append(f"# LibreOffice {lo_text!r}, SheetJS {js_text!r}: {reason}")
        lines.append(f"{code}\t{value!r}\t{text}")
    if undecided:
        sys.exit(f"{undecided} disagreements without a decision")
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
