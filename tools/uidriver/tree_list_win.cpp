// Tree-view and list-view controls. Their item structures and text buffers
// are placed in the control's own process (RemoteBuffer).
#include <windows.h>

#include <commctrl.h>

#include "remote_memory_win.h"
#include "uidriver_win.h"

namespace tarvo::uidriver {

namespace {

constexpr size_t kTextChars = 260;
constexpr size_t kMaxTreeItems = 20000;

HTREEITEM AsItem(std::uint64_t handle) {
    return reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(handle));
}

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM from) {
    LRESULT item = 0;
    SendWithTimeout(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from), &item);
    return reinterpret_cast<HTREEITEM>(item);
}

int ReadTreeItem(HWND tree, RemoteBuffer& remote, HTREEITEM handle, int depth, TreeItem* out) {
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN;
    item.hItem = handle;
    item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    item.pszText = static_cast<wchar_t*>(remote.At(sizeof(TVITEMW)));
    item.cchTextMax = kTextChars;
    const wchar_t empty = 0;
    LRESULT ok = 0;
    if (!remote.Write(0, &item, sizeof item) || !remote.Write(sizeof(TVITEMW), &empty, sizeof empty) ||
        !SendWithTimeout(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At(0)), &ok) || !ok)
        return 0;
    TVITEMW back{};
    remote.Read(0, &back, sizeof back);
    out->handle = reinterpret_cast<std::uintptr_t>(handle);
    out->depth = depth;
    out->text = back.pszText == item.pszText ? remote.ReadText(sizeof(TVITEMW), kTextChars) : std::wstring();
    out->expanded = (back.state & TVIS_EXPANDED) != 0;
    out->selected = (back.state & TVIS_SELECTED) != 0;
    out->hasChildren = back.cChildren != 0;
    return 1;
}

bool TreeItemExpanded(HWND tree, HTREEITEM handle) {
    LRESULT state = 0;
    SendWithTimeout(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(handle), TVIS_EXPANDED, &state);
    return (state & TVIS_EXPANDED) != 0;
}

}  // namespace

int ReadTree(HWND tree, std::vector<TreeItem>* items, std::string* error) {
    items->clear();
    RemoteBuffer remote(tree, sizeof(TVITEMW) + (kTextChars + 1) * sizeof(wchar_t));
    if (!remote.Ok()) {
        *error = remote.Error();
        return 0;
    }
    // Depth-first in display order, without recursion.
    std::vector<HTREEITEM> stack;
    if (HTREEITEM root = Next(tree, TVGN_ROOT, nullptr)) stack.push_back(root);
    std::vector<int> depths{0};
    while (!stack.empty()) {
        HTREEITEM handle = stack.back();
        int depth = depths.back();
        stack.pop_back();
        depths.pop_back();
        TreeItem item;
        if (!ReadTreeItem(tree, remote, handle, depth, &item)) {
            *error = "TVM_GETITEM failed";
            return 0;
        }
        items->push_back(item);
        if (items->size() >= kMaxTreeItems) break;
        if (HTREEITEM sibling = Next(tree, TVGN_NEXT, handle)) {
            stack.push_back(sibling);
            depths.push_back(depth);
        }
        if (HTREEITEM child = Next(tree, TVGN_CHILD, handle)) {
            stack.push_back(child);
            depths.push_back(depth + 1);
        }
    }
    return 1;
}

int SelectTreeItem(HWND tree, std::uint64_t handle, std::string* error) {
    LRESULT ok = 0;
    if (!SendWithTimeout(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(AsItem(handle)), &ok) || !ok) {
        *error = "TVM_SELECTITEM failed";
        return 0;
    }
    return 1;
}

int ExpandTreeItem(HWND tree, std::uint64_t handle, bool expand, std::string* error) {
    // TVM_EXPAND sends no notifications after the first expansion; a user's
    // key does, so the item is selected and the key posted to the tree.
    if (TreeItemExpanded(tree, AsItem(handle)) == expand) return 1;
    if (!SelectTreeItem(tree, handle, error)) return 0;
    const WPARAM key = expand ? VK_ADD : VK_SUBTRACT;
    PostMessageW(tree, WM_KEYDOWN, key, 1);
    PostMessageW(tree, WM_KEYUP, key, 0xC0000001);
    const DWORD start = GetTickCount();
    while (TreeItemExpanded(tree, AsItem(handle)) != expand) {
        if (GetTickCount() - start > kSendTimeoutMs) {
            *error = expand ? "the item did not expand (no children?)" : "the item did not collapse";
            return 0;
        }
        Sleep(20);
    }
    Sync(tree);
    return 1;
}

int FindTreeItem(HWND tree, const std::vector<std::wstring>& path, bool expand, std::uint64_t* handle,
                 std::string* error) {
    RemoteBuffer remote(tree, sizeof(TVITEMW) + (kTextChars + 1) * sizeof(wchar_t));
    if (!remote.Ok()) {
        *error = remote.Error();
        return 0;
    }
    HTREEITEM parent = nullptr;
    for (size_t level = 0; level < path.size(); ++level) {
        if (parent != nullptr && expand &&
            !ExpandTreeItem(tree, reinterpret_cast<std::uintptr_t>(parent), true, error))
            return 0;
        HTREEITEM found = nullptr;
        for (HTREEITEM item = Next(tree, parent == nullptr ? TVGN_ROOT : TVGN_CHILD, parent); item != nullptr;
             item = Next(tree, TVGN_NEXT, item)) {
            TreeItem read;
            if (ReadTreeItem(tree, remote, item, static_cast<int>(level), &read) && read.text == path[level]) {
                found = item;
                break;
            }
        }
        if (found == nullptr) {
            *error = "no tree item '" + Narrow(path[level]) + "' at level " + std::to_string(level);
            return 0;
        }
        parent = found;
    }
    if (parent == nullptr) {
        *error = "empty path";
        return 0;
    }
    *handle = reinterpret_cast<std::uintptr_t>(parent);
    return 1;
}

int ReadListView(HWND list, ListViewState* state, std::string* error) {
    *state = ListViewState{};
    RemoteBuffer remote(list, sizeof(LVITEMW) + sizeof(LVCOLUMNW) + (kTextChars + 1) * sizeof(wchar_t));
    if (!remote.Ok()) {
        *error = remote.Error();
        return 0;
    }
    const size_t textAt = sizeof(LVITEMW) + sizeof(LVCOLUMNW);
    auto* text = static_cast<wchar_t*>(remote.At(textAt));
    const wchar_t empty = 0;
    LRESULT header = 0, columns = 0;
    SendWithTimeout(list, LVM_GETHEADER, 0, 0, &header);
    if (header != 0) SendWithTimeout(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &columns);
    for (LRESULT c = 0; c < columns; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = kTextChars;
        LRESULT ok = 0;
        remote.Write(sizeof(LVITEMW), &column, sizeof column);
        remote.Write(textAt, &empty, sizeof empty);
        SendWithTimeout(list, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(remote.At(sizeof(LVITEMW))), &ok);
        state->columns.push_back(ok ? remote.ReadText(textAt, kTextChars) : std::wstring());
    }
    LRESULT count = 0;
    if (!SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, &count)) {
        *error = "the list view does not answer";
        return 0;
    }
    const LRESULT cells = columns > 0 ? columns : 1;
    for (LRESULT row = 0; row < count; ++row) {
        std::vector<std::wstring> texts;
        for (LRESULT c = 0; c < cells; ++c) {
            LVITEMW item{};
            item.iSubItem = static_cast<int>(c);
            item.pszText = text;
            item.cchTextMax = kTextChars;
            remote.Write(0, &item, sizeof item);
            remote.Write(textAt, &empty, sizeof empty);
            SendWithTimeout(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At(0)), nullptr);
            texts.push_back(remote.ReadText(textAt, kTextChars));
        }
        state->rows.push_back(texts);
    }
    LRESULT selected = -1;
    SendWithTimeout(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, &selected);
    state->selected = static_cast<int>(selected);
    return 1;
}

int SelectListItem(HWND list, int index, std::string* error) {
    LRESULT count = 0;
    SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, &count);
    if (index < 0 || index >= count) {
        *error = "no row " + std::to_string(index) + " (the list holds " + std::to_string(count) + ")";
        return 0;
    }
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    LRESULT ok = 0;
    if (!remote.Write(0, &item, sizeof item) ||
        !SendWithTimeout(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(remote.At(0)), &ok) || !ok) {
        *error = "LVM_SETITEMSTATE failed" + (remote.Ok() ? std::string() : ": " + remote.Error());
        return 0;
    }
    return 1;
}

}  // namespace tarvo::uidriver
