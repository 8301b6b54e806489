#include "app/run_ledger.h"

#include <algorithm>
#include <iterator>

#include "app/failure_text.h"
#include "app/messages.h"
#include "app/text_fill.h"
#include "setup/run_plan.h"

namespace selvane {
namespace {

std::string ValueOf(const RecordValues& values, std::string_view name) {
    const auto found = std::find_if(values.begin(), values.end(), [&](const auto& value) { return value.first == name; });
    return found == values.end() ? std::string() : found->second;
}

// No file name holds a '|', nor does an identity.
std::vector<std::pair<std::string, std::string>> CopiesOf(std::string_view text) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        const std::size_t bar = std::min(text.find('|'), text.size());
        parts.emplace_back(text.substr(0, bar));
        text.remove_prefix(std::min(bar + 1, text.size()));
    }
    std::vector<std::pair<std::string, std::string>> copies;
    for (std::size_t at = 0; at + 1 < parts.size(); at += 2) copies.emplace_back(parts[at], parts[at + 1]);
    return copies;
}

}  // namespace

void RunLedger::WritesBegin(const std::string& kevaFolder) {
    values_ = {{record::kState, record::kInProgress}, {record::kKevaFolder, kevaFolder}};
    for (auto& value : store_.Stamp()) values_.push_back(std::move(value));
    Save();
}

void RunLedger::CopyMade(const std::string& path, const std::string& identity) {
    copies_.emplace_back(identity, path);
    Save();
}

void RunLedger::CopyGone(const std::string& path) {
    std::erase_if(copies_, [&](const auto& copy) { return copy.second == path; });
    Save();
}

void RunLedger::Ended(const SetupOutcome& outcome, int exitCode) {
    if (values_.empty()) return;
    // The state goes last: a record cut off while it is written still reads "in progress".
    values_.erase(values_.begin());
    values_.emplace_back(record::kExitCode, std::to_string(exitCode));
    if (outcome.failure) values_.emplace_back(record::kFailedStep, StepName(outcome.failure->step));
    values_.emplace_back(record::kRestart, outcome.restart != Restart::None ? "1" : "0");
    // Each program started: its exit code where the run waited for it to end.
    for (std::size_t at = 0; at < outcome.programsStarted && at < std::size(kPrograms); ++at) {
        values_.emplace_back(kPrograms[at].name, at < outcome.exitCodes.size() ? std::to_string(outcome.exitCodes[at])
                                                                               : record::kProgramStarted);
    }
    values_.emplace_back(record::kState, outcome.failure ? record::kFailed : record::kCompleted);
    Save();
}

void RunLedger::Save() {
    if (values_.empty()) return;
    RecordValues values = values_;
    if (!copies_.empty()) {
        std::string text;
        for (const auto& [identity, path] : copies_) text += (text.empty() ? "" : "|") + identity + "|" + path;
        values.emplace(values.begin() + 1, record::kCopies, std::move(text));
    }
    if (auto failure = store_.Write(values)) log_.Warn(Fill(messages::kLogRecordNotWritten, {CallText(*failure)}));
}

std::optional<std::string> FindInterruptedRun(RecordStore& store, SetupPlatform& platform, AppLog& log) {
    const auto read = store.Read();
    if (!read) log.Warn(Fill(messages::kLogRecordNotRead, {CallText(*read.failure)}));
    if (!read.value || ValueOf(*read.value, record::kState) != record::kInProgress) return std::nullopt;
    const RecordValues& values = *read.value;
    for (const auto& [identity, path] : CopiesOf(ValueOf(values, record::kCopies))) {
        const auto removed = platform.RemoveIfIdentical(path, identity);
        if (!removed) {
            log.Warn(Fill(messages::kLogCopyNotRemoved, {path, CallText(*removed.failure)}));
        } else if (removed.value) {
            log.Info(Fill(messages::kLogCopyRemoved, {path}));
        } else if (platform.Probe(path).kind != PathKind::Missing) {
            log.Info(Fill(messages::kLogCopyKept, {path}));
        }
    }
    return Fill(messages::kLastRunInterrupted, {ValueOf(values, record::kStarted), ValueOf(values, record::kKevaFolder)});
}

std::optional<std::string> RecordSaysNotSetUp(RecordStore& store, SetupPlatform& platform,
                                              const std::string& kevaFolder, AppLog& log) {
    const auto read = store.Read();
    // Unread, the record cannot vouch for the run: the server counts as not set up.
    if (!read) return Fill(messages::kLogRecordNotRead, {CallText(*read.failure)});
    if (!read.value) {
        log.Info(messages::kLogNoRecord);
        return std::nullopt;
    }
    const RecordValues& values = *read.value;
    const std::string folder = ValueOf(values, record::kKevaFolder);
    if (!platform.SamePath(folder, kevaFolder)) {
        log.Info(Fill(messages::kLogRecordOfOtherFolder, {folder}));
        return std::nullopt;
    }
    const std::string state = ValueOf(values, record::kState);
    const std::string exitCode = ValueOf(values, record::kExitCode);
    if (state == record::kInProgress) {
        return Fill(messages::kLastRunInterrupted, {ValueOf(values, record::kStarted), folder});
    }
    // Only a run that ended without a failure (0, or a restart code) is recorded as completed.
    if (state == record::kCompleted) {
        log.Info(Fill(messages::kLogLastRunCompleted, {exitCode}));
        return std::nullopt;
    }
    const std::string step = ValueOf(values, record::kFailedStep);
    return Fill(messages::kLastRunFailed, {exitCode, step.empty() ? messages::kLogNoValue : step});
}

}  // namespace selvane
