// Operations by name: values, visibility, enabled state, colours, labels,
// skinned strips and their animations, tab selection and the conversions
// between names, numbers and gadgets.
//
// Sections: helpers · conversions · text and value · visibility and state ·
// colours and fonts · labels · strips and animations · tab selection.
//
// Every operation looks its object up (mode 0) and leaves it current; an
// unknown name changes nothing and gives the failure value.
#include <string>
#include <utility>
#include <vector>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid_records.h"
#include "toolkit/tk.h"

// ---- helpers ---------------------------------------------------------------
namespace {

// The named object, current afterwards; nullptr when unknown.
NamedObject* lookup(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  return current_object(ui);
}

// Screen changes reach the gadget while the object's window updates live, or
// when the caller forces them. Selects the object's window record.
bool apply_condition(Ui& ui, const NamedObject& o, int8_t force) {
  if (select_window_by_handle(ui, o.window) != 1) return false;
  return current_window(ui)->liveUpdate == 1 || force == 1;
}

bool is_on(const std::string& text) { return text == "1"; }

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

// ---- conversions -----------------------------------------------------------

int32_t get_gadget(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  return o ? o->gadget : 0;
}

int32_t get_number(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  return o ? o->number : 0;
}

std::string name_of_number(Ui& ui, int32_t number) {
  if (find_object_by_number(ui, number, 0) != 1) return {};
  return current_object(ui)->name;
}

std::string name_of_gadget(Ui& ui, int32_t gadget) {
  if (find_object_by_gadget(ui, gadget, 0) != 1) return {};
  return current_object(ui)->name;
}

// ---- text and value --------------------------------------------------------

std::string get_text(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  if (!o) return {};
  // Without a gadget the stored value is all there is.
  const bool live = tk_gadget_exists(o->gadget) != 0;
  switch (o->kind) {
    case Kind::Input:
    case Kind::Date:
      if (live) o->text = tk_get_gadget_text(o->gadget);
      break;
    case Kind::Combo:
    case Kind::List:
    case Kind::Tree:
    case Kind::ScrollBar:
    case Kind::CheckBox:
    case Kind::Splitter:
      if (live) o->text = std::to_string(tk_get_gadget_state(o->gadget));
      break;
    case Kind::TabBar:
      // The bar's text keeps the selected key: its drawing and its clicks
      // compare tab keys against it.
      if (o->tabData) return std::to_string(o->tabData->selectedIndex);
      break;
    default:
      break;
  }
  return o->text;
}

int32_t set_text(Ui& ui, const std::string& name, const std::string& text, int8_t force) {
  NamedObject* o = lookup(ui, name);
  if (!o || o->kind < Kind::Input) return 0;

  // A toggle or radio stretch button is switched by pressing it, so that its
  // picture follows. Only a change of state presses: pressing to set the
  // state it already has would show the opposite picture.
  if (is_toggle_like(*o) && o->buttonData && is_on(text) != is_switched_on(*o)) {
    const WindowRecord* w = current_window(ui);
    if ((w && w->liveUpdate == 1) || force == 1) {
      button_press(ui);
      make_current(ui, o);
    }
  }
  o->text = text;
  if (apply_condition(ui, *o, force)) tk_set_gadget_text(o->gadget, text);
  return 0;
}

// ---- visibility and state --------------------------------------------------

int32_t show_object(Ui& ui, const std::string& name, int8_t visible, int8_t force) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  // Anything but 1 hides; the visibility byte only takes 1 or 0 here.
  const int8_t value = visible == 1 ? 1 : 0;
  o->hidden = value == 1 ? 0 : 1;
  propagate_visibility(ui, o->name, value, 0);
  make_current(ui, o);
  if (apply_condition(ui, *o, force)) tk_hide_gadget(o->gadget, o->hidden);
  return 0;
}

int32_t disable_object(Ui& ui, const std::string& name, int8_t disable) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  o->disabled = disable > 0 ? 1 : 0;
  if (o->buttonData) {
    // Enabled again, a switched-on toggle or radio button shows its "on"
    // resting frame.
    draw_button_frame(ui, resting_frame(*o));
    make_current(ui, o);
  }
  if (tk_gadget_exists(o->gadget)) tk_disable_gadget(o->gadget, o->disabled);
  return 0;
}

int32_t pin_object(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  if (o) o->visible = -2;
  return 0;
}

// ---- colours and fonts -----------------------------------------------------

int32_t set_color(Ui& ui, const std::string& name, int32_t colorType, int32_t color) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  if (o->kind < Kind::TabBar) {
    tk_set_gadget_colour(o->gadget, colorType, color);
  } else if (o->kind == Kind::Grid && colorType == 3 && o->gridRecord) {
    o->gridRecord->gridColor = color;
  }
  return 0;
}

int32_t set_window_font(Ui& ui, const std::string& fontName, int16_t size, int32_t flags) {
  if (fontName.empty() || size <= 0) return 0;
  const int32_t font = tk_load_font(-1, fontName, size, flags);
  if (font == 0) return 0;
  if (WindowRecord* w = current_window(ui)) w->font = font;
  return 1;
}

// ---- labels ----------------------------------------------------------------

int32_t set_label(Ui& ui, const std::string& name, const std::string& text, int16_t labelWidth,
                  int32_t backColor, int32_t frontColor) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  if (o->kind == Kind::Label || o->kind == Kind::PushButton || o->kind == Kind::Frame ||
      o->kind == Kind::SkinnedButton) {
    tk_set_gadget_text(o->gadget, text);
    return 1;
  }

  if (!o->labelData) o->labelData = std::make_unique<LabelRecord>();
  // A second label replaces the first instead of piling up beneath it.
  if (tk_gadget_exists(o->labelData->labelGadget)) tk_free_gadget(o->labelData->labelGadget);
  o->labelData->labelGadget = 0;

  // The label goes into the same gadget list as the object.
  if (!o->parentName.empty() && find_object(ui, o->parentName, 0) == 1 &&
      is_container_kind(current_object(ui)->kind))
    tk_open_gadget_list(current_object(ui)->gadget);
  make_current(ui, o);

  o->labelData->labelWidth = labelWidth;
  const auto x = static_cast<int16_t>(o->x - labelWidth);
  const auto y = static_cast<int16_t>(o->y + 4);
  const int32_t label = tk_create_text_gadget(-1, x, y, labelWidth, 20, text);
  o->labelData->labelGadget = label;
  if (frontColor > -1) tk_set_gadget_colour(label, 1, frontColor);
  if (backColor > -1) tk_set_gadget_colour(label, 2, backColor);
  finish_creation(ui);
  return 1;
}

// ---- strips and animations -------------------------------------------------

int32_t set_button_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                         int32_t stripImage) {
  NamedObject* o = lookup(ui, name);
  if (!o || !o->buttonData) return 0;
  if (o->kind != Kind::SkinnedButton && o->kind != Kind::StretchButton) return 0;
  ButtonRecord& b = *o->buttonData;
  const int32_t strip = strip_for(b, frameWidth, stripImage);
  if (strip == 0) return 0;

  b.stripImage = strip;
  if (o->stretchData) o->stretchData->frameWidth = frameWidth;
  else o->width = frameWidth;
  o->catchMouseOver = 1;
  b.frameCount = static_cast<int16_t>(tk_image_width(strip) / frameWidth);
  b.style = 1;
  draw_button_frame(ui, 0);
  make_current(ui, o);
  tk_resize_gadget(o->gadget, TK_KEEP, TK_KEEP, o->width, o->height);
  return 1;
}

int32_t set_animation_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                            int32_t stripImage, int16_t firstFrame, int16_t lastFrame,
                            int16_t startOffset) {
  NamedObject* o = lookup(ui, name);
  if (!o || !o->buttonData) return 0;
  if (o->kind != Kind::ImageButton && o->kind != Kind::SkinnedButton) return 0;
  ButtonRecord& b = *o->buttonData;
  const int32_t strip = strip_for(b, frameWidth, stripImage);
  if (strip == 0) return 0;

  b.stripImage = strip;
  o->width = frameWidth;
  b.frameCount = static_cast<int16_t>(tk_image_width(strip) / frameWidth);
  // An image strip set before stays marked as set.
  b.style = (b.style == 1 || b.style == 3) ? 3 : 2;
  b.firstFrame = (firstFrame < b.frameCount && firstFrame < lastFrame) ? firstFrame : 0;
  b.lastFrame = (lastFrame < b.frameCount && lastFrame > 0)
                    ? lastFrame
                    : static_cast<int16_t>(b.frameCount - 1);
  const int32_t shown = firstFrame + startOffset;
  if (shown <= lastFrame) {
    draw_button_frame(ui, static_cast<int16_t>(shown));
    make_current(ui, o);
  }
  tk_resize_gadget(o->gadget, TK_KEEP, TK_KEEP, frameWidth, o->height);
  return 1;
}

int32_t show_animation_frame(Ui& ui, const std::string& name, int16_t n) {
  NamedObject* o = lookup(ui, name);
  if (!o || !o->buttonData) return 0;
  if (o->kind != Kind::ImageButton && o->kind != Kind::SkinnedButton) return 0;
  const int32_t frame = o->buttonData->firstFrame + n;
  if (frame < 0 || frame > o->buttonData->lastFrame) return 0;
  draw_button_frame(ui, static_cast<int16_t>(frame));
  make_current(ui, o);
  return 1;
}

int32_t start_animation(Ui& ui, const std::string& name, int8_t mode, int16_t delay,
                        int8_t keepFrame) {
  NamedObject* o = lookup(ui, name);
  if (!o || !o->buttonData) return 0;
  ButtonRecord& b = *o->buttonData;
  if (b.style != 2 && b.style != 3) return 0;
  // Modes 0..34 are the runs that end or alternate; higher modes would run
  // backward for ever or collide with the hover and pressed looks.
  if (mode < 0 || mode > 34) return 0;
  b.delay = delay;
  b.look = static_cast<int8_t>(mode + 16);
  if (keepFrame == 0)
    b.frame = static_cast<int16_t>(mode >= 16 ? b.lastFrame + 1 : b.firstFrame - 1);
  return 1;
}

int32_t stop_animation(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  if (!o || !o->buttonData || o->buttonData->look < 32) return 0;
  o->buttonData->look = 0;
  return 1;
}

// ---- tab selection ---------------------------------------------------------

int32_t select_tab(Ui& ui, const std::string& barName, int8_t index, int8_t redraw) {
  NamedObject* bar = lookup(ui, barName);
  if (!bar || bar->kind != Kind::TabBar || !bar->tabData) return 0;
  TabBarRecord& tabs = *bar->tabData;
  const std::string oldKey = bar->text;

  std::string pageName;
  int32_t pageGadget = 0;
  std::vector<std::pair<std::string, int32_t>> hide;  // page name, page gadget
  for (size_t i = 0; i < tabs.tabs.size(); ++i) {
    const TabEntry& t = tabs.tabs[i];
    if (static_cast<int32_t>(i) == index) {
      bar->text = t.key;
      tabs.selectedIndex = index;
      pageName = t.pageName;
      pageGadget = t.pageGadget;
    } else if (tk_gadget_exists(t.pageGadget)) {
      hide.emplace_back(t.pageName, t.pageGadget);
    }
  }
  // Tabs may share a page; the selected one's page stays shown.
  std::erase_if(hide, [&](const auto& h) { return h.second == pageGadget; });

  if (bar->text != oldKey) {
    if (tk_gadget_exists(pageGadget)) tk_hide_gadget(pageGadget, 0);
    propagate_visibility(ui, pageName, 1, 1);
    for (const auto& [page, gadget] : hide) {
      tk_hide_gadget(gadget, 1);
      propagate_visibility(ui, page, -1, 1);
    }
    make_current(ui, bar);
    if (!pageName.empty()) reset_page_buttons(ui, pageName);
  }
  if (redraw == 1) {
    draw_tab_bar(ui);
    make_current(ui, bar);
  }
  return 0;
}
