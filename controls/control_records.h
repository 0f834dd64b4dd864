#pragma once
// Records of the skinned kinds and the splitter, attached to
// NamedObject::control. Each is reached through its typed accessor, which
// checks the record's kind first: an object of another kind, or one whose
// layer never attached a record, gets nullptr.
//
// Sections: states · buttons · tab bars · splitters · accessors.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/records.h"

namespace zui {

// ---- states ----------------------------------------------------------------

// Which strips a button has (ButtonRecord::style).
enum class ButtonStyle : int8_t {
  None,            // no strip
  ImageStrip,      // the look strip
  AnimationStrip,  // the animation strip
  Both,            // both strips
};

// What pressing a stretch button does; create_stretch_button takes these
// as the numbers 0, 1 and 2.
enum class ToggleMode : int8_t {
  Push = 0,    // fires, keeps no state
  Toggle = 1,  // switches between "0" and "1"
  Radio = 2,   // switches on, the others within parentName go off
};

// ---- buttons ---------------------------------------------------------------

// Three-slice frames and pressing of a stretch button (kind 101).
struct StretchRecord {
  int8_t edgeWidth = 0;                     // fixed left/right piece and middle piece width
  int16_t frameWidth = 0;                   // width of one frame in the strip
  ToggleMode toggleMode = ToggleMode::Push;  // what a press does
};

// Skinned look and strip animation of kinds 15, 17, 99 and 101.
struct ButtonRecord : ControlRecord {
  /// A button record of kind `k` over the caller's strip.
  ButtonRecord(int8_t k, int32_t strip) : ControlRecord(k), stripImage(strip) {}

  ButtonStyle style = ButtonStyle::None;  // which strips are set
  int8_t look = 0;           // a Look: 0 resting, 64 hover, 65 pressed, 16..63 animating
  int16_t frameCount = 0;    // strip width / frame width
  int16_t frame = 0;         // current animation frame
  int32_t lastTick = 0;      // clock value of the last animation step
  int16_t delay = 0;         // milliseconds between animation steps
  int16_t firstFrame = 0;    // first frame of the animation range
  int16_t lastFrame = 0;     // last frame of the animation range
  int32_t stripImage = 0;    // all frames side by side (caller's image)
  int32_t shownImage = 0;    // image last composed for the gadget (ours)
  bool heldOff = false;      // pressed, then dragged off with the button still down
  std::optional<StretchRecord> stretch;  // stretch buttons only
};

// ---- tab bars --------------------------------------------------------------

// One tab of a tab bar.
struct TabEntry {
  std::string barName;    // name of the tab bar object
  std::string key;        // the bar's text holds the selected tab's key
  std::string caption;    // text drawn on the tab
  int16_t width = 0;      // tab width in pixels
  std::string pageName;   // container shown while the tab is selected
  int32_t pageGadget = 0;  // that container's gadget
};

// Tabs are kept with their bar, in the bar's order (kind 96).
struct TabBarRecord : ControlRecord {
  /// An empty bar.
  TabBarRecord() : ControlRecord(Kind::TabBar) {}

  int8_t tabCount = 0;        // number of tabs
  int8_t selectedIndex = 0;   // index of the selected tab
  int8_t firstVisibleTab = 0;  // tabs before it are scrolled away
  int8_t pieceWidth = 18;     // width p of one skin piece
  int8_t equalWidths = 0;     // 1 = a third of the bar per tab when all fit
  std::vector<TabEntry> tabs;  // the bar's tabs in order
};

// ---- splitters -------------------------------------------------------------

// The two halves of a splitter (kind 90).
struct SplitterRecord : ControlRecord {
  /// An empty splitter record.
  SplitterRecord() : ControlRecord(Kind::Splitter) {}

  std::string firstName;    // first child's object name
  std::string secondName;   // second child's object name
  int32_t firstGadget = 0;  // first child's gadget
  int32_t secondGadget = 0;  // second child's gadget
  int8_t vertical = 0;      // 1 = bar between left and right
};

// ---- accessors -------------------------------------------------------------

// Kinds that carry a button record.
inline bool is_button_kind(int8_t kind) {
  return kind == Kind::Picture || kind == Kind::ImageButton || kind == Kind::SkinnedButton ||
         kind == Kind::StretchButton;
}

/// The object's button record, nullptr when it has none.
inline ButtonRecord* button_record(NamedObject& o) {
  return o.control && is_button_kind(o.control->kind) ? static_cast<ButtonRecord*>(o.control.get())
                                                      : nullptr;
}
/// The same for a const object.
inline const ButtonRecord* button_record(const NamedObject& o) {
  return button_record(const_cast<NamedObject&>(o));
}
/// The stretch part of the object's button record, nullptr when none.
inline StretchRecord* stretch_record(NamedObject& o) {
  ButtonRecord* b = button_record(o);
  return b && b->stretch ? &*b->stretch : nullptr;
}
/// The same for a const object.
inline const StretchRecord* stretch_record(const NamedObject& o) {
  return stretch_record(const_cast<NamedObject&>(o));
}
/// The object's tab bar record, nullptr when it has none.
inline TabBarRecord* tab_bar_record(NamedObject& o) {
  return o.control && o.control->kind == Kind::TabBar ? static_cast<TabBarRecord*>(o.control.get())
                                                      : nullptr;
}
/// The same for a const object.
inline const TabBarRecord* tab_bar_record(const NamedObject& o) {
  return tab_bar_record(const_cast<NamedObject&>(o));
}
/// The object's splitter record, nullptr when it has none.
inline SplitterRecord* splitter_record(NamedObject& o) {
  return o.control && o.control->kind == Kind::Splitter
             ? static_cast<SplitterRecord*>(o.control.get())
             : nullptr;
}
/// The same for a const object.
inline const SplitterRecord* splitter_record(const NamedObject& o) {
  return splitter_record(const_cast<NamedObject&>(o));
}

}  // namespace zui
