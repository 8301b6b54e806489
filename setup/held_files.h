#pragma once

#include <chrono>
#include <string>

#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// A virus scanner, or the batch file of a run just before this one, holds
// a freshly written file for a moment: a read or write of the run's own
// files that meets a sharing or lock violation is tried again for this long
// before it counts as failed.
inline constexpr std::chrono::milliseconds kHoldWait{2000};
inline constexpr std::chrono::milliseconds kHoldPoll{50};
inline constexpr unsigned long kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
inline constexpr unsigned long kLockViolation = 33;     // ERROR_LOCK_VIOLATION

inline bool IsHeld(const CallResult& failure) {
    return failure && (failure->code == kSharingViolation || failure->code == kLockViolation);
}

inline const CallResult& FailureOf(const CallResult& result) { return result; }
template <typename T>
const CallResult& FailureOf(const Checked<T>& checked) {
    return checked.failure;
}

// The operation's result once the file is no longer held, or once the wait
// is over; the observer, if any, hears how long it waited.
template <typename Operation>
auto WaitingOutHolds(SetupPlatform& platform, SetupObserver* observer, const std::string& file, Operation operation) {
    auto result = operation();
    if (!IsHeld(FailureOf(result))) return result;
    const auto start = platform.Now();
    while (IsHeld(FailureOf(result)) && platform.Now() - start < kHoldWait) {
        platform.ProcessPendingEvents();
        platform.Pause(kHoldPoll);
        result = operation();
    }
    if (observer) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(platform.Now() - start);
        observer->WaitedForHold(file, waited, !IsHeld(FailureOf(result)));
    }
    return result;
}

// The file's state, read once no other program holds it.
inline Checked<FileState> ReadOnceReleased(SetupPlatform& platform, SetupObserver* observer, const std::string& file) {
    return WaitingOutHolds(platform, observer, file, [&] { return platform.ReadFile(file); });
}

}  // namespace selvane
