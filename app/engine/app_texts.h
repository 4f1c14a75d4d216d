// The application's own texts: message box texts, result file names and
// the result book's header row.  They are kept here in UTF-8 and handed
// out in the context's character set.
#pragma once

#include <string>
#include <string_view>

namespace zscan {

namespace text {
inline constexpr std::string_view kTitle = "Z-Scan";
inline constexpr std::string_view kNoSearchWords = "検索内容が指定されていません。";
inline constexpr std::string_view kListFileOpenError = "検索内容リストファイル(%s)オープンエラー";
inline constexpr std::string_view kListFileWordTooLong =
    "検索内容リストファイル(%s)に4000バイトを超える検索内容があります。";
inline constexpr std::string_view kInvalidExpression = "検索内容(%s)は正規表現として不正です。";
inline constexpr std::string_view kResultBookFileError =
    "Z-Scan検索結果Excelブック(%s)オープンエラー。\r\nブックを開いている場合は閉じてください。";
inline constexpr std::string_view kResultBookOpenError = "Z-Scan検索結果Excelオープンエラー rc=%d";
inline constexpr std::string_view kResultBookHeaderError = "Z-Scan検索結果Excel作成エラー rc=%d";
inline constexpr std::string_view kResultBookSaveError =
    "Z-Scan検索結果Excelブック作成エラー rc=%d\r\nブックを開いている場合は閉じてください。";
inline constexpr std::string_view kResultFileWriteError = "Z-Scan検索結果ファイルに書き込めません(%s)。";
inline constexpr std::string_view kShowPartialResults = "途中までの検索結果を表示しますか？";
inline constexpr std::string_view kNothingFound = "検索対象が見つかりませんでした。";
inline constexpr std::string_view kHitLimitReached =
    "検索結果が最大件数(%d)に到達しました。処理を中断します。";
inline constexpr std::string_view kHitCounter = "%d件";

inline constexpr std::string_view kTextResultName = "Z-Scan検索結果.txt";
inline constexpr std::string_view kBookResultName = "Z-Scan検索結果.xlsx";
inline constexpr std::string_view kResultBookHeader =
    "A.幅=50 B.幅=10 C.幅=20 D.幅=100 A1=セル内容 B1=セル名 C1=シート名 "
    "D1=パス(フォルダリンク) A1:D1.配置=中中 A1:D1.フォント.スタイル=強調";
}  // namespace text

// `utf8` in the character set `charset`.
std::string in_charset(int charset, std::string_view utf8);
// The text in `charset` with its one "%s" or "%d" replaced by `argument`
// (which is already in `charset`).
std::string filled(int charset, std::string_view utf8_template, std::string_view argument);
std::string filled(int charset, std::string_view utf8_template, int argument);

}  // namespace zscan
