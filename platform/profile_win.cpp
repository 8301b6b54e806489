#include "platform/profile_win.h"

#include "platform/text_encoding.h"

namespace selvane {

CallResult WriteProfileString(const std::string& file, const std::string& section,
                              const std::optional<std::string>& key, const std::optional<std::string>& value) {
    const auto ansiFile = Utf8ToAnsi(file);
    const auto ansiSection = Utf8ToAnsi(section);
    const auto ansiKey = Utf8ToAnsi(key.value_or(""));
    const auto ansiValue = Utf8ToAnsi(value.value_or(""));
    if (!ansiFile || !ansiSection || !ansiKey || !ansiValue) {
        return CallFailure{"WideCharToMultiByte", ERROR_NO_UNICODE_TRANSLATION};
    }
    if (WritePrivateProfileStringA(ansiSection->c_str(), key ? ansiKey->c_str() : nullptr,
                                   value ? ansiValue->c_str() : nullptr, ansiFile->c_str())) {
        return std::nullopt;
    }
    return CallFailure{"WritePrivateProfileStringA", GetLastError()};
}

}  // namespace selvane
