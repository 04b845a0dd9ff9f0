// pickwire-pipe-probe: runs Pickwire's pipe server on a window of its own, with an observer that prints what it is
// told, and puts a client at a moment that no outside program can hit.
//
//   pickwire-pipe-probe early-client NAME         a client connects and writes between the creation of the first
//                                                  instance and the start of its connect, and stays connected
//   pickwire-pipe-probe early-client-gone NAME    the same client closes its end before the connect starts
//   pickwire-pipe-probe destroy-while-reading NAME
//                                                  a client connects and writes nothing; the server is destroyed
//                                                  while its read waits, then the client writes
//   pickwire-pipe-probe failed-wait NAME          the server's connect event is closed behind its back, so its
//                                                  wait fails; every message box is answered at once
//
// After the early clients, a second request is sent the ordinary way, to show that the server listens again.
// Output, one line each: "notified <hex of the request>", "destroyed <ms>", "late-write <ok|failed> <error>",
// "memory <intact|overwritten>", "boxes <count> <text of a box>", "timeout".
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "named_pipe.h"
#include "pipe_client.h"

namespace {

constexpr char kEarlyRequest[] = "cvdx:Z:\\m\\Account\\taro\\early:1.eml";
constexpr char kLaterRequest[] = "cvdx:Z:\\m\\Account\\taro\\later:2.eml";

class PrintingObserver : public CNamedPipeObserver {
 public:
  void Notify(const char* request) override {
    std::printf("notified ");
    for (const char* c = request; *c; ++c) std::printf("%02X", static_cast<unsigned char>(*c));
    std::printf("\n");
    std::fflush(stdout);
    ++count;
  }
  int count = 0;
};

PrintingObserver g_observer;
pickwire::UniqueHandle g_earlyClient;
bool g_earlyClientCloses = false;

// Connects and writes right after the first instance appears, before the server starts its connect.
void ConnectEarly(const std::string& name) {
  static bool done = false;
  if (done) return;
  done = true;
  g_earlyClient.reset(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD written = 0;
  WriteFile(g_earlyClient.get(), kEarlyRequest, sizeof kEarlyRequest - 1, &written, nullptr);
  if (g_earlyClientCloses) g_earlyClient.reset();
}

// Runs the message loop (and so the server's timer) until until() holds or timeoutMs has passed.
template <typename Condition>
bool PumpUntil(Condition until, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  MSG message;
  while (!until()) {
    if (GetTickCount64() >= deadline) return false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

HWND CreateTimerWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PickwirePipeProbe";
  RegisterClassA(&windowClass);
  return CreateWindowA("PickwirePipeProbe", "probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                       windowClass.hInstance, nullptr);
}

DWORD WINAPI SendLaterRequest(void* name) {
  pickwire::SendRequest(kLaterRequest, 5000, static_cast<const char*>(name));
  return 0;
}

int EarlyClient(const std::string& name, bool closes) {
  g_earlyClientCloses = closes;
  CNamedPipe::Settings settings;
  settings.name = name;
  settings.timerWindow = CreateTimerWindow();
  settings.pollingMs = 50;
  settings.observer = &g_observer;
  settings.instanceCreated = &ConnectEarly;
  CNamedPipe::CreateInstance(settings)->Start();
  if (!PumpUntil([] { return g_observer.count >= 1; }, 3000)) std::puts("timeout");
  // The second client runs on a thread of its own, so that the server keeps ticking here meanwhile.
  HANDLE sender = CreateThread(nullptr, 0, &SendLaterRequest, const_cast<char*>(name.c_str()), 0, nullptr);
  if (!PumpUntil([] { return g_observer.count >= 2; }, 5000)) std::puts("timeout");
  WaitForSingleObject(sender, INFINITE);
  CloseHandle(sender);
  CNamedPipe::DestroyInstance();
  return 0;
}

int DestroyWhileReading(const std::string& name) {
  CNamedPipe::Settings settings;
  settings.name = name;
  settings.timerWindow = CreateTimerWindow();
  settings.pollingMs = 50;
  settings.observer = &g_observer;
  CNamedPipe::CreateInstance(settings)->Start();
  pickwire::UniqueHandle client;
  pickwire::OpenPipeForWriting(client, 5000, name.c_str());
  // A few ticks: the server notices the client and starts its read, which waits for data (deadline 1 s).
  const ULONGLONG start = GetTickCount64();
  PumpUntil([&] { return GetTickCount64() - start >= 300; }, 1000);

  const ULONGLONG destroyStart = GetTickCount64();
  CNamedPipe::DestroyInstance();
  std::printf("destroyed %lu\n", static_cast<unsigned long>(GetTickCount64() - destroyStart));

  // Memory of the server's size, likely the very block it held, filled with a pattern; a read that still wrote
  // into the old request buffer would show in it.
  std::vector<char*> blocks;
  for (int i = 0; i < 8; ++i) {
    blocks.push_back(new char[sizeof(CNamedPipe)]);
    std::memset(blocks.back(), 0x5A, sizeof(CNamedPipe));
  }
  DWORD written = 0;
  const BOOL wrote = WriteFile(client.get(), kLaterRequest, sizeof kLaterRequest - 1, &written, nullptr);
  std::printf("late-write %s %lu\n", wrote ? "ok" : "failed", wrote ? 0ul : GetLastError());
  Sleep(200);
  bool intact = true;
  for (char* block : blocks) {
    for (std::size_t i = 0; i < sizeof(CNamedPipe); ++i) intact = intact && block[i] == 0x5A;
    delete[] block;
  }
  std::printf("memory %s\n", intact ? "intact" : "overwritten");
  std::fflush(stdout);
  return 0;
}

// Answers every message box of this process and counts them, from a thread of its own. A box is answered once its
// text can be read (it is filled in after the window appears), or after half a second whatever it holds.
struct BoxWatcher {
  std::atomic<bool> stop{false};
  std::map<HWND, int> sightings;
  std::string firstText;
};

BOOL CALLBACK AnswerBox(HWND window, LPARAM context) {
  auto* watcher = reinterpret_cast<BoxWatcher*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0) return TRUE;
  const int seen = ++watcher->sightings[window];
  char text[256] = {};
  GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  if (text[0] == '\0' && seen < 25) return TRUE;
  if (watcher->firstText.empty()) watcher->firstText = text;
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

DWORD WINAPI WatchBoxes(void* context) {
  auto* watcher = static_cast<BoxWatcher*>(context);
  while (!watcher->stop) {
    EnumWindows(&AnswerBox, reinterpret_cast<LPARAM>(watcher));
    Sleep(20);
  }
  return 0;
}

int FailedWait(const std::string& name) {
  CNamedPipe::Settings settings;
  settings.name = name;
  settings.timerWindow = CreateTimerWindow();
  settings.pollingMs = 50;
  settings.observer = &g_observer;
  BoxWatcher watcher;
  HANDLE thread = CreateThread(nullptr, 0, &WatchBoxes, &watcher, 0, nullptr);
  // Handles are given out lowest free slot first: the server's first event (its connect event) takes the slot
  // freed here, and closing that value again takes the event away from the server. Nothing may create a handle
  // in between, or it would take the slot instead.
  const HANDLE freedSlot = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(freedSlot);
  CNamedPipe::CreateInstance(settings)->Start();
  CloseHandle(freedSlot);

  const ULONGLONG start = GetTickCount64();
  PumpUntil([&] { return GetTickCount64() - start >= 1500; }, 3000);
  watcher.stop = true;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  std::printf("boxes %u %s\n", static_cast<unsigned>(watcher.sightings.size()), watcher.firstText.c_str());
  std::fflush(stdout);
  CNamedPipe::DestroyInstance();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: pickwire-pipe-probe early-client|early-client-gone|destroy-while-reading|failed-wait NAME\n", stderr);
    return 2;
  }
  const std::string scenario = argv[1];
  const std::string name = argv[2];
  if (scenario == "early-client") return EarlyClient(name, false);
  if (scenario == "early-client-gone") return EarlyClient(name, true);
  if (scenario == "destroy-while-reading") return DestroyWhileReading(name);
  if (scenario == "failed-wait") return FailedWait(name);
  std::fputs("unknown scenario\n", stderr);
  return 2;
}
