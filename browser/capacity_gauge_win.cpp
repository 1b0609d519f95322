// The gauge's figures in the browser's status bar.
#include "browser/browser_state_win.h"
#include "browser/capacity_gauge.h"

namespace tarvo {

void RefreshStatusBar() {
  HWND bar = Browser().statusBar;
  if (bar == nullptr) return;
  RECT client = {};
  GetClientRect(Browser().window, &client);
  const std::array<int, 6> edges = StatusBarEdges(client.right);
  SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  const std::array<std::string, 6> texts = StatusBarTexts(Gauge());
  for (int part = 0; part < 6; ++part) {
    const WPARAM style = part % 2 == 0 ? SBT_POPOUT : 0;
    SendMessageA(bar, SB_SETTEXTA, WPARAM(part) | style, reinterpret_cast<LPARAM>(texts[part].c_str()));
  }
}

}  // namespace tarvo
