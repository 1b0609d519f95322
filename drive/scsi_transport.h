// The SCSI pass-through seam. Everything that talks to a CD drive is written
// against this interface, so the ASPI manager (Win32), the in-process virtual
// recorder (native tests) and a later SPTI transport are interchangeable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tarvo {

enum class DataDirection : uint8_t { None, In, Out };

// How long the caller blocks for one command.
enum class WaitPolicy : uint8_t {
  Bounded,    // one wait of kBoundedWaitMs
  Unbounded,  // as long as a recorder may legitimately take (kUnboundedWaitMs)
  Sliced,     // waits of kSliceMs, calling the slice callback between them,
              // for at most kSlicedWaitMs in all
};

inline constexpr uint32_t kBoundedWaitMs = 100000;
inline constexpr uint32_t kSliceMs = 980;
// WRITE, READ, SYNCHRONIZE CACHE, MODE SELECT and CLOSE TRACK/SESSION take as
// long as the drive needs: a flush of a full buffer at 1X or closing a session
// (lead-in and lead-out written at 1X) takes a few minutes. A drive silent for
// a quarter of an hour has stopped, and the command ends as terminated instead
// of freezing the program for good.
inline constexpr uint32_t kUnboundedWaitMs = 15 * 60 * 1000;
// BLANK of a whole 80-minute CD-RW at 1X takes about 80 minutes.
inline constexpr uint32_t kSlicedWaitMs = 3 * 60 * 60 * 1000;
inline constexpr size_t kCdbLength = 10;
inline constexpr size_t kSenseLength = 14;  // ASPI SENSE_LEN

// SCSI status bytes (SAM-2 5.3.1) that callers test for.
inline constexpr uint8_t kStatusGood = 0x00;
inline constexpr uint8_t kStatusCheckCondition = 0x02;

// Peripheral device types (SPC-2 7.3.2).
inline constexpr int kDeviceTypeWorm = 4;
inline constexpr int kDeviceTypeCdrom = 5;

struct DeviceAddress {
  uint8_t adapterId = 0;
  uint8_t targetId = 0;
  uint8_t lun = 0;
};

class ScsiTransport {
 public:
  virtual ~ScsiTransport() = default;

  // Number of host adapters.
  virtual int AdapterCount() = 0;
  // Maximum number of targets on the adapter, or -1 when its inquiry fails.
  virtual int MaxTargets(int adapter) = 0;
  // Peripheral device type at the address, or -1 when no device is there.
  virtual int DeviceType(const DeviceAddress& device) = 0;

  // Executes one command descriptor block (10 bytes; six-byte commands are
  // zero-filled) and returns the SCSI status byte. A command the transport
  // refuses, or one that did not complete within a bounded wait, returns a
  // non-zero status: never "good" with an undefined reply. `betweenSlices`
  // is called between the waits of the sliced policy (may be empty).
  virtual uint8_t Execute(const DeviceAddress& device, const uint8_t* cdb,
                          DataDirection direction, uint8_t* buffer,
                          uint32_t length, WaitPolicy wait,
                          const std::function<void()>& betweenSlices) = 0;
};

}  // namespace tarvo
