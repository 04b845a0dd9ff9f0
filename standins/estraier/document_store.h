// The storage of one database directory:
//   standin.meta     what the database is: a format line, then "log <file name>", "length <committed bytes of the
//                    log>", "next <next document id>"; always replaced whole (written to standin.meta.tmp, synced,
//                    renamed over the old one), so it is either the old or the new one after a crash
//   docs-<n>.log     the log of records (record_log.h); only its first "length" bytes count. Records are appended
//                    at commit time; a crash may leave a torn tail beyond that length, which the next writer cuts.
// Puts and removals go to memory first; they reach the log when several megabytes have gathered (beyond the
// committed length, so they do not count yet) and at the next commit (flush, sync, close). The attributes
// of every live document stay in memory; texts are read back from the log when needed. Compaction writes the live
// records to docs-<n+1>.log and switches the meta file over to it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform_files.h"

struct ESTDOC;

namespace estraier_standin {

struct StoredDocument {
  std::map<std::string, std::string> attrs;
  uint64_t offset = 0;  // of its record in the log, counting the part not yet written
  uint32_t size = 0;    // of its record, header included
};

class DocumentStore {
 public:
  // Opens the database in directory, creating the directory and an empty database when create is set. On failure
  // returns null and sets ecode (I/O problem for a missing or unusable directory, lock failure when another writer
  // has the database open, database problem for a damaged database). Readers take no lock.
  static std::unique_ptr<DocumentStore> Open(const std::string& directory, bool writer, bool create, int& ecode);

  bool writer() const { return writer_; }
  const std::map<int, StoredDocument>& documents() const { return documents_; }
  std::optional<int> IdOfUri(const std::string& uri) const;

  // Stores a document under the next id (its attributes must hold "@uri"); returns the id.
  int Put(std::map<std::string, std::string> attrs, const std::vector<std::string>& texts,
          const std::vector<std::string>& hiddenTexts);
  // Removes a live document; false when there is none with that id.
  bool Remove(int id);
  // Reads a live document whole; false when there is none or its record cannot be read.
  bool Read(int id, ESTDOC& doc) const;

  // Moves up to max (all when max <= 0) words of put documents into the counted index words.
  void FlushWords(int max);
  // Writes everything not yet written to the log and records it in the meta file.
  bool Commit();
  // Rewrites the log with the live documents only. Commits first.
  bool Compact();
  // True when removed and replaced documents take up more of the log than the live ones.
  bool CompactionWorthwhile() const;

  size_t wordCount() const { return words_.size(); }
  size_t pendingWordCount() const { return pendingWords_.size(); }
  uint64_t logSize() const { return writtenLength_ + pending_.size(); }
  // Bytes put or removed since the last commit.
  uint64_t pendingSize() const { return logSize() - committedLength_; }
  int removedSinceFlush() const { return removedSinceFlush_; }

 private:
  DocumentStore(std::string directory, bool writer) : directory_(std::move(directory)), writer_(writer) {}
  bool CreateEmpty();
  bool ReadMeta();
  bool WriteMeta(const std::string& logName, uint64_t length);
  bool Load();
  void RemoveStaleFiles();
  bool ReadRecordBytes(uint64_t offset, uint32_t size, std::string& out) const;
  bool Apply(uint32_t kind, uint32_t id, const std::string& payload, uint64_t offset);
  // Appends the gathered records to the log without committing them; false on a write error.
  bool WritePending();
  void WritePendingWhenLarge();

  std::string directory_;
  bool writer_;
  ExclusiveFileLock writerLock_;  // standin.lock, held by the one writer
  std::string logName_;
  uint64_t committedLength_ = 0;  // what the meta file records
  uint64_t writtenLength_ = 0;    // what the log holds, committed or not
  bool writeFailed_ = false;      // a write beyond the committed length failed; the next commit retries it
  int nextId_ = 1;
  CFile log_;
  std::string pending_;  // records not yet written; they follow writtenLength_
  std::map<int, StoredDocument> documents_;
  std::unordered_map<std::string, int> idsByUri_;
  std::unordered_set<uint64_t> words_;
  std::unordered_set<uint64_t> pendingWords_;
  uint64_t liveBytes_ = 0;
  uint64_t deadBytes_ = 0;
  int removedSinceFlush_ = 0;
};

}  // namespace estraier_standin
