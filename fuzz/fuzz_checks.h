#pragma once
// Invariants of the framework's records, checked after every fuzzed step.
//
// Sections: grids · registry and windows · parent chains.
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "fuzz_input.h"
#include "grid/grid_records.h"

using namespace zui;

// ---- grids -----------------------------------------------------------------
// Counts agree with the stored records, and every expander the grid refers
// to is one of its own cells' expanders.
inline void check_grid(const GridRecord& g) {
  FUZZ_CHECK(g.columnCount >= 0 && g.rowCount >= 0);
  FUZZ_CHECK(int64_t(g.cellCount) == int64_t(g.columnCount) * g.rowCount);
  FUZZ_CHECK(g.columns.size() == size_t(g.columnCount));
  FUZZ_CHECK(g.rows.size() == size_t(g.rowCount));
  FUZZ_CHECK(g.cells.size() == size_t(g.cellCount));
  for (size_t c = 0; c < g.columns.size(); ++c) FUZZ_CHECK(g.columns[c].index == int16_t(c));
  auto owns = [&](const ExpanderRecord* e) {
    for (const CellRecord& cell : g.cells)
      if (cell.expander.get() == e) return true;
    return false;
  };
  if (g.hoveredExpander) FUZZ_CHECK(owns(g.hoveredExpander));
  for (const ExpanderRecord* e : g.activeExpanders) FUZZ_CHECK(e && owns(e) && e->state > 0);
}

// ---- registry and windows --------------------------------------------------
inline bool in_registry(const Ui& ui, const NamedObject* object) {
  for (const NamedObject* o = ui.first; o; o = o->next)
    if (o == object) return true;
  return false;
}

// The list is well linked and counted; each window's group is its
// objectCount consecutive objects from firstObject, all of that window, and
// groups never overlap.
inline void check_registry(const Ui& ui) {
  int32_t n = 0;
  const NamedObject* prev = nullptr;
  for (const NamedObject* o = ui.first; o; prev = o, o = o->next) {
    FUZZ_CHECK(o->prev == prev);
    FUZZ_CHECK(++n <= ui.count);
    if (grid_record(*o)) check_grid(*grid_record(*o));
    // The name index holds the object under its present name.
    bool indexed = false;
    const auto [at, end] = ui.byName.equal_range(o->name);
    for (auto i = at; i != end; ++i) indexed = indexed || i->second == o;
    FUZZ_CHECK(indexed);
  }
  FUZZ_CHECK(n == ui.count);
  FUZZ_CHECK(ui.byName.size() == static_cast<size_t>(ui.count));
  // The child lists are exactly the objects naming each parent, in registry order.
  std::unordered_map<std::string, std::vector<NamedObject*>> children;
  for (NamedObject* o = ui.first; o; o = o->next)
    if (!o->parentName.empty()) children[o->parentName].push_back(o);
  FUZZ_CHECK(children == ui.byParent);
  FUZZ_CHECK(ui.last == prev);
  FUZZ_CHECK(ui.current == nullptr || in_registry(ui, ui.current));

  int32_t grouped = 0;
  for (const WindowRecord* w = ui.firstWindow; w; w = w->next) {
    FUZZ_CHECK(w->objectCount >= 0);
    FUZZ_CHECK((w->objectCount == 0) == (w->firstObject == nullptr));
    FUZZ_CHECK(w->hoveredObject == nullptr || in_registry(ui, w->hoveredObject));
    const NamedObject* o = w->firstObject;
    for (int i = 0; i < w->objectCount; ++i, o = o->next) {
      FUZZ_CHECK(o != nullptr);
      FUZZ_CHECK(o->window == w->handle);
      for (const WindowRecord* v = ui.firstWindow; v; v = v->next) {
        if (v == w || v->objectCount == 0) continue;
        // A group of another window never contains this object.
        const NamedObject* p = v->firstObject;
        for (int j = 0; j < v->objectCount && p; ++j, p = p->next) FUZZ_CHECK(p != o);
      }
    }
    grouped += w->objectCount;
    // A window of its own handle counts every object carrying that handle.
    bool unique = w->handle != 0;
    for (const WindowRecord* v = ui.firstWindow; v && unique; v = v->next)
      if (v != w && v->handle == w->handle) unique = false;
    if (unique) {
      int32_t carrying = 0;
      for (const NamedObject* p = ui.first; p; p = p->next)
        if (p->window == w->handle) ++carrying;
      FUZZ_CHECK(carrying == w->objectCount);
    }
  }
  FUZZ_CHECK(grouped <= ui.count);
}

// ---- parent chains ---------------------------------------------------------
// The registry as name(parent)@window, for the report of a broken chain.
inline void dump_registry(const Ui& ui) {
  for (const NamedObject* o = ui.first; o; o = o->next)
    std::fprintf(stderr, "  [%d] '%s' (parent '%s') kind %d window %d\n", o->number,
                 o->name.c_str(), o->parentName.c_str(), o->kind, o->window);
}


// Following parent names (each to the first object of that name) ends at an
// object without a parent or at a name nobody has; it never comes round.
inline void check_parent_chains(const Ui& ui) {
  auto named = [&](const std::string& name) -> const NamedObject* {
    for (const NamedObject* o = ui.first; o; o = o->next)
      if (o->name == name) return o;
    return nullptr;
  };
  for (const NamedObject* o = ui.first; o; o = o->next) {
    const NamedObject* at = o;
    int32_t steps = 0;
    while (at && !at->parentName.empty()) {
      if (++steps > ui.count) dump_registry(ui);
      FUZZ_CHECK(steps <= ui.count);
      at = named(at->parentName);
    }
  }
}
