#pragma once
// A grid over a data source: the program answers for the cells the grid
// draws, hit-tests or edits, and the grid keeps no record per cell or row.
//
// Everything else works as for a record grid: captions, colours, cursor and
// selection, keys, mouse, wheel, scroll bars and arrows, locks, in-place
// editing, screen readers. What differs:
// - every row is as high as the grid's ROWHEIGHT keyword (20 by default),
//   which makes paging and Ctrl+End cost the same at any row count;
// - rows have no captions nor keywords of their own: get_row_attribute
//   answers empty and set_row_attribute -1; cell keywords are read from
//   GridSource::cell_look and cannot be set (-1);
// - columns are records made from the source when it is attached; their
//   keywords work as a record grid's (INPUTTYPE makes them editable);
// - add_row, delete_row, add_column and reserve_grid_rows refuse (0);
//   clear_grid lets go of the source;
// - a caption click on a sortable source grid is reported as on a grid that
//   is not sortable: sorting ten million rows belongs on a worker thread,
//   whose order set_grid_source_order then shows;
// - a parent row (one whose next row lies deeper) shows an expander while
//   SHOWTREE is 1 and opens or closes at once, without an animation.
//
// Sections: the source interface · attaching and refreshing · ordering.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ui.h"

// ---- the source interface --------------------------------------------------

/// What a source may say of one cell beyond its text; the defaults are a
/// record cell's.
struct GridSourceLook {
  int32_t fontColor = -1;  ///< text colour, -1 the grid's
  int32_t bgColor = -1;    ///< background colour, -1 none
  int32_t image = 0;       ///< image number drawn in the cell, 0 none
  int8_t lock = 0;         ///< 1: the cell takes no editor
};

/// The program's side of a source grid. Rows are the source's own numbers
/// (0 .. row_count() - 1): when the grid shows them in another order (a
/// sort), it maps its positions to source rows before asking. The grid asks
/// on the window's thread only, and only for rows it draws, hit-tests,
/// edits, copies or reads to a screen reader.
class GridSource {
 public:
  virtual ~GridSource() = default;
  /// Number of rows now; may grow between drawings (a file still being
  /// indexed), after which the program calls refresh_grid_source.
  virtual int32_t row_count() const = 0;
  /// Number of columns; fixed while the source is attached.
  virtual int16_t column_count() const = 0;
  /// A column's caption.
  virtual std::string caption(int16_t column) const = 0;
  /// A column's width in pixels at scale 1.
  virtual int16_t column_width(int16_t column) const {
    (void)column;
    return 100;
  }
  /// A column's orientation: 0 left, 1 right, 2 centred.
  virtual int8_t column_orientation(int16_t column) const {
    (void)column;
    return 0;
  }
  /// A cell's text. The answer may point into the source's own storage or
  /// into `scratch`, and must stay valid until the next call.
  virtual std::string_view cell_text(int16_t column, int32_t row, std::string& scratch) const = 0;
  /// A cell's colours, image and lock.
  virtual GridSourceLook cell_look(int16_t column, int32_t row) const {
    (void)column;
    (void)row;
    return {};
  }
  /// A row's tree level (0 top). A row whose next row lies deeper is a
  /// parent; it shows its children until a person closes it, so only the
  /// rows someone closed cost the grid any memory.
  virtual int8_t row_level(int32_t row) const {
    (void)row;
    return 0;
  }
  /// A committed edit of a cell (an editor's or set_cell's): true when the
  /// source took the text (the grid then draws it), false when it refused
  /// (the cell keeps its text).
  virtual bool set_cell_text(int16_t column, int32_t row, std::string_view text) {
    (void)column;
    (void)row;
    (void)text;
    return false;
  }
};

// ---- attaching and refreshing ----------------------------------------------

/// Gives the grid a source in place of its records: its rows, cells and
/// columns are released, the columns come from the source, the cursor goes
/// to the first cell. nullptr turns the grid back into an empty record grid.
/// Returns 1, 0 for an unknown grid.
int32_t set_grid_source(Ui& ui, const std::string& grid, std::shared_ptr<GridSource> source);
/// The source of a grid, nullptr for a record grid or an unknown name.
GridSource* grid_source(Ui& ui, const std::string& grid);
/// Takes in what changed in the source (more rows, changed texts): the
/// grid asks for its row count anew and, with redraw 1, draws; a cursor
/// past fewer rows comes to the last. Returns 1,
/// 0 for an unknown grid or one without a source.
int32_t refresh_grid_source(Ui& ui, const std::string& grid, int8_t redraw);

// ---- ordering --------------------------------------------------------------

/// Shows a source grid's rows in an order found elsewhere (a worker's sort):
/// order[i] is the source row shown at position i; an empty order shows the
/// source's own. Rows the source adds later show after the ordered ones.
/// The cursor stays on its source row, an open editor commits first and
/// every closed tree row opens (its position no longer names it; give a
/// tree source an order that keeps children under their parents). Costs
/// 4 bytes a row. Returns 1, 0 for an
/// unknown grid, a record grid or an order that is not a permutation of all
/// rows (nothing changes then).
int32_t set_grid_source_order(Ui& ui, const std::string& grid, std::vector<int32_t> order,
                              int8_t redraw);
/// The source row shown at a position, -1 outside the grid.
int32_t grid_source_row(Ui& ui, const std::string& grid, int32_t position);
