#pragma once
// A Host for benchmarks: no log, no progress, nothing to pump. An error box means the measured
// run went wrong, so its text goes to stderr; questions are answered with `answer`.
#include <cstdio>
#include <string>

#include "link/host.h"

namespace qvr::bench {

class QuietHost : public Host {
 public:
  explicit QuietHost(int answer = kBoxResultYes) : answer_(answer) {}

  void PumpMessages() override {}
  void LogLine(const std::string&) override {}
  void ClearLog() override {}
  void BeginProgress(int, const std::string&) override {}
  void AdvanceProgress(int) override {}
  bool PacketLogEnabled() const override { return false; }
  int ShowMessageBox(int kind, const std::string& text) override {
    const int base = kind & 0xFF;
    if (base == kBoxError) std::fprintf(stderr, "%s\n", text.c_str());
    return base == kBoxQuestion || base == kBoxWarning ? answer_ : kBoxResultOk;
  }

 private:
  int answer_;
};

}  // namespace qvr::bench
