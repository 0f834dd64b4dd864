// The grid as screen readers and keyboard users meet it: a table, or a
// tree-table when it shows tree rows, with its rows, columns, headers,
// cell texts, selection and the open or closed state of its tree rows. A
// grid focused from the keyboard takes the grid keys wherever the mouse
// is, and each drawing announces a cursor that moved or rows that opened
// or closed.
//
// Sections: description · keys · announcements · registration.
#include <algorithm>
#include <cstdint>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_layout.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace {

// ---- description -----------------------------------------------------------------

// Rows of a source grid looked at for levels: asking all of ten million
// rows would stall the window, and a tree shows within its first rows.
constexpr int32_t kSourceTreeProbe = 4096;

// Whether any row is below another: found once per row layout.
bool has_tree_rows(GridRecord& g) {
  if (g.spokenTreeGeneration != g.layoutGeneration) {
    g.spokenTreeGeneration = g.layoutGeneration;
    if (g.source) {
      g.spokenTree = false;
      for (int32_t r = 0; r < std::min(g.rowCount, kSourceTreeProbe) && !g.spokenTree; ++r)
        g.spokenTree = grid_row_level(g, r) > 0;
    } else {
      g.spokenTree = std::any_of(g.rows.begin(), g.rows.end(),
                                 [](const RowRecord& r) { return r.level > 0; });
    }
  }
  return g.spokenTree;
}

bool is_tree_parent(const RowRecord& r) { return r.isParent > 0 && r.isParent < 32; }

void describe_grid(Ui&, NamedObject& o, TkAccessible& out) {
  GridRecord& g = *grid_record(o);
  out.role = g.showTree == 1 && has_tree_rows(g) ? TK_ROLE_TREE_TABLE : TK_ROLE_TABLE;
  out.columns = g.columnCount;
  out.rows = g.rowCount;
  if (!cell_in_range(g, g.cursorColumn, g.cursorRow)) return;
  out.selectionColumn = g.cursorColumn;
  out.selectionRow = g.cursorRow;
  out.selectionEndColumn = g.selectionEndColumn;
  out.selectionEndRow = g.selectionEndRow;
}

bool between(int32_t v, int32_t a, int32_t b) { return v >= std::min(a, b) && v <= std::max(a, b); }

void describe_grid_cell(Ui&, NamedObject& o, int32_t column, int32_t row, TkAccessibleCell& out) {
  GridRecord& g = *grid_record(o);
  if (row == -1) {
    out.role = TK_ROLE_COLUMN_HEADER;
    if (column >= 0 && column < g.columnCount) out.text = g.columns[size_t(column)].caption;
    return;
  }
  if (column == -1) {
    out.role = TK_ROLE_ROW_HEADER;
    if (!g.source && row >= 0 && row < g.rowCount) out.text = g.rows[size_t(row)].caption;
    return;
  }
  if (!cell_in_range(g, column, row)) return;
  out.text = grid_cell_string(g, column, row);
  if (between(column, g.cursorColumn, g.selectionEndColumn) &&
      between(row, g.cursorRow, g.selectionEndRow))
    out.states |= TK_STATE_SELECTED;
  if (column == g.cursorColumn && row == g.cursorRow) out.states |= TK_STATE_CURRENT;
  if (g.source) {
    if (column == 0 && source_is_parent(g, row))
      out.states |= TK_STATE_EXPANDABLE | (source_is_closed(g, row) ? 0 : TK_STATE_EXPANDED);
    if (source_span_at(g, row)) out.states |= TK_STATE_HIDDEN;
  } else {
    const RowRecord& r = g.rows[size_t(row)];
    if (column == 0 && is_tree_parent(r))
      out.states |= TK_STATE_EXPANDABLE | (r.isParent >= RowTree::Expanded ? TK_STATE_EXPANDED : 0);
    if (r.hiddenInTree == 1) out.states |= TK_STATE_HIDDEN;
  }
  // Where the cell shows, from the layout drawing uses.
  if (o.width <= 0 || o.height <= 0) return;
  const GridLayout l = compute_grid_layout(g, o.width, o.height, o.canvas ? o.canvas->iconSize : 0);
  for (const GridCellSlot& c : l.cells) {
    if (c.column != column || c.row != row) continue;
    out.x = c.area.left;
    out.y = c.area.top;
    out.width = c.area.right - c.area.left;
    out.height = c.area.bottom - c.area.top;
    return;
  }
}

// ---- keys ------------------------------------------------------------------------

// The grid key a key code stands for, 0 for none.
int32_t grid_key_of(int32_t key) {
  for (const GridKeyBinding& b : kGridKeyBindings)
    if (b.key == key) return b.id;
  return 0;
}

// The keys of a grid focused from the keyboard, as its shortcuts would
// give them (arrows, Shift+arrows, Ctrl+Home, Ctrl+End, Space, Return,
// Escape). An editor opened from the keyboard hands Return and Escape
// back to the grid, and the grid takes the focus back when it closes.
int8_t grid_keyboard_key(Ui& ui, NamedObject& o, int32_t key) {
  const int32_t id = grid_key_of(key);
  if (id == 0 || !grid_record(o)) return Code::None;
  const int8_t code = grid_key(ui, o, id);
  const GridRecord& g = *grid_record(o);
  if (code == Code::GridEditorOpened && g.inputGadget != 0)
    tk_set_gadget_keys(g.inputGadget, o.gadget);
  if (code == Code::GridCommit || code == Code::GridCancel) tk_keyboard_focus(o.gadget);
  return code;
}

}  // namespace

// ---- announcements -----------------------------------------------------------------

void announce_grid_changes(NamedObject& grid) {
  GridRecord* g = grid_record(grid);
  if (!g) return;
  if (g->spokenRowsGeneration != g->layoutGeneration) {
    const bool first = g->spokenRowsGeneration == 0;
    g->spokenRowsGeneration = g->layoutGeneration;
    if (!first) tk_announce(grid.gadget, TK_CHANGE_ROWS, 0, g->cursorRow);
  }
  if (g->spokenColumn != g->cursorColumn || g->spokenRow != g->cursorRow) {
    g->spokenColumn = g->cursorColumn;
    g->spokenRow = g->cursorRow;
    tk_announce(grid.gadget, TK_CHANGE_CURRENT, g->cursorColumn, g->cursorRow);
  }
}

// ---- registration ------------------------------------------------------------------

void grid_register_accessible_hooks(KindBehaviour& b) {
  b.describe = describe_grid;
  b.describeCell = describe_grid_cell;
  b.key = grid_keyboard_key;
}
