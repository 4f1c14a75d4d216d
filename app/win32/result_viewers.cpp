#include "win32/result_viewers.h"

#include "win32/main_window.h"
#include "win32/message_pump.h"
#include "win32/window_texts.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace zscan {
namespace {

// Starts `command_line` with a normal window and no inherited handles.
bool start_process(const std::string &command_line, PROCESS_INFORMATION &process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    // CreateProcessA may write into its command line.
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &process) != 0;
}

// The default value of a key under HKEY_LOCAL_MACHINE, looked up in the
// default registry view, then the 64-bit and the 32-bit one.  False when
// no view has it or it is empty.
bool machine_default_value(const std::string &key, std::string &value) {
    constexpr REGSAM kViews[] = {0, KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (const REGSAM view : kViews) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &opened) !=
            ERROR_SUCCESS) {
            continue;
        }
        char buffer[257] = {};
        DWORD size = 256;
        const LONG rc = RegQueryValueExA(opened, nullptr, nullptr, nullptr,
                                         reinterpret_cast<BYTE *>(buffer), &size);
        RegCloseKey(opened);
        if (rc == ERROR_SUCCESS && buffer[0] != '\0') {
            value = buffer;
            return true;
        }
    }
    return false;
}

// Starts the local server registered for Excel.Application on `path`,
// without waiting for it.  False when none is registered or it cannot be
// started.
bool start_excel(const std::string &path) {
    std::string class_id;
    std::string server;
    if (!machine_default_value("Software\\Classes\\Excel.Application\\CLSID", class_id) ||
        !machine_default_value("Software\\Classes\\CLSID\\" + class_id + "\\LocalServer32", server)) {
        return false;
    }
    PROCESS_INFORMATION process{};
    if (!start_process(server + " \"" + path + "\"", process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool start_notepad(const std::string &path, PROCESS_INFORMATION &process) {
    if (!start_process("notepad.exe \"" + path + "\" ", process)) return false;
    CloseHandle(process.hThread);
    return true;
}

}  // namespace

void open_in_notepad(const std::string &path, MainWindow &window) {
    PROCESS_INFORMATION process{};
    if (!start_notepad(path, process)) return;
    pump_until(process.hProcess, window);
    CloseHandle(process.hProcess);
}

void show_in_notepad(const std::string &path) {
    PROCESS_INFORMATION process{};
    if (start_notepad(path, process)) CloseHandle(process.hProcess);
}

void open_result_book(const std::string &path, MainWindow &window) {
    if (start_excel(path)) return;
    // ShellExecuteA answers more than 32 when it started the program.
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window.handle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (started > 32) return;
    std::vector<char> text(std::strlen(window_texts::kNoBookViewer) + path.size() + 1);
    std::snprintf(text.data(), text.size(), window_texts::kNoBookViewer, path.c_str());
    MessageBoxA(window.handle(), text.data(), "Z-Scan", MB_OK | MB_ICONINFORMATION);
}

}  // namespace zscan
