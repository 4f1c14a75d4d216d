// AES with a 128-bit key (FIPS-197), one 16-byte block at a time, and the
// value cipher of section files built on it: electronic code book, the
// last block filled up with zero bytes, blocks written as lower-case hex.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class Aes128 {
public:
    using Block = std::array<uint8_t, 16>;

    explicit Aes128(const Block &key);
    Block encrypt(const Block &plain) const;
    Block decrypt(const Block &cipher) const;

private:
    std::array<Block, 11> round_keys_;
};

// The cipher key of a key text: its first 16 bytes, filled up with zero bytes.
Aes128::Block orb_cipher_key(std::string_view key_text);

// Enciphers a value: 32 hexadecimal digits per started 16-byte block.
std::string orb_encipher_value(const Aes128::Block &key, std::string_view value);

// Deciphers hexadecimal digits back into the value; the zero bytes that
// filled up a block are dropped.  False (and an empty value) when the text
// is not whole blocks of hexadecimal digits.
bool orb_decipher_value(const Aes128::Block &key, std::string_view digits, std::string &value);
