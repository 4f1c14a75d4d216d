// The key of an encrypted package from a password: derived as the
// package's encryption says and checked against its verifier.
#pragma once

#include "encrypted/encryption_info.h"

#include <string>
#include <string_view>

// The key the package's data is enciphered with, when `password` (UTF-16LE
// bytes) is the package's; false for any other password.
bool package_key(const PackageEncryption &encryption, std::string_view password, std::string &key);
