#pragma once
// Where the parts of a grid lie: the one layout that both drawing and mouse
// handling read, so a click reaches what the user sees at that spot.
//
// The layout covers only what is visible: the columns from the first shown
// one to the right edge and the rows the drawing reaches (the row walk
// starts at the grid's anchor), never all rows of the grid.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "grid/grid_records.h"
#include "grid/row_walk.h"

// A rectangle by its edges; right and bottom lie just outside it.
struct GridArea {
  int32_t left, top, right, bottom;
};

// Whether (x, y) lies in the area, its right and bottom edges included: a
// click on the last pixel line still counts, as a hit always has.
inline bool grid_area_holds(const GridArea& a, int32_t x, int32_t y) {
  return a.left <= x && x <= a.right && a.top <= y && y <= a.bottom;
}

// A bordered grid's frame (its line and rounded corners) lies within this
// many pixels of the picture's edge; the first cell starts there too.
inline constexpr int32_t kFrameInset = 4;
// Height of a text line, for the vertical placement of texts and icons.
inline constexpr int32_t kGridLineHeight = 20;
// Side of one built-in scroll arrow.
inline constexpr int32_t kGridArrow = 16;

// Vertical placement of a row's texts and icons (RowRecord::vOrientation).
namespace RowPlacement {
inline constexpr int8_t Top = 0;
inline constexpr int8_t Bottom = 1;
inline constexpr int8_t Centre = 2;
}  // namespace RowPlacement

// The built-in scroll arrows (GridRecord::pressedArrow; 0 is none).
namespace GridArrow {
inline constexpr int8_t None = 0;
inline constexpr int8_t Left = 1;
inline constexpr int8_t Right = 2;
inline constexpr int8_t Up = 3;
inline constexpr int8_t Down = 4;
inline constexpr int32_t Count = 4;
}  // namespace GridArrow

// Which arrow pairs show (GridRecord::scrollArrows, a sum of these).
namespace GridArrowPairs {
inline constexpr int8_t Vertical = 1;
inline constexpr int8_t Horizontal = 2;
}  // namespace GridArrowPairs

// One visible column.
struct GridColumnSlot {
  int32_t column = 0;  // index in the grid
  int32_t x = 0;       // left edge
  int32_t width = 0;   // its width as stored
};

// One drawn row.
struct GridRowSlot {
  int32_t row = 0;         // index in the grid
  int32_t shownIndex = 0;  // shown rows before it
  int32_t y = 0;           // top edge
  int32_t height = 0;      // its height as stored
  int32_t textY = 0;       // top of its texts and icons, by its placement
  bool expander = false;   // its tree expander is drawn, at expanderArea
  GridArea expanderArea{}; // the drawn expander icon
};

// The rows, columns, caption bands, editor and arrows of one W x H grid.
struct GridLayout {
  int32_t width = 0, height = 0;     // the grid's size
  bool captionRow = false;           // the column caption row is drawn
  bool captionColumn = false;        // the row caption column is drawn
  int32_t rowsTop = kFrameInset;     // where the first drawn row starts
  int32_t cellsLeft = kFrameInset;   // where the first visible column starts
  // Where the caption row's texts start. A caption column narrower than 6
  // pixels leaves them at the frame inset while the cells start at its
  // width, as the caption row has always been laid out.
  int32_t captionTextsLeft = kFrameInset;
  std::vector<GridColumnSlot> columns;  // visible columns, left to right
  std::vector<GridRowSlot> rows;        // drawn rows, top to bottom
  // Hit zones of the built-in arrows by GridArrow (index arrow - 1); empty
  // for an arrow pair that is not shown. They are the zones the arrows have
  // always answered in, a few pixels off the pictures (arrowPictures).
  GridArea arrowZones[GridArrow::Count]{};
  GridArea arrowPictures[GridArrow::Count]{};  // where each arrow's square is drawn
  bool editorShown = false;  // the open editor's cell is visible
  GridArea editor{};         // where the open editor lies over its cell
};

// The row's tree expander is drawn: it has one, is a parent with an icon
// (an always-open heading has none) and the tree is shown.
inline bool draws_expander(const GridRecord& g, const RowRecord& row, const CellRecord& first) {
  return first.expander != nullptr && row.isParent > RowTree::None &&
         row.isParent < RowTree::AlwaysOpen && g.showTree == 1;
}

// Where the text of cell (column k, row slot) starts when the cell begins at
// x: the tree column is indented by level and expander.
inline int32_t grid_text_left(const GridRecord& g, const GridRowSlot& slot, int32_t k, int32_t x,
                              int32_t iconSize) {
  if (k != 0) return x;
  const RowRecord& row = g.rows[slot.row];
  const ColumnRecord& column = g.columns[0];
  int32_t tx = x;
  if (row.level > 0) tx += iconSize * row.level;
  tx += slot.expander ? std::max<int32_t>(column.marginLeft, iconSize)
                      : column.marginLeft;
  return tx;
}

// True when (column, row) names one of the grid's cells.
inline bool cell_in_grid(const GridRecord& g, int32_t column, int32_t row) {
  return column >= 0 && column < static_cast<int32_t>(g.columns.size()) && row >= 0 &&
         static_cast<size_t>(row) * g.columns.size() + column < g.cells.size();
}

// The cell of a visible column in a drawn row.
inline GridArea grid_cell_area(const GridColumnSlot& c, const GridRowSlot& r) {
  return {c.x, r.y, c.x + c.width, r.y + r.height};
}

inline GridLayout compute_grid_layout(const GridRecord& g, int32_t w, int32_t h, int32_t iconSize) {
  GridLayout l;
  l.width = w;
  l.height = h;
  const bool framed = g.borderless != 1;
  l.captionRow = framed && g.captColHeight > 0 && g.columnCount > 0;
  l.captionColumn = framed && g.captRowWidth > 0;
  l.rowsTop = l.captionRow ? g.captColHeight : kFrameInset;
  l.cellsLeft = l.captionColumn ? g.captRowWidth : kFrameInset;
  l.captionTextsLeft = g.captRowWidth > 5 ? g.captRowWidth : kFrameInset;

  const int32_t columns = static_cast<int32_t>(g.columns.size());
  int32_t x = l.cellsLeft;
  for (int32_t k = std::max<int32_t>(g.scrollX, 0); k < columns && x < w; ++k) {
    l.columns.push_back({k, x, g.columns[k].width});
    x += g.columns[k].width;
  }

  RowWalk walk(g, l.rowsTop, h);
  while (walk.next()) {
    if (!walk.drawn) continue;
    const RowRecord& row = g.rows[walk.row];
    GridRowSlot slot;
    slot.row = walk.row;
    slot.shownIndex = walk.shownIndex;
    slot.y = walk.y;
    slot.height = row.height;
    slot.textY = walk.y + 1;
    if (row.vOrientation == RowPlacement::Bottom)
      slot.textY = walk.y + row.height - kGridLineHeight;
    else if (row.vOrientation == RowPlacement::Centre)
      slot.textY = walk.y + (row.height - kGridLineHeight) / 2;
    const size_t first = static_cast<size_t>(walk.row) * g.columns.size();
    // The expander sits in the tree column, drawn only while that column is.
    if (columns > 0 && first < g.cells.size() && g.scrollX <= 0 &&
        draws_expander(g, row, g.cells[first])) {
      slot.expander = true;
      const int32_t ex = l.cellsLeft + (row.level > 0 ? iconSize * row.level : 0);
      slot.expanderArea = {ex, slot.textY, ex + iconSize, slot.textY + iconSize};
    }
    l.rows.push_back(slot);
  }

  // The open editor lies over its cell's text area, as tall as its column asks.
  if (g.inputGadget != 0) {
    for (const GridRowSlot& r : l.rows) {
      if (r.row != g.editor.row) continue;
      for (const GridColumnSlot& c : l.columns) {
        if (c.column != g.editor.column || !cell_in_grid(g, c.column, r.row)) continue;
        const int32_t tx = grid_text_left(g, r, c.column, c.x, iconSize);
        const int16_t tall = g.columns[c.column].inputHeight;
        l.editorShown = true;
        l.editor = {tx, r.y, tx + c.width, r.y + (tall > 0 ? tall : r.height)};
      }
    }
  }

  const bool vertical = (g.scrollArrows & GridArrowPairs::Vertical) != 0;
  const bool horizontal = (g.scrollArrows & GridArrowPairs::Horizontal) != 0;
  const int32_t a = kGridArrow;
  l.arrowPictures[GridArrow::Left - 1] = {w - 54, h - 19, w - 54 + a, h - 19 + a};
  l.arrowPictures[GridArrow::Right - 1] = {w - 38, h - 19, w - 38 + a, h - 19 + a};
  l.arrowPictures[GridArrow::Up - 1] = {w - 19, h - 35, w - 19 + a, h - 35 + a};
  l.arrowPictures[GridArrow::Down - 1] = {w - 19, h - 19, w - 19 + a, h - 19 + a};
  // The zones the arrows answer in differ from their pictures by a few
  // pixels, and up and down overlap (up is asked first); they stay as the
  // arrows have always behaved. Empty zones (right < left) hold nothing.
  constexpr GridArea none{0, 0, -1, -1};
  constexpr int32_t far = 1 << 21;  // past any coordinate a hit can have
  l.arrowZones[GridArrow::Left - 1] = horizontal ? GridArea{w - 54, h - 19, w - 39, far} : none;
  l.arrowZones[GridArrow::Right - 1] = horizontal ? GridArea{w - 39, h - 19, w - 23, far} : none;
  l.arrowZones[GridArrow::Up - 1] = vertical ? GridArea{w - 19, h - 33, far, h - 19} : none;
  l.arrowZones[GridArrow::Down - 1] = vertical ? GridArea{w - 19, h - 23, far, far} : none;
  return l;
}

// The built-in arrow whose zone holds (x, y); GridArrow::None for none.
inline int8_t grid_arrow_at(const GridLayout& l, int32_t x, int32_t y) {
  for (int8_t arrow : {GridArrow::Up, GridArrow::Down, GridArrow::Left, GridArrow::Right})
    if (grid_area_holds(l.arrowZones[arrow - 1], x, y)) return arrow;
  return GridArrow::None;
}
