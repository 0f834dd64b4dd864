// The grid's data model: columns, rows, cells, tree links, cursor, deletion.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

using grid_test::GridFixture;

class GridModel : public GridFixture {
 protected:
  std::vector<int16_t> parents() {
    std::vector<int16_t> out;
    for (const RowRecord& r : record()->rows) out.push_back(r.parent);
    return out;
  }
  void add_levels(std::initializer_list<int> levels) {
    for (int level : levels) add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level), "", "", 0);
  }
};

TEST_F(GridModel, CaptionedColumnSwitchesTheCaptionRowOn) {
  GridRecord* g = record();
  EXPECT_EQ(add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0), 1);
  EXPECT_EQ(g->captColHeight, 0);
  EXPECT_EQ(add_column(ui, kGrid, -1, "Amount", 80, 1, 1, 2, "", 0), 1);
  EXPECT_EQ(g->captColHeight, 20);
  const ColumnRecord& c = g->columns[1];
  EXPECT_EQ(c.index, 1);
  EXPECT_EQ(c.caption, "Amount");
  EXPECT_EQ(c.width, 80);
  EXPECT_EQ(c.inputType, 1);
  EXPECT_EQ(c.orientation, 1);
  EXPECT_EQ(c.summary, 2);
  EXPECT_EQ(c.bgColor, -1);
  EXPECT_EQ(c.owner, object(kGrid)->number);

  // A caption height set before is kept.
  make_grid("Other", 0, 0, 200, 100);
  set_attribute(ui, "Other", "CAPTCOLHEIGHT", "35", 0);
  add_column(ui, "Other", -1, "Caption", 80, 0, 0, 0, "", 0);
  EXPECT_EQ(record("Other")->captColHeight, 35);
}

TEST_F(GridModel, RowKeysCaptionsAndCellTexts) {
  for (int c = 0; c < 3; ++c) add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  for (int r = 0; r < 4; ++r) add_row(ui, kGrid, -1, "", 20, 0, "", "k" + std::to_string(r), 0);
  // An empty key on the fifth row is its index as text.
  EXPECT_EQ(add_row(ui, kGrid, -1, "", 20, 0, "one\ntwo", "", 0), 1);
  GridRecord* g = record();
  EXPECT_EQ(g->rows[4].key, "4");
  EXPECT_EQ(g->rows[0].key, "k0");
  // Two lines fill two cells; the third stays empty.
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 4), "one");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 4), "two");
  EXPECT_EQ(get_cell_text(ui, kGrid, 2, 4), "");
  // Only the line feed separates: a carriage return stays in the text, and
  // lines beyond the cells are dropped.
  add_row(ui, kGrid, -1, "", 20, 0, "a\r\nb\n\nd\ne", "", 0);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 5), "a\r");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 5), "b");
  EXPECT_EQ(get_cell_text(ui, kGrid, 2, 5), "");
  EXPECT_EQ(g->cellCount, 18);
  // Cells of added rows take the grid's FRONTCOLOR.
  set_attribute(ui, kGrid, "FRONTCOLOR", "255", 0);
  add_row(ui, kGrid, -1, "", 20, 0, "", "", 0);
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 2, 6, "FONTCOLOR"), "255");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 2, 5, "FONTCOLOR"), "0");

  // A row caption widens the caption column to text width + 15, never
  // narrows it.
  add_row(ui, kGrid, -1, "A rather long caption", 20, 0, "", "", 0);
  const int16_t wide = g->captRowWidth;
  EXPECT_GT(wide, 15 + 50);
  add_row(ui, kGrid, -1, "x", 20, 0, "", "", 0);
  EXPECT_EQ(g->captRowWidth, wide);
}

TEST_F(GridModel, NewColumnGivesEveryRowACell) {
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  set_attribute(ui, kGrid, "FRONTCOLOR", "77", 0);
  for (int r = 0; r < 3; ++r) add_row(ui, kGrid, -1, "", 20, 0, "r" + std::to_string(r), "", 0);
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "x\ny", 0);
  GridRecord* g = record();
  EXPECT_EQ(g->columnCount, 2);
  EXPECT_EQ(g->cellCount, g->columnCount * g->rowCount);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 2), "r2");  // old cells keep their place
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 0), "x");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 1), "y");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "FONTCOLOR"), "0");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 0, 1, "FONTCOLOR"), "77");

  // An index inside the range inserts there; later columns are renumbered
  // and the cells move with their columns.
  add_column(ui, kGrid, 0, "First", 30, 0, 0, 0, "f0", 0);
  EXPECT_EQ(g->columns[0].caption, "First");
  for (int c = 0; c < 3; ++c) EXPECT_EQ(g->columns[c].index, c);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 0), "f0");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "r2");
  EXPECT_EQ(get_cell_text(ui, kGrid, 2, 0), "x");
  // Out-of-range indexes append.
  add_column(ui, kGrid, 99, "Last", 30, 0, 0, 0, "", 0);
  add_column(ui, kGrid, -7, "Later", 30, 0, 0, 0, "", 0);
  EXPECT_EQ(g->columns[3].caption, "Last");
  EXPECT_EQ(g->columns[4].caption, "Later");
  EXPECT_EQ(g->cellCount, 15);
}

TEST_F(GridModel, TreeLinksFollowTheLevels) {
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  add_levels({0, 1, 2, 1});
  EXPECT_EQ(parents(), (std::vector<int16_t>{-1, 0, 1, 0}));
  GridRecord* g = record();
  EXPECT_EQ(g->rows[0].isParent, 1);
  EXPECT_EQ(g->rows[1].isParent, 1);
  EXPECT_EQ(g->rows[2].isParent, 0);
  EXPECT_EQ(g->rows[3].isParent, 0);
  // A child under an expanded parent leaves it expanded.
  g->rows[0].isParent = 16;
  add_levels({1});
  EXPECT_EQ(g->rows[0].isParent, 16);
  EXPECT_EQ(g->rows[4].parent, 0);
  // Negative levels are level 0 without a parent.
  add_levels({-3});
  EXPECT_EQ(g->rows[5].level, 0);
  EXPECT_EQ(g->rows[5].parent, -1);

  // A grid whose rows are all of level 1 or deeper: no parent for level 1.
  make_grid("Deep", 0, 0, 200, 100);
  add_column(ui, "Deep", -1, "", 80, 0, 0, 0, "", 0);
  add_row(ui, "Deep", -1, "", 20, 1, "", "", 0);
  add_row(ui, "Deep", -1, "", 20, 2, "", "", 0);
  add_row(ui, "Deep", -1, "", 20, 1, "", "", 0);
  GridRecord* d = record("Deep");
  EXPECT_EQ(d->rows[0].parent, -1);
  EXPECT_EQ(d->rows[1].parent, 0);
  EXPECT_EQ(d->rows[2].parent, -1);
}

TEST_F(GridModel, ParentFindingMatchesTheBackwardWalk) {
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  GridRecord* g = record();
  uint32_t seed = 12345;
  auto next_level = [&] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int8_t>((seed >> 16) % 6);
  };
  auto walk_back = [&](int32_t row) -> int16_t {
    for (int32_t r = row - 1; r >= 0; --r)
      if (g->rows[r].level < g->rows[row].level) return static_cast<int16_t>(r);
    return -1;
  };
  for (int i = 0; i < 400; ++i) {
    const int8_t level = next_level();
    if (i == 150) set_row_attribute(ui, kGrid, 120, "LEVEL", "0", 0);  // stack rebuilt
    if (i == 250) delete_row(ui, kGrid, 10, 0);
    if (i == 300) add_row(ui, kGrid, 5, "", 20, 2, "", "", 0);  // insertion
    add_row(ui, kGrid, -1, "", 20, level, "", "", 0);
    const int32_t row = g->rowCount - 1;
    ASSERT_EQ(g->rows[row].parent, level > 0 ? walk_back(row) : -1) << "row " << row;
  }
  // Every row that became a parent is marked.
  for (int32_t r = 0; r < g->rowCount; ++r) {
    if (g->rows[r].parent < 0) continue;
    EXPECT_GT(g->rows[g->rows[r].parent].isParent, 0) << r;
  }
}

TEST_F(GridModel, ParentsGetExpandersOnTheirFirstCell) {
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  add_levels({0, 1});
  GridRecord* g = record();
  if (!g->cells[0].expander) GTEST_SKIP() << "expanders are attached by the tree code";
  EXPECT_EQ(g->cells[0].expander->style, 1);
  EXPECT_EQ(g->cells[1].expander, nullptr);
  // More children reuse the record.
  const ExpanderRecord* first = g->cells[0].expander.get();
  add_levels({1, 1});
  EXPECT_EQ(g->cells[0].expander.get(), first);
  // Deleting the parent releases its expander and the hover mark.
  g->hoveredExpander = g->cells[0].expander.get();
  delete_row(ui, kGrid, 0, 0);
  EXPECT_EQ(g->hoveredExpander, nullptr);
}

TEST_F(GridModel, CursorAndCellValues) {
  fill(kGrid, 3, 4);
  NamedObject* obj = object(kGrid);
  GridRecord* g = record();
  set_cursor(ui, kGrid, 2, 3, 0);
  EXPECT_EQ(grid_cursor_column(ui, kGrid), 2);
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 3);
  EXPECT_EQ(g->selectionEndColumn, 2);
  EXPECT_EQ(g->selectionEndRow, 3);
  EXPECT_EQ(obj->text, "2,3");
  // Outside the grid nothing changes.
  for (auto [c, r] : {std::pair{3, 0}, {0, 4}, {-1, 0}, {0, -1}, {32767, 32767}, {-32768, 1}}) {
    set_cursor(ui, kGrid, static_cast<int16_t>(c), static_cast<int16_t>(r), 1);
    EXPECT_EQ(g->cursorColumn, 2);
    EXPECT_EQ(g->cursorRow, 3);
    EXPECT_EQ(get_cell_text(ui, kGrid, static_cast<int16_t>(c), static_cast<int16_t>(r)), "");
    set_cell(ui, kGrid, static_cast<int16_t>(c), static_cast<int16_t>(r), "no", 1, 1, 1);
  }
  EXPECT_EQ(obj->text, "2,3");

  // set_cell with -1 for image and colours changes only the text.
  set_cell_attribute(ui, kGrid, 1, 1, "FONTCOLOR", "99", 0);
  set_cell_attribute(ui, kGrid, 1, 1, "BGCOLOR", "88", 0);
  set_cell(ui, kGrid, 1, 1, "Müller — 北京", -1, -1, -1);
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 1), "Müller — 北京");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "FONTCOLOR"), "99");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "BGCOLOR"), "88");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "IMAGE"), "0");
  set_cell(ui, kGrid, 1, 1, "v", 0, 5, 0);
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "FONTCOLOR"), "5");
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "BGCOLOR"), "0");
  // set_cell always draws, also with every optional value at -1.
  g->lastVisibleRow = -5;
  set_cell(ui, kGrid, 0, 0, "z", -1, -1, -1);
  EXPECT_EQ(g->lastVisibleRow, 3);
}

TEST_F(GridModel, DeleteRowAndClearGrid) {
  fill(kGrid, 2, 4);
  GridRecord* g = record();
  set_cursor(ui, kGrid, 1, 3, 0);
  delete_row(ui, kGrid, 1, 0);
  EXPECT_EQ(grid_row_count(ui, kGrid), 3);
  EXPECT_EQ(g->cellCount, 6);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 1), "0,2");
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "1,3");
  delete_row(ui, kGrid, 0, 0);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 0), "0,2");
  for (int16_t bad : {-1, 2, 100}) delete_row(ui, kGrid, bad, 1);
  EXPECT_EQ(grid_row_count(ui, kGrid), 2);

  clear_grid(ui, kGrid, 0);
  EXPECT_EQ(grid_row_count(ui, kGrid), 0);
  EXPECT_EQ(grid_column_count(ui, kGrid), 2);
  EXPECT_EQ(g->cellCount, 0);
  EXPECT_EQ(g->cursorColumn, 1);  // the cursor is left as it was
  EXPECT_EQ(g->cursorRow, 3);
  // Rows added afterwards get cells for the kept columns.
  add_row(ui, kGrid, -1, "", 20, 0, "a\nb", "", 0);
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 0), "b");
  EXPECT_EQ(g->rows[0].key, "0");
  clear_grid(ui, kGrid, 1);
  EXPECT_EQ(grid_column_count(ui, kGrid), 0);
  EXPECT_EQ(g->cellCount, 0);
  // Deleting a parent's children's parent: the children are linked again.
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  for (int level : {0, 1, 2, 2}) add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level), "", "", 0);
  delete_row(ui, kGrid, 1, 0);
  EXPECT_EQ(g->rows[1].parent, 0);
  EXPECT_EQ(g->rows[2].parent, 0);
}

TEST_F(GridModel, UnknownNamesAndOtherKindsChangeNothing) {
  EXPECT_EQ(add_column(ui, "Nope", -1, "", 80, 0, 0, 0, "", 1), 0);
  EXPECT_EQ(add_row(ui, "Nope", -1, "", 20, 0, "", "", 1), 0);
  EXPECT_EQ(get_cell_text(ui, "Nope", 0, 0), "");
  EXPECT_EQ(grid_row_count(ui, "Nope"), 0);
  EXPECT_EQ(grid_column_count(ui, ""), 0);
  EXPECT_EQ(grid_cursor_column(ui, "Nope"), 0);
  delete_row(ui, "Nope", 0, 1);
  clear_grid(ui, "Nope", 1);
  set_cursor(ui, "Nope", 0, 0, 1);
  ASSERT_EQ(register_object(ui, "Plain", Kind::Label, 0, 0, 10, 10, ""), 1);
  finish_creation(ui);
  EXPECT_EQ(add_column(ui, "Plain", -1, "", 80, 0, 0, 0, "", 1), 0);
  EXPECT_EQ(add_row(ui, "Plain", -1, "", 20, 0, "", "", 1), 0);
  EXPECT_EQ(grid_row_count(ui, "Plain"), 0);
  clear_grid(ui, "Plain", 1);
}

TEST_F(GridModel, TwoGridsFilledAfterEachOtherStayApart) {
  make_grid("Other", 0, 0, 300, 100);
  fill(kGrid, 2, 3);
  fill("Other", 4, 5);
  add_row(ui, kGrid, -1, "", 20, 1, "late", "", 0);
  EXPECT_EQ(grid_row_count(ui, kGrid), 4);
  EXPECT_EQ(grid_column_count(ui, kGrid), 2);
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "1,2");
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 3), "late");
  EXPECT_EQ(record()->rows[3].parent, 2);
  EXPECT_EQ(get_cell_text(ui, "Other", 3, 4), "3,4");
  EXPECT_EQ(record("Other")->cellCount, 20);
  clear_grid(ui, "Other", 1);
  EXPECT_EQ(get_cell_text(ui, kGrid, 1, 2), "1,2");
  for (const CellRecord& c : record()->cells) EXPECT_EQ(c.owner, object(kGrid)->number);
}

}  // namespace

namespace {

// Lists of 2 MB and more live in the toolkit's pages, smaller ones on the
// heap: records keep their values as a list grows past that size, shrinks
// back below it, gains a column and is cleared.
TEST_F(GridModel, RecordsSurviveTheMoveBetweenHeapAndPages) {
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);
  constexpr int32_t kRows = 40000;  // 40,000 cells of 64 bytes: past 2 MB
  for (int32_t r = 0; r < kRows; ++r)
    add_row(ui, kGrid, -1, "", 20, 0, "text of row " + std::to_string(r), "", 0);
  GridRecord& g = *record();
  ASSERT_GE(g.cells.capacity() * sizeof(CellRecord), GridListAllocator<CellRecord>::kPagesFrom);
  add_column(ui, kGrid, -1, "", 80, 0, 0, 0, "", 0);  // every row's cells move
  for (int32_t r : {0, kRows / 2, kRows - 1}) {
    EXPECT_EQ(get_cell_text(ui, kGrid, 0, r), "text of row " + std::to_string(r));
    EXPECT_EQ(get_cell_text(ui, kGrid, 1, r), "");
  }
  delete_row(ui, kGrid, kRows - 1, 0);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, kRows - 2), "text of row " + std::to_string(kRows - 2));
  clear_grid(ui, kGrid, 0);
  g.cells.shrink_to_fit();
  g.rows.shrink_to_fit();
  for (int32_t r = 0; r < 10; ++r)
    add_row(ui, kGrid, -1, "", 20, 0, "again " + std::to_string(r), "", 0);
  EXPECT_LT(g.cells.capacity() * sizeof(CellRecord), GridListAllocator<CellRecord>::kPagesFrom);
  EXPECT_EQ(get_cell_text(ui, kGrid, 0, 9), "again 9");
}

}  // namespace
