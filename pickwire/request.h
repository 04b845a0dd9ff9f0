// The request format of Pickwire's pipe, shared by the plug-in, pickwire-send and their tests.
//
// A request is the bytes of one write, in code page 932: a prefix (any bytes but ':', for example the scheme
// "cvdx"), a ':', then the message path. The message path must hold "Account\" (case-sensitive, the first one
// counts) followed by the folder path, a ':' and the message's own part. The folder path runs from the end of
// "Account\" to the last ':'; the message path is everything after the first ':'. Every '/' counts as '\'.
// Nothing is trimmed: a line end at the end stays part of the message path.
//
// The folder path is written into the client macro "OpenThisFolder(<folder path>);" as it is, so a folder path
// that could end that statement or start another one is refused: one that holds ';', '"', a control byte (below
// 0x20, or 0x7F), a lead byte without its trail byte, or parentheses that do not pair up. A folder path that does
// not fit the client's 260-byte macro buffer is refused too, never cut. All scanning goes character by character
// (see cp932.h), so double-byte folder names are taken whole, whatever their trail bytes are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pickwire {

// The request buffer of the pipe server; a request must be shorter, so that it always ends inside it.
constexpr std::size_t kRequestBufferSize = 4096;
constexpr std::size_t kMaxRequestBytes = kRequestBufferSize - 1;

// The client's macro buffer, and the longest folder path that fits it with "OpenThisFolder(", ");" and the
// terminating zero byte.
constexpr std::size_t kMacroBufferSize = 260;
constexpr char kOpenFolderMacroStart[] = "OpenThisFolder(";
constexpr char kOpenFolderMacroEnd[] = ");";
constexpr std::size_t kMaxFolderPathBytes =
    kMacroBufferSize - (sizeof kOpenFolderMacroStart - 1) - (sizeof kOpenFolderMacroEnd - 1) - 1;

// The first macro of every request: brings up the client's mail view.
constexpr char kActivateMailerMacro[] = "ActivateMailerPart();";

// The text that begins the folder path.
constexpr std::string_view kAccountMarker = "Account\\";

enum class RequestRefusal {
  kNone,
  kTooLong,                 // 4096 bytes or more
  kNoAccountMarker,         // no "Account\"
  kNoColon,                 // no ':' at all
  kNoColonAfterFolder,      // the last ':' lies before the end of "Account\"
  kFolderPathTooLong,       // more than kMaxFolderPathBytes
  kFolderPathControlByte,   // a byte below 0x20, or 0x7F
  kFolderPathSemicolon,     // ';'
  kFolderPathQuote,         // '"'
  kFolderPathParentheses,   // a ')' before its '(', or a '(' left open
  kFolderPathBrokenCharacter,  // a lead byte without its trail byte
};

// What a request asks for, ready for the client.
struct SelectionRequest {
  std::string folderPath;       // between "Account\" and the last ':', slashes turned
  std::string messagePath;      // everything after the first ':', slashes turned
  std::string openFolderMacro;  // "OpenThisFolder(<folderPath>);", shorter than kMacroBufferSize
};

struct RequestParse {
  RequestRefusal refusal = RequestRefusal::kNone;
  SelectionRequest request;  // filled only when refusal is kNone

  bool Accepted() const { return refusal == RequestRefusal::kNone; }
};

// Reads one request. The text may hold any bytes; the pipe server hands over the bytes up to the first zero byte.
RequestParse ParseRequest(std::string_view text);

// A short English explanation of a refusal, for people (pickwire-send prints it).
const char* DescribeRefusal(RequestRefusal refusal);

}  // namespace pickwire
