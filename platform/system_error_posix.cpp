#include "platform/call_failure.h"

namespace selvane {

// The portable build has no system texts: the code alone, as Windows gives
// it for a code it has no words for.
std::string SystemErrorText(unsigned long code) {
    std::string text = "(";
    return (text += std::to_string(code)) += ')';
}

}  // namespace selvane
