#include "win32/result_viewers.h"

#include "win32/main_window.h"
#include "win32/message_pump.h"

#include <windows.h>

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

}  // namespace

void open_in_notepad(const std::string &path, MainWindow &window) {
    PROCESS_INFORMATION process{};
    if (!start_process("notepad.exe \"" + path + "\" ", process)) return;
    CloseHandle(process.hThread);
    pump_until(process.hProcess, window);
    CloseHandle(process.hProcess);
}

void open_in_excel(const std::string &path) {
    std::string class_id;
    std::string server;
    if (!machine_default_value("Software\\Classes\\Excel.Application\\CLSID", class_id)) return;
    if (!machine_default_value("Software\\Classes\\CLSID\\" + class_id + "\\LocalServer32",
                               server)) {
        return;
    }
    PROCESS_INFORMATION process{};
    if (!start_process(server + " \"" + path + "\"", process)) return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace zscan
