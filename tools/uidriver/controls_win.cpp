// Texts, buttons, check boxes and combo boxes.
#include <vector>

#include "remote_memory_win.h"
#include "uidriver_win.h"

namespace tarvo::uidriver {

int GetText(HWND window, std::wstring* text) {
    text->clear();
    LRESULT length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length)) return 0;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 2, L'\0');
    LRESULT copied = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
        return 0;
    text->assign(buffer.data(), static_cast<size_t>(copied) < buffer.size() ? static_cast<size_t>(copied) : 0);
    return 1;
}

int SetText(HWND window, const std::wstring& text) {
    LRESULT ok = 0;
    return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok) && ok ? 1 : 0;
}

int Sync(HWND window, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &answer) ? 1 : 0;
}

int Click(HWND control, std::string* error) {
    if (!IsWindowVisible(control)) {
        *error = "control is hidden";
        return 0;
    }
    if (!IsWindowEnabled(control)) {
        *error = "control is disabled";
        return 0;
    }
    if (!PostMessageW(control, BM_CLICK, 0, 0)) {
        *error = "PostMessage failed, error " + std::to_string(GetLastError());
        return 0;
    }
    return 1;
}

int GetCheck(HWND control) {
    LRESULT state = 0;
    SendWithTimeout(control, BM_GETCHECK, 0, 0, &state);
    return static_cast<int>(state);
}

int ReadCombo(HWND combo, ComboState* state) {
    state->items.clear();
    LRESULT count = 0, selected = CB_ERR;
    if (!SendWithTimeout(combo, CB_GETCOUNT, 0, 0, &count) || count < 0) return 0;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        SendWithTimeout(combo, CB_GETLBTEXTLEN, i, 0, &length);
        std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendWithTimeout(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), nullptr);
        state->items.emplace_back(text.data());
    }
    SendWithTimeout(combo, CB_GETCURSEL, 0, 0, &selected);
    state->selected = static_cast<int>(selected);
    return 1;
}

int SelectComboItem(HWND combo, int index, std::string* error) {
    LRESULT count = 0, result = 0;
    SendWithTimeout(combo, CB_GETCOUNT, 0, 0, &count);
    if (index < 0 || index >= count) {
        *error = "no item " + std::to_string(index) + " (the list holds " + std::to_string(count) + ")";
        return 0;
    }
    if (!SendWithTimeout(combo, CB_SETCURSEL, index, 0, &result) || result != index) {
        *error = "CB_SETCURSEL failed";
        return 0;
    }
    HWND parent = GetParent(combo);
    const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(combo)) & 0xFFFF;
    const LPARAM from = reinterpret_cast<LPARAM>(combo);
    if (!SendWithTimeout(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), from, nullptr) ||
        !SendWithTimeout(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), from, nullptr)) {
        *error = "the dialog did not answer the selection notification in time";
        return 0;
    }
    return 1;
}

}  // namespace tarvo::uidriver
