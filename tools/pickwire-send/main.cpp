// pickwire-send: makes the mail client show a message by sending its request to Pickwire's pipe.
//
//   pickwire-send [--wait MS] <request>
//   pickwire-send [--wait MS] --cp932 <request>
//
// The request is typically a Corvidex document URI ("cvdx:" + message path). It is taken from the command line as
// text and converted to code page 932; with --cp932 its bytes are sent as the program receives them in the system's
// code page (on a Japanese Windows that is code page 932 already), without conversion. Requests that Pickwire would
// refuse are refused here, with the reason. The program waits up to MS milliseconds (default 5000) for the pipe
// while Pickwire is busy with another request.
//
// Exit status: 0 the request was written; 1 it could not be delivered (Pickwire not listening, pipe busy for the
// whole wait, write failed); 2 bad usage or a refused request.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pipe_client.h"
#include "request.h"
#include "request_argument.h"

namespace {

constexpr int kExitSent = 0;
constexpr int kExitNotDelivered = 1;
constexpr int kExitUsage = 2;

int Usage() {
  std::fputs(
      "usage: pickwire-send [--wait MS] [--cp932] <request>\n"
      "  request  e.g. a Corvidex document URI: cvdx:C:\\...\\Account\\taro\\Inbox:0001.eml\n"
      "  --cp932  send the request's bytes as given in the system code page, without conversion\n"
      "  --wait   how long to wait for a busy pipe, in milliseconds (default 5000)\n",
      stderr);
  return kExitUsage;
}

struct Options {
  bool rawCp932 = false;
  DWORD waitMs = pickwire::kDefaultSendWaitMs;
  int requestIndex = -1;  // position of the request among the arguments
};

bool ParseWait(const std::wstring& text, DWORD& waitMs) {
  if (text.empty() || text.size() > 9) return false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  waitMs = static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
  return true;
}

bool ParseOptions(const std::vector<std::wstring>& args, Options& options) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--cp932") {
      options.rawCp932 = true;
    } else if (args[i] == L"--wait") {
      if (++i == args.size() || !ParseWait(args[i], options.waitMs)) return false;
    } else if (options.requestIndex < 0) {
      options.requestIndex = static_cast<int>(i);
    } else {
      return false;
    }
  }
  return options.requestIndex > 0;
}

// The arguments as the system holds them, in UTF-16.
std::vector<std::wstring> WideArguments() {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  if (!list) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(list[i]);
  LocalFree(list);
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::wstring> args = WideArguments();
  Options options;
  if (!ParseOptions(args, options)) return Usage();

  std::string request;
  if (options.rawCp932) {
    // The run-time library's own split of the same command line, in the system's code page.
    if (options.requestIndex >= argc) return Usage();
    request = argv[options.requestIndex];
  } else if (auto converted = RequestToCp932(args[static_cast<std::size_t>(options.requestIndex)])) {
    request = std::move(*converted);
  } else {
    std::fputs("pickwire-send: request refused: it holds a character that code page 932 cannot represent\n", stderr);
    return kExitUsage;
  }

  const pickwire::RequestParse parse = pickwire::ParseRequest(request);
  if (!parse.Accepted()) {
    std::fprintf(stderr, "pickwire-send: request refused: %s\n", pickwire::DescribeRefusal(parse.refusal));
    return kExitUsage;
  }

  const pickwire::SendResult result = pickwire::SendRequest(request, options.waitMs);
  if (result.outcome != pickwire::SendOutcome::kSent) {
    std::fprintf(stderr, "pickwire-send: not delivered: %s (error %lu)\n",
                 pickwire::DescribeSendOutcome(result.outcome), static_cast<unsigned long>(result.error));
    return kExitNotDelivered;
  }
  return kExitSent;
}
