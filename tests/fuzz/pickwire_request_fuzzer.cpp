// Fuzz target for the reader of Pickwire's requests: any bytes must be read without a fault, and every request
// that is accepted must give a folder macro that is one statement with one argument and fits the macro buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "polling_time.h"
#include "request.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The folder path may not end the macro statement or start another one. ';', '"', '(', ')' and control bytes are
// never trail bytes of a double-byte character, so a plain byte scan must agree with the reader.
void CheckFolderPath(const std::string& folder) {
  Require(folder.size() <= pickwire::kMaxFolderPathBytes);
  int depth = 0;
  for (char c : folder) {
    const auto byte = static_cast<unsigned char>(c);
    Require(byte >= 0x20 && byte != 0x7F && byte != ';' && byte != '"');
    if (byte == '(') ++depth;
    if (byte == ')') Require(--depth >= 0);
  }
  Require(depth == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  pickwire::PollingPeriodFromSetting(std::string(text));

  const pickwire::RequestParse parse = pickwire::ParseRequest(text);
  if (!parse.Accepted()) return 0;
  const pickwire::SelectionRequest& request = parse.request;
  Require(size <= pickwire::kMaxRequestBytes);
  CheckFolderPath(request.folderPath);
  Require(request.openFolderMacro == "OpenThisFolder(" + request.folderPath + ");");
  Require(request.openFolderMacro.size() < pickwire::kMacroBufferSize);
  // The message path is the end of the request, with every '/' turned into '\'.
  Require(request.messagePath.size() < size);
  const std::string_view tail = text.substr(size - request.messagePath.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    Require(request.messagePath[i] == (tail[i] == '/' ? '\\' : tail[i]));
  }
  return 0;
}
