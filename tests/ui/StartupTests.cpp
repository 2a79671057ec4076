// Start-up of the editor: the empty view, the moveable names from
// "Strings.xml", the view's projection and the end of the program when
// Direct3D cannot be had.

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "EditorSession.h"
#include "SharedData.h"
#include "TestWad.h"
#include "d3d8/Headless.h"
#include "ui/EditorEntry.h"
#include "ui/MoveableNames.h"
#include "ui/ViewProjection.h"
#include "xml/XML.h"

using uitest::EditorSession;
using uitest::kClearPixel;

TEST(EditorStartup, ShowsAnEmptyViewWithZeroCounts) {
  EditorSession session(std::nullopt);
  TForm2& form = session.Form();
  EXPECT_EQ(form.GetText(), String(L"Ulvo Dide Rizid v1.3"));
  EXPECT_FALSE(form.Undo1->GetEnabled());
  session.Frames(2);
  ASSERT_EQ(form.Panel1->Window().FrameCount(), 2);
  EXPECT_EQ(session.PanelPixel(244, 221), kClearPixel);
  EXPECT_STREQ(Main().statsLines[1].data(), "Numero de Vertices: 0");
  EXPECT_STREQ(Main().statsLines[4].data(), "N\xBA VertexBuffers: 0");
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
}

TEST(RenderLoop, CountsFramesPerSecondOverEachSecond) {
  EditorSession session(std::nullopt);
  // Ten frames 100 ms apart, the last 900 ms after the first: 10 / 0.9 s.
  for (int frame = 0; frame < 10; ++frame) {
    session.Frames(1);
    session.desktop.clock.Advance(100);
  }
  EXPECT_STREQ(Main().statsLines[0].data(), "");
  session.Frames(1);
  EXPECT_STREQ(Main().statsLines[0].data(), "Frames por segundo: 11.11");
}

TEST(RenderLoop, ResetsTheDeviceWhenItIsLostAndDrawsOn) {
  EditorSession session(std::nullopt);
  const vcl::PanelWindow& panel = session.Form().Panel1->Window();
  {
    d3d8::ScopedFault lost(d3d8::Fault::PresentDeviceLost, 1);
    session.Frames(1);
  }
  EXPECT_EQ(panel.FrameCount(), 0);
  EXPECT_EQ(d3d8::GetDeviceStats(Main().d3dDevice->GetDevice()).resets, 1u);
  session.Frames(2);
  EXPECT_EQ(panel.FrameCount(), 2);
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
}

TEST(EditorStartup, EndsInOrderWhenDirect3DCannotBeHad) {
  for (d3d8::Fault fault : {d3d8::Fault::NoDirect3D, d3d8::Fault::CreateDevice}) {
    vcl::HeadlessDesktop desktop;
    d3d8::ScopedFault failing(fault);
    Main_Initialize();
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(desktop.App().GetTerminated());
    ASSERT_EQ(desktop.messages.Boxes().size(), 1u);
    EXPECT_EQ(desktop.messages.Boxes()[0].caption, L"Error");
    EXPECT_EQ(desktop.messages.Boxes()[0].type & MB_ICONMASK, MB_ICONERROR);
    EXPECT_FALSE(desktop.App().OnIdle);
    Main_Finalize();
  }
}

TEST(EditorStartup, NamesEachMoveableByItsObjectId) {
  EditorSession named(uitest::TestNamesXml());
  named.Open(uitest::WriteTestWad(named.Folder() / "test.wad", uitest::BuildTestWad()));
  // Object 7's name of twenty two-byte letters is cut to the 31-byte buffer
  // between two letters; object 500 lies past the list.
  std::wstring cut(15, L'\u00e9');
  EXPECT_EQ(uitest::ListLines(named.Form().ListBox1),
            (std::vector<String>{L"0-PLATE", String(L"1-") + String(cut), L"2-"}));

  EditorSession unnamed(std::nullopt);
  unnamed.Open(uitest::WriteTestWad(unnamed.Folder() / "test.wad", uitest::BuildTestWad()));
  EXPECT_EQ(uitest::ListLines(unnamed.Form().ListBox1), (std::vector<String>{L"0-", L"1-", L"2-"}));
}

TEST(EditorStartup, ListsLarasMoveablesWithTheNamesOfTheObjectTable) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  SKIP_WITHOUT_SHARED("data/tr4-object-names.tsv");
  std::map<std::uint32_t, std::string> names;
  std::ifstream table(testsupport::SharedPath("data/tr4-object-names.tsv"));
  std::string line;
  std::getline(table, line);
  while (std::getline(table, line))
    if (const auto tab = line.find('\t'); tab != std::string::npos)
      names[static_cast<std::uint32_t>(std::stoul(line.substr(0, tab)))] = line.substr(tab + 1);
  WadFile lara;
  ASSERT_EQ(ReadWad(testsupport::SharedPath("wads/lara.wad").string(), lara), 1);

  EditorSession session(uitest::DataFileText("Strings.xml"));
  session.Open(testsupport::SharedPath("wads/lara.wad"));
  const std::vector<String> lines = uitest::ListLines(session.Form().ListBox1);
  ASSERT_EQ(lines.size(), lara.moveables.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], IntToStr(static_cast<int>(i)) + L"-" +
                            String::FromUtf8(names[lara.moveables[i].objectId]));
}

TEST(MoveableNames, GivesAnEmptyNameWhereThePathEnds) {
  const std::string head = R"(<?xml version="1.0" encoding="UTF-8"?><s><a/><b/><c/><d/>)";
  const std::string complete = head + R"(<o><x/><m><n name="ZERO"/><n/></m></o></s>)";
  XML document(complete.c_str(), XML::kFromText);
  EXPECT_EQ(MoveableName(&document, 0), "ZERO");
  EXPECT_EQ(MoveableName(&document, 1), "");  // no attribute
  EXPECT_EQ(MoveableName(&document, 2), "");  // past the list
  EXPECT_EQ(MoveableName(nullptr, 0), "");
  for (const std::string& shorter : {head + "</s>", head + "<o><x/></o></s>", std::string()}) {
    XML cutShort(shorter.c_str(), XML::kFromText);
    EXPECT_EQ(MoveableName(&cutShort, 0), "") << shorter;
  }
}

TEST(ViewAspect, IsTheWholeRatioUnlessThatIsZero) {
  EXPECT_EQ(ViewAspect(876, 673), 1.0f);
  EXPECT_EQ(ViewAspect(1000, 300), 3.0f);
  EXPECT_EQ(ViewAspect(300, 600), 0.5f);
  EXPECT_EQ(ViewAspect(300, 0), 1.0f);

  EditorSession session(std::nullopt);
  D3DMATRIX projection{};
  Main().d3dDevice->GetDevice()->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_FLOAT_EQ(projection._22 / projection._11,
                  ViewAspect(session.Form().GetWidth(), session.Form().GetHeight()));
}
