// The ASPI for Win32 request blocks (SRBs) and codes, in the published
// layout: packed to one byte, with pointer-sized pointer fields, so the i686
// build has the 60/12/80-byte blocks of the 32-bit managers and the x86-64
// build the same declarations with 8-byte pointers, as Wine's 64-bit manager
// has them. Portable: the virtual recorder's manager and its tests use it,
// and the drive layer may include it too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvo::vrec::aspi {

// SRB_Cmd.
inline constexpr uint8_t SC_HA_INQUIRY = 0x00;
inline constexpr uint8_t SC_GET_DEV_TYPE = 0x01;
inline constexpr uint8_t SC_EXEC_SCSI_CMD = 0x02;
inline constexpr uint8_t SC_ABORT_SRB = 0x03;
inline constexpr uint8_t SC_RESET_DEV = 0x04;

// SRB_Status and the status byte of GetASPI32SupportInfo.
inline constexpr uint8_t SS_PENDING = 0x00;
inline constexpr uint8_t SS_COMP = 0x01;
inline constexpr uint8_t SS_ABORTED = 0x02;
inline constexpr uint8_t SS_ABORT_FAIL = 0x03;
inline constexpr uint8_t SS_ERR = 0x04;
inline constexpr uint8_t SS_INVALID_CMD = 0x80;
inline constexpr uint8_t SS_INVALID_HA = 0x81;
inline constexpr uint8_t SS_NO_DEVICE = 0x82;
inline constexpr uint8_t SS_INVALID_SRB = 0xE0;
inline constexpr uint8_t SS_FAILED_INIT = 0xE4;
inline constexpr uint8_t SS_NO_ADAPTERS = 0xE8;

// SRB_Flags.
inline constexpr uint8_t SRB_POSTING = 0x01;
inline constexpr uint8_t SRB_DIR_IN = 0x08;
inline constexpr uint8_t SRB_DIR_OUT = 0x10;
inline constexpr uint8_t SRB_EVENT_NOTIFY = 0x40;

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
  uint8_t HA_Unique[16];  // 0-1 alignment mask, 3 maximum targets, 4-7 maximum transfer
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
  void* SRB_PostProc;  // an event HANDLE with SRB_EVENT_NOTIFY, a callback with SRB_POSTING
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

static_assert(sizeof(SRB_Header) == 8);
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(sizeof(SRB_GDEVBlock) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 40 + 2 * sizeof(void*));
static_assert(sizeof(SRB_ExecSCSICmd) == 72 + 2 * sizeof(void*));
static_assert(sizeof(void*) != 4 || sizeof(SRB_ExecSCSICmd) == 80);
static_assert(sizeof(SRB_Abort) == 8 + sizeof(void*));

}  // namespace tarvo::vrec::aspi
