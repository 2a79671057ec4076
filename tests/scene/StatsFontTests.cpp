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
  const LOGFONT want{0, 0, 0, 0, 700, 0, 0, 0, 1, 0, 0, 4, 0, "Times"};
  EXPECT_EQ(std::memcmp(&f, &want, sizeof f), 0);
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
