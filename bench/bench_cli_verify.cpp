// The time the read-back adds to a full MUX-410 write by qvrctl (the whole event table, 1 ms per
// report): the write with --no-verify is the floor, measured in the same run. The read-back
// carries about as many reports as the write, so the aim is at most 2.1 times the floor.
//   bench_cli_verify [runs]
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

// A new folder of the bench's own under the temporary folder; empty when none could be made.
std::string MakeFolder() {
  const auto base = std::filesystem::temp_directory_path();
  const auto seed = std::chrono::steady_clock::now().time_since_epoch().count();
  for (long long n = 0; n < 1000; ++n) {
    const auto folder = base / ("bench-verify-" + std::to_string((seed + n) % 100000000));
    std::error_code ec;
    if (std::filesystem::create_directory(folder, ec)) return folder.string();
  }
  return {};
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

double MedianMs(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = MakeFolder();
  if (dir.empty()) return 1;
  // The history goes to the bench's own folder, not the user's.
  SetVariable("XDG_DATA_HOME", dir);
  const std::string simulator = "--simulator=" + dir;
  const std::string file = dir + "/unit.MUX";
  if (Qvrctl({"qvrctl", simulator, "read", "mux-410", file}) != 0) return 1;
  {
    std::ofstream mux(file, std::ios::app | std::ios::binary);
    for (int event = 1; event <= 96; ++event) {
      mux << "[EVENT" << event << "]\r\nInput=" << (event % 6) + 1
          << "\r\nEvent=" << (event % 30) + 1
          << "\r\nOutTypeFreq=8\r\ntype=1\r\nreplay=0\r\naddress=4\r\ncommand=" << event
          << "\r\n\r\n";
    }
  }

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
  std::filesystem::remove_all(dir);
  return 0;
}
