// The two job drivers: one database session around a folder walk, ended by the summary box.
#include <windows.h>

#include <string>

#include "corvidex.h"
#include "job_stats.h"
#include "job_summary.h"
#include "plugin_module.h"

namespace {

// Closes the database on every way out of a job.
class DatabaseSession {
 public:
  explicit DatabaseSession(CEstraierDb& db) : m_db(db) {}
  ~DatabaseSession() { m_db.Close(); }
  DatabaseSession(const DatabaseSession&) = delete;
  DatabaseSession& operator=(const DatabaseSession&) = delete;

 private:
  CEstraierDb& m_db;
};

}  // namespace

void CCorvidex::IndexFolder(bool withSubfolders) { RunJob(withSubfolders, &CCorvidex::IndexFolderProc); }

void CCorvidex::PurgeFolder(bool withSubfolders) { RunJob(withSubfolders, &CCorvidex::PurgeFolderProc); }

void CCorvidex::RunJob(bool withSubfolders, FolderProc proc) {
  const DWORD start = GetTickCount();
  if (!m_db->Open(m_indexPath.c_str())) return;  // nothing to work on: the dialog just closes
  DatabaseSession session(*m_db);
  m_db->SetInformer(this);  // the flushing and closing stages appear in the status bar

  char path[kEdmaxPathBufferSize] = {};
  g_edmax.EDA_GetCurrentCtxpath(path);
  path[sizeof path - 1] = '\0';
  CreateIndex(path, withSubfolders, proc);

  int documentCount, wordCount;
  {
    CORVIDEX_TIME_DATABASE;
    m_db->Flush();
    documentCount = m_db->GetDocNum();
    wordCount = m_db->GetWordNum();
    m_db->Close();
  }
  const DWORD elapsed = GetTickCount() - start;  // unsigned arithmetic survives the tick count's wrap

  std::string summary = FormatJobSummary(elapsed, documentCount, wordCount);
#ifdef CORVIDEX_TICK_STATS
  const JobStats& stats = CurrentJobStats();
  char figures[160];
  wsprintfA(figures, "\nyields: %u\ntick wait: %u ms\ndatabase: %u ms\ndialog: %u ms", stats.yields,
            static_cast<unsigned>(stats.tickWaitMilliseconds), static_cast<unsigned>(stats.databaseMilliseconds),
            static_cast<unsigned>(stats.dialogMilliseconds));
  summary += figures;
#endif
  MessageBoxA(g_mainWindow, summary.c_str(), kJobSummaryCaption, MB_OK);
}
