// Start-up of the editor, the render loop's statistics and device reset, the
// moveable names from "Strings.xml" and the view's aspect ratio.

#include <gtest/gtest.h>

#include "TestWad.h"
#include "d3d8/Headless.h"
#include "ui/EditorEntry.h"
#include "ui/MoveableNames.h"
#include "ui/ViewProjection.h"
#include "xml/XML.h"

using uitest::EditorSession;

TEST(EditorStartup, ShowsAnEmptyViewCountsFramesAndRecoversALostDevice) {
  EditorSession session;
  TForm2& form = session.Form();
  EXPECT_EQ(form.GetText(), String(L"Ulvo Dide Rizid v1.3"));
  // The window, 876 x 673 with its frame, is less than twice as wide as high: aspect 1.
  D3DMATRIX projection{};
  Main().d3dDevice->GetDevice()->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_FLOAT_EQ(projection._22 / projection._11, 1.0f);

  // Eleven frames presented 100 ms apart, the last 1000 ms after the first:
  // ten periods of 100 ms, shown by the frame after them.
  for (int frame = 0; frame < 11; ++frame) {
    session.Frames(1);
    session.desktop.clock.Advance(100);
  }
  EXPECT_STREQ(Main().statsLines[0].data(), "");
  session.Frames(1);
  EXPECT_STREQ(Main().statsLines[0].data(), "Frames por segundo: 10.00");
  EXPECT_STREQ(Main().statsLines[1].data(), "Numero de Vertices: 0");
  EXPECT_STREQ(Main().statsLines[4].data(), "N\xBA VertexBuffers: 0");
  EXPECT_EQ(session.PanelPixel(244, 221), uitest::kClearPixel);

  const vcl::PanelWindow& panel = form.Panel1->Window();
  ASSERT_EQ(panel.FrameCount(), 12);
  {
    d3d8::ScopedFault lost(d3d8::Fault::PresentDeviceLost, 1);
    session.Frames(1);
  }
  EXPECT_EQ(d3d8::GetDeviceStats(Main().d3dDevice->GetDevice()).resets, 1u);
  session.Frames(2);
  EXPECT_EQ(panel.FrameCount(), 14);
  EXPECT_TRUE(session.Boxes().empty());
}

TEST(EditorStartup, EndsInOrderWhenDirect3DCannotBeHad) {
  for (d3d8::Fault fault : {d3d8::Fault::NoDirect3D, d3d8::Fault::CreateDevice}) {
    vcl::HeadlessDesktop desktop;
    d3d8::ScopedFault failing(fault);
    Main_Initialize();
    EXPECT_EQ(WinMain(), 0);
    EXPECT_TRUE(desktop.App().GetTerminated());
    EXPECT_FALSE(desktop.App().OnIdle);
    ASSERT_EQ(desktop.messages.Boxes().size(), 1u);
    EXPECT_EQ(desktop.messages.Boxes()[0].caption, L"Error");
    EXPECT_EQ(desktop.messages.Boxes()[0].type & MB_ICONMASK, MB_ICONERROR);
    Main_Finalize();
  }
}

TEST(EditorStartup, NamesEachMoveableByItsObjectIdWithOrWithoutStringsXml) {
  // Object 7 has a name of twenty two-byte letters; no object past it has one.
  uitest::TestWadSession named(
      R"(<?xml version="1.0" encoding="UTF-8"?><strings><p/><m/><e/><s/><objects><statics/>)"
      R"(<moveables><m name="PLATE"/><m/><m/><m/><m/><m/><m/><m name="éééééééééééééééééééé"/>)"
      R"(</moveables></objects></strings>)");
  // The forty bytes are cut to the 31-byte buffer between two letters.
  EXPECT_EQ(uitest::ListLines(named.Form().ListBox1),
            (std::vector<String>{L"0-PLATE", L"1-ééééééééééééééé", L"2-"}));
  uitest::TestWadSession unnamed;
  EXPECT_EQ(uitest::ListLines(unnamed.Form().ListBox1), (std::vector<String>{L"0-", L"1-", L"2-"}));
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
  EXPECT_EQ(ViewAspect(1000, 300), 3.0f);
  EXPECT_EQ(ViewAspect(300, 600), 0.5f);
  EXPECT_EQ(ViewAspect(300, 0), 1.0f);
}
