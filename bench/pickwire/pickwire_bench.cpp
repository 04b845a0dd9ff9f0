// pickwire-bench: sends requests to Pickwire back to back and times how long each takes to be served.
//
//   pickwire-bench COUNT HEX
//
// HEX is one request in code page 932 bytes, written COUNT times. After each write the program connects again: the
// pipe comes back only once Pickwire has read the request, run the macros, selected the message and created its
// next instance, so the time from a write to the next successful connect bounds the delay from write to selection
// from above. The last connect writes nothing. Prints the figures, one "name value" a line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pipe_client.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FromHex(const char* hex) {
  std::string bytes;
  for (const char* p = hex; p[0] && p[1]; p += 2) {
    const char pair[3] = {p[0], p[1], '\0'};
    bytes.push_back(static_cast<char>(std::strtol(pair, nullptr, 16)));
  }
  return bytes;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: pickwire-bench COUNT HEX\n", stderr);
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const std::string request = FromHex(argv[2]);
  std::vector<double> delays;
  double lastWrite = 0;
  const double start = NowMs();
  for (int i = 0; i <= count; ++i) {
    pickwire::UniqueHandle pipe;
    if (pickwire::OpenPipeForWriting(pipe, 10000).outcome != pickwire::SendOutcome::kSent) {
      std::fprintf(stderr, "pickwire-bench: the pipe did not come back after request %d\n", i);
      return 1;
    }
    const double opened = NowMs();
    if (i > 0) delays.push_back(opened - lastWrite);
    if (i == count) break;
    DWORD written = 0;
    if (!WriteFile(pipe.get(), request.data(), static_cast<DWORD>(request.size()), &written, nullptr)) {
      std::fprintf(stderr, "pickwire-bench: write %d failed (%lu)\n", i, GetLastError());
      return 1;
    }
    lastWrite = NowMs();
  }
  const double totalMs = NowMs() - start;
  double sum = 0;
  for (double delay : delays) sum += delay;
  std::printf("requests %d\n", count);
  std::printf("requests_per_second %.2f\n", 1000.0 * count / totalMs);
  std::printf("delay_mean_ms %.1f\n", sum / static_cast<double>(delays.size()));
  std::printf("delay_median_ms %.1f\n", Percentile(delays, 0.5));
  std::printf("delay_p95_ms %.1f\n", Percentile(delays, 0.95));
  std::printf("delay_max_ms %.1f\n", Percentile(delays, 1.0));
  return 0;
}
