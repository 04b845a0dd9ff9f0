// Storing one mail message as one document of the index.
#include <string>

#include "estraier_db.h"
#include "estraier_objects.h"
#include "header_attribute_map.h"
#include "mail_message.h"

namespace {
// The document's URI is this scheme followed directly by the message path: the purge job drops exactly these
// five bytes to get the path back, and the folder search looks for this scheme followed by the folder path.
constexpr const char* kUriScheme = "cvdx:";
constexpr const char* kMessageType = "message/rfc822";
}  // namespace

bool CEstraierDb::PutMessage(const char* path, const char* text) {
  if (!m_loaded) return false;
  if (!path) path = "";
  if (!text) text = "";
  const CMailMessage message(text);

  CEstDocument document(*m_table, m_table->est_doc_new());
  // Without a document there is nothing to store; the caller learns it as for a message without a body.
  if (!document.Get()) return false;

  const std::string uri = std::string(kUriScheme) + path;
  m_table->est_doc_add_attr(document.Get(), "@uri", uri.c_str());
  m_table->est_doc_add_attr(document.Get(), "@type", kMessageType);
  // The size is the byte length of the UTF-8 text received, not a count of characters.
  const std::string size = std::to_string(std::char_traits<char>::length(text));
  m_table->est_doc_add_attr(document.Get(), "@size", size.c_str());
  AddHeaderAttributes(document.Get(), message);

  if (!message.Body()) return false;
  // The whole body in one piece, line ends, boundaries and encoded parts included.
  m_table->est_doc_add_text(document.Get(), message.Body());
  if (m_db) m_table->est_db_put_doc(m_db, document.Get(), ESTPDCLEAN);
  return true;
}

void CEstraierDb::AddHeaderAttributes(ESTDOC* document, const CMailMessage& message) {
  // In table order (byte order of the names): of two fields whose names differ only in case, the one written last
  // gives the attribute, and each adds its own hidden text.
  for (const auto& [name, value] : message.Headers()) {
    const CHeaderAttributeMap::Row* row = CHeaderAttributeMap::Find(name.c_str());
    if (!row) continue;
    switch (row->kind) {
      case HeaderKind::Attribute:
        m_table->est_doc_add_attr(document, row->attributeName, value.c_str());
        break;
      case HeaderKind::AttributeAndHiddenText:
        m_table->est_doc_add_attr(document, row->attributeName, value.c_str());
        m_table->est_doc_add_hidden_text(document, value.c_str());
        break;
      case HeaderKind::Dates:
        m_table->est_doc_add_attr(document, "@cdate", value.c_str());
        m_table->est_doc_add_attr(document, "@mdate", value.c_str());
        break;
    }
  }
}
