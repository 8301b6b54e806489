#pragma once

#include <string>

namespace selvane {

// What a later start must know should the run be cut off: that it has begun
// its writes, and each put-back copy it has made beside a file (by the
// copy's identity) until the copy is gone.
class RunJournal {
public:
    virtual ~RunJournal() = default;
    virtual void WritesBegin(const std::string& /*kevaFolder*/) {}
    virtual void CopyMade(const std::string& /*path*/, const std::string& /*identity*/) {}
    virtual void CopyGone(const std::string& /*path*/) {}
};

}  // namespace selvane
