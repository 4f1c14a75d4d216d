#include "win32/main_window.h"

#include "engine/search_run.h"
#include "engine/settings_file.h"
#include "resource_ids.h"
#include "win32/message_pump.h"
#include "win32/window_front_end.h"
#include "win32/window_texts.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zscan {
namespace {

// This file is compiled with the Shift-JIS execution character set, so its
// Japanese literals are the window's own ANSI texts.
constexpr const char *kClassName = "ZSCAN_MAIN";
constexpr const char *kTitle = "Z-Scan";
constexpr const char *kVersion = "1.0.0.0";
constexpr int kClientWidth = 670;
constexpr int kClientHeight = 260;

enum ControlId {
    kSearchButton = 300,
    kCancelButton = 301,
    kFolderButton = 302,
    kListButton = 303,
    kProgressField = 315,
    kHitCounterField = 316,
    kExcelCheck = 321,
    kRegexCheck = 322,
};

HFONT make_font(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

std::string window_text(HWND control, int limit) {
    std::string text(static_cast<size_t>(limit) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), limit + 1)));
    return text;
}

bool is_ticked(HWND check_box) { return SendMessageA(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Preselects the folder passed as `data` once the browser is up.
int CALLBACK folder_browser_event(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

DWORD WINAPI walk_on_worker(void *run) {
    static_cast<SearchRun *>(run)->walk();
    return 0;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
    init_search_context(context_);
    // The walk hands the books to one searching thread per core; the hits
    // are recorded on the walking thread in walk order, as one after
    // another, so the worker thread below stays the only one that reaches
    // the window.
    context_.jobs = jobs_per_core();
    settings_path_ = settings_file_path(context_);
    load_settings(context_, settings_path_);
    snapshot_ = shown_fields(context_);
}

bool MainWindow::create(int show_command) {
    main_font_ = make_font(12);
    small_font_ = make_font(10);

    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance_;
    window_class.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_ZSCAN));
    window_class.hIconSm = window_class.hIcon;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszMenuName = "ZSCAN_DIALOG_01";
    window_class.lpszClassName = kClassName;
    if (RegisterClassExA(&window_class) == 0) return false;

    // The outer size is that of a sizable window without a menu around a
    // 670 x 260 client area, though the window has neither.
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_OVERLAPPEDWINDOW);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
    window_ = CreateWindowExA(WS_EX_OVERLAPPEDWINDOW, kClassName, kTitle,
                              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              instance_, this);
    if (window_ == nullptr) return false;
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    return true;
}

void MainWindow::end_process() {
    if (main_font_ != nullptr) DeleteObject(main_font_);
    // A worker may still be walking: leave without running the static
    // destructors of the tables it uses.
    if (searching_) std::_Exit(0);
    std::exit(0);
}

void MainWindow::set_progress_text(const char *text) { SetWindowTextA(progress_, text); }

void MainWindow::set_hit_counter_text(const char *text) { SetWindowTextA(counter_, text); }

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTA *>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    return self->handle_message(message, wparam, lparam);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        create_controls();
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_COMMAND:
        on_command(LOWORD(wparam));
        return 0;
    case WM_CLOSE:
        // During a search the window ends the process at once.
        if (searching_) end_process();
        exit_program(false);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window_, message, wparam, lparam);
    }
}

void MainWindow::create_controls() {
    const FieldValues shown = shown_fields(context_);
    auto make = [this](const char *class_name, const char *text, DWORD style, DWORD extended,
                       int x, int y, int width, int height, int id, HFONT font) {
        HWND control = CreateWindowExA(extended, class_name, text, WS_CHILD | style, x, y, width,
                                       height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance_, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    const DWORD edit = WS_VISIBLE | WS_TABSTOP;
    const DWORD button = WS_VISIBLE | WS_TABSTOP | BS_FLAT;
    const DWORD check = WS_TABSTOP | BS_AUTOCHECKBOX;
    // Creation order is the tab order.
    folder_box_ = make("EDIT", shown.target_folder.c_str(), edit, WS_EX_CLIENTEDGE, 15, 50, 610, 22, 0, main_font_);
    keyword_box_ = make("EDIT", shown.file_name_keywords.c_str(), edit, WS_EX_CLIENTEDGE, 15, 90, 650, 22, 0, main_font_);
    words_box_ = make("EDIT", shown.search_words.c_str(), edit, WS_EX_CLIENTEDGE, 15, 130, 650, 22, 0, main_font_);
    list_box_ = make("EDIT", shown.list_file_path.c_str(), edit, WS_EX_CLIENTEDGE, 15, 170, 610, 22, 0, main_font_);
    progress_ = make("EDIT", "", edit | ES_READONLY, WS_EX_CLIENTEDGE, 80, 10, 580, 15, kProgressField, small_font_);
    counter_ = make("EDIT", "", edit | ES_READONLY, WS_EX_CLIENTEDGE, 15, 10, 60, 15, kHitCounterField, small_font_);
    search_button_ = make("BUTTON", "検索", button, 0, 583, 210, 80, 25, kSearchButton, main_font_);
    cancel_button_ = make("BUTTON", "キャンセル", button, 0, 483, 210, 80, 25, kCancelButton, main_font_);
    folder_button_ = make("BUTTON", "...", button, 0, 632, 50, 30, 23, kFolderButton, main_font_);
    list_button_ = make("BUTTON", "...", button, 0, 632, 170, 30, 23, kListButton, main_font_);
    excel_check_ = make("BUTTON", "Excel出力", check, 0, 15, 205, 100, 25, kExcelCheck, main_font_);
    regex_check_ = make("BUTTON", "正規表現検索", check, 0, 115, 205, 100, 25, kRegexCheck, main_font_);
    SendMessageA(excel_check_, BM_SETCHECK, shown.output_excel ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(regex_check_, BM_SETCHECK, shown.regular_expression ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWindow(excel_check_, SW_SHOW);
    ShowWindow(regex_check_, SW_SHOW);
    tick_menu(IDM_CELLS_ONLY, shown.cells_only);
    tick_menu(IDM_FOLD_CASE, shown.folds.letter_case);
    tick_menu(IDM_FOLD_WIDTH, shown.folds.width);
    tick_menu(IDM_FOLD_KANA, shown.folds.kana);
}

void MainWindow::paint() {
    PAINTSTRUCT paint_struct;
    HDC dc = BeginPaint(window_, &paint_struct);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, main_font_);
    const struct {
        int x, y;
        const char *text;
    } labels[] = {{15, 35, "対象フォルダ"},
                  {15, 75, "ファイル名キーワード"},
                  {15, 115, "検索内容"},
                  {15, 155, "検索内容リストファイル"}};
    for (const auto &label : labels) {
        TextOutA(dc, label.x, label.y, label.text, static_cast<int>(std::strlen(label.text)));
    }
    SelectObject(dc, old_font);

    HBITMAP banner = LoadBitmapA(instance_, MAKEINTRESOURCEA(IDB_BANNER));
    HDC banner_dc = CreateCompatibleDC(dc);
    HGDIOBJ old_bitmap = SelectObject(banner_dc, banner);
    BitBlt(dc, 240, 206, 200, 30, banner_dc, 0, 0, SRCCOPY);
    SelectObject(banner_dc, old_bitmap);
    DeleteDC(banner_dc);
    DeleteObject(banner);
    EndPaint(window_, &paint_struct);
}

void MainWindow::on_command(int id) {
    // While a search runs, only cancelling, exit, help and About are served:
    // the worker reads the settings the other commands would change.
    switch (id) {
    case IDM_EXIT:
        if (searching_) end_process();
        exit_program(true);
    case IDM_SAVE_SETTINGS:
        if (!searching_) save_and_snapshot();
        break;
    case IDM_HELP: show_help(); break;
    case IDM_ABOUT: show_about(); break;
    case IDM_CELLS_ONLY:
    case IDM_FOLD_CASE:
    case IDM_FOLD_WIDTH:
    case IDM_FOLD_KANA:
        if (!searching_) tick_menu(id, !menu_ticked(id));
        break;
    case kSearchButton:
        if (!searching_) search();
        break;
    case kCancelButton: cancel(); break;
    case kFolderButton:
        if (!searching_) browse_folder();
        break;
    case kListButton:
        if (!searching_) browse_list_file();
        break;
    default: break;
    }
}

FieldValues MainWindow::read_fields() const {
    FieldValues fields;
    fields.target_folder = window_text(folder_box_, static_cast<int>(kPathMax));
    fields.file_name_keywords = window_text(keyword_box_, static_cast<int>(kWordsTextMax));
    fields.search_words = window_text(words_box_, static_cast<int>(kWordsTextMax));
    fields.list_file_path = window_text(list_box_, static_cast<int>(kPathMax));
    fields.output_excel = is_ticked(excel_check_);
    fields.regular_expression = is_ticked(regex_check_);
    fields.folds.letter_case = menu_ticked(IDM_FOLD_CASE);
    fields.folds.width = menu_ticked(IDM_FOLD_WIDTH);
    fields.folds.kana = menu_ticked(IDM_FOLD_KANA);
    fields.cells_only = menu_ticked(IDM_CELLS_ONLY);
    return fields;
}

bool MainWindow::menu_ticked(int id) const {
    return (GetMenuState(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MainWindow::tick_menu(int id, bool ticked) {
    CheckMenuItem(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::save_and_snapshot() {
    take_fields(context_, read_fields());
    // A file that cannot be written is not reported; the snapshot follows
    // the saved settings all the same.
    save_settings(context_, settings_path_);
    snapshot_ = shown_fields(context_);
}

void MainWindow::offer_to_save() {
    if (!settings_changed(context_, snapshot_)) return;
    if (MessageBoxA(window_, window_texts::kSaveSettings, kTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        save_settings(context_, settings_path_);
    }
}

void MainWindow::exit_program(bool destroy) {
    offer_to_save();
    if (destroy) DestroyWindow(window_);
    end_process();
}

void MainWindow::browse_folder() {
    BROWSEINFOA browse{};
    browse.hwndOwner = window_;
    browse.lpszTitle = "検索対象フォルダ";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = folder_browser_event;
    // The preselection is the taken folder, not what the box shows now.
    browse.lParam = reinterpret_cast<LPARAM>(context_.target_folder.c_str());
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderA(&browse);
    if (picked == nullptr) return;
    char path[MAX_PATH] = {};
    const bool have_path = SHGetPathFromIDListA(picked, path) != 0;
    CoTaskMemFree(picked);
    if (!have_path) return;
    // A drive root ("C:\") keeps its own separator and gains another.
    const std::string folder = std::string(path) + "\\";
    if (folder.size() > kPathMax) return;
    context_.target_folder = folder;
    SetWindowTextA(folder_box_, folder.c_str());
}

void MainWindow::browse_list_file() {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = "All files(*.*)\0*.*\0";
    dialog.lpstrFile = list_file_buffer_;
    dialog.nMaxFile = sizeof list_file_buffer_;
    dialog.lpstrTitle = "検索対象リストファイル";
    dialog.Flags = OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) return;
    if (std::strlen(list_file_buffer_) > kPathMax) return;
    context_.list_file_path = list_file_buffer_;
    SetWindowTextA(list_box_, list_file_buffer_);
}

void MainWindow::show_help() { MessageBoxA(window_, window_texts::kHelp, kTitle, MB_OK); }

void MainWindow::show_about() {
    char text[512];
    std::snprintf(text, sizeof text, "%s    \r\nVersion : %s\r\n%s", kTitle, kVersion, window_texts::kAboutCredits);
    MessageBoxA(window_, text, kTitle, MB_OK | MB_TOPMOST);
}

void MainWindow::enable_inputs(bool enabled) {
    for (HWND control : {folder_box_, keyword_box_, words_box_, list_box_, excel_check_,
                         regex_check_, search_button_, folder_button_, list_button_}) {
        EnableWindow(control, enabled);
    }
}

void MainWindow::search() {
    // The flags change only when the input passes the first test.
    FieldValues fields = read_fields();
    const bool output_excel = fields.output_excel;
    const bool regular_expression = fields.regular_expression;
    fields.output_excel = context_.output_excel;
    fields.regular_expression = context_.regular_expression;
    take_fields(context_, fields);
    if (!context_.search_words_text.empty() || !context_.list_file_path.empty()) {
        context_.output_excel = output_excel;
        context_.regular_expression = regular_expression;
    }

    WindowFrontEnd front_end(*this);
    SearchRun run(context_, front_end);
    searching_ = true;
    if (run.prepare()) {
        enable_inputs(false);
        walking_ = true;
        HANDLE worker = CreateThread(nullptr, 0, walk_on_worker, &run, 0, nullptr);
        if (worker != nullptr) {
            pump_until(worker, *this);
            WaitForSingleObject(worker, INFINITE);
            CloseHandle(worker);
        } else {
            run.walk();
        }
        walking_ = false;
        run.finish();
        enable_inputs(true);
        SetWindowTextA(progress_, "");
        SetWindowTextA(counter_, "");
    }
    cancel_ = 0;
    searching_ = false;
}

void MainWindow::cancel() {
    // Only a running walk has something to stop; otherwise the button ends
    // the program.
    if (!walking_) exit_program(false);
    char question[128];
    std::snprintf(question, sizeof question, window_texts::kStopSearch, context_.hit_count.load());
    if (MessageBoxA(window_, question, kTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) cancel_ = 1;
}

}  // namespace zscan
