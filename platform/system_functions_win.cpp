#include "platform/system_functions_win.h"

namespace selvane {
namespace {

template <typename Function>
void LookUp(Function& slot, const wchar_t* module, const char* name) {
    // Only modules already loaded: GetModuleHandle loads nothing.
    const HMODULE loaded = GetModuleHandleW(module);
    slot = loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

}  // namespace

SystemFunctions LookUpSystemFunctions() {
    SystemFunctions functions;
    LookUp(functions.SetDefaultDllDirectories, L"kernel32.dll", "SetDefaultDllDirectories");
    LookUp(functions.GetDpiForWindow, L"user32.dll", "GetDpiForWindow");
    LookUp(functions.AdjustWindowRectExForDpi, L"user32.dll", "AdjustWindowRectExForDpi");
    LookUp(functions.SHGetPathFromIDListEx, L"shell32.dll", "SHGetPathFromIDListEx");
    return functions;
}

}  // namespace selvane
