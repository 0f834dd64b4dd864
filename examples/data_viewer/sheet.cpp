#include "sheet.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <unicode/ucol.h>
#include <unicode/uset.h>

#include "collate.h"

// ---- values ----------------------------------------------------------------------
std::string_view raw_field(std::string_view record, char separator, uint32_t field, std::string& scratch) {
  const std::size_t n = record.size();
  std::size_t pos = 0;
  for (uint32_t f = 0;; ++f) {
    const std::size_t begin = pos;
    bool quoted = pos < n && record[pos] == '"';
    if (quoted) {
      for (++pos; pos < n; ++pos) {
        if (record[pos] != '"') continue;
        if (pos + 1 < n && record[pos + 1] == '"') {
          ++pos;
          continue;
        }
        ++pos;
        break;
      }
    }
    const void* sep = pos < n ? std::memchr(record.data() + pos, separator, n - pos) : nullptr;
    pos = sep != nullptr ? static_cast<std::size_t>(static_cast<const char*>(sep) - record.data()) : n;
    if (f == field) {
      if (!quoted) return record.substr(begin, pos - begin);
      scratch = field_bytes(record.substr(begin, pos - begin),
                            FieldSpan{0, static_cast<uint32_t>(pos - begin), true});
      return scratch;
    }
    if (pos >= n) return {};
    ++pos;
  }
}

namespace {

std::string utf8_of(std::string_view bytes, Encoding encoding) {
  return encoding == Encoding::Utf8 ? std::string(bytes) : windows1252_to_utf8(bytes);
}

const std::string* edited(const Sheet& s, int64_t record, uint32_t field) {
  if (s.edits.empty()) return nullptr;
  const auto r = s.edits.find(static_cast<uint32_t>(record));
  if (r == s.edits.end()) return nullptr;
  const auto f = r->second.find(field);
  return f == r->second.end() ? nullptr : &f->second;
}

}  // namespace

std::string file_value(const Sheet& s, int64_t record, uint32_t field) {
  if (record < 0 || record >= s.records) return {};
  std::string scratch;
  return utf8_of(raw_field(record_bytes(s.text(), s.index(), record), s.format.separator, field, scratch),
                 s.format.encoding);
}

std::string sheet_value(const Sheet& s, int64_t record, uint32_t field) {
  if (const std::string* value = edited(s, record, field)) return *value;
  return file_value(s, record, field);
}

// ---- sorting ---------------------------------------------------------------------
namespace {

// A row with the key it sorts by; 12 bytes, as ten million of them are held.
struct __attribute__((packed)) Keyed {
  uint64_t key;  // ascending order of the rows' values
  int32_t row;   // data row
};

bool keyed_less(const Keyed& a, const Keyed& b) { return a.key != b.key ? a.key < b.key : a.row < b.row; }

uint64_t number_key(double number) {
  if (number == 0) number = 0;  // -0 equals 0
  uint64_t bits = 0;
  std::memcpy(&bits, &number, sizeof bits);
  return (bits & (uint64_t{1} << 63)) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

// A collation key's first eight bytes as a number that orders the same.
uint64_t key_prefix(const std::string& collated) {
  uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i)
    prefix = (prefix << 8) | (i < collated.size() ? static_cast<unsigned char>(collated[i]) : 0);
  return prefix;
}

}  // namespace

std::vector<int32_t> sort_sheet(const Sheet& s, uint32_t field, bool descending,
                                const std::vector<int8_t>& levels, const std::atomic<bool>* cancel,
                                std::size_t rankedUpTo) {
  const int64_t rows = std::max<int64_t>(s.records - 1, 0);
  const auto stopped = [cancel] { return cancel != nullptr && cancel->load(); };
  Collator collator;
  std::string scratch;
  // Each row's value as in the file's encoding (raw) or UTF-8 (an edit).
  const auto value_of = [&](int64_t r, bool& utf8) -> std::string_view {
    if (const std::string* value = edited(s, r + 1, field)) {
      utf8 = true;
      return *value;
    }
    utf8 = s.format.encoding == Encoding::Utf8;
    return raw_field(record_bytes(s.text(), s.index(), r + 1), s.format.separator, field, scratch);
  };
  if (!levels.empty()) {
    // A tree orders children under their parents: the general way.
    std::vector<SortKey> keys(static_cast<std::size_t>(rows));
    for (int64_t r = 0; r < rows; ++r) {
      if ((r & 0xFFFF) == 0 && stopped()) return {};
      bool utf8 = true;
      const std::string_view v = value_of(r, utf8);
      keys[static_cast<std::size_t>(r)] = collator.key(utf8 ? std::string(v) : windows1252_to_utf8(v));
    }
    return sorted_order(keys, levels, descending, cancel);
  }

  // Texts are ranked among their distinct values while there are not too
  // many: two passes over the column put each row straight into its place,
  // with nothing held per row but the order itself. Else each text gets its
  // collation key's first bytes, ties settled by the whole key.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
  };
  std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> distinct;
  std::vector<int64_t> perValue;  // rows per distinct value
  std::vector<Keyed> numbers, texts;
  int64_t empties = 0;
  bool ranked = true;
  std::string converted;
  // A row's kind: 0 a number (`number` set), 1 a text (`v` set, UTF-8), 2 empty.
  const auto kind_of = [&](int64_t r, std::string_view& v, double& number) {
    bool utf8 = true;
    v = value_of(r, utf8);
    if (!utf8) v = converted = windows1252_to_utf8(v);
    if (v.empty()) return 2;
    return parse_number(v, number) ? 0 : 1;
  };
  for (int64_t r = 0; r < rows; ++r) {
    if ((r & 0xFFFF) == 0 && stopped()) return {};
    std::string_view v;
    double number = 0;
    const int kind = kind_of(r, v, number);
    if (kind == 2) {
      ++empties;
    } else if (kind == 0) {
      numbers.push_back({number_key(number), static_cast<int32_t>(r)});
    } else if (ranked) {
      auto at = distinct.find(v);
      if (at == distinct.end()) {
        at = distinct.emplace(std::string(v), static_cast<uint32_t>(distinct.size())).first;
        perValue.push_back(0);
      }
      ++perValue[at->second];
      if (distinct.size() > rankedUpTo) {
        // Too many to rank: every text so far gets its key prefix.
        ranked = false;
        distinct.clear();
        perValue.clear();
        for (int64_t q = 0; q <= r; ++q) {
          std::string_view w;
          double ignored = 0;
          if (kind_of(q, w, ignored) == 1)
            texts.push_back({key_prefix(collator.key(w).collated), static_cast<int32_t>(q)});
        }
      }
    } else {
      texts.push_back({key_prefix(collator.key(v).collated), static_cast<int32_t>(r)});
    }
  }
  if (stopped()) return {};
  for (Keyed& k : numbers) k.key = descending ? ~k.key : k.key;
  std::sort(numbers.begin(), numbers.end(), keyed_less);
  const int64_t textRows = rows - static_cast<int64_t>(numbers.size()) - empties;
  // Where each part of the order starts.
  const int64_t numbersAt = descending ? textRows : 0;
  const int64_t textsAt = descending ? 0 : static_cast<int64_t>(numbers.size());
  const int64_t emptiesAt = rows - empties;
  std::vector<int32_t> order(static_cast<std::size_t>(rows));
  for (std::size_t i = 0; i < numbers.size(); ++i) order[static_cast<std::size_t>(numbersAt) + i] = numbers[i].row;
  std::vector<Keyed>().swap(numbers);
  if (ranked) {
    // The distinct values in collation order; values with equal keys share
    // a place, and each value's rows start where the ones before it end.
    std::vector<std::pair<std::string, uint32_t>> sorted;
    sorted.reserve(distinct.size());
    for (auto& [value, id] : distinct) sorted.emplace_back(collator.key(value).collated, id);
    std::sort(sorted.begin(), sorted.end(), [descending](const auto& a, const auto& b) {
      return descending ? b.first < a.first : a.first < b.first;
    });
    std::vector<int64_t> next(perValue.size());
    int64_t at = textsAt;
    for (std::size_t i = 0; i < sorted.size();) {
      std::size_t j = i;
      for (; j < sorted.size() && sorted[j].first == sorted[i].first; ++j) next[sorted[j].second] = at;
      for (std::size_t k = i; k < j; ++k) at += perValue[sorted[k].second];
      i = j;
    }
    // Rows of values with equal keys are placed in file order, as one value.
    std::vector<uint32_t> group(perValue.size());  // the first id of each equal-key group
    for (std::size_t i = 0; i < sorted.size();) {
      std::size_t j = i;
      while (j < sorted.size() && sorted[j].first == sorted[i].first) ++j;
      for (std::size_t k = i; k < j; ++k) group[sorted[k].second] = sorted[i].second;
      i = j;
    }
    int64_t emptyAt = emptiesAt;
    for (int64_t r = 0; r < rows; ++r) {
      if ((r & 0xFFFF) == 0 && stopped()) return {};
      std::string_view v;
      double ignored = 0;
      const int kind = kind_of(r, v, ignored);
      if (kind == 2) order[static_cast<std::size_t>(emptyAt++)] = static_cast<int32_t>(r);
      if (kind != 1) continue;
      const uint32_t id = group[distinct.find(v)->second];
      order[static_cast<std::size_t>(next[id]++)] = static_cast<int32_t>(r);
    }
    return order;
  }
  for (Keyed& k : texts) k.key = descending ? ~k.key : k.key;
  std::sort(texts.begin(), texts.end(), keyed_less);
  // Rows whose key prefixes tie are put in order by their whole keys.
  for (std::size_t i = 0; i < texts.size();) {
    std::size_t j = i + 1;
    while (j < texts.size() && texts[j].key == texts[i].key) ++j;
    if (j - i > 1) {
      if (stopped()) return {};
      std::vector<std::pair<std::string, int32_t>> whole;
      for (std::size_t k = i; k < j; ++k) {
        std::string_view w;
        double ignored = 0;
        kind_of(texts[k].row, w, ignored);
        whole.emplace_back(collator.key(w).collated, static_cast<int32_t>(texts[k].row));
      }
      std::stable_sort(whole.begin(), whole.end(), [descending](const auto& a, const auto& b) {
        return descending ? b.first < a.first : a.first < b.first;
      });
      for (std::size_t k = i; k < j; ++k) texts[k].row = whole[k - i].second;
    }
    i = j;
  }
  for (std::size_t i = 0; i < texts.size(); ++i) order[static_cast<std::size_t>(textsAt) + i] = texts[i].row;
  int64_t emptyAt = emptiesAt;
  for (int64_t r = 0; r < rows && empties > 0; ++r) {
    std::string_view v;
    double ignored = 0;
    if (kind_of(r, v, ignored) == 2) order[static_cast<std::size_t>(emptyAt++)] = static_cast<int32_t>(r);
  }
  return order;
}

// ---- finding ---------------------------------------------------------------------
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The longest part of a folded needle the file's bytes hold as it is
// (ASCII, matched without regard to case): where a search starts. A file
// with letters that fold to ASCII ones (a sharp s folds to "ss") may spell
// those letters otherwise, so they are left out there.
std::string anchor_of(const std::string& folded, bool foldsToAscii) {
  std::string best, run;
  for (const char c : folded) {
    const bool plain = (c & 0x80) == 0 && c != '"' && c != '\n' && c != '\r' &&
                       !(foldsToAscii && std::strchr("afhijklnstwy", c) != nullptr);
    if (plain) run += c;
    else run.clear();
    if (run.size() > best.size()) best = run;
  }
  return best;
}

// The first place in [pos, end) where `anchor` (lower case) stands in any
// case, or `end`.
std::size_t find_anchor(const char* s, std::size_t pos, std::size_t end, const std::string& anchor) {
  const std::size_t m = anchor.size();
  if (end < pos + m) return end;
  const std::size_t last = end - m;  // the last place it may start
  const auto matches = [&](std::size_t at) {
    for (std::size_t k = 0; k < m; ++k)
      if (lower(s[at + k]) != anchor[k]) return false;
    return true;
  };
  const char a = anchor[0], b = m > 1 ? anchor[1] : anchor[0];
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
#if defined(__SSE2__)
  if (m > 1) {
    const __m128i al = _mm_set1_epi8(a), au = _mm_set1_epi8(upper(a));
    const __m128i bl = _mm_set1_epi8(b), bu = _mm_set1_epi8(upper(b));
    while (pos + 17 <= end && pos + 16 <= last + 1) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
      const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos + 1));
      const __m128i hit = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(x, al), _mm_cmpeq_epi8(x, au)),
                                        _mm_or_si128(_mm_cmpeq_epi8(y, bl), _mm_cmpeq_epi8(y, bu)));
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
      while (mask != 0) {
        const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctz(mask));
        if (matches(at)) return at;
        mask &= mask - 1;
      }
      pos += 16;
    }
  } else {
    const __m128i al = _mm_set1_epi8(a), au = _mm_set1_epi8(upper(a));
    while (pos + 16 <= last + 1) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
      const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, al), _mm_cmpeq_epi8(x, au)));
      if (mask != 0) return pos + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
      pos += 16;
    }
  }
#endif
  for (; pos <= last; ++pos)
    if (lower(s[pos]) == a && matches(pos)) return pos;
  return end;
}

// Every spelling, in the file's encoding, of the folded needle's first
// letter when it is not ASCII ("ö" is also "Ö", "σ" also "Σ" and "ς"):
// where a search starts when no ASCII part of the needle can. Empty when
// they are not single letters or begin with more than two bytes.
std::vector<std::string> spellings_of_first(const std::string& folded, Encoding encoding) {
  if (folded.empty() || (folded[0] & 0x80) == 0) return {};
  const std::string_view lead = std::string_view(folded).substr(0, 4);
  const auto* b = reinterpret_cast<const unsigned char*>(lead.data());
  const std::size_t length = (b[0] & 0xE0) == 0xC0 ? 2 : (b[0] & 0xF0) == 0xE0 ? 3 : 4;
  if (first_invalid_utf8(lead.substr(0, length)) != length) return {};
  UChar32 cp = b[0] & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (b[k] & 0x3F);
  USet* set = uset_openEmpty();
  uset_add(set, cp);
  uset_closeOver(set, USET_CASE_INSENSITIVE);
  std::vector<std::string> forms;
  bool usable = true;
  for (int32_t i = 0; usable && i < uset_getItemCount(set); ++i) {
    UChar32 from = 0, to = 0;
    UChar text[8];
    UErrorCode status = U_ZERO_ERROR;
    if (uset_getItem(set, i, &from, &to, text, 8, &status) != 0) usable = false;  // a string
    for (UChar32 c = from; usable && c <= to; ++c) {
      std::string utf8;
      if (c < 0x80) usable = false;
      else if (c < 0x800) utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
      else if (c < 0x10000)
        utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
      else
        utf8 = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
      std::string form;
      if (encoding == Encoding::Utf8) forms.push_back(utf8);
      else if (utf8_to_windows1252(utf8, form)) forms.push_back(form);
    }
  }
  uset_close(set);
  std::string firsts;
  for (const std::string& f : forms)
    if (firsts.find(f[0]) == std::string::npos) firsts += f[0];
  if (!usable || forms.empty() || firsts.size() > 2) return {};
  return forms;
}

// The first place in [pos, end) where one of `forms` stands, or `end`.
std::size_t find_spelling(const char* s, std::size_t pos, std::size_t end, const std::vector<std::string>& forms) {
  const char a = forms[0][0];
  char b = a;
  for (const std::string& f : forms) b = f[0] != a ? f[0] : b;
  const auto matches = [&](std::size_t at) {
    for (const std::string& f : forms)
      if (at + f.size() <= end && std::memcmp(s + at, f.data(), f.size()) == 0) return true;
    return false;
  };
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
  while (pos + 16 <= end) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb))));
    while (mask != 0) {
      const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctz(mask));
      if (matches(at)) return at;
      mask &= mask - 1;
    }
    pos += 16;
  }
#endif
  for (; pos < end; ++pos)
    if ((s[pos] == a || s[pos] == b) && matches(pos)) return pos;
  return end;
}

}  // namespace

bool record_holds(const Sheet& s, int64_t record, const std::string& folded) {
  if (record <= 0 || record >= s.records) return false;
  const std::string_view bytes = record_bytes(s.text(), s.index(), record);
  std::vector<FieldSpan> spans;
  split_fields(bytes, s.format.separator, spans);
  const auto r = s.edits.find(static_cast<uint32_t>(record));
  std::size_t fields = spans.size();
  if (r != s.edits.end() && !r->second.empty()) fields = std::max<std::size_t>(fields, r->second.rbegin()->first + 1);
  for (std::size_t f = s.skip; f < fields; ++f) {
    if (r != s.edits.end()) {
      const auto e = r->second.find(static_cast<uint32_t>(f));
      if (e != r->second.end()) {
        if (contains_folded(e->second, folded)) return true;
        continue;
      }
    }
    if (f >= spans.size()) continue;
    if (contains_folded(utf8_of(field_bytes(bytes, spans[f]), s.format.encoding), folded)) return true;
  }
  return false;
}

bool find_records(const Sheet& s, const std::string& folded, int64_t first, int64_t last,
                  const std::function<bool(int64_t record)>& hit, const std::atomic<bool>* cancel) {
  first = std::max<int64_t>(first, 1);
  last = std::min(last, s.records);
  if (first >= last) return true;
  const std::string anchor = anchor_of(folded, s.foldsToAscii);
  const RecordIndex& index = s.index();
  const char* text = s.text().data();
  // Edited records are looked at in their turn, whatever their bytes hold.
  auto nextEdit = s.edits.lower_bound(static_cast<uint32_t>(first));
  const auto edits_before = [&](int64_t record) {
    for (; nextEdit != s.edits.end() && nextEdit->first < record; ++nextEdit)
      if (record_holds(s, nextEdit->first, folded) && !hit(nextEdit->first)) return false;
    return true;
  };
  const auto is_edited = [&s](int64_t record) { return s.edits.count(static_cast<uint32_t>(record)) > 0; };
  const std::vector<std::string> spellings =
      anchor.empty() ? spellings_of_first(folded, s.format.encoding) : std::vector<std::string>{};
  std::size_t reach = anchor.size();  // bytes a place found spans
  for (const std::string& f : spellings) reach = std::max(reach, f.size());
  if (anchor.empty() && spellings.empty()) {
    // Nothing to look for in the bytes themselves: each record is read.
    for (int64_t r = first; r < last; ++r) {
      if ((r & 0xFFFF) == 0 && cancel != nullptr && cancel->load()) return false;
      if (record_holds(s, r, folded) && !hit(r)) return true;
    }
    return true;
  }
  const std::size_t end = index.next_start(last - 1);
  constexpr std::size_t kBetweenChecks = std::size_t{16} << 20;
  std::size_t pos = index.start(first);
  while (pos < end) {
    if (cancel != nullptr && cancel->load()) return false;
    // Places that start before `limit`; their last bytes may lie past it.
    const std::size_t limit = std::min(end, pos + kBetweenChecks);
    const std::size_t bound = std::min(end, limit + reach - 1);
    const std::size_t at = anchor.empty() ? find_spelling(text, pos, bound, spellings)
                                          : find_anchor(text, pos, bound, anchor);
    if (at >= limit) {
      pos = limit;
      continue;
    }
    const int64_t record = index.record_at(at);
    if (!edits_before(record)) return true;
    if (!is_edited(record) && record_holds(s, record, folded) && !hit(record)) return true;
    pos = index.next_start(record);
  }
  return edits_before(last);
}

// ---- saving ----------------------------------------------------------------------
std::string save_sheet(const Sheet& s, const std::string& path, uint32_t mode, FileIdentity& written) {
  const std::string_view text = s.text();
  const RecordIndex& index = s.index();
  return save_file(
      path,
      [&](const std::function<bool(std::string_view)>& put) {
        return write_edited(
            text, static_cast<std::size_t>(s.records),
            [&](std::size_t r) { return record_bytes(text, index, static_cast<int64_t>(r)); }, s.edits, s.format,
            put);
      },
      mode, written);
}
