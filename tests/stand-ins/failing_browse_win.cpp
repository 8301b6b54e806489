// Linked into a test build of the program in place of the real folder
// browser: Browse fails as a Windows call can, so that a test can see from
// outside what the program does with an unexpected failure in a handler.
// The shipped program has no such switch.
#include "platform/browse_folder_win.h"
#include "platform/win_error.h"

namespace selvane {

Checked<std::string> BrowseForFolder(HWND, const std::string&, const std::string&) {
    return {{}, CallFailure{"SHBrowseForFolderW", ERROR_NOT_ENOUGH_MEMORY}};
}

}  // namespace selvane
