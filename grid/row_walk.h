#pragma once
// The walk over a grid's rows as the drawing sees them. Drawing, mouse hits,
// paging and scrolling all use this one walk, so that what is hit is what
// was drawn.
//
// Contract
// - Rows are visited in list order, hidden ones included, starting at row 0.
// - A row is *shown* unless it lies inside a collapsed subtree. The collapse
//   rule: a shown row whose first cell has an expander, with isParent > 0
//   and showTree 1, sets the collapse level to its own level when
//   isParent < 16 (collapsed) and clears it otherwise; a row is shown while
//   there is no collapse level or its level is at most the collapse level.
//   A grid without columns has no first cells and so hides nothing.
// - Shown rows are counted from 0 (`shown`); the first scrollY of them are
//   scrolled away. A shown row that is not scrolled away is *drawn* at `y`;
//   the next drawn row starts at y + height.
// - The walk ends after the last row, or before a row (hidden ones too)
//   when y has reached `bottom` (pass INT32_MAX for "no bottom").
// - The walk reads the records only; the drawing marks hiddenInTree itself.
//
// Usage:
//   RowWalk walk(grid, top, bottom);
//   while (walk.next()) { if (walk.drawn) ...walk.row, walk.y...; }
//   // walk.y is the position after the last drawn row, walk.shownCount the
//   // number of shown rows walked (scrolled-away ones included).
#include <cstdint>

#include "grid/grid_records.h"

class RowWalk {
 public:
  RowWalk(const GridRecord& grid, int32_t top, int32_t bottom)
      : y(top), grid_(grid), bottom_(bottom) {}

  // Steps to the next row; false when the walk has ended.
  bool next() {
    if (done_) return false;
    if (row >= 0 && drawn) y += grid_.rows[row].height;
    if (row >= 0 && shown) ++shownCount;
    if (y >= bottom_ || row + 1 >= static_cast<int32_t>(grid_.rows.size())) {
      done_ = true;
      return false;
    }
    ++row;
    const RowRecord& r = grid_.rows[row];
    shown = !collapsed_ || r.level <= collapseLevel_;
    if (shown) {
      shownIndex = shownCount;
      drawn = shownIndex >= grid_.scrollY;
      if (r.isParent > 0 && grid_.showTree == 1 && has_expander(row)) {
        collapsed_ = r.isParent < 16;
        collapseLevel_ = r.level;
      }
    } else {
      drawn = false;
    }
    return true;
  }

  // Current row (valid after next() returned true).
  int32_t row = -1;         // position in the grid's row list
  bool shown = false;       // not inside a collapsed subtree
  bool drawn = false;       // shown and not scrolled away
  int32_t shownIndex = -1;  // shown rows before this one
  int32_t y;                // top of the row when drawn; after the walk, the bottom
  int32_t shownCount = 0;   // shown rows walked so far (this one included once left)

 private:
  bool has_expander(int32_t r) const {
    const size_t columns = grid_.columns.size();
    if (columns == 0) return false;
    const size_t cell = static_cast<size_t>(r) * columns;
    return cell < grid_.cells.size() && grid_.cells[cell].expander != nullptr;
  }

  const GridRecord& grid_;
  int32_t bottom_;
  bool done_ = false;
  bool collapsed_ = false;
  int8_t collapseLevel_ = 0;
};
