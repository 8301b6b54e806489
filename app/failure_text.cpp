#include "app/failure_text.h"

#include <algorithm>
#include <iterator>

#include "app/messages.h"
#include "app/text_fill.h"
#include "platform/enum_table.h"
#include "setup/held_files.h"
#include "setup/ini_text.h"

namespace selvane {
namespace {

using namespace messages;

// What a step of a run means to the administrator: what failed, whether
// another folder in the folder box can mend it (then the window advises a
// retry and shows the information icon), and what else can be done where
// the folder box cannot mend it.
struct StepRow {
    SetupStep step;
    const char* name;    // as the record of the run names it
    const char* failed;  // "{}" is the file or folder concerned
    bool folderBoxMends;
    const char* advice;  // may be null
    bool runFile;        // reads or writes one of the run's own files, which another program may hold
};

constexpr StepRow kSteps[] = {
    {SetupStep::ReadFolderBox, "ReadFolderBox", kChooseKevaFolder, true, nullptr, false},
    {SetupStep::FindWindowsDirectory, "FindWindowsDirectory", kWindowsDirectoryUnknown, false, nullptr, false},
    {SetupStep::FindSystemDirectory, "FindSystemDirectory", kSystemDirectoryUnknown, false, nullptr, false},
    {SetupStep::CheckChosenFolder, "CheckChosenFolder", kPathUnusable, true, nullptr, false},
    {SetupStep::CheckProductFolder, "CheckProductFolder", kPathUnusable, false, kCheckProductFiles, false},
    {SetupStep::CheckBatchFile, "CheckBatchFile", kBatchFileUnusable, false, kCheckProductFiles, false},
    {SetupStep::CheckServiceFolder, "CheckServiceFolder", kServiceFolderUnusable, false, kCheckProductFiles, false},
    {SetupStep::CheckInstaller, "CheckInstaller", kInstallerUnusable, false, kCheckProductFiles, false},
    {SetupStep::CheckRights, "CheckRights", kRightsUnsafe, false, kFixRightsAndRestart, false},
    {SetupStep::ReadSettingsFile, "ReadSettingsFile", kFileNotRead, true, nullptr, true},
    {SetupStep::ReadProfileFile, "ReadProfileFile", kFileNotRead, false, kCheckOtherPrograms, true},
    {SetupStep::ReadAnswerFile, "ReadAnswerFile", kFileNotRead, false, kCheckOtherPrograms, true},
    {SetupStep::WriteSettingsFile, "WriteSettingsFile", kSettingsNotWritten, true, nullptr, true},
    {SetupStep::WriteProfileFile, "WriteProfileFile", kSettingsNotWritten, false, kCheckOtherPrograms, true},
    {SetupStep::WriteAnswerFile, "WriteAnswerFile", kAnswerFileNotWritten, false, kCheckOtherPrograms, true},
    {SetupStep::FindAnswerFile, "FindAnswerFile", kAnswerFileNotFound, false, kCheckOtherPrograms, false},
    {SetupStep::StartBatchFile, "StartBatchFile", kBatchFileNotStarted, false, kCheckOtherPrograms, false},
    {SetupStep::RunBatchFile, "RunBatchFile", kBatchFileFailed, false, nullptr, false},
    {SetupStep::StartInstaller, "StartInstaller", kInstallerNotStarted, false, nullptr, false},
    {SetupStep::RunInstaller, "RunInstaller", kInstallerFailed, false, nullptr, false},
};
static_assert(RowsFollowEnum(kSteps, &StepRow::step));

// Advice of its own only where the folder box cannot mend the failure.
constexpr bool AdviceOnlyWhereTheFolderBoxCannotMend() {
    for (const StepRow& row : kSteps) {
        if (row.folderBoxMends && row.advice) return false;
    }
    return true;
}
static_assert(AdviceOnlyWhereTheFolderBoxCannotMend());

// Why, by reason; the system's words where it gave a code.
struct ReasonWords {
    FailureReason reason;
    const char* text;
};
constexpr ReasonWords kReasons[] = {
    {FailureReason::System, nullptr},
    {FailureReason::Empty, nullptr},
    {FailureReason::NotInCodePage, kReasonNotInCodePage},
    {FailureReason::TooLong, kReasonTooLong},
    {FailureReason::UnsafeCharacter, kReasonUnsafeCharacter},
    {FailureReason::IsFolder, kReasonIsFolder},
    {FailureReason::NotFolder, kReasonNotFolder},
    {FailureReason::NotAProgram, kReasonNotAProgram},
    {FailureReason::NotVisible, kReasonNotVisible},
    {FailureReason::ExitCode, kReasonExitCode},
    {FailureReason::OthersCanChange, kReasonOthersCanChange},
    {FailureReason::HasOtherNames, kReasonHasOtherNames},
    {FailureReason::IsLink, kReasonIsLink},
    {FailureReason::ReplacedSinceCheck, kReasonReplacedSinceCheck},
};
static_assert(RowsFollowEnum(kReasons, &ReasonWords::reason));

struct ExposureWords {
    Exposure exposure;
    const char* text;
};
constexpr ExposureWords kExposures[] = {
    {Exposure::Owns, kExposureOwns},
    {Exposure::ChangesPermissions, kExposurePermissions},
    {Exposure::Deletes, kExposureDeletes},
    {Exposure::Writes, kExposureWrites},
    {Exposure::CreatesEntries, kExposureCreates},
};
static_assert(RowsFollowEnum(kExposures, &ExposureWords::exposure));

// The account by name and SID, what it can do, and the icacls command that
// takes it away: a new owner and the folder's permissions, or the account's
// entries cut down to reading and running where it had those (inherited ones
// made the object's own first, so that they can be).
// A pattern's "{}" are the account, what it can do and the command.
std::string FillRights(const char* pattern, const RightsFinding& finding) {
    const std::string account = finding.name.empty() ? finding.fullSid : finding.name + " (" + finding.fullSid + ")";
    const std::string inherited = finding.isFolder ? "(OI)(CI)" : "";
    const std::string command =
        finding.exposure == Exposure::Owns ? Fill(kRightsOwnerCommand, {finding.path, finding.path})
        : finding.readsOrRuns
            ? Fill(kRightsCommand, {Fill(kIcaclsKeepReading, {finding.path, finding.fullSid, inherited})})
            : Fill(kRightsCommand, {Fill(kIcaclsRemove, {finding.path, finding.fullSid})});
    const std::string_view what = RowOf(kExposures, finding.exposure).text;
    // Within double quotes cmd still expands %…% (and !…! where delayed expansion is on), and PowerShell
    // $…, the backtick and the typographic quotes it takes for '"': a planted name could run code there.
    constexpr std::string_view kReadInQuotes[] = {"%", "!", "$", "`", "\"", "\xE2\x80\x9C", "\xE2\x80\x9D", "\xE2\x80\x9E"};
    const bool pastable = std::none_of(std::begin(kReadInQuotes), std::end(kReadInQuotes), [&](std::string_view c) {
        return finding.path.find(c) != std::string::npos;
    });
    return Fill(pattern, {account, what, pastable ? command : std::string(kRightsNoCommand)});
}

// What the administrator is told of each program once the first has started.
struct ProgramWords {
    RunProgram program;
    const char* started;
    const char* notStarted;
};
constexpr ProgramWords kProgramWords[] = {
    {RunProgram::BatchFile, kBatchFileStarted, kBatchFileNotStartedYet},
    {RunProgram::Installer, kInstallerStarted, kInstallerNotStartedYet},
};
static_assert(RowsFollowEnum(kProgramWords, &ProgramWords::program));

// For each kind of restoration: the log's words, and the administrator's.
struct RestorationWords {
    RestorationKind kind;
    const char* log;
    const char* left;
};
constexpr RestorationWords kRestorations[] = {
    {RestorationKind::RestoreFile, kLogRestoreFile, kLeftFile},
    {RestorationKind::RemoveFile, kLogRemoveFile, kLeftNewFile},
    {RestorationKind::RestoreLine, kLogRestoreLine, kLeftLine},
    {RestorationKind::DeleteKey, kLogDeleteKey, kLeftKey},
    {RestorationKind::DeleteSection, kLogDeleteSection, kLeftSection},
};
static_assert(RowsFollowEnum(kRestorations, &RestorationWords::kind));

std::string ReasonText(const SetupFailure& failure) {
    if (failure.reason == FailureReason::System) return SystemErrorText(failure.call.code);
    if (failure.reason == FailureReason::OthersCanChange) {
        const bool unknown = failure.rights.trust == Trust::Unknown;
        return FillRights(unknown ? kReasonAccountUnknown : kReasonOthersCanChange, failure.rights);
    }
    return Fill(RowOf(kReasons, failure.reason).text,
                {std::to_string(failure.number), std::to_string(failure.limit)});
}

std::string Words(const RestorationWords& words, const char* RestorationWords::*which, const Restoration& r) {
    return Fill(words.*which, {r.file, r.section, r.key, r.before});
}

std::string LeftChangeText(const LeftChange& left) {
    const Restoration& r = left.restoration;
    std::string text = Words(RowOf(kRestorations, r.kind), &RestorationWords::left, r) +
                       Fill(kLeftReason, {left.failure ? SystemErrorText(left.failure->code) : kReasonNotReadBack});
    if (r.kind == RestorationKind::RestoreFile) {
        for (const std::string_view line : Lines(r.before)) (text += "\n    ") += line;
    }
    return text;
}

// What the run leaves behind it, as a last paragraph.
std::string LeftBehindText(const SetupFailure& failure) {
    switch (failure.left) {
    case LeftBehind::Nothing: return kNothingChanged;
    case LeftBehind::PutBack: return kPutBack;
    case LeftBehind::PartlyPutBack: break;
    case LeftBehind::SettingsKept: {
        std::string text = kSettingsKept;
        // They start in the table's order.
        for (std::size_t at = 0; at < std::size(kProgramWords); ++at) {
            (text += '\n') += at < failure.programsStarted ? kProgramWords[at].started : kProgramWords[at].notStarted;
        }
        return text;
    }
    }
    std::string text = kPartlyPutBack;
    for (const auto& left : failure.leftChanged) (text += '\n') += LeftChangeText(left);
    return text;
}

const StepRow& StepRowOf(SetupStep step) { return RowOf(kSteps, step); }

// A sharing or lock violation, or access denied: another program holds the
// file, or will not let this one at it.
bool HeldOrRefused(const SetupFailure& failure) {
    constexpr unsigned long kAccessDenied = 5;  // ERROR_ACCESS_DENIED
    return failure.reason == FailureReason::System && (IsHeld(failure.call) || failure.call.code == kAccessDenied);
}

}  // namespace

bool FolderBoxMends(const SetupFailure& failure) {
    return StepRowOf(failure.step).folderBoxMends && !(StepRowOf(failure.step).runFile && HeldOrRefused(failure));
}

std::string DescribeFailure(const SetupFailure& failure, Telling telling) {
    const StepRow& row = StepRowOf(failure.step);
    if (failure.reason == FailureReason::Empty) return row.failed;
    std::string text = telling == Telling::Verify ? kVerifyStopped : kSetupStopped;
    text += "\n\n" + Fill(row.failed, {failure.subject}) + "\n" + kReasonLabel + ReasonText(failure);
    if (telling == Telling::Verify) return text;
    text += "\n\n" + LeftBehindText(failure);
    const bool retryHelps = row.runFile && HeldOrRefused(failure);
    const char* advice = FolderBoxMends(failure) ? kCheckFolderAndRetry
                         : retryHelps            ? kCloseHolderAndRetry
                                                 : row.advice;
    if (telling == Telling::Window && advice) (text += "\n") += advice;
    return text;
}

const char* StepName(SetupStep step) { return StepRowOf(step).name; }

std::string UnexpectedFailureText(const CallFailure& failure) {
    return std::string(kUnexpectedFailure) + "\n\n" + CallText(failure);
}

std::string DescribeRestoration(const Restoration& restoration) {
    return Words(RowOf(kRestorations, restoration.kind), &RestorationWords::log, restoration);
}

}  // namespace selvane
