#include "platform/browse_folder_win.h"

#include <commctrl.h>

#include "platform/browse_geometry.h"
#include "platform/folder_path.h"
#include "platform/system_functions_win.h"
#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"

// The dialog is driven through the Unicode functions: the ANSI ones would
// hand back a folder whose name the code page cannot hold with "?" in it, a
// path to somewhere else. The folder box takes the exact name, and Complete
// refuses it clearly if it cannot be written in the code page.

namespace selvane {
namespace {

inline void FreeItemList(PIDLIST_ABSOLUTE itemList) { CoTaskMemFree(itemList); }
using UniqueItemList = UniqueAny<PIDLIST_ABSOLUTE, FreeItemList>;

// What the callback needs; lives on BrowseForFolder's stack for the whole dialog.
struct BrowseState {
    std::wstring startPath;
    bool selectionShown = false;
};

// Windows 7 and later do not scroll a selection made at initialisation into
// view; bring it into view once, without changing it.
void ShowSelection(HWND dialog, BrowseState& state) {
    if (state.selectionShown) return;
    HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree) {
        // The newer dialog style keeps the tree inside a container.
        if (HWND container = FindWindowExW(dialog, nullptr, L"SHBrowseForFolder ShellNameSpace Control", nullptr)) {
            tree = FindWindowExW(container, nullptr, WC_TREEVIEWW, nullptr);
        }
    }
    if (!tree) return;
    if (HTREEITEM selected = TreeView_GetSelection(tree)) {
        TreeView_EnsureVisible(tree, selected);
        state.selectionShown = true;
    }
}

}  // namespace

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    auto& state = *reinterpret_cast<BrowseState*>(data);
    if (message == BFFM_SELCHANGED) {
        ShowSelection(dialog, state);
        return 0;
    }
    if (message != BFFM_INITIALIZED) return 0;

    RECT rect = {};
    GetWindowRect(dialog, &rect);
    const ScreenPoint origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                             rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state.startPath.c_str()));
    ShowSelection(dialog, state);
    return 0;
}

std::string GetPathFromItemList(PCIDLIST_ABSOLUTE itemList) {
    if (!itemList) return {};
    // Long paths are asked for first; older systems know only MAX_PATH.
    const auto getPathEx = LookUpSystemFunctions().SHGetPathFromIDListEx;
    std::wstring buffer(getPathEx ? 32768 : MAX_PATH, L'\0');
    const BOOL found = getPathEx ? getPathEx(itemList, buffer.data(), static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT)
                                 : SHGetPathFromIDListW(itemList, buffer.data());
    if (!found) return {};
    buffer.resize(wcslen(buffer.c_str()));
    return Narrow(buffer);
}

Checked<std::string> BrowseForFolder(HWND owner, const std::string& startPath, const std::string& dialogTitle) {
    BrowseState state{Widen(startPath.empty() ? "C:\\" : startPath)};
    const std::wstring title = Widen(dialogTitle);

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);

    // The dialog needs COM on this thread; a second call only counts up.
    CoInitialize(nullptr);
    // No item list: the user cancelled. The dialog reports nothing else.
    const UniqueItemList chosen(SHBrowseForFolderW(&info));
    if (!chosen) return {};
    return {EnsureTrailingBackslash(GetPathFromItemList(chosen.get())), std::nullopt};
}

}  // namespace selvane
