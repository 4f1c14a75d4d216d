// Cutting a workbook stream into records across 256-byte blocks.
#include "xls/biff_stream.h"

#include <algorithm>

namespace {

constexpr uint32_t kFirstSpecialValue = 0xFFFFFFFA;
constexpr size_t kWordsPerBlock = BIFF_BLOCK_SIZE / 4;
constexpr size_t kRecordHeader = 4;

}  // namespace

bool biff_is_table_block(const unsigned char *block, uint64_t file_sectors) {
    uint32_t sectors[kWordsPerBlock];
    size_t count = 0;
    for (size_t i = 0; i < kWordsPerBlock; ++i) {
        uint32_t word = biff::u32(block + 4 * i);
        if (word >= kFirstSpecialValue) continue;
        if (word < 1 || word >= file_sectors) return false;
        sectors[count++] = word;
    }
    std::sort(sectors, sectors + count);
    return std::adjacent_find(sectors, sectors + count) == sectors + count;
}

BiffRecordReader::BiffRecordReader(BiffByteSource source, uint64_t stream_size, uint64_t file_sectors,
                                   bool skip_table_blocks)
    : source_(std::move(source)),
      stream_size_(stream_size),
      file_sectors_(file_sectors),
      skip_table_blocks_(skip_table_blocks) {}

size_t BiffRecordReader::next_block() {
    if (read_position_ == read_.size()) {
        read_.resize(BIFF_READ_SIZE);
        read_.resize(source_(read_.data(), read_.size()));
        read_position_ = 0;
    }
    const size_t got = std::min(sizeof block_, read_.size() - read_position_);
    std::copy_n(read_.data() + read_position_, got, block_);
    read_position_ += got;
    return got;
}

bool BiffRecordReader::refill() {
    for (;;) {
        size_t got = next_block();
        if (got == 0) return false;
        bool first = blocks_read_++ == 0;
        if (skip_table_blocks_ && !first && got == sizeof block_ && biff_is_table_block(block_, file_sectors_))
            continue;
        block_length_ = static_cast<size_t>(std::min<uint64_t>(got, stream_size_ - delivered_));
        block_position_ = 0;
        return block_length_ > 0;
    }
}

bool BiffRecordReader::take(unsigned char *out, size_t count) {
    while (count > 0) {
        if (block_position_ == block_length_ && (delivered_ >= stream_size_ || !refill())) return false;
        size_t piece = std::min(count, block_length_ - block_position_);
        std::copy_n(block_ + block_position_, piece, out);
        block_position_ += piece;
        delivered_ += piece;
        out += piece;
        count -= piece;
    }
    return true;
}

bool BiffRecordReader::next(biff::Record &record) {
    unsigned char header[kRecordHeader];
    uint64_t offset = delivered_;
    if (!take(header, sizeof header)) return false;
    uint16_t number = biff::u16(header);
    if (number == 0 && last_number_ == biff::EOF_RECORD) return false;
    uint16_t length = biff::u16(header + 2);
    data_.resize(length);
    if (!take(data_.data(), length)) return false;
    last_number_ = number;
    record.number = number;
    record.length = length;
    record.data = data_.data();
    record.offset = offset;
    return true;
}
