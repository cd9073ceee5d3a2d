// The progress and statistics bars' values, headless: resets and defaults, the statistics
// position clamped with one log line, thresholds, and the texture names kept for loading.
#include <gtest/gtest.h>

#include <string>

#include "Mui.h"
#include "MuiBars.h"
#include "support_MuiKit.h"

namespace {

using MuiBarsTest = MuiKitTest;

TEST_F(MuiBarsTest, StatsPositionIsClampedToTheRangeWithOneLogLine) {
  const int id = MuiAddNewScreenBox(100, 100, 300, 130, nullptr);
  MuiStatsbarSetValues3(id, 0, 10, 5, 8, 1, 12);
  EXPECT_EQ(MUI_TYPE_STATSBAR, MuiGetType(id));
  EXPECT_EQ(10.0f, mui_statsbar[id].pos);
  EXPECT_EQ(1.0f, mui_statsbar[id].gap);
  const std::string log = MuiKitLog();
  EXPECT_NE(std::string::npos, log.find("Pos to high <12.000000> (max:10.000000)"));
  EXPECT_EQ(log.find("Pos to high"), log.rfind("Pos to high"));
  MuiStatsbarSetPos(id, -3);
  EXPECT_TRUE(MuiKitLogHas("Pos to low <-3.000000> (min:0.000000)"));
  EXPECT_EQ(0.0f, mui_statsbar[id].pos);
  MuiStatsbarSetPos(id, 7.5f);
  EXPECT_EQ(7.5f, mui_statsbar[id].pos);

  // One threshold: the first is half of it, the gap 0, the position taken as given.
  MuiStatsbarSetValues(id, 0, 10, 6, 2, 11);
  EXPECT_EQ(3.0f, mui_statsbar[id].threshold1);
  EXPECT_EQ(6.0f, mui_statsbar[id].threshold2);
  EXPECT_EQ(0.0f, mui_statsbar[id].gap);
  EXPECT_EQ(11.0f, mui_statsbar[id].pos);
  MuiStatsbarSetValues(7, 0, 10, 6, 2, 5);
  EXPECT_TRUE(MuiKitLogHas("( MuiStatsbarSetValues )  2  Invalid ID: 7"));

  // A new box at the same id starts empty.
  MuiRemoveAllBoxes();
  MuiAddNewScreenBox(0, 0, 10, 10, nullptr);
  EXPECT_EQ(0.0f, mui_statsbar[0].high);
}

TEST_F(MuiBarsTest, ProgressResetsToTheDefaultsAndKeepsItsPositionUnclamped) {
  MuiProgressSetDefaults(4, 1, 6, 5, 3, 2);
  const int id = MuiAddNewScreenBox(100, 100, 300, 130, nullptr);
  const _MuiProgress& p = mui_progress[id];
  EXPECT_EQ(50.0f, p.pos);
  EXPECT_EQ(0.0f, p.min);
  EXPECT_EQ(100.0f, p.max);
  EXPECT_EQ(4.0f, p.block_size);
  EXPECT_EQ(1.0f, p.block_gap);
  EXPECT_EQ(6.0f, p.bg_side_size);
  EXPECT_EQ(5.0f, p.bar_side_size);
  EXPECT_EQ(3.0f, p.bar_xmargin);
  MuiProgressSetDefaults(0, 0, 10, 10, 2, 2);
  MuiProgressSetPos(id, 140);
  EXPECT_EQ(MUI_TYPE_PROGRESS, MuiGetType(id));
  EXPECT_EQ(140.0f, p.pos);
  MuiProgressSetRange(id, -5, 5);
  EXPECT_EQ(-5.0f, p.min);
  EXPECT_EQ(5.0f, p.max);
}

TEST_F(MuiBarsTest, ProgressTextureNamesOfOneTo255Characters) {
  const std::string longest(255, 'a'), too_long(256, 'b');
  MuiProgressInitTextures("bl.bmp", nullptr, "", longest.c_str(), too_long.c_str(), "br.bmp");
  EXPECT_STREQ("bl.bmp", mui_progress_texnames[0]);
  EXPECT_STREQ("", mui_progress_texnames[1]);
  EXPECT_STREQ("", mui_progress_texnames[2]);
  EXPECT_EQ(longest, mui_progress_texnames[3]);
  EXPECT_STREQ("", mui_progress_texnames[4]);
  EXPECT_STREQ("br.bmp", mui_progress_texnames[5]);
  MuiProgressInitTextures(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  for (auto& name : mui_progress_texnames) EXPECT_STREQ("", name);
}

}  // namespace
