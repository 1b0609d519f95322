#include "tools/tarvo-record/record_transport.h"

#include "vrec/inprocess_transport.h"

namespace tarvo {

std::unique_ptr<ScsiTransport> OpenRecorderTransport(const std::string& configPath, std::string* error) {
  if (configPath.empty()) {
    *error = "a vrec configuration file is needed";
    return nullptr;
  }
  return vrec::InProcessBus::FromFile(configPath, error);
}

}  // namespace tarvo
