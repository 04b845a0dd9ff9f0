#include "select_mail.h"

#include "plugin_state.h"
#include "request.h"

void CSelectMail::Notify(const char* request) {
  const pickwire::RequestParse parse = pickwire::ParseRequest(request);
  if (!parse.Accepted()) return;
  const CEdmaxApi& api = PickwireHostApi();
  // The macros take effect before the selection: the mail view must be up and the folder open.
  api.EDA_RunMacro(pickwire::kActivateMailerMacro);
  api.EDA_RunMacro(parse.request.openFolderMacro.c_str());
  api.EDA_SelectMessage(parse.request.messagePath.c_str(), 1);
  RaiseWindow(PickwireMainWindow());
}

void RaiseWindow(HWND window) {
  constexpr UINT kShowTopmost = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;  // 0x43
  constexpr UINT kLeaveTopmost = SWP_NOSIZE | SWP_NOMOVE;                  // 0x03
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kShowTopmost);
  SetFocus(window);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kLeaveTopmost);
  SetActiveWindow(window);
}
