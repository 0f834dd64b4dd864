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

namespace {

// ---- mouse over ------------------------------------------------------------------

// The input type of the column whose cell is being edited.
int8_t edited_input_type(const GridRecord& g) {
  if (g.editor.column < 0 || size_t(g.editor.column) >= g.columns.size()) return InputType::None;
  return g.columns[size_t(g.editor.column)].inputType;
}

// Whether a text editor's focus loss means the user left it. A click on the
// grid takes the focus to the grid's gadget before the click itself is
// reported, and it is the click that decides (another cell cancels the
// edit, the edited cell keeps it); by the time the loss is dispatched the
// focus may also be back in the editor. Focus anywhere else has left it.
bool focus_left_grid(const NamedObject& o) {
  const int32_t focused = tk_focused_gadget();
  return focused != grid_record(o)->inputGadget && focused != o.gadget;
}

void grid_mouse_over(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent& c) {
  GridRecord& g = *grid_record(o);
  if (g.inputGadget != 0) {
    // The editor's own closing events commit it.
    const int8_t inputType = edited_input_type(g);
    const bool commits = c.gadget == g.inputGadget &&
                         ((c.type == TK_TYPE_LIST_CLOSED && inputType == InputType::DropDown) ||
                          (c.type == TK_TYPE_FOCUS_LOST && inputType == InputType::Text && focus_left_grid(o)) ||
                          c.type == TK_TYPE_LEFT_DOUBLE);
    if (commits) {
      o.changed = 1;
      close_editor(ui, o.name, 0);
    }
    // While the mouse is over the grid, an open editor keeps the keys.
    if (g.inputGadget != 0 && tk_focused_gadget() != g.inputGadget)
      tk_focus_gadget(g.inputGadget);
  }
  // The grid under the mouse holds the keys: all of them, or only Return
  // and Escape while its editor is open. Another grid or object may have
  // changed them since the editor opened.
  win.focusKind = o.kind;
  win.focusNumber = o.number;
  install_grid_shortcuts(ui, o);
  grid_mouse(ui, o, c.mouseX, c.mouseY, c.type);
}

}  // namespace

void grid_register_event_hooks(KindBehaviour& b) {
  b.mouseOver = grid_mouse_over;
  // What showed only while the mouse was over the grid (its cursor, a
  // hovered expander, a pressed arrow) ends with it.
  b.mouseAway = [](Ui& ui, NamedObject& o) {
    grid_mouse_left(ui, o);
  };
  b.shortcut = [](Ui& ui, NamedObject& o, int32_t shortcutId) -> int8_t {
    return grid_key(ui, o, shortcutId);
  };
  // A grid loses its arrow keys to the object that takes the focus.
  b.focusLeaves = [](Ui& ui, NamedObject&) {
    remove_grid_shortcuts(ui, 0);
  };
  b.step = [](Ui& ui, NamedObject& o) {
    GridRecord* g = grid_record(o);
    if (!g) return false;
    // An open editor follows its grid wherever the grid went or hid.
    if (g->inputGadget != 0) place_editor(o);
    if (g->animating == 1) step_expanders(ui, o);
    return false;
  };
}
