#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// What the command line asks for. No arguments: the window, as always.
struct Switches {
    bool silent = false;  // /VERYSILENT or /SILENT
    bool help = false;    // /? or /HELP
    bool wait = false;
    bool whatIf = false;
    bool verify = false;  // only tell whether the server is set up as a run would set it
    std::optional<std::string> dir;
    std::optional<std::string> log;
};

struct ParsedSwitches {
    Switches switches;
    std::optional<std::string> error;  // why the command line is refused (Japanese)
};

// Reads the arguments after the program's name, as CommandLineToArgvW splits
// them. A switch starts with '/' or '-', its name is compared without regard
// to case, and a value follows the first '='. /DIR is kept with backslashes,
// as the folder box would hold it: Windows takes '/' for a separator too.
ParsedSwitches ParseSwitches(const std::vector<std::string>& arguments);

// X:\..., or \\server\share\...: the forms /DIR takes.
bool IsAbsoluteFolderPath(std::string_view path);

// Whether a log file would bear the name of a file the run writes or starts
// (or of the program itself), wherever it lies: a log must never be written
// into one of them, and a name is all that is known before a window run
// has its folder.
bool NamesARunFile(std::string_view logPath, const std::vector<std::string>& runFiles);

}  // namespace selvane
