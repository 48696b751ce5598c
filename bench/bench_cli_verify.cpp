// The time the read-back adds to a full MUX-410 write by qvrctl (the whole event table, 1 ms per
// report): the write with --no-verify is the floor, measured in the same run. The read-back
// carries about as many reports as the write, so the aim is at most 2.1 times the floor.
//   bench_cli_verify [runs]
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_cli_support.h"

using qvr::bench::MedianMs;
using qvr::bench::Qvrctl;

namespace {

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
  const qvr::bench::BenchFolder folder;
  if (!folder.ok()) return 1;
  // The history goes to the bench's own folder, not the user's.
  SetVariable("XDG_DATA_HOME", folder.path());
  const std::string simulator = folder.simulator();
  const std::string file = folder.unitFile();

  std::printf("%-34s %10s %10s\n", "MUX-410 write, 96 events (median)", "time", "vs floor");
  double floor = 0;
  for (const char* verify : {"--no-verify", ""}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      std::vector<std::string> args = {"qvrctl", simulator, "--simulated-latency",
                                       "1",      "write",   "mux-410",
                                       file,     "--yes",   "--no-backup"};
      if (*verify) args.push_back(verify);
      const auto start = std::chrono::steady_clock::now();
      if (Qvrctl(args) != 0) return 1;
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    const double median = MedianMs(times);
    if (*verify) floor = median;
    std::printf("%-34s %7.0f ms %9.2fx\n", *verify ? "without read-back (floor)" : "verified",
                median, median / floor);
  }
  std::printf("(aim: verified <= 2.10x the floor; %d runs each)\n", runs);
  return 0;
}
