// The command handlers of the line protocol. Each fills the reply or sets
// the error; the session adds "ok".
#include <cstring>
#include <vector>

#include "remote_memory_win.h"
#include "session_win.h"

namespace tarvo::uidriver {

namespace {

const char kPathSeparator = '|';

std::vector<std::wstring> SplitPath(const std::string& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = path.find(kPathSeparator, start);
        parts.push_back(Widen(path.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

std::string TextsJson(const std::vector<std::wstring>& texts) {
    std::vector<std::string> items;
    for (const auto& t : texts) items.push_back(JsonString(Narrow(t)));
    return JsonArray(items);
}

int Start(CommandContext& c) {
    if (!c.command.Has("exe")) {
        c.error = "missing --exe";
        return 0;
    }
    if (!c.target.Start(Widen(c.command.Get("exe")), Widen(c.command.Get("args")), Widen(c.command.Get("cwd")),
                        &c.error))
        return 0;
    c.reply.Add("pid", static_cast<long long>(c.target.Pid()));
    return 1;
}

int Attach(CommandContext& c) {
    c.target.Detach();
    WindowQuery query;
    query.title = Widen(c.command.Get("title"));
    query.className = Widen(c.command.Get("class"));
    query.hwnd = ParseHwnd(c.command.Get("hwnd"));
    if (query.title.empty() && query.className.empty() && query.hwnd == nullptr) {
        c.error = "attach needs --title, --class or --hwnd";
        return 0;
    }
    HWND window = WaitTopWindow(c.target, query, c.Timeout(0));
    if (window == nullptr) {
        c.error = "no such window";
        return 0;
    }
    if (!c.target.Attach(window, &c.error)) return 0;
    c.reply.Add("pid", static_cast<long long>(c.target.Pid())).Add("hwnd", HexHandle(window));
    return 1;
}

int Detach(CommandContext& c) {
    c.target.Detach();
    return 1;
}

int Windows(CommandContext& c) {
    std::vector<std::string> items;
    for (HWND window : TopWindows(c.target)) items.push_back(WindowJson(window));
    c.reply.AddRaw("windows", JsonArray(items));
    return 1;
}

int WaitWindow(CommandContext& c) {
    WindowQuery query;
    query.title = Widen(c.command.Get("title"));
    query.className = Widen(c.command.Get("class"));
    query.hwnd = ParseHwnd(c.command.Get("hwnd"));
    HWND window = WaitTopWindow(c.target, query, c.Timeout());
    if (window == nullptr) {
        c.error = "timed out waiting for the window";
        return 0;
    }
    c.reply.AddRaw("window", WindowJson(window));
    return 1;
}

int WaitGone(CommandContext& c) {
    const DWORD timeout = c.Timeout(), start = GetTickCount();
    for (;;) {
        std::string ignored;
        CommandContext probe{c.target, c.command, c.reply, ignored};
        HWND window = probe.Window();
        if (window == nullptr || !IsWindowVisible(window)) return 1;
        if (GetTickCount() - start >= timeout) {
            c.error = "timed out: the window is still there";
            return 0;
        }
        Sleep(50);
    }
}

int Controls(CommandContext& c) {
    HWND window = c.Window();
    if (window == nullptr) return 0;
    std::vector<std::string> items;
    for (HWND control : ChildControls(window)) items.push_back(WindowJson(control));
    c.reply.AddRaw("window", WindowJson(window)).AddRaw("controls", JsonArray(items));
    return 1;
}

int GetTextCommand(CommandContext& c) {
    HWND window = c.command.Has("id") ? c.Control() : c.Window();
    if (window == nullptr) return 0;
    std::wstring text;
    if (!GetText(window, &text)) {
        c.error = "the window does not answer";
        return 0;
    }
    c.reply.Add("text", Narrow(text));
    return 1;
}

int SetTextCommand(CommandContext& c) {
    HWND control = c.Control();
    if (control == nullptr) return 0;
    if (!SetText(control, Widen(c.command.Get("text")))) {
        c.error = "WM_SETTEXT failed";
        return 0;
    }
    return 1;
}

int ClickCommand(CommandContext& c) {
    HWND control = c.Control();
    return control != nullptr && Click(control, &c.error);
}

int State(CommandContext& c) {
    HWND control = c.Control();
    if (control == nullptr) return 0;
    c.reply.AddRaw("control", WindowJson(control)).Add("checked", GetCheck(control));
    std::wstring text;
    GetText(control, &text);
    c.reply.Add("text", Narrow(text))
        .AddBool("visible", IsWindowVisible(control) != FALSE)
        .AddBool("enabled", IsWindowEnabled(control) != FALSE);
    return 1;
}

int SetCheck(CommandContext& c) {
    HWND control = c.Control();
    const long long want = c.Int("value", 1);
    if (control == nullptr || !c.error.empty()) return 0;
    if (GetCheck(control) == want) return 1;
    if (!Click(control, &c.error)) return 0;
    const DWORD start = GetTickCount();
    while (GetCheck(control) != want) {
        if (GetTickCount() - start > kSendTimeoutMs) {
            c.error = "the check box did not change";
            return 0;
        }
        Sleep(20);
    }
    return 1;
}

int Combo(CommandContext& c) {
    HWND combo = c.Control();
    ComboState state;
    if (combo == nullptr) return 0;
    if (!ReadCombo(combo, &state)) {
        c.error = "the combo box does not answer";
        return 0;
    }
    c.reply.AddRaw("items", TextsJson(state.items)).Add("selected", state.selected);
    return 1;
}

// --index, or the item whose text is --text.
int IndexFromOptions(CommandContext& c, const std::vector<std::wstring>& texts) {
    if (c.command.Has("index")) return static_cast<int>(c.Int("index", -1));
    const std::wstring want = Widen(c.command.Get("text"));
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == want) return static_cast<int>(i);
    c.error = "no item '" + c.command.Get("text") + "'";
    return -1;
}

int ComboSelect(CommandContext& c) {
    HWND combo = c.Control();
    ComboState state;
    if (combo == nullptr || !ReadCombo(combo, &state)) return 0;
    const int index = IndexFromOptions(c, state.items);
    return c.error.empty() && SelectComboItem(combo, index, &c.error);
}

int Tabs(CommandContext& c) {
    HWND tab = c.Control();
    TabState state;
    if (tab == nullptr || !ReadTabs(tab, &state, &c.error)) return 0;
    c.reply.AddRaw("items", TextsJson(state.items)).Add("selected", state.selected);
    return 1;
}

int TabSelect(CommandContext& c) {
    HWND tab = c.Control();
    TabState state;
    if (tab == nullptr || !ReadTabs(tab, &state, &c.error)) return 0;
    const int index = IndexFromOptions(c, state.items);
    return c.error.empty() && SelectTab(tab, index, &c.error);
}

int ReplyMessageBox(CommandContext& c, HWND box) {
    MessageBoxInfo info;
    if (!ReadMessageBox(box, &info)) {
        c.error = "not a message box";
        return 0;
    }
    std::vector<std::string> buttons;
    for (const auto& [id, text] : info.buttons)
        buttons.push_back(JsonObject().Add("id", id).Add("text", Narrow(text)).Text());
    c.reply.Add("hwnd", HexHandle(box))
        .Add("caption", Narrow(info.caption))
        .Add("text", Narrow(info.text))
        .Add("icon", info.icon)
        .AddRaw("buttons", JsonArray(buttons));
    return 1;
}

int MessageBoxCommand(CommandContext& c) {
    HWND box = c.command.Has("hwnd") ? ParseHwnd(c.command.Get("hwnd")) : FindMessageBox(c.target);
    if (box == nullptr) {
        c.error = "no message box";
        return 0;
    }
    return ReplyMessageBox(c, box);
}

int WaitMessageBox(CommandContext& c) {
    const DWORD timeout = c.Timeout(), start = GetTickCount();
    for (;;) {
        if (HWND box = FindMessageBox(c.target)) {
            // The box exists before its dialog procedure has drawn it.
            Sync(box);
            return ReplyMessageBox(c, box);
        }
        if (GetTickCount() - start >= timeout) {
            c.error = "timed out waiting for a message box";
            return 0;
        }
        Sleep(50);
    }
}

int AnswerMessageBoxCommand(CommandContext& c) {
    HWND box = c.command.Has("hwnd") ? ParseHwnd(c.command.Get("hwnd")) : FindMessageBox(c.target);
    if (box == nullptr) {
        c.error = "no message box";
        return 0;
    }
    const std::string button = c.command.Get("button");
    bool numeric = true;
    const long long id = Command{"", {{"b", button}}}.GetInt("b", 0, &numeric);
    if (button.empty()) {
        MessageBoxInfo info;
        ReadMessageBox(box, &info);
        if (info.buttons.size() != 1) {
            c.error = "the box has several buttons: name one with --button";
            return 0;
        }
        return AnswerMessageBox(box, info.buttons[0].first, L"", &c.error);
    }
    return AnswerMessageBox(box, numeric ? static_cast<int>(id) : 0, Widen(button), &c.error);
}

int Tree(CommandContext& c) {
    HWND tree = c.Control();
    std::vector<TreeItem> items;
    if (tree == nullptr || !ReadTree(tree, &items, &c.error)) return 0;
    std::vector<std::string> out;
    for (const TreeItem& item : items) {
        out.push_back(JsonObject()
                          .Add("item", HexHandle(reinterpret_cast<void*>(static_cast<std::uintptr_t>(item.handle))))
                          .Add("depth", item.depth)
                          .Add("text", Narrow(item.text))
                          .AddBool("expanded", item.expanded)
                          .AddBool("selected", item.selected)
                          .AddBool("children", item.hasChildren)
                          .Text());
    }
    c.reply.AddRaw("items", JsonArray(out));
    return 1;
}

// --item HANDLE, or --path "root|child|...", expanding on the way.
int TreeItemFromOptions(CommandContext& c, HWND tree, std::uint64_t* handle) {
    if (c.command.Has("item")) {
        *handle = static_cast<std::uint64_t>(c.Int("item", 0));
        return c.error.empty();
    }
    if (!c.command.Has("path")) {
        c.error = "missing --item or --path";
        return 0;
    }
    return FindTreeItem(tree, SplitPath(c.command.Get("path")), true, handle, &c.error);
}

int TreeSelect(CommandContext& c) {
    HWND tree = c.Control();
    std::uint64_t handle = 0;
    return tree != nullptr && TreeItemFromOptions(c, tree, &handle) && SelectTreeItem(tree, handle, &c.error);
}

int TreeExpand(CommandContext& c) {
    HWND tree = c.Control();
    std::uint64_t handle = 0;
    const bool expand = c.Int("expand", 1) != 0;
    return tree != nullptr && TreeItemFromOptions(c, tree, &handle) &&
           ExpandTreeItem(tree, handle, expand, &c.error);
}

// A user's click on the tree below its last item: the tree sends NM_CLICK
// to its parent with no item hit (a cross-process WM_NOTIFY cannot be
// delivered, so the driver clicks). Sent rather than posted: a click off the
// items starts no mouse tracking, and a sent click is handled before the
// reply, so the caller sees its outcome.
int TreeClickEmpty(CommandContext& c) {
    HWND tree = c.Control();
    if (tree == nullptr) return 0;
    RECT client{};
    GetClientRect(tree, &client);
    const LPARAM at = MAKELPARAM((client.right - client.left) / 2, client.bottom - 4);
    LRESULT ignored = 0;
    if (!SendWithTimeout(tree, WM_LBUTTONDOWN, MK_LBUTTON, at, &ignored) ||
        !SendWithTimeout(tree, WM_LBUTTONUP, 0, at, &ignored)) {
        c.error = "the tree did not take the click";
        return 0;
    }
    return Sync(tree);
}

int List(CommandContext& c) {
    HWND list = c.Control();
    ListViewState state;
    if (list == nullptr || !ReadListView(list, &state, &c.error)) return 0;
    std::vector<std::string> rows;
    for (const auto& row : state.rows) rows.push_back(TextsJson(row));
    c.reply.AddRaw("columns", TextsJson(state.columns)).AddRaw("rows", JsonArray(rows)).Add("selected", state.selected);
    return 1;
}

int ListSelect(CommandContext& c) {
    HWND list = c.Control();
    const long long index = c.Int("index", -1);
    return list != nullptr && c.error.empty() && SelectListItem(list, static_cast<int>(index), &c.error);
}

int Screenshot(CommandContext& c) {
    if (!c.command.Has("file")) {
        c.error = "missing --file";
        return 0;
    }
    HWND window = nullptr;
    if (c.Int("screen", 0) == 0) {
        window = c.Window();
        if (window == nullptr) return 0;
        Sync(window);
    }
    return SaveScreenshot(window, Widen(c.command.Get("file")), c.Int("client", 0) != 0, &c.error);
}

int SyncCommand(CommandContext& c) {
    HWND window = c.Window();
    if (window == nullptr) return 0;
    if (!Sync(window, static_cast<UINT>(c.Timeout(kSendTimeoutMs)))) {
        c.error = "the window's thread does not answer";
        return 0;
    }
    return 1;
}

int Close(CommandContext& c) {
    HWND window = c.Window();
    return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0);
}

int WaitExit(CommandContext& c) {
    if (!c.target.Attached()) {
        c.error = "no target process";
        return 0;
    }
    if (!c.target.WaitExit(c.Timeout())) {
        c.error = "timed out: the process still runs";
        return 0;
    }
    c.reply.Add("exitCode", static_cast<long long>(c.target.ExitCode()));
    return 1;
}

int Kill(CommandContext& c) {
    if (!c.target.Attached()) {
        c.error = "no target process";
        return 0;
    }
    c.target.Terminate(static_cast<UINT>(c.Int("code", 1)));
    return 1;
}

int SleepCommand(CommandContext& c) {
    Sleep(static_cast<DWORD>(c.Int("ms", 100)));
    return 1;
}

// The control --id, or the window's focused control without it.
HWND KeyboardTarget(CommandContext& c) {
    if (c.command.Has("id")) return c.Control();
    HWND window = c.Window();
    if (window == nullptr) return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus != nullptr)
        return info.hwndFocus;
    return window;
}

// Posted, like real input, so the modal loop's dialog manager sees the key
// (Enter and Escape become IDOK and IDCANCEL there).
int Key(CommandContext& c) {
    HWND target = KeyboardTarget(c);
    const long long key = c.Int("vk", 0);
    if (target == nullptr || !c.error.empty()) return 0;
    if (key <= 0 || key > 0xFE) {
        c.error = "missing or bad --vk";
        return 0;
    }
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(key), 1 | (scan << 16) | 0xC0000000u);
    return 1;
}

// WM_CHAR per character, as typing into the control does.
int Type(CommandContext& c) {
    HWND target = KeyboardTarget(c);
    if (target == nullptr) return 0;
    for (wchar_t ch : Widen(c.command.Get("text"))) PostMessageW(target, WM_CHAR, ch, 1);
    Sync(target);
    return 1;
}

// WM_COMMAND (id, --code) posted to the window, from the control --id when
// it exists, as a control's notification would arrive.
int PostCommand(CommandContext& c) {
    HWND window = c.Window();
    const long long id = c.Int("id", -1), code = c.Int("code", 0);
    if (window == nullptr || !c.error.empty()) return 0;
    if (id < 0 || id > 0xFFFF) {
        c.error = "missing or bad --id";
        return 0;
    }
    HWND control = FindControl(window, static_cast<int>(id));
    if (!PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control))) {
        c.error = "PostMessage failed";
        return 0;
    }
    return 1;
}

struct NamedHandler {
    const char* name;
    CommandHandler handler;
};

const NamedHandler kHandlers[] = {
    {"start", Start},
    {"attach", Attach},
    {"detach", Detach},
    {"windows", Windows},
    {"wait-window", WaitWindow},
    {"wait-gone", WaitGone},
    {"controls", Controls},
    {"get-text", GetTextCommand},
    {"set-text", SetTextCommand},
    {"click", ClickCommand},
    {"state", State},
    {"set-check", SetCheck},
    {"combo", Combo},
    {"combo-select", ComboSelect},
    {"tabs", Tabs},
    {"tab-select", TabSelect},
    {"msgbox", MessageBoxCommand},
    {"wait-msgbox", WaitMessageBox},
    {"answer-msgbox", AnswerMessageBoxCommand},
    {"tree", Tree},
    {"tree-select", TreeSelect},
    {"tree-expand", TreeExpand},
    {"tree-click-empty", TreeClickEmpty},
    {"list", List},
    {"list-select", ListSelect},
    {"screenshot", Screenshot},
    {"sync", SyncCommand},
    {"close", Close},
    {"wait-exit", WaitExit},
    {"kill", Kill},
    {"sleep", SleepCommand},
    {"key", Key},
    {"type", Type},
    {"command", PostCommand},
};

}  // namespace

CommandHandler FindHandler(const std::string& name) {
    for (const NamedHandler& entry : kHandlers)
        if (name == entry.name) return entry.handler;
    return nullptr;
}

}  // namespace tarvo::uidriver
