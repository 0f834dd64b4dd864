#include "viewer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

using namespace zui;

namespace {

constexpr int32_t kWindowStyle = TK_WINDOW_STANDARD;
constexpr int16_t kMargin = 8;
constexpr int16_t kStatusHeight = 22;
constexpr int16_t kBarRoom = 20;         // a grid scroll bar and its gap
constexpr int32_t kMenuBarHeight = 20;   // counted in the window's inner height
constexpr int16_t kFindWidth = 180;
constexpr int16_t kFindLabelWidth = 34;
constexpr int32_t kFeedBudgetMs = 30;    // rows added per turn before the window answers again
constexpr int32_t kMaxCells = INT32_MAX;  // a grid counts its cells in 32 bits
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
enum Posted : int32_t { kPostLoad = 1, kPostSort, kPostSave };

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

uint32_t tree_offset(const Viewer& v) { return v.tree ? 1 : 0; }

// The value of a field as the person sees it: edited, or as in the file.
std::string file_value(const Viewer& v, uint32_t record, uint32_t field) {
  const Document& d = *v.document;
  if (record >= d.records.size()) return {};
  const RawRecord& r = d.records[record];
  const std::string_view raw = std::string_view(d.text).substr(r.offset, r.length);
  std::vector<FieldSpan> spans;
  split_fields(raw, d.format.separator, spans);
  if (field >= spans.size()) return {};
  std::string value = field_bytes(raw, spans[field]);
  return d.format.encoding == Encoding::Windows1252 ? windows1252_to_utf8(value) : value;
}

std::string current_value(const Viewer& v, uint32_t record, uint32_t field) {
  const auto edited = v.edits.find(record);
  if (edited != v.edits.end()) {
    const auto cell = edited->second.find(field);
    if (cell != edited->second.end()) return cell->second;
  }
  return file_value(v, record, field);
}

// Sets a field in the edits and in the grid; a value back as in the file
// leaves the edits, so that its record is written byte for byte again.
void set_value(Viewer& v, uint32_t record, uint32_t field, const std::string& value) {
  if (value == file_value(v, record, field)) {
    const auto edited = v.edits.find(record);
    if (edited != v.edits.end()) {
      edited->second.erase(field);
      if (edited->second.empty()) v.edits.erase(edited);
    }
  } else {
    v.edits[record][field] = value;
  }
  const int32_t data = static_cast<int32_t>(record) - 1;
  if (data >= 0 && static_cast<std::size_t>(data) < v.dataToView.size())
    set_cell(v.ui, kGrid, static_cast<int16_t>(field - tree_offset(v)), v.dataToView[static_cast<std::size_t>(data)],
             value, -1, -1, -1);
}

void push_edit(Viewer& v, std::vector<CellChange> changes) {
  if (changes.empty()) return;
  v.undo.resize(v.undoAt);
  if (v.savedAt > static_cast<int64_t>(v.undoAt)) v.savedAt = -1;  // that state is gone
  v.undo.push_back(std::move(changes));
  ++v.undoAt;
}

// The cell of grid row and column as a record and field.
bool cell_place(const Viewer& v, int16_t column, int32_t row, uint32_t& record, uint32_t& field) {
  if (row < 0 || static_cast<std::size_t>(row) >= v.viewToData.size() || column < 0) return false;
  record = static_cast<uint32_t>(v.viewToData[static_cast<std::size_t>(row)]) + 1;
  field = static_cast<uint32_t>(column) + tree_offset(v);
  return true;
}

// An editor that closed since the last look committed its text into its
// cell (by Return, a click elsewhere or a commit of ours): that is an edit.
void notice_editor(Viewer& v) {
  GridRecord& g = grid(v);
  const bool open = editor_is_open(g);
  if (v.editorOpen && !open && v.document) {
    uint32_t record = 0, field = 0;
    if (cell_place(v, v.editorColumn, v.editorRow, record, field)) {
      const std::string now = get_cell_text(v.ui, kGrid, v.editorColumn, v.editorRow);
      const std::string before = current_value(v, record, field);
      if (now != before) {
        set_value(v, record, field, now);
        push_edit(v, {CellChange{record, field, before, now}});
      }
    }
  }
  v.editorOpen = open;
  if (open) {
    v.editorColumn = g.editor.column;
    v.editorRow = g.editor.row;
  }
}

void commit_editor(Viewer& v) {
  if (editor_is_open(grid(v))) close_editor(v.ui, kGrid, 0);
  notice_editor(v);
}

void redraw(Viewer& v) { set_attribute(v.ui, kGrid, "REDRAW", "1", 1); }

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
  if (v.task == Task::Loading && v.loader) {
    const int percent = static_cast<int>(100.0 * v.loader->progress());
    text = "Loading " + std::to_string(percent) + " %: " + with_commas(grid_row_count(v.ui, kGrid)) +
           " rows (Escape stops)";
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
  v.loader.reset();
  v.job.reset();
  v.task = Task::None;
  v.pending.clear();
  v.pendingRow = 0;
  v.document.reset();
  v.incomplete = false;
  v.incompleteWhy.clear();
  v.ragged = 0;
  v.tree = false;
  v.captions.clear();
  v.viewToData.clear();
  v.dataToView.clear();
  v.sortColumn = -1;
  v.sortState = 0;
  v.edits.clear();
  v.undo.clear();
  v.undoAt = 0;
  v.savedAt = 0;
  v.editorOpen = false;
  if (editor_is_open(grid(v))) close_editor(v.ui, kGrid, 1);
  clear_grid(v.ui, kGrid, 1);
}

// Stops the load where it is: the rows in the grid stay, marked incomplete.
void stop_load(Viewer& v, const std::string& why) {
  if (v.loader) v.loader->cancel();
  if (!v.incomplete) v.incompleteWhy = why;
  v.incomplete = true;
}

// Adds rows handed over by the loader until the turn's time is used.
void feed_rows(Viewer& v) {
  if (!v.loader) return;
  for (LoadBatch& b : v.loader->take()) v.pending.push_back(std::move(b));
  const Clock::time_point start = Clock::now();
  bool added = false;
  while (!v.pending.empty()) {
    LoadBatch& b = v.pending.front();
    if (v.pendingRow == 0) {
      v.batchBase = grid_row_count(v.ui, kGrid);
      if (!b.captions.empty() && v.captions.empty()) {
        v.captions = b.captions;
        for (const std::string& caption : b.captions) {
          if (add_column(v.ui, kGrid, -1, caption, 140, 1, 0, 0, "", 0) != 1) {
            stop_load(v, "the grid took no more columns");
            break;
          }
        }
        redraw(v);
        added = true;
      }
      // Long rows keep their extra fields in extra columns.
      while (!v.incomplete && static_cast<uint32_t>(grid_column_count(v.ui, kGrid)) < b.columns) {
        const int32_t rows = grid_row_count(v.ui, kGrid);
        const std::string caption = std::to_string(grid_column_count(v.ui, kGrid) + 1);
        if (int64_t{rows} * (grid_column_count(v.ui, kGrid) + 1) > kMaxCells ||
            add_column(v.ui, kGrid, -1, caption, 100, 1, 0, 0, std::string(rows > 0 ? rows - 1 : 0, '\n'), 0) != 1) {
          stop_load(v, "the grid holds no more columns");
          break;
        }
        v.captions.push_back(caption);
      }
      for (std::size_t c = 0; c < b.numeric.size(); ++c)
        if (b.numeric[c]) set_column_attribute(v.ui, kGrid, static_cast<int16_t>(c), "ORIENTATION", "1", 0);
      v.ragged += b.ragged;
      // Room for the whole file at once: a grid that grows row by row
      // moves all its cells each time it doubles.
      if (b.expectedRows > 0) {
        const int64_t cap = kMaxCells / std::max<int64_t>(grid_column_count(v.ui, kGrid), 1);
        reserve_grid_rows(v.ui, kGrid, static_cast<int32_t>(std::min(b.expectedRows, cap)));
        v.viewToData.reserve(static_cast<std::size_t>(std::min(b.expectedRows, cap)));
        v.dataToView.reserve(static_cast<std::size_t>(std::min(b.expectedRows, cap)));
      }
    }
    const int16_t columns = grid_column_count(v.ui, kGrid);
    for (; v.pendingRow < b.cells.size() && !v.incomplete; ++v.pendingRow) {
      const int32_t row = grid_row_count(v.ui, kGrid);
      const int8_t level = v.tree ? b.levels[v.pendingRow] : 0;
      if (int64_t{row + 1} * columns > kMaxCells ||
          add_row(v.ui, kGrid, -1, "", 20, level, b.cells[v.pendingRow], "", 0) != 1) {
        stop_load(v, "the grid holds no more than " + with_commas(row) + " rows of " +
                         std::to_string(columns) + " columns");
        break;
      }
      v.viewToData.push_back(row);
      v.dataToView.push_back(row);
      // A row deeper than the one before opens a subtree under it.
      if (v.tree && row > 0 && level > v.previousLevel)
        set_row_attribute(v.ui, kGrid, row - 1, "ISPARENT", "16", 0);
      v.previousLevel = level;
      added = true;
      if ((v.pendingRow & 1023) == 1023 && elapsed_ms(start) > kFeedBudgetMs) {
        ++v.pendingRow;
        redraw(v);
        return;
      }
    }
    const int32_t rows = grid_row_count(v.ui, kGrid);
    for (const MultilineCell& cell : b.multiline)
      if (v.batchBase + cell.row < rows)
        set_cell(v.ui, kGrid, static_cast<int16_t>(cell.column), v.batchBase + cell.row, cell.value, -1, -1, -1);
    v.pending.pop_front();
    v.pendingRow = 0;
    if (v.incomplete) v.pending.clear();
  }
  if (added) redraw(v);
}

void finish_load(Viewer& v) {
  const std::string error = v.loader->error();
  const bool refused = v.loader->refused();
  v.document = v.loader->document();
  v.loader.reset();
  v.task = Task::None;
  if (refused) {
    std::fprintf(stderr, "data_viewer: %s %s\n", v.path.c_str(), error.c_str());
    if (v.firstFile) {
      v.exitCode = 2;
      v.quit = true;
      return;
    }
    reset_document(v);
    say(v, "Not opened: " + v.path + " " + error);
    return;
  }
  v.firstFile = false;
  // Rows the grid could not take are not in the document's view either.
  const std::size_t rows = static_cast<std::size_t>(grid_row_count(v.ui, kGrid));
  if (v.document && v.document->records.size() > rows + 1) v.incomplete = true;
  if (!error.empty() && !v.incomplete) v.incompleteWhy = error;
  if (!error.empty()) v.incomplete = true;
  set_attribute(v.ui, kGrid, "ENABLEINPUT", "1", 0);
  const std::string counts = with_commas(static_cast<int64_t>(rows)) + " rows" +
                             (v.ragged > 0 ? ", " + with_commas(v.ragged) + " ragged (not as wide as the header)" : "") +
                             (v.document && v.document->format.encoding == Encoding::Windows1252
                                  ? ", read as Windows-1252 (not UTF-8)" : "");
  if (v.incomplete) {
    std::fprintf(stderr, "data_viewer: %s %s\n", v.path.c_str(), v.incompleteWhy.c_str());
    say(v, "Incomplete, " + v.incompleteWhy + ": the " + counts + " read before are shown; saving is off.");
  } else {
    say(v, counts + ".");
  }
  if (v.timings)
    v.timingLine = "loaded " + std::to_string(rows) + " rows";
}

// ---- sorting ---------------------------------------------------------------------
void show_sort_marks(Viewer& v) {
  for (std::size_t c = 0; c < v.captions.size(); ++c) {
    std::string caption = v.captions[c];
    if (static_cast<int16_t>(c) == v.sortColumn) caption += v.sortState == 1 ? " \u25B2" : " \u25BC";
    set_column_attribute(v.ui, kGrid, static_cast<int16_t>(c), "CAPTION", caption, 0);
  }
}

// Puts the grid's rows in `order` (new position -> data row): a worker
// moves them while the window leaves the grid alone and keeps showing its
// last picture (viewer_turn holds the events back meanwhile).
void start_moving_rows(Viewer& v, std::vector<int32_t> order) {
  commit_editor(v);
  const std::size_t rows = v.viewToData.size();
  // Data rows the grid does not hold (an incomplete load) stay out.
  order.erase(std::remove_if(order.begin(), order.end(),
                             [rows](int32_t d) { return d < 0 || static_cast<std::size_t>(d) >= rows; }),
              order.end());
  if (order.size() != rows) {
    v.task = Task::None;
    return;
  }
  std::vector<int32_t> gridOrder(rows);
  for (std::size_t i = 0; i < rows; ++i) gridOrder[i] = v.dataToView[static_cast<std::size_t>(order[i])];
  *v.sortResult = std::move(order);
  v.task = Task::Sorting;
  v.gridLent = true;
  auto moved = std::make_shared<bool>(false);
  v.rowsMoved = moved;
  GridRecord* g = &grid(v);
  // Screen readers ask on the window's thread while the rows move: until
  // they are in place the grid is not described to them at all.
  tk_describe_gadget(lookup_object(v.ui, kGrid)->gadget, nullptr, nullptr, nullptr);
  const int32_t window = v.window;
  v.job = std::make_unique<Job>(
      [g, gridOrder = std::move(gridOrder), moved](const std::atomic<bool>&) {
        *moved = order_grid_record_rows(*g, gridOrder);
      },
      [window] { notify(window, kPostSort); });
}

void finish_moving_rows(Viewer& v) {
  v.job.reset();
  v.gridLent = false;
  describe_object(v.ui, *lookup_object(v.ui, kGrid));
  v.task = Task::None;
  v.sortColumn = v.sortingColumn;
  v.sortState = v.sortingState;
  if (*v.rowsMoved) {
    v.viewToData = std::move(*v.sortResult);
    for (std::size_t i = 0; i < v.viewToData.size(); ++i)
      v.dataToView[static_cast<std::size_t>(v.viewToData[i])] = static_cast<int32_t>(i);
  }
  show_sort_marks(v);
  redraw(v);
  if (v.sortColumn < 0) {
    say(v, "In the file's order.");
  } else {
    say(v, "Sorted by " + v.captions[static_cast<std::size_t>(v.sortColumn)] +
               (v.sortState == 1 ? ", ascending" : ", descending") + "; a third click on it shows the file's order.");
  }
  if (v.timings)
    v.timingLine = (v.sortColumn < 0 ? "put " + std::to_string(v.viewToData.size()) + " rows in the file's order"
                                     : "sorted " + std::to_string(v.viewToData.size()) + " rows by column " +
                                           std::to_string(v.sortColumn));
  // What was held back while the rows moved.
  if (v.heldResize) lay_out(v);
  v.heldResize = false;
  const std::vector<int32_t> menus = std::move(v.heldMenus);
  v.heldMenus.clear();
  for (const int32_t menu : menus) on_menu(v, menu, false);
  if (v.heldClose && may_leave(v, AfterSave::Quit, "")) v.quit = true;
  v.heldClose = false;
}

void file_order(Viewer& v) {
  std::vector<int32_t> order(v.viewToData.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
  v.sortingColumn = -1;
  v.sortingState = 0;
  v.started = Clock::now();
  v.longestTurnMs = 0;
  v.sortResult = std::make_shared<std::vector<int32_t>>();
  start_moving_rows(v, std::move(order));
}

bool refuse_while_busy(Viewer& v, const char* what) {
  if (v.task == Task::None) return false;
  const char* running = v.task == Task::Loading ? "the file loads" : v.task == Task::Sorting ? "it sorts" : "it saves";
  say(v, std::string("Cannot ") + what + " while " + running + ".");
  return true;
}

// A caption click: ascending, descending, then the file's order again.
void sort_by(Viewer& v, int16_t column) {
  if (refuse_while_busy(v, "sort") || !v.document) return;
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
  const std::shared_ptr<const Document> doc = v.document;
  const uint32_t field = static_cast<uint32_t>(column) + tree_offset(v);
  const int32_t window = v.window;
  v.job = std::make_unique<Job>(
      [doc, edits = v.edits, field, state, result](const std::atomic<bool>& cancel) {
        *result = sort_document(*doc, edits, field, state == 2, &cancel);
      },
      [window] { notify(window, kPostSort); });
}

void finish_sort(Viewer& v) {
  v.job.reset();
  if (v.sortResult->empty() && !v.viewToData.empty()) {
    v.task = Task::None;
    say(v, "Sorting was stopped.");
    return;
  }
  start_moving_rows(v, std::move(*v.sortResult));
}

// ---- saving ---------------------------------------------------------------------
void start_save(Viewer& v, const std::string& path, AfterSave after) {
  if (refuse_while_busy(v, "save") || !v.document) return;
  if (v.incomplete) {
    say(v, "Not saved: the file was not read completely (" + v.incompleteWhy +
               "), and saving would cut it short.");
    return;
  }
  commit_editor(v);
  const bool samePath = path == v.document->path;
  std::string detail;
  const SaveRisk risk = check_save_target(path, samePath ? v.document->identity : FileIdentity{}, detail);
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
  const std::shared_ptr<const Document> doc = v.document;
  const uint32_t mode = v.document->identity.mode;
  const int32_t window = v.window;
  v.job = std::make_unique<Job>(
      [doc, edits = v.edits, path, mode, problem, written](const std::atomic<bool>&) {
        const std::string content = write_document(doc->text, doc->records, edits, doc->format, *problem);
        if (problem->empty()) *problem = save_file(path, content, mode, *written);
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
  v.document->identity = *v.saveIdentity;
  v.document->path = v.savePath;
  v.path = v.savePath;
  v.savedAt = static_cast<int64_t>(v.saveUndoAt);
  say(v, "Saved " + v.path + ".");
  if (v.timings)
    v.timingLine = "saved " + std::to_string(v.viewToData.size()) + " rows";
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
  if (!v.document) return;
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
      text += copied_cell(g.cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(g.columnCount) + static_cast<std::size_t>(c)].text);
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
  if (!v.document) return;
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
      const std::string before = current_value(v, record, field);
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

// The next cell (step 1) or the previous one (-1) holding the find text,
// from the cursor on (`from_cursor`: the cursor's own cell too).
void find(Viewer& v, int step, bool fromCursor) {
  GridRecord& g = grid(v);
  if (v.findText.empty() || g.rowCount == 0 || g.columnCount == 0) return;
  const int64_t cells = int64_t{g.rowCount} * g.columnCount;
  const int64_t cursor = int64_t{g.cursorRow} * g.columnCount + g.cursorColumn;
  for (int64_t k = fromCursor ? 0 : 1; k <= cells; ++k) {
    const int64_t at = ((cursor + step * k) % cells + cells) % cells;
    if (contains_folded(g.cells[static_cast<std::size_t>(at)].text, v.findText)) {
      show_cell(v, static_cast<int16_t>(at % g.columnCount), static_cast<int32_t>(at / g.columnCount));
      say(v, "Found \"" + get_text(v.ui, kFind) + "\" (F3 next, Shift+F3 previous).");
      return;
    }
  }
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
      if (!v.document) return;
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
  if (create_grid(v.ui, kGrid, kMargin, kMargin, 860, 500, v.skin.SkinGridParts, 20, "") == 0) return 0;
  for (const char* keyword : {"KEYBOARDCONTROL", "PERMANENTCURSOR"}) set_attribute(v.ui, kGrid, keyword, "1", 0);
  set_attribute(v.ui, kGrid, "ENABLEINPUT", "0", 0);  // until the file is read
  set_attribute(v.ui, kGrid, "SCOLLBARY", "1", 0);
  set_attribute(v.ui, kGrid, "SCOLLBARX", "1", 0);
  create_text(v.ui, kStatus, kMargin, 540, 600, kStatusHeight, "", 0, "");
  create_text(v.ui, kFindLabel, 640, 540, kFindLabelWidth, kStatusHeight, "Find:", 0, "");
  create_input(v.ui, kFind, 680, 540, kFindWidth, kStatusHeight, "", 0, "");
  lay_out(v);
  return 1;
}

void show_viewer_window(Viewer& v) { tk_hide_window(v.window, 0); }

std::string load_file(Viewer& v, const std::string& path) {
  FileIdentity identity;
  std::string problem;
  const int fd = open_regular_file(path, identity, problem);
  if (fd < 0) return problem;
  reset_document(v);
  v.path = path;
  v.started = Clock::now();
  v.longestTurnMs = 0;
  v.task = Task::Loading;
  v.previousLevel = 0;
  v.message.clear();
  const int32_t window = v.window;
  v.loader = std::make_unique<Loader>(fd, identity.size, path, identity, v.separator,
                                      [window] { notify(window, kPostLoad); });
  return {};
}

bool viewer_busy(const Viewer& v) { return v.task != Task::None || !v.pending.empty(); }

bool viewer_modified(const Viewer& v) { return static_cast<int64_t>(v.undoAt) != v.savedAt; }

bool viewer_turn(Viewer& v, int32_t waitMs) {
  const bool rowsWaiting = !v.pending.empty();
  const int32_t kind = tk_wait_event(rowsWaiting ? 0 : waitMs);
  const Clock::time_point turn = Clock::now();
  const bool working = v.task != Task::None;
  if (v.gridLent) {
    // A worker moves the grid's rows: the window shows the last picture and
    // what the person asks for waits until the rows are in place.
    if (kind == TK_EVENT_CLOSE) v.heldClose = true;
    if (kind == TK_EVENT_MENU) v.heldMenus.push_back(tk_last_event_menu());
    if (kind == TK_EVENT_RESIZED) v.heldResize = true;
    if (v.job && v.job->finished()) finish_moving_rows(v);
    if (!v.gridLent && !v.quit) show_status(v);
    end_turn(v, working, turn);
    return !v.quit;
  }
  const int32_t menu = kind == TK_EVENT_MENU ? tk_last_event_menu() : 0;
  const int32_t mouseY = tk_window_mouse_y(v.window);
  const int32_t eventType = tk_last_event_type();
  // The grid's editor, as it stands before the event.
  notice_editor(v);
  const bool editorWasOpen = v.editorOpen;
  if (kind != TK_EVENT_POSTED) {
    dispatch_event(v.ui, tk_window_mouse_x(v.window), mouseY, kind, tk_last_event_type(),
                   tk_last_event_gadget(), tk_last_event_menu());
  } else {
    dispatch_event(v.ui, -1, -1, TK_EVENT_NONE, -1, 0, 0);
  }
  notice_editor(v);
  int16_t column = -1;
  if (kind == TK_EVENT_GADGET && caption_clicked(v, eventType, mouseY, column)) sort_by(v, column);
  if (event_code(v.ui) == Code::Changed && event_object_name(v.ui) == kFind) {
    v.findText = fold_case(get_text(v.ui, kFind));
    find(v, 1, true);
  }
  if (kind == TK_EVENT_RESIZED) lay_out(v);
  if (menu != 0) on_menu(v, menu, editorWasOpen);
  if (kind == TK_EVENT_CLOSE && may_leave(v, AfterSave::Quit, "")) v.quit = true;

  if (v.task == Task::Loading && v.loader) {
    const bool ended = v.loader->finished();
    feed_rows(v);
    if (ended && v.pending.empty()) finish_load(v);
  }
  if (v.task == Task::Sorting && v.job && v.job->finished()) finish_sort(v);
  if (v.task == Task::Saving && v.job && v.job->finished()) finish_save(v);
  // Escape reaches the viewer whenever no editor wants it.
  if (v.task != Task::None && !editor_is_open(grid(v))) tk_add_shortcut(v.window, TK_KEY_ESCAPE, kStop);
  if (!v.quit) show_status(v);
  end_turn(v, working, turn);
  return !v.quit;
}

void close_viewer(Viewer& v) {
  v.loader.reset();
  v.job.reset();
  close_window(v.ui, "Viewer");
  free_skin_pieces(v.skin);
}
