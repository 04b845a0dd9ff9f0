// The client's plug-in API: all 47 EDA_ functions, exported by undecorated name from the executable, where the
// plug-ins look them up with GetProcAddress(GetModuleHandleA(NULL), name).
#include <type_traits>

#include "edmax_api.h"
#include "standin_client.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

STANDIN_EXPORT int EDAPI EDA_GetStaticWindows(HWND* mainWindow, HWND* folderTree, HWND* third, HWND* fourth,
                                              HWND* fifth) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetStaticWindows(mainWindow, folderTree, third, fourth, fifth) : 0;
}

STANDIN_EXPORT int EDAPI EDA_GetTempID(HMODULE plugin, int commandId) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetTempID(plugin, commandId) : 0;
}

STANDIN_EXPORT int EDAPI EDA_GetCurrentCtxpath(char* buffer) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetCurrentCtxpath(buffer) : 0;
}

STANDIN_EXPORT int EDAPI EDA_GetMessageCount(int zero) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetMessageCount(zero) : 0;
}

STANDIN_EXPORT int EDAPI EDA_GetNextMessagePath(int cursor, char* buffer, int zero) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetNextMessagePath(cursor, buffer, zero) : -1;
}

STANDIN_EXPORT char* EDAPI EDA_GetMessage(const char* messagePath) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaGetMessage(messagePath) : nullptr;
}

STANDIN_EXPORT int EDAPI EDA_ReleaseEdmaxBuffer() {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaReleaseEdmaxBuffer() : 0;
}

STANDIN_EXPORT int EDAPI EDA_RunMacro(const char* statement) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaRunMacro(statement) : 0;
}

STANDIN_EXPORT int EDAPI EDA_SelectMessage(const char* messagePath, int show) {
  StandinClient* client = StandinClient::current();
  return client ? client->EdaSelectMessage(messagePath, show) : 0;
}

// The functions the plug-ins bind but never call: each journals the call and returns 0. The list comes from
// edmax_api.h, so the stand-in exports exactly the names that a plug-in binds.
#define STANDIN_STUB_EDA_Unused_t(name)  \
  STANDIN_EXPORT int EDAPI name() {      \
    StandinClient* client = StandinClient::current(); \
    return client ? client->EdaUnusedCall(#name) : 0;    \
  }
#define STANDIN_STUB_EDA_GetStaticWindows_t(name)
#define STANDIN_STUB_EDA_GetTempID_t(name)
#define STANDIN_STUB_EDA_GetCurrentCtxpath_t(name)
#define STANDIN_STUB_EDA_GetMessageCount_t(name)
#define STANDIN_STUB_EDA_GetNextMessagePath_t(name)
#define STANDIN_STUB_EDA_GetMessage_t(name)
#define STANDIN_STUB_EDA_ReleaseEdmaxBuffer_t(name)
#define STANDIN_STUB_EDA_RunMacro_t(name)
#define STANDIN_STUB_EDA_SelectMessage_t(name)
#define STANDIN_STUB(name, type) STANDIN_STUB_##type(name)
EDMAX_API_FUNCTIONS(STANDIN_STUB)

// Every export has the signature that the plug-ins call it with.
#define STANDIN_CHECK_SIGNATURE(name, type) \
  static_assert(std::is_same_v<decltype(&name), type>, #name " has the wrong signature");
EDMAX_API_FUNCTIONS(STANDIN_CHECK_SIGNATURE)
