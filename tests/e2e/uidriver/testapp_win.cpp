// A small dialog for the UI driver's own end-to-end test: each control
// writes what it was told into a note static, which the scenario reads back.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "testapp_ids.h"

namespace {

int pressCount = 0;
std::string tabEvents;

void Note(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillControls(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_COMBO);
    for (const char* item : {"alpha", "beta", "gamma"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));

    HWND tab = GetDlgItem(dialog, IDC_TAB);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 3, 0);
    for (const char* icon : {"IDI_TAB1", "IDI_TAB2", "IDI_TAB3"}) {
        HICON handle = LoadIconA(GetModuleHandleA(nullptr), icon);
        ImageList_AddIcon(images, handle);
        DestroyIcon(handle);
    }
    SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    const char* pages[] = {"One", "Two", "Three"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(pages[i]);
        item.iImage = i;
        SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }

    HWND tree = GetDlgItem(dialog, IDC_TREE);
    HTREEITEM root = AddTreeItem(tree, TVI_ROOT, "Root");
    AddTreeItem(tree, root, "Child A");
    HTREEITEM b = AddTreeItem(tree, root, "Child B");
    AddTreeItem(tree, b, "Grandchild");
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));

    HWND list = GetDlgItem(dialog, IDC_LIST);
    const char* columns[] = {"Name", "Size"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>(columns[c]);
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    const char* rows[][2] = {{"readme.txt", "12"}, {"setup.exe", "3400"}};
    for (int r = 0; r < 2; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(rows[r][1]);
        SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
}

INT_PTR CALLBACK TemplateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void ShowBox(HWND dialog, UINT icon, const char* text) { MessageBoxA(dialog, text, "Tester", MB_OK | icon); }

INT_PTR OnCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDC_PRESS:
            Note(dialog, IDC_PRESS_COUNT, "pressed " + std::to_string(++pressCount));
            return TRUE;
        case IDC_COMBO:
            if (code == CBN_SELENDOK) {
                char text[64] = {};
                GetDlgItemTextA(dialog, IDC_COMBO, text, sizeof text);
                Note(dialog, IDC_COMBO_NOTE, std::string("selendok: ") + text);
            }
            return TRUE;
        case IDC_ASK: {
            int answer = MessageBoxA(dialog, "Do you want to go on?", "Tester", MB_YESNO | MB_ICONQUESTION);
            Note(dialog, IDC_ANSWER_NOTE, answer == IDYES ? "answer: yes" : "answer: no");
            return TRUE;
        }
        case IDC_BOX_STOP: ShowBox(dialog, MB_ICONHAND, "Something went wrong."); return TRUE;
        case IDC_BOX_WARNING: ShowBox(dialog, MB_ICONEXCLAMATION, "Careful now."); return TRUE;
        case IDC_BOX_INFO: ShowBox(dialog, MB_ICONASTERISK, "All done."); return TRUE;
        case IDC_BOX_NONE: ShowBox(dialog, 0, "Just text."); return TRUE;
        case IDC_OPEN_PVD:
            DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_PVD", nullptr, TemplateProc, 0);
            return TRUE;
        case IDC_OPEN_ABOUT:
            DialogBoxParamA(GetModuleHandleA(nullptr), "DIALOGAUTHOR", dialog, TemplateProc, 0);
            return TRUE;
        case IDC_OPEN_MAKEDIR:
            DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_MAKEDIR", dialog, TemplateProc, 0);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, TESTAPP_EXIT_CODE);
            return TRUE;
    }
    return FALSE;
}

INT_PTR OnNotify(HWND dialog, const NMHDR* header) {
    if (header->idFrom == IDC_TAB && header->code == TCN_SELCHANGING) {
        tabEvents = "changing ";
    } else if (header->idFrom == IDC_TAB && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        const int page = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
        Note(dialog, IDC_TAB_NOTE, tabEvents + "page " + std::to_string(page));
        tabEvents.clear();
    } else if (header->idFrom == IDC_TREE && header->code == TVN_SELCHANGEDA) {
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        char text[64] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = change->itemNew.hItem;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header->hwndFrom, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        Note(dialog, IDC_TREE_NOTE, std::string("tree: ") + text);
    } else if (header->idFrom == IDC_TREE && header->code == TVN_ITEMEXPANDEDA) {
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        Note(dialog, IDC_EXPAND_NOTE, change->action & TVE_EXPAND ? "expanded" : "collapsed");
    } else if (header->idFrom == IDC_LIST && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if (change->uNewState & LVIS_SELECTED) Note(dialog, IDC_LIST_NOTE, "list: " + std::to_string(change->iItem));
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            HICON icon = LoadIconA(GetModuleHandleA(nullptr), "APPICON");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            FillControls(dialog);
            return TRUE;
        }
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
        case WM_CLOSE: EndDialog(dialog, TESTAPP_EXIT_CODE); return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamA(instance, "UIDRIVER_TEST", nullptr, DialogProc, 0));
}
