#pragma once
// Typed access to the grid's keyword attributes: the same storage and the
// same rules as get_attribute, set_attribute and the column, row and cell
// keyword calls, but each keyword is an enumerator, so a misspelled one does
// not compile. Setters return what the keyword call returns (0 stored, -1
// nothing changed); getters the value as a number (0 for none) or as text.
#include <cstdint>
#include <string>

#include "framework/ui.h"

/// Attributes of the grid as a whole (get_attribute's grid keywords).
enum class GridAttr : uint8_t {
  GridV, GridH, GridColor, CaptColHeight, CaptRowWidth, ColCustom, ShowTree, SelMode,
  SelFrontColor, Borderless, Redraw, PermanentCursor, EnableInput, SelectorStyle,
  KeyboardControl, ScrollX, ScrollY, Animating, RowHeight,
};
/// A column's attributes.
enum class ColumnAttr : uint8_t {
  Width, Orientation, Summary, Caption, InputType, Lock, MarginLeft, AllowedValues,
  InputHeight, BgColor,
};
/// A row's attributes.
enum class RowAttr : uint8_t {
  Caption, Height, Level, IsParent, Parent, VOrientation, Lock, Data, BgColor, Key,
};
/// A cell's attributes.
enum class CellAttr : uint8_t { Lock, Image, FontColor, BgColor };

/// @{ The keyword an attribute stands for.
const char* keyword_of(GridAttr a);
const char* keyword_of(ColumnAttr a);
const char* keyword_of(RowAttr a);
const char* keyword_of(CellAttr a);
/// @}

/// @{ The grid's own attributes.
int32_t set_grid_attr(Ui& ui, const std::string& grid, GridAttr a, int64_t value, bool redraw = false);
int64_t grid_attr(Ui& ui, const std::string& grid, GridAttr a);
/// @}
/// @{ A column's attributes, as a number or as text.
int32_t set_column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a,
                        int64_t value, bool redraw = false);
int32_t set_column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a,
                        const std::string& text, bool redraw = false);
int64_t column_attr(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a);
std::string column_attr_text(Ui& ui, const std::string& grid, int16_t column, ColumnAttr a);
/// @}
/// @{ A row's attributes, as a number or as text.
int32_t set_row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a, int64_t value,
                     bool redraw = false);
int32_t set_row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a,
                     const std::string& text, bool redraw = false);
int64_t row_attr(Ui& ui, const std::string& grid, int32_t row, RowAttr a);
std::string row_attr_text(Ui& ui, const std::string& grid, int32_t row, RowAttr a);
/// @}
/// @{ A cell's attributes.
int32_t set_cell_attr(Ui& ui, const std::string& grid, int16_t column, int32_t row, CellAttr a,
                      int64_t value, bool redraw = false);
int64_t cell_attr(Ui& ui, const std::string& grid, int16_t column, int32_t row, CellAttr a);
/// @}
