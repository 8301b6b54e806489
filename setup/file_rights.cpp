#include "setup/file_rights.h"

#include <cstdlib>
#include <vector>

namespace selvane {
namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr unsigned long kAddFile = 0x2, kAddSubfolder = 0x4, kDeleteChild = 0x40, kDelete = 0x10000,
                        kWriteDac = 0x40000, kWriteOwner = 0x80000, kGenericAll = 0x10000000,
                        kGenericWrite = 0x40000000;

struct RightCode {
    std::string_view code;
    unsigned long mask;
};
constexpr RightCode kRightCodes[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"RC", 0x20000},
    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},    {"RP", 0x10},       {"WP", 0x20},
    {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},        {"LO", 0x80},
    {"DT", 0x40},       {"CR", 0x100},      {"FA", 0x1f01ff},   {"FR", 0x120089},   {"FW", 0x120116},
    {"FX", 0x1200a0},   {"KA", 0xf003f},    {"KR", 0x20019},    {"KW", 0x20006},    {"KX", 0x20019},
};

struct KnownAccount {
    std::string_view alias, sid;
    Trust trust;
};
constexpr KnownAccount kKnownAccounts[] = {
    {"SY", "S-1-5-18", Trust::Trusted},
    {"BA", "S-1-5-32-544", Trust::Trusted},
    {"", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", Trust::Trusted},  // TrustedInstaller
    {"WD", "S-1-1-0", Trust::Untrusted},
    {"BU", "S-1-5-32-545", Trust::Untrusted},
    {"AU", "S-1-5-11", Trust::Untrusted},
    {"IU", "S-1-5-4", Trust::Untrusted},
    {"BG", "S-1-5-32-546", Trust::Untrusted},
    {"AN", "S-1-5-7", Trust::Untrusted},
};

// A number ("0x1301bf") or two-letter codes; a code not known here counts as every right.
unsigned long RightsOf(std::string_view field) {
    if (!field.empty() && field[0] >= '0' && field[0] <= '9') {
        return std::strtoul(std::string(field).c_str(), nullptr, 0);
    }
    unsigned long mask = field.size() % 2 ? ~0ul : 0;
    for (; field.size() >= 2; field.remove_prefix(2)) {
        unsigned long bits = ~0ul;
        for (const RightCode& right : kRightCodes) bits = field.starts_with(right.code) ? right.mask : bits;
        mask |= bits;
    }
    return mask;
}

struct Ace {
    bool allows = true;
    bool inheritOnly = false;
    unsigned long mask = 0;
    std::string sid;
};
struct Descriptor {
    std::string owner;
    bool everyone = true;  // no DACL
    std::vector<Ace> aces;
};

// One part of SDDL ("O:", "D:"…), running to the next part's letter and
// colon outside the parentheses; none where the part is missing.
std::optional<std::string_view> PartOf(std::string_view sddl, char letter) {
    std::size_t start = npos;
    int depth = 0;
    for (std::size_t at = 0; at < sddl.size(); ++at) {
        const char c = sddl[at];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (depth != 0 || at + 1 == sddl.size() || sddl[at + 1] != ':' || std::string_view("OGDS").find(c) == npos) {
            continue;
        }
        if (start != npos) return sddl.substr(start, at - start);
        if (c == letter) start = at + 2;
    }
    if (start == npos) return std::nullopt;
    return sddl.substr(start);
}

// An ACE's fields: type, flags, rights, object, inherited object, account.
Ace ParseAce(std::string_view text) {
    std::string_view fields[6];
    for (auto& field : fields) {
        const std::size_t semicolon = text.find(';');
        field = text.substr(0, semicolon);
        text = semicolon == npos ? std::string_view() : text.substr(semicolon + 1);
    }
    const bool denies = fields[0] == "D" || fields[0] == "OD" || fields[0] == "XD";
    Ace ace{!denies, false, RightsOf(fields[2]), std::string(fields[5])};
    for (std::string_view flags = fields[1]; flags.size() >= 2; flags.remove_prefix(2)) {
        ace.inheritOnly = ace.inheritOnly || flags.starts_with("IO");
    }
    return ace;
}

// Text it cannot read counts as no DACL: everyone may do everything.
Descriptor Parse(std::string_view sddl) {
    Descriptor descriptor{std::string(PartOf(sddl, 'O').value_or("")), true, {}};
    const auto dacl = PartOf(sddl, 'D');
    if (!dacl || dacl->find("NO_ACCESS_CONTROL") != npos) return descriptor;
    for (std::size_t open = dacl->find('('); open != npos;) {
        std::size_t close = open;
        for (int depth = 0; close < dacl->size(); ++close) {
            depth += (*dacl)[close] == '(' ? 1 : (*dacl)[close] == ')' ? -1 : 0;
            if (depth == 0) break;
        }
        if (close == dacl->size()) return {descriptor.owner, true, {}};
        descriptor.aces.push_back(ParseAce(dacl->substr(open + 1, close - open - 1)));
        open = dacl->find('(', close);
    }
    descriptor.everyone = false;
    return descriptor;
}

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
        if (sid == account.sid || (!account.alias.empty() && sid == account.alias)) return account.trust;
    }
    return std::nullopt;
}

std::optional<RightsFinding> JudgeRights(std::string_view sddl, Guarded guarded, AccountPlacer& placer) {
    const Descriptor descriptor = Parse(sddl);
    std::optional<RightsFinding> worst;
    const auto consider = [&](const std::string& sid, std::optional<Exposure> exposure) {
        if (!exposure) return;
        const auto known = WellKnownTrust(sid);
        const Trust trust = known ? *known : placer.TrustOf(sid);
        if (trust == Trust::Trusted) return;
        const RightsFinding finding{{}, sid, {}, {}, *exposure, trust};
        if (worst && (worst->Refused() > finding.Refused() ||
                      (worst->Refused() == finding.Refused() && worst->exposure <= *exposure))) {
            return;
        }
        worst = finding;
    };
    consider(descriptor.owner, Exposure::Owns);
    if (guarded == Guarded::Entry) return worst;
    if (descriptor.everyone) consider("WD", Exposure::ChangesPermissions);
    for (const Ace& ace : descriptor.aces) {
        if (ace.allows && !ace.inheritOnly) consider(ace.sid, ExposureOf(ace.mask, guarded));
    }
    return worst;
}

}  // namespace selvane
