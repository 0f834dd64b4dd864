#pragma once
// Comma-separated values as people have them: comma, semicolon, tab or
// vertical bar between fields, CRLF, LF or lone CR between records (mixed
// too), UTF-8 or Windows-1252. A document keeps the file's bytes and where
// each record lies in them; fields are parsed when asked for, and edited
// ones live beside the bytes, so that saving writes every byte nobody asked
// to change exactly as it was. Nothing here knows about ZUI.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---- text encodings -------------------------------------------------------------
enum class Encoding : uint8_t {
  Utf8,         // UTF-8, with or without a byte-order mark
  Windows1252,  // a file that is not valid UTF-8 (covers Latin-1)
};

// Offset of the first byte that breaks UTF-8 in `text` (overlong forms,
// surrogates and values above U+10FFFF included), or text.size().
std::size_t first_invalid_utf8(std::string_view text);
// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// become U+0081, U+008D, U+008F, U+0090 and U+009D, so every byte maps back.
std::string windows1252_to_utf8(std::string_view text);
// UTF-8 as Windows-1252; false (and `out` incomplete) when a character has
// no byte there or the text is not valid UTF-8.
bool utf8_to_windows1252(std::string_view text, std::string& out);

// ---- format ----------------------------------------------------------------------
// How a file's records are written.
struct CsvFormat {
  char separator = ',';                  // between fields
  Encoding encoding = Encoding::Utf8;    // of every field
  bool blankLinesAreRecords = false;     // a one-column file: an empty line is an empty field
};

// The separator the first lines use most consistently, of comma, semicolon,
// tab and vertical bar (quoted text not counted); comma when none is used.
char detect_separator(std::string_view text);
// The format of a whole file: its detected (or given, when not 0) separator
// and its encoding; `bomLength` is 3 when it starts with a UTF-8 byte-order mark.
CsvFormat detect_format(std::string_view text, char separator, std::size_t& bomLength);

// ---- records -----------------------------------------------------------------------
// Where a record's bytes lie in the text, its line end left out.
struct RawRecord {
  uint64_t offset = 0;  // first byte
  uint32_t length = 0;  // bytes up to the line end
  uint32_t fields = 0;  // number of fields
};

// One field of a record: where its bytes lie within the record.
struct FieldSpan {
  uint32_t offset = 0;  // first byte, within the record
  uint32_t length = 0;  // bytes, quotes included
  bool quoted = false;  // it starts with a double quote
};

// Finds the records of a text one after the other, without copying them.
// A field in double quotes may hold separators, line breaks and doubled
// quotes; a quote inside an unquoted field is an ordinary character.
class CsvScanner {
 public:
  // Starts at `start` (past a byte-order mark).
  CsvScanner(std::string_view text, const CsvFormat& format, std::size_t start);
  // The next record; false at the end or at a fault, which error() then
  // describes (empty at a clean end).
  bool next(RawRecord& record);
  // Line on which the latest record began, from 1.
  int64_t record_line() const { return recordLine_; }
  // Bytes read so far, for a progress indication.
  std::size_t offset() const { return pos_; }
  // "line N: what is wrong", empty when nothing is.
  const std::string& error() const { return error_; }
  // Whether an empty line is a record from now on (after the header).
  void set_blank_lines_are_records(bool on) { format_.blankLinesAreRecords = on; }

 private:
  bool fail(int64_t line, const std::string& what);
  std::string_view text_;
  CsvFormat format_;
  std::size_t pos_ = 0;     // next byte to read
  int64_t line_ = 1;        // line of that byte
  int64_t recordLine_ = 0;  // line the latest record began on
  std::string error_;
};

// The fields of one record's bytes (as CsvScanner found them).
void split_fields(std::string_view record, char separator, std::vector<FieldSpan>& spans);
// A field's value in the file's encoding: quotes taken off, doubled ones halved.
std::string field_bytes(std::string_view record, const FieldSpan& span);
// Every field of a record as UTF-8.
std::vector<std::string> record_values(std::string_view record, const CsvFormat& format);

// ---- writing -----------------------------------------------------------------------
// A field as written in `format` from its UTF-8 value: quoted only when it
// holds the separator, a quote or a line break. nullopt when the encoding
// cannot hold a character of it.
std::optional<std::string> encode_field(std::string_view value, const CsvFormat& format);
// One record (fields in UTF-8, no line end); nullopt as for encode_field.
std::optional<std::string> encode_record(const std::vector<std::string>& values,
                                         const CsvFormat& format);

// A record's edited fields by field index, UTF-8; the others stay as in the file.
using RecordEdit = std::map<uint32_t, std::string>;
// Edited records by their index in the document's records.
using DocumentEdits = std::map<uint32_t, RecordEdit>;

// The text with its edits: untouched records and everything between records
// (byte-order mark, line ends, blank lines, the final line end or its
// absence) byte for byte; an edited record keeps its untouched fields'
// bytes and quoting and its line end. "" in `problem` or what prevents it
// (a character the encoding cannot hold).
std::string write_document(std::string_view text, const std::vector<RawRecord>& records,
                           const DocumentEdits& edits, const CsvFormat& format,
                           std::string& problem);
// The same, for records found by `span` (record index -> its bytes in
// `text`), handed to `put` piece by piece instead of held whole: "" or the
// problem (also when `put` refused, then "cannot write").
std::string write_edited(std::string_view text, std::size_t records,
                         const std::function<std::string_view(std::size_t)>& span,
                         const DocumentEdits& edits, const CsvFormat& format,
                         const std::function<bool(std::string_view)>& put);
