#include "corvidex.h"

#include "plugin_module.h"

CCorvidex::CCorvidex() : m_db(std::make_unique<CEstraierDb>()) {}

CCorvidex::~CCorvidex() = default;

int CCorvidex::OnDialogCommand(int code) {
  if (code == 1) m_abort = true;
  return code - 1;
}

void CCorvidex::OnInform(const char*, int stage) {
  switch (stage) {
    case kFlushingStage:
      g_progressDlg.SetStatusText("flushing...");
      break;
    case kClosingStage:
      g_progressDlg.SetStatusText("closing...");
      break;
  }
}

bool CCorvidex::TakeAbortRequest() {
  const bool requested = m_abort;
  m_abort = false;
  return requested;
}
