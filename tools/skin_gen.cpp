// zui-skin-gen: paints the skin sheet at 1x and at 2x and writes both as the
// PNGs the build embeds; optionally also the zoomed preview used to judge the
// artwork.
//
//   usage: zui-skin-gen SHEET.png SHEET@2x.png [PREVIEW.png]
//   e.g.   zui-skin-gen assets/skin.png assets/skin@2x.png docs/skin-preview.png
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
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s SHEET.png SHEET@2x.png [PREVIEW.png]\n", argv[0]);
    return 2;
  }
  // Text in the preview needs fonts, hence a (headless) GUI application.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QImage sheet = skingen::paint_sheet(1);
  for (int zoom : {1, 2}) {
    const char* path = argv[zoom];
    if (!skingen::write_sheet_png(zoom == 1 ? sheet : skingen::paint_sheet(zoom), path)) {
      std::fprintf(stderr, "cannot write %s\n", path);
      return 1;
    }
  }
  if (argc == 4 && !skingen::paint_preview(sheet).save(argv[3], "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
