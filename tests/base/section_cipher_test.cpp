// The section-file value cipher keeps the bytes it wrote before it moved
// onto Nettle's AES: values enciphered by the earlier build (whose AES
// passed the FIPS-197 known answers) come out the same both ways.
#include "section_cipher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SectionCipher, EnciphersAsBeforeAndBack) {
    struct Case { const char *key, *value, *digits; } cases[] = {
        {"zscan-key", "C:\\Users\\名前\\Books", "fd50e22e29b8dc5de3e366c7ce0c321564d468ea0666d063ec9c636e7ebb9c42"},
        {"zscan-key", "exactly16bytes!!", "ea61d22ef827f0309ae283c2048b58ca"},
        {"0123456789abcdefXYZ", "a", "34ccdc0f468ddfff30cc7f0298f9927a"},
        {"", "C:\\Users\\名前\\Books", "70f7f91d513d7cf83c4d6aeb872e95b15d32dfbe82178b101fb35da660d56b1a"},
        {"zscan-key", "", ""},
    };
    for (const Case &c : cases) {
        const SectionCipherKey key = orb_cipher_key(c.key);
        EXPECT_EQ(orb_encipher_value(key, c.value), c.digits) << c.key << " " << c.value;
        std::string back;
        EXPECT_TRUE(orb_decipher_value(key, c.digits, back));
        EXPECT_EQ(back, c.value);
    }
}

}  // namespace
