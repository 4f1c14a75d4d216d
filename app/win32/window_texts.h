// The texts of the window's message boxes and of the list of books it
// could not search.  Included only by sources compiled with the Shift-JIS
// execution character set, so each literal is already the window's ANSI
// text.
#pragma once

namespace zscan::window_texts {

inline constexpr const char *kHelp =
    "「ファイル名キーワード」にはファイル名に含まれる文字を、半角/全角スペース区切りで複数指定することができます。\n\r"
    "「検索内容」には検索対象文字を、半角/全角スペース区切りで複数指定することができます。\n\r"
    "「検索内容リストファイル」には検索対象文字を、半角スペース/タブ/改行区切りで羅列したテキストファイル"
    "(SJIS、UTF-8またはUTF-16)を指定します。\n\r\n"
    "デフォルトは部分一致検索です。「正規表現検索」は部分一致ではなく、またワイルドカードとも異なりますので、指定には注意が必要です。\n\r\n"
    "日付は\"2016/3/25\"の様な、スラッシュ区切りの0埋め無し形式で検索ができます。\n\r\n"
    "セルのほか、コメント、スレッドコメント、図形やテキストボックスの文字も検索し、"
    "\"B3 コメント\"や\"D10 図形 \"角丸四角形 3\"\"の様に、セル名の後に置き場所を示します。"
    "「検索」メニューの「セルだけを検索」で、セルだけの検索になります。"
    "大文字と小文字、全角と半角、ひらがなとカタカナを区別しない検索も、「検索」メニューで選べます。\n\r\n"
    "開かれているブックと、読み取りパスワードが設定されているブックは、検索対象外です。"
    "検索できなかったブックやフォルダは、検索の終わりに件数を表示し、その一覧を表示できます。\n\r"
    "Excel出力の場合は、検索結果が1万件に到達すると処理を終了します。\n\r"
    "Excel2003以前では、検索結果を正しく表示することはできません。\n\r\n";

inline constexpr const char *kAboutCredits =
    "「表計算ブックライブラリ zweave のサンプルツール」\r\n"
    "Z-Scan開発チーム\r\n";

inline constexpr const char *kSaveSettings = "設定を保存しますか？";
inline constexpr const char *kStopSearch = "%d件見つかっています。\r処理を中止しますか？";

// The end of a search in which books or folders could not be searched.
inline constexpr const char *kNotSearched = "%d件のブックまたはフォルダを検索できませんでした。";
inline constexpr const char *kShowNotSearchedList = "\r\n一覧を表示しますか？";
inline constexpr const char *kNotSearchedListName = "Z-Scan検索できなかったファイル.txt";

// Why a book or folder could not be searched, after its path in the list.
inline constexpr const char *kEncrypted = "パスワードで暗号化されています";
inline constexpr const char *kNotABook = "このプログラムで読めるブックではありません";
inline constexpr const char *kDamaged = "壊れています";
inline constexpr const char *kPermissionDenied = "アクセスが拒否されました";
inline constexpr const char *kPathTooLong = "パスが長すぎます";
inline constexpr const char *kUnreadable = "読み取れません";

// A result book that neither Excel nor the program its file type is
// associated with could open.
inline constexpr const char *kNoBookViewer =
    "検索結果のExcelブックを開くプログラムが見つかりませんでした。\r\nブックの保存先: %s";

}  // namespace zscan::window_texts
