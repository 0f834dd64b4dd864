// The viewer's data read from the file's bytes: sorting and finding agree
// with reading every value, edits included.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "collate.h"
#include "sheet.h"

namespace {

// A sheet over `text`, fully indexed.
Sheet sheet_of(const std::string& text) {
  std::string problem;
  Sheet s;
  s.bytes = FileBytes::copy_of(text);
  s.file = std::make_shared<IndexedFile>(s.bytes, 0, [] {});
  while (!s.file->snapshot().finished) std::this_thread::yield();
  s.format = s.file->head().format;
  s.records = s.file->index().count();
  s.foldsToAscii = s.file->snapshot().foldsToAscii;
  return s;
}

}  // namespace

// Every way of ordering (values ranked, or keyed by their first bytes) gives
// the collator's order: numbers by value, accents beside their letters,
// equal values in file order, empty cells last either way.
TEST(Sheet, SortsAsTheCollatorOrders) {
  const Sheet s = sheet_of(
      "n,v\n1,zug\n2,\xC3\x84rhus\n3,10\n4,\n5,\"Aachen, alt\"\n6,9\n7,aachen\n8,zug\n9,\xC3\xB6l\n10,Ol\n11,\n12,-3,5\n");
  Sheet edited = s;
  edited.edits[2][1] = "Aa";  // an edit sorts by its new value
  for (const Sheet* sheet : std::vector<const Sheet*>{&s, &edited}) {
    Collator collator;
    std::vector<SortKey> keys;
    for (int64_t r = 1; r < sheet->records; ++r) keys.push_back(collator.key(sheet_value(*sheet, r, 1)));
    for (const bool descending : {false, true}) {
      const std::vector<int32_t> expected = sorted_order(keys, {}, descending, nullptr);
      for (const std::size_t rankedUpTo : {std::size_t{100}, std::size_t{1}}) {
        EXPECT_EQ(sort_sheet(*sheet, 1, descending, {}, nullptr, rankedUpTo), expected)
            << "descending " << descending << ", ranked up to " << rankedUpTo << ", edited "
            << (sheet == &edited);
      }
    }
  }
}

// A find through the bytes meets the same records as reading each one.
TEST(Sheet, FindsWhatReadingEveryRecordFinds) {
  Sheet s = sheet_of(
      "id,name,note\n1,Anna,\"says \"\"hi\"\"\"\n2,STRASSE,x\n3,Stra\xC3\x9F" "e,y\n4,\"a,b\",z\n5,Bo,\"two\nlines\"\n"
      "6,anna,ok\n7,\xC3\x96l,\xCF\x82\n");
  s.edits[6][1] = "Eve";    // no longer holds "anna"
  s.edits[2][2] = "anna!";  // holds it now
  // The last two have no ASCII letter: their first letter's spellings
  // (capital, final sigma) are looked for.
  const char* needles[] = {"anna", "strasse", "\"hi\"", "a,b", "two\nlines", "1", "z", "\xC3\xB6", "\xCF\x83"};
  for (const char* needle : needles) {
    const std::string folded = fold_case(needle);
    std::vector<int64_t> expected, found;
    for (int64_t r = 1; r < s.records; ++r)
      if (record_holds(s, r, folded)) expected.push_back(r);
    find_records(s, folded, 1, s.records, [&found](int64_t r) { return found.push_back(r), true; }, nullptr);
    EXPECT_EQ(found, expected) << needle;
    EXPECT_FALSE(expected.empty()) << needle;
  }
  EXPECT_TRUE(s.foldsToAscii);  // the sharp s
  std::vector<int64_t> strasse;
  find_records(s, "strasse", 1, s.records, [&strasse](int64_t r) { return strasse.push_back(r), true; }, nullptr);
  EXPECT_EQ(strasse, (std::vector<int64_t>{2, 3}));
}
