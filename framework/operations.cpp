// Operations by name: values, visibility, enabled state, colours, labels
// and the conversions between names, numbers and gadgets. The operations on
// skinned strips, animations and tabs belong to the controls.
//
// Sections: helpers · conversions · text and value · visibility and state ·
// colours and fonts · labels.
//
// Every operation looks its object up (mode 0) and leaves it current; an
// unknown name changes nothing and gives the failure value.
#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

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
  // A kind that keeps its value elsewhere reports it itself.
  if (auto textGet = kind_behaviour(ui, o->kind).textGet) {
    std::string value;
    if (textGet(ui, *o, value)) return value;
  }
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
      if (live) o->text = std::to_string(tk_get_gadget_state(o->gadget));
      break;
    default:
      break;
  }
  return o->text;
}

int32_t set_text(Ui& ui, const std::string& name, const std::string& text, int8_t force) {
  NamedObject* o = lookup(ui, name);
  return o ? set_text(ui, *o, text, force) : 0;
}

int32_t set_text(Ui& ui, NamedObject& o, const std::string& text, int8_t force) {
  if (o.kind < Kind::Input) return 0;
  // The kind follows a new value first (a toggle switches its picture).
  if (auto textSet = kind_behaviour(ui, o.kind).textSet) {
    const WindowRecord* w = window_of(ui, o);
    textSet(ui, o, text, (w && w->liveUpdate == 1) || force == 1);
  }
  o.text = text;
  if (apply_condition(ui, o, force)) tk_set_gadget_text(o.gadget, text);
  return 0;
}

// ---- visibility and state --------------------------------------------------

int32_t show_object(Ui& ui, const std::string& name, int8_t visible, int8_t force) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  // Anything but 1 hides; the visibility byte only takes 1 or 0 here.
  const int8_t value = visible == 1 ? Visibility::Shown : Visibility::Hidden;
  o->hidden = value == Visibility::Shown ? HiddenFlag::Shown : HiddenFlag::ByName;
  propagate_visibility(ui, o->name, value, 0);
  if (apply_condition(ui, *o, force)) tk_hide_gadget(o->gadget, o->hidden);
  draw_owed(ui);
  return 0;
}

int32_t disable_object(Ui& ui, const std::string& name, int8_t disable) {
  NamedObject* o = lookup(ui, name);
  return o ? disable_object(ui, *o, disable) : 0;
}

int32_t disable_object(Ui& ui, NamedObject& o, int8_t disable) {
  o.disabled = disable > 0 ? 1 : 0;
  if (auto enabled = kind_behaviour(ui, o.kind).enabled) enabled(ui, o);
  if (tk_gadget_exists(o.gadget)) tk_disable_gadget(o.gadget, o.disabled);
  return 0;
}

int32_t pin_object(Ui& ui, const std::string& name) {
  NamedObject* o = lookup(ui, name);
  if (o) o->visible = Visibility::Pinned;
  return 0;
}

// ---- colours and fonts -----------------------------------------------------

int32_t set_color(Ui& ui, const std::string& name, int32_t colorType, int32_t color) {
  NamedObject* o = lookup(ui, name);
  if (!o) return 0;
  if (o->kind < Kind::TabBar) {
    tk_set_gadget_colour(o->gadget, colorType, color);
  } else if (auto colour = kind_behaviour(ui, o->kind).colour) {
    colour(ui, *o, colorType, color);
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
  if (const NamedObject* parent = o->parentName.empty() ? nullptr : lookup_object(ui, o->parentName);
      parent && holds_children(ui, parent->kind))
    tk_open_gadget_list(parent->gadget);

  o->labelData->labelWidth = labelWidth;
  const auto x = static_cast<int16_t>(o->x - labelWidth);
  const auto y = static_cast<int16_t>(o->y + 4);
  const int32_t label = tk_create_text_gadget(-1, x, y, labelWidth, 20, text);
  o->labelData->labelGadget = label;
  tk_set_gadget_label(label, o->gadget);  // screen readers name the object by it
  if (frontColor > -1) tk_set_gadget_colour(label, 1, frontColor);
  if (backColor > -1) tk_set_gadget_colour(label, 2, backColor);
  finish_creation(ui, *o);
  return 1;
}

}  // namespace zui
