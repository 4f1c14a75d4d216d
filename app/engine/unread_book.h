// Why a book the reader gave up on could not be searched, in the words a
// user acts on: the system's refusal, a file that is no book, a password,
// or damage and where it lies.
#pragma once

#include "engine/not_searched.h"

#include <string>

namespace zscan {

// `code` is what the cell reader returned for the book at `path`.
NotSearched unread_book(const std::string &path, int code);

}  // namespace zscan
