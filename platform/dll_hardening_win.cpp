#include "platform/dll_hardening_win.h"

#include "platform/system_functions_win.h"

namespace selvane {

void RestrictDllSearchToSystemDirectory() {
#ifndef SELVANE_NO_DLL_HARDENING
    const auto setDefaultDllDirectories = LookUpSystemFunctions().SetDefaultDllDirectories;
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryW(L"");
#endif
}

}  // namespace selvane
