#include "app/win32/help_window.h"

#include "app/win32/message_map.h"

namespace tarvo {
namespace {


const MessageMap kHelpCommandMap{0, nullptr, kDefaultWindowProc};

int32_t OnHelpCommand(HWND window, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kHelpCommandMap, window, wParam, lParam));
}

const MessageEntry kHelpMessages[] = {{WM_COMMAND, OnHelpCommand}};
const MessageMap kHelpMap = MakeMessageMap(kHelpMessages, kDefaultWindowProc);

}  // namespace

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kHelpMap, window, message, wParam, lParam);
}

void ShowHelpTopic(int) {}

}  // namespace tarvo
