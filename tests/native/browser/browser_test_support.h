// Fakes for the browser's seams: a user whose answers are scripted and whose
// messages are recorded, and a gauge that keeps the running figures.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "browser/capacity_charges.h"
#include "browser/compilation_commands.h"
#include "browser/memory_file_system.h"
#include "common/user_seam.h"

namespace tarvo::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned style;
};

class ScriptedUser final : public UserSeam {
 public:
  std::vector<ShownMessage> shown;
  std::deque<int> answers;  // taken in order; kIdOk when empty
  std::deque<std::string> names;  // for AskName; empty means Cancel
  int busyDepth = 0;
  int busyCalls = 0;

  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    if (answers.empty()) return kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool AskName(std::string& name) override {
    proposedNames.push_back(name);
    if (names.empty()) return false;
    name = names.front();
    names.pop_front();
    return !name.empty();
  }
  void SetBusy(bool busy) override {
    busyDepth += busy ? 1 : -1;
    ++busyCalls;
  }
  std::vector<std::string> proposedNames;
};

// Keeps used and free the way the capacity gauge does, from the model's calls.
class FigureGauge final : public CapacityCharger {
 public:
  uint64_t used = 0;
  uint64_t free = 1u << 30;
  std::vector<uint32_t> adds;
  std::vector<uint64_t> givenBack;
  int resets = 0;

  void ChargeAdd(uint32_t amount) override {
    adds.push_back(amount);
    used += amount;
    free = amount > free ? 0 : free - amount;
  }
  void ChargeRemove(const CompilationEntry& entry) override {
    const uint64_t d = RemoveCharge(entry);
    givenBack.push_back(d);
    used = d > used ? 0 : used - d;
    free += d;
  }
  void ResetToDisc() override { ++resets; }
};

// A tree, a fake file system, a scripted user and a gauge, wired together.
struct Bench {
  CompilationTree tree;
  MemoryFileSystem fs;
  ScriptedUser user;
  FigureGauge gauge;
  CompilationContext context{tree, fs, user, gauge};

  // Names of the children of `id`, in order.
  std::vector<std::string> Names(EntryId id = kRootEntry) const {
    std::vector<std::string> names;
    for (EntryId c : tree.Children(id)) names.push_back(tree.Name(c));
    return names;
  }
  // The child of `parent` named `name`, or kNoEntry.
  EntryId Child(EntryId parent, const std::string& name) const {
    for (EntryId c : tree.Children(parent))
      if (tree.Name(c) == name) return c;
    return kNoEntry;
  }
};

}  // namespace tarvo::testing
