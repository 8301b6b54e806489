#include "app/switches.h"

#include <algorithm>
#include <cctype>

#include "app/messages.h"
#include "app/text_fill.h"
#include "platform/folder_path.h"

namespace selvane {
namespace {

// Sets a flag switch, or says why it cannot be.
std::optional<std::string> SetFlag(bool& flag, const std::string& name, const std::optional<std::string>& value) {
    if (value) return Fill(messages::kValueNotTaken, {name, *value});
    if (flag) return Fill(messages::kRepeatedSwitch, {name});
    flag = true;
    return std::nullopt;
}

std::optional<std::string> SetValue(std::optional<std::string>& target, const std::string& name,
                                    const std::optional<std::string>& value, const char* example) {
    if (!value || value->empty()) return Fill(messages::kValueMissing, {name, example});
    // CommandLineToArgvW reads "D:\pkg\" as D:\pkg" : the closing quote
    // became part of the value, and whatever followed with it.
    if (value->find('"') != std::string::npos) return Fill(messages::kQuoteInValue, {name, *value});
    if (target) return Fill(messages::kRepeatedSwitch, {name});
    target = *value;
    return std::nullopt;
}

// The switches that make the run's mode, as given.
struct ModeSwitches {
    bool silent = false;
    bool whatIf = false;
    bool verify = false;
};

std::optional<std::string> Apply(Switches& switches, ModeSwitches& given, const std::string& argument) {
    if (argument.empty() || (argument[0] != '/' && argument[0] != '-')) {
        return Fill(messages::kNotASwitch, {argument});
    }
    const std::size_t equals = argument.find('=');
    const std::string name = CaseFolded(argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const std::string shown = argument.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = argument.substr(equals + 1);

    if (name == "VERYSILENT" || name == "SILENT") return SetFlag(given.silent, shown, value);
    if (name == "?" || name == "HELP") return SetFlag(switches.help, shown, value);
    if (name == "WAIT") return SetFlag(switches.wait, shown, value);
    if (name == "WHATIF") return SetFlag(given.whatIf, shown, value);
    if (name == "VERIFY") return SetFlag(given.verify, shown, value);
    if (name == "DIR") return SetValue(switches.dir, shown, value, "/DIR=D:\\pkg");
    if (name == "LOG") return SetValue(switches.log, shown, value, "/LOG=C:\\Logs\\selvane.log");
    return Fill(messages::kUnknownSwitch, {argument});
}

}  // namespace

ParsedSwitches ParseSwitches(const std::vector<std::string>& arguments) {
    ParsedSwitches parsed;
    ModeSwitches given;
    for (const auto& argument : arguments) {
        if (auto error = Apply(parsed.switches, given, argument)) {
            if (!parsed.error) parsed.error = std::move(error);
        }
    }
    Switches& s = parsed.switches;
    if (s.dir) std::replace(s.dir->begin(), s.dir->end(), '/', '\\');
    s.mode = given.verify   ? RunMode::Verify
             : given.whatIf ? RunMode::WhatIf
             : given.silent ? RunMode::Unattended
                            : RunMode::Window;
    if (parsed.error || s.help) return parsed;
    // A switch that would be silently ignored is refused instead.
    const auto firstGiven = [](std::initializer_list<std::pair<bool, const char*>> switches) -> const char* {
        for (const auto& [given, name] : switches) {
            if (given) return name;
        }
        return nullptr;
    };
    if (given.verify) {
        if (const char* run = firstGiven({{s.wait, "/WAIT"}, {given.whatIf, "/WHATIF"}})) {
            parsed.error = Fill(messages::kVerifyNeedsNoRun, {run});
        } else if (!s.dir) {
            parsed.error = Fill(messages::kDirRequired, {"/VERIFY"});
        }
    } else if (!given.silent) {
        // Only the log goes with a window run.
        const char* name = firstGiven({{s.dir.has_value(), "/DIR"}, {s.wait, "/WAIT"}, {given.whatIf, "/WHATIF"}});
        if (name) {
            parsed.error = Fill(messages::kNeedsSilent, {name});
        }
    } else if (!s.dir) {
        parsed.error = Fill(messages::kDirRequired, {"/VERYSILENT"});
    }
    return parsed;
}

bool IsAbsoluteFolderPath(std::string_view path) {
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
        return true;
    }
    if (!path.starts_with("\\\\")) return false;
    path.remove_prefix(2);
    const std::size_t slash = path.find('\\');
    if (slash == 0 || slash == std::string_view::npos) return false;
    const std::string_view server = path.substr(0, slash);
    // \\?\ and \\.\ name devices and raw paths, not a server.
    if (server == "?" || server == ".") return false;
    const std::string_view share = path.substr(slash + 1);
    return !share.empty() && share[0] != '\\';
}

bool NamesARunFile(std::string_view logPath, const std::vector<std::string>& runFiles) {
    const std::string name = CaseFolded(FileNameOf(logPath));
    return std::any_of(runFiles.begin(), runFiles.end(),
                       [&](const std::string& runFile) { return name == CaseFolded(FileNameOf(runFile)); });
}

}  // namespace selvane
