// A DACL is read entry by entry as the system holds it. Anyone with
// WRITE_DAC can write a conditional entry whose condition holds "(" or
// words such as NO_ACCESS_CONTROL: text of that kind misled a reading of
// SDDL, never the entries. Built in memory: Wine keeps no DACL set on a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>
#include <sddl.h>

#include "platform/file_security_win.h"

namespace selvane {
namespace {

std::vector<BYTE> Sid(const char* text) {
    PSID sid = nullptr;
    EXPECT_TRUE(ConvertStringSidToSidA(text, &sid));
    std::vector<BYTE> bytes(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
    LocalFree(sid);
    return bytes;
}

// An entry of the given type: its header, mask, the bytes before the SID (an
// object entry's flags and GUIDs), the SID, and what follows (a condition).
std::vector<BYTE> Ace(BYTE type, BYTE flags, DWORD mask, const std::vector<BYTE>& beforeSid, const char* sid,
                      const std::vector<BYTE>& after) {
    std::vector<BYTE> ace(sizeof(ACE_HEADER) + sizeof mask);
    std::memcpy(ace.data() + sizeof(ACE_HEADER), &mask, sizeof mask);
    ace.insert(ace.end(), beforeSid.begin(), beforeSid.end());
    const auto sidBytes = Sid(sid);
    ace.insert(ace.end(), sidBytes.begin(), sidBytes.end());
    ace.insert(ace.end(), after.begin(), after.end());
    ace.resize((ace.size() + 3) & ~std::size_t{3});
    const ACE_HEADER header{type, flags, static_cast<WORD>(ace.size())};
    std::memcpy(ace.data(), &header, sizeof header);
    return ace;
}

std::string Text(const SecurityDescriptor& read) {
    std::string text = "owner " + read.owner;
    if (!read.dacl) return text + "; no DACL";
    constexpr const char* kTypes[] = {"allow", "deny", "unknown"};
    char mask[16];
    for (const AccessEntry& entry : *read.dacl) {
        std::snprintf(mask, sizeof mask, "%lx", entry.mask);
        text += std::string("; ") + kTypes[static_cast<int>(entry.type)] + " " + std::to_string(entry.flags) + " " +
                mask + " " + entry.sid;
    }
    return text;
}

TEST(Descriptor, EntriesAreReadAsTheSystemHoldsThem) {
    // "artx" and a condition, (Member_of {SID(BA)}) || (@User.x == "a) NO_ACCESS_CONTROL (").
    std::vector<BYTE> condition = {'a', 'r', 't', 'x', 0x10, 0x1a, 0, 0, 0};
    for (const char c : std::string_view("a) NO_ACCESS_CONTROL (")) condition.push_back(static_cast<BYTE>(c));
    DWORD objectFlags = ACE_OBJECT_TYPE_PRESENT;
    std::vector<BYTE> objectPart(sizeof objectFlags + sizeof(GUID), 0x5A);
    std::memcpy(objectPart.data(), &objectFlags, sizeof objectFlags);
    std::vector<std::vector<BYTE>> aces = {
        Ace(ACCESS_ALLOWED_CALLBACK_ACE_TYPE, 0, FILE_ALL_ACCESS, {}, "S-1-5-21-1-2-3-1001", condition),
        Ace(ACCESS_ALLOWED_ACE_TYPE, 0, FILE_ALL_ACCESS, {}, "S-1-5-21-1-2-3-1002", {}),
        Ace(ACCESS_DENIED_CALLBACK_ACE_TYPE, 0, DELETE, {}, "S-1-1-0", condition),
        Ace(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0, FILE_WRITE_DATA, objectPart, "S-1-5-32-545", {}),
        Ace(ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE, GENERIC_ALL, {}, "S-1-3-0", {}),
        Ace(SYSTEM_AUDIT_ACE_TYPE, 0, FILE_ALL_ACCESS, {}, "S-1-5-32-545", {}),
    };
    alignas(ACL) BYTE aclBuffer[1024];
    auto* acl = reinterpret_cast<PACL>(aclBuffer);
    ASSERT_TRUE(InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION_DS));
    for (auto& ace : aces) {
        ASSERT_TRUE(AddAce(acl, ACL_REVISION_DS, MAXDWORD, ace.data(), static_cast<DWORD>(ace.size())));
    }
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    auto administrators = Sid("S-1-5-32-544");
    ASSERT_TRUE(SetSecurityDescriptorOwner(&descriptor, administrators.data(), FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
    EXPECT_EQ(Text(DescriptorFrom(&descriptor)),
              "owner S-1-5-32-544; allow 0 1f01ff S-1-5-21-1-2-3-1001; allow 0 1f01ff S-1-5-21-1-2-3-1002; "
              "deny 0 10000 S-1-1-0; allow 0 2 S-1-5-32-545; allow 9 10000000 S-1-3-0; unknown 0 0 ");
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    EXPECT_EQ(Text(DescriptorFrom(&descriptor)), "owner S-1-5-32-544; no DACL");
}

}  // namespace
}  // namespace selvane
