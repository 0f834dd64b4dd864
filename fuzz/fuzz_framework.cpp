// The framework API as an interpreter: each input is a program of creation,
// removal, window and by-name operations with arbitrary names, parents,
// indexes and sizes, run on a fresh context. After every step the records
// must hold together.
//
// Sections: the run's context · choices · invariants · removal snapshot ·
// operations · entry points.
//
// Invariants: the registry is well linked and each window's group is its
// objectCount objects; every grid has cellCount = columnCount × rowCount;
// parent chains end; the caller's images survive; an object that goes takes
// its gadgets and composed images along, nothing refers to it afterwards,
// its name is gone unless another object still carries it, and only the
// removing operations remove anything.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

// ---- the run's context -----------------------------------------------------
App* skinApp = nullptr;  // holds the skin pieces; its own registry stays empty
int32_t fakeNow = 0;     // the animation clock, advanced by the program
int32_t fake_clock() { return fakeNow; }

// ZUI_FUZZ_TRACE=1 prints every step and the registry after it.
bool trace = false;

constexpr int kMaxWindows = 3;
constexpr int kMaxObjects = 60;
constexpr int kMaxSteps = 64;

// The caller's images: skin pieces the widgets are given and must never free.
std::vector<int32_t> caller_images() {
  const SkinPieces& s = skinApp->state.skin;
  return {s.SkinArrowTurn, s.SkinArrowDown, s.SkinRoundAdd, s.SkinToggleShown,
          s.SkinTabsGrey,  s.SkinFrameData, s.SkinGridParts, s.SkinMessageBack};
}

// ---- choices ---------------------------------------------------------------
const char* const kNames[] = {"A",    "B",     "C",     "D",       "Page",     "Tabs",
                              "Grid", "Split", "Left",  "Right",   "UNTITLED3", "",
                              "GridSCROLLV", "GridSCROLLH", "a", "Main"};
const char* const kWindowNames[] = {"Main", "Second", "Third", "AUTO", ""};

int32_t registry_size(const Ui& ui) { return ui.count; }

// A name: mostly from the pool, often an existing object's, sometimes any.
std::string name(ByteStream& in, Ui& ui) {
  const uint8_t how = in.byte() % 8;
  if (how < 4) return in.pick(kNames);
  if (how < 7 && ui.count > 0) {
    int k = in.range(0, ui.count - 1);
    for (NamedObject* o = ui.first; o; o = o->next)
      if (k-- == 0) return o->name;
  }
  return in.text(8);
}

std::string window_name(ByteStream& in) {
  if (in.byte() % 6 == 0) return in.text(6);
  return in.pick(kWindowNames);
}

int16_t coordinate(ByteStream& in) {
  if (in.byte() % 10 == 0) return in.i16();
  return static_cast<int16_t>(in.range(-20, 700));
}

int16_t extent(ByteStream& in) {
  const uint8_t how = in.byte() % 12;
  if (how == 0) return in.i16();
  if (how == 1) return static_cast<int16_t>(in.range(-2, 2));
  return static_cast<int16_t>(in.range(0, 400));
}

// Mostly a caller image; sometimes none or a number that names nothing.
int32_t image(ByteStream& in) {
  const uint8_t how = in.byte() % 10;
  if (how == 0) return 0;
  if (how == 1) return in.i32();
  const std::vector<int32_t> images = caller_images();
  return images[in.range(0, int32_t(images.size()) - 1)];
}

int32_t gadget_of_some_object(ByteStream& in, Ui& ui) {
  if (in.byte() % 5 == 0) return in.i32();
  int k = in.range(0, ui.count > 0 ? ui.count - 1 : 0);
  for (NamedObject* o = ui.first; o; o = o->next)
    if (k-- == 0) return o->gadget;
  return 0;
}

// ---- invariants ------------------------------------------------------------
void check_invariants(Ui& ui) {
  check_registry(ui);
  check_parent_chains(ui);
  for (int32_t image : caller_images()) FUZZ_CHECK(tk_image_exists(image));
}

// ---- removal snapshot ------------------------------------------------------
// What an object holds in the toolkit that must go with it.
struct Held {
  const NamedObject* object;
  std::string name;
  std::vector<int32_t> gadgets;
  std::vector<int32_t> images;
};

bool is_caller_image(int32_t image) {
  for (int32_t i : caller_images())
    if (i == image) return true;
  return false;
}

std::vector<Held> snapshot(const Ui& ui) {
  std::vector<Held> out;
  for (const NamedObject* o = ui.first; o; o = o->next) {
    Held h{o, o->name, {}, {}};
    h.gadgets.push_back(o->gadget);
    if (o->labelData) h.gadgets.push_back(o->labelData->labelGadget);
    if (o->canvas) {
      h.gadgets.push_back(o->canvas->pictureGadget);
      if (o->canvas->canvasImage != o->canvas->sourceImage) h.images.push_back(o->canvas->canvasImage);
    }
    if (button_record(*o) && button_record(*o)->shownImage != button_record(*o)->stripImage)
      h.images.push_back(button_record(*o)->shownImage);
    if (o->itemData)
      for (const ItemEntry& e : o->itemData->entries) h.images.push_back(e.image);
    if (grid_record(*o)) {
      const GridRecord& g = *grid_record(*o);
      h.gadgets.push_back(g.inputGadget);
      h.images.push_back(g.expanderStrip);
      for (const CellRecord& c : g.cells)
        if (c.expander) h.images.push_back(c.expander->frameImage);
    }
    std::erase_if(h.gadgets, [](int32_t g) { return g == 0; });
    std::erase_if(h.images, [](int32_t i) { return i == 0 || is_caller_image(i); });
    out.push_back(std::move(h));
  }
  return out;
}

// Compares the registry after one operation with the snapshot before it.
void check_removals(const Ui& ui, const std::vector<Held>& before, bool mayRemove) {
  std::set<const NamedObject*> alive;
  std::set<std::string> names;
  for (const NamedObject* o = ui.first; o; o = o->next) {
    alive.insert(o);
    names.insert(o->name);
  }
  for (const Held& h : before) {
    if (alive.count(h.object)) continue;
    FUZZ_CHECK(mayRemove);
    for (int32_t g : h.gadgets) FUZZ_CHECK(tk_gadget_exists(g) == 0);
    for (int32_t i : h.images) FUZZ_CHECK(tk_image_exists(i) == 0);
    // The name is gone unless an object that stayed carried it too.
    bool carriedBySurvivor = false;
    for (const Held& other : before)
      if (other.name == h.name && alive.count(other.object)) carriedBySurvivor = true;
    if (!carriedBySurvivor) FUZZ_CHECK(names.count(h.name) == 0);
  }
}

// ---- operations ------------------------------------------------------------
int window_count(const Ui& ui) {
  int n = 0;
  for (const WindowRecord* w = ui.firstWindow; w; w = w->next) ++n;
  return n;
}

void create(ByteStream& in, Ui& ui) {
  if (registry_size(ui) >= kMaxObjects) return;
  const std::string n = name(in, ui);
  const std::string parent = in.byte() % 3 == 0 ? std::string() : name(in, ui);
  const int16_t x = coordinate(in), y = coordinate(in);
  const int16_t w = extent(in), h = extent(in);
  const std::string text = in.text(10);
  const int32_t flags = in.byte() % 4 == 0 ? in.i32() : 0;
  switch (in.byte() % 21) {
    case 0: create_text(ui, n, x, y, w, h, text, flags, parent); break;
    case 1: create_button(ui, n, x, y, w, h, text, flags, parent); break;
    case 2: create_image_button(ui, n, x, y, w, h, image(in), parent); break;
    case 3: create_input(ui, n, x, y, w, h, text, flags, parent); break;
    case 4: create_combo(ui, n, x, y, w, h, text, flags, parent); break;
    case 5: create_list(ui, n, x, y, w, h, text, flags, parent); break;
    case 6: create_date(ui, n, x, y, w, h, text, in.i32(), parent); break;
    case 7:
      create_check_box(ui, n, x, y, w, h, static_cast<int8_t>(in.byte()), text, flags, parent);
      break;
    case 8: create_tree(ui, n, x, y, w, h, text, flags, parent); break;
    case 9: create_editor(ui, n, x, y, w, h, text, flags, parent); break;
    case 10: create_container(ui, n, x, y, w, h, flags, parent); break;
    case 11:
      create_scroll_area(ui, n, x, y, w, h, in.range(-10, 3000), in.range(-10, 3000), flags, parent);
      break;
    case 12:
      create_scroll_bar(ui, n, x, y, w, h, in.range(-5, 50), in.range(-5, 200), in.range(-5, 50),
                        in.range(0, 2), parent);
      break;
    case 13: {
      const std::string first = name(in, ui), second = name(in, ui);
      create_splitter(ui, n, x, y, w, h, first, second, extent(in),
                      static_cast<int8_t>(in.range(0, 1)), parent);
      break;
    }
    case 14: create_picture(ui, n, x, y, w, h, image(in), parent); break;
    case 15: create_image_button_skinned(ui, n, x, y, image(in), parent); break;
    case 16:
      create_stretch_button(ui, n, x, y, w, text, image(in), static_cast<int8_t>(in.byte()),
                            static_cast<int8_t>(in.range(0, 3)), parent);
      break;
    case 17: create_picture_container(ui, n, x, y, w, h, image(in), parent); break;
    case 18:
      create_tab_bar(ui, n, x, y, w, image(in), static_cast<int8_t>(in.byte()),
                     static_cast<int8_t>(in.range(0, 1)), parent);
      break;
    case 19:
      create_frame(ui, n, x, y, w, h, image(in), static_cast<int8_t>(in.byte()), text, parent);
      break;
    default: {
      const int32_t made = create_grid(ui, n, x, y, w, h, image(in),
                                       static_cast<int8_t>(in.flag() ? 20 : in.byte()), parent);
      if (made == 0) break;
      const int columns = in.range(0, 4), rows = in.range(0, 8);
      for (int c = 0; c < columns; ++c)
        add_column(ui, n, -1, in.flag() ? "Col" : "", static_cast<int16_t>(in.range(0, 90)),
                   static_cast<int8_t>(in.range(0, 3)), 0, 0, "", 0);
      for (int r = 0; r < rows; ++r)
        add_row(ui, n, -1, "", static_cast<int8_t>(in.range(0, 25)),
                static_cast<int8_t>(in.range(0, 2)), "x\ny", "", static_cast<int8_t>(in.flag()));
      break;
    }
  }
}

// Returns whether the operation may remove objects.
bool window_step(ByteStream& in, Ui& ui) {
  const std::string w = window_name(in);
  switch (in.byte() % 11) {
    case 0:
      if (window_count(ui) < kMaxWindows)
        create_window(ui, w, coordinate(in), coordinate(in), extent(in), extent(in), "Fuzz",
                      in.flag() ? TK_WINDOW_HIDDEN : in.i32() | TK_WINDOW_HIDDEN);
      return false;
    case 1: close_window(ui, w); return true;
    case 2: remove_window_objects(ui, w); return true;
    case 3: select_window(ui, w); return false;
    case 4: select_window_by_handle(ui, in.flag() && ui.firstWindow ? ui.firstWindow->handle : in.i32()); return false;
    case 5: set_live_update(ui, w, static_cast<int8_t>(in.range(-1, 2))); return false;
    case 6: refresh_window(ui, w); return false;
    case 7: move_window(ui, w, coordinate(in), coordinate(in)); return false;
    case 8: resize_window(ui, w, extent(in), extent(in)); return false;
    case 9: activate_window(ui, w); return false;
    default: get_window_number(ui, w); return false;
  }
}

void by_name_step(ByteStream& in, Ui& ui) {
  const std::string n = name(in, ui);
  const int8_t b = static_cast<int8_t>(in.byte());
  switch (in.byte() % 36) {
    case 0: set_text(ui, n, in.text(10), static_cast<int8_t>(in.range(0, 1))); break;
    case 1: get_text(ui, n); break;
    case 2: select_item(ui, n, in.text(4), static_cast<int8_t>(in.range(0, 1))); break;
    case 3: {
      // Entry images belong to the entry: a fresh one, none or an unknown number.
      const uint8_t how = in.byte() % 3;
      const int32_t img = how == 0 ? tk_create_image(-1, 4, 4) : how == 1 ? 0 : in.i32();
      add_item(ui, n, in.text(4), in.text(8), img, b, in.range(-2, 6));
      bool taken = false;
      for (NamedObject* o = ui.first; o && !taken; o = o->next)
        if (o->itemData)
          for (const ItemEntry& e : o->itemData->entries) taken = taken || e.image == img;
      if (how == 0 && !taken) tk_free_image(img);
      break;
    }
    case 4: remove_item(ui, n, in.range(-2, 6)); break;
    case 5: clear_items(ui, n); break;
    case 6: selected_key(ui, n); break;
    case 7: show_object(ui, n, b, static_cast<int8_t>(in.range(0, 1))); break;
    case 8: disable_object(ui, n, b); break;
    case 9: pin_object(ui, n); break;
    case 10: set_color(ui, n, in.range(0, 4), in.i32()); break;
    case 11: set_label(ui, n, in.text(8), extent(in), in.i32(), in.i32()); break;
    case 12: set_user_data(ui, n, in.i32()); break;
    case 13: set_button_strip(ui, n, extent(in), image(in)); break;
    case 14:
      set_animation_strip(ui, n, extent(in), image(in), in.i16(), in.i16(), in.i16());
      break;
    case 15: show_animation_frame(ui, n, in.i16()); break;
    case 16: start_animation(ui, n, b, in.i16(), static_cast<int8_t>(in.range(0, 1))); break;
    case 17: stop_animation(ui, n); break;
    case 18: select_tab(ui, n, b, static_cast<int8_t>(in.range(0, 1))); break;
    case 19: add_tab(ui, n, in.text(4), in.text(8), name(in, ui), extent(in)); break;
    case 20: set_absolute_position(ui, n, coordinate(in), coordinate(in)); break;
    case 21: update_child_positions(ui, n, coordinate(in), coordinate(in)); break;
    case 22:
      if (find_object(ui, n, 0) == 1) is_descendant(ui, name(in, ui));
      break;
    case 23: move_object(ui, n, coordinate(in), coordinate(in), static_cast<int8_t>(in.range(0, 1))); break;
    case 24: resize_object(ui, n, extent(in), extent(in), static_cast<int8_t>(in.range(0, 1))); break;
    case 25: {
      // 0 exactly when the object now carries the new name.
      const std::string to = name(in, ui);
      NamedObject* o = find_object(ui, n, 0) == 1 ? current_object(ui) : nullptr;
      const int32_t result = set_attribute(ui, n, "NAME", to, 0);
      FUZZ_CHECK((result == 0) == (o && to != n && o->name == to));
      break;
    }
    case 26: find_object(ui, n, static_cast<int8_t>(in.range(0, 1))); break;
    case 27: find_object_by_gadget(ui, gadget_of_some_object(in, ui), static_cast<int8_t>(in.range(0, 1))); break;
    case 28: find_object_by_number(ui, in.range(-1, ui.count + 1), static_cast<int8_t>(in.range(0, 1))); break;
    case 29: name_of_gadget(ui, gadget_of_some_object(in, ui)); break;
    case 30: name_of_number(ui, in.range(-1, ui.count + 1)); break;
    case 31: get_gadget(ui, n); get_number(ui, n); break;
    case 32: {
      // Both spellings, taken by grids only.
      const char* const bars[] = {"SCOLLBARX", "SCOLLBARY", "SCROLLBARX", "scrollbary"};
      const bool grid = find_object(ui, n, 0) == 1 && current_object(ui)->kind == Kind::Grid;
      FUZZ_CHECK((set_attribute(ui, n, bars[in.byte() % 4], "", 1) == 0) == grid);
      break;
    }
    case 33:
      // A strip and its animation in one go, as the demo's arrows get them.
      set_animation_strip(ui, n, 16, skinApp->state.skin.SkinArrowTurn,
                          static_cast<int16_t>(in.range(-1, 6)), static_cast<int16_t>(in.range(-1, 6)),
                          static_cast<int16_t>(in.range(0, 5)));
      start_animation(ui, n, static_cast<int8_t>(in.range(0, 34)), static_cast<int16_t>(in.range(0, 80)),
                      static_cast<int8_t>(in.range(0, 1)));
      break;
    case 34:
      set_button_strip(ui, n, 16, in.flag() ? skinApp->state.skin.SkinRoundAdd : skinApp->state.skin.SkinArrowDown);
      break;
    default: {
      // Positioning by reference, as callers restore a remembered object.
      int k = in.range(-1, ui.count - 1);
      NamedObject* o = k < 0 ? nullptr : ui.first;
      while (o && k-- > 0) o = o->next;
      position_before(ui, o);
      break;
    }
  }
}

void grid_step(ByteStream& in, Ui& ui) {
  const std::string n = in.flag() ? std::string("Grid") : name(in, ui);
  const int16_t c = static_cast<int16_t>(in.range(-1, 5));
  const int16_t r = static_cast<int16_t>(in.range(-1, 10));
  switch (in.byte() % 9) {
    case 0:
      if (grid_column_count(ui, n) < 8)
        add_column(ui, n, c, in.text(6), extent(in), static_cast<int8_t>(in.range(0, 4)),
                   static_cast<int8_t>(in.range(0, 2)), 0, in.text(8), static_cast<int8_t>(in.range(0, 1)));
      break;
    case 1:
      if (grid_row_count(ui, n) < 30)
        add_row(ui, n, r, in.text(6), static_cast<int8_t>(in.byte()), static_cast<int8_t>(in.range(-1, 4)),
                in.text(8), in.text(3), static_cast<int8_t>(in.range(0, 1)));
      break;
    case 2: delete_row(ui, n, r, static_cast<int8_t>(in.range(0, 1))); break;
    case 3: clear_grid(ui, n, static_cast<int8_t>(in.range(0, 1))); break;
    case 4: set_cursor(ui, n, c, r, in.range(0, 1)); break;
    case 5: set_attribute(ui, n, "ENABLEINPUT", "1", 0); open_editor(ui, n, c, r); break;
    case 6: close_editor(ui, n, static_cast<int8_t>(in.range(0, 1))); break;
    case 7: set_row_attribute(ui, n, r, in.flag() ? "ISPARENT" : "LEVEL", std::to_string(in.byte()), 1); break;
    default:
      if (find_object(ui, n, 0) == 1) draw_object(ui, *current_object(ui));
      break;
  }
}

// One dispatch with the clock moved on: hovers, presses, animations and grid
// keys run over whatever the program built.
void dispatch_step(ByteStream& in, Ui& ui) {
  fakeNow += in.range(0, 120);
  const int32_t kinds[] = {0, TK_EVENT_GADGET, TK_EVENT_MENU, TK_EVENT_RESIZED};
  const int32_t types[] = {-1, 0, 1, 2, 3, 7, 8, 768, 1281, 14000, 14001, 65535};
  const int32_t kind = in.pick(kinds);
  const int32_t type = in.flag() ? in.pick(types) : in.i32();
  int32_t gadget = gadget_of_some_object(in, ui);
  if (kind == TK_EVENT_MENU) gadget = in.range(1090, 1110);
  // Mostly over an object (its edges included), else anywhere or outside.
  int32_t x = -1, y = -1;
  const uint8_t where = in.byte() % 4;
  if (where < 2 && ui.count > 0) {
    int k = in.range(0, ui.count - 1);
    const NamedObject* o = ui.first;
    while (o->next && k-- > 0) o = o->next;
    x = o->absX + in.range(-1, o->width + 1);
    y = o->absY + in.range(-1, o->height + 1);
  } else if (where < 3) {
    x = in.range(-5, 700);
    y = in.range(-5, 500);
  }
  dispatch_event(ui, x, y, kind, type, gadget, gadget);
  event_code(ui);
  event_object_name(ui);
}

void run(ByteStream& in, Ui& ui) {
  create_window(ui, "Main", 0, 0, 800, 600, "Fuzz", TK_WINDOW_HIDDEN);
  check_invariants(ui);
  for (int step = 0; step < kMaxSteps && !in.empty(); ++step) {
    const std::vector<Held> before = snapshot(ui);
    bool mayRemove = false;
    const uint8_t op = in.byte() % 16;
    if (trace) std::fprintf(stderr, "step %d: op %d\n", step, op);
    if (op < 5) {
      create(in, ui);
    } else if (op < 7) {
      const std::string n = name(in, ui);
      const uint8_t how = in.byte() % 3;
      if (how == 2) free_object(ui, n);
      else remove_object(ui, n, static_cast<int8_t>(how));
      mayRemove = true;
    } else if (op == 7) {
      mayRemove = window_step(in, ui);
    } else if (op < 12) {
      by_name_step(in, ui);
    } else if (op < 14) {
      grid_step(in, ui);
    } else {
      dispatch_step(in, ui);
    }
    if (trace) dump_registry(ui);
    check_invariants(ui);
    check_removals(ui, before, mayRemove);
  }
}

// Closes what the program left: every window with its objects, then any
// object registered while no window record existed.
void tear_down(Ui& ui) {
  while (ui.firstWindow) {
    WindowRecord* w = ui.firstWindow;
    // A window created with an empty name cannot be addressed by name; it
    // gets one for closing.
    if (w->name.empty()) w->name = "Unnamed";
    ui.currentWindow = w;
    close_window(ui, w->name);
    FUZZ_CHECK(ui.firstWindow != w);
  }
  while (ui.first) {
    const std::string n = ui.first->name;
    const int32_t before = ui.count;
    ui.current = nullptr;
    remove_object(ui, n, 0);
    FUZZ_CHECK(ui.count == before - 1);
  }
}

}  // namespace

// ---- entry points ------------------------------------------------------------
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_toolkit();
  trace = std::getenv("ZUI_FUZZ_TRACE") != nullptr;
  skinApp = new App;
  start_up(*skinApp);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ByteStream in(data, size);
  auto ui = std::make_unique<Ui>();
  fakeNow = 0;
  ui->clock = fake_clock;
  run(in, *ui);
  tear_down(*ui);
  FUZZ_CHECK(ui->count == 0 && ui->first == nullptr);
  check_invariants(*ui);
  return 0;
}
