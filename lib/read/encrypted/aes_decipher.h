// AES decryption through Nettle with a key of 16, 24 or 32 bytes, in the
// two chainings Office encryption uses: blocks one by one (standard
// encryption) and cipher block chaining (agile encryption).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <nettle/aes.h>

class AesDecipher {
public:
    static constexpr size_t BLOCK = AES_BLOCK_SIZE;

    // False when the key is of no AES length.
    bool set_key(std::string_view key);
    // Deciphers the whole blocks of `data` in place; a tail shorter than a
    // block is left as it is.
    void decipher_blocks(uint8_t *data, size_t length) const;
    // The same with cipher block chaining from `iv` (BLOCK bytes).
    void decipher_chained(const uint8_t *iv, uint8_t *data, size_t length) const;

private:
    union {
        aes128_ctx k128;
        aes192_ctx k192;
        aes256_ctx k256;
    } context_{};
    nettle_cipher_func *decrypt_ = nullptr;
};
