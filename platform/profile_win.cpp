#include "platform/profile_win.h"
#include "platform/text_encoding.h"

namespace selvane {

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

}  // namespace selvane
