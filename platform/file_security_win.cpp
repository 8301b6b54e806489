#include "platform/file_security_win.h"

#include <windows.h>
#include <aclapi.h>
#include <lm.h>
#include <sddl.h>

#include <algorithm>
#include <cstring>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

void FreeLocal(void* memory) { LocalFree(memory); }
void FreeNetBuffer(void* buffer) { NetApiBufferFree(buffer); }
void CloseFind(HANDLE find) { FindClose(find); }
using UniqueLocal = UniqueAny<void*, FreeLocal>;
using UniqueNetBuffer = UniqueAny<void*, FreeNetBuffer>;
using UniqueFind = UniqueAny<HANDLE, CloseFind, InvalidFileHandle>;

struct LookedUp {
    std::wstring name;  // "DOMAIN\name"
    SID_NAME_USE use = SidTypeUnknown;
};
std::optional<LookedUp> LookUp(PSID sid) {
    wchar_t name[256], domain[256];
    DWORD nameSize = 256, domainSize = 256;
    LookedUp account;
    if (!LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &account.use)) return std::nullopt;
    account.name = *domain ? std::wstring(domain) + L"\\" + name : name;
    return account;
}

bool IsOwnAccount(PSID sid) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const UniqueHandle owned(token);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    return GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
           EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, sid);
}

std::string SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return {};
    const UniqueLocal owned(text);
    return Narrow(text);
}

// An allow or deny entry of any form: the mask follows the header, and the
// SID the mask, or, in an object entry, the GUIDs its flags say are there.
AccessEntry EntryOf(const BYTE* ace) {
    ACE_HEADER header;
    std::memcpy(&header, ace, sizeof header);
    AccessEntry entry{AceType::Unknown, header.AceFlags, 0, {}};
    bool object = false;
    switch (header.AceType) {
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE: object = true; [[fallthrough]];
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: entry.type = AceType::Allow; break;
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: object = true; [[fallthrough]];
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE: entry.type = AceType::Deny; break;
    default: return entry;
    }
    std::size_t sidAt = sizeof header + sizeof(ACCESS_MASK);
    if (object && header.AceSize >= sidAt + sizeof(DWORD)) {
        DWORD objectFlags = 0;
        std::memcpy(&objectFlags, ace + sidAt, sizeof objectFlags);
        sidAt += sizeof objectFlags + (objectFlags & ACE_OBJECT_TYPE_PRESENT ? sizeof(GUID) : 0) +
                 (objectFlags & ACE_INHERITED_OBJECT_TYPE_PRESENT ? sizeof(GUID) : 0);
    }
    PSID sid = const_cast<BYTE*>(ace + sidAt);
    if (header.AceSize < sidAt + 8 || !IsValidSid(sid) || sidAt + GetLengthSid(sid) > header.AceSize) {
        return {AceType::Unknown, header.AceFlags, 0, {}};
    }
    std::memcpy(&entry.mask, ace + sizeof header, sizeof(ACCESS_MASK));
    entry.sid = SidText(sid);
    return entry;
}

}  // namespace

Checked<SecurityDescriptor> SecurityOfObject(const std::wstring& path) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    constexpr DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    auto file = CHECK_FILE(CreateFileW, LiteralPath(path).c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, kShareAll,
                           nullptr, OPEN_EXISTING, flags, nullptr);
    if (!file) return {{}, file.failure};
    constexpr SECURITY_INFORMATION kWhat = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        GetSecurityInfo(file.value.get(), SE_FILE_OBJECT, kWhat, nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return {{}, CallFailure{"GetSecurityInfo", error}};
    const UniqueLocal ownedDescriptor(descriptor);
    Checked<SecurityDescriptor> read{DescriptorFrom(descriptor), std::nullopt};
    // Its attributes alone: GetFileInformationByHandle would ask for the volume too, slow on Wine.
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(file.value.get(), FileBasicInfo, &basic, sizeof basic)) {
        return {{}, LastErrorFailure("GetFileInformationByHandleEx")};
    }
    read.value.isReparsePoint = (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return read;
}

SecurityDescriptor DescriptorFrom(PSECURITY_DESCRIPTOR descriptor) {
    SecurityDescriptor read;
    PSID owner = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner) read.owner = SidText(owner);
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl) return read;
    read.dacl.emplace();
    for (DWORD at = 0; at < dacl->AceCount; ++at) {
        void* ace = nullptr;
        const bool found = GetAce(dacl, at, &ace);
        read.dacl->push_back(found ? EntryOf(static_cast<const BYTE*>(ace)) : AccessEntry{AceType::Unknown, 0, 0, {}});
    }
    return read;
}

Checked<std::vector<FolderEntry>> FolderEntryList(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const UniqueFind find(FindFirstFileExW(LiteralPath(folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return {{}, LastErrorFailure("FindFirstFileExW")};
    Checked<std::vector<FolderEntry>> entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") entries.value.push_back({name, found.dwFileAttributes});
    } while (FindNextFileW(find.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) entries.failure = LastErrorFailure("FindNextFileW");
    return entries;
}

std::wstring LiteralPath(const std::wstring& path) {
    // Only a plain full path can be named so: the form passes "/", "." and ".." through unread.
    if (path.find(L'/') != std::wstring::npos || path.find(L"\\\\", 1) != std::wstring::npos) return path;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring_view segment = std::wstring_view(path).substr(start, end - start);
        if (segment == L"." || segment == L"..") return path;
        start = end + 1;
    }
    if (path.starts_with(L"\\\\")) {
        return path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\") ? path : L"\\\\?\\UNC" + path.substr(1);
    }
    const bool absolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    return absolute ? L"\\\\?\\" + path : path;
}

std::optional<bool> IsOwnAccountOrAdministrator(const std::wstring& sidText) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(sidText.c_str(), &sid)) return false;  // no account at all
    const UniqueLocal ownedSid(sid);
    if (IsOwnAccount(sid)) return true;
    const auto account = LookUp(sid);
    // An account that no longer exists is nobody's administrator.
    if (!account) return GetLastError() == ERROR_NONE_MAPPED ? std::optional(false) : std::nullopt;
    alignas(SID) BYTE administratorsSid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof administratorsSid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administratorsSid, &sidSize)) return std::nullopt;
    const auto administrators = LookUp(administratorsSid);  // its name is the system language's
    if (!administrators) return std::nullopt;
    const std::wstring group = administrators->name.substr(administrators->name.find(L'\\') + 1);
    BYTE* buffer = nullptr;
    DWORD read = 0, total = 0;
    if (account->use == SidTypeUser) {
        // Through the domain's groups too.
        if (NetUserGetLocalGroups(nullptr, account->name.c_str(), 0, LG_INCLUDE_INDIRECT, &buffer, MAX_PREFERRED_LENGTH,
                                  &read, &total) != NERR_Success) {
            return std::nullopt;
        }
        const UniqueNetBuffer owned(buffer);
        const auto* groups = reinterpret_cast<LOCALGROUP_USERS_INFO_0*>(buffer);
        for (DWORD at = 0; at < read; ++at) {
            if (CompareStringOrdinal(groups[at].lgrui0_name, -1, group.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
        }
        return false;
    }
    // A group counts only as a member of Administrators itself.
    if (NetLocalGroupGetMembers(nullptr, group.c_str(), 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr) !=
        NERR_Success) {
        return std::nullopt;
    }
    const UniqueNetBuffer owned(buffer);
    const auto* members = reinterpret_cast<LOCALGROUP_MEMBERS_INFO_0*>(buffer);
    for (DWORD at = 0; at < read; ++at) {
        if (EqualSid(members[at].lgrmi0_sid, sid)) return true;
    }
    return false;
}

AccountNames NamesOfAccount(const std::wstring& sidText) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(sidText.c_str(), &sid)) return {{}, sidText};
    const UniqueLocal ownedSid(sid);
    wchar_t* full = nullptr;
    AccountNames names{{}, sidText};
    if (ConvertSidToStringSidW(sid, &full)) names.sid = full;
    const UniqueLocal ownedFull(full);
    if (const auto account = LookUp(sid)) names.name = account->name;
    return names;
}

}  // namespace selvane
