// Tree rows: expanders, opening and closing, and the turning animation.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

using grid_test::frame_colour;
using grid_test::GridFixture;
using grid_test::kIcon;

// The animation clock of the tests, moved by hand.
int32_t g_now = 0;
int32_t test_clock() { return g_now; }

class GridTree : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    g_now = 1000;
    ui.clock = test_clock;
    add_column(ui, kGrid, -1, "Case", 200, 0, 0, 0, "", 0);
  }

  void add_levels(std::initializer_list<int> levels) {
    int n = 0;
    for (int level : levels)
      add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level), "row" + std::to_string(n++),
              "", 0);
  }

  void step(int32_t ms) {
    g_now += ms;
    step_expanders(ui, *object(kGrid));
  }

  std::string hidden_rows() {
    std::string out;
    for (const RowRecord& r : record()->rows) out += r.hiddenInTree ? 'h' : '.';
    return out;
  }
};

TEST_F(GridTree, ParentsShareOneStripCutFromRowOne) {
  add_levels({0, 1, 0, 1, 2});
  ExpanderRecord* a = expander(0);
  ExpanderRecord* b = expander(2);
  ExpanderRecord* c = expander(3);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(expander(1), nullptr);
  EXPECT_EQ(expander(4), nullptr);

  // Style 1 defaults.
  EXPECT_EQ(a->style, 1);
  EXPECT_EQ(a->mode, 1);
  EXPECT_EQ(a->state, 0);
  EXPECT_EQ(a->interval, 50);
  EXPECT_EQ(a->firstFrame, 8);
  EXPECT_EQ(a->lastFrame, 14);

  // One strip for the grid, 50 frames wide: frame n is row 1's tile n,
  // and what lies past the 350-pixel source is black.
  const int32_t strip = record()->expanderStrip;
  ASSERT_TRUE(tk_image_exists(strip));
  EXPECT_EQ(a->strip, strip);
  EXPECT_EQ(b->strip, strip);
  EXPECT_EQ(c->strip, strip);
  EXPECT_EQ(tk_image_width(strip), 50 * kIcon);
  EXPECT_EQ(tk_image_height(strip), kIcon);
  for (int32_t n : {0, 2, 4, 6, 8, 14})
    EXPECT_EQ(tk_image_pixel(strip, n * kIcon + 10, 10), frame_colour(n)) << "frame " << n;
  EXPECT_EQ(tk_image_pixel(strip, 20 * kIcon + 10, 10), 0);

  // Attaching again reuses the record and the strip.
  attach_expander(*object(kGrid), 0, 1, "again");
  EXPECT_EQ(expander(0), a);
  EXPECT_EQ(a->strip, strip);
  EXPECT_EQ(a->text, "again");
  // A cell index outside the grid is ignored.
  attach_expander(*object(kGrid), -1, 1, "");
  attach_expander(*object(kGrid), 999, 1, "");
}

TEST_F(GridTree, ClearingTheGridFreesTheStrip) {
  add_levels({0, 1});
  const int32_t strip = record()->expanderStrip;
  ASSERT_TRUE(tk_image_exists(strip));
  clear_grid(ui, kGrid, 0);
  EXPECT_FALSE(tk_image_exists(strip));
  // A new tree cuts a new one.
  add_levels({0, 1});
  EXPECT_TRUE(tk_image_exists(expander(0)->strip));
}

TEST_F(GridTree, DeletingOneParentLeavesTheOthersDrawable) {
  add_levels({0, 1, 0, 1});
  delete_row(ui, kGrid, 0, 0);
  // Row 1 (was 2) keeps a usable strip: its expander is still drawn.
  ExpanderRecord* e = expander(1);
  ASSERT_NE(e, nullptr);
  draw();
  EXPECT_TRUE(tk_image_exists(e->strip));
  EXPECT_EQ(tk_image_pixel(canvas(), 4 + 10, 20 + 1 + 20 + 10), frame_colour(0));
}

TEST_F(GridTree, CollapseLevelsHideTheRightRows) {
  // Rows 0..4 with levels 0, 1, 1, 2, 0: row 0 and row 2 are parents.
  add_levels({0, 1, 1, 2, 0});
  draw();
  EXPECT_EQ(hidden_rows(), ".hhh.");

  toggle_expander(*record(), 0, 0);
  draw();
  // Row 2 is still collapsed, so row 3 stays hidden.
  EXPECT_EQ(hidden_rows(), "...h.");

  // An open parent inside a collapsed one stays hidden with its subtree.
  toggle_expander(*record(), 0, 2);
  toggle_expander(*record(), 0, 0);
  draw();
  EXPECT_EQ(hidden_rows(), ".hhh.");

  // SHOWTREE 0 shows every row.
  set_attribute(ui, kGrid, "SHOWTREE", "0", 1);
  EXPECT_EQ(hidden_rows(), ".....");
}

TEST_F(GridTree, ToggleOpensClosesAndAnimates) {
  add_levels({0, 1, 0});
  ASSERT_EQ(find_object(ui, kGrid, 0), 1);
  GridRecord* g = record();
  ExpanderRecord* e = expander(0);

  toggle_expander(*record(), 0, 0);
  EXPECT_EQ(g->rows[0].isParent, 16);
  EXPECT_EQ(e->state, 16);
  EXPECT_EQ(e->frame, 8);
  EXPECT_EQ(g->animating, 1);
  ASSERT_EQ(g->activeExpanders.size(), 1u);
  EXPECT_EQ(g->activeExpanders[0], e);

  toggle_expander(*record(), 0, 0);
  EXPECT_EQ(g->rows[0].isParent, 1);
  EXPECT_EQ(e->state, 32);
  EXPECT_EQ(e->frame, 14);
  EXPECT_EQ(g->activeExpanders.size(), 1u);

  // A section heading (always open) closes and from then on has an icon.
  set_row_attribute(ui, kGrid, 0, "ISPARENT", "64", 0);
  toggle_expander(*record(), 0, 0);
  EXPECT_EQ(g->rows[0].isParent, 1);
  EXPECT_EQ(e->state, 32);
}

TEST_F(GridTree, ToggleWithoutAnExpanderOrOutsideTheGridDoesNothing) {
  add_column(ui, kGrid, -1, "Second", 100, 0, 0, 0, "", 0);
  add_levels({0, 1, 0});
  ASSERT_EQ(find_object(ui, kGrid, 0), 1);
  GridRecord* g = record();
  toggle_expander(*record(), 1, 0);   // not the first column
  toggle_expander(*record(), 0, 1);   // not a parent
  toggle_expander(*record(), 0, 2);   // not a parent either
  toggle_expander(*record(), -1, 0);
  toggle_expander(*record(), 0, -5);
  toggle_expander(*record(), 0, 3);
  toggle_expander(*record(), 32767, 32767);
  EXPECT_EQ(g->rows[0].isParent, 1);
  EXPECT_EQ(g->animating, 0);
  EXPECT_TRUE(g->activeExpanders.empty());

  // Another kind of object given as the grid.
  create_text(ui, "Label", 0, 0, 50, 20, "x", 0, "");
  step_expanders(ui, *object("Label"));
  EXPECT_EQ(g->rows[0].isParent, 1);
}

TEST_F(GridTree, OpeningTurnsThroughFramesNineToFourteenEveryFiftyMs) {
  add_levels({0, 1});
  GridRecord* g = record();
  ExpanderRecord* e = expander(0);
  toggle_expander(*record(), 0, 0);
  e->lastStep = g_now;

  step(49);  // not yet due
  EXPECT_EQ(e->frame, 8);
  for (int32_t frame = 9; frame <= 14; ++frame) {
    step(frame == 9 ? 1 : 50);
    EXPECT_EQ(e->frame, frame);
    EXPECT_EQ(e->state, 16);
    // The frame image is that frame of the strip, and the grid shows it.
    EXPECT_EQ(tk_image_pixel(e->frameImage, 10, 10), frame_colour(frame));
    EXPECT_EQ(tk_image_pixel(canvas(), 4 + 10, 20 + 1 + 10), frame_colour(frame));
  }
  step(50);
  EXPECT_EQ(e->state, 0);
  EXPECT_TRUE(g->activeExpanders.empty());
  EXPECT_EQ(g->animating, 1);  // it still ran in this step
  step(50);
  EXPECT_EQ(g->animating, 0);
  // The next drawing shows the open idle frame.
  draw();
  EXPECT_EQ(tk_image_pixel(canvas(), 4 + 10, 20 + 1 + 10), frame_colour(4));
}

TEST_F(GridTree, ClosingTurnsBackToFrameEight) {
  add_levels({0, 1});
  ExpanderRecord* e = expander(0);
  toggle_expander(*record(), 0, 0);
  while (e->state != 0) step(50);
  toggle_expander(*record(), 0, 0);
  EXPECT_EQ(e->frame, 14);
  std::string frames;
  while (e->state != 0) {
    step(50);
    if (e->state != 0) frames += std::to_string(e->frame) + " ";
  }
  EXPECT_EQ(frames, "13 12 11 10 9 8 ");
  EXPECT_EQ(record()->rows[0].isParent, 1);
}

TEST_F(GridTree, OnlyTheAnimatingExpandersAreStepped) {
  add_levels({0, 1, 0, 1, 0, 1});
  GridRecord* g = record();
  toggle_expander(*record(), 0, 2);
  ASSERT_EQ(g->activeExpanders.size(), 1u);
  // An idle expander with a stale frame is not visited.
  expander(0)->frame = 3;
  step(50);
  EXPECT_EQ(expander(0)->frame, 3);
  EXPECT_EQ(expander(2)->frame, 9);

  // A hovered expander returns to idle at the next step.
  expander(4)->hovered = 1;
  set_expander_state(*g, *expander(4), 64);
  EXPECT_EQ(g->activeExpanders.size(), 2u);
  step(50);
  EXPECT_EQ(expander(4)->state, 0);
  EXPECT_EQ(g->activeExpanders.size(), 1u);
}

TEST_F(GridTree, TheClockMayWrap) {
  add_levels({0, 1});
  ExpanderRecord* e = expander(0);
  toggle_expander(*record(), 0, 0);
  g_now = INT32_MAX - 10;
  e->lastStep = g_now;
  step(0);
  EXPECT_EQ(e->frame, 8);
  g_now = INT32_MIN + 40;  // 51 ms later, past the wrap
  step(0);
  EXPECT_EQ(e->frame, 9);
}

}  // namespace

namespace {

// Pictures of the tree states, for looking at: set ZUI_GRID_SNAPSHOTS to a
// directory.
TEST_F(GridTree, Snapshots) {
  const char* dir = std::getenv("ZUI_GRID_SNAPSHOTS");
  if (!dir) GTEST_SKIP() << "set ZUI_GRID_SNAPSHOTS to a directory";
  const int32_t real = grid_test::real_grid_parts();
  ASSERT_NE(real, 0);
  const char* name = "Tree";
  ASSERT_NE(create_grid(ui, name, 10, 10, 200, 260, real, kIcon, ""), 0);
  add_column(ui, name, -1, "", 180, 0, 0, 0, "", 0);
  const char* texts[] = {"Issues", "Open", "Closed", "Workflows", "Approval", "Step one",
                         "Step two", "Documents", "Calculations"};
  const int8_t levels[] = {0, 1, 1, 0, 1, 2, 2, 0, 0};
  for (int i = 0; i < 9; ++i) add_row(ui, name, -1, "", 20, levels[i], texts[i], "", 0);
  set_attribute(ui, name, "PERMANENTCURSOR", "1", 0);
  auto shoot = [&](const std::string& state) {
    render_grid(ui, *object(name));
    tk_save_image(canvas(name), std::string(dir) + "/tree-" + state + ".png");
  };
  shoot("collapsed");
  toggle_expander(*record(name), 0, 0);
  toggle_expander(*record(name), 0, 3);
  toggle_expander(*record(name), 0, 4);
  for (int i = 0; i < 8; ++i) {
    g_now += 50;
    step_expanders(ui, *object(name));
  }
  set_cursor(ui, name, 0, 5, 0);
  shoot("open");
  // Hover on row 3's expander, and row 0 turning back half way.
  grid_mouse(ui, *object(name), 10 + 4 + 10, 10 + 4 + 3 * 20 + 10, -1);
  toggle_expander(*record(name), 0, 0);
  for (int i = 0; i < 3; ++i) {
    g_now += 50;
    step_expanders(ui, *object(name));
  }
  shoot("hover-and-turning");
  tk_free_image(real);
}

}  // namespace
