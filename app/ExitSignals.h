#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, a closed terminal) end the desktop
// program as its Exit does, with the settings saved and every file under
// way stopped, instead of killing it in the middle of a file.

#include <functional>

class QObject;

// Calls `exit` on the thread of `owner` (the GUI thread) when one of the
// signals arrives. The handlers stay for the rest of the process; a second
// signal ends it at once.
void ExitOnSignals(QObject* owner, std::function<void()> exit);
