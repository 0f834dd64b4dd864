// The kind table of a context and the keyword field access every kind uses.
//
// Sections: registration · keyword fields · calls through the table · held
// drawings.
#include <algorithm>
#include <cassert>
#include <string>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "framework/ui.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

// Code 0 stays empty: kind_behaviour answers negative codes with it.
bool in_table(int8_t kind) { return kind > 0; }  // int8 codes: 1..127

}  // namespace

// ---- registration ----------------------------------------------------------

void register_kind(Ui& ui, int8_t kind, const KindBehaviour& behaviour) {
  assert(in_table(kind) && "kind codes are 1..127");
  if (!in_table(kind)) return;
  ui.kinds[size_t(kind)] = behaviour;
  ui.kindRegistered[size_t(kind)] = true;
}

bool kind_registered(const Ui& ui, int8_t kind) {
  return in_table(kind) && ui.kindRegistered[size_t(kind)];
}

// ---- keyword fields --------------------------------------------------------

std::string read_keyword_field(const KeywordField& f) {
  if (!f || !f.gettable) return {};
  switch (f.type) {
    case KeywordField::I8: return std::to_string(*static_cast<int8_t*>(f.ptr));
    case KeywordField::I16: return std::to_string(*static_cast<int16_t*>(f.ptr));
    case KeywordField::I32: return std::to_string(*static_cast<int32_t*>(f.ptr));
    case KeywordField::Text: return *static_cast<std::string*>(f.ptr);
    case KeywordField::None: break;
  }
  return {};
}

bool write_keyword_field(const KeywordField& f, const std::string& value) {
  if (!f || !f.settable) return false;
  const int64_t number = f.type == KeywordField::Text ? 0 : parse_keyword_number(value);
  switch (f.type) {
    case KeywordField::I8: *static_cast<int8_t*>(f.ptr) = static_cast<int8_t>(number); break;
    case KeywordField::I16: *static_cast<int16_t*>(f.ptr) = static_cast<int16_t>(number); break;
    case KeywordField::I32: *static_cast<int32_t*>(f.ptr) = static_cast<int32_t>(number); break;
    case KeywordField::Text: *static_cast<std::string*>(f.ptr) = value; break;
    case KeywordField::None: break;
  }
  return true;
}

// ---- calls through the table -----------------------------------------------

void draw_object(Ui& ui, NamedObject& o) {
  if (auto draw = kind_behaviour(ui, o.kind).draw) draw(ui, o);
}

// ---- held drawings ---------------------------------------------------------
namespace {

bool can_be_seen(const NamedObject& o) {
  // Without a gadget nothing tells; drawing is the safe answer.
  return !tk_gadget_exists(o.gadget) || tk_gadget_shown_in_window(o.gadget) == 1;
}

}  // namespace

bool drawing_owed(Ui& ui, NamedObject& o) {
  if (!ui.drawingsHeld && (o.drawOwed == 0 || can_be_seen(o))) {
    if (o.drawOwed != 0) forget_owed(ui, o);
    return false;
  }
  if (o.drawOwed == 0) {
    o.drawOwed = 1;
    ui.owed.push_back(&o);
  }
  return true;
}

void draw_owed(Ui& ui) {
  if (ui.drawingsHeld || ui.owed.empty()) return;
  // Drawing may show or remove other objects: work on a copy, and skip
  // what left the list meanwhile.
  const std::vector<NamedObject*> owed = ui.owed;
  for (NamedObject* o : owed) {
    if (std::find(ui.owed.begin(), ui.owed.end(), o) == ui.owed.end()) continue;
    if (can_be_seen(*o)) draw_object(ui, *o);
  }
}

void forget_owed(Ui& ui, NamedObject& o) {
  if (o.drawOwed == 0) return;
  o.drawOwed = 0;
  ui.owed.erase(std::find(ui.owed.begin(), ui.owed.end(), &o));
}

void hold_drawings(Ui& ui, bool hold) {
  ui.drawingsHeld = hold;
  draw_owed(ui);
}

}  // namespace zui
