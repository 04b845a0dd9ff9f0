// The error box of both plug-ins.
#pragma once

#include <windows.h>

// Shows the calling thread's last error: text "ERROR", the system's message for the error code as the caption
// ("error <code>" when the system has none), an OK button, owned by owner (none while the client's main window is
// not yet known).
void ShowLastError(HWND owner);
