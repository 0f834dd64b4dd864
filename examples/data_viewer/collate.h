#pragma once
// Orders rows the way people read them: numbers by value, texts by the
// Unicode collation of the user's locale (case- and accent-aware, through
// ICU, which does not depend on which C library locales a machine has
// generated), empty cells last in both directions. Also a case-insensitive
// match for finding text. Nothing here knows about ZUI.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How one cell sorts.
struct SortKey {
  uint8_t kind = 2;      // 0 a number, 1 a text, 2 empty
  double number = 0;     // the number's value
  std::string collated;  // a text's collation key, compared bytewise
};

// Whether a cell is a number, and its value: blanks around it and a
// leading plus allowed, and a decimal comma where there is no point.
bool parse_number(std::string_view value, double& number);

// The locale's collator; one per thread.
class Collator {
 public:
  Collator();
  ~Collator();
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;
  // The key of a UTF-8 cell value. Blanks around a number are allowed, and
  // a decimal comma when there is no point.
  SortKey key(std::string_view value);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// New position -> row for rows with these keys, stable. `levels` (empty or
// one per row) makes a tree: a row's deeper followers are its children,
// which stay under it and are ordered among themselves. Empty when `cancel`
// turned true.
std::vector<int32_t> sorted_order(const std::vector<SortKey>& keys,
                                  const std::vector<int8_t>& levels, bool descending,
                                  const std::atomic<bool>* cancel);

// Whether `haystack` holds `needle` (already folded with fold_case),
// ignoring case.
bool contains_folded(std::string_view haystack, const std::string& needle);
// The text with its case folded (UTF-8).
std::string fold_case(std::string_view text);
