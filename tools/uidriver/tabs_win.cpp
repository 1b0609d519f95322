// Tab controls. Reading an item needs a TCITEMW and its text buffer inside
// the control's process.
#include <windows.h>

#include <commctrl.h>

#include "remote_memory_win.h"
#include "uidriver_win.h"

namespace tarvo::uidriver {

namespace {

constexpr size_t kTextChars = 260;

int CurrentTab(HWND tab) {
    LRESULT current = -1;
    SendWithTimeout(tab, TCM_GETCURSEL, 0, 0, &current);
    return static_cast<int>(current);
}

}  // namespace

int ReadTabs(HWND tab, TabState* state, std::string* error) {
    state->items.clear();
    LRESULT count = 0;
    if (!SendWithTimeout(tab, TCM_GETITEMCOUNT, 0, 0, &count)) {
        *error = "the tab control does not answer";
        return 0;
    }
    RemoteBuffer remote(tab, sizeof(TCITEMW) + (kTextChars + 1) * sizeof(wchar_t));
    if (!remote.Ok()) {
        *error = remote.Error();
        return 0;
    }
    for (LRESULT i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = static_cast<wchar_t*>(remote.At(sizeof(TCITEMW)));
        item.cchTextMax = kTextChars;
        const wchar_t empty = 0;
        LRESULT ok = 0;
        if (!remote.Write(0, &item, sizeof item) || !remote.Write(sizeof(TCITEMW), &empty, sizeof empty) ||
            !SendWithTimeout(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote.At(0)), &ok) || !ok) {
            *error = "TCM_GETITEM failed for item " + std::to_string(i);
            return 0;
        }
        // The control may point pszText at its own copy instead of filling ours.
        TCITEMW back{};
        remote.Read(0, &back, sizeof back);
        if (back.pszText == item.pszText) {
            state->items.push_back(remote.ReadText(sizeof(TCITEMW), kTextChars));
        } else {
            state->items.emplace_back();
        }
    }
    state->selected = CurrentTab(tab);
    return 1;
}

int SelectTab(HWND tab, int index, std::string* error) {
    if (!IsWindowVisible(tab) || !IsWindowEnabled(tab)) {
        *error = "tab control is hidden or disabled";
        return 0;
    }
    LRESULT count = 0;
    SendWithTimeout(tab, TCM_GETITEMCOUNT, 0, 0, &count);
    if (index < 0 || index >= count) {
        *error = "no tab " + std::to_string(index) + " (the control holds " + std::to_string(count) + ")";
        return 0;
    }
    if (CurrentTab(tab) == index) return 1;
    // Cross-process WM_NOTIFY is not delivered (its NMHDR pointer cannot be
    // marshalled), so the driver clicks the item instead and lets the tab
    // control notify its parent the way it does for a user.
    RemoteBuffer remote(tab, sizeof(RECT));
    RECT rect{};
    LRESULT ok = 0;
    if (!remote.Ok() ||
        !SendWithTimeout(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.At(0)), &ok) || !ok ||
        !remote.Read(0, &rect, sizeof rect)) {
        *error = "TCM_GETITEMRECT failed" + (remote.Ok() ? std::string() : ": " + remote.Error());
        return 0;
    }
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tab, WM_LBUTTONUP, 0, at);
    const DWORD start = GetTickCount();
    while (CurrentTab(tab) != index) {
        if (GetTickCount() - start > kSendTimeoutMs) {
            *error = "the tab control did not take the click";
            return 0;
        }
        Sleep(20);
    }
    Sync(tab);
    return 1;
}

}  // namespace tarvo::uidriver
