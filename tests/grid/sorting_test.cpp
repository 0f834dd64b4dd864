// Sorting a grid's rows by a column: whole rows move, tree children stay
// under their parent, the cursor stays on its data row, and a caption click
// on a sortable grid sorts ascending, then descending.
#include <gtest/gtest.h>

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

class GridSorting : public GridFixture {
 protected:
  GridRecord& g() { return *record(); }

  // Rows of (level, text of column 0); column 1 holds "k<n>" with n the
  // row's position when added, to show that whole rows move.
  void rows(const std::vector<std::pair<int, std::string>>& table) {
    add_column(ui, kGrid, -1, "Name", 200, 1, 0, 0, "", 0);
    add_column(ui, kGrid, -1, "Key", 100, 1, 0, 0, "", 0);
    int n = 0;
    for (const auto& [level, text] : table)
      add_row(ui, kGrid, -1, "", 20, static_cast<int8_t>(level),
              text + "\nk" + std::to_string(n++), "", 0);
  }

  // Column `c` of every row, top to bottom.
  std::vector<std::string> column(int16_t c) {
    std::vector<std::string> out;
    for (int32_t r = 0; r < grid_row_count(ui, kGrid); ++r)
      out.push_back(get_cell_text(ui, kGrid, c, static_cast<int16_t>(r)));
    return out;
  }
};

using Texts = std::vector<std::string>;

TEST_F(GridSorting, OrdersByColumnKeepingChildrenUnderTheirParentAndWholeRowsTogether) {
  rows({{0, "b"}, {1, "z"}, {1, "a"}, {0, "a"}, {1, "10"}, {1, "9"}, {0, "c"}});
  struct Case {
    int8_t order;
    Texts names, keys;
  } cases[] = {
      {SortOrder::Ascending, {"a", "9", "10", "b", "a", "z", "c"},
       {"k3", "k5", "k4", "k0", "k2", "k1", "k6"}},
      {SortOrder::Descending, {"c", "b", "z", "a", "a", "10", "9"},
       {"k6", "k0", "k1", "k2", "k3", "k4", "k5"}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(sort_grid(ui, kGrid, 0, c.order, 1), 1);
    EXPECT_EQ(column(0), c.names) << int(c.order);
    EXPECT_EQ(column(1), c.keys) << int(c.order);
    EXPECT_EQ(g().sortColumn, 0);
    EXPECT_EQ(g().sortOrder, c.order);
  }
  // Levels travel with their rows.
  std::vector<int> levels;
  for (const RowRecord& row : g().rows) levels.push_back(row.level);
  EXPECT_EQ(levels, (std::vector<int>{0, 0, 1, 1, 0, 1, 1}));
}

TEST_F(GridSorting, NumbersByValueBeforeTextsAndEqualCellsKeepTheirOrder) {
  rows({{0, "x"}, {0, " 10 "}, {0, ""}, {0, "9"}, {0, "-2.5"}, {0, "x"}, {0, "Ä"}, {0, "1e3"},
        {0, "nan"}, {0, "Düsseldorf"}, {0, "Düsseldorf-Nord"}, {0, "Düssel"}});
  ASSERT_EQ(sort_grid(ui, kGrid, 0, SortOrder::Ascending, 0), 1);
  EXPECT_EQ(column(0), (Texts{"-2.5", "9", " 10 ", "1e3", "", "Düssel", "Düsseldorf",
                              "Düsseldorf-Nord", "nan", "x", "x", "Ä"}));
  EXPECT_EQ(column(1), (Texts{"k4", "k3", "k1", "k7", "k2", "k11", "k9", "k10", "k8", "k0", "k5",
                              "k6"}));
}

TEST_F(GridSorting, TheCursorStaysOnItsDataRowAndBadArgumentsChangeNothing) {
  rows({{0, "c"}, {0, "a"}, {0, "b"}});
  set_cursor(ui, kGrid, 1, 0, 0);  // on "c"
  ASSERT_EQ(sort_grid(ui, kGrid, 0, SortOrder::Ascending, 0), 1);
  EXPECT_EQ(grid_cursor_row(ui, kGrid), 2);
  EXPECT_EQ(grid_cursor_column(ui, kGrid), 1);

  const Texts before = column(0);
  EXPECT_EQ(sort_grid(ui, kGrid, 2, SortOrder::Ascending, 0), 0);
  EXPECT_EQ(sort_grid(ui, kGrid, -1, SortOrder::Ascending, 0), 0);
  EXPECT_EQ(sort_grid(ui, kGrid, 0, SortOrder::None, 0), 0);
  EXPECT_EQ(sort_grid(ui, "NoGrid", 0, SortOrder::Ascending, 0), 0);
  EXPECT_EQ(set_grid_sortable(ui, "NoGrid", 1), 0);
  EXPECT_EQ(column(0), before);
}

TEST_F(GridSorting, CaptionClicksSortAscendingThenDescendingOnlyWhenSortable) {
  rows({{0, "b"}, {0, "c"}, {0, "a"}});
  draw();
  NamedObject& grid = *object(kGrid);
  // The caption of column 0 (x 4..204) and of column 1, in the caption row.
  const auto caption_click = [&](int32_t rx) {
    return grid_mouse(ui, grid, grid.absX + rx, grid.absY + 8, TK_TYPE_LEFT_CLICK);
  };

  caption_click(50);  // not sortable: the click selects the column
  EXPECT_EQ(column(0), (Texts{"b", "c", "a"}));

  ASSERT_EQ(set_grid_sortable(ui, kGrid, 1), 1);
  EXPECT_EQ(caption_click(50), 1);
  EXPECT_EQ(column(0), (Texts{"a", "b", "c"}));
  EXPECT_EQ(caption_click(50), 1);
  EXPECT_EQ(column(0), (Texts{"c", "b", "a"}));
  EXPECT_EQ(caption_click(250), 1);  // another column starts ascending
  EXPECT_EQ(column(1), (Texts{"k0", "k1", "k2"}));
  EXPECT_EQ(g().sortOrder, SortOrder::Ascending);
}

}  // namespace
