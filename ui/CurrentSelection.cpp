// The selection as the handlers act on it. Every step is checked against the
// open WAD, so that a handler given a stale or half-typed selection does
// nothing instead of reaching past the model.

#include "model/KeyFrameStream.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

int TForm2::SelectedMoveable() const {
  const MainUnit& M = Main();
  const int m = ListBox1->GetItemIndex();
  if (m < 0 || static_cast<std::size_t>(m) >= M.moveableViews.size() ||
      static_cast<std::uint32_t>(m) >= M.wadfile.numMoveables())
    return -1;
  return m;
}

wadMoveableD3D* TForm2::SelectedView() const {
  const int m = SelectedMoveable();
  return m < 0 ? nullptr : Main().moveableViews[static_cast<std::size_t>(m)].get();
}

int TForm2::GlobalAnimation() const {
  const MainUnit& M = Main();
  const int m = SelectedMoveable();
  if (m < 0 || M.currentAnimation < 0) return -1;
  const auto count = CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(m));
  if (static_cast<std::uint32_t>(M.currentAnimation) >= count) return -1;
  const int g = M.wadfile.moveables[static_cast<std::size_t>(m)].animIndex + M.currentAnimation;
  if (g < 0 || static_cast<std::size_t>(g) >= M.animaciones.size()) return -1;
  return g;
}

std::optional<int> TForm2::KeyFrameNumber() const {
  try {
    return StrToInt(SpinEdit1->GetText());
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

KeyFrame* TForm2::CurrentKeyFrame(int* number) const {
  const int g = GlobalAnimation();
  const std::optional<int> k = KeyFrameNumber();
  if (g < 0 || !k) return nullptr;
  auto& keyFrames = Main().animaciones[static_cast<std::size_t>(g)]->keyFrames;
  if (*k < 0 || static_cast<std::size_t>(*k) >= keyFrames.size()) return nullptr;
  if (number != nullptr) *number = *k;
  return &keyFrames[static_cast<std::size_t>(*k)];
}
