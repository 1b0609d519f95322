// The import of an earlier session from a hostile disc. The input is the
// disc: a 4-byte word, then the sectors from 16 on, 2048 bytes each (the last
// one may be short, zero-filled). The word's low 31 bits give the descriptor
// address (taken modulo a little more than the disc, so that it also lies
// beyond it). With its top bit clear, sectors outside the input do not read;
// with it set, the input's sectors repeat over 8 MB, so that extents anywhere
// find directory sectors and a directory can be as long as that disc. (A
// whole disc's worth of reads is left to the unit tests: here it would make
// most runs a hundred times slower.) Records of length 0 or 255, records
// crossing the sector end, loops, roots beyond the disc all come from the
// bytes.
// Properties: nothing crashes or hangs, the walk stays within its budget of
// reads (no more sectors than a disc holds), and a disc refused yields no
// files.
#include <cstring>
#include <vector>

#include "fuzz/harness_check.h"
#include "iso/session_import.h"

namespace {

using namespace tarvo;

constexpr size_t kSector = 2048;
// The input's first sector is the disc's sector 16, where descriptors begin;
// the system area below it does not read.
constexpr uint32_t kFirstSector = 16;
constexpr size_t kRepeatedDiscSectors = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t word;
  std::memcpy(&word, data, 4);
  const bool repeating = (word & 0x80000000u) != 0;
  uint32_t descriptor = word & 0x7FFFFFFFu;
  data += 4;
  size -= 4;
  const size_t sectors = (size + kSector - 1) / kSector;
  descriptor %= static_cast<uint32_t>(kFirstSector + sectors + 4);

  size_t reads = 0;
  const SectorReader reader = [&](uint32_t address, uint8_t* out) {
    ++reads;
    if (address < kFirstSector || sectors == 0) return false;
    size_t index = address - kFirstSector;
    if (index >= sectors) {
      if (!repeating || index >= kRepeatedDiscSectors) return false;
      index %= sectors;
    }
    const size_t from = index * kSector;
    const size_t n = size - from < kSector ? size - from : kSector;
    std::memcpy(out, data + from, n);
    std::memset(out + n, 0, kSector - n);
    return true;
  };
  const PreviousSession session = ImportPreviousSession(reader, descriptor);
  // Two descriptor reads, then at most as many sectors as a disc holds.
  FUZZ_CHECK(reads <= 2 + 99 * 60 * 75);
  if (!session.imported) FUZZ_CHECK(session.extents.empty());
  return 0;
}
