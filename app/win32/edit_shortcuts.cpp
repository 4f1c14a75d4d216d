#include "win32/edit_shortcuts.h"

namespace zscan {
namespace {

// The message the key asks of an edit box; 0 for none.  Edit boxes select
// all on no key of their own, so Ctrl+A becomes a selection of everything.
UINT edit_command(WPARAM key) {
    switch (key) {
    case 'X': return WM_CUT;
    case 'C': return WM_COPY;
    case 'V': return WM_PASTE;
    case 'A': return EM_SETSEL;
    default: return 0;
    }
}

bool is_edit_box(HWND window) {
    char class_name[8] = {};
    return GetClassNameA(window, class_name, sizeof class_name) > 0 && lstrcmpiA(class_name, "Edit") == 0;
}

}  // namespace

bool serve_edit_shortcut(const MSG &message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
    const UINT command = edit_command(message.wParam);
    if (command == 0 || !is_edit_box(message.hwnd)) return false;
    // A read-only box copies and selects but neither cuts nor pastes.
    SendMessageA(message.hwnd, command, 0, command == EM_SETSEL ? -1 : 0);
    return true;
}

}  // namespace zscan
