#include "encrypted/encrypted_package.h"

#include "encrypted/aes_decipher.h"
#include "encrypted/book_passwords.h"
#include "encrypted/encryption_info.h"
#include "encrypted/package_key.h"
#include "result_codes.h"
#include "xls/cfb_reader.h"

#include <algorithm>
#include <cstdint>

namespace {

// The stream begins with the package's size in 8 bytes.
constexpr size_t kSizeField = 8;
// Agile encryption enciphers the package in segments of this many bytes,
// each chained from an IV of its own.
constexpr size_t kSegment = 4096;
// An EncryptionInfo stream is a few kilobytes; a larger one is no such
// stream.
constexpr uint32_t kMaxInfoSize = 1 << 20;

uint64_t le64(std::string_view bytes) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

void decipher(const PackageEncryption &encryption, const std::string &key, uint8_t *data, size_t length) {
    AesDecipher aes;
    aes.set_key(key);
    if (!encryption.agile) {
        aes.decipher_blocks(data, length);
        return;
    }
    for (size_t start = 0, segment = 0; start < length; start += kSegment, ++segment) {
        std::string iv = office_digest(encryption.data_hash, {encryption.data_salt, le32_bytes(static_cast<uint32_t>(segment))});
        iv.resize(AesDecipher::BLOCK, '\x36');
        aes.decipher_chained(reinterpret_cast<const uint8_t *>(iv.data()), data + start, std::min(kSegment, length - start));
    }
}

// The whole stream of the named entry; false when there is none or it
// cannot be read to its end.
bool read_stream(CfbStorage &storage, const char *name, uint32_t max_size, std::string &bytes) {
    const CfbEntry *entry = storage.entry(name);
    if (!entry || entry->is_directory() || entry->size > max_size) return false;
    CfbStream stream(storage, *entry);
    if (stream.fail()) return false;
    bytes.assign(stream.size(), '\0');
    return stream.read(bytes.data(), bytes.size()) == bytes.size();
}

}  // namespace

int orb_decrypt_package(std::string_view info, const std::vector<std::string> &passwords, std::string &stream) {
    PackageEncryption encryption;
    switch (read_encryption_info(info, encryption)) {
        case ENCRYPTION_READ: break;
        case ENCRYPTION_UNSUPPORTED: return OXLS_ERR_XLS_UNREADABLE;
        case ENCRYPTION_DAMAGED: return OXLS_ERR_UNSUPPORTED;
    }
    // Cut short, or shorter than the size it gives.
    if (stream.size() < kSizeField || le64(stream) > stream.size() - kSizeField) return OXLS_ERR_UNSUPPORTED;
    const uint64_t size = le64(stream);
    std::string key;
    for (const std::string &password : passwords) {
        if (!package_key(encryption, password, key)) continue;
        stream.erase(0, kSizeField);
        decipher(encryption, key, reinterpret_cast<uint8_t *>(stream.data()), stream.size());
        stream.resize(size);
        return 0;
    }
    return OXLS_ERR_XLS_UNREADABLE;
}

int ozw_read_encrypted_package(ByteSource &file, const std::vector<std::string> &given, std::string &package) {
    CfbStorage storage(file);
    std::string info;
    // A stream longer than the file is damaged: what is held stays within
    // the file's size.
    const uint32_t max_package = static_cast<uint32_t>(std::min<uint64_t>(file.size(), UINT32_MAX));
    if (!storage.open() || !read_stream(storage, "EncryptionInfo", kMaxInfoSize, info) ||
        !read_stream(storage, "EncryptedPackage", max_package, package))
        return OXLS_ERR_UNSUPPORTED;
    return orb_decrypt_package(info, book_passwords_to_try(given), package);
}
