#pragma once
// A frame's box is the shared nine-slice box (framework/nine_slice.h),
// under the names frames have always used.
#include "framework/nine_slice.h"

namespace zui {

namespace FramePiece = NinePiece;
using FramePart = NineSlicePart;

inline std::array<FramePart, 9> frame_parts(int32_t W, int32_t H, int32_t s, bool captioned) {
  return nine_slice_parts(W, H, s, captioned);
}

}  // namespace zui
