#include "platform/browse_geometry.h"

#include <cmath>

namespace selvane {

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight) {
    // nearbyint rounds in the default mode: to nearest, halves to even.
    return {static_cast<int>(std::nearbyint((screenWidth - dialogWidth) / 2.0)),
            static_cast<int>(std::nearbyint((screenHeight - dialogHeight) / 2.0))};
}

}  // namespace selvane
