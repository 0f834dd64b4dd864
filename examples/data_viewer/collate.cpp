#include "collate.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <cmath>

struct Collator::State {
  UCollator* collator = nullptr;  // nullptr when ICU could not open one: bytes decide
  std::vector<UChar> utf16;       // the value being keyed
};

Collator::Collator() : state_(std::make_unique<State>()) {
  UErrorCode status = U_ZERO_ERROR;
  // Without a language set, ICU answers "en_US_POSIX", whose order puts
  // every capital before every small letter: the root order suits then.
  const std::string locale = uloc_getDefault();
  const bool unset = locale.empty() || locale.rfind("en_US_POSIX", 0) == 0 || locale == "c";
  state_->collator = ucol_open(unset ? "" : locale.c_str(), &status);
  if (U_FAILURE(status)) {
    if (state_->collator) ucol_close(state_->collator);
    state_->collator = nullptr;
  }
}

Collator::~Collator() {
  if (state_->collator) ucol_close(state_->collator);
}

bool parse_number(std::string_view value, double& number) {
  std::size_t first = 0, last = value.size();
  while (first < last && (value[first] == ' ' || value[first] == '\t')) ++first;
  while (last > first && (value[last - 1] == ' ' || value[last - 1] == '\t')) --last;
  if (first < last && value[first] == '+') ++first;
  if (first == last || last - first > 64) return false;
  // Most texts are told apart by their first character, without a copy.
  const char c = value[first];
  if ((c < '0' || c > '9') && c != '-' && c != '.' && c != ',') return false;
  std::string text(value.substr(first, last - first));
  // "12,50" is a decimal comma where there is no point.
  if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1)
    text[text.find(',')] = '.';
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(number);
}

SortKey Collator::key(std::string_view value) {
  SortKey key;
  if (value.empty()) return key;
  if (parse_number(value, key.number)) {
    key.kind = 0;
    return key;
  }
  key.kind = 1;
  if (!state_->collator) {
    key.collated.assign(value);
    return key;
  }
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  std::vector<UChar>& u = state_->utf16;
  u.resize(value.size() + 1);
  u_strFromUTF8Lenient(u.data(), static_cast<int32_t>(u.size()), &length, value.data(),
                       static_cast<int32_t>(value.size()), &status);
  if (U_FAILURE(status)) {
    key.collated.assign(value);
    return key;
  }
  key.collated.resize(std::max<std::size_t>(32, value.size() * 4));
  int32_t need = ucol_getSortKey(state_->collator, u.data(), length,
                                 reinterpret_cast<uint8_t*>(key.collated.data()),
                                 static_cast<int32_t>(key.collated.size()));
  if (need > static_cast<int32_t>(key.collated.size())) {
    key.collated.resize(static_cast<std::size_t>(need));
    need = ucol_getSortKey(state_->collator, u.data(), length,
                           reinterpret_cast<uint8_t*>(key.collated.data()), need);
  }
  key.collated.resize(need > 0 ? static_cast<std::size_t>(need - 1) : 0);  // without its final 0
  return key;
}

namespace {

// Ascending: numbers, then texts; empty cells are kept apart by the caller.
bool key_less(const SortKey& a, const SortKey& b) {
  if (a.kind != b.kind) return a.kind < b.kind;
  if (a.kind == 0) return a.number < b.number;
  return a.collated < b.collated;
}

struct OrderJob {
  const std::vector<SortKey>& keys;
  const std::vector<int8_t>& levels;
  bool descending;
  const std::atomic<bool>* cancel;
  std::vector<int32_t> subtreeEnd;  // one past each row's subtree
  std::vector<int32_t> order;
};

bool row_less(const OrderJob& job, int32_t a, int32_t b) {
  const SortKey& ka = job.keys[static_cast<std::size_t>(a)];
  const SortKey& kb = job.keys[static_cast<std::size_t>(b)];
  const bool emptyA = ka.kind == 2, emptyB = kb.kind == 2;
  if (emptyA || emptyB) return !emptyA && emptyB;  // empty last either way
  return job.descending ? key_less(kb, ka) : key_less(ka, kb);
}

// Appends [begin, end)'s sibling subtrees in order, each followed by its
// own children ordered the same way.
void order_range(OrderJob& job, int32_t begin, int32_t end) {
  std::vector<int32_t> heads;
  for (int32_t r = begin; r < end; r = job.subtreeEnd[static_cast<std::size_t>(r)]) heads.push_back(r);
  std::stable_sort(heads.begin(), heads.end(),
                   [&job](int32_t a, int32_t b) { return row_less(job, a, b); });
  for (int32_t head : heads) {
    job.order.push_back(head);
    const int32_t childrenEnd = job.subtreeEnd[static_cast<std::size_t>(head)];
    if (head + 1 < childrenEnd) order_range(job, head + 1, childrenEnd);
  }
}

}  // namespace

std::vector<int32_t> sorted_order(const std::vector<SortKey>& keys,
                                  const std::vector<int8_t>& levels, bool descending,
                                  const std::atomic<bool>* cancel) {
  const int32_t n = static_cast<int32_t>(keys.size());
  OrderJob job{keys, levels, descending, cancel, {}, {}};
  job.subtreeEnd.resize(keys.size());
  if (levels.size() == keys.size()) {
    std::vector<int32_t> open;  // rows whose subtree is still open
    for (int32_t r = 0; r < n; ++r) {
      while (!open.empty() && levels[static_cast<std::size_t>(open.back())] >= levels[static_cast<std::size_t>(r)]) {
        job.subtreeEnd[static_cast<std::size_t>(open.back())] = r;
        open.pop_back();
      }
      open.push_back(r);
    }
    for (int32_t r : open) job.subtreeEnd[static_cast<std::size_t>(r)] = n;
  } else {
    for (int32_t r = 0; r < n; ++r) job.subtreeEnd[static_cast<std::size_t>(r)] = r + 1;
  }
  if (cancel != nullptr && cancel->load()) return {};
  job.order.reserve(keys.size());
  order_range(job, 0, n);
  if (cancel != nullptr && cancel->load()) return {};
  return job.order;
}

std::string fold_case(std::string_view text) {
  std::vector<UChar> u(text.size() + 1);
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8Lenient(u.data(), static_cast<int32_t>(u.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return std::string(text);
  std::vector<UChar> folded(static_cast<std::size_t>(length) * 3 + 1);
  const int32_t foldedLength = u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()),
                                             u.data(), length, U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return std::string(text);
  std::string out(static_cast<std::size_t>(foldedLength) * 3 + 1, '\0');
  int32_t outLength = 0;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, folded.data(), foldedLength,
              &status);
  if (U_FAILURE(status)) return std::string(text);
  out.resize(static_cast<std::size_t>(outLength));
  return out;
}

bool contains_folded(std::string_view haystack, const std::string& needle) {
  if (needle.empty()) return true;
  const bool ascii = std::all_of(haystack.begin(), haystack.end(), [](char c) { return (c & 0x80) == 0; });
  if (!ascii) return fold_case(haystack).find(needle) != std::string::npos;
  // The common case without a conversion: ASCII folds to lower case.
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  const auto hit = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                               [&lower](char h, char n) { return lower(h) == n; });
  return hit != haystack.end();
}
