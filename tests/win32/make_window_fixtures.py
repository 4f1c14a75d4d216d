#!/usr/bin/python3
"""Lays out the folders the window tests search (tests/win32/run_wine_tests.sh).

  books/   the sample books, and a book of texts a spreadsheet would type
           (a formula, a number with leading zeros) at the bottom of a tree
           whose path is longer than the ANSI calls of Windows take, and
           books with the words in comments, a threaded comment and shapes
           (tests/data/outside_cells; those whose texts hold no line feed,
           which a CR LF result line cannot carry)
  broken/  a book with a hit beside a text file named .xlsx, a book cut short
           and a book whose name Shift-JIS cannot spell
  many/    one small book under many names, so that a search of it runs long
           enough to be cancelled while it runs
  lists/   the search words, one a line with CR LF, in Shift-JIS, in UTF-8
           and in UTF-8 with a byte-order mark (as today's Notepad saves)

Usage: make_window_fixtures.py SAMPLES OUT "WORDS" """
import os
import shutil
import sys

import openpyxl

samples, out, words = sys.argv[1:]
MANY_BOOKS = 3000


def save_book(path, texts):
    book = openpyxl.Workbook()
    for row, text in enumerate(texts, start=1):
        book.active.cell(row=row, column=1, value=text).data_type = 's'
    os.makedirs(os.path.dirname(path), exist_ok=True)
    book.save(path)


books = os.path.join(out, 'books')
shutil.copytree(samples, books)
outside_cells = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'outside_cells')
os.makedirs(os.path.join(books, 'outside'))
for name in ('handmade.xlsx', 'openpyxl_comment.xlsx', 'openpyxl_comment.xls'):
    shutil.copy(os.path.join(outside_cells, name), os.path.join(books, 'outside', name))
# Four levels of 70 characters each: far past the 260 of MAX_PATH, each
# name within the 255 bytes of a Linux name.
deep = os.path.join(books, *['階層%d_%s' % (level, 'あ' * 66) for level in range(4)])
save_book(os.path.join(deep, 'exact.xlsx'), ['=SUM(1,2)', '00123', '東京'])

broken = os.path.join(out, 'broken')
save_book(os.path.join(broken, 'good.xlsx'), ['東京'])
with open(os.path.join(broken, 'good.xlsx'), 'rb') as good:
    whole = good.read()
with open(os.path.join(broken, 'cut.xlsx'), 'wb') as cut:
    cut.write(whole[:len(whole) // 2])
with open(os.path.join(broken, 'text.xlsx'), 'w') as text:
    text.write('not a book\n')
# A name Shift-JIS cannot spell: the window program cannot open it.
shutil.copy(os.path.join(broken, 'good.xlsx'), os.path.join(broken, 'smile\U0001F600.xlsx'))

many = os.path.join(out, 'many')
save_book(os.path.join(many, 'book0000.xlsx'), ['東京'])
for number in range(1, MANY_BOOKS):
    os.link(os.path.join(many, 'book0000.xlsx'), os.path.join(many, 'book%04d.xlsx' % number))

lists = os.path.join(out, 'lists')
os.makedirs(lists)
lines = '\r\n'.join(words.split()) + '\r\n'
for name, data in (('sjis.txt', lines.encode('cp932')), ('utf8.txt', lines.encode('utf-8')),
                   ('utf8-bom.txt', b'\xef\xbb\xbf' + lines.encode('utf-8'))):
    with open(os.path.join(lists, name), 'wb') as list_file:
        list_file.write(data)
