// The grid's row checkpoints (grid/row_walk.h): one walk over all rows per
// row layout, after which any row or shown row is reached by walking at
// most one stride of rows.
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
