// The passwords tried on an encrypted book: first the one Excel uses when
// the user gave none ("VelvetSweatshop", which every spreadsheet program
// tries without asking), then those the caller knows.  The ciphers take a
// password as its UTF-16LE bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view DEFAULT_BOOK_PASSWORD = "VelvetSweatshop";

// The UTF-16LE bytes of a UTF-8 password; a byte that starts no valid
// sequence stands for itself (as Latin-1).
std::string utf16le_password(std::string_view utf8);

// The default password, then each of `given` (UTF-8), as UTF-16LE bytes.
std::vector<std::string> book_passwords_to_try(const std::vector<std::string> &given);
