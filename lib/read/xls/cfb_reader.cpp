// Compound-file reader: header checks, the big-block table (with its
// extension sectors beyond the 109 numbers the header holds), the
// small-block table, the directory, path lookup and stream reading.
#include "xls/cfb_reader.h"

#include "mfile.h"
#include "result_codes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kHeaderSize = 512;
constexpr size_t kEntrySize = 128;
constexpr size_t kNameBytes = 64;
constexpr size_t kExtractPiece = 1024;

uint16_t le16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t le32(const unsigned char *p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

CfbHeader decode_header(const unsigned char *raw) {
    CfbHeader h;
    h.b_shift = le16(raw + 30);
    h.s_shift = le16(raw + 32);
    h.num_bat = le32(raw + 44);
    h.dirent_start = le32(raw + 48);
    h.threshold = le32(raw + 56);
    h.sbat_start = le32(raw + 60);
    h.num_sbat = le32(raw + 64);
    h.mbat_start = le32(raw + 68);
    h.num_mbat = le32(raw + 72);
    for (int i = 0; i < CFB_HEADER_BAT_BLOCKS; ++i) h.bat_blocks[i] = le32(raw + 76 + 4 * i);
    return h;
}

bool header_is_valid(const CfbHeader &h) {
    if (h.threshold != CFB_THRESHOLD || h.num_bat == 0) return false;
    if (h.num_bat > CFB_HEADER_BAT_BLOCKS &&
        h.num_bat > static_cast<uint64_t>(h.num_mbat) * 127 + CFB_HEADER_BAT_BLOCKS)
        return false;
    if (h.num_bat < CFB_HEADER_BAT_BLOCKS && h.num_mbat != 0) return false;
    return h.s_shift <= h.b_shift && h.b_shift >= 7 && h.b_shift <= 30;
}

CfbEntry decode_entry(int index, const unsigned char *p) {
    CfbEntry e;
    e.index = index;
    size_t name_length = std::min<size_t>(le16(p + 64), kNameBytes);
    for (size_t k = 0; k < name_length && p[k] != 0; k += 2) e.name += static_cast<char>(p[k]);
    if (!e.name.empty() && static_cast<unsigned char>(e.name[0]) < 32) e.name.erase(0, 1);
    e.type = p[66];
    e.previous = le32(p + 68);
    e.next = le32(p + 72);
    e.child = le32(p + 76);
    e.start = le32(p + 116);
    e.size = le32(p + 120);
    e.valid = (e.type == CFB_TYPE_STORAGE || e.type == CFB_TYPE_STREAM || e.type == CFB_TYPE_ROOT) &&
              le16(p + 64) >= 1;
    return e;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(static_cast<unsigned char>(a[i])) != upper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

void CfbAllocTable::decode(const std::vector<unsigned char> &raw) {
    entries.resize(raw.size() / 4);
    for (size_t i = 0; i < entries.size(); ++i) entries[i] = le32(raw.data() + 4 * i);
}

bool CfbAllocTable::follow(uint32_t start, std::vector<uint32_t> &chain) const {
    chain.clear();
    for (uint32_t block = start; block < entries.size(); block = entries[block]) {
        if (chain.size() >= entries.size()) return false;
        chain.push_back(block);
    }
    return true;
}

CfbStorage::CfbStorage(const char *path) : own_source_(std::make_unique<ByteSource>(path)) {
    source_ = own_source_.get();
    result_ = load();
}

CfbStorage::CfbStorage(ByteSource &source) : source_(&source) { result_ = load(); }

CfbStorage::~CfbStorage() { close(); }

void CfbStorage::close() {
    source_ = nullptr;
    own_source_.reset();
}

bool CfbStorage::read_at(uint64_t offset, void *buffer, size_t count) {
    return source_ && source_->read_exactly(offset, buffer, count);
}

// Reads whole big blocks, in order, into `out`.  The blocks must all lie
// inside the file, which also bounds the memory a damaged header can ask for.
bool CfbStorage::read_big_blocks(const std::vector<uint32_t> &blocks, std::vector<unsigned char> &out) {
    const uint64_t size = bat_.block_size;
    if (blocks.size() > file_size_ / size) return false;
    out.assign(blocks.size() * size, 0);
    for (size_t i = 0; i < blocks.size(); ++i)
        if (!read_at((static_cast<uint64_t>(blocks[i]) + 1) * size, out.data() + i * size, size)) return false;
    return true;
}

// The sector numbers of the big-block table: the header's first 109, then
// those of the chain of extension sectors, each of which ends with the
// number of the next one.
bool CfbStorage::load_bat_block_list(std::vector<uint32_t> &list) {
    const uint32_t num_bat = header_.num_bat;
    if (num_bat > file_size_ / bat_.block_size) return false;
    list.assign(header_.bat_blocks, header_.bat_blocks + std::min<uint32_t>(num_bat, CFB_HEADER_BAT_BLOCKS));
    if (num_bat <= CFB_HEADER_BAT_BLOCKS || header_.num_mbat == 0) return true;
    const size_t per_sector = bat_.block_size / 4 - 1;
    std::vector<unsigned char> sector(bat_.block_size);
    uint32_t next = header_.mbat_start;
    for (uint32_t m = 0; m < header_.num_mbat && list.size() < num_bat; ++m) {
        if (!read_at((static_cast<uint64_t>(next) + 1) * bat_.block_size, sector.data(), sector.size()))
            return false;
        for (size_t j = 0; j < per_sector && list.size() < num_bat; ++j) list.push_back(le32(&sector[4 * j]));
        next = le32(&sector[4 * per_sector]);
    }
    return true;
}

int CfbStorage::load() {
    if (!source_->ok()) return CFB_OPEN_FAILED;
    file_size_ = source_->size();
    unsigned char raw[kHeaderSize];
    if (!read_at(0, raw, sizeof raw)) return CFB_OPEN_FAILED;
    if (std::memcmp(raw, kSignature, sizeof kSignature) != 0) return CFB_NOT_COMPOUND;
    header_ = decode_header(raw);
    if (!header_is_valid(header_)) return CFB_DAMAGED;
    bat_.block_size = 1u << header_.b_shift;
    sbat_.block_size = 1u << header_.s_shift;

    std::vector<unsigned char> bytes;
    if (!load_bat_block_list(bat_block_list_) || !read_big_blocks(bat_block_list_, bytes)) return CFB_DAMAGED;
    bat_.decode(bytes);

    std::vector<uint32_t> chain;
    if (!bat_.follow(header_.sbat_start, chain) || !read_big_blocks(chain, bytes)) return CFB_DAMAGED;
    sbat_.decode(bytes);

    if (!bat_.follow(header_.dirent_start, chain) || !read_big_blocks(chain, bytes)) return CFB_DAMAGED;
    const size_t count = bytes.size() / kEntrySize;
    directory_.reserve(count);
    for (size_t i = 0; i < count; ++i)
        directory_.push_back(decode_entry(static_cast<int>(i), bytes.data() + i * kEntrySize));
    return CFB_OK;
}

// Walks the path from the root.  The children of an entry form a tree of
// siblings below its first child; each entry is visited at most once, so
// sibling links that point back cannot loop.
const CfbEntry *CfbStorage::entry(std::string_view path) const {
    if (result_ != CFB_OK || directory_.empty()) return nullptr;
    const CfbEntry *current = &directory_[0];
    while (!path.empty()) {
        size_t slash = path.find('/');
        std::string_view component = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (component.empty()) continue;
        const CfbEntry *found = nullptr;
        std::vector<bool> seen(directory_.size(), false);
        std::vector<uint32_t> pending{current->child};
        while (!pending.empty() && !found) {
            uint32_t index = pending.back();
            pending.pop_back();
            if (index >= directory_.size() || seen[index]) continue;
            seen[index] = true;
            const CfbEntry &e = directory_[index];
            if (e.valid && same_name(e.name, component)) found = &e;
            pending.push_back(e.next);
            pending.push_back(e.previous);
        }
        if (!found) return nullptr;
        current = found;
    }
    return current;
}

bool CfbStorage::has_small_blocks() const {
    return !sbat_.entries.empty() && !directory_.empty() && directory_[0].start < bat_.entries.size();
}

bool CfbStorage::load_root_chain() {
    if (!root_chain_loaded_) {
        if (directory_.empty() || !bat_.follow(directory_[0].start, root_chain_)) return false;
        root_chain_loaded_ = true;
    }
    return true;
}

size_t CfbStorage::read_chain(const std::vector<uint32_t> &chain, bool small_blocks, uint64_t position,
                              unsigned char *buffer, size_t count) {
    const uint64_t big = bat_.block_size;
    const uint64_t block_size = small_blocks ? sbat_.block_size : big;
    size_t done = 0;
    while (done < count) {
        uint64_t index = position / block_size;
        if (index >= chain.size()) break;
        uint64_t within = position % block_size;
        size_t piece = static_cast<size_t>(std::min<uint64_t>(block_size - within, count - done));
        uint64_t offset;
        if (small_blocks) {
            // A small block lies inside the root entry's data, which is a
            // chain of big blocks; a piece never crosses a big block because
            // small blocks are no larger and divide them evenly.
            uint64_t in_root = chain[index] * block_size + within;
            uint64_t root_index = in_root / big;
            if (root_index >= root_chain_.size()) break;
            offset = (root_chain_[root_index] + 1) * big + in_root % big;
        } else {
            offset = (chain[index] + 1) * big + within;
            // Blocks that follow each other in the file are read at once,
            // as far as the file reaches.
            for (uint64_t next = index + 1; piece < count - done && next < chain.size() &&
                                            chain[next] == chain[next - 1] + 1;
                 ++next) {
                const size_t longer = static_cast<size_t>(std::min<uint64_t>(piece + big, count - done));
                if (offset + longer > file_size_) break;
                piece = longer;
            }
        }
        if (!read_at(offset, buffer + done, piece)) break;
        done += piece;
        position += piece;
    }
    return done;
}

CfbStream::CfbStream(CfbStorage &storage, const CfbEntry &entry) : storage_(storage) { open(&entry); }

void CfbStream::open(const CfbEntry *entry) {
    failed_ = true;
    if (!entry || entry->type != CFB_TYPE_STREAM) return;
    // A short stream lives in small blocks.  Some writers leave it in big
    // blocks when the file has no small blocks at all; it is read from
    // there then.
    small_blocks_ = entry->size < storage_.header_.threshold && storage_.has_small_blocks();
    if (small_blocks_) {
        if (!storage_.load_root_chain() || !storage_.sbat_.follow(entry->start, chain_)) return;
    } else if (!storage_.bat_.follow(entry->start, chain_)) {
        return;
    }
    size_ = entry->size;
    failed_ = false;
}

size_t CfbStream::read(void *buffer, size_t max_length) {
    if (failed_ || position_ >= size_) return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(max_length, size_ - position_));
    size_t got = storage_.read_chain(chain_, small_blocks_, position_, static_cast<unsigned char *>(buffer), count);
    position_ += got;
    return got;
}

bool CfbStream::laid_out_in_order() const {
    if (failed_ || small_blocks_) return false;
    const std::vector<uint32_t> &table = storage_.bat_.entries;
    for (size_t i = 1; i < chain_.size(); ++i) {
        if (chain_[i] <= chain_[i - 1]) return false;
        for (uint32_t between = chain_[i - 1] + 1; between < chain_[i]; ++between)
            if (table[between] != CFB_BAT_SECTOR && table[between] != CFB_META_SECTOR) return false;
    }
    return true;
}

const CfbEntry *cfb_workbook_entry(CfbStorage &storage) {
    for (const char *name : {"Workbook", "Book"}) {
        const CfbEntry *e = storage.entry(name);
        if (e && e->type == CFB_TYPE_STREAM && !CfbStream(storage, *e).fail()) return e;
    }
    return nullptr;
}

int cfb_extract_workbook(const char *book_path, const char *memory_file_name) {
    CfbStorage storage(book_path);
    if (!storage.open()) return OZW_FAILED;
    const CfbEntry *found = cfb_workbook_entry(storage);
    if (!found) return OZW_FAILED;
    CfbStream stream(storage, *found);
    // An empty stream still leaves an empty memory file behind.
    MFILE *out = mopen(memory_file_name, "wb");
    if (out == nullptr) return OXLS_ERR_MEMORY;
    unsigned char piece[kExtractPiece];
    size_t got;
    int rc = 0;
    do {
        got = stream.read(piece, sizeof piece);
        if (got > 0 && mwrite(piece, 1, got, out) != got) rc = OXLS_ERR_MEMORY;
    } while (rc == 0 && got == sizeof piece);
    mclose(out);
    return rc;
}
