// The transport tarvo-record drives: the in-process virtual
// recorder natively, the ASPI manager WNASPI32.DLL under Windows or Wine.
#pragma once

#include <memory>
#include <string>

#include "drive/scsi_transport.h"

namespace tarvo {

std::unique_ptr<ScsiTransport> OpenRecorderTransport(const std::string& configPath, std::string* error);

}  // namespace tarvo
