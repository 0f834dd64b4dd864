// Numbered images: creation, copies, grabbing, rescaling, freeing, skin
// sheets, the display scale and the inspection helpers. Images are opaque
// RGB (QImage::Format_RGB32) with logical sizes over device pixels.
//
// Sections: table · sheet pieces · creation and copies · queries · display
// scale · inspection · decoding.
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <future>
#include <set>
#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

namespace {
// The image table and the scale new images are made at.
// A picture being decoded on a worker ahead of its first use.
struct DecodeAhead {
  const void* data;            // the bytes it was started on
  std::size_t size;            // their length
  std::future<QImage> result;  // the decoded picture, null when undecodable
};
struct ImageStore {
  Table<Image> table{kImageBase, kFontBase};
  double scale = 1.0;  // device pixels per logical pixel of new images
  std::vector<DecodeAhead> ahead;  // decodings started by tk_decode_ahead
};
ImageStore& store() {
  static ImageStore s;
  return s;
}
Table<Image>& images() { return store().table; }

bool within_limits(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels;
}

// A logical size whose device pixels at the scale stay within the limits
// too: memory goes by device pixels, so 4000 x 4000 at 400 % is refused.
bool usable_size(int32_t w, int32_t h, double scale) {
  return within_limits(w, h) &&
         within_limits(std::max(1, to_device(w, scale)), std::max(1, to_device(h, scale)));
}

// Black device pixels for a logical size at a scale; null when out of memory.
QImage blank_pixels(int32_t w, int32_t h, double scale) {
  QImage pixels(std::max(1, to_device(w, scale)), std::max(1, to_device(h, scale)),
                QImage::Format_RGB32);
  if (pixels.isNull()) return pixels;
  pixels.fill(0xFF000000u);
  pixels.setDevicePixelRatio(scale);
  return pixels;
}

void free_number(int32_t number) {
  Image* img = images().find(number);
  if (!img) return;
  release_drawing_target(number);
  if (img->shown) image_freed(img->handle, img->pixels);
  // The decoded sheet lives as long as the sheet's own image: its pieces'
  // pixels serve for cutting from them at the same scale.
  if (img->cut.sheet && img->cut.sheet->holder == number) {
    img->cut.sheet->source = QImage();
    img->cut.sheet->sourceZoom = 0;
    img->cut.sheet->holder = 0;
  }
  drop_handle(img->handle);
  images().items.erase(number);
}

int32_t add_sized(int32_t number, QImage pixels, int32_t w, int32_t h, SheetCut cut) {
  if (pixels.isNull()) return 0;
  int32_t n = images().pick(number);
  if (n == 0) return 0;
  free_number(n);
  if (pixels.format() != QImage::Format_RGB32) {
    const qreal ratio = pixels.devicePixelRatio();
    pixels = pixels.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return 0;  // out of memory
    pixels.setDevicePixelRatio(ratio);
  }
  images().items[n] = Image{std::move(pixels), w, h, new_handle(HandleKind::Image, n), false,
                            std::move(cut)};
  return n;
}

// ---- sheet pieces ------------------------------------------------------------

QImage decode_raw(const unsigned char* bytes, std::size_t size) {
  if (size < 2) return QImage();
  return bytes[0] == 'B' && bytes[1] == 'M' ? decode_bmp(bytes, size) : decode_png(bytes, size);
}

QImage decode_bytes(const std::vector<unsigned char>& bytes) {
  return decode_raw(bytes.data(), bytes.size());
}

// The picture of these bytes: taken from a decoding started ahead of time
// when there is one for them, else decoded now.
QImage decode_or_take(const void* data, std::size_t size) {
  auto& ahead = store().ahead;
  for (auto it = ahead.begin(); it != ahead.end(); ++it) {
    if (it->data != data || it->size != size) continue;
    QImage pixels = it->result.get();
    ahead.erase(it);
    return pixels;
  }
  return decode_raw(static_cast<const unsigned char*>(data), size);
}

// Which sheet serves a scale: the 2x one above 1x when there is one.
int32_t sheet_zoom(const Sheet& sheet, double scale) {
  return scale > 1.0 && !sheet.doubled.empty() ? 2 : 1;
}

// Whether an image's pixels are the sheet's own pixels of its area: then
// pieces of it are copied from them rather than cut from the sheet again.
bool holds_sheet_pixels(const Image& img) {
  return img.cut.sheet && img.cut.area.size() == QSize(img.width, img.height) &&
         scale_of(img) == sheet_zoom(*img.cut.sheet, scale_of(img));
}

// The picture of a sheet area stretched to w x h logical pixels at a scale,
// cut from the sheet that serves the scale and smoothly resized to the
// device size when that differs.
QImage render_cut(const SheetCut& cut, int32_t w, int32_t h, double scale) {
  if (!usable_size(w, h, scale)) return QImage();
  Sheet& sheet = *cut.sheet;
  const int32_t zoom = sheet_zoom(sheet, scale);
  if (sheet.sourceZoom != zoom) {
    QImage decoded = decode_bytes(zoom == 2 ? sheet.doubled : sheet.normal);
    if (zoom == 2 && decoded.size() != sheet.size * 2) {
      // Not a 2x sheet of this layout after all: the 1x one serves.
      sheet.doubled.clear();
      return render_cut(cut, w, h, scale);
    }
    sheet.source = std::move(decoded);
    sheet.sourceZoom = sheet.source.isNull() ? 0 : zoom;
  }
  if (sheet.source.isNull()) return QImage();
  const QRect area(cut.area.topLeft() * zoom, cut.area.size() * zoom);
  const QRect shown = cut.area.intersected(cut.within);
  QImage part;
  if (shown == cut.area) {
    // The whole sheet shares the source's pixels (copied on a first write).
    part = area == sheet.source.rect() ? sheet.source : sheet.source.copy(area);
    part = part.convertToFormat(QImage::Format_RGB32);
  } else {
    // Only the shown part is sheet; the rest of the area stays black.
    part = QImage(area.size(), QImage::Format_RGB32);
    part.fill(0xFF000000u);
    if (!shown.isEmpty()) {
      QPainter p(&part);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage((shown.topLeft() - cut.area.topLeft()) * zoom, sheet.source,
                  QRect(shown.topLeft() * zoom, shown.size() * zoom));
    }
  }
  const QSize device(std::max(1, to_device(w, scale)), std::max(1, to_device(h, scale)));
  if (part.size() != device)
    part = part.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
               .convertToFormat(QImage::Format_RGB32);
  part.setDevicePixelRatio(scale);
  return part;
}

// Copies a device rectangle of the source; what lies outside stays black.
QImage copy_device(const QImage& from, const QRect& area, double scale) {
  QImage pixels(std::max(1, area.width()), std::max(1, area.height()), QImage::Format_RGB32);
  if (pixels.isNull()) return pixels;
  pixels.fill(0xFF000000u);
  const int64_t x0 = std::max<int64_t>(area.x(), 0), y0 = std::max<int64_t>(area.y(), 0);
  const int64_t x1 = std::min<int64_t>(int64_t(area.x()) + area.width(), from.width());
  const int64_t y1 = std::min<int64_t>(int64_t(area.y()) + area.height(), from.height());
  for (int64_t sy = y0; sy < y1; ++sy) {
    const QRgb* in = reinterpret_cast<const QRgb*>(from.constScanLine(int(sy)));
    QRgb* out = reinterpret_cast<QRgb*>(pixels.scanLine(int(sy - area.y())));
    if (x1 > x0) std::copy(in + x0, in + x1, out + (x0 - area.x()));
  }
  pixels.setDevicePixelRatio(scale);
  return pixels;
}
}  // namespace

Image* find_image(int32_t number) { return images().find(number); }

const QImage* image_by_handle(int32_t handle) {
  Image* img = find_image(handle_number(handle, HandleKind::Image));
  return img ? &img->pixels : nullptr;
}

int32_t add_image(int32_t number, QImage pixels) {
  if (pixels.isNull()) return 0;
  pixels.setDevicePixelRatio(1.0);
  const int32_t w = pixels.width(), h = pixels.height();
  return add_sized(number, std::move(pixels), w, h, {});
}

double device_scale() { return store().scale; }

void adopt_device_scale(double scale) {
  if (scale > 0) store().scale = scale;
}

void change_device_scale(double scale) {
  ImageStore& s = store();
  if (scale <= 0 || scale == s.scale) return;
  s.scale = scale;
  clear_text_cache();  // laid out for the old scale's glyphs
  std::vector<int32_t> recut;
  std::set<Sheet*> sheets;
  for (auto& [n, img] : s.table.items) {
    if (!img.cut.sheet) continue;
    QImage pixels = render_cut(img.cut, img.width, img.height, scale);
    if (pixels.isNull()) continue;
    release_drawing_target(n);
    img.pixels = std::move(pixels);
    recut.push_back(n);
    sheets.insert(img.cut.sheet.get());
  }
  // A sheet whose own image is gone needs its decoded pixels no longer.
  for (Sheet* sheet : sheets)
    if (sheet->holder == 0) {
      sheet->source = QImage();
      sheet->sourceZoom = 0;
    }
  for (int32_t n : recut) image_changed(n);
  post_event(TK_EVENT_SCALE, 0, 0, -1);
}

}  // namespace tk

using namespace tk;

// ---- creation and copies ---------------------------------------------------

int32_t tk_create_image(int32_t number, int32_t w, int32_t h) {
  if (!usable_size(w, h, device_scale())) return 0;
  return add_sized(number, blank_pixels(w, h, device_scale()), w, h, {});
}

int32_t tk_copy_image(int32_t source, int32_t number) {
  Image* src = find_image(source);
  if (!src) return 0;
  QImage pixels = src->pixels.copy();
  pixels.setDevicePixelRatio(scale_of(*src));
  return add_sized(number, std::move(pixels), src->width, src->height, src->cut);
}

int32_t tk_grab_image_region(int32_t source, int32_t number, int32_t x, int32_t y, int32_t w,
                             int32_t h) {
  Image* src = find_image(source);
  if (!src || !usable_size(w, h, scale_of(*src))) return 0;
  const double scale = scale_of(*src);
  // Near enough for rectangle arithmetic (what lies beyond is black anyway).
  const bool near = std::abs(int64_t(x)) <= kMaxImageSide && std::abs(int64_t(y)) <= kMaxImageSide;
  // A piece of a sheet piece is a piece of the sheet, so that it too is cut
  // again at a new scale and is cut from the sheet's best pixels.
  if (src->cut.sheet && src->cut.area.size() == QSize(src->width, src->height) && near) {
    const QRect wanted(x, y, w, h);
    SheetCut cut{src->cut.sheet, wanted.translated(src->cut.area.topLeft()),
                 src->cut.area.intersected(src->cut.within)};
    QImage pixels = holds_sheet_pixels(*src)
                        ? copy_device(src->pixels, to_device(wanted, scale), scale)
                        : render_cut(cut, w, h, scale);
    return add_sized(number, std::move(pixels), w, h, std::move(cut));
  }
  // Whatever lies outside the source stays black, for any rectangle.
  return add_sized(number, copy_device(src->pixels, device_rect(x, y, w, h, scale), scale), w, h,
                   {});
}

int32_t tk_resize_image(int32_t image, int32_t w, int32_t h) {
  Image* img = find_image(image);
  if (!img || !usable_size(w, h, device_scale())) return 0;
  const double scale = device_scale();
  if (img->width == w && img->height == h && scale_of(*img) == scale) return 1;
  // A sheet piece is stretched from the sheet's pixels that serve the scale;
  // anything else from its own.
  QImage scaled;
  if (img->cut.sheet && !(holds_sheet_pixels(*img) && scale_of(*img) == scale)) {
    scaled = render_cut(img->cut, w, h, scale);
  } else {
    scaled = img->pixels
                 .scaled(std::max(1, to_device(w, scale)), std::max(1, to_device(h, scale)),
                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB32);
    scaled.setDevicePixelRatio(scale);
  }
  if (scaled.isNull()) return 0;
  release_drawing_target(image);
  img->pixels = std::move(scaled);
  img->width = w;
  img->height = h;
  image_changed(image);
  return 1;
}

int32_t tk_free_image(int32_t image) {
  if (!find_image(image)) return 0;
  free_number(image);
  return 1;
}

void tk_free_all_images() {
  // A decoding nobody took is waited for and dropped.
  store().ahead.clear();
  std::vector<int32_t> numbers;
  for (auto& [n, img] : images().items) numbers.push_back(n);
  for (int32_t n : numbers) free_number(n);
}

// ---- queries ---------------------------------------------------------------

int32_t tk_image_exists(int32_t image) { return find_image(image) ? 1 : 0; }

int32_t tk_image_width(int32_t image) {
  Image* img = find_image(image);
  return img ? img->width : 0;
}

int32_t tk_image_height(int32_t image) {
  Image* img = find_image(image);
  return img ? img->height : 0;
}

int32_t tk_image_handle(int32_t image) {
  Image* img = find_image(image);
  return img ? img->handle : 0;
}

// The drawing output of an image is its bitmap handle.
int32_t tk_image_output(int32_t image) { return tk_image_handle(image); }

// ---- display scale ---------------------------------------------------------

int32_t tk_display_scale() { return int32_t(std::lround(device_scale() * 100)); }

int32_t tk_set_display_scale(int32_t percent) {
  if (percent < 25 || percent > 800) return 0;
  change_device_scale(percent / 100.0);
  return 1;
}

// ---- inspection ------------------------------------------------------------

int32_t tk_image_scale(int32_t image) {
  Image* img = find_image(image);
  return img ? int32_t(std::lround(scale_of(*img) * 100)) : 0;
}

int32_t tk_image_pixel(int32_t image, int32_t x, int32_t y) {
  Image* img = find_image(image);
  if (!img || x < 0 || y < 0 || x >= img->width || y >= img->height) return -1;
  const int dx = to_device(x, scale_of(*img)), dy = to_device(y, scale_of(*img));
  if (dx >= img->pixels.width() || dy >= img->pixels.height()) return -1;
  return rgb_to_packed(img->pixels.pixel(dx, dy));
}

int32_t tk_image_area_flat(int32_t image, int32_t x, int32_t y, int32_t w, int32_t h) {
  Image* img = find_image(image);
  if (!img || x < 0 || y < 0 || w <= 0 || h <= 0 || x > img->width - w || y > img->height - h)
    return -1;
  const double scale = scale_of(*img);
  const QRect area = QRect(to_device(x, scale), to_device(y, scale), to_device(w, scale),
                           to_device(h, scale))
                         .intersected(img->pixels.rect());
  if (area.isEmpty()) return -1;
  const QRgb first = img->pixels.pixel(area.topLeft());
  for (int dy = area.top(); dy <= area.bottom(); ++dy) {
    const auto* line = reinterpret_cast<const QRgb*>(img->pixels.constScanLine(dy));
    for (int dx = area.left(); dx <= area.right(); ++dx)
      if (line[dx] != first) return 0;
  }
  return 1;
}

int32_t tk_live_image_count() { return static_cast<int32_t>(images().items.size()); }

int32_t tk_save_image(int32_t image, const std::string& path) {
  Image* img = find_image(image);
  if (!img) return 0;
  return img->pixels.save(qs(path), "PNG") ? 1 : 0;
}

// ---- decoding --------------------------------------------------------------

int32_t tk_decode_ahead(const void* data, std::size_t size) {
  if (!data || size < 2) return 0;
  auto& ahead = store().ahead;
  for (const DecodeAhead& a : ahead)
    if (a.data == data && a.size == size) return 1;
  // Decoding touches only the bytes and a QImage of its own, so it needs no
  // toolkit and may run while the toolkit starts.
  const auto* bytes = static_cast<const unsigned char*>(data);
  ahead.push_back({data, size, std::async(std::launch::async, decode_raw, bytes, size)});
  return 1;
}

int32_t tk_decode_image(int32_t number, const void* data, std::size_t size) {
  if (!data || size < 2) return 0;
  return add_image(number, decode_or_take(data, size));
}

int32_t tk_decode_sheet(int32_t number, const void* data, std::size_t size, const void* data2x,
                        std::size_t size2x) {
  if (!data || size < 2) return 0;
  auto sheet = std::make_shared<Sheet>();
  auto bytes = static_cast<const unsigned char*>(data);
  sheet->normal.assign(bytes, bytes + size);
  const QImage normal = decode_or_take(data, size);
  if (normal.isNull()) return 0;
  sheet->size = normal.size();
  // A 2x sheet whose header declares another size is none: it is never
  // decoded, whatever it claims to hold.
  auto doubled = static_cast<const unsigned char*>(data2x);
  int64_t w2 = 0, h2 = 0;
  if (doubled && peek_size(doubled, size2x, w2, h2) && w2 == 2 * int64_t(normal.width()) &&
      h2 == 2 * int64_t(normal.height()))
    sheet->doubled.assign(doubled, doubled + size2x);
  // Cutting decodes the 2x sheet when the scale asks for it.
  sheet->source = normal;
  sheet->sourceZoom = 1;
  const int32_t w = normal.width(), h = normal.height();
  SheetCut cut{sheet, QRect(0, 0, w, h), QRect(0, 0, w, h)};
  QImage pixels = render_cut(cut, w, h, device_scale());
  const int32_t n = add_sized(number, std::move(pixels), w, h, std::move(cut));
  if (n != 0) sheet->holder = n;
  return n;
}
