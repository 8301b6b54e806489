#include "platform/dll_hardening_win.h"

#include <windows.h>

namespace selvane {

void RestrictDllSearchToSystemDirectory() {
#ifndef SELVANE_NO_DLL_HARDENING
    // Looked up by name: Windows 7 has it only with KB2533623.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryW(L"");
#endif
}

}  // namespace selvane
