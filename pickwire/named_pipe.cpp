#include "named_pipe.h"

#include "show_last_error.h"

namespace {

// The one server of the module; created on first use, freed at detach.
CNamedPipe* g_server = nullptr;

// Every instance: byte stream, byte reads, blocking mode, local clients only. Remote clients are refused because
// a request makes the mail client run macros: only programs on the user's own machine may send one.
constexpr DWORD kPipeMode = PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;
constexpr DWORD kPipeBufferSize = 4096;
constexpr DWORD kClientDefaultTimeoutMs = 0;  // clients that wait with the default wait the platform's 50 ms

}  // namespace

CNamedPipe* CNamedPipe::CreateInstance(Settings settings) {
  if (!g_server) g_server = new CNamedPipe(std::move(settings));
  return g_server;
}

void CNamedPipe::DestroyInstance() {
  delete g_server;
  g_server = nullptr;
}

CNamedPipe* CNamedPipe::Current() { return g_server; }

CNamedPipe::CNamedPipe(Settings settings) : settings_(std::move(settings)) {}

CNamedPipe::~CNamedPipe() {
  StopTimer();
  CloseInstance();
}

bool CNamedPipe::Start() {
  if (state_ != State::kIdle) return true;
  event_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  readEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  state_ = OpenInstance() ? State::kListening : State::kNoInstance;
  ArmTimer(settings_.pollingMs);
  return true;
}

void CALLBACK CNamedPipe::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  // Runs from the mail client's message loop: nothing may leave this function by an exception.
  try {
    if (g_server) g_server->Tick();
  } catch (...) {
  }
}

void CNamedPipe::Tick() {
  switch (state_) {
    case State::kIdle:
    case State::kHalted:
      return;
    case State::kNoInstance:
      if (OpenInstance()) state_ = State::kListening;
      return;
    case State::kReading:
      PollRead();
      return;
    case State::kListening:
      break;
  }
  switch (WaitForSingleObject(event_.get(), 0)) {
    case WAIT_TIMEOUT:  // no client yet
      return;
    case WAIT_OBJECT_0:  // a client has connected
      connectPending_ = false;
      BeginRead();
      return;
    default:
      Halt();
      return;
  }
}

// Creates an instance and starts its connect. A client may open the instance as soon as it exists, before the
// connect starts; the connect then reports ERROR_PIPE_CONNECTED (or ERROR_NO_DATA when that client has already
// closed its end) and signals nothing, so the event is set here and the next tick serves that client like any other.
bool CNamedPipe::OpenInstance() {
  pipe_.reset(CreateNamedPipeA(settings_.name.c_str(), openMode_, kPipeMode, PIPE_UNLIMITED_INSTANCES,
                               kPipeBufferSize, kPipeBufferSize, kClientDefaultTimeoutMs, nullptr));
  if (!pipe_) return false;
  if (settings_.instanceCreated) settings_.instanceCreated(settings_.name);

  ResetEvent(event_.get());
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = event_.get();
  if (ConnectNamedPipe(pipe_.get(), &overlapped_)) {
    SetEvent(event_.get());
    return true;
  }
  switch (GetLastError()) {
    case ERROR_IO_PENDING:
      connectPending_ = true;
      return true;
    case ERROR_PIPE_CONNECTED:
    case ERROR_NO_DATA:
      SetEvent(event_.get());
      return true;
    default:
      pipe_.reset();
      return false;
  }
}

// Starts the read of a connected client's request. A client that wrote before this tick is read at once; one that
// has not written yet gets until the deadline, with the timer ticking fast meanwhile.
void CNamedPipe::BeginRead() {
  request_.fill('\0');
  ResetEvent(readEvent_.get());
  readOverlapped_ = OVERLAPPED{};
  readOverlapped_.hEvent = readEvent_.get();
  DWORD bytesRead = 0;
  if (ReadFile(pipe_.get(), request_.data(), static_cast<DWORD>(request_.size()), &bytesRead, &readOverlapped_)) {
    Serve(bytesRead);
    return;
  }
  if (GetLastError() != ERROR_IO_PENDING) {  // the client has gone without writing
    Serve(0);
    return;
  }
  readPending_ = true;
  readDeadline_ = GetTickCount64() + kRequestDeadlineMs;
  state_ = State::kReading;
  const int readPollMs = settings_.pollingMs > 0 && settings_.pollingMs < kReadPollMs ? settings_.pollingMs
                                                                                      : kReadPollMs;
  ArmTimer(readPollMs);
}

void CNamedPipe::PollRead() {
  DWORD bytesRead = 0;
  switch (WaitForSingleObject(readEvent_.get(), 0)) {
    case WAIT_OBJECT_0:
      readPending_ = false;
      Serve(GetOverlappedResult(pipe_.get(), &readOverlapped_, &bytesRead, FALSE) ? bytesRead : 0);
      return;
    case WAIT_TIMEOUT:
      if (GetTickCount64() < readDeadline_) return;
      // The client wrote nothing in time: cancel the read and wait until the system has let go of the buffer
      // (a cancelled read completes at once). Data that arrived at the last moment is still served.
      CancelIoEx(pipe_.get(), &readOverlapped_);
      readPending_ = false;
      Serve(GetOverlappedResult(pipe_.get(), &readOverlapped_, &bytesRead, TRUE) ? bytesRead : 0);
      return;
    default:
      Halt();
      return;
  }
}

// Ends one client: closes its instance, hands its request to the observer and opens the next instance. The timer
// is stopped meanwhile, so no tick runs while the observer's calls into the mail client run the message loop.
// Whatever the client sent beyond the one read is discarded with the instance. A request that fills the whole
// buffer is 4096 bytes or longer and is refused whole; nothing read is handed on when nothing was read.
void CNamedPipe::Serve(DWORD bytesRead) {
  StopTimer();
  CloseInstance();
  if (bytesRead > 0 && bytesRead < request_.size() && settings_.observer) {
    settings_.observer->Notify(request_.data());
  }
  state_ = OpenInstance() ? State::kListening : State::kNoInstance;
  ArmTimer(settings_.pollingMs);
}

// Closes the current instance once the system holds none of the server's buffers any more.
void CNamedPipe::CloseInstance() {
  if (!pipe_) return;
  if (connectPending_ || readPending_) {
    CancelIoEx(pipe_.get(), nullptr);
    DWORD ignored = 0;
    if (connectPending_) GetOverlappedResult(pipe_.get(), &overlapped_, &ignored, TRUE);
    if (readPending_) GetOverlappedResult(pipe_.get(), &readOverlapped_, &ignored, TRUE);
    connectPending_ = readPending_ = false;
  }
  pipe_.reset();
}

// A failed wait (the event handle no longer valid) is reported once; polling stops, so no box follows another.
void CNamedPipe::Halt() {
  const DWORD error = GetLastError();
  StopTimer();
  state_ = State::kHalted;
  SetLastError(error);
  ShowLastError(settings_.timerWindow);
}

// Arms the timer, or changes the period of the armed one (SetTimer with the same id replaces it).
void CNamedPipe::ArmTimer(int periodMs) {
  const UINT_PTR id = settings_.timerWindow ? kTimerId : timer_;
  timer_ = SetTimer(settings_.timerWindow, id, static_cast<UINT>(periodMs), &CNamedPipe::TimerProc);
}

void CNamedPipe::StopTimer() {
  if (timer_ == 0) return;
  KillTimer(settings_.timerWindow, settings_.timerWindow ? kTimerId : timer_);
  timer_ = 0;
}
