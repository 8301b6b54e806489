#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/call_failure.h"

namespace selvane {

// The shell's folder dialog, owned by the given window, centred on the
// screen, with the start folder ("C:\" when empty) selected and the title
// above the tree. Returns the chosen folder ending with one backslash, or the
// empty string when the user cancelled or chose an item that is no
// file-system folder; a failure only when the dialog could not be shown.
Checked<std::string> BrowseForFolder(HWND owner, const std::string& startPath, const std::string& title);

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data);

std::string GetPathFromItemList(PCIDLIST_ABSOLUTE itemList);

}  // namespace selvane
