// OXLS_help and OXLS_debug: the library banner with a reference card of the
// property keywords, and a plain line to standard output.  The card is
// printed in Shift-JIS, like every text of the library.
#include "charset.h"
#include "oxls.h"

#include <cstdio>
#include <string>

namespace {

constexpr char kCopyright[] = "Copyright (C) ORB Z-WEAVE developers. All rights reserved.\n";

// Keywords of a property key (KEY.KEY=value in OXLS_put_values), English
// and Japanese, with the words of the keywords that take a fixed set.
constexpr char kReferenceCard[] = R"(
Property keywords (English keywords in any case; Japanese synonyms exactly):
  target.KEYWORD[.KEYWORD...]=value   target: A1, A1:D5, column A, row 3, Sheet!A1

Columns and rows
  WIDTH                幅                column width
  HEIGHT, HIDDEN

Colours
  COLOR                色

Fonts
  FONT                 フォント          FONT.NAME, FONT.SIZE, FONT.COLOR, FONT.STYLE
  FONT.STYLE           フォント.スタイル
      regular 標準  underline 下線  regular_underline 標準下線
      italic 斜体  italic_underline 斜体下線
      bold 強調  bold_underline 強調下線
      bold_italic 強調斜体  bold_italic_underline 強調斜体下線

Alignment
  ALIGN                配置
      TOP_LEFT 左上     TOP_CENTER 中上          TOP_RIGHT 右上
      CENTER_LEFT 左中 左  CENTER_CENTER 中中 中  CENTER_RIGHT 右中 右
      BOTTOM_LEFT 左下  BOTTOM_CENTER 中下       BOTTOM_RIGHT 右下
  DIRECTION            方向              text angle -90 to 90
  INDENT               インデント        0 to 250
  WRAP, SHRINK
  MERGE                結合

Formats
  FORMAT               書式
  VALIDATION           入力規則

Borders
  BORDER               罫線              BORDER.LEFT .RIGHT .TOP .BOTTOM
                                         .DIAGONAL_UP .DIAGONAL_DOWN

Fills
  FILL                 塗りつぶし
  PATTERN              パターン
  GRADATION            グラデーション

Book and sheet
  BOOK.COMPANY, BOOK.CREATOR, BOOK.TITLE, BOOK.SUBJECT, BOOK.TAG, BOOK.MANAGER
  SHEET.ZOOM           ズーム            10 to 400
  SHEET.TAB            タブ
  SHEET.MARGIN         余白
  SHEET.PAPER          用紙
  SHEET.PRINT_TITLE_ROW     印刷タイトル行
  SHEET.PRINT_TITLE_COLUMN  印刷タイトル列
  SHEET.FROZEN_SPLIT        ウィンドウ枠固定
  SHEET.PRINT_PAGE_FIT      印刷ページ数合わせ
  SHEET.HIDDEN_GRID, SHEET.HIDDEN_HEADER, SHEET.Protect, SHEET.UNPROTECT
)";

}  // namespace

int OXLS_help(void) {
    std::printf("%s: Release %s\n", OXLS_PRODUCT, OXLS_VERSION);
    std::fputs(kCopyright, stdout);
    std::fputs(orb_convert(CS_UTF8, CS_SJIS, kReferenceCard).c_str(), stdout);
    std::fflush(stdout);
    return 0;
}

int OXLS_debug(const char *text) {
    std::printf("%s\n", text ? text : "");
    std::fflush(stdout);
    return 0;
}
