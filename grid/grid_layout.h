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
  int8_t level = 0;        // its tree level: the tree column's indent
  bool expander = false;   // its tree expander is drawn, at expanderArea
  GridArea expanderArea{}; // the drawn expander icon
  int32_t firstCell = 0;   // its first cell in GridLayout::cells
  int32_t cellCount = 0;   // its cells there: the visible columns it has cells for
};

// One drawn cell: a visible column in a drawn row.
struct GridCellSlot {
  int32_t column = 0;    // index in the grid
  int32_t row = 0;       // index in the grid
  GridArea area{};       // the cell, from its column's x and its row's y
  int32_t textLeft = 0;  // where its image and text start (the tree column is indented)
};

// A row the walk passed and whether it was shown, for its hiddenInTree mark.
struct GridRowMark {
  int32_t row = 0;      // index in the grid
  bool hidden = false;  // inside a collapsed subtree
};

// Where the row walk of a layout ended: what the scroll bars, the built-in
// arrows and the grid's lastVisible* and walk anchor are taken from.
struct GridWalkEnd {
  int32_t x = 0;         // x after the last shown row's last cell
  int32_t y = 0;         // y after the last drawn row
  int32_t columns = 0;   // column counter of the last shown row: lastVisibleColumn + 1
  int32_t lastRow = -1;  // last row walked
  bool anchored = false; // a row was drawn; `anchor` is the walk's state before it
  RowWalkAnchor anchor;  // the state before the first drawn row
  std::vector<GridRowMark> marks;  // every row walked, in order
};

// Where the bands of a W x H grid lie and where a drawing may paint. Both
// paint areas stay inside the frame, so a row or column cut by the edge
// never covers the frame's line or rounded corners; a borderless grid has
// no frame, so its rows reach the picture's edges.
struct GridBands {
  bool captionRow = false;           // the column caption row is drawn
  bool captionColumn = false;        // the row caption column is drawn
  int32_t rowsTop = kFrameInset;     // where the first drawn row starts
  int32_t cellsLeft = kFrameInset;   // where the first visible column starts
  // Where the caption row's texts start. A caption column narrower than 6
  // pixels leaves them at the frame inset while the cells start at its
  // width, as the caption row has always been laid out.
  int32_t captionTextsLeft = kFrameInset;
  GridArea captionArea{};  // caption texts and separators
  // Rows with their caption cells, from the first row down; a caption cell
  // is a band over the frame's left line, as the caption row is over its
  // top line.
  GridArea rowsArea{};
};

// The rows, columns, cells, caption bands, editor and arrows of one W x H
// grid: what drawing paints, what mouse hits are tested against and what
// the grid keeps of the drawing afterwards.
struct GridLayout : GridBands {
  int32_t width = 0, height = 0;        // the grid's size
  std::vector<GridColumnSlot> columns;  // visible columns, left to right
  // The caption row's texts by column, from captionTextsLeft on to the
  // right edge; empty without a caption row.
  std::vector<GridColumnSlot> captions;
  std::vector<GridRowSlot> rows;        // drawn rows, top to bottom
  std::vector<GridCellSlot> cells;      // drawn cells, row by row (GridRowSlot::firstCell)
  GridWalkEnd end;                      // where the row walk ended
  // Hit zones of the built-in arrows by GridArrow (index arrow - 1); empty
  // for an arrow pair the latest drawing did not show (scrollArrows). They
  // are the zones the arrows have always answered in, a few pixels off the
  // pictures (arrowPictures).
  GridArea arrowZones[GridArrow::Count]{};
  GridArea arrowPictures[GridArrow::Count]{};  // where each arrow's square is drawn
  int8_t arrowPairs = 0;     // the pairs this drawing shows (GridArrowPairs), by the overflow
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
  const ColumnRecord& column = g.columns[0];
  int32_t tx = x;
  if (slot.level > 0) tx += iconSize * slot.level;
  tx += slot.expander ? std::max<int32_t>(column.marginLeft, iconSize)
                      : column.marginLeft;
  return tx;
}

// True when (column, row) names one of the grid's cells.
inline bool cell_in_grid(const GridRecord& g, int32_t column, int32_t row) {
  if (column < 0 || column >= static_cast<int32_t>(g.columns.size()) || row < 0) return false;
  if (g.source) return row < g.rowCount;
  return static_cast<size_t>(row) * g.columns.size() + column < g.cells.size();
}

inline GridBands grid_bands(const GridRecord& g, int32_t w, int32_t h) {
  GridBands b;
  const bool framed = g.borderless != 1;
  b.captionRow = framed && g.captColHeight > 0 && g.columnCount > 0;
  b.captionColumn = framed && g.captRowWidth > 0;
  b.rowsTop = b.captionRow ? g.captColHeight : kFrameInset;
  b.cellsLeft = b.captionColumn ? g.captRowWidth : kFrameInset;
  b.captionTextsLeft = g.captRowWidth > 5 ? g.captRowWidth : kFrameInset;
  const int32_t inset = framed ? kFrameInset : 0;
  b.captionArea = {inset, 0, w - inset, b.captionRow ? g.captColHeight : 0};
  b.rowsArea = {b.captionColumn ? 0 : inset, b.rowsTop, w - inset, h - inset};
  return b;
}

// The shape of a drawn source row: its tree level and its expander, which
// every parent shows while the tree does (a source row has no expander
// record to leave it out).
inline void shape_source_row(GridRowSlot& slot, const GridRecord& g, int32_t row) {
  slot.height = g.sourceRowHeight;
  slot.level = grid_row_level(g, row);
  slot.expander = g.showTree == 1 && g.scrollX <= 0 && !g.columns.empty() &&
                  source_is_parent(g, row);
}

// Lays out one drawn row of a RowWalk or SourceRowWalk: its slot, its
// cells and where its cells end.
template <typename Walk>
void lay_grid_row(GridLayout& l, const GridRecord& g, const Walk& walk, int32_t iconSize) {
  const int32_t columns = static_cast<int32_t>(g.columns.size());
  GridRowSlot slot;
  slot.row = walk.row;
  slot.shownIndex = walk.shownIndex;
  slot.y = walk.y;
  slot.textY = walk.y + 1;
  int32_t hasCells = columns;
  if (g.source) {
    shape_source_row(slot, g, walk.row);
  } else {
    const RowRecord& row = g.rows[walk.row];
    slot.height = row.height;
    slot.level = row.level;
    if (row.vOrientation == RowPlacement::Bottom)
      slot.textY = walk.y + row.height - kGridLineHeight;
    else if (row.vOrientation == RowPlacement::Centre)
      slot.textY = walk.y + (row.height - kGridLineHeight) / 2;
    const size_t first = static_cast<size_t>(walk.row) * g.columns.size();
    // The expander sits in the tree column, drawn only while that column is.
    slot.expander = columns > 0 && first < g.cells.size() && g.scrollX <= 0 &&
                    draws_expander(g, row, g.cells[first]);
    // The row's cells: the visible columns it has cells for (a row short
    // of cells ends at its last one).
    hasCells = first < g.cells.size()
                   ? static_cast<int32_t>(std::min<size_t>(g.cells.size() - first, columns))
                   : 0;
  }
  if (slot.expander) {
    const int32_t ex = l.cellsLeft + (slot.level > 0 ? iconSize * slot.level : 0);
    slot.expanderArea = {ex, slot.textY, ex + iconSize, slot.textY + iconSize};
  }
  slot.firstCell = static_cast<int32_t>(l.cells.size());
  int32_t x = l.cellsLeft;
  for (const GridColumnSlot& c : l.columns) {
    if (c.column >= hasCells) break;
    l.cells.push_back({c.column, walk.row, {c.x, slot.y, c.x + c.width, slot.y + slot.height},
                       grid_text_left(g, slot, c.column, c.x, iconSize)});
    x = c.x + c.width;
  }
  slot.cellCount = static_cast<int32_t>(l.cells.size()) - slot.firstCell;
  // The column counter stops at the first column that starts at the edge or
  // has no cell; scrolled-away columns count.
  int32_t counter = columns;
  if (l.cellsLeft >= l.width) counter = 0;
  else if (!l.columns.empty() && l.columns.back().x + l.columns.back().width >= l.width)
    counter = l.columns.back().column + 1;
  l.end.columns = std::min(counter, hasCells);
  l.end.x = slot.cellCount > 0 ? x : l.cellsLeft;
  l.rows.push_back(slot);
}

// Lays out the rows a walk draws and keeps where it ended.
template <typename Walk>
void lay_walked_rows(GridLayout& l, const GridRecord& g, Walk& walk, int32_t iconSize) {
  const int32_t columns = static_cast<int32_t>(g.columns.size());
  while (walk.next()) {
    l.end.marks.push_back({walk.row, !walk.shown});
    if (!walk.shown) continue;
    if (!walk.drawn) {
      // Nothing of a scrolled-away row is drawn and x never moves, so the
      // column counter runs through every column.
      l.end.x = kFrameInset;
      l.end.columns = kFrameInset < l.width ? columns : 0;
      continue;
    }
    if (!l.end.anchored) {
      l.end.anchored = true;
      l.end.anchor = walk.anchor();
    }
    lay_grid_row(l, g, walk, iconSize);
  }
  l.end.y = walk.y;
  l.end.lastRow = walk.row;
}

inline GridLayout compute_grid_layout(const GridRecord& g, int32_t w, int32_t h, int32_t iconSize) {
  GridLayout l;
  static_cast<GridBands&>(l) = grid_bands(g, w, h);
  l.width = w;
  l.height = h;

  const int32_t columns = static_cast<int32_t>(g.columns.size());
  int32_t x = l.cellsLeft;
  for (int32_t k = std::max<int32_t>(g.scrollX, 0); k < columns && x < w; ++k) {
    l.columns.push_back({k, x, g.columns[k].width});
    x += g.columns[k].width;
  }
  x = l.captionTextsLeft;
  for (int32_t k = std::max<int32_t>(g.scrollX, 0); l.captionRow && k < columns && x < w; ++k) {
    l.captions.push_back({k, x, g.columns[k].width});
    x += g.columns[k].width;
  }

  // One walk gives the drawn rows and what the grid keeps of the drawing:
  // the rows' tree marks, the anchor and where the walk ended. It starts at
  // the anchor or a checkpoint (grid/row_walk.h): the rows before it are
  // not walked and keep the marks an earlier drawing gave.
  if (g.source) {
    SourceRowWalk walk(g, l.rowsTop, h);
    lay_walked_rows(l, g, walk, iconSize);
  } else {
    RowWalk walk(g, l.rowsTop, h);
    lay_walked_rows(l, g, walk, iconSize);
  }

  // The open editor lies over its cell's text area, as tall as its column asks.
  if (g.inputGadget != 0) {
    for (const GridRowSlot& r : l.rows) {
      if (r.row != g.editor.row) continue;
      for (int32_t i = r.firstCell; i < r.firstCell + r.cellCount; ++i) {
        const GridCellSlot& c = l.cells[i];
        if (c.column != g.editor.column) continue;
        const int16_t tall = g.columns[c.column].inputHeight;
        l.editorShown = true;
        l.editor = {c.textLeft, r.y, c.textLeft + (c.area.right - c.area.left),
                    r.y + (tall > 0 ? tall : r.height)};
      }
    }
  }

  // The arrows show while rows or columns reach past the edges or are
  // scrolled; scroll bars take their place.
  if (g.hScrollBar.empty() && g.vScrollBar.empty()) {
    if (l.end.x >= w + 10 || g.scrollX > 0) l.arrowPairs += GridArrowPairs::Horizontal;
    if (l.end.y >= h || g.scrollY > 0) l.arrowPairs += GridArrowPairs::Vertical;
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

// The drawn row under y: the first whose top and bottom edges (both
// included) hold it; nullptr for none.
inline const GridRowSlot* grid_row_at(const GridLayout& l, int32_t y) {
  for (const GridRowSlot& r : l.rows)
    if (r.y <= y && y <= r.y + r.height) return &r;
  return nullptr;
}

// The index in l.columns of the visible column under x, edges included and
// the first one winning; -1 for none.
inline int32_t grid_column_slot_at(const GridLayout& l, int32_t x) {
  for (size_t i = 0; i < l.columns.size(); ++i)
    if (l.columns[i].x <= x && x <= l.columns[i].x + l.columns[i].width) return static_cast<int32_t>(i);
  return -1;
}

// The built-in arrow whose zone holds (x, y); GridArrow::None for none.
inline int8_t grid_arrow_at(const GridLayout& l, int32_t x, int32_t y) {
  for (int8_t arrow : {GridArrow::Up, GridArrow::Down, GridArrow::Left, GridArrow::Right})
    if (grid_area_holds(l.arrowZones[arrow - 1], x, y)) return arrow;
  return GridArrow::None;
}
