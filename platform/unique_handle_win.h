#pragma once

#include <windows.h>

#include "platform/unique_any.h"

namespace selvane {

inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteGdiFont(HFONT font) { DeleteObject(font); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { DestroyWindow(window); }
// CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
inline HANDLE InvalidFileHandle() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = UniqueAny<HANDLE, CloseKernelHandle>;
using UniqueFile = UniqueAny<HANDLE, CloseKernelHandle, InvalidFileHandle>;
using UniqueFont = UniqueAny<HFONT, DeleteGdiFont>;
using UniqueIcon = UniqueAny<HICON, DestroyIconHandle>;
using UniqueWindow = UniqueAny<HWND, DestroyWindowHandle>;

}  // namespace selvane
