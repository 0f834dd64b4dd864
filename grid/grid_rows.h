#pragma once
// What a row or a cell shows, read from the grid's records or, for a grid
// over a data source (grid/grid_source.h), asked of the source. Layout,
// drawing, moves, editing and screen readers read rows and cells through
// these, so a source grid needs no record per row or cell.
//
// Sections: source rows and positions · the tree of a source grid · rows ·
// cells.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "grid/grid_records.h"
#include "grid/grid_source.h"

// ---- source rows and positions ---------------------------------------------

// The source row shown at a position of a source grid (in range).
inline int32_t source_row_of(const GridRecord& g, int32_t position) {
  return g.sourceOrder.empty() ? position : g.sourceOrder[static_cast<size_t>(position)];
}

// ---- the tree of a source grid (grid/source.cpp) ----------------------------
// Rows inside a closed row's subtree are hidden; the spans of hidden rows
// answer every question in O(log closed rows), never by walking rows.

// The span holding a position, nullptr when the position is not hidden.
const SourceSpan* source_span_at(const GridRecord& g, int32_t position);
// Shown rows before a shown position; a hidden one counts as the shown row
// before it (0 when none).
int32_t source_shown_index(const GridRecord& g, int32_t position);
// The position of shown row i (no clamping: past the last, rowCount or more).
int32_t source_position_of_shown(const GridRecord& g, int32_t i);
// Number of shown rows.
inline int32_t source_shown_count(const GridRecord& g) {
  return std::max(g.rowCount - g.sourceHiddenTotal, 0);
}
// Whether a position has children: the row after it lies deeper.
bool source_is_parent(const GridRecord& g, int32_t position);
// Whether a person closed the row at a position.
bool source_is_closed(const GridRecord& g, int32_t position);
// Opens a closed parent row or closes an open one; false for a row without
// children.
bool toggle_source_row(GridRecord& g, int32_t position);

// ---- rows --------------------------------------------------------------------

// A row's height as stored (a source grid's rows all take sourceRowHeight).
inline int32_t grid_row_height(const GridRecord& g, int32_t row) {
  return g.source ? g.sourceRowHeight : g.rows[static_cast<size_t>(row)].height;
}
// The pixels a drawn row takes from the rows below it: at least one.
inline int32_t grid_row_span(const GridRecord& g, int32_t row) {
  return std::max<int32_t>(grid_row_height(g, row), 1);
}
// A row's tree level.
inline int8_t grid_row_level(const GridRecord& g, int32_t row) {
  return g.source ? g.source->row_level(source_row_of(g, row))
                  : g.rows[static_cast<size_t>(row)].level;
}

// ---- cells -------------------------------------------------------------------

// A cell's text (cell in range); it may live in `scratch`.
inline std::string_view grid_cell_text(const GridRecord& g, int32_t column, int32_t row,
                                       std::string& scratch) {
  if (g.source)
    return g.source->cell_text(static_cast<int16_t>(column), source_row_of(g, row), scratch);
  return g.cells[static_cast<size_t>(row) * g.columns.size() + static_cast<size_t>(column)].text;
}
// The same as a string of its own.
inline std::string grid_cell_string(const GridRecord& g, int32_t column, int32_t row) {
  std::string scratch;
  return std::string(grid_cell_text(g, column, row, scratch));
}
// A cell's lock as stored (the cell's own, not its row's or column's).
inline int8_t grid_cell_lock(const GridRecord& g, int32_t column, int32_t row) {
  if (g.source) return g.source->cell_look(static_cast<int16_t>(column), source_row_of(g, row)).lock;
  return g.cells[static_cast<size_t>(row) * g.columns.size() + static_cast<size_t>(column)].lock;
}
// A row's lock: a source row has none of its own.
inline int8_t grid_row_lock(const GridRecord& g, int32_t row) {
  return g.source ? 0 : g.rows[static_cast<size_t>(row)].lock;
}
