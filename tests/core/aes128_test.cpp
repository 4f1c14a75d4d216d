// AES-128 against the FIPS-197 known answers, and the value cipher of
// section files.
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

TEST(Aes128, ValueCipherBlocksAndKeys) {
    // The key text is cut to 16 bytes and filled up with zero bytes.
    EXPECT_EQ(orb_cipher_key("0123456789abcdefXYZ"), orb_cipher_key("0123456789abcdef"));
    Aes128::Block short_key = orb_cipher_key("abc");
    EXPECT_EQ(short_key[2], 'c');
    EXPECT_EQ(short_key[3], 0);

    std::string value = "twenty bytes value!!";
    std::string digits = orb_encipher_value(short_key, value);
    EXPECT_EQ(digits.size(), 64u);
    EXPECT_EQ(digits.find_first_not_of("0123456789abcdef"), std::string::npos) << "lower-case hex";
    EXPECT_EQ(orb_encipher_value(short_key, std::string(16, 'x')).size(), 32u);
    EXPECT_EQ(orb_encipher_value(short_key, ""), "");
    // Equal blocks give equal digits: each block on its own.
    std::string twice = orb_encipher_value(short_key, std::string(32, 'x'));
    EXPECT_EQ(twice.substr(0, 32), twice.substr(32));

    std::string back;
    ASSERT_TRUE(orb_decipher_value(short_key, digits, back));
    EXPECT_EQ(back, value);
    ASSERT_TRUE(orb_decipher_value(short_key, digits.substr(0, 32), back));
    EXPECT_EQ(back, "twenty bytes val");
    EXPECT_NE(orb_decipher_value(orb_cipher_key("other"), digits, back) && back == value, true);

    EXPECT_FALSE(orb_decipher_value(short_key, digits.substr(0, 31), back));
    EXPECT_FALSE(orb_decipher_value(short_key, "zz" + digits.substr(2), back));
    EXPECT_EQ(back, "");
}

}  // namespace
