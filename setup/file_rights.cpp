#include "setup/file_rights.h"

#include <algorithm>

#include "platform/folder_path.h"

namespace selvane {
namespace {

constexpr unsigned long kAddFile = 0x2, kAddSubfolder = 0x4, kDeleteChild = 0x40, kDelete = 0x10000,
                        kWriteDac = 0x40000, kWriteOwner = 0x80000, kGenericAll = 0x10000000,
                        kGenericWrite = 0x40000000;
// Reading data or listing, running or passing through, and the generic rights that hold those.
constexpr unsigned long kReadOrRun = 0x1 | 0x20 | 0x80000000 | 0x20000000 | kGenericAll;
constexpr char kEveryone[] = "S-1-1-0";
constexpr char kCreatorOwner[] = "S-1-3-0", kCreatorGroup[] = "S-1-3-1", kOwnerRights[] = "S-1-3-4";

struct KnownAccount {
    std::string_view sid;
    Trust trust;
};
constexpr KnownAccount kKnownAccounts[] = {
    {"S-1-5-18", Trust::Trusted},
    {"S-1-5-32-544", Trust::Trusted},
    {"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", Trust::Trusted},  // TrustedInstaller
    {kEveryone, Trust::Untrusted},
    {"S-1-5-32-545", Trust::Untrusted},  // Users
    {"S-1-5-11", Trust::Untrusted},      // Authenticated Users
    {"S-1-5-4", Trust::Untrusted},       // INTERACTIVE
    {"S-1-5-32-546", Trust::Untrusted},  // Guests
    {"S-1-5-7", Trust::Untrusted},       // ANONYMOUS LOGON
};

// Kinds Windows runs or loads: PATHEXT's default, whatever PATHEXT now says, and these.
constexpr std::string_view kLoadedKinds[] = {".COM", ".EXE", ".BAT", ".CMD", ".VBS",      ".VBE",    ".JS",
                                             ".JSE", ".WSF", ".WSH", ".MSC", ".DLL",      ".OCX",    ".CPL",
                                             ".SYS", ".SCR", ".PS1", ".LNK", ".MANIFEST", ".CONFIG", ".LOCAL"};

// What rights let an account do to the path, by what the path is to the
// run; none for nothing that matters. Above the folders, only what
// replaces the path counts.
std::optional<Exposure> ExposureOf(unsigned long mask, Guarded guarded) {
    if (mask & (kWriteDac | kWriteOwner | kGenericAll)) return Exposure::ChangesPermissions;
    if (mask & (guarded == Guarded::Program ? kDelete : kDelete | kDeleteChild)) return Exposure::Deletes;
    if (guarded == Guarded::FolderAbove || !(mask & (kAddFile | kAddSubfolder | kGenericWrite))) return std::nullopt;
    return guarded == Guarded::Program ? Exposure::Writes : Exposure::CreatesEntries;
}

}  // namespace

std::optional<Trust> WellKnownTrust(std::string_view sid) {
    if (sid.empty()) return Trust::Untrusted;
    for (const KnownAccount& account : kKnownAccounts) {
        if (sid == account.sid) return account.trust;
    }
    return std::nullopt;
}

std::optional<RightsFinding> JudgeRights(const SecurityDescriptor& descriptor, Guarded guarded, AccountPlacer& placer) {
    std::optional<RightsFinding> worst;
    const auto consider = [&](const std::string& sid, std::optional<Exposure> exposure) {
        if (!exposure || (worst && worst->exposure <= *exposure)) return;
        const auto known = WellKnownTrust(sid);
        const Trust trust = known ? *known : placer.TrustOf(sid);
        if (trust == Trust::Trusted) return;
        worst.emplace();
        worst->sid = sid;
        worst->exposure = *exposure;
        worst->trust = trust;
    };
    consider(descriptor.owner, Exposure::Owns);
    if (guarded == Guarded::Entry) return worst;
    if (!descriptor.dacl) consider(kEveryone, Exposure::ChangesPermissions);
    for (const AccessEntry& ace : descriptor.dacl.value_or(std::vector<AccessEntry>{})) {
        if (ace.type == AceType::Unknown) consider(kEveryone, Exposure::ChangesPermissions);
        if (ace.type != AceType::Allow || (ace.flags & kInheritOnlyAce)) continue;
        if (ace.sid == kCreatorOwner || ace.sid == kCreatorGroup) continue;  // stand-ins for children's creators
        consider(ace.sid == kOwnerRights ? descriptor.owner : ace.sid, ExposureOf(ace.mask, guarded));
    }
    for (const AccessEntry& ace : descriptor.dacl.value_or(std::vector<AccessEntry>{})) {
        const bool applies = ace.type == AceType::Allow && !(ace.flags & kInheritOnlyAce);
        if (applies && worst && ace.sid == worst->sid && (ace.mask & kReadOrRun)) worst->readsOrRuns = true;
    }
    if (worst) worst->isFolder = guarded == Guarded::Folder || guarded == Guarded::FolderAbove;
    return worst;
}

bool IsRunOrLoaded(std::string_view name, std::string_view pathExtensions) {
    const std::string folded = CaseFolded(name);
    const auto dot = folded.find_last_of('.');
    if (dot == std::string::npos) return false;
    const std::string_view kind = std::string_view(folded).substr(dot);
    for (const std::string_view loaded : kLoadedKinds) {
        if (kind == loaded) return true;
    }
    // Each ";"-separated kind, compared whole.
    for (std::string_view rest = pathExtensions; !rest.empty();) {
        const auto semicolon = std::min(rest.find(';'), rest.size());
        if (CaseFolded(rest.substr(0, semicolon)) == kind) return true;
        rest.remove_prefix(std::min(semicolon + 1, rest.size()));
    }
    return false;
}

}  // namespace selvane
