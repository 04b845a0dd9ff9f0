// Splits the text of one mail message into its header fields and the position of its body.
#pragma once

#include <map>
#include <string>

// Parses at construction; has no failing input. Works on bytes and decodes nothing (no MIME, no encoded words).
// Lines end at a line feed; one carriage return before it is dropped. Continuation lines (beginning with a space or
// tab) are trimmed and appended to the pending value after one space; fields of the same name (compared with
// regard to case) are joined by single spaces. Names are kept as written up to the first colon; fields whose name
// or value is empty are not kept. The header block ends at the first empty line; without one there is no body.
// Cost is linear in the size of the text, whatever the length of its lines or the number of its fields.
class CMailMessage {
 public:
  // Ordered by plain byte-wise comparison of the names (unsigned bytes), so "TO" comes before "To".
  using HeaderTable = std::map<std::string, std::string>;

  // text: NUL-terminated; borrowed, not copied: it must outlive every use of Body(). Null is read as empty.
  explicit CMailMessage(const char* text);

  const HeaderTable& Headers() const { return m_headers; }
  // The first byte after the empty line that ends the header block (possibly the text's terminating NUL), or null
  // when the header block never ends.
  const char* Body() const { return m_body; }

 private:
  void Parse();
  void StoreHeader(std::string& name, std::string& value);

  const char* m_text;
  HeaderTable m_headers;
  const char* m_body = nullptr;
};
