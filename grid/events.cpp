// The grid's answers to the dispatcher, registered as its kind's event
// hooks: the mouse over and away from the grid, its shortcuts, the focus
// leaving it and its per-dispatch step.
//
// Sections: mouse over · mouse away · keys and focus · step.
#include <cstddef>
#include <cstdint>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

// ---- mouse over ------------------------------------------------------------------

// The input type of the column whose cell is being edited.
int8_t edited_input_type(const GridRecord& g) {
  if (g.editor.column < 0 || size_t(g.editor.column) >= g.columns.size()) return InputType::None;
  return g.columns[size_t(g.editor.column)].inputType;
}

// Whether the editor's focus loss means the user left it. A click on the
// grid takes the focus to the grid's gadget before the click itself is
// reported, and it is the click that decides (another cell commits, the
// edited cell keeps the editor); by the time the loss is dispatched the
// focus may also be back in the editor. Focus anywhere else has left it.
bool focus_left_grid(const NamedObject& o) {
  const int32_t focused = tk_focused_gadget();
  return focused != grid_record(o)->inputGadget && focused != o.gadget;
}

bool is_click(int32_t type) {
  return type == TK_TYPE_LEFT_CLICK || type == TK_TYPE_RIGHT_CLICK || type == TK_TYPE_LEFT_DOUBLE ||
         type == TK_TYPE_RIGHT_DOUBLE;
}

// The editor's own closing events commit it, wherever the mouse is: a
// drop-down list closed, the focus gone elsewhere, a double-click in it.
void editor_event(Ui& ui, NamedObject& o, const ToolkitEvent& c) {
  GridRecord& g = *grid_record(o);
  if (g.inputGadget == 0 || c.kind != TK_EVENT_GADGET || c.gadget != g.inputGadget) return;
  const bool commits = (c.type == TK_TYPE_LIST_CLOSED && edited_input_type(g) == InputType::DropDown) ||
                       (c.type == TK_TYPE_FOCUS_LOST && focus_left_grid(o)) ||
                       c.type == TK_TYPE_LEFT_DOUBLE;
  if (!commits) return;
  o.changed = 1;
  close_editor(ui, o, 0);
}

void grid_mouse_over(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent& c) {
  editor_event(ui, o, c);
  // The grid under the mouse holds the keys only when nothing else takes
  // typing: all of them, or only Return and Escape while its editor is
  // open. Another grid or object may have changed them meanwhile. The
  // mouse passing over moves no focus.
  if (grid_takes_keys(o)) {
    win.focusKind = o.kind;
    win.focusNumber = o.number;
    install_grid_shortcuts(ui, o);
  } else {
    remove_grid_shortcuts(ui, o, 0);
  }
  grid_mouse(ui, o, c.mouseX, c.mouseY, c.type);
}

// The mouse elsewhere: a click there (another control, a tab, another
// grid) commits the open editor before it goes on; a drag of a caption
// border goes on while the button is held.
void grid_mouse_away(Ui& ui, NamedObject& o, const ToolkitEvent& c) {
  editor_event(ui, o, c);
  GridRecord& g = *grid_record(o);
  if (g.inputGadget != 0 && c.kind == TK_EVENT_GADGET && is_click(c.type) && c.gadget != g.inputGadget) {
    o.changed = 1;
    close_editor(ui, o, 0);
  }
  if (g.sizingColumn >= 0 && c.mouseX >= 0) {
    grid_mouse(ui, o, c.mouseX, c.mouseY, -1);
    return;
  }
  g.sizingColumn = -1;
  grid_mouse_left(ui, o);
}

}  // namespace

void grid_register_event_hooks(KindBehaviour& b) {
  b.mouseOver = grid_mouse_over;
  // What showed only while the mouse was over the grid (its cursor, a
  // hovered expander, a pressed arrow) ends with it.
  b.mouseAway = grid_mouse_away;
  b.shortcut = [](Ui& ui, NamedObject& o, int32_t shortcutId) -> int8_t {
    // Keys typed into another gadget's text are never the grid's.
    if (!grid_takes_keys(o)) return Code::None;
    return grid_key(ui, o, shortcutId);
  };
  // A grid loses its arrow keys to the object that takes the focus.
  b.focusLeaves = [](Ui& ui, NamedObject& o) {
    remove_grid_shortcuts(ui, o, 0);
  };
  b.step = [](Ui& ui, NamedObject& o) {
    GridRecord* g = grid_record(o);
    if (!g) return false;
    // An open editor follows its grid wherever the grid went, and is
    // committed when the grid no longer shows.
    if (g->inputGadget != 0) place_editor(ui, o);
    if (g->animating == 1) step_expanders(ui, o);
    return false;
  };
  // Expanders turn, a hovered one waits to turn back, a held arrow repeats,
  // or an open editor follows the grid.
  b.moving = [](const Ui&, const NamedObject& o) {
    const GridRecord* g = grid_record(o);
    return g && (g->animating == 1 || g->pressedArrow != 0 || g->hoveredExpander != nullptr ||
                 g->inputGadget != 0);
  };
}

bool grid_takes_keys(const NamedObject& grid) {
  const GridRecord* g = grid_record(grid);
  if (!g) return false;
  const int32_t focused = tk_focused_gadget();
  if (focused == grid.gadget || (g->inputGadget != 0 && focused == g->inputGadget)) return true;
  return tk_gadget_takes_typing(focused) == 0;
}

}  // namespace zui
