#include "document_store.h"

#include <cstdlib>
#include <sstream>

#include "document.h"
#include "exports.h"
#include "record_log.h"
#include "words.h"

namespace estraier_standin {
namespace {

constexpr const char* kMetaName = "standin.meta";
constexpr const char* kMetaTemporaryName = "standin.meta.tmp";
constexpr const char* kLockName = "standin.lock";
constexpr const char* kFormatLine = "estraier-standin-database 1";

bool IsLogName(const std::string& name) {
  if (name.size() < 10 || name.compare(0, 5, "docs-") != 0 || name.compare(name.size() - 4, 4, ".log") != 0)
    return false;
  for (size_t i = 5; i < name.size() - 4; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

unsigned long LogNumber(const std::string& logName) { return std::strtoul(logName.c_str() + 5, nullptr, 10); }

}  // namespace

std::unique_ptr<DocumentStore> DocumentStore::Open(const std::string& directory, bool writer, bool create,
                                                   int& ecode) {
  ecode = kErrorIo;
  if (directory.empty()) return nullptr;
  if (!IsDirectory(directory)) {
    // Only a writer that may create makes the directory, and only where its parent exists.
    if (!(writer && create) || Exists(directory) || !MakeDirectory(directory)) return nullptr;
  }
  std::unique_ptr<DocumentStore> store(new DocumentStore(directory, writer));
  if (writer && !create && !Exists(JoinPath(directory, kMetaName))) return nullptr;  // leaves no lock file behind
  // One writer at a time: a second one would append to the same log.
  if (writer && !store->writerLock_.Acquire(JoinPath(directory, kLockName))) {
    ecode = kErrorLock;
    return nullptr;
  }
  if (!Exists(JoinPath(directory, kMetaName))) {
    if (!(writer && create) || !store->CreateEmpty()) return nullptr;
  }
  ecode = kErrorDatabase;
  if (!store->ReadMeta()) return nullptr;
  const std::string logPath = JoinPath(directory, store->logName_);
  auto size = FileSize(logPath);
  if (!size || *size < store->committedLength_) return nullptr;
  // A writer that died after appending but before recording the new length left a tail that counts for nothing.
  if (writer && *size > store->committedLength_ && !TruncateFile(logPath, store->committedLength_)) {
    ecode = kErrorIo;
    return nullptr;
  }
  store->log_ = CFile(logPath, writer ? "r+b" : "rb");
  if (!store->log_) {
    ecode = kErrorIo;
    return nullptr;
  }
  store->writtenLength_ = store->committedLength_;
  if (!store->Load()) return nullptr;
  if (writer) store->RemoveStaleFiles();
  ecode = kErrorNone;
  return store;
}

bool DocumentStore::CreateEmpty() {
  logName_ = "docs-1.log";
  nextId_ = 1;
  CFile log(JoinPath(directory_, logName_), "wb");
  if (!log || !SyncFile(log.get()) || !log.Close()) return false;
  return WriteMeta(logName_, 0);
}

bool DocumentStore::ReadMeta() {
  CFile meta(JoinPath(directory_, kMetaName), "rb");
  if (!meta) return false;
  std::string content;
  char buffer[512];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, meta.get())) > 0 && content.size() < 4096)
    content.append(buffer, got);
  std::istringstream lines(content);
  std::string line;
  if (!std::getline(lines, line) || line != kFormatLine) return false;
  bool haveLog = false, haveLength = false, haveNext = false;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "log") {
      haveLog = static_cast<bool>(fields >> logName_) && IsLogName(logName_);
    } else if (key == "length") {
      haveLength = static_cast<bool>(fields >> committedLength_);
    } else if (key == "next") {
      haveNext = static_cast<bool>(fields >> nextId_) && nextId_ > 0;
    }
  }
  return haveLog && haveLength && haveNext;
}

bool DocumentStore::WriteMeta(const std::string& logName, uint64_t length) {
  const std::string temporary = JoinPath(directory_, kMetaTemporaryName);
  std::ostringstream content;
  content << kFormatLine << "\nlog " << logName << "\nlength " << length << "\nnext " << nextId_ << "\n";
  const std::string text = content.str();
  CFile meta(temporary, "wb");
  if (!meta || std::fwrite(text.data(), 1, text.size(), meta.get()) != text.size() || !SyncFile(meta.get()) ||
      !meta.Close())
    return false;
  return ReplaceFileAtomically(temporary, JoinPath(directory_, kMetaName));
}

bool DocumentStore::Load() {
  if (!SeekTo(log_.get(), 0)) return false;
  std::string header(kRecordHeaderSize, '\0');
  std::string payload;
  uint64_t offset = 0;
  while (offset < committedLength_) {
    RecordHeader record;
    if (committedLength_ - offset < kRecordHeaderSize ||
        std::fread(header.data(), 1, header.size(), log_.get()) != header.size() || !DecodeHeader(header, record) ||
        record.length > committedLength_ - offset - kRecordHeaderSize)
      return false;
    payload.resize(record.length);
    if (std::fread(payload.data(), 1, payload.size(), log_.get()) != payload.size() ||
        Checksum(payload) != record.checksum ||
        !Apply(static_cast<uint32_t>(record.kind), record.id, payload, offset))
      return false;
    offset += kRecordHeaderSize + record.length;
  }
  return true;
}

bool DocumentStore::Apply(uint32_t kind, uint32_t id, const std::string& payload, uint64_t offset) {
  const uint32_t size = static_cast<uint32_t>(kRecordHeaderSize + payload.size());
  switch (static_cast<RecordKind>(kind)) {
    case RecordKind::Document: {
      ESTDOC doc;
      if (id == 0 || id > 0x7FFFFFFF || !DecodeDocument(payload, doc, true)) return false;
      auto uri = doc.attrs.find("@uri");
      if (uri == doc.attrs.end()) return false;
      if (auto previous = IdOfUri(uri->second)) documents_.erase(*previous);
      idsByUri_[uri->second] = static_cast<int>(id);
      documents_[static_cast<int>(id)] = StoredDocument{std::move(doc.attrs), offset, size};
      liveBytes_ += size;
      if (static_cast<int>(id) >= nextId_) nextId_ = static_cast<int>(id) + 1;
      return true;
    }
    case RecordKind::Removal: {
      auto found = documents_.find(static_cast<int>(id));
      if (found != documents_.end()) {
        auto uri = idsByUri_.find(found->second.attrs["@uri"]);
        if (uri != idsByUri_.end() && uri->second == found->first) idsByUri_.erase(uri);
        liveBytes_ -= found->second.size;
        deadBytes_ += found->second.size;
        documents_.erase(found);
      }
      deadBytes_ += size;
      return true;
    }
    case RecordKind::Words: {
      std::vector<uint64_t> hashes;
      if (!DecodeWords(payload, hashes)) return false;
      words_.insert(hashes.begin(), hashes.end());
      liveBytes_ += size;
      return true;
    }
  }
  return false;
}

void DocumentStore::RemoveStaleFiles() {
  // Logs left behind by a compaction that was cut short, and a meta file that was never renamed into place.
  for (const auto& name : ListDirectory(directory_))
    if ((IsLogName(name) && name != logName_) || name == kMetaTemporaryName) RemoveFile(JoinPath(directory_, name));
}

std::optional<int> DocumentStore::IdOfUri(const std::string& uri) const {
  auto found = idsByUri_.find(uri);
  if (found == idsByUri_.end()) return std::nullopt;
  return found->second;
}

int DocumentStore::Put(std::map<std::string, std::string> attrs, const std::vector<std::string>& texts,
                       const std::vector<std::string>& hiddenTexts) {
  const std::string uri = attrs["@uri"];
  if (auto previous = IdOfUri(uri)) Remove(*previous);
  const int id = nextId_++;
  attrs["@id"] = std::to_string(id);
  const std::string payload = EncodeDocument(attrs, texts, hiddenTexts);
  const uint64_t offset = logSize();
  AppendRecord(pending_, RecordKind::Document, static_cast<uint32_t>(id), payload);
  const uint32_t size = static_cast<uint32_t>(kRecordHeaderSize + payload.size());
  documents_[id] = StoredDocument{std::move(attrs), offset, size};
  idsByUri_[uri] = id;
  liveBytes_ += size;

  std::vector<uint64_t> hashes;
  for (const auto& text : texts) BreakIntoWordHashes(text, hashes);
  for (const auto& text : hiddenTexts) BreakIntoWordHashes(text, hashes);
  for (uint64_t hash : hashes)
    if (!words_.count(hash)) pendingWords_.insert(hash);
  WritePendingWhenLarge();
  return id;
}

bool DocumentStore::Remove(int id) {
  auto found = documents_.find(id);
  if (found == documents_.end()) return false;
  auto uri = idsByUri_.find(found->second.attrs["@uri"]);
  if (uri != idsByUri_.end() && uri->second == id) idsByUri_.erase(uri);
  liveBytes_ -= found->second.size;
  deadBytes_ += found->second.size + kRecordHeaderSize;
  documents_.erase(found);
  AppendRecord(pending_, RecordKind::Removal, static_cast<uint32_t>(id), {});
  ++removedSinceFlush_;
  WritePendingWhenLarge();
  return true;
}

bool DocumentStore::ReadRecordBytes(uint64_t offset, uint32_t size, std::string& out) const {
  out.resize(size);
  if (offset >= writtenLength_) {
    if (offset - writtenLength_ + size > pending_.size()) return false;
    out.assign(pending_, static_cast<size_t>(offset - writtenLength_), size);
    return true;
  }
  return log_ && SeekTo(log_.get(), offset) && std::fread(out.data(), 1, size, log_.get()) == size;
}

bool DocumentStore::Read(int id, ESTDOC& doc) const {
  auto found = documents_.find(id);
  if (found == documents_.end()) return false;
  std::string bytes;
  RecordHeader header;
  if (!ReadRecordBytes(found->second.offset, found->second.size, bytes) || !DecodeHeader(bytes, header) ||
      header.kind != RecordKind::Document || header.id != static_cast<uint32_t>(id))
    return false;
  ESTDOC read;
  if (!DecodeDocument(std::string_view(bytes).substr(kRecordHeaderSize), read, false)) return false;
  read.id = id;
  doc = std::move(read);
  return true;
}

void DocumentStore::FlushWords(int max) {
  std::vector<uint64_t> flushed;
  for (auto it = pendingWords_.begin(); it != pendingWords_.end() && (max <= 0 || flushed.size() < size_t(max));) {
    flushed.push_back(*it);
    words_.insert(*it);
    it = pendingWords_.erase(it);
  }
  if (!flushed.empty()) {
    const std::string payload = EncodeWords(flushed);
    AppendRecord(pending_, RecordKind::Words, 0, payload);
    liveBytes_ += kRecordHeaderSize + payload.size();
  }
  removedSinceFlush_ = 0;
}

bool DocumentStore::WritePending() {
  if (writeFailed_) {
    // Part of the records may have reached the log; write them all again from the end of what is known good.
    if (!log_ || !TruncateFile(JoinPath(directory_, logName_), writtenLength_)) return false;
    std::clearerr(log_.get());
    writeFailed_ = false;
  }
  if (pending_.empty()) return true;
  if (!log_ || !SeekTo(log_.get(), writtenLength_) ||
      std::fwrite(pending_.data(), 1, pending_.size(), log_.get()) != pending_.size() || std::fflush(log_.get()) != 0) {
    writeFailed_ = true;
    return false;
  }
  writtenLength_ += pending_.size();
  pending_.clear();
  return true;
}

void DocumentStore::WritePendingWhenLarge() {
  // Keeps memory bounded during a long job; a failure here is retried by the commit, which reports it.
  constexpr size_t kWriteThreshold = 8 << 20;
  if (pending_.size() >= kWriteThreshold) WritePending();
}

bool DocumentStore::Commit() {
  if (!writer_) return true;
  if (pendingSize() == 0) return true;
  if (!WritePending() || !SyncFile(log_.get())) return false;
  if (!WriteMeta(logName_, writtenLength_)) return false;
  committedLength_ = writtenLength_;
  return true;
}

bool DocumentStore::CompactionWorthwhile() const { return writer_ && deadBytes_ > liveBytes_; }

bool DocumentStore::Compact() {
  if (!writer_ || !Commit()) return false;
  const std::string newName = "docs-" + std::to_string(LogNumber(logName_) + 1) + ".log";
  const std::string newPath = JoinPath(directory_, newName);
  std::map<int, uint64_t> newOffsets;
  uint64_t length = 0;
  {
    CFile out(newPath, "wb");
    if (!out) return false;
    std::string record;
    bool ok = true;
    for (const auto& [id, doc] : documents_) {
      ok = ReadRecordBytes(doc.offset, doc.size, record) &&
           std::fwrite(record.data(), 1, record.size(), out.get()) == record.size();
      if (!ok) break;
      newOffsets[id] = length;
      length += record.size();
    }
    if (ok) {
      record.clear();
      AppendRecord(record, RecordKind::Words, 0, EncodeWords({words_.begin(), words_.end()}));
      ok = std::fwrite(record.data(), 1, record.size(), out.get()) == record.size() && SyncFile(out.get());
      length += record.size();
    }
    if (!out.Close() || !ok || !WriteMeta(newName, length)) {
      RemoveFile(newPath);
      return false;
    }
  }
  const std::string oldPath = JoinPath(directory_, logName_);
  log_ = CFile(newPath, "r+b");
  logName_ = newName;
  committedLength_ = writtenLength_ = length;
  for (auto& [id, doc] : documents_) doc.offset = newOffsets[id];
  liveBytes_ = length;
  deadBytes_ = 0;
  RemoveFile(oldPath);
  return static_cast<bool>(log_);
}

}  // namespace estraier_standin
