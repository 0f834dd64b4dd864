#pragma once
// An image number with one owner: the image is freed when its owner goes or
// takes another image, and never twice. Drawing code holds the pieces it
// cuts in these, so no early return can leak one.
#include <cstdint>
#include <utility>

#include "toolkit/tk.h"

/// Owns one image number and frees the image when it goes.
class TkImage {
 public:
  TkImage() = default;
  // Takes ownership of `image` (0 = none).
  explicit TkImage(int32_t image) : image_(image) {}
  ~TkImage() { reset(); }
  /// Takes the other owner's image; the other holds none.
  TkImage(TkImage&& other) noexcept : image_(std::exchange(other.image_, 0)) {}
  /// Frees the held image and takes the other owner's.
  TkImage& operator=(TkImage&& other) noexcept {
    if (this != &other) reset(std::exchange(other.image_, 0));
    return *this;
  }
  TkImage(const TkImage&) = delete;
  TkImage& operator=(const TkImage&) = delete;

  // The image number, 0 when none is held.
  int32_t get() const { return image_; }
  // True while an image is held and still exists.
  explicit operator bool() const { return image_ != 0 && tk_image_exists(image_) != 0; }
  // Frees the held image (unless it is `image` itself) and holds `image`.
  void reset(int32_t image = 0) {
    if (image_ != 0 && image_ != image && tk_image_exists(image_)) tk_free_image(image_);
    image_ = image;
  }
  // Gives the image up without freeing it; the caller owns it then.
  int32_t release() { return std::exchange(image_, 0); }

 private:
  int32_t image_ = 0;  // toolkit image number, 0 = none
};
