#include <gtest/gtest.h>

#include <cstring>

#include "SceneTestSupport.h"
#include "d3d/Device8.h"
#include "scene/StatsFont.h"

using namespace scenetest;

TEST(StatsFont, DescribesABoldAntialiasedTimesAndCreatesIt) {
  SceneDevice device;
  StatsFont stats;
  CreateStatsFont(stats, device->GetDevice());
  const LOGFONT& f = stats.statsLogFont;
  EXPECT_EQ(f.lfHeight, 0);
  EXPECT_EQ(f.lfWidth, 0);
  EXPECT_EQ(f.lfEscapement, 0);
  EXPECT_EQ(f.lfOrientation, 0);
  EXPECT_EQ(f.lfWeight, 700);
  EXPECT_EQ(f.lfItalic + f.lfUnderline + f.lfStrikeOut, 0);
  EXPECT_EQ(f.lfCharSet, 1);
  EXPECT_EQ(f.lfOutPrecision, 0);
  EXPECT_EQ(f.lfClipPrecision, 0);
  EXPECT_EQ(f.lfQuality, 4);
  EXPECT_EQ(f.lfPitchAndFamily, 0);
  EXPECT_STREQ(f.lfFaceName, "Times");

  ASSERT_NE(stats.statsFont, nullptr);
  LOGFONT asked{};
  ASSERT_EQ(stats.statsFont->GetLogFont(&asked), S_OK);
  EXPECT_EQ(std::memcmp(&asked, &f, sizeof f), 0);
  RECT line{0, 0, 200, 20};
  EXPECT_GT(stats.statsFont->DrawTextA("Numero de Tris: 12", -1, &line, 0, 0xFF000000), 0);

  CreateStatsFont(stats, device->GetDevice());  // a second font replaces the first
  EXPECT_NE(stats.statsFont, nullptr);
}

TEST(StatsFont, StaysNullWhenNoFontCanBeMade) {
  StatsFont stats;
  CreateStatsFont(stats, nullptr);
  EXPECT_EQ(stats.statsFont, nullptr);
  EXPECT_STREQ(stats.statsLogFont.lfFaceName, "Times");
}
