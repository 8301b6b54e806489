#include "platform/program_path_win.h"

#include <windows.h>

#include "platform/win_error.h"

namespace selvane {
namespace {

// What a Windows function that fills a buffer gives: the text, or nothing
// when it failed or the buffer was too small.
template <typename Fill>
std::optional<std::wstring> Filled(Fill fill) {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = fill(buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return std::nullopt;
    return std::wstring(buffer, length);
}

}  // namespace

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

std::wstring ResolvedPath(const std::wstring& path) {
    const auto full = Filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    if (!full) return path;
    const auto longForm = [](const std::wstring& shortForm) {
        return Filled([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(shortForm.c_str(), buffer, size); });
    };
    if (auto whole = longForm(*full)) return *whole;
    // A file or folder that is not there yet (a backup folder, a new log):
    // its folder's long name, and its own name as given.
    const std::size_t slash = full->find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == full->size()) return *full;
    const auto folder = longForm(full->substr(0, slash + 1));
    return folder ? *folder + full->substr(slash + 1) : *full;
}

}  // namespace selvane
