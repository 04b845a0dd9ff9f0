// The index job's work on one folder: every message becomes a document of the database.
#include <windows.h>

#include "code_page.h"
#include "corvidex.h"
#include "job_constants.h"
#include "job_stats.h"
#include "plugin_module.h"

void CCorvidex::IndexFolderProc(char* path) {
  CProgressDlg4Fiber& dialog = g_progressDlg;
  const int count = g_edmax.EDA_GetMessageCount(0);
  dialog.SetProgressPos(0);
  dialog.SetProgressRange(static_cast<unsigned>(count));
  dialog.SetProgressStep(1);

  if (count != 0) {
    dialog.SetCaption(path);
    CodePageConverter textConverter;  // one growing buffer for all texts of the folder
    char utf8Path[kUtf8PathSize];
    unsigned counter = 0;
    // Each call writes the next message path over the path buffer.
    for (int cursor = g_edmax.EDA_GetNextMessagePath(-1, path, 0); cursor != -1;
         cursor = g_edmax.EDA_GetNextMessagePath(cursor, path, 0)) {
      path[kEdmaxPathBufferSize - 1] = '\0';
      if (const char* text = g_edmax.EDA_GetMessage(path)) {
        if (*text) {
          const char* utf8Text = textConverter.Convert(text, kClientCodePage, kUtf8CodePage);
          // A path that cannot be converted whole is left out rather than stored under a cut or empty URI.
          if (utf8Text && ConvertCodePage(path, kClientCodePage, utf8Path, kUtf8CodePage, sizeof utf8Path) > 1) {
            CORVIDEX_TIME_DATABASE;
            m_db->PutMessage(utf8Path, utf8Text);
          }
        }
        g_edmax.EDA_ReleaseEdmaxBuffer();
      }
      if (++counter % kItemsPerYield == 0) dialog.YieldToDialog();
      dialog.StepProgress();
      dialog.SetStatusText(path);
      if (TakeAbortRequest()) break;
    }
  }
  dialog.SetStatusText("");
  dialog.YieldToDialog();
}
