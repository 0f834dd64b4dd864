// The viewer's record index: the same records, faults and lines as a full
// parse, however the text is cut into slices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mapped.h"

namespace {

struct Records {
  std::vector<std::string> bytes;  // each record, its line ends left out
  std::string error;
};

// Every record as CsvScanner reads it (a one-field first record makes empty
// lines records).
Records parse(const std::string& text) {
  Records out;
  std::size_t bom = 0;
  CsvFormat format = detect_format(text, 0, bom);
  CsvScanner scanner(text, format, bom);
  RawRecord r;
  while (scanner.next(r)) {
    out.bytes.push_back(text.substr(r.offset, r.length));
    if (out.bytes.size() == 1 && r.fields == 1) scanner.set_blank_lines_are_records(true);
  }
  out.error = scanner.error();
  return out;
}

Records index(const std::string& text, std::size_t slice) {
  Records out;
  std::size_t bom = 0;
  const CsvFormat format = detect_format(text, 0, bom);
  RecordIndex records;
  CsvIndexer indexer(text, format, bom, records);
  IndexEnd end = IndexEnd::More;
  while (end == IndexEnd::More) end = indexer.step(slice);
  for (int64_t r = 0; r < records.count(); ++r) out.bytes.emplace_back(record_bytes(text, records, r));
  out.error = indexer.error();
  return out;
}

}  // namespace

TEST(RecordIndex, AgreesWithAFullParse) {
  const struct {
    const char* shape;
    std::string text;
  } cases[] = {
      {"LF", "a,b\n1,2\n3,4\n"},
      {"CRLF, no final line end", "a,b\r\n1,2\r\n3,4"},
      {"lone CR and mixed", "a,b\r1,2\n3,4\r\n5,6\r"},
      {"quoted line breaks", "a,b\n1,\"x\ny\"\n2,\"p\r\nq\r\"\n3,\"\"\n"},
      {"quoted last field, no line end", "a,b\n1,\"x\ny\""},
      {"doubled quotes and separators", "a,b\n\"1,\"\"2\"\"\",\"a\"\"\"\n"},
      {"quote inside an unquoted field", "a,b\n5'10\",x\n"},
      {"blank lines skipped", "\n\na,b\n\n1,2\r\n\r\n\r\n3,4\n\n"},
      {"one column keeps empty lines", "name\nAnna\n\n\r\nBo\n"},
      {"one column, no final line end", "name\n\nx"},
      {"BOM", "\xEF\xBB\xBF" "a;b\n1;2\n"},
      {"header only", "a,b"},
      {"empty", ""},
      {"ragged", "a,b,c\n1\n2,3,4,5\n"},
      {"unclosed quote", "a,b\n1,2\n3,\"open\nmore\n"},
      {"text after a closing quote", "a,b\n1,\"x\"y\n"},
  };
  for (const auto& c : cases) {
    const Records full = parse(c.text);
    for (const std::size_t slice : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
      const Records indexed = index(c.text, slice);
      EXPECT_EQ(indexed.bytes, full.bytes) << c.shape << ", slice " << slice;
      EXPECT_EQ(indexed.error, full.error) << c.shape << ", slice " << slice;
    }
  }
}

TEST(RecordIndex, FindsTheRecordOfAByteAndCountsFields) {
  const std::string text = "a,b\n1,2\n\n\"x\ny\",3,4\n5\n";
  RecordIndex records;
  CsvIndexer indexer(text, CsvFormat{}, 0, records);
  indexer.expect_fields(2);
  EXPECT_EQ(indexer.step(1 << 20), IndexEnd::Done);
  ASSERT_EQ(records.count(), 4);
  const struct {
    uint64_t offset;
    int64_t record;
  } cases[] = {{0, 0}, {3, 0}, {4, 1}, {8, 1}, {9, 2}, {12, 2}, {20, 3}, {1000, 3}};
  for (const auto& c : cases) EXPECT_EQ(records.record_at(c.offset), c.record) << c.offset;
  EXPECT_EQ(indexer.widest(), 3u);
  EXPECT_EQ(indexer.ragged(), 2);
  EXPECT_TRUE(indexer.utf8());
}

// Starts past 4 GB from a chunk's first one turn the chunk to whole starts.
TEST(RecordIndex, HoldsStartsOfRecordsLongerThan4GB) {
  RecordIndex records;
  const std::vector<uint64_t> starts = {7, 100, uint64_t{5} << 32, (uint64_t{5} << 32) + 3, uint64_t{9} << 32};
  for (const uint64_t s : starts) records.append(s);
  records.publish();
  ASSERT_EQ(records.count(), 4);
  for (int64_t r = 0; r < 4; ++r) {
    EXPECT_EQ(records.start(r), starts[static_cast<std::size_t>(r)]) << r;
    EXPECT_EQ(records.next_start(r), starts[static_cast<std::size_t>(r) + 1]) << r;
  }
  EXPECT_EQ(records.record_at((uint64_t{5} << 32) + 1), 2);
}
