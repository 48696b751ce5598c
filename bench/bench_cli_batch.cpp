// A full MUX-410 configuration written by `qvrctl --controller all` to 1, 2 and 4 simulated
// adapters at 1 ms per report. The adapters run side by side, so the aim is that four take no
// more than 1.2 times as long as one (the floor, measured in the same run).
//   bench_cli_batch [runs]
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qvrctl.h"
#include "platform/file_names.h"
#include "platform/temporary_file.h"

namespace {

int Qvrctl(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  std::istringstream in;
  const int status = qvr::cli::RunQvrctl(int(argv.size()), argv.data(), out, err,
                                         qvr::cli::Terminal{&in, false, false});
  if (status != 0) std::fprintf(stderr, "%s%s", out.str().c_str(), err.str().c_str());
  return status;
}

double MedianMs(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
  // A folder beside a new temporary file takes that file's unique name.
  const std::string marker = qvr::CreateTemporaryFile(".bench");
  const std::string dir = marker + ".d";
  if (marker.empty() || !std::filesystem::create_directory(qvr::NativePath(dir))) return 1;
  const std::string simulator = "--simulator=" + dir;
  const std::string file = dir + "/unit.MUX";
  if (Qvrctl({"qvrctl", simulator, "read", "mux-410", file}) != 0) return 1;
  // The whole event table: 96 events after the sample's parameters.
  {
    std::ofstream mux(file, std::ios::app | std::ios::binary);
    for (int event = 1; event <= 96; ++event) {
      mux << "[EVENT" << event << "]\r\nInput=" << (event % 6) + 1
          << "\r\nEvent=" << (event % 30) + 1
          << "\r\nOutTypeFreq=8\r\ntype=1\r\nreplay=0\r\naddress=4\r\ncommand=" << event
          << "\r\n\r\n";
    }
  }

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
  std::filesystem::remove_all(qvr::NativePath(dir));
  std::filesystem::remove(qvr::NativePath(marker));
  return 0;
}
