// The data viewer's window and what it does with the file.
//
// Sections: layout and status · loading · sorting · saving · editing ·
// finding · the caption click · the source · the window.
#include "viewer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "collate.h"
#include "grid/grid_source.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

using namespace zui;

// What the grid asks of the file: cells parsed from the mapped bytes when
// drawn (the last records parsed are kept), edits from the overlay.
class CsvSource final : public GridSource {
 public:
  explicit CsvSource(Viewer& v) : v_(v) {}
  int32_t row_count() const override {
    return static_cast<int32_t>(std::max<int64_t>(v_.sheet.records - 1, 0));
  }
  int16_t column_count() const override { return static_cast<int16_t>(v_.captions.size()); }
  std::string caption(int16_t column) const override;
  int16_t column_width(int16_t column) const override { return column < v_.headerColumns ? 140 : 100; }
  int8_t column_orientation(int16_t column) const override {
    return static_cast<std::size_t>(column) < v_.numeric.size() && v_.numeric[static_cast<std::size_t>(column)] ? 1 : 0;
  }
  std::string_view cell_text(int16_t column, int32_t row, std::string& scratch) const override;
  int8_t row_level(int32_t row) const override { return v_.tree ? v_.indexed->level(int64_t{row} + 1) : 0; }
  bool set_cell_text(int16_t column, int32_t row, std::string_view text) override;
  // Forgets the records parsed, whose bytes are about to go.
  void forget() {
    for (Parsed& p : parsed_) p.record = -1;
  }

 private:
  // A record split into its fields.
  struct Parsed {
    int64_t record = -1;            // -1: the slot is free
    std::string_view bytes;         // the record's bytes
    std::vector<FieldSpan> spans;   // its fields
  };
  Viewer& v_;
  mutable std::array<Parsed, 128> parsed_;
};

namespace {

constexpr int32_t kWindowStyle = TK_WINDOW_STANDARD;
constexpr int16_t kMargin = 8;
constexpr int16_t kStatusHeight = 22;
constexpr int16_t kBarRoom = 20;         // a grid scroll bar and its gap
constexpr int32_t kMenuBarHeight = 20;   // counted in the window's inner height
constexpr int16_t kFindWidth = 180;
constexpr int16_t kFindLabelWidth = 34;
const char* const kGrid = "Grid";
const char* const kStatus = "TextStatus";
const char* const kFind = "FindInput";
const char* const kFindLabel = "FindLabel";
const char* const kFilter = "CSV files (*.csv *.tsv *.txt);;All files (*)";

// Menu items and shortcuts.
enum Menu : int32_t {
  kOpen = 1, kSave, kSaveAs, kQuit, kUndo, kRedo, kCopy, kPaste, kFindFocus, kFindNext,
  kFindPrevious, kFileOrder, kStop,
};
// Codes of the events the workers post.
enum Posted : int32_t { kPostLoad = 1, kPostSort, kPostSave, kPostFind };

using Clock = std::chrono::steady_clock;

GridRecord& grid(Viewer& v) { return *grid_record(*lookup_object(v.ui, kGrid)); }

long elapsed_ms(Clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

std::string with_commas(int64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

int32_t data_rows(const Viewer& v) { return static_cast<int32_t>(std::max<int64_t>(v.sheet.records - 1, 0)); }

// Sets a field in the edits; a value back as in the file leaves them, so
// that its record is written byte for byte again.
void set_value(Viewer& v, uint32_t record, uint32_t field, const std::string& value) {
  if (value == file_value(v.sheet, record, field)) {
    const auto edited = v.sheet.edits.find(record);
    if (edited != v.sheet.edits.end()) {
      edited->second.erase(field);
      if (edited->second.empty()) v.sheet.edits.erase(edited);
    }
  } else {
    v.sheet.edits[record][field] = value;
  }
}

void push_edit(Viewer& v, std::vector<CellChange> changes) {
  if (changes.empty()) return;
  v.undo.resize(v.undoAt);
  if (v.savedAt > static_cast<int64_t>(v.undoAt)) v.savedAt = -1;  // that state is gone
  v.undo.push_back(std::move(changes));
  ++v.undoAt;
}

// The cell of grid position and column as a record and field.
bool cell_place(Viewer& v, int16_t column, int32_t position, uint32_t& record, uint32_t& field) {
  const int32_t row = grid_source_row(v.ui, kGrid, position);
  if (row < 0 || column < 0) return false;
  record = static_cast<uint32_t>(row) + 1;
  field = static_cast<uint32_t>(column) + v.sheet.skip;
  return true;
}

void commit_editor(Viewer& v) {
  if (editor_is_open(grid(v))) close_editor(v.ui, kGrid, 0);
}

void redraw(Viewer& v) { refresh_grid_source(v.ui, kGrid, 1); }

void say(Viewer& v, const std::string& text) { v.message = text; }

void notify(int32_t window, int32_t code) { tk_post_event(window, code); }

// ---- layout and status ------------------------------------------------------------
void lay_out(Viewer& v) {
  const int32_t w = tk_window_inner_width(v.window);
  const int32_t h = tk_window_inner_height(v.window) - kMenuBarHeight;
  resize_object(v.ui, kGrid, static_cast<int16_t>(w - 2 * kMargin - kBarRoom),
                static_cast<int16_t>(h - 2 * kMargin - kStatusHeight - kBarRoom), 1);
  const int16_t y = static_cast<int16_t>(h - kMargin - kStatusHeight);
  move_object(v.ui, kStatus, kMargin, y, 1);
  resize_object(v.ui, kStatus, static_cast<int16_t>(w - 3 * kMargin - kFindWidth - kFindLabelWidth),
                kStatusHeight, 1);
  move_object(v.ui, kFindLabel, static_cast<int16_t>(w - kMargin - kFindWidth - kFindLabelWidth), y, 1);
  move_object(v.ui, kFind, static_cast<int16_t>(w - kMargin - kFindWidth), y, 1);
}

void show_status(Viewer& v) {
  std::string text = v.message;
  if (v.task == Task::Loading && v.indexed) {
    const int percent = static_cast<int>(100.0 * v.indexed->snapshot().progress);
    text = "Loading " + std::to_string(percent) + " %: " + with_commas(data_rows(v)) + " rows (Escape stops)";
  }
  GridRecord& g = grid(v);
  const std::string place = "Row " + with_commas(g.rowCount == 0 ? 0 : g.cursorRow + 1) + " of " +
                            with_commas(g.rowCount) + ", column " +
                            std::to_string(g.columnCount == 0 ? 0 : g.cursorColumn + 1);
  text = text.empty() ? place : text + "  |  " + place;
  if (text != v.shownStatus) {
    tk_set_gadget_text(get_gadget(v.ui, kStatus), text);
    v.shownStatus = text;
  }
  std::string title = v.path + (viewer_modified(v) ? " *" : "") + " - ZUI data viewer";
  if (v.incomplete) title = v.path + " (incomplete) - ZUI data viewer";
  if (title != v.shownTitle) {
    tk_set_window_title(v.window, title);
    v.shownTitle = title;
  }
}

void on_menu(Viewer& v, int32_t menu, bool editorWasOpen);
bool may_leave(Viewer& v, AfterSave after, const std::string& next);

// ---- loading ---------------------------------------------------------------------
void reset_document(Viewer& v) {
  v.job.reset();
  v.findJob.reset();
  if (editor_is_open(grid(v))) close_editor(v.ui, kGrid, 1);
  set_grid_source(v.ui, kGrid, nullptr);
  v.source.reset();
  v.indexed.reset();
  v.sheet = Sheet{};
  v.task = Task::None;
  v.loaded = false;
  v.incomplete = false;
  v.incompleteWhy.clear();
  v.ragged = 0;
  v.tree = false;
  v.captions.clear();
  v.numeric.clear();
  v.headerColumns = 0;
  v.sortColumn = -1;
  v.sortState = 0;
  v.undo.clear();
  v.undoAt = 0;
  v.savedAt = 0;
  clear_grid(v.ui, kGrid, 1);
}

// Stops the load where it is: the rows indexed so far stay, marked incomplete.
void stop_load(Viewer& v, const std::string& why) {
  if (v.indexed) v.indexed->cancel();
  if (!v.incomplete) v.incompleteWhy = why;
  v.incomplete = true;
}

// Gives the grid the source anew: its columns (every one takes a text editor).
void attach_source(Viewer& v) {
  set_grid_source(v.ui, kGrid, v.source);
  for (std::size_t c = 0; c < v.captions.size(); ++c)
    set_column_attribute(v.ui, kGrid, static_cast<int16_t>(c), "INPUTTYPE", "1", 0);
}

// The first rows are indexed: the grid gets its source and draws them.
void show_head(Viewer& v) {
  const FileHead& head = v.indexed->head();
  v.sheet.format = head.format;
  v.tree = head.tree;
  v.sheet.skip = head.tree ? 1 : 0;
  v.captions.assign(head.header.begin() + v.sheet.skip, head.header.end());
  v.headerColumns = static_cast<int16_t>(v.captions.size());
  v.numeric = head.numeric;
  v.sheet.records = v.indexed->index().count();
  v.source = std::make_shared<CsvSource>(v);
  attach_source(v);
  // Keys work while the rest is indexed: Ctrl+End goes as far as it got.
  set_attribute(v.ui, kGrid, "ENABLEINPUT", "1", 0);
  redraw(v);
  v.firstScreenPaints = tk_window_paint_count(v.window);
}

// Takes in what the indexer found since the last look.
void take_progress(Viewer& v, const IndexedFile::Progress& p) {
  if (!p.headReady) return;
  if (!v.source) show_head(v);
  const bool encoding = p.windows1252 && v.sheet.format.encoding != Encoding::Windows1252;
  if (encoding) v.sheet.format.encoding = Encoding::Windows1252;
  v.sheet.foldsToAscii = p.foldsToAscii;
  if (p.records != v.sheet.records || encoding) {
    v.sheet.records = p.records;
    redraw(v);
  }
}

void finish_load(Viewer& v, const IndexedFile::Progress& p) {
  v.task = Task::None;
  v.loaded = true;
  if (p.refused) {
    std::fprintf(stderr, "data_viewer: %s %s\n", v.path.c_str(), p.error.c_str());
    if (v.firstFile) {
      v.exitCode = 2;
      v.quit = true;
      return;
    }
    const std::string path = v.path;
    reset_document(v);
    say(v, "Not opened: " + path + " " + p.error);
    return;
  }
  v.firstFile = false;
  if (!v.source) show_head(v);  // a stop before the first rows: the header alone
  take_progress(v, p);
  if (!p.error.empty()) {
    if (!v.incomplete) v.incompleteWhy = p.error;
    v.incomplete = true;
  }
  // Long rows keep their extra fields in extra columns.
  const std::size_t widest = p.widest > v.sheet.skip ? p.widest - v.sheet.skip : 0;
  if (widest > v.captions.size()) {
    const GridRecord& g = grid(v);
    const int16_t column = g.cursorColumn;
    const int32_t row = g.cursorRow;
    while (v.captions.size() < widest) v.captions.push_back(std::to_string(v.captions.size() + 1));
    attach_source(v);
    set_cursor(v.ui, kGrid, column, row, 1);
  }
  v.ragged = p.ragged;
  const int64_t rows = data_rows(v);
  const std::string counts = with_commas(rows) + " rows" +
                             (v.ragged > 0 ? ", " + with_commas(v.ragged) + " ragged (not as wide as the header)" : "") +
                             (v.sheet.format.encoding == Encoding::Windows1252 ? ", read as Windows-1252 (not UTF-8)" : "");
  if (v.incomplete) {
    std::fprintf(stderr, "data_viewer: %s %s\n", v.path.c_str(), v.incompleteWhy.c_str());
    say(v, "Incomplete, " + v.incompleteWhy + ": the " + counts + " read before are shown; saving is off.");
  } else {
    say(v, counts + ".");
  }
  redraw(v);
  if (v.timings) v.timingLine = "loaded " + std::to_string(rows) + " rows (indexed)";
}

// ---- sorting ---------------------------------------------------------------------
void show_sort_marks(Viewer& v) {
  for (std::size_t c = 0; c < v.captions.size(); ++c)
    set_column_attribute(v.ui, kGrid, static_cast<int16_t>(c), "CAPTION",
                         v.source->caption(static_cast<int16_t>(c)), 0);
}

// The view's order is taken in: the grid shows it, the cursor stays on its row.
void show_order(Viewer& v, std::vector<int32_t> order) {
  const std::size_t rows = order.size();
  set_grid_source_order(v.ui, kGrid, std::move(order), 1);
  v.sortColumn = v.sortingColumn;
  v.sortState = v.sortingState;
  show_sort_marks(v);
  redraw(v);
  if (v.sortColumn < 0) {
    say(v, "In the file's order.");
  } else {
    say(v, "Sorted by " + v.captions[static_cast<std::size_t>(v.sortColumn)] +
               (v.sortState == 1 ? ", ascending" : ", descending") + "; a third click on it shows the file's order.");
  }
  if (v.timings)
    v.timingLine = v.sortColumn < 0 ? "put " + std::to_string(data_rows(v)) + " rows in the file's order"
                                    : "sorted " + std::to_string(rows) + " rows by column " +
                                          std::to_string(v.sortColumn);
}

void file_order(Viewer& v) {
  commit_editor(v);
  v.sortingColumn = -1;
  v.sortingState = 0;
  v.started = Clock::now();
  v.longestTurnMs = 0;
  show_order(v, {});
}

bool refuse_while_busy(Viewer& v, const char* what) {
  v.findJob.reset();  // a find gives way to anything else asked for
  if (v.task == Task::None) return false;
  const char* running = v.task == Task::Loading ? "the file loads" : v.task == Task::Sorting ? "it sorts" : "it saves";
  say(v, std::string("Cannot ") + what + " while " + running + ".");
  return true;
}

// A caption click: ascending, descending, then the file's order again.
void sort_by(Viewer& v, int16_t column) {
  if (refuse_while_busy(v, "sort") || !v.source) return;
  commit_editor(v);
  const int8_t state = column != v.sortColumn ? 1 : static_cast<int8_t>((v.sortState + 1) % 3);
  if (state == 0) return file_order(v);
  v.sortingColumn = column;
  v.sortingState = state;
  v.task = Task::Sorting;
  v.started = Clock::now();
  v.longestTurnMs = 0;
  auto result = std::make_shared<std::vector<int32_t>>();
  v.sortResult = result;
  say(v, "Sorting by " + v.captions[static_cast<std::size_t>(column)] + " (Escape stops)...");
  std::vector<int8_t> levels;
  if (v.tree) {
    levels.resize(static_cast<std::size_t>(data_rows(v)));
    for (std::size_t r = 0; r < levels.size(); ++r) levels[r] = v.indexed->level(static_cast<int64_t>(r) + 1);
  }
  const uint32_t field = static_cast<uint32_t>(column) + v.sheet.skip;
  const int32_t window = v.window;
  v.job = std::make_unique<Job>(
      [sheet = v.sheet, levels = std::move(levels), field, state, result](const std::atomic<bool>& cancel) {
        *result = sort_sheet(sheet, field, state == 2, levels, &cancel);
      },
      [window] { notify(window, kPostSort); });
}

void finish_sort(Viewer& v) {
  v.job.reset();
  v.task = Task::None;
  if (v.sortResult->empty() && data_rows(v) > 0) {
    say(v, "Sorting was stopped.");
    return;
  }
  show_order(v, std::move(*v.sortResult));
}

// ---- saving ---------------------------------------------------------------------
void start_save(Viewer& v, const std::string& path, AfterSave after) {
  if (refuse_while_busy(v, "save") || !v.source) return;
  if (v.incomplete) {
    say(v, "Not saved: the file was not read completely (" + v.incompleteWhy +
               "), and saving would cut it short.");
    return;
  }
  commit_editor(v);
  const bool samePath = path == v.path;
  std::string detail;
  const SaveRisk risk = check_save_target(path, samePath ? v.identity : FileIdentity{}, detail);
  const char* question = nullptr;
  if (risk == SaveRisk::Missing) question = "\n\nSave it there again?";
  if (risk == SaveRisk::Replaced) question = "\n\nReplace that version with this one?";
  if (risk == SaveRisk::ReadOnly) question = "\n\nReplace it anyway?";
  if (risk == SaveRisk::NotRegular) {
    say(v, "Not saved: " + detail + ".");
    return;
  }
  if (question != nullptr &&
      v.ask(detail + "." + question, TK_ANSWER_YES | TK_ANSWER_CANCEL) != TK_ANSWER_YES) {
    say(v, "Not saved.");
    return;
  }
  v.task = Task::Saving;
  v.afterSave = after;
  v.savePath = path;
  v.saveUndoAt = v.undoAt;
  v.started = Clock::now();
  v.longestTurnMs = 0;
  auto problem = std::make_shared<std::string>();
  auto written = std::make_shared<FileIdentity>();
  v.saveProblem = problem;
  v.saveIdentity = written;
  say(v, "Saving " + path + "...");
  // A file written in place (it has other hard links) would change under
  // the mapping: its bytes are held in memory from now on.
  if (saves_in_place(path) && v.sheet.bytes == v.indexed->bytes()) {
    v.sheet.bytes = FileBytes::copy_of(v.sheet.text());
    v.source->forget();
  }
  const uint32_t mode = v.identity.mode;
  const int32_t window = v.window;
  v.job = std::make_unique<Job>(
      [sheet = v.sheet, path, mode, problem, written](const std::atomic<bool>&) {
        *problem = save_sheet(sheet, path, mode, *written);
      },
      [window] { notify(window, kPostSave); });
}

void finish_save(Viewer& v) {
  v.job.reset();
  v.task = Task::None;
  if (!v.saveProblem->empty()) {
    say(v, "Not saved, the file is as it was: " + *v.saveProblem);
    v.afterSave = AfterSave::Stay;
    return;
  }
  v.identity = *v.saveIdentity;
  v.path = v.savePath;
  v.savedAt = static_cast<int64_t>(v.saveUndoAt);
  say(v, "Saved " + v.path + ".");
  if (v.timings)
    v.timingLine = "saved " + std::to_string(data_rows(v)) + " rows";
  if (v.afterSave == AfterSave::Quit) v.quit = true;
  if (v.afterSave == AfterSave::Open) {
    const std::string next = v.openAfterSave;
    if (const std::string problem = load_file(v, next); !problem.empty()) say(v, "Not opened: " + next + " " + problem);
  }
  v.afterSave = AfterSave::Stay;
}

// Unsaved edits are saved, discarded or kept (false: stay).
bool may_leave(Viewer& v, AfterSave after, const std::string& next) {
  commit_editor(v);
  if (!viewer_modified(v)) return true;
  if (v.task == Task::Saving) return false;
  const int32_t answer = v.ask("Save the changes to " + v.path + "?",
                               TK_ANSWER_SAVE | TK_ANSWER_DISCARD | TK_ANSWER_CANCEL);
  if (answer == TK_ANSWER_DISCARD) return true;
  if (answer == TK_ANSWER_SAVE) {
    v.openAfterSave = next;
    start_save(v, v.path, after);
  }
  return false;
}

// ---- editing -------------------------------------------------------------------
void undo_redo(Viewer& v, bool redo) {
  if (!v.source) return;
  commit_editor(v);
  if (redo ? v.undoAt >= v.undo.size() : v.undoAt == 0) return;
  const std::vector<CellChange>& changes = v.undo[redo ? v.undoAt : v.undoAt - 1];
  for (const CellChange& c : changes) set_value(v, c.record, c.field, redo ? c.after : c.before);
  v.undoAt += redo ? 1 : -1;
  redraw(v);
  say(v, std::string(redo ? "Redone: " : "Undone: ") + std::to_string(changes.size()) +
             (changes.size() == 1 ? " cell." : " cells."));
}

// A cell for a tab-separated copy: quoted when it holds a tab, line break or quote.
std::string copied_cell(const std::string& text) {
  if (text.find_first_of("\t\r\n\"") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void copy_selection(Viewer& v) {
  GridRecord& g = grid(v);
  if (g.rowCount == 0 || g.columnCount == 0) return;
  const int32_t top = std::clamp(std::min(g.cursorRow, g.selectionEndRow), 0, g.rowCount - 1);
  const int32_t bottom = std::clamp(std::max(g.cursorRow, g.selectionEndRow), 0, g.rowCount - 1);
  const int32_t left = std::clamp<int32_t>(std::min(g.cursorColumn, g.selectionEndColumn), 0, g.columnCount - 1);
  const int32_t right = std::clamp<int32_t>(std::max(g.cursorColumn, g.selectionEndColumn), 0, g.columnCount - 1);
  std::string text;
  for (int32_t r = top; r <= bottom; ++r) {
    for (int32_t c = left; c <= right; ++c) {
      if (c > left) text += '\t';
      uint32_t record = 0, field = 0;
      if (cell_place(v, static_cast<int16_t>(c), r, record, field)) text += copied_cell(sheet_value(v.sheet, record, field));
    }
    text += '\n';
  }
  tk_set_clipboard_text(text);
  say(v, "Copied " + with_commas(int64_t{bottom - top + 1} * (right - left + 1)) + " cells.");
}

// Tab-separated text as rows of cells (quoted cells as copy_selection writes them).
std::vector<std::vector<std::string>> parse_pasted(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& cell = rows.back().back();
    if (c == '"' && cell.empty()) {
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') cell += text[++i];
        else if (text[i] == '"') break;
        else cell += text[i];
      }
    } else if (c == '\t') {
      rows.back().emplace_back();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      rows.emplace_back(1);
    } else {
      cell += c;
    }
  }
  if (rows.size() > 1 && rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
  return rows;
}

void paste(Viewer& v) {
  if (!v.source) return;
  commit_editor(v);
  const std::string text = tk_get_clipboard_text();
  if (text.empty()) return;
  GridRecord& g = grid(v);
  std::vector<CellChange> changes;
  const auto rows = parse_pasted(text);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j) {
      uint32_t record = 0, field = 0;
      const int64_t row = int64_t{g.cursorRow} + static_cast<int64_t>(i);
      const int64_t column = int64_t{g.cursorColumn} + static_cast<int64_t>(j);
      if (row >= g.rowCount || column >= g.columnCount) continue;
      if (!cell_place(v, static_cast<int16_t>(column), static_cast<int32_t>(row), record, field)) continue;
      const std::string before = sheet_value(v.sheet, record, field);
      if (before == rows[i][j]) continue;
      set_value(v, record, field, rows[i][j]);
      changes.push_back({record, field, before, rows[i][j]});
    }
  }
  say(v, "Pasted " + std::to_string(changes.size()) + " changed cells (Ctrl+Z undoes them).");
  push_edit(v, std::move(changes));
  redraw(v);
}

// ---- finding ---------------------------------------------------------------------
void show_cell(Viewer& v, int16_t column, int32_t row) {
  GridRecord& g = grid(v);
  if (row < g.scrollY || row >= g.lastVisibleRow)
    set_attribute(v.ui, kGrid, "SCROLLY", std::to_string(std::max(0, row - 2)), 0);
  if (column < g.scrollX || column >= g.lastVisibleColumn)
    set_attribute(v.ui, kGrid, "SCROLLX", std::to_string(column), 0);
  set_cursor(v.ui, kGrid, column, row, 1);
}

// The first (step 1) or last (-1) column of a grid position holding the
// find text, among columns [from, to]; -1 for none.
int16_t found_column(Viewer& v, int32_t position, int step, int32_t from, int32_t to) {
  const int32_t row = grid_source_row(v.ui, kGrid, position);
  if (row < 0) return -1;
  for (int32_t k = 0; k <= to - from; ++k) {
    const int32_t c = step > 0 ? from + k : to - k;
    if (contains_folded(sheet_value(v.sheet, int64_t{row} + 1, static_cast<uint32_t>(c) + v.sheet.skip), v.findText))
      return static_cast<int16_t>(c);
  }
  return -1;
}

void found(Viewer& v, int16_t column, int32_t position) {
  show_cell(v, column, position);
  say(v, "Found \"" + get_text(v.ui, kFind) + "\" (F3 next, Shift+F3 previous).");
}

// The next cell (step 1) or the previous one (-1) holding the find text,
// from the cursor on (`fromCursor`: the cursor's own cell too). The
// cursor's row is looked at here, the other rows by a worker searching the
// file's bytes (the records indexed so far, while the file loads).
void find(Viewer& v, int step, bool fromCursor) {
  GridRecord& g = grid(v);
  v.findJob.reset();
  if (v.findText.empty() || g.rowCount == 0 || g.columnCount == 0 || !v.source) return;
  const int32_t last = g.columnCount - 1;
  const int32_t from = step > 0 ? g.cursorColumn + (fromCursor ? 0 : 1) : 0;
  const int32_t to = step > 0 ? last : g.cursorColumn - (fromCursor ? 0 : 1);
  if (from <= to) {
    const int16_t column = found_column(v, g.cursorRow, step, from, to);
    if (column >= 0) return found(v, column, g.cursorRow);
  }
  v.findStopped = false;
  v.findStep = static_cast<int8_t>(step);
  v.findStarted = Clock::now();
  // In the file's order forwards, the first record after the cursor's
  // (coming round) is the answer; else every record holding it is.
  v.findAll = step < 0 || v.sortColumn >= 0;
  auto hits = std::make_shared<std::vector<int64_t>>();
  v.findHits = hits;
  const int64_t cursorRecord = int64_t{grid_source_row(v.ui, kGrid, g.cursorRow)} + 1;
  const int32_t window = v.window;
  v.findJob = std::make_unique<Job>(
      [sheet = v.sheet, needle = v.findText, all = v.findAll, cursorRecord, hits](const std::atomic<bool>& cancel) {
        const auto take = [&](int64_t record) {
          hits->push_back(record);
          return all;
        };
        if (all) {
          find_records(sheet, needle, 1, sheet.records, take, &cancel);
        } else if (find_records(sheet, needle, cursorRecord + 1, sheet.records, take, &cancel) && hits->empty()) {
          find_records(sheet, needle, 1, cursorRecord + 1, take, &cancel);
        }
      },
      [window] { notify(window, kPostFind); });
  say(v, "Finding \"" + get_text(v.ui, kFind) + "\" (Escape stops)...");
}

void finish_find(Viewer& v) {
  v.findJob.reset();
  GridRecord& g = grid(v);
  const std::vector<int64_t>& hits = *v.findHits;
  const int32_t rows = g.rowCount, last = g.columnCount - 1, cursor = g.cursorRow;
  const int step = v.findStep;
  int32_t position = -1;
  if (!v.findAll) {
    if (!hits.empty()) position = static_cast<int32_t>(hits.front() - 1);
  } else if (!hits.empty()) {
    // The records found, walked in the view's order from the cursor on.
    std::vector<bool> holds(static_cast<std::size_t>(data_rows(v)));
    for (const int64_t record : hits) holds[static_cast<std::size_t>(record - 1)] = true;
    for (int32_t k = 1; k <= rows && position < 0; ++k) {
      const int32_t at = static_cast<int32_t>(((int64_t{cursor} + int64_t{step} * k) % rows + rows) % rows);
      const int32_t row = grid_source_row(v.ui, kGrid, at);
      if (row >= 0 && static_cast<std::size_t>(row) < holds.size() && holds[static_cast<std::size_t>(row)]) position = at;
    }
  }
  const int16_t column = position >= 0 ? found_column(v, position, step, 0, last) : -1;
  const long ms = elapsed_ms(v.findStarted);
  if (v.timings) {
    const double megabytes = static_cast<double>(v.sheet.text().size()) / 1e6;
    std::fprintf(stderr, "data_viewer: searched %ld MB%s in %ld ms\n", static_cast<long>(megabytes),
                 column < 0 ? (" (all of it, " + std::to_string(static_cast<long>(megabytes * 1000 / std::max(ms, 1L))) +
                               " MB/s)").c_str()
                            : "",
                 ms);
  }
  if (column >= 0) return found(v, column, position);
  if (v.findStopped) return say(v, "Finding was stopped.");
  say(v, "\"" + get_text(v.ui, kFind) + "\" is not in the file.");
}

// ---- the caption click -----------------------------------------------------------
// A left click in the caption row of a grid that does not sort itself
// selects the column (the grid reports it as a cursor move); the mouse says
// it was the caption.
bool caption_clicked(Viewer& v, int32_t eventType, int32_t mouseY, int16_t& column) {
  if (eventType != TK_TYPE_LEFT_CLICK || event_object_name(v.ui) != kGrid) return false;
  NamedObject* o = lookup_object(v.ui, kGrid);
  GridRecord& g = grid(v);
  if (o == nullptr || mouseY < o->absY || mouseY > o->absY + g.captColHeight) return false;
  column = g.cursorColumn;
  return column >= 0 && column < g.columnCount && g.selectionEndColumn == column;
}

void on_menu(Viewer& v, int32_t menu, bool editorWasOpen) {
  switch (menu) {
    case kOpen: {
      const std::string next = v.choose_file(false);
      if (next.empty() || !may_leave(v, AfterSave::Open, next)) return;
      if (const std::string problem = load_file(v, next); !problem.empty())
        say(v, "Not opened: " + next + " " + problem);
      return;
    }
    case kSave: return start_save(v, v.path, AfterSave::Stay);
    case kSaveAs: {
      if (!v.source) return;
      const std::string to = v.choose_file(true);
      if (!to.empty()) start_save(v, to, AfterSave::Stay);
      return;
    }
    case kQuit:
      if (may_leave(v, AfterSave::Quit, "")) v.quit = true;
      return;
    case kUndo: return undo_redo(v, false);
    case kRedo: return undo_redo(v, true);
    case kCopy: return copy_selection(v);
    case kPaste: return paste(v);
    case kFindFocus: tk_focus_gadget(get_gadget(v.ui, kFind)); return;
    case kFindNext: return find(v, 1, false);
    case kFindPrevious: return find(v, -1, false);
    case kFileOrder:
      if (!refuse_while_busy(v, "change the order")) file_order(v);
      return;
    case kStop:
    case GridKey::Escape:
      if (editorWasOpen) return;
      if (v.task == Task::Loading) stop_load(v, "loading was stopped");
      if (v.task == Task::Sorting && v.job) v.job->cancel();
      if (v.findJob) v.findJob->cancel(), v.findStopped = true;
      return;
    default: return;
  }
}

// The turn's time counts while work runs; a step's time is told once its
// last turn is over.
void end_turn(Viewer& v, bool working, Clock::time_point turn) {
  if (working) v.longestTurnMs = std::max(v.longestTurnMs, elapsed_ms(turn));
  if (v.timingLine.empty()) return;
  std::fprintf(stderr, "data_viewer: %s in %ld ms (the window waited %ld ms at most)\n", v.timingLine.c_str(),
               elapsed_ms(v.started), v.longestTurnMs);
  v.timingLine.clear();
}

}  // namespace

// ---- the source ----------------------------------------------------------------
std::string CsvSource::caption(int16_t column) const {
  if (column < 0 || static_cast<std::size_t>(column) >= v_.captions.size()) return {};
  std::string text = v_.captions[static_cast<std::size_t>(column)];
  if (column == v_.sortColumn) text += v_.sortState == 1 ? " \u25B2" : " \u25BC";
  return text;
}

std::string_view CsvSource::cell_text(int16_t column, int32_t row, std::string& scratch) const {
  const int64_t record = int64_t{row} + 1;
  const uint32_t field = static_cast<uint32_t>(column) + v_.sheet.skip;
  if (record >= v_.sheet.records || column < 0) return {};
  if (!v_.sheet.edits.empty()) {
    const auto r = v_.sheet.edits.find(static_cast<uint32_t>(record));
    if (r != v_.sheet.edits.end()) {
      const auto f = r->second.find(field);
      if (f != r->second.end()) return f->second;
    }
  }
  Parsed& p = parsed_[static_cast<std::size_t>(record) % parsed_.size()];
  if (p.record != record) {
    p.record = record;
    p.bytes = record_bytes(v_.sheet.text(), v_.sheet.index(), record);
    split_fields(p.bytes, v_.sheet.format.separator, p.spans);
  }
  if (field >= p.spans.size()) return {};
  const FieldSpan& span = p.spans[field];
  if (!span.quoted && v_.sheet.format.encoding == Encoding::Utf8) return p.bytes.substr(span.offset, span.length);
  scratch = field_bytes(p.bytes, span);
  if (v_.sheet.format.encoding == Encoding::Windows1252) scratch = windows1252_to_utf8(scratch);
  return scratch;
}

// An edit committed in the grid: into the overlay, and onto the undo list.
bool CsvSource::set_cell_text(int16_t column, int32_t row, std::string_view text) {
  const uint32_t record = static_cast<uint32_t>(row) + 1;
  const uint32_t field = static_cast<uint32_t>(column) + v_.sheet.skip;
  const std::string before = sheet_value(v_.sheet, record, field);
  if (before == text) return true;
  set_value(v_, record, field, std::string(text));
  push_edit(v_, {CellChange{record, field, before, std::string(text)}});
  return true;
}

// ---- the window ----------------------------------------------------------------
int32_t open_viewer_window(Viewer& v) {
  if (!v.ask)
    v.ask = [&v](const std::string& text, int32_t buttons) {
      return tk_ask_question(v.window, "ZUI data viewer", text, buttons);
    };
  if (!v.choose_file)
    v.choose_file = [&v](bool saving) {
      return saving ? tk_save_file_dialog(v.window, "Save as", v.path, kFilter)
                    : tk_open_file_dialog(v.window, "Open", v.path, kFilter);
    };
  v.window = create_window(v.ui, "Viewer", 60, 60, 900, 600, "ZUI data viewer",
                           TK_WINDOW_HIDDEN | kWindowStyle | kWindowButtonsFireOnRelease);
  if (v.window == 0) return 0;
  const int32_t handle = tk_window_handle(v.window);
  if (tk_create_menu_bar(-1, handle) != 0) {
    tk_add_menu_title("&File");
    tk_add_menu_item(kOpen, "&Open...\tCtrl+O");
    tk_add_menu_item(kSave, "&Save\tCtrl+S");
    tk_add_menu_item(kSaveAs, "Save &as...\tCtrl+Shift+S");
    tk_add_menu_item(kQuit, "&Quit\tCtrl+Q");
    tk_add_menu_title("&Edit");
    tk_add_menu_item(kUndo, "&Undo\tCtrl+Z");
    tk_add_menu_item(kRedo, "&Redo\tCtrl+Y");
    tk_add_menu_item(kCopy, "&Copy\tCtrl+C");
    tk_add_menu_item(kPaste, "&Paste\tCtrl+V");
    tk_add_menu_item(kFindFocus, "&Find\tCtrl+F");
    tk_add_menu_item(kFindNext, "Find &next\tF3");
    tk_add_menu_item(kFindPrevious, "Find &previous\tShift+F3");
    tk_add_menu_title("&View");
    tk_add_menu_item(kFileOrder, "&File order");
  }
  const struct {
    int32_t key;
    int32_t id;
  } shortcuts[] = {{TK_CONTROL | 'O', kOpen},  {TK_CONTROL | 'S', kSave},
                   {TK_CONTROL | TK_SHIFT | 'S', kSaveAs}, {TK_CONTROL | 'Q', kQuit},
                   {TK_CONTROL | 'Z', kUndo},  {TK_CONTROL | 'Y', kRedo},
                   {TK_CONTROL | 'C', kCopy},  {TK_CONTROL | 'V', kPaste},
                   {TK_CONTROL | 'F', kFindFocus}, {114, kFindNext},  // F3
                   {TK_SHIFT | 114, kFindPrevious}, {TK_KEY_ESCAPE, kStop}};
  for (const auto& s : shortcuts) tk_add_shortcut(v.window, s.key, s.id);
  if (tk_use_window_as_parent(handle) == 0) return 0;
  set_window_font(v.ui, "Liberation Sans", 9, 0);
  // The grid is drawn once, when it stands at its size.
  hold_drawings(v.ui, true);
  if (create_grid(v.ui, kGrid, kMargin, kMargin, 860, 500, v.skin.SkinGridParts, 20, "") == 0) return 0;
  for (const char* keyword : {"KEYBOARDCONTROL", "PERMANENTCURSOR"}) set_attribute(v.ui, kGrid, keyword, "1", 0);
  set_attribute(v.ui, kGrid, "ENABLEINPUT", "0", 0);  // until the file is read
  set_attribute(v.ui, kGrid, "SCOLLBARY", "1", 0);
  set_attribute(v.ui, kGrid, "SCOLLBARX", "1", 0);
  create_text(v.ui, kStatus, kMargin, 540, 600, kStatusHeight, "", 0, "");
  create_text(v.ui, kFindLabel, 640, 540, kFindLabelWidth, kStatusHeight, "Find:", 0, "");
  create_input(v.ui, kFind, 680, 540, kFindWidth, kStatusHeight, "", 0, "");
  lay_out(v);
  hold_drawings(v.ui, false);
  return 1;
}

void show_viewer_window(Viewer& v) { tk_hide_window(v.window, 0); }

std::string load_file(Viewer& v, const std::string& path) {
  FileIdentity identity;
  std::string problem;
  const int fd = open_regular_file(path, identity, problem);
  if (fd < 0) return problem;
  std::shared_ptr<FileBytes> bytes = FileBytes::map(fd, identity.size, problem);
  if (!bytes) return problem;
  reset_document(v);
  v.path = path;
  v.identity = identity;
  v.started = v.opened = Clock::now();
  v.longestTurnMs = 0;
  v.task = Task::Loading;
  v.message.clear();
  v.sheet.bytes = bytes;
  const int32_t window = v.window;
  v.indexed = std::make_shared<IndexedFile>(bytes, v.separator, [window] { notify(window, kPostLoad); });
  v.sheet.file = v.indexed;
  return {};
}

bool viewer_busy(const Viewer& v) { return v.task != Task::None || v.findJob != nullptr; }

bool viewer_modified(const Viewer& v) { return static_cast<int64_t>(v.undoAt) != v.savedAt; }

bool viewer_turn(Viewer& v, int32_t waitMs) {
  const int32_t kind = tk_wait_event(waitMs);
  const Clock::time_point turn = Clock::now();
  const bool working = v.task != Task::None;
  const int32_t menu = kind == TK_EVENT_MENU ? tk_last_event_menu() : 0;
  const int32_t mouseY = tk_window_mouse_y(v.window);
  const int32_t eventType = tk_last_event_type();
  const bool editorWasOpen = editor_is_open(grid(v));
  if (kind != TK_EVENT_POSTED) {
    dispatch_event(v.ui, tk_window_mouse_x(v.window), mouseY, kind, tk_last_event_type(),
                   tk_last_event_gadget(), tk_last_event_menu());
  } else {
    dispatch_event(v.ui, -1, -1, TK_EVENT_NONE, -1, 0, 0);
  }
  int16_t column = -1;
  if (kind == TK_EVENT_GADGET && caption_clicked(v, eventType, mouseY, column)) sort_by(v, column);
  if (event_code(v.ui) == Code::Changed && event_object_name(v.ui) == kFind) {
    v.findText = fold_case(get_text(v.ui, kFind));
    find(v, 1, true);
  }
  if (kind == TK_EVENT_RESIZED) lay_out(v);
  if (menu != 0) on_menu(v, menu, editorWasOpen);
  if (kind == TK_EVENT_CLOSE && may_leave(v, AfterSave::Quit, "")) v.quit = true;

  if (v.task == Task::Loading && v.indexed) {
    const IndexedFile::Progress p = v.indexed->snapshot();
    if (p.finished) finish_load(v, p);
    else take_progress(v, p);
  }
  if (v.task == Task::Sorting && v.job && v.job->finished()) finish_sort(v);
  if (v.findJob && v.findJob->finished()) finish_find(v);
  if (v.task == Task::Saving && v.job && v.job->finished()) finish_save(v);
  // The first rows drawn: how long after the start (ZUI_VIEWER_TIMINGS).
  if (v.timings && !v.firstScreenTold && v.firstScreenPaints >= 0 &&
      tk_window_paint_count(v.window) > v.firstScreenPaints) {
    v.firstScreenTold = true;
    std::fprintf(stderr, "data_viewer: first screen with %d rows drawn %ld ms after the start, %ld ms after the file was opened\n",
                 grid(v).rowCount, elapsed_ms(v.launched), elapsed_ms(v.opened));
  }
  // Escape reaches the viewer whenever no editor wants it.
  if (viewer_busy(v) && !editor_is_open(grid(v))) tk_add_shortcut(v.window, TK_KEY_ESCAPE, kStop);
  if (!v.quit) show_status(v);
  end_turn(v, working, turn);
  return !v.quit;
}

void close_viewer(Viewer& v) {
  v.job.reset();
  v.findJob.reset();
  v.indexed.reset();
  v.sheet = Sheet{};
  close_window(v.ui, "Viewer");
  v.source.reset();
  free_skin_pieces(v.skin);
}

long peak_memory_mb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10) / 1024;
  return -1;
}
