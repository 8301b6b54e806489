#pragma once

#include <string>

#include "platform/call_failure.h"

namespace selvane {

// This program's file, as the system reports it.
Checked<std::wstring> ProgramPath();

}  // namespace selvane
