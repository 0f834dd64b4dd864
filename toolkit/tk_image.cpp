// Numbered images: creation, copies, grabbing, rescaling, freeing and the
// inspection helpers. Images are opaque RGB (QImage::Format_RGB32).
//
// Sections: table · creation and copies · queries · inspection · decoding.
#include <QImage>

#include <algorithm>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

namespace {
Table<Image>& images() {
  static Table<Image> table(kImageBase, kFontBase);
  return table;
}

bool usable_size(int32_t w, int32_t h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide &&
         int64_t(w) * h <= kMaxImagePixels;
}

void free_number(int32_t number) {
  Image* img = images().find(number);
  if (!img) return;
  release_drawing_target(number);
  if (img->shown) image_freed(img->handle, img->pixels);
  drop_handle(img->handle);
  images().items.erase(number);
}
}  // namespace

Image* find_image(int32_t number) { return images().find(number); }

const QImage* image_by_handle(int32_t handle) {
  Image* img = find_image(handle_number(handle, HandleKind::Image));
  return img ? &img->pixels : nullptr;
}

int32_t add_image(int32_t number, QImage pixels) {
  if (pixels.isNull()) return 0;
  int32_t n = images().pick(number);
  if (n == 0) return 0;
  free_number(n);
  if (pixels.format() != QImage::Format_RGB32)
    pixels = pixels.convertToFormat(QImage::Format_RGB32);
  if (pixels.isNull()) return 0;  // out of memory
  images().items[n] = Image{std::move(pixels), new_handle(HandleKind::Image, n)};
  return n;
}

}  // namespace tk

using namespace tk;

// ---- creation and copies ---------------------------------------------------

int32_t tk_create_image(int32_t number, int32_t w, int32_t h) {
  if (!usable_size(w, h)) return 0;
  QImage pixels(w, h, QImage::Format_RGB32);
  if (pixels.isNull()) return 0;
  pixels.fill(0xFF000000u);
  return add_image(number, std::move(pixels));
}

int32_t tk_copy_image(int32_t source, int32_t number) {
  Image* src = find_image(source);
  if (!src) return 0;
  QImage pixels = src->pixels.copy();
  return add_image(number, std::move(pixels));
}

int32_t tk_grab_image_region(int32_t source, int32_t number, int32_t x, int32_t y, int32_t w,
                             int32_t h) {
  Image* src = find_image(source);
  if (!src || !usable_size(w, h)) return 0;
  // Whatever lies outside the source stays black, for any rectangle.
  QImage pixels(w, h, QImage::Format_RGB32);
  if (pixels.isNull()) return 0;
  pixels.fill(0xFF000000u);
  const QImage& from = src->pixels;
  int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  int64_t x1 = std::min<int64_t>(int64_t(x) + w, from.width());
  int64_t y1 = std::min<int64_t>(int64_t(y) + h, from.height());
  for (int64_t sy = y0; sy < y1; ++sy) {
    const QRgb* in = reinterpret_cast<const QRgb*>(from.constScanLine(int(sy)));
    QRgb* out = reinterpret_cast<QRgb*>(pixels.scanLine(int(sy - y)));
    if (x1 > x0) std::copy(in + x0, in + x1, out + (x0 - x));
  }
  return add_image(number, std::move(pixels));
}

int32_t tk_resize_image(int32_t image, int32_t w, int32_t h) {
  Image* img = find_image(image);
  if (!img || !usable_size(w, h)) return 0;
  if (img->pixels.width() == w && img->pixels.height() == h) return 1;
  QImage scaled =
      img->pixels.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (scaled.isNull()) return 0;
  release_drawing_target(image);
  img->pixels = scaled.convertToFormat(QImage::Format_RGB32);
  image_changed(image);
  return 1;
}

int32_t tk_free_image(int32_t image) {
  if (!find_image(image)) return 0;
  free_number(image);
  return 1;
}

void tk_free_all_images() {
  std::vector<int32_t> numbers;
  for (auto& [n, img] : images().items) numbers.push_back(n);
  for (int32_t n : numbers) free_number(n);
}

// ---- queries ---------------------------------------------------------------

int32_t tk_image_exists(int32_t image) { return find_image(image) ? 1 : 0; }

int32_t tk_image_width(int32_t image) {
  Image* img = find_image(image);
  return img ? img->pixels.width() : 0;
}

int32_t tk_image_height(int32_t image) {
  Image* img = find_image(image);
  return img ? img->pixels.height() : 0;
}

int32_t tk_image_handle(int32_t image) {
  Image* img = find_image(image);
  return img ? img->handle : 0;
}

// The drawing output of an image is its bitmap handle.
int32_t tk_image_output(int32_t image) { return tk_image_handle(image); }

// ---- inspection ------------------------------------------------------------

int32_t tk_image_pixel(int32_t image, int32_t x, int32_t y) {
  Image* img = find_image(image);
  if (!img || x < 0 || y < 0 || x >= img->pixels.width() || y >= img->pixels.height())
    return -1;
  return rgb_to_packed(img->pixels.pixel(x, y));
}

int32_t tk_live_image_count() { return static_cast<int32_t>(images().items.size()); }

int32_t tk_save_image(int32_t image, const std::string& path) {
  Image* img = find_image(image);
  if (!img) return 0;
  return img->pixels.save(qs(path), "PNG") ? 1 : 0;
}

// ---- decoding --------------------------------------------------------------

int32_t tk_decode_image(int32_t number, const void* data, std::size_t size) {
  if (!data || size < 2) return 0;
  auto bytes = static_cast<const unsigned char*>(data);
  QImage pixels = (bytes[0] == 'B' && bytes[1] == 'M') ? decode_bmp(bytes, size)
                                                       : decode_png(bytes, size);
  return add_image(number, std::move(pixels));
}
