#include "app/sector_view.h"

#include <cstdio>
#include <vector>

namespace tarvo {

namespace {

// wsprintfA writes at most 1024 characters with its terminator.
constexpr size_t kFormattedLimit = 1023;
constexpr size_t kPathRecordCopy = 264;
constexpr size_t kDirectoryRecordCopy = 289;

// The bytes from `offset` up to the first zero byte, never past `size`.
std::string TextFrom(const uint8_t* bytes, size_t size, size_t offset) {
  std::string text;
  for (size_t i = offset; i < size && bytes[i] != 0; ++i) text.push_back(static_cast<char>(bytes[i]));
  return text;
}

uint8_t Byte(const uint8_t* bytes, size_t size, size_t offset) { return offset < size ? bytes[offset] : 0; }

uint32_t Le16(const uint8_t* bytes, size_t size, size_t offset) {
  return Byte(bytes, size, offset) | (Byte(bytes, size, offset + 1) << 8);
}

uint32_t Le32(const uint8_t* bytes, size_t size, size_t offset) {
  return Le16(bytes, size, offset) | (Le16(bytes, size, offset + 2) << 16);
}

uint32_t Be32(const uint8_t* bytes, size_t size, size_t offset) {
  return (uint32_t{Byte(bytes, size, offset)} << 24) | (Byte(bytes, size, offset + 1) << 16) |
         (Byte(bytes, size, offset + 2) << 8) | Byte(bytes, size, offset + 3);
}

// `length` bytes of the sector from `offset`, zero where the sector ends.
std::vector<uint8_t> CopyRecord(const uint8_t* sector, size_t size, int32_t offset, size_t length) {
  std::vector<uint8_t> record(length, 0);
  if (offset < 0) return record;
  for (size_t i = 0; i < length; ++i) record[i] = Byte(sector, size, static_cast<size_t>(offset) + i);
  return record;
}

template <typename... Args>
std::string Format(size_t limit, const char* format, Args... args) {
  std::vector<char> text(limit + 1, 0);
  std::snprintf(text.data(), text.size(), format, args...);
  return text.data();
}

}  // namespace

std::string RawSectorText(const uint8_t* sector, size_t size) {
  std::string text;
  for (size_t line = 0; line < 16; ++line) {
    for (size_t column = 0; column < 128; ++column) {
      const uint8_t value = Byte(sector, size, line * 128 + column);
      text.push_back(value == 0 || value == 10 ? char{4} : static_cast<char>(value));
    }
    text += "\r\n";
  }
  return text;
}

std::string VolumeDescriptorText(const uint8_t* s, size_t n) {
  const auto text = [s, n](size_t offset) { return TextFrom(s, n, offset); };
  std::string out = Format(
      kFormattedLimit,
      "VolumeDescriptorType = %d\r\nStandardIdentifier = %s\r\nVolumeDescriptorVersion = %d\r\n"
      "UnusedField1 = %d\r\nSystemIdentifier = %s\r\nVolumeIdentifier = %s\r\nUnusedField2 = %s\r\n"
      "lsbVolumeSpaceSize = %d\r\nmsbVolumeSpaceSize = %d\r\nUnusedField3 = %s\r\nlsbVolumeSetSize = %d\r\n"
      "msbVolumeSetSize = %d\r\nlsbVolumeSequenceNumber = %d\r\nmsbVolumeSequenceNumber = %d\r\n"
      "lsbLogicalBlockSize = %d\r\nmsbLogicalBlockSize = %d\r\nlsbPathTableSize = %lu\r\n"
      "msbPathTableSize = %lu\r\nLocationOfOccurrencePathTableL = %lu\r\n"
      "LocationOfOptionalOccurrencePathTableL = %lu\r\nLocationOfOccurrencePathTableM = %lu, %lu\r\n"
      "LocationOfOptionalOccurrencePathTableM = %lu\r\nRDirC = %lu, %s",
      int{Byte(s, n, 0)}, text(1).c_str(), int{Byte(s, n, 6)}, int{Byte(s, n, 7)}, text(8).c_str(),
      text(40).c_str(), text(72).c_str(), static_cast<int>(Le32(s, n, 80)), static_cast<int>(Le32(s, n, 84)),
      text(88).c_str(), static_cast<int>(Le16(s, n, 120)), static_cast<int>(Le16(s, n, 122)),
      static_cast<int>(Le16(s, n, 124)), static_cast<int>(Le16(s, n, 126)), static_cast<int>(Le16(s, n, 128)),
      static_cast<int>(Le16(s, n, 130)), static_cast<unsigned long>(Le32(s, n, 132)),
      static_cast<unsigned long>(Le32(s, n, 136)), static_cast<unsigned long>(Le32(s, n, 140)),
      static_cast<unsigned long>(Le32(s, n, 144)), static_cast<unsigned long>(Le32(s, n, 148)),
      static_cast<unsigned long>(Be32(s, n, 148)), static_cast<unsigned long>(Le32(s, n, 152)),
      static_cast<unsigned long>(Le32(s, n, 158)), text(189).c_str());
  static const struct {
    const char* label;
    size_t offset;
  } kLabels[] = {{"\r\nVolumeSetIdentifier = ", 190},       {"\r\nPublisherIdentifier = ", 318},
                 {"\r\nDataPreparerIdentifier = ", 446},    {"\r\nApplicationIdentifier = ", 574},
                 {"\r\nCopyrightFileIdentifier = ", 702},   {"\r\nAbstractFileIdentifier = ", 739},
                 {"\r\nBibliographicFileIdentifier = ", 776}, {"\r\nVolumeCreationDateTime = ", 813},
                 {"\r\nVolumeModificationDateTime = ", 830}, {"\r\nVolumeExpirationDateTime = ", 847},
                 {"\r\nVolumeEffectiveDateTime = ", 864}};
  for (const auto& label : kLabels) out += label.label + text(label.offset);
  out += "\r\n";
  out += Format(64, "pv.FileStructureVersion = %d\r\n", int{static_cast<int8_t>(Byte(s, n, 881))});
  out += Format(64, "pv.ReservedField = %d\r\n", int{static_cast<int8_t>(Byte(s, n, 882))});
  out += "\r\nApplicationUse = " + text(883);
  out += "\r\nReservedForFuture = " + text(1395);
  if (out.size() > kViewBufferSize - 1) out.resize(kViewBufferSize - 1);
  return out;
}

RecordView PathTableRecordText(const uint8_t* sector, size_t size, int32_t entryOffset) {
  std::vector<uint8_t> r = CopyRecord(sector, size, entryOffset, kPathRecordCopy);
  const uint8_t length = r[0];
  for (size_t i = 8; i < 8u + length; ++i) {
    if (r[i] == 0) r[i] = '_';
  }
  RecordView view;
  view.text = Format(kFormattedLimit,
                     "len_di = %d\r\nXARlength = %d\r\ndirLocation = lsb=%lu, msb=%lu\r\nparentDN = %d\r\ndirID=%s#\r\n",
                     int{r[0]}, int{r[1]}, static_cast<unsigned long>(Le32(r.data(), r.size(), 2)),
                     static_cast<unsigned long>(Be32(r.data(), r.size(), 2)),
                     static_cast<int>(Le16(r.data(), r.size(), 6)), TextFrom(r.data(), r.size(), 8).c_str());
  view.advance = length + 8 + (length & 1);
  return view;
}

RecordView DirectoryRecordText(const uint8_t* sector, size_t size, int32_t entryOffset) {
  std::vector<uint8_t> r = CopyRecord(sector, size, entryOffset, kDirectoryRecordCopy);
  const uint8_t length = r[32];
  for (size_t i = 33; i < 33u + length; ++i) {
    if (r[i] == 0) r[i] = '_';
  }
  const uint8_t* d = r.data();
  const size_t n = r.size();
  RecordView view;
  view.text = Format(kFormattedLimit,
                     "lend_dr = %d\r\nXARlength = %d\r\nlsbStart = %lu\r\nmsbStart = %lu\r\nlsbDataLength = %lu\r\n"
                     "msbDataLength = %lu\r\nyear = %d\r\nmonth = %d\r\nday = %d\r\nhour = %d\r\nminute = %d\r\n"
                     "second = %d\r\nfileFlags = %d\r\nlsbVolSetSeqNum = %d\r\nmsbVolSetSeqNum = %d\r\nlen_fi = %d\r\n"
                     "fi=%s#\r\n",
                     int{d[0]}, int{d[1]}, static_cast<unsigned long>(Le32(d, n, 2)),
                     static_cast<unsigned long>(Le32(d, n, 6)), static_cast<unsigned long>(Le32(d, n, 10)),
                     static_cast<unsigned long>(Le32(d, n, 14)), int{d[18]}, int{d[19]}, int{d[20]}, int{d[21]},
                     int{d[22]}, int{d[23]}, int{d[25]}, static_cast<int>(Le16(d, n, 28)),
                     static_cast<int>(Le16(d, n, 30)), int{d[32]}, TextFrom(d, n, 33).c_str());
  view.advance = d[0];
  return view;
}

}  // namespace tarvo
