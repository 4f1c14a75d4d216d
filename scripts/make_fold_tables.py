#!/usr/bin/env python3
"""Writes the tables of the matcher's folds, as C++, from the Unicode
Character Database that Debian ships (package unicode-data):
- case: the simple case folding of CaseFolding.txt (statuses C and S);
- width: each full-width form to its ordinary one and each half-width form
  to its full-width one (<wide> and <narrow> in UnicodeData.txt);
- voiced marks: a kana and a following combining voiced or semi-voiced
  mark to the one kana they compose (the canonical decompositions).
Usage: make_fold_tables.py UNICODE_DATA_FOLDER OUTPUT"""
import os
import sys

folder, output = sys.argv[1], sys.argv[2]
VOICED_MARKS = (0x3099, 0x309A)

case = []
with open(os.path.join(folder, 'CaseFolding.txt'), encoding='utf-8') as lines:
    for line in lines:
        fields = [field.strip() for field in line.split('#')[0].split(';')]
        if len(fields) >= 3 and fields[1] in ('C', 'S'):
            case.append((int(fields[0], 16), int(fields[2], 16)))

width, voiced = [], []
with open(os.path.join(folder, 'UnicodeData.txt'), encoding='utf-8') as lines:
    for line in lines:
        fields = line.split(';')
        code, decomposition = int(fields[0], 16), fields[5].split()
        if len(decomposition) == 2 and decomposition[0] in ('<wide>', '<narrow>'):
            width.append((code, int(decomposition[1], 16)))
        if len(decomposition) == 2 and not decomposition[0].startswith('<') and \
                int(decomposition[1], 16) in VOICED_MARKS:
            voiced.append((int(decomposition[0], 16), int(decomposition[1], 16), code))

def pairs(name, table):
    rows = ',\n'.join('    {0x%04X, 0x%04X}' % pair for pair in sorted(table))
    return 'constexpr FoldPair %s[] = {\n%s,\n};\n' % (name, rows)

with open(output, 'w', encoding='utf-8') as out:
    out.write('// Made by scripts/make_fold_tables.py from the Unicode Character Database.\n')
    out.write(pairs('kCaseFolds', case))
    out.write(pairs('kWidthFolds', width))
    rows = ',\n'.join('    {0x%04X, 0x%04X, 0x%04X}' % row for row in sorted(voiced))
    out.write('constexpr VoicedComposition kVoicedCompositions[] = {\n%s,\n};\n' % rows)
