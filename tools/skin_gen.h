#pragma once
// Skin sheet generator: shared declarations of the painter (skin_gen_art),
// the look-at preview (skin_gen_preview) and the PNG writer (skin_gen).
#include <QColor>
#include <QImage>

namespace skingen {

inline constexpr int kSheetWidth = 410;
inline constexpr int kSheetHeight = 400;

// Where each piece lies on the sheet; the program cuts exactly these
// rectangles, so they are part of the format.
struct SheetPiece {
  const char* name;
  int x, y, w, h;
};
inline constexpr SheetPiece kPieces[] = {
    {"RoundAdd", 241, 157, 64, 16},    {"RoundClose", 306, 157, 64, 16},
    {"RoundCopy", 241, 174, 64, 16},   {"ToggleShown", 0, 220, 360, 20},
    {"ToggleHidden", 0, 241, 360, 20}, {"SearchField", 0, 21, 149, 21},
    {"IconbarBack", 0, 43, 410, 40},   {"SideAdd", 0, 0, 40, 20},
    {"SideCopy", 40, 0, 40, 20},       {"SideSync", 80, 0, 40, 20},
    {"SideBlank1", 120, 0, 40, 20},    {"SideBlank2", 160, 0, 40, 20},
    {"MessageBack", 0, 84, 300, 26},   {"ArrowDown", 201, 17, 64, 16},
    {"ArrowRight", 201, 0, 64, 16},    {"ArrowTurn", 266, 0, 96, 16},
    {"TabsGrey", 0, 111, 200, 22},     {"TabsCream", 201, 111, 200, 22},
    {"TabsWhite", 0, 134, 200, 22},    {"FrameData", 0, 157, 240, 20},
    {"FrameArea", 0, 178, 240, 20},    {"FrameSide", 0, 199, 240, 20},
    {"GridParts", 0, 262, 350, 40},
};
const SheetPiece& piece(const char* name);  // asserts that it exists

// Colours the artwork avoids: the sheet's background and its guide lines.
inline const QColor kBackgroundGreen{0, 255, 0};
inline const QColor kGuideGreen{60, 255, 60};

// The whole 410 x 400 sheet (QImage::Format_RGB32) at zoom 1 or 2: the same
// layout and artwork with zoom x zoom pixels for each sheet pixel.
QImage paint_sheet(int zoom);

// The sheet zoomed 3x under a mock-up of tab bars, frames, a grid and the
// icon bar assembled from the sheet's own pieces, the way the controls cut
// and stretch them.
QImage paint_preview(const QImage& sheet);

// 8-bit RGB PNG: IHDR, gAMA 1/2.2, one IDAT, IEND. False on any failure.
bool write_sheet_png(const QImage& sheet, const char* path);

}  // namespace skingen
