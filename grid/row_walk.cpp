// The grid's row checkpoints (grid/row_walk.h): one walk over all rows per
// row layout, after which any row or shown row is reached by walking at
// most one stride of rows; and the shown-row index that reads them.
#include <algorithm>
#include <cstdint>

#include "grid/row_walk.h"

const RowCheckpoints& row_checkpoints(const GridRecord& g) {
  RowCheckpoints& c = g.checkpoints;
  if (c.generation == g.layoutGeneration) return c;
  c.at.clear();
  c.minLevel.clear();
  c.at.reserve(g.rows.size() / kRowCheckpointStride + 1);
  c.minLevel.reserve(c.at.capacity());
  // The checkpoints are stale during this walk, so it visits every row.
  RowWalk walk(g, 0, INT32_MAX, RowWalkAnchor{});
  while (walk.next()) {
    if (walk.row % kRowCheckpointStride == 0) {
      c.at.push_back(walk.anchor());
      c.minLevel.push_back(INT8_MAX);
    }
    c.minLevel.back() = std::min(c.minLevel.back(), g.rows[walk.row].level);
  }
  if (c.at.empty()) {
    c.at.push_back({0, 0, 0, 0, g.layoutGeneration});
    c.minLevel.push_back(INT8_MAX);
  }
  c.shownTotal = walk.shownCount;
  c.generation = g.layoutGeneration;
  return c;
}

RowWalkAnchor anchor_for_row(const GridRecord& g, int32_t row) {
  const RowCheckpoints& c = row_checkpoints(g);
  const int32_t k = std::clamp<int32_t>(row / kRowCheckpointStride, 0,
                                        static_cast<int32_t>(c.at.size()) - 1);
  return c.at[k];
}

RowWalkAnchor anchor_for_shown(const GridRecord& g, int32_t shownIndex) {
  const RowCheckpoints& c = row_checkpoints(g);
  // The last checkpoint with no more than shownIndex shown rows before it:
  // the row of that shown index lies at or after it.
  auto it = std::upper_bound(c.at.begin(), c.at.end(), shownIndex,
                             [](int32_t s, const RowWalkAnchor& a) { return s < a.shownCount; });
  return it == c.at.begin() ? c.at.front() : *(it - 1);
}

// ---- the walk over a source grid

bool SourceRowWalk::next() {
  if (done_) return false;
  if (row >= 0 && drawn) y += std::max<int32_t>(grid_->sourceRowHeight, 1);
  if (shown) ++shownCount;
  if (y >= bottom_ || row + 1 >= grid_->rowCount) {
    done_ = true;
    return false;
  }
  ++row;
  if (const SourceSpan* span = source_span_at(*grid_, row)) {
    row = span->last;
    shown = drawn = false;
    return true;
  }
  shown = true;
  shownIndex = shownCount;
  drawn = shownIndex >= grid_->scrollY;
  return true;
}

// ---- shown rows

int32_t ShownRows::count() {
  return g_.source ? source_shown_count(g_) : row_checkpoints(g_).shownTotal;
}

int32_t ShownRows::row_at(int32_t i) {
  if (g_.source) {
    i = std::min(std::max(i, 0), count() - 1);
    return i < 0 ? -1 : source_position_of_shown(g_, i);
  }
  i = std::min(std::max(i, 0), count() - 1);
  if (i < 0) return -1;
  if (i < base_ || i > walked_index() + kRowCheckpointStride) restart(anchor_for_shown(g_, i));
  while (!done_ && walked_index() < i) step();
  return rows_[i - base_];
}

int32_t ShownRows::index_at_or_before(int32_t row) {
  if (g_.source) return source_shown_index(g_, std::min(row, g_.rowCount - 1));
  walk_through(row);
  auto it = std::upper_bound(rows_.begin(), rows_.end(), row);
  if (it != rows_.begin()) return base_ + static_cast<int32_t>(it - rows_.begin()) - 1;
  // None since the start: the last shown row before it, if any.
  return std::max(base_ - 1, 0);
}

int32_t ShownRows::next_shown(int32_t row, int32_t dir) {
  if (g_.source) {
    if (row >= g_.rowCount) return g_.rowCount;
    const SourceSpan* span = row >= 0 ? source_span_at(g_, row) : nullptr;
    if (!span) return row;
    return dir > 0 ? span->last + 1 : span->first - 1;
  }
  walk_through(row);
  if (dir > 0) {
    while (!done_ && (rows_.empty() || rows_.back() < row)) step();
    auto it = std::lower_bound(rows_.begin(), rows_.end(), row);
    return it == rows_.end() ? walked_ + 1 : *it;
  }
  auto it = std::upper_bound(rows_.begin(), rows_.end(), row);
  if (it != rows_.begin()) return *(it - 1);
  return base_ > 0 ? row_at(base_ - 1) : -1;
}

void ShownRows::restart(const RowWalkAnchor& from) {
  walk_ = RowWalk(g_, 0, INT32_MAX, from);
  first_ = from.row;
  base_ = from.shownCount;
  walked_ = from.row - 1;
  done_ = false;
  rows_.clear();
}

void ShownRows::walk_through(int32_t row) {
  if (row < first_ || row > walked_ + kRowCheckpointStride) {
    const RowWalkAnchor from = anchor_for_row(g_, row);
    if (from.row != first_) restart(from);
  }
  while (!done_ && walked_ < row) step();
}
