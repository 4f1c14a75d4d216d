// Collecting and parsing the shared string table.
//
// Inside a piece a string is laid out as: a 16-bit character count, an
// option byte (bit 0: 16-bit characters, bit 2: extension data follows,
// bit 3: rich text), a 16-bit run count when rich, a 32-bit extension size
// when extended, the characters, 4 bytes per run and the extension data.
// When the characters go on in the next piece, that piece begins with a
// new option byte saying whether they are 8-bit or 16-bit from there on.
// Counts, runs and extension data simply run on across pieces.
#include "xls/biff_sst.h"

#include "messages.h"
#include "result_codes.h"
#include "utf16_text.h"
#include "xls/biff_records.h"
#include "xls/biff_text.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

constexpr size_t kCountsSize = 8;   // total and unique string counts
constexpr unsigned char kWideChars = 0x01;
constexpr unsigned char kExtended = 0x04;
constexpr unsigned char kRichText = 0x08;
constexpr size_t kRunSize = 4;

}  // namespace

int BiffSstCollector::start(const unsigned char *data, size_t length) {
    data_.clear();
    piece_starts_.clear();
    try {
        piece_starts_.push_back(0);
        data_.assign(data, data + length);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

int BiffSstCollector::append(XLS_BOOK *report, const unsigned char *data, size_t length) {
    if (piece_starts_.size() >= static_cast<size_t>(OZW_MAX_CONTINUE)) {
        data_.clear();
        piece_starts_.clear();
        return ozw_set_error(report, OZW_LIMIT_REACHED, OXLS_03009, OZW_MAX_CONTINUE, "OZW_MAX_CONTINUE");
    }
    try {
        piece_starts_.push_back(data_.size());
        data_.insert(data_.end(), data, data + length);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

int BiffSstCollector::parse(SharedStrings &strings, XLS_BOOK *report) {
    int rc = parse_strings(strings, report);
    data_.clear();
    data_.shrink_to_fit();
    piece_starts_.clear();
    return rc;
}

size_t BiffSstCollector::piece_end() const {
    return piece_ + 1 < piece_starts_.size() ? piece_starts_[piece_ + 1] : data_.size();
}

// Bytes that may run on across pieces; false when the data ends first.
bool BiffSstCollector::read_bytes(size_t count, const unsigned char *&bytes) {
    if (count > data_.size() - position_) return false;
    bytes = data_.data() + position_;
    position_ += count;
    while (piece_ + 1 < piece_starts_.size() && position_ > piece_starts_[piece_ + 1]) ++piece_;
    return true;
}

int BiffSstCollector::parse_strings(SharedStrings &strings, XLS_BOOK *report) {
    piece_ = 0;
    position_ = 0;
    const unsigned char *bytes;
    // The counts are not trusted: the strings are read for as long as the
    // data lasts, which bounds the work by the size of the stream.
    if (!read_bytes(kCountsSize, bytes)) return 0;
    std::vector<unsigned char> units;
    std::string text;
    while (position_ < data_.size()) {
        if (!read_bytes(3, bytes)) return 0;
        const size_t count = biff::u16(bytes);
        unsigned char option = bytes[2];
        if (count > static_cast<size_t>(XLS_CELL_STR_LEN))
            return ozw_set_error(report, OZW_LIMIT_REACHED, OXLS_03009, XLS_CELL_STR_LEN, "ozw_put_sst() XLS_CELL_STR_LEN");
        size_t runs = 0;
        size_t extension = 0;
        if ((option & kRichText) && !read_bytes(2, bytes)) return 0;
        if (option & kRichText) runs = biff::u16(bytes);
        if ((option & kExtended) && !read_bytes(4, bytes)) return 0;
        if (option & kExtended) extension = biff::u32(bytes);

        units.clear();
        bool wide = option & kWideChars;
        bool complete = true;
        for (size_t left = count; left > 0;) {
            if (position_ >= piece_end()) {
                if (piece_ + 1 >= piece_starts_.size()) {
                    complete = false;
                    break;
                }
                position_ = piece_starts_[++piece_];
                if (position_ >= piece_end()) continue;   // an empty piece
                unsigned char next_option = data_[position_++];
                if (next_option > kWideChars) return OZW_FAILED;
                wide = next_option == kWideChars;
                continue;
            }
            const size_t width = wide ? 2 : 1;
            const size_t take = std::min(left, (piece_end() - position_) / width);
            if (take == 0) return OZW_FAILED;
            const unsigned char *chars = data_.data() + position_;
            position_ += take * width;
            for (size_t i = 0; i < take; ++i) {
                units.push_back(chars[i * width]);
                units.push_back(wide ? chars[i * width + 1] : 0);
            }
            left -= take;
        }
        text.clear();
        append_utf16_as_utf8(text, units.data(), units.size() / 2);
        if (strings.add(text) != 0) return OXLS_ERR_MEMORY;
        if (!complete) return 0;
        // Rich-text runs and extension data carry nothing the reader keeps.
        const uint64_t skip = runs * kRunSize + static_cast<uint64_t>(extension);
        if (skip > data_.size() - position_) return 0;
        read_bytes(static_cast<size_t>(skip), bytes);
    }
    return 0;
}
