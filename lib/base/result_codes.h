// The results of the library's routines below the OXLS_ calls.  0 is
// success.  A failure that means what a code of oxls.h means carries that
// code (OXLS_ERR_MEMORY, OXLS_ERR_ARGUMENT, OXLS_ERR_UNSUPPORTED for a file
// of a kind the reader cannot read, OXLS_ERR_OPEN, OXLS_ERR_PROBE,
// OXLS_ERR_WRITE, OXLS_ERR_BUFFER); these are the library's own, which the
// calls turn into those codes.
#pragma once

#include "oxls.h"

// Failed for the reason the routine's description gives.
constexpr int OZW_FAILED = -1;
// A value of a kind the routine does not take.
constexpr int OZW_WRONG_KIND = -1;
// A date that no serial day names.
constexpr int OZW_BAD_DATE = -4;
// A zip package whose writing could not be completed.
constexpr int OZW_ZIP_INCOMPLETE = -5;
// A package that is no book this program reads: it holds no workbook
// part, or a part in an encoding the library does not read.
constexpr int OZW_NOT_A_BOOK = -6;
// A limit of the library was reached; the book's message names it.
constexpr int OZW_LIMIT_REACHED = -9;
// The system refused to move in a file.
constexpr int OZW_SEEK_REFUSED = -104;
