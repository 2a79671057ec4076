#pragma once
// The track bar: a thumb on a channel between Min and Max (Min at the top of
// a vertical bar, at the left of a horizontal one). Setting Position clamps
// it into the range and fires OnChange only when it really changes. The user
// drags the thumb, presses on the channel to move the thumb there and drag on,
// or uses the arrow, page, Home and End keys. All of it arrives as messages
// through WindowProc, so that a replaced procedure sees a press before the
// thumb moves.

#include "vcl/Controls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
 public:
  // Length of the thumb along the channel, and the channel's free space at
  // each end (half the thumb), in pixels.
  static constexpr int kThumbLength = 11;
  static constexpr int kChannelInset = kThumbLength / 2 + 2;
  // Positions moved by Page Up and Page Down.
  static constexpr int kPageSize = 10;

  explicit TTrackBar(TComponent* owner) : TWinControl(owner) {}

  int GetMin() const { return min_; }
  void SetMin(int min);
  int GetMax() const { return max_; }
  void SetMax(int max);
  int GetPosition() const { return position_; }
  void SetPosition(int position);
  int GetFrequency() const { return frequency_; }
  void SetFrequency(int frequency);
  TTrackBarOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation orientation);

  Property<TTrackBar, int, &TTrackBar::GetMin, &TTrackBar::SetMin> Min{this};
  Property<TTrackBar, int, &TTrackBar::GetMax, &TTrackBar::SetMax> Max{this};
  Property<TTrackBar, int, &TTrackBar::GetPosition, &TTrackBar::SetPosition> Position{this};
  // A tick mark every Frequency positions.
  Property<TTrackBar, int, &TTrackBar::GetFrequency, &TTrackBar::SetFrequency> Frequency{this};
  Property<TTrackBar, TTrackBarOrientation, &TTrackBar::GetOrientation,
           &TTrackBar::SetOrientation>
      Orientation{this};

  TNotifyEvent OnChange;

  // The pixel along the channel (client coordinates) where a position lies,
  // and the position shown at a pixel.
  int PixelOf(int position) const;
  int PositionAt(int pixel) const;
  int ThumbCentre() const { return PixelOf(position_); }

  bool AcceptsFocus() const override { return true; }

 protected:
  void WndProc(TMessage& message) override;
  void Click() override {}
  void KeyDown(WORD key) override;

 private:
  int ChannelLength() const;
  int Along(LPARAM point) const;

  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int frequency_ = 1;
  TTrackBarOrientation orientation_ = trHorizontal;
  bool dragging_ = false;
  int dragOffset_ = 0;  // press point minus thumb centre
};
