// ASPI for Win32 request blocks and codes, as the published ASPI interface
// declares them. Packed to one byte with pointer-sized pointer fields, so the
// i686 build matches the 32-bit managers and the x86-64 build matches a 64-bit
// manager built from the same declarations (Wine's own wnaspi32.dll included).
// Portable on purpose: the virtual recorder's manager shares these blocks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo::aspi {

// SRB_Cmd: ASPI command codes.
inline constexpr uint8_t SC_HA_INQUIRY = 0x00;
inline constexpr uint8_t SC_GET_DEV_TYPE = 0x01;
inline constexpr uint8_t SC_EXEC_SCSI_CMD = 0x02;
inline constexpr uint8_t SC_ABORT_SRB = 0x03;
inline constexpr uint8_t SC_RESET_DEV = 0x04;

// SRB_Status: request status codes.
inline constexpr uint8_t SS_PENDING = 0x00;
inline constexpr uint8_t SS_COMP = 0x01;
inline constexpr uint8_t SS_ABORTED = 0x02;
inline constexpr uint8_t SS_ABORT_FAIL = 0x03;
inline constexpr uint8_t SS_ERR = 0x04;
inline constexpr uint8_t SS_INVALID_CMD = 0x80;
inline constexpr uint8_t SS_INVALID_HA = 0x81;
inline constexpr uint8_t SS_NO_DEVICE = 0x82;
inline constexpr uint8_t SS_INVALID_SRB = 0xE0;
inline constexpr uint8_t SS_OLD_MANAGER = 0xE1;
inline constexpr uint8_t SS_ILLEGAL_MODE = 0xE2;
inline constexpr uint8_t SS_NO_ASPI = 0xE3;
inline constexpr uint8_t SS_FAILED_INIT = 0xE4;
inline constexpr uint8_t SS_ASPI_IS_BUSY = 0xE5;
inline constexpr uint8_t SS_BUFFER_TO_BIG = 0xE6;
inline constexpr uint8_t SS_MISMATCHED_COMPONENTS = 0xE7;
inline constexpr uint8_t SS_NO_ADAPTERS = 0xE8;
inline constexpr uint8_t SS_INSUFFICIENT_RESOURCES = 0xE9;
inline constexpr uint8_t SS_ASPI_IS_SHUTDOWN = 0xEA;
inline constexpr uint8_t SS_BAD_INSTALL = 0xEB;

// SRB_Flags.
inline constexpr uint8_t SRB_POSTING = 0x01;
inline constexpr uint8_t SRB_ENABLE_RESIDUAL_COUNT = 0x04;
inline constexpr uint8_t SRB_DIR_IN = 0x08;
inline constexpr uint8_t SRB_DIR_OUT = 0x10;
inline constexpr uint8_t SRB_EVENT_NOTIFY = 0x40;

inline constexpr uint8_t DTYPE_WORM = 0x04;
inline constexpr uint8_t DTYPE_CDROM = 0x05;
inline constexpr size_t SENSE_LEN = 14;

#pragma pack(push, 1)

struct SRB_Header {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
};

struct SRB_HAInquiry {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t HA_Count;
  uint8_t HA_SCSI_ID;
  uint8_t HA_ManagerId[16];
  uint8_t HA_Identifier[16];
  uint8_t HA_Unique[16];  // byte 3: maximum number of targets
  uint16_t HA_Rsvd1;
};

struct SRB_GDEVBlock {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;
  uint8_t SRB_Lun;
  uint8_t SRB_DeviceType;
  uint8_t SRB_Rsvd1;
};

struct SRB_ExecSCSICmd {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;
  uint8_t SRB_Lun;
  uint16_t SRB_Rsvd1;
  uint32_t SRB_BufLen;
  uint8_t* SRB_BufPointer;
  uint8_t SRB_SenseLen;
  uint8_t SRB_CDBLen;
  uint8_t SRB_HaStat;
  uint8_t SRB_TargStat;
  void* SRB_PostProc;  // the event handle with SRB_EVENT_NOTIFY
  uint8_t SRB_Rsvd2[20];
  uint8_t CDBByte[16];
  uint8_t SenseArea[SENSE_LEN + 2];
};

struct SRB_Abort {
  uint8_t SRB_Cmd;
  uint8_t SRB_Status;
  uint8_t SRB_HaId;
  uint8_t SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  void* SRB_ToAbort;
};

#pragma pack(pop)

// Layout checks: the i686 sizes are the published ones; in a 64-bit build the
// two pointers of SRB_ExecSCSICmd grow by four bytes each.
inline constexpr size_t kPointerGrowth = sizeof(void*) - 4;
static_assert(sizeof(SRB_Header) == 8);
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(offsetof(SRB_HAInquiry, HA_Unique) == 42);
static_assert(sizeof(SRB_GDEVBlock) == 12);
static_assert(offsetof(SRB_GDEVBlock, SRB_DeviceType) == 10);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_TargStat) == 23 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24 + kPointerGrowth);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48 + 2 * kPointerGrowth);
static_assert(sizeof(SRB_ExecSCSICmd) == 80 + 2 * kPointerGrowth);
static_assert(sizeof(SRB_Abort) == 12 + kPointerGrowth);
static_assert(sizeof(void*) != 4 || sizeof(SRB_ExecSCSICmd) == 80);

}  // namespace tarvo::aspi
