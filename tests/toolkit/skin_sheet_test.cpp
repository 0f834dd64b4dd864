// The embedded skin sheet as an asset: its PNG encoding, its geometry and
// guide lines, and artwork that fits how the controls cut, stretch and place
// its pieces (so no seam, jump or stray green reaches the screen).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

struct Rect {
  const char* name;
  int x, y, w, h;
};

// Where the program cuts each piece (its own table, the sheet's format),
// named here without the common "Skin" prefix.
std::vector<Rect> program_pieces() {
  std::vector<Rect> out;
  for (const SkinPieceSpec& p : kSkinPieceTable)
    out.push_back({p.name + 4, p.x, p.y, p.width, p.height});
  return out;
}
const std::vector<Rect> kPieces = program_pieces();

const Rect& rect(const char* name) {
  for (const Rect& r : kPieces)
    if (std::strcmp(r.name, name) == 0) return r;
  ADD_FAILURE() << "no piece " << name;
  return kPieces[0];
}

const int32_t kBackground = tk_pack_colour(0, 255, 0);
const int32_t kGuide = tk_pack_colour(60, 255, 60);
const int32_t kCream = tk_pack_colour(236, 233, 216);
const int32_t kSideGrey = tk_pack_colour(169, 169, 169);
const int32_t kPanel = tk_pack_colour(250, 250, 250);

// The decoded sheet, freed with the fixture.
class SkinSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    sheet = tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size);
    ASSERT_NE(sheet, 0);
  }
  void TearDown() override { tk_free_image(sheet); }

  // Pixel (x, y) of a piece, in the piece's own coordinates.
  int32_t at(const char* piece, int x, int y) const {
    const Rect& r = rect(piece);
    return tk_image_pixel(sheet, r.x + x, r.y + y);
  }
  // Pixels of a w x h block of a piece, row by row.
  std::vector<int32_t> block(const char* piece, int x, int y, int w, int h) const {
    std::vector<int32_t> out;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) out.push_back(at(piece, x + i, y + j));
    return out;
  }
  // Frame n of a strip of square frames as tall as the piece (or of side s).
  std::vector<int32_t> frame(const char* piece, int n, int s, int row = 0) const {
    return block(piece, n * s, row * s, s, s);
  }
  // Every row of the block is one colour (a tile stretched sideways keeps it).
  bool rows_uniform(const char* piece, int x, int y, int w, int h) const {
    for (int j = 0; j < h; ++j)
      for (int i = 1; i < w; ++i)
        if (at(piece, x + i, y + j) != at(piece, x, y + j)) return false;
    return true;
  }
  // Every column of the block is one colour (a tile stretched up and down).
  bool columns_uniform(const char* piece, int x, int y, int w, int h) const {
    for (int i = 0; i < w; ++i)
      for (int j = 1; j < h; ++j)
        if (at(piece, x + i, y + j) != at(piece, x + i, y)) return false;
    return true;
  }

  int32_t sheet = 0;
};

uint32_t be32(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

// ---- encoding --------------------------------------------------------------------

TEST(SkinSheetEncoding, IsEightBitRgbWithGammaOneImageChunkAndEnd) {
  const unsigned char* b = zui_skin_sheet_png;
  const std::size_t n = zui_skin_sheet_png_size;
  ASSERT_GT(n, 8u);
  const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_EQ(std::memcmp(b, signature, 8), 0);

  std::vector<std::string> chunks;
  std::size_t i = 8;
  while (i + 12 <= n) {
    const uint32_t len = be32(b + i);
    const std::string type(reinterpret_cast<const char*>(b + i + 4), 4);
    const unsigned char* data = b + i + 8;
    if (type == "IHDR") {
      ASSERT_EQ(len, 13u);
      EXPECT_EQ(be32(data), 410u);
      EXPECT_EQ(be32(data + 4), 400u);
      EXPECT_EQ(data[8], 8);   // bit depth
      EXPECT_EQ(data[9], 2);   // RGB, no alpha
      EXPECT_EQ(data[10], 0);  // deflate
      EXPECT_EQ(data[11], 0);  // adaptive filters
      EXPECT_EQ(data[12], 0);  // not interlaced
    }
    if (type == "gAMA") {
      ASSERT_EQ(len, 4u);
      EXPECT_EQ(be32(data), 45455u);
    }
    chunks.push_back(type);
    i += 12 + len;
  }
  EXPECT_EQ(i, n) << "the file ends with its last chunk";
  EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "gAMA", "IDAT", "IEND"}));
}

TEST(SkinSheetEncoding, DamagedCopiesDecodeToNothing) {
  const unsigned char garbage[] = "not a picture at all, just some text";
  EXPECT_EQ(tk_decode_image(-1, garbage, sizeof garbage), 0);
  EXPECT_EQ(tk_decode_image(-1, zui_skin_sheet_png, 0), 0);

  // Cut inside the image data, and cut just before the end chunk.
  for (std::size_t keep : {zui_skin_sheet_png_size / 2, zui_skin_sheet_png_size - 12}) {
    std::vector<unsigned char> cut(zui_skin_sheet_png, zui_skin_sheet_png + keep);
    EXPECT_EQ(tk_decode_image(-1, cut.data(), cut.size()), 0) << "kept " << keep << " bytes";
  }
  // One flipped byte in the image data breaks its checksum.
  std::vector<unsigned char> flipped(zui_skin_sheet_png, zui_skin_sheet_png + zui_skin_sheet_png_size);
  flipped[flipped.size() / 2] ^= 0x55;
  EXPECT_EQ(tk_decode_image(-1, flipped.data(), flipped.size()), 0);
}

// A decoding started ahead is taken by the next decoding of the same bytes,
// once, and gives the very pixels a decoding on the spot gives.
TEST(SkinSheetEncoding, DecodedAheadIsTakenOnceWithTheSamePixels) {
  const int32_t now = tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size);
  const unsigned char garbage[] = "not a picture at all";
  EXPECT_EQ(tk_decode_ahead(nullptr, 10), 0);
  ASSERT_EQ(tk_decode_ahead(zui_skin_sheet_png, zui_skin_sheet_png_size), 1);
  ASSERT_EQ(tk_decode_ahead(garbage, sizeof garbage), 1);
  // The same bytes cut short are other bytes: decoded on the spot, refused.
  EXPECT_EQ(tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size / 2), 0);
  EXPECT_EQ(tk_decode_image(-1, garbage, sizeof garbage), 0);
  for (int pass = 0; pass < 2; ++pass) {  // taken, then decoded again
    const int32_t ahead = tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size);
    ASSERT_NE(ahead, 0);
    for (int y = 0; y < tk_image_height(now); y += 7)
      for (int x = 0; x < tk_image_width(now); x += 5)
        ASSERT_EQ(tk_image_pixel(ahead, x, y), tk_image_pixel(now, x, y)) << x << "," << y;
    tk_free_image(ahead);
  }
  tk_free_image(now);
}

// ---- geometry ----------------------------------------------------------------------

TEST_F(SkinSheet, HasItsSizeBackgroundAndGuideLines) {
  EXPECT_EQ(tk_image_width(sheet), 410);
  EXPECT_EQ(tk_image_height(sheet), 400);
  EXPECT_EQ(tk_image_pixel(sheet, 0, 399), kBackground);
  EXPECT_EQ(tk_image_pixel(sheet, 18, 111), kGuide);
  // Guide lines between the message bar and the tab strips, and between
  // the two rows of tab strips.
  for (int x : {0, 100, 250, 409}) {
    EXPECT_EQ(tk_image_pixel(sheet, x, 110), kGuide) << x;
    EXPECT_EQ(tk_image_pixel(sheet, x, 133), kGuide) << x;
  }
  // Nothing is drawn below the artwork rows.
  for (int y = 303; y < 400; y += 7)
    for (int x = 0; x < 410; x += 13) {
      const int32_t c = tk_image_pixel(sheet, x, y);
      ASSERT_TRUE(c == kBackground || c == kGuide) << x << "," << y;
    }
}

TEST_F(SkinSheet, FlatAreasAreOneColourWithinTheSheet) {
  const Rect& add = rect("RoundAdd");
  struct Case {
    int32_t image, x, y, w, h, flat;
  } cases[] = {
      {sheet, 0, 0, 1, 1, 1},                      // one pixel
      {sheet, add.x, add.y, add.w, add.h, 0},      // a painted piece
      {sheet, -1, 0, 4, 4, -1},                    // not wholly inside
      {sheet, 0, 0, tk_image_width(sheet) + 1, 1, -1},
      {sheet, 0, 0, 0, 4, -1},                     // no area
      {0, 0, 0, 1, 1, -1},                         // no image
  };
  for (const Case& c : cases)
    EXPECT_EQ(tk_image_area_flat(c.image, c.x, c.y, c.w, c.h), c.flat)
        << c.x << "," << c.y << " " << c.w << "x" << c.h;
  // The green ground between two pieces is flat.
  const Rect& side = rect("SideAdd");
  EXPECT_EQ(tk_image_area_flat(sheet, side.x + side.w * 5, side.y, 1, 1), 1);
}

TEST_F(SkinSheet, EveryPieceCutsAtItsSize) {
  for (const Rect& r : kPieces) {
    const int32_t img = tk_grab_image_region(sheet, -1, r.x, r.y, r.w, r.h);
    ASSERT_NE(img, 0) << r.name;
    EXPECT_EQ(tk_image_width(img), r.w) << r.name;
    EXPECT_EQ(tk_image_height(img), r.h) << r.name;
    tk_free_image(img);
  }
}

TEST_F(SkinSheet, TabStripsHaveTenGuideColumnsAndNoOtherGreen) {
  for (const char* strip : {"TabsGrey", "TabsCream", "TabsWhite"}) {
    for (int y = 0; y < 22; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool guide = x % 19 == 18 && x <= 189;
        const int32_t c = at(strip, x, y);
        if (guide)
          ASSERT_EQ(c, kGuide) << strip << " " << x << "," << y;
        else
          ASSERT_TRUE(c != kGuide && c != kBackground) << strip << " " << x << "," << y;
      }
    }
  }
}

TEST_F(SkinSheet, NoOtherPieceHoldsEitherGreen) {
  for (const Rect& r : kPieces) {
    if (std::strncmp(r.name, "Tabs", 4) == 0) continue;  // checked above
    for (int y = 0; y < r.h; ++y)
      for (int x = 0; x < r.w; ++x) {
        const int32_t c = at(r.name, x, y);
        ASSERT_TRUE(c != kGuide && c != kBackground) << r.name << " " << x << "," << y;
      }
  }
}

// ---- frames of strips ----------------------------------------------------------------

TEST_F(SkinSheet, StateFramesDifferAndAnimationsEndOnTheStaticArrows) {
  // Resting, pressed, hover and disabled must all look different.
  const std::pair<const char*, int> strips[] = {{"RoundAdd", 16},   {"RoundClose", 16},
                                                {"RoundCopy", 16},  {"ArrowDown", 16},
                                                {"ArrowRight", 16}, {"ToggleShown", 90},
                                                {"ToggleHidden", 90}};
  for (const auto& [name, w] : strips)
    for (int a = 0; a < 4; ++a)
      for (int b = a + 1; b < 4; ++b)
        EXPECT_NE(block(name, a * w, 0, w, rect(name).h), block(name, b * w, 0, w, rect(name).h))
            << name << " frames " << a << " and " << b;
  EXPECT_NE(block("ToggleShown", 0, 0, 90, 20), block("ToggleHidden", 0, 0, 90, 20));

  // The turning arrow starts as the right arrow and ends as the down arrow,
  // so swapping in the static strip after the run shows no jump.
  EXPECT_EQ(frame("ArrowTurn", 0, 16), frame("ArrowRight", 0, 16));
  EXPECT_EQ(frame("ArrowTurn", 5, 16), frame("ArrowDown", 0, 16));
  for (int n = 1; n < 5; ++n) {
    EXPECT_NE(frame("ArrowTurn", n, 16), frame("ArrowTurn", n - 1, 16)) << n;
  }

  // Grid expanders (row 1 of the grid parts): turning frames 8..14 run from
  // the idle collapsed picture (0) to the idle expanded one (4); the hovered
  // pictures (2, 6) differ from the idle ones.
  EXPECT_EQ(frame("GridParts", 8, 20, 1), frame("GridParts", 0, 20, 1));
  EXPECT_EQ(frame("GridParts", 14, 20, 1), frame("GridParts", 4, 20, 1));
  EXPECT_NE(frame("GridParts", 0, 20, 1), frame("GridParts", 4, 20, 1));
  EXPECT_NE(frame("GridParts", 2, 20, 1), frame("GridParts", 0, 20, 1));
  EXPECT_NE(frame("GridParts", 6, 20, 1), frame("GridParts", 4, 20, 1));
  for (int n = 9; n <= 14; ++n) EXPECT_NE(frame("GridParts", n, 20, 1), frame("GridParts", n - 1, 20, 1)) << n;
}

// ---- stretching and surroundings ---------------------------------------------------------

TEST_F(SkinSheet, StretchedTilesAreUniformAlongTheirStretch) {
  // The icon bar is widened to 1600 pixels.
  EXPECT_TRUE(rows_uniform("IconbarBack", 0, 0, 410, 40));
  // Frames: top edges (1, 9) and bottom edge (6) widen, side edges (3, 4)
  // grow taller, the centre (11) does both.
  for (const char* f : {"FrameData", "FrameArea", "FrameSide"}) {
    for (int n : {1, 6, 9}) EXPECT_TRUE(rows_uniform(f, n * 20, 0, 20, 20)) << f << " piece " << n;
    for (int n : {3, 4}) EXPECT_TRUE(columns_uniform(f, n * 20, 0, 20, 20)) << f << " piece " << n;
    EXPECT_TRUE(rows_uniform(f, 220, 0, 20, 20) && columns_uniform(f, 220, 0, 20, 20)) << f;
  }
  // Grid tiles: the same for its frame, plus the interior (11) and the
  // selection bar's middle (13), which is stretched to the cell's size.
  for (int n : {1, 6, 9, 13}) EXPECT_TRUE(rows_uniform("GridParts", n * 20, 0, 20, 20)) << n;
  for (int n : {3, 4}) EXPECT_TRUE(columns_uniform("GridParts", n * 20, 0, 20, 20)) << n;
  EXPECT_TRUE(rows_uniform("GridParts", 220, 0, 20, 20) && columns_uniform("GridParts", 220, 0, 20, 20));
}

TEST_F(SkinSheet, PiecesMatchTheGroundsTheyAreShownOn) {
  // Round buttons and arrows sit on the cream centre containers.
  for (const char* s : {"RoundAdd", "RoundClose", "RoundCopy", "ArrowDown", "ArrowRight", "ArrowTurn"})
    for (int n = 0; n * 16 < rect(s).w; ++n) EXPECT_EQ(at(s, n * 16, 0), kCream) << s << " frame " << n;
  // The toolbar faces sit on the grey sidebar: its outer corners are grey.
  EXPECT_EQ(at("SideAdd", 0, 0), kSideGrey);
  EXPECT_EQ(at("SideBlank2", 39, 19), kSideGrey);
  // The toggle (row 10), search field (row 9) and message bar (row 7) sit on
  // the icon bar: their corners take the bar's colour of those rows.
  EXPECT_EQ(at("ToggleShown", 0, 0), at("IconbarBack", 0, 10));
  EXPECT_EQ(at("ToggleHidden", 270, 19), at("IconbarBack", 0, 29));
  EXPECT_EQ(at("SearchField", 0, 0), at("IconbarBack", 0, 9));
  EXPECT_EQ(at("MessageBack", 299, 25), at("IconbarBack", 0, 32));
  // The borderless search input (x 28..137, y 3..19 of the face) is white.
  for (int32_t c : block("SearchField", 28, 3, 110, 17)) ASSERT_EQ(c, tk_pack_colour(255, 255, 255));
  // Labels with back colour 0xFAFAFA stand on the data frame's centre.
  EXPECT_EQ(at("FrameData", 11 * 20 + 10, 10), kPanel);
  // Frames' outer corners blend into their containers.
  EXPECT_EQ(at("FrameArea", 0, 0), kCream);
  EXPECT_EQ(at("FrameSide", 0, 0), kSideGrey);
  EXPECT_EQ(at("FrameData", 8 * 20, 0), kPanel);
}

TEST_F(SkinSheet, TabStripsJoinTheFramesBelowThem) {
  // A tab bar's last row lies on its frame's top line: the filler (cell 9)
  // continues that line, and the selected tab's fill (cell 6) opens into the
  // frame's inside.
  const std::pair<const char*, const char*> pairs[] = {
      {"TabsGrey", "FrameSide"}, {"TabsCream", "FrameArea"}, {"TabsWhite", "FrameData"}};
  for (const auto& [tabs, frame] : pairs) {
    const int32_t topLine = at(frame, 9 * 20 + 10, 0);  // plain top edge, row 0
    const int32_t inside = at(frame, 11 * 20 + 10, 10);
    for (int x = 0; x < 18; ++x) {
      EXPECT_EQ(at(tabs, 9 * 19 + x, 21), topLine) << tabs << " filler " << x;
      EXPECT_EQ(at(tabs, 6 * 19 + x, 21), inside) << tabs << " selected fill " << x;
      EXPECT_EQ(at(tabs, 1 * 19 + x, 21), topLine) << tabs << " unselected fill " << x;
    }
    // Filler above the line is the bar's plain ground.
    EXPECT_TRUE(rows_uniform(tabs, 9 * 19, 0, 18, 21)) << tabs;
  }
  // The grey and cream grounds are the sidebar's and centre's colours.
  EXPECT_EQ(at("TabsGrey", 9 * 19, 0), kSideGrey);
  EXPECT_EQ(at("TabsCream", 9 * 19, 0), kCream);
}

TEST_F(SkinSheet, GridExpandersAndArrowsStandOnTheGridInterior) {
  const int32_t interior = at("GridParts", 11 * 20, 0);
  for (int n = 0; n < 15; ++n) {
    EXPECT_EQ(at("GridParts", n * 20, 20), interior) << "expander frame " << n;
    EXPECT_EQ(at("GridParts", n * 20 + 19, 39), interior) << "expander frame " << n;
  }
  // Arrow pairs: horizontal at (SW - 50, 24), vertical at (SW - 16, 0).
  EXPECT_EQ(at("GridParts", 300, 24), interior);
  EXPECT_EQ(at("GridParts", 349, 31), interior);
  // The arrows are drawn: each 16 x 16 square holds more than its ground.
  const int squares[][2] = {{300, 24}, {316, 24}, {334, 0}, {334, 16}};
  for (const auto& sq : squares) {
    int drawn = 0;
    for (int32_t c : block("GridParts", sq[0], sq[1], 16, 16)) drawn += c != interior;
    EXPECT_GT(drawn, 40) << sq[0] << "," << sq[1];
  }
}
