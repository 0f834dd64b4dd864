// Grid scroll bars and the move and resize operations by name.
//
// Sections: helpers · scroll bar creation · scroll bar update ·
// move_object · resize_object.
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

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "toolkit/tk.h"

namespace {

constexpr int16_t kBarThickness = 18;
constexpr int16_t kBarRoom = 20;  // what the grid gives up for a bar

// ---- helpers -------------------------------------------------------------------

bool apply_now(Ui& ui, int8_t apply) {
  if (apply == 1) return true;
  const WindowRecord* window = current_window(ui);
  return !window || window->liveUpdate == 1;
}

int16_t clamp16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

// A bar's place and size beside the grid (see the geometry above).
struct BarRect {
  int16_t x, y, width, height;
};

BarRect bar_rect(const NamedObject& grid, bool vertical) {
  const int32_t x = grid.x, y = grid.y, w = grid.width, h = grid.height;
  const int32_t caption = grid.gridRecord->captColHeight;
  if (vertical)
    return {clamp16(x + w), clamp16(y + caption), kBarThickness,
            clamp16(std::max(0, h - caption - 5))};
  return {clamp16(x + 5), clamp16(y + h), clamp16(std::max(0, w - 10)), kBarThickness};
}

// Puts the grid's bars beside it; the grid is current again afterwards.
void place_bars(Ui& ui, NamedObject* grid, int8_t apply, bool resize) {
  const GridRecord& g = *grid->gridRecord;
  const std::string bars[2] = {g.vScrollBar, g.hScrollBar};
  for (int32_t i = 0; i < 2; ++i) {
    if (bars[i].empty()) continue;
    const BarRect r = bar_rect(*grid, i == 0);
    move_object(ui, bars[i], r.x, r.y, apply);
    if (resize) resize_object(ui, bars[i], r.width, r.height, apply);
    make_current(ui, grid);
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

  if (vertical == 1) resize_object(ui, name, clamp16(grid->width - kBarRoom), -1, 1);
  else resize_object(ui, name, -1, clamp16(grid->height - kBarRoom), 1);
  make_current(ui, grid);

  const BarRect r = bar_rect(*grid, vertical == 1);
  const std::string parent = grid->parentName;
  const std::string bar = name + (vertical == 1 ? "SCROLLV" : "SCROLLH");
  const int32_t created = create_scroll_bar(ui, bar, r.x, r.y, r.width, r.height, 0, 0, 1,
                                            vertical == 1 ? 1 : 0, parent);
  if (created) set_attribute(ui, bar, "PARENTGRID", name, 1);
  make_current(ui, grid);
}

// ---- scroll bar update ---------------------------------------------------------
//
// After each drawing: a bar is enabled while something is scrolled away or
// overflows, else disabled (never hidden). A negative scroll position draws
// from the start and counts as not scrolled. The maximum is the number of
// columns or shown rows the drawing showed, but never below the position:
// a bar clamps its position into its range, and a clamped bar would show
// the wrong place and scroll back when next moved. The maximum is set
// before the position for the same reason.

void update_grid_scroll_bars(Ui& ui, int32_t endX, int32_t endY, int32_t columnCounter,
                             int32_t shownRows) {
  NamedObject* grid = current_object(ui);
  if (!grid || !grid->gridRecord) return;
  const GridRecord& g = *grid->gridRecord;
  const std::string& hBar = g.hScrollBar;
  const std::string& vBar = g.vScrollBar;
  const int32_t scrollX = std::max<int32_t>(g.scrollX, 0);
  const int32_t scrollY = std::max<int32_t>(g.scrollY, 0);
  const int32_t w = grid->width, h = grid->height;

  auto update = [&](const std::string& bar, bool enabled, int32_t position, int32_t maximum) {
    if (bar.empty()) return;
    if (!enabled) {
      disable_object(ui, bar, 1);
      return;
    }
    disable_object(ui, bar, 0);
    const int32_t gadget = get_gadget(ui, bar);
    tk_set_gadget_attribute(gadget, 2, maximum);
    tk_set_gadget_state(gadget, position);
    if (NamedObject* b = current_object(ui); b && b->name == bar && b->scrollBarData)
      b->scrollBarData->maximum = maximum;
  };
  update(hBar, endX >= w + 10 || scrollX > 0, scrollX,
         std::max(columnCounter - scrollX, scrollX));
  update(vBar, endY >= h || scrollY > 0, scrollY, std::max(shownRows - scrollY, scrollY));
  make_current(ui, grid);
}

// ---- move_object ---------------------------------------------------------------

int32_t move_object(Ui& ui, const std::string& name, int16_t x, int16_t y, int8_t apply) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* obj = current_object(ui);
  if (!obj) return 0;

  int32_t gadgetX = TK_KEEP, gadgetY = TK_KEEP;
  if (x >= 0 && x != obj->x) {
    obj->absX = static_cast<int16_t>(obj->absX + (x - obj->x));
    obj->x = x;
    gadgetX = x;
  }
  if (y >= 0 && y != obj->y) {
    obj->absY = static_cast<int16_t>(obj->absY + (y - obj->y));
    obj->y = y;
    gadgetY = y;
  }
  if (obj->gridRecord) place_bars(ui, obj, apply, false);

  make_current(ui, obj);
  const std::string own = obj->name;
  update_child_positions(ui, own, obj->absX, obj->absY);
  make_current(ui, obj);

  if (apply_now(ui, apply)) {
    tk_resize_gadget(obj->gadget, gadgetX, gadgetY, TK_KEEP, TK_KEEP);
    if (obj->labelData && tk_gadget_exists(obj->labelData->labelGadget)) {
      const int32_t labelX = gadgetX == TK_KEEP ? TK_KEEP : gadgetX - obj->labelData->labelWidth;
      const int32_t labelY = gadgetY == TK_KEEP ? TK_KEEP : gadgetY + 4;
      tk_resize_gadget(obj->labelData->labelGadget, labelX, labelY, TK_KEEP, TK_KEEP);
    }
  }
  return 0;
}

// ---- resize_object -------------------------------------------------------------

int32_t resize_object(Ui& ui, const std::string& name, int16_t width, int16_t height,
                      int8_t apply) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* obj = current_object(ui);
  if (!obj) return 0;

  bool changed = false;
  if (width >= 0 && width != obj->width) {
    obj->width = width;
    changed = true;
  }
  if (height >= 0 && height != obj->height) {
    obj->height = height;
    changed = true;
  }
  if (obj->gridRecord && changed) place_bars(ui, obj, apply, true);

  if (changed && apply_now(ui, apply)) {
    tk_resize_gadget(obj->gadget, TK_KEEP, TK_KEEP, obj->width, obj->height);
    make_current(ui, obj);
    redraw_object(ui);
    make_current(ui, obj);
  }
  return 0;
}
