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
  explicit QuietHost(BoxAnswer answer = BoxAnswer::kYes) : answer_(answer) {}

  void PumpMessages() override {}
  void LogLine(const std::string&) override {}
  void ClearLog() override {}
  void BeginProgress(int, const std::string&) override {}
  void AdvanceProgress(int) override {}
  bool PacketLogEnabled() const override { return false; }
  BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) override {
    if (style.kind == BoxKind::kError) std::fprintf(stderr, "%s\n", text.c_str());
    const bool yesNo = style.kind == BoxKind::kQuestion || style.kind == BoxKind::kWarning;
    return yesNo ? answer_ : BoxAnswer::kOk;
  }

 private:
  BoxAnswer answer_;
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
