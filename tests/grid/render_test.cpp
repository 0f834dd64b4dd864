// Grid drawing, checked pixel by pixel against the synthetic source image,
// whose every tile and expander frame has a colour of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

using grid_test::frame_colour;
using grid_test::GridFixture;
using grid_test::tile_colour;

constexpr int32_t kRed = 0x0000FF;    // packed: red + green*256 + blue*65536
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kPale = 0xF0F0F0;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kLines = 0x5E5E5E;  // default GRIDCOLOR

class GridRender : public GridFixture {
 protected:
  int32_t px(int32_t x, int32_t y) { return tk_image_pixel(canvas(), x, y); }

  // Columns without captions (no caption row): rows then start at y = 4.
  void plain_columns(int32_t n, int16_t width = 100, int8_t orientation = 0) {
    for (int32_t c = 0; c < n; ++c) add_column(ui, kGrid, -1, "", width, 0, orientation, 0, "", 0);
  }

  void plain_rows(int32_t n, int8_t height = 20, int8_t level = 0) {
    for (int32_t r = 0; r < n; ++r) add_row(ui, kGrid, -1, "", height, level, "", "", 0);
  }

  // Bounding box of the pixels in the rectangle that differ from `ground`.
  struct Box {
    int32_t left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
  };
  Box ink(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t ground) {
    Box b;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x)
        if (px(x, y) != ground) {
          b.left = std::min(b.left, x);
          b.right = std::max(b.right, x);
          b.top = std::min(b.top, y);
          b.bottom = std::max(b.bottom, y);
        }
    return b;
  }
};

TEST_F(GridRender, FrameAndGroundWithoutColumns) {
  draw();
  // No caption row: the top tiles are 8, 9, 10.
  EXPECT_EQ(px(0, 0), tile_colour(8));
  EXPECT_EQ(px(350, 0), tile_colour(9));
  EXPECT_EQ(px(699, 0), tile_colour(10));
  EXPECT_EQ(px(0, 75), tile_colour(3));
  EXPECT_EQ(px(699, 75), tile_colour(4));
  EXPECT_EQ(px(0, 149), tile_colour(5));
  EXPECT_EQ(px(350, 149), tile_colour(6));
  EXPECT_EQ(px(699, 149), tile_colour(7));
  EXPECT_EQ(px(350, 75), tile_colour(11));

  // A caption height switches to tiles 0, 1, 2 but draws no caption row
  // while there are no columns: no white separator anywhere on top.
  set_attribute(ui, kGrid, "CAPTCOLHEIGHT", "20", 1);
  EXPECT_EQ(px(0, 0), tile_colour(0));
  EXPECT_EQ(px(350, 10), tile_colour(1));
  EXPECT_TRUE(ink(20, 1, 680, 19, tile_colour(1)).empty());
}

TEST_F(GridRender, BorderlessStartsAtFourFour) {
  fill(kGrid, 3, 3);
  set_row_attribute(ui, kGrid, 0, "CAPTION", "Row", 0);
  set_attribute(ui, kGrid, "CAPTROWWIDTH", "60", 0);
  set_cell_attribute(ui, kGrid, 0, 0, "BGCOLOR", std::to_string(kRed), 0);
  set_attribute(ui, kGrid, "BORDERLESS", "1", 1);
  // The whole picture is the ground tile; no caption row, no caption column.
  EXPECT_EQ(px(0, 0), tile_colour(11));
  EXPECT_EQ(px(699, 149), tile_colour(11));
  EXPECT_EQ(px(1, 10), tile_colour(11));
  // The first cell's background box starts at (4, 4 + 1).
  EXPECT_EQ(px(4, 5), kRed);
  EXPECT_EQ(px(102, 23), kRed);
  EXPECT_EQ(px(103, 23), kLines);
  EXPECT_EQ(px(3, 5), tile_colour(11));
  EXPECT_EQ(px(4, 4), tile_colour(11));
}

TEST_F(GridRender, CaptionRowAndCaptionColumn) {
  for (int c = 0; c < 3; ++c) add_column(ui, kGrid, -1, "C" + std::to_string(c), 100, 0, 0, 0, "", 0);
  add_row(ui, kGrid, -1, "First", 20, 0, "", "", 0);
  add_row(ui, kGrid, -1, "", 20, 0, "", "", 0);
  GridRecord* g = record();
  const int32_t cr = g->captRowWidth;
  ASSERT_GT(cr, 15);
  ASSERT_EQ(g->captColHeight, 20);
  set_cell_attribute(ui, kGrid, 0, 0, "BGCOLOR", std::to_string(kRed), 0);
  draw();

  // Caption row: white separators at the caption column and between the
  // columns, none after the last column.
  EXPECT_EQ(px(cr - 1, 10), kWhite);
  EXPECT_EQ(px(cr + 99, 10), kWhite);
  EXPECT_EQ(px(cr + 199, 10), kWhite);
  EXPECT_EQ(px(cr + 299, 10), tile_colour(1));
  // The caption "C0" is drawn in white a little right of its column start.
  const auto caption = ink(cr + 1, 2, cr + 40, 19, tile_colour(1));
  ASSERT_FALSE(caption.empty());
  EXPECT_GE(caption.left, cr + 7);
  // Caption cell of row 0: the top edge tile, a white line on top.
  EXPECT_EQ(px(2, 20), kWhite);
  EXPECT_EQ(px(2, 30), tile_colour(1));
  EXPECT_EQ(px(cr - 1, 30), tile_colour(11));
  // The first cell starts right after the caption column.
  EXPECT_EQ(px(cr, 21), kRed);
  EXPECT_EQ(px(cr - 1, 21), tile_colour(11));

  // A caption column of 3: the caption row starts at 4, each caption cell
  // is 2 pixels wide and cells start at 3.
  set_attribute(ui, kGrid, "CAPTROWWIDTH", "3", 1);
  EXPECT_EQ(px(2, 10), tile_colour(0));  // no separator at x - 1
  EXPECT_EQ(px(1, 30), tile_colour(1));
  EXPECT_EQ(px(2, 30), tile_colour(3));
  EXPECT_EQ(px(3, 21), kRed);
  EXPECT_EQ(px(101, 21), kRed);
}

TEST_F(GridRender, BackgroundCellThenColumnThenRow) {
  plain_columns(2);
  plain_rows(2);
  set_column_attribute(ui, kGrid, 0, "BGCOLOR", "255", 0);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "0", 0);
  set_row_attribute(ui, kGrid, 1, "BGCOLOR", std::to_string(kGreen), 0);
  set_cell_attribute(ui, kGrid, 0, 1, "BGCOLOR", std::to_string(kPale), 0);
  draw();
  // Cell -1, column red, row black: red.
  EXPECT_EQ(px(50, 10), kRed);
  // Column 1 has none: the row's black.
  EXPECT_EQ(px(150, 10), kBlack);
  // The cell's own colour wins over column and row.
  EXPECT_EQ(px(50, 30), kPale);
  EXPECT_EQ(px(150, 30), kGreen);
  // The box leaves the cell's top line free: y + 1 .. y + height - 1.
  EXPECT_EQ(px(50, 4), tile_colour(9));
  EXPECT_EQ(px(50, 5), kRed);

  // A first column narrower than the row's indent paints no background,
  // neither in it nor leftwards over what lies before.
  plain_rows(1);
  set_column_attribute(ui, kGrid, 0, "WIDTH", "10", 0);
  set_column_attribute(ui, kGrid, 0, "BGCOLOR", "-1", 0);
  set_cell_attribute(ui, kGrid, 0, 2, "BGCOLOR", std::to_string(kPale), 0);
  set_row_attribute(ui, kGrid, 2, "LEVEL", "2", 1);
  for (int32_t x : {5, 15, 25, 35}) EXPECT_NE(px(x, 50), kPale) << x;
}

TEST_F(GridRender, SelectionBarWithCaps) {
  fill(kGrid, 3, 3);  // caption row: rows start at y = 20
  set_cursor(ui, kGrid, 1, 1, 0);
  draw();
  // permanentCursor 0: no bar.
  EXPECT_EQ(px(150, 50), tile_colour(11));

  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 1);
  // Row 1 (v > 0, GRIDH 1): the bar starts at y + 1 = 41, under the line.
  EXPECT_EQ(px(150, 40), kLines);
  EXPECT_EQ(px(150, 41), tile_colour(13));
  EXPECT_EQ(px(110, 58), tile_colour(12));  // left cap at the cell start
  EXPECT_EQ(px(190, 58), tile_colour(14));  // right cap ends at the cell end
  EXPECT_EQ(px(50, 58), tile_colour(11));   // neighbours untouched
  EXPECT_EQ(px(250, 58), tile_colour(11));

  // Row 0: the bar starts at y itself.
  set_cursor(ui, kGrid, 1, 0, 1);
  EXPECT_EQ(px(150, 20), tile_colour(13));
  // GRIDH 0: also later rows start at y.
  set_cursor(ui, kGrid, 1, 1, 0);
  set_attribute(ui, kGrid, "GRIDH", "0", 1);
  EXPECT_EQ(px(150, 40), tile_colour(13));

  // A plain bar without caps.
  set_attribute(ui, kGrid, "SELECTORSTYLE", "1", 1);
  EXPECT_EQ(px(110, 58), tile_colour(13));
  EXPECT_EQ(px(190, 58), tile_colour(13));

  // A rectangular selection covers every cell between the corners.
  GridRecord* g = record();
  g->cursorColumn = 0;
  g->cursorRow = 0;
  g->selectionEndColumn = 1;
  g->selectionEndRow = 1;
  draw();
  EXPECT_EQ(px(50, 38), tile_colour(13));
  EXPECT_EQ(px(150, 58), tile_colour(13));
  EXPECT_EQ(px(250, 38), tile_colour(11));
  EXPECT_EQ(px(50, 78), tile_colour(11));
}

TEST_F(GridRender, GridLinesAndTheirSwitches) {
  plain_columns(3);
  plain_rows(2);
  draw();
  // Horizontal line under row 0, none under the last row.
  EXPECT_EQ(px(50, 24), kLines);
  EXPECT_EQ(px(50, 44), tile_colour(11));
  // Vertical lines at x - 1 after each column but the last.
  EXPECT_EQ(px(103, 30), kLines);
  EXPECT_EQ(px(203, 30), kLines);
  EXPECT_EQ(px(303, 30), tile_colour(11));

  set_attribute(ui, kGrid, "GRIDCOLOR", std::to_string(kRed), 1);
  EXPECT_EQ(px(50, 24), kRed);
  set_attribute(ui, kGrid, "GRIDH", "0", 1);
  EXPECT_EQ(px(50, 24), tile_colour(11));
  EXPECT_EQ(px(103, 30), kRed);
  set_attribute(ui, kGrid, "GRIDV", "0", 1);
  EXPECT_EQ(px(103, 30), tile_colour(11));
}

TEST_F(GridRender, TextPlacementByOrientation) {
  add_column(ui, kGrid, -1, "", 100, 0, 0, 0, "", 0);  // left
  add_column(ui, kGrid, -1, "", 100, 0, 1, 0, "", 0);  // right
  add_column(ui, kGrid, -1, "", 100, 0, 2, 0, "", 0);  // centred
  add_row(ui, kGrid, -1, "", 30, 0, "Wide\nWide\nWide", "", 0);
  add_row(ui, kGrid, -1, "", 30, 0, "Wide", "", 0);
  add_row(ui, kGrid, -1, "", 30, 0, "Wide", "", 0);
  for (int16_t r = 0; r < 3; ++r) set_row_attribute(ui, kGrid, r, "BGCOLOR", std::to_string(kPale), 0);
  set_attribute(ui, kGrid, "GRIDH", "0", 0);
  set_attribute(ui, kGrid, "GRIDV", "0", 0);
  set_row_attribute(ui, kGrid, 1, "VORIENTATION", "2", 0);
  set_row_attribute(ui, kGrid, 2, "VORIENTATION", "1", 0);
  draw();

  const auto left = ink(4, 5, 104, 34, kPale);
  const auto right = ink(104, 5, 204, 34, kPale);
  const auto centre = ink(204, 5, 304, 34, kPale);
  ASSERT_FALSE(left.empty());
  ASSERT_FALSE(right.empty());
  ASSERT_FALSE(centre.empty());
  // Left text starts 4 pixels into the cell.
  EXPECT_GE(left.left, 8);
  EXPECT_LE(left.left, 10);
  // Right text ends 7 pixels before the cell's right edge.
  EXPECT_LE(right.right, 204 - 7);
  EXPECT_GE(right.right, 204 - 10);
  // Centred text starts at x + (width - text width - 10) / 2: its middle
  // lies 45 pixels into the cell.
  EXPECT_NEAR((centre.left + centre.right) / 2, 204 + 45, 3);

  // Vertical placement: top (y + 1 + 2), centred (y + 5 + 2 for height 30),
  // bottom (y + 30 - 20 + 2): 4 and 9 pixels lower than the top row's text.
  const auto top = ink(4, 5, 104, 34, kPale);
  const auto middle = ink(4, 35, 104, 64, kPale);
  const auto bottom = ink(4, 65, 104, 94, kPale);
  ASSERT_FALSE(middle.empty());
  ASSERT_FALSE(bottom.empty());
  EXPECT_EQ(middle.top - 30, top.top + 4);
  EXPECT_EQ(bottom.top - 60, top.top + 9);
}

TEST_F(GridRender, RightAlignedTextShiftsWithTheTreeIndent) {
  add_column(ui, kGrid, -1, "", 150, 0, 1, 0, "", 0);
  add_row(ui, kGrid, -1, "", 20, 0, "Wide", "", 0);
  add_row(ui, kGrid, -1, "", 20, 1, "Wide", "", 0);
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "64", 0);  // open, no icon
  for (int16_t r = 0; r < 2; ++r) set_row_attribute(ui, kGrid, r, "BGCOLOR", std::to_string(kPale), 0);
  set_attribute(ui, kGrid, "GRIDH", "0", 0);
  draw();
  // Text placed past the background box would show as ink: look inside it.
  const auto plain = ink(30, 5, 150, 24, kPale);
  const auto indented = ink(30, 25, 150, 44, kPale);
  ASSERT_FALSE(plain.empty());
  ASSERT_FALSE(indented.empty());
  EXPECT_EQ(indented.left - plain.left, 20);  // icon size × level 1
}

TEST_F(GridRender, CellImageComesBeforeTheText) {
  plain_columns(2);
  plain_rows(1);
  const int32_t image = tk_create_image(-1, 12, 12);
  ASSERT_NE(image, 0);
  tk_start_drawing(tk_image_output(image));
  tk_draw_box(0, 0, 12, 12, kGreen);
  tk_stop_drawing();
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kPale), 0);
  set_cell(ui, kGrid, 0, 0, "Text", image, -1, -1);
  // The image at (tx + 2, ty), ty = y + 1.
  EXPECT_EQ(px(6, 5), kGreen);
  EXPECT_EQ(px(17, 16), kGreen);
  EXPECT_EQ(px(18, 5), kPale);
  // The text follows after the image's width + 5, then + 4.
  const auto text = ink(19, 5, 104, 24, kPale);
  ASSERT_FALSE(text.empty());
  EXPECT_GE(text.left, 4 + 12 + 5 + 4);
  // The selection bar starts after the image and stays inside the cell.
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 0);
  set_attribute(ui, kGrid, "SELECTORSTYLE", "1", 1);
  EXPECT_EQ(px(5 + 17, 10), tile_colour(13));
  EXPECT_EQ(px(110, 10), kPale);
  tk_free_image(image);
}

TEST_F(GridRender, CollapsedSubtreesAreHiddenAndNotCountedForScrollY) {
  plain_columns(2);
  // Levels 0, 1, 1, 0, 0: row 0 is the parent of rows 1 and 2.
  for (int8_t level : {0, 1, 1, 0, 0}) add_row(ui, kGrid, -1, "", 20, level, "", "", 0);
  ensure_expander(kGrid, 0);
  GridRecord* g = record();
  ASSERT_EQ(g->rows[0].isParent, 1);
  set_row_attribute(ui, kGrid, 3, "BGCOLOR", std::to_string(kRed), 0);
  set_row_attribute(ui, kGrid, 4, "BGCOLOR", std::to_string(kGreen), 0);
  draw();
  EXPECT_EQ(g->rows[1].hiddenInTree, 1);
  EXPECT_EQ(g->rows[2].hiddenInTree, 1);
  EXPECT_EQ(g->rows[3].hiddenInTree, 0);
  EXPECT_EQ(px(50, 25), kRed);  // row 3 follows row 0 directly
  EXPECT_EQ(g->lastVisibleRow, 4);

  // SCROLLY 1 skips the first shown row only: row 3 comes first.
  set_attribute(ui, kGrid, "SCROLLY", "1", 1);
  EXPECT_EQ(px(50, 5), kRed);
  EXPECT_EQ(px(50, 25), kGreen);
  set_attribute(ui, kGrid, "SCROLLY", "2", 1);
  EXPECT_EQ(px(50, 5), kGreen);

  // Opened, the subtree is shown and counted again.
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "16", 0);
  set_attribute(ui, kGrid, "SCROLLY", "0", 1);
  EXPECT_EQ(g->rows[1].hiddenInTree, 0);
  EXPECT_EQ(px(50, 65), kRed);

  // SHOWTREE 0: everything is shown, also under a collapsed parent.
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "1", 0);
  set_attribute(ui, kGrid, "SHOWTREE", "0", 1);
  EXPECT_EQ(g->rows[1].hiddenInTree, 0);
  EXPECT_EQ(px(50, 65), kRed);
}

TEST_F(GridRender, NestedCollapseKeepsInnerSubtreesHidden) {
  plain_columns(1);
  // Levels 0, 1, 1, 2, 0; rows 0 and 2 are parents.
  for (int8_t level : {0, 1, 1, 2, 0}) add_row(ui, kGrid, -1, "", 20, level, "", "", 0);
  ensure_expander(kGrid, 0);
  ensure_expander(kGrid, 2);
  GridRecord* g = record();
  draw();
  for (int r : {1, 2, 3}) EXPECT_EQ(g->rows[r].hiddenInTree, 1) << r;
  EXPECT_EQ(g->rows[4].hiddenInTree, 0);
  // Opening row 0 shows rows 1 and 2; row 3 stays under collapsed row 2.
  g->rows[0].isParent = 16;
  draw();
  EXPECT_EQ(g->rows[1].hiddenInTree, 0);
  EXPECT_EQ(g->rows[2].hiddenInTree, 0);
  EXPECT_EQ(g->rows[3].hiddenInTree, 1);
  EXPECT_EQ(g->rows[4].hiddenInTree, 0);
  // The walk the mouse handling uses agrees with the drawing.
  RowWalk walk(*g, 4, INT32_MAX);
  int32_t drawnRows = 0;
  while (walk.next()) {
    EXPECT_EQ(walk.shown, g->rows[walk.row].hiddenInTree == 0) << walk.row;
    if (walk.drawn) {
      EXPECT_EQ(walk.y, 4 + 20 * drawnRows);
      ++drawnRows;
    }
  }
  EXPECT_EQ(drawnRows, 4);
  EXPECT_EQ(walk.shownCount, 4);
}

TEST_F(GridRender, ExpanderFramesAndIndent) {
  plain_columns(2);
  for (int8_t level : {0, 1, 2}) add_row(ui, kGrid, -1, "", 20, level, "", "", 0);
  ExpanderRecord* e = ensure_expander(kGrid, 0);
  ExpanderRecord* inner = ensure_expander(kGrid, 1);
  GridRecord* g = record();
  draw();
  // Collapsed and idle: frame 0 at (tx, ty) = (4, 5).
  EXPECT_EQ(px(10, 10), frame_colour(0));
  e->hovered = 1;
  e->state = 64;
  draw();
  EXPECT_EQ(px(10, 10), frame_colour(2));
  g->rows[0].isParent = 16;
  draw();
  EXPECT_EQ(px(10, 10), frame_colour(6));
  e->hovered = 0;
  e->state = 0;
  draw();
  EXPECT_EQ(px(10, 10), frame_colour(4));
  // Row 1 (level 1) has its expander one icon further right, collapsed.
  EXPECT_EQ(px(30, 30), frame_colour(0));
  ASSERT_NE(inner, nullptr);

  // While an animation runs, the frame the step cut is kept.
  e->state = 16;
  tk_free_image(e->frameImage);
  e->frameImage = tk_grab_image_region(e->strip, -1, 11 * 20, 0, 20, 20);
  draw();
  EXPECT_EQ(px(10, 10), frame_colour(11));
  e->state = 0;

  // ISPARENT 64: no icon; the text starts after MARGINLEFT only.
  g->rows[0].isParent = 64;
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kPale), 0);
  set_column_attribute(ui, kGrid, 0, "MARGINLEFT", "30", 1);
  EXPECT_EQ(px(10, 10), tile_colour(8));  // no icon, the box starts at tx
  EXPECT_EQ(px(34, 10), kPale);
  EXPECT_EQ(px(33, 10), tile_colour(9));

  // A margin wider than the icon replaces the icon's width after it.
  g->rows[0].isParent = 1;
  draw();
  EXPECT_EQ(px(10, 10), frame_colour(0));
  EXPECT_EQ(px(34, 10), kPale);
}

TEST_F(GridRender, ScrollXDrawsFromItsColumn) {
  fill(kGrid, 3, 2);
  set_cell_attribute(ui, kGrid, 2, 0, "BGCOLOR", std::to_string(kRed), 0);
  set_attribute(ui, kGrid, "SCROLLX", "2", 1);
  // Only the third column, starting at x = 4.
  EXPECT_EQ(px(4, 21), kRed);
  EXPECT_EQ(px(103, 21), kRed);
  EXPECT_EQ(px(105, 21), tile_colour(11));
  GridRecord* g = record();
  EXPECT_EQ(g->lastVisibleColumn, 2);
  EXPECT_EQ(g->scrollArrows, 2);  // scrolled: the horizontal pair shows

  // A negative position draws from the first column; not scrolled.
  set_attribute(ui, kGrid, "SCROLLX", "-3", 1);
  EXPECT_EQ(px(204, 21), kRed);
  EXPECT_EQ(g->scrollArrows, 0);
}

TEST_F(GridRender, LastVisibleColumnAndRow) {
  fill(kGrid, 8, 10);
  draw();
  GridRecord* g = record();
  // Column 6 starts at 604 < 700 and ends at 704: the row stops there.
  EXPECT_EQ(g->lastVisibleColumn, 6);
  // Rows start at 20, 40, ... 140: row 6 is the last one started.
  EXPECT_EQ(g->lastVisibleRow, 6);
  set_attribute(ui, kGrid, "SCROLLY", "3", 1);
  EXPECT_EQ(g->lastVisibleRow, 9);
}

TEST_F(GridRender, HorizontalArrowsOnlyTenPixelsPastTheEdge) {
  add_column(ui, kGrid, -1, "", 705, 0, 0, 0, "", 0);  // ends at 4 + 705 = W + 9
  plain_rows(1);
  draw();
  GridRecord* g = record();
  EXPECT_EQ(g->scrollArrows, 0);
  set_column_attribute(ui, kGrid, 0, "WIDTH", "706", 1);  // W + 10
  EXPECT_EQ(g->scrollArrows, 2);
  // The pair is cut from (SW - 50, 24): frames 15 and 16 of row 1.
  EXPECT_EQ(px(647, 132), frame_colour(15));
  EXPECT_EQ(px(646 + 20, 132), frame_colour(16));

  // Rows reaching the bottom add the vertical pair, cut from (SW - 16, 0).
  plain_rows(7);
  draw();
  EXPECT_EQ(g->scrollArrows, 3);
  EXPECT_EQ(px(682, 116), tile_colour(16));
  EXPECT_EQ(px(682, 140), frame_colour(16));

  // Any pressed arrow is redrawn over its place, an unknown one ignored.
  for (int8_t pressed : {1, 2, 3, 4, 9, -1}) {
    g->pressedArrow = pressed;
    draw();
    EXPECT_EQ(px(647, 132), frame_colour(15));
    EXPECT_EQ(g->scrollArrows, 3);
  }
}

// Rows and captions paint inside the frame (4 pixels in), caption cells as
// a band over its left line; a borderless grid has no frame.
TEST(GridBands, PaintAreasStayInsideTheFrame) {
  using Edges = std::array<int32_t, 4>;
  const auto edges = [](const GridArea& a) { return Edges{a.left, a.top, a.right, a.bottom}; };
  GridRecord g;
  g.columnCount = 1;
  g.captColHeight = 20;
  g.captRowWidth = 60;
  GridBands a = grid_bands(g, 700, 150);
  EXPECT_EQ(edges(a.captionArea), (Edges{4, 0, 696, 20}));
  EXPECT_EQ(edges(a.rowsArea), (Edges{0, 20, 696, 146}));
  EXPECT_EQ(a.cellsLeft, 60);
  g.captColHeight = 0;
  g.captRowWidth = 0;
  EXPECT_EQ(edges(grid_bands(g, 700, 150).rowsArea), (Edges{4, 4, 696, 146}));
  g.borderless = 1;
  EXPECT_EQ(edges(grid_bands(g, 700, 150).rowsArea), (Edges{0, 4, 700, 150}));
}

// A row cut by the bottom edge and columns and captions cut by the right
// edge are clipped where the frame begins; the frame keeps its tiles.
TEST_F(GridRender, CutRowsColumnsAndCaptionsStayInsideTheFrame) {
  add_column(ui, kGrid, -1, "", 680, 0, 0, 0, "", 0);
  add_column(ui, kGrid, -1, "MMMMMMMMMM", 400, 0, 0, 0, "", 0);  // caption at x 691
  plain_rows(7);  // rows from y 20, the last one 140 .. 160
  set_column_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kRed), 0);
  set_column_attribute(ui, kGrid, 1, "BGCOLOR", std::to_string(kRed), 0);
  draw();
  EXPECT_EQ(px(600, 145), kRed);
  EXPECT_EQ(px(600, 146), tile_colour(6));
  EXPECT_EQ(px(695, 75), kRed);
  EXPECT_EQ(px(696, 75), tile_colour(4));
  EXPECT_EQ(px(697, 147), tile_colour(7));
  EXPECT_FALSE(ink(690, 1, 696, 19, tile_colour(2)).empty()) << "the caption is drawn";
  EXPECT_TRUE(ink(696, 0, 700, 20, tile_colour(2)).empty()) << "but not over the corner";
}

TEST_F(GridRender, RedrawZeroDrawsNothingUntilOne) {
  plain_columns(1);
  plain_rows(1);
  draw();
  set_attribute(ui, kGrid, "REDRAW", "0", 1);
  EXPECT_EQ(record()->redraw, 0);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kRed), 1);
  set_cell(ui, kGrid, 0, 0, "x", -1, -1, -1);
  add_row(ui, kGrid, -1, "", 20, 0, "", "", 1);
  EXPECT_EQ(px(50, 10), tile_colour(9));
  set_attribute(ui, kGrid, "REDRAW", "1", 1);
  EXPECT_EQ(px(50, 10), kRed);
}

TEST_F(GridRender, GadgetShowsTheComposedPicture) {
  if (!tk_gadget_exists(gadget)) GTEST_SKIP() << "no image gadgets on this toolkit build";
  plain_columns(1);
  plain_rows(1);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kRed), 1);
  EXPECT_EQ(tk_gadget_pixel(gadget, 50, 10), kRed);
  EXPECT_EQ(tk_gadget_pixel(gadget, 350, 75), tile_colour(11));
  set_attribute(ui, kGrid, "REDRAW", "0", 1);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kGreen), 1);
  EXPECT_EQ(tk_gadget_pixel(gadget, 50, 10), kRed);
}

TEST_F(GridRender, OpenEditorIsPlacedOnItsCell) {
  if (!tk_gadget_exists(gadget)) GTEST_SKIP() << "no gadgets on this toolkit build";
  fill(kGrid, 3, 3);
  ASSERT_NE(create_input(ui, "Editor", 0, 0, 10, 10, "", 0, ""), 0);
  const int32_t editor = get_gadget(ui, "Editor");
  GridRecord* g = record();
  g->inputGadget = editor;
  g->editor.column = 1;
  g->editor.row = 2;
  g->permanentCursor = 1;
  set_cursor(ui, kGrid, 0, 0, 1);  // the cursor elsewhere does not carry it
  // Cell (1, 2) lies at (104, 60) in the grid, the grid at (6, 200).
  EXPECT_EQ(tk_gadget_x(editor), 110);
  EXPECT_EQ(tk_gadget_y(editor), 260);
  EXPECT_EQ(tk_gadget_width(editor), 100);
  EXPECT_EQ(tk_gadget_height(editor), 20);
  set_column_attribute(ui, kGrid, 1, "INPUTHEIGHT", "60", 1);
  EXPECT_EQ(tk_gadget_height(editor), 60);
  g->inputGadget = 0;
}

TEST_F(GridRender, HostileSizesAndValuesNeverCrash) {
  fill(kGrid, 4, 6);
  GridRecord* g = record();
  set_column_attribute(ui, kGrid, 1, "WIDTH", "0", 0);
  set_column_attribute(ui, kGrid, 2, "WIDTH", "-50", 0);
  set_row_attribute(ui, kGrid, 0, "HEIGHT", "127", 0);
  set_row_attribute(ui, kGrid, 1, "HEIGHT", "200", 0);  // -56
  set_row_attribute(ui, kGrid, 2, "LEVEL", "100", 0);
  set_column_attribute(ui, kGrid, 0, "MARGINLEFT", "-100", 0);
  set_cell_attribute(ui, kGrid, 0, 0, "IMAGE", "123456", 0);
  g->cells[1].image = 987654;  // a number that names no image
  g->permanentCursor = 1;
  g->selectionEndColumn = 3;
  g->selectionEndRow = 5;
  draw();
  EXPECT_GE(g->lastVisibleRow, 0);
  EXPECT_LE(g->lastVisibleRow, 5);

  for (const char* value : {"32767", "-32768", "0", "-1"}) {
    set_attribute(ui, kGrid, "SCROLLX", value, 1);
    set_attribute(ui, kGrid, "SCROLLY", value, 1);
    set_attribute(ui, kGrid, "CAPTROWWIDTH", value, 1);
    set_attribute(ui, kGrid, "CAPTCOLHEIGHT", value, 1);
  }
  // Sizes of zero and below keep the last picture.
  const int32_t before = px(1, 1);
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {-5, 40}, {40, -5}, {0, 150}}) {
    NamedObject* obj = object(kGrid);
    obj->width = static_cast<int16_t>(w);
    obj->height = static_cast<int16_t>(h);
    draw();
  }
  NamedObject* obj = object(kGrid);
  obj->width = 700;
  obj->height = 150;
  EXPECT_NE(before, -1);
  draw();
  EXPECT_EQ(tk_image_width(canvas()), 700);
  // A source image or icon size that is gone draws nothing and keeps going.
  obj->canvas->iconSize = 0;
  draw();
  obj->canvas->iconSize = 20;
}

TEST_F(GridRender, TwoGridsDrawTheirOwnRecords) {
  fill(kGrid, 2, 3);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", std::to_string(kRed), 1);
  make_grid("Other", 10, 10, 300, 100);
  fill("Other", 3, 9);
  set_row_attribute(ui, "Other", 0, "BGCOLOR", std::to_string(kGreen), 1);
  draw();
  GridRecord* g = record();
  EXPECT_EQ(px(50, 25), kRed);
  EXPECT_EQ(g->lastVisibleRow, 2);
  EXPECT_EQ(g->lastVisibleColumn, 1);
  EXPECT_EQ(tk_image_pixel(canvas("Other"), 50, 25), kGreen);
}

TEST_F(GridRender, SkinPiecesAreCutOncePerSkinAndGoWithTheGrid) {
  fill(kGrid, 2, 2);
  draw();
  const GridSkinPieces& skin = record()->skin;
  const int32_t ground = skin.tiles[11].get();
  ASSERT_NE(ground, 0);
  const int32_t below = px(50, 100);  // the ground below the rows
  draw();
  set_cursor(ui, kGrid, 1, 1, 1);
  EXPECT_EQ(skin.tiles[11].get(), ground);  // drawings reuse the pieces

  // Another source image is another skin: its pieces replace the old ones.
  const int32_t copy = tk_grab_image_region(source, -1, 0, 0, tk_image_width(source),
                                            tk_image_height(source));
  object(kGrid)->canvas->sourceImage = copy;
  draw();
  EXPECT_NE(skin.tiles[11].get(), ground);
  EXPECT_FALSE(tk_image_exists(ground));
  EXPECT_EQ(px(50, 100), below);  // the same picture from the new pieces

  const int32_t kept = skin.tiles[11].get();
  ASSERT_EQ(remove_object(ui, kGrid, 1), 1);
  EXPECT_FALSE(tk_image_exists(kept));
  tk_free_image(copy);
}

// Not a check: with ZUI_GRID_SNAPSHOTS=dir set, writes the states that
// matter as PNG files (synthetic and real skin) for a look by eye.
TEST_F(GridRender, Snapshots) {
  const char* dir = std::getenv("ZUI_GRID_SNAPSHOTS");
  if (!dir) GTEST_SKIP() << "set ZUI_GRID_SNAPSHOTS to a directory";
  const int32_t real = grid_test::real_grid_parts();
  ASSERT_NE(real, 0);
  tk_save_image(real, std::string(dir) + "/grid-parts.png");
  int32_t n = 0;
  auto shoot = [&](const std::string& name) {
    for (int32_t skin : {real, source}) {
      NamedObject* obj = object(kGrid);
      obj->canvas->sourceImage = skin;
      for (CellRecord& cell : grid_record(*obj)->cells)
        if (cell.expander) {
          tk_free_image(cell.expander->strip);
          cell.expander->strip = tk_grab_image_region(skin, -1, 0, 20, 1000, 20);
        }
      draw();
      tk_save_image(canvas(), std::string(dir) + "/" + std::to_string(n) + "-" + name +
                                  (skin == real ? "-skin" : "-synthetic") + ".png");
    }
    ++n;
  };
  shoot("empty");
  add_column(ui, kGrid, -1, "Name", 180, 1, 0, 0, "", 0);
  add_column(ui, kGrid, -1, "Amount", 120, 1, 1, 0, "", 0);
  add_column(ui, kGrid, -1, "Centre", 120, 1, 2, 0, "", 0);
  add_column(ui, kGrid, -1, "Wide", 300, 1, 0, 0, "", 0);
  const char* names[] = {"Müller — 北京", "Parent", "Child a", "Child b", "Grandchild", "Next",
                         "Last", "More", "Even more"};
  const int8_t levels[] = {0, 0, 1, 1, 2, 0, 0, 0, 0};
  for (int i = 0; i < 9; ++i)
    add_row(ui, kGrid, -1, i == 0 ? "Caption" : "", 20, levels[i],
            std::string(names[i]) + "\n" + std::to_string(i * 1250) + ",00\nmid\nwide text", "",
            0);
  for (int r : {1, 3}) ensure_expander(kGrid, r);
  shoot("plain-collapsed");
  GridRecord* g = record();
  g->rows[1].isParent = 16;
  g->rows[3].isParent = 16;
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 0);
  set_cursor(ui, kGrid, 1, 2, 0);
  shoot("open-selected");
  set_attribute(ui, kGrid, "SCROLLX", "1", 0);
  set_attribute(ui, kGrid, "SCROLLY", "2", 0);
  g->pressedArrow = 4;
  shoot("scrolled-arrows");
  g->pressedArrow = 0;
  set_attribute(ui, kGrid, "BORDERLESS", "1", 0);
  shoot("borderless");
  tk_free_image(real);
}

}  // namespace
