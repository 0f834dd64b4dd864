#pragma once
// Comma-separated values as RFC 4180 has them, in UTF-8: reading record by
// record (so that a large file can be loaded with progress shown), writing
// a record back, and replacing a file so that a failed write leaves the
// original as it was. Nothing here knows about ZUI.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads records from text held by the caller. Fields are separated by
// commas and records by CRLF or LF; a field in double quotes may hold
// commas, line breaks and doubled quotes. Blank lines are skipped.
class CsvReader {
 public:
  // A leading UTF-8 byte-order mark is skipped.
  explicit CsvReader(std::string_view text);
  // The next record into `fields`; false at the end or at an error, which
  // error() then describes (empty at a clean end).
  bool next(std::vector<std::string>& fields);
  // Line on which the latest record began, from 1.
  int64_t record_line() const { return recordLine_; }
  // Bytes read so far, for a progress indication.
  std::size_t offset() const { return pos_; }
  // "line N: what is wrong", empty when nothing is.
  const std::string& error() const { return error_; }
  // True when every line ended with CRLF so far (a file written back keeps
  // its line ends).
  bool crlf() const { return crlf_; }

 private:
  bool fail(int64_t line, const std::string& what);
  std::string_view text_;
  std::size_t pos_ = 0;        // next byte to read
  int64_t line_ = 1;           // line of that byte
  int64_t recordLine_ = 0;     // line the latest record began on
  bool checked_ = false;       // the text was found valid UTF-8
  bool crlf_ = true;           // no LF without CR seen yet
  std::string error_;
};

// Offset of the first byte that breaks UTF-8 in `text` (overlong forms,
// surrogates and values above U+10FFFF included), or text.size().
std::size_t first_invalid_utf8(std::string_view text);

// One record as a line: fields with a comma, quote, line break or blank at
// either end are quoted, quotes doubled; ends with `eol`.
std::string csv_record(const std::vector<std::string>& fields, const char* eol);

// Writes `content` to a new file beside `path`, flushes it to disk and
// renames it over `path`, keeping the original's permissions. Returns "" on
// success; otherwise a message, and `path` is unchanged.
std::string replace_file(const std::string& path, const std::string& content);
