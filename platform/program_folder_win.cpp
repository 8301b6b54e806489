#include "platform/program_folder_win.h"

#include <windows.h>

#include "platform/folder_path.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ThrowLastError("GetModuleFileNameW");
        if (length < path.size()) {
            path.resize(length);
            return FolderOfFile(Narrow(path));
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace selvane
