#pragma once

namespace selvane {

struct ScreenPoint {
    int x;
    int y;
};

// Where a dialog of the given size goes to stand centred on a screen, in
// pixels; halves go to the even neighbour (306.5 -> 306, 305.5 -> 306).
ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight);

}  // namespace selvane
