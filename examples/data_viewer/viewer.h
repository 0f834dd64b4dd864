#pragma once
// The data viewer's window: a grid over a CSV file mapped into memory (the
// grid asks for the cells it shows), a status line and a find field, with
// indexing, sorting, finding and saving done by worker threads while the
// window keeps answering.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "framework/ui.h"
#include "jobs.h"
#include "sheet.h"

// One cell's change, for undo and redo.
struct CellChange {
  uint32_t record = 0;  // record index in the file (1 = first data row)
  uint32_t field = 0;   // field index (the tree's level column counted)
  std::string before;   // UTF-8
  std::string after;    // UTF-8
};

// What a finished save leads to.
enum class AfterSave : uint8_t { Stay, Quit, Open };
// The work running away from the window.
enum class Task : uint8_t { None, Loading, Sorting, Saving };

class CsvSource;

// Everything the viewer keeps between events.
struct Viewer {
  zui::Ui ui;
  zui::SkinPieces skin;
  int32_t window = 0;
  char separator = 0;               // --separator; 0 detects it
  bool timings = false;             // ZUI_VIEWER_TIMINGS: report each step on stderr
  int exitCode = 0;                 // 2 when the first file was refused
  bool quit = false;                // the window is to close
  std::chrono::steady_clock::time_point launched = std::chrono::steady_clock::now();  // for the first screen

  // The file.
  std::string path;                         // shown in the title
  std::shared_ptr<IndexedFile> indexed;     // mapped and indexed (the index may still grow)
  Sheet sheet;                              // its records and edits, as the window sees them
  std::shared_ptr<CsvSource> source;        // what the grid asks for its cells
  FileIdentity identity;                    // the file when it was read (or last saved)
  bool loaded = false;                      // the index is complete (or ended early)
  bool incomplete = false;                  // the load ended early: saving is refused
  std::string incompleteWhy;                // why
  bool firstFile = true;                    // a refusal of the first file ends the viewer
  int64_t ragged = 0;                       // rows not as wide as the header
  bool tree = false;                        // first column "level"
  std::vector<std::string> captions;        // column captions as read
  std::vector<bool> numeric;                // per column, right-aligned numbers
  int16_t headerColumns = 0;                // columns the header names
  bool firstScreenTold = false;             // ZUI_VIEWER_TIMINGS: the first screen was reported
  std::chrono::steady_clock::time_point opened;  // when the file was opened
  int64_t firstScreenPaints = -1;           // paints when the first rows were given to the grid

  // Work away from the window.
  Task task = Task::None;
  std::unique_ptr<Job> job;
  std::shared_ptr<std::vector<int32_t>> sortResult;  // new position -> data row
  std::shared_ptr<std::string> saveProblem;
  std::shared_ptr<FileIdentity> saveIdentity;
  std::string savePath;                     // where the running save writes
  std::size_t saveUndoAt = 0;               // undo position the running save holds
  AfterSave afterSave = AfterSave::Stay;
  std::string openAfterSave;                // the file to open then
  int16_t sortColumn = -1;                  // grid column of the view's order, -1 file order
  int8_t sortState = 0;                     // 0 file order, 1 ascending, 2 descending
  int16_t sortingColumn = -1;               // the sort running
  int8_t sortingState = 0;
  std::unique_ptr<Job> findJob;             // a find, which may run beside the rest
  std::chrono::steady_clock::time_point findStarted;
  std::shared_ptr<std::vector<int64_t>> findHits;  // the running find's records
  int8_t findStep = 1;                      // its direction: 1 on, -1 back
  bool findAll = false;                     // it looks for every record (else the first)
  bool findStopped = false;                 // Escape stopped it
  std::chrono::steady_clock::time_point started;  // of the running task
  std::string timingLine;                   // the step just done, for ZUI_VIEWER_TIMINGS
  long longestTurnMs = 0;                   // longest turn while it runs: the window's longest wait

  // Edits.
  std::vector<std::vector<CellChange>> undo;  // every edit, oldest first
  std::size_t undoAt = 0;                     // edits done; the rest are redone by redo
  int64_t savedAt = 0;                        // undoAt when last saved, -1 never again

  std::string message;     // the status line's first part
  std::string findText;    // the find field's text, case folded
  std::string shownStatus; // what the status line shows now
  std::string shownTitle;  // what the title shows now

  // Questions and file choices; tests answer them themselves.
  std::function<int32_t(const std::string& text, int32_t buttons)> ask;
  std::function<std::string(bool saving)> choose_file;
};

// Creates the hidden window with its grid, status line and find field; 1 on success.
int32_t open_viewer_window(Viewer& v);
// Shows the window.
void show_viewer_window(Viewer& v);
// Starts loading a file; "" or why it cannot be read (it is not a regular
// file, or cannot be opened).
std::string load_file(Viewer& v, const std::string& path);
// One turn of the event loop: waits up to `waitMs` for an event and answers
// it. False once the window is to close.
bool viewer_turn(Viewer& v, int32_t waitMs);
// True while a load, sort, find or save runs.
bool viewer_busy(const Viewer& v);
// Whether there are unsaved edits.
bool viewer_modified(const Viewer& v);
// Stops the work, frees the window and its objects.
void close_viewer(Viewer& v);
// The process's peak resident memory in MB, -1 when the system does not say.
long peak_memory_mb();
