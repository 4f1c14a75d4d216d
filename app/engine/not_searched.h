// A book or folder below the target that the search could not look into,
// and why.  The search never passes one over in silence: each is told to
// the front end as the walk meets it and kept for the end of the search.
#pragma once

#include <string>

namespace zscan {

enum class SkipReason {
    Encrypted,          // a book protected by a password to open
    NotABook,           // a file named like a book that holds something else
    Damaged,            // a book the reader gave up on; the detail says where
    PermissionDenied,   // the system refused to open the file or list the folder
    PathTooLong,        // the path is longer than the system takes
    Unreadable,         // any other failure of the system; the detail is its text
};

struct NotSearched {
    std::string path;     // in the context's character set
    bool folder = false;
    SkipReason reason = SkipReason::Unreadable;
    std::string detail;   // what failed, in UTF-8; may be empty
};

}  // namespace zscan
