// The decryption headers refuse what they cannot use, each in the way the
// caller acts on: a damaged header (-4 for a package, DAMAGED for FILEPASS),
// an encryption the library does not decipher or a password it does not
// know (-910, NO_PASSWORD).  The kept fuzz seeds hold the real headers of
// the default-password fixtures.
#include "encrypted/book_passwords.h"
#include "encrypted/encrypted_package.h"
#include "oxls.h"
#include "xls/biff_decryptor.h"
#include "xls_test_books.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using xlstest::le16;
using xlstest::le32;

std::string seed(const char *name) {
    return read_file(std::string(ZS_TEST_DATA_DIR) + "/fuzz_regressions/encryption/" + name);
}

// A standard encryption header naming `algorithm`, with a verifier.
std::string standard_info(unsigned algorithm, unsigned header_size = 32) {
    std::string header = le32(0) + le32(0) + le32(algorithm) + le32(0x8004) + le32(128) + le32(0x18) + le32(0) + le32(0);
    header.resize(header_size, '\0');
    return le16(4) + le16(2) + le32(0x24) + le32(header_size) + header + le32(16) + std::string(16 + 16, 'v') +
           le32(20) + std::string(32, 'h');
}

std::string agile_info(const std::string &xml) { return le16(4) + le16(4) + le32(0x40) + xml; }

TEST(EncryptionHeaders, PackagesAreRefusedByWhatIsWrong) {
    const std::string agile = seed("agile_default");
    ASSERT_GT(agile.size(), 2u) << "kept fuzz seeds missing";
    const size_t agile_info_size = static_cast<unsigned char>(agile[0]) | static_cast<unsigned char>(agile[1]) << 8;
    const std::string agile_real = agile.substr(2, agile_info_size), agile_stream = agile.substr(2 + agile_info_size);
    const std::string key_data = "<keyData saltValue=\"AAAAAAAAAAAAAAAAAAAAAA==\" cipherAlgorithm=\"AES\"/>";
    const struct {
        const char *what;
        std::string info, stream;
        std::vector<std::string> passwords;
        int rc;
    } cases[] = {
        {"no header", "", agile_stream, {}, OXLS_ERR_UNSUPPORTED},
        {"unknown version", le16(9) + le16(9) + le32(0), agile_stream, {}, OXLS_ERR_UNSUPPORTED},
        {"extensible encryption", le16(3) + le16(3) + le32(0), agile_stream, {}, OXLS_ERR_XLS_UNREADABLE},
        {"standard under RC4", standard_info(0x6801), agile_stream, {}, OXLS_ERR_XLS_UNREADABLE},
        {"standard header past its stream", standard_info(0x660E, 32).substr(0, 40), agile_stream, {}, OXLS_ERR_UNSUPPORTED},
        {"agile without key data", agile_info("<encryption/>"), agile_stream, {}, OXLS_ERR_UNSUPPORTED},
        {"agile for certificates only", agile_info(key_data), agile_stream, {}, OXLS_ERR_XLS_UNREADABLE},
        {"agile package cut short", agile_real, agile_stream.substr(0, 4), {}, OXLS_ERR_UNSUPPORTED},
        {"agile package shorter than it says", agile_real, agile_stream.substr(0, 100), {}, OXLS_ERR_UNSUPPORTED},
    };
    for (const auto &c : cases) {
        std::string stream = c.stream;
        EXPECT_EQ(orb_decrypt_package(c.info, c.passwords, stream), c.rc) << c.what;
    }
}

TEST(EncryptionHeaders, FilepassRecordsAreRefusedByWhatIsWrong) {
    const std::string rc4 = seed("rc4_filepass");
    ASSERT_GT(rc4.size(), 54u) << "kept fuzz seeds missing";
    const std::string cryptoapi = le16(1) + le16(4) + le16(2) + le32(0) + le32(32);
    const struct {
        const char *what;
        std::string body;
        std::vector<std::string> passwords;
        BiffDecryptor::Result result;
    } cases[] = {
        {"cut short", le16(1), {}, BiffDecryptor::DAMAGED},
        {"XOR obfuscation, no password", le16(0) + le32(0x12345678), {}, BiffDecryptor::NO_PASSWORD},
        {"XOR obfuscation cut short", le16(0) + le16(0x514A), {}, BiffDecryptor::DAMAGED},
        // The key and verifier a book obfuscated under "abc" holds.
        {"XOR obfuscation, its password", le16(0) + le16(0x514A) + le16(0xCC1A), {utf16le_password("abc")},
         BiffDecryptor::OPENED},
        {"XOR obfuscation, another password", le16(0) + le16(0x514A) + le16(0xCC1A), {utf16le_password("abd")},
         BiffDecryptor::NO_PASSWORD},
        {"RC4 without its verifier", rc4.substr(0, 30), {}, BiffDecryptor::DAMAGED},
        {"unknown RC4 version", le16(1) + le16(7) + le16(7) + std::string(60, '\0'), {}, BiffDecryptor::DAMAGED},
        {"CryptoAPI under AES", cryptoapi + le32(0) + le32(0) + le32(0x660E) + std::string(80, '\0'), {},
         BiffDecryptor::NO_PASSWORD},
        {"CryptoAPI header past the record", le16(1) + le16(4) + le16(2) + le32(0) + le32(4000), {}, BiffDecryptor::DAMAGED},
    };
    for (const auto &c : cases) {
        biff::Record filepass;
        filepass.number = biff::FILEPASS;
        filepass.length = static_cast<uint16_t>(c.body.size());
        filepass.data = reinterpret_cast<const unsigned char *>(c.body.data());
        BiffDecryptor decryptor;
        EXPECT_EQ(decryptor.open(filepass, c.passwords), c.result) << c.what;
        EXPECT_EQ(decryptor.active(), c.result == BiffDecryptor::OPENED) << c.what;
    }
}

TEST(EncryptionHeaders, PasswordsBecomeUtf16) {
    EXPECT_EQ(utf16le_password("\xF0\x9F\x98\x80"), std::string("\x3D\xD8\x00\xDE", 4)) << "a surrogate pair";
    EXPECT_EQ(utf16le_password("\xE9x"), std::string("\xE9\0x\0", 4)) << "a stray byte stands for itself";
}

}  // namespace
