// Cutting the skin sheet into the pieces the demo screen shows.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/app.h"
#include "support/toolkit_fixtures.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

// Frees every piece a test cut, so tests do not leak images into each other.
void free_pieces(App& app) {
  for (const SkinPieceSpec& piece : kSkinPieceTable) tk_free_image(app.state.skin.*piece.field);
}

}  // namespace

TEST(SkinPieces, EachPieceIsAnExactCopyOfItsRectangle) {
  const int32_t sheet = tktest::pattern_image(410, 400);
  App app;
  cut_skin_pieces(app.state.skin, sheet);
  for (const SkinPieceSpec& piece : kSkinPieceTable) {
    const int32_t image = app.state.skin.*piece.field;
    ASSERT_NE(image, 0) << piece.name;
    if (piece.field == &SkinPieces::SkinIconbarBack) continue;  // rescaled, checked below
    EXPECT_EQ(tk_image_width(image), piece.width) << piece.name;
    EXPECT_EQ(tk_image_height(image), piece.height) << piece.name;
    // Corners and centre are enough to catch a shifted or swapped rectangle.
    const int xs[] = {0, piece.width - 1, piece.width / 2};
    const int ys[] = {0, piece.height - 1, piece.height / 2};
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(tk_image_pixel(image, xs[i], ys[i]),
                tktest::pattern_colour(piece.x + xs[i], piece.y + ys[i]))
          << piece.name << " at " << xs[i] << "," << ys[i];
  }
  EXPECT_EQ(tk_image_width(app.state.skin.SkinIconbarBack), 1600);
  EXPECT_EQ(tk_image_height(app.state.skin.SkinIconbarBack), 40);
  free_pieces(app);
  tk_free_image(sheet);
}

TEST(SkinPieces, TableHoldsTheTwentyThreePiecesInCuttingOrder) {
  EXPECT_STREQ(kSkinPieceTable[0].name, "SkinRoundAdd");
  EXPECT_STREQ(kSkinPieceTable[kSkinPieceCount - 1].name, "SkinGridParts");
  // Every field is filled exactly once.
  App app;
  const int32_t sheet = tktest::pattern_image(410, 400);
  cut_skin_pieces(app.state.skin, sheet);
  const SkinPieces& s = app.state.skin;
  const int32_t all[] = {s.SkinRoundAdd,   s.SkinRoundClose,   s.SkinRoundCopy,   s.SkinToggleShown,
                         s.SkinToggleHidden, s.SkinSearchField, s.SkinIconbarBack, s.SkinSideAdd,
                         s.SkinSideCopy,   s.SkinSideSync,     s.SkinSideBlank1,  s.SkinSideBlank2,
                         s.SkinMessageBack, s.SkinArrowDown,   s.SkinArrowRight,  s.SkinArrowTurn,
                         s.SkinTabsGrey,   s.SkinTabsCream,    s.SkinTabsWhite,   s.SkinFrameData,
                         s.SkinFrameArea,  s.SkinFrameSide,    s.SkinGridParts};
  for (int i = 0; i < kSkinPieceCount; ++i) {
    EXPECT_NE(all[i], 0) << i;
    for (int j = 0; j < i; ++j) EXPECT_NE(all[i], all[j]) << i << " and " << j;
  }
  free_pieces(app);
  tk_free_image(sheet);
}

TEST(SkinPieces, UndecodableSheetLeavesEveryPieceEmpty) {
  App app;
  cut_skin_pieces(app.state.skin, 0);
  for (const SkinPieceSpec& piece : kSkinPieceTable) EXPECT_EQ(app.state.skin.*piece.field, 0) << piece.name;
}

TEST(SkinPieces, StartUpCutsTheEmbeddedSheetAndSetsTheOpeningFlags) {
  App app;
  app.state.sidebarShown = 0;
  app.state.searchActive = 1;
  app.state.sidebarWidth = 5;
  start_up(app);
  EXPECT_EQ(app.state.sidebarShown, 1);
  EXPECT_EQ(app.state.headExpanded, 1);
  EXPECT_EQ(app.state.mainExpanded, 1);
  EXPECT_EQ(app.state.searchListOpen, 0);
  EXPECT_EQ(app.state.searchActive, 0);
  EXPECT_EQ(app.state.sidebarWidth, 220);
  EXPECT_EQ(tk_image_width(app.state.skin.SkinToggleShown), 360);
  EXPECT_EQ(tk_image_width(app.state.skin.SkinIconbarBack), 1600);
  EXPECT_EQ(tk_image_height(app.state.skin.SkinGridParts), 40);
  free_pieces(app);
}

// ---- own skin sheets ------------------------------------------------------------------
namespace {

// The embedded sheet with some pieces painted over in one flat colour,
// written as a PNG file in `dir`; or, with a size, a flat picture of it.
std::string sheet_file(const std::string& dir, std::initializer_list<int> blanked, int w = 410,
                       int h = 400) {
  const int32_t sheet = w == 410 && h == 400 ? tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size)
                                             : tk_create_image(-1, w, h);
  if (tk_start_drawing(tk_image_output(sheet))) {
    for (int i : blanked) {
      const SkinPieceSpec& p = kSkinPieceTable[i];
      tk_draw_box(p.x, p.y, p.width, p.height, tk_pack_colour(10, 20, 30));
    }
    tk_stop_drawing();
  }
  std::string path = dir + "/sheet";
  for (int i : blanked) path += "-" + std::to_string(i);
  path += "-" + std::to_string(w) + ".png";
  EXPECT_EQ(tk_save_image(sheet, path), 1);
  tk_free_image(sheet);
  return path;
}

}  // namespace

TEST(OwnSkin, ASheetThatFailsItsChecksSaysWhyAndTheEmbeddedSheetIsUsed) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  const std::vector<char> garbage(300, 'x');
  struct Case {
    std::string what;      // the sheet given
    std::string path;      // a file to load, or "" for `bytes`
    std::string message;   // what the message must contain; "" = sheet used
  } cases[] = {
      {"the embedded sheet", "", ""},
      {"a painted sheet", sheet_file(d, {}), ""},
      {"one piece left flat", sheet_file(d, {0}), "piece SkinRoundAdd is not painted"},
      {"two pieces left flat", sheet_file(d, {5, 22}), "pieces SkinSearchField, SkinGridParts are not painted"},
      {"a small picture", sheet_file(d, {}, 16, 16), "it is 16 x 16 pixels, a sheet is 410 x 400"},
      {"no such file", d + "/none.png", "cannot be read"},
      {"not a picture", "<garbage>", "not a PNG image"},
  };
  for (const Case& c : cases) {
    SkinPieces skin;
    std::string message;
    if (c.path == "<garbage>") message = load_skin(skin, {garbage.data(), garbage.size()});
    else if (c.path.empty()) message = load_skin(skin);
    else message = load_skin_file(skin, c.path);
    if (c.message.empty()) {
      EXPECT_EQ(message, "") << c.what;
    } else {
      EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << c.what;
      EXPECT_NE(message.find("built-in skin is used"), std::string::npos) << c.what;
    }
    // Either way every piece is cut, from the embedded sheet on failure.
    for (const SkinPieceSpec& piece : kSkinPieceTable) EXPECT_NE(skin.*piece.field, 0) << c.what << piece.name;
    EXPECT_EQ(tk_image_width(skin.SkinIconbarBack), 1600) << c.what;
    free_skin_pieces(skin);
    EXPECT_EQ(skin.SkinGridParts, 0);
  }
}

// An own sheet with a 2x sheet beside it ("NAME@2x.png") is drawn from that
// at 2x; without one its 1x sheet is enlarged.
TEST(OwnSkin, ASheetBesideItsTwiceSizeSheetServesTheDoubleScale) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  const auto write = [&](const std::string& name, const unsigned char* png, std::size_t size) {
    std::ofstream(d + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(png),
                                                          static_cast<std::streamsize>(size));
  };
  write("paired.png", zui_skin_sheet_png, zui_skin_sheet_png_size);
  write("paired@2x.png", zui_skin_2x_sheet_png, zui_skin_2x_sheet_png_size);
  write("single.png", zui_skin_sheet_png, zui_skin_sheet_png_size);
  // The device pixels of one piece, as a saved picture's bytes.
  const auto piece_pixels = [&](SkinPieces& skin) {
    const std::string path = d + "/piece.png";
    EXPECT_EQ(tk_save_image(skin.SkinFrameArea, path), 1);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  ASSERT_EQ(tk_set_display_scale(200), 1);
  SkinPieces embedded, paired, single;
  EXPECT_EQ(load_skin(embedded), "");
  EXPECT_EQ(load_skin_file(paired, d + "/paired.png"), "");
  EXPECT_EQ(load_skin_file(single, d + "/single.png"), "");
  const std::string truePixels = piece_pixels(embedded);
  EXPECT_EQ(piece_pixels(paired), truePixels);
  EXPECT_NE(piece_pixels(single), truePixels);
  for (SkinPieces* skin : {&embedded, &paired, &single}) free_skin_pieces(*skin);
  tk_set_display_scale(100);
}
