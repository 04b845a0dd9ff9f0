#include "behaviour_case.h"

std::string CaseContext::Path(const std::string& name) const {
#if defined(_WIN32)
  return scratch_ + "\\" + name;
#else
  return scratch_ + "/" + name;
#endif
}

bool CaseContext::Check(bool ok, const char* what, const char* file, int line, const std::string& detail) {
  if (ok) return true;
  std::string message = std::string(file) + ":" + std::to_string(line) + ": check failed: " + what;
  if (!detail.empty()) message += "\n" + detail;
  failures_.push_back(message);
  return false;
}

ESTDOC* BuildDocument(LibraryUnderTest& lib, const DocumentSpec& spec) {
  ESTDOC* doc = lib.est_doc_new();
  if (!spec.uri.empty()) lib.est_doc_add_attr(doc, "@uri", spec.uri.c_str());
  for (const auto& [name, value] : spec.attrs) lib.est_doc_add_attr(doc, name.c_str(), value.c_str());
  for (const auto& text : spec.texts) lib.est_doc_add_text(doc, text.c_str());
  for (const auto& text : spec.hiddenTexts) lib.est_doc_add_hidden_text(doc, text.c_str());
  return doc;
}

int PutDocument(CaseContext& ctx, ESTDB* db, const DocumentSpec& spec) {
  Document doc(ctx.lib, BuildDocument(ctx.lib, spec));
  if (!ctx.Check(ctx.lib.est_db_put_doc(db, doc.get(), ESTPDCLEAN) != 0, ("put of " + spec.uri).c_str(), __FILE__,
                 __LINE__))
    return 0;
  int id = ctx.lib.est_db_uri_to_id(db, spec.uri.c_str());
  return id > 0 ? id : 0;
}

bool StoredAttribute(CaseContext& ctx, ESTDB* db, int id, const char* name, std::string& value) {
  LibraryText text(ctx.lib, ctx.lib.est_db_get_doc_attr(db, id, name));
  value = text.str();
  return text.get() != nullptr;
}

std::set<std::string> SearchUris(CaseContext& ctx, ESTDB* db, const std::vector<std::string>& attrs,
                                 const char* phrase) {
  Condition cond(ctx.lib);
  for (const auto& expression : attrs) ctx.lib.est_cond_add_attr(cond.get(), expression.c_str());
  if (phrase) ctx.lib.est_cond_set_phrase(cond.get(), phrase);
  int count = -1;
  int* ids = ctx.lib.est_db_search(db, cond.get(), &count, nullptr);
  std::set<std::string> uris;
  // The result array is allocated even when nothing was found.
  if (!ctx.Check(ids != nullptr, "est_db_search returned an array", __FILE__, __LINE__)) return uris;
  for (int i = 0; i < count; ++i) {
    std::string uri;
    if (StoredAttribute(ctx, db, ids[i], "@uri", uri)) uris.insert(uri);
  }
  ctx.lib.free(ids);
  return uris;
}
