#include "open_request.h"

#include "request.h"

namespace corvidex_search {

namespace {

constexpr std::string_view kUriScheme = "cvdx:";

OpenRequest Refuse(std::string refusal) {
  OpenRequest result;
  result.refusal = std::move(refusal);
  return result;
}

}  // namespace

OpenRequest MakeOpenRequest(std::string_view uri, const ToCodePage932& toCodePage932) {
  if (!uri.starts_with(kUriScheme)) return Refuse("the URI does not begin with \"cvdx:\"");
  const std::optional<std::string> path = toCodePage932(uri.substr(kUriScheme.size()));
  if (!path) return Refuse("the message path holds a character that code page 932 cannot represent");

  OpenRequest result;
  result.request = std::string(kUriScheme) + *path;
  const pickwire::RequestParse parse = pickwire::ParseRequest(result.request);
  if (!parse.Accepted()) return Refuse(std::string("Pickwire would refuse it: ") + pickwire::DescribeRefusal(parse.refusal));
  return result;
}

}  // namespace corvidex_search
