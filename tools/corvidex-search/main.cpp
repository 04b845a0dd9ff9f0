// corvidex-search: lists the mail messages in Corvidex's index that hold the given words, and shows one of them in
// the mail client through Pickwire. The usage text (search_arguments.cpp) gives the command line and exit codes.
//
// The index is read through the same run-time binding of estraier.dll as the plug-in uses, opened as a reader, so
// that the program can run while the mail client is up. Texts go to the library in UTF-8, except the index path,
// which stays in the system's code page as the plug-in gives it.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "code_page.h"
#include "command_line.h"
#include "console_output.h"
#include "estraier_api.h"
#include "exit_codes.h"
#include "hit_format.h"
#include "index_location.h"
#include "index_search.h"
#include "open_request.h"
#include "pipe_client.h"
#include "read_only_index.h"
#include "search_arguments.h"

namespace {

using namespace corvidex_search;

const CConsoleOutput& Out() {
  static const CConsoleOutput out(STD_OUTPUT_HANDLE);
  return out;
}

int Fail(int exitCode, const std::string& message) {
  static const CConsoleOutput err(STD_ERROR_HANDLE);
  err.WriteText("corvidex-search: " + message + "\r\n");
  return exitCode;
}

// A text of the system's code page (a path the configuration gave) in UTF-8, for messages.
std::string AnsiForPeople(const std::string& ansi) {
  CodePageConverter converter;
  const char* utf8 = converter.Convert(ansi.c_str(), CP_ACP, CP_UTF8);
  return utf8 ? utf8 : ansi;
}

// The library's text for one of its error codes.
std::string ErrorText(const CEstraierApi& api, int errorCode) {
  const char* text = api.est_err_msg(errorCode);
  return text ? text : "error " + std::to_string(errorCode);
}

void PrintHit(int rank, const SearchHit& hit, bool json) {
  if (json) {
    Out().WriteUtf8(FormatHitJson(rank, hit));
  } else {
    Out().WriteText(FormatHitLine(rank, hit));
  }
}

// Where to search: --index, or where the plug-in beside this program keeps its index. Sets indexPath (system code
// page) and shownPath (UTF-8); on failure tells why and gives the exit code.
std::optional<int> ResolveIndex(const SearchArguments& arguments, std::string& indexPath, std::string& shownPath) {
  if (arguments.indexDir) {
    std::optional<std::string> ansi = Utf8ToCodePage(*arguments.indexDir, CP_ACP);
    if (!ansi) {
      return Fail(kExitBadArguments, "--index " + *arguments.indexDir +
                                         ": the system's code page cannot represent this folder name");
    }
    indexPath = std::move(*ansi);
    shownPath = *arguments.indexDir;
    return std::nullopt;
  }
  const IndexLocation location = LocateIndex();
  if (location.path.empty()) {
    return Fail(kExitNoIndex, "cannot read " + AnsiForPeople(location.configPath) +
                                  ", which says where Corvidex keeps its index (Corvidex.dll and Corvidex.conf are "
                                  "expected beside corvidex-search.exe); give the index with --index DIR");
  }
  indexPath = location.path;
  shownPath = AnsiForPeople(location.path);
  return std::nullopt;
}

// Loads and binds estraier.dll as the plug-in does; on failure tells why and gives the exit code.
std::optional<int> BindLibrary(CEstraierApi& api) {
  api.LoadLibraries();
  if (!api.searchLibrary) {
    return Fail(kExitNoLibrary, "estraier.dll cannot be loaded (error " + std::to_string(GetLastError()) +
                                    "); put it and the DLLs it needs beside this program or on the PATH");
  }
  if (!api.runtimeLibrary) return Fail(kExitNoLibrary, "MSVCRT.dll cannot be loaded");
  if (!api.Bind()) {
    return Fail(kExitNoLibrary, "estraier.dll lacks entry points that Corvidex needs (an incomplete or "
                                "different library)");
  }
  return std::nullopt;
}

int OpenHit(const SearchHit& hit) {
  const OpenRequest open = MakeOpenRequest(hit.uri, [](std::string_view utf8) { return Utf8ToCodePage(utf8, 932); });
  if (!open.Ok()) return Fail(kExitNotSendable, "hit " + hit.uri + " cannot be shown: " + open.refusal);
  const pickwire::SendResult sent = pickwire::SendRequest(open.request);
  if (sent.outcome != pickwire::SendOutcome::kSent) {
    return Fail(kExitNotDelivered, std::string("not delivered: ") + pickwire::DescribeSendOutcome(sent.outcome) +
                                       " (error " + std::to_string(sent.error) + ")");
  }
  return kExitHits;
}

int Run() {
  const std::optional<std::vector<std::string>> args = Utf8Arguments();
  if (!args) return Fail(kExitBadArguments, "the command line cannot be read");
  const ArgumentParse parse = ParseSearchArguments(*args);
  if (!parse.Ok()) return Fail(kExitBadArguments, parse.error + " (corvidex-search --help shows the usage)");
  const SearchArguments& arguments = parse.arguments;
  if (arguments.help) {
    Out().WriteText(UsageText());
    return kExitHits;
  }

  std::string indexPath, shownPath;
  if (const std::optional<int> failure = ResolveIndex(arguments, indexPath, shownPath)) return *failure;

  CEstraierApi api;  // declared before the index, so that the index is closed before the library is freed
  if (const std::optional<int> failure = BindLibrary(api)) return *failure;

  const CReadOnlyIndex index(api, indexPath.c_str());
  if (!index.Get()) {
    return Fail(kExitNoIndex, "no index at " + shownPath + " (" + ErrorText(api, index.ErrorCode()) + ")");
  }

  const SearchQuery query{arguments.Phrase(), arguments.attributeExpressions, arguments.maxHits};
  const std::optional<std::vector<SearchHit>> hits = SearchIndex(api, index.Get(), query);
  if (!hits) {
    return Fail(kExitNoIndex, "the index at " + shownPath + " cannot be searched (" +
                                  ErrorText(api, api.est_db_error(index.Get())) + ")");
  }
  if (hits->empty()) return Fail(kExitNoHits, "no hits");

  if (arguments.openHit) {
    const int rank = *arguments.openHit;
    if (rank > static_cast<int>(hits->size())) {
      return Fail(kExitHitOutOfRange, "--open " + std::to_string(rank) + " is out of range: the search found " +
                                          std::to_string(hits->size()) + " hit" + (hits->size() == 1 ? "" : "s"));
    }
    const SearchHit& hit = (*hits)[static_cast<std::size_t>(rank - 1)];
    PrintHit(rank, hit, arguments.json);
    return OpenHit(hit);
  }
  for (std::size_t i = 0; i < hits->size(); ++i) PrintHit(static_cast<int>(i + 1), (*hits)[i], arguments.json);
  return kExitHits;
}

}  // namespace

int main() { return Run(); }
