// The decryption headers on hostile bytes: the input is read as an
// EncryptionInfo stream and an EncryptedPackage stream (the first two bytes
// give the first one's length), and as the body of a FILEPASS record whose
// cipher, when the default password opens it, deciphers the rest.
#pragma once

#include "encrypted/book_passwords.h"
#include "encrypted/encrypted_package.h"
#include "xls/biff_decryptor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline int run_encryption(const uint8_t *data, size_t size) {
    const std::vector<std::string> passwords = book_passwords_to_try({"fuzz"});
    const char *bytes = reinterpret_cast<const char *>(data);
    if (size >= 2) {
        const size_t info_size = std::min<size_t>(size - 2, data[0] | data[1] << 8);
        std::string stream(bytes + 2 + info_size, size - 2 - info_size);
        orb_decrypt_package(std::string_view(bytes + 2, info_size), passwords, stream);
    }
    biff::Record filepass;
    filepass.number = biff::FILEPASS;
    filepass.length = static_cast<uint16_t>(std::min<size_t>(size, UINT16_MAX));
    filepass.data = data;
    BiffDecryptor decryptor;
    if (decryptor.open(filepass, passwords) == BiffDecryptor::OPENED) {
        for (const uint16_t number : {biff::BOUNDSHEET, biff::LABELSST, biff::BOF}) {
            biff::Record record = filepass;
            record.number = number;
            record.offset = 3000;
            decryptor.decipher(record);
        }
    }
    return 0;
}

}  // namespace fuzz
