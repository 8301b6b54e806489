#include "platform/file_security_win.h"

#include <windows.h>
#include <aclapi.h>
#include <lm.h>
#include <sddl.h>

#include "platform/unique_handle_win.h"
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

}  // namespace

Checked<std::wstring> SecurityDescriptorText(const std::wstring& path) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    auto file = CHECK_FILE(CreateFileW, path.c_str(), READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (!file) return {{}, file.failure};
    constexpr SECURITY_INFORMATION kWhat = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        GetSecurityInfo(file.value.get(), SE_FILE_OBJECT, kWhat, nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return {{}, CallFailure{"GetSecurityInfo", error}};
    const UniqueLocal ownedDescriptor(descriptor);
    wchar_t* text = nullptr;
    if (auto failure = CHECK_BOOL(ConvertSecurityDescriptorToStringSecurityDescriptorW, descriptor, SDDL_REVISION_1,
                                  kWhat, &text, nullptr)) {
        return {{}, failure};
    }
    const UniqueLocal ownedText(text);
    return {text, std::nullopt};
}

Checked<std::vector<std::wstring>> FolderEntryNames(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return {{}, LastErrorFailure("FindFirstFileW")};
    Checked<std::vector<std::wstring>> names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.value.push_back(name);
    } while (FindNextFileW(find.get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) names.failure = LastErrorFailure("FindNextFileW");
    return names;
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
