// What screen readers learn of an object and how the keyboard reaches it.
// The framework answers for every object what all objects have (names,
// the expanded state) and for its own containers; each kind's
// layer adds the rest through its describe hooks.
//
// Sections: names · the describer · registration · expanded state.
#include <string>

#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

namespace {

// ---- names ---------------------------------------------------------------------

// The caption the window's objects give this container as its page (a
// tab's). Empty when it is no page.
std::string page_caption(Ui& ui, const NamedObject& page) {
  std::string caption;
  for (NamedObject* o = ui.first; o; o = o->next) {
    if (o->window != page.window) continue;
    if (auto pageCaption = kind_behaviour(ui, o->kind).pageCaption)
      pageCaption(*o, page.name, caption);
  }
  return caption;
}

// Containers are pages of a tab or panes.
void describe_own_kind(Ui& ui, NamedObject& o, TkAccessible& out) {
  if (holds_children(ui, o.kind)) {
    const std::string caption = page_caption(ui, o);
    out.role = caption.empty() ? TK_ROLE_PANE : TK_ROLE_PAGE;
    if (out.name.empty()) out.name = caption;
  }
}

// ---- the describer ---------------------------------------------------------------

void describe(void* owner, void* object, TkAccessible& out) {
  Ui& ui = *static_cast<Ui*>(owner);
  NamedObject& o = *static_cast<NamedObject*>(object);
  out.name = !o.caption.empty() ? o.caption : o.helpText;
  out.fallbackName = o.name;
  if (o.expanded >= 0) out.states |= TK_STATE_EXPANDABLE | (o.expanded == 1 ? TK_STATE_EXPANDED : 0);
  if (auto hook = kind_behaviour(ui, o.kind).describe)
    hook(ui, o, out);
  else
    describe_own_kind(ui, o, out);
}

void describe_cell(void* owner, void* object, int32_t column, int32_t row, TkAccessibleCell& out) {
  Ui& ui = *static_cast<Ui*>(owner);
  NamedObject& o = *static_cast<NamedObject*>(object);
  if (auto hook = kind_behaviour(ui, o.kind).describeCell) hook(ui, o, column, row, out);
}

constexpr TkDescriber kDescriber{describe, describe_cell};

// Plain gadgets keep the platform's description; these are drawn by us or
// say nothing of themselves.
bool is_described(const Ui& ui, const NamedObject& o) {
  return kind_behaviour(ui, o.kind).describe != nullptr || holds_children(ui, o.kind);
}

}  // namespace

// ---- registration ------------------------------------------------------------------

// The registry keeps objects at stable addresses and frees an object's
// gadget with it, so the gadget can hand the object back.
void describe_object(Ui& ui, NamedObject& o) {
  if (o.gadget == 0) return;
  if (is_described(ui, o)) tk_describe_gadget(o.gadget, &kDescriber, &ui, &o);
  if (kind_behaviour(ui, o.kind).key) tk_set_gadget_keys(o.gadget, o.gadget);
}

// ---- expanded state ----------------------------------------------------------------

int32_t set_expanded(Ui& ui, const std::string& name, int8_t expanded) {
  NamedObject* o = lookup_object(ui, name);
  if (!o) return -1;
  const int8_t state = expanded < 0 ? -1 : (expanded > 0 ? 1 : 0);
  if (o->expanded == state) return 0;
  o->expanded = state;
  tk_announce_states(o->gadget, TK_STATE_EXPANDED);
  return 0;
}

}  // namespace zui
