// pipe-client: a client of Pickwire's pipe that does exactly the steps it is given, for the tests.
//
//   pipe-client [--pipe NAME] STEP...
//     connect[:MS]   open the pipe for writing, waiting up to MS (default 5000) while it is busy or absent
//     hex:HEX        write these bytes in one write ("hex:" alone writes nothing, in one write of 0 bytes)
//     repeat:N:HEX   write HEX repeated N times in one write
//     sleep:MS       pause
//     close          close the pipe
//     send:HEX       connect, write and close, as pickwire-send does
//
// One line on standard output per step: "connected", "wrote N", "slept", "closed", "sent", or the step's failure
// ("not-connected <error>", "write-failed <error>", ...). The exit status is 0 when every step succeeded.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pipe_client.h"

namespace {

bool FromHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    char pair[3] = {hex[i], hex[i + 1], '\0'};
    char* end = nullptr;
    const long value = std::strtol(pair, &end, 16);
    if (end != pair + 2) return false;
    bytes.push_back(static_cast<char>(value));
  }
  return true;
}

void Say(const char* format, unsigned long value = 0) {
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const char* pipeName = pickwire::kPipeName;
  pickwire::UniqueHandle pipe;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string step = argv[i];
    const auto colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string argument = colon == std::string::npos ? std::string() : step.substr(colon + 1);
    std::string bytes;
    if (verb == "--pipe" && i + 1 < argc) {
      pipeName = argv[++i];
    } else if (verb == "connect") {
      const DWORD waitMs = argument.empty() ? pickwire::kDefaultSendWaitMs : std::strtoul(argument.c_str(), nullptr, 10);
      const auto result = pickwire::OpenPipeForWriting(pipe, waitMs, pipeName);
      if (result.outcome == pickwire::SendOutcome::kSent) {
        Say("connected");
      } else {
        Say("not-connected %lu", result.error);
        status = 1;
      }
    } else if (verb == "hex" || verb == "repeat") {
      std::string unit;
      std::size_t count = 1;
      std::string hex = argument;
      if (verb == "repeat") {
        const auto second = argument.find(':');
        count = std::strtoul(argument.substr(0, second).c_str(), nullptr, 10);
        hex = second == std::string::npos ? std::string() : argument.substr(second + 1);
      }
      if (!FromHex(hex, unit)) {
        Say("bad-hex");
        return 2;
      }
      for (std::size_t n = 0; n < count; ++n) bytes += unit;
      DWORD written = 0;
      if (WriteFile(pipe.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        Say("wrote %lu", written);
      } else {
        Say("write-failed %lu", GetLastError());
        status = 1;
      }
    } else if (verb == "sleep") {
      Sleep(std::strtoul(argument.c_str(), nullptr, 10));
      Say("slept");
    } else if (verb == "close") {
      pipe.reset();
      Say("closed");
    } else if (verb == "send") {
      if (!FromHex(argument, bytes)) {
        Say("bad-hex");
        return 2;
      }
      const auto result = pickwire::SendRequest(bytes);
      if (result.outcome == pickwire::SendOutcome::kSent) {
        Say("sent");
      } else {
        Say("not-sent %lu", result.error);
        status = 1;
      }
    } else {
      Say("unknown-step");
      return 2;
    }
  }
  return status;
}
