#pragma once
// The projection and clear colour of the 3D view, set at start-up and again
// after the device has been reset.

inline constexpr float kNearPlane = 1.0f;
inline constexpr float kFarPlane = 3000.0f;
inline constexpr float kFieldOfView = 0.7853982f;  // a quarter of pi
inline constexpr int kClearRed = 0;
inline constexpr int kClearGreen = 255;
inline constexpr int kClearBlue = 255;

// The window's width over its height in whole numbers, as the view has always
// been set up; a window higher than wide would give 0, so it gets the real
// ratio instead, and a window of no height the ratio 1.
float ViewAspect(int width, int height);
