#pragma once

// Owners and DACLs as Windows holds them, written out entry by entry.
#include <string>
#include <utility>
#include <vector>

#include "platform/security_descriptor.h"

namespace selvane::testing {

inline constexpr char kSystem[] = "S-1-5-18", kAdministrators[] = "S-1-5-32-544", kUsers[] = "S-1-5-32-545",
                      kAuthenticatedUsers[] = "S-1-5-11", kEveryone[] = "S-1-1-0", kCreatorOwner[] = "S-1-3-0",
                      kOwnerRights[] = "S-1-3-4", kDomainUser[] = "S-1-5-21-1-2-3-1001",
                      kUnplacedUser[] = "S-1-5-21-9-9-9-1107";
// FA, 0x1200a9 (read and execute), 0x1301bf (modify), FW, and single rights.
inline constexpr unsigned long kFullControl = 0x1f01ff, kReadRun = 0x1200a9, kModify = 0x1301bf, kWrite = 0x120116,
                               kAddFile = 0x2, kAddFolder = 0x4, kDeleteChild = 0x40, kDelete = 0x10000,
                               kWriteDac = 0x40000, kGenericAll = 0x10000000;
// OI, CI, IO, ID.
inline constexpr unsigned kObjects = 0x1, kContainers = 0x2, kInheritOnly = 0x8, kInherited = 0x10;

inline AccessEntry Allow(const char* sid, unsigned long mask, unsigned flags = 0) {
    return {AceType::Allow, flags, mask, sid};
}
inline AccessEntry Deny(const char* sid, unsigned long mask) { return {AceType::Deny, 0, mask, sid}; }
inline SecurityDescriptor Owned(const char* owner, std::vector<AccessEntry> dacl) { return {owner, std::move(dacl)}; }
// What a product folder's files have once only the administrators may change them.
inline SecurityDescriptor AdministratorsOnly() {
    return Owned(kAdministrators,
                 {Allow(kSystem, kFullControl), Allow(kAdministrators, kFullControl), Allow(kUsers, kReadRun)});
}

}  // namespace selvane::testing
