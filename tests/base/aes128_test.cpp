// AES-128 against the FIPS-197 known answers.
#include "aes128.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Aes128::Block from_hex(const char *hex) {
    Aes128::Block block{};
    for (size_t i = 0; i < 16; ++i) block[i] = static_cast<uint8_t>(std::stoi(std::string(hex + 2 * i, 2), nullptr, 16));
    return block;
}

TEST(Aes128, KnownAnswersBothWays) {
    struct Vector { const char *key, *plain, *cipher; } vectors[] = {
        {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734", "3925841d02dc09fbdc118597196a0b32"},
    };
    for (const Vector &v : vectors) {
        Aes128 aes(from_hex(v.key));
        EXPECT_EQ(aes.encrypt(from_hex(v.plain)), from_hex(v.cipher)) << v.key;
        EXPECT_EQ(aes.decrypt(from_hex(v.cipher)), from_hex(v.plain)) << v.key;
    }
}

}  // namespace
