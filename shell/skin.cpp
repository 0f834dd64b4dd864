// Start-up and skin loading: the toolkit's initialisation, the piece table,
// checking and cutting sheets, and reading sheet files safely.
//
// Sections: piece table · start-up · own skin sheets · sheet files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

namespace zui {

// ---- piece table -------------------------------------------------------------
// Rectangles on the sheet, in cutting order. The icon-bar background spans
// the full sheet width and is rescaled right after it is cut.
const SkinPieceSpec kSkinPieceTable[kSkinPieceCount] = {
    {"SkinRoundAdd", &SkinPieces::SkinRoundAdd, 241, 157, 64, 16},
    {"SkinRoundClose", &SkinPieces::SkinRoundClose, 306, 157, 64, 16},
    {"SkinRoundCopy", &SkinPieces::SkinRoundCopy, 241, 174, 64, 16},
    {"SkinToggleShown", &SkinPieces::SkinToggleShown, 0, 220, 360, 20},
    {"SkinToggleHidden", &SkinPieces::SkinToggleHidden, 0, 241, 360, 20},
    {"SkinSearchField", &SkinPieces::SkinSearchField, 0, 21, 149, 21},
    {"SkinIconbarBack", &SkinPieces::SkinIconbarBack, 0, 43, 410, 40},
    {"SkinSideAdd", &SkinPieces::SkinSideAdd, 0, 0, 40, 20},
    {"SkinSideCopy", &SkinPieces::SkinSideCopy, 40, 0, 40, 20},
    {"SkinSideSync", &SkinPieces::SkinSideSync, 80, 0, 40, 20},
    {"SkinSideBlank1", &SkinPieces::SkinSideBlank1, 120, 0, 40, 20},
    {"SkinSideBlank2", &SkinPieces::SkinSideBlank2, 160, 0, 40, 20},
    {"SkinMessageBack", &SkinPieces::SkinMessageBack, 0, 84, 300, 26},
    {"SkinArrowDown", &SkinPieces::SkinArrowDown, 201, 17, 64, 16},
    {"SkinArrowRight", &SkinPieces::SkinArrowRight, 201, 0, 64, 16},
    {"SkinArrowTurn", &SkinPieces::SkinArrowTurn, 266, 0, 96, 16},
    {"SkinTabsGrey", &SkinPieces::SkinTabsGrey, 0, 111, 200, 22},
    {"SkinTabsCream", &SkinPieces::SkinTabsCream, 201, 111, 200, 22},
    {"SkinTabsWhite", &SkinPieces::SkinTabsWhite, 0, 134, 200, 22},
    {"SkinFrameData", &SkinPieces::SkinFrameData, 0, 157, 240, 20},
    {"SkinFrameArea", &SkinPieces::SkinFrameArea, 0, 178, 240, 20},
    {"SkinFrameSide", &SkinPieces::SkinFrameSide, 0, 199, 240, 20},
    {"SkinGridParts", &SkinPieces::SkinGridParts, 0, 262, 350, 40},
};

// ---- start-up ------------------------------------------------------------------
int32_t init_toolkit() {
  // Programs cut the built-in sheet next, most of them: it decodes on a
  // second core while the toolkit starts.
  tk_decode_ahead(zui_skin_sheet_png, zui_skin_sheet_png_size);
  if (tk_open_display() == 0) return 0;
  tk_init_strings();
  tk_init_memory();
  tk_init_drawing();
  tk_init_fonts();
  tk_init_windows();
  tk_init_gadgets();
  tk_init_image_decoder();
  tk_init_images();
  tk_init_menus();
  tk_register_png_decoder();
  return 1;
}

void cut_skin_pieces(SkinPieces& skin, int32_t sheet) {
  for (const SkinPieceSpec& piece : kSkinPieceTable) {
    // An undecodable sheet (0) yields 0 for every piece; consumers then draw
    // nothing.
    int32_t image =
        tk_grab_image_region(sheet, -1, piece.x, piece.y, piece.width, piece.height);
    skin.*piece.field = image;
    if (piece.field == &SkinPieces::SkinIconbarBack) tk_resize_image(image, 1600, 40);
  }
}

// ---- own skin sheets -------------------------------------------------------------
namespace {

constexpr const char* kNotAnImage = "it is not a PNG image this program can read";

// What is wrong with a sheet of w x h pixels at zoom 1 or 2; "" for none.
std::string size_problem(int64_t w, int64_t h, int32_t zoom) {
  if (w == kSkinSheetWidth * zoom && h == kSkinSheetHeight * zoom) return {};
  return "it is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, a " +
         (zoom == 2 ? "2x sheet" : "sheet") + " is " + std::to_string(kSkinSheetWidth * zoom) +
         " x " + std::to_string(kSkinSheetHeight * zoom);
}

// The size a sheet's header declares, judged before anything is decoded: a
// small file may declare a picture of hundreds of megabytes.
std::string header_problem(SkinBytes sheet, int32_t zoom) {
  int32_t w = 0, h = 0;
  if (!sheet.bytes || tk_peek_image_size(sheet.bytes, sheet.size, &w, &h) == 0) return kNotAnImage;
  return size_problem(w, h, zoom);
}

}  // namespace

std::string skin_sheet_problem(int32_t sheet, int32_t zoom) {
  if (sheet == 0 || tk_image_exists(sheet) == 0) return kNotAnImage;
  if (std::string wrong = size_problem(tk_image_width(sheet), tk_image_height(sheet), zoom);
      !wrong.empty())
    return wrong;
  // A piece left in one flat colour was not painted.
  std::string missing;
  int32_t missingCount = 0;
  for (const SkinPieceSpec& piece : kSkinPieceTable) {
    if (tk_image_area_flat(sheet, piece.x * zoom, piece.y * zoom, piece.width * zoom,
                           piece.height * zoom) != 1)
      continue;
    missing += (missingCount++ ? ", " : "") + std::string(piece.name);
  }
  if (missingCount == 0) return {};
  return (missingCount == 1 ? "piece " : "pieces ") + missing +
         (missingCount == 1 ? " is" : " are") + " not painted (one flat colour)";
}

void free_skin_pieces(SkinPieces& skin) {
  for (const SkinPieceSpec& piece : kSkinPieceTable) {
    tk_free_image(skin.*piece.field);
    skin.*piece.field = 0;
  }
}

// The one path every sheet takes, the embedded one included. The pieces
// follow the display scale: above 1x they are cut from the 2x sheet of the
// same layout, or from the 1x one enlarged when there is none.
std::string cut_skin_sheet(SkinPieces& skin, SkinBytes sheet, SkinBytes doubled) {
  std::string problem = header_problem(sheet, 1);
  int32_t decoded = 0;
  if (problem.empty()) {
    decoded = tk_decode_sheet(-1, sheet.bytes, sheet.size, doubled.bytes, doubled.size);
    problem = skin_sheet_problem(decoded);
  }
  free_skin_pieces(skin);
  if (problem.empty()) cut_skin_pieces(skin, decoded);
  tk_free_image(decoded);
  return problem;
}

namespace {

// The 2x sheet is checked in full when it is given, whatever the scale is
// now: the scale may change later, and a sheet refused then would leave a
// half-used skin.
std::string doubled_sheet_problem(SkinBytes doubled) {
  std::string problem = header_problem(doubled, 2);
  if (!problem.empty()) return problem;
  const int32_t decoded = tk_decode_image(-1, doubled.bytes, doubled.size);
  problem = skin_sheet_problem(decoded, 2);
  tk_free_image(decoded);
  return problem;
}

// Loads the sheet with its 2x sheet, or the embedded one when either is
// refused; the message names the refused sheet by `name` or `name2x`.
std::string load_named(SkinPieces& skin, SkinBytes sheet, SkinBytes sheet2x,
                       const std::string& name, const std::string& name2x) {
  const SkinBytes embedded{zui_skin_sheet_png, zui_skin_sheet_png_size};
  const SkinBytes embedded2x{zui_skin_2x_sheet_png, zui_skin_2x_sheet_png_size};
  if (sheet.bytes == nullptr) return cut_skin_sheet(skin, embedded, embedded2x);
  std::string refused = "skin sheet" + (name.empty() ? "" : " " + name);
  std::string problem = header_problem(sheet, 1);
  if (problem.empty() && sheet2x.bytes != nullptr) {
    problem = doubled_sheet_problem(sheet2x);
    if (!problem.empty()) refused = "2x skin sheet" + (name2x.empty() ? "" : " " + name2x);
  }
  if (problem.empty()) problem = cut_skin_sheet(skin, sheet, sheet2x);
  if (problem.empty()) return problem;
  cut_skin_sheet(skin, embedded, embedded2x);
  return refused + " not used: " + problem + "; the built-in skin is used instead";
}

}  // namespace

std::string load_skin(SkinPieces& skin, SkinBytes sheet, SkinBytes sheet2x) {
  return load_named(skin, sheet, sheet2x, "", "");
}

// ---- sheet files ------------------------------------------------------------------
std::string shown_file_name(const std::string& name) {
  // Valid UTF-8 stays readable; control bytes (ESC starts a terminal
  // sequence), C1 controls, bytes that are no UTF-8 and the backslash
  // itself are written as \xNN or \\.
  std::string out;
  const auto* s = reinterpret_cast<const unsigned char*>(name.data());
  const std::size_t n = name.size();
  const auto escape = [&out](unsigned char byte) {
    const char* hex = "0123456789abcdef";
    out += "\\x";
    out += hex[byte >> 4];
    out += hex[byte & 15];
  };
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    if (c == '\\') {
      out += "\\\\";
      ++i;
      continue;
    }
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::size_t length = 0;
    uint32_t value = 0;
    if (c >= 0xC2 && c <= 0xDF) length = 2, value = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) length = 3, value = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) length = 4, value = c & 0x07;
    bool valid = length > 0 && i + length <= n;
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (s[i + k] & 0xC0) == 0x80;
      value = (value << 6) | (s[i + k] & 0x3F);
    }
    const uint32_t lowest = length == 2 ? 0xA0 : length == 3 ? 0x800 : 0x10000;
    valid = valid && value >= lowest && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
    if (!valid) {
      escape(c);
      ++i;
      continue;
    }
    out.append(name, i, length);
    i += length;
  }
  return out;
}

namespace {

// A sheet file holds a few hundred kilobytes; anything far larger is refused
// unread.
constexpr std::int64_t kMaxSheetFileBytes = std::int64_t(16) << 20;

// A sheet file's bytes, or why they were not read.
struct SheetFile {
  std::vector<char> bytes;  // the file's bytes, empty when refused
  std::string problem;      // "" when read
  bool absent = false;      // there is no file of that name
};

// Reads a regular file of at most kMaxSheetFileBytes. It is opened without
// blocking and judged by what it is before a byte is read: a FIFO would wait
// for a writer, a device or a link to one would never end, a directory
// cannot be read at all.
SheetFile read_sheet_file(const std::string& path) {
  SheetFile file;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    file.absent = errno == ENOENT;
    file.problem = std::string("it cannot be read (") + std::strerror(errno) + ")";
    return file;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    file.problem = std::string("it cannot be read (") + std::strerror(errno) + ")";
  } else if (S_ISDIR(info.st_mode)) {
    file.problem = "it is a directory";
  } else if (!S_ISREG(info.st_mode)) {
    file.problem = "it is not a regular file (a device, pipe or socket)";
  } else if (info.st_size > kMaxSheetFileBytes) {
    file.problem = "it is larger than a sheet file can be (16 MB)";
  } else {
    // The file may grow while it is read: one byte more than the cap tells.
    file.bytes.resize(static_cast<std::size_t>(kMaxSheetFileBytes) + 1);
    std::size_t got = 0;
    while (got < file.bytes.size()) {
      const ssize_t n = ::read(fd, file.bytes.data() + got, file.bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) file.problem = std::string("it cannot be read (") + std::strerror(errno) + ")";
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    file.bytes.resize(got);
    if (file.problem.empty() && got > static_cast<std::size_t>(kMaxSheetFileBytes))
      file.problem = "it is larger than a sheet file can be (16 MB)";
    else if (file.problem.empty() && got == 0)
      file.problem = "it is empty";
  }
  ::close(fd);
  if (!file.problem.empty()) file.bytes = {};
  return file;
}

// Where the 2x sheet of a sheet file lies: "skin.png" -> "skin@2x.png".
std::string doubled_sheet_path(const std::string& path) {
  const std::string png = ".png";
  const bool hasPng =
      path.size() > png.size() && path.compare(path.size() - png.size(), png.size(), png) == 0;
  return hasPng ? path.substr(0, path.size() - png.size()) + "@2x.png" : path + "@2x";
}

}  // namespace

std::string load_skin_file(SkinPieces& skin, const std::string& path) {
  const std::string path2x = doubled_sheet_path(path);
  const SheetFile sheet = read_sheet_file(path);
  // No 2x file is no 2x sheet; one that is there must be readable.
  const SheetFile doubled = sheet.problem.empty() ? read_sheet_file(path2x) : SheetFile{};
  const bool refused2x = !doubled.problem.empty() && !doubled.absent;
  if (!sheet.problem.empty() || refused2x) {
    load_skin(skin, {});
    return (refused2x ? "2x skin sheet " + shown_file_name(path2x) + " not used: " + doubled.problem
                      : "skin sheet " + shown_file_name(path) + " not used: " + sheet.problem) +
           "; the built-in skin is used instead";
  }
  return load_named(skin, {sheet.bytes.data(), sheet.bytes.size()},
                    {doubled.bytes.empty() ? nullptr : doubled.bytes.data(), doubled.bytes.size()},
                    shown_file_name(path), shown_file_name(path2x));
}

}  // namespace zui
