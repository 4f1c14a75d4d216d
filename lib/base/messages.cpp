// The OXLS message texts and the error state of a book: the failing call
// formats its message into the book's error text, the caller fetches it in
// its own character set.  The texts are kept as UTF-8 here and turned into
// Shift-JIS once, at first use, so that every platform produces the same
// bytes.
#include "messages.h"

#include "charset.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct MessageText {
    OxlsMessage id;
    const char *utf8;
};

constexpr MessageText kMessages[] = {
    {OXLS_00002, "OXLS-00002 メモリ不足です。処理を中断します。"},
    {OXLS_00005, "OXLS-00005 ファイル名が長すぎます。"},
    {OXLS_00100, "OXLS-00100 データソースファイルがオープンできません(\"%s\")。処理を中断します。"},
    {OXLS_00900, "OXLS-00900 サポート外のファイルです(\"%s\")。"},
    {OXLS_00901, "OXLS-00901 呼び出し側(\"%s\")と共有ライブラリ側(\"2.2.0.0\")でバージョンが異なります。"},
    {OXLS_00902, "OXLS-00902 構造体XLS_BOOKのサイズが異なります。(\"%s\")。"},
    {OXLS_02100, "OXLS-02100 セル範囲指定(RANGE)は使用できません(\"%s\")。"},
    {OXLS_02101, "OXLS-02101 セル範囲指定(RANGE)が必要です(\"%s\")。"},
    {OXLS_02200, "OXLS-02200 サポート外のキーワードです(\"%s\")。"},
    {OXLS_02201, "OXLS-02201 サポート外の演算子です(\"%s\")。"},
    {OXLS_02202, "OXLS-02202 サポート外の関数です(\"%s\")。\n"},
    {OXLS_02209_KEYWORD, "OXLS-02209 テンプレートモードではサポート外のキーワードです(\"%s\")。"},
    {OXLS_02209_SHEET, "OXLS-02209 テンプレートモードではシートを追加することはできません。"},
    {OXLS_02210, "OXLS-02210 キーワードが長すぎます(\"%s\")。最大長は(%d)バイトです。"},
    {OXLS_02211, "OXLS-02211 ドット(.)で区切られたキーワードが多すぎます(\"%s\")。"},
    {OXLS_02300, "OXLS-02300 セル指定値が不正です(\"%s\")。"},
    {OXLS_02301, "OXLS-02301 セル範囲指定値が不正です(\"%s\")。"},
    {OXLS_02302, "OXLS-02302 数値が不正です(\"%s\")。"},
    {OXLS_02303, "OXLS-02303 引数列のイコール(=)部分が不正です(\"%s\")。"},
    {OXLS_02304, "OXLS-02304 式の括弧の対応が不正です(\"%s\")。"},
    {OXLS_02305, "OXLS-02305 変数名の形式が不正です(\"%s\")。"},
    {OXLS_02306, "OXLS-02306 関数(\"%s\")の引数の指定内容が不正です(\"%s\")。"},
    {OXLS_02310, "OXLS-02310 タブ(TAB)の指定内容が不正です。"},
    {OXLS_02311, "OXLS-02311 書式指定値が不正です(\"%s\")。"},
    {OXLS_02312, "OXLS-02312 入力規則(VALIDATION)の指定内容が不正です(\"%s\")。"},
    {OXLS_02313, "OXLS-02313 ズーム(ZOOM)値の範囲(10～400)が不正です(\"%s\")。"},
    {OXLS_02314, "OXLS-02314 方向(DIRECTION)値の範囲(-90～90)が不正です(\"%s\")。"},
    {OXLS_02315, "OXLS-02315 インデント(INDENT)値の範囲(0～250)が不正です(\"%s\")。"},
    {OXLS_02319, "OXLS-02319 書式指定が最大数(%d)を超えました。"},
    {OXLS_02320, "OXLS-02320 シート名が不正です(\"%s\")。"},
    {OXLS_02321, "OXLS-02321 既に存在しているシート名です(\"%s\")。"},
    {OXLS_02322, "OXLS-02322 テンプレートシート名が指定されていません。"},
    {OXLS_02401, "OXLS-02401 色(COLOR)の指定内容が不正です(\"%s\")。"},
    {OXLS_02402, "OXLS-02402 オフセット(OFFSET)値の指定内容が不正です。"},
    {OXLS_02403, "OXLS-02403 フォント(FONT)の指定内容が不正です(\"%s\")。"},
    {OXLS_02405, "OXLS-02405 配置(ALIGN)の指定内容が不正です(\"%s\")。"},
    {OXLS_02406, "OXLS-02406 塗りつぶし(FILL)の指定内容が不正です。"},
    {OXLS_02407, "OXLS-02407 パターン(PATTERN)の指定内容が不正です。"},
    {OXLS_02408, "OXLS-02408 罫線(BORDER)の指定内容が不正です(\"%s\")。"},
    {OXLS_02409, "OXLS-02409 グラデーション(GRADATION)の指定内容が不正です(\"%s\")。"},
    {OXLS_02410, "OXLS-02410 結合(MERGE)は既に結合したセルに対して定義できません。"},
    {OXLS_02500, "OXLS-02500 余白(MARGIN)の指定内容が不正です。"},
    {OXLS_02501, "OXLS-02501 用紙(PAPER)の指定内容が不正です。"},
    {OXLS_02504, "OXLS-02504 印刷タイトル行(PRINT_TITLE_ROW)の指定内容が不正です(\"%s\")。"},
    {OXLS_02505, "OXLS-02505 印刷タイトル列(PRINT_TITLE_COLUMN)の指定内容が不正です(\"%s\")。"},
    {OXLS_02506, "OXLS-02506 ウィンドウ枠固定(FROZEN_SPLIT)の指定内容が不正です(\"%s\")。"},
    {OXLS_02507, "OXLS-02507 印刷ページ数合わせ(PRINT_PAGE_FIT)の指定内容が不正です(\"%s\")。"},
    {OXLS_02605, "OXLS-02605 アジャスト(ADJUST)値の指定内容が不正です。"},
    {OXLS_02621, "OXLS-02621 (\"%s\")の前にスパークラインが指定されていません。"},
    {OXLS_02622, "OXLS-02622 スパークライン(SPARKLINE)の指定内容が不正です(\"%s\")。"},
    {OXLS_02631, "OXLS-02631 (\"%s\")の前に表書式(TABLE_FORMAT)が指定されていません。"},
    {OXLS_02632, "OXLS-02632 表書式(TABLE_FORMAT)は既に定義したセル範囲に対して定義できません。"},
    {OXLS_02633, "OXLS-02633 表書式(TABLE_FORMAT)の一行目に計算式が含まれています。"},
    {OXLS_03001, "OXLS-03001 変数の値が取得できません(\"%s\")。"},
    {OXLS_03002, "OXLS-03002 テンプレートシート(\"%s\")が取得できません。"},
    {OXLS_03008, "OXLS-03008 (\"%s\")の数が制限(\"%d\")を超えました。"},
    {OXLS_03009, "OXLS-03009 バッファサイズ(\"%d\")オーバー(\"%s\")。"},
    {OXLS_03100, "OXLS-03100 ファイルオープンエラー(\"%s\")。"},
    {OXLS_03101, "OXLS-03101 Excelファイルオープンエラー(\"%s\")。"},
    {OXLS_03103, "OXLS-03103 イメージファイルオープンエラー(\"%s\")。"},
    {OXLS_03110, "OXLS-03110 Excelファイル読み込みエラー(\"2003形式\")。"},
    {OXLS_03120, "OXLS-03120 ファイル書込みエラー(\"%s\")。"},
    {OXLS_03121, "OXLS-03121 Excelファイル書込みエラー(\"%s\")。"},
    {OXLS_03122, "OXLS-03122 一時ファイル書込みエラー(\"%s\")。"},
    {OXLS_03190, "OXLS-03190 イメージファイルがサポート外のファイル形式です(\"%s\")。"},
    {OXLS_03200, "OXLS-03200 セルの循環参照が設定されています(\"%s\")。"},
    {OXLS_03201, "OXLS-03201 関数の引数が不足しています(\"%s\")。"},
    {OXLS_03202, "OXLS-03202 関数の引数が多すぎます(\"%s\")。"},
    {OXLS_03203, "OXLS-03203 テンプレートモードでは式の含まれたセル(\"%s\")を上書きすることはできません。"},
    {OXLS_03600, "OXLS-03600 内部処理エラー(\"%s\")。"},
    {OXLS_04100, "OXLS-04100 オープン時再計算モードで保存します。\n"},
    {OXLS_4000, "OXLS-4000 book->log.error_info too long"},
};

constexpr bool in_enum_order() {
    for (size_t i = 0; i < std::size(kMessages); ++i)
        if (kMessages[i].id != static_cast<OxlsMessage>(i)) return false;
    return std::size(kMessages) == OXLS_MESSAGE_COUNT;
}
static_assert(in_enum_order(), "one text per message, in the order of the enumeration");

const std::array<std::string, OXLS_MESSAGE_COUNT> &sjis_texts() {
    static const std::array<std::string, OXLS_MESSAGE_COUNT> texts = [] {
        std::array<std::string, OXLS_MESSAGE_COUNT> converted;
        for (size_t i = 0; i < converted.size(); ++i)
            converted[i] = orb_convert(CS_UTF8, CS_SJIS, kMessages[i].utf8);
        return converted;
    }();
    return texts;
}

}  // namespace

const char *ozw_message_text(OxlsMessage message) {
    if (message < 0 || message >= OXLS_MESSAGE_COUNT) return "";
    return sjis_texts()[message].c_str();
}

int ozw_set_error(XLS_BOOK *book, int code, OxlsMessage message, ...) {
    if (!book) return code;
    va_list args;
    va_start(args, message);
    std::vsnprintf(book->log.error_info, sizeof book->log.error_info, ozw_message_text(message), args);
    va_end(args);
    book->log.error_code = code;
    return code;
}

int ozw_set_code(XLS_BOOK *book, int code) {
    if (book) book->log.error_code = code;
    return code;
}
