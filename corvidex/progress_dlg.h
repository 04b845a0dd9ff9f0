// The modal progress dialog behind which a job runs on a fiber of its own.
#pragma once

#include <windows.h>

#include "dialog_impl.h"
#include "observers.h"
#include "resource.h"

// One static object, reused by every command. A launch creates the job fiber and runs the dialog modally; the
// dialog's timer hands the thread to the job, and the job hands it back at its yields. When the job has finished,
// the dialog ends and the launch returns. Everything runs on the client's user-interface thread.
class CProgressDlg4Fiber final : public DialogImpl<CProgressDlg4Fiber>, public CMessageFilter, public CIdleHandler {
 public:
  enum { IDD = IDD_PROGRESS };

  // Run the index or purge job of the plug-in on the client's current folder (and the folders below it when
  // withSubfolders is true). 0 once the job has ended; -1 when no job ran: the dialog or the job's fiber could not
  // be created, the thread could not be made a fiber, or a job is running already.
  int LaunchIndexJob(bool withSubfolders);
  int LaunchPurgeJob(bool withSubfolders);

  // What the running job shows. The job calls these on its fiber; the messages reach the controls synchronously.
  void SetCaption(const char* text);
  void SetStatusText(const char* text);     // part 0 of the status bar
  void SetProgressRange(unsigned count);    // 0 to the low 16 bits of count
  void SetProgressPos(int position);
  void SetProgressStep(int step);
  void StepProgress();

  // Gives the thread back to the dialog; the job resumes here at the dialog's next timer tick.
  void YieldToDialog();

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnIdle() override;

  BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  int Launch(LPFIBER_START_ROUTINE routine, bool withSubfolders);
  LRESULT OnInitDialog();
  void OnTimer(UINT_PTR timerId);
  void OnCancel();
  static void CALLBACK IndexFiberProc(void* parameter);
  static void CALLBACK PurgeFiberProc(void* parameter);
  // Marks the job finished and hands the thread back for good.
  [[noreturn]] void FinishJob();

  HWND m_progressBar = nullptr;
  HWND m_statusBar = nullptr;
  UINT_PTR m_timerId = 257;
  UINT m_timerPeriod = 100;  // milliseconds
  void* m_jobFiber = nullptr;     // the job's fiber while one is pending; owned by the launch
  void* m_dialogFiber = nullptr;  // the user-interface thread as a fiber; owned by the launch
  bool m_finished = false;        // set by the job fiber when its job has returned
  IFDialogObserver* m_observer = nullptr;
  bool m_running = false;  // a launch is under way; a second command is refused meanwhile
};
