// The two callback interfaces through which the progress dialog and the index database report to the plug-in.
#pragma once

// Told by the progress dialog when the user acts on it.
class IFDialogObserver {
 public:
  // code 1: the user pressed the abort button. The dialog ignores the result.
  virtual int OnDialogCommand(int code) = 0;

 protected:
  ~IFDialogObserver() = default;
};

// Told by the index database when the full-text library reports a stage of its work.
class IInformerObserver {
 public:
  // Stage kFlushingStage: the library's message begins with "flushing"; stage kClosingStage: with "closing".
  // message is the library's own text, valid only during the call.
  virtual void OnInform(const char* message, int stage) = 0;

  static constexpr int kFlushingStage = 0;
  static constexpr int kClosingStage = 1;

 protected:
  ~IInformerObserver() = default;
};
