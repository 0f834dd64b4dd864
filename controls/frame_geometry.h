#pragma once
// Where the twelve square pieces of a frame skin go on a W x H frame: the
// corners unstretched, edges and centre stretched between them. The strip
// holds piece n at x = n * s, y = 0, s x s.
#include <array>
#include <cstdint>

namespace FramePiece {
inline constexpr int TopLeftCaptioned = 0;
inline constexpr int TopCaptioned = 1;  // header band
inline constexpr int TopRightCaptioned = 2;
inline constexpr int Left = 3;
inline constexpr int Right = 4;
inline constexpr int BottomLeft = 5;
inline constexpr int Bottom = 6;
inline constexpr int BottomRight = 7;
inline constexpr int TopLeftPlain = 8;
inline constexpr int TopPlain = 9;
inline constexpr int TopRightPlain = 10;
inline constexpr int Centre = 11;
inline constexpr int Count = 12;
}  // namespace FramePiece

struct FramePart {
  int piece = 0;
  int32_t x = 0, y = 0, w = 0, h = 0;  // target rectangle
  bool stretched = false;              // drawn at w x h; corners at piece size
  bool drawn = false;                  // false for empty or negative sizes
};

// Drawing order: centre, top, bottom, left, right, then the four corners.
inline std::array<FramePart, 9> frame_parts(int32_t W, int32_t H, int32_t s, bool captioned) {
  using namespace FramePiece;
  const int32_t iw = W - 2 * s, ih = H - 2 * s;
  auto stretched = [](int piece, int32_t x, int32_t y, int32_t w, int32_t h) {
    return FramePart{piece, x, y, w, h, true, w > 0 && h > 0};
  };
  auto corner = [s](int piece, int32_t x, int32_t y) {
    return FramePart{piece, x, y, s, s, false, s > 0};
  };
  return {
      stretched(Centre, s, s, iw, ih),
      stretched(captioned ? TopCaptioned : TopPlain, s, 0, iw, s),
      stretched(Bottom, s, H - s, iw, s),
      stretched(Left, 0, s, s, ih),
      stretched(Right, W - s, s, s, ih),
      corner(captioned ? TopLeftCaptioned : TopLeftPlain, 0, 0),
      corner(captioned ? TopRightCaptioned : TopRightPlain, W - s, 0),
      corner(BottomLeft, 0, H - s),
      corner(BottomRight, W - s, H - s),
  };
}
