// Moving and resizing objects by name. The kind of the object follows its
// new geometry through its layout hook (a grid's scroll bars go with it).
//
// Sections: helpers · move_object · resize_object.
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/tk.h"

namespace zui {

// ---- helpers -------------------------------------------------------------------
namespace {

bool apply_now(Ui& ui, int8_t apply) {
  if (apply == 1) return true;
  const WindowRecord* window = current_window(ui);
  return !window || window->liveUpdate == 1;
}

}  // namespace

// ---- move_object ---------------------------------------------------------------

int32_t move_object(Ui& ui, const std::string& name, int16_t x, int16_t y, int8_t apply) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* obj = current_object(ui);
  return obj ? move_object(ui, *obj, x, y, apply) : 0;
}

int32_t move_object(Ui& ui, NamedObject& object, int16_t x, int16_t y, int8_t apply) {
  NamedObject* obj = &object;
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
  if (auto layout = kind_behaviour(ui, obj->kind).layout) layout(ui, *obj, false, apply);
  place_children(ui, *obj, obj->absX, obj->absY);

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
  return obj ? resize_object(ui, *obj, width, height, apply) : 0;
}

int32_t resize_object(Ui& ui, NamedObject& object, int16_t width, int16_t height, int8_t apply) {
  NamedObject* obj = &object;
  bool changed = false;
  if (width >= 0 && width != obj->width) {
    obj->width = width;
    changed = true;
  }
  if (height >= 0 && height != obj->height) {
    obj->height = height;
    changed = true;
  }
  if (auto layout = kind_behaviour(ui, obj->kind).layout; layout && changed)
    layout(ui, *obj, true, apply);

  if (changed && apply_now(ui, apply)) {
    tk_resize_gadget(obj->gadget, TK_KEEP, TK_KEEP, obj->width, obj->height);
    draw_object(ui, *obj);
  }
  return 0;
}

}  // namespace zui
