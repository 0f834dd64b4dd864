// The grid's small input rules as tables: wheel steps, caption border grips
// and how a cell's text is cut to its room.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/grid_input_rules.h"

using namespace zui;

namespace {

TEST(GridInputRules, WheelTurnsScrollWholeRowsAndCarryTheRest) {
  struct Case {
    std::vector<int32_t> deltas;  // turns in 1/120 notches, up positive
    int32_t rows;                 // rows scrolled by the last turn, down positive
    int32_t carry;                // left after it
  };
  const Case cases[] = {
      {{-120}, 3, 0},         // one notch down: three rows
      {{120}, -3, 0},         // and up
      {{-240}, 6, 0},         // two notches at once
      {{-30}, 0, -30},        // a fine wheel: not yet a row
      {{-30, -30}, 1, -20},   // two fine turns make one
      {{-30, 30}, 0, 0},      // and back cancel out
      {{-50, 120}, -2, 30},   // a reversed turn uses the carry first
  };
  for (const Case& c : cases) {
    int32_t carry = 0, rows = 0;
    for (int32_t d : c.deltas) rows = wheel_rows(carry, d);
    EXPECT_EQ(rows, c.rows) << c.deltas.size() << " " << c.deltas.back();
    EXPECT_EQ(carry, c.carry) << c.deltas.back();
  }
}

TEST(GridInputRules, CaptionBordersAreTakenAFewPixelsEitherSide) {
  GridLayout l;
  l.captionRow = true;
  l.rowsTop = 20;
  l.columns = {{0, 30, 100}, {1, 130, 50}, {2, 180, 80}};  // borders at 130, 180, 260
  struct Case {
    int32_t x, y, column;
  };
  const Case cases[] = {
      {130, 10, 0}, {127, 10, 0}, {133, 10, 0},  // either side of the first border
      {126, 10, -1}, {134, 10, -1}, {155, 10, -1},  // the caption itself
      {179, 10, 1}, {182, 10, 1}, {262, 5, 2},
      {130, 20, 0}, {130, 21, -1}, {130, -1, -1},  // only in the caption row
  };
  for (const Case& c : cases) EXPECT_EQ(caption_border_at(l, c.x, c.y), c.column) << c.x << "," << c.y;
  l.captionRow = false;
  EXPECT_EQ(caption_border_at(l, 130, 10), -1);
}

TEST(GridInputRules, CellTextIsCutToItsRoomWithAnEllipsis) {
  // Every byte 1 pixel wide, the ellipsis 3 bytes: 3 pixels.
  const auto width = [](const std::string& t) { return static_cast<int32_t>(t.size()); };
  const std::string e = "\xE2\x80\xA6";
  struct Case {
    std::string text;
    int32_t room;
    std::string shown;
  };
  const Case cases[] = {
      {"short", 10, "short"},
      {"exactly", 7, "exactly"},
      {"too long", 7, "too " + e},
      {"first\nsecond", 40, "first" + e},      // a line break shows as an ellipsis
      {"first\r\nsecond", 40, "first" + e},
      {"line\n", 40, "line"},                  // a trailing break hides nothing
      {"abc", 2, ""},                          // not even the ellipsis fits
      {"abcdef", 3, e},
      {"Mü\xC3\xBCller", 7, "M\xC3\xBC" + e},  // never inside a character
  };
  for (const Case& c : cases) EXPECT_EQ(fit_cell_text(c.text, c.room, width), c.shown) << c.text;
}

}  // namespace
