#include "win32/message_pump.h"

#include "win32/edit_shortcuts.h"
#include "win32/main_window.h"

namespace zscan {
namespace {

// Longest sleep between two looks at the queue.  The wait also ends as
// soon as a message arrives or the awaited handle is signalled; the limit
// only guards against a wake-up the system does not deliver.
constexpr DWORD kLongestWaitMs = 100;

}  // namespace

void pump_until(HANDLE awaited, MainWindow &window) {
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) window.end_process();
            if (serve_edit_shortcut(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // MWMO_INPUTAVAILABLE: wake for messages already queued too, so
        // that none waits for the next arrival.
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &awaited, kLongestWaitMs, QS_ALLINPUT,
                                                        MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) return;
    }
}

}  // namespace zscan
