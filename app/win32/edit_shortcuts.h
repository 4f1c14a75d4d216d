// Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+A pressed in an edit box cut, copy,
// paste and select all in that box.  They are served before the window's
// accelerators, which give Ctrl+X (exit) and Ctrl+A (About) other meanings
// everywhere else.
#pragma once

#include <windows.h>

namespace zscan {

// Serves `message` when it is one of those keys going to an edit box; true
// then, and the message needs nothing more.
bool serve_edit_shortcut(const MSG &message);

}  // namespace zscan
