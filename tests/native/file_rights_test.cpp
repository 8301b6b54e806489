#include "setup/file_rights.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

// A domain administrator, a domain account whose domain cannot be reached;
// every other account that is not well known is nobody's administrator.
class Domain : public AccountPlacer {
public:
    Trust TrustOf(const std::string& sid) override {
        if (sid == "S-1-5-21-1-2-3-500") return Trust::Trusted;
        if (sid == "S-1-5-21-9-9-9-1107") return Trust::Unknown;
        return Trust::Untrusted;
    }
};

std::string Verdict(std::string_view sddl, Guarded guarded) {
    Domain domain;
    const auto finding = JudgeRights(sddl, guarded, domain);
    if (!finding) return "trusted";
    constexpr const char* kExposures[] = {"owns", "changes permissions", "deletes", "writes", "creates entries"};
    return std::string(finding->Refused() ? "refused: " : "warned: ") + finding->sid + " " +
           kExposures[static_cast<int>(finding->exposure)];
}

TEST(FileRights, VerdictsOnDescriptors) {
    struct Case {
        const char* what;
        const char* sddl;
        Guarded guarded;
        const char* verdict;
    };
    const Case cases[] = {
        // A folder made directly under C:\ on a client edition, and a file in it.
        {"client folder", "O:BAD:AI(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)"
                          "(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)(A;OICIID;0x1200a9;;;BU)",
         Guarded::Folder, "refused: AU deletes"},
        {"client file", "O:BAD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1301bf;;;AU)(A;ID;0x1200a9;;;BU)",
         Guarded::Program, "refused: AU deletes"},
        // Windows Server: Users may add files and folders, and own what they add.
        {"server folder", "O:BAD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)(A;CIID;LC;;;BU)"
                          "(A;CIID;DC;;;BU)(A;OICIIOID;GA;;;CO)",
         Guarded::Folder, "warned: BU creates entries"},
        {"server file", "O:BAD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)", Guarded::Program, "trusted"},
        {"a file a user planted", "O:BUD:AI(A;ID;FA;;;BU)(A;ID;FA;;;SY)", Guarded::Entry, "refused: BU owns"},
        {"C:\\ on a client", "O:SYD:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)(A;OICI;0x1200a9;;;BU)",
         Guarded::FolderAbove, "trusted"},
        {"a folder above that Users may rename", "O:BAD:(A;;FA;;;BA)(A;;SD;;;BU)", Guarded::FolderAbove,
         "refused: BU deletes"},
        {"a folder above whose entries Users may delete", "O:BAD:(A;;FA;;;BA)(A;;DT;;;BU)", Guarded::FolderAbove,
         "refused: BU deletes"},
        {"foreign owner", "O:S-1-5-21-1-2-3-1001D:(A;;FA;;;SY)(A;;FA;;;BA)", Guarded::Program,
         "refused: S-1-5-21-1-2-3-1001 owns"},
        {"a domain administrator owns it", "O:S-1-5-21-1-2-3-500D:(A;;FA;;;S-1-5-21-1-2-3-500)", Guarded::Program,
         "trusted"},
        {"an owner the domain cannot place", "O:S-1-5-21-9-9-9-1107D:(A;;FA;;;BA)", Guarded::Program,
         "refused: S-1-5-21-9-9-9-1107 owns"},
        {"Everyone may write the file", "O:BAD:(A;;FA;;;BA)(A;;FW;;;WD)", Guarded::Program, "refused: WD writes"},
        {"Everyone may write the folder as Wine maps o+w", "O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1301ff;;;WD)",
         Guarded::Folder, "refused: WD deletes"},
        {"Everyone may only add to the folder", "O:BAD:(A;;FA;;;BA)(A;;FW;;;WD)", Guarded::Folder,
         "warned: WD creates entries"},
        {"Users may change the permissions", "O:BAD:(A;;FA;;;BA)(A;;WD;;;BU)", Guarded::Program,
         "refused: BU changes permissions"},
        {"a deny beside an allow", "O:BAD:(D;;FA;;;WD)(A;;FA;;;WD)", Guarded::Program,
         "refused: WD changes permissions"},
        {"inherit-only and CREATOR OWNER", "O:BAD:(A;OICIIO;FA;;;WD)(A;OICIIO;GA;;;CO)(A;;FA;;;BA)", Guarded::Folder,
         "trusted"},
        {"a NULL DACL", "O:BAD:NO_ACCESS_CONTROL", Guarded::Program, "refused: WD changes permissions"},
        {"no DACL at all", "O:BA", Guarded::Program, "refused: WD changes permissions"},
        {"an empty DACL", "O:BAD:P", Guarded::Program, "trusted"},
        {"text that cannot be read", "O:BAD:(A;;FA;;;BA", Guarded::Program, "refused: WD changes permissions"},
        {"a right not known here", "O:BAD:(A;;ZZ;;;BU)", Guarded::Program, "refused: BU changes permissions"},
        {"a refusal outweighs a warning", "O:BAD:(A;;LC;;;BU)(A;;SD;;;S-1-5-21-1-2-3-1001)", Guarded::Folder,
         "refused: S-1-5-21-1-2-3-1001 deletes"},
        {"a conditional entry", "O:BAD:(XA;;FA;;;S-1-5-21-1-2-3-1001;(Member_of {SID(BA)}))", Guarded::Program,
         "refused: S-1-5-21-1-2-3-1001 changes permissions"},
    };
    for (const Case& c : cases) EXPECT_EQ(Verdict(c.sddl, c.guarded), c.verdict) << c.what;
}

TEST(FileRights, WellKnownAccountsByAliasOrSid) {
    EXPECT_EQ(WellKnownTrust("S-1-5-18"), Trust::Trusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"), Trust::Trusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-11"), Trust::Untrusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-21-1-2-3-500"), std::nullopt);
}

}  // namespace
}  // namespace selvane
