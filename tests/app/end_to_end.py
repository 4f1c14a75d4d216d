#!/usr/bin/env python3
"""zscan run as a user runs it, over a tree with a pipe named like a book, a
book below a folder whose name holds a double quote, and cells whose texts
once broke the result book.  Standard output must hold the hit lines and
nothing else, and the result book, read by openpyxl, must hold the same hits
cell for cell.  Usage: end_to_end.py ZSCAN"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

try:
    import openpyxl
except ImportError:
    print("python3-openpyxl is missing: skipped")
    sys.exit(77)

ZSCAN = os.path.abspath(sys.argv[1])
TEXTS = ['qq" A1="X', 'qq" A.幅="3', 'qq" 12="x', 'a""b', '"東京"', 'a=b <&> \tend\nnext line',
         '表\\n\\\\c', '$HOME', '\\$HOME', "'as text", '=1+2', '東京\u3000都', 'x' * 1200, 'あ' * 400]
# What the result book's cell holds where the values typing of the library
# gives it another form, and the 1000-byte cut at a whole character.
HELD = {"'as text": 'as text', 'x' * 1200: 'x' * 1000, 'あ' * 400: 'あ' * 333}


def run(arguments, cwd, env):
    started = time.monotonic()
    done = subprocess.run([ZSCAN] + arguments, cwd=cwd, env=env, capture_output=True, timeout=30)
    return done, time.monotonic() - started


def check(condition, what):
    if not condition:
        print("FAILED:", what)
        sys.exit(1)


with tempfile.TemporaryDirectory() as work:
    books = os.path.join(work, 'd')
    quoted = os.path.join(books, 'say "hi"')
    os.makedirs(quoted)
    os.mkfifo(os.path.join(books, 'x.xlsx'))
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = 'S'
    for row, text in enumerate(TEXTS, start=1):
        cell = sheet.cell(row=row, column=1, value=text)
        cell.data_type = 's'   # a text, even when it starts with "="
    book.save(os.path.join(quoted, 'book.xlsx'))

    env = {k: v for k, v in os.environ.items() if k != 'TEMP'}
    env['TMPDIR'] = work
    private = os.path.join(work, 'zscan-%d' % os.geteuid())
    hits = [('d/say "hi"/book.xlsx', 'S', 'A%d' % row, text) for row, text in enumerate(TEXTS, start=1)]

    # Text output: every hit, nothing else, and the pipe never waited on.
    done, seconds = run(['-e', '-w', '[^]+', 'd'], work, env)
    check(done.returncode == 0, 'text search exit %d: %s' % (done.returncode, done.stderr))
    check(seconds < 5, 'text search took %.1f s' % seconds)
    expected = ''.join('[%s][%s][%s] %s\n' % hit for hit in hits)
    check(done.stdout.decode() == expected, 'standard output:\n' + done.stdout.decode())

    # The result book, with bundled options and "--": header row, then one
    # row per hit matching the text output cell for cell.
    done, _ = run(['-xq', '-e', '-w', '[^]+', '--', 'd'], work, env)
    check(done.returncode == 0 and done.stdout == b'', 'book search: %r %r' % (done.stdout, done.stderr))
    rows = list(openpyxl.load_workbook(os.path.join(private, 'Z-Scan検索結果.xlsx')).active.values)
    check(rows[0] == ('セル内容', 'セル名', 'シート名', 'パス(フォルダリンク)'), 'header %r' % (rows[0],))
    check(len(rows) == len(hits) + 1, '%d rows' % len(rows))
    for (path, sheet_name, cell, text), row in zip(hits, rows[1:]):
        check(row == (HELD.get(text, text), cell, sheet_name, path), 'row %r for %r' % (row, text))

    # Nothing the program wrote can be read by anyone else.
    check(stat.S_IMODE(os.lstat(private).st_mode) == 0o700, 'private folder mode')
    for name in os.listdir(private):
        mode = stat.S_IMODE(os.lstat(os.path.join(private, name)).st_mode)
        check(mode & 0o077 == 0, '%s has mode %o' % (name, mode))

    # No folder: the current one.  Errors: a folder as the list file, an
    # unknown option (usage line, exit 2).
    done, _ = run(['-w', 'qq'], books, env)
    check(done.stdout.decode().startswith('[./say "hi"/book.xlsx][S][A1] '), 'current folder: %r' % done.stdout)
    done, _ = run(['-l', books, 'd'], work, env)
    check(done.returncode == 2 and done.stdout == b'' and 'オープンエラー' in done.stderr.decode(), 'folder as list')
    done, _ = run(['-xz', 'd'], work, env)
    check(done.returncode == 2 and b'Usage: zscan' in done.stderr, 'unknown option: %r' % done.stderr)

    # Books searched at once give the very same lines and result book as
    # one after another, over a tree of books from several producers.
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    mixed = os.path.join(work, 'mixed')
    shutil.copytree(os.path.join(source, 'samples'), mixed)
    for folder in ('xls', 'xlsx'):
        shutil.copytree(os.path.join(source, 'tests', 'data', folder), os.path.join(mixed, 'data', folder))
    for words in (['-w', 'a 1 東 2016 /'], ['-e', '-w', '[^]+']):
        outputs = {}
        for jobs in ('1', '2', '5'):
            done, _ = run(['-j', jobs] + words + ['mixed'], work, env)
            check(done.returncode == 0, '-j %s exit %d: %s' % (jobs, done.returncode, done.stderr))
            book, _ = run(['-xq', '-j', jobs] + words + ['mixed'], work, env)
            rows = list(openpyxl.load_workbook(os.path.join(private, 'Z-Scan検索結果.xlsx')).active.values)
            outputs[jobs] = (done.stdout, rows)
        check(outputs['1'][0].count(b'\n') > 50, 'few hits in the mixed tree: %r' % outputs['1'][0])
        for jobs in ('2', '5'):
            check(outputs[jobs] == outputs['1'], '-j %s differs from -j 1 for %r' % (jobs, words))
print("ok")
