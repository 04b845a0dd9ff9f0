#include "plugin_menu.h"

#include "plugin_module.h"

namespace {

struct MenuCommand {
  int id;               // the plug-in's own command number
  const char* caption;  // code page 932 bytes
};

// The captions are the client's texts, code page 932, written as bytes so that they do not depend on how this file
// is read. The two purge commands share the access key D.
constexpr MenuCommand kMenuCommands[] = {
    // インデックス化 - 選択フォルダ(&I): index the current folder
    {kCommandIndexFolder, "\x83\x43\x83\x93\x83\x66\x83\x62\x83N\x83X\x89\xBB - \x91I\x91\xF0\x83t\x83H\x83\x8B\x83_(&I)"},
    // インデックス化 - サブフォルダも(&R): index the current folder and every folder below it
    {kCommandIndexSubfolders, "\x83\x43\x83\x93\x83\x66\x83\x62\x83N\x83X\x89\xBB - \x83T\x83u\x83t\x83H\x83\x8B\x83_\x82\xE0(&R)"},
    // インデックス削除 - 選択フォルダ(&D): purge the current folder
    {kCommandPurgeFolder, "\x83\x43\x83\x93\x83\x66\x83\x62\x83N\x83X\x8D\xED\x8F\x9C - \x91I\x91\xF0\x83t\x83H\x83\x8B\x83_(&D)"},
    // インデックス削除 - サブフォルダも(&D): purge the current folder and every folder below it
    {kCommandPurgeSubfolders, "\x83\x43\x83\x93\x83\x66\x83\x62\x83N\x83X\x8D\xED\x8F\x9C - \x83T\x83u\x83t\x83H\x83\x8B\x83_\x82\xE0(&D)"},
};

}  // namespace

void BuildMenu(HMENU menu, int kind) {
  if (kind != kMenuKindPlugins) return;
  const HMENU popup = CreateMenu();
  // Without the full-text library no job can run, so the submenu stays empty.
  if (g_corvidex.IsLibraryLoaded()) {
    for (const MenuCommand& command : kMenuCommands)
      AppendMenuA(popup, MF_STRING | MF_ENABLED,
                  static_cast<UINT_PTR>(g_edmax.EDA_GetTempID(g_module, command.id)), command.caption);
  }
  // The client's menu owns the popup from here on.
  AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), kSubmenuCaption);
}
