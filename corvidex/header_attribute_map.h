// Which header fields of a message become attributes and hidden text of its document.
#pragma once

#include <array>

// What a matching header field writes into the document, with the field's value.
enum class HeaderKind {
  Attribute = 0,               // the row's attribute
  AttributeAndHiddenText = 1,  // the row's attribute, then the value as hidden text
  Dates = 2,                   // "@cdate", then "@mdate", both with the same text; no other date attribute
};

// A constant table of ten rows. A header name matches a row when the two are equal without regard to letter case
// (the system's lstrcmpiA on Windows, ASCII letters elsewhere); a blank before the colon makes a name match nothing.
class CHeaderAttributeMap {
 public:
  struct Row {
    const char* headerName;
    const char* attributeName;  // null for HeaderKind::Dates, whose kind names its attributes
    HeaderKind kind;
  };

  // The row that name (NUL-terminated) matches, or null.
  static const Row* Find(const char* name);

  static constexpr std::array<Row, 10> kRows{{
      {"subject", "@title", HeaderKind::AttributeAndHiddenText},
      {"from", "@author", HeaderKind::Attribute},
      {"date", nullptr, HeaderKind::Dates},
      {"to", "@to", HeaderKind::Attribute},
      {"cc", "@cc", HeaderKind::Attribute},
      {"x-mailer", "@x-mailer", HeaderKind::Attribute},
      {"user-agent", "@ua", HeaderKind::Attribute},
      {"message-id", "@message-id", HeaderKind::Attribute},
      {"content-type", "@content-type", HeaderKind::Attribute},
      {"x-edmax-attachment-file", "@x-edmax-attachment-file", HeaderKind::Attribute},
  }};
};
