#pragma once
// One test bed per group of scenarios: the adapters stay plugged across the group's cases,
// and qvrctl runs as its own process against them or against the simulator in a state folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/portable.h"
#include "support/usb_bed.h"
#include "usb/program_run.h"

namespace qvr::test {

class UsbGroup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { bed = new UsbBed(); }
  static void TearDownTestSuite() {
    delete bed;
    bed = nullptr;
  }

  // qvrctl through the real USB path, in English, quiet, packets logged to stderr.
  static ProgramResult Qvrctl(std::vector<std::string> args, int asUser = -1) {
    args.insert(args.begin(), {QVRCTL_BINARY, "--lang", "en", "-q"});
    return RunProgram(std::move(args), asUser);
  }
  // The same command against the simulator keeping its state in `state`.
  static ProgramResult SimQvrctl(const std::string& state, std::vector<std::string> args) {
    args.insert(args.begin(), {QVRCTL_BINARY, "--simulator=" + state, "--lang", "en", "-q"});
    return RunProgram(std::move(args));
  }

  static inline UsbBed* bed = nullptr;
};

// A scratch folder removed with the test.
struct Scratch {
  Scratch() : path(MakeScratchFolder("qvr-usb")) {}
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

}  // namespace qvr::test
