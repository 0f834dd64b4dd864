// The grid's keyword attributes: the grid's own keywords (through its kind
// behaviour) and the keywords of its columns, rows and cells.
//
// Sections: grid keywords · grid parts · the grid's keyword hooks · column,
// row and cell keywords.
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace {

using Field = KeywordField;

// ---- grid keywords ---------------------------------------------------------------

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
  if (k == "ROWHEIGHT") return g.sourceRowHeight;
  if (k == "ANIMATING") return Field(g.animating).get_only();
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
  return !g.source && cell_in_range(g, column, row) ? &cell_at(g, column, row) : nullptr;
}

// A source cell's keyword, read from the source's look; empty for none.
std::string source_cell_field(const GridRecord& g, int16_t column, int32_t row,
                              const std::string& k) {
  if (!g.source || !cell_in_range(g, column, row)) return {};
  const GridSourceLook look = g.source->cell_look(column, source_row_of(g, row));
  if (k == "LOCK") return std::to_string(look.lock);
  if (k == "IMAGE") return std::to_string(look.image);
  if (k == "FONTCOLOR") return std::to_string(look.fontColor);
  if (k == "BGCOLOR") return std::to_string(look.bgColor);
  return {};
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

// ---- the grid's keyword hooks ----------------------------------------------------

KeywordField grid_keyword(NamedObject& obj, const std::string& k) {
  GridRecord* g = grid_record(obj);
  return g ? grid_field(*g, k) : KeywordField{};
}

bool set_grid_keyword(Ui& ui, NamedObject& obj, const std::string& k, const std::string& value) {
  GridRecord* g = grid_record(obj);
  if (!g) return false;
  // The original keywords lack an R; both spellings create the bar.
  const bool horizontalBar = k == "SCOLLBARX" || k == "SCROLLBARX";
  if (horizontalBar || k == "SCOLLBARY" || k == "SCROLLBARY") {
    const std::string name = obj.name;
    create_grid_scroll_bar(ui, name, horizontalBar ? 0 : 1);
    return true;
  }
  if (k != "SHOWTREE" && k != "ROWHEIGHT") return false;
  write_keyword_field(grid_field(*g, k), value);
  row_layout_changed(*g);
  return true;
}

void grid_renamed(NamedObject& obj, const std::string& oldName, const std::string& newName) {
  GridRecord* g = grid_record(obj);
  if (!g) return;
  if (g->hScrollBar == oldName) g->hScrollBar = newName;
  if (g->vScrollBar == oldName) g->vScrollBar = newName;
}

void grid_scroll_bar_linked(NamedObject& obj, const NamedObject& bar) {
  GridRecord* g = grid_record(obj);
  if (!g || !bar.scrollBarData) return;
  if (bar.scrollBarData->vertical == 1) g->vScrollBar = bar.name;
  else g->hScrollBar = bar.name;
}

// ---- column, row and cell keywords ---------------------------------------------

std::string get_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                                 const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  ColumnRecord* c = obj ? find_column(*grid_record(*obj), column) : nullptr;
  return c ? read_keyword_field(column_field(*c, upper_keyword(keyword))) : std::string();
}

int32_t set_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                             const std::string& keyword, const std::string& value,
                             int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  ColumnRecord* c = obj ? find_column(*grid_record(*obj), column) : nullptr;
  if (!c) return -1;
  const bool stored = write_keyword_field(column_field(*c, upper_keyword(keyword)), value);
  if (redraw == 1) redraw_grid(ui, *obj);
  return stored ? 0 : -1;
}

std::string get_row_attribute(Ui& ui, const std::string& grid, int32_t row,
                              const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  RowRecord* r = obj ? find_row(*grid_record(*obj), row) : nullptr;
  return r ? read_keyword_field(row_field(*r, upper_keyword(keyword))) : std::string();
}

int32_t set_row_attribute(Ui& ui, const std::string& grid, int32_t row,
                          const std::string& keyword, const std::string& value, int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  RowRecord* r = obj ? find_row(*grid_record(*obj), row) : nullptr;
  if (!r) return -1;
  const std::string k = upper_keyword(keyword);
  const bool stored = write_keyword_field(row_field(*r, k), value);
  // Parent finding for later rows must see the new level.
  if (k == "LEVEL") grid_record(*obj)->levelStackValid = false;
  if (k == "LEVEL" || k == "ISPARENT" || k == "HEIGHT") row_layout_changed(*grid_record(*obj));
  if (redraw == 1) redraw_grid(ui, *obj);
  return stored ? 0 : -1;
}

std::string get_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                               const std::string& keyword) {
  NamedObject* obj = find_grid(ui, grid);
  if (obj && grid_record(*obj)->source)
    return source_cell_field(*grid_record(*obj), column, row, upper_keyword(keyword));
  CellRecord* c = obj ? find_cell(*grid_record(*obj), column, row) : nullptr;
  return c ? read_keyword_field(cell_field(*c, upper_keyword(keyword))) : std::string();
}

int32_t set_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                           const std::string& keyword, const std::string& value,
                           int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  CellRecord* c = obj ? find_cell(*grid_record(*obj), column, row) : nullptr;
  if (!c) return -1;
  const std::string k = upper_keyword(keyword);
  bool stored = false;
  if (k == "IMAGE") {
    // Only an existing image replaces the cell's image.
    const auto image = static_cast<int32_t>(parse_keyword_number(value));
    stored = tk_image_exists(image) != 0;
    if (stored) c->image = image;
  } else {
    stored = write_keyword_field(cell_field(*c, k), value);
  }
  if (redraw == 1) redraw_grid(ui, *obj);
  return stored ? 0 : -1;
}
