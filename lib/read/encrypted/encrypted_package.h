// An Excel 2007 package kept encrypted in a compound file: the
// EncryptionInfo stream says how, the EncryptedPackage stream holds the
// package's size and its enciphered bytes.  The package is deciphered in
// memory with the first password that opens it; nothing is written out.
#pragma once

#include "byte_source.h"

#include <string>
#include <string_view>
#include <vector>

// Deciphers the EncryptedPackage stream `stream` in place into the package
// it holds, with the first of `passwords` (UTF-16LE bytes) that opens it.
// 0; OXLS_ERR_XLS_UNREADABLE no password opens it, or it is under an
// encryption the library does not read; OXLS_ERR_UNSUPPORTED the streams
// are damaged.
int orb_decrypt_package(std::string_view info, const std::vector<std::string> &passwords, std::string &stream);

// The same for the compound file in `file`, with the default password and
// then those of `given` (UTF-8).  OXLS_ERR_UNSUPPORTED also when the file
// is no compound file with both streams.  Throws std::bad_alloc.
int ozw_read_encrypted_package(ByteSource &file, const std::vector<std::string> &given, std::string &package);
