// zui-skin-gen: paints the skin sheet and writes it as the PNG the build
// embeds; optionally also the zoomed preview used to judge the artwork.
//
//   usage: zui-skin-gen SHEET.png [PREVIEW.png]
//   e.g.   zui-skin-gen assets/skin.png docs/skin-preview.png
#include <cassert>
#include <cstdio>
#include <cstring>

#include <QGuiApplication>

#include "skin_gen.h"

namespace skingen {

const SheetPiece& piece(const char* name) {
  for (const SheetPiece& p : kPieces)
    if (std::strcmp(p.name, name) == 0) return p;
  assert(!"unknown sheet piece");
  return kPieces[0];
}

}  // namespace skingen

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s SHEET.png [PREVIEW.png]\n", argv[0]);
    return 2;
  }
  // Text in the preview needs fonts, hence a (headless) GUI application.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QImage sheet = skingen::paint_sheet();
  if (!skingen::write_sheet_png(sheet, argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  if (argc == 3 && !skingen::paint_preview(sheet).save(argv[2], "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
