// A small modal dialog base: the dialog procedure finds the object and hands every message to its
// ProcessWindowMessage, which says whether it handled the message and with which result.
#pragma once

#include <windows.h>

// Message-loop hooks a dialog may offer to a loop that knows them.
class CMessageFilter {
 public:
  // True when msg was consumed and must not be translated or dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;

 protected:
  ~CMessageFilter() = default;
};

class CIdleHandler {
 public:
  // True when the handler wants to be called again before the loop waits.
  virtual BOOL OnIdle() = 0;

 protected:
  ~CIdleHandler() = default;
};

// T gives its template id as T::IDD and handles messages in
//   BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT& result)
// returning FALSE for what the default dialog handling is to do.
template <class T>
class DialogImpl {
 public:
  HWND m_hWnd = nullptr;

  // Runs the dialog modally from the template T::IDD in module, owned by owner. The dialog's result, or -1 when the
  // dialog cannot be created.
  INT_PTR DoModal(HINSTANCE module, HWND owner) {
    return DialogBoxParamA(module, MAKEINTRESOURCEA(T::IDD), owner, &DialogImpl::DialogProc,
                           reinterpret_cast<LPARAM>(this));
  }

  BOOL EndDialog(INT_PTR result) { return ::EndDialog(m_hWnd, result); }

 protected:
  DialogImpl() = default;
  ~DialogImpl() = default;
  DialogImpl(const DialogImpl&) = delete;
  DialogImpl& operator=(const DialogImpl&) = delete;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogImpl* self = nullptr;
    if (message == WM_INITDIALOG) {
      // DoModal passed the object as the initialisation value; the window remembers it from now on.
      self = reinterpret_cast<DialogImpl*>(lParam);
      self->m_hWnd = window;
      SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<DialogImpl*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT and the like)

    LRESULT result = 0;
    const BOOL handled = static_cast<T*>(self)->ProcessWindowMessage(window, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) self->m_hWnd = nullptr;
    if (!handled) return FALSE;
    // WM_INITDIALOG answers through the procedure's own result (TRUE: the system sets the focus); every other
    // handled message through DWLP_MSGRESULT.
    if (message == WM_INITDIALOG) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
};
