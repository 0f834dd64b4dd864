// Cutting the skin sheet into the pieces the demo screen shows.
#include <gtest/gtest.h>

#include "app/app.h"
#include "support/toolkit_fixtures.h"
#include "toolkit/tk.h"

namespace {

// Frees every piece a test cut, so tests do not leak images into each other.
void free_pieces(App& app) {
  for (const SkinPieceSpec& piece : kSkinPieceTable) tk_free_image(app.state.skin.*piece.field);
}

}  // namespace

TEST(SkinPieces, EachPieceIsAnExactCopyOfItsRectangle) {
  const int32_t sheet = tktest::pattern_image(410, 400);
  App app;
  cut_skin_pieces(app, sheet);
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
  cut_skin_pieces(app, sheet);
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
  cut_skin_pieces(app, 0);
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
