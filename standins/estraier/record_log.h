// The records of a database's log file. The log is a sequence of records, each a 16-byte header (kind, document
// id, payload length, payload checksum; little-endian 32-bit numbers) followed by its payload:
//   document  the stored document: attributes (count, then name and value), texts (count, then each), hidden texts
//             (count, then each); every count and length a 32-bit number, every string its bytes
//   removal   no payload: the document with this id is gone (removed, or replaced by a newer put)
//   words     index words flushed at that point, as 64-bit hashes
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct ESTDOC;

namespace estraier_standin {

enum class RecordKind : uint32_t { Document = 0x31434F44 /* "DOC1" */, Removal = 0x3154554F /* "OUT1" */,
                                   Words = 0x31445257 /* "WRD1" */ };

constexpr size_t kRecordHeaderSize = 16;

struct RecordHeader {
  RecordKind kind;
  uint32_t id;
  uint32_t length;
  uint32_t checksum;
};

// Appends one whole record (header and payload) to out.
void AppendRecord(std::string& out, RecordKind kind, uint32_t id, std::string_view payload);
// Reads a header; false when bytes are too few.
bool DecodeHeader(std::string_view bytes, RecordHeader& header);
uint32_t Checksum(std::string_view payload);

std::string EncodeDocument(const std::map<std::string, std::string>& attrs, const std::vector<std::string>& texts,
                           const std::vector<std::string>& hiddenTexts);
// Decodes a document payload; with attributesOnly the texts are skipped. False when the payload is malformed.
bool DecodeDocument(std::string_view payload, ESTDOC& doc, bool attributesOnly);

std::string EncodeWords(const std::vector<uint64_t>& hashes);
bool DecodeWords(std::string_view payload, std::vector<uint64_t>& hashes);

}  // namespace estraier_standin
