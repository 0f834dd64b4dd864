// Creation and operations by name of the skinned kinds: pictures and image
// buttons, skinned and stretch buttons, tab bars with their tabs, frames;
// their strips and animations, tab selection; and the registration of every
// kind of this layer with the framework.
//
// Sections: registration · creation · tabs · pages · strips and animations ·
// tab selection.
#include <string>
#include <vector>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

// ---- registration ----------------------------------------------------------

void register_control_kinds(Ui& ui) {
  if (kind_registered(ui, Kind::TabBar)) return;
  KindBehaviour button;
  add_button_hooks(button);
  KindBehaviour picture = button;
  KindBehaviour tabBar;
  add_tab_bar_hooks(tabBar);
  tabBar.container = true;  // its pages are made inside it
  KindBehaviour frame;
  frame.draw = [](Ui& ui, NamedObject& o) { draw_frame(ui, o); };
  frame.valueInRecord = true;
  add_control_descriptions(button, picture, tabBar, frame);
  // Skinned and stretch buttons keep their toggle state in the record.
  KindBehaviour skinned = button;
  skinned.valueInRecord = true;
  register_kind(ui, Kind::Picture, picture);
  register_kind(ui, Kind::ImageButton, button);
  register_kind(ui, Kind::SkinnedButton, skinned);
  register_kind(ui, Kind::StretchButton, skinned);
  register_kind(ui, Kind::TabBar, tabBar);
  register_kind(ui, Kind::Frame, frame);
  register_kind(ui, Kind::Splitter, splitter_behaviour());
  register_kind(ui, Kind::ScrollBar, scroll_bar_behaviour());
}

// ---- creation --------------------------------------------------------------

int32_t create_picture(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                       int16_t height, int32_t image, const std::string& parent) {
  register_control_kinds(ui);
  if (!tk_image_exists(image)) return 0;
  NamedObject* o = begin_object(ui, name, Kind::Picture, x, y, width, height, parent);
  if (!o) return 0;
  o->control = std::make_unique<ButtonRecord>(Kind::Picture, image);
  o->gadget = create_image_gadget_of(x, y, width, height, image);
  tk_disable_gadget(o->gadget, 1);
  return end_object(ui, *o);
}

int32_t create_image_button_skinned(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                    int32_t image, const std::string& parent) {
  register_control_kinds(ui);
  if (!tk_image_exists(image)) return 0;
  const auto width = static_cast<int16_t>(tk_image_width(image));
  const auto height = static_cast<int16_t>(tk_image_height(image));
  NamedObject* o = begin_object(ui, name, Kind::SkinnedButton, x, y, width, height, parent);
  if (!o) return 0;
  o->control = std::make_unique<ButtonRecord>(Kind::SkinnedButton, image);
  o->gadget = create_image_gadget_of(x, y, width, height, image);
  return end_object(ui, *o);
}

int32_t create_stretch_button(Ui& ui, const std::string& name, int16_t x, int16_t y,
                              int16_t width, const std::string& caption, int32_t image,
                              int8_t edgeWidth, int8_t toggleMode, const std::string& parent) {
  register_control_kinds(ui);
  if (!tk_image_exists(image)) return 0;
  const auto height = static_cast<int16_t>(tk_image_height(image));
  NamedObject* o = begin_object(ui, name, Kind::StretchButton, x, y, width, height, parent);
  if (!o) return 0;
  o->caption = caption;
  auto button = std::make_unique<ButtonRecord>(Kind::StretchButton, image);
  StretchRecord& stretch = button->stretch.emplace();
  stretch.edgeWidth = edgeWidth;
  stretch.toggleMode = static_cast<ToggleMode>(toggleMode);
  o->control = std::move(button);
  o->gadget = create_image_gadget_of(x, y, width, height, image);
  return end_object(ui, *o);
}

int32_t create_image_button(Ui& ui, const std::string& name, int16_t x, int16_t y,
                            int16_t width, int16_t height, int32_t image,
                            const std::string& parent) {
  register_control_kinds(ui);
  if (!tk_image_exists(image)) return 0;
  NamedObject* o = begin_object(ui, name, Kind::ImageButton, x, y, width, height, parent);
  if (!o) return 0;
  o->control = std::make_unique<ButtonRecord>(Kind::ImageButton, image);
  o->gadget = create_image_gadget_of(x, y, width, height, image);
  return end_object(ui, *o);
}

int32_t create_tab_bar(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                       int32_t image, int8_t pieceWidth, int8_t equalWidths,
                       const std::string& parent) {
  register_control_kinds(ui);
  constexpr int16_t kBarHeight = 22;
  NamedObject* o = begin_object(ui, name, Kind::TabBar, x, y, width, kBarHeight, parent);
  if (!o) return 0;
  o->canvas = new_canvas_record(image, width, kBarHeight);
  auto tabs = std::make_unique<TabBarRecord>();
  tabs->pieceWidth = pieceWidth <= 0 ? 18 : pieceWidth;
  tabs->equalWidths = equalWidths;
  o->control = std::move(tabs);
  o->gadget = create_image_gadget_of(x, y, width, kBarHeight, o->canvas->canvasImage);
  return end_object(ui, *o);
}

int32_t create_frame(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, int32_t image, int8_t pieceSize, const std::string& caption,
                     const std::string& parent) {
  register_control_kinds(ui);
  NamedObject* o = begin_object(ui, name, Kind::Frame, x, y, width, height, parent);
  if (!o) return 0;
  o->canvas = new_canvas_record(image, width, height);
  o->canvas->iconSize = pieceSize;
  o->caption = caption;
  o->visible = Visibility::Pinned;
  o->gadget = create_image_gadget_of(x, y, width, height, o->canvas->canvasImage);
  tk_disable_gadget(o->gadget, 1);
  draw_frame(ui, *o);
  return end_object(ui, *o);
}

// ---- pages -----------------------------------------------------------------

void set_page_shown(Ui& ui, const std::string& pageName, int32_t pageGadget, bool shown) {
  if (tk_gadget_exists(pageGadget)) tk_hide_gadget(pageGadget, shown ? 0 : 1);
  if (!pageName.empty()) propagate_visibility(ui, pageName, shown ? 1 : -1, 1);
}

void show_page(Ui& ui, NamedObject& bar, int32_t index) {
  const TabBarRecord* record = tab_bar_record(bar);
  if (!record || index < 0 || static_cast<size_t>(index) >= record->tabs.size()) return;
  const std::vector<TabEntry>& tabs = record->tabs;
  const TabEntry& chosen = tabs[size_t(index)];
  // Tabs may share a page; the chosen one's page stays shown.
  for (size_t i = 0; i < tabs.size(); ++i) {
    const TabEntry& t = tabs[i];
    if (int32_t(i) == index || t.pageName == chosen.pageName || t.pageGadget == chosen.pageGadget)
      continue;
    if (tk_gadget_exists(t.pageGadget)) set_page_shown(ui, t.pageName, t.pageGadget, false);
  }
  set_page_shown(ui, chosen.pageName, chosen.pageGadget, true);
  if (!chosen.pageName.empty()) reset_page_buttons(ui, bar, chosen.pageName);
  tk_announce(bar.gadget, TK_CHANGE_CURRENT, index, 0);
}

// ---- tabs ------------------------------------------------------------------
namespace {

// A page shared with the selected tab stays shown when another tab naming it
// is added.
bool shares_selected_page(const TabBarRecord& tabs, const std::string& pageName) {
  const int32_t selected = tabs.selectedIndex;
  if (pageName.empty() || selected < 0 || selected >= int32_t(tabs.tabs.size())) return false;
  return tabs.tabs[selected].pageName == pageName;
}

}  // namespace

int32_t add_tab(Ui& ui, const std::string& barName, const std::string& key,
                const std::string& caption, const std::string& pageName, int16_t width) {
  const int32_t pageGadget = get_gadget(ui, pageName);
  if (find_object(ui, barName, 0) != 1) return 0;
  NamedObject* bar = current_object(ui);
  if (bar->kind != Kind::TabBar || !tab_bar_record(*bar)) return 0;
  TabBarRecord& tabs = *tab_bar_record(*bar);

  TabEntry entry;
  entry.barName = bar->name;
  entry.key = key;
  entry.caption = caption;
  entry.pageName = pageName;
  entry.pageGadget = pageGadget;

  // A tab is at least 108 wide and always leaves 18 pixels on each side of
  // its caption.
  int32_t tabWidth = width < 54 ? 108 : width;
  const int32_t canvasImage = bar->canvas ? bar->canvas->canvasImage : 0;
  if (tk_start_drawing(tk_image_output(canvasImage))) {
    tk_drawing_font(window_font_handle(ui, *bar));
    const int32_t captionWidth = tk_text_width(caption);
    tk_stop_drawing();
    if (captionWidth + 36 > tabWidth) tabWidth = captionWidth + 36;
  }
  entry.width = static_cast<int16_t>(tabWidth);
  tabs.tabs.push_back(entry);

  if (tabs.tabCount == 0) {
    bar->text = key;
    tabs.selectedIndex = 0;
    set_page_shown(ui, pageName, pageGadget, true);
  } else if (!shares_selected_page(tabs, pageName)) {
    set_page_shown(ui, pageName, pageGadget, false);
  }
  ++tabs.tabCount;
  // The Tab key reaches a tab bar before the fields of its pages, as the
  // eye does, wherever the pages were created.
  if (pageGadget != 0) tk_focus_before(bar->gadget, pageGadget);
  draw_tab_bar(ui, *bar);
  return 0;
}

// ---- strips and animations -------------------------------------------------
namespace {

// The named object, current afterwards; nullptr when unknown.
NamedObject* lookup(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  return current_object(ui);
}

// Checks a strip for set_button_strip / set_animation_strip: the given one
// when a number is passed, else the one the button already has. Returns the
// strip to use, 0 when the request is refused.
int32_t strip_for(const ButtonRecord& b, int16_t frameWidth, int32_t stripImage) {
  if (frameWidth <= 0) return 0;
  const int32_t strip = stripImage > 0 ? stripImage : b.stripImage;
  if (!tk_image_exists(strip)) return 0;
  if (tk_image_width(strip) % frameWidth != 0) return 0;
  return strip;
}

}  // namespace

int32_t set_button_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                         int32_t stripImage) {
  NamedObject* o = lookup(ui, name);
  if (!o || !button_record(*o)) return 0;
  if (o->kind != Kind::SkinnedButton && o->kind != Kind::StretchButton) return 0;
  ButtonRecord& b = *button_record(*o);
  const int32_t strip = strip_for(b, frameWidth, stripImage);
  if (strip == 0) return 0;

  b.stripImage = strip;
  if (StretchRecord* stretch = stretch_record(*o)) stretch->frameWidth = frameWidth;
  else o->width = frameWidth;
  o->catchMouseOver = 1;
  b.frameCount = static_cast<int16_t>(tk_image_width(strip) / frameWidth);
  b.style = ButtonStyle::ImageStrip;
  draw_button_frame(ui, *o, 0);
  tk_resize_gadget(o->gadget, TK_KEEP, TK_KEEP, o->width, o->height);
  return 1;
}

int32_t set_animation_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                            int32_t stripImage, int16_t firstFrame, int16_t lastFrame,
                            int16_t startOffset) {
  NamedObject* o = lookup(ui, name);
  if (!o || !button_record(*o)) return 0;
  if (o->kind != Kind::ImageButton && o->kind != Kind::SkinnedButton) return 0;
  ButtonRecord& b = *button_record(*o);
  const int32_t strip = strip_for(b, frameWidth, stripImage);
  if (strip == 0) return 0;

  b.stripImage = strip;
  o->width = frameWidth;
  b.frameCount = static_cast<int16_t>(tk_image_width(strip) / frameWidth);
  // An image strip set before stays marked as set.
  b.style = has_image_strip(b) ? ButtonStyle::Both : ButtonStyle::AnimationStrip;
  b.firstFrame = (firstFrame < b.frameCount && firstFrame < lastFrame) ? firstFrame : 0;
  b.lastFrame = (lastFrame < b.frameCount && lastFrame > 0)
                    ? lastFrame
                    : static_cast<int16_t>(b.frameCount - 1);
  const int32_t shown = firstFrame + startOffset;
  if (shown <= lastFrame) {
    draw_button_frame(ui, *o, static_cast<int16_t>(shown));
  }
  tk_resize_gadget(o->gadget, TK_KEEP, TK_KEEP, frameWidth, o->height);
  return 1;
}

int32_t show_animation_frame(Ui& ui, const std::string& name, int16_t n) {
  NamedObject* o = lookup(ui, name);
  const ButtonRecord* b = o ? button_record(*o) : nullptr;
  if (!b) return 0;
  if (o->kind != Kind::ImageButton && o->kind != Kind::SkinnedButton) return 0;
  const int32_t frame = b->firstFrame + n;
  if (frame < 0 || frame > b->lastFrame) return 0;
  draw_button_frame(ui, *o, static_cast<int16_t>(frame));
  return 1;
}

int32_t start_animation(Ui& ui, const std::string& name, int8_t mode, int16_t delay,
                        int8_t keepFrame) {
  NamedObject* o = lookup(ui, name);
  if (!o || !button_record(*o)) return 0;
  ButtonRecord& b = *button_record(*o);
  if (!has_animation_strip(b)) return 0;
  // Modes 0..34 are the runs that end or alternate; higher modes would run
  // backward for ever or collide with the hover and pressed looks.
  if (mode < 0 || mode > 34) return 0;
  b.delay = delay;
  b.look = static_cast<int8_t>(mode + Look::ForwardFirst);
  if (keepFrame == 0)
    b.frame = static_cast<int16_t>(mode >= 16 ? b.lastFrame + 1 : b.firstFrame - 1);
  return 1;
}

int32_t stop_animation(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  ButtonRecord* b = o ? button_record(*o) : nullptr;
  if (!b || b->look < Look::BackwardFirst) return 0;
  b->look = Look::Resting;
  return 1;
}

// ---- tab selection ---------------------------------------------------------

int32_t select_tab(Ui& ui, const std::string& barName, int8_t index, int8_t redraw) {
  NamedObject* bar = lookup(ui, barName);
  if (!bar || bar->kind != Kind::TabBar || !tab_bar_record(*bar)) return 0;
  TabBarRecord& tabs = *tab_bar_record(*bar);
  const std::string oldKey = bar->text;
  if (index >= 0 && static_cast<size_t>(index) < tabs.tabs.size()) {
    bar->text = tabs.tabs[size_t(index)].key;
    tabs.selectedIndex = index;
  }
  if (bar->text != oldKey) show_page(ui, *bar, index);
  if (redraw == 1) draw_tab_bar(ui, *bar);
  return 0;
}

}  // namespace zui
