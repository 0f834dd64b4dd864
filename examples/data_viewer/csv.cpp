#include "csv.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

// ---- text encodings -------------------------------------------------------------
std::size_t first_invalid_utf8(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // Eight ASCII bytes at a time: most of a file is.
    uint64_t word = 0;
    if (i + 8 <= n && (std::memcpy(&word, s + i, 8), (word & 0x8080808080808080ull) == 0)) {
      i += 8;
      continue;
    }
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    uint32_t lowest = 0;  // smallest value of this length: shorter forms are overlong
    uint32_t value = 0;
    if ((c & 0xE0) == 0xC0) length = 2, lowest = 0x80, value = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) length = 3, lowest = 0x800, value = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) length = 4, lowest = 0x10000, value = c & 0x07;
    else return i;
    if (i + length > n) return i;
    for (std::size_t k = 1; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return i;
      value = (value << 6) | (s[i + k] & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return i;
    i += length;
  }
  return n;
}

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<uint16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool is_line_end(char c) { return c == '\n' || c == '\r'; }

}  // namespace

std::string windows1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) out += ch;
    else append_utf8(out, c < 0xA0 ? kWindows1252High[c - 0x80] : c);
  }
  return out;
}

bool utf8_to_windows1252(std::string_view text, std::string& out) {
  if (first_invalid_utf8(text) != text.size()) return false;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // Valid UTF-8: decode one character.
    uint32_t cp = 0;
    std::size_t length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    cp = c & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
    i += length;
    if (cp >= 0xA0 && cp <= 0xFF) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto* at = std::find(kWindows1252High.begin(), kWindows1252High.end(), cp);
    if (at == kWindows1252High.end()) return false;
    out += static_cast<char>(0x80 + (at - kWindows1252High.begin()));
  }
  return true;
}

// ---- format ----------------------------------------------------------------------
char detect_separator(std::string_view text) {
  constexpr char kCandidates[] = {',', ';', '\t', '|'};
  constexpr int kLines = 20;
  constexpr std::size_t kBytes = 64 * 1024;
  // Each candidate's count per line, quoted text skipped.
  std::vector<std::array<int, 4>> lines;
  std::array<int, 4> counts{};
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < text.size() && i < kBytes && lines.size() < kLines; ++i) {
    const char c = text[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (is_line_end(c)) {
      if (any) lines.push_back(counts);
      counts = {};
      any = false;
      continue;
    }
    any = true;
    for (int k = 0; k < 4; ++k) counts[k] += c == kCandidates[k];
  }
  if (any && lines.size() < kLines) lines.push_back(counts);
  // The candidate whose most common count (above 0) the most lines share:
  // a few ragged lines do not hide the separator.
  char best = ',';
  long bestScore = 0;
  for (int k = 0; k < 4; ++k) {
    std::map<int, long> lines_with;
    for (const auto& line : lines)
      if (line[k] > 0) ++lines_with[line[k]];
    for (const auto& [count, many] : lines_with) {
      const long score = many * 1000 + count;
      if (score > bestScore) best = kCandidates[k], bestScore = score;
    }
  }
  return best;
}

CsvFormat detect_format(std::string_view text, char separator, std::size_t& bomLength) {
  CsvFormat format;
  bomLength = 0;
  if (first_invalid_utf8(text) != text.size()) {
    format.encoding = Encoding::Windows1252;
  } else if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    bomLength = 3;
  }
  format.separator = separator != 0 ? separator : detect_separator(text.substr(bomLength));
  return format;
}

// ---- records -----------------------------------------------------------------------
CsvScanner::CsvScanner(std::string_view text, const CsvFormat& format, std::size_t start)
    : text_(text), format_(format), pos_(std::min(start, text.size())) {}

bool CsvScanner::fail(int64_t line, const std::string& what) {
  error_ = "line " + std::to_string(line) + ": " + what;
  return false;
}

bool CsvScanner::next(RawRecord& record) {
  if (!error_.empty()) return false;
  const std::size_t n = text_.size();
  const char sep = format_.separator;
  // A line end is CRLF, LF or a lone CR.
  const auto line_end = [this, n] {
    if (text_[pos_] == '\r' && pos_ + 1 < n && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  };
  if (!format_.blankLinesAreRecords) {
    while (pos_ < n && is_line_end(text_[pos_])) line_end();
  }
  if (pos_ >= n) return false;
  recordLine_ = line_;
  const std::size_t start = pos_;
  uint64_t fields = 1;
  for (;;) {
    if (pos_ < n && text_[pos_] == '"') {
      const int64_t opened = line_;
      ++pos_;
      for (;;) {
        if (pos_ >= n) return fail(opened, "a quoted field is not closed");
        const char c = text_[pos_];
        if (c == '"') {
          if (pos_ + 1 < n && text_[pos_ + 1] == '"') {
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        if (c == '\n' || (c == '\r' && (pos_ + 1 >= n || text_[pos_ + 1] != '\n'))) ++line_;
        ++pos_;
      }
      if (pos_ < n && text_[pos_] != sep && !is_line_end(text_[pos_]))
        return fail(line_, "text after the closing quote of a field");
    } else {
      while (pos_ < n && text_[pos_] != sep && !is_line_end(text_[pos_])) ++pos_;
    }
    if (pos_ < n && text_[pos_] == sep) {
      ++pos_;
      ++fields;
      continue;
    }
    break;
  }
  if (pos_ - start > UINT32_MAX || fields > UINT32_MAX)
    return fail(recordLine_, "a record longer than 4 GB");
  record.offset = start;
  record.length = static_cast<uint32_t>(pos_ - start);
  record.fields = static_cast<uint32_t>(fields);
  if (pos_ < n) line_end();
  return true;
}

void split_fields(std::string_view record, char separator, std::vector<FieldSpan>& spans) {
  spans.clear();
  const std::size_t n = record.size();
  std::size_t pos = 0;
  for (;;) {
    FieldSpan span;
    span.offset = static_cast<uint32_t>(pos);
    span.quoted = pos < n && record[pos] == '"';
    if (span.quoted) {
      ++pos;
      while (pos < n) {
        if (record[pos] == '"') {
          if (pos + 1 < n && record[pos + 1] == '"') {
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        ++pos;
      }
    }
    while (pos < n && record[pos] != separator) ++pos;
    span.length = static_cast<uint32_t>(pos - span.offset);
    spans.push_back(span);
    if (pos >= n) return;
    ++pos;  // the separator
  }
}

std::string field_bytes(std::string_view record, const FieldSpan& span) {
  const std::string_view raw = record.substr(span.offset, span.length);
  if (!span.quoted) return std::string(raw);
  std::string value;
  value.reserve(raw.size());
  std::size_t pos = 1;
  for (; pos < raw.size(); ++pos) {
    if (raw[pos] == '"') {
      if (pos + 1 < raw.size() && raw[pos + 1] == '"') {
        value += '"';
        ++pos;
        continue;
      }
      ++pos;
      break;
    }
    value += raw[pos];
  }
  // Whatever follows the closing quote belongs to the field too.
  if (pos < raw.size()) value.append(raw.substr(pos));
  return value;
}

namespace {
std::string decoded(std::string bytes, Encoding encoding) {
  return encoding == Encoding::Utf8 ? bytes : windows1252_to_utf8(bytes);
}
}  // namespace

std::vector<std::string> record_values(std::string_view record, const CsvFormat& format) {
  std::vector<FieldSpan> spans;
  split_fields(record, format.separator, spans);
  std::vector<std::string> values;
  values.reserve(spans.size());
  for (const FieldSpan& span : spans) values.push_back(decoded(field_bytes(record, span), format.encoding));
  return values;
}

// ---- writing -----------------------------------------------------------------------
std::optional<std::string> encode_field(std::string_view value, const CsvFormat& format) {
  std::string bytes;
  if (format.encoding == Encoding::Utf8) bytes.assign(value);
  else if (!utf8_to_windows1252(value, bytes)) return std::nullopt;
  const char special[] = {format.separator, '"', '\r', '\n', '\0'};
  if (bytes.find_first_of(special) == std::string::npos) return bytes;
  std::string quoted = "\"";
  for (const char c : bytes) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::optional<std::string> encode_record(const std::vector<std::string>& values,
                                         const CsvFormat& format) {
  std::string line;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += format.separator;
    const std::optional<std::string> field = encode_field(values[i], format);
    if (!field) return std::nullopt;
    line += *field;
  }
  // An empty line would read back as no record at all.
  if (line.empty() && !format.blankLinesAreRecords) line = "\"\"";
  return line;
}

namespace {

// An edited record: its untouched fields' bytes as they were, the edited
// ones encoded; fields past the end only when an edit put text there.
std::optional<std::string> rewrite_record(std::string_view raw, const RecordEdit& edit,
                                          const CsvFormat& format, uint32_t& badField) {
  std::vector<FieldSpan> spans;
  split_fields(raw, format.separator, spans);
  std::size_t count = spans.size();
  for (const auto& [index, value] : edit)
    if (!value.empty()) count = std::max<std::size_t>(count, std::size_t{index} + 1);
  std::string line;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) line += format.separator;
    const auto edited = edit.find(static_cast<uint32_t>(i));
    const bool inFile = i < spans.size();
    if (edited == edit.end() ||
        (inFile && decoded(field_bytes(raw, spans[i]), format.encoding) == edited->second)) {
      if (inFile) line.append(raw.substr(spans[i].offset, spans[i].length));
      continue;
    }
    const std::optional<std::string> field = encode_field(edited->second, format);
    if (!field) {
      badField = static_cast<uint32_t>(i);
      return std::nullopt;
    }
    line += *field;
  }
  // An empty line would read back as no record at all.
  if (line.empty() && !format.blankLinesAreRecords) line = "\"\"";
  return line;
}

}  // namespace

std::string write_edited(std::string_view text, std::size_t records,
                         const std::function<std::string_view(std::size_t)>& span,
                         const DocumentEdits& edits, const CsvFormat& format,
                         const std::function<bool(std::string_view)>& put) {
  std::size_t at = 0;
  for (const auto& [index, edit] : edits) {
    if (index >= records || edit.empty()) continue;
    const std::string_view raw = span(index);
    const std::size_t offset = static_cast<std::size_t>(raw.data() - text.data());
    uint32_t badField = 0;
    const std::optional<std::string> line = rewrite_record(raw, edit, format, badField);
    if (!line)
      return "record " + std::to_string(index + 1) + ", field " + std::to_string(badField + 1) +
             " holds a character Windows-1252 cannot write";
    if (!put(text.substr(at, offset - at)) || !put(*line)) return "cannot write";
    at = offset + raw.size();
  }
  return put(text.substr(at)) ? "" : "cannot write";
}

std::string write_document(std::string_view text, const std::vector<RawRecord>& records,
                           const DocumentEdits& edits, const CsvFormat& format,
                           std::string& problem) {
  std::string out;
  out.reserve(text.size() + 4096);
  problem = write_edited(
      text, records.size(),
      [&](std::size_t i) { return text.substr(records[i].offset, records[i].length); }, edits, format,
      [&out](std::string_view piece) {
        out.append(piece);
        return true;
      });
  if (!problem.empty()) return {};
  return out;
}
