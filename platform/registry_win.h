#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/call_failure.h"

namespace selvane {

using RegistryTexts = std::vector<std::pair<std::wstring, std::wstring>>;

// The text (REG_SZ) values of a key of HKEY_LOCAL_MACHINE in its 32-bit
// view, as a 32-bit program sees it on any Windows; none where the key is
// not there.
Checked<std::optional<RegistryTexts>> ReadMachineTexts(const std::wstring& key);
// Writes the values in their order (making the key where it is not there),
// then deletes every other value of the key.
CallResult WriteMachineTexts(const std::wstring& key, const RegistryTexts& values);

}  // namespace selvane
