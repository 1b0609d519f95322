// The seam between the compilation and the capacity gauge: the compilation
// says what it inserted and deleted, the gauge keeps the figures.
#pragma once

#include <cstdint>
#include <string_view>

#include "browser/compilation_tree.h"

namespace tarvo {

class CapacityCharger {
 public:
  virtual ~CapacityCharger() = default;
  // Once at the end of an Add, with the sum of AddCharge over what it inserted.
  virtual void ChargeAdd(uint32_t amount) = 0;
  // For every entry of a subtree the user removed (RemoveCharge gives the bytes).
  virtual void ChargeRemove(const CompilationEntry& entry) = 0;
  // Saving an empty compilation puts used and free back to the disc's figures.
  virtual void ResetToDisc() = 0;
};

// Charges nothing: for callers without a gauge (the headless list command).
class NoCharges final : public CapacityCharger {
 public:
  void ChargeAdd(uint32_t) override {}
  void ChargeRemove(const CompilationEntry&) override {}
  void ResetToDisc() override {}
};

// What inserting one entry adds to the used figure: the length of its name,
// plus 2048 for a directory (one directory sector) or its size for a file.
inline uint64_t AddCharge(std::string_view name, const CompilationEntry& entry) {
  return name.size() + (entry.IsDirectory() ? 2048u : uint64_t{entry.size});
}

// What removing one entry gives back: its size, plus 1 when it has a source
// path, plus 2048 for a directory. Adding counts the name, removing the path;
// the two are not reconciled.
inline uint64_t RemoveCharge(const CompilationEntry& entry) {
  return uint64_t{entry.size} + (entry.sourcePath.empty() ? 0u : 1u) +
         (entry.IsDirectory() ? 2048u : 0u);
}

}  // namespace tarvo
