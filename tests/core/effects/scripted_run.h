// A run protocol for the effect tests: records every call in order, can
// request the cancel while a chosen ProcessMessages call runs (as a click on
// the Kancel button would be handled there), and can make a chosen
// WriteFrame fail.
#pragma once

#include <string>
#include <vector>

#include "core/generate/run_protocol.h"

namespace vesk::testing {

class ScriptedRun : public RunProtocol {
 public:
  // Requests the cancel during the ProcessMessages call with this 0-based
  // index (-1: never).
  int cancel_during_process = -1;
  // The WriteFrame call with this 0-based index fails (-1: never).
  int fail_write = -1;

  std::vector<std::string> log;       // "begin", "counter 3/12", "process", ...
  std::vector<int> inner_bars;
  std::vector<Bitmap> written;        // frames kept by WriteFrame
  std::vector<Bitmap> shown;          // frames passed to ShowFrame
  int process_calls = 0;
  int write_calls = 0;
  int begin_calls = 0;
  int end_calls = 0;
  bool cancelled = false;

  void Begin() override {
    ++begin_calls;
    cancelled = false;
    log.push_back("begin");
  }
  void Counter(int k, int n) override {
    log.push_back("counter " + std::to_string(k) + "/" + std::to_string(n));
  }
  void InnerBar(int percent) override { inner_bars.push_back(percent); }
  void ProcessMessages() override {
    if (process_calls == cancel_during_process) cancelled = true;
    ++process_calls;
    log.push_back("process");
  }
  bool CancelRequested() override { return cancelled; }
  void ShowFrame(const Bitmap& frame) override {
    shown.push_back(frame);
    log.push_back("show");
  }
  Status WriteFrame(const Bitmap& frame) override {
    const int index = write_calls++;
    log.push_back("write");
    if (index == fail_write) return Failure{"Cannot write imag" + std::to_string(index + 1) + ".bmp"};
    written.push_back(frame);
    return Status::Success();
  }
  void End() override {
    ++end_calls;
    log.push_back("end");
  }

  // Number of log entries equal to `entry`.
  int Count(const std::string& entry) const {
    int n = 0;
    for (const std::string& e : log) n += e == entry ? 1 : 0;
    return n;
  }

  // The "counter k/n" entries of the log, in order.
  std::vector<std::string> Counters() const {
    std::vector<std::string> counters;
    for (const std::string& e : log) {
      if (e.rfind("counter ", 0) == 0) counters.push_back(e);
    }
    return counters;
  }
};

}  // namespace vesk::testing
