#include "mapped.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "collate.h"

// ---- the mapping ---------------------------------------------------------------
std::shared_ptr<FileBytes> FileBytes::map(int fd, int64_t size, std::string& problem) {
  std::shared_ptr<FileBytes> bytes(new FileBytes);
  if (size > 0) {
    void* at = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (at == MAP_FAILED) {
      problem = std::string("cannot be mapped into memory: ") + std::strerror(errno);
      close(fd);
      return nullptr;
    }
    // Read front to back by the indexer: the system may read ahead.
    madvise(at, static_cast<std::size_t>(size), MADV_SEQUENTIAL);
    bytes->mapped_ = at;
    bytes->length_ = static_cast<std::size_t>(size);
    bytes->text_ = std::string_view(static_cast<const char*>(at), bytes->length_);
  }
  close(fd);
  return bytes;
}

std::shared_ptr<FileBytes> FileBytes::copy_of(std::string_view text) {
  std::shared_ptr<FileBytes> bytes(new FileBytes);
  bytes->held_.assign(text);
  bytes->text_ = bytes->held_;
  return bytes;
}

FileBytes::~FileBytes() {
  if (mapped_ != nullptr) munmap(mapped_, length_);
}

// ---- the record index ----------------------------------------------------------
RecordIndex::RecordIndex() : chunks_(new Chunk[static_cast<std::size_t>(kMaxRecords / kChunk + 2)]) {}

void RecordIndex::append(uint64_t start) {
  Chunk& c = chunks_[static_cast<std::size_t>(appended_ / kChunk)];
  const std::size_t k = static_cast<std::size_t>(appended_ % kChunk);
  if (k == 0) {
    c.base = start;
    c.narrow = std::make_unique_for_overwrite<uint32_t[]>(static_cast<std::size_t>(kChunk));
  }
  if (c.wideStarts) {
    c.wideStarts[k] = start;
  } else if (start - c.base <= UINT32_MAX) {
    c.narrow[k] = static_cast<uint32_t>(start - c.base);
  } else {
    // Records of megabytes each: this chunk holds whole starts. The narrow
    // ones stay for readers that looked before.
    c.wideStarts = std::make_unique_for_overwrite<uint64_t[]>(static_cast<std::size_t>(kChunk));
    for (std::size_t i = 0; i < k; ++i) c.wideStarts[i] = c.base + c.narrow[i];
    c.wideStarts[k] = start;
    c.wide.store(c.wideStarts.get(), std::memory_order_release);
  }
  ++appended_;
}

int64_t RecordIndex::record_at(uint64_t offset) const {
  int64_t low = 0, high = count();  // the answer lies in [low - 1, high)
  while (low < high) {
    const int64_t mid = low + (high - low) / 2;
    if (at(mid) <= offset) low = mid + 1;
    else high = mid;
  }
  return low - 1;
}

std::string_view record_bytes(std::string_view text, const RecordIndex& index, int64_t r) {
  const std::size_t start = index.start(r);
  std::size_t end = index.next_start(r);
  // A record's own last byte is never a line end (a quoted one ends in a quote).
  while (end > start && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  return text.substr(start, end - start);
}

// ---- indexing ------------------------------------------------------------------
namespace {

// Where the separators, quotes and line ends of a text lie, found 64
// bytes at a time.
class Specials {
 public:
  Specials(const char* s, std::size_t n, char separator) : s_(s), n_(n), separator_(separator) {}
  // The first of them at or after `p`, or the text's end.
  std::size_t next(std::size_t p) {
    while (p < n_) {
      if (p < base_ || p >= base_ + 64) load(p & ~std::size_t{63});
      const uint64_t m = mask_ & (~uint64_t{0} << (p - base_));
      if (m != 0) return base_ + static_cast<std::size_t>(__builtin_ctzll(m));
      p = base_ + 64;
    }
    return n_;
  }

 private:
  bool special(char c) const { return c == separator_ || c == '"' || c == '\n' || c == '\r'; }
  void load(std::size_t base) {
    base_ = base;
    mask_ = 0;
#if defined(__SSE2__)
    if (base + 64 <= n_) {
      const __m128i sep = _mm_set1_epi8(separator_), quote = _mm_set1_epi8('"');
      const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
      for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + base + 16 * k));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, sep), _mm_cmpeq_epi8(x, quote)),
                                         _mm_or_si128(_mm_cmpeq_epi8(x, lf), _mm_cmpeq_epi8(x, cr)));
        mask_ |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(hit))} << (16 * k);
      }
      return;
    }
#endif
    for (std::size_t i = base; i < std::min(n_, base + 64); ++i)
      if (special(s_[i])) mask_ |= uint64_t{1} << (i - base);
  }
  const char* s_;
  std::size_t n_;
  char separator_;
  std::size_t base_ = SIZE_MAX - 64;  // the 64 bytes `mask_` covers
  uint64_t mask_ = 0;                  // bit i: byte base_ + i is one of them
};

// Whether `text` is valid UTF-8; sets `folds` when it holds a letter whose
// case folds to ASCII letters (sharp s, long s, Kelvin sign, ligatures...).
bool check_utf8(std::string_view text, bool& folds) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    uint64_t word = 0;
    if (i + 8 <= n && (std::memcpy(&word, s + i, 8), (word & 0x8080808080808080ull) == 0)) {
      i += 8;
      continue;
    }
    if (s[i] < 0x80) {
      ++i;
      continue;
    }
    const std::string_view one = text.substr(i, 4);
    if (first_invalid_utf8(one) == 0) return false;
    const std::size_t length = (s[i] & 0xE0) == 0xC0 ? 2 : (s[i] & 0xF0) == 0xE0 ? 3 : 4;
    uint32_t cp = s[i] & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
    if (cp == 0xDF || cp == 0x130 || cp == 0x149 || cp == 0x17F || cp == 0x1F0 ||
        (cp >= 0x1E96 && cp <= 0x1E9A) || cp == 0x1E9E || cp == 0x212A || (cp >= 0xFB00 && cp <= 0xFB06))
      folds = true;
    i += length;
  }
  return true;
}

}  // namespace

CsvIndexer::CsvIndexer(std::string_view text, const CsvFormat& format, std::size_t start,
                       RecordIndex& index)
    : text_(text),
      separator_(format.separator),
      blankLines_(format.blankLinesAreRecords),
      index_(index),
      pos_(std::min(start, text.size())),
      checkedUtf8_(pos_) {}

IndexEnd CsvIndexer::fail(int64_t line, const char* what) {
  error_ = "line " + std::to_string(line) + ": " + what;
  return IndexEnd::Fault;
}

bool CsvIndexer::end_record(std::size_t start, uint32_t fields) {
  widest_ = std::max(widest_, fields);
  if (records_ > 0) {
    ragged_ += fields != expected_;
    if (check_) {
      std::size_t end = pos_;
      while (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
      error_ = check_(records_, text_.substr(start, end - start));
      if (!error_.empty()) {
        error_ = "line " + std::to_string(recordLine_) + ": " + error_;
        return false;
      }
    }
  }
  ++records_;
  return true;
}

IndexEnd CsvIndexer::step(std::size_t budget) {
  if (!error_.empty()) return IndexEnd::Fault;
  const char* s = text_.data();
  const std::size_t n = text_.size();
  const char sep = separator_;
  const auto line_end = [this, s, n] {
    if (s[pos_] == '\r' && pos_ + 1 < n && s[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  };
  const auto skip_blank_lines = [&] {
    if (!blankLines_)
      while (pos_ < n && (s[pos_] == '\n' || s[pos_] == '\r')) line_end();
  };
  if (!started_) {
    skip_blank_lines();
    if (pos_ >= n) return IndexEnd::Done;
    index_.append(pos_);
    started_ = true;
  }
  const std::size_t stop = std::min(n, pos_ + budget);
  Specials specials(s, n, sep);
  IndexEnd end = IndexEnd::More;
  while (pos_ < n && pos_ < stop) {
    recordLine_ = line_;
    const std::size_t start = pos_;
    uint64_t fields = 1;
    std::size_t p = pos_, fieldStart = pos_;
    bool quoted = false;
    int64_t opened = 0;  // line the open quote is on
    for (;;) {
      p = specials.next(p);
      if (p >= n) {
        if (quoted) {
          index_.publish();
          return fail(opened, "a quoted field is not closed");
        }
        break;
      }
      const char c = s[p];
      if (quoted) {
        if (c == '"') {
          if (p + 1 < n && s[p + 1] == '"') {
            p += 2;
            continue;
          }
          quoted = false;
          ++p;
          if (p < n && s[p] != sep && s[p] != '\n' && s[p] != '\r') {
            index_.publish();
            return fail(line_, "text after the closing quote of a field");
          }
          continue;
        }
        if (c == '\n' || (c == '\r' && (p + 1 >= n || s[p + 1] != '\n'))) ++line_;
        ++p;
        continue;
      }
      if (c == sep) {
        ++fields;
        fieldStart = ++p;
        continue;
      }
      if (c == '"') {
        // Only a quote that opens a field quotes it.
        if (p == fieldStart) quoted = true, opened = line_;
        ++p;
        continue;
      }
      break;  // a line end
    }
    pos_ = p;
    if (pos_ - start > UINT32_MAX || fields > UINT32_MAX) {
      index_.publish();
      return fail(recordLine_, "a record longer than 4 GB");
    }
    if (maxFields_ > 0 && fields > maxFields_) {
      index_.publish();
      error_ = "line " + std::to_string(recordLine_) + ": has " + std::to_string(fields) +
               " columns, more than the " + std::to_string(maxFields_ - skipFields_) + " a grid holds";
      return IndexEnd::Fault;
    }
    if (pos_ < n) line_end();
    if (records_ == 0 && fields == 1) blankLines_ = true;
    skip_blank_lines();
    const std::size_t after = pos_;
    if (!end_record(start, static_cast<uint32_t>(fields))) {
      index_.publish();
      return IndexEnd::Fault;
    }
    if (records_ >= RecordIndex::kMaxRecords) {
      index_.append(after);
      index_.publish();
      return fail(line_, "more records than a grid holds");
    }
    index_.append(after);
    if (after >= n) end = IndexEnd::Done;
  }
  index_.publish();
  // Record starts follow line ends: no character spans the checked part's end.
  if (pos_ > checkedUtf8_) {
    const std::string_view part = text_.substr(checkedUtf8_, pos_ - checkedUtf8_);
    const bool wasUtf8 = utf8_;
    if (utf8_) utf8_ = check_utf8(part, foldsToAscii_);
    // Read as Windows-1252, the sharp s is the one such letter (looked for
    // from the start once the file turned out not to be UTF-8).
    const std::size_t from = wasUtf8 ? 0 : checkedUtf8_;
    if (!utf8_) foldsToAscii_ = std::memchr(text_.data() + from, '\xDF', pos_ - from) != nullptr ||
                                (!wasUtf8 && foldsToAscii_);
    checkedUtf8_ = pos_;
  }
  return pos_ >= n ? IndexEnd::Done : end;
}

// ---- the indexer thread ---------------------------------------------------------
namespace {
constexpr std::size_t kSlice = std::size_t{1} << 20;        // bytes per step
constexpr auto kTellEvery = std::chrono::milliseconds(40);  // progress news at most this often
}  // namespace

IndexedFile::IndexedFile(std::shared_ptr<FileBytes> bytes, char separator, std::function<void()> notify)
    : bytes_(std::move(bytes)), notify_(std::move(notify)) {
  thread_ = std::thread([this, separator] { run(separator); });
}

IndexedFile::~IndexedFile() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

IndexedFile::Progress IndexedFile::snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return progress_;
}

int8_t IndexedFile::level(int64_t record) const {
  const auto& chunk = levels_[static_cast<std::size_t>(record / RecordIndex::kChunk)];
  return chunk ? chunk[static_cast<std::size_t>(record % RecordIndex::kChunk)] : 0;
}

void IndexedFile::run(char separator) {
  const std::string_view text = bytes_->text();
  // The first rows decide the separator and the encoding shown at once;
  // the indexer checks the rest and may find it is not UTF-8 after all.
  const std::string_view front = text.substr(0, 64 * 1024);
  std::size_t bom = 0;
  CsvFormat format = detect_format(front, separator, bom);
  if (front.size() < text.size() && format.encoding == Encoding::Windows1252 &&
      first_invalid_utf8(front) + 4 >= front.size()) {
    // Only a character cut at the sample's end: not a fault of the file.
    format.encoding = Encoding::Utf8;
    bom = front.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  }
  CsvIndexer indexer(text, format, bom, index_);
  const auto finish = [this](const std::string& error, bool refused) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      progress_.error = error;
      progress_.refused = refused;
      progress_.finished = true;
      progress_.records = index_.count();
    }
    notify_();
  };
  IndexEnd end = indexer.step(1);  // the header
  if (end == IndexEnd::Fault) return finish(indexer.error(), true);
  if (index_.count() == 0) return finish("holds no header line", true);
  head_.format = format;
  head_.bom = bom;
  head_.header = record_values(record_bytes(text, index_, 0), format);
  head_.tree = head_.header.size() > 1 && head_.header[0] == "level";
  const uint32_t skip = head_.tree ? 1 : 0;
  if (head_.header.size() - skip > kMaxColumns)
    return finish("line 1: has " + std::to_string(head_.header.size()) + " columns, more than the " +
                      std::to_string(kMaxColumns) + " a grid holds",
                  true);
  head_.format.blankLinesAreRecords = head_.header.size() == 1;
  indexer.expect_fields(static_cast<uint32_t>(head_.header.size()));
  indexer.limit_fields(kMaxColumns + skip, skip);
  const char sep = format.separator;
  if (head_.tree) indexer.inspect([this, sep](int64_t record, std::string_view bytes) -> std::string {
    std::vector<FieldSpan> spans;
    split_fields(bytes, sep, spans);
    std::string value = field_bytes(bytes, spans[0]);
    if (head_.format.encoding == Encoding::Windows1252) value = windows1252_to_utf8(value);
    char* end = nullptr;
    const long level = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || level < 0 || level > 100)
      return "level \"" + value + "\" is not a whole number from 0 to 100";
    auto& chunk = levels_[static_cast<std::size_t>(record / RecordIndex::kChunk)];
    if (!chunk) chunk = std::make_unique<int8_t[]>(static_cast<std::size_t>(RecordIndex::kChunk));
    chunk[static_cast<std::size_t>(record % RecordIndex::kChunk)] = static_cast<int8_t>(level);
    return {};
  });

  // The first rows: which columns hold numbers only. A fault among them
  // refuses the file, as nothing was shown yet.
  while (end == IndexEnd::More && index_.count() <= kFirstRecords && !cancel_) end = indexer.step(16 * 1024);
  if (end == IndexEnd::Fault) return finish(indexer.error(), true);
  if (cancel_) return finish("loading was stopped", false);
  const int64_t first = std::min<int64_t>(index_.count(), kFirstRecords + 1);
  std::vector<int64_t> numbers, texts;
  for (int64_t r = 1; r < first; ++r) {
    const std::vector<std::string> values = record_values(record_bytes(text, index_, r), head_.format);
    for (std::size_t c = skip; c < values.size(); ++c) {
      if (values[c].empty()) continue;
      if (numbers.size() <= c - skip) numbers.resize(c - skip + 1), texts.resize(c - skip + 1);
      double ignored = 0;
      ++(parse_number(values[c], ignored) ? numbers : texts)[c - skip];
    }
  }
  for (std::size_t c = 0; c < numbers.size(); ++c) head_.numeric.push_back(numbers[c] > 0 && texts[c] == 0);
  tell(indexer);

  auto told = std::chrono::steady_clock::now();
  bool utf8 = indexer.utf8();
  while (end == IndexEnd::More && !cancel_) {
    end = indexer.step(kSlice);
    // A byte that is not UTF-8 changes how every cell reads: told at once.
    if (std::chrono::steady_clock::now() - told >= kTellEvery || utf8 != indexer.utf8()) {
      told = std::chrono::steady_clock::now();
      utf8 = indexer.utf8();
      tell(indexer);
    }
  }
  tell(indexer);
  if (end == IndexEnd::Fault) return finish(indexer.error(), false);
  finish(cancel_ ? "loading was stopped" : "", false);
}

void IndexedFile::tell(const CsvIndexer& indexer) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    progress_.headReady = true;
    progress_.records = index_.count();
    progress_.widest = indexer.widest();
    progress_.ragged = indexer.ragged();
    progress_.windows1252 = !indexer.utf8();
    progress_.foldsToAscii = indexer.folds_to_ascii();
    progress_.progress = static_cast<double>(indexer.offset()) /
                         static_cast<double>(std::max<std::size_t>(bytes_->text().size(), 1));
  }
  notify_();
}
