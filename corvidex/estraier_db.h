// The index database object: the bound full-text library and the one database that a job works on.
#pragma once

#include "estraier_api.h"
#include "observers.h"

class CMailMessage;

// Owns the bound library table and the handle of the open database. Construction loads and binds the library once
// (the outcome is IsLoaded()); destruction closes a database still open, then frees the libraries. Every other
// operation may be called only when IsLoaded() is true. The database is closed until Open succeeds; the operations
// that act on it do nothing (or return 0) while it is closed.
class CEstraierDb {
 public:
  CEstraierDb() : CEstraierDb(CModuleLoader::System()) {}
  // Loads the libraries with another loader (tests).
  explicit CEstraierDb(const CModuleLoader& loader);
  ~CEstraierDb();
  CEstraierDb(const CEstraierDb&) = delete;
  CEstraierDb& operator=(const CEstraierDb&) = delete;

  // True only if the full-text library and its run-time library were loaded and all 154 names were found.
  bool IsLoaded() const { return m_loaded; }
  bool IsOpen() const { return m_db != nullptr; }

  // Opens the database directory path (system code page) as a creating writer with large-database tuning, and,
  // if that fails, once more as a plain writer. True when the database is open (also when it already was).
  bool Open(const char* path);
  // Closes the database; it is closed afterwards whatever the library reports. True when it was closed already
  // or the library closed it without error.
  bool Close();

  // Routes the library's "flushing..." and "closing..." stages to observer (not owned; may be null) and, if the
  // database is open, installs the callback on it. Every Open needs a new call to install it again.
  void SetInformer(IInformerObserver* observer);

  // Stores one message as a document: path and text are UTF-8 and NUL-terminated; text is borrowed for the call.
  // Returns false when the message has no body (no empty line ends its header block) or the library could not
  // create a document: nothing is stored then. Returns true otherwise; while the database is closed the document
  // is built and discarded.
  bool PutMessage(const char* path, const char* text);

  // Ids of the documents whose URI begins, ignoring case, with "cvdx:" followed by folder (UTF-8); no separator is
  // added, so "Inbox" also finds "inbox2" and "INBOX\sub". *count receives the number of ids. The array is
  // released with FreeMemory. An empty folder would match every document, so it is refused: the result is null
  // and *count is 0 (callers treat an empty prefix as "nothing to search"). Null and 0 also while closed.
  int* SearchFolder(const char* folder, int* count);
  // The "@uri" of document id, released with FreeMemory; null when the document is gone or has no readable
  // "@uri" (callers skip such ids), and null while closed.
  char* GetDocUri(int id);
  // Releases what SearchFolder or GetDocUri returned, with the library's own free. Null is allowed.
  void FreeMemory(void* memory);
  // Removes document id; unknown ids are ignored.
  void RemoveDoc(int id);
  // Writes all cached index words out.
  void Flush();
  int GetDocNum();
  int GetWordNum();

  // The bound table, for callers that need an entry point this object does not wrap (tests read documents back).
  const CEstraierApi& Api() const { return *m_table; }

 private:
  static void ESTRAIER_CALL InformerProc(const char* message, void* opaque);
  void AddHeaderAttributes(ESTDOC* document, const CMailMessage& message);

  IInformerObserver* m_informer = nullptr;
  CEstraierApi m_api;
  bool m_loaded = false;
  CEstraierApi* m_table = &m_api;
  int m_errorCode = 0;  // out-parameter storage of open and close; nothing reads it
  ESTDB* m_db = nullptr;
};
