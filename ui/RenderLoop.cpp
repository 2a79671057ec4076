// The render loop: the idle handler draws a frame each time the application
// is idle, and the window's paint event draws the same frame. A frame clears
// the view, steps playback, draws the chosen moveable posed at the shown
// keyframe (and its bounding box on request), writes the statistics and
// presents; a failed present resets the device.

#include <cstdio>

#include "d3d/Device8.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/ViewProjection.h"

namespace {

constexpr float kEyeDistance = 800.0f;
constexpr float kEyeDistanceAfterReset = 700.0f;
// With "Show Dide Translation" the camera rises to where moved keyframes are.
constexpr float kTranslationEyeHeight = 220.0f;

constexpr int kStatsLineHeight = 20;
constexpr int kStatsLineWidth = 200;
constexpr D3DCOLOR kStatsColour = 0xFF000000;  // opaque black

}  // namespace

void TForm2::MyIdleHandler(TObject* Sender, bool& Done) {
  Done = false;
  Paint(this);
}

void TForm2::Paint(TObject* Sender) {
  MainUnit& M = Main();
  if (M.d3dDevice == nullptr) return;
  M.d3dDevice->Clear(true);
  if (!DrawFrame()) return;
  WriteStatistics();
  if (FAILED(M.d3dDevice->Present()))
    RecoverDevice();
  else
    M.fpsTimer.Presented();
}

// Draws the scene of the frame; false when the frame ends right after the
// clear because the moveable list no longer shows the chosen moveable.
bool TForm2::DrawFrame() {
  MainUnit& M = Main();
  dxDevice8& device = *M.d3dDevice;
  bool translation = false;
  bool drawMoveable = M.currentMoveable != nullptr;
  if (M.currentMoveable != nullptr && M.currentAnimation != -1) {
    if (ListBox1->GetItemIndex() != M.currentMoveable->GetMoveableIndex()) {
      M.currentAnimation = -1;
      return false;
    }
    const int g = GlobalAnimation();
    drawMoveable = g >= 0;
    if (g >= 0) {
      const float period = static_cast<float>(
          M.wadfile.animations[static_cast<std::size_t>(g)].frameRate * kFrameRateStepMs);
      if (M.playbackTimer.Elapsed(period) && M.isPlaying)
        SpinEdit1->SetValue(SpinEdit1->GetValue() + 1);
      // One past the last keyframe wraps to the first.
      if (SpinEdit1->GetValue() == SpinEdit1->GetMaxValue()) SpinEdit1->SetValue(0);
      const bool hasKeyFrames = M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames() > 0;
      // While the keyframe field holds no keyframe's number (half typed, past
      // the end), the view keeps showing the keyframe it showed last; an
      // animation without keyframes shows the bind pose.
      if (hasKeyFrames) {
        const std::optional<int> k = KeyFrameNumber();
        wadMoveableD3D& view = *M.currentMoveable;
        drawMoveable = (k && view.Select(M.currentAnimation, *k)) ||
                       view.Select(M.currentAnimation, view.ShownKeyFrame());
      }
      translation = CheckBox2->GetChecked() && hasKeyFrames;
    }
  }
  const float eyeHeight = translation ? kTranslationEyeHeight : 0.0f;
  device.SetEye(0.0f, eyeHeight, kEyeDistance);
  device.SetLookAt(0.0f, eyeHeight, 0.0f);
  const auto panX = static_cast<std::int32_t>(M.viewPan[0]);
  const auto panY = static_cast<std::int32_t>(M.viewPan[1]);
  if (drawMoveable)
    M.currentMoveable->Draw(device, panX, panY, 0, M.viewRotation[0], M.viewRotation[1], M.viewZoom,
                            translation);
  int k = 0;
  if (SelectedMoveable() >= 0 && M.currentAnimation != -1 && CheckBox1->GetChecked() &&
      CheckBox2->GetChecked() && CurrentKeyFrame(&k) != nullptr)
    M.cages.DrawKeyFrameBox(device, M.animaciones, GlobalAnimation(), k, panX, panY, 0,
                            M.viewRotation[0], M.viewRotation[1], M.viewZoom,
                            M.showCalculatedBounds);
  return true;
}

void TForm2::WriteStatistics() {
  MainUnit& M = Main();
  int vertices = 0, triangles = 0, quads = 0;
  for (const dxBufferTextura* buffer : M.selectedBuffers) {
    triangles += buffer->GetNumTriangles();
    quads += buffer->GetNumQuads();
    vertices += buffer->GetNumVertices();
  }
  auto& lines = M.statsLines;
  M.lastFps = M.fpsTimer.FramesPerSecond();
  if (M.lastFps != -1.0f)
    std::snprintf(lines[0].data(), kStatsLineBytes, "Frames por segundo: %.2f", M.lastFps);
  std::snprintf(lines[1].data(), kStatsLineBytes, "Numero de Vertices: %d", vertices);
  std::snprintf(lines[2].data(), kStatsLineBytes, "Numero de Tris: %d", triangles);
  std::snprintf(lines[3].data(), kStatsLineBytes, "Numero de Cuads: %d", quads);
  // "Nº" in the font's code page: the masculine ordinal is byte 0xBA.
  std::snprintf(lines[4].data(), kStatsLineBytes, "N\xBA VertexBuffers: %d",
                static_cast<int>(M.selectedBuffers.size()));
  ID3DXFont* font = M.stats.statsFont;
  if (font == nullptr) return;
  font->Begin();
  for (int i = 0; i < kStatsLineCount; ++i) {
    M.stats.statsRect = RECT{0, kStatsLineHeight * i, kStatsLineWidth, kStatsLineHeight * (i + 1)};
    font->DrawTextA(lines[static_cast<std::size_t>(i)].data(), -1, &M.stats.statsRect,
                    DT_TOP | DT_LEFT, kStatsColour);
  }
  font->End();
}

void TForm2::RecoverDevice() {
  MainUnit& M = Main();
  M.d3dDevice->Reset(M.d3dMain.GetPresentParameters(true));
  SetViewProjection();
  M.d3dDevice->SetClearColor(kClearRed, kClearGreen, kClearBlue);
  M.d3dDevice->SetEye(0.0f, 0.0f, kEyeDistanceAfterReset);
  M.d3dDevice->SetLookAt(0.0f, 0.0f, 0.0f);
}
