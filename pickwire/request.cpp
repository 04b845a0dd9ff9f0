#include "request.h"

#include "cp932.h"

namespace pickwire {

namespace {

// Turns every '/' into '\'. 0x2F is never a trail byte, so no double-byte character is touched.
std::string TurnSlashes(std::string_view text) {
  std::string turned(text);
  for (std::size_t pos = 0; pos < turned.size(); pos += Cp932CharLength(turned, pos)) {
    if (turned[pos] == '/') turned[pos] = '\\';
  }
  return turned;
}

// Where the parts of a request lie, found in one walk over its characters.
struct Landmarks {
  std::size_t account = std::string::npos;  // first "Account\" that starts at a character boundary
  std::size_t firstColon = std::string::npos;
  std::size_t lastColon = std::string::npos;
};

Landmarks FindLandmarks(std::string_view text) {
  Landmarks found;
  for (std::size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) {
    if (text[pos] == ':') {
      if (found.firstColon == std::string::npos) found.firstColon = pos;
      found.lastColon = pos;
    } else if (found.account == std::string::npos && text.substr(pos, kAccountMarker.size()) == kAccountMarker) {
      found.account = pos;
    }
  }
  return found;
}

// Checks that a folder path can stand inside "OpenThisFolder(...);" as one argument and nothing more. Parentheses
// are allowed in pairs, so that folders such as "Archive (2009)" still open.
RequestRefusal CheckFolderPath(std::string_view folder) {
  if (folder.size() > kMaxFolderPathBytes) return RequestRefusal::kFolderPathTooLong;
  std::size_t openParentheses = 0;
  for (std::size_t pos = 0; pos < folder.size(); pos += Cp932CharLength(folder, pos)) {
    if (IsBrokenCp932Char(folder, pos)) return RequestRefusal::kFolderPathBrokenCharacter;
    if (Cp932CharLength(folder, pos) == 2) continue;
    const auto byte = static_cast<unsigned char>(folder[pos]);
    if (byte < 0x20 || byte == 0x7F) return RequestRefusal::kFolderPathControlByte;
    switch (byte) {
      case ';':
        return RequestRefusal::kFolderPathSemicolon;
      case '"':
        return RequestRefusal::kFolderPathQuote;
      case '(':
        ++openParentheses;
        break;
      case ')':
        if (openParentheses == 0) return RequestRefusal::kFolderPathParentheses;
        --openParentheses;
        break;
      default:
        break;
    }
  }
  return openParentheses == 0 ? RequestRefusal::kNone : RequestRefusal::kFolderPathParentheses;
}

}  // namespace

RequestParse ParseRequest(std::string_view text) {
  RequestParse parse;
  if (text.size() > kMaxRequestBytes) {
    parse.refusal = RequestRefusal::kTooLong;
    return parse;
  }
  const std::string turned = TurnSlashes(text);
  const Landmarks found = FindLandmarks(turned);
  if (found.account == std::string::npos) {
    parse.refusal = RequestRefusal::kNoAccountMarker;
    return parse;
  }
  if (found.lastColon == std::string::npos) {
    parse.refusal = RequestRefusal::kNoColon;
    return parse;
  }
  const std::size_t folderStart = found.account + kAccountMarker.size();
  if (found.lastColon < folderStart) {
    parse.refusal = RequestRefusal::kNoColonAfterFolder;
    return parse;
  }
  const std::string_view folder = std::string_view(turned).substr(folderStart, found.lastColon - folderStart);
  parse.refusal = CheckFolderPath(folder);
  if (!parse.Accepted()) return parse;

  parse.request.folderPath = folder;
  parse.request.messagePath = turned.substr(found.firstColon + 1);
  parse.request.openFolderMacro = std::string(kOpenFolderMacroStart) + parse.request.folderPath + kOpenFolderMacroEnd;
  return parse;
}

const char* DescribeRefusal(RequestRefusal refusal) {
  switch (refusal) {
    case RequestRefusal::kNone:
      return "accepted";
    case RequestRefusal::kTooLong:
      return "the request is 4096 bytes or longer";
    case RequestRefusal::kNoAccountMarker:
      return "the request holds no \"Account\\\" (written with a capital A)";
    case RequestRefusal::kNoColon:
      return "the request holds no ':'";
    case RequestRefusal::kNoColonAfterFolder:
      return "no ':' follows the folder path after \"Account\\\"";
    case RequestRefusal::kFolderPathTooLong:
      return "the folder path is longer than 242 bytes";
    case RequestRefusal::kFolderPathControlByte:
      return "the folder path holds a control character";
    case RequestRefusal::kFolderPathSemicolon:
      return "the folder path holds ';'";
    case RequestRefusal::kFolderPathQuote:
      return "the folder path holds '\"'";
    case RequestRefusal::kFolderPathParentheses:
      return "the parentheses in the folder path do not pair up";
    case RequestRefusal::kFolderPathBrokenCharacter:
      return "the folder path holds a broken double-byte character";
  }
  return "refused";
}

}  // namespace pickwire
