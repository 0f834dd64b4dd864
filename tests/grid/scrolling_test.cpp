// Grid scroll bars (creation, links, update after drawing) and the move and
// resize operations by name.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

using grid_test::GridFixture;

class GridScrolling : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    if (!tk_gadget_exists(gadget)) GTEST_SKIP() << "no gadgets on this toolkit build";
  }
  NamedObject& grid() { return *object(kGrid); }
  NamedObject* bar(const char* suffix) { return object(std::string(kGrid) + suffix); }
};

TEST_F(GridScrolling, VerticalBarIsCreatedBesideTheShrunkGrid) {
  fill(kGrid, 3, 3);  // caption row of 20
  set_attribute(ui, kGrid, "SCOLLBARY", "ignored", 0);
  EXPECT_EQ(current_object(ui)->name, kGrid);
  EXPECT_EQ(grid().width, 680);
  EXPECT_EQ(grid().height, 150);
  NamedObject* v = bar("SCROLLV");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->kind, Kind::ScrollBar);
  EXPECT_EQ(v->x, 686);
  EXPECT_EQ(v->y, 220);
  EXPECT_EQ(v->width, 18);
  EXPECT_EQ(v->height, 125);
  EXPECT_EQ(v->scrollBarData->vertical, 1);
  EXPECT_EQ(get_attribute(ui, "GridSCROLLV", "PARENTGRID"), kGrid);
  EXPECT_EQ(record()->vScrollBar, "GridSCROLLV");
  EXPECT_EQ(tk_gadget_x(v->gadget), 686);
  EXPECT_EQ(tk_gadget_height(v->gadget), 125);
  // With a bar the grid draws no arrows of its own.
  EXPECT_EQ(record()->scrollArrows, 0);

  // A second request shrinks the grid again, but no second bar appears:
  // the existing one follows the grid's new edge.
  const int32_t objects = ui.count;
  set_attribute(ui, kGrid, "scollbary", "", 0);
  EXPECT_EQ(grid().width, 660);
  EXPECT_EQ(ui.count, objects);
  EXPECT_EQ(bar("SCROLLV")->x, 666);
}

// The operations on a given grid reach its scroll bars without moving the
// current object; their by-name shells leave the grid current.
TEST_F(GridScrolling, OperationsOnAGivenGridLeaveTheCurrentObjectAlone) {
  fill(kGrid, 3, 3);
  set_attribute(ui, kGrid, "SCOLLBARY", "", 0);
  set_attribute(ui, kGrid, "SCOLLBARX", "", 0);
  create_input(ui, "Elsewhere", 0, 0, 50, 20, "", 0, "");
  NamedObject* elsewhere = object("Elsewhere");
  NamedObject& g = grid();
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"move", [&] { move_object(ui, g, 20, 210, 1); }},
      {"resize", [&] { resize_object(ui, g, 600, 140, 1); }},
      {"scroll", [&] { set_attribute(ui, g, "SCROLLY", "1", 1); }},
      {"cell", [&] { set_cell(ui, g, 1, 1, "x", -1, -1, -1); }},
      {"cursor", [&] { set_cursor(ui, g, 2, 2, 1); }},
      {"refresh", [&] { refresh_window(ui, kWindow); }},
  };
  for (const auto& [what, step] : steps) {
    make_current(ui, elsewhere);
    step();
    EXPECT_EQ(current_object(ui), elsewhere) << what;
  }
  EXPECT_EQ(bar("SCROLLV")->x, g.x + g.width);  // the bar followed the grid
  resize_object(ui, kGrid, 580, -1, 1);
  EXPECT_EQ(current_object(ui), &g);
}

TEST_F(GridScrolling, HorizontalBarGoesUnderTheGrid) {
  fill(kGrid, 3, 3);
  set_attribute(ui, kGrid, "SCOLLBARX", "", 0);
  EXPECT_EQ(grid().height, 130);
  NamedObject* h = bar("SCROLLH");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->x, 11);
  EXPECT_EQ(h->y, 330);
  EXPECT_EQ(h->width, 690);
  EXPECT_EQ(h->height, 18);
  EXPECT_EQ(h->scrollBarData->vertical, 0);
  EXPECT_EQ(record()->hScrollBar, "GridSCROLLH");
  EXPECT_EQ(record()->vScrollBar, "");
}

TEST_F(GridScrolling, BarsAreEnabledAndRangedAfterEachDrawing) {
  fill(kGrid, 3, 3);  // everything fits
  set_attribute(ui, kGrid, "SCOLLBARY", "", 0);
  set_attribute(ui, kGrid, "SCOLLBARX", "", 1);
  NamedObject* v = bar("SCROLLV");
  NamedObject* h = bar("SCROLLH");
  ASSERT_TRUE(v && h);
  EXPECT_EQ(v->disabled, 1);  // disabled, never hidden
  EXPECT_EQ(h->disabled, 1);
  EXPECT_NE(v->hidden, 1);

  // SCROLLY 1 enables the vertical bar at state 1; all rows fit, so its
  // range ends at the position it holds.
  set_attribute(ui, kGrid, "SCROLLY", "1", 1);
  EXPECT_EQ(v->disabled, 0);
  EXPECT_EQ(tk_get_gadget_state(v->gadget), 1);
  EXPECT_EQ(v->scrollBarData->maximum, 1);
  EXPECT_EQ(tk_get_gadget_attribute(v->gadget, 2), 1);
  EXPECT_EQ(h->disabled, 1);
  EXPECT_EQ(current_object(ui)->name, kGrid);

  // Rows past the bottom enable it without scrolling.
  set_attribute(ui, kGrid, "SCROLLY", "0", 0);
  for (int r = 0; r < 10; ++r) add_row(ui, kGrid, -1, "", 20, 0, "", "", 0);
  set_attribute(ui, kGrid, "REDRAW", "1", 1);
  EXPECT_EQ(v->disabled, 0);
  EXPECT_EQ(tk_get_gadget_state(v->gadget), 0);

  // Columns 10 or more pixels past the edge enable the horizontal bar;
  // a negative SCROLLX counts as not scrolled.
  set_column_attribute(ui, kGrid, 2, "WIDTH", "600", 1);
  EXPECT_EQ(h->disabled, 0);
  EXPECT_EQ(h->scrollBarData->maximum, 2);  // the wide column alone fits
  set_column_attribute(ui, kGrid, 2, "WIDTH", "100", 0);
  set_attribute(ui, kGrid, "SCROLLX", "-3", 1);
  EXPECT_EQ(h->disabled, 1);
  // The range always holds the position: scrolled by 2 with one column
  // left to draw, the bar still shows 2.
  set_attribute(ui, kGrid, "SCROLLX", "2", 1);
  EXPECT_EQ(h->disabled, 0);
  EXPECT_EQ(tk_get_gadget_state(h->gadget), 2);
  EXPECT_GE(h->scrollBarData->maximum, 2);
  for (int r = 0; r < 20; ++r) add_row(ui, kGrid, -1, "", 20, 0, "", "", 0);
  set_attribute(ui, kGrid, "SCROLLY", "15", 1);
  EXPECT_EQ(tk_get_gadget_state(v->gadget), 15);
}

// A bar ends at the first item from which all the rest fit, else at the
// last item.
TEST(ScrollRange, EndsWhereTheRestFits) {
  struct Case {
    std::vector<int32_t> sizes;
    int32_t room, last;
  } const cases[] = {
      {{}, 100, 0},          {{50, 50}, 100, 0},      {std::vector<int32_t>(20, 20), 126, 14},
      {{100, 800}, 672, 1},  {{100, 0, 50}, 60, 1},  {{30, -5, 30}, 60, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(last_scroll_position(c.sizes, c.room), c.last) << c.sizes.size() << " in " << c.room;
}

TEST_F(GridScrolling, BarsReachTheLastRowAndColumnWhole) {
  fill(kGrid, 8, 20);  // caption row of 20, rows of 20, 800 pixels of columns
  set_attribute(ui, kGrid, "SCOLLBARY", "", 1);
  NamedObject* v = bar("SCROLLV");
  ASSERT_NE(v, nullptr);
  // Rows have 150 - 20 - 4 = 126 pixels: the last six fit from row 14 on.
  EXPECT_EQ(tk_get_gadget_attribute(v->gadget, 2), 14);
  set_attribute(ui, kGrid, "SCROLLY", "14", 1);
  EXPECT_EQ(record()->lastVisibleRow, 19);

  // A collapsed subtree takes its rows out of the range.
  set_row_attribute(ui, kGrid, 1, "LEVEL", "1", 0);
  ensure_expander(kGrid, 0);
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "1", 0);
  set_attribute(ui, kGrid, "SCROLLY", "0", 1);
  EXPECT_EQ(tk_get_gadget_attribute(v->gadget, 2), 13);

  // Columns have 680 - 4 - 4 = 672 pixels: the last six fit from column 2.
  set_attribute(ui, kGrid, "SCOLLBARX", "", 1);
  EXPECT_EQ(tk_get_gadget_attribute(bar("SCROLLH")->gadget, 2), 2);
}

TEST_F(GridScrolling, MoveKeepsNegativeCoordinatesAndCarriesTheBars) {
  fill(kGrid, 3, 3);
  set_attribute(ui, kGrid, "SCOLLBARY", "", 0);
  set_attribute(ui, kGrid, "SCOLLBARX", "", 0);
  const int16_t absX = grid().absX, absY = grid().absY;
  move_object(ui, kGrid, -1, 50, 1);
  EXPECT_EQ(grid().x, 6);
  EXPECT_EQ(grid().y, 50);
  EXPECT_EQ(grid().absX, absX);
  EXPECT_EQ(grid().absY, absY - 150);
  EXPECT_EQ(tk_gadget_x(gadget), 6);
  EXPECT_EQ(tk_gadget_y(gadget), 50);
  EXPECT_EQ(bar("SCROLLV")->x, 6 + 680);
  EXPECT_EQ(bar("SCROLLV")->y, 50 + 20);
  EXPECT_EQ(bar("SCROLLH")->x, 11);
  EXPECT_EQ(bar("SCROLLH")->y, 50 + 130);
  EXPECT_EQ(tk_gadget_y(bar("SCROLLH")->gadget), 180);

  // The same position changes nothing; an unknown name returns 0.
  move_object(ui, kGrid, 6, 50, 1);
  EXPECT_EQ(grid().absY, absY - 150);
  EXPECT_EQ(move_object(ui, "Nope", 1, 1, 1), 0);
}

TEST_F(GridScrolling, MoveTakesTheLabelAlong) {
  ASSERT_NE(create_input(ui, "Field", 200, 20, 120, 20, "", 0, ""), 0);
  set_label(ui, "Field", "Name", 60, -1, -1);
  NamedObject* field = object("Field");
  ASSERT_TRUE(field->labelData);
  move_object(ui, "Field", 300, 40, 1);
  EXPECT_EQ(tk_gadget_x(field->labelData->labelGadget), 240);
  EXPECT_EQ(tk_gadget_y(field->labelData->labelGadget), 44);
}

TEST_F(GridScrolling, LiveUpdateOffMovesRecordsButNotGadgets) {
  set_live_update(ui, kWindow, 0);
  move_object(ui, kGrid, 40, 60, 0);
  EXPECT_EQ(grid().x, 40);
  EXPECT_EQ(tk_gadget_x(gadget), 6);
  // Applied later, only the coordinate given is passed to the gadget.
  move_object(ui, kGrid, 41, -1, 1);
  EXPECT_EQ(tk_gadget_x(gadget), 41);
  EXPECT_EQ(tk_gadget_y(gadget), 200);
  set_live_update(ui, kWindow, 1);
}

TEST_F(GridScrolling, ResizeRedrawsOnlyWhenSomethingChanged) {
  fill(kGrid, 2, 2);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "255", 0);
  const int32_t before = tk_image_pixel(canvas(), 50, 30);
  ASSERT_NE(before, 255);
  // The same size, also with apply 1, draws nothing.
  resize_object(ui, kGrid, 700, 150, 1);
  resize_object(ui, kGrid, -1, -1, 1);
  EXPECT_EQ(tk_image_pixel(canvas(), 50, 30), before);
  // A new size draws at once, at that size.
  resize_object(ui, kGrid, 500, -1, 1);
  EXPECT_EQ(grid().width, 500);
  EXPECT_EQ(grid().height, 150);
  EXPECT_EQ(tk_image_width(canvas()), 500);
  EXPECT_EQ(tk_gadget_width(gadget), 500);
  EXPECT_EQ(tk_image_pixel(canvas(), 50, 30), 255);
  EXPECT_EQ(resize_object(ui, "Nope", 1, 1, 1), 0);
  // Zero sizes are stored and drawing keeps the last picture.
  resize_object(ui, kGrid, 0, 0, 1);
  EXPECT_EQ(tk_image_width(canvas()), 500);
}

TEST_F(GridScrolling, ResizedGridKeepsItsBarsBesideIt) {
  fill(kGrid, 3, 3);
  set_attribute(ui, kGrid, "SCOLLBARY", "", 0);
  set_attribute(ui, kGrid, "SCOLLBARX", "", 0);
  resize_object(ui, kGrid, 400, 100, 1);
  NamedObject* v = bar("SCROLLV");
  NamedObject* h = bar("SCROLLH");
  EXPECT_EQ(v->x, 6 + 400);
  EXPECT_EQ(v->y, 200 + 20);
  EXPECT_EQ(v->height, 100 - 20 - 5);
  EXPECT_EQ(h->x, 11);
  EXPECT_EQ(h->y, 300);
  EXPECT_EQ(h->width, 390);
  EXPECT_EQ(tk_gadget_width(h->gadget), 390);
  EXPECT_EQ(tk_gadget_x(v->gadget), 406);
}

}  // namespace
