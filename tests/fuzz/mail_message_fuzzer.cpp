// libFuzzer target for the message parser: any byte string must parse without fault and keep the parser's
// promises about its result. Built and run by scripts/fuzz.sh.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mail_message.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The parser reads a NUL-terminated text: an embedded NUL ends it.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* begin = text.c_str();
  const std::size_t length = std::strlen(begin);

  const CMailMessage message(begin);
  for (const auto& [name, value] : message.Headers()) {
    Require(!name.empty());
    Require(!value.empty());
    Require(name.find_first_of(":\n") == std::string::npos);  // a name stops at the first colon of its line
    Require(name[0] != ' ' && name[0] != '\t');                // such a line is a continuation
    Require(value.find('\n') == std::string::npos);
  }
  if (const char* body = message.Body()) {
    Require(body >= begin && body <= begin + length);  // inside the text or at its NUL
    Require(body > begin);                              // at least the empty line was consumed
    Require(body[-1] == '\n' || body == begin + length);
  }
  return 0;
}
