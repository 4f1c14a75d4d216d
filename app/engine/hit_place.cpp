#include "engine/hit_place.h"

#include "engine/app_texts.h"

namespace zscan {
namespace {

// What a hit line says after the cell for each holder, in UTF-8.
std::string_view holder_label(TextHolder holder) {
    switch (holder) {
    case TextHolder::Cell: break;
    case TextHolder::Formula: return "数式";
    case TextHolder::Comment: return "コメント";
    case TextHolder::ThreadedComment: return "スレッドコメント";
    case TextHolder::Shape: return "図形";
    case TextHolder::TextBox: return "テキストボックス";
    case TextHolder::ChartShape: return "グラフ図形";
    }
    return {};
}

}  // namespace

std::string place_text(int charset, const HitPlace &place) {
    std::string text(place.cell_name);
    if (place.holder == TextHolder::Cell) return text;
    (text += ' ') += in_charset(charset, holder_label(place.holder));
    if (!place.holder_name.empty()) ((text += " \"") += place.holder_name) += '"';
    return text;
}

std::string_view holder_key(TextHolder holder) {
    switch (holder) {
    case TextHolder::Cell: break;
    case TextHolder::Formula: return "formula";
    case TextHolder::Comment: return "comment";
    case TextHolder::ThreadedComment: return "threaded_comment";
    case TextHolder::Shape: return "shape";
    case TextHolder::TextBox: return "text_box";
    case TextHolder::ChartShape: return "chart_shape";
    }
    return "cell";
}

}  // namespace zscan
