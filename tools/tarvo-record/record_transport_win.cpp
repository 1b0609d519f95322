#include "drive/aspi_transport_win.h"
#include "tools/tarvo-record/record_transport.h"

namespace tarvo {

// The manager beside the program finds its own configuration (VREC_CONFIG).
std::unique_ptr<ScsiTransport> OpenRecorderTransport(const std::string&, std::string* error) {
  std::unique_ptr<ScsiTransport> transport = AspiTransport::Load();
  if (!transport) *error = "WNASPI32.DLL could not be loaded";
  return transport;
}

}  // namespace tarvo
