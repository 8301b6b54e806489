#include "platform/program_path_win.h"

#include <windows.h>

#include "platform/win_error.h"

namespace selvane {

Checked<std::wstring> ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {{}, LastErrorFailure("GetModuleFileNameW")};
        if (length < path.size()) {
            path.resize(length);
            return {path, std::nullopt};
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace selvane
