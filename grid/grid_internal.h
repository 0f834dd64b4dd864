#pragma once
// Lookups shared by the grid's source files: the grid object by name or as
// the current object, cell addressing, and a drawing that leaves the grid
// current.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"

// The grid record of an object, nullptr when it is not a grid.
inline GridRecord* grid_record(NamedObject& o) {
  return o.kind == Kind::Grid ? o.gridRecord.get() : nullptr;
}

// ---- the grid's kind hooks (grid/kind.cpp registers them) --------------------
void grid_layout(Ui& ui, NamedObject& grid, bool resized, int8_t apply);
KeywordField grid_keyword(NamedObject& obj, const std::string& keyword);
bool set_grid_keyword(Ui& ui, NamedObject& obj, const std::string& keyword,
                      const std::string& value);
void grid_renamed(NamedObject& obj, const std::string& oldName, const std::string& newName);
void grid_scroll_bar_linked(NamedObject& obj, const NamedObject& bar);

// The named object when it is a grid; it is current afterwards.
inline NamedObject* find_grid(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  NamedObject* obj = current_object(ui);
  return (obj && obj->kind == Kind::Grid && obj->gridRecord) ? obj : nullptr;
}

// The current object when it is a grid.
inline NamedObject* current_grid_object(Ui& ui) {
  NamedObject* obj = current_object(ui);
  return (obj && obj->kind == Kind::Grid && obj->gridRecord) ? obj : nullptr;
}

// True when (column, row) names one of the grid's cells.
inline bool cell_in_range(const GridRecord& g, int32_t column, int32_t row) {
  return column >= 0 && column < g.columnCount && row >= 0 && row < g.rowCount &&
         static_cast<size_t>(row) * g.columnCount + column < g.cells.size();
}

// The cell at (column, row); cell_in_range must hold.
inline CellRecord& cell_at(GridRecord& g, int32_t column, int32_t row) {
  return g.cells[static_cast<size_t>(row) * g.columnCount + column];
}

// Draws the grid and leaves it the current object.
inline void redraw_grid(Ui& ui, NamedObject* obj) {
  make_current(ui, obj);
  render_grid(ui);
  make_current(ui, obj);
}
