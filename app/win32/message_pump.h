// Keeps the window thread serving its windows while it waits for a worker
// thread or a started viewer to end.
#pragma once

#include <windows.h>

namespace zscan {

class MainWindow;

// Dispatches the thread's messages until `awaited` is signalled.  Sleeps on
// the message queue and the handle together instead of spinning; a quit
// message ends the process at once.  Accelerators are not translated;
// the edit boxes' own shortcuts are served.
void pump_until(HANDLE awaited, MainWindow &window);

}  // namespace zscan
