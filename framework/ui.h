#pragma once
// The framework's whole state in one context object: the registry of named
// objects and the window list, each with its current position. A test
// creates a fresh Ui; nothing of the framework lives in statics.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/kinds.h"
#include "framework/records.h"

// Everything of the library above the toolkit's tk_ functions.
namespace zui {

/// The framework's context: registry, windows, animation clock and the
/// kinds' behaviours. Every operation takes it first.
struct Ui {
  // Registry: ordered list of objects. `current` is the current object;
  // nullptr means "positioned before the first object" (no object current),
  // so stepping forward yields `first`.
  /// First object of the registry.
  NamedObject* first = nullptr;
  /// Last object of the registry.
  NamedObject* last = nullptr;
  /// The current object, nullptr = before the first.
  NamedObject* current = nullptr;
  int32_t count = 0;  // objects in the registry
  /// Every object by its name, so a lookup need not walk the registry.
  /// Names repeat only across windows; the registry order decides then.
  std::unordered_multimap<std::string, NamedObject*> byName;
  /// The objects that name a parent, by that name, in registry order: the
  /// hierarchy is by name, so a name reused after its object was removed
  /// finds the orphans again.
  std::unordered_map<std::string, std::vector<NamedObject*>> byParent;

  // Window list, newest first, with its current record (nullptr = none).
  /// Newest window record.
  WindowRecord* firstWindow = nullptr;
  /// The current window record, nullptr = none.
  WindowRecord* currentWindow = nullptr;

  // The millisecond clock that drives animations. Tests replace it to step
  // animations deterministically.
  int32_t (*clock)() = nullptr;  // nullptr = tk_elapsed_ms
  /// 1 while the program wants the clock without any input (next_wait).
  int8_t ticksWanted = 0;
  /// True while drawings are held (hold_drawings).
  bool drawingsHeld = false;
  /// The objects whose drawing was held back, in the order they first owed
  /// one; a removed object leaves the list.
  std::vector<NamedObject*> owed;

  // What each kind adds, by kind code, as its layer registered it.
  /// The behaviour of each kind code.
  std::array<KindBehaviour, 128> kinds{};
  /// True for each kind code a layer registered.
  std::array<bool, 128> kindRegistered{};

  /// An empty context.
  Ui() = default;
  ~Ui();  // releases every object and window record (not their gadgets)
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
};

// The animation clock of this context.
int32_t ui_now(const Ui& ui);

/// The behaviour registered for a kind code; an empty one for none.
inline const KindBehaviour& kind_behaviour(const Ui& ui, int8_t kind) {
  // int8 codes: 0..127 index the table, negative ones have no behaviour.
  return ui.kinds[kind >= 0 ? size_t(kind) : 0];
}

/// Whether children of an object of this kind are created inside its
/// gadget: the framework's containers, and kinds registered as containers.
inline bool holds_children(const Ui& ui, int8_t kind) {
  return is_container_kind(kind) || kind_behaviour(ui, kind).container;
}

}  // namespace zui
