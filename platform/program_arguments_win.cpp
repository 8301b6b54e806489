#include "platform/program_path_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/command_line_text.h"
#include "platform/wide_text_win.h"

namespace selvane {

std::vector<std::string> ProgramArguments() {
    const std::wstring_view commandLine = GetCommandLineW();
    std::wstring self;
    // As CreateProcess completes a name without an extension.
    const auto namesThisProgram = [&](std::wstring_view candidate) {
        if (self.empty()) self = ResolvedPath(ProgramPath().value);
        for (const std::wstring& name : {std::wstring(candidate), std::wstring(candidate) + L".exe"}) {
            if (CompareStringOrdinal(ResolvedPath(name).c_str(), -1, self.c_str(), -1, TRUE) == CSTR_EQUAL) return true;
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
