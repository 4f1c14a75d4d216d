"""What the end-to-end tests of zscan share: running it, making books with
openpyxl, and collecting failed checks."""
import os
import subprocess
import sys

try:
    import openpyxl
except ImportError:
    print("python3-openpyxl is missing: skipped")
    sys.exit(77)

ZSCAN = os.path.abspath(sys.argv[1])
SLOW_OPEN = os.path.abspath(sys.argv[2])
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def finish():
    print("FAILED: %d checks" % len(failures) if failures else "ok")
    sys.exit(1 if failures else 0)


def run(arguments, cwd, env, stdin=None, timeout=60):
    return subprocess.run([ZSCAN] + arguments, cwd=cwd, env=env, capture_output=True, input=stdin,
                          timeout=timeout)


def test_env(work):
    """zscan's environment for a test: its own temporary folder and home."""
    env = {k: v for k, v in os.environ.items() if k not in ('TEMP', 'XDG_CONFIG_HOME')}
    env['TMPDIR'] = work
    env['HOME'] = os.path.join(work, 'home')
    return env


def slow_env(env, milliseconds=300):
    """The environment with every open of a book slowed, as on a share."""
    return dict(env, LD_PRELOAD=SLOW_OPEN, ZS_SLOW_OPEN_MS=str(milliseconds),
                ASAN_OPTIONS='verify_asan_link_order=0:' + env.get('ASAN_OPTIONS', ''))


def save_book(path, sheets):
    """A book with the sheets {name: [texts of column A]}, each a text.  A
    name a spreadsheet program would refuse (holding "]") is written all
    the same, as some producers do."""
    book = openpyxl.Workbook()
    book.remove(book.active)
    for name, texts in sheets.items():
        sheet = book.create_sheet()
        sheet._WorkbookChild__title = name
        for row, text in enumerate(texts, start=1):
            cell = sheet.cell(row=row, column=1, value=text)
            cell.data_type = 's'
    os.makedirs(os.path.dirname(path), exist_ok=True)
    book.save(path)
