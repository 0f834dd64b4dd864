#pragma once
// What every fuzz target shares: the toolkit brought up headless, a reader
// that turns the fuzzer's bytes into choices, and the check that stops a run
// when an invariant breaks.
//
// Sections: start-up · byte stream · checks.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/shell.h"

using namespace zui;

// ---- start-up --------------------------------------------------------------
// The toolkit needs a QApplication; the fuzzers never have a display.
inline void fuzz_start_toolkit() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The headless platform warns about every window it cannot raise.
  setenv("QT_LOGGING_RULES", "qt.qpa.*=false;*.warning=false", 0);
  init_toolkit();
}

// ---- byte stream -----------------------------------------------------------
// Reads choices front to back, so that a mutation changes the steps where it
// lands and leaves the earlier ones alone. An exhausted stream yields zeros.
class ByteStream {
 public:
  ByteStream(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }
  std::size_t left() const { return size_ - pos_; }

  uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
  bool flag() { return (byte() & 1) != 0; }
  int16_t i16() { return static_cast<int16_t>(byte() | byte() << 8); }
  int32_t i32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  // A value in lo..hi (inclusive), from one byte when the range fits in one.
  int32_t range(int32_t lo, int32_t hi) {
    const int64_t span = int64_t(hi) - lo + 1;
    const uint32_t raw = span <= 256 ? byte() : static_cast<uint32_t>(i32());
    return static_cast<int32_t>(lo + int64_t(raw % uint64_t(span)));
  }
  // A length byte, then that many bytes (at most maxLength).
  std::string text(std::size_t maxLength) {
    std::size_t n = byte() % (maxLength + 1);
    if (n > left()) n = left();
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[range(0, int32_t(N) - 1)];
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// ---- checks ----------------------------------------------------------------
// A broken invariant is a finding: say which one and stop with a crash, so
// that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                      \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, \
                   #condition);                                                    \
      std::abort();                                                                \
    }                                                                              \
  } while (0)
