// The Animation Wizard ("GO!") and its "Undo" on the plate of the test WAD,
// whose three keyframes are given distinct rotations. The expected angles come
// from this file's own rotation arithmetic in double precision: quaternions of
// the first and last rotations, slerp along the shorter arc, and the
// whole-degree angles of the result.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SharedData.h"
#include "TestWad.h"
#include "model/KeyFrameEditing.h"
#include "model/KeyFrameStream.h"

using namespace uitest;

namespace {

struct Quaternion {
  double w, x, y, z;
};

constexpr double kDegree = std::numbers::pi / 180.0;

Quaternion operator*(const Quaternion& a, const Quaternion& b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

// A mesh's rotation from its angles (x, y, z) in degrees: roll about Z, then
// pitch about X, then yaw about Y.
Quaternion RotationOf(const std::array<float, 3>& angles) {
  const auto half = [](float degrees) { return degrees * kDegree / 2; };
  const Quaternion pitch{std::cos(half(angles[0])), std::sin(half(angles[0])), 0, 0};
  const Quaternion yaw{std::cos(half(angles[1])), 0, std::sin(half(angles[1])), 0};
  const Quaternion roll{std::cos(half(angles[2])), 0, 0, std::sin(half(angles[2]))};
  return yaw * pitch * roll;
}

double Dot(const Quaternion& a, const Quaternion& b) {
  return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
}

// Along the shorter arc; t outside 0..1 goes on along the same circle.
Quaternion Slerp(const Quaternion& a, Quaternion b, double t) {
  if (Dot(a, b) < 0) b = {-b.w, -b.x, -b.y, -b.z};
  const double theta = std::acos(std::min(Dot(a, b), 1.0));
  const double wa = theta < 1e-9 ? 1 - t : std::sin((1 - t) * theta) / std::sin(theta);
  const double wb = theta < 1e-9 ? t : std::sin(t * theta) / std::sin(theta);
  return {wa * a.w + wb * b.w, wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
}

double DegreesApart(const Quaternion& a, const Quaternion& b) {
  return 2 * std::acos(std::min(std::abs(Dot(a, b)), 1.0)) / kDegree;
}

// A mesh written by the wizard carries the rotation in whole degrees from 0 to
// 359, committed and working alike; away from the poles its angles are the
// pitch, yaw and roll of the rotation, each rounded.
void ExpectCarries(const MeshPose& pose, const Quaternion& q, const std::string& where) {
  for (float angle : pose.angles)
    EXPECT_TRUE(angle >= 0 && angle <= 359 && angle == std::floor(angle)) << where << ": " << angle;
  EXPECT_EQ(pose.workingAngles, pose.angles) << where;
  EXPECT_LT(DegreesApart(RotationOf(pose.angles), q), 1.5) << where;
  const double pitch = std::asin(std::clamp(2 * (q.x * q.w - q.y * q.z), -1.0, 1.0));
  if (std::cos(pitch) < 0.01) return;
  const std::array<double, 3> euler{
      pitch / kDegree,
      std::atan2(2 * (q.x * q.z + q.y * q.w), 1 - 2 * (q.x * q.x + q.y * q.y)) / kDegree,
      std::atan2(2 * (q.x * q.y + q.z * q.w), 1 - 2 * (q.x * q.x + q.z * q.z)) / kDegree};
  for (int axis = 0; axis < 3; ++axis)  // degrees from the expected angle, the short way round
    EXPECT_LE(std::abs(std::remainder(pose.angles[axis] - euler[axis], 360.0)), 0.5 + 1e-3)
        << where << " axis " << axis;
}

// Keyframe 0 as the test WAD has it, (180, -, 90) and the small square still;
// keyframe 1 pitched 90 degrees, (90, 30, -), the small square 30 about Z;
// keyframe 2 (45, 300, 20), the small square 90 about Y. Mesh 0 takes a
// two-word rotation of 10-bit fields, mesh 1 one word.
WadFile WizardWad() {
  WadFile wad = BuildTestWad();
  const auto set = [&](int k, std::uint32_t x, std::uint32_t y, std::uint32_t z, int small) {
    const std::uint32_t v = x << 20 | y << 10 | z;
    const auto at = static_cast<std::size_t>(k * kFrameWords);
    wad.keyFrameWords[at + kBigMeshWord] = static_cast<std::uint16_t>(v >> 16);
    wad.keyFrameWords[at + kBigMeshWord + 1] = static_cast<std::uint16_t>(v);
    wad.keyFrameWords[at + kSmallMeshWord] = static_cast<std::uint16_t>(small);
  };
  set(1, 256, 85, 0, 0xC000 | 30 * 4096 / 360);
  set(2, 128, 853, 57, 0x8000 | 1024);
  return wad;
}

struct WizardSession : EditorSession {
  WizardSession() : file(WriteTestWad(Folder() / "wizard.wad", WizardWad())) {
    Open(file);
    Choose(0, 0);
    Frames(1);
  }
  // Types the four fields, sets the inverse box, and presses "GO!".
  void Go(const String& first, const String& last, const String& length, const String& start,
          bool inverse = false) {
    TForm2& f = Form();
    User::TypeText(f.Edit14, first);
    User::TypeText(f.Edit15, last);
    User::TypeText(f.Edit16, length);
    User::TypeText(f.Edit17, start);
    if (f.CheckBox4->GetChecked() != inverse) User::Click(f.CheckBox4);
    User::Click(f.Button9);
  }
  std::vector<KeyFrame>& Plate() { return Main().animaciones[0]->keyFrames; }
  std::filesystem::path file;
};

const MessageRecord kDone{L"Done!", L" ", MB_OK};

}  // namespace

// Length 1, 2 and 5, with and without the inverse option, then a run whose
// first keyframe is pitched 90 degrees: the inserted keyframes carry the
// slerped rotations and the start keyframe's root offset, the others move up
// whole, and the saved file holds them.
TEST(AnimationWizard, InsertsSlerpedRotationsThatSaveAndReadBack) {
  struct Run {
    std::size_t first, last, length, start;
    bool inverse;
  };
  for (const Run& run : std::vector<Run>{{0, 2, 1, 1, false}, {0, 2, 2, 1, false}, {0, 2, 5, 1, false},
                                         {0, 2, 1, 1, true}, {0, 2, 2, 1, true}, {0, 2, 5, 1, true},
                                         {1, 2, 3, 2, false}}) {
    const std::string name = "first " + std::to_string(run.first) + " length " +
                             std::to_string(run.length) + (run.inverse ? " inverse" : "");
    WizardSession session;
    const std::vector<KeyFrame> before = session.Plate();
    const auto text = [](std::size_t n) { return IntToStr(static_cast<int>(n)); };
    session.Go(text(run.first), text(run.last), text(run.length), text(run.start), run.inverse);
    EXPECT_EQ(session.Boxes(), std::vector{kDone}) << name;
    const std::vector<KeyFrame>& after = session.Plate();
    ASSERT_EQ(after.size(), before.size() + run.length) << name;
    for (std::size_t k = 0; k < before.size(); ++k)
      EXPECT_EQ(after[k < run.start ? k : k + run.length], before[k]) << name << " keyframe " << k;
    for (std::size_t i = 0; i < run.length; ++i) {
      const KeyFrame& inserted = after[run.start + i];
      const double t = run.length == 1 ? 0.0 : (run.inverse ? -1.0 : 1.0) * i / (run.length - 1);
      EXPECT_EQ(std::tie(inserted.rootOffset, inserted.workingRootOffset, inserted.workingBox),
                std::tie(before[run.start].rootOffset, before[run.start].rootOffset, inserted.box));
      for (std::size_t j = 0; j < 2; ++j)
        ExpectCarries(inserted.meshes[j],
                      Slerp(RotationOf(before[run.first].meshes[j].angles),
                            RotationOf(before[run.last].meshes[j].angles), t),
                      name + " inserted " + std::to_string(i) + " mesh " + std::to_string(j));
    }
    // The saved words hold each angle to a third of a degree.
    AnimationModel read;
    std::uint32_t total = 0;
    ASSERT_EQ(DecodeKeyFrames(read, session.CommitSaveAndRead(), total), 1) << name;
    ASSERT_EQ(read[0]->keyFrames.size(), after.size()) << name;
    for (std::size_t k = 0; k < after.size(); ++k)
      for (std::size_t j = 0; j < 2; ++j)
        EXPECT_LT(DegreesApart(RotationOf(read[0]->keyFrames[k].meshes[j].angles),
                               RotationOf(after[k].meshes[j].angles)), 2.0)
            << name << " saved keyframe " << k << " mesh " << j;
  }
}

// Run, Save, Undo, Save gives the file back byte for byte, on the test WAD,
// lara.wad and wolf.wad.
TEST(AnimationWizard, SaveUndoSaveGivesTheFileBack) {
  std::vector<std::filesystem::path> files{""};  // the session's own
  for (const char* name : {"wads/lara.wad", "wads/wolf.wad"})
    if (std::filesystem::exists(testsupport::SharedPath(name))) files.push_back(testsupport::SharedPath(name));
  for (const std::filesystem::path& file : files) {
    WizardSession session;
    const std::filesystem::path opened = file.empty() ? session.file : file;
    session.Open(opened);
    session.Choose(0, 0);
    const auto g = static_cast<std::size_t>(Main().wadfile.moveables[0].animIndex);
    session.Go(L"0", IntToStr(Main().animaciones[g]->numKeyFrames() - 1), L"4", L"0");
    const auto original = testsupport::ReadBytes(opened);
    session.Save(session.Folder() / "enlarged.wad");
    EXPECT_FALSE(testsupport::ReadBytes(session.Folder() / "enlarged.wad") == original) << file;
    User::Click(session.Form().Button12);
    session.Save(session.Folder() / "undone.wad");
    EXPECT_TRUE(testsupport::ReadBytes(session.Folder() / "undone.wad") == original) << file;
  }
  if (files.size() < 3) GTEST_SKIP() << "shared data not found: " << testsupport::SharedPath("wads");
}

// A long, slow run holds runs of keyframes posed alike: each inserted keyframe
// stores the box "Calculate Bounds" measures for it.
TEST(AnimationWizard, EveryInsertedKeyFrameHoldsTheBoxOfItsOwnPose) {
  WizardSession session;
  constexpr int kLength = 400;
  session.Go(L"0", L"1", IntToStr(kLength), L"1");
  const std::vector<KeyFrame>& plate = session.Plate();
  int posedAlike = 0;
  for (int k = 1; k <= kLength; ++k) {
    const KeyFrame &inserted = plate.at(static_cast<std::size_t>(k)), &before = plate[k - 1u];
    posedAlike += std::ranges::equal(inserted.meshes, before.meshes, {}, &MeshPose::angles, &MeshPose::angles);
    session.ShowKeyFrame(k);
    User::Click(session.Form().Button4);
    EXPECT_EQ(inserted.workingBox, inserted.box) << k;
  }
  EXPECT_GT(posedAlike, kLength / 4);
}

// A track-bar edit that was never committed is neither an end of the run nor
// part of the copy, even on a keyframe no frame has shown yet; Undo puts every
// keyframe back and the save is the file. Undo acts only on the animation of
// the run, as the run left it: not after another moveable was chosen, not on
// another moveable's animation of as many keyframes, nor after the count
// changed.
TEST(AnimationWizard, UndoRestoresOnlyTheAnimationOfTheRunAsItLeftIt) {
  WizardSession session;
  TForm2& form = session.Form();
  const std::vector<KeyFrame> before = session.Plate();
  session.ShowKeyFrame(2);
  session.ClickPanel(kPlateX, kPlateY);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  const Quaternion committed = RotationOf(before[2].meshes[0].angles);
  ASSERT_GT(DegreesApart(RotationOf(session.Plate()[2].meshes[0].workingAngles), committed), 10.0);
  session.Go(L"2", L"2", L"2", L"0");
  ASSERT_EQ(session.Plate().size(), 5u);
  for (std::size_t k = 0; k < 2; ++k)
    ExpectCarries(session.Plate()[k].meshes[0], committed, "inserted " + std::to_string(k));
  session.ShowKeyFrame(4);
  session.Frames(1);
  User::Click(form.Button12);
  EXPECT_EQ(Main().currentMoveable->ShownKeyFrame(), 0);  // not the removed keyframe 4
  EXPECT_EQ(session.Boxes().back(), (MessageRecord{L"Animation Undone", L" ", MB_OK}));
  EXPECT_FALSE(form.Button12->GetEnabled());  // one level only
  EXPECT_EQ(session.Plate(), before);
  session.Frames(2);
  session.Save(session.Folder() / "saved.wad");
  EXPECT_EQ(testsupport::ReadBytes(session.Folder() / "saved.wad"), testsupport::ReadBytes(session.file));

  session.Choose(1, 0);
  session.Go(L"0", L"1", L"1", L"1");  // moveable 1's animation: 2 + 1 keyframes, as many as the plate
  ASSERT_TRUE(form.Button12->GetEnabled());
  const std::vector<KeyFrame> run = Main().animaciones[2]->keyFrames;
  ASSERT_EQ(run.size(), before.size());
  const std::size_t boxes = session.Boxes().size();
  User::ChooseItem(form.ListBox1, 0);
  EXPECT_FALSE(form.Button12->GetEnabled());
  form.Button12Click(nullptr);  // as if the button had stayed enabled, with no animation chosen
  User::ChooseItem(form.ComboBox1, 0);
  form.Button12Click(nullptr);  // and with the plate's chosen
  EXPECT_EQ(session.Plate(), before);
  EXPECT_EQ(Main().animaciones[2]->keyFrames, run);
  EXPECT_EQ(session.Boxes().size(), boxes);

  session.Go(L"0", L"2", L"2", L"1");
  ASSERT_EQ(DeleteKeyFrame(Main().animaciones, 0, 0), 1);  // a count the run did not leave
  const std::vector<KeyFrame> changed = session.Plate();
  User::Click(form.Button12);
  EXPECT_FALSE(form.Button12->GetEnabled());
  EXPECT_EQ(session.Plate(), changed);
}

// Refused runs change nothing, the undo button and its copy included; a
// Length of 0 or less runs without inserting; after "Add Animation" the
// drop-down shows no animation and the wizard does nothing.
TEST(AnimationWizard, RefusesIndexesOutsideTheAnimationAndRunsOnlyOnTheShownOne) {
  WizardSession session;
  TForm2& form = session.Form();
  const std::vector<KeyFrame> before = session.Plate();
  session.Go(L"0", L"0", L"-3", L"2");
  EXPECT_EQ(session.Boxes().back(), kDone);
  const AnimKeyFrames copy = Main().wizardUndoFrames;
  const std::wstring firstLast =
      L"First KFrame or last KFrame must be under the current number of KeyFrames";
  const std::wstring start = L"The start position must be under the current number of KeyFrames";
  // The last two: 65533 more keyframes would pass the count (a warning of its
  // own wording), and a field that is no number (the conversion error).
  for (const auto& [first, last, length, position, text] : std::vector<std::array<std::wstring, 5>>{
           {L"-1", L"0", L"2", L"0", firstLast}, {L"0", L"-1", L"2", L"0", firstLast},
           {L"3", L"0", L"2", L"0", firstLast},  {L"0", L"3", L"2", L"0", firstLast},
           {L"0", L"0", L"2", L"-1", start},     {L"0", L"0", L"2", L"3", start},
           {L"0", L"0", L"65533", L"0", L""},    {L"0", L"0", L"x", L"0", L"Error"}}) {
    const std::size_t boxes = session.Boxes().size();
    session.Go(first, last, length, position);
    ASSERT_EQ(session.Boxes().size(), boxes + 1) << first << last << length << position;
    const MessageRecord& shown = session.Boxes().back();
    const bool converting = text == L"Error";
    EXPECT_EQ(shown, (MessageRecord{converting || text.empty() ? shown.text : text,
                                    converting ? L"Error" : L"Warning",
                                    converting ? shown.type : MB_OK | MB_ICONEXCLAMATION}));
    EXPECT_TRUE(session.Plate() == before && form.Button12->GetEnabled() &&
                Main().wizardUndoFrames == copy && Main().wizardUndoLength == -3)
        << first << last << length << position;
  }

  User::ChooseMenuItem(form.AddAnimation1);
  EXPECT_EQ(form.ComboBox1->GetItemIndex(), -1);
  const std::size_t boxes = session.Boxes().size();
  session.Go(L"0", L"2", L"2", L"1");
  EXPECT_EQ(session.Boxes().size(), boxes);
  EXPECT_EQ(session.Plate(), before);
  EXPECT_FALSE(form.Button12->GetEnabled());
}
