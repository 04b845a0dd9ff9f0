// Document entry points: building, reading, drafting and copying documents.
#include "document.h"

#include <new>
#include <string_view>

#include "c_memory.h"
#include "exports.h"
#include "utf8_text.h"

namespace estraier_standin {
namespace {

std::string Join(const std::vector<std::string>& parts) {
  std::string joined;
  for (const auto& part : parts) {
    if (!joined.empty()) joined += ' ';
    joined += part;
  }
  return joined;
}

bool IsIgnoredAttributeName(const char* name) { return !name || !*name || *name == '%'; }

}  // namespace

std::string CatTexts(const ESTDOC& doc) { return Join(doc.texts.items); }
std::string JoinHiddenTexts(const ESTDOC& doc) { return Join(doc.hiddenTexts); }

}  // namespace estraier_standin

using namespace estraier_standin;

extern "C" {

ESTDOC* est_doc_new(void) { return new (std::nothrow) ESTDOC; }

ESTDOC* est_doc_new_from_draft(const char* draft) {
  ESTDOC* doc = est_doc_new();
  if (!doc || !draft) return doc;
  // Attribute lines up to the first empty line, then one text per line; a hidden text line begins with a tab.
  std::string_view rest(draft);
  bool inAttributes = true;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string line(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (inAttributes) {
      if (line.empty()) {
        inAttributes = false;
      } else if (line[0] != '%') {  // lines beginning with '%' carry options that this library keeps none of
        size_t equals = line.find('=');
        if (equals != std::string::npos)
          est_doc_add_attr(doc, line.substr(0, equals).c_str(), line.c_str() + equals + 1);
      }
    } else if (!line.empty() && line[0] == '\t') {
      est_doc_add_hidden_text(doc, line.c_str() + 1);
    } else {
      est_doc_add_text(doc, line.c_str());
    }
  }
  return doc;
}

void est_doc_delete(ESTDOC* doc) { delete doc; }

void est_doc_add_attr(ESTDOC* doc, const char* name, const char* value) {
  if (!doc || IsIgnoredAttributeName(name)) return;
  if (!value) {
    doc->attrs.erase(name);
    return;
  }
  doc->attrs[name] = NormalizeAttributeValue(value);
}

void est_doc_add_text(ESTDOC* doc, const char* text) {
  if (!doc || !text) return;
  std::string normalized = NormalizeText(text);
  if (!normalized.empty()) doc->texts.items.push_back(std::move(normalized));
}

void est_doc_add_hidden_text(ESTDOC* doc, const char* text) {
  if (!doc || !text) return;
  std::string normalized = NormalizeText(text);
  if (!normalized.empty()) doc->hiddenTexts.push_back(std::move(normalized));
}

void est_doc_set_keywords(ESTDOC*, CBMAP*) {}  // keyword vectors are not kept

void est_doc_set_score(ESTDOC* doc, int score) {
  if (doc) doc->score = score;
}

int est_doc_id(ESTDOC* doc) { return doc ? doc->id : -1; }

CBLIST* est_doc_attr_names(ESTDOC* doc) {
  if (!doc) return nullptr;
  auto* names = new (std::nothrow) CBLIST;
  if (!names) return nullptr;
  for (const auto& [name, value] : doc->attrs) names->items.push_back(name);
  return names;
}

const char* est_doc_attr(ESTDOC* doc, const char* name) {
  if (!doc || !name) return nullptr;
  auto found = doc->attrs.find(name);
  return found == doc->attrs.end() ? nullptr : found->second.c_str();
}

const CBLIST* est_doc_texts(ESTDOC* doc) { return doc ? &doc->texts : nullptr; }

char* est_doc_cat_texts(ESTDOC* doc) { return doc ? MallocCopy(CatTexts(*doc)) : nullptr; }

CBMAP* est_doc_keywords(ESTDOC*) { return nullptr; }

int est_doc_score(ESTDOC* doc) { return doc ? doc->score : -1; }

char* est_doc_dump_draft(ESTDOC* doc) {
  if (!doc) return nullptr;
  std::string draft;
  for (const auto& [name, value] : doc->attrs) draft += name + "=" + value + "\n";
  draft += "\n";
  for (const auto& text : doc->texts.items) draft += text + "\n";
  if (!doc->hiddenTexts.empty()) draft += "\t" + JoinHiddenTexts(*doc) + "\n";
  return MallocCopy(draft);
}

char* est_doc_make_snippet(ESTDOC*, const CBLIST*, int, int, int) { return nullptr; }

ESTDOC* est_doc_dup(ESTDOC* doc) { return doc ? new (std::nothrow) ESTDOC(*doc) : nullptr; }

void est_doc_set_id(ESTDOC* doc, int id) {
  if (doc) doc->id = id;
}

const char* est_doc_hidden_texts(ESTDOC* doc) {
  if (!doc) return nullptr;
  doc->hiddenJoined = JoinHiddenTexts(*doc);
  return doc->hiddenJoined.c_str();
}

void est_doc_slim(ESTDOC* doc, int size) {
  if (!doc) return;
  // Keeps the leading texts that fit into size bytes together and drops the rest.
  size_t total = 0;
  auto& texts = doc->texts.items;
  for (size_t i = 0; i < texts.size(); ++i) {
    total += texts[i].size();
    if (total > static_cast<size_t>(size < 0 ? 0 : size)) {
      texts.resize(i);
      break;
    }
  }
}

int est_doc_is_empty(ESTDOC* doc) { return !doc || (doc->texts.items.empty() && doc->hiddenTexts.empty()); }

}  // extern "C"
