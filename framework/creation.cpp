// Creation of the standard widget kinds and the window.
//
// Sections: common sequence · windows · standard gadgets · containers ·
// picture containers.
//
// The skinned and custom-drawn kinds and the splitter are created by their
// own layers (controls/, grid/) with the same common sequence.
//
// Every operation registers the object, attaches its records, creates the
// gadget in the current gadget list, fills the remaining fields and calls
// finish_creation, so the new object is current when it returns.
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "toolkit/tk.h"

namespace zui {

// ---- common sequence -------------------------------------------------------

namespace {

// Whether the toolkit can place a child's gadget inside the parent's, where
// the child's record puts it. A parent of no container kind only offsets the
// record, and a missing parent leaves the child in the window.
bool parent_holds_gadgets(Ui& ui, const std::string& parent) {
  if (parent.empty() || find_object(ui, parent, 0) != 1) return true;
  const NamedObject* p = current_object(ui);
  if (!holds_children(ui, p->kind)) return true;
  if (tk_open_gadget_list(p->gadget) != 1) return false;
  tk_close_gadget_list();
  return true;
}

}  // namespace

// Registers the object; nullptr when its name exists in the lookup range, or
// when its container-kind parent cannot hold its gadget (the gadget would be
// drawn at its raw position in the window while its record says inside).
NamedObject* begin_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                          int16_t width, int16_t height, const std::string& parent) {
  if (!parent_holds_gadgets(ui, parent)) return nullptr;
  if (register_object(ui, name, kind, x, y, width, height, parent) != 1) return nullptr;
  return current_object(ui);
}

int32_t end_object(Ui& ui, NamedObject& o) {
  describe_object(ui, o);
  finish_creation(ui, o);
  return o.gadget;
}

int32_t create_image_gadget_of(int16_t x, int16_t y, int16_t width, int16_t height,
                               int32_t image) {
  return tk_create_image_gadget(-1, x, y, width, height, tk_image_handle(image));
}

std::unique_ptr<CanvasRecord> new_canvas_record(int32_t source, int16_t width, int16_t height) {
  auto c = std::make_unique<CanvasRecord>();
  c->sourceImage = source;
  c->canvasImage = tk_create_image(-1, width, height);
  return c;
}

namespace {

// Combo, list and tree take a preselected key only when one is given.
void preselect(NamedObject* o, const std::string& text) {
  if (text.empty()) return;
  o->text = text;
  tk_set_gadget_text(o->gadget, text);
}

}  // namespace

// ---- windows ---------------------------------------------------------------

int32_t create_window(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& title, int32_t flags) {
  WindowRecord* previous = current_window(ui);
  WindowRecord* w = new_window_record(ui, name, x, y, width, height, title, flags);
  const int32_t number = tk_open_window(-1, x, y, width, height, title, flags);
  if (number == 0) {
    // No window: drop the record again so that nothing is grouped under it.
    ui.firstWindow = w->next;
    if (w->next) w->next->prev = nullptr;
    ui.currentWindow = previous;
    delete w;
    return 0;
  }
  w->windowNumber = number;
  w->handle = tk_window_handle(number);
  tk_use_window_as_parent(w->handle);
  return number;
}

// ---- standard gadgets ------------------------------------------------------

int32_t create_text(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Label, x, y, width, height, parent);
  if (!o) return 0;
  o->gadget = tk_create_text_gadget(-1, x, y, width, height, text, flags);
  return end_object(ui, *o);
}

int32_t create_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::PushButton, x, y, width, height, parent);
  if (!o) return 0;
  o->gadget = tk_create_button_gadget(-1, x, y, width, height, text, flags);
  return end_object(ui, *o);
}

int32_t create_input(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Input, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_string_gadget(-1, x, y, width, height, text, flags);
  o->text = text;
  return end_object(ui, *o);
}

int32_t create_combo(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent) {
  // The record holds the closed height that hit tests use; the gadget gets
  // the full height including its list.
  NamedObject* o = begin_object(ui, name, Kind::Combo, x, y, width, 20, parent);
  if (!o) return 0;
  o->dropHeight = height;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_combo_gadget(-1, x, y, width, height, flags);
  preselect(o, text);
  return end_object(ui, *o);
}

int32_t create_list(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::List, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_list_gadget(-1, x, y, width, height, flags);
  preselect(o, text);
  return end_object(ui, *o);
}

int32_t create_date(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& mask, int32_t date,
                    const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Date, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->scrollBarData = std::make_unique<ScrollBarRecord>();
  o->gadget = tk_create_date_gadget(-1, x, y, width, height, mask, date);
  o->text = mask;
  return end_object(ui, *o);
}

int32_t create_check_box(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int8_t state, const std::string& text, int32_t flags,
                         const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::CheckBox, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_check_box_gadget(-1, x, y, width, height, text, flags);
  tk_set_gadget_state(o->gadget, state);
  o->text = std::to_string(state);
  return end_object(ui, *o);
}

int32_t create_tree(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Tree, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_tree_gadget(-1, x, y, width, height, flags);
  preselect(o, text);
  return end_object(ui, *o);
}

std::vector<std::string> split_editor_lines(const std::string& text) {
  // Lines keep their terminator: the piece up to and including the earlier
  // of the first line feed and the first carriage return.
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    const std::string::size_type cut = text.find_first_of("\r\n", start);
    if (cut == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, cut + 1 - start));
    start = cut + 1;
  }
  return lines;
}

int32_t create_editor(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Input, x, y, width, height, parent);
  if (!o) return 0;
  o->itemData = std::make_unique<ItemListRecord>();
  o->gadget = tk_create_editor_gadget(-1, x, y, width, height, flags);
  o->text = text;
  const int32_t gadget = end_object(ui, *o);

  for (const std::string& line : split_editor_lines(text)) tk_add_gadget_item(gadget, -1, line);
  return gadget;
}

// ---- containers -----------------------------------------------

int32_t create_container(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int32_t flags, const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::Container, x, y, width, height, parent);
  if (!o) return 0;
  o->gadget = tk_create_container_gadget(-1, x, y, width, height, flags);
  // Creating a container made it the current parent; a failed creation
  // pushed nothing.
  if (o->gadget) tk_close_gadget_list();
  return end_object(ui, *o);
}

int32_t create_scroll_area(Ui& ui, const std::string& name, int16_t x, int16_t y,
                           int16_t width, int16_t height, int32_t innerWidth,
                           int32_t innerHeight, int32_t flags, const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::ScrollArea, x, y, width, height, parent);
  if (!o) return 0;
  auto area = std::make_unique<ScrollAreaRecord>();
  area->innerWidth = innerWidth;
  area->innerHeight = innerHeight;
  o->scrollAreaData = std::move(area);
  o->gadget =
      tk_create_scroll_area_gadget(-1, x, y, width, height, innerWidth, innerHeight, 20, flags);
  if (o->gadget) tk_close_gadget_list();
  return end_object(ui, *o);
}

int32_t create_scroll_bar(Ui& ui, const std::string& name, int16_t x, int16_t y,
                          int16_t width, int16_t height, int32_t minimum, int32_t maximum,
                          int32_t pageLength, int32_t flags, const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::ScrollBar, x, y, width, height, parent);
  if (!o) return 0;
  auto bar = std::make_unique<ScrollBarRecord>();
  bar->minimum = minimum;
  bar->maximum = maximum;
  bar->pageLength = pageLength;
  bar->vertical = flags == 1 ? 1 : 0;
  o->scrollBarData = std::move(bar);
  o->gadget =
      tk_create_scroll_bar_gadget(-1, x, y, width, height, minimum, maximum, pageLength, flags);
  return end_object(ui, *o);
}

// ---- picture containers ----------------------------------------------------

int32_t create_picture_container(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                 int16_t width, int16_t height, int32_t image,
                                 const std::string& parent) {
  NamedObject* o = begin_object(ui, name, Kind::PictureContainer, x, y, width, height, parent);
  if (!o) return 0;
  // The background is a stretched copy: the caller's image may be a skin
  // piece that other widgets show at its own size.
  auto canvas = std::make_unique<CanvasRecord>();
  canvas->sourceImage = image;
  canvas->canvasImage = tk_copy_image(image, -1);
  tk_resize_image(canvas->canvasImage, width, height);
  o->gadget = tk_create_container_gadget(-1, x, y, width, height, 0);
  if (o->gadget) {
    canvas->pictureGadget = create_image_gadget_of(0, 0, width, height, canvas->canvasImage);
    tk_disable_gadget(canvas->pictureGadget, 1);
    tk_close_gadget_list();
  }
  o->canvas = std::move(canvas);
  return end_object(ui, *o);
}

}  // namespace zui
