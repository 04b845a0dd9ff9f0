// The client side of Pickwire's pipe: waits for the pipe and writes one request. Used by pickwire-send and by any
// other program that shows a message through Pickwire. Callers check the request with ParseRequest (request.h)
// first; this piece sends whatever bytes it is given.
#pragma once

#include <windows.h>

#include <string_view>

#include "pipe_name.h"
#include "unique_handle.h"

namespace pickwire {

enum class SendOutcome {
  kSent,           // the whole request was written in one write
  kNotListening,   // no pipe appeared within the wait: the mail client or Pickwire is not running
  kStayedBusy,     // the pipe stayed busy with other clients for the whole wait
  kOpenFailed,     // the pipe could not be opened for another reason (see error)
  kWriteFailed,    // the pipe was opened but the request could not be written whole (see error)
};

struct SendResult {
  SendOutcome outcome = SendOutcome::kSent;
  DWORD error = ERROR_SUCCESS;  // the system's error code, for kOpenFailed and kWriteFailed
};

// How long a client waits by default: the server is between instances while it handles another request, and a
// connected client is read at the server's next tick (every 500 ms by default).
constexpr DWORD kDefaultSendWaitMs = 5000;

// Opens the pipe for writing into pipe, waiting up to waitMs while it is busy or absent. kSent means opened.
SendResult OpenPipeForWriting(UniqueHandle& pipe, DWORD waitMs = kDefaultSendWaitMs, const char* pipeName = kPipeName);

// Opens the pipe for writing, waiting up to waitMs while it is busy or absent (the server recreates its instance
// after each request), writes request in one write and closes the pipe.
SendResult SendRequest(std::string_view request, DWORD waitMs = kDefaultSendWaitMs, const char* pipeName = kPipeName);

// A short English explanation of an outcome, for people.
const char* DescribeSendOutcome(SendOutcome outcome);

}  // namespace pickwire
