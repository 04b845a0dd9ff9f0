// What a case of the behaviour table works with: the library under test, a scratch folder of its own, checks that
// collect failures instead of stopping, and owners of the library's objects. The table runs under GoogleTest
// natively and under a plain driver on Windows, so it uses neither framework's assertions.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "library_under_test.h"

class CaseContext {
 public:
  CaseContext(LibraryUnderTest& library, std::string scratch) : lib(library), scratch_(std::move(scratch)) {}

  LibraryUnderTest& lib;

  // A path inside the case's own scratch folder (which exists); the path itself does not exist yet.
  std::string Path(const std::string& name) const;

  bool Check(bool ok, const char* what, const char* file, int line, const std::string& detail = {});
  template <typename A, typename B>
  bool CheckEqual(const A& actual, const B& expected, const char* actualText, const char* expectedText,
                  const char* file, int line) {
    if (actual == expected) return true;
    std::ostringstream detail;
    detail << "    actual:   " << Show(actual) << "\n    expected: " << Show(expected);
    return Check(false, (std::string(actualText) + " == " + expectedText).c_str(), file, line, detail.str());
  }

  const std::vector<std::string>& failures() const { return failures_; }

 private:
  template <typename T>
  static std::string Show(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
  }
  static std::string Show(const std::string& value) { return "\"" + value + "\""; }
  static std::string Show(const char* value) { return value ? "\"" + std::string(value) + "\"" : "(null)"; }
  static std::string Show(const std::set<std::string>& values) {
    std::string out = "{";
    for (const auto& value : values) out += (out.size() > 1 ? ", \"" : "\"") + value + "\"";
    return out + "}";
  }

  std::string scratch_;
  std::vector<std::string> failures_;
};

#define CASE_CHECK(ctx, condition) (ctx).Check((condition), #condition, __FILE__, __LINE__)
#define CASE_CHECK_EQ(ctx, actual, expected) \
  (ctx).CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)

// Owners of what the library hands out; each releases it the library's way.
class Database {
 public:
  Database(LibraryUnderTest& lib, ESTDB* db) : lib_(lib), db_(db) {}
  ~Database() { Close(); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ESTDB* get() const { return db_; }
  explicit operator bool() const { return db_ != nullptr; }
  // est_db_close's result; the error code goes to *ecode when given.
  int Close(int* ecode = nullptr) {
    int code = 0;
    int result = db_ ? lib_.est_db_close(db_, &code) : 1;
    db_ = nullptr;
    if (ecode) *ecode = code;
    return result;
  }

 private:
  LibraryUnderTest& lib_;
  ESTDB* db_;
};

class Document {
 public:
  explicit Document(LibraryUnderTest& lib, ESTDOC* doc = nullptr) : lib_(lib), doc_(doc ? doc : lib.est_doc_new()) {}
  ~Document() { lib_.est_doc_delete(doc_); }
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  ESTDOC* get() const { return doc_; }

 private:
  LibraryUnderTest& lib_;
  ESTDOC* doc_;
};

class Condition {
 public:
  explicit Condition(LibraryUnderTest& lib) : lib_(lib), cond_(lib.est_cond_new()) {}
  ~Condition() { lib_.est_cond_delete(cond_); }
  Condition(const Condition&) = delete;
  Condition& operator=(const Condition&) = delete;
  ESTCOND* get() const { return cond_; }

 private:
  LibraryUnderTest& lib_;
  ESTCOND* cond_;
};

// A malloc'd text of the library, released with the run-time library's free; text() is "(null)"-safe.
class LibraryText {
 public:
  LibraryText(LibraryUnderTest& lib, char* text) : lib_(lib), text_(text) {}
  ~LibraryText() {
    if (text_) lib_.free(text_);
  }
  LibraryText(const LibraryText&) = delete;
  LibraryText& operator=(const LibraryText&) = delete;
  const char* get() const { return text_; }
  std::string str() const { return text_ ? text_ : ""; }

 private:
  LibraryUnderTest& lib_;
  char* text_;
};

// The mode the plug-in opens its database with first.
constexpr int kCreatingWriter = ESTDBWRITER | ESTDBCREAT | ESTDBLARGE;

// A document to put: its URI (none when empty), further attributes, texts and hidden texts.
struct DocumentSpec {
  std::string uri;
  std::map<std::string, std::string> attrs;
  std::vector<std::string> texts;
  std::vector<std::string> hiddenTexts;
};

// Builds the document; the caller owns it.
ESTDOC* BuildDocument(LibraryUnderTest& lib, const DocumentSpec& spec);
// Puts the document with ESTPDCLEAN; returns its id (by its URI), or 0 when the put failed.
int PutDocument(CaseContext& ctx, ESTDB* db, const DocumentSpec& spec);
// The value of a stored document's attribute, or nullopt-like "(null)" marker via the bool.
bool StoredAttribute(CaseContext& ctx, ESTDB* db, int id, const char* name, std::string& value);
// The URIs of the documents a search finds; ids of documents that are gone (no "@uri") are skipped, as callers do.
std::set<std::string> SearchUris(CaseContext& ctx, ESTDB* db, const std::vector<std::string>& attrs,
                                 const char* phrase = nullptr);

// One case of the table.
struct BehaviourCase {
  const char* name;  // a GoogleTest-friendly name: letters, digits and underscores
  void (*run)(CaseContext& ctx);
};
const std::vector<BehaviourCase>& BehaviourCases();
