// The keyword surface: get/set_attribute and their column, row and cell
// siblings with arbitrary keywords and values on grids of arbitrary shape,
// mixed with the model operations that change the shape underneath.
//
// Sections: keywords and values · the screen of one input · checks · steps ·
// input · entry points.
//
// Oracle: a numeric keyword written to a record that exists reads back as the
// value's low bits, sign-extended; a text keyword reads back unchanged; a
// get-only keyword does not change. A setter returns 0 exactly when the
// object or part has the keyword and takes the value, else -1.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "grid/grid.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

// ---- keywords and values ---------------------------------------------------
// Width: 8, 16 or 32 bits for numbers, 0 for text, -1 for a keyword with its
// own rules (no read-back oracle), -2 for a get-only one.
struct Keyword {
  const char* name;
  int width;
};

const Keyword kCommonKeywords[] = {
    {"CATCHMOUSEOVER", 8}, {"FRONTCOLOR", 32}, {"HELPTEXT", 0}, {"CHANGED", 8}, {"NAME", -1}};
const Keyword kGridKeywords[] = {
    {"GRIDV", 8},           {"GRIDH", 8},          {"GRIDCOLOR", 32},    {"CAPTCOLHEIGHT", 8},
    {"CAPTROWWIDTH", 16},   {"COLCUSTOM", 8},      {"SHOWTREE", 8},      {"SELMODE", 8},
    {"SELFRONTCOLOR", 32},  {"BORDERLESS", 8},     {"REDRAW", 8},        {"PERMANENTCURSOR", 8},
    {"ENABLEINPUT", 8},     {"SELECTORSTYLE", 8},  {"KEYBOARDCONTROL", 8}, {"SCROLLX", 16},
    {"SCROLLY", 32},        {"ANIMATING", -2},     {"SCOLLBARX", -1},    {"SCOLLBARY", -1},
    {"SCROLLBARX", -1},     {"SCROLLBARY", -1}};
const Keyword kGadgetKeywords[] = {{"AREAWIDTH", -1}, {"AREAHEIGHT", -1}, {"POSX", -1},
                                   {"POSY", -1},      {"MIN", -1},        {"MAX", -1},
                                   {"PAGELEN", -1},   {"PARENTGRID", -1}};
const Keyword kColumnKeywords[] = {
    {"WIDTH", 16}, {"ORIENTATION", 8}, {"SUMMARY", 8},           {"CAPTION", 0},
    {"INPUTTYPE", 8}, {"LOCK", 8},     {"MARGINLEFT", 8},        {"LISTALLOWEDVALUES", 0},
    {"INPUTHEIGHT", 16}, {"BGCOLOR", 32}};
const Keyword kRowKeywords[] = {{"CAPTION", 0},   {"HEIGHT", 8},       {"LEVEL", 8},
                                {"ISPARENT", 8},  {"PARENT", 32},      {"VORIENTATION", 8},
                                {"LOCK", 8},      {"DATA", 32},        {"BGCOLOR", 32},
                                {"KEY", 0}};
const Keyword kCellKeywords[] = {
    {"LOCK", 8}, {"IMAGE", -1}, {"FONTCOLOR", 32}, {"BGCOLOR", 32}};

const char* const kValues[] = {"",    "0",     "1",      "-1",    "2",          "3",
                               "16",  "64",    "127",    "128",   "255",        "256",
                               "300", "-128",  "32767",  "32768", "-32768",     "65535",
                               "65536", "2147483647", "-2147483648", "4294967295",
                               "99999999999999999999999", " 12ab", "\t-7", "+5", "--3", "x"};

// The keyword in the case the caller wrote it: upper, lower or mixed.
std::string spell(ByteStream& in, const char* keyword) {
  std::string k = keyword;
  const uint8_t mode = in.byte() % 4;
  for (size_t i = 0; i < k.size(); ++i)
    if (mode == 1 || (mode == 2 && i % 2 == 1))
      if (k[i] >= 'A' && k[i] <= 'Z') k[i] = static_cast<char>(k[i] + 32);
  return k;
}

// A keyword of the given table (width reported), sometimes one of another
// table or arbitrary bytes (width -1: no oracle).
template <std::size_t N>
std::string keyword(ByteStream& in, const Keyword (&table)[N], int& width) {
  const uint8_t how = in.byte() % 10;
  if (how < 7) {
    const Keyword& k = in.pick(table);
    width = k.width;
    return spell(in, k.name);
  }
  width = -1;
  if (how == 7) return in.pick(kGridKeywords).name;
  if (how == 8) return in.pick(kRowKeywords).name;
  return in.text(20);
}

std::string value(ByteStream& in) {
  const uint8_t how = in.byte() % 10;
  if (how < 5) return in.pick(kValues);
  if (how < 8) return in.text(24);
  return std::to_string(in.i32());
}

// What a numeric field of this width reads back after being given the value.
std::string read_back(const std::string& value, int width) {
  const int64_t n = parse_keyword_number(value);
  if (width == 8) return std::to_string(static_cast<int8_t>(n));
  if (width == 16) return std::to_string(static_cast<int16_t>(n));
  return std::to_string(static_cast<int32_t>(n));
}

bool has_keyword(const Keyword* table, std::size_t n, const std::string& upper) {
  for (std::size_t i = 0; i < n; ++i)
    if (upper == table[i].name) return true;
  return false;
}

std::string upper(std::string k);

// Whether set_attribute stores `upper` on the object (NAME aside): a keyword
// of every object, a settable one of the grid, or one of the object's kind.
bool takes_keyword(const NamedObject& o, const std::string& upper) {
  if (upper != "NAME" && has_keyword(kCommonKeywords, std::size(kCommonKeywords), upper)) return true;
  if (o.kind == Kind::Grid)
    return upper != "ANIMATING" && has_keyword(kGridKeywords, std::size(kGridKeywords), upper);
  if (o.kind == Kind::ScrollArea)
    return upper == "AREAWIDTH" || upper == "AREAHEIGHT" || upper == "POSX" || upper == "POSY";
  if (o.kind == Kind::ScrollBar)
    return upper == "MIN" || upper == "MAX" || upper == "PAGELEN" || upper == "PARENTGRID";
  if (o.kind == Kind::Date) return upper == "MIN" || upper == "MAX";
  return false;
}

std::string upper(std::string k) {
  for (char& ch : k) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte >= 'a' && byte <= 'z') || byte >= 224) ch = static_cast<char>(byte - 32);
  }
  return k;
}

// ---- the screen of one input -----------------------------------------------
struct Harness {
  Ui ui;
  int32_t window = 0;
  int32_t gridParts = 0;  // the real grid skin piece
  int32_t strip = 0;      // a four-frame strip for the skinned button
};

Harness* harness = nullptr;
constexpr const char* kWindow = "FuzzWindow";
constexpr int kMaxColumns = 10;
constexpr int kMaxRows = 40;

std::string grid_name(int k) { return "Grid" + std::to_string(k); }

void build(ByteStream& in) {
  Ui& ui = harness->ui;
  const int grids = in.range(1, 3);
  for (int k = 0; k < grids; ++k) {
    const std::string name = grid_name(k);
    const int16_t w = static_cast<int16_t>(in.range(0, 500));
    const int16_t h = static_cast<int16_t>(in.range(0, 300));
    const int8_t icon = static_cast<int8_t>(in.flag() ? 20 : in.byte());
    create_grid(ui, name, static_cast<int16_t>(k * 10), 10, w, h,
                in.flag() ? harness->gridParts : 0, icon, "");
    const bool batch = in.flag();
    if (batch) set_attribute(ui, name, "REDRAW", "0", 0);
    const int columns = in.range(0, 6);
    for (int c = 0; c < columns; ++c)
      add_column(ui, name, -1, in.flag() ? "Col" : "", static_cast<int16_t>(in.range(0, 120)),
                 static_cast<int8_t>(in.range(0, 3)), static_cast<int8_t>(in.range(0, 2)), 0, "",
                 0);
    const int rows = in.range(0, 12);
    for (int r = 0; r < rows; ++r)
      add_row(ui, name, -1, in.flag() ? "Row" : "", static_cast<int8_t>(in.range(0, 30)),
              static_cast<int8_t>(in.range(0, 3)), "a\nb\nc", "", 0);
    if (batch) set_attribute(ui, name, "REDRAW", "1", 1);
  }
  // One object of each other kind with keywords of its own.
  create_scroll_bar(ui, "Bar", 0, 400, 200, 16, 0, 10, 2, in.flag() ? 1 : 0, "");
  create_scroll_area(ui, "Area", 300, 400, 100, 80, 400, 300, 0, "");
  create_date(ui, "Date", 420, 400, 100, 20, "%dd.%mm.%yyyy", 0, "");
  create_image_button_skinned(ui, "Button", 540, 400, harness->strip, "");
  create_input(ui, "Text", 600, 400, 80, 20, "", 0, "");
}

// ---- checks ----------------------------------------------------------------
void check_all() {
  check_registry(harness->ui);
  check_parent_chains(harness->ui);
}

// ---- steps -----------------------------------------------------------------
// An object to address: mostly one that exists (by its current name, which a
// NAME keyword may have changed), sometimes any name at all.
std::string target(ByteStream& in) {
  Ui& ui = harness->ui;
  if (in.byte() % 8 == 0) return in.text(12);
  int k = in.range(0, 15);
  for (NamedObject* o = ui.first; o; o = o->next)
    if (k-- == 0) return o->name;
  return grid_name(0);
}

// A grid to address: mostly a grid.
std::string grid_target(ByteStream& in) {
  if (in.byte() % 6 == 0) return target(in);
  return grid_name(in.range(0, 2));
}

GridRecord* grid_of(const std::string& name) {
  for (NamedObject* o = harness->ui.first; o; o = o->next)
    if (o->name == name) return o->kind == Kind::Grid ? grid_record(*o) : nullptr;
  return nullptr;
}

NamedObject* object_named(const std::string& name) {
  for (NamedObject* o = harness->ui.first; o; o = o->next)
    if (o->name == name) return o;
  return nullptr;
}

// A column or row index: mostly near the valid range, sometimes anything.
int32_t index(ByteStream& in, int32_t count) {
  if (in.byte() % 8 == 0) return in.i32();
  return in.range(-1, count + 1);
}
int16_t column_index(ByteStream& in, int32_t count) {
  return static_cast<int16_t>(index(in, count));
}

int8_t redraw_flag(ByteStream& in) {
  const uint8_t r = in.byte() % 4;
  return r == 3 ? static_cast<int8_t>(2) : static_cast<int8_t>(r & 1);
}

void object_keyword_step(ByteStream& in, bool set) {
  Ui& ui = harness->ui;
  const std::string name = target(in);
  const uint8_t scope = in.byte() % 3;
  int width = -1;
  const std::string k = scope == 0   ? keyword(in, kCommonKeywords, width)
                        : scope == 1 ? keyword(in, kGridKeywords, width)
                                     : keyword(in, kGadgetKeywords, width);
  if (!set) {
    get_attribute(ui, name, k);
    return;
  }
  const std::string v = value(in);
  NamedObject* o = object_named(name);
  const std::string before = o ? get_attribute(ui, name, k) : std::string();
  const int32_t result = set_attribute(ui, name, k, v, redraw_flag(in));
  const std::string K = upper(k);
  if (!o) {
    FUZZ_CHECK(result == -1);
    return;
  }
  if (K == "NAME") {
    FUZZ_CHECK((result == 0) == (v != name && o->name == v));
    return;
  }
  FUZZ_CHECK((result == 0) == takes_keyword(*o, K));
  if (object_named(name) != o) return;  // not an object of ours any more
  const bool common = has_keyword(kCommonKeywords, std::size(kCommonKeywords), K);
  const bool grid = o->kind == Kind::Grid && has_keyword(kGridKeywords, std::size(kGridKeywords), K);
  if (!common && !grid) return;
  const std::string after = get_attribute(ui, name, k);
  if (width == 0) FUZZ_CHECK(after == v);
  else if (width > 0) FUZZ_CHECK(after == read_back(v, width));
  else if (width == -2) FUZZ_CHECK(after == before);
}

template <typename Get, typename Set, std::size_t N>
void part_step(ByteStream& in, bool set, const Keyword (&table)[N], bool exists, Get get,
               Set doSet) {
  int width = -1;
  const std::string k = keyword(in, table, width);
  if (!set) {
    get(k);
    return;
  }
  const std::string v = value(in);
  const std::string K = upper(k);
  // A cell takes only an image that exists.
  const bool takes = exists && has_keyword(table, N, K) &&
                     (K != "IMAGE" || tk_image_exists(static_cast<int32_t>(parse_keyword_number(v))));
  FUZZ_CHECK((doSet(k, v, redraw_flag(in)) == 0) == takes);
  if (!exists) {
    FUZZ_CHECK(get(k).empty());
    return;
  }
  const std::string after = get(k);
  if (width == 0) FUZZ_CHECK(after == v);
  else if (width > 0) FUZZ_CHECK(after == read_back(v, width));
}

void column_step(ByteStream& in, bool set) {
  Ui& ui = harness->ui;
  const std::string name = grid_target(in);
  GridRecord* g = grid_of(name);
  const auto c = column_index(in, g ? g->columnCount : 3);
  const bool exists = g && c >= 0 && c < g->columnCount;
  part_step(
      in, set, kColumnKeywords, exists,
      [&](const std::string& k) { return get_column_attribute(ui, name, c, k); },
      [&](const std::string& k, const std::string& v, int8_t r) {
        return set_column_attribute(ui, name, c, k, v, r);
      });
}

void row_step(ByteStream& in, bool set) {
  Ui& ui = harness->ui;
  const std::string name = grid_target(in);
  GridRecord* g = grid_of(name);
  const int32_t r = index(in, g ? g->rowCount : 3);
  const bool exists = g && r >= 0 && r < g->rowCount;
  part_step(
      in, set, kRowKeywords, exists,
      [&](const std::string& k) { return get_row_attribute(ui, name, r, k); },
      [&](const std::string& k, const std::string& v, int8_t d) {
        return set_row_attribute(ui, name, r, k, v, d);
      });
}

void cell_step(ByteStream& in, bool set) {
  Ui& ui = harness->ui;
  const std::string name = grid_target(in);
  GridRecord* g = grid_of(name);
  const auto c = column_index(in, g ? g->columnCount : 3);
  const int32_t r = index(in, g ? g->rowCount : 3);
  const bool exists = g && c >= 0 && c < g->columnCount && r >= 0 && r < g->rowCount;
  part_step(
      in, set, kCellKeywords, exists,
      [&](const std::string& k) { return get_cell_attribute(ui, name, c, r, k); },
      [&](const std::string& k, const std::string& v, int8_t d) {
        return set_cell_attribute(ui, name, c, r, k, v, d);
      });
}

void model_step(ByteStream& in) {
  Ui& ui = harness->ui;
  const std::string name = grid_target(in);
  GridRecord* g = grid_of(name);
  const int32_t columns = g ? g->columnCount : 3;
  const int32_t rows = g ? g->rowCount : 3;
  switch (in.byte() % 8) {
    case 0:
      if (columns < kMaxColumns)
        add_column(ui, name, column_index(in, columns), in.text(8), in.i16(),
                   static_cast<int8_t>(in.byte()), static_cast<int8_t>(in.byte()),
                   static_cast<int8_t>(in.byte()), in.text(16), redraw_flag(in));
      break;
    case 1:
      if (rows < kMaxRows)
        add_row(ui, name, index(in, rows), in.text(8), static_cast<int8_t>(in.byte()),
                static_cast<int8_t>(in.range(-2, 5)), in.text(16), in.text(6), redraw_flag(in));
      break;
    case 2: delete_row(ui, name, index(in, rows), redraw_flag(in)); break;
    case 3: clear_grid(ui, name, static_cast<int8_t>(in.range(0, 2))); break;
    case 4:
      set_cursor(ui, name, column_index(in, columns), index(in, rows), redraw_flag(in));
      break;
    case 5:
      set_cell(ui, name, column_index(in, columns), index(in, rows), in.text(12),
               in.flag() ? -1 : harness->strip, in.flag() ? -1 : in.i32(), in.flag() ? -1 : in.i32());
      break;
    case 6:
      if (find_object(ui, name, 0) == 1) draw_object(ui, *current_object(ui));
      break;
    default:
      // A linked bar or the grid itself may go while the other stays.
      remove_object(ui, in.flag() ? name : target(in), static_cast<int8_t>(in.range(0, 1)));
      break;
  }
}

// ---- input -------------------------------------------------------------------
// The grid's own input under whatever the keywords set: a mouse event over
// it (its shortcuts then reach it) or a grid key, with the clock moved on so
// expander animations step; now and then an editor opens or closes.
int32_t fakeNow = 0;
int32_t fake_clock() { return fakeNow; }

void input_step(ByteStream& in) {
  Ui& ui = harness->ui;
  const std::string name = grid_target(in);
  const NamedObject* o = object_named(name);
  if (!o) return;
  fakeNow += in.range(0, 120);
  const int32_t x = o->absX + in.range(-2, o->width + 2);
  const int32_t y = o->absY + in.range(-2, o->height + 2);
  const int32_t gadget = o->gadget;
  switch (in.byte() % 6) {
    case 0: dispatch_event(ui, x, y, 0, -1, 0, 0); break;
    case 1: dispatch_event(ui, x, y, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, gadget, gadget); break;
    case 2: dispatch_event(ui, x, y, TK_EVENT_GADGET, TK_TYPE_LEFT_DOUBLE, gadget, gadget); break;
    case 3: {
      const int32_t key = in.range(GridKey::Return, GridKey::Space);
      dispatch_event(ui, x, y, TK_EVENT_MENU, -1, key, key);
      break;
    }
    case 4: {
      if (in.flag()) set_attribute(ui, name, "ENABLEINPUT", "1", 0);
      GridRecord* g = grid_of(name);
      open_editor(ui, name, column_index(in, g ? g->columnCount : 3),
                  index(in, g ? g->rowCount : 3));
      break;
    }
    default: close_editor(ui, name, static_cast<int8_t>(in.range(0, 1))); break;
  }
}

void run(ByteStream& in) {
  build(in);
  check_all();
  for (int step = 0; step < 64 && !in.empty(); ++step) {
    const uint8_t op = in.byte() % 12;
    switch (op) {
      case 0: case 1: object_keyword_step(in, op == 0); break;
      case 2: case 3: column_step(in, op == 2); break;
      case 4: case 5: row_step(in, op == 4); break;
      case 6: case 7: cell_step(in, op == 6); break;
      case 8: case 9: input_step(in); break;
      default: model_step(in); break;
    }
    check_all();
  }
}

}  // namespace

// ---- entry points ------------------------------------------------------------
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_toolkit();
  harness = new Harness;
  harness->ui.clock = fake_clock;
  harness->window = create_window(harness->ui, kWindow, 0, 0, 900, 600, "Fuzz", TK_WINDOW_HIDDEN);
  const int32_t sheet = tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size);
  harness->gridParts = tk_grab_image_region(sheet, -1, 0, 262, 350, 40);
  tk_free_image(sheet);
  harness->strip = tk_create_image(-1, 4 * 16, 16);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ByteStream in(data, size);
  run(in);
  // Nothing of this input stays for the next one.
  remove_window_objects(harness->ui, kWindow);
  FUZZ_CHECK(harness->ui.first == nullptr && harness->ui.count == 0);
  return 0;
}
