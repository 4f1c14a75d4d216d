// The library's debug log: a text file shared by every book and thread of
// the process, opened and closed again for each line.
#include "messages.h"

#include "platform/platform.h"
#include "result_codes.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace {

constexpr int kHexBytesPerLine = 16;

}  // namespace

int orb_log_line(const char *text) {
    FILE *log = std::fopen(zplat::debug_log_path().c_str(), "a");
    if (!log) return OXLS_ERR_OPEN;
    std::fprintf(log, "%s\n", text ? text : "");
    std::fclose(log);
    return 0;
}

void orb_log_messages(const OzwWork *work) {
    if (!work || work->message_count <= 0) return;
    orb_log_line("error message >>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>");
    for (int i = 0; i < work->message_count; ++i) orb_log_line(work->messages[i]);
    orb_log_line("error message <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<");
}

void orb_log_hex(const void *data, int length) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (int offset = 0; bytes && offset < length; offset += kHexBytesPerLine) {
        char line[128];
        int used = std::snprintf(line, sizeof line, "%08x  ", static_cast<unsigned>(offset));
        std::string shown;
        for (int i = 0; i < kHexBytesPerLine; ++i) {
            if (offset + i < length) {
                unsigned char byte = bytes[offset + i];
                used += std::snprintf(line + used, sizeof line - static_cast<size_t>(used), "%02X ", byte);
                shown += byte == 0 || byte == '\n' || byte >= 0x80 || !std::isprint(byte) ? '.' : static_cast<char>(byte);
            } else {
                used += std::snprintf(line + used, sizeof line - static_cast<size_t>(used), "   ");
            }
        }
        orb_log_line((std::string(line) + "  " + shown).c_str());
    }
}

int orb_log_reset() { return zplat::delete_file(zplat::debug_log_path().c_str()); }

void orb_time_stamp(char out[20]) {
    std::tm now = zplat::local_time();
    auto field = [](int value, unsigned limit) { return static_cast<unsigned>(value) % limit; };
    std::snprintf(out, 20, "%04u/%02u/%02u %02u:%02u:%02u", field(now.tm_year + 1900, 10000),
                  field(now.tm_mon + 1, 100), field(now.tm_mday, 100), field(now.tm_hour, 100),
                  field(now.tm_min, 100), field(now.tm_sec, 100));
}
