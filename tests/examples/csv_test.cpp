// The data viewer's CSV model: files as people have them read, and an edit
// of one cell written back with every other byte as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "csv.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

struct Parsed {
  CsvFormat format;
  std::vector<RawRecord> raw;
  Records values;
  std::string error;
};

// Every record of `text`, as the viewer reads it: a one-column file has its
// empty lines as records.
Parsed parse(const std::string& text, char separator = 0) {
  Parsed p;
  std::size_t bom = 0;
  p.format = detect_format(text, separator, bom);
  CsvScanner scanner(text, p.format, bom);
  RawRecord r;
  while (scanner.next(r)) {
    p.raw.push_back(r);
    p.values.push_back(record_values(std::string_view(text).substr(r.offset, r.length), p.format));
    if (p.raw.size() == 1 && r.fields == 1) {
      p.format.blankLinesAreRecords = true;
      scanner.set_blank_lines_are_records(true);
    }
  }
  p.error = scanner.error();
  return p;
}

}  // namespace

// Each shape is edited in one cell (record 1, field 1) and saved: only that
// field's bytes change.
TEST(Csv, AnEditChangesOnlyTheEditedFieldsBytes) {
  const struct {
    const char* shape;
    std::string text;
    const char* value;  // UTF-8
    std::string saved;
  } cases[] = {
      {"BOM, CRLF", "\xEF\xBB\xBFid,name\r\n1,Anna\r\n2,Bo\r\n", "Eva", "\xEF\xBB\xBFid,name\r\n1,Eva\r\n2,Bo\r\n"},
      {"LF, no final line end", "id,name\n1,Anna\n2,Bo", "Eva", "id,name\n1,Eva\n2,Bo"},
      {"CR", "id,name\r1,Anna\r2,Bo\r", "Eva", "id,name\r1,Eva\r2,Bo\r"},
      {"mixed", "id,name\r\n1,Anna\n2,Bo\r3,Cy\r\n", "Eva", "id,name\r\n1,Eva\n2,Bo\r3,Cy\r\n"},
      {"blank lines", "id,name\n\n1,Anna\n\n\n2,Bo\n\n", "Eva", "id,name\n\n1,Eva\n\n\n2,Bo\n\n"},
      {"quoting kept", "id,name\n\"1\",\"Anna\"\n\"2\",\"B\"\"o\"\n", "x,y", "id,name\n\"1\",\"x,y\"\n\"2\",\"B\"\"o\"\n"},
      {"quoted only when needed", "id,name\n1,\"An,na\"\n", "Eva", "id,name\n1,Eva\n"},
      {"quote in an unquoted field", "id,h\n1,5'10\"\n2,x\n", "6'", "id,h\n1,6'\n2,x\n"},
      {"ragged short", "a,b,c\n1\n2,3,4,5\n", "x", "a,b,c\n1,x\n2,3,4,5\n"},
      {"ragged long kept", "a,b\n1,2,3,4\n", "x", "a,b\n1,x,3,4\n"},
      {"semicolon", "a;b\n1;2\n", "3;4", "a;b\n1;\"3;4\"\n"},
      {"tab", "a\tb\n1\t2\n", "x", "a\tb\n1\tx\n"},
      {"Windows-1252", "id,name\n1,M\xFCller\n2,\x80\n", "G\xC3\xBCl \xE2\x82\xAC", "id,name\n1,G\xFCl \x80\n2,\x80\n"},
  };
  for (const auto& c : cases) {
    Parsed p = parse(c.text);
    ASSERT_EQ(p.error, "") << c.shape;
    std::string problem;
    EXPECT_EQ(write_document(c.text, p.raw, {}, p.format, problem), c.text) << c.shape;
    const std::string saved = write_document(c.text, p.raw, {{1, {{1, c.value}}}}, p.format, problem);
    EXPECT_EQ(problem, "") << c.shape;
    EXPECT_EQ(saved, c.saved) << c.shape;
    EXPECT_EQ(parse(saved).values[1][1], c.value) << c.shape;
  }
}

TEST(Csv, OneColumnFilesKeepTheirEmptyRecords) {
  const std::string text = "name\nAnna\n\n\nBo\n";
  Parsed p = parse(text);
  EXPECT_EQ(p.values, (Records{{"name"}, {"Anna"}, {""}, {""}, {"Bo"}}));
  std::string problem;
  EXPECT_EQ(write_document(text, p.raw, {{4, {{0, "Cy"}}}}, p.format, problem), "name\nAnna\n\n\nCy\n");
  // In a wider file an edit that empties a one-field record still writes a record.
  Parsed wide = parse("a,b\nx\n");
  EXPECT_EQ(write_document("a,b\nx\n", wide.raw, {{1, {{0, ""}}}}, wide.format, problem), "a,b\n\"\"\n");
}

TEST(Csv, SeparatorAndEncodingAreDetected) {
  const struct {
    const char* text;
    char separator;
    Encoding encoding;
  } cases[] = {
      {"a,b,c\n1,2,3\n", ',', Encoding::Utf8},
      {"a;b;c\n1,5;2,5;3\n", ';', Encoding::Utf8},  // decimal commas do not count
      {"a\tb\n1\t2\n", '\t', Encoding::Utf8},
      {"a|b\n\"x|y\"|2\n", '|', Encoding::Utf8},
      {"name\nAnna\n", ',', Encoding::Utf8},
      {"a,b\n\xE9t\xE9,1\n", ',', Encoding::Windows1252},
      {"a,b\n\xC0\xAF,1\n", ',', Encoding::Windows1252},  // an overlong form is no UTF-8
  };
  for (const auto& c : cases) {
    std::size_t bom = 0;
    const CsvFormat f = detect_format(c.text, 0, bom);
    EXPECT_EQ(f.separator, c.separator) << c.text;
    EXPECT_EQ(f.encoding, c.encoding) << c.text;
  }
  std::size_t bom = 0;
  EXPECT_EQ(detect_format("a,b;c\n", ';', bom).separator, ';');  // --separator wins
  // Every Windows-1252 byte comes back, the undefined ones included.
  std::string all, back;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  ASSERT_TRUE(utf8_to_windows1252(windows1252_to_utf8(all), back));
  EXPECT_EQ(back, all);
  EXPECT_FALSE(utf8_to_windows1252("\xE2\x86\x92", back));  // an arrow has no byte there
}

TEST(Csv, FaultsNameTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"a,b\n1,\"open\n2,3\n", "line 2: a quoted field is not closed"},
      {"a,b\r\n1,2\r\n\"x\"y,2\r\n", "line 3: text after the closing quote of a field"},
      {"a,b\n\"multi\nline\",2\n3,\"x\"y\n", "line 4: text after the closing quote of a field"},
  };
  for (const auto& c : cases) EXPECT_EQ(parse(c.text).error, c.error) << c.text;
  // A character the file's encoding cannot hold stops the save.
  const std::string text = "a,b\n1,\xE9\n";
  Parsed p = parse(text);
  std::string problem;
  EXPECT_EQ(write_document(text, p.raw, {{1, {{0, "\xE2\x86\x92"}}}}, p.format, problem), "");
  EXPECT_EQ(problem, "record 2, field 1 holds a character Windows-1252 cannot write");
}
