// The data viewer's CSV model on arbitrary bytes: the records found, written
// back with every field rewritten and read again, are the same records; and
// written back without edits, the text is the same bytes.
//
// The first byte picks the separator (0 detects it), the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "csv.h"

// The model needs nothing of ZUI, so neither does its check.
#define CSV_CHECK(condition)                                                          \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

namespace {

struct Read {
  CsvFormat format;
  std::vector<RawRecord> raw;
  std::vector<std::vector<std::string>> values;
  bool clean = true;  // no fault
};

Read read(std::string_view text, char separator) {
  Read r;
  std::size_t bom = 0;
  r.format = detect_format(text, separator, bom);
  CsvScanner scanner(text, r.format, bom);
  RawRecord record;
  while (scanner.next(record)) {
    CSV_CHECK(record.offset + record.length <= text.size());
    r.raw.push_back(record);
    r.values.push_back(record_values(text.substr(record.offset, record.length), r.format));
    CSV_CHECK(r.values.back().size() == record.fields);
    // As the viewer does: a one-column file has its empty lines as records.
    if (r.raw.size() == 1 && record.fields == 1) {
      r.format.blankLinesAreRecords = true;
      scanner.set_blank_lines_are_records(true);
    }
  }
  r.clean = scanner.error().empty();
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr char kSeparators[] = {0, ',', ';', '\t', '|'};
  const char separator = kSeparators[data[0] % sizeof(kSeparators)];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const Read first = read(text, separator);
  if (!first.clean) return 0;

  std::string problem;
  CSV_CHECK(write_document(text, first.raw, {}, first.format, problem) == text);

  // Every field of every record edited to its own value with an "x" before
  // it: each is written anew, quoted as it needs.
  DocumentEdits edits;
  for (std::size_t r = 0; r < first.values.size(); ++r)
    for (std::size_t f = 0; f < first.values[r].size(); ++f)
      edits[static_cast<uint32_t>(r)][static_cast<uint32_t>(f)] = "x" + first.values[r][f];
  const std::string written = write_document(text, first.raw, edits, first.format, problem);
  CSV_CHECK(problem.empty());
  const Read second = read(written, first.format.separator);
  CSV_CHECK(second.clean);
  CSV_CHECK(second.format.encoding == first.format.encoding);
  CSV_CHECK(second.values.size() == first.values.size());
  for (std::size_t r = 0; r < first.values.size(); ++r) {
    CSV_CHECK(second.values[r].size() == first.values[r].size());
    for (std::size_t f = 0; f < first.values[r].size(); ++f)
      CSV_CHECK(second.values[r][f] == "x" + first.values[r][f]);
  }
  return 0;
}
