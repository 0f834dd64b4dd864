#pragma once
// The seam between the framework and the layers that draw and drive objects.
//
// The framework knows objects, names, hierarchy and windows. What a kind of
// object looks like, how it answers the mouse and the keys, which keywords
// it adds and what it owns beyond the framework's records belongs to the
// layer that implements the kind. That layer registers a KindBehaviour in the
// context the first time it creates an object of its kind, so an object of a
// kind always finds its behaviour; an object registered by hand with such a
// kind code but never created by its layer has none and is treated as plain.
//
// Sections: toolkit events · keyword fields ·
// behaviours · registration.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/records.h"
#include "toolkit/tk_accessible.h"

namespace zui {

struct Ui;

// ---- toolkit events --------------------------------------------------------

// One call of the dispatcher: the mouse in window coordinates and the
// toolkit event (kind, type, gadget, menu item) it was called with.
struct ToolkitEvent {
  /// Mouse x in window coordinates.
  int32_t mouseX = 0;
  /// Mouse y in window coordinates.
  int32_t mouseY = 0;
  /// Event kind (TK_EVENT_...).
  int32_t kind = 0;
  /// Gadget event type (TK_TYPE_...).
  int32_t type = 0;
  /// Gadget of a gadget event.
  int32_t gadget = 0;
  /// Menu item or shortcut of a menu event.
  int32_t menu = 0;
};

// ---- keyword fields --------------------------------------------------------

// One keyword's field: where it lives, its width and whether it reads and
// writes. A default KeywordField means "no such keyword". Numbers are
// stored into the field's width, keeping the low bits.
struct KeywordField {
  /// Width of a field: none, 8, 16 or 32-bit integer, text.
  enum Type : int8_t { None, I8, I16, I32, Text };
  Type type = None;       // width of the field
  void* ptr = nullptr;    // the field itself
  bool gettable = true;   // read by get_attribute
  bool settable = true;   // written by set_attribute

  /// No such keyword.
  KeywordField() = default;
  /// An 8-bit field.
  KeywordField(int8_t& v) : type(I8), ptr(&v) {}
  /// A 16-bit field.
  KeywordField(int16_t& v) : type(I16), ptr(&v) {}
  /// A 32-bit field.
  KeywordField(int32_t& v) : type(I32), ptr(&v) {}
  /// A text field.
  KeywordField(std::string& v) : type(Text), ptr(&v) {}

  /// True when the keyword names a field.
  explicit operator bool() const { return type != None; }
  /// Makes the field read-only for set_attribute.
  KeywordField& get_only() {
    settable = false;
    return *this;
  }
};

// The field's value as decimal text (or the text itself); empty for none.
std::string read_keyword_field(const KeywordField& field);
// Parses and stores the value; nothing for none or a read-only field.
// True when it was stored.
bool write_keyword_field(const KeywordField& field, const std::string& value);

// ---- behaviours ------------------------------------------------------------

// What a kind adds to the framework. Every hook may be left empty.
struct KindBehaviour {
  // Draw: composes the object's picture from its records and shows it.
  void (*draw)(Ui& ui, NamedObject& o) = nullptr;
  // Layout: the object was moved (resized == false) or resized; its
  // records hold the new geometry. `apply` as for move_object.
  void (*layout)(Ui& ui, NamedObject& o, bool resized, int8_t apply) = nullptr;
  // Placed: the object's absolute position or its visibility changed,
  // itself or with an ancestor or tab page; what the kind lays over it
  // follows.
  void (*placed)(Ui& ui, NamedObject& o) = nullptr;

  // Event: the mouse is over the object, after the dispatcher's common
  // handling of the call; the dispatcher reports the object.
  void (*mouseOver)(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent& e) = nullptr;
  // Event: the mouse is not over the object; `e` is the call, so a click
  // elsewhere (on another object) can be told from a move.
  void (*mouseAway)(Ui& ui, NamedObject& o, const ToolkitEvent& e) = nullptr;
  // Event: a keyboard shortcut while the object is the reported one;
  // returns the event code to report.
  int8_t (*shortcut)(Ui& ui, NamedObject& o, int32_t shortcutId) = nullptr;
  // Event: the keyboard focus moves from an object of this kind to `to`.
  void (*focusLeaves)(Ui& ui, NamedObject& to) = nullptr;
  // Event: one animation step on every dispatch; true when an animation
  // ended (the dispatch then reports code 96 and ends).
  bool (*step)(Ui& ui, NamedObject& o) = nullptr;
  // Clock: true while the object needs the dispatcher's clock without any
  // input (an animation runs, a look waits to be taken back, a held arrow
  // repeats); the main loop may sleep until the next event otherwise.
  bool (*moving)(const Ui& ui, const NamedObject& o) = nullptr;
  // Event: the left button went down over the object. The dispatcher has
  // set code 16 and focused the gadget; the kind may change the code (a
  // button that fires on release reports nothing yet, a tab bar 91).
  void (*press)(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent& e) = nullptr;
  // Event: the left button came up over the object; true when that is the
  // object's click (code 16 is reported), false to treat it as a move.
  bool (*click)(Ui& ui, const WindowRecord& win, NamedObject& o, const ToolkitEvent& e) = nullptr;
  // Event: the mouse rests or moves over the object without a click.
  void (*hover)(Ui& ui, NamedObject& o) = nullptr;
  // Event: a toolkit gadget event while the mouse is over the object, for
  // a gadget the user moves (a scroll bar); true when the kind took it and
  // set the code: no later object takes the mouse then.
  bool (*moved)(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent& e) = nullptr;
  // Event: an object outside mouse handling (pinned, hidden, disabled) sees
  // the call; true when it was dragged (a splitter's bar): the dispatch ends.
  bool (*drag)(Ui& ui, NamedObject& o, const ToolkitEvent& e) = nullptr;

  // Value: the application set the object's text by name (a toggle
  // switches by pressing itself). `apply` is the live-update condition.
  void (*textSet)(Ui& ui, NamedObject& o, const std::string& text, bool apply) = nullptr;
  // Value: the enabled state changed.
  void (*enabled)(Ui& ui, NamedObject& o) = nullptr;
  // Value: the object's value as get_text reports it, when the kind keeps
  // it elsewhere than in its text (a tab bar: the selected index).
  bool (*textGet)(Ui& ui, NamedObject& o, std::string& out) = nullptr;
  // Value: the kind keeps its value in the record (a toggle's state, the
  // selected tab's key, a cell's text): its image gadget has no text, and
  // copying it would erase the value.
  bool valueInRecord = false;
  // Hierarchy: children are created inside its gadget (a tab bar's pages).
  bool container = false;
  // Value: set_color on a kind that draws itself (types as for set_color).
  void (*colour)(Ui& ui, NamedObject& o, int32_t colourType, int32_t colour) = nullptr;
  // Value: a scroll bar linked to this object moved; `bar.text` holds its
  // position.
  void (*scrolledBy)(Ui& ui, NamedObject& o, const NamedObject& bar) = nullptr;
  // Items: clear_items on a kind with entries of its own (a tab bar's tabs).
  void (*clearItems)(Ui& ui, NamedObject& o) = nullptr;

  // Keyword attributes: the field an upper-case keyword names in the
  // kind's record, or a default field.
  KeywordField (*keyword)(NamedObject& o, const std::string& keyword) = nullptr;
  // Keyword attributes with effects beyond storing a value; true when the
  // keyword was handled here (set_attribute then reports success) and
  // nothing else is to be stored.
  bool (*setKeyword)(Ui& ui, NamedObject& o, const std::string& keyword,
                     const std::string& value) = nullptr;
  // Names: object `oldName` is now called `newName`; the kind updates the
  // names its record keeps.
  void (*renamed)(NamedObject& o, const std::string& oldName, const std::string& newName) = nullptr;
  // Names: scroll bar `bar` now names this object as the one it scrolls.
  void (*scrollBarLinked)(NamedObject& o, const NamedObject& bar) = nullptr;

  // Pages: containers this object shows and hides as pages (a tab bar's
  // tabs). hiddenPages adds those not shown now; pageCaption sets
  // `caption` to the caption naming `page` where the object has one that
  // should win over what earlier objects gave (its selected tab's, else its
  // first when none was given yet).
  /// The pages it hides now.
  void (*hiddenPages)(const NamedObject& o, std::vector<std::string>& out) = nullptr;
  /// The caption that names a page.
  void (*pageCaption)(const NamedObject& o, const std::string& page, std::string& caption) = nullptr;

  // Release: frees what the kind attached beyond the framework's records
  // (gadgets, images); the control record itself goes with the object.
  void (*release)(NamedObject& o) = nullptr;

  // Screen readers: the object's role, name and states and, for a table or
  // a tab list, its sizes and selection. The framework has filled in what
  // every object has (its name as the last resort, an expanded state).
  void (*describe)(Ui& ui, NamedObject& o, TkAccessible& out) = nullptr;
  // Screen readers: one cell or header of a table, one item of a tab list.
  void (*describeCell)(Ui& ui, NamedObject& o, int32_t column, int32_t row,
                       TkAccessibleCell& out) = nullptr;
  // Keyboard: the object is a Tab stop and takes Space, Return, Escape and
  // the arrows (key codes as for tk_add_shortcut) while it holds a focus
  // from the keyboard; returns the event code to report.
  int8_t (*key)(Ui& ui, NamedObject& o, int32_t key) = nullptr;
};

// ---- registration ----------------------------------------------------------

// Installs the behaviour of a kind in this context (again: replaces it).
void register_kind(Ui& ui, int8_t kind, const KindBehaviour& behaviour);
// The kind's behaviour; an empty behaviour for a kind nobody registered.
// Inline (framework/ui.h): the dispatcher asks for it for every object on
// every call.
inline const KindBehaviour& kind_behaviour(const Ui& ui, int8_t kind);
// True when a layer registered the kind in this context.
bool kind_registered(const Ui& ui, int8_t kind);

// Convenience calls through the table; each does nothing without a hook.
void draw_object(Ui& ui, NamedObject& o);

// ---- held drawings ---------------------------------------------------------
// A kind's drawing starts with this: true means "do not draw now", and the
// drawing is owed. Drawings are owed while they are held, and an owed
// drawing stays owed until the object can be seen (its gadget and every
// gadget around it shown; the window itself may still be hidden).
bool drawing_owed(Ui& ui, NamedObject& o);
// Makes the owed drawings of objects that can now be seen. Called wherever
// gadgets may have been shown.
void draw_owed(Ui& ui);
// Forgets an object's owed drawing (the object is being removed).
void forget_owed(Ui& ui, NamedObject& o);

}  // namespace zui
