// The handler of Pickwire's requests: makes the mail client show the message that a request names.
#pragma once

#include <windows.h>

#include "named_pipe.h"

class CSelectMail : public CNamedPipeObserver {
 public:
  // Reads the request (request.h); a refused request changes nothing. Otherwise brings up the client's mail view,
  // opens the folder, selects the message and raises the main window. Nothing is reported back: whether the
  // folder or message exists is the mail client's business.
  void Notify(const char* request) override;
};

// Brings window to the front without moving or sizing it: into the topmost band and shown, focused, out of the
// topmost band again (it stays above the other ordinary windows), and activated.
void RaiseWindow(HWND window);
