// WNASPI32.DLL: the virtual recorder as an ASPI for Win32 manager. The
// configuration is read on first use from the file named by the environment
// variable VREC_CONFIG, else from vrec.cfg beside this DLL; without either,
// one recorder with a blank CD-R in vrec-disc.img beside the DLL.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <mutex>

#include "vrec/aspi_manager.h"
#include "vrec/config.h"

namespace {

using tarvo::vrec::AspiManager;
namespace aspi = tarvo::vrec::aspi;

HMODULE g_module = nullptr;
std::once_flag g_once;
// Deliberately never destroyed: at process exit the loader lock is held and
// the worker threads are already gone, so a destructor could only deadlock.
AspiManager* g_manager = nullptr;
bool g_failed = false;

std::filesystem::path ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(g_module, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

void Notify(uint8_t flags, void* postProc, aspi::SRB_ExecSCSICmd* srb) {
  if ((flags & aspi::SRB_EVENT_NOTIFY) != 0 && postProc != nullptr) {
    SetEvent(static_cast<HANDLE>(postProc));
  } else if ((flags & aspi::SRB_POSTING) != 0 && postProc != nullptr) {
    reinterpret_cast<void(__cdecl*)(aspi::SRB_ExecSCSICmd*)>(postProc)(srb);
  }
}

void Initialise() {
  tarvo::vrec::BusConfig config;
  std::string error;
  std::filesystem::path folder = ModuleFolder();
  wchar_t named[MAX_PATH] = {};
  std::filesystem::path file = folder / "vrec.cfg";
  if (GetEnvironmentVariableW(L"VREC_CONFIG", named, MAX_PATH) > 0) file = named;
  bool ok;
  if (std::filesystem::exists(file)) {
    ok = tarvo::vrec::LoadBusConfig(file, &config, &error);
  } else {
    ok = tarvo::vrec::ParseBusConfig(tarvo::vrec::kDefaultConfigText, folder, &config, &error);
  }
  if (!ok) {
    std::fprintf(stderr, "WNASPI32 (vrec): %s\n", error.c_str());
    g_failed = true;
    return;
  }
  g_manager = new AspiManager(std::make_unique<tarvo::vrec::InProcessBus>(config), Notify);
}

AspiManager* Manager() {
  std::call_once(g_once, Initialise);
  return g_manager;
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD __cdecl GetASPI32SupportInfo() {
  AspiManager* manager = Manager();
  if (manager == nullptr) return static_cast<DWORD>(aspi::SS_FAILED_INIT) << 8;
  return manager->SupportInfo();
}

__declspec(dllexport) DWORD __cdecl SendASPI32Command(void* srb) {
  AspiManager* manager = Manager();
  if (manager == nullptr) {
    if (srb != nullptr) static_cast<aspi::SRB_Header*>(srb)->SRB_Status = aspi::SS_FAILED_INIT;
    return aspi::SS_FAILED_INIT;
  }
  return manager->Send(srb);
}

// ASPI 4.60, the version the published interface describes.
__declspec(dllexport) DWORD __cdecl GetASPI32DLLVersion() { return 0x00003C04; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

}  // extern "C"
