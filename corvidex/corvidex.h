// The plug-in's one object: the client's folder tree, the index database, where it lies, and the abort request.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "estraier_db.h"
#include "observers.h"

class CCorvidex final : public IFDialogObserver, public IInformerObserver {
 public:
  // The work of a job on one folder, given the path buffer that holds the folder's ctxPath (kEdmaxPathBufferSize
  // bytes; the work may overwrite it).
  using FolderProc = void (CCorvidex::*)(char* path);

  CCorvidex();
  ~CCorvidex();
  CCorvidex(const CCorvidex&) = delete;
  CCorvidex& operator=(const CCorvidex&) = delete;

  void SetFolderTree(HWND folderTree) { m_folderTree = folderTree; }
  void SetIndexPath(std::string indexPath) { m_indexPath = std::move(indexPath); }
  const std::string& IndexPath() const { return m_indexPath; }
  // True when the full-text library is bound, so that a job can run.
  bool IsLibraryLoaded() const { return m_db->IsLoaded(); }

  // The abort button: code 1 asks the running job to stop. The result is code - 1.
  int OnDialogCommand(int code) override;
  // The library's flushing and closing stages, shown in the progress dialog's status bar.
  void OnInform(const char* message, int stage) override;

  // The job drivers: open the database, run the job on the current folder (and the folders below it), flush,
  // count, close, and show the summary box. A database that cannot be opened ends the job silently.
  void IndexFolder(bool withSubfolders);
  void PurgeFolder(bool withSubfolders);

  // Runs proc on the current folder, whose ctxPath is in the path buffer (not when it is empty), and when asked on
  // every folder below it, depth first, selecting each in the client's folder tree.
  void CreateIndex(char* ctxPath, bool withSubfolders, FolderProc proc);

  // Stores every message of the current folder in the database.
  void IndexFolderProc(char* path);
  // Removes the documents filed under the folder path whose message the client no longer has.
  void PurgeFolderProc(char* path);

 private:
  void RunJob(bool withSubfolders, FolderProc proc);
  // True once for each abort request: the request is cleared as it is taken.
  bool TakeAbortRequest();

  HWND m_folderTree = nullptr;
  std::unique_ptr<CEstraierDb> m_db;
  std::string m_indexPath;
  bool m_abort = false;
};
