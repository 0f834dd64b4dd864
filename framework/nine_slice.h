#pragma once
// A nine-slice box: where the square pieces of a skin strip go on a W x H
// picture, the corners at their own size, the edges and the centre
// stretched between them. Frames and grids draw their boxes with it.
//
// The strip holds piece n at x = n * s, y = 0, s x s.
#include <array>
#include <cstdint>

namespace zui {

namespace NinePiece {
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
}  // namespace NinePiece

// One piece placed on the picture.
struct NineSlicePart {
  int piece = 0;                       // NinePiece
  int32_t x = 0, y = 0, w = 0, h = 0;  // target rectangle
  bool stretched = false;              // drawn at w x h; corners at piece size
  bool drawn = false;                  // false for empty or negative sizes
};

// The nine parts of a W x H box of s-pixel pieces, in drawing order:
// centre, top, bottom, left, right, then the four corners. A captioned box
// takes the header band's top row.
inline std::array<NineSlicePart, 9> nine_slice_parts(int32_t W, int32_t H, int32_t s,
                                                     bool captioned) {
  using namespace NinePiece;
  const int32_t iw = W - 2 * s, ih = H - 2 * s;
  auto stretched = [](int piece, int32_t x, int32_t y, int32_t w, int32_t h) {
    return NineSlicePart{piece, x, y, w, h, true, w > 0 && h > 0};
  };
  auto corner = [s](int piece, int32_t x, int32_t y) {
    return NineSlicePart{piece, x, y, s, s, false, s > 0};
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

// The image of each piece (by NinePiece), 0 where there is none.
using NineSliceImages = std::array<int32_t, NinePiece::Count>;

// Draws the box into the drawing in progress; parts without room or without
// an image are left out.
void draw_nine_slice(const NineSliceImages& pieces, int32_t W, int32_t H, int32_t s,
                     bool captioned);

}  // namespace zui
