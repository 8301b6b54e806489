#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/call_failure.h"

namespace selvane {

// The owner and DACL of a file or folder, as SDDL, read on a handle opened
// for READ_CONTROL alone (no hold of another program stands in the way).
Checked<std::wstring> SecurityDescriptorText(const std::wstring& path);

// The names of a folder's entries, "." and ".." left out.
Checked<std::vector<std::wstring>> FolderEntryNames(const std::wstring& folder);

// Whether the account (a SID as SDDL names it) is the one this program runs
// as or, as the system's membership functions report it, a member of the
// local Administrators group, through domain groups too. None where that
// cannot be told (a domain that cannot be reached).
std::optional<bool> IsOwnAccountOrAdministrator(const std::wstring& sid);

// The account's name ("BUILTIN\Users", empty where it has none) and its SID in full.
struct AccountNames {
    std::wstring name;
    std::wstring sid;
};
AccountNames NamesOfAccount(const std::wstring& sid);

}  // namespace selvane
