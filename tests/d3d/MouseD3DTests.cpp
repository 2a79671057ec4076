#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "d3d/MouseD3D.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// How far apart two angles are, ignoring whole turns.
double AngleGap(double a, double b) { return std::abs(std::remainder(a - b, kTwoPi)); }

#define EXPECT_SAME_ANGLE(actual, expected, tolerance)                  \
  do {                                                                  \
    const double gotAngle = (actual);                                   \
    EXPECT_LT(AngleGap(gotAngle, (expected)), (tolerance)) << gotAngle; \
    EXPECT_GE(gotAngle, 0.0);                                           \
    EXPECT_LT(gotAngle, kTwoPi);                                        \
  } while (0)

}  // namespace

TEST(MouseD3D, RotationYStepsByThousandTimesSpeedPerPixel) {
  MouseD3D mouse(1.2f, 6.0f);
  EXPECT_EQ(mouse.UpdateRotationY(100), 0.0f);  // first move only records
  EXPECT_SAME_ANGLE(mouse.UpdateRotationY(103), 3600.0, 1e-3);
  EXPECT_SAME_ANGLE(mouse.UpdateRotationY(101), 1200.0, 1e-3);
  EXPECT_SAME_ANGLE(mouse.UpdateRotationY(101), 1200.0, 1e-3);
}

TEST(MouseD3D, RotationXUsesFixedFactorWhateverTheSpeed) {
  for (float speed : {1.2f, 3.0f}) {
    MouseD3D mouse(speed, 6.0f);
    mouse.UpdateRotationX(50);
    EXPECT_SAME_ANGLE(mouse.UpdateRotationX(52), -2400.0, 1e-6);
    EXPECT_SAME_ANGLE(mouse.UpdateRotationX(51), -1200.0, 1e-6);
  }
}

TEST(MouseD3D, LongDragKeepsEveryStep) {
  // 200,000 single-pixel steps of 1250 each: a total of 2.5e8, far beyond
  // what a float running total could hold to the unit.
  MouseD3D drag(1.25f, 6.0f);
  drag.UpdateRotationY(0);
  float last = 0.0f;
  for (int x = 1; x <= 200000; ++x) last = drag.UpdateRotationY(x);
  EXPECT_SAME_ANGLE(last, 1250.0 * 200000, 1e-5);
}

TEST(MouseD3D, ZoomShrinksDownwardAndNeverGoesNegative) {
  MouseD3D mouse(1.2f, 6.0f);
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(10), 6.0f);
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(17), 0.001f);  // 6 - 8.4 clamps
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(12), 6.001f);

  MouseD3D exact(1.0f, 6.0f);
  exact.UpdateZoom(0);
  EXPECT_EQ(exact.UpdateZoom(6), 0.0f);  // exactly zero is left alone
}

TEST(MouseD3D, PansMoveAgainstTheMouseEachFromItsOwnCoordinate) {
  MouseD3D mouse(1.5f, 6.0f);
  mouse.UpdateRotationY(100);
  // The pans have not seen a coordinate yet: their first updates only record.
  EXPECT_EQ(mouse.UpdatePanX(10), 0.0f);
  EXPECT_EQ(mouse.UpdatePanY(20), 0.0f);
  EXPECT_FLOAT_EQ(mouse.UpdatePanX(14), -6.0f);
  EXPECT_FLOAT_EQ(mouse.UpdatePanX(12), -3.0f);
  EXPECT_FLOAT_EQ(mouse.UpdatePanY(18), 3.0f);
  EXPECT_SAME_ANGLE(mouse.UpdateRotationY(101), 1500.0, 1e-6);
}

TEST(MouseD3D, ReleaseStartsEveryValueAfreshButKeepsTheTotals) {
  MouseD3D mouse(1.0f, 6.0f);
  mouse.UpdateRotationY(0);
  mouse.UpdateRotationX(0);
  mouse.UpdateZoom(0);
  mouse.UpdatePanX(0);
  mouse.UpdatePanY(0);
  const float rotY = mouse.UpdateRotationY(1);
  const float rotX = mouse.UpdateRotationX(1);
  const float zoom = mouse.UpdateZoom(1);
  const float panX = mouse.UpdatePanX(1);
  const float panY = mouse.UpdatePanY(1);

  mouse.ResetTracking();
  EXPECT_EQ(mouse.UpdateRotationY(900), rotY);
  EXPECT_EQ(mouse.UpdateRotationX(900), rotX);
  EXPECT_EQ(mouse.UpdateZoom(-900), zoom);
  EXPECT_EQ(mouse.UpdatePanX(900), panX);
  EXPECT_EQ(mouse.UpdatePanY(-900), panY);
  // The drag then continues from the recorded coordinates.
  EXPECT_FLOAT_EQ(mouse.UpdatePanX(899), panX + 1.0f);
}
