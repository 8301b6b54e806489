#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/call_failure.h"
#include "platform/security_descriptor.h"

namespace selvane {

// The owner and DACL of a file or folder, read on a handle opened for
// READ_CONTROL alone (no hold of another program stands in the way): of a
// link, junction or mount point itself.
Checked<SecurityDescriptor> SecurityOfObject(const std::wstring& path);

// The owner and DACL that a descriptor in memory holds, entry by entry.
SecurityDescriptor DescriptorFrom(PSECURITY_DESCRIPTOR descriptor);

// A folder's entries, "." and ".." left out.
struct FolderEntry {
    std::wstring name;
    DWORD attributes = 0;
};
Checked<std::vector<FolderEntry>> FolderEntryList(const std::wstring& folder);

// The path as the system's \\?\ form names it, so that no name is rewritten
// ("a." stays "a.", not "a"); a path of another form is returned as it is.
std::wstring LiteralPath(const std::wstring& path);

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
