// The grid's data model: columns, rows, cells and the tree links between rows.
//
// Sections: lookup helpers · expander release · parent finding · add_column ·
// add_row · delete_row · clear_grid · cursor and cells · getters.
//
// Storage is per grid (GridRecord::columns/rows/cells, cells row-major), so
// every "seek" is index arithmetic. The vectors are the truth; the counts are
// kept equal to their sizes after every operation.
//
// Insertion inside the existing range (0 <= index < count) really inserts:
// the new column or row takes that position and the records after it are
// renumbered, so that a column's and a row's `index` always equals its
// position (drawing and the keyword lookups rely on that). Row parent links
// are shifted along. Every caller in the demo appends.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace {

// ---- lookup helpers ----------------------------------------------------------

// The named object when it carries a grid record (add_column, add_row).
NamedObject* find_grid_record(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  NamedObject* obj = current_object(ui);
  return (obj && grid_record(*obj)) ? obj : nullptr;
}

void sync_counts(GridRecord& g) {
  g.columnCount = static_cast<int16_t>(g.columns.size());
  g.rowCount = static_cast<int32_t>(g.rows.size());
  g.cellCount = static_cast<int32_t>(g.cells.size());
}

// Hands out the lines of a cell-texts argument: separated by line feeds
// only (a carriage return stays part of the text); empty once used up. The
// lines are views into the argument, copied once into their cells.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}
  std::string_view next() {
    if (done_) return {};
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) {
      done_ = true;
      return text_.substr(pos_);
    }
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return line;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  bool done_ = false;
};

// Caption width in the window font, measured on the grid's canvas image
// (a scratch image when the grid has none).
int32_t caption_width(Ui& ui, const NamedObject& obj, const std::string& text) {
  int32_t image = obj.canvas ? obj.canvas->canvasImage : 0;
  int32_t scratch = 0;
  if (!tk_image_exists(image)) {
    scratch = tk_create_image(-1, 1, 1);
    image = scratch;
  }
  int32_t width = 0;
  if (tk_start_drawing(tk_image_output(image))) {
    tk_drawing_font(window_font_handle(ui, obj));
    width = tk_text_width(text);
    tk_stop_drawing();
  }
  if (scratch) tk_free_image(scratch);
  return width;
}

// ---- expander release ------------------------------------------------------

// Frees a cell's expander with its images and forgets every pointer to it.
void release_expander(GridRecord& g, CellRecord& cell) {
  ExpanderRecord* e = cell.expander.get();
  if (!e) return;
  if (g.hoveredExpander == e) g.hoveredExpander = nullptr;
  std::erase(g.activeExpanders, e);
  // The grid's shared strip serves the other expanders too; clear_grid frees it.
  if (e->strip && e->strip != g.expanderStrip) tk_free_image(e->strip);
  if (e->frameImage) tk_free_image(e->frameImage);
  cell.expander.reset();
}

// ---- parent finding --------------------------------------------------------
//
// The parent of a row of level L is the nearest earlier row with a level
// below L. levelStack holds the rows that could still be such a parent for a
// row added at the end: strictly increasing levels from bottom to top, each
// row deeper than every row below it. Popping the rows at or above L leaves
// the parent on top; the new row is then pushed. Amortised O(1) per row.

int32_t stack_parent_and_push(GridRecord& g, int32_t row) {
  const int8_t level = g.rows[row].level;
  std::vector<int32_t>& stack = g.levelStack;
  while (!stack.empty() && g.rows[stack.back()].level >= level) stack.pop_back();
  const int32_t parent = stack.empty() ? -1 : stack.back();
  stack.push_back(row);
  return parent;
}

void rebuild_level_stack(GridRecord& g, int32_t rowsBefore) {
  g.levelStack.clear();
  for (int32_t r = 0; r < rowsBefore; ++r) stack_parent_and_push(g, r);
  g.levelStackValid = true;
}

// Backward walk, used where the stack does not describe the rows before `row`
// (an insertion inside the range).
int32_t walk_back_parent(const GridRecord& g, int32_t row) {
  const int8_t level = g.rows[row].level;
  for (int32_t r = row - 1; r >= 0; --r)
    if (g.rows[r].level < level) return r;
  return -1;
}

// Marks row `parent` as a parent: collapsed when it was none, and an
// expander on its first cell. A cell that already has a triangle expander
// keeps it: re-creating it would cut the same strip again for every child.
void mark_parent(NamedObject* obj, GridRecord& g, int32_t parent) {
  RowRecord& p = g.rows[parent];
  if (p.isParent == RowTree::None) p.isParent = RowTree::Collapsed;
  if (g.columnCount <= 0) return;
  const int32_t cell = parent * g.columnCount;
  const ExpanderRecord* e = g.cells[cell].expander.get();
  if (e && e->style == ExpanderStyle::Triangle) return;
  attach_expander(*obj, cell, ExpanderStyle::Triangle, "");
}

}  // namespace

// ---- add_column --------------------------------------------------------------

int32_t add_column(Ui& ui, const std::string& grid, int16_t index, const std::string& caption,
                   int16_t width, int8_t inputType, int8_t orientation, int8_t summary,
                   const std::string& cellTexts, int8_t redraw) {
  NamedObject* obj = find_grid_record(ui, grid);
  if (!obj || grid_record(*obj)->source) return 0;  // a source's columns are its own
  GridRecord& g = *grid_record(*obj);
  const int32_t oldColumns = static_cast<int32_t>(g.columns.size());
  if (oldColumns >= INT16_MAX) return 0;  // columnCount is an int16
  const int32_t pos = (index < 0 || index >= oldColumns) ? oldColumns : index;

  ColumnRecord column;
  column.owner = obj->number;
  column.index = static_cast<int16_t>(pos);
  column.caption = caption;
  column.orientation = orientation;
  column.summary = summary;
  column.width = width;
  column.inputType = inputType;
  g.columns.insert(g.columns.begin() + pos, std::move(column));
  for (size_t c = pos + 1; c < g.columns.size(); ++c) g.columns[c].index = static_cast<int16_t>(c);

  if (!caption.empty() && g.captColHeight == 0) g.captColHeight = 20;
  row_layout_changed(g);  // a first column gives the rows their expander cells

  // One new cell per existing row, rebuilt row by row in one pass.
  const int32_t rows = static_cast<int32_t>(g.rows.size());
  if (rows > 0) {
    LineReader lines(cellTexts);
    CellList cells;
    cells.reserve(static_cast<size_t>(rows) * (oldColumns + 1));
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c <= oldColumns; ++c) {
        if (c == pos) {
          CellRecord cell;
          cell.owner = obj->number;
          cell.text = lines.next();
          cells.push_back(std::move(cell));
        } else {
          const int32_t old = c < pos ? c : c - 1;
          cells.push_back(std::move(g.cells[static_cast<size_t>(r) * oldColumns + old]));
        }
      }
      // A new first column becomes the tree column: the expander moves along.
      if (pos == 0 && oldColumns > 0) {
        CellRecord& first = cells[static_cast<size_t>(r) * (oldColumns + 1)];
        CellRecord& second = cells[static_cast<size_t>(r) * (oldColumns + 1) + 1];
        first.expander = std::move(second.expander);
      }
    }
    g.cells = std::move(cells);
  }
  sync_counts(g);
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

int32_t reserve_grid_rows(Ui& ui, const std::string& grid, int32_t rows) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj || rows < 0 || grid_record(*obj)->source) return 0;
  GridRecord& g = *grid_record(*obj);
  const int64_t cells = int64_t{rows} * std::max<int16_t>(g.columnCount, 1);
  if (cells > INT32_MAX) return 0;
  g.rows.reserve(static_cast<size_t>(rows));
  g.cells.reserve(static_cast<size_t>(cells));
  return 1;
}

// ---- add_row -------------------------------------------------------------------

int32_t add_row(Ui& ui, const std::string& grid, int32_t index, const std::string& caption,
                int8_t height, int8_t level, const std::string& cellTexts,
                const std::string& key, int8_t redraw) {
  NamedObject* obj = find_grid_record(ui, grid);
  if (!obj || grid_record(*obj)->source) return 0;  // a source's rows are its own
  GridRecord& g = *grid_record(*obj);
  const int32_t oldRows = static_cast<int32_t>(g.rows.size());
  if (oldRows >= INT32_MAX / (g.columnCount + 1)) return 0;  // cellCount must stay an int32
  const bool append = index < 0 || index >= oldRows;
  const int32_t pos = append ? oldRows : index;

  RowRecord row;
  row.owner = obj->number;
  row.index = static_cast<int32_t>(pos);
  row.caption = caption;
  row.key = key.empty() ? std::to_string(pos) : key;
  row.height = height;
  row.level = level > 0 ? level : 0;

  row_layout_changed(g);
  if (!caption.empty()) {
    const int32_t wanted = caption_width(ui, *obj, caption) + 15;
    if (g.captRowWidth < wanted) g.captRowWidth = static_cast<int16_t>(wanted);
  }

  // The row's cells, made in place when the row is appended.
  const int32_t columns = g.columnCount;
  LineReader lines(cellTexts);
  const auto fill = [&](CellRecord& cell) {
    cell.owner = obj->number;
    cell.fontColor = obj->frontColor;
    cell.text = lines.next();
  };

  if (append) {
    if (!g.levelStackValid) rebuild_level_stack(g, oldRows);
    g.rows.push_back(std::move(row));
    for (int32_t c = 0; c < columns; ++c) fill(g.cells.emplace_back());
    sync_counts(g);
    const int32_t parent = stack_parent_and_push(g, pos);
    if (level > 0 && parent >= 0) {
      g.rows[pos].parent = g.rows[parent].index;
      mark_parent(obj, g, parent);
    }
  } else {
    std::vector<CellRecord> newCells(columns);
    for (CellRecord& cell : newCells) fill(cell);
    g.rows.insert(g.rows.begin() + pos, std::move(row));
    g.cells.insert(g.cells.begin() + static_cast<ptrdiff_t>(pos) * columns,
                   std::make_move_iterator(newCells.begin()),
                   std::make_move_iterator(newCells.end()));
    for (size_t r = pos + 1; r < g.rows.size(); ++r) {
      RowRecord& later = g.rows[r];
      later.index = static_cast<int32_t>(r);
      if (later.parent >= pos) ++later.parent;
    }
    sync_counts(g);
    g.levelStackValid = false;
    if (level > 0) {
      const int32_t parent = walk_back_parent(g, pos);
      if (parent >= 0) {
        g.rows[pos].parent = g.rows[parent].index;
        mark_parent(obj, g, parent);
      }
    }
  }
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

// ---- delete_row ----------------------------------------------------------------
//
// Later rows are renumbered and parent links shifted. Rows whose parent was
// the deleted row are linked again the way add_row would link them now: to
// the nearest earlier row with a lower level (marked as a parent).

int32_t delete_row(Ui& ui, const std::string& grid, int32_t row, int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj || grid_record(*obj)->source) return 0;
  GridRecord& g = *grid_record(*obj);
  if (row < 0 || row >= g.rowCount) return 0;

  row_layout_changed(g);
  const int32_t columns = g.columnCount;
  const size_t firstCell = static_cast<size_t>(row) * columns;
  for (int32_t c = 0; c < columns && firstCell + c < g.cells.size(); ++c)
    release_expander(g, g.cells[firstCell + c]);
  g.cells.erase(g.cells.begin() + static_cast<ptrdiff_t>(firstCell),
                g.cells.begin() + static_cast<ptrdiff_t>(std::min(firstCell + columns,
                                                                  g.cells.size())));
  g.rows.erase(g.rows.begin() + row);
  sync_counts(g);

  std::vector<int32_t> orphans;
  for (size_t r = row; r < g.rows.size(); ++r) {
    RowRecord& later = g.rows[r];
    later.index = static_cast<int32_t>(r);
    if (later.parent == row) orphans.push_back(static_cast<int32_t>(r));
    else if (later.parent > row) --later.parent;
  }
  // One pass over all rows rebuilds the level stack and answers the orphans.
  g.levelStack.clear();
  size_t next = 0;
  for (int32_t r = 0; r < g.rowCount; ++r) {
    const int32_t parent = stack_parent_and_push(g, r);
    if (next < orphans.size() && orphans[next] == r) {
      ++next;
      RowRecord& child = g.rows[r];
      child.parent = -1;
      if (child.level > 0 && parent >= 0) {
        child.parent = g.rows[parent].index;
        mark_parent(obj, g, parent);
      }
    }
  }
  g.levelStackValid = true;

  if (redraw == 1) redraw_grid(ui, *obj);
  return 0;
}

// ---- clear_grid ----------------------------------------------------------------

namespace {

// Lets go of a grid's data source and what it kept for it; the grid is a
// record grid afterwards.
void release_source(GridRecord& g) {
  g.source.reset();
  g.sourceOrder = {};
  g.sourceClosed = {};
  g.sourceHidden = {};
  g.sourceHiddenTotal = 0;
  if (g.sourceExpander.frameImage) tk_free_image(g.sourceExpander.frameImage);
  g.sourceExpander = ExpanderRecord{};
}

}  // namespace

void clear_grid_records(GridRecord& g, bool withColumns) {
  row_layout_changed(g);
  for (CellRecord& cell : g.cells) release_expander(g, cell);
  // No expander is left to share the strip: it goes once, here. The next
  // expander cuts a new one.
  if (g.expanderStrip) tk_free_image(g.expanderStrip);
  g.expanderStrip = 0;
  g.cells.clear();
  g.rows.clear();
  if (withColumns) g.columns.clear();
  release_source(g);
  g.hoveredExpander = nullptr;
  g.activeExpanders.clear();
  g.levelStack.clear();
  g.levelStackValid = true;
  sync_counts(g);
}

int32_t clear_grid(Ui& ui, const std::string& grid, int8_t withColumns) {
  NamedObject* obj = find_grid(ui, grid);
  if (obj) clear_grid_records(*grid_record(*obj), withColumns == 1);
  return 0;
}

// ---- cursor and cells ----------------------------------------------------------

int32_t set_cursor(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                   int32_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? set_cursor(ui, *obj, column, row, redraw) : 0;
}

int32_t set_cursor(Ui& ui, NamedObject& grid, int16_t column, int32_t row, int32_t redraw) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);
  if (!cell_in_range(g, column, row)) return 0;
  g.cursorColumn = g.selectionEndColumn = column;
  g.cursorRow = g.selectionEndRow = row;
  obj->text = grid_cell_string(g, column, row);
  if (redraw == 1) redraw_grid(ui, *obj);
  return 0;
}

int32_t set_cell(Ui& ui, const std::string& grid, int16_t column, int32_t row,
                 const std::string& text, int32_t image, int32_t fontColor, int32_t bgColor) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? set_cell(ui, *obj, column, row, text, image, fontColor, bgColor) : 0;
}

int32_t set_cell(Ui& ui, NamedObject& grid, int16_t column, int32_t row, const std::string& text,
                 int32_t image, int32_t fontColor, int32_t bgColor) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj)) return 0;
  GridRecord& g = *grid_record(*obj);
  if (!cell_in_range(g, column, row)) return 0;
  if (g.source) {
    // The text goes to the source, which may refuse it; looks are its own.
    if (g.source->set_cell_text(column, source_row_of(g, row), text)) redraw_grid(ui, *obj);
    return 0;
  }
  CellRecord& cell = cell_at(g, column, row);
  cell.text = text;
  if (image > -1) cell.image = image;
  if (fontColor > -1) cell.fontColor = fontColor;
  if (bgColor > -1) cell.bgColor = bgColor;
  redraw_grid(ui, *obj);
  return 0;
}

std::string get_cell_text(Ui& ui, const std::string& grid, int16_t column, int32_t row) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj) return {};
  GridRecord& g = *grid_record(*obj);
  if (!cell_in_range(g, column, row)) return {};
  return grid_cell_string(g, column, row);
}

// ---- getters -------------------------------------------------------------------

int16_t grid_cursor_column(Ui& ui, const std::string& grid) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? grid_record(*obj)->cursorColumn : 0;
}

int32_t grid_cursor_row(Ui& ui, const std::string& grid) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? grid_record(*obj)->cursorRow : 0;
}

int32_t grid_row_count(Ui& ui, const std::string& grid) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? grid_record(*obj)->rowCount : 0;
}

int16_t grid_column_count(Ui& ui, const std::string& grid) {
  NamedObject* obj = find_grid(ui, grid);
  return obj ? grid_record(*obj)->columnCount : 0;
}
