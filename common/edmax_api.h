// The mail client's plug-in API: 47 functions exported by the client's executable, bound by name when a plug-in
// loads, and the two exports every plug-in offers the client.
#pragma once

#include <windows.h>

// Calling convention of the client's API and of the plug-in exports: the C convention, undecorated names.
#define EDAPI __cdecl

// Signatures of the API functions that the plug-ins call. The other slots are bound and kept, never called.
using EDA_GetStaticWindows_t = int(EDAPI*)(HWND* mainWindow, HWND* folderTree, HWND* third, HWND* fourth,
                                           HWND* fifth);
using EDA_GetTempID_t = int(EDAPI*)(HMODULE plugin, int commandId);
using EDA_GetCurrentCtxpath_t = int(EDAPI*)(char* buffer);  // callers give kEdmaxPathBufferSize bytes
using EDA_GetMessageCount_t = int(EDAPI*)(int zero);
using EDA_GetNextMessagePath_t = int(EDAPI*)(int cursor, char* buffer, int zero);  // -1 starts and ends
using EDA_GetMessage_t = char*(EDAPI*)(const char* messagePath);                    // NULL: no such message
using EDA_ReleaseEdmaxBuffer_t = int(EDAPI*)();
using EDA_RunMacro_t = int(EDAPI*)(const char* statement);
using EDA_SelectMessage_t = int(EDAPI*)(const char* messagePath, int show);
using EDA_Unused_t = int(EDAPI*)();

// Size of the path buffers that callers hand to EDA_GetCurrentCtxpath and EDA_GetNextMessagePath.
constexpr int kEdmaxPathBufferSize = 264;

// The API names in binding order; the slot order of CEdmaxApi follows it.
#define EDMAX_API_FUNCTIONS(X)                                                                           \
  X(EDA_AppendMessage, EDA_Unused_t)                                                                     \
  X(EDA_MakeLoginURLEncoding, EDA_Unused_t)                                                              \
  X(EDA_ReceiveArticleBbs, EDA_Unused_t)                                                                 \
  X(EDA_GetWebDataEx, EDA_Unused_t)                                                                      \
  X(EDA_ReleaseEdmaxBuffer, EDA_ReleaseEdmaxBuffer_t)                                                    \
  X(EDA_DispMessageOnStatusBar, EDA_Unused_t)                                                            \
  X(EDA_WebLogin, EDA_Unused_t)                                                                          \
  X(EDA_GetAindexFolderPath, EDA_Unused_t)                                                               \
  X(EDA_ListUpFiles, EDA_Unused_t)                                                                       \
  X(EDA_ListUpAllFiles, EDA_Unused_t)                                                                    \
  X(EDA_GetLayoutParam, EDA_Unused_t)                                                                    \
  X(EDA_SetLayoutParam, EDA_Unused_t)                                                                    \
  X(EDA_GetListColumnWidth, EDA_Unused_t)                                                                \
  X(EDA_SetListColumnWidth, EDA_Unused_t)                                                                \
  X(EDA_SetListColumnName, EDA_Unused_t)                                                                 \
  X(EDA_GetCurrentCtxpath, EDA_GetCurrentCtxpath_t)                                                      \
  X(EDA_OpenTheUrl, EDA_Unused_t)                                                                        \
  X(EDA_ConvUtf8ToSjis, EDA_Unused_t)                                                                    \
  X(EDA_GetTempID, EDA_GetTempID_t)                                                                      \
  X(EDA_GetPointedUrl, EDA_Unused_t)                                                                     \
  X(EDA_GetPointedMailAdr, EDA_Unused_t)                                                                 \
  X(EDA_GetPointedMessageId, EDA_Unused_t)                                                               \
  X(EDA_GetMessageCount, EDA_GetMessageCount_t)                                                          \
  X(EDA_GetNextMessagePath, EDA_GetNextMessagePath_t)                                                    \
  X(EDA_GetMessage, EDA_GetMessage_t)                                                                    \
  X(EDA_ReplaceMessage, EDA_Unused_t)                                                                    \
  X(EDA_ReDispListAndView, EDA_Unused_t)                                                                 \
  X(EDA_SelectMessage, EDA_SelectMessage_t)                                                              \
  X(EDA_CopyMessage, EDA_Unused_t)                                                                       \
  X(EDA_MoveMessage, EDA_Unused_t)                                                                       \
  X(EDA_DeleteMessage, EDA_Unused_t)                                                                     \
  X(EDA_OpenAllThread, EDA_Unused_t)                                                                     \
  X(EDA_CloseAllThread, EDA_Unused_t)                                                                    \
  X(EDA_CompactCurrentFolder, EDA_Unused_t)                                                              \
  X(EDA_GetStaticWindows, EDA_GetStaticWindows_t)                                                        \
  X(EDA_GetTempWindows, EDA_Unused_t)                                                                    \
  X(EDA_RunMacro, EDA_RunMacro_t)                                                                        \
  X(EDA_GetCurAdrInfo, EDA_Unused_t)                                                                     \
  X(EDA_SetCurAdrInfo, EDA_Unused_t)                                                                     \
  X(EDA_GetAttachPaths, EDA_Unused_t)                                                                    \
  X(EDA_AppendAttachPaths, EDA_Unused_t)                                                                 \
  X(EDA_DeleteAttachPath, EDA_Unused_t)                                                                  \
  X(EDA_GetEditCount, EDA_Unused_t)                                                                      \
  X(EDA_GetEditText, EDA_Unused_t)                                                                       \
  X(EDA_SetEditText, EDA_Unused_t)                                                                       \
  X(EDA_IsCommunicatingNow, EDA_Unused_t)                                                                \
  X(EDA_GetEdmaxVersion, EDA_Unused_t)

// The client's API, bound once while a plug-in loads. All or nothing: Bind is true only when all 47 were found.
struct CEdmaxApi {
#define EDMAX_API_SLOT(name, type) type name = nullptr;
  EDMAX_API_FUNCTIONS(EDMAX_API_SLOT)
#undef EDMAX_API_SLOT

  // Looks the names up in the client's executable module, in slot order. At the first name not found it returns
  // false at once (GetLastError tells why): earlier slots stay filled, later ones untouched.
  bool Bind();
};

constexpr int kEdmaxApiFunctionCount = 47;

// Events of EDH_OnHandleEvent.
constexpr int kEventPluginInfo = 1000;  // data: the PluginInfo record to fill
constexpr int kEventBuildMenu = 1001;   // kind: menu kind, data: a menu handle of the client
constexpr int kMenuKindPlugins = 8;     // the menu kind on which Corvidex appends its submenu

// Signatures of the two exports of every plug-in.
using EDH_OnHandleEvent_t = int(EDAPI*)(int aindex, int hID, int kind, void* data);
using EDH_OnCmdProc_t = int(EDAPI*)(int aindex, int nID);
