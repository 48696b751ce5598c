#pragma once
// qvrctl run in-process against the simulated controller, its state in a folder of the test's
// own: what it prints, what reaches the device, and its exit status. Its link runs by the
// test's clock, so a unit that stays silent costs no real time.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qvrctl.h"
#include "support/ldr_builder.h"
#include "support/portable.h"
#include "support/test_host.h"

namespace qvr {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class Qvrctl : public ::testing::Test {
 protected:
  // Backups land in this test's own data folder, never the user's.
  Qvrctl() { test::SetEnvironment(test::kDataFolderVariable, data.path()); }
  ~Qvrctl() override { test::UnsetEnvironment(test::kDataFolderVariable); }

  // Runs qvrctl with the simulator keeping its state in this test's directory; `answers` is
  // what a user types on a terminal (none: no terminal at all).
  Outcome Run(std::vector<std::string> args, const char* answers = nullptr,
              const char* language = "en") {
    args.insert(args.begin(), {"qvrctl", "--simulator=" + state.path(), "--lang", language});
    return RunPlain(args, answers);
  }

  Outcome RunPlain(std::vector<std::string> args, const char* answers = nullptr) {
    std::istringstream in(answers ? answers : "");
    return RunReading(std::move(args), in, answers != nullptr);
  }
  // The same, what the user types (or standard input holds) read from `in`.
  Outcome RunReading(std::vector<std::string> args, std::istream& in, bool isTerminal) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const cli::Terminal terminal{&in, isTerminal, false, &clock};
    const int status = cli::RunQvrctl(int(argv.size()), argv.data(), out, err, terminal);
    return {status, out.str(), err.str()};
  }

  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static bool SentPackets(const Outcome& o) { return o.err.find("->") != std::string::npos; }

  test::ManualClock clock;
  test::TempDir data;
  test::TempDir state;
  test::TempDir files;
};

}  // namespace qvr
