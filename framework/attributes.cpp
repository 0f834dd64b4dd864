// Widget properties read and written as text through upper-case keywords:
// the keywords every object has, those of the standard kinds the framework
// creates (scroll areas, scroll bars, date inputs), renaming,
// and the calls by name. A kind's own keywords come from its behaviour.
//
// Sections: number parsing and keyword case · object keywords · renaming ·
// get_attribute/set_attribute.
//
// A numeric value is parsed into 64 bits (wrapping, so an overlong digit
// string keeps the true low bits) and stored into the field's width, keeping
// the low bits: 300 in an int8 field reads back as 44. Getters sign-extend.
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/tk.h"

namespace zui {

// ---- number parsing and keyword case -------------------------------------------

int64_t parse_keyword_number(const std::string& value) {
  size_t i = 0;
  const size_t n = value.size();
  while (i < n && (value[i] == ' ' || value[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (value[i] == '-' || value[i] == '+')) {
    negative = value[i] == '-';
    ++i;
  }
  uint64_t number = 0;  // unsigned: overflow wraps instead of being undefined
  for (; i < n && value[i] >= '0' && value[i] <= '9'; ++i)
    number = number * 10 + static_cast<uint64_t>(value[i] - '0');
  if (negative) number = 0 - number;
  return static_cast<int64_t>(number);
}

// Letters a..z and the bytes 224..255 are shifted down by 32.
std::string upper_keyword(const std::string& keyword) {
  std::string out = keyword;
  for (char& ch : out) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte >= 'a' && byte <= 'z') || byte >= 224) ch = static_cast<char>(byte - 32);
  }
  return out;
}

namespace {

using Field = KeywordField;

// ---- object keywords -----------------------------------------------------------

Field common_field(NamedObject& obj, const std::string& k) {
  if (k == "CATCHMOUSEOVER") return obj.catchMouseOver;
  if (k == "FRONTCOLOR") return obj.frontColor;
  if (k == "HELPTEXT") return obj.helpText;
  if (k == "CHANGED") return obj.changed;
  return {};
}

// Numeric keywords mirrored in a toolkit gadget attribute (scroll areas,
// scroll bars, date inputs): the record field and the attribute number.
struct GadgetField {
  int32_t* field = nullptr;
  int32_t attribute = 0;
};

GadgetField gadget_field(NamedObject& obj, const std::string& k) {
  if (obj.kind == Kind::ScrollArea && obj.scrollAreaData) {
    ScrollAreaRecord& a = *obj.scrollAreaData;
    if (k == "AREAWIDTH") return {&a.innerWidth, 1};
    if (k == "AREAHEIGHT") return {&a.innerHeight, 2};
    if (k == "POSX") return {&a.scrollX, 3};
    if (k == "POSY") return {&a.scrollY, 4};
  }
  if ((obj.kind == Kind::ScrollBar || obj.kind == Kind::Date) && obj.scrollBarData) {
    ScrollBarRecord& b = *obj.scrollBarData;
    if (k == "MIN") return {&b.minimum, 1};
    if (k == "MAX") return {&b.maximum, 2};
    if (k == "PAGELEN" && obj.kind == Kind::ScrollBar) return {&b.pageLength, 3};
  }
  return {};
}

// ---- renaming ------------------------------------------------------------------

bool name_taken(const Ui& ui, const std::string& name) {
  for (const NamedObject* o = ui.first; o; o = o->next)
    if (o->name == name) return true;
  return false;
}

// Renames an object and every reference to it by name (children, splitter
// sides, tab pages, grid/scroll-bar links), so the hierarchy survives. An
// empty or existing name is refused: lookups by name must stay unambiguous.
// So is a name that an object above it still names as its parent: the
// object would become its own ancestor. False when refused.
bool rename_object(Ui& ui, NamedObject& obj, const std::string& newName) {
  if (newName.empty() || name_taken(ui, newName) || closes_parent_cycle(ui, &obj, newName))
    return false;
  const std::string oldName = obj.name;
  unindex_name(ui, &obj);
  obj.name = newName;
  index_name(ui, &obj);
  // The children of both names (orphans may already wait under the new
  // one) become one list, in registry order.
  ui.byParent.erase(oldName);
  ui.byParent.erase(newName);
  for (NamedObject* o = ui.first; o; o = o->next) {
    if (o->parentName == oldName) o->parentName = newName;
    if (o->parentName == newName) ui.byParent[newName].push_back(o);
    if (o->scrollBarData && o->scrollBarData->gridName == oldName)
      o->scrollBarData->gridName = newName;
    if (auto renamed = kind_behaviour(ui, o->kind).renamed) renamed(*o, oldName, newName);
  }
  return true;
}

// Stores the grid's name in the bar and links a grid of that name back to
// the bar.
void link_parent_grid(Ui& ui, NamedObject& bar, const std::string& gridName) {
  bar.scrollBarData->gridName = gridName;
  if (NamedObject* grid = lookup_object(ui, gridName))
    if (auto link = kind_behaviour(ui, grid->kind).scrollBarLinked) link(*grid, bar);
}

// False when the object has no such settable keyword (or refuses the new
// name): nothing changed then.
bool set_object_keyword(Ui& ui, NamedObject& obj, const std::string& k,
                        const std::string& value) {
  if (Field f = common_field(obj, k)) return write_keyword_field(f, value);
  if (k == "NAME") return rename_object(ui, obj, value);
  if (GadgetField f = gadget_field(obj, k); f.field) {
    *f.field = static_cast<int32_t>(parse_keyword_number(value));
    tk_set_gadget_attribute(obj.gadget, f.attribute, *f.field);
    return true;
  }
  if (obj.kind == Kind::ScrollBar && obj.scrollBarData && k == "PARENTGRID") {
    link_parent_grid(ui, obj, value);
    return true;
  }
  const KindBehaviour& behaviour = kind_behaviour(ui, obj.kind);
  if (behaviour.setKeyword && behaviour.setKeyword(ui, obj, k, value)) return true;
  return behaviour.keyword && write_keyword_field(behaviour.keyword(obj, k), value);
}

std::string get_object_keyword(Ui& ui, NamedObject& obj, const std::string& k) {
  if (Field f = common_field(obj, k)) return read_keyword_field(f);
  if (GadgetField f = gadget_field(obj, k); f.field) {
    // The gadget holds the live value (the user moves scroll bars).
    if (tk_gadget_exists(obj.gadget)) *f.field = tk_get_gadget_attribute(obj.gadget, f.attribute);
    return std::to_string(*f.field);
  }
  if (obj.kind == Kind::ScrollBar && obj.scrollBarData && k == "PARENTGRID")
    return obj.scrollBarData->gridName;
  if (auto keyword = kind_behaviour(ui, obj.kind).keyword) return read_keyword_field(keyword(obj, k));
  return {};
}

}  // namespace

// ---- get_attribute / set_attribute ---------------------------------------------

std::string get_attribute(Ui& ui, const std::string& name, const std::string& keyword) {
  if (find_object(ui, name, 0) != 1) return {};
  NamedObject* obj = current_object(ui);
  if (!obj) return {};
  return get_object_keyword(ui, *obj, upper_keyword(keyword));
}

int32_t set_attribute(Ui& ui, const std::string& name, const std::string& keyword,
                      const std::string& value, int8_t redraw) {
  if (find_object(ui, name, 0) != 1) return -1;
  NamedObject* obj = current_object(ui);
  return obj ? set_attribute(ui, *obj, keyword, value, redraw) : -1;
}

int32_t set_attribute(Ui& ui, NamedObject& obj, const std::string& keyword,
                      const std::string& value, int8_t redraw) {
  const bool stored = set_object_keyword(ui, obj, upper_keyword(keyword), value);
  // Drawn as asked also after an unknown keyword: a batch may end with one.
  if (redraw == 1) draw_object(ui, obj);
  return stored ? 0 : -1;
}

}  // namespace zui
