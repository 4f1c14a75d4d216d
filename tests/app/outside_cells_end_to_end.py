#!/usr/bin/env python3
"""zscan over the books of texts outside cells (tests/data/outside_cells,
made by scripts/make_outside_cell_fixtures.py): each word written in a text
box, a grouped shape, a comment, a threaded comment or a shape over a chart
is found once, at its place, in the .xlsx book and in LibreOffice's .xls of
it; --cells-only finds none; --formulas finds a function name; the JSON
record names the holder; the result book's place column says the same and
links to the cell.  Usage: outside_cells_end_to_end.py ZSCAN SLOW_OPEN_LIBRARY"""
import json
import os
import shutil
import tempfile

from zscan_runs import SOURCE, check, finish, run, test_env
import openpyxl

BOOKS = os.path.join(SOURCE, 'tests', 'data', 'outside_cells')

# word: {book: place} where the word is found, in .xlsx and in .xls.  The
# .xls books are LibreOffice's: it keeps a threaded comment as the legacy
# copy (a comment), writes a text box as a shape, and turns the chart sheet
# into a worksheet holding the chart and the shape at B4.
CASES = {
    'はこぶね': {'xlsxwriter_shapes.xlsx': '[図形][D10 テキストボックス "TextBox 1"]',
             'xlsxwriter_shapes.xls': '[図形][D10 図形 "TextBox 1"]'},
    'りんごメモ': {'xlsxwriter_shapes.xlsx': '[図形][B3 コメント]', 'xlsxwriter_shapes.xls': '[図形][B3 コメント]'},
    'ぶどうメモ': {'openpyxl_comment.xlsx': '[メモ][C4 コメント]', 'openpyxl_comment.xls': '[メモ][C4 コメント]'},
    'すいかスレッド': {'handmade.xlsx': '[Sheet1][B3 スレッドコメント]', 'handmade.xls': '[Sheet1][B3 コメント]'},
    # Runs of a paragraph are joined; the second shape of the group too.
    'ぐるーぷ': {'handmade.xlsx': '[Sheet1][F20 図形 "角丸四角形 3"]', 'handmade.xls': '[Sheet1][F20 図形 "角丸四角形 3"]'},
    'もう一つ': {'handmade.xlsx': '[Sheet1][F20 図形 "楕円 4"]', 'handmade.xls': '[Sheet1][F20 図形 "楕円 4"]'},
    'グラフ上': {'handmade.xlsx': '[Sheet1][H2 グラフ図形 "吹き出し 1"]',
             'handmade.xls': '[Sheet1][H2 グラフ図形 "吹き出し 1"]'},
    'チャートシート': {'handmade.xlsx': '[グラフ][A1 グラフ図形 "テキスト 1"]',
                'handmade.xls': '[グラフ][B4 図形 "テキスト 1"]'},
}


def places(stdout):
    """The [book][sheet][place] of each hit line (a text may run on)."""
    found = []
    for line in stdout.decode('utf-8').split('\n'):
        if line.startswith('[./'):
            book, rest = line[3:].split(']', 1)
            found.append((book, rest[:rest.index('] ') + 1]))
    return found


with tempfile.TemporaryDirectory() as work:
    env = test_env(work)
    books = os.path.join(work, 'books')
    shutil.copytree(BOOKS, books)

    for word, where in CASES.items():
        done = run(['--no-settings', '-s', '-w', word, '.'], books, env)
        check(sorted(places(done.stdout)) == sorted(where.items()),
              '%s: found at %r' % (word, places(done.stdout)))
        done = run(['--no-settings', '-s', '--cells-only', '-w', word, '.'], books, env)
        check(done.returncode == 1 and done.stdout == b'', '%s with --cells-only: %r' % (word, done.stdout))

    # A shape's paragraphs are joined by a line feed.
    done = run(['--no-settings', '-s', '-e', '-w', 'はこぶね\\sapple\\n二行目', '-n', 'xlsxwriter', '.'], books, env)
    check(len(places(done.stdout)) == 2, 'paragraphs joined by a line feed: %r' % done.stdout)

    # Formulas only with --formulas, as written, in .xlsx books.
    done = run(['--no-settings', '-s', '-w', 'VLOOKUP', '.'], books, env)
    check(done.returncode == 1, 'a formula is not searched by default: %r' % done.stdout)
    done = run(['--no-settings', '-s', '--formulas', '-w', 'VLOOKUP', '.'], books, env)
    check(done.stdout.decode('utf-8') ==
          '[./xlsxwriter_shapes.xlsx][図形][C5 数式] =VLOOKUP(A1,A1:B2,2,FALSE)\n', '--formulas: %r' % done.stdout)

    # JSON: the place holds the holder and the shape's name beside the cell.
    done = run(['--no-settings', '-s', '--json', '-n', 'handmade.xlsx', '-w', 'ぐるーぷ すいか', '.'], books, env)
    records = [json.loads(line) for line in done.stdout.decode('utf-8').splitlines()]
    check([r['place'] for r in records if r['type'] == 'hit'] ==
          [{'cell': 'B3', 'holder': 'threaded_comment'}, {'cell': 'F20', 'holder': 'shape', 'name': '角丸四角形 3'}],
          'JSON places: %r' % records)

    # The result book: the place column says the same, the link goes to the cell.
    result = os.path.join(work, 'result.xlsx')
    done = run(['--no-settings', '-s', '-o', result, '-n', 'handmade.xlsx', '-w', 'ぐるーぷ', '.'], books, env)
    rows = list(openpyxl.load_workbook(result).active.iter_rows())
    check([c.value for c in rows[1]][1:3] == ['F20 図形 "角丸四角形 3"', 'Sheet1'], 'result row %r' % rows[1:])
    link = rows[1][0].hyperlink
    check(link is not None and link.location == "'Sheet1'!F20", 'result link %r' % (link and link.location))

finish()
