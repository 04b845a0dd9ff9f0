#include "progress_dlg.h"

#include <commctrl.h>

#include <cstdint>

#include "fiber.h"
#include "job_stats.h"
#include "plugin_module.h"

int CProgressDlg4Fiber::LaunchIndexJob(bool withSubfolders) { return Launch(&IndexFiberProc, withSubfolders); }

int CProgressDlg4Fiber::LaunchPurgeJob(bool withSubfolders) { return Launch(&PurgeFiberProc, withSubfolders); }

int CProgressDlg4Fiber::Launch(LPFIBER_START_ROUTINE routine, bool withSubfolders) {
  // The modal dialog disables only its owner, so the client may still send a command while a job runs (from
  // another window, or from the job's own summary box). One job at a time.
  if (m_running) return -1;

  // The template's progress bar and the status bar are common controls.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);

  // Both fibers belong to this launch: on every way out the job fiber is deleted and the thread is a thread again
  // (unless it was a fiber before we came).
  ThreadAsFiber thread;
  if (!thread.Get()) return -1;
  OwnedFiber job(routine, reinterpret_cast<void*>(static_cast<std::intptr_t>(withSubfolders ? 1 : 0)));
  if (!job.Get()) return -1;

  m_running = true;
  m_observer = &g_corvidex;
  m_dialogFiber = thread.Get();
  m_jobFiber = job.Get();
  m_finished = false;
#ifdef CORVIDEX_TICK_STATS
  CurrentJobStats() = JobStats{};
#endif

  const INT_PTR result = DoModal(g_module, GetActiveWindow());

  m_jobFiber = nullptr;
  m_dialogFiber = nullptr;
  m_progressBar = nullptr;
  m_statusBar = nullptr;
  m_running = false;
  return result == -1 ? -1 : 0;
}

BOOL CProgressDlg4Fiber::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return TRUE;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:  // Enter: the dialog has nothing to confirm
          return TRUE;
        case IDCANCEL:  // the abort button, Esc and the close box
          OnCancel();
          return TRUE;
      }
      break;
  }
  return FALSE;
}

LRESULT CProgressDlg4Fiber::OnInitDialog() {
  m_statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROGRESS_STATUS_BAR)), g_module,
                                nullptr);
  m_progressBar = GetDlgItem(m_hWnd, IDC_PROGRESS_BAR);
  SendMessageA(m_progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, 10));
  SendMessageA(m_progressBar, PBM_SETPOS, 0, 0);
  // The job starts at the first tick, once the dialog is on the screen.
  SetTimer(m_hWnd, m_timerId, m_timerPeriod, nullptr);
  return TRUE;
}

void CProgressDlg4Fiber::OnTimer(UINT_PTR timerId) {
  if (!m_jobFiber) {
    KillTimer(m_hWnd, timerId);
    return;
  }
  // A modal loop of the job itself (its summary box) dispatches our ticks on the job fiber: nothing to hand over.
  if (CurrentFiber() == m_jobFiber) return;

  SwitchToFiber(m_jobFiber);  // back here when the job yields or has finished

  if (m_finished) {
    m_finished = false;
    m_jobFiber = nullptr;  // the launch deletes it once the dialog has ended
    EndDialog(0);
    KillTimer(m_hWnd, timerId);
  }
}

void CProgressDlg4Fiber::OnCancel() {
  // The dialog stays open: the job sees the request at its next item and ends when it is ready.
  if (m_observer) m_observer->OnDialogCommand(1);
}

BOOL CProgressDlg4Fiber::PreTranslateMessage(MSG* msg) { return IsDialogMessageA(m_hWnd, msg); }

BOOL CProgressDlg4Fiber::OnIdle() { return FALSE; }

void CProgressDlg4Fiber::SetCaption(const char* text) {
  CORVIDEX_TIME_DIALOG;
  SetWindowTextA(m_hWnd, text);
}

void CProgressDlg4Fiber::SetStatusText(const char* text) {
  CORVIDEX_TIME_DIALOG;
  SendMessageA(m_statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void CProgressDlg4Fiber::SetProgressRange(unsigned count) {
  CORVIDEX_TIME_DIALOG;
  SendMessageA(m_progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, count & 0xFFFF));
}

void CProgressDlg4Fiber::SetProgressPos(int position) {
  CORVIDEX_TIME_DIALOG;
  SendMessageA(m_progressBar, PBM_SETPOS, position, 0);
}

void CProgressDlg4Fiber::SetProgressStep(int step) {
  CORVIDEX_TIME_DIALOG;
  SendMessageA(m_progressBar, PBM_SETSTEP, step, 0);
}

void CProgressDlg4Fiber::StepProgress() {
  CORVIDEX_TIME_DIALOG;
  SendMessageA(m_progressBar, PBM_STEPIT, 0, 0);
}

void CProgressDlg4Fiber::YieldToDialog() {
#ifdef CORVIDEX_TICK_STATS
  ++CurrentJobStats().yields;
  StopWatch tickWait(CurrentJobStats().tickWaitMilliseconds);
#endif
  SwitchToFiber(m_dialogFiber);
}

void CProgressDlg4Fiber::FinishJob() {
  m_finished = true;
  SwitchToFiber(m_dialogFiber);
  // The dialog deletes this fiber without ever switching back to it.
  for (;;) SwitchToFiber(m_dialogFiber);
}

// An exception must not leave a fiber routine (that ends the process); a job that fails ends like one whose
// database cannot be opened.
void CALLBACK CProgressDlg4Fiber::IndexFiberProc(void* parameter) {
  try {
    g_corvidex.IndexFolder(parameter != nullptr);
  } catch (...) {
  }
  g_progressDlg.FinishJob();
}

void CALLBACK CProgressDlg4Fiber::PurgeFiberProc(void* parameter) {
  try {
    g_corvidex.PurgeFolder(parameter != nullptr);
  } catch (...) {
  }
  g_progressDlg.FinishJob();
}
