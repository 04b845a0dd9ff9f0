#include "record_log.h"

#include "document.h"
#include "words.h"

namespace estraier_standin {
namespace {

void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutString(std::string& out, std::string_view text) {
  PutU32(out, static_cast<uint32_t>(text.size()));
  out.append(text);
}

// Reads numbers and strings off the front of a payload; every read fails once the payload is short.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool U32(uint32_t& value) {
    if (bytes_.size() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[i])) << (8 * i);
    bytes_.remove_prefix(4);
    return true;
  }
  bool String(std::string& text) {
    uint32_t size;
    if (!U32(size) || bytes_.size() < size) return false;
    text.assign(bytes_.substr(0, size));
    bytes_.remove_prefix(size);
    return true;
  }
  bool StringList(std::vector<std::string>& list) {
    uint32_t count;
    if (!U32(count) || count > bytes_.size()) return false;
    list.resize(count);
    for (auto& item : list)
      if (!String(item)) return false;
    return true;
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

}  // namespace

uint32_t Checksum(std::string_view payload) {
  return static_cast<uint32_t>(HashBytes(payload.data(), payload.size()));
}

void AppendRecord(std::string& out, RecordKind kind, uint32_t id, std::string_view payload) {
  PutU32(out, static_cast<uint32_t>(kind));
  PutU32(out, id);
  PutU32(out, static_cast<uint32_t>(payload.size()));
  PutU32(out, Checksum(payload));
  out.append(payload);
}

bool DecodeHeader(std::string_view bytes, RecordHeader& header) {
  Reader reader(bytes);
  uint32_t kind;
  if (!reader.U32(kind) || !reader.U32(header.id) || !reader.U32(header.length) || !reader.U32(header.checksum))
    return false;
  header.kind = static_cast<RecordKind>(kind);
  return true;
}

std::string EncodeDocument(const std::map<std::string, std::string>& attrs, const std::vector<std::string>& texts,
                           const std::vector<std::string>& hiddenTexts) {
  std::string out;
  PutU32(out, static_cast<uint32_t>(attrs.size()));
  for (const auto& [name, value] : attrs) PutString(out, name), PutString(out, value);
  PutU32(out, static_cast<uint32_t>(texts.size()));
  for (const auto& text : texts) PutString(out, text);
  PutU32(out, static_cast<uint32_t>(hiddenTexts.size()));
  for (const auto& text : hiddenTexts) PutString(out, text);
  return out;
}

bool DecodeDocument(std::string_view payload, ESTDOC& doc, bool attributesOnly) {
  Reader reader(payload);
  uint32_t count;
  if (!reader.U32(count) || count > payload.size()) return false;
  for (uint32_t i = 0; i < count; ++i) {
    std::string name, value;
    if (!reader.String(name) || !reader.String(value)) return false;
    doc.attrs.emplace(std::move(name), std::move(value));
  }
  if (attributesOnly) return true;
  return reader.StringList(doc.texts.items) && reader.StringList(doc.hiddenTexts) && reader.AtEnd();
}

std::string EncodeWords(const std::vector<uint64_t>& hashes) {
  std::string out;
  out.reserve(hashes.size() * 8);
  for (uint64_t hash : hashes) PutU32(out, static_cast<uint32_t>(hash)), PutU32(out, static_cast<uint32_t>(hash >> 32));
  return out;
}

bool DecodeWords(std::string_view payload, std::vector<uint64_t>& hashes) {
  if (payload.size() % 8 != 0) return false;
  Reader reader(payload);
  uint32_t low, high;
  while (reader.U32(low) && reader.U32(high)) hashes.push_back(static_cast<uint64_t>(high) << 32 | low);
  return true;
}

}  // namespace estraier_standin
