// Scroll bars as a kind: the user moves the toolkit's bar; its position
// becomes the bar's text and reaches the object it is linked to.
#include <string>

#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

// Any gadget event with the mouse over the bar is a move of it.
bool on_moved(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent&) {
  o.text = std::to_string(tk_get_gadget_state(o.gadget));
  NamedObject* target =
      o.scrollBarData ? lookup_object(ui, o.scrollBarData->gridName) : nullptr;
  if (target) {
    if (auto scrolled = kind_behaviour(ui, target->kind).scrolledBy) scrolled(ui, *target, o);
  }
  win.eventCode = Code::ScrollBarMoved;
  return true;
}

}  // namespace

KindBehaviour scroll_bar_behaviour() {
  KindBehaviour k;
  k.moved = on_moved;
  return k;
}

}  // namespace zui
