// Widget properties read and written as text through upper-case keywords.
//
// Sections: number parsing and keyword case · field access · object
// keywords (common, scroll area, scroll bar, date, image buttons, grid) ·
// renaming · get_attribute/set_attribute · column, row and cell keywords.
//
// A numeric value is parsed into 64 bits (wrapping, so an overlong digit
// string keeps the true low bits) and stored into the field's width, keeping
// the low bits: 300 in an int8 field reads back as 44. Getters sign-extend.
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

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

namespace {

// Letters a..z and the bytes 224..255 are shifted down by 32.
std::string upper_keyword(const std::string& keyword) {
  std::string out = keyword;
  for (char& ch : out) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte >= 'a' && byte <= 'z') || byte >= 224) ch = static_cast<char>(byte - 32);
  }
  return out;
}

// ---- field access ----------------------------------------------------------------

// One keyword's field: where it lives, its width and whether it reads and
// writes. A default Field means "no such keyword".
struct Field {
  enum Type { None, I8, I16, I32, Text } type = None;
  void* ptr = nullptr;
  bool gettable = true;
  bool settable = true;

  Field() = default;
  Field(int8_t& v) : type(I8), ptr(&v) {}
  Field(int16_t& v) : type(I16), ptr(&v) {}
  Field(int32_t& v) : type(I32), ptr(&v) {}
  Field(std::string& v) : type(Text), ptr(&v) {}

  explicit operator bool() const { return type != None; }
  Field& get_only() { settable = false; return *this; }
};

std::string read_field(const Field& f) {
  if (!f || !f.gettable) return {};
  switch (f.type) {
    case Field::I8: return std::to_string(*static_cast<int8_t*>(f.ptr));
    case Field::I16: return std::to_string(*static_cast<int16_t*>(f.ptr));
    case Field::I32: return std::to_string(*static_cast<int32_t*>(f.ptr));
    case Field::Text: return *static_cast<std::string*>(f.ptr);
    case Field::None: break;
  }
  return {};
}

void write_field(const Field& f, const std::string& value) {
  if (!f || !f.settable) return;
  switch (f.type) {
    case Field::I8: *static_cast<int8_t*>(f.ptr) = static_cast<int8_t>(parse_keyword_number(value)); break;
    case Field::I16: *static_cast<int16_t*>(f.ptr) = static_cast<int16_t>(parse_keyword_number(value)); break;
    case Field::I32: *static_cast<int32_t*>(f.ptr) = static_cast<int32_t>(parse_keyword_number(value)); break;
    case Field::Text: *static_cast<std::string*>(f.ptr) = value; break;
    case Field::None: break;
  }
}

// ---- object keywords -----------------------------------------------------------

Field common_field(NamedObject& obj, const std::string& k) {
  if (k == "CATCHMOUSEOVER") return obj.catchMouseOver;
  if (k == "FRONTCOLOR") return obj.frontColor;
  if (k == "HELPTEXT") return obj.helpText;
  if (k == "CHANGED") return obj.changed;
  return {};
}

Field grid_field(GridRecord& g, const std::string& k) {
  if (k == "GRIDV") return g.gridV;
  if (k == "GRIDH") return g.gridH;
  if (k == "GRIDCOLOR") return g.gridColor;
  if (k == "CAPTCOLHEIGHT") return g.captColHeight;
  if (k == "CAPTROWWIDTH") return g.captRowWidth;
  if (k == "COLCUSTOM") return g.colCustom;
  if (k == "SHOWTREE") return g.showTree;
  if (k == "SELMODE") return g.selMode;
  if (k == "SELFRONTCOLOR") return g.selFrontColor;
  if (k == "BORDERLESS") return g.borderless;
  if (k == "REDRAW") return g.redraw;
  if (k == "PERMANENTCURSOR") return g.permanentCursor;
  if (k == "ENABLEINPUT") return g.enableInput;
  if (k == "SELECTORSTYLE") return g.selectorStyle;
  if (k == "KEYBOARDCONTROL") return g.keyboardControl;
  if (k == "SCROLLX") return g.scrollX;
  if (k == "SCROLLY") return g.scrollY;
  if (k == "ANIMATING") return Field(g.animating).get_only();
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

bool is_image_button(const NamedObject& obj) {
  return (obj.kind == Kind::ImageButton || obj.kind == Kind::SkinnedButton) && obj.buttonData;
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
// object would become its own ancestor.
void rename_object(Ui& ui, NamedObject& obj, const std::string& newName) {
  if (newName.empty() || name_taken(ui, newName) || closes_parent_cycle(ui, &obj, newName))
    return;
  const std::string oldName = obj.name;
  obj.name = newName;
  for (NamedObject* o = ui.first; o; o = o->next) {
    if (o->parentName == oldName) o->parentName = newName;
    if (o->splitterData) {
      if (o->splitterData->firstName == oldName) o->splitterData->firstName = newName;
      if (o->splitterData->secondName == oldName) o->splitterData->secondName = newName;
    }
    if (o->tabData) {
      for (TabEntry& tab : o->tabData->tabs) {
        if (tab.barName == oldName) tab.barName = newName;
        if (tab.pageName == oldName) tab.pageName = newName;
      }
    }
    if (o->scrollBarData && o->scrollBarData->gridName == oldName)
      o->scrollBarData->gridName = newName;
    if (o->gridRecord) {
      if (o->gridRecord->hScrollBar == oldName) o->gridRecord->hScrollBar = newName;
      if (o->gridRecord->vScrollBar == oldName) o->gridRecord->vScrollBar = newName;
    }
  }
}

// Stores the grid's name in the bar and links a grid of that name back to
// the bar. The grid is current afterwards when linked, else the bar again.
void link_parent_grid(Ui& ui, NamedObject& bar, const std::string& gridName) {
  bar.scrollBarData->gridName = gridName;
  if (find_object(ui, gridName, 0) == 1) {
    NamedObject* grid = current_object(ui);
    if (grid && grid->kind == Kind::Grid && grid->gridRecord) {
      if (bar.scrollBarData->vertical == 1) grid->gridRecord->vScrollBar = bar.name;
      else grid->gridRecord->hScrollBar = bar.name;
      return;
    }
  }
  make_current(ui, &bar);
}

void set_object_keyword(Ui& ui, NamedObject& obj, const std::string& k,
                        const std::string& value) {
  if (Field f = common_field(obj, k)) {
    write_field(f, value);
    return;
  }
  if (k == "NAME") {
    rename_object(ui, obj, value);
    return;
  }
  if (GadgetField f = gadget_field(obj, k); f.field) {
    *f.field = static_cast<int32_t>(parse_keyword_number(value));
    tk_set_gadget_attribute(obj.gadget, f.attribute, *f.field);
    return;
  }
  if (obj.kind == Kind::ScrollBar && obj.scrollBarData && k == "PARENTGRID") {
    link_parent_grid(ui, obj, value);
    return;
  }
  if (obj.kind == Kind::Grid && obj.gridRecord) {
    if (k == "SCOLLBARX" || k == "SCOLLBARY") {
      const std::string name = obj.name;
      create_grid_scroll_bar(ui, name, k == "SCOLLBARY" ? 1 : 0);
      return;
    }
    write_field(grid_field(*obj.gridRecord, k), value);
    if (k == "SHOWTREE") row_layout_changed(*obj.gridRecord);
  }
}

std::string get_object_keyword(NamedObject& obj, const std::string& k) {
  if (Field f = common_field(obj, k)) return read_field(f);
  if (GadgetField f = gadget_field(obj, k); f.field) {
    // The gadget holds the live value (the user moves scroll bars).
    if (tk_gadget_exists(obj.gadget)) *f.field = tk_get_gadget_attribute(obj.gadget, f.attribute);
    return std::to_string(*f.field);
  }
  if (obj.kind == Kind::ScrollBar && obj.scrollBarData && k == "PARENTGRID")
    return obj.scrollBarData->gridName;
  if (is_image_button(obj) && k == "ANIMATING") return std::to_string(obj.buttonData->look);
  if (obj.kind == Kind::Grid && obj.gridRecord) return read_field(grid_field(*obj.gridRecord, k));
  return {};
}

// ---- grid parts ----------------------------------------------------------------

ColumnRecord* find_column(GridRecord& g, int32_t column) {
  if (column < 0 || column >= g.columnCount || column >= static_cast<int32_t>(g.columns.size()))
    return nullptr;
  ColumnRecord& c = g.columns[column];
  return c.index == column ? &c : nullptr;
}

RowRecord* find_row(GridRecord& g, int32_t row) {
  if (row < 0 || row >= g.rowCount || row >= static_cast<int32_t>(g.rows.size())) return nullptr;
  return &g.rows[row];
}

CellRecord* find_cell(GridRecord& g, int32_t column, int32_t row) {
  return cell_in_range(g, column, row) ? &cell_at(g, column, row) : nullptr;
}

Field column_field(ColumnRecord& c, const std::string& k) {
  if (k == "WIDTH") return c.width;
  if (k == "ORIENTATION") return c.orientation;
  if (k == "SUMMARY") return c.summary;
  if (k == "CAPTION") return c.caption;
  if (k == "INPUTTYPE") return c.inputType;
  if (k == "LOCK") return c.lock;
  if (k == "MARGINLEFT") return c.marginLeft;
  if (k == "LISTALLOWEDVALUES") return c.allowedValues;
  if (k == "INPUTHEIGHT") return c.inputHeight;
  if (k == "BGCOLOR") return c.bgColor;
  return {};
}

Field row_field(RowRecord& r, const std::string& k) {
  if (k == "CAPTION") return r.caption;
  if (k == "HEIGHT") return r.height;
  if (k == "LEVEL") return r.level;
  if (k == "ISPARENT") return r.isParent;
  if (k == "PARENT") return r.parent;
  if (k == "VORIENTATION") return r.vOrientation;
  if (k == "LOCK") return r.lock;
  if (k == "DATA") return r.data;
  if (k == "BGCOLOR") return r.bgColor;
  if (k == "KEY") return r.key;
  return {};
}

Field cell_field(CellRecord& c, const std::string& k) {
  if (k == "LOCK") return c.lock;
  if (k == "IMAGE") return c.image;
  if (k == "FONTCOLOR") return c.fontColor;
  if (k == "BGCOLOR") return c.bgColor;
  return {};
}

}  // namespace

// ---- get_attribute / set_attribute ---------------------------------------------

std::string get_attribute(Ui& ui, const std::string& name, const std::string& keyword) {
  if (find_object(ui, name, 0) != 1) return {};
  NamedObject* obj = current_object(ui);
  if (!obj) return {};
  return get_object_keyword(*obj, upper_keyword(keyword));
}

int32_t set_attribute(Ui& ui, const std::string& name, const std::string& keyword,
                      const std::string& value, int8_t redraw) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* obj = current_object(ui);
  if (!obj) return 0;
  set_object_keyword(ui, *obj, upper_keyword(keyword), value);
  if (redraw == 1) redraw_object(ui);
  return 0;
}

// ---- column, row and cell keywords ---------------------------------------------

std::string get_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                                 const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  ColumnRecord* c = obj ? find_column(*obj->gridRecord, column) : nullptr;
  return c ? read_field(column_field(*c, upper_keyword(keyword))) : std::string();
}

int32_t set_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                             const std::string& keyword, const std::string& value,
                             int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  ColumnRecord* c = obj ? find_column(*obj->gridRecord, column) : nullptr;
  if (!c) return 0;
  write_field(column_field(*c, upper_keyword(keyword)), value);
  if (redraw == 1) redraw_grid(ui, obj);
  return 0;
}

std::string get_row_attribute(Ui& ui, const std::string& grid, int16_t row,
                              const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  RowRecord* r = obj ? find_row(*obj->gridRecord, row) : nullptr;
  return r ? read_field(row_field(*r, upper_keyword(keyword))) : std::string();
}

int32_t set_row_attribute(Ui& ui, const std::string& grid, int16_t row,
                          const std::string& keyword, const std::string& value, int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  RowRecord* r = obj ? find_row(*obj->gridRecord, row) : nullptr;
  if (!r) return 0;
  const std::string k = upper_keyword(keyword);
  write_field(row_field(*r, k), value);
  // Parent finding for later rows must see the new level.
  if (k == "LEVEL") obj->gridRecord->levelStackValid = false;
  if (k == "LEVEL" || k == "ISPARENT" || k == "HEIGHT") row_layout_changed(*obj->gridRecord);
  if (redraw == 1) redraw_grid(ui, obj);
  return 0;
}

std::string get_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int16_t row,
                               const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  CellRecord* c = obj ? find_cell(*obj->gridRecord, column, row) : nullptr;
  return c ? read_field(cell_field(*c, upper_keyword(keyword))) : std::string();
}

int32_t set_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int16_t row,
                           const std::string& keyword, const std::string& value,
                           int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  CellRecord* c = obj ? find_cell(*obj->gridRecord, column, row) : nullptr;
  if (!c) return 0;
  const std::string k = upper_keyword(keyword);
  if (k == "IMAGE") {
    // Only an existing image replaces the cell's image.
    const auto image = static_cast<int32_t>(parse_keyword_number(value));
    if (tk_image_exists(image)) c->image = image;
  } else {
    write_field(cell_field(*c, k), value);
  }
  if (redraw == 1) redraw_grid(ui, obj);
  return 0;
}
