#include "encrypted/office_hash.h"

#include <nettle/nettle-meta.h>

#include <cstdint>
#include <vector>

OfficeHash office_md5() { return &nettle_md5; }
OfficeHash office_sha1() { return &nettle_sha1; }

OfficeHash office_hash_named(std::string_view name) {
    if (name == "SHA1" || name == "SHA-1") return &nettle_sha1;
    if (name == "SHA256") return &nettle_sha256;
    if (name == "SHA384") return &nettle_sha384;
    if (name == "SHA512") return &nettle_sha512;
    return nullptr;
}

size_t office_digest_size(OfficeHash hash) { return hash->digest_size; }

std::string office_digest(OfficeHash hash, std::initializer_list<std::string_view> parts) {
    std::vector<uint8_t> context(hash->context_size);
    hash->init(context.data());
    for (std::string_view part : parts)
        hash->update(context.data(), part.size(), reinterpret_cast<const uint8_t *>(part.data()));
    std::string digest(hash->digest_size, '\0');
    hash->digest(context.data(), hash->digest_size, reinterpret_cast<uint8_t *>(digest.data()));
    return digest;
}

std::string le32_bytes(uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
}
