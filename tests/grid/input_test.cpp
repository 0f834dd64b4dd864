// The grid's mouse and keyboard handling: arrows, hits, cursor moves,
// paging, selection and shortcuts.
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/row_walk.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

namespace {

using grid_test::GridFixture;

constexpr int32_t kGridX = 6;    // the fixture grid's window position
constexpr int32_t kGridY = 200;
constexpr int32_t kNoClick = -1;

// The clock of the tests that pace the arrows, moved by hand.
int32_t g_now = 0;
int32_t test_clock() { return g_now; }

class GridInput : public GridFixture {
 protected:
  GridRecord& g() { return *record(); }

  // grid_mouse at a point relative to the grid.
  int32_t mouse(int32_t rx, int32_t ry, int32_t type) {
    return grid_mouse(ui, *object(kGrid), kGridX + rx, kGridY + ry, type);
  }

  // A left click in the middle of cell (k, j), unscrolled, caption row on.
  int32_t click_cell(int32_t k, int32_t j, int32_t type = TK_TYPE_LEFT_CLICK) {
    return mouse(4 + 100 * k + 50, 20 + 20 * j + 10, type);
  }

  int8_t event_code() { return current_window(ui)->eventCode; }

  void cursor_to(int16_t k, int16_t j) { set_cursor(ui, kGrid, k, j, 1); }

  // Row, shown index and y of each row a walk from `from` draws, then where
  // the walk ended.
  using Drawn = std::vector<std::array<int32_t, 3>>;
  Drawn drawn_rows(const RowWalkAnchor& from) {
    Drawn out;
    RowWalk walk(g(), 20, 150, from);
    while (walk.next())
      if (walk.drawn) out.push_back({walk.row, walk.shownIndex, walk.y});
    out.push_back({walk.row, walk.shownCount, walk.y});
    return out;
  }

  // One column of width 200 holding a tree with these levels.
  void tree(std::initializer_list<int> levels) {
    add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
    int n = 0;
    for (int level : levels)
      add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level), "r" + std::to_string(n++), "",
              0);
    draw();
  }
};

// ---- scroll arrows -------------------------------------------------------------

TEST_F(GridInput, AHeldArrowStepsAtOnceThenAfterAPauseTenTimesASecond) {
  ui.clock = test_clock;
  g_now = 5000;
  fill(kGrid, 3, 30);
  draw();
  ASSERT_EQ(g().scrollArrows, 1);
  // Resting on the down arrow, one dispatch every 20 ms: a step at once,
  // the next after 400 ms, then one every 100 ms; only steps draw.
  std::vector<int32_t> steps;  // ms after the mouse reached the arrow
  for (int32_t ms = 0, start = g_now; ms <= 1000; ms += 20) {
    g_now = start + ms;
    const int16_t before = g().scrollY;
    const int32_t drew = mouse(690, 140, kNoClick);
    EXPECT_EQ(g().pressedArrow, 4);
    if (g().scrollY != before) steps.push_back(ms);
    EXPECT_EQ(drew, g().scrollY != before ? 1 : 0) << ms;
  }
  EXPECT_EQ(steps, (std::vector<int32_t>{0, 400, 500, 600, 700, 800, 900, 1000}));
  // After a stall, one step and a full interval to the next: no burst.
  g_now += 1000;
  mouse(690, 140, kNoClick);
  EXPECT_EQ(g().scrollY, 9);
  g_now += 80;
  mouse(690, 140, kNoClick);
  EXPECT_EQ(g().scrollY, 9);
  // It stops where the scroll bar would: the last page shown whole.
  for (int i = 0; i < 40; ++i, g_now += 100) mouse(690, 140, kNoClick);
  EXPECT_EQ(g().scrollY, 24);
  EXPECT_EQ(g().lastVisibleRow, 29);

  // The up arrow, tested first where the two zones meet, steps at once;
  // so does every click.
  EXPECT_EQ(mouse(690, 129, kNoClick), 1);
  EXPECT_EQ(g().pressedArrow, 3);
  EXPECT_EQ(g().scrollY, 23);
  for (int i = 0; i < 40; ++i) mouse(690, 120, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().scrollY, 0);
  // Leaving the arrow releases it.
  mouse(300, 60, kNoClick);
  EXPECT_EQ(g().pressedArrow, 0);
}

TEST_F(GridInput, HorizontalArrowsScrollColumns) {
  fill(kGrid, 8, 3);
  // The columns end 724 pixels in: 10 or more past the right edge.
  set_column_attribute(ui, kGrid, 6, "WIDTH", "120", 1);
  ASSERT_EQ(g().scrollArrows, 2);
  // Right stops once the last column shows whole, as the scroll bar does.
  for (int i = 0; i < 10; ++i) mouse(670, 140, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().pressedArrow, 2);
  EXPECT_EQ(g().scrollX, 2);
  EXPECT_EQ(g().lastVisibleColumn, 7);
  EXPECT_EQ(mouse(655, 140, kNoClick), 1);
  EXPECT_EQ(g().pressedArrow, 1);
  EXPECT_EQ(g().scrollX, 1);
  // Where both zones meet the left arrow wins.
  mouse(661, 140, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().scrollX, 0);
}

// ---- hits ------------------------------------------------------------------------

TEST_F(GridInput, MouseOverShowsTheCursorAndNothingElseRedraws) {
  fill(kGrid, 3, 5);
  draw();
  EXPECT_EQ(mouse(150, 50, kNoClick), 1);
  EXPECT_EQ(g().permanentCursor, -1);
  EXPECT_EQ(mouse(150, 50, kNoClick), 0);  // nothing changed, no drawing
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 0);
  mouse(150, 50, kNoClick);
  EXPECT_EQ(g().permanentCursor, 1);
  // Outside to the left and above: nothing happens.
  EXPECT_EQ(mouse(0, 50, TK_TYPE_LEFT_CLICK), 0);
  EXPECT_EQ(mouse(50, -3, TK_TYPE_LEFT_CLICK), 0);
}

TEST_F(GridInput, ClickPlacesTheCursorAndReportsIt) {
  fill(kGrid, 3, 5);
  draw();
  EXPECT_EQ(click_cell(2, 3), 1);
  EXPECT_EQ(g().cursorColumn, 2);
  EXPECT_EQ(g().cursorRow, 3);
  EXPECT_EQ(g().selectionEndColumn, 2);
  EXPECT_EQ(g().selectionEndRow, 3);
  EXPECT_EQ(object(kGrid)->text, "2,3");
  EXPECT_EQ(event_code(), 100);
  // Below the last row: no cell, no move.
  current_window(ui)->eventCode = 0;
  EXPECT_EQ(mouse(150, 140, TK_TYPE_LEFT_CLICK), 0);
  EXPECT_EQ(g().cursorRow, 3);
  EXPECT_EQ(event_code(), 0);
}

TEST_F(GridInput, ClickAtTheCaptionHeightSelectsTheWholeColumn) {
  fill(kGrid, 3, 5);
  draw();
  mouse(150, 20, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorColumn, 1);
  EXPECT_EQ(g().selectionEndColumn, 1);
  EXPECT_EQ(g().cursorRow, 0);
  EXPECT_EQ(g().selectionEndRow, 4);
  // One pixel lower it is the cell of row 0.
  mouse(150, 21, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().selectionEndRow, 0);
  // Only a click selects: hovering the caption does not.
  mouse(250, 10, kNoClick);
  EXPECT_EQ(g().cursorColumn, 1);
  // Past the last column there is no column to select.
  mouse(400, 10, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorColumn, 1);
  EXPECT_EQ(g().selectionEndRow, 0);
}

TEST_F(GridInput, CaptionColumnSelectsTheWholeRowAndTheCornerNothing) {
  fill(kGrid, 3, 5);
  set_attribute(ui, kGrid, "CAPTROWWIDTH", "40", 1);
  mouse(20, 70, TK_TYPE_LEFT_CLICK);  // row 2
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(g().selectionEndColumn, 2);
  EXPECT_EQ(g().cursorRow, 2);
  EXPECT_EQ(g().selectionEndRow, 2);
  // The corner, and the caption column below the rows, change nothing.
  mouse(20, 10, TK_TYPE_LEFT_CLICK);
  mouse(20, 140, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorRow, 2);
  EXPECT_EQ(g().selectionEndColumn, 2);
  // Cells start after the caption column.
  mouse(45, 30, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(g().selectionEndColumn, 0);
  EXPECT_EQ(g().cursorRow, 0);
}

TEST_F(GridInput, SelModeTwoSelectsWholeRows) {
  fill(kGrid, 3, 5);
  draw();
  set_attribute(ui, kGrid, "SELMODE", "2", 0);
  click_cell(1, 3);
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(g().selectionEndColumn, 2);
  EXPECT_EQ(g().cursorRow, 3);
  EXPECT_EQ(g().selectionEndRow, 3);
  EXPECT_EQ(event_code(), 100);
  set_attribute(ui, kGrid, "SELMODE", "1", 0);
  click_cell(2, 1);
  EXPECT_EQ(g().cursorColumn, 2);
  EXPECT_EQ(g().cursorRow, 0);
  EXPECT_EQ(g().selectionEndRow, 4);
}

TEST_F(GridInput, LockOneTakesTheKeyboardCursorButRefusesTheMouse) {
  fill(kGrid, 3, 5);
  draw();
  set_cell_attribute(ui, kGrid, 1, 0, "LOCK", "1", 0);
  current_window(ui)->eventCode = 0;
  EXPECT_EQ(click_cell(1, 0), 1);  // only the cursor-visibility change draws
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(event_code(), 0);
  EXPECT_EQ(key(GridKey::Right), 100);
  EXPECT_EQ(g().cursorColumn, 1);
  // A locked row refuses the mouse too.
  set_row_attribute(ui, kGrid, 2, "LOCK", "1", 0);
  click_cell(2, 2);
  EXPECT_EQ(g().cursorRow, 0);
}

TEST_F(GridInput, KeysPassOverDeepLocksAndZeroWidthColumns) {
  fill(kGrid, 5, 5);
  draw();
  set_column_attribute(ui, kGrid, 1, "LOCK", "-16", 0);
  set_column_attribute(ui, kGrid, 3, "WIDTH", "0", 1);
  key(GridKey::Right);
  EXPECT_EQ(g().cursorColumn, 2);
  key(GridKey::Right);
  EXPECT_EQ(g().cursorColumn, 4);
  // The last column keeps the cursor.
  key(GridKey::Right);
  EXPECT_EQ(g().cursorColumn, 4);
  key(GridKey::Left);
  key(GridKey::Left);
  EXPECT_EQ(g().cursorColumn, 0);
  // Lock -15 is not passed over; -17 is.
  set_column_attribute(ui, kGrid, 1, "LOCK", "-15", 0);
  key(GridKey::Right);
  EXPECT_EQ(g().cursorColumn, 1);
  set_cell_attribute(ui, kGrid, 1, 1, "LOCK", "-17", 0);
  set_column_attribute(ui, kGrid, 1, "LOCK", "0", 0);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 2);
  // Nothing to land on: the cursor stays.
  set_row_attribute(ui, kGrid, 3, "LOCK", "-20", 0);
  set_row_attribute(ui, kGrid, 4, "LOCK", "-20", 0);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 2);
}

// ---- tree rows -------------------------------------------------------------------

TEST_F(GridInput, ExpanderClickTurnsTheRowAndMovesNoCursor) {
  tree({0, 1, 2, 0});
  cursor_to(0, 3);
  // Row 0's expander square is at x 4..24 of the cell, y 0..20.
  EXPECT_EQ(mouse(4 + 10, 20 + 10, TK_TYPE_LEFT_CLICK), -1);
  EXPECT_EQ(g().cursorRow, 3);
  EXPECT_EQ(g().rows[0].isParent, 16);
  EXPECT_EQ(expander(0)->state, 16);
  EXPECT_EQ(expander(0)->frame, 8);
  EXPECT_EQ(g().animating, 1);

  // Elsewhere in that cell the click moves the cursor.
  draw();
  EXPECT_EQ(mouse(4 + 100, 20 + 10, TK_TYPE_LEFT_CLICK), 1);
  EXPECT_EQ(g().cursorRow, 0);

  // Row 1 (level 1) has its square one icon further right.
  cursor_to(0, 3);
  EXPECT_EQ(mouse(4 + 20 + 10, 40 + 10, TK_TYPE_LEFT_DOUBLE), -1);
  EXPECT_EQ(g().rows[1].isParent, 16);
  EXPECT_EQ(g().cursorRow, 3);
  EXPECT_EQ(mouse(4 + 5, 40 + 10, TK_TYPE_LEFT_CLICK), 1);
  EXPECT_EQ(g().cursorRow, 1);

  // The caption row above the square is the column, not the expander.
  mouse(4 + 10, 20, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().rows[0].isParent, 16);
  EXPECT_EQ(expander(0)->state, 16);
}

TEST_F(GridInput, AnExpanderIsHitWhereItIsDrawn) {
  // A tall parent row placing its icons at the bottom: the square lies at
  // y 20..40 of the row, not at its top.
  add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
  add_row(ui, kGrid, -1, "", 40, 0, "r0", "", 0);
  add_row(ui, kGrid, -1, "", 20, 1, "r1", "", 0);
  set_row_attribute(ui, kGrid, 0, "VORIENTATION", "1", 0);
  draw();
  EXPECT_EQ(mouse(4 + 10, 20 + 5, TK_TYPE_LEFT_CLICK), 1);  // the row's top: the cursor
  EXPECT_EQ(g().rows[0].isParent, 1);
  EXPECT_EQ(g().cursorRow, 0);
  EXPECT_EQ(mouse(4 + 10, 20 + 30, TK_TYPE_LEFT_CLICK), -1);  // the drawn square
  EXPECT_EQ(g().rows[0].isParent, 16);

  // A heading (always open) draws no square, so nothing there turns it.
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "64", 0);
  draw();
  EXPECT_EQ(mouse(4 + 10, 20 + 30, TK_TYPE_LEFT_CLICK), 1);
  EXPECT_EQ(g().rows[0].isParent, 64);
}

TEST_F(GridInput, HoverMarksOneExpanderAtATime) {
  add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
  add_column(ui, kGrid, -1, "Other", 100, 0, 0, 0, "", 0);
  for (int level : {0, 1, 0, 1}) add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level), "", "", 0);
  draw();
  ExpanderRecord* a = expander(0);
  ExpanderRecord* b = expander(2);
  mouse(150, 30, kNoClick);
  EXPECT_EQ(a->state, 64);
  EXPECT_EQ(a->hovered, 1);
  EXPECT_EQ(g().hoveredExpander, a);
  EXPECT_EQ(mouse(150, 30, kNoClick), 0);  // unchanged: no drawing

  mouse(150, 50, kNoClick);  // row 2 (row 1 is hidden)
  EXPECT_EQ(a->state, 0);
  EXPECT_EQ(a->hovered, 0);
  EXPECT_EQ(b->state, 64);
  EXPECT_EQ(g().hoveredExpander, b);

  // Below the last row, over the caption row and over the second column
  // the mark goes.
  mouse(150, 100, kNoClick);
  EXPECT_EQ(b->hovered, 0);
  mouse(150, 50, kNoClick);
  mouse(150, 10, kNoClick);
  EXPECT_EQ(b->hovered, 0);
  mouse(150, 50, kNoClick);
  EXPECT_EQ(mouse(250, 50, kNoClick), 1);
  EXPECT_EQ(b->state, 0);
  EXPECT_EQ(g().hoveredExpander, nullptr);

  // A turning expander keeps turning when the mouse moves on.
  mouse(4 + 10, 30, TK_TYPE_LEFT_CLICK);
  mouse(4 + 10, 30, kNoClick);
  mouse(250, 30, kNoClick);
  EXPECT_EQ(a->state, 16);
  EXPECT_EQ(a->hovered, 0);
}

TEST_F(GridInput, LeavingTheGridEndsTheLooksOnlyTheMouseGave) {
  tree({0, 1, 0, 0, 0, 0, 0, 0, 0, 0});
  ASSERT_EQ(g().scrollArrows, 1);
  ExpanderRecord* a = expander(0);
  const auto dispatch_at = [&](int32_t x, int32_t y) { dispatch_event(ui, x, y, 0, -1, 0, 0); };
  const auto expander_pixel = [&] { return tk_image_pixel(canvas(), 4 + 6, 20 + 9); };

  // Over the row: its expander shows hovered (frame 2) and the cursor shows.
  dispatch_at(kGridX + 150, kGridY + 30);
  EXPECT_EQ(a->state, 64);
  EXPECT_EQ(a->hovered, 1);
  EXPECT_EQ(g().permanentCursor, -1);
  EXPECT_EQ(expander_pixel(), grid_test::frame_colour(2));
  // Elsewhere in the window: all of it ends, and the grid is drawn so.
  dispatch_at(kGridX + 800, kGridY + 30);
  EXPECT_EQ(a->state, 0);
  EXPECT_EQ(a->hovered, 0);
  EXPECT_TRUE(g().activeExpanders.empty());
  EXPECT_EQ(g().permanentCursor, 0);
  EXPECT_EQ(expander_pixel(), grid_test::frame_colour(0));

  // An arrow held when the mouse leaves the window is released.
  dispatch_at(kGridX + 690, kGridY + 140);
  EXPECT_EQ(g().pressedArrow, 4);
  dispatch_at(-1, -1);
  EXPECT_EQ(g().pressedArrow, 0);
}

TEST_F(GridInput, DownAndUpPassOverCollapsedSubtrees) {
  tree({0, 1, 1, 0, 1, 0});
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 3);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 5);
  key(GridKey::Down);  // the last row keeps the cursor
  EXPECT_EQ(g().cursorRow, 5);
  key(GridKey::Up);
  EXPECT_EQ(g().cursorRow, 3);
  key(GridKey::Up);
  EXPECT_EQ(g().cursorRow, 0);

  // Space opens the row at the cursor; then Down enters the subtree.
  EXPECT_EQ(key(GridKey::Space), 105);
  EXPECT_EQ(g().rows[0].isParent, 16);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 1);
}

TEST_F(GridInput, HiddenRowsBelowTheDrawnPartArePassedOverToo) {
  // Rows 0..9, then a collapsed parent 10 with children 11..14, then 15:
  // rows 10 and later lie below the drawn part (six rows fit).
  std::initializer_list<int> levels = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0};
  tree(levels);
  ASSERT_LT(g().lastVisibleRow, 10);
  cursor_to(0, 9);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 10);
  key(GridKey::Down);
  EXPECT_EQ(g().cursorRow, 15);
  // The cursor row is drawn.
  EXPECT_EQ(g().rows[15].hiddenInTree, 0);
  EXPECT_GE(g().lastVisibleRow, 15);
}

TEST_F(GridInput, ScrolledRowsCountOnlyShownOnes) {
  tree({0, 1, 1, 1, 0, 0, 0, 0, 0, 0});
  set_attribute(ui, kGrid, "SCROLLY", "1", 1);
  // The first drawn row is row 4: row 0 is scrolled away, 1..3 are hidden.
  mouse(150, 30, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorRow, 4);
  mouse(150, 50, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(g().cursorRow, 5);
}

// Drawing, hits and moves on a scrolled grid start at the walk anchor the
// drawing keeps; they must see exactly what a walk from row 0 sees, also
// after scrolling without a drawing and after tree changes above the anchor.
TEST_F(GridInput, AnchoredWalksAgreeWithWalksFromRowZero) {
  // Eight blocks of five rows: a parent, a child that is itself a parent of
  // one grandchild, and two more children.
  constexpr int8_t kLevels[5] = {0, 1, 2, 1, 1};
  add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
  for (int32_t r = 0; r < 40; ++r)
    add_row(ui, kGrid, -1, "", 20, kLevels[r % 5], "r" + std::to_string(r), "", 0);
  const RowWalkAnchor fromZero{};

  // Clicks on every row band and each key move, once with the anchor and
  // once with it voided; scroll and cursor are put back in between.
  auto outcomes = [&](bool anchored) {
    const int16_t scrollY = g().scrollY;
    const int16_t row = g().cursorRow;
    std::vector<int32_t> out;
    for (int32_t ry = 25; ry < 150; ry += 20) {
      if (!anchored) g().walkAnchor = fromZero;
      mouse(120, ry, TK_TYPE_LEFT_CLICK);
      out.push_back(g().cursorRow);
    }
    for (int32_t id : {GridKey::Down, GridKey::Up, GridKey::PageDown, GridKey::PageUp}) {
      g().scrollY = scrollY;
      cursor_to(0, row);
      if (!anchored) g().walkAnchor = fromZero;
      key(id);
      out.insert(out.end(), {g().cursorRow, g().scrollY});
    }
    g().scrollY = scrollY;
    cursor_to(0, row);
    return out;
  };
  auto compare = [&](const std::string& state) {
    SCOPED_TRACE(state);
    EXPECT_EQ(drawn_rows(RowWalk::drawing_anchor(g())), drawn_rows(fromZero));
    EXPECT_EQ(outcomes(true), outcomes(false));
  };

  int32_t anchoredStates = 0;
  for (int32_t opened = 0; opened < 3; ++opened) {
    // 0: all collapsed; 1: every other block open; 2: everything open.
    if (opened == 1)
      for (int16_t b = 0; b < 8; b += 2) toggle_expander(g(), 0, static_cast<int16_t>(5 * b));
    if (opened == 2) {
      for (int16_t b = 1; b < 8; b += 2) toggle_expander(g(), 0, static_cast<int16_t>(5 * b));
      for (int16_t b = 0; b < 8; ++b) toggle_expander(g(), 0, static_cast<int16_t>(5 * b + 1));
    }
    for (int32_t scroll : {0, 2, 5, 9}) {
      const std::string state = std::to_string(opened) + "/" + std::to_string(scroll);
      set_attribute(ui, kGrid, "SCROLLY", std::to_string(scroll), 1);
      if (g().walkAnchor.row > 0) ++anchoredStates;
      compare(state);
      // Scrolled on without a drawing: the anchor still serves below it,
      // and above it the walks go back to row 0.
      g().scrollY = static_cast<int16_t>(scroll + 1);
      compare(state + " down");
      g().scrollY = static_cast<int16_t>(std::max(scroll - 1, 0));
      compare(state + " up");
      g().scrollY = static_cast<int16_t>(scroll);
    }
    // The hiddenInTree marks of a drawing from the anchor are those of a
    // full walk.
    draw();
    RowWalk full(g(), 20, INT32_MAX, fromZero);
    while (full.next() && full.row <= g().lastVisibleRow)
      EXPECT_EQ(g().rows[full.row].hiddenInTree, full.shown ? 0 : 1) << full.row;
  }
  EXPECT_GT(anchoredStates, 4);  // the anchor was really used

  // A tree change above the anchor voids it before the next drawing.
  set_attribute(ui, kGrid, "SCROLLY", "12", 1);
  ASSERT_GT(g().walkAnchor.row, 5);
  toggle_expander(g(), 0, 5);
  compare("collapsed above");
  set_row_attribute(ui, kGrid, 5, "ISPARENT", "16", 0);
  compare("ISPARENT above");
  set_row_attribute(ui, kGrid, 2, "LEVEL", "0", 0);
  compare("LEVEL above");
  delete_row(ui, kGrid, 0, 0);
  compare("row deleted above");
  set_attribute(ui, kGrid, "SHOWTREE", "0", 0);
  compare("SHOWTREE 0");
}

// In a grid of thousands of rows the walks start at checkpoints: what they
// find must be what one walk from row 0 finds, collapsed subtrees included.
TEST_F(GridInput, CheckpointWalksAgreeWithAWalkFromRowZero) {
  // Blocks of seven rows: a parent, its children, one of them a parent too.
  constexpr int8_t kLevels[7] = {0, 1, 1, 2, 2, 1, 1};
  add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
  set_attribute(ui, kGrid, "REDRAW", "0", 0);
  for (int32_t r = 0; r < 7 * 700; ++r)
    add_row(ui, kGrid, -1, "", 20, kLevels[r % 7], "r" + std::to_string(r), "", 0);
  set_attribute(ui, kGrid, "REDRAW", "1", 0);
  // Parents start collapsed: open two blocks of three, and every other inner parent.
  for (int32_t b = 0; b < 700; ++b) {
    if (b % 3 != 0) toggle_expander(g(), 0, 7 * b);
    if (b % 2 == 0) toggle_expander(g(), 0, 7 * b + 2);
  }
  draw();

  // The shown rows by the collapse rule itself, row by row.
  auto shown_by_rule = [&] {
    std::vector<int32_t> out;
    bool collapsed = false;
    int8_t level = 0;
    for (int32_t r = 0; r < g().rowCount; ++r) {
      const RowRecord& row = g().rows[r];
      if (collapsed && row.level > level) continue;
      out.push_back(r);
      collapsed = false;
      if (row.isParent > 0 && g().cells[r].expander) {
        collapsed = row.isParent < RowTree::Expanded;
        level = row.level;
      }
    }
    return out;
  };
  std::vector<int32_t> shown = shown_by_rule();
  const auto count = static_cast<int32_t>(shown.size());
  ASSERT_GT(count, 2 * kRowCheckpointStride);
  EXPECT_EQ(row_checkpoints(g()).shownTotal, count);

  for (int32_t s : {0, 1, 1023, 1024, 1025, 2047, count / 2, count - 2, count - 1}) {
    SCOPED_TRACE(s);
    RowWalk walk(g(), 0, INT32_MAX, anchor_for_shown(g(), s));
    while (walk.next() && !(walk.shown && walk.shownIndex == s)) {
    }
    EXPECT_EQ(walk.row, shown[s]);
    g().scrollY = s;
    EXPECT_EQ(drawn_rows(RowWalk::drawing_anchor(g())), drawn_rows(RowWalkAnchor{}));
    // Down and Up across the checkpoints, and a click, land on shown rows.
    if (s == 0 || s == count - 1) continue;
    draw();
    cursor_to(0, shown[s]);
    key(GridKey::Down);
    EXPECT_EQ(g().cursorRow, shown[s + 1]);
    key(GridKey::Up);
    key(GridKey::Up);
    EXPECT_EQ(g().cursorRow, shown[s - 1]);
    click_cell(0, 0);
    EXPECT_EQ(g().cursorRow, shown[g().scrollY]);
  }

  // Ctrl+End: the last shown row, with the last page whole; Ctrl+Home back.
  key(GridKey::Last);
  EXPECT_EQ(g().cursorRow, shown.back());
  EXPECT_GE(g().lastVisibleRow, shown.back());  // the walk went on over hidden rows
  const int32_t room = object(kGrid)->height - 20 - 4;  // caption row, frame
  EXPECT_EQ(g().scrollY, count - room / 20);
  key(GridKey::First);
  EXPECT_EQ(g().cursorRow, 0);
  EXPECT_EQ(g().scrollY, 0);

  // A collapsed subtree of thousands of rows at the end, passed over in
  // whole blocks: the last shown row is its parent.
  const int32_t parent = g().rowCount;
  add_row(ui, kGrid, -1, "", 20, 0, "parent", "", 0);
  for (int32_t r = 0; r < 3000; ++r) add_row(ui, kGrid, -1, "", 20, 1, "child", "", 0);
  shown = shown_by_rule();
  ASSERT_EQ(shown.back(), parent);
  EXPECT_EQ(row_checkpoints(g()).shownTotal, static_cast<int32_t>(shown.size()));
  key(GridKey::Last);
  EXPECT_EQ(g().cursorRow, parent);
  EXPECT_EQ(g().lastVisibleRow, g().rowCount - 1);
  EXPECT_EQ(drawn_rows(RowWalk::drawing_anchor(g())).back()[1],
            static_cast<int32_t>(shown.size()));
}

// ---- cursor moves and paging -------------------------------------------------------

TEST_F(GridInput, StepMovesScrollToKeepTheCursorInSight) {
  fill(kGrid, 8, 10);
  draw();
  ASSERT_EQ(g().lastVisibleRow, 6);
  for (int i = 1; i <= 12; ++i) {
    key(GridKey::Down);
    const int32_t row = std::min(i, 9);
    EXPECT_EQ(g().cursorRow, row);
    EXPECT_LE(g().scrollY, row);
    EXPECT_LE(row, g().lastVisibleRow) << "cursor row " << row << " is below the drawn rows";
  }
  for (int i = 0; i < 12; ++i) key(GridKey::Up);
  EXPECT_EQ(g().cursorRow, 0);
  EXPECT_EQ(g().scrollY, 0);

  for (int i = 0; i < 9; ++i) key(GridKey::Right);
  EXPECT_EQ(g().cursorColumn, 7);
  EXPECT_LE(g().scrollX, 7);
  EXPECT_GE(g().lastVisibleColumn, 7);
  for (int i = 0; i < 9; ++i) key(GridKey::Left);
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(g().scrollX, 0);
}

TEST_F(GridInput, ShiftRightMakesTheLastVisibleColumnTheFirst) {
  fill(kGrid, 8, 3);
  draw();
  ASSERT_EQ(g().lastVisibleColumn, 6);
  EXPECT_EQ(key(GridKey::PageRight), 100);
  EXPECT_EQ(g().scrollX, 6);
  EXPECT_EQ(g().cursorColumn, 6);
  EXPECT_EQ(g().lastVisibleColumn, 7);
  key(GridKey::PageRight);
  EXPECT_EQ(g().scrollX, 7);
  EXPECT_EQ(g().cursorColumn, 7);
  // At the last column a page move keeps the cursor there.
  key(GridKey::PageRight);
  EXPECT_EQ(g().cursorColumn, 7);
  // Back: as many columns as fill the width, here seven of 100 pixels.
  key(GridKey::PageLeft);
  EXPECT_EQ(g().scrollX, 1);
  EXPECT_EQ(g().cursorColumn, 1);
  key(GridKey::PageLeft);
  EXPECT_EQ(g().scrollX, 0);
  EXPECT_EQ(g().cursorColumn, 0);
}

TEST_F(GridInput, ShiftDownAndUpPageByShownRows) {
  fill(kGrid, 3, 30);
  draw();
  ASSERT_EQ(g().lastVisibleRow, 6);
  key(GridKey::PageDown);
  EXPECT_EQ(g().scrollY, 6);
  EXPECT_EQ(g().cursorRow, 6);
  key(GridKey::PageDown);
  EXPECT_EQ(g().scrollY, 12);
  EXPECT_EQ(g().cursorRow, 12);
  // Back over the rows that fill the height above the first drawn one.
  key(GridKey::PageUp);
  EXPECT_EQ(g().scrollY, 7);
  EXPECT_EQ(g().cursorRow, 7);
  key(GridKey::PageUp);
  EXPECT_EQ(g().scrollY, 2);
  EXPECT_EQ(g().cursorRow, 2);
  key(GridKey::PageUp);
  EXPECT_EQ(g().scrollY, 0);
  EXPECT_EQ(g().cursorRow, 0);
}

TEST_F(GridInput, PageDownCountsShownRowsInATree) {
  // Row 1 is a collapsed parent of rows 2..21.
  std::initializer_list<int> levels = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                       1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  tree(levels);
  key(GridKey::PageDown);
  // The last drawn row becomes the first one drawn, counted in shown rows.
  const int32_t row = g().cursorRow;
  EXPECT_EQ(g().rows[row].hiddenInTree, 0);
  EXPECT_EQ(g().scrollY, row - 20);
  EXPECT_LE(row, g().lastVisibleRow);
}

// ---- keys and shortcuts ----------------------------------------------------------

TEST_F(GridInput, KeyCodesAndKeyboardControl) {
  fill(kGrid, 3, 5);
  draw();
  EXPECT_EQ(key(GridKey::Return), 0);  // input is off
  EXPECT_EQ(key(GridKey::Escape), 0);  // no editor
  EXPECT_EQ(key(GridKey::Down), 100);
  EXPECT_EQ(key(GridKey::PageDown), 100);
  EXPECT_EQ(key(GridKey::Space), 105);
  EXPECT_EQ(key(999), 0);
  EXPECT_EQ(key(1115), 0);
  // Ctrl+End and Ctrl+Home: the last and the first row.
  EXPECT_EQ(key(GridKey::Last), 100);
  EXPECT_EQ(g().cursorRow, 4);
  EXPECT_EQ(key(GridKey::First), 100);
  EXPECT_EQ(g().cursorRow, 0);
  // Page Down and Page Up page as Shift+Down and Shift+Up; Home and End
  // reach the row's first and last column.
  struct Move {
    int32_t id;
    int16_t column;
    int32_t row;
  };
  const Move moves[] = {{GridKey::RowEnd, 2, 0}, {GridKey::PageDownKey, 2, 4},
                        {GridKey::RowStart, 0, 4}, {GridKey::PageUpKey, 0, 0}};
  for (const Move& m : moves) {
    EXPECT_EQ(key(m.id), 100) << m.id;
    EXPECT_EQ(g().cursorColumn, m.column) << m.id;
    EXPECT_EQ(g().cursorRow, m.row) << m.id;
  }

  set_attribute(ui, kGrid, "KEYBOARDCONTROL", "0", 0);
  const int16_t row = g().cursorRow;
  EXPECT_EQ(key(GridKey::Up), 0);
  EXPECT_EQ(g().cursorRow, row);
}

TEST_F(GridInput, BadInputChangesNothing) {
  fill(kGrid, 3, 5);
  draw();
  NamedObject& grid = *object(kGrid);
  move_cursor(ui, grid, 0, 0, 0);   // no direction
  move_cursor(ui, grid, 0, 5, 7);   // deltas beyond one act as one
  EXPECT_EQ(g().cursorColumn, 1);
  EXPECT_EQ(g().cursorRow, 1);
  move_cursor(ui, grid, 7, -1, -1);  // unknown mode steps
  EXPECT_EQ(g().cursorColumn, 0);
  // Huge and negative window coordinates.
  EXPECT_EQ(grid_mouse(ui, grid, INT32_MIN + 5, INT32_MAX - 5, 0), 0);
  grid_mouse(ui, grid, 30000, 30000, 2);
  EXPECT_EQ(g().cursorColumn, 0);

  // A grid without rows, and another kind of object given as the grid.
  make_grid("Empty", 0, 0, 200, 100);
  NamedObject& empty = *object("Empty");
  EXPECT_EQ(grid_mouse(ui, empty, 50, 50, 0), 0);
  move_cursor(ui, empty, 2, 1, 1);
  step_expanders(ui, empty);
  EXPECT_EQ(grid_key(ui, empty, GridKey::Down), 100);
  create_text(ui, "Label", 0, 0, 50, 20, "x", 0, "");
  NamedObject& label = *object("Label");
  EXPECT_EQ(grid_mouse(ui, label, 5, 5, 0), 0);
  EXPECT_EQ(grid_key(ui, label, GridKey::Down), 0);
  move_cursor(ui, label, 0, 1, 1);
  install_grid_shortcuts(ui, label);
}

// Pressing a key in the window: the menu identifier it produced, 0 for none.
int32_t press(int32_t window, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  for (int i = 0; i < 100 && tk_wait_event(0) != 0; ++i) {
  }
  QTest::keyClick(tk_window_client(window), k, mods);
  for (int i = 0; i < 5; ++i)
    if (tk_wait_event(0) == TK_EVENT_MENU) return tk_last_event_menu();
  return 0;
}

TEST_F(GridInput, ShortcutsAreInstalledNarrowedAndRemoved) {
  ASSERT_NE(window, 0);
  NamedObject& grid = *object(kGrid);
  install_grid_shortcuts(ui, grid);
  EXPECT_EQ(press(window, Qt::Key_Return), GridKey::Return);
  EXPECT_EQ(press(window, Qt::Key_Escape), GridKey::Escape);
  EXPECT_EQ(press(window, Qt::Key_Left), GridKey::Left);
  EXPECT_EQ(press(window, Qt::Key_Down), GridKey::Down);
  EXPECT_EQ(press(window, Qt::Key_Right, Qt::ShiftModifier), GridKey::PageRight);
  EXPECT_EQ(press(window, Qt::Key_Up, Qt::ShiftModifier), GridKey::PageUp);
  EXPECT_EQ(press(window, Qt::Key_Space), GridKey::Space);

  // While editing only Return and Escape work.
  remove_grid_shortcuts(ui, grid, 1);
  EXPECT_EQ(press(window, Qt::Key_Return), GridKey::Return);
  EXPECT_EQ(press(window, Qt::Key_Escape), GridKey::Escape);
  EXPECT_EQ(press(window, Qt::Key_Down), 0);
  EXPECT_EQ(press(window, Qt::Key_Space), 0);

  // Another object took the focus: none of them.
  install_grid_shortcuts(ui, grid);
  remove_grid_shortcuts(ui, grid, 0);
  EXPECT_EQ(press(window, Qt::Key_Return), 0);
  EXPECT_EQ(press(window, Qt::Key_Escape), 0);
  EXPECT_EQ(press(window, Qt::Key_Down, Qt::ShiftModifier), 0);

  // A grid without keyboard control installs nothing.
  set_attribute(ui, kGrid, "KEYBOARDCONTROL", "0", 0);
  install_grid_shortcuts(ui, grid);
  EXPECT_EQ(press(window, Qt::Key_Down), 0);
}

}  // namespace
