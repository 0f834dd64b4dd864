#pragma once
// Lookups shared by the grid's source files: the grid object by name, cell
// addressing, and the drawing of a by-name operation.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_layout.h"
#include "grid/grid_rows.h"
#include "toolkit/tk.h"

// ---- the grid's kind hooks (grid/kind.cpp registers them) --------------------
void grid_layout(Ui& ui, NamedObject& grid, bool resized, int8_t apply);
KeywordField grid_keyword(NamedObject& obj, const std::string& keyword);
bool set_grid_keyword(Ui& ui, NamedObject& obj, const std::string& keyword,
                      const std::string& value);
void grid_renamed(NamedObject& obj, const std::string& oldName, const std::string& newName);
void grid_scroll_bar_linked(NamedObject& obj, const NamedObject& bar);
// The dispatcher's hooks (grid/events.cpp).
void grid_register_event_hooks(KindBehaviour& behaviour);
// Screen-reader descriptions and the keyboard focus' keys (grid/accessible.cpp).
void grid_register_accessible_hooks(KindBehaviour& behaviour);
// Tells screen readers of a cursor moved or rows opened or closed since the
// last drawing (after_grid_drawing calls it).
void announce_grid_changes(NamedObject& grid);

// Sorting (grid/sorting.cpp): the rows of a grid by one column, false for an
// unknown column or order; and a caption-row click at rx on a sortable
// grid, which sorts and draws (true) or leaves everything to the click's
// usual handling (false).
bool sort_grid_rows(GridRecord& g, int32_t column, int8_t order);
bool sort_on_caption_click(Ui& ui, NamedObject& grid, const GridLayout& layout, int32_t rx);

// The grid's keys: a key code (with its modifiers) and the grid key it
// stands for. Return and Escape come first: they stay while an editor is open.
struct GridKeyBinding {
  int32_t key;  // key code with TK_SHIFT / TK_CONTROL
  int32_t id;   // GridKey
};
inline constexpr GridKeyBinding kGridKeyBindings[] = {
    {TK_KEY_RETURN, GridKey::Return},
    {TK_KEY_ESCAPE, GridKey::Escape},
    {TK_KEY_LEFT, GridKey::Left},
    {TK_KEY_UP, GridKey::Up},
    {TK_KEY_RIGHT, GridKey::Right},
    {TK_KEY_DOWN, GridKey::Down},
    {TK_SHIFT | TK_KEY_LEFT, GridKey::PageLeft},
    {TK_SHIFT | TK_KEY_UP, GridKey::PageUp},
    {TK_SHIFT | TK_KEY_RIGHT, GridKey::PageRight},
    {TK_SHIFT | TK_KEY_DOWN, GridKey::PageDown},
    {TK_CONTROL | TK_KEY_HOME, GridKey::First},
    {TK_CONTROL | TK_KEY_END, GridKey::Last},
    {TK_KEY_PAGE_UP, GridKey::PageUpKey},
    {TK_KEY_PAGE_DOWN, GridKey::PageDownKey},
    {TK_KEY_HOME, GridKey::RowStart},
    {TK_KEY_END, GridKey::RowEnd},
    {TK_KEY_SPACE, GridKey::Space},
};

// The named object when it is a grid; it is current afterwards.
inline NamedObject* find_grid(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  NamedObject* obj = current_object(ui);
  return (obj && obj->kind == Kind::Grid && grid_record(*obj)) ? obj : nullptr;
}


// True when (column, row) names one of the grid's cells.
// A source grid has every cell of its rows and columns.
inline bool cell_in_range(const GridRecord& g, int32_t column, int32_t row) {
  if (column < 0 || column >= g.columnCount || row < 0 || row >= g.rowCount) return false;
  return g.source != nullptr || static_cast<size_t>(row) * g.columnCount + column < g.cells.size();
}

// The cell record at (column, row) of a record grid; cell_in_range must hold.
inline CellRecord& cell_at(GridRecord& g, int32_t column, int32_t row) {
  assert(!g.source && "a source grid has no cell records");
  return g.cells[static_cast<size_t>(row) * g.columnCount + column];
}


// The last position the vertical scroll bar offers for rows shown in
// `room` pixels (grid/scrolling.cpp): from it on, all the rest fit whole.
int32_t last_row_position(GridRecord& grid, int32_t room);
// The same for the columns in `room` pixels of width.
int32_t last_column_position(const GridRecord& grid, int32_t room);

// The last scroll positions of a W x H grid: from them on the rest of the
// rows or columns shows whole. The arrows, the wheel and the scroll bars
// stop there.
inline int32_t last_scroll_y(GridRecord& g, int32_t w, int32_t h) {
  const GridBands b = grid_bands(g, w, h);
  return last_row_position(g, b.rowsArea.bottom - b.rowsArea.top);
}
inline int32_t last_scroll_x(const GridRecord& g, int32_t w, int32_t h) {
  const GridBands b = grid_bands(g, w, h);
  return last_column_position(g, b.rowsArea.right - b.cellsLeft);
}

// Lays the open editor on its cell as place_editor does, without closing
// it (after_grid_drawing calls it); the first showing gives it the focus.
void lay_editor(NamedObject& grid);

// ---- a drawing in two steps (render_grid runs both) --------------------------
// Paints the grid's layout into its canvas and shows it in the gadget; only
// pixels change (and the skin pieces cached for them). False when nothing
// could be drawn.
bool paint_grid(Ui& ui, NamedObject& grid, const GridLayout& layout);
// What follows a drawing (grid/after_drawing.cpp): the grid keeps what the
// layout reached (tree marks, walk anchor, lastVisible*, scrollArrows, the
// editor's place), the editor follows its cell, the scroll bars are ranged
// and screen readers are told of the changes. Painting never calls it.
void after_grid_drawing(Ui& ui, NamedObject& grid, const GridLayout& layout);

// Draws the grid for an operation on it; the drawing reaches its scroll
// bars without moving the current object.
inline void redraw_grid(Ui& ui, NamedObject& obj) { render_grid(ui, obj); }
