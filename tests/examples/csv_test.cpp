// The data viewer's CSV reading and writing: RFC 4180 records in UTF-8,
// errors that name their line, and a file replaced only when the new one is
// complete.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "csv.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

// Every record of `text`, and the reader's error (empty at a clean end).
std::pair<Records, std::string> read_all(const std::string& text) {
  CsvReader reader(text);
  Records records;
  std::vector<std::string> fields;
  while (reader.next(fields)) records.push_back(fields);
  return {records, reader.error()};
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(Csv, ReadsQuotedFieldsLineBreaksAndBothLineEnds) {
  const auto [records, error] =
      read_all("\xEF\xBB\xBFid,text\r\n1,\"a, b\"\r\n\r\n2,\"say \"\"hi\"\"\"\n3,\"two\r\nlines\"\n4,\xC3\xA4\n5,");
  EXPECT_EQ(error, "");
  EXPECT_EQ(records, (Records{{"id", "text"},
                              {"1", "a, b"},
                              {"2", "say \"hi\""},
                              {"3", "two\r\nlines"},
                              {"4", "\xC3\xA4"},
                              {"5", ""}}));
  CsvReader crlf("a\r\nb\r\n");
  std::vector<std::string> fields;
  while (crlf.next(fields)) {}
  EXPECT_TRUE(crlf.crlf());
  CsvReader lf("a\r\nb\n");
  while (lf.next(fields)) {}
  EXPECT_FALSE(lf.crlf());
}

TEST(Csv, AMalformedFileNamesTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"a,b\n1,\"open\n2,3\n", "line 2: a quoted field is not closed"},
      {"a,b\n\"x\"y,2\n", "line 2: text after the closing quote of a field"},
      {"a,b\n\"multi\nline\",2\n3,x\"y\n", "line 4: a quote inside a field that does not start with one"},
      {"a\nok\n\xC0\xAF\n", "line 3: the text is not valid UTF-8"},         // overlong
      {"a\n\xED\xA0\x80\n", "line 2: the text is not valid UTF-8"},          // surrogate
      {"a\nb\nc\n\xE2\x82", "line 4: the text is not valid UTF-8"},          // cut short
      {"a\n\xF4\x90\x80\x80\n", "line 2: the text is not valid UTF-8"},      // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(read_all(c.text).second, c.error) << c.text;
}

TEST(Csv, WrittenRecordsReadBackUnchanged) {
  const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "two\nlines", " padded", ""};
  const std::string line = csv_record(fields, "\r\n");
  EXPECT_EQ(line, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\" padded\",\r\n");
  EXPECT_EQ(read_all(line).first, Records{fields});
}

TEST(Csv, AFileIsReplacedWholeOrNotAtAll) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zui-csv-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "data.csv").string();
  std::ofstream(path) << "old\n";
  chmod(path.c_str(), 0640);

  EXPECT_EQ(replace_file(path, "new\n"), "");
  EXPECT_EQ(slurp(path), "new\n");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  // A target that cannot be replaced (a directory) stays, and no temporary
  // file is left beside it.
  const std::string blocked = (dir / "blocked").string();
  std::filesystem::create_directories(blocked + "/inside");
  const std::string problem = replace_file(blocked, "data\n");
  EXPECT_NE(problem.find("cannot replace"), std::string::npos) << problem;
  EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);  // data.csv alone
  std::filesystem::remove_all(dir);
}
