#pragma once
// The viewer's work away from the window's thread: loading a file in
// batches of rows, finding a sort order, writing the file. Each job tells
// the window's thread through a callback that something is ready (the
// viewer posts an event with it) and never touches anything else of it.
// Nothing here knows about ZUI.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "collate.h"
#include "csv.h"
#include "files.h"

// A file as read: its bytes and where its records lie; records[0] is the header.
struct Document {
  std::string path;                // as named by the person
  std::string text;                // the file's bytes, in its own encoding
  CsvFormat format;                // separator, encoding, blank lines
  std::vector<RawRecord> records;  // header first, then the data records in file order
  FileIdentity identity;           // the file when it was read (or last saved)
  bool tree = false;               // first column "level": the rows form a tree
  std::vector<int8_t> levels;      // each data record's level when a tree
};

// A cell whose value holds line breaks: set on its own, as a row's cells
// come one per line.
struct MultilineCell {
  int32_t row = 0;     // within its batch
  int32_t column = 0;  // grid column
  std::string value;   // UTF-8
};

// Rows for the grid, in file order, as a loader hands them over.
struct LoadBatch {
  std::vector<std::string> captions;  // the first batch only: column captions
  std::vector<std::string> cells;     // per row, its cells one per line
  std::vector<int8_t> levels;         // per row, when a tree
  std::vector<MultilineCell> multiline;  // cells with line breaks
  uint32_t columns = 0;               // columns needed so far (tree column left out)
  std::vector<bool> numeric;          // the first rows: per column, every value a number
  int32_t ragged = 0;                 // rows of this batch not as wide as the header
  int64_t expectedRows = 0;           // the first rows: all the file holds, by their mean length
};

// Loads a file on a thread of its own.
class Loader {
 public:
  static constexpr int32_t kRowsPerBatch = 5000;
  static constexpr uint32_t kMaxColumns = 32767;  // a grid's columns are counted in 16 bits

  // Takes over the open descriptor of a regular file of `size` bytes;
  // separator 0 detects it.
  Loader(int fd, int64_t size, std::string path, FileIdentity identity, char separator,
         std::function<void()> notify);
  ~Loader();  // stops the load and waits for the thread
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  void cancel() { cancel_ = true; }
  // The batches ready now, oldest first.
  std::vector<LoadBatch> take();
  // True once the thread has ended (after its last batch was made ready).
  bool finished() const { return finished_; }
  // Bytes parsed so far out of all, for the progress line.
  double progress() const;
  // After the end: what went wrong ("" for nothing), whether it went wrong
  // before any row was handed over (the file is then refused), and the
  // document with the records read so far.
  std::string error() const;
  bool refused() const { return refused_; }
  std::shared_ptr<Document> document() const;

 private:
  void run(int fd, int64_t size, char separator);
  bool hand_over(LoadBatch& batch);
  std::function<void()> notify_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> refused_{false};
  std::atomic<uint64_t> done_{0}, total_{1};
  mutable std::mutex mutex_;  // guards the three below
  std::vector<LoadBatch> ready_;
  std::string error_;
  std::shared_ptr<Document> document_;
  bool handedOver_ = false;  // a batch with rows went out
  std::thread thread_;
};

// Runs one piece of work on a thread of its own and says when it ended.
class Job {
 public:
  Job(std::function<void(const std::atomic<bool>& cancel)> work, std::function<void()> notify);
  ~Job();  // asks the work to stop and waits for it
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  void cancel() { cancel_ = true; }
  bool finished() const { return finished_; }

 private:
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// One column's values by data row (file order) of a document with edits,
// and the new position -> data row order of a sort by it.
std::vector<int32_t> sort_document(const Document& document, const DocumentEdits& edits,
                                   uint32_t field, bool descending,
                                   const std::atomic<bool>* cancel);
