#include "platform/browse_geometry.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(BrowseGeometry, CentresWithHalvesGoingToTheEvenNeighbour) {
    EXPECT_EQ(CentredOrigin(1024, 768, 411, 400).x, 306);  // 306.5
    EXPECT_EQ(CentredOrigin(1024, 768, 413, 400).x, 306);  // 305.5
    EXPECT_EQ(CentredOrigin(1024, 768, 411, 400).y, 184);
    EXPECT_EQ(CentredOrigin(1024, 768, 409, 401).x, 308);  // 307.5
    EXPECT_EQ(CentredOrigin(1024, 768, 409, 401).y, 184);  // 183.5
    EXPECT_EQ(CentredOrigin(800, 600, 1000, 700).x, -100);
}

}  // namespace
}  // namespace selvane
