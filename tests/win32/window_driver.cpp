// Drives Z-Scan.exe from outside, as a user would, and checks what it shows
// and writes: the main window, its menu, accelerators and edit-box keys,
// the settings file, message boxes, searches in both output modes with
// typed words and list files, books it cannot read, cancelling a running
// search, the viewers of the results and the single instance.  Posts its
// commands (a modal box would block a sent one), types keys as the user
// does, and polls for windows and files instead of sleeping fixed times.
//
//   window_driver.exe <Z-Scan.exe> <fixture folder> <output folder> <search words>
//
// The fixture folder is laid out by make_window_fixtures.py.  Writes into
// the output folder: window.bmp (the main window), text-result.txt and
// result.xlsx (copies of the two results of the books folder).  Exit code:
// failures seen.
#include <windows.h>

#include <tlhelp32.h>

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

// Starts the program; false when it could not be started.
bool launch(const std::string &exe, Program &program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + exe + "\"";
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &program.process) != 0;
}

Program start(const std::string &exe) {
    Program program;
    if (!launch(exe, program)) {
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

// The control at `index` in creation order; null once the window is gone.
HWND control(HWND main, int index) {
    const std::vector<Control> controls = controls_of(main);
    return static_cast<size_t>(index) < controls.size() ? controls[static_cast<size_t>(index)].handle : nullptr;
}

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

// The menu of the executable's resources.  Its accelerators are checked by
// pressing their keys: F1, Ctrl+A and Ctrl+X below.
void check_menu(const std::string &exe) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(module != nullptr, "executable loads as a data file");
    if (module == nullptr) return;
    HMENU menu = LoadMenuA(module, "ZSCAN_DIALOG_01");
    check(menu != nullptr && GetMenuItemCount(menu) == 3, "menu ZSCAN_DIALOG_01 with three menus");
    HMENU search = menu != nullptr ? GetSubMenu(menu, 1) : nullptr;
    check(search != nullptr && GetMenuItemCount(search) == 5 && GetMenuItemID(search, 0) == 210 &&
              GetMenuItemID(search, 2) == 211 && GetMenuItemID(search, 4) == 213,
          "the search menu: cells only, then the three folds");
    if (menu != nullptr) DestroyMenu(menu);
    FreeLibrary(module);
}

std::string folder_of(const std::string &path) { return path.substr(0, path.find_last_of('\\')); }

// Gives the keyboard focus to a window of another thread, as a click would.
void focus(HWND window) {
    const DWORD own = GetCurrentThreadId();
    const DWORD owner = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(own, owner, TRUE);
    SetFocus(window);
    AttachThreadInput(own, owner, FALSE);
}

// Presses Ctrl and `key` on the keyboard: the input goes to the focused
// window of the foreground window's thread.
void press_ctrl(WORD key) {
    INPUT keys[4] = {};
    const WORD sequence[4] = {VK_CONTROL, key, key, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

std::string clipboard_text() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char *locked = static_cast<const char *>(GlobalLock(data))) text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A Notepad window whose title names the file `name`.
HWND notepad_on(const std::string &name) {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "Notepad", nullptr)) != nullptr) {
        char title[512] = {};
        GetWindowTextA(w, title, sizeof title);
        if (std::strstr(title, name.c_str())) return w;
    }
    return nullptr;
}

HWND wait_notepad(const std::string &name) {
    HWND found = nullptr;
    poll([&] { return (found = notepad_on(name)) != nullptr; }, 60000);
    return found;
}

void close_window(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    poll([&] { return !IsWindow(window); });
}

int thread_count(DWORD process_id) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == process_id ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

int line_count(const std::string &text) {
    int count = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

bool search_done(HWND main) { return IsWindowEnabled(control(main, kSearch)) != 0; }

// Where the fixtures and results are.
struct Paths {
    std::string exe, settings, fixtures, out, words;
    std::string books, broken, many;
    std::string text_result, book_result, not_searched_list;
};

// Starts the program with the books folder and the search words typed in.
Program start_on_books(const Paths &paths) {
    Program program = start(paths.exe);
    set_text(program.main, kFolder, paths.books.c_str());
    set_text(program.main, kWords, paths.words.c_str());
    return program;
}

// Ctrl+X, C, V and A act on the edit box that has the focus; elsewhere
// the accelerators apply.
void check_edit_box_keys(HWND main) {
    SetForegroundWindow(main);
    HWND words = control(main, kWords);
    set_text(main, kWords, "alpha beta");
    focus(words);
    press_ctrl('A');
    check(poll([&] { return SendMessageA(words, EM_GETSEL, 0, 0) == MAKELONG(0, 10); }), "Ctrl+A selects the whole box");
    press_ctrl('X');
    check(poll([&] { return text_of(words).empty(); }), "Ctrl+X cuts the box's text");
    check(clipboard_text() == "alpha beta", "the cut text is on the clipboard: " + clipboard_text());
    press_ctrl('V');
    press_ctrl('V');
    check(poll([&] { return text_of(words) == "alpha betaalpha beta"; }), "Ctrl+V pastes: " + text_of(words));
    HWND folder = control(main, kFolder);
    set_text(main, kFolder, "C:\\data\\");
    focus(folder);
    press_ctrl('A');
    press_ctrl('C');
    check(poll([&] { return clipboard_text() == "C:\\data\\"; }), "Ctrl+C copies: " + clipboard_text());
    check(IsWindowVisible(main) && FindWindowA("#32770", "Z-Scan") == nullptr,
          "keys in a box neither exit nor show About");
    focus(main);
    press_ctrl('A');
    expect_message(main, 0, "Z-Scan    \r\nVersion : 1.0.0.0\r\n", IDOK, "Ctrl+A outside the boxes shows About");
    set_text(main, kWords, "");
    set_text(main, kFolder, "");
}

// First start: no settings file, empty boxes, the layout, help and About
// through their keys, the edit boxes' own keys, the empty-words error; exit
// by its key without an offer to save.
void check_first_start(const Paths &paths) {
    DeleteFileA(paths.settings.c_str());
    Program program = start(paths.exe);
    HWND main = program.main;
    if (main == nullptr) return;
    check_layout(main);
    PostMessageA(main, WM_KEYDOWN, VK_F1, 0);
    expect_message(main, 0, "「ファイル名キーワード」には", IDOK, "F1 help");
    check_edit_box_keys(main);
    expect_message(main, 300, "検索内容が指定されていません。", IDOK, "empty search words");
    set_text(main, kFolder, "C:\\data\\");
    set_text(main, kKeywords, "売上 2016");
    set_text(main, kWords, "東京 2016/3/25");
    // Paint the new texts before the picture is taken.
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    save_screenshot(main, paths.out + "\\window.bmp");
    focus(main);
    press_ctrl('X');
    check(ended(program), "Ctrl+X outside the boxes exits; fields never taken ask nothing");
    check(!file_exists(paths.settings), "no settings file written");
}

// Settings round trip: the exact bytes, full-width space folded.
void check_settings_round_trip(const Paths &paths) {
    Program program = start(paths.exe);
    HWND main = program.main;
    set_text(main, kFolder, "C:\\data\\");
    set_text(main, kKeywords, "abc");
    set_text(main, kWords, "Ａ　Ｂ");
    set_ticked(main, kExcel, true);
    // The search menu's check items: cells only, then the width fold.
    PostMessageA(main, WM_COMMAND, 210, 0);
    PostMessageA(main, WM_COMMAND, 212, 0);
    PostMessageA(main, WM_COMMAND, 201, 0);
    const std::string saved =
        "[Z-Scan]\r\nCELLS_ONLY=\"Y\"\r\nDIRECTORY=\"C:\\data\\\"\r\nFILENAMES=\"abc\"\r\n"
        "FOLD_WIDTH=\"Y\"\r\nIS_OUTPUT_EXCEL=\"Y\"\r\nIS_REGULAR_EXPRESSION=\"N\"\r\n"
        "KEYWORD=\"Ａ  Ｂ\"\r\nLIST_PATH=\"\"\r\n";
    check(poll([&] { return read_file(paths.settings) == saved; }), "saved settings file: " + read_file(paths.settings));
    PostMessageA(main, WM_COMMAND, 200, 0);
    check(ended(program), "exit right after saving asks nothing");
    program = start(paths.exe);
    main = program.main;
    const std::string shown = text_of(control(main, kFolder)) + "|" + text_of(control(main, kKeywords)) +
                              "|" + text_of(control(main, kWords));
    check(shown == "C:\\data\\|abc|Ａ  Ｂ" && ticked(main, kExcel) && !ticked(main, kRegex),
          "settings read back into the window: " + shown);
    PostMessageA(main, WM_COMMAND, 200, 0);
    check(ended(program), "exit after reading settings");
}

// Searches the folder with the window's words and list file as they stand
// and waits for Notepad on the text result; its bytes.
std::string text_search(HWND main, const Paths &paths, const std::string &what) {
    DeleteFileA(paths.text_result.c_str());
    PostMessageA(main, WM_COMMAND, 300, 0);
    HWND notepad = wait_notepad("Z-Scan検索結果.txt");
    check(notepad != nullptr, what + ": Notepad opens on the text result");
    check(!IsWindowEnabled(control(main, kSearch)) && IsWindowEnabled(control(main, kCancel)),
          what + ": inputs disabled while the result is shown, cancel enabled");
    const std::string result = read_file(paths.text_result);
    if (notepad != nullptr) close_window(notepad);
    check(poll([&] { return search_done(main); }), what + ": inputs enabled after the search");
    return result;
}

// Text searches: typed words, then the same words in a list file in each
// encoding an editor saves, find the same hits.  A folder with books that
// cannot be read: their number, and their list in Notepad on Yes.  Cancel
// while idle then offers to save the changed settings and ends.
void check_text_searches(const Paths &paths) {
    DeleteFileA(paths.settings.c_str());
    Program program = start_on_books(paths);
    HWND main = program.main;
    const std::string typed = text_search(main, paths, "typed words");
    write_file(paths.out + "\\text-result.txt", typed);
    set_text(main, kWords, "");
    for (const char *list : {"sjis.txt", "utf8.txt", "utf8-bom.txt"}) {
        set_text(main, kList, (paths.fixtures + "\\lists\\" + list).c_str());
        check(text_search(main, paths, list) == typed, std::string("list file ") + list + " finds the typed words' hits");
    }

    set_text(main, kList, "");
    set_text(main, kWords, "東京");
    set_text(main, kFolder, paths.broken.c_str());
    DeleteFileA(paths.not_searched_list.c_str());
    expect_message(main, 300, "3件のブックまたはフォルダを検索できませんでした。\r\n一覧を表示しますか？", IDYES,
                   "books that could not be read");
    HWND list = wait_notepad("Z-Scan検索できなかったファイル.txt");
    check(list != nullptr, "Notepad shows the list of books not read");
    // In walk order; the name Shift-JIS cannot spell is followed by the
    // system's own words for its refusal.
    const std::string listed = read_file(paths.not_searched_list);
    const std::string head = paths.broken + "\\cut.xlsx\t壊れています: the zip package is cut short or broken\r\n" +
                             paths.broken + "\\smile??.xlsx\t読み取れません: ";
    const std::string tail = paths.broken + "\\text.xlsx\tこのプログラムで読めるブックではありません\r\n";
    check(listed.rfind(head, 0) == 0 && listed.size() > head.size() + tail.size() &&
              listed.compare(listed.size() - tail.size(), tail.size(), tail) == 0 && line_count(listed) == 3,
          "list of books not read: " + listed);
    HWND result = wait_notepad("Z-Scan検索結果.txt");
    check(result != nullptr && line_count(read_file(paths.text_result)) == 1, "the readable book's hit is shown");
    if (list != nullptr) close_window(list);
    if (result != nullptr) close_window(result);
    check(poll([&] { return search_done(main); }), "search with unread books ends");

    expect_message(main, 301, "設定を保存しますか？", IDYES, "cancel while idle");
    check(ended(program), "cancel while idle ends the program");
    check(read_file(paths.settings).find("KEYWORD=\"東京\"") != std::string::npos, "offer saved the words");
}

// キャンセル during a running search asks whether to stop it, with or
// without hits so far, while several books are read at once; No lets the
// search go on, Yes stops it and offers what was found.
void check_cancel_while_searching(const Paths &paths) {
    Program program = start(paths.exe);
    HWND main = program.main;
    set_text(main, kFolder, paths.many.c_str());
    set_text(main, kWords, "見つからない語");
    PostMessageA(main, WM_KEYDOWN, VK_F1, 0);
    HWND help = wait_message_box();
    const int threads_idle = thread_count(program.process.dwProcessId);
    if (help != nullptr) answer(help, IDOK);

    // Posted together, the cancel is served while the walk runs.
    PostMessageA(main, WM_COMMAND, 300, 0);
    PostMessageA(main, WM_COMMAND, 301, 0);
    HWND box = wait_message_box();
    check(box != nullptr && message_text(box) == "0件見つかっています。\r処理を中止しますか？",
          "cancel with no hits yet asks to stop the search, got \"" + (box ? message_text(box) : "") + "\"");
    if (box == nullptr) {
        ended(program);
        return;
    }
    answer(box, IDNO);
    expect_message(main, 0, "検索対象が見つかりませんでした。", IDOK, "search not stopped goes on to its end");
    check(poll([&] { return search_done(main); }), "idle after the search");

    set_text(main, kWords, "東京");
    DeleteFileA(paths.text_result.c_str());
    PostMessageA(main, WM_COMMAND, 300, 0);
    PostMessageA(main, WM_COMMAND, 301, 0);
    box = wait_message_box();
    const std::string question = box ? message_text(box) : "";
    check(question.find("件見つかっています。\r処理を中止しますか？") != std::string::npos, "cancel asks to stop: " + question);
    // The walk goes on while the question is shown; it is answered once
    // books are being read and their hits recorded.
    check(poll([&] { return line_count(read_file(paths.text_result)) > 0; }), "hits recorded while the question is shown");
    // One walking thread and, on a machine of several cores, one searching
    // thread per core (with one core the walking thread reads the books).
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const int cores = static_cast<int>(system.dwNumberOfProcessors);
    const int threads = thread_count(program.process.dwProcessId);
    check(threads >= threads_idle + 1 + (cores > 1 ? cores : 0),
          "books read on " + std::to_string(cores) + " threads at once: " + std::to_string(threads_idle) +
              " threads idle, " + std::to_string(threads) + " searching");
    if (box != nullptr) answer(box, IDYES);
    expect_message(main, 0, "途中までの検索結果を表示しますか？", IDYES, "stopped search");
    HWND notepad = wait_notepad("Z-Scan検索結果.txt");
    const int hits = line_count(read_file(paths.text_result));
    check(notepad != nullptr && hits > 0 && hits < 3000, "the stopped search shows part of the hits: " + std::to_string(hits));
    if (notepad != nullptr) close_window(notepad);
    check(poll([&] { return search_done(main); }), "idle after the stopped search");
    expect_message(main, 301, "設定を保存しますか？", IDNO, "cancel while idle");
    check(ended(program), "cancel while idle ends the program");
}

// Sets the program that opens .xlsx files: ShellExecute's "open".
void associate_books_with_notepad() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, ".xlsx", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>("ZScanTest.Book"), 15);
    RegCloseKey(key);
    const char command[] = "notepad.exe \"%1\"";
    RegCreateKeyExA(HKEY_CLASSES_ROOT, "ZScanTest.Book\\shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(command), sizeof command);
    RegCloseKey(key);
}

// A second start brings the first window to the foreground, restored when
// minimised, as a normal window that others can cover; it leaves at once.
void check_second_start(const Paths &paths, HWND main) {
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(other);
    for (const bool minimised : {false, true}) {
        const std::string what = minimised ? "minimised first window" : "first window behind another";
        if (minimised) ShowWindow(main, SW_MINIMIZE);
        check(poll([&] { return minimised ? IsIconic(main) != 0 : GetForegroundWindow() != main; }), what + ": set up");
        Program second;
        check(launch(paths.exe, second), what + ": second start");
        check(ended(second), what + ": second instance leaves at once with code 0");
        check(poll([&] { return GetForegroundWindow() == main && !IsIconic(main); }), what + ": brought to the foreground");
        check((GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0, what + ": stays a normal window, not topmost");
    }
    int windows = 0;
    for (HWND w = FindWindowA("ZSCAN_MAIN", nullptr); w; w = FindWindowExA(nullptr, w, "ZSCAN_MAIN", nullptr)) ++windows;
    check(windows == 1, "one main window, found " + std::to_string(windows));
    DestroyWindow(other);
}

// Excel output with no Excel registered: the book opens in the program its
// file type is associated with; without one, a message gives its path.
// Meanwhile a second start only brings this window forward.
void check_excel_output(const Paths &paths) {
    DeleteFileA(paths.book_result.c_str());
    Program program = start_on_books(paths);
    HWND main = program.main;
    set_ticked(main, kExcel, true);
    expect_message(main, 300, "検索結果のExcelブックを開くプログラムが見つかりませんでした。\r\nブックの保存先: " + paths.book_result,
                   IDOK, "no program for result books");
    check(poll([&] { return search_done(main); }), "Excel output search ends");
    write_file(paths.out + "\\result.xlsx", read_file(paths.book_result));

    associate_books_with_notepad();
    PostMessageA(main, WM_COMMAND, 300, 0);
    HWND viewer = wait_notepad("Z-Scan検索結果.xlsx");
    check(viewer != nullptr, "the result book opens in the program associated with .xlsx");
    if (viewer != nullptr) close_window(viewer);
    check(poll([&] { return search_done(main); }), "Excel output search with a viewer ends");

    check_second_start(paths, main);

    // The Excel flag changed since the last save: exit offers to save; No
    // keeps the file as it was.
    const std::string before = read_file(paths.settings);
    expect_message(main, 200, "設定を保存しますか？", IDNO, "exit after a changed search");
    check(ended(program), "exit ends the program");
    check(read_file(paths.settings) == before, "declined offer leaves the settings file");
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::puts("usage: window_driver <Z-Scan.exe> <fixture folder> <output folder> <words>");
        return 2;
    }
    Paths paths;
    paths.exe = argv[1];
    paths.fixtures = argv[2];
    paths.out = argv[3];
    paths.words = argv[4];
    paths.settings = folder_of(paths.exe) + "\\Z-Scan.ini";
    paths.books = paths.fixtures + "\\books";
    paths.broken = paths.fixtures + "\\broken";
    paths.many = paths.fixtures + "\\many";
    char temp[MAX_PATH] = {};
    GetEnvironmentVariableA("TEMP", temp, sizeof temp);
    paths.text_result = std::string(temp) + "\\Z-Scan検索結果.txt";
    paths.book_result = std::string(temp) + "\\Z-Scan検索結果.xlsx";
    paths.not_searched_list = std::string(temp) + "\\Z-Scan検索できなかったファイル.txt";

    check_menu(paths.exe);
    check_first_start(paths);
    check_settings_round_trip(paths);
    check_text_searches(paths);
    check_cancel_while_searching(paths);
    check_excel_output(paths);

    std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
    return failures;
}
