#pragma once

// A file's owner and DACL as the system holds them, walked entry by entry
// (never parsed back from text), for portable code to judge.

#include <optional>
#include <string>
#include <vector>

namespace selvane {

// ACCESS_ALLOWED_* and ACCESS_DENIED_* of every form (conditional and
// object entries included); Unknown for a type no DACL should hold.
enum class AceType { Allow, Deny, Unknown };

inline constexpr unsigned kInheritOnlyAce = 0x8;  // INHERIT_ONLY_ACE: applies to children alone

struct AccessEntry {
    AceType type = AceType::Allow;
    unsigned flags = 0;
    unsigned long mask = 0;
    std::string sid;  // "S-1-5-32-545"
};

struct SecurityDescriptor {
    std::string owner;  // a SID; empty where there is none
    // None: no DACL at all, which lets everyone do everything.
    std::optional<std::vector<AccessEntry>> dacl;
    bool isReparsePoint = false;  // the object is a link, junction or mount point itself
};

}  // namespace selvane
