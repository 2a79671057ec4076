#pragma once
// The rectangle of a buffer that drawing may have changed since the buffer
// was last filled with one value. Everything outside it still holds that
// value, so the next fill needs to cover only the rectangle.

#include <algorithm>

namespace d3d8 {

class TouchedArea {
 public:
  bool Empty() const { return left_ > right_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }    // inclusive
  int Bottom() const { return bottom_; }  // inclusive

  // Adds the pixels left..right, top..bottom (inclusive; nothing when empty).
  void Add(int left, int top, int right, int bottom) {
    if (left > right || top > bottom) return;
    left_ = std::min(left_, left);
    top_ = std::min(top_, top);
    right_ = std::max(right_, right);
    bottom_ = std::max(bottom_, bottom);
  }

  void Forget() { *this = TouchedArea{}; }

 private:
  int left_ = 1 << 30;
  int top_ = 1 << 30;
  int right_ = -1;
  int bottom_ = -1;
};

}  // namespace d3d8
