#include "xls/biff_sheet_notes.h"

#include "utf16_text.h"
#include "xls/biff_text.h"

#include <algorithm>

namespace {

// OfficeArt records inside MSODRAWING: an 8-byte header (version in the
// low 4 bits of the first field, 0xF for a container whose records
// follow; instance in the upper 12 bits), then the record's own bytes.
constexpr uint16_t kShapeRecord = 0xF00A;        // OfficeArtFSP: a new shape begins, its type the instance
constexpr uint16_t kTextBoxShapeType = 202;      // msosptTextBox
constexpr uint16_t kPropertiesRecord = 0xF00B;   // OfficeArtFOPT
constexpr uint16_t kMorePropertiesRecord = 0xF122;   // OfficeArtTertiaryFOPT
constexpr uint16_t kClientAnchor = 0xF010;       // OfficeArtClientAnchorSheet
constexpr uint16_t kShapeNameProperty = 0x0380;  // wzName: UTF-16LE, ended by a NUL
constexpr size_t kAnchorBytes = 18;              // flags, then column, dx, row, dy of each corner

// OBJ: its first subrecord (ftCmo) gives the object's type and id.
constexpr uint16_t kCommonObjectData = 0x0015;
constexpr uint16_t kObjectNote = 0x0019;
constexpr uint16_t kObjectTextBox = 0x0006;

// Longest text of one object kept: a cell's longest text.
constexpr size_t kMaxTextChars = 32767;

// The shape's name from a property table of `count` properties at `at`,
// whose complex values follow the table up to `end` in the table's order.
// The values are taken from the end backwards: the sizes of some arrays
// among the geometry values leave out their headers, but the name comes
// after them.
std::string shape_name(const unsigned char *data, size_t end, size_t at, size_t count) {
    if (count > (end - at) / 6) return {};
    size_t tail = end;
    for (size_t i = count; i-- > 0;) {
        const uint16_t id = biff::u16(data + at + i * 6);
        const uint32_t size = biff::u32(data + at + i * 6 + 2);
        if (!(id & 0x8000)) continue;   // the value is in the table itself
        if (size > tail - (at + count * 6)) return {};
        tail -= size;
        if ((id & 0x3FFF) != kShapeNameProperty) continue;
        size_t units = size / 2;
        for (size_t u = 0; u < units; ++u)
            if (biff::u16(data + tail + u * 2) == 0) units = u;
        std::string name;
        append_utf16_as_utf8(name, data + tail, units);
        return name;
    }
    return {};
}

}  // namespace

void BiffSheetNotes::begin_substream(int sheet, int depth, bool chart_sheet) {
    chars_left_ = 0;
    if (depth == 1) {
        sheet_ = sheet;
        chart_sheet_ = chart_sheet;
        in_chart_ = chart_sheet;
        chart_cell_ = CellPos{};
        anchor_ = CellPos{};
        note_texts_.clear();
    } else if (depth == 2 && !chart_sheet_) {
        // A chart inside a worksheet follows its own OBJ, at its anchor.
        in_chart_ = true;
        chart_cell_ = object_cell_;
    }
}

void BiffSheetNotes::end_substream(int depth) {
    chars_left_ = 0;
    if (depth == 1) {
        sheet_ = -1;
        note_texts_.clear();
    } else if (depth == 2) {
        in_chart_ = chart_sheet_;
        chart_cell_ = CellPos{};
    }
}

void BiffSheetNotes::on_drawing(const biff::Record &record) {
    if (sheet_ < 0) return;
    const unsigned char *data = record.data;
    const size_t length = record.length;
    size_t at = 0;
    while (length - at >= 8) {
        const uint16_t version_instance = biff::u16(data + at);
        const uint16_t type = biff::u16(data + at + 2);
        const uint32_t size = biff::u32(data + at + 4);
        at += 8;
        if ((version_instance & 0xF) == 0xF) continue;   // a container: its records follow
        const size_t own = std::min<size_t>(size, length - at);
        if (type == kShapeRecord) {
            name_.clear();
            text_box_ = (version_instance >> 4) == kTextBoxShapeType;
        } else if (type == kPropertiesRecord || type == kMorePropertiesRecord) {
            if (std::string name = shape_name(data, at + own, at, version_instance >> 4); !name.empty()) name_ = name;
        } else if (type == kClientAnchor && own >= kAnchorBytes) {
            anchor_.column = biff::u16(data + at + 2);
            anchor_.row = biff::u16(data + at + 6);
        }
        if (size > length - at) break;
        at += size;
    }
}

void BiffSheetNotes::on_obj(const biff::Record &record) {
    if (sheet_ < 0 || record.length < 8 || biff::u16(record.data) != kCommonObjectData) return;
    object_kind_ = biff::u16(record.data + 4);
    object_id_ = biff::u16(record.data + 6);
    object_name_ = name_;
    object_text_box_ = object_kind_ == kObjectTextBox || text_box_;
    object_cell_ = in_chart_ ? chart_cell_ : anchor_;
    chars_left_ = 0;
}

int BiffSheetNotes::on_txo(const biff::Record &record) {
    chars_left_ = 0;
    text_.clear();
    if (sheet_ < 0 || record.length < 12) return 0;
    chars_left_ = std::min<size_t>(biff::u16(record.data + 10), kMaxTextChars);
    return 0;
}

// A CONTINUE after TXO: the text, in pieces that each begin with an
// option byte (bit 0: 16-bit characters), then the formatting runs, which
// are passed over.
int BiffSheetNotes::on_continue(const biff::Record &record) {
    if (chars_left_ == 0 || record.length < 1) return 0;
    const bool wide = record.data[0] & 1;
    const size_t chars = std::min<size_t>(chars_left_, (record.length - 1u) / (wide ? 2u : 1u));
    // 8-bit characters are UTF-16 with the high bytes left out.
    if (wide) {
        append_utf16_as_utf8(text_, record.data + 1, chars);
    } else if (!latin1_.append(std::string_view(reinterpret_cast<const char *>(record.data + 1), chars), text_)) {
        return OXLS_ERR_MEMORY;
    }
    chars_left_ -= chars;
    return chars_left_ == 0 || chars == 0 ? text_complete() : 0;
}

int BiffSheetNotes::text_complete() {
    chars_left_ = 0;
    std::replace(text_.begin(), text_.end(), '\r', '\n');
    while (!text_.empty() && text_.back() == '\n') text_.pop_back();
    if (text_.empty()) return 0;
    if (object_kind_ == kObjectNote) {
        note_texts_.emplace_back(object_id_, std::move(text_));
        text_.clear();
        return 0;
    }
    SheetNote note;
    note.row = object_cell_.row;
    note.column = object_cell_.column;
    note.holder = in_chart_ ? NoteHolder::ChartShape
                  : object_text_box_ ? NoteHolder::TextBox
                                                    : NoteHolder::Shape;
    note.name = object_name_;
    note.text = std::move(text_);
    text_.clear();
    return sink_.note(context_, sheet_, std::move(note));
}

// A note: its cell, option flags and the id of the object whose text it
// shows.
int BiffSheetNotes::on_note(const biff::Record &record) {
    if (sheet_ < 0 || record.length < 8) return 0;
    const uint16_t id = biff::u16(record.data + 6);
    auto found = std::find_if(note_texts_.begin(), note_texts_.end(), [id](const auto &t) { return t.first == id; });
    if (found == note_texts_.end()) return 0;
    SheetNote note;
    note.row = biff::u16(record.data);
    note.column = biff::u16(record.data + 2);
    note.text = std::move(found->second);
    note_texts_.erase(found);
    return sink_.note(context_, sheet_, std::move(note));
}
