#include "platform/browse_geometry.h"

#include <cmath>

#include "platform/folder_path.h"

namespace selvane {
namespace {

// nearbyint rounds in the default mode: to nearest, halves to even.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight) {
    return {RoundHalfEven((screenWidth - dialogWidth) / 2.0),
            RoundHalfEven((screenHeight - dialogHeight) / 2.0)};
}

std::string BrowseResult(std::string_view chosenPath) {
    if (chosenPath.empty()) return {};
    return EnsureTrailingBackslash(chosenPath);
}

}  // namespace selvane
