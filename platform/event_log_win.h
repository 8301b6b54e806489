#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/call_failure.h"

namespace selvane {

// Registers a source of the Application event log whose texts are in a
// program's message table, so that Event Viewer shows them.
CallResult RegisterEventSourceFile(const std::wstring& source, const std::wstring& messageFile);

// Writes one event of the source to the Application log. Without the
// registration Windows still records it, with its strings.
CallResult ReportEventStrings(const std::wstring& source, WORD type, DWORD id, const std::vector<std::wstring>& strings);

}  // namespace selvane
