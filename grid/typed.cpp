// Typed grid attributes over the keyword interface (see grid_typed.h).
#include <iterator>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_typed.h"

namespace {

// A keyword value's text as the keyword reader takes it, 0 for none.
int64_t number_of(const std::string& text) { return parse_keyword_number(text); }

template <typename E, std::size_t N>
const char* pick(const char* const (&names)[N], E a) {
  return names[static_cast<std::size_t>(a)];
}

}  // namespace

const char* keyword_of(GridAttr a) {
  static const char* const names[] = {
      "GRIDV",    "GRIDH",         "GRIDCOLOR",  "CAPTCOLHEIGHT",   "CAPTROWWIDTH", "COLCUSTOM",
      "SHOWTREE", "SELMODE",       "SELFRONTCOLOR", "BORDERLESS",   "REDRAW",
      "PERMANENTCURSOR", "ENABLEINPUT", "SELECTORSTYLE", "KEYBOARDCONTROL", "SCROLLX",
      "SCROLLY",  "ANIMATING", "ROWHEIGHT"};
  static_assert(std::size(names) == std::size_t(GridAttr::RowHeight) + 1);
  return pick(names, a);
}

const char* keyword_of(ColumnAttr a) {
  static const char* const names[] = {"WIDTH",      "ORIENTATION",       "SUMMARY",
                                      "CAPTION",    "INPUTTYPE",         "LOCK",
                                      "MARGINLEFT", "LISTALLOWEDVALUES", "INPUTHEIGHT",
                                      "BGCOLOR"};
  static_assert(std::size(names) == std::size_t(ColumnAttr::BgColor) + 1);
  return pick(names, a);
}

const char* keyword_of(RowAttr a) {
  static const char* const names[] = {"CAPTION",      "HEIGHT", "LEVEL", "ISPARENT", "PARENT",
                                      "VORIENTATION", "LOCK",   "DATA",  "BGCOLOR",  "KEY"};
  static_assert(std::size(names) == std::size_t(RowAttr::Key) + 1);
  return pick(names, a);
}

const char* keyword_of(CellAttr a) {
  static const char* const names[] = {"LOCK", "IMAGE", "FONTCOLOR", "BGCOLOR"};
  static_assert(std::size(names) == std::size_t(CellAttr::BgColor) + 1);
  return pick(names, a);
}

int32_t set_grid_attr(Ui& ui, const std::string& grid, GridAttr a, int64_t value, bool redraw) {
  return set_attribute(ui, grid, keyword_of(a), std::to_string(value), redraw ? 1 : 0);
}

int64_t grid_attr(Ui& ui, const std::string& grid, GridAttr a) {
  return number_of(get_attribute(ui, grid, keyword_of(a)));
}

int32_t set_column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a,
                        const std::string& text, bool redraw) {
  return set_column_attribute(ui, grid, column, keyword_of(a), text, redraw ? 1 : 0);
}

int32_t set_column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a,
                        int64_t value, bool redraw) {
  return set_column_attr(ui, grid, column, a, std::to_string(value), redraw);
}

std::string column_attr_text(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a) {
  return get_column_attribute(ui, grid, column, keyword_of(a));
}

int64_t column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a) {
  return number_of(column_attr_text(ui, grid, column, a));
}

int32_t set_row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a,
                     const std::string& text, bool redraw) {
  return set_row_attribute(ui, grid, row, keyword_of(a), text, redraw ? 1 : 0);
}

int32_t set_row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a, int64_t value,
                     bool redraw) {
  return set_row_attr(ui, grid, row, a, std::to_string(value), redraw);
}

std::string row_attr_text(Ui& ui, const std::string& grid, int32_t row, RowAttr a) {
  return get_row_attribute(ui, grid, row, keyword_of(a));
}

int64_t row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a) {
  return number_of(row_attr_text(ui, grid, row, a));
}

int32_t set_cell_attr(Ui& ui, const std::string& grid, int16_t column, int32_t row, CellAttr a,
                      int64_t value, bool redraw) {
  return set_cell_attribute(ui, grid, column, row, keyword_of(a), std::to_string(value),
                            redraw ? 1 : 0);
}

int64_t cell_attr(Ui& ui, const std::string& grid, int16_t column, int32_t row, CellAttr a) {
  return number_of(get_cell_attribute(ui, grid, column, row, keyword_of(a)));
}
