#pragma once
// A CSV file as the viewer holds it: mapped read-only (never written through
// the mapping), with the start of every record found by a worker while the
// window already shows the first ones. Nothing here knows about ZUI.
//
// Sections: the mapping · the record index · indexing · the indexer thread.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "csv.h"

// ---- the mapping ---------------------------------------------------------------
// A file's bytes, mapped read-only or, after copy_of, held in memory.
class FileBytes {
 public:
  // Maps `size` bytes of the open descriptor `fd` and closes it; nullptr
  // with `problem` set when the system refuses.
  static std::shared_ptr<FileBytes> map(int fd, int64_t size, std::string& problem);
  // The same bytes held in memory, for when the file itself is about to be
  // written in place.
  static std::shared_ptr<FileBytes> copy_of(std::string_view bytes);
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  std::string_view text() const { return text_; }

 private:
  FileBytes() = default;
  void* mapped_ = nullptr;  // the mapping, nullptr for held bytes
  std::size_t length_ = 0;  // bytes mapped
  std::string held_;        // the bytes when not mapped
  std::string_view text_;
};

// ---- the record index ----------------------------------------------------------
// Where each record starts, 4 bytes a record (8 in a stretch of records
// longer than 4 GB), in chunks that never move: one thread appends while
// others read what was published.
class RecordIndex {
 public:
  static constexpr int64_t kChunk = int64_t{1} << 16;  // records per chunk
  static constexpr int64_t kMaxRecords = INT32_MAX;   // grid rows are counted in 32 bits

  RecordIndex();
  // Records published: for each, its start and the next one's are known.
  int64_t count() const { return count_.load(std::memory_order_acquire); }
  // Where record `r` (< count()) starts, and where the next one does (or
  // the data ends): its bytes and the line ends after it lie between.
  uint64_t start(int64_t r) const { return at(r); }
  uint64_t next_start(int64_t r) const { return at(r + 1); }
  // The record whose span holds byte `offset`, -1 before the first.
  int64_t record_at(uint64_t offset) const;

  // The writer's side: the first record's start, then each following start
  // (or the data's end), then publish() to let readers see them.
  void append(uint64_t start);
  void publish() { count_.store(appended_ - 1, std::memory_order_release); }

 private:
  // A chunk's starts: from its first one, in 32 bits while they fit.
  struct Chunk {
    uint64_t base = 0;                           // the chunk's first start
    std::unique_ptr<uint32_t[]> narrow;          // start - base
    std::unique_ptr<uint64_t[]> wideStarts;      // whole starts, once one did not fit
    std::atomic<const uint64_t*> wide{nullptr};  // wideStarts, for readers
  };
  uint64_t at(int64_t i) const {
    const Chunk& c = chunks_[static_cast<std::size_t>(i / kChunk)];
    const std::size_t k = static_cast<std::size_t>(i % kChunk);
    if (const uint64_t* w = c.wide.load(std::memory_order_acquire)) return w[k];
    return c.base + c.narrow[k];
  }
  std::unique_ptr<Chunk[]> chunks_;
  int64_t appended_ = 0;  // starts appended (writer only)
  std::atomic<int64_t> count_{0};
};

// A record's bytes, its line ends left out.
std::string_view record_bytes(std::string_view text, const RecordIndex& index, int64_t r);

// ---- indexing ------------------------------------------------------------------
// What the index found wrong, or that it reached the end.
enum class IndexEnd : uint8_t {
  More,     // bytes remain
  Done,     // every record is indexed
  Fault,    // malformed: error() says where
};

// Finds record starts the way CsvScanner reads records (same records, same
// faults on the same lines), a slice of the text at a time; counts fields
// per record and checks the encoding on the way.
class CsvIndexer {
 public:
  // Starts at `start` (past a byte-order mark). A first record of one field
  // makes empty lines records from then on, as the viewer reads such files.
  CsvIndexer(std::string_view text, const CsvFormat& format, std::size_t start, RecordIndex& index);
  // Reads about `budget` more bytes; publishes what it indexed.
  IndexEnd step(std::size_t budget);
  // Looks at each record after the first once it is read: "" or what is
  // wrong with it (the fault then names its line).
  void inspect(std::function<std::string(int64_t record, std::string_view bytes)> check) {
    check_ = std::move(check);
  }
  // Bytes read so far.
  std::size_t offset() const { return pos_; }
  // "line N: what is wrong", after a Fault.
  const std::string& error() const { return error_; }
  // Fields of the widest record so far, and records whose field count
  // differs from `expected` (set once the header is known).
  uint32_t widest() const { return widest_; }
  int64_t ragged() const { return ragged_; }
  void expect_fields(uint32_t fields) { expected_ = fields; }
  // A record of more than `fields` fields is a fault ("more than the
  // fields - skip a grid holds").
  void limit_fields(uint32_t fields, uint32_t skip) { maxFields_ = fields, skipFields_ = skip; }
  // Whether the bytes read so far are all valid UTF-8.
  bool utf8() const { return utf8_; }
  // Whether they hold a letter whose case folds to ASCII letters.
  bool folds_to_ascii() const { return foldsToAscii_; }
  // Line on which the record being read began, from 1.
  int64_t record_line() const { return recordLine_; }

 private:
  IndexEnd fail(int64_t line, const char* what);
  bool end_record(std::size_t start, uint32_t fields);
  std::function<std::string(int64_t, std::string_view)> check_;
  std::string_view text_;
  char separator_;
  bool blankLines_;
  RecordIndex& index_;
  std::size_t pos_;           // next byte to read
  std::size_t checkedUtf8_;   // bytes before this were checked for UTF-8
  int64_t line_ = 1;          // line of the next byte
  int64_t recordLine_ = 1;    // line the record being read began on
  uint32_t widest_ = 0;
  uint32_t expected_ = 0;
  uint32_t maxFields_ = 0;   // 0: no limit
  uint32_t skipFields_ = 0;
  int64_t ragged_ = 0;
  bool utf8_ = true;
  bool foldsToAscii_ = false;
  bool started_ = false;      // the first record's start is in the index
  int64_t records_ = 0;       // records read
  std::string error_;
};

// ---- the indexer thread ---------------------------------------------------------
// What the indexer knows of the file once it read the header and first rows.
struct FileHead {
  CsvFormat format;                   // separator, encoding found in the first rows
  std::size_t bom = 0;                // bytes of a byte-order mark
  std::vector<std::string> header;    // the first record's fields, UTF-8
  bool tree = false;                  // first column "level": the rows form a tree
  std::vector<bool> numeric;          // per shown column, the first rows all numbers
};

// A mapped document with its index growing on a thread of its own. The
// window reads index() and text() at any time; the rest through snapshot().
class IndexedFile {
 public:
  static constexpr int64_t kFirstRecords = 5000;  // the head is told after these
  static constexpr uint32_t kMaxColumns = 32767;   // a grid's columns are counted in 16 bits

  // The progress as the window sees it.
  struct Progress {
    bool headReady = false;   // head() may be read
    bool finished = false;    // the thread has ended
    bool refused = false;     // it ended in a fault before any row was handed over
    bool windows1252 = false; // a byte that is not UTF-8 was found
    bool foldsToAscii = false; // a letter whose case folds to ASCII was found
    int64_t records = 0;      // records indexed, the header counted
    uint32_t widest = 0;      // fields of the widest record
    int64_t ragged = 0;       // data records not as wide as the header
    double progress = 0;      // bytes read out of all
    std::string error;        // "line N: what", after a fault or a stop
  };

  // Starts indexing `bytes`; `notify` is called from the thread whenever
  // there is news (the head, more records, the end). separator 0 detects it.
  IndexedFile(std::shared_ptr<FileBytes> bytes, char separator, std::function<void()> notify);
  ~IndexedFile();  // stops the thread and waits for it
  IndexedFile(const IndexedFile&) = delete;
  IndexedFile& operator=(const IndexedFile&) = delete;

  void cancel() { cancel_ = true; }
  Progress snapshot() const;
  // Valid once snapshot().headReady.
  const FileHead& head() const { return head_; }
  const RecordIndex& index() const { return index_; }
  // Each data record's level (tree files), valid below the published count.
  int8_t level(int64_t record) const;
  std::string_view text() const { return bytes_->text(); }
  const std::shared_ptr<FileBytes>& bytes() const { return bytes_; }

 private:
  void run(char separator);
  void tell(const CsvIndexer& indexer);
  std::shared_ptr<FileBytes> bytes_;
  std::function<void()> notify_;
  RecordIndex index_;
  FileHead head_;
  std::array<std::unique_ptr<int8_t[]>, RecordIndex::kMaxRecords / RecordIndex::kChunk + 2> levels_;
  std::atomic<bool> cancel_{false};
  mutable std::mutex mutex_;  // guards progress_
  Progress progress_;
  std::thread thread_;
};
