// Shows a finished result: the text file in Notepad, the result book in the
// Excel registered on this machine.  A viewer that cannot be started is
// skipped silently; the result stays in the temporary folder.
#pragma once

#include <string>

namespace zscan {

class MainWindow;

// Starts Notepad on `path` and serves the window until Notepad ends, so
// that the main window keeps painting meanwhile.
void open_in_notepad(const std::string &path, MainWindow &window);

// Starts the local server registered for Excel.Application on `path`,
// without waiting for it.
void open_in_excel(const std::string &path);

}  // namespace zscan
