// A full MUX-410 configuration written by `qvrctl --controller all` to 1, 2 and 4 simulated
// adapters at 1 ms per report. The adapters run side by side, so the aim is that four take no
// more than 1.2 times as long as one (the floor, measured in the same run).
//   bench_cli_batch [runs]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_cli_support.h"

using qvr::bench::MedianMs;
using qvr::bench::Qvrctl;

int main(int argc, char** argv) {
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
  const qvr::bench::BenchFolder folder;
  if (!folder.ok()) return 1;
  const std::string simulator = folder.simulator();
  const std::string file = folder.unitFile();

  std::printf("%-34s %10s %10s\n", "adapters (median)", "time", "vs one");
  double one = 0;
  for (int adapters : {1, 2, 4}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const int status = Qvrctl({"qvrctl", simulator, "--simulated-latency", "1",
                                 "--simulated-adapters", std::to_string(adapters), "--controller",
                                 "all", "write", "mux-410", file, "--yes", "--no-backup"});
      if (status != 0) return 1;
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    const double median = MedianMs(times);
    if (adapters == 1) one = median;
    std::printf("%-34d %7.0f ms %9.2fx\n", adapters, median, median / one);
  }
  std::printf("(aim: 4 adapters <= 1.20x one; %d runs each)\n", runs);
  return 0;
}
