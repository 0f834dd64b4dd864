// The grid layout as a pure value: caption bands, visible columns, drawn
// rows with their expanders, the editor's place and the arrow zones.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/grid_layout.h"

using namespace zui;

namespace {

constexpr int32_t kIcon = 16;

struct RowSpec {
  int8_t height;
  int8_t level;
  int8_t isParent;
  int8_t vOrientation;
};

// A grid of columns of the given widths and the given rows; a row whose
// isParent is above 0 has an expander on its first cell.
std::unique_ptr<GridRecord> make(const std::vector<int16_t>& widths,
                                 const std::vector<RowSpec>& rows) {
  auto owner = std::make_unique<GridRecord>();
  GridRecord& g = *owner;
  for (int16_t w : widths) {
    ColumnRecord c;
    c.width = w;
    g.columns.push_back(c);
  }
  for (const RowSpec& s : rows) {
    RowRecord r;
    r.height = s.height;
    r.level = s.level;
    r.isParent = s.isParent;
    r.vOrientation = s.vOrientation;
    g.rows.push_back(r);
  }
  g.cells.resize(widths.size() * rows.size());
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].isParent > 0) g.cells[r * widths.size()].expander = std::make_unique<ExpanderRecord>();
  g.columnCount = static_cast<int16_t>(widths.size());
  g.rowCount = static_cast<int32_t>(rows.size());
  g.cellCount = static_cast<int32_t>(g.cells.size());
  return owner;
}

TEST(GridLayout, CaptionBandsAndWhereCellsStart) {
  struct Case {
    int8_t captColHeight;
    int16_t captRowWidth;
    int8_t borderless;
    bool captionRow, captionColumn;
    int32_t rowsTop, cellsLeft, captionTextsLeft;
  };
  const Case cases[] = {
      {0, 0, 0, false, false, 4, 4, 4},
      {20, 0, 0, true, false, 20, 4, 4},
      {20, 40, 0, true, true, 20, 40, 40},
      // A narrow caption column: cells start at its width, caption texts
      // at the frame inset.
      {20, 3, 0, true, true, 20, 3, 4},
      // Borderless: no caption bands at all.
      {20, 40, 1, false, false, 4, 4, 40},
  };
  for (const Case& c : cases) {
    const auto owner = make({100}, {{20, 0, 0, 0}});
    GridRecord& g = *owner;
    g.captColHeight = c.captColHeight;
    g.captRowWidth = c.captRowWidth;
    g.borderless = c.borderless;
    const GridLayout l = compute_grid_layout(g, 300, 200, kIcon);
    SCOPED_TRACE(testing::Message() << int(c.captColHeight) << "/" << c.captRowWidth << "/"
                                    << int(c.borderless));
    EXPECT_EQ(l.captionRow, c.captionRow);
    EXPECT_EQ(l.captionColumn, c.captionColumn);
    EXPECT_EQ(l.rowsTop, c.rowsTop);
    EXPECT_EQ(l.cellsLeft, c.cellsLeft);
    EXPECT_EQ(l.captionTextsLeft, c.captionTextsLeft);
  }
}

TEST(GridLayout, ColumnsFromTheFirstShownToTheEdgeAndRowsAsDrawn) {
  const auto owner = make({100, 150, 120, 90}, {{20, 0, 0, 0}, {30, 0, 0, 0}, {20, 0, 0, 0},
                                            {20, 0, 0, 0}, {20, 0, 0, 0}});
  GridRecord& g = *owner;
  g.captColHeight = 20;
  g.scrollX = 1;
  g.scrollY = 1;
  const GridLayout l = compute_grid_layout(g, 300, 80, kIcon);
  // Columns 1..3 start at 4, 154 and 274; the last starts inside and runs
  // past the edge.
  ASSERT_EQ(l.columns.size(), 3u);
  EXPECT_EQ(l.columns[0].column, 1);
  EXPECT_EQ(l.columns[0].x, 4);
  EXPECT_EQ(l.columns[1].x, 154);
  EXPECT_EQ(l.columns[2].x, 274);
  ASSERT_EQ(l.rows.size(), 3u);  // rows 1..3 from y 20 until the bottom at 80
  const int32_t ys[] = {20, 50, 70};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(l.rows[i].row, static_cast<int32_t>(i) + 1);
    EXPECT_EQ(l.rows[i].y, ys[i]);
  }
  // Every drawn row has a cell in each visible column, row by row.
  ASSERT_EQ(l.cells.size(), 9u);
  EXPECT_EQ(l.rows[0].firstCell, 0);
  EXPECT_EQ(l.rows[0].cellCount, 3);
  const GridArea cell = l.cells[l.rows[0].firstCell + 1].area;
  EXPECT_EQ(cell.left, 154);
  EXPECT_EQ(cell.bottom, 50);
}

// Each drawn row's cells, and where the walk ends: the column counter the
// grid keeps as lastVisibleColumn + 1 and the x the arrows and scroll bars
// are enabled from.
TEST(GridLayout, CellsAndWhereTheWalkEnds) {
  struct Case {
    int32_t width;
    int16_t scrollX;
    bool shortLastRow;  // the last row holds only its first cell
    int32_t cellsPerRow, lastRowCells, endColumns, endX;
  };
  const Case cases[] = {
      {300, 0, false, 3, 3, 3, 374},  // column 2 reaches past the edge
      {500, 0, false, 4, 4, 4, 464},  // all fit: the counter runs out
      {300, 2, false, 2, 2, 4, 214},  // scrolled-away columns count
      {300, 0, true, 3, 1, 1, 104},   // a row short of cells ends at its last
  };
  for (const Case& c : cases) {
    const auto owner = make({100, 150, 120, 90}, {{20, 0, 0, 0}, {20, 0, 0, 0}, {20, 0, 0, 0}});
    GridRecord& g = *owner;
    g.scrollX = c.scrollX;
    if (c.shortLastRow) g.cells.resize(2 * 4 + 1);
    const GridLayout l = compute_grid_layout(g, c.width, 200, kIcon);
    SCOPED_TRACE(testing::Message() << c.width << "/" << c.scrollX << "/" << c.shortLastRow);
    ASSERT_EQ(l.rows.size(), 3u);
    EXPECT_EQ(l.rows[0].cellCount, c.cellsPerRow);
    EXPECT_EQ(l.rows[2].cellCount, c.lastRowCells);
    EXPECT_EQ(l.cells.size(), size_t(2 * c.cellsPerRow + c.lastRowCells));
    for (const GridRowSlot& r : l.rows)
      for (int32_t i = r.firstCell; i < r.firstCell + r.cellCount; ++i) {
        const GridColumnSlot& col = l.columns[size_t(i - r.firstCell)];
        const GridArea& a = l.cells[size_t(i)].area;
        EXPECT_EQ(l.cells[size_t(i)].row, r.row);
        EXPECT_EQ(l.cells[size_t(i)].column, col.column);
        EXPECT_EQ(a.left, col.x);
        EXPECT_EQ(a.right, col.x + col.width);
        EXPECT_EQ(a.top, r.y);
        EXPECT_EQ(a.bottom, r.y + r.height);
      }
    EXPECT_EQ(l.end.columns, c.endColumns);
    EXPECT_EQ(l.end.x, c.endX);
    EXPECT_EQ(l.end.y, 4 + 3 * 20);
    EXPECT_EQ(l.end.lastRow, 2);
  }
}

// The walk's tree marks and anchor, which the grid takes over after a drawing.
TEST(GridLayout, WalkMarksHiddenRowsAndAnchorsAtTheFirstDrawn) {
  const auto owner = make({100}, {{20, 0, RowTree::Collapsed, 0}, {20, 1, 0, 0}, {20, 1, 0, 0},
                                  {20, 0, 0, 0}, {20, 0, 0, 0}});
  GridRecord& g = *owner;
  g.scrollY = 1;  // the parent is scrolled away
  const GridLayout l = compute_grid_layout(g, 300, 200, kIcon);
  std::string marks;
  for (const GridRowMark& m : l.end.marks) marks += std::to_string(m.row) + (m.hidden ? "h " : "s ");
  EXPECT_EQ(marks, "0s 1h 2h 3s 4s ");
  ASSERT_TRUE(l.end.anchored);
  EXPECT_EQ(l.end.anchor.row, 3);
  EXPECT_EQ(l.end.anchor.shownCount, 1);
  ASSERT_EQ(l.rows.size(), 2u);
  EXPECT_EQ(l.rows[0].row, 3);
  // A scrolled-away shown row last leaves the counter at every column.
  g.scrollY = 5;
  const GridLayout none = compute_grid_layout(g, 300, 200, kIcon);
  EXPECT_FALSE(none.end.anchored);
  EXPECT_EQ(none.end.columns, 1);
  EXPECT_EQ(none.end.x, kFrameInset);
}

TEST(GridLayout, ExpandersLieWhereTheirRowPlacesIcons) {
  // Row heights 40 with each placement, a nested parent, a heading and a
  // plain row.
  const auto owner = make({100, 100}, {{40, 0, RowTree::Collapsed, RowPlacement::Top},
                                   {40, 0, RowTree::Expanded, RowPlacement::Bottom},
                                   {40, 1, RowTree::Expanded, RowPlacement::Centre},
                                   {20, 2, RowTree::None, RowPlacement::Top},
                                   {20, 0, RowTree::AlwaysOpen, RowPlacement::Top}});
  GridRecord& g = *owner;
  const GridLayout l = compute_grid_layout(g, 300, 400, kIcon);
  ASSERT_EQ(l.rows.size(), 5u);
  struct Want {
    bool expander;
    int32_t left, top;
  };
  const Want want[] = {{true, 4, 4 + 1},            // top: one below the row top
                       {true, 4, 44 + 40 - 20},     // bottom: a line above the row end
                       {true, 4 + 16, 84 + 10},     // centred, indented one level
                       {false, 0, 0},               // no children
                       {false, 0, 0}};              // a heading shows no icon
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(l.rows[i].expander, want[i].expander);
    if (!want[i].expander) continue;
    EXPECT_EQ(l.rows[i].expanderArea.left, want[i].left);
    EXPECT_EQ(l.rows[i].expanderArea.top, want[i].top);
    EXPECT_EQ(l.rows[i].textY, want[i].top);
    EXPECT_EQ(l.rows[i].expanderArea.right - l.rows[i].expanderArea.left, kIcon);
  }
  // The row below the bottom-placed expander's top is not on it.
  EXPECT_FALSE(grid_area_holds(l.rows[1].expanderArea, 10, 44 + 2));
  EXPECT_TRUE(grid_area_holds(l.rows[1].expanderArea, 10, 44 + 30));

  // Without the tree column on screen or without the tree, no expander.
  g.scrollX = 1;
  EXPECT_FALSE(compute_grid_layout(g, 300, 400, kIcon).rows[0].expander);
  g.scrollX = 0;
  g.showTree = 0;
  EXPECT_FALSE(compute_grid_layout(g, 300, 400, kIcon).rows[0].expander);
}

TEST(GridLayout, EditorLiesOverItsCellsText) {
  const auto owner = make({100, 80}, {{20, 0, RowTree::Expanded, 0}, {20, 1, 0, 0}});
  GridRecord& g = *owner;
  g.columns[0].marginLeft = 5;
  g.columns[1].inputHeight = 60;
  g.inputGadget = 1;
  struct Case {
    int16_t column, row;
    GridArea area;
  };
  const Case cases[] = {
      {0, 0, {4 + 16, 4, 4 + 16 + 100, 24}},       // after the expander
      {0, 1, {4 + 16 + 5, 24, 4 + 21 + 100, 44}},  // indented, then the margin
      {1, 1, {104, 24, 184, 84}},                  // the column's input height
  };
  for (const Case& c : cases) {
    g.editor.column = c.column;
    g.editor.row = c.row;
    const GridLayout l = compute_grid_layout(g, 300, 200, kIcon);
    SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
    ASSERT_TRUE(l.editorShown);
    EXPECT_EQ(l.editor.left, c.area.left);
    EXPECT_EQ(l.editor.top, c.area.top);
    EXPECT_EQ(l.editor.right, c.area.right);
    EXPECT_EQ(l.editor.bottom, c.area.bottom);
  }
  g.scrollY = 1;  // row 0 scrolled away
  g.editor.row = 0;
  EXPECT_FALSE(compute_grid_layout(g, 300, 200, kIcon).editorShown);
}

TEST(GridLayout, ArrowZones) {
  const auto owner = make({100}, {{20, 0, 0, 0}});
  GridRecord& g = *owner;
  const int32_t w = 200, h = 100;
  struct Case {
    int8_t arrows;
    int32_t x, y;
    int8_t hit;
  };
  const Case cases[] = {
      {3, w - 19, h - 30, GridArrow::Up},   {3, w - 19, h - 21, GridArrow::Up},
      {3, w - 19, h - 18, GridArrow::Down}, {3, w - 50, h - 10, GridArrow::Left},
      {3, w - 30, h - 10, GridArrow::Right}, {3, w - 22, h - 10, GridArrow::None},
      {1, w - 50, h - 10, GridArrow::None}, {2, w - 10, h - 10, GridArrow::None},
      {0, w - 10, h - 30, GridArrow::None},
  };
  for (const Case& c : cases) {
    g.scrollArrows = c.arrows;
    SCOPED_TRACE(testing::Message() << int(c.arrows) << " at " << c.x << "," << c.y);
    EXPECT_EQ(grid_arrow_at(compute_grid_layout(g, w, h, kIcon), c.x, c.y), c.hit);
  }
}

TEST(GridLayout, HoldsOnlyTheDrawnRows) {
  const auto owner = make({100}, std::vector<RowSpec>(100000, RowSpec{20, 0, 0, 0}));
  GridRecord& g = *owner;
  g.scrollY = 20000;
  const GridLayout l = compute_grid_layout(g, 300, 204, kIcon);
  ASSERT_EQ(l.rows.size(), 10u);
  EXPECT_EQ(l.rows[0].row, 20000);
}

}  // namespace
