// Owners of the two fibers a job runs with: the calling thread seen as a fiber, and the job's own fiber.
#pragma once

#include <windows.h>

// The running fiber. GCC 12 takes the TEB read inside GetCurrentFiber for an access out of bounds; it is not.
inline void* CurrentFiber() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  return GetCurrentFiber();
#pragma GCC diagnostic pop
}

// The calling thread as a fiber for the life of this object. A thread that is a fiber already (the client may run
// its own fibers) is used as it is and stays a fiber; only a conversion made here is undone on destruction.
class ThreadAsFiber {
 public:
  ThreadAsFiber() {
    if (IsThreadAFiber()) {
      fiber_ = CurrentFiber();
    } else {
      fiber_ = ConvertThreadToFiber(nullptr);
      converted_ = fiber_ != nullptr;
    }
  }
  ~ThreadAsFiber() {
    if (converted_) ConvertFiberToThread();
  }
  ThreadAsFiber(const ThreadAsFiber&) = delete;
  ThreadAsFiber& operator=(const ThreadAsFiber&) = delete;

  // The thread's fiber; null when the thread could not be converted.
  void* Get() const { return fiber_; }

 private:
  void* fiber_ = nullptr;
  bool converted_ = false;
};

// A fiber created here and deleted with this object. It must not be the running fiber then.
class OwnedFiber {
 public:
  OwnedFiber(LPFIBER_START_ROUTINE routine, void* parameter) : fiber_(CreateFiber(0, routine, parameter)) {}
  ~OwnedFiber() {
    if (fiber_) DeleteFiber(fiber_);
  }
  OwnedFiber(const OwnedFiber&) = delete;
  OwnedFiber& operator=(const OwnedFiber&) = delete;

  // The fiber; null when it could not be created.
  void* Get() const { return fiber_; }

 private:
  void* fiber_;
};
