// The sector viewer's texts: one 2048-byte sector shown raw or decoded as an
// ISO-9660 primary volume descriptor (ECMA-119 8.4), path table record
// (9.4) or directory record (9.1). The decoders show whatever bytes are
// there without judging them; every read stays inside the sector, and bytes
// past its end read as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

inline constexpr size_t kViewSectorSize = 2048;
// The viewer's work buffer; no decoded text is longer than it less one.
inline constexpr size_t kViewBufferSize = 5000;

// Bytes 0 and 10 become 4; 16 lines of 128 characters, each ended by CR LF.
std::string RawSectorText(const uint8_t* sector, size_t size);

std::string VolumeDescriptorText(const uint8_t* sector, size_t size);

struct RecordView {
  std::string text;
  int32_t advance = 0;  // added to the entry offset for the next record
};

// The record at `entryOffset` of the sector (zero beyond its end).
RecordView PathTableRecordText(const uint8_t* sector, size_t size, int32_t entryOffset);
RecordView DirectoryRecordText(const uint8_t* sector, size_t size, int32_t entryOffset);

}  // namespace tarvo
