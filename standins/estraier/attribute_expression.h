// Attribute expressions of search conditions: "name", or "name OPERATOR value" where the operator may carry a
// leading "!" (negation) and then "I" (string comparison ignoring letter case).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace estraier_standin {

class AttributeExpression {
 public:
  // Parses an expression that has already been normalised like an attribute value.
  explicit AttributeExpression(const std::string& expression);

  // True when the document's attributes satisfy the expression. A document that lacks the attribute never does,
  // whether the operator is negated or not.
  bool Matches(const std::map<std::string, std::string>& attrs) const;

 private:
  enum class Operator { Exists, StrEq, StrNe, StrInc, StrBw, StrEw, StrOr, StrRx,
                        NumEq, NumNe, NumGt, NumGe, NumLt, NumLe, NumBt, Unknown };

  bool MatchesValue(const std::string& value) const;

  std::string name_;
  Operator operator_ = Operator::Exists;
  bool negated_ = false;
  bool ignoreCase_ = false;
  std::string operand_;                    // folded when case is ignored
  std::vector<std::string> alternatives_;  // STROR: the space-separated operands
  std::shared_ptr<std::regex> regex_;      // STRRX
  std::optional<double> number_, upper_;   // NUM*: the operand (and NUMBT's upper bound)
};

// A number, or a date (W3C "2004-06-02T12:34:56+09:00" or mail "Wed, 02 Jun 2004 12:34:56 +0900") as seconds
// since 1970; nullopt for anything else.
std::optional<double> ParseNumberOrDate(const std::string& text);

}  // namespace estraier_standin
