#include "app/volume_texts.h"

#include <algorithm>

namespace tarvo {
namespace {

constexpr size_t kSectorSize = 2048;

// ECMA-119 8.4: byte positions (from 0) of the fields taken from the disc.
constexpr size_t kVolumeIdOffset = 40;        // 8.4.6 Volume Identifier
constexpr size_t kDataPreparerOffset = 446;   // 8.4.18 Data Preparer Identifier
constexpr size_t kApplicationIdOffset = 574;  // 8.4.19 Application Identifier
constexpr size_t kCopyrightFileOffset = 702;  // 8.4.20 Copyright File Identifier

std::string FieldText(const uint8_t* sector, size_t offset, size_t width) {
  const uint8_t* begin = sector + offset;
  const uint8_t* end = std::find(begin, begin + width, uint8_t{0});
  return std::string(begin, end);
}

}  // namespace

VolumeTexts& CurrentVolumeTexts() {
  static VolumeTexts texts;
  return texts;
}

bool FillVolumeTextsFromSector16(const uint8_t* sector, size_t n, VolumeTexts& texts, std::string& label) {
  if (sector == nullptr || n < kSectorSize) return false;
  texts.discApplicationId = FieldText(sector, kApplicationIdOffset, kApplicationIdMax);
  texts.copyrightFile = FieldText(sector, kCopyrightFileOffset, kCopyrightFileMax);
  texts.dataPreparer = FieldText(sector, kDataPreparerOffset, kDataPreparerMax);
  label = FieldText(sector, kVolumeIdOffset, kVolumeIdMax);
  return true;
}

void StoreTypedVolumeTexts(const std::string& dataPreparer, const std::string& copyrightFile, VolumeTexts& texts) {
  texts.dataPreparer = dataPreparer.substr(0, kTypedDataPreparerMax);
  texts.copyrightFile = copyrightFile.substr(0, kTypedCopyrightFileMax);
}

}  // namespace tarvo
