// The editor on real WADs: lara's moveables listed with the names of the
// object table, and the main road on wolf: click a mesh where the view shows
// one, turn it, commit, save, and read the file back.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>

#include "EditorSession.h"
#include "SharedData.h"
#include "model/KeyFrameStream.h"

using testsupport::SharedPath;
using uitest::EditorSession;

TEST(RealWad, ListsLarasMoveablesWithTheNamesOfTheObjectTable) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  SKIP_WITHOUT_SHARED("data/tr4-object-names.tsv");
  std::map<std::uint32_t, std::string> names;
  std::ifstream table(SharedPath("data/tr4-object-names.tsv"));
  std::string line;
  std::getline(table, line);  // the heading
  while (std::getline(table, line))
    if (const auto tab = line.find('\t'); tab != std::string::npos)
      names[static_cast<std::uint32_t>(std::stoul(line.substr(0, tab)))] = line.substr(tab + 1);
  WadFile lara;
  ASSERT_EQ(ReadWad(SharedPath("wads/lara.wad").string(), lara), 1);

  EditorSession session(uitest::DataFileText("Strings.xml"));
  session.Open(SharedPath("wads/lara.wad"));
  const std::vector<String> lines = uitest::ListLines(session.Form().ListBox1);
  ASSERT_EQ(lines.size(), lara.moveables.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], IntToStr(static_cast<int>(i)) + L"-" +
                            String::FromUtf8(names[lara.moveables[i].objectId]));
}

TEST(RealWad, PickTurnCommitAndSaveChangesOnlyThatMeshsRotation) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  WadFile original;
  ASSERT_EQ(ReadWad(SharedPath("wads/wolf.wad").string(), original), 1);
  EditorSession session;
  TForm2& form = session.Form();
  session.Open(SharedPath("wads/wolf.wad"));
  session.Choose(0, 0);
  session.Frames(1);
  // Click the first pixel, below the statistics, whose neighbours all show the moveable.
  const int width = form.Panel1->GetWidth(), height = form.Panel1->GetHeight();
  auto drawn = [&](int x, int y) { return session.PanelPixel(x, y) != uitest::kClearPixel; };
  int x = 1, y = 110;
  while (y < height - 1 &&
         !(drawn(x, y) && drawn(x - 1, y) && drawn(x + 1, y) && drawn(x, y - 1) && drawn(x, y + 1)))
    if (++x == width - 1) x = 1, ++y;
  session.ClickPanel(x, y);
  const std::wstring caption = form.GetText().Wide();
  ASSERT_EQ(caption.rfind(L"Mesh #", 0), 0u) << "no mesh at " << x << "," << y;
  const auto mesh = static_cast<std::size_t>(std::stoi(caption.substr(6)));

  // Turn an axis the rotation already has (a shown 360 is none), so that it
  // keeps its word count.
  TEdit* echoes[3] = {form.Edit1, form.Edit2, form.Edit3};
  TTrackBar* bars[3] = {form.TrackBar1, form.TrackBar2, form.TrackBar3};
  int axis = 0;
  for (int a : {2, 1, 0})
    if (echoes[a]->GetText() != String(L"360")) axis = a;
  const String before = echoes[axis]->GetText();
  session.PressBar(bars[axis], bars[axis]->GetHeight() / 4);
  if (echoes[axis]->GetText() == before)
    session.PressBar(bars[axis], bars[axis]->GetHeight() * 3 / 4);
  const int turned = StrToInt(echoes[axis]->GetText());
  ASSERT_NE(turned, 360);
  const WadFile saved = session.CommitSaveAndRead();

  // Only the words of that mesh's rotation in the first keyframe changed:
  // each rotation is one word, or two when its first word's top bits are 00.
  const int g = original.moveables[0].animIndex;
  std::size_t first = original.animations[static_cast<std::size_t>(g)].keyFrameOffset / 2 + 9;
  for (std::size_t m = 0; m < mesh; ++m)
    first += (original.keyFrameWords[first] >> 14) == 0 ? 2 : 1;
  const std::size_t count = (original.keyFrameWords[first] >> 14) == 0 ? 2 : 1;
  ASSERT_EQ(saved.keyFrameWords.size(), original.keyFrameWords.size());
  WadFile expected = original;
  for (std::size_t w = first; w < first + count; ++w)
    expected.keyFrameWords[w] = saved.keyFrameWords[w];
  EXPECT_EQ(SerializeWad(saved), SerializeWad(expected));
  AnimationModel reread;
  std::uint32_t total = 0;
  DecodeKeyFrames(reread, saved, total);
  const float now = reread[static_cast<std::size_t>(g)]->keyFrames[0].meshes[mesh].angles[axis];
  EXPECT_EQ(std::lround(now), turned);
}

// Every real WAD, opened in the editor, looked through (each moveable's first
// animation chosen, its last keyframe shown and drawn) and saved with no edit,
// is the same file byte for byte.
TEST(RealWad, SavedWithoutAnEditIsTheSameFile) {
  SKIP_WITHOUT_SHARED("wads");
  const std::vector<std::filesystem::path> wads = testsupport::SharedWads();
  ASSERT_FALSE(wads.empty());
  for (const std::filesystem::path& wad : wads) {
    EditorSession session;
    session.Open(wad);
    TForm2& form = session.Form();
    for (int m = 0; m < form.ListBox1->GetItems()->GetCount(); ++m) {
      session.Choose(m, 0);
      session.ShowKeyFrame(-1);
      session.Frames(1);
    }
    session.Save(session.Folder() / "same.wad");
    EXPECT_EQ(testsupport::ReadBytes(session.Folder() / "same.wad"), testsupport::ReadBytes(wad))
        << wad.filename();
    EXPECT_EQ(session.Boxes().size(), 1u) << wad.filename();  // "File Saved" only
  }
}
