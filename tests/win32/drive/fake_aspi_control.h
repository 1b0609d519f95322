// The scripted ASPI manager used by the transport tests: what it answers and
// what it recorded. The test program reaches these through the exports of the
// WNASPI32.DLL it loaded.
#pragma once

#include <cstdint>

namespace fake_aspi {

enum class ExecMode : int32_t {
  CompleteAtOnce,   // SendASPI32Command returns SS_COMP (or SS_ERR with a target status)
  CompleteLater,    // SS_PENDING, completed from another thread after delayMs
  NeverComplete,    // SS_PENDING until SC_ABORT_SRB aborts it
  AbortFails,       // SS_PENDING; the abort fails and the request completes after delayMs
  Refuse,           // returns refuseCode at once
  AdapterError,     // returns SS_ERR with target status 0 and a host adapter status
};

struct Device {
  uint8_t adapter, target, lun, type;
};

struct Script {
  int32_t adapterCount = 0;
  int32_t maxTargets[8] = {};  // -1: the adapter inquiry fails
  int32_t deviceCount = 0;
  Device devices[16] = {};
  ExecMode mode = ExecMode::CompleteAtOnce;
  uint8_t targetStatus = 0;
  uint8_t refuseCode = 0;
  uint8_t replyByte = 0;  // written to byte 0 of a data-in buffer on completion
  uint32_t delayMs = 0;
};

struct ExecRecord {
  uint8_t haId, target, lun, flags, senseLen, cdbLen;
  uint32_t bufLen;
  bool hasBuffer, hasEvent;
  uint8_t cdb[16];
};

struct Log {
  int32_t execCount;
  ExecRecord exec[64];
  int32_t probeCount;
  Device probes[256];
  int32_t aborts;
  int32_t completedLate;  // requests completed from the helper thread
};

using SetScriptFn = void (*)(const Script*);
using GetLogFn = const Log* (*)();

}  // namespace fake_aspi
