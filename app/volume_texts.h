// The volume descriptor texts the user may set (data preparer, copyright file
// identifier) and the application identifier of the disc in the drive. The
// record itself is the volume descriptor builder's VolumeTexts; this file
// owns the process-wide copy and the two ways it is filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "iso/iso_structures.h"

namespace tarvo {

// Field widths of the primary volume descriptor (ECMA-119 8.4.18, 8.4.20,
// 8.4.21) and what the settings dialog keeps of typed text: its edit texts
// are read into 128- and 37-byte buffers, the last byte the terminating zero.
inline constexpr size_t kDataPreparerMax = 128;
inline constexpr size_t kCopyrightFileMax = 37;
inline constexpr size_t kApplicationIdMax = 128;
inline constexpr size_t kVolumeIdMax = 32;
inline constexpr size_t kTypedDataPreparerMax = kDataPreparerMax - 1;
inline constexpr size_t kTypedCopyrightFileMax = kCopyrightFileMax - 1;

// Empty at start, not saved between runs.
VolumeTexts& CurrentVolumeTexts();

// Decodes a disc's sector 16 (the primary volume descriptor) into `texts`
// and the volume identifier into `label`: each field up to its first zero
// byte, at most the field's width, trailing blanks kept. Returns false and
// changes nothing when fewer than 2048 bytes are given.
bool FillVolumeTextsFromSector16(const uint8_t* sector, size_t n, VolumeTexts& texts, std::string& label);

// What the settings dialog's OK stores: at most 127 and 36 characters.
void StoreTypedVolumeTexts(const std::string& dataPreparer, const std::string& copyrightFile, VolumeTexts& texts);

}  // namespace tarvo
