// XOR obfuscation, the weakest protection an Excel 97-2003 book's FILEPASS
// record names: a 16-bit key and a 16-bit verifier made from a password of
// at most 15 single-byte characters, and a 16-byte array, made from both,
// that each byte of record data is turned with.
#pragma once

#include <cstdint>
#include <string>

// The single-byte form of a UTF-16LE password: each character's low byte,
// or its high byte where the low one is 0, cut to 15 characters.
std::string xor_password(const std::string &utf16le);
// The key and the verifier a FILEPASS record holds for `password`.
uint16_t xor_key(const std::string &password);
uint16_t xor_verifier(const std::string &password);
// The array record data is turned with.
void xor_array(const std::string &password, unsigned char array[16]);
// A byte of record data back in clear, from the array's byte for its place.
inline unsigned char xor_unturn(unsigned char byte, unsigned char array_byte) {
    const unsigned value = static_cast<unsigned char>(byte ^ array_byte);
    return static_cast<unsigned char>((value >> 5) | (value << 3));
}
