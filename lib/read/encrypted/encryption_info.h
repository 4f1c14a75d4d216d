// The EncryptionInfo stream of an encrypted package: which encryption the
// package is under and what its password's key is checked against.  Two
// encryptions are read: standard (AES in blocks, SHA-1 key derivation) and
// agile (AES with cipher block chaining, the hash and spin count the
// stream's XML names).
#pragma once

#include "encrypted/office_hash.h"

#include <cstdint>
#include <string>
#include <string_view>

struct PackageEncryption {
    bool agile = false;
    // The password's key derivation: its hash, salt, rounds and key length.
    OfficeHash key_hash = nullptr;
    std::string salt;
    uint32_t spin_count = 0;
    size_t key_bytes = 0;
    // What the password's key is checked with, enciphered.
    std::string encrypted_verifier;
    std::string encrypted_verifier_hash;
    // Agile only: the package key enciphered with the password's key, and
    // how the package's segments are enciphered with it.
    std::string encrypted_key;
    OfficeHash data_hash = nullptr;
    std::string data_salt;
    size_t data_key_bytes = 0;
};

enum EncryptionInfoResult {
    ENCRYPTION_READ = 0,
    ENCRYPTION_UNSUPPORTED = 1,   // a valid stream of another encryption (RC4, extensible, certificates only)
    ENCRYPTION_DAMAGED = 2,       // fields cut short or out of their ranges
};

// Reads the stream's bytes.
EncryptionInfoResult read_encryption_info(std::string_view bytes, PackageEncryption &out);
