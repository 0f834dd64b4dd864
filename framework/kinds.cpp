// The kind table of a context and the keyword field access every kind uses.
//
// Sections: registration · keyword fields · calls through the table.
#include <cassert>
#include <string>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "framework/ui.h"

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

}  // namespace zui
