#!/usr/bin/env python3
"""zscan run as a user runs it.  Standard output must hold the hit lines and
nothing else; the result book, read by openpyxl, must hold the same hits as
exact texts; every book or folder that could not be searched is named on
standard error; and the exit status tells a complete answer from a partial
one.  Grouped as tables: result-book texts, skip reasons, exit statuses,
list-file encodings, settings.  Usage: end_to_end.py ZSCAN SLOW_OPEN_LIBRARY"""
import os
import shutil
import signal
import stat
import subprocess
import tempfile
import time
import urllib.parse

from zscan_runs import ZSCAN, SOURCE, check, finish, run, save_book as save_sheets, slow_env, test_env
import openpyxl

CORPUS = os.environ.get('ZS_CORPUS_DIR', os.path.join(SOURCE, '..', 'shared', 'corpus'))
RESULT_BOOK = 'Z-Scan検索結果.xlsx'


def save_book(path, sheet_name, texts):
    save_sheets(path, {sheet_name: texts})


def result_rows(folder):
    book = openpyxl.load_workbook(os.path.join(folder, RESULT_BOOK))
    return [[cell for cell in row] for row in book.active.iter_rows()]


def link_path(target):
    """The file a result-book link opens, as the bytes of its path."""
    if target.startswith('file://'):
        return urllib.parse.unquote_to_bytes(target[len('file://'):])
    return os.fsencode(target)


def corpus_book(relative):
    path = os.path.join(CORPUS, relative)
    if not os.path.exists(path):
        print("corpus book %s is missing: its case is skipped" % relative)
        return None
    return path


with tempfile.TemporaryDirectory() as work:
    os.chmod(work, 0o755)
    env = test_env(work)
    private = os.path.join(work, 'zscan-%d' % os.geteuid())

    # ---- Result-book texts: each column holds exactly the text found, as
    # a string; no formula from a searched book becomes live; each link
    # opens the very file, whatever its name holds.
    texts = ['qq" A1="X', 'qq" A.幅="3', 'a""b', '"東京"', 'a=b <&> \tend\nnext line', '表\\n\\\\c',
             '$HOME', '\\$HOME', "'as text", '=SUM(1,2)', '=A1', '00123', '12:30', '50%', '2016/3/25',
             '東京\u3000都', 'x' * 1200, 'あ' * 400]
    held = {'x' * 1200: 'x' * 1000, 'あ' * 400: 'あ' * 333}   # the cut at 1000 bytes, whole characters
    names = [('=A1', '001'), ('say "hi"', '=1+1'), ('line\nfeed', 'S'), ('tab\there', 'S'), ('hash#1', 'S'),
             ('per%41cent', 'S'), (os.fsdecode(b'bad\xff\xfename'), 'S')]
    books = os.path.join(work, 'd')
    for folder, sheet in names:
        save_book(os.path.join(books, folder, 'book.xlsx'), sheet, texts)
    done = run(['-xq', '-e', '-w', '[^]+', '--', 'd'], work, env)
    check(done.returncode == 0 and done.stdout == b'', 'book search: %r %r' % (done.stdout, done.stderr))
    rows = result_rows(private)
    check([c.value for c in rows[0]] == ['セル内容', 'セル名', 'シート名', 'パス(フォルダリンク)'], 'header')
    check(len(rows) == len(names) * len(texts) + 1, '%d rows' % len(rows))
    expected = []
    for folder, sheet in sorted(names, key=lambda name: os.fsencode(name[0])):
        for row, text in enumerate(texts, start=1):
            expected.append((folder, sheet, 'A%d' % row, held.get(text, text)))
    for (folder, sheet, cell, text), row in zip(expected, rows[1:]):
        shown_path = os.fsencode(os.path.join('d', folder, 'book.xlsx')).decode('utf-8', 'replace')
        values = tuple(c.value for c in row)
        check(values == (text, cell, sheet, shown_path), 'row %r for %r' % (values, text))
        check(all(c.data_type == 's' for c in row), 'row for %r holds a non-text: %r' %
              (text, [c.data_type for c in row]))
        book_link = link_path(row[0].hyperlink.target)
        folder_link = link_path(row[3].hyperlink.target)
        check(book_link == os.fsencode(os.path.join(books, folder, 'book.xlsx')), 'link %r' % book_link)
        check(folder_link == os.fsencode(os.path.join(books, folder)), 'folder link %r' % folder_link)
    check(stat.S_IMODE(os.lstat(private).st_mode) == 0o700, 'private folder mode')
    for name in os.listdir(private):
        check(stat.S_IMODE(os.lstat(os.path.join(private, name)).st_mode) & 0o077 == 0, '%s is open' % name)

    # Text output of the same tree: every hit, nothing else; a pipe named
    # like a book is never waited on.
    os.mkfifo(os.path.join(books, 'x.xlsx'))
    done = run(['-e', '-w', '[^]+', '-j', '1', 'd'], work, env)
    lines = [line for line in done.stdout.split(b'\n') if line.startswith(b'[')]
    check(done.returncode == 0 and len(lines) == len(names) * len(texts), 'text search %d: %r' %
          (done.returncode, done.stderr))

    # ---- Skip reasons: each book or folder that could not be searched is
    # named with its reason; the closing line counts them.  An .xls renamed
    # .xlsx, and the reverse, is searched.
    skip = os.path.join(work, 'skip')
    save_book(os.path.join(skip, 'good.xlsx'), 'S', ['needle'])
    shutil.copy(os.path.join(skip, 'good.xlsx'), os.path.join(skip, 'package named.xls'))
    shutil.copy(os.path.join(SOURCE, 'samples', 'sub', 'legacy.xls'), os.path.join(skip, 'legacy named.xlsx'))
    with open(os.path.join(skip, 'good.xlsx'), 'rb') as whole:
        good = whole.read()
    cases = {
        'truncated.xlsx': (good[:len(good) // 2], 'damaged'),
        'text.xlsx': (b'just some words\n' * 10, 'not a book this program reads'),
        'empty.xlsm': (b'', 'not a book this program reads'),
    }
    for name, (data, _) in cases.items():
        with open(os.path.join(skip, name), 'wb') as out:
            out.write(data)
    for relative, name in (('apache-poi/password.xls', 'encrypted.xls'),
                           ('apache-poi/protected_passtika.xlsx', 'encrypted.xlsx')):
        path = corpus_book(relative)
        if path:
            shutil.copy(path, os.path.join(skip, name))
            cases[name] = (None, 'encrypted with a password')
    # Deeper than the system's paths reach: the folder past PATH_MAX.
    deep = skip
    deep_fd = os.open(skip, os.O_RDONLY)
    for level in range(30):
        os.mkdir('d' * 200, dir_fd=deep_fd)
        inner = os.open('d' * 200, os.O_RDONLY, dir_fd=deep_fd)
        os.close(deep_fd)
        deep_fd = inner
    os.close(deep_fd)
    done = run(['-j', '2', '-w', 'needle 東京', 'skip'], work, env)
    err = done.stderr.decode('utf-8', 'replace')
    check(done.returncode == 0, 'skip tree exit %d' % done.returncode)
    hit_books = sorted({line.split(b']')[0][1:].decode() for line in done.stdout.split(b'\n') if line})
    check(hit_books == ['skip/good.xlsx', 'skip/legacy named.xlsx', 'skip/package named.xls'],
          'renamed books are searched: %r' % hit_books)
    for name, (_, reason) in cases.items():
        check(('zscan: skip/%s: %s' % (name, reason)) in err, '%s: %s not told:\n%s' % (name, reason, err))
    check(err.count(': path too long') == 1, 'path too long not told once:\n' + err)
    check('zscan: 3 books searched, %d could not be read, 1 folder could not be listed\n' % len(cases) in err,
          'closing line:\n' + err)
    quiet = run(['-s', '-w', 'needle', 'skip'], work, env)
    check(quiet.stderr == b'', '-s keeps notices: %r' % quiet.stderr)
    # What the system refuses a plain user: an unreadable book and folder.
    if os.geteuid() == 0 and hasattr(os, 'setuid'):
        user_tmp = os.path.join(work, 'nobody-tmp')
        os.mkdir(user_tmp)
        os.chmod(user_tmp, 0o1777)
        refused = os.path.join(work, 'refused')
        save_book(os.path.join(refused, 'open.xlsx'), 'S', ['needle'])
        save_book(os.path.join(refused, 'locked.xlsx'), 'S', ['needle'])
        save_book(os.path.join(refused, 'closed', 'inner.xlsx'), 'S', ['needle'])
        for path, mode in ((refused, 0o755), (os.path.join(refused, 'open.xlsx'), 0o644),
                           (os.path.join(refused, 'locked.xlsx'), 0), (os.path.join(refused, 'closed'), 0)):
            os.chmod(path, mode)
        nobody_env = dict(env, TMPDIR=user_tmp, HOME=user_tmp)
        done = subprocess.run([ZSCAN, '-w', 'needle', refused], env=nobody_env, capture_output=True,
                              preexec_fn=lambda: os.setuid(65534), timeout=60)
        err = done.stderr.decode()
        check('locked.xlsx: permission denied' in err and 'closed: permission denied' in err,
              'permission denied not told:\n' + err)
        check(done.stdout.count(b'\n') == 1, 'readable book not searched: %r' % done.stdout)

    # ---- Exit statuses, and what standard error says with each.
    many = os.path.join(work, 'many')
    os.makedirs(many)
    for copy in range(3):
        shutil.copy(os.path.join(SOURCE, 'tests', 'app', 'data', 'many_hits.xlsx'),
                    os.path.join(many, 'copy%d.xlsx' % copy))
    statuses = [
        (['-w', 'pineapple', 'd'], 1, ''),
        (['-w', 'hit', '--max-hits', '5', 'many'], 3, 'stopped at the hit limit of 5 hits'),
        (['-w', 'hit', '--max-hits', '0', '-q', 'many'], 0, ''),
        (['-w', 'x', 'no-such-folder'], 2, 'not a folder'),
        (['-w', 'x', '--max-hits', '-1', 'many'], 2, '--max-hits wants'),
        (['-w', 'hit', '-o', os.path.join(work, 'no-such', 'r.txt'), 'many'], 2, '書き込めません'),
    ]
    for arguments, status, said in statuses:
        done = run(arguments, work, env)
        check(done.returncode == status and said in done.stderr.decode(),
              '%r: exit %d, %r' % (arguments, done.returncode, done.stderr))
    limited = run(['-w', 'hit', '--max-hits', '5', 'many'], work, env)
    check(limited.stdout.count(b'\n') == 5, 'the limit keeps exactly 5 hits')
    with open('/dev/full', 'wb') as full:
        done = subprocess.run([ZSCAN, '-w', 'hit', 'many'], cwd=work, env=env, stdout=full,
                              stderr=subprocess.PIPE, timeout=60)
    check(done.returncode == 2 and b'cannot write standard output' in done.stderr,
          'standard output full: %d %r' % (done.returncode, done.stderr))
    # A closed pipe ends zscan quietly.
    pipe = subprocess.Popen([ZSCAN, '-w', 'hit', '--max-hits', '0', 'many'], cwd=work, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    pipe.stdout.readline()
    pipe.stdout.close()
    check(pipe.wait(timeout=60) in (-signal.SIGPIPE, 0) and pipe.stderr.read() == b'', 'closed pipe')

    # Signals stop a search on a slow share in the middle of its walk: the
    # result keeps what was found, zscan says so and exits 128 + signal.
    slow = os.path.join(work, 'slow')
    for copy in range(12):
        save_book(os.path.join(slow, 'b%02d.xlsx' % copy), 'S', ['needle %d' % copy])
    slowed = slow_env(env)
    for number, excel in ((signal.SIGINT, False), (signal.SIGTERM, True), (signal.SIGHUP, False)):
        shutil.copy(os.path.join(private, RESULT_BOOK), os.path.join(work, 'before.xlsx'))
        arguments = ['-j', '1', '-w', 'needle', 'slow'] + (['-x'] if excel else [])
        process = subprocess.Popen([ZSCAN] + arguments, cwd=work, env=slowed, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        time.sleep(1.2)
        process.send_signal(number)
        out, err = process.communicate(timeout=60)
        check(process.returncode == 128 + number and b'zscan: interrupted' in err,
              'signal %d: exit %d %r' % (number, process.returncode, err))
        if excel:
            rows = result_rows(private)
            check(2 <= len(rows) < 13, 'interrupted book holds %d rows' % len(rows))
            check(not os.path.exists(os.path.join(private, RESULT_BOOK + '.partial')), 'work file left')
        else:
            found = out.count(b'\n')
            check(1 <= found < 12, 'interrupted search printed %d hits' % found)
            with open(os.path.join(private, 'Z-Scan検索結果.txt'), 'rb') as result:
                check(result.read() == out, 'the result file holds the hits printed')
    # Each book is opened once, and nothing else opens it: on a share each
    # open is a round trip.
    opens = os.path.join(work, 'opens.log')
    shutil.copy(os.path.join(SOURCE, 'tests', 'data', 'xls', 'fragmented_libreoffice.xls'), os.path.join(slow, 'old.xls'))
    run(['-j', '2', '-w', 'needle', 'slow'], work, dict(slow_env(env, 0), ZS_OPEN_LOG=opens))
    with open(opens) as log:
        opened = sorted(os.path.basename(line.strip()) for line in log)
    check(opened == sorted(os.listdir(slow)), 'opens of each book: %r' % opened)
    os.remove(os.path.join(slow, 'old.xls'))
    # Killed outright, a search leaves the last result book whole.
    process = subprocess.Popen([ZSCAN, '-x', '-j', '1', '-w', 'needle', 'slow'], cwd=work, env=slowed,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(1.2)
    process.kill()
    process.communicate(timeout=60)
    with open(os.path.join(private, RESULT_BOOK), 'rb') as now, open(os.path.join(work, 'before.xlsx'), 'rb') as before:
        check(now.read() == before.read(), 'the last result book was changed by a killed search')
    # A second search writing the same result at the same time is refused,
    # naming the first; with a result of its own it runs.
    first = subprocess.Popen([ZSCAN, '-j', '1', '-w', 'needle', 'slow'], cwd=work, env=slowed,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(0.5)
    second = run(['-w', 'needle', 'slow'], work, env)
    check(second.returncode == 2 and ('process %d' % first.pid) in second.stderr.decode(),
          'concurrent search: %d %r' % (second.returncode, second.stderr))
    own = run(['-w', 'needle', '-o', os.path.join(work, 'own.txt'), 'slow'], work, env)
    check(own.returncode == 0 and open(os.path.join(work, 'own.txt'), 'rb').read() == own.stdout, '-o FILE')
    first.communicate(timeout=60)

    # ---- List files in the encodings editors save; - for standard input.
    japanese = os.path.join(work, 'ja')
    save_book(os.path.join(japanese, 'b.xlsx'), 'S', ['東京タワー', 'ｶﾀｶﾅ', 'other', '"東京"と書く'])
    words = '東京\r\nｶﾀｶﾅ'
    encodings = [('utf-8-sig', None), ('utf-8', None), ('utf-16', 'le'), ('utf-16-be', 'be'), ('cp932', None)]
    for encoding, order in encodings:
        data = words.encode(encoding)
        if order == 'le' and not data.startswith(b'\xff\xfe'):
            data = b'\xff\xfe' + words.encode('utf-16-le')
        if order == 'be':
            data = b'\xfe\xff' + data
        with open(os.path.join(work, 'words.txt'), 'wb') as out:
            out.write(data)
        done = run(['-l', 'words.txt', 'ja'], work, env)
        check(done.stdout.count(b'\n') == 3, 'list file in %s: %r' % (encoding, done.stdout))
    done = run(['-l', '-', 'ja'], work, env, stdin=words.encode('cp932'))
    check(done.stdout.count(b'\n') == 3, '-l - from standard input: %r' % done.stdout)
    with open(os.path.join(work, 'words.txt'), 'w') as out:
        out.write('ok ' + 'x' * 4001 + ' rest\n')
    done = run(['-l', 'words.txt', 'ja'], work, env)
    check(done.returncode == 2 and done.stdout == b'', 'an over-long list word is an error: %r' % done.stderr)

    # ---- Settings: the user's own file, saved folders that vanish, words
    # holding quotes, and --no-settings.
    settings = os.path.join(env['HOME'], '.config', 'zscan', 'Z-Scan.ini')
    done = run(['--save-settings', '-w', 'zzz """東京"""', 'ja'], work, env)
    check(done.returncode == 0 and os.path.exists(settings), 'settings saved: %r' % done.stderr)
    saved = open(settings, encoding='utf-8').read()
    check('DIRECTORY="%s"' % japanese in saved, 'the folder is saved absolute:\n' + saved)
    check('KEYWORD="zzz """"""東京"""""""' in saved, 'quotes are doubled:\n' + saved)
    done = run([], '/', env)
    check(done.stdout.endswith('][S][A4] "東京"と書く\n'.encode()) and done.stdout.count(b'\n') == 1,
          'saved words with quotes come back: %r %r' % (done.stdout, done.stderr))
    xdg = dict(env, XDG_CONFIG_HOME=os.path.join(work, 'xdg'))
    run(['--save-settings', '-w', 'other', 'ja'], work, xdg)
    check(os.path.exists(os.path.join(work, 'xdg', 'zscan', 'Z-Scan.ini')), 'XDG_CONFIG_HOME')
    done = run(['--no-settings', '-w', 'needle', 'skip'], work, env)
    check(b'skip/good.xlsx' in done.stdout, '--no-settings searches the given folder')
    done = run(['--no-settings'], work, env)
    check(done.returncode == 2, '--no-settings reads no saved words')
    shutil.rmtree(japanese)
    done = run([], work, env)
    check(done.returncode == 2 and 'not a folder' in done.stderr.decode(), 'a vanished saved folder: %d %r' %
          (done.returncode, done.stderr))
    os.remove(settings)

    # ---- Encrypted books: the default password opens a book without being
    # asked; --password-file opens the others; the passwords are written
    # nowhere, not even into the settings saved with them.
    locked = os.path.join(work, 'locked')
    shutil.copytree(os.path.join(SOURCE, 'tests', 'data', 'encrypted'), locked)
    found_by_default = {'rc4_default.xls': 'rc4 row 400', 'standard_default.xlsx': 'standard row 400',
                        'agile_default.xlsx': 'agile row 400'}
    for relative, text in (('apache-poi/50833.xls', 'test cell value'), ('apache-poi/58616.xlsx', 'EPQ Manual'),
                           ('apache-poi/protect.xlsx', 'При запуске')):
        path = corpus_book(relative)
        if path:
            shutil.copy(path, locked)
            found_by_default[os.path.basename(relative)] = text
    password = 'Z-Scan 秘密'
    password_file = os.path.join(work, 'passwords.txt')
    with open(password_file, 'w', encoding='utf-8') as out:
        out.write('not this one\r\n%s\n' % password)
    for passwords, opened in (([], {}), (['--password-file', password_file],
                                         {'rc4_password.xls': 'rc4 row 400', 'standard_password.xlsx': 'standard row 400',
                                          'agile_password.xlsx': 'agile row 400'})):
        books_found = dict(found_by_default, **opened)
        words = ' '.join('"%s"' % text for text in sorted(set(books_found.values())))
        done = run(['--save-settings'] + passwords + ['-w', words, 'locked'], work, env)
        out, err = done.stdout.decode('utf-8', 'replace'), done.stderr.decode('utf-8', 'replace')
        for name, text in books_found.items():
            check(('locked/%s]' % name) in out and text in out, '%s not found with %r:\n%s%s' % (name, passwords, out, err))
        for name in set(os.listdir(locked)) - set(books_found):
            check('locked/%s: encrypted with a password' % name in err, '%s not told:\n%s' % (name, err))
        check(password not in out + err, 'a password was written out')
    for folder, _, files in os.walk(work):
        for name in files:
            path = os.path.join(folder, name)
            if path != password_file and os.path.isfile(path) and not os.path.islink(path):
                with open(path, 'rb') as held:
                    check(password.encode() not in held.read(), 'the password is kept in %s' % path)
    os.remove(settings)

    # ---- Books searched at once give the very same lines and result book
    # as one after another, over a tree of books from several producers.
    mixed = os.path.join(work, 'mixed')
    shutil.copytree(os.path.join(SOURCE, 'samples'), mixed)
    for folder in ('xls', 'xlsx'):
        shutil.copytree(os.path.join(SOURCE, 'tests', 'data', folder), os.path.join(mixed, 'data', folder))
    for words in (['-w', 'a 1 東 2016 /'], ['-e', '-w', '[^]+']):
        outputs = {}
        for jobs in ('1', '2', '5'):
            done = run(['-j', jobs] + words + ['mixed'], work, env)
            check(done.returncode == 0, '-j %s exit %d: %s' % (jobs, done.returncode, done.stderr))
            run(['-xq', '-j', jobs] + words + ['mixed'], work, env)
            rows = [[c.value for c in row] for row in result_rows(private)]
            outputs[jobs] = (done.stdout, rows)
        check(outputs['1'][0].count(b'\n') > 50, 'few hits in the mixed tree: %r' % outputs['1'][0])
        for jobs in ('2', '5'):
            check(outputs[jobs] == outputs['1'], '-j %s differs from -j 1 for %r' % (jobs, words))

finish()
