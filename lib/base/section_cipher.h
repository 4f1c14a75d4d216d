// The value cipher of section files: AES with a 128-bit key in electronic
// code book mode, the last block filled up with zero bytes, the blocks
// written as lower-case hexadecimal digits.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using SectionCipherKey = std::array<uint8_t, 16>;

// The cipher key of a key text: its first 16 bytes up to a zero byte,
// filled up with zero bytes.
SectionCipherKey orb_cipher_key(std::string_view key_text);

// Enciphers a value: 32 hexadecimal digits per started 16-byte block.
std::string orb_encipher_value(const SectionCipherKey &key, std::string_view value);

// Deciphers hexadecimal digits back into the value; the zero bytes that
// filled up a block are dropped.  False (and an empty value) when the text
// is not whole blocks of hexadecimal digits.
bool orb_decipher_value(const SectionCipherKey &key, std::string_view digits, std::string &value);
