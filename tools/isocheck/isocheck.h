// A structural checker of ISO-9660 volumes with a Joliet tree, for the
// faults that public readers tolerate: records crossing a sector end,
// misplaced "." and "..", extents outside the volume, unordered or
// disagreeing path tables, trees that point at different data, a volume
// space size that is not what the structures occupy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

struct IsoCheckOptions {
  // Start address of the session whose volume is checked; files may also lie
  // in earlier sessions, below it.
  uint32_t sessionStart = 0;
  // Accept an image that ends before the volume's last sector (an image
  // written without its file data).
  bool allowShort = false;
};

struct IsoCheckReport {
  std::vector<std::string> problems;
  uint32_t volumeSpaceSize = 0;
  uint32_t directories = 0;  // per tree
  uint32_t files = 0;        // per tree
  bool ok() const { return problems.empty(); }
};

IsoCheckReport CheckIsoImage(const std::string& path, const IsoCheckOptions& options);

}  // namespace tarvo
