// Tree rows: the expander of a parent row's first cell, and opening and
// closing a row.
//
// Sections: expander state bookkeeping · the shared strip · attach_expander ·
// toggle_expander.
//
// Which rows are shown is decided by the one row walk (grid/row_walk.h);
// the animation step is step_expanders (input.cpp).
#include <cassert>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace {

// Frames in a strip: more than the 15 ever shown, as the skin layout
// reserves them; the grab fills what lies past the source with black.
constexpr int32_t kStripFrames = 50;

}  // namespace

// ---- expander state bookkeeping ----------------------------------------------

void set_expander_state(GridRecord& grid, ExpanderRecord& expander, int8_t state) {
  const bool wasActive = expander.state > ExpanderState::Idle;
  const bool isActive = state > ExpanderState::Idle;
  expander.state = state;
  if (wasActive && !isActive)
    std::erase(grid.activeExpanders, &expander);
  else if (!wasActive && isActive)
    grid.activeExpanders.push_back(&expander);
}

// ---- the shared strip ----------------------------------------------------------
//
// Every expander of a grid shows frames of the same strip (row 1 of the same
// source image), so the strip is cut once per grid instead of once per
// parent row: a tree with many parents would otherwise hold one
// 50-frame image per parent.

int32_t grid_expander_strip(NamedObject& grid) {
  NamedObject* obj = &grid;
  if (!grid_record(*obj) || !obj->canvas) return 0;
  GridRecord& g = *grid_record(*obj);
  if (tk_image_exists(g.expanderStrip)) return g.expanderStrip;

  const int32_t lost = g.expanderStrip;
  const int32_t s = obj->canvas->iconSize;
  g.expanderStrip =
      s > 0 ? tk_grab_image_region(obj->canvas->sourceImage, -1, 0, s, kStripFrames * s, s) : 0;
  // A strip that vanished under the expanders (freed elsewhere) is replaced
  // for all of them, so none keeps drawing from a dead image. Image numbers
  // are never reused, so the comparison is safe.
  if (lost != 0) {
    const size_t columns = g.columns.size();
    for (size_t cell = 0; columns > 0 && cell < g.cells.size(); cell += columns) {
      ExpanderRecord* e = g.cells[cell].expander.get();
      if (e && e->strip == lost) e->strip = g.expanderStrip;
    }
  }
  return g.expanderStrip;
}

// ---- attach_expander -------------------------------------------------------------

void attach_expander(NamedObject& grid, int32_t cell, int8_t style, const std::string& text) {
  GridRecord* g = grid_record(grid);
  assert(g && "attach_expander needs a grid");
  if (!g || cell < 0 || static_cast<size_t>(cell) >= g->cells.size()) return;

  row_layout_changed(*g);
  CellRecord& c = g->cells[cell];
  if (!c.expander) c.expander = std::make_unique<ExpanderRecord>();
  ExpanderRecord& e = *c.expander;
  e.style = style;
  if (style == ExpanderStyle::Triangle) {
    e.mode = ExpanderMode::ByState;
    set_expander_state(*g, e, ExpanderState::Idle);
    e.interval = 50;
    e.firstFrame = 8;
    e.lastFrame = 14;
  }
  if (e.strip != 0 && e.strip != g->expanderStrip) tk_free_image(e.strip);
  e.strip = grid_expander_strip(grid);
  e.text = text;
}

// ---- toggle_expander ---------------------------------------------------------------
//
// The row's tree state changes at once (the next drawing shows or hides the
// subtree); the icon turns over the following animation steps.

void toggle_expander(GridRecord& grid, int16_t column, int32_t row) {
  GridRecord* g = &grid;
  if (g->source) {
    // A source row turns at once: it keeps no expander to animate.
    if (column == 0 && g->showTree == 1 && cell_in_range(*g, column, row))
      toggle_source_row(*g, row);
    return;
  }
  if (!cell_in_range(*g, column, row) || !cell_at(*g, column, row).expander) return;

  row_layout_changed(*g);
  ExpanderRecord& e = *cell_at(*g, column, row).expander;
  RowRecord& r = g->rows[row];
  if (r.isParent < RowTree::Expanded) {
    set_expander_state(*g, e, ExpanderState::Expanding);
    e.frame = e.firstFrame;
    r.isParent = RowTree::Expanded;
  } else {
    set_expander_state(*g, e, ExpanderState::Collapsing);
    e.frame = e.lastFrame;
    r.isParent = RowTree::Collapsed;
  }
  g->animating = 1;
}
