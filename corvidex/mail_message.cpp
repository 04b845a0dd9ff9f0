#include "mail_message.h"

#include <string_view>

#include "trim.h"

namespace {
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

CMailMessage::CMailMessage(const char* text) : m_text(text ? text : "") { Parse(); }

// Reads the text in place (no copy of it is made): each line is a view into the caller's text, and only the
// pending name and value are built up, so a long message costs one pass over its bytes.
void CMailMessage::Parse() {
  const std::string_view text(m_text);
  std::string name;
  std::string value;
  std::string continuation;  // reused for every continuation line, so it allocates only while it grows
  std::size_t consumed = 0;
  bool headerBlockEnded = false;

  while (consumed < text.size()) {
    const std::size_t lineFeed = text.find(kLineFeed, consumed);
    const std::size_t lineEnd = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    std::string_view line = text.substr(consumed, lineEnd - consumed);
    consumed = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;

    if (!line.empty() && line.back() == kCarriageReturn) line.remove_suffix(1);
    if (line.empty()) {
      headerBlockEnded = true;
      break;
    }

    if (IsBlank(line.front())) {
      // A folded line continues the pending value, also when no field has begun yet.
      continuation.assign(line);
      Trim(continuation);
      value += ' ';
      value += continuation;
      continue;
    }

    // A new field line (or a line without a colon) completes the pending field, if it is whole.
    if (!name.empty() && !value.empty()) {
      StoreHeader(name, value);
      name.clear();
      value.clear();
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    name.assign(line.substr(0, colon));
    std::size_t valueStart = colon + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
    if (valueStart < line.size()) {
      value.assign(line.substr(valueStart));
      Trim(value);
    }
  }

  if (headerBlockEnded) m_body = m_text + consumed;
  if (!name.empty() && !value.empty()) StoreHeader(name, value);
}

void CMailMessage::StoreHeader(std::string& name, std::string& value) {
  auto found = m_headers.find(name);
  if (found == m_headers.end()) {
    m_headers.emplace(std::move(name), std::move(value));
    return;
  }
  found->second += ' ';
  found->second += value;
}
