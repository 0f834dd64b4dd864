// In-place cell editing: a text field, drop-down list or list laid over the
// cell being edited, committed into that cell or cancelled.
//
// Sections: helpers · allowed values · open_editor · close_editor ·
// place_editor.
//
// The editor belongs to the cell it was opened on: it commits into that
// cell whatever the cursor does meanwhile. It is created hidden and
// off-screen; each drawing that draws its cell notes where the cell lies in
// the grid and lays the editor there, shows it and gives it the focus,
// whether or not the cursor is drawn, and a drawing without its cell hides
// it. Between drawings place_editor keeps it on that spot while the grid
// moves; a grid hidden (with its page) commits it. While it is open the grid keeps only
// the Return and Escape shortcuts, and a list editor disables the grid's own
// gadget.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

namespace {

// ---- helpers -----------------------------------------------------------------

constexpr int32_t kParkX = -1000;   // where a new editor waits until drawn
constexpr int32_t kParkY = -100;
constexpr int32_t kListHeight = 200;

// Frees the editor gadget and gives the grid back its gadget and its
// shortcuts.
void drop_editor(Ui& ui, NamedObject& obj) {
  GridRecord& g = *grid_record(obj);
  tk_free_gadget(g.inputGadget);
  g.inputGadget = 0;
  g.editor = EditorPlace{};
  tk_disable_gadget(obj.gadget, 0);
  render_grid(ui, obj);
  install_grid_shortcuts(ui, obj);
}

// A drop-down list or list filled with the allowed values; the item equal
// to the cell's text is selected, none when no item equals it.
int32_t create_list_editor(int8_t inputType, int32_t width, const std::string& allowed,
                           const std::string& text) {
  const int32_t gadget =
      inputType == InputType::DropDown ? tk_create_combo_gadget(-1, kParkX, kParkY, width, kListHeight)
                     : tk_create_list_gadget(-1, kParkX, kParkY, width, kListHeight);
  if (!gadget) return 0;
  tk_hide_gadget(gadget, 1);
  const std::vector<std::string> items = split_allowed_values(allowed);
  int32_t match = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    tk_add_gadget_item(gadget, -1, items[i]);
    if (match < 0 && items[i] == text) match = static_cast<int32_t>(i);
  }
  tk_set_gadget_state(gadget, match);
  return gadget;
}

}  // namespace

bool editor_is_open(const GridRecord& grid) {
  return grid.inputGadget != 0 && tk_gadget_exists(grid.inputGadget);
}

// ---- allowed values ------------------------------------------------------------

std::vector<std::string> split_allowed_values(const std::string& values) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= values.size()) {
    size_t tab = values.find('\t', start);
    if (tab == std::string::npos) tab = values.size();
    if (tab > start) items.push_back(values.substr(start, tab - start));
    start = tab + 1;
  }
  return items;
}

// ---- open_editor -----------------------------------------------------------------
//
// 1 opened, -1 the cell, its row or its column is locked, 0 not possible
// there (no grid, disabled, input off, no such cell, a column that is not
// editable, or the toolkit could not create the gadget).

int32_t open_editor(Ui& ui, const std::string& grid, int16_t column, int32_t row) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? open_editor(ui, *obj, column, row) : 0;
}

int32_t open_editor(Ui& ui, NamedObject& grid, int16_t column, int32_t row) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj) || obj->disabled != 0) return 0;
  GridRecord& g = *grid_record(*obj);
  if (g.enableInput != 1) return 0;
  if (!cell_in_range(g, column, row)) return 0;
  const ColumnRecord& col = g.columns[column];
  // Only types 1 to 3 have an editor; reporting any other as opened
  // would claim an editor that does not exist.
  if (col.inputType < InputType::Text || col.inputType > InputType::List) return 0;
  if (grid_cell_lock(g, column, row) != 0 || grid_row_lock(g, row) != 0 || col.lock != 0) return -1;
  const std::string text = grid_cell_string(g, column, row);

  // One editor per grid: a previous one goes without commit.
  if (g.inputGadget != 0) {
    tk_free_gadget(g.inputGadget);
    g.inputGadget = 0;
    g.editor = EditorPlace{};
    tk_disable_gadget(obj->gadget, 0);
  }

  g.cursorColumn = g.selectionEndColumn = column;
  g.cursorRow = g.selectionEndRow = row;
  obj->text = text;  // the grid's text follows its cursor cell

  // The editor lies over the grid in window coordinates.
  tk_use_window_as_parent(obj->window);
  int32_t gadget = 0;
  if (col.inputType == InputType::Text) {
    gadget = tk_create_string_gadget(-1, kParkX, kParkY, col.width, grid_row_height(g, row), text);
    if (gadget) tk_hide_gadget(gadget, 1);
  } else {
    gadget = create_list_editor(col.inputType, col.width, col.allowedValues, text);
    if (gadget) tk_disable_gadget(obj->gadget, 1);
  }
  if (!gadget) {
    render_grid(ui, *obj);
    install_grid_shortcuts(ui, *obj);
    return 0;
  }
  remove_grid_shortcuts(ui, *obj, 1);
  // Return and Escape typed in the editor reach its grid wherever the
  // mouse is; a text starts with the caret at its end, aligned as its
  // column shows it.
  tk_set_gadget_keys(gadget, obj->gadget);
  if (col.inputType == InputType::Text) tk_set_input_layout(gadget, col.orientation);

  g.inputGadget = gadget;
  g.editor = EditorPlace{};
  g.editor.column = column;
  g.editor.row = row;
  redraw_grid(ui, *obj);
  return 1;
}

// ---- close_editor ------------------------------------------------------------------
//
// Cancel flag 0 commits the editor's value into its own cell through
// set_cell; any other value drops it. A list editor with no item selected
// leaves the cell as it was: its values are never empty, so an empty
// selection is no value. A commit also updates the grid's text, which
// stands for the cursor cell's value, when the cursor is on that cell.

int32_t close_editor(Ui& ui, const std::string& grid, int8_t cancel) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? close_editor(ui, *obj, cancel) : 0;
}

int32_t close_editor(Ui& ui, NamedObject& grid, int8_t cancel) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);
  if (!editor_is_open(g)) return 0;

  if (cancel == 0) {
    const int32_t editor = g.inputGadget;
    const int16_t column = g.editor.column;
    const int32_t row = g.editor.row;
    const bool inColumn = column >= 0 && column < g.columnCount;
    const int8_t inputType = inColumn ? g.columns[column].inputType : InputType::None;
    bool commit = true;
    std::string text;
    if (inputType == InputType::DropDown || inputType == InputType::List) {
      const int32_t selected = tk_get_gadget_state(editor);
      const std::vector<std::string> items = split_allowed_values(g.columns[column].allowedValues);
      commit = selected >= 0;
      if (commit) text = tk_get_gadget_text(editor);
      if (commit && text.empty() && static_cast<size_t>(selected) < items.size())
        text = items[selected];
    } else {
      text = tk_get_gadget_text(editor);
    }
    if (commit) {
      set_cell(ui, *obj, column, row, text, -1, -1, -1);
      if (g.cursorColumn == column && g.cursorRow == row && cell_in_range(g, column, row))
        obj->text = grid_cell_string(g, column, row);
    }
  }

  drop_editor(ui, *obj);
  return 0;
}

// ---- place_editor ------------------------------------------------------------------
//
// Lays an open editor where the latest drawing found its cell, relative to
// the grid's present absolute position, and shows it only while that cell
// was drawn; a grid no longer present commits it. The gadget is touched only when its
// place or its visibility differs, so this may run on every dispatch.

void place_editor(Ui& ui, NamedObject& grid) {
  if (!grid_record(grid)) return;
  GridRecord& g = *grid_record(grid);
  if (!editor_is_open(g)) return;
  if (grid.visible != 1 || grid.hidden >= 1) {
    grid.changed = 1;
    close_editor(ui, grid, 0);
    return;
  }
  lay_editor(grid);
}

void lay_editor(NamedObject& grid) {
  if (!grid_record(grid)) return;
  GridRecord& g = *grid_record(grid);
  if (!editor_is_open(g)) return;
  EditorPlace& e = g.editor;
  const bool show = e.drawn == 1 && grid.visible == 1 && grid.hidden < 1;
  if (show) {
    const int32_t x = grid.absX + e.x;
    const int32_t y = grid.absY + e.y;
    if (tk_gadget_x(g.inputGadget) != x || tk_gadget_y(g.inputGadget) != y ||
        tk_gadget_width(g.inputGadget) != e.width || tk_gadget_height(g.inputGadget) != e.height)
      tk_resize_gadget(g.inputGadget, x, y, e.width, e.height);
  }
  const int8_t shown = show ? 1 : 0;
  if (e.shown != shown) {
    tk_hide_gadget(g.inputGadget, show ? 0 : 1);
    e.shown = shown;
  }
  // The editor takes the focus once, when it first shows; later drawings
  // (a hover, a scroll) leave the focus where the person put it.
  if (show && e.focused == 0) {
    tk_focus_gadget(g.inputGadget);
    e.focused = 1;
  }
}

}  // namespace zui
