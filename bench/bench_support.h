#pragma once
// What the benchmarks share: a host that shows nothing and a transport that counts reports.
#include <cstdio>
#include <string>

#include "link/host.h"
#include "link/transport.h"

namespace qvr::bench {

// No log, no progress, nothing to pump. An error box means the measured run went wrong, so its
// text goes to stderr; questions are answered with `answer`.
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

// Counts the feature reports that pass to the transport beneath, both ways.
class CountingTransport : public Transport {
 public:
  explicit CountingTransport(Transport& inner) : inner_(inner) {}
  LinkResult SendFeatureReport(const PacketBytes& packet) override {
    ++reports;
    return inner_.SendFeatureReport(packet);
  }
  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    ++reports;
    return inner_.ReceiveFeatureReport(packet);
  }
  void CloseController() override { inner_.CloseController(); }
  long reports = 0;

 private:
  Transport& inner_;
};

}  // namespace qvr::bench
