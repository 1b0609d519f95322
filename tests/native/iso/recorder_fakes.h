// Test doubles of the recorder's seams: a user that records what it was
// shown and answers from a script, a progress meter that counts, a sink that
// keeps sectors in memory, and a route around it.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "iso/iso_numbers.h"
#include "iso/recorder.h"

namespace tarvo::test {

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned style;
};

class FakeUser : public UserSeam {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    if ((style & 0x0F) != kMbYesNo) return kIdOk;
    if (answers.empty()) return kIdYes;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  std::string Status() const { return statusTexts.empty() ? "" : statusTexts.back(); }

  std::vector<ShownMessage> messages;
  std::vector<std::string> statusTexts;
  std::deque<int> answers;
};

class CountingProgress : public ProgressMeter {
 public:
  void Begin(uint32_t steps) override { begun = steps; }
  void Step(uint32_t count) override { stepped += count; }
  void End() override { ++ended; }
  uint32_t begun = 0;
  uint64_t stepped = 0;
  int ended = 0;
};

class MemorySink : public SectorSink {
 public:
  int WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) override {
    if (failAt >= 0 && address + count > uint32_t(failAt)) return 0;
    for (uint32_t i = 0; i < count; ++i)
      sectors[address + i].assign(data + i * kSectorSize, data + (i + 1) * kSectorSize);
    return 1;
  }
  std::map<uint32_t, std::vector<uint8_t>> sectors;
  int64_t failAt = -1;
};

// A disc-like route: per-sector steps, a start address of its own.
class MemoryRoute : public RecordRoute {
 public:
  explicit MemoryRoute(int64_t start) : start_(start) {}
  bool IsDisc() const override { return true; }
  int Start(UserSeam&, const std::string&) override { return 1; }
  const PreviousSession* PreviousSessionExtents() const override { return previous; }
  int64_t PrepareForWrite(UserSeam&, const std::string&) override { return start_; }
  SectorSink& Sink() override { return sink; }
  void OnWriteFailure(UserSeam&, const std::string&, uint64_t volumeSpaceSize) override {
    failureVolumeSize = volumeSpaceSize;
  }
  int Finish(UserSeam&, const std::string&) override { ++finished; return 1; }
  void Abandon() override { ++abandoned; }
  std::string SuccessText() const override { return "recorded"; }

  MemorySink sink;
  const PreviousSession* previous = nullptr;
  uint64_t failureVolumeSize = 0;
  int finished = 0;
  int abandoned = 0;

 private:
  int64_t start_;
};

}  // namespace tarvo::test
