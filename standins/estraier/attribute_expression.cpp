#include "attribute_expression.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "utf8_text.h"

namespace estraier_standin {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}
bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> SplitSpaces(const std::string& text) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    if (end > pos) parts.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

std::optional<double> ParseW3cDate(const std::string& text) {
  int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  char rest[32] = "";
  int fields = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%31s", &year, &month, &day, &hour, &minute,
                           &second, rest);
  if (fields < 3 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  double seconds = static_cast<double>(DaysFromCivil(year, month, day)) * 86400 + hour * 3600 + minute * 60 + second;
  std::string zone = fields == 7 ? rest : "";
  size_t sign = zone.find_first_of("+-");
  if (sign != std::string::npos) {
    int zh = 0, zm = 0;
    if (std::sscanf(zone.c_str() + sign + 1, "%2d:%2d", &zh, &zm) >= 1)
      seconds -= (zone[sign] == '-' ? -1 : 1) * (zh * 3600 + zm * 60);
  }
  return seconds;
}

std::optional<double> ParseMailDate(const std::string& text) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  std::string body = text;
  size_t comma = body.find(',');
  if (comma != std::string::npos) body = body.substr(comma + 1);
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  char monthName[8] = "", zone[16] = "";
  int fields = std::sscanf(body.c_str(), " %d %3s %d %d:%d:%d %15s", &day, monthName, &year, &hour, &minute,
                           &second, zone);
  if (fields < 3) return std::nullopt;
  std::string lowerMonth;
  for (const char* c = monthName; *c; ++c) lowerMonth += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  int month = 0;
  for (int i = 0; i < 12; ++i)
    if (lowerMonth == kMonths[i]) month = i + 1;
  if (month == 0 || day < 1 || day > 31) return std::nullopt;
  if (year < 100) year += year < 50 ? 2000 : 1900;
  double seconds = static_cast<double>(DaysFromCivil(year, month, day)) * 86400 + hour * 3600 + minute * 60 + second;
  if (fields == 7 && (zone[0] == '+' || zone[0] == '-') && std::strlen(zone) >= 5) {
    int offset = std::atoi(zone + 1);
    seconds -= (zone[0] == '-' ? -1 : 1) * ((offset / 100) * 3600 + (offset % 100) * 60);
  }
  return seconds;
}

}  // namespace

std::optional<double> ParseNumberOrDate(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  double number = std::strtod(text.c_str(), &end);
  if (end && *end == '\0' && end != text.c_str()) return number;
  if (auto date = ParseW3cDate(text)) return date;
  return ParseMailDate(text);
}

AttributeExpression::AttributeExpression(const std::string& expression) {
  size_t firstSpace = expression.find(' ');
  name_ = expression.substr(0, firstSpace);
  if (firstSpace == std::string::npos) return;  // a name alone: the attribute exists
  size_t secondSpace = expression.find(' ', firstSpace + 1);
  std::string op = expression.substr(firstSpace + 1, secondSpace == std::string::npos ? std::string::npos
                                                                                       : secondSpace - firstSpace - 1);
  std::string operand = secondSpace == std::string::npos ? std::string() : expression.substr(secondSpace + 1);
  for (char& c : op) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (StartsWith(op, "!")) negated_ = true, op.erase(0, 1);
  if (StartsWith(op, "I") && StartsWith(op.substr(1), "STR")) ignoreCase_ = true, op.erase(0, 1);

  static const std::pair<const char*, Operator> kOperators[] = {
      {"STREQ", Operator::StrEq}, {"STRNE", Operator::StrNe}, {"STRINC", Operator::StrInc},
      {"STRBW", Operator::StrBw}, {"STREW", Operator::StrEw}, {"STROR", Operator::StrOr},
      {"STRRX", Operator::StrRx}, {"NUMEQ", Operator::NumEq}, {"NUMNE", Operator::NumNe},
      {"NUMGT", Operator::NumGt}, {"NUMGE", Operator::NumGe}, {"NUMLT", Operator::NumLt},
      {"NUMLE", Operator::NumLe}, {"NUMBT", Operator::NumBt}};
  operator_ = Operator::Unknown;
  for (const auto& [opName, value] : kOperators)
    if (op == opName) operator_ = value;

  operand_ = ignoreCase_ ? FoldCase(operand) : operand;
  switch (operator_) {
    case Operator::StrOr:
      alternatives_ = SplitSpaces(operand_);
      break;
    case Operator::StrRx:
      try {
        auto flags = std::regex::extended | std::regex::nosubs;
        if (ignoreCase_) flags |= std::regex::icase;
        regex_ = std::make_shared<std::regex>(operand, flags);
      } catch (const std::exception&) {
        operator_ = Operator::Unknown;  // a pattern that does not compile matches nothing
      }
      break;
    case Operator::NumBt: {
      auto bounds = SplitSpaces(operand);
      if (bounds.size() == 2) number_ = ParseNumberOrDate(bounds[0]), upper_ = ParseNumberOrDate(bounds[1]);
      break;
    }
    case Operator::NumEq: case Operator::NumNe: case Operator::NumGt:
    case Operator::NumGe: case Operator::NumLt: case Operator::NumLe:
      number_ = ParseNumberOrDate(operand);
      break;
    default:
      break;
  }
}

bool AttributeExpression::Matches(const std::map<std::string, std::string>& attrs) const {
  auto found = attrs.find(name_);
  if (found == attrs.end()) return false;
  if (operator_ == Operator::Exists) return true;
  if (operator_ == Operator::Unknown) return false;
  return MatchesValue(found->second) != negated_;
}

bool AttributeExpression::MatchesValue(const std::string& raw) const {
  const std::string value = ignoreCase_ ? FoldCase(raw) : raw;
  switch (operator_) {
    case Operator::StrEq: return value == operand_;
    case Operator::StrNe: return value != operand_;
    case Operator::StrInc: return value.find(operand_) != std::string::npos;
    case Operator::StrBw: return StartsWith(value, operand_);
    case Operator::StrEw: return EndsWith(value, operand_);
    case Operator::StrOr:
      for (const auto& alternative : alternatives_)
        if (value == alternative) return true;
      return false;
    case Operator::StrRx:
      try {
        return std::regex_search(raw, *regex_);
      } catch (const std::exception&) {
        return false;
      }
    default:
      break;
  }
  // Numeric operators compare numbers or dates; a value or operand that is neither matches nothing.
  auto number = ParseNumberOrDate(raw);
  if (!number || !number_) return false;
  switch (operator_) {
    case Operator::NumEq: return *number == *number_;
    case Operator::NumNe: return *number != *number_;
    case Operator::NumGt: return *number > *number_;
    case Operator::NumGe: return *number >= *number_;
    case Operator::NumLt: return *number < *number_;
    case Operator::NumLe: return *number <= *number_;
    case Operator::NumBt: return upper_ && *number >= *number_ && *number <= *upper_;
    default: return false;
  }
}

}  // namespace estraier_standin
