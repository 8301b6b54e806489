#include "platform/file_identity_win.h"

#include "platform/unique_handle_win.h"
#include "platform/win_error.h"

namespace selvane {

std::string FileIdentity::Text() const {
    const auto hex = [](DWORD value) {
        std::string digits;
        for (int shift = 28; shift >= 0; shift -= 4) digits += "0123456789ABCDEF"[(value >> shift) & 0xF];
        return digits;
    };
    return hex(volume) + "-" + hex(indexHigh) + hex(indexLow);
}

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(file, &information)) return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

std::optional<FileIdentity> IdentityOfPath(const std::wstring& path) {
    // No access to the contents is needed, so another program's hold does not stand in the way.
    const UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::nullopt;
    return IdentityOf(file.get());
}

Checked<std::wstring> FinalPath(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return {{}, LastErrorFailure("CreateFileW")};
    wchar_t final[32768];
    const DWORD length = GetFinalPathNameByHandleW(file.get(), final, 32768, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= 32768) return {{}, LastErrorFailure("GetFinalPathNameByHandleW")};
    std::wstring found(final, length);
    if (found.starts_with(L"\\\\?\\UNC\\")) return {L"\\" + found.substr(7), std::nullopt};
    if (found.starts_with(L"\\\\?\\")) found.erase(0, 4);
    return {found, std::nullopt};
}

}  // namespace selvane
