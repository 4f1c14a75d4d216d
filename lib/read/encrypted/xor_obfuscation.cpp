#include "encrypted/xor_obfuscation.h"

namespace {

constexpr size_t kLongestPassword = 15;

// The key's start for each password length.
constexpr uint16_t kInitialCode[kLongestPassword] = {0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C,
                                                     0x0E10, 0xF1CE, 0x313E, 0x1872, 0xE139,
                                                     0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3};
// What each of the 7 low bits of each character adds to the key, the last
// character's bits last.
constexpr uint16_t kXorMatrix[kLongestPassword * 7] = {
    0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B, 0xC6F7, 0x9DCF,
    0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375, 0x06EA, 0x0DD4, 0x1BA8, 0x3750,
    0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D, 0xAA7A, 0x44D5, 0x6F45, 0xDE8A, 0xAD35, 0x4A4B,
    0x9496, 0x390D, 0x721A, 0xEB23, 0xC667, 0x9CEF, 0x29FF, 0x53FE, 0xA7FC, 0x5FD9, 0x47D3, 0x8FA6, 0x0F6D,
    0x1EDA, 0x3DB4, 0x7B68, 0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD, 0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40,
    0x06A1, 0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483, 0x8906, 0x022D, 0x045A, 0x08B4, 0x1168, 0x76B4,
    0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C, 0x3730, 0x6E60, 0xDCC0, 0xA9A1, 0x4363, 0x86C6, 0x1DAD,
    0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373, 0x06E6, 0x0DCC, 0x1021, 0x2042, 0x4084, 0x8108, 0x1231, 0x2462,
    0x48C4};
// What fills the array after a password shorter than 15 characters.
constexpr unsigned char kPad[kLongestPassword] = {0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80,
                                                  0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00};

// A byte turned with a byte of the key, rotated right by one bit.
unsigned char xor_ror(unsigned char byte, unsigned char key) {
    const unsigned value = static_cast<unsigned char>(byte ^ key);
    return static_cast<unsigned char>((value >> 1) | (value << 7));
}

}  // namespace

std::string xor_password(const std::string &utf16le) {
    std::string narrow;
    for (size_t i = 0; i + 1 < utf16le.size() && narrow.size() < kLongestPassword; i += 2) {
        const char low = utf16le[i];
        narrow.push_back(low != 0 ? low : utf16le[i + 1]);
    }
    return narrow;
}

uint16_t xor_key(const std::string &password) {
    if (password.empty() || password.size() > kLongestPassword) return 0;
    uint16_t key = kInitialCode[password.size() - 1];
    int element = static_cast<int>(kLongestPassword * 7) - 1;
    for (size_t i = password.size(); i-- > 0;) {
        unsigned char c = static_cast<unsigned char>(password[i]);
        for (int bit = 0; bit < 7; ++bit, --element) {
            if (c & 0x40) key ^= kXorMatrix[element];
            c = static_cast<unsigned char>(c << 1);
        }
    }
    return key;
}

uint16_t xor_verifier(const std::string &password) {
    // The bytes are taken from the last to the first, then the length.
    uint16_t verifier = 0;
    const auto take = [&verifier](unsigned char byte) {
        const uint16_t carried = (verifier & 0x4000) ? 1 : 0;
        verifier = static_cast<uint16_t>((((verifier << 1) & 0x7FFF) | carried) ^ byte);
    };
    for (size_t i = password.size(); i-- > 0;) take(static_cast<unsigned char>(password[i]));
    take(static_cast<unsigned char>(password.size()));
    return static_cast<uint16_t>(verifier ^ 0xCE4B);
}

void xor_array(const std::string &password, unsigned char array[16]) {
    const uint16_t key = xor_key(password);
    const unsigned char high = static_cast<unsigned char>(key >> 8), low = static_cast<unsigned char>(key);
    const auto at = [&password](size_t i) { return static_cast<unsigned char>(password[i]); };
    for (int i = 0; i < 16; ++i) array[i] = 0;
    size_t index = password.size();
    // The password's bytes in pairs, from the end: the high key byte on the
    // second of each pair, the low one on the first.
    if (index % 2 == 1) {
        array[index] = xor_ror(kPad[0], high);
        --index;
        array[index] = xor_ror(at(password.size() - 1), low);
    }
    while (index > 0) {
        --index;
        array[index] = xor_ror(at(index), high);
        --index;
        array[index] = xor_ror(at(index), low);
    }
    // Then the pad, from the array's end back to the password.
    // An even length leaves the pad's first byte to the last pair.
    index = 15;
    for (int pad = static_cast<int>(kLongestPassword - password.size()); pad > 0; pad -= 2) {
        array[index--] = xor_ror(kPad[pad], high);
        array[index--] = xor_ror(kPad[pad - 1], low);
    }
}
