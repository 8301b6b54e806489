#include "platform/browse_geometry.h"

#include <cmath>

namespace selvane {
namespace {

// nearbyint rounds in the default mode: to nearest, halves to even.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight) {
    return {RoundHalfEven((screenWidth - dialogWidth) / 2.0),
            RoundHalfEven((screenHeight - dialogHeight) / 2.0)};
}

}  // namespace selvane
