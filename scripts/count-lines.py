#!/usr/bin/env python3
"""Counts code lines of C and C++ files (*.c, *.cpp, *.h): lines that are
neither blank nor only a comment.  Prints the test lines (tests/, fuzz/),
the code lines (lib/, app/) and their ratio, or per file with --files."""
import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), ".."))
SUFFIXES = (".c", ".cpp", ".h")


def code_lines(path):
    count = 0
    in_block = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            text = line.strip()
            if in_block:
                end = text.find("*/")
                if end < 0:
                    continue
                in_block = False
                text = text[end + 2:].strip()
            while text.startswith("/*"):
                end = text.find("*/", 2)
                if end < 0:
                    in_block = True
                    text = ""
                    break
                text = text[end + 2:].strip()
            if text and not text.startswith("//"):
                count += 1
    return count


def tree_lines(folders, per_file):
    total = 0
    for folder in folders:
        for dirpath, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(names):
                if name.endswith(SUFFIXES):
                    path = os.path.join(dirpath, name)
                    n = code_lines(path)
                    total += n
                    if per_file:
                        print(f"{n:6d} {os.path.relpath(path, ROOT)}")
    return total


def main():
    per_file = "--files" in sys.argv[1:]
    tests = tree_lines(["tests", "fuzz"], per_file)
    code = tree_lines(["lib", "app"], per_file)
    print(f"tests {tests}  code {code}  ratio {tests / code:.2f}")


if __name__ == "__main__":
    main()
