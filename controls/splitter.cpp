// Splitters: two existing objects side by side or one above the other with
// a bar between them that the user drags; the second follows the bar.
//
// Sections: creation · dragging · the kind's hooks.
#include <cstdlib>
#include <memory>
#include <string>

#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

// ---- creation --------------------------------------------------------------

int32_t create_splitter(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                        int16_t height, const std::string& firstChild,
                        const std::string& secondChild, int16_t position, int8_t vertical,
                        const std::string& parent) {
  register_control_kinds(ui);
  const int32_t firstGadget = get_gadget(ui, firstChild);
  const int32_t secondGadget = get_gadget(ui, secondChild);
  NamedObject* o = begin_object(ui, name, Kind::Splitter, x, y, width, height, parent);
  if (!o) return 0;
  if (!tk_gadget_exists(firstGadget) || !tk_gadget_exists(secondGadget)) {
    // Registered without a gadget; the parent's gadget list is closed again.
    end_object(ui, *o);
    return 0;
  }
  const int32_t flags = TK_SPLITTER_THICK + (vertical == 1 ? TK_SPLITTER_VERTICAL : 0);
  o->gadget = tk_create_splitter_gadget(-1, x, y, width, height, firstGadget, secondGadget, flags);
  if (o->gadget == 0) {
    // Refused by the toolkit (a child holds the splitter itself): registered
    // without a gadget like a missing child, the children stay where they are.
    end_object(ui, *o);
    return 0;
  }
  auto record = std::make_unique<SplitterRecord>();
  record->firstName = firstChild;
  record->secondName = secondChild;
  record->firstGadget = firstGadget;
  record->secondGadget = secondGadget;
  record->vertical = vertical;
  o->control = std::move(record);
  o->visible = Visibility::Pinned;
  tk_set_gadget_state(o->gadget, position);
  end_object(ui, *o);

  // The children now live in the splitter: their window coordinates start at
  // the splitter's, the second one behind the bar.
  const int16_t absX = o->absX;
  const int16_t absY = o->absY;
  const int16_t behind = static_cast<int16_t>((vertical == 1 ? absX : absY) + position +
                                              TK_SPLITTER_BAR);
  if (NamedObject* first = lookup_object(ui, firstChild)) place_absolute(ui, *first, absX, absY);
  if (NamedObject* second = lookup_object(ui, secondChild)) {
    if (vertical == 1) place_absolute(ui, *second, behind, absY);
    else place_absolute(ui, *second, absX, behind);
  }
  return o->gadget;
}

// ---- dragging --------------------------------------------------------------
namespace {

// A moved bar gives the second child its new absolute position (the toolkit
// lays it out behind the bar, TK_SPLITTER_BAR pixels on). Returns true when
// the bar had moved: the dispatch then ends.
bool on_drag(Ui& ui, NamedObject& o, const ToolkitEvent& c) {
  const SplitterRecord* record = splitter_record(o);
  if (c.type != TK_TYPE_LEFT_CLICK || !record) return false;
  const SplitterRecord& s = *record;
  if (!tk_gadget_exists(s.secondGadget) || !tk_gadget_exists(o.gadget)) return false;
  const bool vertical = s.vertical == 1;
  const int32_t position = tk_get_gadget_state(o.gadget);
  const auto behind = int16_t((vertical ? o.absX : o.absY) + position + TK_SPLITTER_BAR);

  if (o.text.empty()) {
    // No position recorded yet (creation records none): the bar has moved
    // only when the second child no longer sits behind it. Otherwise the
    // first left click anywhere would be taken for a move and swallowed.
    bool moved = true;
    if (const NamedObject* child = lookup_object(ui, s.secondName))
      moved = (vertical ? child->absX : child->absY) != behind;
    if (!moved) {
      o.text = std::to_string(position);
      return false;
    }
  } else if (position == std::atoi(o.text.c_str())) {
    return false;
  }

  o.text = std::to_string(position);
  if (NamedObject* second = lookup_object(ui, s.secondName)) {
    if (vertical)
      place_absolute(ui, *second, behind, -1);
    else
      place_absolute(ui, *second, -1, behind);
  }
  return true;
}

// ---- the kind's hooks ------------------------------------------------------

void renamed(NamedObject& o, const std::string& oldName, const std::string& newName) {
  SplitterRecord* s = splitter_record(o);
  if (!s) return;
  if (s->firstName == oldName) s->firstName = newName;
  if (s->secondName == oldName) s->secondName = newName;
}

}  // namespace

KindBehaviour splitter_behaviour() {
  KindBehaviour k;
  k.drag = on_drag;
  k.renamed = renamed;
  // Its value is the bar's position, which the gadget keeps.
  k.textGet = [](Ui&, NamedObject& o, std::string& out) {
    if (tk_gadget_exists(o.gadget)) o.text = std::to_string(tk_get_gadget_state(o.gadget));
    out = o.text;
    return true;
  };
  k.describe = [](Ui&, NamedObject&, TkAccessible& out) { out.role = TK_ROLE_SPLITTER; };
  return k;
}

}  // namespace zui
