#include "vcl/TrackBar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void TTrackBar::SetMin(int min) {
  min_ = min;
  if (max_ < min_) max_ = min_;
  Changed();
  SetPosition(position_);
}

void TTrackBar::SetMax(int max) {
  max_ = max;
  if (min_ > max_) min_ = max_;
  Changed();
  SetPosition(position_);
}

void TTrackBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Changed();
  OnChange(this);
}

void TTrackBar::SetFrequency(int frequency) {
  frequency_ = frequency;
  Changed();
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  orientation_ = orientation;
  Changed();
}

int TTrackBar::ChannelLength() const {
  const int length = orientation_ == trVertical ? GetHeight() : GetWidth();
  return std::max(1, length - 2 * kChannelInset);
}

int TTrackBar::PixelOf(int position) const {
  if (max_ == min_) return kChannelInset;
  const double fraction = static_cast<double>(position - min_) / (max_ - min_);
  return kChannelInset + static_cast<int>(std::lround(fraction * ChannelLength()));
}

int TTrackBar::PositionAt(int pixel) const {
  const double fraction = static_cast<double>(pixel - kChannelInset) / ChannelLength();
  const long position = min_ + std::lround(fraction * (max_ - min_));
  return static_cast<int>(std::clamp<long>(position, min_, max_));
}

int TTrackBar::Along(LPARAM point) const {
  return orientation_ == trVertical ? PointParamY(point) : PointParamX(point);
}

void TTrackBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: {
      const int pixel = Along(message.LParam);
      const int offset = pixel - ThumbCentre();
      // A press on the thumb grabs it where it is; a press beside it moves
      // the thumb under the pointer first.
      const bool onThumb = std::abs(offset) <= kThumbLength / 2;
      dragOffset_ = onThumb ? offset : 0;
      dragging_ = true;
      if (!onThumb) SetPosition(PositionAt(pixel));
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (message.WParam & MK_LBUTTON))
        SetPosition(PositionAt(Along(message.LParam) - dragOffset_));
      break;
    case WM_LBUTTONUP: dragging_ = false; break;
    default: break;
  }
  TWinControl::WndProc(message);
}

void TTrackBar::KeyDown(WORD key) {
  switch (key) {
    case VK_UP:
    case VK_LEFT: SetPosition(position_ - 1); break;
    case VK_DOWN:
    case VK_RIGHT: SetPosition(position_ + 1); break;
    case VK_PRIOR: SetPosition(position_ - kPageSize); break;
    case VK_NEXT: SetPosition(position_ + kPageSize); break;
    case VK_HOME: SetPosition(min_); break;
    case VK_END: SetPosition(max_); break;
    default: break;
  }
}
