// Dispatch through message maps against real windows under Wine.
#include "app/win32/message_map.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvo {
namespace {

constexpr UINT kAnswered = WM_USER + 5;

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_dialogProcSaw;

// The dialog procedure behind DefDlgProcA: records commands and answers one
// private message with 42, so each default kind gives a different result.
INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_dialogProcSaw.push_back({message, wParam, lParam});
  if (message == kAnswered) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 42);
    return TRUE;
  }
  return FALSE;
}

class Dialog {
 public:
  Dialog() {
    // An empty DLGTEMPLATE captioned "Tarvo": style, exstyle, 0 items,
    // position and size, no menu, default class, the caption.
    alignas(4) static WORD tmpl[32] = {};
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(tmpl);
    dt->style = WS_POPUP | WS_CAPTION;
    dt->cx = 100;
    dt->cy = 50;
    WORD* p = reinterpret_cast<WORD*>(dt + 1);
    *p++ = 0;
    *p++ = 0;
    for (const char* c = "Tarvo"; *c; ++c) *p++ = WORD(*c);
    *p++ = 0;
    handle_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dt, nullptr, RecordingDialogProc, 0);
  }
  ~Dialog() { DestroyWindow(handle_); }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  HWND get() const { return handle_; }

 private:
  HWND handle_;
};

int32_t ReturnsOne(HWND, UINT, WPARAM, LPARAM) { return 1; }
int32_t ReturnsTwo(HWND, UINT, WPARAM, LPARAM) { return 2; }

uint16_t g_id, g_notification;
int32_t RecordCommand(HWND, uint16_t id, uint16_t notification, LPARAM) {
  g_id = id;
  g_notification = notification;
  return 7;
}

TEST(MessageMap, UnmatchedMessagesFollowTheDefaultKind) {
  Dialog dialog;
  ASSERT_NE(dialog.get(), nullptr);
  const MessageEntry none[] = {{WM_NULL + 0x7FFF, ReturnsOne}};
  struct Case {
    uint32_t kind;
    UINT message;
    LRESULT expected;
  };
  const Case cases[] = {
      {kDefaultReturnZero, WM_GETTEXTLENGTH, 0}, {kDefaultWindowProc, WM_GETTEXTLENGTH, 5},
      {kDefaultDialogProc, WM_GETTEXTLENGTH, 5}, {kDefaultReturnZero, kAnswered, 0},
      {kDefaultWindowProc, kAnswered, 0},        {kDefaultDialogProc, kAnswered, 42},
      {9, WM_GETTEXTLENGTH, 0},
  };
  for (const Case& c : cases) {
    MessageMap map = MakeMessageMap(none, c.kind);
    EXPECT_EQ(DispatchMessageMap(map, dialog.get(), c.message, 0, 0), c.expected)
        << "kind " << c.kind << " message " << c.message;
  }
}

TEST(MessageMap, FirstMatchingEntryWinsAndEmptyMapsSearchNothing) {
  Dialog dialog;
  const MessageEntry twice[] = {{WM_USER, ReturnsOne}, {WM_USER, ReturnsTwo}};
  EXPECT_EQ(DispatchMessageMap(MakeMessageMap(twice, kDefaultReturnZero), dialog.get(), WM_USER, 0, 0), 1);
  MessageMap negative{-1, twice, kDefaultReturnZero};
  EXPECT_EQ(DispatchMessageMap(negative, dialog.get(), WM_USER, 0, 0), 0);
}

TEST(MessageMap, CommandHandlerGetsIdAndNotificationSeparately) {
  Dialog dialog;
  const CommandEntry commands[] = {{101, RecordCommand}};
  EXPECT_EQ(DispatchCommandMap(MakeCommandMap(commands, kDefaultReturnZero), dialog.get(), MAKEWPARAM(101, CBN_SELENDOK), 0),
            7);
  EXPECT_EQ(g_id, 101);
  EXPECT_EQ(g_notification, CBN_SELENDOK);
}

TEST(MessageMap, UnmatchedCommandReachesTheDefaultProcedureUnchanged) {
  Dialog dialog;
  const CommandEntry commands[] = {{101, RecordCommand}};
  g_dialogProcSaw.clear();
  DispatchCommandMap(MakeCommandMap(commands, kDefaultDialogProc), dialog.get(), MAKEWPARAM(777, 5), 0x1234);
  ASSERT_EQ(g_dialogProcSaw.size(), 1u);
  EXPECT_EQ(g_dialogProcSaw[0].message, UINT(WM_COMMAND));
  EXPECT_EQ(g_dialogProcSaw[0].wParam, WPARAM(MAKEWPARAM(777, 5)));
  EXPECT_EQ(g_dialogProcSaw[0].lParam, LPARAM(0x1234));
}

}  // namespace
}  // namespace tarvo
