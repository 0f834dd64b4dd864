#include "jobs.h"

#include <algorithm>
#include <cstdlib>

// ---- loading ---------------------------------------------------------------------
Loader::Loader(int fd, int64_t size, std::string path, FileIdentity identity, char separator,
               std::function<void()> notify)
    : notify_(std::move(notify)), document_(std::make_shared<Document>()) {
  document_->path = std::move(path);
  document_->identity = identity;
  total_ = static_cast<uint64_t>(std::max<int64_t>(size, 1));
  thread_ = std::thread([this, fd, size, separator] { run(fd, size, separator); });
}

Loader::~Loader() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<LoadBatch> Loader::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<LoadBatch> batches;
  batches.swap(ready_);
  return batches;
}

double Loader::progress() const {
  return static_cast<double>(done_.load()) / static_cast<double>(total_.load());
}

std::string Loader::error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

std::shared_ptr<Document> Loader::document() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_ ? document_ : nullptr;
}

bool Loader::hand_over(LoadBatch& batch) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handedOver_ = handedOver_ || !batch.cells.empty();
    ready_.push_back(std::move(batch));
  }
  batch = LoadBatch{};
  notify_();
  return !cancel_;
}

void Loader::run(int fd, int64_t size, char separator) {
  Document& doc = *document_;
  std::string problem;
  const auto finish = [this](const std::string& error) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      error_ = error;
      // A fault before any row was shown refuses the file as a whole.
      refused_ = !error.empty() && !handedOver_ && !cancel_;
    }
    finished_ = true;
    notify_();
  };
  if (!read_opened_file(fd, size, doc.text, problem, &cancel_)) return finish(problem);
  std::size_t bom = 0;
  doc.format = detect_format(doc.text, separator, bom);
  CsvScanner scanner(doc.text, doc.format, bom);
  RawRecord record;
  if (!scanner.next(record)) return finish(scanner.error().empty() ? "holds no header line" : scanner.error());
  doc.records.push_back(record);
  const std::vector<std::string> header =
      record_values(std::string_view(doc.text).substr(record.offset, record.length), doc.format);
  doc.tree = header.size() > 1 && header[0] == "level";
  const uint32_t skip = doc.tree ? 1 : 0;
  const auto too_wide = [](std::size_t fields) {
    return "has " + std::to_string(fields) + " columns, more than the " +
           std::to_string(kMaxColumns) + " a grid holds";
  };
  if (header.size() - skip > kMaxColumns) return finish("line 1: " + too_wide(header.size()));
  // In a file of one column an empty line is a record of one empty field.
  if (header.size() == 1) {
    doc.format.blankLinesAreRecords = true;
    scanner.set_blank_lines_are_records(true);
  }
  LoadBatch batch;
  batch.captions.assign(header.begin() + skip, header.end());
  batch.columns = static_cast<uint32_t>(header.size() - skip);
  hand_over(batch);  // the captions show from the first moment

  std::string error;
  bool firstRows = true;  // the batch that decides which columns are numbers
  std::vector<int32_t> numbers, texts;
  uint32_t columns = static_cast<uint32_t>(header.size() - skip);
  while (error.empty() && !cancel_ && scanner.next(record)) {
    const std::vector<std::string> values =
        record_values(std::string_view(doc.text).substr(record.offset, record.length), doc.format);
    const std::string line = "line " + std::to_string(scanner.record_line()) + ": ";
    if (values.size() - skip > kMaxColumns) {
      error = line + too_wide(values.size());
      break;
    }
    int8_t level = 0;
    if (doc.tree) {
      char* end = nullptr;
      const long value = std::strtol(values[0].c_str(), &end, 10);
      if (values[0].empty() || *end != '\0' || value < 0 || value > 100) {
        error = line + "level \"" + values[0] + "\" is not a whole number from 0 to 100";
        break;
      }
      level = static_cast<int8_t>(value);
      batch.levels.push_back(level);
      doc.levels.push_back(level);
    }
    const int32_t row = static_cast<int32_t>(batch.cells.size());
    std::string cells;
    for (std::size_t c = skip; c < values.size(); ++c) {
      const std::string& v = values[c];
      const bool breaks = v.find_first_of("\r\n") != std::string::npos;
      if (breaks) batch.multiline.push_back({row, static_cast<int32_t>(c - skip), v});
      if (c > skip) cells += '\n';
      if (!breaks) cells += v;
      if (firstRows && !v.empty()) {
        if (numbers.size() <= c - skip) numbers.resize(c - skip + 1), texts.resize(c - skip + 1);
        double ignored = 0;
        ++(parse_number(v, ignored) ? numbers : texts)[c - skip];
      }
    }
    batch.cells.push_back(std::move(cells));
    batch.ragged += values.size() != header.size();
    columns = std::max<uint32_t>(columns, static_cast<uint32_t>(values.size() - skip));
    doc.records.push_back(record);
    if (batch.cells.size() >= static_cast<std::size_t>(kRowsPerBatch)) {
      batch.columns = columns;
      if (firstRows) {
        for (std::size_t c = 0; c < numbers.size(); ++c) batch.numeric.push_back(numbers[c] > 0 && texts[c] == 0);
        firstRows = false;
        const double perRow = static_cast<double>(scanner.offset()) / static_cast<double>(batch.cells.size() + 1);
        batch.expectedRows = static_cast<int64_t>(1.05 * static_cast<double>(doc.text.size()) / perRow) + 16;
        doc.records.reserve(static_cast<std::size_t>(batch.expectedRows));
      }
      done_ = scanner.offset();
      if (!hand_over(batch)) break;
    }
  }
  if (error.empty()) error = scanner.error();
  if (error.empty() && cancel_) error = "loading was stopped";
  // Rows read before a fault that refuses the file are not shown.
  if (!error.empty() && !handedOver_) {
    doc.records.resize(1);
    return finish(error);
  }
  batch.columns = columns;
  if (firstRows)
    for (std::size_t c = 0; c < numbers.size(); ++c) batch.numeric.push_back(numbers[c] > 0 && texts[c] == 0);
  done_ = total_.load();
  hand_over(batch);
  finish(error);
}

// ---- other work ----------------------------------------------------------------------
Job::Job(std::function<void(const std::atomic<bool>& cancel)> work, std::function<void()> notify) {
  thread_ = std::thread([this, work = std::move(work), notify = std::move(notify)] {
    work(cancel_);
    finished_ = true;
    notify();
  });
}

Job::~Job() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<int32_t> sort_document(const Document& document, const DocumentEdits& edits,
                                   uint32_t field, bool descending,
                                   const std::atomic<bool>* cancel) {
  Collator collator;
  const std::size_t rows = document.records.empty() ? 0 : document.records.size() - 1;
  std::vector<SortKey> keys(rows);
  std::vector<FieldSpan> spans;
  const std::string_view text = document.text;
  for (std::size_t r = 0; r < rows; ++r) {
    if ((r & 0xFFFF) == 0 && cancel != nullptr && cancel->load()) return {};
    const uint32_t index = static_cast<uint32_t>(r + 1);
    const auto edited = edits.find(index);
    if (edited != edits.end()) {
      const auto cell = edited->second.find(field);
      if (cell != edited->second.end()) {
        keys[r] = collator.key(cell->second);
        continue;
      }
    }
    const RawRecord& rec = document.records[index];
    const std::string_view raw = text.substr(rec.offset, rec.length);
    split_fields(raw, document.format.separator, spans);
    if (field >= spans.size()) continue;  // a short row: empty
    std::string value = field_bytes(raw, spans[field]);
    if (document.format.encoding == Encoding::Windows1252) value = windows1252_to_utf8(value);
    keys[r] = collator.key(value);
  }
  return sorted_order(keys, document.tree ? document.levels : std::vector<int8_t>{}, descending, cancel);
}
