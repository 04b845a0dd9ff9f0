#include "plugin_info.h"

#include <cstdint>
#include <cstring>

namespace {

// Byte offsets of the fields of the record; each text slot is 100 bytes.
constexpr std::size_t kOffsetRecordVersion = 0;
constexpr std::size_t kOffsetName = 4;
constexpr std::size_t kOffsetVersionText = 104;
constexpr std::size_t kOffsetDateText = 204;
constexpr std::size_t kOffsetAuthor = 304;
constexpr std::size_t kOffsetAuthorMail = 404;
constexpr std::size_t kOffsetAuthorWeb = 504;
constexpr std::size_t kOffsetNameAgain = 604;
constexpr std::size_t kEmptyTextOffsets[] = {10844, 10944, 21184, 21284, 21384};

constexpr std::int32_t kRecordVersion = 10;
constexpr char kVersionText[] = "Ver 0.001-test";
constexpr char kDateText[] = "Aug  9 2009";
constexpr char kAuthor[] = "Corvid Works";
constexpr char kAuthorMail[] = "plugins@corvid-works.example";
constexpr char kAuthorWeb[] = "https://corvid-works.example/";

// Copies a text with its terminating NUL; every value fits its 100-byte slot.
void PutText(unsigned char* record, std::size_t offset, const char* text) {
  std::memcpy(record + offset, text, std::strlen(text) + 1);
}

}  // namespace

void FillPluginInfo(void* record, const PluginIdentity& identity) {
  auto* bytes = static_cast<unsigned char*>(record);
  std::memcpy(bytes + kOffsetRecordVersion, &kRecordVersion, sizeof kRecordVersion);
  PutText(bytes, kOffsetName, identity.name);
  PutText(bytes, kOffsetVersionText, kVersionText);
  PutText(bytes, kOffsetDateText, kDateText);
  PutText(bytes, kOffsetAuthor, kAuthor);
  PutText(bytes, kOffsetAuthorMail, kAuthorMail);
  PutText(bytes, kOffsetAuthorWeb, kAuthorWeb);
  PutText(bytes, kOffsetNameAgain, identity.name);
  for (std::size_t offset : kEmptyTextOffsets) bytes[offset] = '\0';
}
