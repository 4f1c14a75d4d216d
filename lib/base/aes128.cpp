// AES-128 and the section-file value cipher.
#include "aes128.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint8_t gf_mul(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    while (b) {
        if (b & 1) product ^= a;
        bool carry = a & 0x80;
        a = static_cast<uint8_t>(a << 1);
        if (carry) a ^= 0x1B;
        b >>= 1;
    }
    return product;
}

constexpr uint8_t rotate_left(uint8_t value, int bits) {
    return static_cast<uint8_t>((value << bits) | (value >> (8 - bits)));
}

// The substitution box: the multiplicative inverse followed by the affine
// transform, computed rather than typed in.
constexpr std::array<uint8_t, 256> make_sbox() {
    std::array<uint8_t, 256> box{};
    for (int x = 0; x < 256; ++x) {
        uint8_t inverse = 0;
        for (int y = 1; x != 0 && y < 256; ++y)
            if (gf_mul(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1) {
                inverse = static_cast<uint8_t>(y);
                break;
            }
        box[static_cast<size_t>(x)] = static_cast<uint8_t>(inverse ^ rotate_left(inverse, 1) ^ rotate_left(inverse, 2) ^
                                                           rotate_left(inverse, 3) ^ rotate_left(inverse, 4) ^ 0x63);
    }
    return box;
}

constexpr std::array<uint8_t, 256> kSbox = make_sbox();

constexpr std::array<uint8_t, 256> make_inverse_sbox() {
    std::array<uint8_t, 256> box{};
    for (int x = 0; x < 256; ++x) box[kSbox[static_cast<size_t>(x)]] = static_cast<uint8_t>(x);
    return box;
}

constexpr std::array<uint8_t, 256> kInverseSbox = make_inverse_sbox();
static_assert(kSbox[0x00] == 0x63 && kSbox[0x53] == 0xED, "S-box values of FIPS-197");

using Block = Aes128::Block;

// The state is kept column by column, as the bytes of a block come.
void add_round_key(Block &state, const Block &key) {
    for (size_t i = 0; i < 16; ++i) state[i] ^= key[i];
}

void substitute(Block &state, const std::array<uint8_t, 256> &box) {
    for (uint8_t &byte : state) byte = box[byte];
}

// Row r moves r places to the left (right when inverse).
void shift_rows(Block &state, bool inverse) {
    Block copy = state;
    for (size_t row = 1; row < 4; ++row)
        for (size_t column = 0; column < 4; ++column) {
            size_t from = inverse ? (column + 4 - row) % 4 : (column + row) % 4;
            state[column * 4 + row] = copy[from * 4 + row];
        }
}

void mix_columns(Block &state, bool inverse) {
    const uint8_t m[4] = {static_cast<uint8_t>(inverse ? 0x0E : 0x02), static_cast<uint8_t>(inverse ? 0x0B : 0x03),
                          static_cast<uint8_t>(inverse ? 0x0D : 0x01), static_cast<uint8_t>(inverse ? 0x09 : 0x01)};
    for (size_t column = 0; column < 4; ++column) {
        uint8_t *c = &state[column * 4];
        uint8_t a[4] = {c[0], c[1], c[2], c[3]};
        for (size_t row = 0; row < 4; ++row)
            c[row] = static_cast<uint8_t>(gf_mul(a[row], m[0]) ^ gf_mul(a[(row + 1) % 4], m[1]) ^
                                          gf_mul(a[(row + 2) % 4], m[2]) ^ gf_mul(a[(row + 3) % 4], m[3]));
    }
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Aes128::Aes128(const Block &key) {
    round_keys_[0] = key;
    uint8_t round_constant = 1;
    for (size_t round = 1; round < round_keys_.size(); ++round) {
        const Block &previous = round_keys_[round - 1];
        Block &next = round_keys_[round];
        // First word: the last word rotated, substituted and mixed with the constant.
        uint8_t word[4] = {kSbox[previous[13]], kSbox[previous[14]], kSbox[previous[15]], kSbox[previous[12]]};
        word[0] ^= round_constant;
        round_constant = gf_mul(round_constant, 2);
        for (size_t i = 0; i < 4; ++i) next[i] = previous[i] ^ word[i];
        for (size_t i = 4; i < 16; ++i) next[i] = previous[i] ^ next[i - 4];
    }
}

Aes128::Block Aes128::encrypt(const Block &plain) const {
    Block state = plain;
    add_round_key(state, round_keys_[0]);
    for (size_t round = 1; round < 10; ++round) {
        substitute(state, kSbox);
        shift_rows(state, false);
        mix_columns(state, false);
        add_round_key(state, round_keys_[round]);
    }
    substitute(state, kSbox);
    shift_rows(state, false);
    add_round_key(state, round_keys_[10]);
    return state;
}

Aes128::Block Aes128::decrypt(const Block &cipher) const {
    Block state = cipher;
    add_round_key(state, round_keys_[10]);
    for (size_t round = 9; round >= 1; --round) {
        shift_rows(state, true);
        substitute(state, kInverseSbox);
        add_round_key(state, round_keys_[round]);
        mix_columns(state, true);
    }
    shift_rows(state, true);
    substitute(state, kInverseSbox);
    add_round_key(state, round_keys_[0]);
    return state;
}

Aes128::Block orb_cipher_key(std::string_view key_text) {
    Block key{};
    for (size_t i = 0; i < key.size() && i < key_text.size() && key_text[i]; ++i)
        key[i] = static_cast<uint8_t>(key_text[i]);
    return key;
}

std::string orb_encipher_value(const Block &key, std::string_view value) {
    Aes128 aes(key);
    std::string digits;
    digits.reserve((value.size() + 15) / 16 * 32);
    for (size_t start = 0; start < value.size(); start += 16) {
        Block plain{};
        std::memcpy(plain.data(), value.data() + start, std::min<size_t>(16, value.size() - start));
        for (uint8_t byte : aes.encrypt(plain)) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", byte);
            digits += hex;
        }
    }
    return digits;
}

bool orb_decipher_value(const Block &key, std::string_view digits, std::string &value) {
    value.clear();
    if (digits.size() % 32 != 0) return false;
    Aes128 aes(key);
    for (size_t start = 0; start < digits.size(); start += 32) {
        Block cipher{};
        for (size_t i = 0; i < 16; ++i) {
            int high = hex_value(digits[start + 2 * i]);
            int low = hex_value(digits[start + 2 * i + 1]);
            if (high < 0 || low < 0) {
                value.clear();
                return false;
            }
            cipher[i] = static_cast<uint8_t>(high * 16 + low);
        }
        Block plain = aes.decrypt(cipher);
        // Each block joins as a text: it ends at its first zero byte.
        value.append(reinterpret_cast<const char *>(plain.data()), strnlen(reinterpret_cast<const char *>(plain.data()), 16));
    }
    return true;
}
