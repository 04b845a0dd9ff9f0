// Figures of the message parser and of the mapping of messages onto documents, on a generated corpus:
//   parser throughput (MB/s) on ordinary messages, on one large message and on one with very many header lines
//   (each also at twice the size, so a cost that grows faster than the text shows as a falling rate);
//   PutMessage documents per second, and the same corpus put into the library by a bare loop (fields already
//   extracted), so the ratio shows what the parsing and mapping themselves cost.
// Usage: corvidex_parser_bench [messages, default 3000]
// The puts use the full-text library beside the program: libestraier.so natively; on Windows estraier.dll, found
// by the platform's search order, which begins with the program's own folder.
#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "estraier_db.h"
#include "mail_message.h"

namespace {
using Clock = std::chrono::steady_clock;

#ifdef _WIN32
const CModuleLoader kBesideProgram = CModuleLoader::System();
#else
// The full-text library of this build, beside the program.
ModuleHandle OpenLibraryBesideProgram() {
  const auto path = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libestraier.so";
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
const CModuleLoader kBesideProgram{&OpenLibraryBesideProgram, CModuleLoader::System().openRuntimeLibrary,
                                   CModuleLoader::System().findSymbol, CModuleLoader::System().closeModule};
#endif

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// A message of the kind the mail client holds: trace lines, folded fields, a Japanese subject, a body of lines.
std::string MakeMessage(int n) {
  std::string text;
  text += "Return-Path: <sender" + std::to_string(n % 97) + "@example.jp>\r\n";
  for (int hop = 0; hop < 4; ++hop) {
    text += "Received: from relay" + std::to_string(hop) + ".example.jp (relay [192.0.2." + std::to_string(hop) +
            "])\r\n\tby mx.example.jp with ESMTP id " + std::to_string(n * 7 + hop) + ";\r\n\tSun, 09 Aug 2009 10:0" +
            std::to_string(hop) + ":00 +0900\r\n";
  }
  text += "Date: Sun, 09 Aug 2009 10:00:00 +0900\r\n";
  text += "From: \xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E <taro@example.jp>\r\n";
  text += "To: team" + std::to_string(n % 13) + "@example.jp,\r\n member@example.jp\r\n";
  text += "Subject: \xE4\xBC\x9A\xE8\xAD\xB0\xE3\x81\xAE\xE8\xAD\xB0\xE4\xBA\x8B\xE9\x8C\xB2 " + std::to_string(n) + "\r\n";
  text += "Message-ID: <" + std::to_string(n) + "@example.jp>\r\nMIME-Version: 1.0\r\n";
  text += "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\nX-Mailer: Edmax\r\n\r\n";
  for (int line = 0; line < 30 + n % 40; ++line) {
    text += "\xE6\x98\xA8\xE6\x97\xA5\xE3\x81\xAE\xE4\xBC\x9A\xE8\xAD\xB0 line " + std::to_string(line) +
            " of the minutes, item " + std::to_string(n + line) + ".\r\n";
  }
  return text;
}

// A large message whose size is in its header block (the body is not scanned): one field folded over many lines.
std::string MakeLargeMessage(std::size_t headerBytes) {
  std::string text = "Subject: large\r\n";
  while (text.size() < headerBytes) text += "\ta folded line of a very long field, 0123456789   \r\n";
  return text + "\r\nbody\r\n";
}

std::string MakeManyHeaderLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += (i % 3 == 0 ? "Received: hop " : i % 3 == 1 ? "X-Field-" + std::to_string(i) + ": v " : "\tfolded ");
    text += std::to_string(i) + "\r\n";
  }
  return text + "\r\nbody\r\n";
}

// Parses texts until at least a quarter second has passed; returns MB/s.
double ParseRate(const std::vector<std::string>& texts) {
  std::size_t bytes = 0, fields = 0;
  const auto start = Clock::now();
  do {
    for (const std::string& text : texts) {
      const CMailMessage message(text.c_str());
      fields += message.Headers().size();
      bytes += text.size();
    }
  } while (Seconds(start) < 0.25);
  if (fields == 0) std::printf("(no fields)\n");
  return bytes / 1e6 / Seconds(start);
}

std::string TempIndex(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() / (std::string("corvidex-bench-") + name);
  std::filesystem::remove_all(dir);
  return dir.string();
}
}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
  std::vector<std::string> corpus;
  std::vector<std::string> paths;
  std::size_t corpusBytes = 0;
  for (int i = 0; i < count; ++i) {
    corpus.push_back(MakeMessage(i));
    paths.push_back("Inbox\\" + std::to_string(i) + ".eml");
    corpusBytes += corpus.back().size();
  }
  std::printf("corpus: %d messages, %.1f MB\n", count, corpusBytes / 1e6);
  std::printf("parser, ordinary messages:        %8.1f MB/s\n", ParseRate(corpus));
  std::printf("parser, one 25 MB header block:   %8.1f MB/s\n", ParseRate({MakeLargeMessage(25'000'000)}));
  std::printf("parser, one 50 MB header block:   %8.1f MB/s\n", ParseRate({MakeLargeMessage(50'000'000)}));
  std::printf("parser, 50,000 header lines:      %8.1f MB/s\n", ParseRate({MakeManyHeaderLines(50'000)}));
  std::printf("parser, 100,000 header lines:     %8.1f MB/s\n", ParseRate({MakeManyHeaderLines(100'000)}));

  double putRate = 0;
  {
    CEstraierDb db(kBesideProgram);
    if (!db.IsLoaded()) {
      std::printf("no complete full-text library beside the program: no figures for the puts\n");
      return 0;
    }
    const std::string index = TempIndex("put");
    db.Open(index.c_str());
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) db.PutMessage(paths[i].c_str(), corpus[i].c_str());
    putRate = count / Seconds(start);
    db.Close();
    std::filesystem::remove_all(index);
  }
  double bareRate = 0;
  {
    // The same documents put by a plain loop over fields extracted beforehand.
    struct Prepared {
      std::string uri, size;
      CMailMessage message;
    };
    std::vector<Prepared> prepared;
    prepared.reserve(count);
    for (int i = 0; i < count; ++i) {
      prepared.push_back({"cvdx:" + paths[i], std::to_string(corpus[i].size()), CMailMessage(corpus[i].c_str())});
    }
    CEstraierApi api;
    api.LoadLibraries(kBesideProgram);
    api.Bind();
    const std::string index = TempIndex("bare");
    int ec = 0;
    ESTDB* db = api.est_db_open(index.c_str(), ESTDBWRITER | ESTDBCREAT | ESTDBLARGE, &ec);
    const auto start = Clock::now();
    for (const Prepared& p : prepared) {
      ESTDOC* doc = api.est_doc_new();
      api.est_doc_add_attr(doc, "@uri", p.uri.c_str());
      api.est_doc_add_attr(doc, "@type", "message/rfc822");
      api.est_doc_add_attr(doc, "@size", p.size.c_str());
      const auto& headers = p.message.Headers();
      for (const char* name : {"Date", "From", "To", "Subject", "Message-ID", "Content-Type", "X-Mailer"}) {
        const auto found = headers.find(name);
        if (found != headers.end()) api.est_doc_add_attr(doc, name, found->second.c_str());
      }
      api.est_doc_add_hidden_text(doc, headers.at("Subject").c_str());
      api.est_doc_add_text(doc, p.message.Body());
      api.est_db_put_doc(db, doc, ESTPDCLEAN);
      api.est_doc_delete(doc);
    }
    bareRate = count / Seconds(start);
    api.est_db_close(db, &ec);
    std::filesystem::remove_all(index);
  }
  std::printf("PutMessage:                       %8.0f documents/s\n", putRate);
  std::printf("bare library loop:                %8.0f documents/s\n", bareRate);
  std::printf("PutMessage / bare loop:           %8.2f\n", putRate / bareRate);
  return 0;
}
