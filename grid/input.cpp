// The grid's input side: mouse hits, keyboard shortcuts, cursor moves and
// the expander animation step.
//
// Sections: helpers · the layout the mouse is answered with · grid_mouse ·
// grid_mouse_left · grid_key · move_cursor · shortcuts · step_expanders.
//
// The mouse is hit against the grid's layout (grid/grid_layout.h), the one
// the drawing reads, so what is hit is what was drawn. Every scroll position
// counts shown rows (ShownRows, grid/row_walk.h: rows inside a collapsed
// subtree do not count), also where the cursor moves by pages.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_input_rules.h"
#include "grid/grid_layout.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

// ---- helpers -----------------------------------------------------------------


// A built-in arrow held under the mouse steps at once, then after a pause
// steadily, slowly enough for a person to stop at the row they want.
constexpr int32_t kArrowRepeatDelay = 400;     // ms from the first step to the second
constexpr int32_t kArrowRepeatInterval = 100;  // ms between the steps after that

// The grid's window takes the result, whichever window record is current.
void set_event_code(Ui& ui, const NamedObject& grid, int8_t code) {
  if (WindowRecord* w = window_of(ui, grid)) w->eventCode = code;
}

// The toolkit window of the grid's own window record, whichever is current.
int32_t window_number(Ui& ui, const NamedObject& grid) {
  const WindowRecord* w = window_of(ui, grid);
  return w ? w->windowNumber : 0;
}

int16_t to_int16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

// The column's lock when set, else the row's, else the cell's.
int8_t effective_lock(GridRecord& g, int32_t column, int32_t row) {
  if (g.columns[column].lock != 0) return g.columns[column].lock;
  if (const int8_t lock = grid_row_lock(g, row); lock != 0) return lock;
  return grid_cell_lock(g, column, row);
}

// Takes the hover mark off the grid's hovered expander. An expander that
// was clicked meanwhile keeps turning: only the hover state is undone.
bool clear_hover(GridRecord& g) {
  ExpanderRecord* e = g.hoveredExpander;
  if (!e) return false;
  if (e->state == ExpanderState::Hovered) set_expander_state(g, *e, ExpanderState::Idle);
  e->hovered = 0;
  g.hoveredExpander = nullptr;
  return true;
}

// ---- grid_mouse parts --------------------------------------------------------

// The clock wraps round: moments are added and compared modulo 2^32.
int32_t later(int32_t moment, int32_t ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(moment) + static_cast<uint32_t>(ms));
}
bool reached(int32_t now, int32_t moment) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(moment)) >= 0;
}

// Whether the arrow under the mouse steps now; keeps g.arrowNextStep. A
// newly reached arrow (or a click on one) steps at once, a held one when
// its next step is due.
bool arrow_step_due(GridRecord& g, bool fresh, int32_t now) {
  if (fresh) {
    g.arrowNextStep = later(now, kArrowRepeatDelay);
    return true;
  }
  if (!reached(now, g.arrowNextStep)) return false;
  // Steady steps; after a stall the next one waits a full interval rather
  // than catching up in a burst.
  g.arrowNextStep = later(g.arrowNextStep, kArrowRepeatInterval);
  if (reached(now, g.arrowNextStep)) g.arrowNextStep = later(now, kArrowRepeatInterval);
  return true;
}

// Scrolls one column or shown row; true when the position changed. The
// arrows stop where the scroll bar would: at the last page shown whole.
bool scroll_by_arrow(GridRecord& g, int8_t arrow, int32_t w, int32_t h) {
  const int16_t wasX = g.scrollX;
  const int32_t wasY = g.scrollY;
  switch (arrow) {
    case GridArrow::Left: g.scrollX = to_int16(std::max<int32_t>(g.scrollX - 1, 0)); break;
    case GridArrow::Right:
      g.scrollX = to_int16(std::max<int32_t>(std::min<int32_t>(g.scrollX + 1, last_scroll_x(g, w, h)), g.scrollX));
      break;
    case GridArrow::Up: g.scrollY = std::max<int32_t>(g.scrollY - 1, 0); break;
    case GridArrow::Down:
      g.scrollY = std::max<int32_t>(std::min<int32_t>(g.scrollY + 1, last_scroll_y(g, w, h)), g.scrollY);
      break;
    default: break;
  }
  return g.scrollX != wasX || g.scrollY != wasY;
}

// Scrolls by a wheel turn (TK_TYPE_WHEEL or TK_TYPE_WHEEL_SIDEWAYS), in
// whole rows or columns, never before the first nor past the last page;
// true when the position changed.
bool scroll_by_wheel(GridRecord& g, int32_t type, int32_t delta, int32_t w, int32_t h) {
  const bool vertical = type == TK_TYPE_WHEEL;
  const int32_t steps = wheel_rows(vertical ? g.wheelCarry : g.wheelCarryX, delta);
  if (steps == 0) return false;
  const int32_t last = std::max(vertical ? last_scroll_y(g, w, h) : last_scroll_x(g, w, h), 0);
  const int32_t from = std::clamp<int32_t>(vertical ? g.scrollY : g.scrollX, 0, last);
  const int32_t to = static_cast<int32_t>(std::clamp<int64_t>(int64_t{from} + steps, 0, last));
  if (to == (vertical ? g.scrollY : int32_t{g.scrollX})) return false;
  if (vertical) g.scrollY = to; else g.scrollX = to_int16(to);
  return true;
}

// The widest text column `column` shows in the drawn rows, with its caption
// and the room around a text; 0 when nothing can be measured.
int32_t widest_text(Ui& ui, NamedObject& obj, GridRecord& g, const GridLayout& layout,
                    int32_t column) {
  const CanvasRecord* canvas = obj.canvas.get();
  if (!canvas || !tk_image_exists(canvas->canvasImage)) return 0;
  if (!tk_start_drawing(tk_image_output(canvas->canvasImage))) return 0;
  // Measured in the font the drawing uses.
  if (const WindowRecord* window = window_of(ui, obj); window && window->font != 0)
    tk_drawing_font(window_font_handle(ui, obj));
  int32_t widest = tk_text_width(g.columns[column].caption) + 2 * 7;
  const int32_t s = canvas->iconSize;
  for (const GridRowSlot& r : layout.rows) {
    if (!cell_in_range(g, column, r.row)) continue;
    std::string scratch;
    const std::string_view text = grid_cell_text(g, column, r.row, scratch);
    const std::string line(text.substr(0, text.find_first_of("\r\n")));
    // The tree column's indent and expander come before its text.
    const int32_t indent = grid_text_left(g, r, column, 0, s);
    widest = std::max(widest, indent + tk_text_width(line) + kFitPadding);
  }
  tk_stop_drawing();
  return widest;
}

// A drag on a caption border: the column follows the mouse while the left
// button is held, and the drag ends when it is let go. True when the
// grid was drawn.
bool follow_border_drag(Ui& ui, NamedObject& obj, GridRecord& g, int32_t rx) {
  if (g.sizingColumn < 0 || g.sizingColumn >= g.columnCount) {
    g.sizingColumn = -1;
    return false;
  }
  if (tk_left_button_down() != 1) {
    g.sizingColumn = -1;
    return false;
  }
  const int32_t width = std::clamp<int32_t>(g.sizingWidth + rx - g.sizingFromX, kMinColumnWidth, INT16_MAX);
  ColumnRecord& c = g.columns[g.sizingColumn];
  if (c.width == width) return false;
  c.width = to_int16(width);
  render_grid(ui, obj);
  return true;
}

// The mouse shows the resize shape over a caption border, the arrow
// elsewhere; the gadget is told only of a change.
void show_resize_shape(const NamedObject& obj, GridRecord& g, bool resize) {
  const int8_t shape = resize ? 1 : 0;
  if (g.resizeShape == shape) return;
  g.resizeShape = shape;
  tk_set_gadget_cursor(obj.gadget, resize ? TK_CURSOR_RESIZE_COLUMN : TK_CURSOR_ARROW);
}

// Whole column, whole row or nothing, by caption hit (or selection mode).
bool select_whole(GridRecord& g, int8_t hit, int32_t column, int32_t row) {
  if (hit == Selection::WholeColumn && column >= 0 && column < g.columnCount) {
    g.cursorColumn = g.selectionEndColumn = to_int16(column);
    g.cursorRow = 0;
    g.selectionEndRow = g.rowCount - 1;
    return true;
  }
  if (hit == Selection::WholeRow && row >= 0 && row < g.rowCount) {
    g.cursorColumn = 0;
    g.selectionEndColumn = to_int16(g.columnCount - 1);
    g.cursorRow = g.selectionEndRow = row;
    return true;
  }
  return false;
}

// ---- the layout the mouse is answered with ------------------------------------------

GridLayoutKey layout_key(const GridRecord& g, int32_t w, int32_t h, int32_t s) {
  GridLayoutKey k;
  k.width = w;
  k.height = h;
  k.iconSize = s;
  k.scrollY = g.scrollY;
  k.generation = g.layoutGeneration;
  uint64_t mix = g.columns.size();
  for (const ColumnRecord& c : g.columns)
    mix = mix * 1000003u + (uint64_t(uint16_t(c.width)) << 16 | uint16_t(c.inputHeight));
  k.columns = mix;
  k.rows = uint64_t(g.rows.size()) << 32 ^ g.cells.size();
  // A source grid keeps no row records: its rows' geometry is their count,
  // height and the spans a person closed.
  if (g.source) {
    uint64_t source = uint64_t(uint32_t(g.rowCount)) << 8 | uint8_t(g.sourceRowHeight);
    source = source * 1000003u + uint64_t(uint32_t(g.sourceHiddenTotal));
    source = source * 1000003u + g.sourceClosed.size();
    k.rows ^= source * 0x9E3779B97F4A7C15u;
  }
  k.editor = g.inputGadget;
  k.editorRow = g.editor.row;
  k.editorColumn = int16_t(g.editor.column);
  k.scrollX = g.scrollX;
  k.captColHeight = g.captColHeight;
  k.captRowWidth = g.captRowWidth;
  k.borderless = g.borderless;
  k.scrollArrows = g.scrollArrows;
  k.scrollBars = int8_t((g.hScrollBar.empty() ? 0 : 1) + (g.vScrollBar.empty() ? 0 : 2));
  return k;
}

// The mouse resting over a grid (no event) is answered on every tick: the
// layout made for the previous rest serves while its key holds. Any event
// lays the grid out afresh.
const GridLayout& layout_for_mouse(GridRecord& g, int32_t w, int32_t h, int32_t s,
                                   int32_t eventType) {
  const GridLayoutKey key = layout_key(g, w, h, s);
  if (eventType != -1 || !g.restingLayout || !(g.restingKey == key)) {
    g.restingLayout = std::make_shared<const GridLayout>(compute_grid_layout(g, w, h, s));
    g.restingKey = key;
  }
  return *g.restingLayout;
}

}  // namespace

// ---- grid_mouse --------------------------------------------------------------------
//
// Steps in order: editor focus · arrows · cursor visibility · caption row ·
// rows · columns · the cell (expander, cursor, editor, hover) · selection
// mode · whole column or row · drawing.

int32_t grid_mouse(Ui& ui, NamedObject& grid, int32_t mouseX, int32_t mouseY,
                   int32_t eventType) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);

  // Any window coordinate is accepted; far-off ones cannot hit anything.
  const auto relative = [](int32_t mouse, int16_t origin) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{mouse} - origin, -(1 << 20), 1 << 20));
  };
  const int32_t rx = relative(mouseX, obj->absX);
  const int32_t ry = relative(mouseY, obj->absY);
  const int32_t w = obj->width;
  const int32_t h = obj->height;
  const int8_t wasPressed = g.pressedArrow;
  g.pressedArrow = GridArrow::None;
  int32_t result = 0;

  if (g.columnCount < 1 || g.rowCount < 1 || !((rx > 0 && ry > 0) || g.animating == 1)) {
    // An arrow drawn pressed must not stay so once the mouse left it.
    if (wasPressed != 0) render_grid(ui, *obj);
    return 0;
  }

  const int32_t s = obj->canvas ? obj->canvas->iconSize : 0;
  const GridLayout& layout = layout_for_mouse(g, w, h, s, eventType);

  // A caption border being dragged follows the mouse until the button is
  // let go; nothing else answers meanwhile.
  if (g.sizingColumn >= 0) {
    if (follow_border_drag(ui, *obj, g, rx)) return 1;
    if (g.sizingColumn >= 0) return 0;
  }

  // The wheel scrolls whatever part of the grid the pointer is over.
  if (eventType == TK_TYPE_WHEEL || eventType == TK_TYPE_WHEEL_SIDEWAYS) {
    if (!scroll_by_wheel(g, eventType, tk_last_wheel_delta(), w, h)) return 0;
    render_grid(ui, *obj);
    return 1;
  }

  // A caption border: dragged, it resizes its column; double-clicked, the
  // column fits its widest shown text. The caption itself keeps selecting
  // or sorting.
  const int32_t border = caption_border_at(layout, rx, ry);
  show_resize_shape(*obj, g, border >= 0);
  if (border >= 0 && eventType == TK_TYPE_LEFT_CLICK) {
    if (editor_is_open(g)) close_editor(ui, *obj, 0);
    g.sizingColumn = to_int16(border);
    g.sizingWidth = g.columns[border].width;
    g.sizingFromX = rx;
    return 0;
  }
  if (border >= 0 && eventType == TK_TYPE_LEFT_DOUBLE) {
    g.sizingColumn = -1;
    if (editor_is_open(g)) close_editor(ui, *obj, 0);
    const int32_t widest = widest_text(ui, *obj, g, compute_grid_layout(g, w, h, s), border);
    if (widest <= 0) return 0;
    g.columns[border].width = to_int16(std::max(widest, kMinColumnWidth));
    render_grid(ui, *obj);
    return 1;
  }

  // Built-in scroll arrows: resting on one scrolls, paced by the clock.
  if (const int8_t arrow = grid_arrow_at(layout, rx, ry); arrow != GridArrow::None) {
    const bool click = eventType == TK_TYPE_LEFT_CLICK || eventType == TK_TYPE_LEFT_DOUBLE;
    const bool fresh = arrow != wasPressed || click;
    g.pressedArrow = arrow;
    bool changed = arrow != wasPressed;  // the pressed look moves
    if (arrow_step_due(g, fresh, ui_now(ui)) && scroll_by_arrow(g, arrow, w, h)) changed = true;
    if (!changed) return 0;
    render_grid(ui, *obj);
    return 1;
  }
  if (wasPressed != 0) result = 1;

  if (g.permanentCursor == 0) {
    g.permanentCursor = -1;
    result = 1;
  }

  // Caption row (a hit there selects the column).
  int8_t captionHit = Selection::Cell;
  if (layout.captionRow && ry <= layout.rowsTop) captionHit = Selection::WholeColumn;
  if (captionHit == Selection::WholeColumn && eventType == TK_TYPE_LEFT_CLICK &&
      sort_on_caption_click(ui, *obj, layout, rx))
    return 1;

  // Rows, as drawn. A hit in the caption row stands for row 0.
  int32_t row = 0;
  const GridRowSlot* rowSlot = nullptr;
  if (captionHit != Selection::WholeColumn) {
    rowSlot = grid_row_at(layout, ry);
    row = rowSlot ? rowSlot->row : g.rowCount;
  }

  // Columns (a hit on the caption column selects the row).
  int32_t column = -1;
  if (layout.captionColumn && rx <= layout.cellsLeft) {
    captionHit = static_cast<int8_t>(captionHit + Selection::WholeRow);
  } else {
    const int32_t slot = grid_column_slot_at(layout, rx);
    if (slot >= 0) column = layout.columns[static_cast<size_t>(slot)].column;
    // Passing over a column that is not hit takes the hover off.
    if (slot != 0 && !layout.columns.empty() && clear_hover(g)) result = 1;
  }

  // Off the rows' cells (caption row or column, the space below the last
  // row) no expander stays hovered.
  const bool overRowCell = column >= 0 && row < g.rowCount && captionHit != 1;
  if (!overRowCell && clear_hover(g)) result = 1;

  // The cell. The caption row acts on the column only: it turns no
  // expander, marks no hover and opens no editor of row 0.
  if (column >= 0 && row < g.rowCount && cell_in_range(g, column, row)) {
    // A source cell has no expander record: its expander shows no hover.
    ExpanderRecord* expander = g.source ? nullptr : cell_at(g, column, row).expander.get();
    const bool onCaption = captionHit == Selection::WholeColumn;

    if (eventType == TK_TYPE_LEFT_CLICK || eventType == TK_TYPE_LEFT_DOUBLE) {
      // The expander answers where it is drawn.
      const bool onExpander = !onCaption && rowSlot && rowSlot->expander &&
                              grid_area_holds(rowSlot->expanderArea, rx, ry);
      if (onExpander) {
        // Turns the row; the cursor stays where it is.
        toggle_expander(g, 0, row);
        if (g.source) render_grid(ui, *obj);  // no animation step draws it
        return -1;
      }
      if (effective_lock(g, column, row) == 0) {
        // A click away from the editor keeps what was typed: it commits
        // into the editor's own cell, then the click goes on. On the
        // edited cell itself the editor keeps the keys.
        if (editor_is_open(g) && (column != g.editor.column || row != g.editor.row))
          close_editor(ui, *obj, 0);
        else if (editor_is_open(g) && eventType == TK_TYPE_LEFT_CLICK)
          tk_focus_gadget(g.inputGadget);
        g.cursorColumn = g.selectionEndColumn = to_int16(column);
        g.cursorRow = g.selectionEndRow = row;
        obj->text = grid_cell_string(g, column, row);
        set_event_code(ui, *obj, Code::GridCursor);
        result = 1;
        if (eventType == TK_TYPE_LEFT_DOUBLE && g.enableInput == 1 && !onCaption) {
          const int32_t opened = open_editor(ui, *obj, to_int16(column), row);
          if (opened == 1) {
            set_event_code(ui, *obj, Code::GridEditorOpened);
            result = 0;  // the editor has drawn the grid
          } else {
            set_event_code(ui, *obj, Code::GridEditorRefused);
          }
        }
      }
    } else if (!onCaption && g.hoveredExpander != expander) {
      if (clear_hover(g)) result = 1;
      if (ExpanderRecord* e = expander) {
        if (e->state == ExpanderState::Idle) set_expander_state(g, *e, ExpanderState::Hovered);
        e->hovered = 1;
        g.hoveredExpander = e;
        result = 1;
      }
    }
  }

  if (g.selMode > Selection::Cell) captionHit = g.selMode;

  if (captionHit > Selection::Cell && eventType == TK_TYPE_LEFT_CLICK) {
    if (editor_is_open(g)) close_editor(ui, *obj, 0);
    if (select_whole(g, captionHit, column, row)) result = 1;
  }

  if (result == 1) render_grid(ui, *obj);
  return result;
}

// ---- grid_mouse_left ---------------------------------------------------------------

int32_t grid_mouse_left(Ui& ui, NamedObject& grid) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);
  bool changed = clear_hover(g);
  show_resize_shape(*obj, g, false);
  if (g.permanentCursor == -1) {
    g.permanentCursor = 0;
    changed = true;
  }
  if (g.pressedArrow != 0) {
    g.pressedArrow = 0;
    changed = true;
  }
  if (!changed) return 0;
  render_grid(ui, *obj);
  return 1;
}

// ---- grid_key ------------------------------------------------------------------------

int8_t grid_key(Ui& ui, NamedObject& grid, int32_t shortcutId) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);
  if (g.keyboardControl != 1) return 0;

  switch (shortcutId) {
    case GridKey::Return:
      if (editor_is_open(g)) {
        close_editor(ui, *obj, 0);
        return Code::GridCommit;
      }
      if (g.enableInput == 1) {
        const int32_t opened = open_editor(ui, *obj, g.cursorColumn, g.cursorRow);
        return opened == 1 ? Code::GridEditorOpened : Code::GridEditorRefused;
      }
      return 0;
    case GridKey::Escape:
      if (!editor_is_open(g)) return 0;
      close_editor(ui, *obj, 1);
      return Code::GridCancel;
    default: break;
  }

  // While a cell is edited the cursor stays on it: moving it would carry
  // the editor, and what was typed, to another cell.
  if (editor_is_open(g)) return 0;
  switch (shortcutId) {
    case GridKey::Left: move_cursor(ui, grid, 0, -1, 0); return Code::GridCursor;
    case GridKey::Up: move_cursor(ui, grid, 0, 0, -1); return Code::GridCursor;
    case GridKey::Right: move_cursor(ui, grid, 0, 1, 0); return Code::GridCursor;
    case GridKey::Down: move_cursor(ui, grid, 0, 0, 1); return Code::GridCursor;
    case GridKey::PageLeft: move_cursor(ui, grid, 2, -1, 0); return Code::GridCursor;
    case GridKey::PageUp: move_cursor(ui, grid, 2, 0, -1); return Code::GridCursor;
    case GridKey::PageRight: move_cursor(ui, grid, 2, 1, 0); return Code::GridCursor;
    case GridKey::PageDown: move_cursor(ui, grid, 2, 0, 1); return Code::GridCursor;
    case GridKey::First: move_cursor_to_end(ui, grid, -1); return Code::GridCursor;
    case GridKey::Last: move_cursor_to_end(ui, grid, 1); return Code::GridCursor;
    case GridKey::PageUpKey: move_cursor(ui, grid, 2, 0, -1); return Code::GridCursor;
    case GridKey::PageDownKey: move_cursor(ui, grid, 2, 0, 1); return Code::GridCursor;
    case GridKey::RowStart: move_cursor_to_row_end(ui, grid, -1); return Code::GridCursor;
    case GridKey::RowEnd: move_cursor_to_row_end(ui, grid, 1); return Code::GridCursor;
    case GridKey::Space:
      toggle_expander(g, g.cursorColumn, g.cursorRow);
      // The subtree shows or hides at once; the icon turns in the steps.
      render_grid(ui, *obj);
      return Code::GridToggled;
    default: return 0;
  }
}

// ---- move_cursor ---------------------------------------------------------------------
//
// Mode 0 steps one cell, mode 2 pages. Cells locked at -16 or below and
// columns without width are passed over (lock 1 takes the keyboard cursor),
// so are rows hidden in a collapsed subtree; then the view scrolls so the
// cursor stays in sight. A move whose target lies outside the grid changes
// nothing.

void move_cursor(Ui& ui, NamedObject& grid, int8_t mode, int16_t dc, int16_t dr) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return;
  GridRecord& g = *grid_record(*obj);
  if (g.columnCount < 1 || g.rowCount < 1) return;
  dc = static_cast<int16_t>(std::clamp<int16_t>(dc, -1, 1));
  dr = static_cast<int16_t>(std::clamp<int16_t>(dr, -1, 1));
  const bool page = mode == 2;

  // Start and one step. A page move that cannot move at all starts at the
  // cursor, so it never walks the cursor backwards.
  const bool columnMoves = g.cursorColumn + dc >= 0 && g.cursorColumn + dc < g.columnCount;
  const bool rowMoves = g.cursorRow + dr >= 0 && g.cursorRow + dr < g.rowCount;
  int32_t nc = (page && dc > 0 && columnMoves) ? g.lastVisibleColumn - 1 : g.cursorColumn;
  int32_t nr = (page && dr > 0 && rowMoves) ? g.lastVisibleRow - 1 : g.cursorRow;
  if (columnMoves) nc += dc;
  if (rowMoves) nr += dr;

  // Cells that cannot take the cursor.
  if (dc != 0 || dr != 0) {
    while (cell_in_range(g, nc, nr) && (effective_lock(g, nc, nr) <= -16 || g.columns[nc].width <= 0)) {
      nc += dc;
      nr += dr;
    }
  }

  // Rows hidden in a collapsed subtree.
  ShownRows shown(g);
  if (dr != 0 && nr >= 0 && nr < g.rowCount) nr = shown.next_shown(nr, dr);
  if (!cell_in_range(g, nc, nr)) return;

  // Horizontal scrolling (columns).
  int32_t scrollX = g.scrollX;
  if (page && dc > 0) {
    scrollX = g.lastVisibleColumn;
  } else if (page && dc < 0) {
    // Back over as many columns as fill the width before the first one.
    int32_t k = std::clamp<int32_t>(g.scrollX, 0, g.columnCount - 1);
    int32_t filled = g.columns[k].width + g.captRowWidth;
    while (filled < obj->width && k > 0) filled += g.columns[--k].width;
    nc = scrollX = filled < obj->width ? 0 : k;
  } else if (!page) {
    if (nc >= g.lastVisibleColumn) scrollX += nc - g.lastVisibleColumn;
    else if (nc < scrollX) scrollX = nc;
  }
  scrollX = std::clamp<int32_t>(scrollX, 0, g.columnCount - 1);

  // Vertical scrolling (shown rows).
  const int32_t lastShown = shown.index_at_or_before(std::max<int32_t>(g.lastVisibleRow, 0));
  int32_t scrollY = g.scrollY;
  if (page && dr > 0) {
    scrollY = lastShown;
  } else if (page && dr < 0) {
    // Back over as many rows as fill the height above the first one.
    int32_t i = shown.index_at_or_before(shown.row_at(std::max<int32_t>(g.scrollY, 0)));
    int32_t filled = grid_row_span(g, shown.row_at(i)) + g.captColHeight;
    while (filled < obj->height && i > 0) filled += grid_row_span(g, shown.row_at(--i));
    if (filled < obj->height) {
      scrollY = 0;
      nr = shown.row_at(0);
    } else {
      nr = shown.row_at(i + 1);
      scrollY = shown.index_at_or_before(nr);
    }
  } else if (!page) {
    const int32_t at = shown.index_at_or_before(nr);
    if (at >= lastShown) scrollY += at - lastShown;
    else if (at <= scrollY) scrollY = at;
  }
  scrollY = std::clamp<int32_t>(scrollY, 0, g.rowCount - 1);

  if (!cell_in_range(g, nc, nr)) return;
  g.scrollX = to_int16(scrollX);
  g.scrollY = scrollY;
  set_cursor(ui, *obj, to_int16(nc), nr, 1);
}

// ---- move_cursor_to_end ---------------------------------------------------------------
//
// Beyond the arrow and page keys, which would take a million rows a long
// time: the first or last row in one key. Rows whose cell cannot take the
// cursor are passed over as move_cursor does.

void move_cursor_to_end(Ui& ui, NamedObject& grid, int8_t dir) {
  GridRecord* record = grid_record(grid);
  if (!record || record->columnCount < 1 || record->rowCount < 1) return;
  GridRecord& g = *record;
  const int32_t column = std::clamp<int32_t>(g.cursorColumn, 0, g.columnCount - 1);
  const int32_t step = dir > 0 ? -1 : 1;  // inwards from the end
  ShownRows shown(g);
  int32_t row = shown.next_shown(dir > 0 ? g.rowCount - 1 : 0, step);
  while (row >= 0 && row < g.rowCount && effective_lock(g, column, row) <= -16)
    row = shown.next_shown(row + step, step);
  if (!cell_in_range(g, column, row)) return;
  const GridBands bands = grid_bands(g, grid.width, grid.height);
  const int32_t last = last_row_position(g, bands.rowsArea.bottom - bands.rowsArea.top);
  g.scrollY = std::min(shown.index_at_or_before(row), last);
  set_cursor(ui, grid, static_cast<int16_t>(column), row, 1);
}

// ---- move_cursor_to_row_end -----------------------------------------------------------
//
// Home and End: the first or last column of the cursor's row that takes the
// cursor, scrolled into view as a step of the arrows would.

void move_cursor_to_row_end(Ui& ui, NamedObject& grid, int8_t dir) {
  GridRecord* record = grid_record(grid);
  if (!record || record->columnCount < 1 || record->rowCount < 1) return;
  GridRecord& g = *record;
  const int32_t row = std::clamp<int32_t>(g.cursorRow, 0, g.rowCount - 1);
  const int32_t step = dir > 0 ? -1 : 1;  // inwards from the end
  int32_t column = dir > 0 ? g.columnCount - 1 : 0;
  while (cell_in_range(g, column, row) &&
         (effective_lock(g, column, row) <= -16 || g.columns[column].width <= 0))
    column += step;
  if (!cell_in_range(g, column, row)) return;
  if (column < g.scrollX) {
    g.scrollX = to_int16(column);
  } else if (column >= g.lastVisibleColumn) {
    // As far as it takes to show the column whole, never past the last page.
    const GridBands bands = grid_bands(g, grid.width, grid.height);
    int32_t first = column, used = g.columns[column].width;
    while (first > 0 && used + g.columns[first - 1].width <= bands.rowsArea.right - bands.cellsLeft)
      used += g.columns[--first].width;
    g.scrollX = to_int16(std::max<int32_t>(g.scrollX, std::min(first, last_scroll_x(g, grid.width, grid.height))));
  }
  set_cursor(ui, grid, to_int16(column), row, 1);
}

// ---- shortcuts -----------------------------------------------------------------------

// A grid whose editor is open takes only Return and Escape; the other keys
// belong to the editor. The dispatcher installs them whenever the mouse is
// over the grid, which also undoes what another grid or object did to the
// window's keys meanwhile.
void install_grid_shortcuts(Ui& ui, NamedObject& grid) {
  GridRecord* g = grid_record(grid);
  if (!g || g->keyboardControl != 1) return;
  const int32_t window = window_number(ui, grid);
  // Nothing changed any window's keys since this grid put its own in: they
  // are still there (an editor opening or closing removes some).
  const int8_t forEditor = editor_is_open(*g) ? 1 : 0;
  if (g->keysInstalledAt == tk_shortcut_changes() && g->keysWindow == window &&
      g->keysForEditor == forEditor)
    return;
  tk_add_shortcut(window, TK_KEY_RETURN, GridKey::Return);
  if (forEditor == 1) {
    remove_grid_shortcuts(ui, grid, 1);
  } else {
    for (const GridKeyBinding& b : kGridKeyBindings) tk_add_shortcut(window, b.key, b.id);
  }
  g->keysInstalledAt = tk_shortcut_changes();
  g->keysWindow = window;
  g->keysForEditor = forEditor;
}

void remove_grid_shortcuts(Ui& ui, const NamedObject& grid, int8_t keepEscape) {
  const int32_t window = window_number(ui, grid);
  for (const GridKeyBinding& b : kGridKeyBindings) {
    const bool editorKey = b.id == GridKey::Return || b.id == GridKey::Escape;
    if (!editorKey) tk_remove_shortcut(window, b.key);
  }
  if (keepEscape == 1) {
    tk_add_shortcut(window, TK_KEY_ESCAPE, GridKey::Escape);
  } else {
    tk_remove_shortcut(window, TK_KEY_ESCAPE);
    tk_remove_shortcut(window, TK_KEY_RETURN);
  }
}

// ---- step_expanders ------------------------------------------------------------------
//
// Visits only the expanders with a state above 0 (GridRecord::activeExpanders),
// never the grid's cells.

void step_expanders(Ui& ui, NamedObject& grid) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return;
  GridRecord& g = *grid_record(*obj);
  const int32_t s = obj->canvas ? obj->canvas->iconSize : 0;
  const int32_t now = ui_now(ui);
  const bool anyActive = !g.activeExpanders.empty();
  if (anyActive) grid_expander_strip(grid);  // replaces a strip freed elsewhere
  bool frameChanged = false;

  for (size_t i = 0; i < g.activeExpanders.size();) {
    ExpanderRecord& e = *g.activeExpanders[i];
    // Wrapping difference: the millisecond clock wraps after 24 days.
    const uint32_t elapsed = static_cast<uint32_t>(now) - static_cast<uint32_t>(e.lastStep);
    if (elapsed < static_cast<uint32_t>(std::max<int16_t>(e.interval, 0))) {
      ++i;
      continue;
    }
    e.lastStep = now;
    const bool collapsing = e.state == ExpanderState::Collapsing;
    const bool expanding = e.state == ExpanderState::Expanding;
    const bool hovered = e.state == ExpanderState::Hovered;
    if (collapsing || hovered) --e.frame;
    else if (expanding) ++e.frame;
    const bool done = (collapsing && e.frame < e.firstFrame) ||
                      (expanding && e.frame > e.lastFrame) || hovered;
    if (done) {
      e.state = ExpanderState::Idle;
      g.activeExpanders[i] = g.activeExpanders.back();
      g.activeExpanders.pop_back();
      continue;
    }
    if (tk_image_exists(e.strip) && s > 0) {
      if (e.frameImage) tk_free_image(e.frameImage);
      e.frameImage = tk_grab_image_region(e.strip, -1, e.frame * s, 0, s, s);
      frameChanged = true;
    }
    ++i;
  }

  if (frameChanged) render_grid(ui, *obj);
  g.animating = anyActive ? 1 : 0;
}

}  // namespace zui
