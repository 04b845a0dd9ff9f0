#include "pipe_client.h"

#include <algorithm>

namespace pickwire {

namespace {

// While no instance exists the client looks again this often; a busy pipe is waited for with WaitNamedPipe,
// which returns as soon as an instance is free.
constexpr DWORD kAbsentRetryMs = 10;
constexpr DWORD kBusyWaitSliceMs = 100;

}  // namespace

SendResult OpenPipeForWriting(UniqueHandle& pipe, DWORD waitMs, const char* pipeName) {
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  for (;;) {
    pipe.reset(CreateFileA(pipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (pipe) return {SendOutcome::kSent, ERROR_SUCCESS};
    const DWORD error = GetLastError();
    if (error != ERROR_PIPE_BUSY && error != ERROR_FILE_NOT_FOUND) return {SendOutcome::kOpenFailed, error};
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
      return {error == ERROR_PIPE_BUSY ? SendOutcome::kStayedBusy : SendOutcome::kNotListening, error};
    }
    const DWORD remaining = static_cast<DWORD>(deadline - now);
    if (error == ERROR_PIPE_BUSY) {
      WaitNamedPipeA(pipeName, std::min(remaining, kBusyWaitSliceMs));
    } else {
      Sleep(std::min(remaining, kAbsentRetryMs));
    }
  }
}

SendResult SendRequest(std::string_view request, DWORD waitMs, const char* pipeName) {
  UniqueHandle pipe;
  const SendResult opened = OpenPipeForWriting(pipe, waitMs, pipeName);
  if (opened.outcome != SendOutcome::kSent) return opened;
  DWORD written = 0;
  if (!WriteFile(pipe.get(), request.data(), static_cast<DWORD>(request.size()), &written, nullptr)) {
    return {SendOutcome::kWriteFailed, GetLastError()};
  }
  if (written != request.size()) return {SendOutcome::kWriteFailed, ERROR_WRITE_FAULT};
  return {SendOutcome::kSent, ERROR_SUCCESS};
}

const char* DescribeSendOutcome(SendOutcome outcome) {
  switch (outcome) {
    case SendOutcome::kSent:
      return "sent";
    case SendOutcome::kNotListening:
      return "Pickwire is not listening (is the mail client running with Pickwire.dll?)";
    case SendOutcome::kStayedBusy:
      return "the pipe stayed busy with other requests";
    case SendOutcome::kOpenFailed:
      return "the pipe could not be opened";
    case SendOutcome::kWriteFailed:
      return "the request could not be written to the pipe";
  }
  return "failed";
}

}  // namespace pickwire
