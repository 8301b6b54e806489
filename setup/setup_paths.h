#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/settings_plan.h"

namespace selvane {

// The ANSI profile functions and CreateProcess take at most MAX_PATH (260)
// characters with the closing NUL; a current directory also needs room for
// the backslash Windows adds.
inline constexpr std::size_t kMaxPathLength = 259;
inline constexpr std::size_t kMaxDirectoryLength = 258;

// Every file, folder and command line a setup run uses.
struct SetupPaths {
    std::string appFolder;
    std::string database;              // ORNA.mdb, which the run reads
    std::vector<ProfileWrite> writes;  // orna_remote.ini, then win.ini
    std::string answerFile;
    std::string batchFile;
    std::string commandInterpreter;
    std::optional<std::string> batchCommandLine;  // none when cmd.exe would misread the path
    std::string serviceFolder;
    std::string installer;
    std::string installerCommandLine;
};

SetupPaths PlanSetupPaths(std::string_view folderBoxText, std::string_view appFolder,
                          std::string_view windowsDirectory, std::string_view systemDirectory);

// The length of UTF-8 text in UTF-16 code units, as Windows counts a path.
std::size_t Utf16Length(std::string_view utf8);

}  // namespace selvane
