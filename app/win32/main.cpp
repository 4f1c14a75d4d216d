// Z-Scan.exe: the search tool's window.  One instance per session; a second
// start brings the first window forward and leaves.
#include "win32/edit_shortcuts.h"
#include "win32/main_window.h"

#include <windows.h>

namespace {

// True when another instance already runs; that instance's window is then
// restored when minimised and brought to the foreground.  It stays a
// normal window, so that the Notepad or Excel showing its results can
// still come above it.  A program the user has just started may give the
// foreground to another.
bool another_instance_runs() {
    // The first instance keeps the mutex until it ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "Z-Scan");
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    HWND running = FindWindowA("ZSCAN_MAIN", "Z-Scan");
    if (running != nullptr) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
    }
    CloseHandle(mutex);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    if (another_instance_runs()) return 0;
    // The folder browser is a shell (COM) dialog.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    zscan::MainWindow window(instance);
    if (!window.create(show_command)) window.end_process();
    HACCEL accelerators = LoadAcceleratorsA(instance, "ZSCAN_ACCEL");
    if (accelerators == nullptr) window.end_process();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (zscan::serve_edit_shortcut(message)) continue;
        if (TranslateAcceleratorA(window.handle(), accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    window.end_process();
}
