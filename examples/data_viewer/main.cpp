// A data viewer built on the installed ZUI: loads the CSV file named on the
// command line into a grid, with the load's progress shown, lets the cells
// be edited and writes them back on Ctrl+S. A click on a column caption
// sorts by that column, ascending, then descending.
//
// The first record names the columns. When the first column is called
// "level", its whole numbers (0 to 100) make the rows a tree and it is not
// shown; sorting then orders rows within their parent.
//
// Exit codes: 0 after the window is closed, 1 without a display, 2 for a
// missing, unreadable or malformed file (the message names the line).
// ZUI_SCREENSHOT=<path> saves a picture once the file is shown and ends;
// ZUI_VIEWER_TIMINGS=1 prints how long loading, sorting and saving took.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "controls/controls.h"
#include "csv.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

namespace {

constexpr int32_t kWindowStyle = 0x00CF0000;  // caption, system menu, sizable frame
constexpr int32_t kMenuSave = 1;              // "&Save" and Ctrl+S
constexpr int32_t kMenuQuit = 2;              // "&Quit"
constexpr int32_t kKeyS = 'S';
constexpr int32_t kRowsPerStep = 20000;  // rows added between two progress updates
constexpr int32_t kQuietToShoot = 25;    // idle 20 ms turns before the picture
constexpr int32_t kExitBadFile = 2;
constexpr int32_t kMaxLevel = 100;
constexpr int16_t kMargin = 8;
constexpr int16_t kStatusHeight = 22;
constexpr int16_t kBarRoom = 20;       // a grid scroll bar and its gap
constexpr int32_t kMenuBarHeight = 20;  // counted in the window's inner height
const char* const kGrid = "Grid";
const char* const kStatus = "TextStatus";

// Wall-clock and processor time of a step: on a busy machine the two differ.
struct Stopwatch {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  std::string report() const {
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    return std::to_string(static_cast<long>(wallMs)) + " ms (processor " +
           std::to_string(static_cast<long>(cpuMs)) + " ms)";
  }
};

// Everything the viewer keeps between events.
struct Viewer {
  Ui ui;
  SkinPieces skin;
  int32_t window = 0;
  std::string path;               // the file shown
  std::vector<std::string> header;  // column captions as read
  bool tree = false;              // first column "level" made the rows a tree
  bool crlf = true;               // the file's line ends, kept when saving
  bool modified = false;          // an edit was committed since the last save
  bool timings = false;           // ZUI_VIEWER_TIMINGS set
};

// A text label shows what its gadget is given (set_text is for inputs).
void status(Viewer& v, const std::string& text) {
  tk_set_gadget_text(get_gadget(v.ui, kStatus), text);
}

// One turn of the event queue, so that the window repaints during a load.
void pump(Viewer& v) {
  const int32_t kind = tk_wait_event(0);
  dispatch_event(v.ui, -1, -1, kind == TK_EVENT_CLOSE ? TK_EVENT_NONE : kind,
                 tk_last_event_type(), tk_last_event_gadget(), tk_last_event_menu());
}

// The grid fills the window above the status line; its scroll bars sit
// beside it, in the room it leaves.
void lay_out(Viewer& v) {
  const int32_t w = tk_window_inner_width(v.window);
  const int32_t h = tk_window_inner_height(v.window) - kMenuBarHeight;
  resize_object(v.ui, kGrid, static_cast<int16_t>(w - 2 * kMargin - kBarRoom),
                static_cast<int16_t>(h - 2 * kMargin - kStatusHeight - kBarRoom), 1);
  move_object(v.ui, kStatus, kMargin, static_cast<int16_t>(h - kMargin - kStatusHeight), 1);
}

// Loads the records into the grid; "" or the reason the file cannot be shown.
std::string load(Viewer& v, const std::string& text) {
  const Stopwatch watch;
  CsvReader reader(text);
  std::vector<std::string> fields;
  if (!reader.next(fields)) return reader.error().empty() ? "line 1: no header" : reader.error();
  v.header = fields;
  v.tree = !fields.empty() && fields[0] == "level";
  for (std::size_t c = v.tree ? 1 : 0; c < fields.size(); ++c) {
    add_column(v.ui, kGrid, -1, fields[c], 140, 1, 0, 0, "", 0);
    set_column_attribute(v.ui, kGrid, static_cast<int16_t>(grid_column_count(v.ui, kGrid) - 1),
                         "INPUTTYPE", "1", 0);
  }
  int32_t row = 0;
  int8_t previousLevel = 0;
  while (reader.next(fields)) {
    if (fields.size() != v.header.size()) {
      return "line " + std::to_string(reader.record_line()) + ": " +
             std::to_string(fields.size()) + " fields where the header has " +
             std::to_string(v.header.size());
    }
    int8_t level = 0;
    if (v.tree) {
      char* end = nullptr;
      const long value = std::strtol(fields[0].c_str(), &end, 10);
      if (fields[0].empty() || *end != '\0' || value < 0 || value > kMaxLevel)
        return "line " + std::to_string(reader.record_line()) + ": level \"" + fields[0] +
               "\" is not a whole number from 0 to " + std::to_string(kMaxLevel);
      level = static_cast<int8_t>(value);
    }
    // A row's cells come as one text with a line per cell, so cells that
    // hold line breaks are set on their own.
    std::string cells;
    std::vector<std::size_t> multiline;
    const std::size_t first = v.tree ? 1 : 0;
    for (std::size_t c = first; c < fields.size(); ++c) {
      const bool breaks = fields[c].find_first_of("\r\n") != std::string::npos;
      if (breaks) multiline.push_back(c);
      if (c > first) cells += '\n';
      cells += breaks ? std::string() : fields[c];
    }
    add_row(v.ui, kGrid, -1, "", 20, level, cells, "", 0);
    for (std::size_t c : multiline)
      set_cell(v.ui, kGrid, static_cast<int16_t>(c - first), row, fields[c], -1, -1, -1);
    // A row deeper than the one before opens a subtree under it.
    if (v.tree && row > 0 && level > previousLevel)
      set_row_attribute(v.ui, kGrid, row - 1, "ISPARENT", "16", 0);
    previousLevel = level;
    if (++row % kRowsPerStep == 0) {
      const int percent = static_cast<int>(100.0 * reader.offset() / (text.empty() ? 1 : text.size()));
      status(v, "Loading " + v.path + ": " + std::to_string(percent) + " %, " + std::to_string(row) + " rows");
      pump(v);
    }
  }
  if (!reader.error().empty()) return reader.error();
  v.crlf = reader.crlf();
  set_attribute(v.ui, kGrid, "REDRAW", "1", 1);
  if (v.timings) std::fprintf(stderr, "data_viewer: loaded %d rows in %s\n", row, watch.report().c_str());
  return {};
}

// Writes the grid back in the order shown; "" or what went wrong.
std::string save(Viewer& v) {
  const Stopwatch watch;
  close_editor(v.ui, kGrid, 0);  // an open editor's text counts
  const GridRecord& g = *grid_record(*lookup_object(v.ui, kGrid));
  const char* eol = v.crlf ? "\r\n" : "\n";
  std::string out = csv_record(v.header, eol);
  std::vector<std::string> fields;
  for (int32_t r = 0; r < g.rowCount; ++r) {
    fields.clear();
    if (v.tree) fields.push_back(std::to_string(g.rows[static_cast<std::size_t>(r)].level));
    for (int32_t c = 0; c < g.columnCount; ++c)
      fields.push_back(g.cells[static_cast<std::size_t>(r) * g.columnCount + c].text);
    out += csv_record(fields, eol);
  }
  std::string problem = replace_file(v.path, out);
  if (v.timings && problem.empty())
    std::fprintf(stderr, "data_viewer: saved %d rows in %s\n", g.rowCount, watch.report().c_str());
  return problem;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: data_viewer FILE.csv\n", stderr);
    return kExitBadFile;
  }
  Viewer v;
  v.path = argv[1];
  const char* timings = std::getenv("ZUI_VIEWER_TIMINGS");
  v.timings = timings != nullptr && *timings != '\0';
  std::ifstream file(v.path, std::ios::binary | std::ios::ate);
  if (!file) {
    std::fprintf(stderr, "data_viewer: cannot open %s\n", v.path.c_str());
    return kExitBadFile;
  }
  // The whole file at once: records are read from memory.
  const std::streamoff size = file.tellg();
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  file.seekg(0);
  if (size < 0 || !file.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    std::fprintf(stderr, "data_viewer: cannot read %s\n", v.path.c_str());
    return kExitBadFile;
  }
  if (init_toolkit() == 0) {
    std::fputs("data_viewer: no display to open the window on\n", stderr);
    return 1;
  }
  load_skin(v.skin);

  v.window = create_window(v.ui, "Viewer", 60, 60, 900, 600, v.path + " - ZUI data viewer",
                           TK_WINDOW_HIDDEN | kWindowStyle | kWindowButtonsFireOnRelease);
  if (v.window == 0) return 1;
  const int32_t handle = tk_window_handle(v.window);
  if (tk_create_menu_bar(-1, handle) != 0) {
    tk_add_menu_title("File");
    tk_add_menu_item(kMenuSave, "&Save\tCtrl+S");
    tk_add_menu_item(kMenuQuit, "&Quit");
  }
  tk_add_shortcut(v.window, TK_CONTROL | kKeyS, kMenuSave);
  if (tk_use_window_as_parent(handle) == 0) return 1;
  set_window_font(v.ui, "Liberation Sans", 9, 0);
  create_grid(v.ui, kGrid, kMargin, kMargin, 880, 520, v.skin.SkinGridParts, 20, "");
  for (const char* keyword : {"KEYBOARDCONTROL", "PERMANENTCURSOR", "ENABLEINPUT"})
    set_attribute(v.ui, kGrid, keyword, "1", 0);
  set_attribute(v.ui, kGrid, "REDRAW", "0", 0);
  set_attribute(v.ui, kGrid, "SCOLLBARY", "1", 0);
  set_attribute(v.ui, kGrid, "SCOLLBARX", "1", 0);
  set_grid_sortable(v.ui, kGrid, 1);
  create_text(v.ui, kStatus, kMargin, 540, 880, kStatusHeight, "Loading " + v.path, 0, "");
  lay_out(v);
  tk_hide_window(v.window, 0);
  pump(v);

  int exitCode = 0;
  if (const std::string problem = load(v, text); !problem.empty()) {
    std::fprintf(stderr, "data_viewer: %s %s\n", v.path.c_str(), problem.c_str());
    exitCode = kExitBadFile;
  }
  const std::string ready = v.path + ": " + std::to_string(grid_row_count(v.ui, kGrid)) +
                            " rows. Click a caption to sort, double-click a cell to edit, Ctrl+S saves.";
  if (exitCode == 0) status(v, ready);

  const char* shot = std::getenv("ZUI_SCREENSHOT");
  int32_t quiet = 0;
  while (exitCode == 0) {
    const int32_t kind = tk_wait_event(20);
    const int32_t menu = kind == TK_EVENT_MENU ? tk_last_event_menu() : 0;
    GridRecord& g = *grid_record(*lookup_object(v.ui, kGrid));
    const int16_t sortColumn = g.sortColumn;
    const int8_t sortOrder = g.sortOrder;
    const Stopwatch watch;
    dispatch_event(v.ui, tk_window_mouse_x(v.window), tk_window_mouse_y(v.window), kind,
                   tk_last_event_type(), tk_last_event_gadget(), tk_last_event_menu());
    if (g.sortColumn != sortColumn || g.sortOrder != sortOrder) {
      if (v.timings)
        std::fprintf(stderr, "data_viewer: sorted %d rows by column %d in %s\n", g.rowCount,
                     g.sortColumn, watch.report().c_str());
      status(v, std::string("Sorted by ") + g.columns[static_cast<std::size_t>(g.sortColumn)].caption +
                    (g.sortOrder == SortOrder::Ascending ? ", ascending." : ", descending."));
    }
    if (event_code(v.ui) == Code::GridCommit) {
      v.modified = true;
      status(v, v.path + ": modified, Ctrl+S saves.");
    }
    if (kind == TK_EVENT_RESIZED) lay_out(v);
    if (menu == kMenuSave) {
      const std::string problem = save(v);
      v.modified = !problem.empty() && v.modified;
      status(v, problem.empty() ? v.path + ": saved." : "Not saved, the file is unchanged: " + problem);
    }
    if (kind == TK_EVENT_CLOSE || menu == kMenuQuit) break;
    if (shot != nullptr && *shot != '\0') {
      quiet = kind == TK_EVENT_NONE && tk_window_paint_count(v.window) > 0 ? quiet + 1 : 0;
      if (quiet == kQuietToShoot) {
        tk_save_window_screenshot(v.window, shot);
        break;
      }
    }
  }
  close_window(v.ui, "Viewer");
  free_skin_pieces(v.skin);
  tk_free_all_images();
  tk_close_all_windows();
  tk_free_all_fonts();
  return exitCode;
}
