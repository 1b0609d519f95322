#include "vrec/iso_reader.h"

#include <cstring>

namespace tarvo::vrec {

namespace {

constexpr size_t kSector = 2048;
constexpr int kMaxDepth = 32;
constexpr uint32_t kMaxDirectoryBytes = 16u << 20;
constexpr int kMaxDescriptors = 64;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::u16string DecodeName(const uint8_t* p, size_t length, bool joliet) {
  std::u16string name;
  if (joliet) {
    for (size_t i = 0; i + 1 < length; i += 2) name.push_back(static_cast<char16_t>(p[i] << 8 | p[i + 1]));
  } else {
    for (size_t i = 0; i < length; ++i) name.push_back(static_cast<char16_t>(p[i]));
  }
  size_t semicolon = name.find(u';');
  if (semicolon != std::u16string::npos) name.resize(semicolon);
  // A name without extension is recorded as "NAME." (ECMA-119 7.5.1).
  if (!name.empty() && name.back() == u'.') name.pop_back();
  return name;
}

std::u16string TrimBlanks(std::u16string text) {
  while (!text.empty() && (text.back() == u' ' || text.back() == 0)) text.pop_back();
  return text;
}

class TreeReader {
 public:
  TreeReader(const SectorReader& read, bool joliet) : read_(read), joliet_(joliet) {}

  bool ReadDirectory(IsoEntry* directory, int depth) {
    if (depth > kMaxDepth || directory->size > kMaxDirectoryBytes) return false;
    uint32_t sectors = (directory->size + kSector - 1) / kSector;
    std::vector<uint8_t> data(static_cast<size_t>(sectors) * kSector);
    for (uint32_t i = 0; i < sectors; ++i) {
      if (!read_(static_cast<int32_t>(directory->extent + i), data.data() + i * kSector)) return false;
    }
    size_t at = 0;
    size_t end = directory->size;
    while (at < end) {
      uint8_t length = data[at];
      if (length == 0) {
        at = (at / kSector + 1) * kSector;  // records do not cross sectors
        continue;
      }
      if (length < 34 || at + length > end || (at % kSector) + length > kSector) return false;
      const uint8_t* record = data.data() + at;
      uint8_t nameLength = record[32];
      if (33u + nameLength > length) return false;
      at += length;
      if (nameLength == 1 && (record[33] == 0 || record[33] == 1)) continue;  // "." and ".."
      IsoEntry entry;
      entry.extent = Le32(record + 2);
      entry.size = Le32(record + 10);
      entry.directory = (record[25] & 0x02) != 0;
      entry.time.year = 1900 + record[18];
      entry.time.month = record[19];
      entry.time.day = record[20];
      entry.time.hour = record[21];
      entry.time.minute = record[22];
      entry.time.second = record[23];
      entry.time.offsetQuarterHours = static_cast<int8_t>(record[24]);
      entry.name = DecodeName(record + 33, nameLength, joliet_);
      if (entry.name.empty() || entry.name.find(u'/') != std::u16string::npos ||
          entry.name.find(u'\\') != std::u16string::npos || entry.name == u"." || entry.name == u"..") {
        continue;  // a name that cannot be a file name on the host
      }
      if (entry.directory && !ReadDirectory(&entry, depth + 1)) entry.children.clear();
      directory->children.push_back(std::move(entry));
    }
    return true;
  }

 private:
  const SectorReader& read_;
  bool joliet_;
};

}  // namespace

int64_t RecordingTime::UnixSeconds() const {
  int64_t days = DaysFromCivil(year, month < 1 ? 1 : month, day < 1 ? 1 : day);
  return days * 86400 + hour * 3600 + minute * 60 + second - offsetQuarterHours * 15 * 60;
}

bool ReadIsoVolume(const SectorReader& read, int32_t sessionStart, IsoVolume* volume) {
  uint8_t sector[kSector];
  bool havePrimary = false;
  uint8_t primary[kSector];
  uint8_t joliet[kSector];
  bool haveJoliet = false;
  for (int i = 0; i < kMaxDescriptors; ++i) {
    if (!read(sessionStart + 16 + i, sector)) return false;
    if (std::memcmp(sector + 1, "CD001", 5) != 0) return false;
    uint8_t type = sector[0];
    if (type == 255) break;
    if (type == 1 && !havePrimary) {
      std::memcpy(primary, sector, kSector);
      havePrimary = true;
    }
    // ECMA-119 8.5.6 escape sequences: %/@, %/C, %/E mark Joliet levels 1-3.
    if (type == 2 && sector[88] == 0x25 && sector[89] == 0x2F &&
        (sector[90] == 0x40 || sector[90] == 0x43 || sector[90] == 0x45)) {
      std::memcpy(joliet, sector, kSector);
      haveJoliet = true;
    }
  }
  if (!havePrimary) return false;
  const uint8_t* descriptor = haveJoliet ? joliet : primary;
  volume->joliet = haveJoliet;
  volume->label = TrimBlanks(DecodeName(descriptor + 40, 32, haveJoliet));
  volume->volumeSpaceSize = Le32(primary + 80);
  const uint8_t* rootRecord = descriptor + 156;
  volume->root = IsoEntry{};
  volume->root.directory = true;
  volume->root.extent = Le32(rootRecord + 2);
  volume->root.size = Le32(rootRecord + 10);
  TreeReader reader(read, haveJoliet);
  return reader.ReadDirectory(&volume->root, 0);
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | c >> 12));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | c >> 18));
      out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace tarvo::vrec
