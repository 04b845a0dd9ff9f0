// The pipe server of Pickwire: a named pipe served from a window timer of the mail client's user-interface thread.
//
// The server never blocks that thread and owns no thread of its own. Each pipe instance starts an overlapped
// connect whose completion signals an event; a window timer polls that event with a zero wait. When a client has
// connected, the server reads its request with an overlapped read into a buffer of its own, closes the instance,
// hands the text to its observer and opens a fresh instance for the next client. The pipe is inbound only: clients
// write, the server never answers.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "request.h"
#include "unique_handle.h"

// Told of every request that the server reads. No virtual destructor: the server never owns or deletes observers.
class CNamedPipeObserver {
 public:
  // request: the text of one request, zero-terminated, valid only during the call.
  virtual void Notify(const char* request) = 0;

 protected:
  ~CNamedPipeObserver() = default;
};

class CNamedPipe {
 public:
  // Where a server listens and whom it tells.
  struct Settings {
    std::string name;                 // the pipe name, e.g. "\\.\pipe\PickwirePipe"
    HWND timerWindow = nullptr;       // carries the polling timer (the mail client's main window)
    int pollingMs = 500;              // period of the polling timer, passed to the platform as it is
    CNamedPipeObserver* observer = nullptr;  // not owned
    // Called between the creation of an instance and the start of its connect. Tests use it to connect a client
    // in that window; the plug-in leaves it empty.
    void (*instanceCreated)(const std::string& name) = nullptr;
  };

  static constexpr UINT_PTR kTimerId = 8755;  // 0x2233, on the timer window
  // A client that connected has this long to write its request, counted from the tick that noticed it.
  static constexpr std::uint64_t kRequestDeadlineMs = 1000;
  // While a read waits for its data the timer ticks at this period (or at the polling period when that is
  // shorter), so that the deadline holds whatever the polling period is.
  static constexpr int kReadPollMs = 20;

  // The plug-in's server: created on the first call from the module's settings (main window, "PollingTime", the
  // selection handler). Defined with the plug-in's entry points.
  static CNamedPipe* GetInstance();
  // Makes the one server of the module from settings, unless it exists already; returns it.
  static CNamedPipe* CreateInstance(Settings settings);
  // Tears the one server down (at detach); nothing happens when none exists.
  static void DestroyInstance();
  // The server, or null before CreateInstance.
  static CNamedPipe* Current();

  explicit CNamedPipe(Settings settings);
  CNamedPipe(const CNamedPipe&) = delete;
  CNamedPipe& operator=(const CNamedPipe&) = delete;
  // Cancels pending input (connect, read) and waits until the system is done with the buffers, then closes the
  // instance, stops the timer and closes the events.
  ~CNamedPipe();

  // Creates the first instance, starts its connect and arms the timer. Does nothing once started, so a repeated
  // information event neither restarts nor duplicates the server. Always true.
  bool Start();

  // The timer callback: one poll of the module's server. The timer arguments are not used.
  static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

 private:
  enum class State {
    kIdle,        // not started
    kNoInstance,  // an instance could not be created; every tick tries again
    kListening,   // an instance exists, its connect pending or done
    kReading,     // a client connected, the read waits for its data until the deadline
    kHalted,      // polling stopped after a failed wait
  };

  void Tick();
  bool OpenInstance();
  void BeginRead();
  void PollRead();
  void Serve(DWORD bytesRead);
  void CloseInstance();
  void Halt();
  void ArmTimer(int periodMs);
  void StopTimer();

  OVERLAPPED overlapped_{};  // the connect
  DWORD openMode_ = FILE_FLAG_OVERLAPPED | PIPE_ACCESS_INBOUND;
  pickwire::UniqueHandle pipe_;
  Settings settings_;
  pickwire::UniqueHandle event_;  // manual-reset, signalled when a client has connected
  UINT_PTR timer_ = 0;            // what SetTimer returned; 0 while the timer is not armed
  State state_ = State::kIdle;
  bool connectPending_ = false;
  bool readPending_ = false;
  OVERLAPPED readOverlapped_{};
  pickwire::UniqueHandle readEvent_;  // manual-reset, signalled when the read has completed
  std::uint64_t readDeadline_ = 0;
  // The request buffer belongs to the server, so a read can never complete into memory that is gone: the
  // destructor cancels and waits for a pending read before the buffer goes away.
  std::array<char, pickwire::kRequestBufferSize> request_{};
};
