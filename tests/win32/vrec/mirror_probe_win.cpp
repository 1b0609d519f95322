// Looks at drive D: (a Wine CD-ROM letter mapped to the recorder's mirror
// folder) the way a program does. Arguments:
//   record IMAGE NAME SIZE ...  records IMAGE as a session through
//                               WNASPI32.DLL, then finds the files on D:
//   check COUNT NAME SIZE ...   checks the files and that D:\* lists COUNT
//                               entries, then ejects and finds D: empty
// Names are relative to D: with backslashes. Prints one line per failed
// check; exit code 0 when all passed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "vrec/aspi_defs.h"

namespace {

using namespace tarvo::vrec::aspi;
using SendFn = DWORD(__cdecl*)(void*);

SendFn g_send = nullptr;
int g_failures = 0;

void Check(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAIL: %s\n", what.c_str());
    ++g_failures;
  }
}

uint8_t Exec(std::vector<uint8_t> cdb, uint8_t direction, uint8_t* buffer, DWORD length) {
  SRB_ExecSCSICmd srb{};
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
  srb.SRB_Target = 1;
  srb.SRB_Flags = static_cast<uint8_t>(SRB_EVENT_NOTIFY | direction);
  srb.SRB_BufLen = length;
  srb.SRB_BufPointer = buffer;
  srb.SRB_SenseLen = SENSE_LEN;
  srb.SRB_CDBLen = 10;
  srb.SRB_PostProc = event;
  std::memcpy(srb.CDBByte, cdb.data(), cdb.size());
  if (g_send(&srb) == SS_PENDING) WaitForSingleObject(event, 100000);
  CloseHandle(event);
  return srb.SRB_Status == SS_COMP ? srb.SRB_TargStat : 0xFF;
}

bool Record(const char* imagePath) {
  uint8_t mode[256] = {};
  if (Exec({0x5A, 0, 0x05, 0, 0, 0, 0, 0x01, 0x00}, SRB_DIR_IN, mode, sizeof mode) != 0) return false;
  uint8_t total = static_cast<uint8_t>(mode[1] + 2);
  mode[8 + 2] = 0x01;
  mode[8 + 3] = 0xC6;
  mode[8 + 4] = 0x08;
  if (Exec({0x55, 0x10, 0, 0, 0, 0, 0, 0, total}, SRB_DIR_OUT, mode, total) != 0) return false;
  uint8_t track[100] = {};
  if (Exec({0x52, 1, 0, 0, 0, 1, 0, 0, 100}, SRB_DIR_IN, track, 100) != 0) return false;
  DWORD next = static_cast<DWORD>(track[12] << 24 | track[13] << 16 | track[14] << 8 | track[15]);
  std::ifstream image(imagePath, std::ios::binary);
  std::vector<uint8_t> sector(2048);
  for (DWORD lba = next; image.read(reinterpret_cast<char*>(sector.data()), 2048) || image.gcount() > 0; ++lba) {
    if (Exec({0x2A, 0, uint8_t(lba >> 24), uint8_t(lba >> 16), uint8_t(lba >> 8), uint8_t(lba), 0, 0, 1},
             SRB_DIR_OUT, sector.data(), 2048) != 0) {
      return false;
    }
    std::fill(sector.begin(), sector.end(), 0);
  }
  Exec({0x35}, SRB_DIR_OUT, nullptr, 0);
  return Exec({0x5B, 0, 0x02}, SRB_DIR_OUT, nullptr, 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  bool recording = std::strcmp(argv[1], "record") == 0;
  HMODULE aspi = LoadLibraryA("WNASPI32.DLL");
  g_send = aspi ? reinterpret_cast<SendFn>(reinterpret_cast<void*>(GetProcAddress(aspi, "SendASPI32Command")))
                : nullptr;
  Check(g_send != nullptr, "WNASPI32.DLL loaded");
  if (g_send == nullptr) return 1;
  Check(GetDriveTypeA("D:\\") == DRIVE_CDROM, "D: is a CD-ROM drive");
  if (recording) {
    Check(Record(argv[2]), "session recorded and closed");
  }

  for (int i = 3; i + 1 < argc; i += 2) {
    std::string path = std::string("D:\\") + argv[i];
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    Check(search != INVALID_HANDLE_VALUE, "FindFirstFileA " + path);
    if (search == INVALID_HANDLE_VALUE) continue;
    FindClose(search);
    Check(found.nFileSizeLow == std::strtoul(argv[i + 1], nullptr, 10),
          path + " size " + std::to_string(found.nFileSizeLow));
  }
  int listed = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("D:\\*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) ++listed;
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  Check(listed > 0, "D:\\* lists the session's files");
  // The drive shows the disc's files and nothing else (no label file of the
  // mirror): a program importing the disc through the letter lists D:\*.
  if (!recording) Check(listed == std::atoi(argv[2]), "D:\\* lists " + std::string(argv[2]) + " entries, not " + std::to_string(listed));
  if (recording) return g_failures == 0 ? 0 : 1;

  Check(Exec({0x1B, 0, 0, 0, 0x02}, 0, nullptr, 0) == 0, "eject");
  search = FindFirstFileA("D:\\*.txt", &found);
  Check(search == INVALID_HANDLE_VALUE, "no files once the disc is ejected");
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  std::printf("%s\n", g_failures == 0 ? "mirror drive: all checks passed" : "mirror drive: failures");
  return g_failures == 0 ? 0 : 1;
}
