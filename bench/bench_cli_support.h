#pragma once
// What the qvrctl benchmarks share: qvrctl run in-process, a folder of the bench's own with a
// full MUX-410 configuration read from the simulator, and the median of the rounds.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qvrctl.h"
#include "platform/file_names.h"
#include "platform/temporary_file.h"

namespace qvr::bench {

// Runs qvrctl with `args` (args[0] its name); what it said goes to stderr when it failed.
inline int Qvrctl(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  std::istringstream in;
  const int status =
      cli::RunQvrctl(int(argv.size()), argv.data(), out, err, cli::Terminal{&in, false, false});
  if (status != 0) std::fprintf(stderr, "%s%s", out.str().c_str(), err.str().c_str());
  return status;
}

inline double MedianMs(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A folder of the bench's own (beside a new temporary file, whose unique name it takes) with
// the simulator's state and `unit.MUX`: the sample's parameters and the whole event table of
// 96 events. Removed with the object; `ok()` false when it could not be made.
class BenchFolder {
 public:
  BenchFolder() : marker_(CreateTemporaryFile(".bench")), path_(marker_ + ".d") {
    if (marker_.empty() || !std::filesystem::create_directory(NativePath(path_))) return;
    if (Qvrctl({"qvrctl", simulator(), "read", "mux-410", unitFile()}) != 0) return;
    std::ofstream mux(NativePath(unitFile()), std::ios::app | std::ios::binary);
    for (int event = 1; event <= 96; ++event) {
      mux << "[EVENT" << event << "]\r\nInput=" << (event % 6) + 1
          << "\r\nEvent=" << (event % 30) + 1
          << "\r\nOutTypeFreq=8\r\ntype=1\r\nreplay=0\r\naddress=4\r\ncommand=" << event
          << "\r\n\r\n";
    }
    ok_ = bool(mux);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(NativePath(path_), ignored);
    std::filesystem::remove(NativePath(marker_), ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }
  std::string simulator() const { return "--simulator=" + path_; }
  std::string unitFile() const { return path_ + "/unit.MUX"; }

 private:
  std::string marker_;
  std::string path_;
  bool ok_ = false;
};

}  // namespace qvr::bench
