// The ORB message list of a work area: numbered messages pushed by the
// readers, reported on a stream or in a message box.
#include "messages.h"

#include "charset.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct OrbTemplate {
    int number;
    const char *utf8;
};

constexpr OrbTemplate kTemplates[] = {
    {0, "%s"},
    {1, "%s初期化エラー。処理を中断します。"},
    {2, "メモリ不足です。処理を中断します。"},
    {3, "引数が不正です(\"%s\")。処理を中断します。"},
    {4, "引数(\"%s\")が指定されていません。処理を中断します。"},
    {5, "引数が長すぎます。処理を中断します。"},
    {6, "不明なパラメータ名です(\"%s\")。処理を中断します。"},
    {7, "サポート外のキャラクタセットです(\"%s\")。処理を中断します。"},
    {8, "ファイル数が制限を超えました。処理を中断します。"},
    {100, "データソースファイルがオープンできません。処理を中断します。"},
    {200, "データソースDBMSに接続できません。処理を中断します。"},
    {900, "サポート外のファイルです。処理を中断します。"},
    {901, "パスワード保護されたファイルです。処理を中断します。"},
    {1000, "処理が終了しました。"},
    {2000, "コマンドが不正です。"},
    {2001, "SQL文が不正です。"},
    {2002, "サポート外のSQL文です。"},
    {3000, "Officeファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3001, "一時ファイルオープンエラー。処理を中断します。"},
    {3002, "Officeファイル読み込みエラー。処理を中断します。"},
    {3003, "Officeファイル書込みエラー。処理を中断します。"},
    {3004, "一時ファイル読み込みエラー。処理を中断します。"},
    {3005, "一時ファイル書込みエラー。処理を中断します。"},
    {3006, "マスクファイル書込みエラー。処理を中断します。"},
    {3007, "Officeファイル(ZIP)解凍エラー。処理を中断します。"},
    {3010, "サポート外のファイル形式です。処理を中断します。"},
    {3100, "Excelファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3101, "カードファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3102, "カードファイル読み込みエラー(\"%s\")。処理を中断します。"},
    {3103, "Excelファイル書込みエラー(\"%s\")。処理を中断します。"},
    {3104, "Excelファイル書込みエラー(\"2003形式\")。処理を中断します。"},
    {3105, "イメージファイルオープンエラー(\"%s\")。処理を中断します。"},
    {3106, "サポート外のファイル形式です(\"%s\")。処理を中断します。"},
    {3110, "指定されたシートが見つかりませんでした。処理を中断します。"},
    {3500, "SQLエラー(%s)。処理を中断します。"},
    {4000, "内部処理バッファ(\"%s\")がオーバーフローしました。処理を中断します。"},
    {4090, "内部処理エラー(\"%s\")。"},
    {4100, "圧縮／解凍処理でエラーが発生しました(\"%s\")。処理を中断します。"},
};

// The templates in Shift-JIS, converted once.
const std::array<std::string, std::size(kTemplates)> &sjis_templates() {
    static const std::array<std::string, std::size(kTemplates)> texts = [] {
        std::array<std::string, std::size(kTemplates)> converted;
        for (size_t i = 0; i < converted.size(); ++i)
            converted[i] = orb_convert(CS_UTF8, CS_SJIS, kTemplates[i].utf8);
        return converted;
    }();
    return texts;
}

const std::string *find_template(int number) {
    for (size_t i = 0; i < std::size(kTemplates); ++i)
        if (kTemplates[i].number == number) return &sjis_templates()[i];
    return nullptr;
}

// The placeholder is looked for from the sixth byte of a template on.
constexpr size_t kPlaceholderSearchStart = 5;
constexpr size_t kEntryLimit = ORB_MESSAGE_LEN - 1;

// Cuts a Shift-JIS text to at most `limit` bytes without splitting a
// double-byte character.
void cut_to(std::string &text, size_t limit) {
    if (text.size() <= limit) return;
    size_t end = 0;
    for (int i = 0; static_cast<size_t>(i) < text.size();) {
        int next = i;
        orb_char_len(CS_SJIS, static_cast<unsigned char>(text[static_cast<size_t>(i)]), &next);
        if (static_cast<size_t>(next) >= limit) break;
        i = next + 1;
        end = static_cast<size_t>(i);
    }
    text.resize(end);
}

std::string compose_entry(int number, const std::string &detail) {
    if (number == 0) return detail;
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "ORB-%05d: ", number);
    std::string entry = prefix;
    const std::string *text = find_template(number);
    if (!text) return entry + detail;
    size_t at = text->size() > kPlaceholderSearchStart ? text->find("%s", kPlaceholderSearchStart) : std::string::npos;
    if (at == std::string::npos) return entry + *text + detail;
    return entry + text->substr(0, at) + detail + text->substr(at + 2);
}

}  // namespace

void orb_set_message_no(OzwWork *work, int number) {
    if (work) work->message_no = number;
}

void orb_push_message(OzwWork *work, const char *detail) {
    if (!work) return;
    std::string text = detail ? std::string(detail, strnlen(detail, kEntryLimit + 1)) : std::string();
    text.resize(std::min(text.find('\n'), text.size()));
    cut_to(text, kEntryLimit);
    std::string entry = compose_entry(work->message_no, text);
    work->message_no = 0;
    cut_to(entry, kEntryLimit);
    if (work->message_count >= ORB_MESSAGE_LIST_LEN) {
        std::memmove(work->messages[0], work->messages[1], sizeof work->messages[0] * (ORB_MESSAGE_LIST_LEN - 1));
        work->message_count = ORB_MESSAGE_LIST_LEN - 1;
    }
    std::memcpy(work->messages[work->message_count], entry.c_str(), entry.size() + 1);
    ++work->message_count;
}

void orb_report_messages(OzwWork *work) {
    if (!work) return;
    if (work->message_count > 0) {
        if (work->report_to_stream) {
            FILE *stream = work->err ? work->err : stderr;
            for (int i = 0; i < work->message_count; ++i) std::fprintf(stream, "%s\n", work->messages[i]);
            std::fputc('\n', stream);
            std::fflush(stream);
        } else {
            zplat::message_box(OXLS_PRODUCT, work->messages[work->message_count - 1], zplat::MB_STYLE_ERROR);
        }
    }
    work->message_count = 0;
    work->message_no = 0;
}

void orb_popup(int level, const char *text) {
    const char *label = level == -1 ? "ERROR:" : level == 0 ? "INFO:" : "WARNING:";
    int style = level == -1 ? zplat::MB_STYLE_ERROR
              : level == 0  ? zplat::MB_STYLE_INFO | zplat::MB_STYLE_ERROR
                            : zplat::MB_STYLE_WARNING;
    std::string shown = text ? text : "";
    if (shown.compare(0, 4, "ORB-") != 0) shown = std::string(label) + " " + shown;
    zplat::message_box(OXLS_PRODUCT, shown.c_str(), style);
}
