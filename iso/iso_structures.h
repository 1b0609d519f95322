// Builders of the on-disc structures of ECMA-119 (and the Joliet
// supplementary descriptor): plain functions filling caller buffers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "iso/iso_names.h"
#include "iso/record_date.h"

namespace tarvo {

// The texts of the volume descriptor settings, shared by every volume.
struct VolumeTexts {
  std::string dataPreparer;       // at most 128 characters
  std::string copyrightFile;      // at most 37 characters
  std::string discApplicationId;  // at most 128, shown only, never written
};

// The application identifier this program writes into every volume.
inline constexpr std::string_view kApplicationIdentifier = "TARVO DATA CD RECORDER - THE TARVO TEAM";

inline constexpr uint8_t kFileFlagsFile = 0;
inline constexpr uint8_t kFileFlagsDirectory = 2;

enum class SpecialRecord : uint8_t { None = 0, Self = 1, Parent = 2 };

// ECMA-119 8.4 / Joliet 8.5. Converts `label` in place (ConvertLabel), so the
// Joliet descriptor built after the primary one carries the converted label.
void BuildVolumeDescriptor(uint8_t* sector, TreeKind kind, std::string& label, uint32_t volumeSpaceSize,
                           uint32_t lPathTableLocation, uint32_t mPathTableLocation, uint32_t rootDataLength,
                           uint32_t pathTableSize, uint32_t rootExtent, const VolumeTexts& texts,
                           const RecordDate& now);

// ECMA-119 8.3: the volume descriptor set terminator.
void BuildTerminator(uint8_t* sector);

// ECMA-119 9.1 length of a directory record with an identifier of n bytes.
constexpr uint32_t DirectoryRecordLength(size_t n) {
  const uint32_t length = 33 + static_cast<uint32_t>(n);
  return length + (length & 1);
}
// ECMA-119 9.4 length of a path table record with an identifier of n bytes.
constexpr uint32_t PathTableRecordLength(size_t n) {
  return 8 + static_cast<uint32_t>(n) + static_cast<uint32_t>(n & 1);
}

// Fills one directory record with a finished identifier (ignored for the
// special records) and returns its length (34 to 255).
uint32_t BuildDirectoryRecordWithIdentifier(uint8_t* record, std::string_view identifier, uint32_t extent,
                                            uint32_t dataLength, uint8_t flags, const RecordDate& date,
                                            SpecialRecord special);
// The same with the identifier made from one name by the rules of `kind`.
uint32_t BuildDirectoryRecord(uint8_t* record, std::string_view name, uint32_t extent, uint32_t dataLength,
                              uint8_t flags, const RecordDate& date, SpecialRecord special, TreeKind kind);

// Fills one path table record in L form (little-endian) and returns its
// length; an empty identifier and parent 1 give the root's record.
uint32_t BuildPathTableRecordWithIdentifier(uint8_t* record, std::string_view identifier, uint16_t parentNumber,
                                            uint32_t extent);
// The same with the directory identifier made from `name`; an empty name
// builds the root record.
uint32_t BuildPathTableRecord(uint8_t* record, std::string_view name, uint16_t parentNumber, uint32_t extent,
                              TreeKind kind);

// Rewrites a finished L path table of `size` bytes as the M table: each
// record's extent and parent number byte-swapped, records walked by length.
void ConvertPathTableToM(uint8_t* table, uint32_t size);

}  // namespace tarvo
