#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/enum_table.h"

namespace selvane {

// The kind of run a command line asks for: the setup window (no switches:
// as always), a run without one, one that only says what it would do, or
// one that only tells whether the server is set up.
enum class RunMode { Window, Unattended, WhatIf, Verify, Count };
struct RunModeTraits {
    RunMode mode;
    bool showsWindow;   // the setup window, and message boxes
    bool keepsLog;      // a log without /LOG too
    bool recordsEvent;  // one event in the Application log
};
inline constexpr RunModeTraits kRunModes[] = {
    {RunMode::Window, true, false, true},
    {RunMode::Unattended, false, true, true},
    {RunMode::WhatIf, false, true, false},
    {RunMode::Verify, false, false, false},
};
static_assert(RowsFollowEnum(kRunModes, &RunModeTraits::mode));

// What the command line asks for.
struct Switches {
    RunMode mode = RunMode::Window;  // from /VERYSILENT (/SILENT), /WHATIF and /VERIFY
    bool help = false;               // /? or /HELP
    bool wait = false;
    std::optional<std::string> dir;
    std::optional<std::string> log;
    const RunModeTraits& Traits() const { return RowOf(kRunModes, mode); }
};

struct ParsedSwitches {
    Switches switches;
    std::optional<std::string> error;  // why the command line is refused (Japanese)

    // A refused command line shows nothing (a typo must not open a window
    // that blocks a deployment) and keeps a log, so that its reason is
    // somewhere; /VERIFY keeps one only where /LOG asks for it.
    bool ShowsWindow() const { return switches.Traits().showsWindow && !error; }
    bool KeepsLog() const {
        return switches.log || ((switches.Traits().keepsLog || error) && switches.mode != RunMode::Verify);
    }
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
