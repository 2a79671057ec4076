// The main road on a real WAD: open it, choose its first animation, click a
// mesh where the view shows one, turn it, commit, save, read the file back.

#include <gtest/gtest.h>

#include <cmath>

#include "EditorSession.h"
#include "SharedData.h"
#include "model/KeyFrameStream.h"

using uitest::EditorSession;
using uitest::kClearPixel;

namespace {

constexpr int kBelowStatistics = 110;

// A pixel whose neighbours all show the moveable too, scanning from the top.
bool FindMeshPixel(const EditorSession& session, int width, int height, int& x, int& y) {
  auto drawn = [&](int px, int py) { return session.PanelPixel(px, py) != kClearPixel; };
  for (y = kBelowStatistics; y < height - 1; ++y)
    for (x = 1; x < width - 1; ++x)
      if (drawn(x, y) && drawn(x - 1, y) && drawn(x + 1, y) && drawn(x, y - 1) && drawn(x, y + 1))
        return true;
  return false;
}

// A zero angle shows as 360 on the track bars.
int BarValue(float angle) {
  const int whole = static_cast<int>(std::trunc(angle)) % 360;
  return whole <= 0 ? whole + 360 : whole;
}

// Word index of mesh m's rotation in a frame: each rotation is one word, or
// two when the top bits of its first word are 00.
std::size_t RotationWord(const std::vector<std::uint16_t>& words, std::size_t frame, int m) {
  std::size_t at = frame + 9;
  for (int i = 0; i < m; ++i) at += (words[at] >> 14) == 0 ? 2 : 1;
  return at;
}

}  // namespace

TEST(RealWad, PickTurnCommitAndSaveChangesOnlyThatMeshsRotation) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  const std::filesystem::path wolf = testsupport::SharedPath("wads/wolf.wad");
  WadFile original;
  ASSERT_EQ(ReadWad(wolf.string(), original), 1);
  AnimationModel model;
  std::uint32_t total = 0;
  DecodeKeyFrames(model, original, total);
  const int g = original.moveables[0].animIndex;

  EditorSession session(std::nullopt);
  TForm2& form = session.Form();
  session.Open(wolf);
  session.Choose(0, 0);
  session.Frames(1);
  int x = 0, y = 0;
  ASSERT_TRUE(FindMeshPixel(session, form.Panel1->GetWidth(), form.Panel1->GetHeight(), x, y));
  session.ClickPanel(x, y);
  const std::wstring caption = form.GetText().Wide();
  ASSERT_EQ(caption.rfind(L"Mesh #", 0), 0u) << "no mesh at " << x << "," << y;
  const int mesh = std::stoi(caption.substr(6));
  const auto& angles = model[static_cast<std::size_t>(g)]
                           ->keyFrames[0]
                           .meshes[static_cast<std::size_t>(mesh)]
                           .angles;
  TEdit* echoes[3] = {form.Edit1, form.Edit2, form.Edit3};
  for (int axis = 0; axis < 3; ++axis)
    EXPECT_EQ(StrToInt(echoes[axis]->GetText()), BarValue(angles[static_cast<std::size_t>(axis)]))
        << axis;

  // Turn an axis the rotation already has, so that it keeps its word count.
  int axis = 0;
  const int present = (angles[0] != 360.0f) + (angles[1] != 360.0f) + (angles[2] != 360.0f);
  if (present == 1) axis = angles[1] != 360.0f ? 1 : angles[2] != 360.0f ? 2 : 0;
  TTrackBar* bars[3] = {form.TrackBar1, form.TrackBar2, form.TrackBar3};
  const String before = echoes[axis]->GetText();
  session.PressBar(bars[axis], bars[axis]->GetHeight() / 4);
  if (echoes[axis]->GetText() == before)
    session.PressBar(bars[axis], bars[axis]->GetHeight() * 3 / 4);
  const int turned = StrToInt(echoes[axis]->GetText());
  ASSERT_NE(turned, 360);
  User::Click(form.Button2);
  session.Save(session.Folder() / "wolf.wad");

  WadFile saved;
  ASSERT_EQ(ReadWad((session.Folder() / "wolf.wad").string(), saved), 1);
  ASSERT_EQ(saved.keyFrameWords.size(), original.keyFrameWords.size());
  const std::size_t frame = original.animations[static_cast<std::size_t>(g)].keyFrameOffset / 2;
  const std::size_t first = RotationWord(original.keyFrameWords, frame, mesh);
  const std::size_t count = (original.keyFrameWords[first] >> 14) == 0 ? 2 : 1;
  WadFile expected = original;
  for (std::size_t w = first; w < first + count; ++w)
    expected.keyFrameWords[w] = saved.keyFrameWords[w];
  EXPECT_EQ(SerializeWad(saved), SerializeWad(expected));

  AnimationModel reread;
  DecodeKeyFrames(reread, saved, total);
  const auto& now = reread[static_cast<std::size_t>(g)]
                        ->keyFrames[0]
                        .meshes[static_cast<std::size_t>(mesh)]
                        .angles;
  EXPECT_EQ(static_cast<int>(std::lround(now[static_cast<std::size_t>(axis)])), turned);
}
