// Sector addresses of a compilation: the measuring scan over the list (one
// pass per directory level) and the placement of the volume from a start
// address. Index 0 of the per-tree values is the primary tree, 1 Joliet.
#pragma once

#include <cstdint>
#include <vector>

#include "iso/list_file.h"

namespace tarvo {

struct TreeLayout {
  std::vector<uint32_t> directoryTable;  // sectors of each directory, by directory number
  uint32_t pathTableSize = 10;           // bytes; the root's record is 10 bytes
  uint32_t pathTableSectors = 0;
  uint32_t largestDirectory = 0;         // sectors
  uint64_t directorySectors = 0;         // sum of directoryTable
  // Set by PlaceVolume.
  uint32_t firstDirectory = 0;
  uint32_t lPathTable = 0;
  uint32_t mPathTable = 0;
  std::vector<uint32_t> directoryStart;  // by directory number
  uint64_t largestDirectoryBytes = 0;    // largest directory's final offset
};

struct IsoLayout {
  TreeLayout trees[2];
  uint32_t directoryCount = 0;  // directories with an entry run (the root when it has entries)
  uint64_t dataSectors = 0;
  uint32_t startAddress = 0;
  uint32_t fileDataStart = 0;   // F
  uint64_t volumeSpaceSize = 0; // from the start address to the end of the data

  // Volume space size fits the 32-bit fields of the descriptors.
  bool FitsVolume() const;
};

// ECMA-119 6.8.1.1: a record never crosses a sector end; here a record that
// would end exactly at the end of a sector moves on as well.
class DirectoryPlacer {
 public:
  // The "." and ".." records (34 bytes each) come first.
  void Open() { offset_ = 68; }
  // Returns the offset at which a record of `length` bytes goes.
  uint64_t Place(uint32_t length);
  uint64_t offset() const { return offset_; }

 private:
  uint64_t offset_ = 0;
};

// `usePreviousExtents`: files of kind Recorded keep the extents of an earlier
// session and take no data sectors.
IsoLayout MeasureCompilation(const ListFile& list, bool usePreviousExtents);

void PlaceVolume(IsoLayout& layout, uint32_t startAddress);

}  // namespace tarvo
