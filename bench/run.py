#!/usr/bin/python3
"""Runs every searcher over the trees made by make_trees.py, side by side,
and prints a table per tree and kind of needle: hits, wall time, CPU time,
cells per second, peak memory, and zscan's wall and CPU time over each
searcher's.

The kinds of needle are a Japanese word, a word of ASCII letters that no
number can show, a word of digits that number cells show, and an
expression.  Each searcher counts the cells whose text holds the needle;
the other readers count text cells by a plain word only, so they take part
in the Japanese and ASCII searches, the floor in every plain search.  A
count that differs from the number of cells the needle was planted in, or
zscan runs that print different lines, fail the run (exit status 1) once
every table is printed.  CPU time and memory come from GNU time; with
--runs N each searcher runs N times and its fastest run is shown.

    bench/run.py --trees DIR --zscan PATH --floor PATH --node-path DIR --work DIR [--runs N]
                 [--kinds KIND,...] [--searchers NAME,...]
"""
import argparse
import datetime
import json
import os
import re
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
RUNNERS = os.path.join(HERE, "runners")
GNU_TIME = "/usr/bin/time"
PYTHON = "/usr/bin/python3"
TREES = ("large-xlsx", "small-xlsx", "large-xls")
KINDS = ("japanese", "ascii", "digits", "expression")
KIND_TITLES = {"japanese": "Japanese word", "ascii": "ASCII word", "digits": "word of digits",
               "expression": "expression"}
TEXT_KINDS = ("japanese", "ascii")
PLAIN_KINDS = ("japanese", "ascii", "digits")


class Searcher:
    """One command line to measure: `command(tree, needle, kind)` gives its
    argv; it searches the books whose suffix is in `suffixes` for the kinds
    of needle in `kinds`."""

    def __init__(self, name, suffixes, kinds, command, env=None, counts_lines=False):
        self.name, self.suffixes, self.kinds, self.command = name, suffixes, kinds, command
        self.env, self.counts_lines = env or {}, counts_lines


def zscan_searchers(zscan, work):
    """zscan with one and two workers when it takes -j, else zscan as it is."""
    help_text = subprocess.run([zscan, "--help"], capture_output=True, text=True).stdout
    has_jobs = re.search(r"^\s*-j\b", help_text, re.MULTILINE) is not None
    env = {"TEMP": work}
    fixed = ["-n", "", "--no-excel"]

    def command(jobs):
        return lambda tree, needle, kind: [zscan, *jobs, *fixed,
                                           "-e" if kind == "expression" else "--no-regex",
                                           "-w", needle, tree]

    if not has_jobs:
        return [Searcher("zscan", (".xls", ".xlsx"), KINDS, command([]), env, counts_lines=True)]
    return [Searcher(f"zscan -j {n}", (".xls", ".xlsx"), KINDS, command(["-j", str(n)]), env,
                     counts_lines=True) for n in (1, 2)]


def searchers(args):
    return zscan_searchers(args.zscan, args.work) + [
        Searcher("floor: zlib inflate + memmem", (".xlsx",), PLAIN_KINDS,
                 lambda tree, needle, kind: [args.floor, tree, needle]),
        Searcher("openpyxl read-only", (".xlsx",), TEXT_KINDS,
                 lambda tree, needle, kind: [PYTHON, os.path.join(RUNNERS, "count_openpyxl.py"),
                                             tree, needle]),
        Searcher("xlrd", (".xls",), TEXT_KINDS,
                 lambda tree, needle, kind: [PYTHON, os.path.join(RUNNERS, "count_xlrd.py"),
                                             tree, needle]),
        Searcher("SheetJS (npm xlsx)", (".xls", ".xlsx"), TEXT_KINDS,
                 lambda tree, needle, kind: ["node", os.path.join(RUNNERS, "count_sheetjs.js"),
                                             tree, needle],
                 env={"NODE_PATH": args.node_path}),
    ]


class Measure:
    def __init__(self, hits, output, wall, user, system, peak_kb):
        self.hits, self.output = hits, output
        self.wall, self.cpu, self.peak_kb = wall, user + system, peak_kb


def measure_once(searcher, tree, needle, kind, work):
    """Runs the searcher once under GNU time; None with a message when it fails.

    GNU time gives the CPU time and peak memory; the wall time is taken here
    to the microsecond, since its 10 ms steps are coarse for runs of a tenth
    of a second."""
    times = os.path.join(work, "time.txt")
    result_file = os.path.join(work, "Z-Scan検索結果.txt")
    if os.path.exists(result_file):
        os.remove(result_file)
    started = time.perf_counter()
    run = subprocess.run([GNU_TIME, "-f", "%U %S %M", "-o", times,
                          *searcher.command(tree, needle, kind)],
                         capture_output=True, text=True, env=dict(os.environ, **searcher.env))
    wall = time.perf_counter() - started
    # zscan says 1 when it finds nothing; the count check then speaks.
    if run.returncode not in ((0, 1) if searcher.counts_lines else (0,)):
        print(f"{searcher.name} failed with status {run.returncode}:\n{run.stderr[-2000:]}",
              file=sys.stderr)
        return None
    if searcher.counts_lines:
        hits = sum(1 for line in run.stdout.splitlines() if line.startswith("["))
    else:
        hits = int(run.stdout.split()[-1])
    with open(times) as f:
        user, system, peak_kb = f.read().split()[-3:]
    return Measure(hits, run.stdout, wall, float(user), float(system), int(peak_kb))


def count_text(n):
    return f"{n / 1e6:.2f} M" if n >= 1e6 else f"{n / 1e3:.0f} k"


def largest_sheet_xml(tree):
    """The most bytes of worksheet XML one Excel 2007 book of the tree holds, inflated."""
    largest = 0
    for folder, _, names in os.walk(tree):
        for name in names:
            if name.endswith(".xlsx"):
                with zipfile.ZipFile(os.path.join(folder, name)) as book:
                    largest = max(largest, sum(i.file_size for i in book.infolist()
                                               if i.filename.startswith("xl/worksheets/sheet")))
    return largest


def read_tree(tree):
    """Reads every file of the tree once, so that no searcher pays for the disk."""
    for folder, _, names in os.walk(tree):
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                while f.read(1 << 20):
                    pass


def table(title, cells, rows, reference):
    lines = [f"### {title}", "",
             f"| searcher | hits | wall s | CPU s | cells/s | peak MB | {reference.name} ÷ this, "
             "wall | CPU |",
             "|---|---:|---:|---:|---:|---:|---:|---:|"]
    base = rows.get(reference.name)
    for name, m in rows.items():
        wall_ratio = f"{base.wall / m.wall:.2f}" if base and m.wall > 0 else "–"
        cpu_ratio = f"{base.cpu / m.cpu:.2f}" if base and m.cpu > 0 else "–"
        rate = count_text(cells / m.wall) if m.wall > 0 else "–"
        lines.append(f"| {name} | {m.hits} | {m.wall:.3f} | {m.cpu:.2f} | {rate} | "
                     f"{m.peak_kb / 1024:.0f} | {wall_ratio} | {cpu_ratio} |")
    return "\n".join(lines)


def measure(searcher, tree, needle, kind, args, expected, label, failures):
    """The fastest of args.runs runs, or None when the searcher failed."""
    best = None
    for _ in range(args.runs):
        m = measure_once(searcher, tree, needle, kind, args.work)
        if m is None:
            failures.append(f"{label}: {searcher.name} failed")
            return None
        if m.hits != expected:
            failures.append(f"{label}: {searcher.name} counted {m.hits} hits, "
                            f"the needle is in {expected} cells")
        if best is None or m.wall < best.wall:
            best = m
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--trees", "--zscan", "--floor", "--node-path", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--kinds", default=",".join(KINDS),
                        help="the kinds of needle to search for, comma-separated")
    parser.add_argument("--searchers", default="",
                        help="only the searchers whose name starts with one of these, comma-separated")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit(f"{GNU_TIME} is missing: scripts/install-deps.sh --bench installs it")
    kinds = [k for k in args.kinds.split(",") if k]
    if any(k not in KINDS for k in kinds):
        sys.exit(f"kinds are {', '.join(KINDS)}")
    wanted = tuple(n for n in args.searchers.split(",") if n)

    all_searchers = [s for s in searchers(args) if not wanted or s.name.startswith(wanted)]
    reference = all_searchers[0]
    failures = []
    print(f"{datetime.date.today()}, {os.cpu_count()} cores, fastest of {args.runs} run(s); "
          f"ratios are {reference.name}'s time over each searcher's.\n")
    for name in TREES:
        with open(os.path.join(args.trees, name + ".json"), encoding="utf-8") as f:
            manifest = json.load(f)
        tree = os.path.join(args.trees, name)
        read_tree(tree)
        title = f"{name}: {manifest['books']} books, {count_text(manifest['cells'])} cells"
        if manifest["suffix"] == ".xlsx":
            size = largest_sheet_xml(tree)
            size_text = f"{size / 2**20:.1f} MB" if size >= 2**20 else f"{size / 2**10:.0f} KB"
            title += f", largest book's sheet XML {size_text}"
        for kind in kinds:
            needle = manifest["needles"][kind]
            label = f"{name}, {KIND_TITLES[kind]}"
            rows = {}
            for searcher in all_searchers:
                if manifest["suffix"] not in searcher.suffixes or kind not in searcher.kinds:
                    continue
                m = measure(searcher, tree, needle, kind, args, manifest["needle_cells"], label,
                            failures)
                if m is not None:
                    rows[searcher.name] = m
            outputs = {rows[s.name].output for s in all_searchers if s.counts_lines and s.name in rows}
            if len(outputs) > 1:
                failures.append(f"{label}: the zscan runs printed different lines")
            if rows:
                heading = (f"{title}; {KIND_TITLES[kind]} `{needle}` in {manifest['needle_cells']} cells")
                print(table(heading, manifest["cells"], rows, reference) + "\n", flush=True)
    if failures:
        print("BENCHMARK FAILED:\n  " + "\n  ".join(failures), file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
