// Grid scroll bars: creation, their place beside the grid, their range.
//
// Sections: helpers · scroll bar creation · scroll bar update · layout.
//
// Bar geometry, for a grid at (x, y) of size W × H with caption row height
// c and bar thickness 18, the same at creation, on move and on resize:
//   vertical   (x + W, y + c), 18 × (H - c - 5)
//   horizontal (x + 5, y + H), (W - 10) × 18
// The bars sit just outside the grid's drawn area. A resize gives the grid
// exactly the new size and puts the bars beside it again, so a grid never
// paints under its own bars and the bars always follow it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace {

constexpr int16_t kBarThickness = 18;
constexpr int16_t kBarRoom = 20;  // what the grid gives up for a bar

// ---- helpers -------------------------------------------------------------------

int16_t clamp16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

// A bar's place and size beside the grid (see the geometry above).
struct BarRect {
  int16_t x, y, width, height;
};

BarRect bar_rect(const NamedObject& grid, bool vertical) {
  const int32_t x = grid.x, y = grid.y, w = grid.width, h = grid.height;
  const int32_t caption = grid_record(grid)->captColHeight;
  if (vertical)
    return {clamp16(x + w), clamp16(y + caption), kBarThickness,
            clamp16(std::max(0, h - caption - 5))};
  return {clamp16(x + 5), clamp16(y + h), clamp16(std::max(0, w - 10)), kBarThickness};
}

// Puts the grid's bars beside it (the grid keeps their names).
void place_bars(Ui& ui, const NamedObject& grid, int8_t apply, bool resize) {
  const GridRecord& g = *grid_record(grid);
  const std::string bars[2] = {g.vScrollBar, g.hScrollBar};
  for (int32_t i = 0; i < 2; ++i) {
    NamedObject* bar = bars[i].empty() ? nullptr : lookup_object(ui, bars[i]);
    if (!bar) continue;
    const BarRect r = bar_rect(grid, i == 0);
    move_object(ui, *bar, r.x, r.y, apply);
    if (resize) resize_object(ui, *bar, r.width, r.height, apply);
  }
}

}  // namespace

// ---- scroll bar creation -------------------------------------------------------
//
// The grid gives up 20 pixels on the bar's side, then the bar is created
// beside it as a child of the grid's parent and linked both ways. A second
// request shrinks the grid again, but the bar's name exists, so no second
// bar appears (the existing one follows the grid).

void create_grid_scroll_bar(Ui& ui, const std::string& name, int8_t vertical) {
  NamedObject* grid = find_grid(ui, name);
  if (!grid) return;

  if (vertical == 1) resize_object(ui, *grid, clamp16(grid->width - kBarRoom), -1, 1);
  else resize_object(ui, *grid, -1, clamp16(grid->height - kBarRoom), 1);

  const BarRect r = bar_rect(*grid, vertical == 1);
  const std::string parent = grid->parentName;
  const std::string bar = name + (vertical == 1 ? "SCROLLV" : "SCROLLH");
  // Creating the bar leaves the bar current, as every creation does; the
  // grid's name brings the grid back, where this operation leaves it.
  const int32_t created = create_scroll_bar(ui, bar, r.x, r.y, r.width, r.height, 0, 0, 1,
                                            vertical == 1 ? 1 : 0, parent);
  if (NamedObject* b = created ? current_object(ui) : nullptr)
    set_attribute(ui, *b, "PARENTGRID", name, 1);
  find_grid(ui, name);
}

// ---- scroll bar update ---------------------------------------------------------
//
// After each drawing: a bar is enabled while something is scrolled away or
// overflows, else disabled (never hidden). A negative scroll position draws
// from the start and counts as not scrolled.
//
// A bar's range ends at the first column or shown row from which all the
// rest fit the grid's inner area, so the thumb at its end shows the last
// column or row whole. (What one drawing showed is a page, not the range:
// with it the rows past the first page could never be reached.) The
// maximum is never below the position, since a bar clamps its position
// into its range and a clamped bar would show the wrong place and scroll
// back when next moved; it is set before the position for the same reason.

int32_t last_scroll_position(const std::vector<int32_t>& sizes, int32_t room) {
  if (sizes.empty()) return 0;
  int64_t used = 0;
  size_t first = sizes.size();
  while (first > 0 && used + std::max(sizes[first - 1], 0) <= room)
    used += std::max(sizes[--first], 0);
  return static_cast<int32_t>(first < sizes.size() ? first : sizes.size() - 1);
}

int32_t last_column_position(const GridRecord& g, int32_t room) {
  std::vector<int32_t> widths;
  widths.reserve(g.columns.size());
  for (const ColumnRecord& c : g.columns) widths.push_back(c.width);
  return last_scroll_position(widths, room);
}

int32_t last_row_position(GridRecord& g, int32_t room) {
  if (g.source) {
    // Rows of one height: as many as fit in the room end the range.
    const int32_t count = source_shown_count(g);
    const int32_t fit = room / std::max<int32_t>(g.sourceRowHeight, 1);
    if (count == 0) return 0;
    return fit <= 0 ? count - 1 : std::max(count - fit, 0);
  }
  if (g.rowRangeGeneration == g.layoutGeneration && g.rowRangeRoom == room) return g.rowRangeLast;
  // Only the last rows decide: walk from the last checkpoint, and from
  // earlier ones while the rows from there on still fit.
  const RowCheckpoints& checkpoints = row_checkpoints(g);
  std::vector<int32_t> heights;
  size_t k = checkpoints.at.size();
  while (k > 0) {
    const RowWalkAnchor& from = checkpoints.at[--k];
    heights.clear();
    int64_t used = 0;
    RowWalk walk(g, 0, INT32_MAX, from);
    while (walk.next()) {
      if (!walk.shown) continue;
      heights.push_back(row_span(g.rows[walk.row]));
      used += heights.back();
    }
    if (used > room) break;
  }
  const int32_t base = checkpoints.at[k].shownCount;
  g.rowRangeGeneration = g.layoutGeneration;
  g.rowRangeRoom = room;
  g.rowRangeLast = heights.empty() ? 0 : base + last_scroll_position(heights, room);
  return g.rowRangeLast;
}

void update_grid_scroll_bars(Ui& ui, NamedObject& gridObject, int32_t endX, int32_t endY) {
  NamedObject* grid = &gridObject;
  if (!grid_record(*grid)) return;
  GridRecord& g = *grid_record(*grid);
  const std::string hBar = g.hScrollBar;
  const std::string vBar = g.vScrollBar;
  const int32_t scrollX = std::max<int32_t>(g.scrollX, 0);
  const int32_t scrollY = std::max<int32_t>(g.scrollY, 0);
  const int32_t w = grid->width, h = grid->height;
  const GridBands bands = grid_bands(g, w, h);

  auto update = [&](const std::string& bar, bool enabled, int32_t position, int32_t maximum) {
    if (bar.empty()) return;
    NamedObject* b = lookup_object(ui, bar);
    if (!b) return;
    if (!enabled) {
      disable_object(ui, *b, 1);
      return;
    }
    disable_object(ui, *b, 0);
    tk_set_gadget_attribute(b->gadget, 2, maximum);
    tk_set_gadget_state(b->gadget, position);
    if (b->scrollBarData) b->scrollBarData->maximum = maximum;
  };
  if (!hBar.empty()) {
    const bool enabled = endX >= w + 10 || scrollX > 0;
    const int32_t last = enabled ? last_column_position(g, bands.rowsArea.right - bands.cellsLeft) : 0;
    update(hBar, enabled, scrollX, std::max(last, scrollX));
  }
  if (!vBar.empty()) {
    const bool enabled = endY >= h || scrollY > 0;
    const int32_t last = enabled ? last_row_position(g, bands.rowsArea.bottom - bands.rowsArea.top) : 0;
    update(vBar, enabled, scrollY, std::max(last, scrollY));
  }
}

// ---- layout --------------------------------------------------------------------

// The grid moved or was resized: its bars follow it.
void grid_layout(Ui& ui, NamedObject& grid, bool resized, int8_t apply) {
  if (grid_record(grid)) place_bars(ui, grid, apply, resized);
}
