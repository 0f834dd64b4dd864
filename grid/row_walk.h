#pragma once
// The walk over a grid's rows as the drawing sees them, and the shown-row
// index built on it (ShownRows, at the end). The grid's layout, paging and
// scrolling all use this one walk, so that what is hit is what was drawn.
//
// Contract
// - Rows are visited in list order, hidden ones included, from the start
//   row on (see "Anchors" below; without one, row 0).
// - A row is *shown* unless it lies inside a collapsed subtree. The collapse
//   rule: a shown row whose first cell has an expander, with isParent > 0
//   and showTree 1, sets the collapse level to its own level when
//   isParent < 16 (collapsed) and clears it otherwise; a row is shown while
//   there is no collapse level or its level is at most the collapse level.
//   A grid without columns has no first cells and so hides nothing.
// - Shown rows are counted from 0 (`shown`); the first scrollY of them are
//   scrolled away. A shown row that is not scrolled away is *drawn* at `y`;
//   the next drawn row starts at y + row_span(row): its height, but at least
//   one pixel, so that a view h pixels high ends after at most h drawn rows
//   whatever heights were stored (HEIGHT 0 or below is kept as given).
// - The walk ends after the last row, or before a row (hidden ones too)
//   when y has reached `bottom` (pass INT32_MAX for "no bottom").
// - The walk reads the records only; the drawing marks hiddenInTree itself.
// - With the grid's checkpoints current, a block of kRowCheckpointStride
//   rows that lies wholly inside a collapsed subtree is one step, landing on
//   its last row; the rows before it in the block are not visited.
//
// Anchors
// - The state before a row (RowWalkAnchor) depends only on the rows before
//   it, so a walk may start there and gives the same rows, counts and y
//   positions from there on as a walk from row 0, as long as no row before
//   it is drawn: its shownCount must not exceed scrollY.
// - Far from row 0 a walk starts at a checkpoint (below) instead.
// - The drawing keeps the state at its first drawn row in
//   GridRecord::walkAnchor; walks of the same layout (drawing, hits, moves)
//   start there. Every change that can alter the walk calls
//   row_layout_changed(), which voids the anchor; a void anchor means row 0.
//   Code writing the tree fields of rows directly must call it too.
//
// Usage:
//   RowWalk walk(grid, top, bottom);
//   while (walk.next()) { if (walk.drawn) ...walk.row, walk.y...; }
//   // walk.y is the position after the last drawn row, walk.shownCount the
//   // number of shown rows walked (scrolled-away ones included).
//
// A source grid (grid/grid_rows.h) is walked by SourceRowWalk (below),
// which needs no anchors nor checkpoints.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "grid/grid_records.h"
#include "grid/grid_rows.h"

// The pixels a drawn row takes from the rows below it.
inline int32_t row_span(const RowRecord& row) { return std::max<int32_t>(row.height, 1); }

// ---- checkpoints (grid/row_walk.cpp)
// A walk that must reach a row or a shown row far from row 0 starts at the
// checkpoint before it, so it covers at most one stride of rows. The
// checkpoints are taken in one walk over all rows, again after each change
// of the row layout (row_layout_changed).
inline constexpr int32_t kRowCheckpointStride = 1024;

// The grid's checkpoints, taken anew when the row layout changed.
const RowCheckpoints& row_checkpoints(const GridRecord& grid);
// The checkpoint at or before `row` (clamped into the grid).
RowWalkAnchor anchor_for_row(const GridRecord& grid, int32_t row);
// The last checkpoint with at most shownIndex shown rows before it: the row
// of that shown index lies at or after it.
RowWalkAnchor anchor_for_shown(const GridRecord& grid, int32_t shownIndex);

// Voids the grid's walk anchor: called by every change to rows, columns,
// expanders or keywords that can alter which rows are shown.
inline void row_layout_changed(GridRecord& grid) { ++grid.layoutGeneration; }

class RowWalk {
 public:
  // Starts at the grid's anchor when it is valid for the walk (see above),
  // else at row 0.
  RowWalk(const GridRecord& grid, int32_t top, int32_t bottom)
      : RowWalk(grid, top, bottom, drawing_anchor(grid)) {}

  // Starts at `from`; RowWalkAnchor{} is row 0. `from` must describe this
  // grid's current rows.
  RowWalk(const GridRecord& grid, int32_t top, int32_t bottom, const RowWalkAnchor& from)
      : row(from.row - 1),
        y(top),
        shownCount(from.shownCount),
        grid_(&grid),
        bottom_(bottom),
        collapsed_(from.collapsed != 0),
        collapseLevel_(from.collapseLevel) {}

  // The grid's anchor when it belongs to the current rows, else row 0.
  static RowWalkAnchor layout_anchor(const GridRecord& grid) {
    const RowWalkAnchor& a = grid.walkAnchor;
    if (a.generation != grid.layoutGeneration || a.row < 0 ||
        a.row > static_cast<int32_t>(grid.rows.size()))
      return {};
    return a;
  }

  // The layout anchor when no row before it is drawn, else row 0; moved up
  // to the checkpoint before the first drawn row when that lies more than a
  // stride further on (a deep scroll in a large grid).
  static RowWalkAnchor drawing_anchor(const GridRecord& grid) {
    // A large grid keeps its checkpoints current for drawing, so walks pass
    // over collapsed blocks at once.
    if (grid.rows.size() > 4 * kRowCheckpointStride) row_checkpoints(grid);
    RowWalkAnchor a = layout_anchor(grid);
    if (a.shownCount > grid.scrollY) a = RowWalkAnchor{};
    if (grid.scrollY - a.shownCount > kRowCheckpointStride) {
      const RowWalkAnchor c = anchor_for_shown(grid, grid.scrollY);
      if (c.row > a.row) a = c;
    }
    return a;
  }

  // Steps to the next row; false when the walk has ended.
  bool next() {
    if (done_) return false;
    if (row >= 0 && drawn) y += row_span(grid_->rows[row]);
    if (shown) ++shownCount;
    if (y >= bottom_ || row + 1 >= static_cast<int32_t>(grid_->rows.size())) {
      done_ = true;
      return false;
    }
    ++row;
    collapsedBefore_ = collapsed_;
    collapseLevelBefore_ = collapseLevel_;
    if (collapsed_ && row % kRowCheckpointStride == 0 && block_hidden(row)) {
      // Every row of the block lies deeper than the collapse level, so all
      // are hidden and change nothing: the walk lands on the block's last.
      row = static_cast<int32_t>(
                std::min<size_t>(static_cast<size_t>(row) + kRowCheckpointStride, grid_->rows.size())) -
            1;
      shown = drawn = false;
      return true;
    }
    const RowRecord& r = grid_->rows[row];
    shown = !collapsed_ || r.level <= collapseLevel_;
    if (shown) {
      shownIndex = shownCount;
      drawn = shownIndex >= grid_->scrollY;
      if (r.isParent > RowTree::None && grid_->showTree == 1 && has_expander(row)) {
        collapsed_ = r.isParent < RowTree::Expanded;
        collapseLevel_ = r.level;
      }
    } else {
      drawn = false;
    }
    return true;
  }

  // The state before the current row (valid after next() returned true),
  // for starting a later walk there.
  RowWalkAnchor anchor() const {
    return {row, shownCount, static_cast<int8_t>(collapsedBefore_ ? 1 : 0),
            collapseLevelBefore_, grid_->layoutGeneration};
  }

  // Current row (valid after next() returned true).
  int32_t row;              // position in the grid's row list
  bool shown = false;       // not inside a collapsed subtree
  bool drawn = false;       // shown and not scrolled away
  int32_t shownIndex = -1;  // shown rows before this one
  int32_t y;                // top of the row when drawn; after the walk, the bottom
  int32_t shownCount;       // shown rows walked so far (this one included once left)

 private:
  // True when the block of rows starting at `first` lies wholly below the
  // collapse level, by the grid's current checkpoints (none: false).
  bool block_hidden(int32_t first) const {
    const RowCheckpoints& c = grid_->checkpoints;
    const size_t k = static_cast<size_t>(first) / kRowCheckpointStride;
    return c.generation == grid_->layoutGeneration && k < c.minLevel.size() &&
           c.minLevel[k] > collapseLevel_;
  }

  bool has_expander(int32_t r) const {
    const size_t columns = grid_->columns.size();
    if (columns == 0) return false;
    const size_t cell = static_cast<size_t>(r) * columns;
    return cell < grid_->cells.size() && grid_->cells[cell].expander != nullptr;
  }

  const GridRecord* grid_;
  int32_t bottom_;
  bool done_ = false;
  bool collapsed_;
  int8_t collapseLevel_;
  bool collapsedBefore_ = false;
  int8_t collapseLevelBefore_ = 0;
};

// ---- the walk over a source grid
// RowWalk's contract and fields for a source grid, whose rows are all one
// height and whose hidden rows are spans: it starts at the first drawn row
// at once and steps over a hidden span in one step, landing on its last
// row. A class of its own keeps the record walk as small as it was.
class SourceRowWalk {
 public:
  SourceRowWalk(const GridRecord& grid, int32_t top, int32_t bottom)
      : y(top), grid_(&grid), bottom_(bottom) {
    shownCount = std::max<int32_t>(grid.scrollY, 0);
    row = std::min(source_position_of_shown(grid, shownCount), grid.rowCount) - 1;
  }

  // Steps to the next row; false when the walk has ended.
  bool next();

  // The state before the current row.
  RowWalkAnchor anchor() const { return {row, shownCount, 0, 0, grid_->layoutGeneration}; }

  /// @{ As RowWalk's.
  int32_t row;
  bool shown = false;
  bool drawn = false;
  int32_t shownIndex = -1;
  int32_t y;
  int32_t shownCount;
  /// @}

 private:
  const GridRecord* grid_;
  int32_t bottom_;
  bool done_ = false;
};

// ---- shown rows
// The rows the drawing shows, computed fresh with the row walk: hiddenInTree
// only describes the rows the latest drawing reached, and a move may go
// further. Scroll positions are indexes into this list. The walk starts at
// the grid's walk anchor (the first row drawn), so moves and arrows near the
// view cost a few rows; a question about a row or index far from what was
// walked starts again at the checkpoint before it, so no question walks
// more than about one stride of rows.
class ShownRows {
 public:
  explicit ShownRows(const GridRecord& g) : g_(g), walk_(g, 0, INT32_MAX, RowWalkAnchor{}) {
    restart(RowWalk::layout_anchor(g));
  }

  // Number of shown rows in the whole grid.
  int32_t count();

  // True when the grid has a shown row of index i.
  bool has_index(int32_t i) { return i >= 0 && i < count(); }

  // Row of shown index i, clamped into the list; -1 when nothing is shown.
  int32_t row_at(int32_t i);

  // Shown index of the last shown row at or before `row` (0 when none).
  int32_t index_at_or_before(int32_t row);

  // The first shown row from `row` on in direction dir (row itself when it
  // is shown); past the last row: the row count; before row 0: -1.
  int32_t next_shown(int32_t row, int32_t dir);

 private:
  void restart(const RowWalkAnchor& from);

  // Walks up to `row`, from the checkpoint before it when it lies before the
  // start or more than a stride beyond the rows walked.
  void walk_through(int32_t row);

  int32_t walked_index() const { return base_ + static_cast<int32_t>(rows_.size()) - 1; }

  void step() {
    if (!walk_.next()) {
      done_ = true;
      return;
    }
    walked_ = walk_.row;
    if (walk_.shown) rows_.push_back(walk_.row);
  }

  const GridRecord& g_;
  int32_t first_ = 0;            // row the walk started at
  int32_t base_ = 0;             // shown rows before it
  int32_t walked_ = -1;          // last row walked
  RowWalk walk_;
  bool done_ = false;
  std::vector<int32_t> rows_;    // shown rows walked so far from first_, in order
};
