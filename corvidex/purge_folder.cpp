// The purge job's work on one folder: documents whose message the client no longer has are removed.
#include <windows.h>

#include <cstring>

#include "code_page.h"
#include "corvidex.h"
#include "job_constants.h"
#include "job_stats.h"
#include "plugin_module.h"

namespace {

constexpr const char kUriPrefix[] = "cvdx:";
constexpr std::size_t kUriPrefixLength = sizeof kUriPrefix - 1;

// Memory that the full-text library returned, released with the library's own free.
template <class T>
class LibraryMemory {
 public:
  LibraryMemory(CEstraierDb& db, T* memory) : m_db(db), m_memory(memory) {}
  ~LibraryMemory() { m_db.FreeMemory(m_memory); }
  LibraryMemory(const LibraryMemory&) = delete;
  LibraryMemory& operator=(const LibraryMemory&) = delete;
  T* Get() const { return m_memory; }

 private:
  CEstraierDb& m_db;
  T* m_memory;
};

}  // namespace

void CCorvidex::PurgeFolderProc(char* path) {
  CProgressDlg4Fiber& dialog = g_progressDlg;
  unsigned counter = static_cast<unsigned>(g_edmax.EDA_GetMessageCount(0));  // yields count on from here
  dialog.SetProgressPos(0);
  dialog.SetCaption(path);

  char utf8Folder[kUtf8PathSize];
  // A folder path that cannot be converted whole would widen the prefix search to other folders: skip the folder.
  if (ConvertCodePage(path, kClientCodePage, utf8Folder, kUtf8CodePage, sizeof utf8Folder) > 1) {
    int found = 0;
    int* foundIds = nullptr;
    {
      CORVIDEX_TIME_DATABASE;
      foundIds = m_db->SearchFolder(utf8Folder, &found);
    }
    const LibraryMemory<int> ids(*m_db, foundIds);
    if (!ids.Get()) found = 0;
    dialog.SetProgressPos(0);
    dialog.SetProgressRange(static_cast<unsigned>(found));
    dialog.SetProgressStep(1);

    char messagePath[kMessagePathSize];
    for (int i = 0; i < found; ++i) {
      const int id = ids.Get()[i];
      bool haveMessagePath = false;
      {
        CORVIDEX_TIME_DATABASE;
        const LibraryMemory<char> uri(*m_db, m_db->GetDocUri(id));
        haveMessagePath = uri.Get() && std::strlen(uri.Get()) > kUriPrefixLength &&
                          ConvertCodePage(uri.Get() + kUriPrefixLength, kUtf8CodePage, messagePath, kClientCodePage,
                                          sizeof messagePath) > 1;
      }
      // A document whose message path cannot be had is left alone: asking the client about a wrong or empty path
      // would remove it although its message may exist.
      if (haveMessagePath) {
        dialog.SetStatusText(messagePath);
        const char* text = g_edmax.EDA_GetMessage(messagePath);
        const bool gone = !text || !*text;
        if (text) g_edmax.EDA_ReleaseEdmaxBuffer();
        if (gone) {
          CORVIDEX_TIME_DATABASE;
          m_db->RemoveDoc(id);
        }
      }
      dialog.StepProgress();
      if (++counter % kItemsPerYield == 0) dialog.YieldToDialog();
      if (TakeAbortRequest()) break;
    }
  }
  dialog.SetStatusText("");
  dialog.YieldToDialog();
}
