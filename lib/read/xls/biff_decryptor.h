// Deciphering an Excel 97-2003 workbook stream that its FILEPASS record
// says is encrypted with RC4, either as Excel 97 does (MD5 key derivation)
// or through CryptoAPI (SHA-1), or obfuscated with XOR.  RC4 enciphers the
// stream in blocks of 1024 bytes, each with a key of its own, counted from
// the stream's start: record headers are left in clear but use up key
// stream.  XOR turns each byte of record data with a 16-byte array made
// from the password.  Under both a few records are stored in clear.
#pragma once

#include "xls/biff_records.h"

#include <nettle/arcfour.h>

#include <cstdint>
#include <string>
#include <vector>

class BiffDecryptor {
public:
    enum Result {
        OPENED = 0,        // a password opened the stream
        NO_PASSWORD = 1,   // no password opens it, or the encryption is one the reader does not decipher
        DAMAGED = 2,       // the FILEPASS record is cut short or out of range
    };

    // Reads the FILEPASS record and checks `passwords` (UTF-16LE bytes) in
    // turn against its verifier.
    Result open(const biff::Record &filepass, const std::vector<std::string> &passwords);
    bool active() const { return active_; }
    // Deciphers the data of a record read after FILEPASS: the record then
    // points at a deciphered copy.
    void decipher(biff::Record &record);

private:
    bool try_password(const std::string &password);
    bool try_xor_password(const std::string &password);
    // Keys the cipher for the block holding stream position `position` and
    // runs its key stream on to that position.
    void seek(uint64_t position);
    std::string block_key(uint32_t block) const;

    bool active_ = false;
    bool cryptoapi_ = false;
    bool xor_ = false;
    uint16_t xor_key_ = 0, xor_verifier_ = 0;
    unsigned char xor_array_[16] = {};
    size_t key_bytes_ = 16;
    std::string salt_, verifier_, verifier_hash_;
    std::string base_;   // what each block's key is hashed from
    arcfour_ctx rc4_{};
    uint64_t keyed_block_ = UINT64_MAX;   // the block the cipher is keyed for
    uint64_t position_ = 0;               // the stream position its key stream stands at
    std::vector<unsigned char> data_;
};
