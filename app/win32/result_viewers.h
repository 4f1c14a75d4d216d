// Shows a finished result: the text file in Notepad, the result book in the
// Excel registered on this machine, else in the program its file type is
// associated with, else by telling where it is.  A Notepad that cannot be
// started is skipped silently; the result stays in the temporary folder.
#pragma once

#include <string>

namespace zscan {

class MainWindow;

// Starts Notepad on `path` and serves the window until Notepad ends, so
// that the main window keeps painting meanwhile.
void open_in_notepad(const std::string &path, MainWindow &window);

// Starts Notepad on `path` without waiting for it.
void show_in_notepad(const std::string &path);

// Opens the result book at `path` without waiting for its viewer: in the
// local server registered for Excel.Application, else with the file's
// associated program (ShellExecute "open"); when neither starts, a message
// box owned by the window gives the book's path.
void open_result_book(const std::string &path, MainWindow &window);

}  // namespace zscan
