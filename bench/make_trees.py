#!/usr/bin/python3
"""Makes the three trees of books the speed comparison searches.

    large-xlsx  5 books of 600000 cells (XlsxWriter)
    small-xlsx  2000 books of 200 cells in 20 folders (XlsxWriter)
    large-xls   5 Excel 97-2003 books of 600000 cells (XlsxWriter, then
                Gnumeric's ssconvert; 60000 rows stay below the format's
                65536-row limit)

Every row holds Japanese texts (prefectures, names, goods, free remarks),
whole and decimal numbers, and numbers shown as dates.  The needles are
planted in a known number of rows: a Japanese word and a word of ASCII
letters in the remark (each time in a text of its own), and a number of
digits no other value shows as the row's quantity, so that every runner
can count the cells whose text holds them.  An expression that matches the
remarks holding the ASCII word is searched for as well.

Everything is drawn from fixed seeds: the same command makes the same
books.  A tree is made once and kept under OUT with a manifest beside it
(cells, needle cells, a digest of this script); it is made again only when
the manifest is missing or names another script or scale.

    bench/make_trees.py OUT [--scale 0.01]
"""
import argparse
import hashlib
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

import xlsxwriter

# The needles by kind: what is planted, and what a search is asked for.
NEEDLE = "照合目標"
ASCII_NEEDLE = "ZQXNEEDLE"
DIGITS_NEEDLE = 73062918
NEEDLES = {"japanese": NEEDLE, "ascii": ASCII_NEEDLE, "digits": str(DIGITS_NEEDLE),
           "expression": f".*{ASCII_NEEDLE}.*"}
COLUMNS = 10
HEADINGS = ["受付番号", "受付日", "都道府県", "担当者", "品名",
            "数量", "単価", "金額", "備考", "更新日時"]

PREFECTURES = ("北海道 青森県 岩手県 宮城県 秋田県 山形県 福島県 茨城県 栃木県 群馬県 埼玉県 "
               "千葉県 東京都 神奈川県 新潟県 富山県 石川県 福井県 山梨県 長野県 岐阜県 静岡県 "
               "愛知県 三重県 滋賀県 京都府 大阪府 兵庫県 奈良県 和歌山県 鳥取県 島根県 岡山県 "
               "広島県 山口県 徳島県 香川県 愛媛県 高知県 福岡県 佐賀県 長崎県 熊本県 大分県 "
               "宮崎県 鹿児島県 沖縄県").split()
FAMILY_NAMES = "佐藤 鈴木 高橋 田中 伊藤 渡辺 山本 中村 小林 加藤 吉田 山田 佐々木 山口 松本 井上 木村 林 斎藤 清水".split()
GIVEN_NAMES = "太郎 花子 健一 美咲 翔太 陽子 大輔 恵 拓也 由美 誠 明美 直樹 裕子 亮".split()
GOODS = ("ボールペン 封筒 コピー用紙 ファイル ホチキス 付箋 電卓 ノート 印鑑 朱肉 クリップ "
         "消しゴム 定規 はさみ のり 名刺 カレンダー 手帳 インク トナー").split()
REMARK_WORDS = ("至急 確認済み 要連絡 納品予定 請求書送付 在庫不足 返品 交換 見積 発注 "
                "入荷待ち 支払済み 分割 再送 保留 検品 社内 取引先 営業部 総務部 経理部 "
                "第一倉庫 第二倉庫 午前中 午後 翌日 来週 月末 担当交代 備品").split()

DATE_FORMAT = "yyyy/m/d"
DATE_TIME_FORMAT = "yyyy/m/d h:mm"
MONEY_FORMAT = "#,##0"
PRICE_FORMAT = "0.00"
FORMATS = (None, DATE_FORMAT, None, None, None, None, PRICE_FORMAT, MONEY_FORMAT, None,
           DATE_TIME_FORMAT)


class Shape:
    """How a tree is laid out: books, sheets per book, rows per sheet
    (the heading row included) and how many rows carry the needle."""

    def __init__(self, books, sheets, rows, needle_rows, folders=1):
        self.books, self.sheets, self.rows = books, sheets, rows
        self.needle_rows, self.folders = needle_rows, folders

    def cells(self):
        return self.books * self.sheets * self.rows * COLUMNS

    def needle_places(self, rng):
        """(book, sheet, row) of every needle row; rows count from 1 below the heading."""
        data_rows = self.rows - 1
        picks = rng.sample(range(self.books * self.sheets * data_rows), self.needle_rows)
        places = set()
        for pick in picks:
            book, rest = divmod(pick, self.sheets * data_rows)
            sheet, row = divmod(rest, data_rows)
            places.add((book, sheet, row + 1))
        return places


def row_values(rng, serial, needle):
    """The ten values of one data row; in a needle row the remark holds the
    Japanese and ASCII needles and the quantity is the digits needle."""
    count = rng.randint(1, 500)
    price = rng.randint(50, 50000) / 100
    remark = "".join(rng.choice(REMARK_WORDS) for _ in range(rng.randint(1, 4)))
    if rng.random() < 0.5:
        remark += f" 伝票{rng.randint(1, 999999):06d}"
    if needle:
        remark += f" {NEEDLE}{serial:07d} {ASCII_NEEDLE}"
    day = rng.randint(36526, 46022)  # 2000-01-01 .. 2025-12-31
    return [serial, day, rng.choice(PREFECTURES),
            rng.choice(FAMILY_NAMES) + " " + rng.choice(GIVEN_NAMES), rng.choice(GOODS),
            DIGITS_NEEDLE if needle else count, price, round(count * price), remark,
            day + rng.randint(0, 1439) / 1440]


def book_rows(rng, shape, book, sheet, needle_places, serial):
    """Yields the rows of one sheet, heading first; `serial` numbers the data rows."""
    yield HEADINGS
    for row in range(1, shape.rows):
        serial[0] += 1
        yield row_values(rng, serial[0], (book, sheet, row) in needle_places)


def write_book(path, rng, shape, book, needle_places, serial):
    workbook = xlsxwriter.Workbook(path, {"strings_to_urls": False})
    formats = [workbook.add_format({"num_format": f}) if f else None for f in FORMATS]
    for sheet in range(shape.sheets):
        worksheet = workbook.add_worksheet(f"受付{sheet + 1}")
        for r, values in enumerate(book_rows(rng, shape, book, sheet, needle_places, serial)):
            for c, value in enumerate(values):
                if isinstance(value, str):
                    worksheet.write_string(r, c, value)
                else:
                    worksheet.write_number(r, c, value, formats[c] if r else None)
    workbook.close()


def make_xlsx_tree(folder, shape, seed):
    rng = random.Random(seed)
    needle_places = shape.needle_places(rng)
    serial = [0]
    for book in range(shape.books):
        sub = folder
        if shape.folders > 1:
            sub = os.path.join(folder, f"部署{book % shape.folders + 1:02d}")
        os.makedirs(sub, exist_ok=True)
        write_book(os.path.join(sub, f"受付台帳{book + 1:04d}.xlsx"), rng, shape, book,
                   needle_places, serial)


def make_xls_tree(folder, shape, seed):
    with tempfile.TemporaryDirectory() as sources:
        make_xlsx_tree(sources, shape, seed)
        os.makedirs(folder, exist_ok=True)
        for name in sorted(os.listdir(sources)):
            target = os.path.join(folder, name[:-1])
            # Gnumeric keeps its settings below HOME; a throwaway one keeps
            # the conversion from touching the user's.
            subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:excel_biff8",
                            os.path.join(sources, name), target],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           env=dict(os.environ, HOME=sources))


def trees(scale):
    """name -> (suffix of its books, shape, maker)."""
    def scaled(n, least):
        return max(least, round(n * scale))

    large = Shape(books=5, sheets=2, rows=scaled(30000, 3), needle_rows=scaled(1000, 3))
    small = Shape(books=scaled(2000, 4), sheets=1, rows=20, needle_rows=scaled(1000, 2),
                  folders=scaled(20, 2))
    return {
        "large-xlsx": (".xlsx", large, lambda d, s: make_xlsx_tree(d, s, 1401)),
        "small-xlsx": (".xlsx", small, lambda d, s: make_xlsx_tree(d, s, 1402)),
        "large-xls": (".xls", large, lambda d, s: make_xls_tree(d, s, 1403)),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--scale", type=float, default=1.0)
    args = parser.parse_args()
    with open(__file__, "rb") as script:
        digest = hashlib.sha256(script.read()).hexdigest()

    for name, (suffix, shape, maker) in trees(args.scale).items():
        folder = os.path.join(args.out, name)
        manifest_path = folder + ".json"
        manifest = {"digest": digest, "scale": args.scale, "suffix": suffix,
                    "books": shape.books, "cells": shape.cells(), "needles": NEEDLES,
                    "needle_cells": shape.needle_rows}
        if os.path.exists(manifest_path):
            with open(manifest_path, encoding="utf-8") as f:
                if json.load(f) == manifest:
                    continue
        print(f"making {name}: {shape.books} books, {shape.cells()} cells", file=sys.stderr)
        # Made beside the tree and moved in place, so that an interrupted run
        # leaves no half tree that looks finished.
        shutil.rmtree(folder, ignore_errors=True)
        partial = folder + ".partial"
        shutil.rmtree(partial, ignore_errors=True)
        maker(partial, shape)
        os.rename(partial, folder)
        with open(manifest_path, "w", encoding="utf-8") as f:
            json.dump(manifest, f, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main()
