// The UI driver library: finds the windows and controls of a Win32 program
// in another process and works them the way a user would, through messages.
// Used by tarvo-uidriver.exe and linkable by any Win32 test program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvo::uidriver {

// Owns a kernel handle; not copyable.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : handle_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release();
    void Reset(HANDLE h = nullptr);

private:
    HANDLE handle_ = nullptr;
};

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);  // to UTF-8
std::string HexHandle(const void* handle);     // "0x1a2b"
HWND ParseHwnd(const std::string& text);       // "0x1a2b" or decimal; nullptr if malformed

// The program under test: started by the driver or attached to.
class Target {
public:
    // CreateProcess of `exe` with `arguments` in `workingDir` (empty: the
    // driver's own). Returns 1, or 0 with `error`.
    int Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workingDir,
              std::string* error);
    // Takes the process that owns `window`. Returns 1, or 0 with `error`.
    int Attach(HWND window, std::string* error);
    void Detach();
    bool Attached() const { return pid_ != 0; }
    DWORD Pid() const { return pid_; }
    // Exit code once the process ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Waits for the process to end; returns 1 if it did within `timeoutMs`.
    int WaitExit(DWORD timeoutMs) const;
    void Terminate(UINT exitCode);

private:
    UniqueHandle process_;
    DWORD pid_ = 0;
};

// Selects one top-level window of the target (or of any process when none is
// attached). Empty fields match anything; hwnd, when set, wins.
struct WindowQuery {
    std::wstring title;      // exact caption
    std::wstring className;  // exact class name
    HWND hwnd = nullptr;
    // Without title, class or hwnd: the first enabled visible window in Z
    // order, which is the modal dialog or message box in front, if any.
};

struct WindowInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring className;
    int id = 0;
    bool visible = false;
    bool enabled = false;
    HWND owner = nullptr;
    LONG style = 0;
    RECT rect{};  // screen coordinates
};

WindowInfo Describe(HWND window);
// Visible top-level windows of the target in Z order, the top one first.
std::vector<HWND> TopWindows(const Target& target);
HWND FindTopWindow(const Target& target, const WindowQuery& query);
// Polls every 50 ms; nullptr after `timeoutMs`.
HWND WaitTopWindow(const Target& target, const WindowQuery& query, DWORD timeoutMs);
// A child (at any depth) whose control id is `id`; nullptr if none.
HWND FindControl(HWND window, int id);
std::vector<HWND> ChildControls(HWND window);

// Texts through WM_GETTEXT/WM_SETTEXT, which the system marshals between
// processes. A window that does not answer within the timeout fails.
constexpr UINT kSendTimeoutMs = 5000;
int GetText(HWND window, std::wstring* text);
int SetText(HWND window, const std::wstring& text);
// Sends WM_NULL: 1 once the window's thread is pumping messages again.
int Sync(HWND window, UINT timeoutMs = kSendTimeoutMs);

// Posts BM_CLICK, so a click that opens a modal box does not block the
// driver. Refuses (0, `error`) a hidden or disabled control, as a user could
// not click it either.
int Click(HWND control, std::string* error);
// BM_GETCHECK: 0 unchecked, 1 checked, 2 indeterminate.
int GetCheck(HWND control);

struct ComboState {
    std::vector<std::wstring> items;
    int selected = -1;
};
int ReadCombo(HWND combo, ComboState* state);
// CB_SETCURSEL, then WM_COMMAND with CBN_SELENDOK and CBN_SELCHANGE to the
// parent, as a choice made with the mouse notifies it.
int SelectComboItem(HWND combo, int index, std::string* error);

struct TabState {
    std::vector<std::wstring> items;
    int selected = -1;
};
int ReadTabs(HWND tab, TabState* state, std::string* error);
// Clicks the tab item with posted mouse messages, so the tab control itself
// sends TCN_SELCHANGING and TCN_SELCHANGE to its parent in its own process.
int SelectTab(HWND tab, int index, std::string* error);

// The standard message box (#32770 with the static text 0xFFFF).
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    std::string icon;  // "stop", "question", "warning", "info", "none" or "unknown"
    std::vector<std::pair<int, std::wstring>> buttons;  // id, text
};
bool IsMessageBox(HWND window);
HWND FindMessageBox(const Target& target);
int ReadMessageBox(HWND box, MessageBoxInfo* info);
// Presses the button with this id (IDOK, IDYES, ...) or, when id is 0, the
// one whose text (without '&') equals `text`, case-insensitively.
int AnswerMessageBox(HWND box, int id, const std::wstring& text, std::string* error);

struct TreeItem {
    std::uint64_t handle = 0;
    int depth = 0;
    std::wstring text;
    bool expanded = false;
    bool selected = false;
    bool hasChildren = false;
};
// Every item of the tree in display order (children of collapsed items too).
int ReadTree(HWND tree, std::vector<TreeItem>* items, std::string* error);
int SelectTreeItem(HWND tree, std::uint64_t handle, std::string* error);
// TVM_EXPAND with TVE_EXPAND or TVE_COLLAPSE. The tree sends the expanding
// notifications itself.
int ExpandTreeItem(HWND tree, std::uint64_t handle, bool expand, std::string* error);

struct ListViewState {
    std::vector<std::wstring> columns;
    std::vector<std::vector<std::wstring>> rows;  // one text per column
    int selected = -1;
};
int ReadListView(HWND list, ListViewState* state, std::string* error);
int SelectListItem(HWND list, int index, std::string* error);

// Copies the window's rectangle from the screen into a 24-bit BMP file. The
// window must be on top (under Xvfb there is no window manager to hide it).
// A null window takes the whole screen; `clientOnly` leaves out the frame
// and caption (which Wine does not draw without a window manager).
int SaveScreenshot(HWND window, const std::wstring& path, bool clientOnly, std::string* error);

}  // namespace tarvo::uidriver

namespace tarvo::uidriver {

// Walks `path` (item texts from a root item down, compared exactly) and
// returns the last item's handle. With `expand`, each item on the way is
// expanded first as a user would, so the tree lists its children.
int FindTreeItem(HWND tree, const std::vector<std::wstring>& path, bool expand, std::uint64_t* handle,
                 std::string* error);

}  // namespace tarvo::uidriver
