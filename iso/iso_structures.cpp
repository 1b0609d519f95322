#include "iso/iso_structures.h"

#include <algorithm>
#include <cstring>

#include "iso/codepage.h"
#include "iso/iso_numbers.h"

namespace tarvo {

namespace {

constexpr uint8_t kStandardIdentifier[] = {'C', 'D', '0', '0', '1'};

// A primary text field of `width` bytes: the text, with `terminate` a 00 byte
// right after it when there is room, spaces up to the end, and with
// `zeroLast` a 00 in the field's last byte.
void PutPrimaryText(uint8_t* field, size_t width, std::string_view text, bool terminate, bool zeroLast) {
  std::memset(field, ' ', width);
  const size_t room = zeroLast ? width - 1 : width;
  const size_t n = std::min(text.size(), room);
  std::memcpy(field, text.data(), n);
  if (terminate && n < room) field[n] = 0;
  if (zeroLast) field[width - 1] = 0;
}

// A Joliet text field: UCS-2 characters big-endian, then UCS-2 spaces.
// `chars` characters of room; `terminate` puts 00 00 right after the text.
void PutJolietText(uint8_t* field, size_t chars, std::string_view text, bool terminate) {
  const std::u16string wide = CodePageToUcs2(text);
  const size_t n = std::min(wide.size(), terminate && chars > 0 ? chars - 1 : chars);
  for (size_t i = 0; i < chars; ++i) {
    const char16_t c = i < n ? wide[i] : u' ';
    field[2 * i] = static_cast<uint8_t>(c >> 8);
    field[2 * i + 1] = static_cast<uint8_t>(c & 0xFF);
  }
  if (terminate && n < chars) field[2 * n] = field[2 * n + 1] = 0;
}

// ECMA-119 8.4.26.1: sixteen digits, then the offset from Greenwich (0).
void PutVolumeDate(uint8_t* p, const RecordDate& d) {
  const unsigned parts[] = {d.month, d.day, d.hour, d.minute, d.second, d.milliseconds / 10u};
  unsigned year = d.year % 10000u;
  for (int i = 3; i >= 0; --i, year /= 10) p[i] = static_cast<uint8_t>('0' + year % 10);
  for (int i = 0; i < 6; ++i) {
    p[4 + 2 * i] = static_cast<uint8_t>('0' + parts[i] / 10 % 10);
    p[5 + 2 * i] = static_cast<uint8_t>('0' + parts[i] % 10);
  }
  p[16] = 0;
}

std::string_view TextUpTo(const std::string& text, size_t limit) {
  std::string_view view(text);
  view = view.substr(0, std::min(view.find('\0'), limit));
  return view;
}

}  // namespace

void BuildVolumeDescriptor(uint8_t* sector, TreeKind kind, std::string& label, uint32_t volumeSpaceSize,
                           uint32_t lPathTableLocation, uint32_t mPathTableLocation, uint32_t rootDataLength,
                           uint32_t pathTableSize, uint32_t rootExtent, const VolumeTexts& texts,
                           const RecordDate& now) {
  std::memset(sector, 0, kSectorSize);
  ConvertLabel(label);
  const bool joliet = kind == TreeKind::Joliet;
  const std::string_view preparer = TextUpTo(texts.dataPreparer, 128);
  const std::string_view copyright = TextUpTo(texts.copyrightFile, 37);
  sector[0] = joliet ? 2 : 1;                    // 8.4.1 Volume Descriptor Type
  std::memcpy(sector + 1, kStandardIdentifier, 5);  // 8.4.2
  sector[6] = 1;                                 // 8.4.3 Volume Descriptor Version
  if (joliet) {
    PutJolietText(sector + 8, 16, "", false);           // System Identifier
    sector[38] = sector[39] = 0;
    PutJolietText(sector + 40, 16, label, true);        // Volume Identifier
    sector[70] = sector[71] = 0;
    std::memcpy(sector + 88, "%/E", 3);                 // Joliet escape: UCS-2 Level 3
    PutJolietText(sector + 190, 64, "", false);         // Volume Set Identifier
    sector[316] = sector[317] = 0;
    PutJolietText(sector + 318, 64, "", false);         // Publisher Identifier
    sector[444] = sector[445] = 0;
    PutJolietText(sector + 446, 63, preparer, false);   // Data Preparer Identifier
    sector[572] = sector[573] = 0;
    PutJolietText(sector + 574, 63, kApplicationIdentifier, false);
    sector[700] = sector[701] = 0;
    PutJolietText(sector + 702, 18, copyright, false);  // Copyright File Identifier
    sector[738] = 0;
    PutJolietText(sector + 739, 18, "", false);         // Abstract File Identifier
    sector[775] = 0;
    PutJolietText(sector + 776, 18, "", false);         // Bibliographic File Identifier
    sector[812] = 0;
  } else {
    PutPrimaryText(sector + 8, 32, "", false, true);        // System Identifier
    PutPrimaryText(sector + 40, 32, label, true, true);     // Volume Identifier
    PutPrimaryText(sector + 190, 128, "", false, true);     // Volume Set Identifier
    PutPrimaryText(sector + 318, 128, "", false, true);     // Publisher Identifier
    PutPrimaryText(sector + 446, 128, preparer, true, true);
    PutPrimaryText(sector + 574, 128, kApplicationIdentifier, true, true);
    PutPrimaryText(sector + 702, 37, copyright, true, false);
    std::memset(sector + 739, ' ', 37);
    std::memset(sector + 776, ' ', 37);
  }
  PutBoth32(sector + 80, volumeSpaceSize);   // 8.4.8 Volume Space Size
  PutBoth16(sector + 120, 1);                // 8.4.9 Volume Set Size
  PutBoth16(sector + 124, 1);                // 8.4.10 Volume Sequence Number
  PutBoth16(sector + 128, kSectorSize);      // 8.4.12 Logical Block Size
  PutBoth32(sector + 132, pathTableSize);    // 8.4.13 Path Table Size
  PutLsb32(sector + 140, lPathTableLocation);  // 8.4.14
  PutMsb32(sector + 148, mPathTableLocation);  // 8.4.16
  BuildDirectoryRecordWithIdentifier(sector + 156, {}, rootExtent, rootDataLength, kFileFlagsDirectory, now,
                                     SpecialRecord::Self);
  for (size_t field = 813; field <= 864; field += 17) PutVolumeDate(sector + field, now);  // 8.4.26-29
  sector[881] = 1;                           // 8.4.31 File Structure Version
}

void BuildTerminator(uint8_t* sector) {
  std::memset(sector, 0, kSectorSize);
  sector[0] = 255;
  std::memcpy(sector + 1, kStandardIdentifier, 5);
  sector[6] = 1;
}

uint32_t BuildDirectoryRecordWithIdentifier(uint8_t* record, std::string_view identifier, uint32_t extent,
                                            uint32_t dataLength, uint8_t flags, const RecordDate& date,
                                            SpecialRecord special) {
  uint8_t specialByte = 0;
  if (special != SpecialRecord::None) {
    specialByte = special == SpecialRecord::Self ? 0 : 1;
    identifier = std::string_view(reinterpret_cast<const char*>(&specialByte), 1);
  }
  identifier = identifier.substr(0, 222);  // keeps the length within one byte
  const uint32_t length = DirectoryRecordLength(identifier.size());
  std::memset(record, 0, length);
  record[0] = static_cast<uint8_t>(length);
  PutBoth32(record + 2, extent);       // 9.1.3 Location of Extent
  PutBoth32(record + 10, dataLength);  // 9.1.4 Data Length
  // 9.1.5 Recording Date and Time: years since 1900 in one byte.
  record[18] = static_cast<uint8_t>(date.year >= 1900 ? date.year - 1900 : date.year);
  record[19] = static_cast<uint8_t>(date.month);
  record[20] = static_cast<uint8_t>(date.day);
  record[21] = static_cast<uint8_t>(date.hour);
  record[22] = static_cast<uint8_t>(date.minute);
  record[23] = static_cast<uint8_t>(date.second);
  record[25] = flags;                  // 9.1.6 File Flags
  PutBoth16(record + 28, 1);           // 9.1.9 Volume Sequence Number
  record[32] = static_cast<uint8_t>(identifier.size());
  std::memcpy(record + 33, identifier.data(), identifier.size());
  return length;
}

uint32_t BuildDirectoryRecord(uint8_t* record, std::string_view name, uint32_t extent, uint32_t dataLength,
                              uint8_t flags, const RecordDate& date, SpecialRecord special, TreeKind kind) {
  const std::string id = special == SpecialRecord::None ? Identifier(name, flags & kFileFlagsDirectory, kind)
                                                        : std::string();
  return BuildDirectoryRecordWithIdentifier(record, id, extent, dataLength, flags, date, special);
}

uint32_t BuildPathTableRecordWithIdentifier(uint8_t* record, std::string_view identifier, uint16_t parentNumber,
                                            uint32_t extent) {
  static const char kRootIdentifier = 0;
  if (identifier.empty()) identifier = std::string_view(&kRootIdentifier, 1);
  identifier = identifier.substr(0, 255);
  const uint32_t length = PathTableRecordLength(identifier.size());
  std::memset(record, 0, length);
  record[0] = static_cast<uint8_t>(identifier.size());  // 9.4.1
  PutLsb32(record + 2, extent);                         // 9.4.3
  PutLsb16(record + 6, parentNumber);                   // 9.4.4
  std::memcpy(record + 8, identifier.data(), identifier.size());
  return length;
}

uint32_t BuildPathTableRecord(uint8_t* record, std::string_view name, uint16_t parentNumber, uint32_t extent,
                              TreeKind kind) {
  const std::string id = name.empty() ? std::string() : Identifier(name, true, kind);
  return BuildPathTableRecordWithIdentifier(record, id, parentNumber, extent);
}

void ConvertPathTableToM(uint8_t* table, uint32_t size) {
  for (uint32_t at = 0; at + 8 <= size;) {
    const uint32_t length = PathTableRecordLength(table[at]);
    PutMsb32(table + at + 2, GetLsb32(table + at + 2));
    PutMsb16(table + at + 6, GetLsb16(table + at + 6));
    at += length;
  }
}

}  // namespace tarvo
