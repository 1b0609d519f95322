// Sense keys and additional sense codes the device model reports, and the
// fixed-format sense data (SPC-3 4.5.3) that REQUEST SENSE and the ASPI
// manager's automatic sense return.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo::vrec {

struct Sense {
  uint8_t key = 0;
  uint8_t asc = 0;
  uint8_t ascq = 0;
  bool infoValid = false;
  uint32_t information = 0;  // the failing LBA of a READ or WRITE

  bool operator==(const Sense& other) const {
    return key == other.key && asc == other.asc && ascq == other.ascq;
  }
};

inline constexpr size_t kFixedSenseLength = 18;

// SPC-3 Table 27 sense keys.
inline constexpr uint8_t kKeyNoSense = 0x0;
inline constexpr uint8_t kKeyNotReady = 0x2;
inline constexpr uint8_t kKeyMediumError = 0x3;
inline constexpr uint8_t kKeyIllegalRequest = 0x5;
inline constexpr uint8_t kKeyAbortedCommand = 0xB;

// Conditions, by SPC-3 Annex D / MMC-3 Annex F codes.
inline constexpr Sense kNoSense{};
inline constexpr Sense kNotReadyCause{kKeyNotReady, 0x04, 0x00};           // cause not reportable
inline constexpr Sense kMediumNotPresent{kKeyNotReady, 0x3A, 0x00};
inline constexpr Sense kUnrecoveredReadError{kKeyMediumError, 0x11, 0x00};
inline constexpr Sense kWriteError{kKeyMediumError, 0x0C, 0x00};
inline constexpr Sense kSessionFixationError{kKeyMediumError, 0x72, 0x00};
inline constexpr Sense kEraseFailure{kKeyMediumError, 0x51, 0x00};
inline constexpr Sense kTocUnrecoverable{kKeyMediumError, 0x57, 0x00};
inline constexpr Sense kInvalidOpcode{kKeyIllegalRequest, 0x20, 0x00};
inline constexpr Sense kLbaOutOfRange{kKeyIllegalRequest, 0x21, 0x00};
inline constexpr Sense kInvalidAddressForWrite{kKeyIllegalRequest, 0x21, 0x02};
inline constexpr Sense kInvalidFieldInCdb{kKeyIllegalRequest, 0x24, 0x00};
inline constexpr Sense kParameterListLengthError{kKeyIllegalRequest, 0x1A, 0x00};
inline constexpr Sense kInvalidFieldInParameterList{kKeyIllegalRequest, 0x26, 0x00};
inline constexpr Sense kCommandSequenceError{kKeyIllegalRequest, 0x2C, 0x00};
inline constexpr Sense kCannotWriteIncompatibleFormat{kKeyIllegalRequest, 0x30, 0x05};
inline constexpr Sense kCannotFormatIncompatibleMedium{kKeyIllegalRequest, 0x30, 0x06};
inline constexpr Sense kSavingParametersNotSupported{kKeyIllegalRequest, 0x39, 0x00};
inline constexpr Sense kMediumRemovalPrevented{kKeyIllegalRequest, 0x53, 0x02};
inline constexpr Sense kDataPhaseError{kKeyAbortedCommand, 0x4B, 0x00};

// Fixed-format sense data: response code 70h, key in byte 2, information in
// bytes 3-6 (VALID bit 7 of byte 0 when set), additional length 10, ASC and
// ASCQ in bytes 12 and 13.
inline void EncodeFixedSense(const Sense& sense, uint8_t out[kFixedSenseLength]) {
  for (size_t i = 0; i < kFixedSenseLength; ++i) out[i] = 0;
  out[0] = static_cast<uint8_t>(0x70 | (sense.infoValid ? 0x80 : 0));
  out[2] = sense.key;
  out[3] = static_cast<uint8_t>(sense.information >> 24);
  out[4] = static_cast<uint8_t>(sense.information >> 16);
  out[5] = static_cast<uint8_t>(sense.information >> 8);
  out[6] = static_cast<uint8_t>(sense.information);
  out[7] = 10;
  out[12] = sense.asc;
  out[13] = sense.ascq;
}

}  // namespace tarvo::vrec
