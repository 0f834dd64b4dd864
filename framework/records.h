#pragma once
// Records of the widget framework: window records, named objects, kind codes
// and the per-kind records attached to objects.
//
// Sections: kind codes · attached records · the control record ·
// NamedObject · WindowRecord.
//
// Field order and widths follow the framework's record layout; the int8 and
// int16 wrap-arounds are real behaviour and are kept.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zui {

// ---- kind codes ------------------------------------------------------------
/// Kind codes of named objects (NamedObject::kind).
namespace Kind {
/// @{ Text label, picture, push button, toolkit image button, container, scroll
/// area, text input, combo box, list box, tree, scroll bar, date input,
/// check box, splitter, tab bar, picture container, frame, skinned image
/// button, grid, stretch button.
inline constexpr int8_t Label = 1;
inline constexpr int8_t Picture = 15;
inline constexpr int8_t PushButton = 16;
inline constexpr int8_t ImageButton = 17;
inline constexpr int8_t Container = 20;
inline constexpr int8_t ScrollArea = 21;
inline constexpr int8_t Input = 64;
inline constexpr int8_t Combo = 65;
inline constexpr int8_t List = 66;
inline constexpr int8_t Tree = 67;
inline constexpr int8_t ScrollBar = 68;
inline constexpr int8_t Date = 69;
inline constexpr int8_t CheckBox = 70;
inline constexpr int8_t Splitter = 90;
inline constexpr int8_t TabBar = 96;
inline constexpr int8_t PictureContainer = 97;
inline constexpr int8_t Frame = 98;
inline constexpr int8_t SkinnedButton = 99;
inline constexpr int8_t Grid = 100;
inline constexpr int8_t StretchButton = 101;
/// @}
}  // namespace Kind

// The framework's own kinds whose children are created inside their
// gadget; a kind of a layer above says so in its KindBehaviour (container).
inline bool is_container_kind(int8_t kind) {
  return kind == Kind::Container || kind == Kind::ScrollArea || kind == Kind::PictureContainer;
}

// ---- state bytes -------------------------------------------------------------

// NamedObject::visible.
/// Values of NamedObject::visible.
namespace Visibility {
/// @{ Present, or hidden by name.
inline constexpr int8_t Shown = 1;
inline constexpr int8_t Hidden = 0;
/// @}
inline constexpr int8_t TabHidden = -1;  // its tab page is not selected
inline constexpr int8_t Pinned = -2;     // splitters and frames: never marked
}  // namespace Visibility

// NamedObject::hidden, what show_object was last told.
/// Values of NamedObject::hidden.
namespace HiddenFlag {
inline constexpr int8_t NeverSet = -1;  // counts as shown
/// @{ Shown, or hidden by show_object.
inline constexpr int8_t Shown = 0;
inline constexpr int8_t ByName = 1;
/// @}
}  // namespace HiddenFlag

// ---- attached records ------------------------------------------------------

// One entry of an item list (combo, list, tree and the text kinds).
struct ItemEntry {
  int32_t owner = 0;   // the owner's number when the entry was added
  std::string key;     // the application's key
  /// Text shown in the gadget.
  std::string display; // text shown in the gadget
  int32_t image = 0;   // image shown with the entry, freed with the object
};

// Entries are kept per object, so a reused object number can never mix two
// objects' entries.
struct ItemListRecord {
  int8_t reserved = 0;            // unused byte of the record layout
  int32_t count = 0;              // number of entries (== entries.size())
  /// The entries in the object's order.
  std::vector<ItemEntry> entries; // in the object's order
};

// Image composition state of kinds 96, 97, 98 and 100.
struct CanvasRecord {
  /// Background picture gadget (kind 97).
  int32_t pictureGadget = 0; // background picture gadget (kind 97)
  int32_t sourceImage = 0;   // skin piece (caller's image)
  int32_t canvasImage = 0;   // composed picture (ours)
  int8_t iconSize = 0;       // piece size s
};

/// Range of a scroll bar (kind 68) and the grid it scrolls.
struct ScrollBarRecord {
  int32_t minimum = 0;    // toolkit attribute 1
  int32_t maximum = 0;    // toolkit attribute 2
  /// Page length (toolkit attribute 3).
  int32_t pageLength = 0; // toolkit attribute 3
  int8_t vertical = 0;    // 1 = vertical bar
  std::string gridName;   // grid it scrolls ("PARENTGRID"), empty = none
};

/// Inner size and scroll position of a scroll area (kind 21).
struct ScrollAreaRecord {
  int32_t innerWidth = 0;  // "AREAWIDTH"
  /// Height of the inner area ("AREAHEIGHT").
  int32_t innerHeight = 0; // "AREAHEIGHT"
  int32_t scrollX = 0;     // "POSX"
  int32_t scrollY = 0;     // "POSY"
};

/// The caption set_label puts left of an object.
struct LabelRecord {
  int16_t labelWidth = 0;  // width of the caption left of the object
  /// Text gadget showing the caption.
  int32_t labelGadget = 0; // text gadget showing the caption
};

// ---- the control record ----------------------------------------------------

// A kind's own record, attached to NamedObject::control and owned by it. The
// framework only destroys it; the kind's layer reads it back through its own
// typed accessor, which checks `kind` first.
struct ControlRecord {
  int8_t kind = 0;  // kind code of the layer that attached it
  /// A record of kind `k`.
  explicit ControlRecord(int8_t k) : kind(k) {}
  /// The kind's record is destroyed with its object.
  virtual ~ControlRecord() = default;
  ControlRecord(const ControlRecord&) = delete;
  ControlRecord& operator=(const ControlRecord&) = delete;
};

// ---- NamedObject -----------------------------------------------------------
/// The registry's record of one widget: its name, kind, place in the
/// hierarchy and window, geometry, value and the records of its kind.
struct NamedObject {
  std::string name;        // unique, compared byte by byte
  int32_t number = 0;      // registry count right after insertion (1-based)
  std::string parentName;  // empty = placed directly in the window
  int32_t window = 0;      // native handle of the owning window
  int8_t kind = 0;         // kind code
  int16_t x = 0;           // position relative to the parent
  /// Vertical position relative to the parent.
  int16_t y = 0;
  int16_t absX = 0;        // position in window coordinates
  /// Vertical position in window coordinates.
  int16_t absY = 0;
  int16_t width = 0;       // size
  /// Height.
  int16_t height = 0;
  int16_t dropHeight = 0;  // combo: given height including the list
  int8_t dropOpen = 0;     // combo: 1 while its list is open
  std::string caption;     // stretch button / frame caption
  std::string text;        // value as text
  int32_t userData = 0;    // free value for the application
  /// A Visibility value: shown, hidden, hidden with its tab page, pinned.
  int8_t visible = Visibility::Shown; // a Visibility value
  /// A HiddenFlag value: what show_object was last told.
  int8_t hidden = HiddenFlag::NeverSet; // a HiddenFlag value
  int8_t disabled = 0;     // 1 = disabled by the application
  /// 1 = report the mouse over it (code 3).
  int8_t catchMouseOver = 0; // 1 = report mouse-over (code 3)
  int32_t frontColor = 0;  // "FRONTCOLOR"
  int8_t changed = 0;      // "CHANGED"
  std::string helpText;    // "HELPTEXT"
  int32_t gadget = 0;      // toolkit gadget number
  std::unique_ptr<ItemListRecord> itemData;         // kinds 64..67, 69, 70
  std::unique_ptr<CanvasRecord> canvas;             // kinds 96, 97, 98, 100
  std::unique_ptr<LabelRecord> labelData;           // set_label
  std::unique_ptr<ScrollBarRecord> scrollBarData;   // kinds 68, 69
  /// Inner area of a scroll area (kind 21).
  std::unique_ptr<ScrollAreaRecord> scrollAreaData; // kind 21
  std::unique_ptr<ControlRecord> control;           // the kind's own record
  int8_t expanded = -1;    // what it opens and closes: -1 nothing, 0 closed, 1 open
  int8_t drawOwed = 0;     // 1 = its drawing was held back (hold_drawings)

  // Registry links (the registry is an ordered list with stable addresses).
  /// Previous object in the registry.
  NamedObject* prev = nullptr;
  /// Next object in the registry.
  NamedObject* next = nullptr;

  /// An empty record; objects are made by the creation operations.
  NamedObject();
  /// Releases the attached records.
  ~NamedObject();
  NamedObject(const NamedObject&) = delete;
  NamedObject& operator=(const NamedObject&) = delete;
};

// ---- WindowRecord ----------------------------------------------------------
/// The registry's record of one window, with the result of its last dispatch.
struct WindowRecord {
  std::string name;          // "AUTO" for the implicit record
  int32_t handle = 0;        // native window handle
  std::string eventObject;   // object the last dispatch reported on
  int8_t eventCode = 0;      // framework event code of the last dispatch
  int16_t x = 0;             // position and inner size as last set by us
  /// Vertical position.
  int16_t y = 0;
  /// Inner width.
  int16_t width = 0;
  /// Inner height.
  int16_t height = 0;
  int8_t liveUpdate = 1;     // 1 = by-name changes reach the gadgets at once
  int32_t font = 0;          // font number for skinned text, 0 = default
  int32_t flags = 0;         // window flags given at creation
  int16_t objectCount = 0;   // objects registered in this window
  int32_t focusNumber = 0;   // number of the focused object
  int8_t focusKind = 0;      // kind of the focused object
  int32_t openDropDown = 0;  // number of the combo whose list is open
  NamedObject* firstObject = nullptr;   // first object of this window
  int32_t windowNumber = 0;  // toolkit window number
  /// Skinned button in its hover or pressed look.
  NamedObject* hoveredObject = nullptr; // skinned button in hover/pressed look
  /// @{ The mouse where the last dispatch saw it (-1 outside the client area).
  int32_t mouseX = -1;
  int32_t mouseY = -1;
  /// @}
  int8_t mouseMoved = 0;     // 1 when the last dispatch saw the mouse elsewhere

  /// Previous window in the list.
  WindowRecord* prev = nullptr;  // window list links
  /// Next window in the list.
  WindowRecord* next = nullptr;
};

}  // namespace zui
