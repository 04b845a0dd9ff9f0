// The walk over the client's folder tree: the current folder, then every folder below it, parent before children.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "corvidex.h"
#include "plugin_module.h"

namespace {

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

void CCorvidex::CreateIndex(char* ctxPath, bool withSubfolders, FolderProc proc) {
  g_edmax.EDA_GetMessageCount(0);
  if (*ctxPath) (this->*proc)(ctxPath);  // the root of all accounts has no folder of its own
  if (!withSubfolders) return;

  const HTREEITEM current = NextItem(m_folderTree, nullptr, TVGN_CARET);
  if (!current) return;

  // Depth first without recursion, so that no depth of folders can exhaust the job fiber's stack. ancestors holds
  // the folders whose children are being walked, innermost last. Selecting a folder makes it the client's current
  // folder; the selection is left where the walk ends, and every folder visited stays expanded (expanding first
  // lets the client fill in the children).
  SendMessageA(m_folderTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current));
  std::vector<HTREEITEM> ancestors;
  HTREEITEM item = NextItem(m_folderTree, current, TVGN_CHILD);
  for (;;) {
    if (item) {
      if (SendMessageA(m_folderTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) {
        g_edmax.EDA_GetCurrentCtxpath(ctxPath);
        ctxPath[kEdmaxPathBufferSize - 1] = '\0';
        g_edmax.EDA_GetMessageCount(0);
        if (*ctxPath) (this->*proc)(ctxPath);
        SendMessageA(m_folderTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        ancestors.push_back(item);
        item = NextItem(m_folderTree, item, TVGN_CHILD);
      } else {
        item = NextItem(m_folderTree, item, TVGN_NEXT);  // a folder that cannot be selected is skipped with all below
      }
    } else if (!ancestors.empty()) {
      item = NextItem(m_folderTree, ancestors.back(), TVGN_NEXT);
      ancestors.pop_back();
    } else {
      break;
    }
  }
}
