// Battery state over fixture power-supply trees.
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "ComBattery.h"

namespace {

class BatteryTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lectrel-battery-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
  }
  void TearDown() override {
    RemoveTree(root_);
  }
  void AddSource(const std::string& name, const std::map<std::string, std::string>& attrs) {
    std::string dir = root_ + "/" + name;
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    for (auto& a : attrs) {
      FILE* f = fopen((dir + "/" + a.first).c_str(), "w");
      ASSERT_NE(f, nullptr);
      fprintf(f, "%s\n", a.second.c_str());
      fclose(f);
    }
  }
  static void RemoveTree(const std::string& path) {
    // The fixture is two levels deep: sources and their attribute files.
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        std::string p = path + "/" + n;
        struct stat st;
        if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
          RemoveTree(p);
        else
          unlink(p.c_str());
      }
      closedir(d);
    }
    rmdir(path.c_str());
  }
  _ComBatteryInfo Get(char* result) {
    _ComBatteryInfo info;
    memset(&info, 0x55, sizeof(info));
    *result = ComBatteryGetInfoFromFolder(root_.c_str(), &info);
    return info;
  }
  std::string root_;
};

}  // namespace

TEST_F(BatteryTree, DesktopWithoutBatteryAnswersNoneAndFullPercent) {
  AddSource("AC", {{"type", "Mains"}, {"online", "1"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(info.has_battery, 0);
  EXPECT_EQ(info.percent, 100);
  EXPECT_EQ(info.on_battery_power, 0);
  EXPECT_EQ(info.max_capacity, 0);
}

TEST_F(BatteryTree, MissingFolderAndNullRecord) {
  _ComBatteryInfo info;
  EXPECT_EQ(ComBatteryGetInfoFromFolder("/nonexistent/power_supply", &info), 0);
  EXPECT_EQ(info.percent, 100);
  EXPECT_EQ(ComBatteryGetInfoFromFolder(root_.c_str(), nullptr), 0);
}

struct CapacityCase {
  const char* full;
  const char* now;
  int percent;
  int max_capacity;
  int current;
};

class BatteryCapacity : public BatteryTree, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(BatteryCapacity, PercentFromEnergy) {
  const CapacityCase& c = GetParam();
  AddSource("BAT0", {{"type", "Battery"}, {"energy_full", c.full}, {"energy_now", c.now},
                     {"status", "Discharging"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(info.has_battery, 1);
  EXPECT_EQ(info.percent, c.percent);
  EXPECT_EQ(info.max_capacity, c.max_capacity);
  EXPECT_EQ(info.current_capacity, c.current);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatteryCapacity,
    ::testing::Values(CapacityCase{"4000", "3000", 75, 4000, 3000},
                      CapacityCase{"4000", "5000", 100, 4000, 5000},   // above max: clamped
                      CapacityCase{"0", "3000", -1, 0, 3000},          // max 0: no percentage
                      CapacityCase{"4000", "-20", 0, 4000, 0},         // negative: 0
                      CapacityCase{"-5", "10", -1, 0, 10},             // negative max counts as 0
                      CapacityCase{"1000", "5", 0, 1000, 5},           // 0.5 % rounds toward 0
                      CapacityCase{"1000", "6", 1, 1000, 6},
                      CapacityCase{"garbage", "50", 50, 100, 50}));    // unreadable max: 100

TEST_F(BatteryTree, UnreadableCurrentCountsAsFull) {
  AddSource("BAT0", {{"type", "Battery"}, {"charge_full", "5000"}, {"charge_now", "n/a"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(info.current_capacity, 100);
  EXPECT_EQ(info.percent, 2);
}

TEST_F(BatteryTree, PeripheralBatteriesAreIgnoredAndFirstSortedBatteryWins) {
  AddSource("hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "5"}});
  AddSource("BAT1", {{"type", "Battery"}, {"capacity", "40"}, {"status", "Discharging"}});
  AddSource("BAT0", {{"type", "Battery"}, {"capacity", "80"}, {"status", "Charging"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(info.percent, 80);
  EXPECT_EQ(info.charging, 1);
  EXPECT_EQ(info.on_battery_power, 0);
}

TEST_F(BatteryTree, OnlyAPeripheralBatteryMeansNoBattery) {
  AddSource("mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "3"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(info.percent, 100);
}

TEST_F(BatteryTree, PowerStateFollowsTheMainsAdapter) {
  AddSource("AC", {{"type", "Mains"}, {"online", "0"}});
  AddSource("BAT0", {{"type", "Battery"}, {"capacity", "55"}, {"status", "Unknown"}});
  char r;
  _ComBatteryInfo info = Get(&r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(info.on_battery_power, 1);
  EXPECT_EQ(info.charging, 0);
  EXPECT_EQ(info.percent, 55);
}
