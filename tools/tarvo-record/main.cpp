// tarvo-record: records the compilation of a list file as one session onto
// the first recorder of the transport, through the same RecordCompilation the
// start button calls, one WRITE(10) per sector, and prints the sectors
// written and the wall-clock seconds. Used by scripts/bench-record.sh and the
// Wine test of recording through WNASPI32.DLL.
// usage: tarvo-record LIST PROGRAM_DIR [VREC_CONFIG] [--single]
#include <chrono>
#include <cstdio>

#include "drive/disc_query.h"
#include "drive/discovery.h"
#include "drive/drive_ui.h"
#include "iso/recording_entry.h"
#include "tools/tarvo-record/record_transport.h"

namespace tarvo {
namespace {

// Every question answered Yes; messages go to the error stream.
class ConsoleUser : public UserInterface {
 public:
  int ShowMessage(const std::string& text, const std::string&, unsigned style) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
  }
  uint32_t GetTrackNumber() override { return 0; }
  void SetTrackNumber(uint32_t) override {}
  void NotifyDiscArrived() override {}
  void ResetViewSector(int) override {}
  void SetBusy(bool) override {}
};

class CountingMeter : public ProgressMeter {
 public:
  void Begin(uint32_t steps) override { begun = steps; }
  void Step(uint32_t count) override { stepped += count; }
  void End() override {}
  uint32_t begun = 0;
  uint64_t stepped = 0;
};

int Main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tarvo-record LIST PROGRAM_DIR [VREC_CONFIG] [--single]\n");
    return 2;
  }
  std::string error;
  std::unique_ptr<ScsiTransport> transport = OpenRecorderTransport(argc > 3 ? argv[3] : "", &error);
  if (!transport) {
    std::fprintf(stderr, "no transport: %s\n", error.c_str());
    return 1;
  }
  ConsoleUser user;
  DriveAccess access(user);
  access.transport = transport.get();
  DiscoverDrives(access);
  if (access.driveCount == 0) {
    std::fprintf(stderr, "no recorder found\n");
    return 1;
  }
  FindLastTrackPvd(access, 0);
  CountingMeter meter;
  RecordingServices services(access, meter);
  services.programDir = argv[2];
  services.listPath = argv[1];
  RecordingCall call;
  call.label = "BENCH";
  call.writeSpeedKBps = access.drives[0].maxWriteSpeedKBps;
  call.multiSession = argc > 4 && std::string(argv[4]) == "--single" ? 0 : 1;

  const auto start = std::chrono::steady_clock::now();
  const int result = RecordCompilation(call, services);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("result=%d sectors=%lu steps=%llu seconds=%.3f\n", result, static_cast<unsigned long>(meter.begun),
              static_cast<unsigned long long>(meter.stepped), seconds);
  return result == 1 ? 0 : 1;
}

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) { return tarvo::Main(argc, argv); }
