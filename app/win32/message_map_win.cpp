#include "app/win32/message_map.h"

namespace tarvo {
namespace {

LRESULT ApplyDefault(uint32_t kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (kind) {
    case kDefaultWindowProc:
      return DefWindowProcA(window, message, wParam, lParam);
    case kDefaultDialogProc:
      return DefDlgProcA(window, message, wParam, lParam);
    default:
      return 0;
  }
}

}  // namespace

LRESULT DispatchMessageMap(const MessageMap& map, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* entries = static_cast<const MessageEntry*>(map.entries);
  for (int32_t i = 0; i < map.count; ++i) {
    if (entries[i].message == message) return entries[i].handler(window, message, wParam, lParam);
  }
  return ApplyDefault(map.defaultKind, window, message, wParam, lParam);
}

LRESULT DispatchCommandMap(const MessageMap& map, HWND window, WPARAM wParam, LPARAM lParam) {
  const auto* entries = static_cast<const CommandEntry*>(map.entries);
  const uint16_t id = LOWORD(wParam);
  for (int32_t i = 0; i < map.count; ++i) {
    if (entries[i].commandId == id) return entries[i].handler(window, id, HIWORD(wParam), lParam);
  }
  return ApplyDefault(map.defaultKind, window, WM_COMMAND, wParam, lParam);
}

}  // namespace tarvo
