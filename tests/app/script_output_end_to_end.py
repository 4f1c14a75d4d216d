#!/usr/bin/env python3
"""zscan as scripts use it: --json records parsed by a JSON parser (a cell
holding a line feed, a sheet named with "]", a path that is no valid UTF-8,
and the summary of a complete, an interrupted and a limited search),
--count, the two file lists with and without -0, phrases and quotes, and
the progress line: never on a pipe, shown on a terminal.
Usage: script_output_end_to_end.py ZSCAN SLOW_OPEN_LIBRARY"""
import base64
import json
import os
import pty
import select
import signal
import subprocess
import tempfile
import time

from zscan_runs import ZSCAN, check, finish, run, save_book, slow_env, test_env


def records(output):
    """Each line of standard output as a JSON object; a line that is none fails."""
    parsed = []
    for line in output.split(b'\n'):
        if not line:
            continue
        try:
            parsed.append(json.loads(line))
        except ValueError:
            check(False, 'not a JSON line: %r' % line)
    return parsed


with tempfile.TemporaryDirectory() as work:
    env = test_env(work)
    tree = os.path.join(work, 't')
    odd_folder = os.fsdecode(b'odd\xff\xfe')
    save_book(os.path.join(tree, 'a.xlsx'), {'S': ['line one\nline two', 'New York city', 'New', 'York'],
                                             'a]b': ['say "hi" here', 'nothing']})
    save_book(os.path.join(tree, odd_folder, 'b.xlsx'), {'S': ['one more line']})
    save_book(os.path.join(tree, "O'Brien.xlsx"), {'S': ['York']})
    save_book(os.path.join(tree, 'quiet.xlsx'), {'S': ['nothing here']})
    save_book(os.path.join(tree, 'wide.xlsx'), {'S': ['ＡＢＣ株式会社', 'ｶﾞｲﾄﾞﾌﾞｯｸ']})
    with open(os.path.join(tree, 'quiet.xlsx'), 'rb') as whole, open(os.path.join(tree, 'broken.xlsx'), 'wb') as cut:
        cut.write(whole.read()[:300])

    # ---- --json: every record parses; texts and paths come back exactly.
    done = run(['--no-settings', '-j', '2', '--json', '-w', 'line "say ""hi""" "New York"', 't'], work, env)
    parsed = records(done.stdout)
    hits = [r for r in parsed if r.get('type') == 'hit']
    summary = parsed[-1] if parsed else {}
    check(done.returncode == 0 and len(hits) == 4, 'json hits: %d %r' % (done.returncode, parsed))
    by_text = {hit['text']: hit for hit in hits}
    check(by_text.get('line one\nline two', {}).get('place') == {'cell': 'A1'}, 'a cell with a line feed')
    check(by_text.get('say "hi" here', {}).get('sheet') == 'a]b', 'a sheet named with ]')
    check('New York city' in by_text and 'New' not in by_text, 'the phrase "New York" is one word')
    odd = by_text.get('one more line', {})
    check(base64.b64decode(odd.get('path_base64', '')) == os.fsencode(os.path.join('t', odd_folder, 'b.xlsx')),
          'a path that is no valid UTF-8 is carried exactly: %r' % odd)
    check(all(hit.get('matched') == 'display' and hit.get('kind') == 'xlsx' for hit in hits), 'matched and kind')
    check(summary.get('type') == 'summary' and summary.get('hits') == 4 and summary.get('books_searched') == 5 and
          summary.get('end') == 'complete' and summary.get('complete') is False and
          [item.get('reason') for item in summary.get('not_searched', [])] == ['damaged'],
          'summary of a search with a broken book: %r' % summary)
    done = run(['--no-settings', '--json', '--max-hits', '1', '-w', 'line', 't'], work, env)
    summary = records(done.stdout)[-1]
    check(done.returncode == 3 and summary.get('end') == 'hit_limit' and summary.get('hits') == 1,
          'summary of a limited search: %r' % summary)
    slow = os.path.join(work, 'slow')
    for copy in range(10):
        save_book(os.path.join(slow, 'b%d.xlsx' % copy), {'S': ['needle']})
    process = subprocess.Popen([ZSCAN, '--no-settings', '--json', '-j', '1', '-w', 'needle', 'slow'], cwd=work,
                               env=slow_env(env), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(1.0)
    process.send_signal(signal.SIGINT)
    out, _ = process.communicate(timeout=60)
    summary = records(out)[-1]
    check(process.returncode == 130 and summary.get('end') == 'interrupted' and summary.get('complete') is False and
          0 < summary.get('hits', 0) < 10, 'summary of an interrupted search: %r' % summary)
    done = run(['--no-settings', '--json', '-w', 'needle', 'slow'], work, env)
    summary = records(done.stdout)[-1]
    check(summary.get('complete') is True and summary.get('hits') == 10, 'summary of a complete search: %r' % summary)

    # ---- Counts, the two file lists, and -0; the words and file-name
    # keywords as a user means them.
    lists = [
        (['-c', '-w', 'York'], b"t/O'Brien.xlsx:1\nt/a.xlsx:2\n"),
        (['--files-with-hits', '-w', 'York'], b"t/O'Brien.xlsx\nt/a.xlsx\n"),
        (['--files-with-hits', '-0', '-w', 'York'], b"t/O'Brien.xlsx\0t/a.xlsx\0"),
        (['--files-without-hits', '-w', 'York'],
         b't/odd\xff\xfe/b.xlsx\nt/quiet.xlsx\nt/wide.xlsx\n'),
        (['--files-without-hits', '--null', '-w', 'York'], b't/odd\xff\xfe/b.xlsx\0t/quiet.xlsx\0t/wide.xlsx\0'),
        (['-w', 'New York'], None),
        (['-w', '"say ""hi"""'], b'[t/a.xlsx][a]b][A1] say "hi" here\n'),
        (['-n', "o'brien", '-w', 'York'], b"[t/O'Brien.xlsx][S][A1] York\n"),
        (['-i', '--fold-width', '--fold-kana', '-w', 'abc がいど'],
         '[t/wide.xlsx][S][A1] ＡＢＣ株式会社\n[t/wide.xlsx][S][A2] ｶﾞｲﾄﾞﾌﾞｯｸ\n'.encode()),
    ]
    for arguments, expected in lists:
        done = run(['--no-settings', '-s', '-j', '3'] + arguments + ['t'], work, env)
        if expected is None:   # two words: each cell holding either
            check(done.stdout.count(b'\n') == 4, '%r: %r' % (arguments, done.stdout))
        else:
            check(done.stdout == expected, '%r: %r' % (arguments, done.stdout))
    phrase_list = os.path.join(work, 'phrases.txt')
    with open(phrase_list, 'w') as out:
        out.write('"New York"\n')
    done = run(['--no-settings', '-c', '-l', phrase_list, 't'], work, env)
    check(done.stdout == b't/a.xlsx:1\n', 'a phrase in a list file: %r' % done.stdout)

    # ---- The progress line: on a terminal during a long search, never on
    # a pipe.
    arguments = [ZSCAN, '--no-settings', '-j', '1', '-w', 'needle', 'slow']
    piped = subprocess.run(arguments, cwd=work, env=slow_env(env, 250), capture_output=True, timeout=60)
    check(b'books searched' not in piped.stderr, 'progress on a pipe: %r' % piped.stderr)
    leader, follower = pty.openpty()
    process = subprocess.Popen(arguments, cwd=work, env=slow_env(env, 250), stdout=subprocess.DEVNULL,
                               stderr=follower)
    os.close(follower)
    shown = b''
    while True:
        ready, _, _ = select.select([leader], [], [], 30)
        if not ready:
            break
        try:
            chunk = os.read(leader, 4096)
        except OSError:
            break
        if not chunk:
            break
        shown += chunk
    process.wait(timeout=60)
    os.close(leader)
    check(b'books searched, ' in shown and b' hits ' in shown, 'no progress line on a terminal: %r' % shown)
    check(shown.endswith(b'\r\x1b[K'), 'the progress line is cleared at the end: %r' % shown[-40:])

finish()
