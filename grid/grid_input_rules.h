#pragma once
// Small rules of the grid's input, kept apart from the toolkit so they can be
// checked as tables: how far a wheel turn scrolls, where a caption border can
// be taken, and how a cell's text is cut to its room.
#include <cstdint>
#include <string>
#include <vector>

#include "grid/grid_layout.h"

namespace zui {

// Rows (or columns) one wheel notch scrolls.
inline constexpr int32_t kWheelRowsPerNotch = 3;
// Pixels either side of a caption border that take it for resizing.
inline constexpr int32_t kBorderGrip = 3;
// A column dragged narrower keeps this width, so its border stays in reach.
inline constexpr int32_t kMinColumnWidth = 8;
// Room left around a fitted column's widest text (left pad + right margin).
inline constexpr int32_t kFitPadding = 12;

// Whole rows a wheel turn of `delta` (1/120 notch, positive away from the
// user) scrolls, positive downwards. What falls short of a whole row is kept
// in `carry` for the next turn, so fine-grained wheels add up the same.
inline int32_t wheel_rows(int32_t& carry, int32_t delta) {
  constexpr int32_t perRow = 120 / kWheelRowsPerNotch;
  const int64_t total = int64_t{carry} + delta;
  const int64_t rows = total / perRow;  // truncates toward zero
  carry = static_cast<int32_t>(total - rows * perRow);
  return static_cast<int32_t>(-rows);
}

// The column whose caption border lies within kBorderGrip pixels of rx, in
// the caption row; -1 for none. The nearer border wins where two are close.
inline int32_t caption_border_at(const GridLayout& l, int32_t rx, int32_t ry) {
  if (!l.captionRow || ry < 0 || ry > l.rowsTop) return -1;
  int32_t best = -1, bestDistance = kBorderGrip + 1;
  for (const GridColumnSlot& c : l.columns) {
    const int32_t border = c.x + c.width;
    const int32_t d = rx > border ? rx - border : border - rx;
    if (d < bestDistance) {
      best = c.column;
      bestDistance = d;
    }
  }
  return best;
}

// What a cell shows of `text` in `room` pixels, measured by `width`: its
// first line, and an ellipsis where a line was left out or the text is cut
// (never inside a UTF-8 character). Empty when not even the ellipsis fits.
template <typename Measure>
std::string fit_cell_text(const std::string& text, int32_t room, Measure width) {
  static const std::string kEllipsis = "\xE2\x80\xA6";
  const size_t lineEnd = text.find_first_of("\r\n");
  const bool moreLines =
      lineEnd != std::string::npos && text.find_first_not_of("\r\n", lineEnd) != std::string::npos;
  const std::string line = text.substr(0, lineEnd);
  if (!moreLines && width(line) <= room) return line;
  // The longest start of the line that fits with the ellipsis; widths grow
  // with the length, so halving the range finds it in a few measurements.
  std::vector<size_t> cuts;  // ends of the line's characters
  for (size_t i = 1; i <= line.size(); ++i)
    if (i == line.size() || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) cuts.push_back(i);
  size_t lo = 0, hi = cuts.size();
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (width(line.substr(0, cuts[mid - 1]) + kEllipsis) <= room) lo = mid;
    else hi = mid - 1;
  }
  if (lo == 0) return width(kEllipsis) <= room ? kEllipsis : std::string();
  return line.substr(0, cuts[lo - 1]) + kEllipsis;
}

}  // namespace zui
