#include "setup/file_rights.h"

#include <gtest/gtest.h>

#include "tests/native/descriptors.h"

namespace selvane {
namespace {

using namespace testing;

// A domain administrator, a domain account whose domain cannot be reached;
// every other account that is not well known is nobody's administrator.
class Domain : public AccountPlacer {
public:
    Trust TrustOf(const std::string& sid) override {
        if (sid == "S-1-5-21-1-2-3-500") return Trust::Trusted;
        if (sid == kUnplacedUser) return Trust::Unknown;
        return Trust::Untrusted;
    }
};

std::string Verdict(const SecurityDescriptor& descriptor, Guarded guarded) {
    Domain domain;
    const auto finding = JudgeRights(descriptor, guarded, domain);
    if (!finding) return "trusted";
    constexpr const char* kExposures[] = {"owns", "changes permissions", "deletes", "writes", "creates entries"};
    return finding->sid + " " + kExposures[static_cast<int>(finding->exposure)] +
           (finding->readsOrRuns ? ", reads" : "");
}

TEST(FileRights, VerdictsOnDescriptors) {
    constexpr unsigned kFolderInherited = kObjects | kContainers | kInherited;
    const auto clientFolder =
        Owned(kAdministrators, {Allow(kSystem, kFullControl, kInherited), Allow(kAdministrators, kFullControl, kInherited),
                                Allow(kAuthenticatedUsers, kModify, kInherited),
                                Allow(kUsers, kReadRun, kFolderInherited)});
    // Windows Server: Users may add files and folders, and own what they add.
    const auto serverFolder = Owned(
        kAdministrators, {Allow(kSystem, kFullControl, kFolderInherited), Allow(kAdministrators, kFullControl, kFolderInherited),
                          Allow(kUsers, kReadRun, kFolderInherited), Allow(kUsers, kAddFile, kContainers | kInherited),
                          Allow(kUsers, kAddFolder, kContainers | kInherited),
                          Allow(kCreatorOwner, kGenericAll, kFolderInherited | kInheritOnly)});
    struct Case {
        const char* what;
        SecurityDescriptor descriptor;
        Guarded guarded;
        const char* verdict;
    };
    const Case cases[] = {
        {"client folder", clientFolder, Guarded::Folder, "S-1-5-11 deletes, reads"},
        {"server folder", serverFolder, Guarded::Folder, "S-1-5-32-545 creates entries, reads"},
        {"server folder as a folder above", serverFolder, Guarded::FolderAbove, "trusted"},
        {"server file", AdministratorsOnly(), Guarded::Program, "trusted"},
        {"a file a user planted", Owned(kUsers, {Allow(kUsers, kFullControl)}), Guarded::Entry, "S-1-5-32-545 owns"},
        {"Administrators' DLL that Users may modify", Owned(kAdministrators, {Allow(kUsers, kModify)}),
         Guarded::Program, "S-1-5-32-545 deletes, reads"},
        {"the same as data, judged by its owner", Owned(kAdministrators, {Allow(kUsers, kModify)}), Guarded::Entry,
         "trusted"},
        {"a folder above that Users may rename", Owned(kAdministrators, {Allow(kUsers, kDelete)}), Guarded::FolderAbove,
         "S-1-5-32-545 deletes"},
        {"a folder above whose entries Users may delete", Owned(kAdministrators, {Allow(kUsers, kDeleteChild)}),
         Guarded::FolderAbove, "S-1-5-32-545 deletes"},
        {"foreign owner", Owned(kDomainUser, {Allow(kAdministrators, kFullControl)}), Guarded::Program,
         "S-1-5-21-1-2-3-1001 owns"},
        {"a domain administrator owns it", Owned("S-1-5-21-1-2-3-500", {}), Guarded::Program, "trusted"},
        {"an owner the domain cannot place", Owned(kUnplacedUser, {}), Guarded::Program, "S-1-5-21-9-9-9-1107 owns"},
        {"Everyone may write the file", Owned(kAdministrators, {Allow(kEveryone, kWrite)}), Guarded::Program,
         "S-1-1-0 writes"},
        {"Users may change the permissions", Owned(kAdministrators, {Allow(kUsers, kWriteDac)}), Guarded::Program,
         "S-1-5-32-545 changes permissions"},
        {"a deny beside an allow", Owned(kAdministrators, {Deny(kEveryone, kFullControl), Allow(kEveryone, kFullControl)}),
         Guarded::Program, "S-1-1-0 changes permissions, reads"},
        {"inherit-only entries", Owned(kAdministrators, {Allow(kEveryone, kFullControl, kFolderInherited | kInheritOnly)}),
         Guarded::Folder, "trusted"},
        {"CREATOR OWNER on the object itself", Owned(kAdministrators, {Allow(kCreatorOwner, kFullControl)}),
         Guarded::Program, "trusted"},
        {"OWNER RIGHTS with a trusted owner", Owned(kAdministrators, {Allow(kOwnerRights, kFullControl)}),
         Guarded::Program, "trusted"},
        {"OWNER RIGHTS with another owner", Owned(kDomainUser, {Allow(kOwnerRights, kReadRun)}), Guarded::Program,
         "S-1-5-21-1-2-3-1001 owns"},
        {"a NULL DACL", {kAdministrators, std::nullopt}, Guarded::Program, "S-1-1-0 changes permissions"},
        {"an empty DACL", Owned(kAdministrators, {}), Guarded::Program, "trusted"},
        {"an entry of a type no DACL holds", Owned(kAdministrators, {{AceType::Unknown, 0, 0, ""}}), Guarded::Program,
         "S-1-1-0 changes permissions"},
        {"the worst of two accounts", Owned(kAdministrators, {Allow(kUsers, kAddFile), Allow(kDomainUser, kDelete)}),
         Guarded::Folder, "S-1-5-21-1-2-3-1001 deletes"},
        {"a reparse point a user owns", {kUsers, std::vector<AccessEntry>{}, true}, Guarded::FolderAbove,
         "S-1-5-32-545 owns"},
    };
    for (const Case& c : cases) EXPECT_EQ(Verdict(c.descriptor, c.guarded), c.verdict) << c.what;
}

TEST(FileRights, WellKnownAccounts) {
    EXPECT_EQ(WellKnownTrust("S-1-5-18"), Trust::Trusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"), Trust::Trusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-11"), Trust::Untrusted);
    EXPECT_EQ(WellKnownTrust("S-1-5-21-1-2-3-500"), std::nullopt);
}

TEST(FileRights, WhatWindowsRunsOrLoads) {
    for (const char* name : {"install.EXE", "acl.bat", "version.dll", "x.ocx", "app.exe.manifest", "app.exe.config",
                             "install.exe.local", "tool.py"}) {
        EXPECT_TRUE(IsRunOrLoaded(name, ".COM;.EXE;.PY")) << name;
    }
    for (const char* name : {"ORNA.mdb", "readme.txt", "dll", "notes.dll.txt"}) {
        EXPECT_FALSE(IsRunOrLoaded(name, ".COM;.EXE;.PY")) << name;
    }
}

}  // namespace
}  // namespace selvane
