#include "section_cipher.h"

#include <nettle/aes.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kBlock = AES_BLOCK_SIZE;

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

SectionCipherKey orb_cipher_key(std::string_view key_text) {
    SectionCipherKey key{};
    for (size_t i = 0; i < key.size() && i < key_text.size() && key_text[i]; ++i)
        key[i] = static_cast<uint8_t>(key_text[i]);
    return key;
}

std::string orb_encipher_value(const SectionCipherKey &key, std::string_view value) {
    aes128_ctx aes;
    aes128_set_encrypt_key(&aes, key.data());
    std::string digits;
    digits.reserve((value.size() + kBlock - 1) / kBlock * 2 * kBlock);
    for (size_t start = 0; start < value.size(); start += kBlock) {
        uint8_t block[kBlock] = {};
        std::memcpy(block, value.data() + start, std::min(kBlock, value.size() - start));
        aes128_encrypt(&aes, kBlock, block, block);
        for (uint8_t byte : block) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", byte);
            digits += hex;
        }
    }
    return digits;
}

bool orb_decipher_value(const SectionCipherKey &key, std::string_view digits, std::string &value) {
    value.clear();
    if (digits.size() % (2 * kBlock) != 0) return false;
    aes128_ctx aes;
    aes128_set_decrypt_key(&aes, key.data());
    for (size_t start = 0; start < digits.size(); start += 2 * kBlock) {
        uint8_t block[kBlock];
        for (size_t i = 0; i < kBlock; ++i) {
            int high = hex_value(digits[start + 2 * i]);
            int low = hex_value(digits[start + 2 * i + 1]);
            if (high < 0 || low < 0) {
                value.clear();
                return false;
            }
            block[i] = static_cast<uint8_t>(high * 16 + low);
        }
        aes128_decrypt(&aes, kBlock, block, block);
        // Each block joins as a text: it ends at its first zero byte.
        value.append(reinterpret_cast<const char *>(block), strnlen(reinterpret_cast<const char *>(block), kBlock));
    }
    return true;
}
