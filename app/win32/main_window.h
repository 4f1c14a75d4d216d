// The main window: its controls, labels and picture, the menu commands,
// the settings file and its save offer, and the search command that runs
// the engine with a worker thread.  One object per process, on the window
// thread; the window procedure finds it through the window's user data.
#pragma once

#include "engine/search_context.h"

#include <windows.h>

#include <atomic>

namespace zscan {

class MainWindow {
public:
    explicit MainWindow(HINSTANCE instance);
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    // Loads the settings, registers the class and shows the window.  False
    // when the class or the window cannot be made.
    bool create(int show_command);
    HWND handle() const { return window_; }

    // Frees the main font and ends the process with code 0.
    [[noreturn]] void end_process();

    // What the worker thread's front end reaches.
    void set_progress_text(const char *text);
    void set_hit_counter_text(const char *text);
    bool cancel_requested() const { return cancel_ != 0; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void create_controls();
    void paint();
    void on_command(int id);

    FieldValues read_fields() const;
    // The search menu's check items.
    bool menu_ticked(int id) const;
    void tick_menu(int id, bool ticked);
    void save_and_snapshot();
    void offer_to_save();
    [[noreturn]] void exit_program(bool destroy);

    void browse_folder();
    void browse_list_file();
    void show_help();
    void show_about();
    void search();
    void cancel();
    void enable_inputs(bool enabled);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HFONT main_font_ = nullptr;
    HFONT small_font_ = nullptr;
    HWND folder_box_ = nullptr, keyword_box_ = nullptr, words_box_ = nullptr,
         list_box_ = nullptr, progress_ = nullptr, counter_ = nullptr, search_button_ = nullptr,
         cancel_button_ = nullptr, folder_button_ = nullptr, list_button_ = nullptr,
         excel_check_ = nullptr, regex_check_ = nullptr;

    SearchContext context_;
    std::string settings_path_;
    FieldValues snapshot_;              // settings as last loaded or saved
    bool searching_ = false;            // a search command is under way
    bool walking_ = false;              // its worker walks the folder
    std::atomic<int> cancel_{0};        // the user confirmed cancelling
    char list_file_buffer_[260] = {};   // the file dialog's last choice
};

}  // namespace zscan
