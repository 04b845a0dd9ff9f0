#include "hit_format.h"

#include <string_view>

#include "json_string.h"

namespace corvidex_search {

namespace {

void AppendField(std::string& line, std::string_view value) {
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    line += (byte < 0x20 || byte == 0x7F) ? ' ' : c;
  }
}

void AppendMember(std::string& json, std::string_view name, std::string_view value) {
  json += ",\"";
  json += name;
  json += "\":";
  AppendJsonString(json, value);
}

}  // namespace

std::string FormatHitLine(int rank, const SearchHit& hit) {
  std::string line = std::to_string(rank);
  for (const std::string* field : {&hit.date, &hit.from, &hit.subject, &hit.uri}) {
    line += '\t';
    AppendField(line, *field);
  }
  line += "\r\n";
  return line;
}

std::string FormatHitJson(int rank, const SearchHit& hit) {
  std::string json = "{\"rank\":" + std::to_string(rank) + ",\"id\":" + std::to_string(hit.id);
  AppendMember(json, "uri", hit.uri);
  AppendMember(json, "date", hit.date);
  AppendMember(json, "from", hit.from);
  AppendMember(json, "subject", hit.subject);
  json += "}\n";
  return json;
}

}  // namespace corvidex_search
