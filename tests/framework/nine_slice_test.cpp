// The shared nine-slice box: which parts have room, and the pieces a
// captioned box takes for its top row.
#include <gtest/gtest.h>

#include "framework/nine_slice.h"

using namespace zui;

TEST(NineSlice, PartsWithoutRoomAreLeftOut) {
  struct Case {
    int32_t w, h, s;
    bool edges, sides;  // top and bottom (with the centre), left and right
  };
  const Case cases[] = {
      {200, 100, 10, true, true},
      {20, 20, 10, false, false},  // corners only
      {19, 40, 10, false, true},   // one pixel short of room: not drawn at the piece's size
      {40, 19, 10, true, false},
  };
  for (const Case& c : cases) {
    const auto parts = nine_slice_parts(c.w, c.h, c.s, false);
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    EXPECT_EQ(parts[0].drawn, c.edges && c.sides);  // centre
    EXPECT_EQ(parts[1].drawn, c.edges);
    EXPECT_EQ(parts[2].drawn, c.edges);
    EXPECT_EQ(parts[3].drawn, c.sides);
    EXPECT_EQ(parts[4].drawn, c.sides);
    for (size_t i = 5; i < parts.size(); ++i) EXPECT_TRUE(parts[i].drawn);
  }
  const auto captioned = nine_slice_parts(200, 100, 10, true);
  EXPECT_EQ(captioned[1].piece, NinePiece::TopCaptioned);
  EXPECT_EQ(captioned[5].piece, NinePiece::TopLeftCaptioned);
  EXPECT_EQ(captioned[6].piece, NinePiece::TopRightCaptioned);
  EXPECT_EQ(captioned[7].piece, NinePiece::BottomLeft);
}
