#pragma once
// The grid control: data model, keyword attributes, rendering, scrolling,
// tree rows, mouse and keyboard handling, cell editing.
//
// Sections: model · keyword attributes · rendering · scrolling and moving ·
// tree rows · input · editing.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ui.h"
#include "grid/grid_records.h"

namespace zui {

// Shortcut identifiers of the grid keys.
namespace GridKey {
/// @{ Return commits an editor, Escape cancels it, the arrows move the cursor
/// (with Shift: a page), Space toggles a tree row.
inline constexpr int32_t Return = 1098;
inline constexpr int32_t Escape = 1099;
inline constexpr int32_t Left = 1100;
inline constexpr int32_t Up = 1101;
inline constexpr int32_t Right = 1102;
inline constexpr int32_t Down = 1103;
inline constexpr int32_t PageLeft = 1104;
inline constexpr int32_t PageUp = 1105;
inline constexpr int32_t PageRight = 1106;
inline constexpr int32_t PageDown = 1107;
inline constexpr int32_t Space = 1108;
/// @}
inline constexpr int32_t First = 1109;  // Ctrl+Home: the first row
inline constexpr int32_t Last = 1110;   // Ctrl+End: the last row
inline constexpr int32_t PageUpKey = 1111;    // Page Up: a page up, as Shift+Up
inline constexpr int32_t PageDownKey = 1112;  // Page Down: a page down, as Shift+Down
inline constexpr int32_t RowStart = 1113;     // Home: the row's first column
inline constexpr int32_t RowEnd = 1114;       // End: the row's last column
}  // namespace GridKey

// ---- creation --------------------------------------------------------------
// Installs the grid's kind behaviour in the context; every creation of a
// grid does it first.
void register_grid_kind(Ui& ui);
// Creates a grid (gadget number, 0 when nothing was made).
int32_t create_grid(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, int32_t image, int8_t pieceSize, const std::string& parent);

// ---- model -----------------------------------------------------------------
/// Inserts a column at `index` (-1 appends) with its caption, width, input
/// type (InputType), orientation (0 left, 1 right, 2 centred) and summary;
/// `cellTexts` holds the existing rows' new cells, one per line. Returns 1,
/// 0 for an unknown grid. redraw 1 draws at once.
int32_t add_column(Ui& ui, const std::string& grid, int16_t index, const std::string& caption,
                   int16_t width, int8_t inputType, int8_t orientation, int8_t summary,
                   const std::string& cellTexts, int8_t redraw);
/// Inserts a row at `index` (-1 appends) with its caption, height, tree
/// level, cells (one per line of `cellTexts`, in column order) and key.
/// Returns 1, 0 for an unknown grid. redraw 1 draws at once.
int32_t add_row(Ui& ui, const std::string& grid, int32_t index, const std::string& caption,
                int8_t height, int8_t level, const std::string& cellTexts,
                const std::string& key, int8_t redraw);
/// Makes room for `rows` rows in all, so that adding up to that many moves
/// no row already there (a large load that knows its size does it first).
/// Returns 1, 0 for an unknown grid or more cells than a grid counts.
int32_t reserve_grid_rows(Ui& ui, const std::string& grid, int32_t rows);
/// Removes a row with its cells; 1 when it existed.
int32_t delete_row(Ui& ui, const std::string& grid, int32_t row, int8_t redraw);
/// Removes every row (and, with withColumns 1, every column).
int32_t clear_grid(Ui& ui, const std::string& grid, int8_t withColumns);
/// Puts the cursor on a cell; redraw 1 draws at once. 0 for a cell outside the grid.
int32_t set_cursor(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                   int32_t redraw);
/// The same for a given grid object.
int32_t set_cursor(Ui& ui, NamedObject& grid, int16_t column, int32_t row, int32_t redraw);
/// Sets a cell's text, image, text and background colour (-1 keeps one).
int32_t set_cell(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                 const std::string& text, int32_t image, int32_t fontColor, int32_t bgColor);
/// The same for a given grid object.
int32_t set_cell(Ui& ui, NamedObject& grid, int16_t column, int32_t row, const std::string& text,
                 int32_t image, int32_t fontColor, int32_t bgColor);
/// A cell's text, empty outside the grid.
std::string get_cell_text(Ui& ui, const std::string& grid, int16_t column, int32_t row);
/// The cursor's column.
int16_t grid_cursor_column(Ui& ui, const std::string& grid);
/// The cursor's row.
int32_t grid_cursor_row(Ui& ui, const std::string& grid);
/// Number of rows.
int32_t grid_row_count(Ui& ui, const std::string& grid);
/// Number of columns.
int16_t grid_column_count(Ui& ui, const std::string& grid);
// Releases a grid's rows, cells, expanders (with their images) and, with
// withColumns, its columns; used by clear_grid and free_object.
void clear_grid_records(GridRecord& grid, bool withColumns);

// ---- keyword attributes ----------------------------------------------------
// The grid's own keywords are get_attribute's and set_attribute's. The part
// setters return 0 when the value was stored and -1 when nothing changed (no
// such grid, part or keyword); redraw 1 draws the found grid either way.
/// A column's keyword attribute as text, empty for none. Keywords (any
/// case): WIDTH, ORIENTATION (0 left, 1 right, 2 centred), SUMMARY, CAPTION,
/// INPUTTYPE (0 not editable), LOCK, MARGINLEFT, LISTALLOWEDVALUES,
/// INPUTHEIGHT (0 = the row's height), BGCOLOR (-1 none).
std::string get_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                                 const std::string& keyword);
/// Sets a column's keyword attribute; redraw 1 draws at once. 0 or -1.
int32_t set_column_attribute(Ui& ui, const std::string& grid, int16_t column,
                             const std::string& keyword, const std::string& value,
                             int8_t redraw);
/// A row's keyword attribute as text, empty for none. Keywords: CAPTION,
/// HEIGHT (a row takes at least one pixel, whatever is stored), LEVEL,
/// ISPARENT (0 no children, 1 closed, 16 open, 64 open without expander),
/// PARENT, VORIENTATION (0 top, 1 bottom, 2 centred), LOCK, DATA, BGCOLOR,
/// KEY.
std::string get_row_attribute(Ui& ui, const std::string& grid, int32_t row,
                              const std::string& keyword);
/// Sets a row's keyword attribute; redraw 1 draws at once. 0 or -1.
int32_t set_row_attribute(Ui& ui, const std::string& grid, int32_t row,
                          const std::string& keyword, const std::string& value, int8_t redraw);
/// A cell's keyword attribute as text, empty for none. Keywords: LOCK,
/// IMAGE (set only to an existing image, else -1), FONTCOLOR, BGCOLOR.
std::string get_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                               const std::string& keyword);
/// Sets a cell's keyword attribute; redraw 1 draws at once. 0 or -1.
int32_t set_cell_attribute(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                           const std::string& keyword, const std::string& value,
                           int8_t redraw);

// ---- rendering -------------------------------------------------------------
// Drawing and every mouse hit read the grid's layout (grid/grid_layout.h),
// whose rows come from RowWalk (grid/row_walk.h). Draws the grid into its
// canvas, then the grid keeps what was drawn, places its editor, ranges its
// scroll bars and tells screen readers; nothing for another kind of object.
void render_grid(Ui& ui, NamedObject& grid);
// Draws a tree row's expander at (x, y) while a drawing is in progress.
// Idle or hovered, the frame (0 collapsed, 2 collapsed and hovered, 4 open,
// 6 open and hovered) is cut anew from the strip into frameImage; while an
// animation runs the frameImage set by the animation step is shown.
void draw_expander(ExpanderRecord& expander, const RowRecord& row, int32_t iconSize, int32_t x,
                   int32_t y);

// ---- scrolling and moving --------------------------------------------------
// Creates the grid's horizontal (vertical == 0) or vertical scroll bar.
void create_grid_scroll_bar(Ui& ui, const std::string& grid, int8_t vertical);
// Enables/disables and ranges the grid's bars after a drawing that ended at
// endX (x after the last shown row's last column) and endY (y after the last
// drawn row). The bars are reached by name, so one of them may be the
// current object afterwards.
void update_grid_scroll_bars(Ui& ui, NamedObject& grid, int32_t endX, int32_t endY);
// The last position a scroll bar offers over items of these sizes (column
// widths or shown rows' heights, in order) in `room` pixels: the first item
// from which all the rest fit, or the last item when even it alone does not
// fit; 0 without items.
int32_t last_scroll_position(const std::vector<int32_t>& sizes, int32_t room);

// ---- tree rows -------------------------------------------------------------
// Gives cell `cell` of the grid an expander (reusing its record).
void attach_expander(NamedObject& grid, int32_t cell, int8_t style, const std::string& text);
// Opens or closes the tree row of (column, row) when that cell has an expander.
void toggle_expander(GridRecord& grid, int16_t column, int32_t row);
// Sets an expander's state and keeps GridRecord::activeExpanders (the
// expanders with a state above 0) in step with it.
void set_expander_state(GridRecord& grid, ExpanderRecord& expander, int8_t state);
// The strip shared by the grid's expanders (GridRecord::expanderStrip),
// cut from the source image when it does not exist yet; 0 without a source.
int32_t grid_expander_strip(NamedObject& grid);

// ---- input -----------------------------------------------------------------
/// The mouse at a window position over the grid with a toolkit event type:
/// moves the cursor, turns expanders, opens the editor on a double-click,
/// scrolls by the arrows and sorts by a caption on a sortable grid. 1 when
/// the grid was drawn anew.
int32_t grid_mouse(Ui& ui, NamedObject& grid, int32_t mouseX, int32_t mouseY, int32_t eventType);
// The mouse has left the grid: the looks it alone gave (the cursor shown
// under it, a hovered expander, a pressed arrow) end. Redraws only when one
// did; returns 1 then, else 0.
int32_t grid_mouse_left(Ui& ui, NamedObject& grid);
/// A grid key (GridKey) while the grid has the keyboard; the event code to report.
int8_t grid_key(Ui& ui, NamedObject& grid, int32_t shortcutId);
/// Moves the cursor one cell (dc, dr of -1, 0, 1) or, in mode 1, a page.
void move_cursor(Ui& ui, NamedObject& grid, int8_t mode, int16_t dc, int16_t dr);
// Moves the cursor to the first (dir < 0) or last (dir > 0) shown row of its
// column that takes it, the view scrolled to show it, and draws.
void move_cursor_to_end(Ui& ui, NamedObject& grid, int8_t dir);
// Moves the cursor to the first (dir < 0) or last (dir > 0) column of its
// row that takes it, the view scrolled sideways to show it, and draws.
void move_cursor_to_row_end(Ui& ui, NamedObject& grid, int8_t dir);
// Whether the grid takes its keys now: it or its editor holds the focus,
// or no gadget that takes typing (an input, a list, another grid's
// editor) does. Where the mouse is plays no part.
bool grid_takes_keys(const NamedObject& grid);
// The grid's keys in its own window (only Return and Escape while its
// editor is open); none when the grid takes no keyboard control.
void install_grid_shortcuts(Ui& ui, NamedObject& grid);
// Takes the grid keys out of the grid's window (Escape stays with keepEscape).
void remove_grid_shortcuts(Ui& ui, const NamedObject& grid, int8_t keepEscape);
/// Advances the grid's turning expanders when their interval has passed.
void step_expanders(Ui& ui, NamedObject& grid);

// ---- sorting ---------------------------------------------------------------
/// Lets a left click on a column caption sort the grid by that column
/// (sortable 1): ascending first, descending when the same caption is
/// clicked again. Off (0) by default, when a caption click selects the
/// column. Returns 1, 0 for an unknown grid.
int32_t set_grid_sortable(Ui& ui, const std::string& grid, int8_t sortable);
/// Sorts the grid's rows by `column` in `order` (SortOrder::Ascending or
/// Descending). Whole rows move with their cells; a tree row keeps its
/// children directly under it, sorted among themselves by the same column.
/// Cells that are numbers sort by value, before texts; texts by their UTF-8
/// bytes; equal cells keep their order. The cursor stays on its data row and
/// an open editor commits first. Returns 1, 0 for an unknown grid or column
/// or another order (nothing changes then).
int32_t sort_grid(Ui& ui, const std::string& grid, int16_t column, int8_t order, int8_t redraw);
/// Puts the rows in an order found elsewhere (by a worker thread, say):
/// order[i] is the row that comes to position i. Whole rows move as
/// sort_grid moves them, the cursor stays on its data row and an open editor
/// commits first; the grid counts as unsorted afterwards (sortColumn -1).
/// Returns 1, 0 for an unknown grid or an order that is not a permutation
/// of all rows (nothing changes then).
int32_t order_grid_rows(Ui& ui, const std::string& grid, const std::vector<int32_t>& order,
                        int8_t redraw);
/// The moving part of order_grid_rows on the grid's record alone: it touches
/// nothing else, so a worker thread may do it while the window's thread
/// leaves that grid alone (no dispatch, drawing or call on it) until it is
/// done; the window keeps showing the grid's last picture meanwhile. An open
/// editor must be closed first. False (nothing changes) for an order that is
/// not a permutation of all rows.
bool order_grid_record_rows(GridRecord& grid, const std::vector<int32_t>& order);

// ---- editing ---------------------------------------------------------------
/// Opens the editor of the cell's column over the cell; 1 when it opened.
int32_t open_editor(Ui& ui, const std::string& grid, int16_t column, int32_t row);
/// The same for a given grid object.
int32_t open_editor(Ui& ui, NamedObject& grid, int16_t column, int32_t row);
/// Closes the open editor: cancel 0 writes its value into the cell, 1 drops it.
int32_t close_editor(Ui& ui, const std::string& grid, int8_t cancel);
/// The same for a given grid object.
int32_t close_editor(Ui& ui, NamedObject& grid, int8_t cancel);
// True while the grid's cell editor gadget exists.
bool editor_is_open(const GridRecord& grid);
// Keeps an open editor on its cell as the grid's latest drawing placed it,
// at the grid's present position, and hidden while its cell was not drawn.
// A grid that no longer shows (hidden, or with its tab page) commits and
// closes its editor: nothing typed waits unseen behind another page.
// Cheap when nothing changed; nothing without an editor.
void place_editor(Ui& ui, NamedObject& grid);
// The items a list editor offers: the TAB-separated parts, empty ones skipped.
std::vector<std::string> split_allowed_values(const std::string& values);

}  // namespace zui
