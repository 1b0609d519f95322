// Table-driven dispatch: every window and dialog owns a static MessageMap of
// (message, handler) pairs and, for WM_COMMAND, a map of (command id,
// handler) pairs. Window procedures are one-line forwarders to these.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarvo {

using MessageHandler = int32_t (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using CommandHandler = int32_t (*)(HWND window, uint16_t commandId, uint16_t notification, LPARAM lParam);

struct MessageEntry {
  uint32_t message;
  MessageHandler handler;
};

struct CommandEntry {
  uint16_t commandId;
  CommandHandler handler;
};

// What happens to a message no entry takes.
enum DefaultKind : uint32_t {
  kDefaultReturnZero = 0,
  kDefaultWindowProc = 1,  // DefWindowProcA
  kDefaultDialogProc = 2,  // DefDlgProcA
};

struct MessageMap {
  int32_t count;
  const void* entries;  // MessageEntry[] or, in a command map, CommandEntry[]
  uint32_t defaultKind;
};

template <size_t N>
constexpr MessageMap MakeMessageMap(const MessageEntry (&entries)[N], uint32_t kind) {
  return MessageMap{int32_t(N), entries, kind};
}
template <size_t N>
constexpr MessageMap MakeCommandMap(const CommandEntry (&entries)[N], uint32_t kind) {
  return MessageMap{int32_t(N), entries, kind};
}

LRESULT DispatchMessageMap(const MessageMap& map, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DispatchCommandMap(const MessageMap& map, HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace tarvo
