// Grids over a data source: the grid asks only for what it shows, looks and
// answers like a record grid holding the same data, hands edits to the
// source, follows a growing row count, closes tree rows and shows an order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_source.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace {

using grid_test::GridFixture;

// Texts "c,r" as the fixture's fill() gives them; counts what it is asked.
class CountingSource : public GridSource {
 public:
  CountingSource(int32_t rows, int16_t columns) : rows_(rows), columns_(columns) {}
  int32_t row_count() const override { return rows_; }
  int16_t column_count() const override { return columns_; }
  std::string caption(int16_t c) const override { return "C" + std::to_string(c); }
  std::string_view cell_text(int16_t c, int32_t r, std::string& scratch) const override {
    ++asked;
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
    auto it = std::find_if(edits.begin(), edits.end(),
                           [&](const Edit& e) { return e.column == c && e.row == r; });
    scratch = it != edits.end() ? it->text : std::to_string(c) + "," + std::to_string(r);
    return scratch;
  }
  int8_t row_level(int32_t r) const override {
    return levels.empty() ? 0 : levels[static_cast<size_t>(r) % levels.size()];
  }
  bool set_cell_text(int16_t c, int32_t r, std::string_view text) override {
    if (text == "refused") return false;
    edits.push_back({c, r, std::string(text)});
    return true;
  }
  void reset() {
    asked = 0;
    lowest = INT32_MAX;
    highest = -1;
  }

  struct Edit {
    int16_t column;
    int32_t row;
    std::string text;
  };
  int32_t rows_;
  int16_t columns_;
  std::vector<int8_t> levels;  // repeating pattern of row levels, empty: all 0
  std::vector<Edit> edits;
  mutable int32_t asked = 0;
  mutable int32_t lowest = INT32_MAX;
  mutable int32_t highest = -1;
};

class GridSourceTest : public GridFixture {
 protected:
  std::shared_ptr<CountingSource> attach(int32_t rows, int16_t columns,
                                         const std::string& name = kGrid) {
    auto s = std::make_shared<CountingSource>(rows, columns);
    EXPECT_EQ(set_grid_source(ui, name, s), 1);
    return s;
  }
  int8_t key_on(const std::string& name, int32_t id) { return grid_key(ui, *object(name), id); }
  // A left click at a point relative to the grid.
  int32_t click(const std::string& name, int32_t rx, int32_t ry) {
    NamedObject& o = *object(name);
    return grid_mouse(ui, o, o.absX + rx, o.absY + ry, TK_TYPE_LEFT_CLICK);
  }
};

// Only the drawn cells are asked for, wherever the view is and however
// large the grid: rows of 20 pixels below a 20-pixel caption row, columns
// of 100 from x = 4.
TEST_F(GridSourceTest, ADrawingAsksOnlyForTheCellsItDraws) {
  struct Case {
    int32_t rows;
    int16_t width, height;
    int32_t scrollY;
    int32_t drawnRows, drawnColumns;
  };
  const Case cases[] = {
      {10'000'000, 700, 150, 0, 7, 7},
      {10'000'000, 700, 150, 5'000'000, 7, 7},
      {10'000'000, 700, 150, 9'999'993, 7, 7},
      {10'000'000, 250, 61, 123, 3, 3},
      {3, 700, 150, 0, 3, 7},
  };
  int32_t n = 0;
  for (const Case& c : cases) {
    const std::string name = "G" + std::to_string(n++);
    make_grid(name, 0, 0, c.width, c.height);
    auto s = attach(c.rows, 8, name);
    grid_record(*object(name))->scrollY = c.scrollY;
    s->reset();
    render_grid(ui, *object(name));
    SCOPED_TRACE(name);
    EXPECT_EQ(s->asked, c.drawnRows * c.drawnColumns);
    EXPECT_EQ(s->lowest, c.scrollY);
    EXPECT_EQ(s->highest, c.scrollY + c.drawnRows - 1);
  }
}

// A source grid and a record grid with the same data draw the same pixels
// and answer the same keys and clicks, step by step.
TEST_F(GridSourceTest, DrawsAndAnswersAsARecordGridWithTheSameData) {
  const std::string rec = "Records";
  make_grid(rec, 6, 380, 700, 150);
  fill(rec, 9, 60);
  attach(60, 9);
  for (int16_t c = 0; c < 9; ++c) set_column_attribute(ui, kGrid, c, "INPUTTYPE", "1", 0);
  struct Step {
    int32_t key;     // a GridKey, or 0 for a click
    int32_t x, y;    // the click, relative to the grid
  };
  const Step steps[] = {
      {0, 0, 0},  // no step: the first drawing
      {GridKey::Down, 0, 0},      {GridKey::PageDownKey, 0, 0}, {GridKey::Right, 0, 0},
      {GridKey::Last, 0, 0},      {GridKey::PageUpKey, 0, 0},   {GridKey::RowEnd, 0, 0},
      {0, 260, 75},               {GridKey::Up, 0, 0},          {GridKey::First, 0, 0},
      {GridKey::PageRight, 0, 0}, {0, 30, 10},                  {GridKey::RowStart, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "key " << s.key << " at " << s.x << "," << s.y);
    if (s.key != 0) {
      EXPECT_EQ(key_on(kGrid, s.key), key_on(rec, s.key));
    } else if (s.x != 0) {
      EXPECT_EQ(click(kGrid, s.x, s.y), click(rec, s.x, s.y));
    }
    render_grid(ui, *object(kGrid));
    render_grid(ui, *object(rec));
    const GridRecord& a = *record(kGrid);
    const GridRecord& b = *record(rec);
    EXPECT_EQ(std::vector<int32_t>({a.cursorColumn, a.cursorRow, a.selectionEndColumn,
                                    a.selectionEndRow, a.scrollX, a.scrollY}),
              std::vector<int32_t>({b.cursorColumn, b.cursorRow, b.selectionEndColumn,
                                    b.selectionEndRow, b.scrollX, b.scrollY}));
    EXPECT_EQ(object(kGrid)->text, object(rec)->text);
    int32_t differing = 0;
    for (int32_t y = 0; y < 150; ++y)
      for (int32_t x = 0; x < 700; ++x)
        differing += tk_image_pixel(canvas(kGrid), x, y) != tk_image_pixel(canvas(rec), x, y);
    EXPECT_EQ(differing, 0);
  }
}

// An edit goes to the source; a refused one leaves the cell's text.
TEST_F(GridSourceTest, EditsAreHandedToTheSourceWhichMayRefuse) {
  auto s = attach(20, 3);
  set_attribute(ui, kGrid, "ENABLEINPUT", "1", 1);
  set_column_attribute(ui, kGrid, 1, "INPUTTYPE", "1", 1);
  for (const char* typed : {"taken", "refused"}) {
    ASSERT_EQ(open_editor(ui, kGrid, 1, 2), 1);
    tk_set_gadget_text(record()->inputGadget, typed);
    close_editor(ui, kGrid, 0);
  }
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "taken");
  ASSERT_EQ(s->edits.size(), 1u);
  EXPECT_EQ(object(kGrid)->text, "taken");
  // A column without an editor opens none; rows and cells keep no records.
  EXPECT_EQ(open_editor(ui, kGrid, 0, 2), 0);
  EXPECT_EQ(set_row_attribute(ui, kGrid, 2, "HEIGHT", "40", 0), -1);
  EXPECT_EQ(add_row(ui, kGrid, -1, "", 20, 0, "x", "", 0), 0);
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 2, "BGCOLOR"), "-1");
}

// A source still growing: the grid takes in new rows when told, and
// Ctrl+End reaches the last one at once.
TEST_F(GridSourceTest, ARowCountThatGrowsIsTakenInOnRefresh) {
  auto s = attach(10, 4);
  s->rows_ = 2'000'000;
  EXPECT_EQ(grid_row_count(ui, kGrid), 10);
  EXPECT_EQ(refresh_grid_source(ui, kGrid, 1), 1);
  EXPECT_EQ(grid_row_count(ui, kGrid), 2'000'000);
  s->reset();
  key(GridKey::Last);
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 1'999'999);
  EXPECT_EQ(object(kGrid)->text, "0,1999999");
  EXPECT_LT(s->asked, 64);
  EXPECT_EQ(refresh_grid_source(ui, "Nothing", 1), 0);
}

// Closing a tree row hides its subtree as one span, whatever its depth;
// the keys pass over it and the rows show again when it opens.
TEST_F(GridSourceTest, ClosedTreeRowsCostOneSpanEach) {
  auto s = attach(1'000'000, 2);
  s->levels = {0, 1, 2, 2, 1, 2};  // a parent of five rows, six rows a time
  refresh_grid_source(ui, kGrid, 1);
  set_cursor(ui, kGrid, 0, 1, 1);
  EXPECT_EQ(key(GridKey::Space), Code::GridToggled);  // closes row 1 (rows 2, 3)
  set_cursor(ui, kGrid, 0, 0, 1);
  key(GridKey::Space);  // closes row 0 over it
  key(GridKey::Down);
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 6);
  EXPECT_EQ(record()->sourceHidden.size(), 1u);
  EXPECT_EQ(record()->sourceHiddenTotal, 5);
  // Screen readers hear a tree-table with a closed row over hidden ones.
  NamedObject& o = *object(kGrid);
  const KindBehaviour& b = kind_behaviour(ui, o.kind);
  TkAccessible table;
  b.describe(ui, o, table);
  EXPECT_EQ(table.role, TK_ROLE_TREE_TABLE);
  EXPECT_EQ(table.rows, 1'000'000);
  TkAccessibleCell closed, hidden;
  b.describeCell(ui, o, 0, 0, closed);
  b.describeCell(ui, o, 1, 3, hidden);
  EXPECT_EQ(closed.text, "0,0");
  EXPECT_EQ(closed.states & (TK_STATE_EXPANDABLE | TK_STATE_EXPANDED), TK_STATE_EXPANDABLE);
  EXPECT_NE(hidden.states & TK_STATE_HIDDEN, 0);
  key(GridKey::Up);
  key(GridKey::Space);  // opens row 0: row 1 stays closed
  key(GridKey::Down);
  key(GridKey::Down);
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 4);
  EXPECT_EQ(record()->sourceClosed.size(), 1u);
}

// An order from elsewhere shows the rows in it; the cursor keeps its row.
TEST_F(GridSourceTest, AnOrderShowsItsRowsAndKeepsTheCursorOnItsRow) {
  attach(5, 2);
  set_cursor(ui, kGrid, 1, 1, 1);
  EXPECT_EQ(set_grid_source_order(ui, kGrid, {4, 3, 2, 1}, 1), 0);     // not all rows
  EXPECT_EQ(set_grid_source_order(ui, kGrid, {4, 3, 3, 1, 0}, 1), 0);  // not a permutation
  EXPECT_EQ(set_grid_source_order(ui, kGrid, {4, 3, 2, 1, 0}, 1), 1);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 0), "0,4");
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 3);
  EXPECT_EQ(grid_source_row(ui, kGrid, 3), 1);
  EXPECT_EQ(grid_source_row(ui, kGrid, 5), -1);
  // A caption click reports the click: the program sorts.
  set_grid_sortable(ui, kGrid, 1);
  click(kGrid, 150, 10);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 0), "0,4");
  EXPECT_EQ(set_grid_source(ui, kGrid, nullptr), 1);
  EXPECT_EQ(grid_source(ui, kGrid), nullptr);
  EXPECT_EQ(grid_row_count(ui, kGrid), 0);
}

}  // namespace

namespace {

// Not a check: with ZUI_GRID_SNAPSHOTS=dir set, writes a source grid with
// tree rows, one of them closed, for a look by eye.
TEST_F(GridSourceTest, Snapshots) {
  const char* dir = std::getenv("ZUI_GRID_SNAPSHOTS");
  if (!dir) GTEST_SKIP() << "set ZUI_GRID_SNAPSHOTS to a directory";
  const int32_t real = grid_test::real_grid_parts();
  ASSERT_NE(real, 0);
  make_grid("Big", 0, 0, 700, 300);
  object("Big")->canvas->sourceImage = real;
  auto s = attach(10'000'000, 8, "Big");
  s->levels = {0, 1, 2, 2, 1, 2};
  refresh_grid_source(ui, "Big", 0);
  set_cursor(ui, "Big", 0, 7, 1);
  key_on("Big", GridKey::Space);
  set_cursor(ui, "Big", 2, 11, 1);
  set_attribute(ui, "Big", "PERMANENTCURSOR", "1", 1);
  tk_save_image(canvas("Big"), std::string(dir) + "/source-tree.png");
  tk_free_image(real);
}

}  // namespace
