// Drives Z-Scan.exe from outside, as a user would, and checks what it shows
// and writes: the main window, its menu and accelerators, the settings
// file, message boxes, searches in both output modes and the single
// instance.  Posts its commands (a modal box would block a sent
// one) and polls for windows and files instead of sleeping fixed times.
//
//   window_driver.exe <Z-Scan.exe> <folder of sample books> <output folder> <search words>
//
// Writes into the output folder: window.bmp (the main window), text-result.txt
// and result.xlsx (copies of the two results).  Exit code: failures seen.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool ok, const std::string &what) {
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

// Polls `ready` every 20 ms for at most `limit_ms`.
bool poll(const std::function<bool()> &ready, DWORD limit_ms = 20000) {
    const ULONGLONG end = GetTickCount64() + limit_ms;
    while (!ready()) {
        if (GetTickCount64() > end) return false;
        Sleep(20);
    }
    return true;
}

HWND wait_window(const char *class_name, const char *title, DWORD limit_ms = 20000) {
    HWND found = nullptr;
    poll([&] { return (found = FindWindowA(class_name, title)) != nullptr; }, limit_ms);
    return found;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool file_exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A window's text asked from the window itself: GetWindowTextA answers
// only the creation text for another process's controls.
std::string text_of(HWND window) {
    char text[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        5000, &length);
    return text;
}

struct Control {
    HWND handle;
    std::string class_name;
    std::string text;
};

// Child windows in creation order, which is also their tab order.
std::vector<Control> controls_of(HWND parent) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char class_name[64] = {};
        GetClassNameA(child, class_name, sizeof class_name);
        controls.push_back({child, class_name, text_of(child)});
    }
    return controls;
}

// The program's message box, its text and an answer to it.
// Found once shown: a box being built may not have its text yet.
HWND wait_message_box() {
    HWND box = nullptr;
    poll([&] { return (box = FindWindowA("#32770", "Z-Scan")) != nullptr && IsWindowVisible(box); });
    return box;
}

std::string message_text(HWND box) {
    std::string text;
    for (const Control &control : controls_of(box)) {
        if (_stricmp(control.class_name.c_str(), "Static") == 0 && !control.text.empty()) text = control.text;
    }
    return text;
}

bool answer(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, button, 0);
    return poll([&] { return !IsWindow(box); });
}

void expect_message(HWND main, WPARAM command, const std::string &expected, int button,
                    const std::string &what) {
    if (command != 0) PostMessageA(main, WM_COMMAND, command, 0);
    HWND box = wait_message_box();
    check(box != nullptr, what + ": message box shown");
    if (box == nullptr) return;
    check(message_text(box).rfind(expected, 0) == 0, what + ": text, got \"" + message_text(box) + "\"");
    check(answer(box, button), what + ": box closes on its answer");
}

struct Program {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
};

Program start(const std::string &exe) {
    Program program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &program.process)) {
        check(false, "start " + exe);
        return program;
    }
    // The window can be found while it is still being created; it is
    // ready once shown.
    check(poll([&] {
              program.main = FindWindowA("ZSCAN_MAIN", "Z-Scan");
              return program.main != nullptr && IsWindowVisible(program.main);
          }),
          "main window appears");
    return program;
}

// Waits for the process to end by itself; true when it did with code 0.
bool ended(Program &program, DWORD limit_ms = 20000) {
    if (program.process.hProcess == nullptr) return false;
    const bool done = WaitForSingleObject(program.process.hProcess, limit_ms) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (!done) TerminateProcess(program.process.hProcess, 1);
    GetExitCodeProcess(program.process.hProcess, &code);
    CloseHandle(program.process.hProcess);
    CloseHandle(program.process.hThread);
    program.process = {};
    return done && code == 0;
}

HWND control(HWND main, int index) { return controls_of(main).at(static_cast<size_t>(index)).handle; }

enum Index { kFolder, kKeywords, kWords, kList, kProgress, kCounter, kSearch, kCancel,
             kFolderBrowse, kListBrowse, kExcel, kRegex };

void set_text(HWND main, Index index, const char *text) {
    SendMessageA(control(main, index), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void set_ticked(HWND main, Index index, bool ticked) {
    SendMessageA(control(main, index), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool ticked(HWND main, Index index) {
    return SendMessageA(control(main, index), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Saves the main window as seen on the screen to a 24-bit BMP file.
void save_screenshot(HWND main, const std::string &path) {
    RECT r;
    GetWindowRect(main, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD image_size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    info.bmiHeader.biSizeImage = image_size;
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + image_size;
    std::string bytes(reinterpret_cast<char *>(&file), sizeof file);
    bytes.append(reinterpret_cast<char *>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<char *>(bits), image_size);
    write_file(path, bytes);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// The twelve controls, the check boxes clear, a window of fixed size.
void check_layout(HWND main) {
    const size_t count = controls_of(main).size();
    check(count == 12, "twelve controls, found " + std::to_string(count));
    check(!ticked(main, kExcel) && !ticked(main, kRegex), "check boxes start clear");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    check((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0 && (style & WS_MINIMIZEBOX) != 0,
          "fixed-size window with a minimise box only");
}

// The menu and the keys of the executable's accelerator table.
void check_menu_and_accelerators(const std::string &exe) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(module != nullptr, "executable loads as a data file");
    if (module == nullptr) return;
    HMENU menu = LoadMenuA(module, "ZSCAN_DIALOG_01");
    check(menu != nullptr && GetMenuItemCount(menu) == 2, "menu ZSCAN_DIALOG_01 with two menus");
    if (menu != nullptr) DestroyMenu(menu);
    HACCEL table = LoadAcceleratorsA(module, "ZSCAN_ACCEL");
    check(table != nullptr, "accelerators ZSCAN_ACCEL");
    if (table != nullptr) {
        ACCEL keys[8];
        const int count = CopyAcceleratorTableA(table, keys, 8);
        auto has = [&](BYTE modifiers, WORD key, WORD command) {
            for (int i = 0; i < count; ++i) {
                if ((keys[i].fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers) && keys[i].key == key &&
                    keys[i].cmd == command) {
                    return true;
                }
            }
            return false;
        };
        check(count == 3 && has(FCONTROL, 'X', 200) && has(0, VK_F1, 202) && has(FCONTROL, 'A', 203),
              "Ctrl+X exits, F1 shows help, Ctrl+A shows About");
    }
    FreeLibrary(module);
}

std::string folder_of(const std::string &path) { return path.substr(0, path.find_last_of('\\')); }

}  // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::puts("usage: window_driver <Z-Scan.exe> <sample folder> <output folder> <words>");
        return 2;
    }
    const std::string exe = argv[1], samples = argv[2], out = argv[3], words = argv[4];
    const std::string settings = folder_of(exe) + "\\Z-Scan.ini";
    char temp[MAX_PATH] = {};
    GetEnvironmentVariableA("TEMP", temp, sizeof temp);
    const std::string text_result = std::string(temp) + "\\Z-Scan検索結果.txt";
    const std::string book_result = std::string(temp) + "\\Z-Scan検索結果.xlsx";

    check_menu_and_accelerators(exe);

    // First start: no settings file, empty boxes, the layout, help through
    // its key, the empty-words error; exit without an offer to save.
    DeleteFileA(settings.c_str());
    Program program = start(exe);
    HWND main = program.main;
    if (main == nullptr) return failures;
    check_layout(main);
    PostMessageA(main, WM_KEYDOWN, VK_F1, 0);
    expect_message(main, 0, "「ファイル名キーワード」には", IDOK, "F1 help");
    expect_message(main, 203, "Z-Scan    \r\nVersion : 1.0.0.0\r\n", IDOK, "About");
    expect_message(main, 300, "検索内容が指定されていません。", IDOK, "empty search words");
    set_text(main, kFolder, "C:\\data\\");
    set_text(main, kKeywords, "売上 2016");
    set_text(main, kWords, "東京 2016/3/25");
    // Paint the new texts before the picture is taken.
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    save_screenshot(main, out + "\\window.bmp");
    PostMessageA(main, WM_COMMAND, 200, 0);
    check(ended(program), "exit with fields never taken ends without a question");
    check(!file_exists(settings), "no settings file written");

    // Settings round trip: the exact bytes, full-width space folded.
    program = start(exe);
    main = program.main;
    set_text(main, kFolder, "C:\\data\\");
    set_text(main, kKeywords, "abc");
    set_text(main, kWords, "Ａ　Ｂ");
    set_ticked(main, kExcel, true);
    PostMessageA(main, WM_COMMAND, 201, 0);
    const std::string saved =
        "[Z-Scan]\r\nDIRECTORY=\"C:\\data\\\"\r\nFILENAMES=\"abc\"\r\nIS_OUTPUT_EXCEL=\"Y\"\r\n"
        "IS_REGULAR_EXPRESSION=\"N\"\r\nKEYWORD=\"Ａ  Ｂ\"\r\nLIST_PATH=\"\"\r\n";
    check(poll([&] { return read_file(settings) == saved; }), "saved settings file: " + read_file(settings));
    PostMessageA(main, WM_COMMAND, 200, 0);
    check(ended(program), "exit right after saving asks nothing");
    program = start(exe);
    main = program.main;
    const std::string shown = text_of(control(main, kFolder)) + "|" + text_of(control(main, kKeywords)) +
                              "|" + text_of(control(main, kWords));
    check(shown == "C:\\data\\|abc|Ａ  Ｂ" && ticked(main, kExcel) && !ticked(main, kRegex),
          "settings read back into the window: " + shown);
    PostMessageA(main, WM_COMMAND, 200, 0);
    check(ended(program), "exit after reading settings");

    // A text search opens Notepad on the Shift-JIS result; cancel while idle
    // then offers to save the changed settings.
    DeleteFileA(settings.c_str());
    DeleteFileA(text_result.c_str());
    program = start(exe);
    main = program.main;
    set_text(main, kFolder, samples.c_str());
    set_text(main, kWords, words.c_str());
    PostMessageA(main, WM_COMMAND, 300, 0);
    HWND notepad = wait_window("Notepad", nullptr, 120000);
    check(notepad != nullptr, "Notepad opens on the text result");
    check(!IsWindowEnabled(control(main, kSearch)) && IsWindowEnabled(control(main, kCancel)),
          "inputs disabled while the result is shown, cancel enabled");
    write_file(out + "\\text-result.txt", read_file(text_result));
    if (notepad != nullptr) PostMessageA(notepad, WM_CLOSE, 0, 0);
    check(poll([&] { return IsWindowEnabled(control(main, kSearch)) != 0; }), "inputs enabled after the search");
    expect_message(main, 301, "設定を保存しますか？", IDYES, "cancel while idle");
    check(ended(program), "cancel while idle ends the program");
    check(read_file(settings).find("KEYWORD=\"" + words + "\"") != std::string::npos, "offer saved the words");

    // An Excel output search writes the result book (no Excel here to show
    // it); meanwhile a second start only brings this window forward.
    DeleteFileA(book_result.c_str());
    program = start(exe);
    main = program.main;
    set_ticked(main, kExcel, true);
    PostMessageA(main, WM_COMMAND, 300, 0);
    check(poll([&] {
              WIN32_FILE_ATTRIBUTE_DATA data;
              return IsWindowEnabled(control(main, kSearch)) &&
                     GetFileAttributesExA(book_result.c_str(), GetFileExInfoStandard, &data) &&
                     data.nFileSizeLow > 0;
          }, 120000),
          "result book written");
    write_file(out + "\\result.xlsx", read_file(book_result));

    Program second;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + exe + "\"";
    check(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &second.process) != 0,
          "second start");
    check(ended(second), "second instance leaves at once with code 0");
    int windows = 0;
    for (HWND w = FindWindowA("ZSCAN_MAIN", nullptr); w; w = FindWindowExA(nullptr, w, "ZSCAN_MAIN", nullptr)) ++windows;
    check(windows == 1, "one main window, found " + std::to_string(windows));
    check((GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "first window brought to the front");

    // The Excel flag changed since the last save: exit offers to save; No
    // keeps the file as it was.
    const std::string before = read_file(settings);
    expect_message(main, 200, "設定を保存しますか？", IDNO, "exit after a changed search");
    check(ended(program), "exit ends the program");
    check(read_file(settings) == before, "declined offer leaves the settings file");

    std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
    return failures;
}
