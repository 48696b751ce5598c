#pragma once
// A Host for core tests: records log lines, progress and boxes, and answers boxes from a
// script. A ManualClock that tests advance, optionally on every pump or read of the time.
#include <deque>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/host.h"

namespace qvr::test {

class ManualClock : public Clock {
 public:
  uint32_t NowMs() override {
    uint32_t now = now_;
    now_ += stepPerRead;
    return now;
  }
  void SleepMs(uint32_t ms) override { now_ += ms; }
  void Advance(uint32_t ms) { now_ += ms; }
  void Set(uint32_t ms) { now_ = ms; }
  uint32_t stepPerRead = 0;  // time that passes on every read (models a busy loop)

 private:
  uint32_t now_ = 1000;
};

struct Box {
  BoxStyle style;
  std::string text;
};

class TestHost : public Host {
 public:
  explicit TestHost(ManualClock* clock = nullptr) : clock_(clock) {}

  void PumpMessages() override {
    ++pumps;
    if (clock_) clock_->Advance(pumpAdvanceMs);
  }
  void LogLine(const std::string& line) override { log.push_back(line); }
  void ClearLog() override {
    log.clear();
    ++clears;
  }
  void BeginProgress(int total, const std::string& caption) override {
    progressTotal = total;
    progressDone = 0;
    progressCaption = caption;
    ++progressBegins;
  }
  void AdvanceProgress(int count) override { progressDone += count; }
  bool PacketLogEnabled() const override { return packetLog; }
  BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) override {
    boxes.push_back({style, text});
    if (answers.empty())
      return style.kind == BoxKind::kQuestion || style.kind == BoxKind::kWarning ? BoxAnswer::kNo
                                                                                 : BoxAnswer::kOk;
    BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<std::string> log;
  std::vector<Box> boxes;
  std::deque<BoxAnswer> answers;  // scripted button results, in order
  std::string progressCaption;
  int progressTotal = 0;
  int progressDone = 0;
  int progressBegins = 0;
  int pumps = 0;
  int clears = 0;
  uint32_t pumpAdvanceMs = 0;
  bool packetLog = false;

 private:
  ManualClock* clock_;
};

}  // namespace qvr::test
