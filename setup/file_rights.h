#pragma once

// Who besides the administrators can change what an elevated run starts or
// loads. An account that can replace acl.bat or the installer, or plant a
// program or library beside them, would have it run with the administrator's
// rights.

#include <optional>
#include <string>
#include <string_view>

#include "platform/security_descriptor.h"

namespace selvane {

enum class Trust { Trusted, Untrusted, Unknown };

// What a path is to the run: a file Windows runs or loads (the programs it
// starts, what lies in their folders), a folder whose entries it guards, a
// folder above those, or any other entry of the product's tree (only its
// owner counts).
enum class Guarded { Program, Folder, FolderAbove, Entry };

// What another account can do to it, the worst first.
enum class Exposure { Owns, ChangesPermissions, Deletes, Writes, CreatesEntries, Count };

struct RightsFinding {
    std::string path;
    std::string sid;   // "S-1-…"
    std::string name;  // for the administrator: "BUILTIN\Users", and the SID in full
    std::string fullSid;
    Exposure exposure = Exposure::Owns;
    Trust trust = Trust::Untrusted;  // Untrusted or Unknown (the system could not place the account)
    bool readsOrRuns = false;        // the account may also read and run it, which its users may need
    bool isFolder = false;
};

// Places the accounts that their SID alone does not: the system's
// membership functions, or a test's table.
class AccountPlacer {
public:
    // Whether the account is this program's own or an administrator's.
    virtual Trust TrustOf(const std::string& sid) = 0;

protected:
    ~AccountPlacer() = default;
};

// The trust that a SID's well-known meaning decides: SYSTEM, Administrators
// and TrustedInstaller are trusted; Everyone, Users, Authenticated Users,
// INTERACTIVE, Guests and Anonymous never are. None for any other account.
std::optional<Trust> WellKnownTrust(std::string_view sid);

// The worst that an account other than the trusted ones can do to the
// object; none where nobody else can do anything that matters. The placer
// places the accounts that WellKnownTrust does not. Inherit-only entries do
// not apply to the object, nor do CREATOR OWNER and CREATOR GROUP there;
// OWNER RIGHTS grants what it grants to the owner; a conditional entry
// counts as the allow it may be; a deny does not cancel an allow; no DACL
// lets everyone do everything.
std::optional<RightsFinding> JudgeRights(const SecurityDescriptor& descriptor, Guarded guarded, AccountPlacer& placer);

// Whether Windows runs or loads a file of this name: the kinds PATHEXT names
// (";"-separated, ".EXE;.BAT…"), libraries, controls, drivers, manifests and
// configuration files, and a ".local" folder that redirects a program's DLLs.
bool IsRunOrLoaded(std::string_view name, std::string_view pathExtensions);

}  // namespace selvane
