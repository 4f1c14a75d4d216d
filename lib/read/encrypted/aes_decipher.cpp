#include "encrypted/aes_decipher.h"

#include <nettle/cbc.h>

#include <cstring>

namespace {

// Nettle's deciphering functions in the form its chaining takes.
void decrypt128(const void *context, size_t length, uint8_t *out, const uint8_t *in) {
    aes128_decrypt(static_cast<const aes128_ctx *>(context), length, out, in);
}
void decrypt192(const void *context, size_t length, uint8_t *out, const uint8_t *in) {
    aes192_decrypt(static_cast<const aes192_ctx *>(context), length, out, in);
}
void decrypt256(const void *context, size_t length, uint8_t *out, const uint8_t *in) {
    aes256_decrypt(static_cast<const aes256_ctx *>(context), length, out, in);
}

}  // namespace

bool AesDecipher::set_key(std::string_view key) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(key.data());
    switch (key.size()) {
        case AES128_KEY_SIZE:
            aes128_set_decrypt_key(&context_.k128, bytes);
            decrypt_ = decrypt128;
            return true;
        case AES192_KEY_SIZE:
            aes192_set_decrypt_key(&context_.k192, bytes);
            decrypt_ = decrypt192;
            return true;
        case AES256_KEY_SIZE:
            aes256_set_decrypt_key(&context_.k256, bytes);
            decrypt_ = decrypt256;
            return true;
        default: return false;
    }
}

void AesDecipher::decipher_blocks(uint8_t *data, size_t length) const {
    decrypt_(&context_, length - length % BLOCK, data, data);
}

void AesDecipher::decipher_chained(const uint8_t *iv, uint8_t *data, size_t length) const {
    uint8_t chain[BLOCK];
    std::memcpy(chain, iv, BLOCK);
    cbc_decrypt(&context_, decrypt_, BLOCK, chain, length - length % BLOCK, data, data);
}
