// The direct scan of a compound file for its workbook stream.
#include "xls/biff_direct_scan.h"

#include "messages.h"
#include "result_codes.h"
#include "xls/biff_records.h"

#include <cstring>

namespace {

constexpr size_t kScanBlock = 128;
constexpr size_t kReadChunk = kScanBlock * 512;
constexpr uint64_t kSectorSize = 512;

// A directory entry named "Workbook" from its third character on: "rkbook"
// in UTF-16LE followed by the terminator, so the name must end there.
constexpr size_t kNameCompareOffset = 4;
constexpr unsigned char kNameTail[16] = {'r', 0, 'k', 0, 'b', 0, 'o', 0, 'o', 0, 'k', 0, 0, 0, 0, 0};

// The header checks, each with the text it reports.
const char *header_fault(const unsigned char *header) {
    if (header[28] != 0xFE || header[29] != 0xFF) return "Invalid Byte Order";
    if (header[30] != 0x09 || header[31] != 0x00) return "Invalid Sector Size";
    if (header[32] != 0x06 || header[33] != 0x00) return "Invalid Short-sector Size";
    return nullptr;
}

}  // namespace

void biff_push_message(XLS_BOOK *book, int number, const char *detail) {
    OzwWork *work = ozw_work(book);
    if (!work) return;
    orb_set_message_no(work, number);
    orb_push_message(work, detail);
}

int biff_scan_workbook_streams(XLS_BOOK *book, ByteSource &source, std::vector<BiffStreamSpan> &spans) {
    spans.clear();
    std::vector<unsigned char> chunk(kReadChunk);
    uint64_t block_index = 0;
    uint64_t offset = 0;
    int rc = 0;
    for (;;) {
        const size_t got = source.read_at(offset, chunk.data(), chunk.size());
        offset += got;
        if (block_index == 0) {
            // A file too short for a header fails the first check.
            static const unsigned char kEmpty[kScanBlock] = {};
            const char *fault = header_fault(got >= kScanBlock ? chunk.data() : kEmpty);
            if (fault) {
                biff_push_message(book, 4000, fault);
                rc = OXLS_ERR_UNSUPPORTED;
                break;
            }
        }
        for (size_t at = 0; at + kScanBlock <= got; at += kScanBlock, ++block_index) {
            if (block_index == 0) continue;
            const unsigned char *entry = chunk.data() + at;
            if (std::memcmp(entry + kNameCompareOffset, kNameTail, sizeof kNameTail) != 0) continue;
            if (spans.size() == BIFF_MAX_SCANNED_STREAMS) {
                biff_push_message(book, 4000, "WORKBOOK");
                rc = OZW_FAILED;
                break;
            }
            spans.push_back({(static_cast<uint64_t>(biff::u32(entry + 116)) + 1) * kSectorSize, biff::u32(entry + 120)});
        }
        if (rc != 0 || got < chunk.size()) break;
    }
    if (rc != 0) spans.clear();
    return rc;
}
