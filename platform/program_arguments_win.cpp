#include "platform/program_arguments_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/command_line_text.h"
#include "platform/program_path_win.h"
#include "platform/wide_text_win.h"

namespace selvane {
namespace {

// A path as Windows resolves it: made absolute from the current directory,
// short (8.3) names made long.
std::wstring Resolved(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = {};
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full)) return path;
    wchar_t longForm[MAX_PATH * 4] = {};
    length = GetLongPathNameW(full, longForm, static_cast<DWORD>(std::size(longForm)));
    return length == 0 || length >= std::size(longForm) ? std::wstring(full) : std::wstring(longForm);
}

}  // namespace

std::vector<std::string> ProgramArguments() {
    const std::wstring_view commandLine = GetCommandLineW();
    std::wstring self;
    // As CreateProcess completes a name without an extension.
    const auto namesThisProgram = [&](std::wstring_view candidate) {
        if (self.empty()) self = Resolved(ProgramPath().value);
        for (const std::wstring& name : {std::wstring(candidate), std::wstring(candidate) + L".exe"}) {
            if (CompareStringOrdinal(Resolved(name).c_str(), -1, self.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
        }
        return false;
    };
    const std::wstring_view argumentText = ArgumentText(commandLine, namesThisProgram);
    // shell32 is loaded only when there is something to split: a start
    // without arguments stays as quick as ever.
    if (argumentText.empty()) return {};
    // A stand-in for the name lets CommandLineToArgvW split the rest by its
    // rules for arguments.
    const std::wstring line = L"x " + std::wstring(argumentText);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::string> result;
    for (int i = 1; arguments && i < count; ++i) result.push_back(Narrow(arguments[i]));
    LocalFree(arguments);
    return result;
}

}  // namespace selvane
