#include "platform/profile_win.h"

#include "platform/text_encoding.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

// The names GetPrivateProfileString lists (of the sections, or of the keys
// of a section), each ended by a NUL.
std::string ProfileNames(const char* section, const std::string& file) {
    std::string names(1024, '\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section, nullptr, "", names.data(),
                                                      static_cast<DWORD>(names.size()), file.c_str());
        if (length + 2 < names.size()) return names.substr(0, length);
        names.resize(names.size() * 2);
    }
}

bool HasName(const std::string& names, const std::string& name) {
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        if (lstrcmpiA(names.c_str() + at, name.c_str()) == 0) return true;
    }
    return false;
}

}  // namespace

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    const auto ansiFile = Utf8ToAnsi(file);
    const auto ansiSection = Utf8ToAnsi(section);
    const auto ansiKey = Utf8ToAnsi(key);
    const auto ansiValue = Utf8ToAnsi(value);
    if (!ansiFile || !ansiSection || !ansiKey || !ansiValue) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    return WritePrivateProfileStringA(ansiSection->c_str(), ansiKey->c_str(), ansiValue->c_str(),
                                      ansiFile->c_str()) != FALSE;
}

bool DeleteProfileString(const std::string& file, const std::string& section, const std::string& key) {
    const auto ansiFile = Utf8ToAnsi(file);
    const auto ansiSection = Utf8ToAnsi(section);
    const auto ansiKey = Utf8ToAnsi(key);
    if (!ansiFile || !ansiSection || !ansiKey) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    return WritePrivateProfileStringA(ansiSection->c_str(), key.empty() ? nullptr : ansiKey->c_str(), nullptr,
                                      ansiFile->c_str()) != FALSE;
}

Checked<ProfileEntry> ReadProfileString(const std::string& file, const std::string& section, const std::string& key) {
    const auto ansiFile = Utf8ToAnsi(file);
    const auto ansiSection = Utf8ToAnsi(section);
    const auto ansiKey = Utf8ToAnsi(key);
    if (!ansiFile || !ansiSection || !ansiKey) return {{}, CallFailure{"WideCharToMultiByte", SystemErrorText(ERROR_NO_UNICODE_TRANSLATION)}};
    const std::wstring wideFile = Widen(file);
    // Nothing there, nothing reachable there, or a folder: nothing to read
    // (writing it will say what is wrong).
    const DWORD attributes = GetFileAttributesW(wideFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    // Opened once to be sure it can be read at all.
    const auto readable = CHECK_FILE(CreateFileW, wideFile.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!readable) return {{}, readable.failure};

    Checked<ProfileEntry> read;
    read.value.fileExists = true;
    read.value.sectionExists = HasName(ProfileNames(nullptr, *ansiFile), *ansiSection);
    if (!read.value.sectionExists || !HasName(ProfileNames(ansiSection->c_str(), *ansiFile), *ansiKey)) return read;
    std::string value(1024, '\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(ansiSection->c_str(), ansiKey->c_str(), "", value.data(),
                                                      static_cast<DWORD>(value.size()), ansiFile->c_str());
        if (length + 1 < value.size()) {
            read.value.value = AnsiToUtf8(value.substr(0, length));
            return read;
        }
        value.resize(value.size() * 2);
    }
}

}  // namespace selvane
