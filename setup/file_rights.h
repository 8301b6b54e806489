#pragma once

// Who besides the administrators can change what an elevated run starts.
// An account that can replace acl.bat or the installer, or plant a program
// beside them, would have it run with the administrator's rights.

#include <optional>
#include <string>
#include <string_view>

namespace selvane {

enum class Trust { Trusted, Untrusted, Unknown };

// What a path is to the run: a program it starts, a folder those lie in, a
// folder above that, or an entry of such a folder (only its owner counts).
enum class Guarded { Program, Folder, FolderAbove, Entry };

// What another account can do to it, the worst first.
enum class Exposure { Owns, ChangesPermissions, Deletes, Writes, CreatesEntries, Count };

struct RightsFinding {
    std::string path;
    std::string sid;   // as the security descriptor names it: an alias ("BU") or "S-1-…"
    std::string name;  // for the administrator: "BUILTIN\Users", and the SID in full
    std::string fullSid;
    Exposure exposure = Exposure::Owns;
    Trust trust = Trust::Untrusted;  // Untrusted or Unknown (the system could not place the account)
    // Others' new entries are told of; the rest stops the run, also for an
    // account the system could not place (it may be anyone's).
    bool Refused() const { return trust != Trust::Trusted && exposure != Exposure::CreatesEntries; }
};

// Places the accounts that their SID alone does not: the system's
// membership functions, or a test's table.
class AccountPlacer {
public:
    // Whether the account (a SID as SDDL names it) is this program's own or an administrator's.
    virtual Trust TrustOf(const std::string& sid) = 0;

protected:
    ~AccountPlacer() = default;
};

// The trust that a SID's well-known meaning decides: SYSTEM, Administrators
// and TrustedInstaller are trusted; Everyone, Users, Authenticated Users,
// INTERACTIVE, Guests and Anonymous never are. None for any other account.
std::optional<Trust> WellKnownTrust(std::string_view sid);

// The worst that an account other than the trusted ones can do to an object
// with this security descriptor (SDDL: owner and DACL). The placer places
// the accounts that WellKnownTrust does not. Inherit-only entries do not apply
// to the object, a deny does not cancel an allow, and no DACL lets everyone
// do everything.
std::optional<RightsFinding> JudgeRights(std::string_view sddl, Guarded guarded, AccountPlacer& placer);

}  // namespace selvane
