// A grid over a data source (grid/grid_source.h): the tree of its rows,
// attaching and refreshing a source, and the order its rows show in.
//
// Sections: the tree of a source grid · attaching and refreshing · ordering.
//
// The grid keeps its columns as records (they are few) and, per row, only
// what a person or the program gave it: the rows someone closed and a sort
// order. Everything else is asked of the source when it is drawn, hit,
// edited or read.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_rows.h"
#include "grid/grid_source.h"
#include "grid/row_walk.h"

namespace {

// The last span starting at or before a position, or end() when none does.
std::vector<SourceSpan>::const_iterator span_before(const GridRecord& g, int32_t position) {
  const std::vector<SourceSpan>& h = g.sourceHidden;
  auto it = std::upper_bound(h.begin(), h.end(), position,
                             [](int32_t p, const SourceSpan& s) { return p < s.first; });
  return it == h.begin() ? h.end() : it - 1;
}

// The first row after a position's subtree: the next row no deeper than it.
int32_t subtree_end(const GridRecord& g, int32_t position, int32_t from) {
  const int8_t level = grid_row_level(g, position);
  int32_t q = std::max(from, position + 1);
  while (q < g.rowCount && grid_row_level(g, q) > level) ++q;
  return q;
}

// The hidden spans anew from the closed rows: a closed row inside another's
// span adds nothing (it stays closed for when the outer one opens).
void rebuild_spans(GridRecord& g) {
  g.sourceHidden.clear();
  int32_t covered = 0, total = 0;
  for (const SourceClosedRow& c : g.sourceClosed) {
    if (c.row < covered || c.end <= c.row + 1) continue;
    g.sourceHidden.push_back({c.row + 1, c.end - 1, total});
    total += c.end - c.row - 1;
    covered = c.end;
  }
  g.sourceHiddenTotal = total;
  row_layout_changed(g);
}

std::vector<SourceClosedRow>::iterator closed_at(GridRecord& g, int32_t position) {
  return std::lower_bound(g.sourceClosed.begin(), g.sourceClosed.end(), position,
                          [](const SourceClosedRow& c, int32_t p) { return c.row < p; });
}

// The cursor and selection on one cell, inside the grid; the grid's text follows.
void put_cursor(NamedObject& obj, GridRecord& g, int32_t row) {
  g.cursorRow = g.selectionEndRow = std::clamp(row, 0, std::max(g.rowCount - 1, 0));
  g.cursorColumn = std::clamp<int16_t>(g.cursorColumn, 0, std::max<int16_t>(g.columnCount - 1, 0));
  g.selectionEndColumn = g.cursorColumn;
  obj.text = cell_in_range(g, g.cursorColumn, g.cursorRow)
                 ? grid_cell_string(g, g.cursorColumn, g.cursorRow)
                 : std::string();
}

// The source grid of a name, nullptr for an unknown name or a record grid.
NamedObject* find_source_grid(Ui& ui, const std::string& name) {
  NamedObject* obj = find_grid(ui, name);
  return obj && grid_record(*obj)->source ? obj : nullptr;
}

}  // namespace

// ---- the tree of a source grid ------------------------------------------------------

const SourceSpan* source_span_at(const GridRecord& g, int32_t position) {
  const auto it = span_before(g, position);
  return it != g.sourceHidden.end() && position <= it->last ? &*it : nullptr;
}

int32_t source_shown_index(const GridRecord& g, int32_t position) {
  const auto it = span_before(g, position);
  if (it == g.sourceHidden.end()) return std::max(position, 0);
  if (position <= it->last) return std::max(it->first - 1 - it->hiddenBefore, 0);
  return position - it->hiddenBefore - (it->last - it->first + 1);
}

int32_t source_position_of_shown(const GridRecord& g, int32_t i) {
  // A span's first row would take shown index first - hiddenBefore; those
  // indexes rise with the spans, so the spans before row i are found at once.
  const std::vector<SourceSpan>& h = g.sourceHidden;
  auto it = std::upper_bound(h.begin(), h.end(), i, [](int32_t v, const SourceSpan& s) {
    return v < s.first - s.hiddenBefore;
  });
  if (it == h.begin()) return i;
  --it;
  return i + it->hiddenBefore + (it->last - it->first + 1);
}

bool source_is_parent(const GridRecord& g, int32_t position) {
  return position >= 0 && position + 1 < g.rowCount &&
         grid_row_level(g, position + 1) > grid_row_level(g, position);
}

bool source_is_closed(const GridRecord& g, int32_t position) {
  auto it = std::lower_bound(g.sourceClosed.begin(), g.sourceClosed.end(), position,
                             [](const SourceClosedRow& c, int32_t p) { return c.row < p; });
  return it != g.sourceClosed.end() && it->row == position;
}

bool toggle_source_row(GridRecord& g, int32_t position) {
  if (!source_is_parent(g, position)) return false;
  auto it = closed_at(g, position);
  if (it != g.sourceClosed.end() && it->row == position)
    g.sourceClosed.erase(it);
  else
    g.sourceClosed.insert(it, {position, subtree_end(g, position, position + 1)});
  rebuild_spans(g);
  return true;
}

// ---- attaching and refreshing ---------------------------------------------------------

int32_t set_grid_source(Ui& ui, const std::string& grid, std::shared_ptr<GridSource> source) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj) return 0;
  GridRecord& g = *grid_record(*obj);
  if (editor_is_open(g)) close_editor(ui, *obj, 1);
  clear_grid_records(g, true);
  g.cursorColumn = g.selectionEndColumn = 0;
  g.cursorRow = g.selectionEndRow = 0;
  g.scrollX = 0;
  g.scrollY = 0;
  g.sortColumn = -1;
  g.sortOrder = SortOrder::None;
  if (source) {
    const int16_t columns = std::max<int16_t>(source->column_count(), 0);
    g.columns.reserve(static_cast<size_t>(columns));
    for (int16_t c = 0; c < columns; ++c) {
      ColumnRecord& column = g.columns.emplace_back();
      column.owner = obj->number;
      column.index = c;
      column.caption = source->caption(c);
      column.width = source->column_width(c);
      column.orientation = source->column_orientation(c);
      // A captioned column shows the caption row, as add_column gives it.
      if (!column.caption.empty() && g.captColHeight == 0) g.captColHeight = 20;
    }
    g.columnCount = columns;
    g.rowCount = std::max(source->row_count(), 0);
    g.source = std::move(source);
  }
  obj->text.clear();  // as a new grid's, until the cursor moves
  row_layout_changed(g);
  redraw_grid(ui, *obj);
  return 1;
}

GridSource* grid_source(Ui& ui, const std::string& grid) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? grid_record(*obj)->source.get() : nullptr;
}

int32_t refresh_grid_source(Ui& ui, const std::string& grid, int8_t redraw) {
  NamedObject* obj = find_source_grid(ui, grid);
  if (!obj) return 0;
  GridRecord& g = *grid_record(*obj);
  const int32_t before = g.rowCount;
  g.rowCount = std::max(g.source->row_count(), 0);
  if (g.rowCount != before) {
    // New rows show after the ordered ones in the source's order; fewer
    // rows void the order.
    if (!g.sourceOrder.empty() && g.rowCount > before) {
      g.sourceOrder.reserve(static_cast<size_t>(g.rowCount));
      for (int32_t r = before; r < g.rowCount; ++r) g.sourceOrder.push_back(r);
    } else if (g.rowCount < before) {
      g.sourceOrder = {};
    }
    // Closed rows keep their subtrees; one that reached the old end may
    // reach into the new rows.
    std::erase_if(g.sourceClosed, [&](const SourceClosedRow& c) { return c.row >= g.rowCount; });
    for (SourceClosedRow& c : g.sourceClosed)
      if (c.end >= before || c.end > g.rowCount)
        c.end = subtree_end(g, c.row, std::min(c.end, g.rowCount));
    rebuild_spans(g);  // the row layout changed
    if (g.cursorRow >= g.rowCount || g.selectionEndRow >= g.rowCount) put_cursor(*obj, g, g.cursorRow);
    g.scrollY = std::min(g.scrollY, std::max(source_shown_count(g) - 1, 0));
  }
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

// ---- ordering --------------------------------------------------------------------------

int32_t set_grid_source_order(Ui& ui, const std::string& grid, std::vector<int32_t> order,
                              int8_t redraw) {
  NamedObject* obj = find_source_grid(ui, grid);
  if (!obj) return 0;
  GridRecord& g = *grid_record(*obj);
  const size_t n = static_cast<size_t>(g.rowCount);
  if (!order.empty()) {
    if (order.size() != n) return 0;
    std::vector<bool> seen(n, false);
    for (const int32_t r : order) {
      if (r < 0 || static_cast<size_t>(r) >= n || seen[static_cast<size_t>(r)]) return 0;
      seen[static_cast<size_t>(r)] = true;
    }
  }
  if (editor_is_open(g)) close_editor(ui, *obj, 0);
  const int32_t cursorSource = g.rowCount > 0 ? source_row_of(g, g.cursorRow) : 0;
  g.sourceOrder = std::move(order);
  // Positions changed under the closed rows: every row shows again.
  g.sourceClosed.clear();
  rebuild_spans(g);
  int32_t cursor = cursorSource;
  if (!g.sourceOrder.empty())
    cursor = static_cast<int32_t>(std::find(g.sourceOrder.begin(), g.sourceOrder.end(), cursorSource) -
                                  g.sourceOrder.begin());
  put_cursor(*obj, g, cursor);
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

int32_t grid_source_row(Ui& ui, const std::string& grid, int32_t position) {
  NamedObject* obj = find_source_grid(ui, grid);
  if (!obj) return -1;
  const GridRecord& g = *grid_record(*obj);
  return position >= 0 && position < g.rowCount ? source_row_of(g, position) : -1;
}
