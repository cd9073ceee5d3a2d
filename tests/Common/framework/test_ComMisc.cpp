// Small utilities: the rounding and power-of-two tables, random spans, the case-insensitive
// search, moving values, the wandering value on a wrapping clock, and the calendar step.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>

#include "ComGlMiscModes.h"
#include "ComMisc.h"
#include "FrameworkTestUtil.h"

namespace {

class ComMiscTest : public fwtest::TempDirTest {};

TEST(ComMisc, RoundingTowardsZeroOnHalves) {
  struct {
    double v;
    int32_t want;
  } cases[] = {
      {0.5, 0},   {-0.5, 0},  {-0.51, -1}, {1.5, 1},     {2.5, 2},     {-2.5, -2},
      {2.51, 3},  {0.0, 0},   {0.49, 0},   {-1.49, -1},  {7.0, 7},     {-7.75, -8},
      {1e10, INT32_MAX},      {-1e10, INT32_MIN},        {NAN, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComMiscRound((float)c.v), c.want) << "float " << c.v;
    EXPECT_EQ(ComMiscRoundLong(c.v), c.want) << "double " << c.v;
  }
  EXPECT_EQ(ComMiscRoundLong(2.5000001), 3);
  EXPECT_EQ(ComMiscRoundLong(-1000000.5), -1000000);
}

// The distance between two times of a wrapping millisecond clock keeps its sign across the wrap.
TEST(ComMisc, TicksSinceAcrossTheWrap) {
  struct {
    uint32_t now, then;
    int32_t want;
  } cases[] = {
      {1000, 400, 600},          {400, 1000, -600},       {5, 0xFFFFFFF0u, 21},
      {0xFFFFFFF0u, 5, -21},     {0x7FFFFFFFu, 0, INT32_MAX}, {0, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, ComMiscTicksSince(c.now, c.then)) << c.now << " - " << c.then;
}

TEST(ComMisc, ClosestPowerOf2) {
  struct {
    unsigned n, want;
  } cases[] = {
      {0, 2},         {1, 2},         {2, 4},         {5, 4},         {6, 8},          {11, 8},
      {12, 16},       {23, 16},       {24, 32},       {47, 32},       {48, 64},        {191, 128},
      {192, 256},     {383, 256},     {384, 512},     {767, 512},     {768, 1024},     {1535, 1024},
      {1536, 2048},   {6143, 4096},   {6144, 8192},   {12287, 8192},  {12288, 16384},  {16384, 16384},
      {16385, 32768}, {20000, 32768}, {0x40000001u, 0x80000000u},     {0x80000000u, 0x80000000u},
      {0x80000001u, 0x80000000u},     {UINT_MAX, 0x80000000u},
  };
  for (const auto& c : cases) EXPECT_EQ(ComMiscGetClosestPowerOf2(c.n), c.want) << c.n;
}

TEST(ComMisc, RandomSpansStayInRangeWithoutOverflow) {
  srand(77);
  std::set<int> seen;
  for (int i = 0; i < 2000; i++) {
    int v = ComMiscRandRangeInt(3, 7, 0);
    ASSERT_GE(v, 3);
    ASSERT_LT(v, 7);
    seen.insert(v);
    // The whole int range: the span does not fit in an int.
    int w = ComMiscRandRangeInt(INT_MIN, INT_MAX, 0);
    ASSERT_LT(w, INT_MAX);
    int s = ComMiscRandRangeInt(-10, 10, 1);
    ASSERT_LE(std::abs(s), 10);
    uint32_t u = ComMiscRandRangeULong(4000000000u, 4000000100u);
    ASSERT_GE(u, 4000000000u);
    ASSERT_LT(u, 4000000100u);
    float f = ComMiscRandFloat(-5.0f, 0);
    ASSERT_GE(f, 0.0f);
    ASSERT_LT(f, 5.0f);
    ASSERT_NEAR(f * 1000.0f, std::round(f * 1000.0f), 0.01f) << "on the grid of 0.001";
    float g = ComMiscRandRangeFloat(2.0f, 3.0f, 0);
    ASSERT_GE(g, 2.0f);
    ASSERT_LT(g, 3.0f);
  }
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(ComMiscRandRangeInt(9, 9, 0), 9);
  EXPECT_EQ(ComMiscRandRangeULong(9, 3), 9u);
  EXPECT_EQ(ComMiscRandRangeFloat(4.0f, 1.0f, 0), 4.0f);
}

TEST(ComMisc, CallsThatMustNotDraw) {
  auto next_draw_after = [](auto call) {
    srand(5);
    call();
    return rand();
  };
  srand(5);
  const int first = rand();
  EXPECT_EQ(next_draw_after([] { EXPECT_EQ(ComMiscRandFloat(0.0000001f, 0), 0.0f); }), first);
  EXPECT_EQ(next_draw_after([] { EXPECT_EQ(ComMiscRandChance(0), 0); }), first);
  EXPECT_EQ(next_draw_after([] { EXPECT_EQ(ComMiscRandChance(-4), 0); }), first);
  EXPECT_EQ(next_draw_after([] { EXPECT_EQ(ComMiscRandRangeULong(5, 5), 5u); }), first);
  EXPECT_NE(next_draw_after([] { ComMiscRandChance(INT_MAX); }), first);
}

TEST(ComMisc, StrIStr) {
  const char* text = "Read the Book, then the BOOK again";
  EXPECT_EQ(ComMiscStrIStr(text, "BOOK"), text + 9);
  EXPECT_EQ(ComMiscStrIStr(text, "book again"), text + 24);
  EXPECT_EQ(ComMiscStrIStr(text, "r"), text);
  EXPECT_EQ(ComMiscStrIStr(text, ""), nullptr);
  EXPECT_EQ(ComMiscStrIStr(text, "books"), nullptr);
  EXPECT_EQ(ComMiscStrIStr(text, "again and more"), nullptr);
  EXPECT_EQ(ComMiscStrIStr(nullptr, "a"), nullptr);
  // Bytes above 127 compare as themselves (Latin-1 text).
  const char* latin = "Caf\xe9 \xff\xfe";
  EXPECT_EQ(ComMiscStrIStr(latin, "\xff\xfe"), latin + 5);
  EXPECT_EQ(ComMiscStrIStr(latin, "CAF\xe9"), latin);
}

TEST(ComMisc, MovingTowardsATarget) {
  float v = 0.9f;
  EXPECT_EQ(ComMiscChangeVariableAtSpeedToDesiredAmount(&v, 1.0f, 0.25f), 1);
  EXPECT_EQ(v, 1.0f);
  v = 0.0f;
  EXPECT_EQ(ComMiscChangeVariableAtSpeedToDesiredAmount(&v, 1.0f, 0.25f), 0);
  EXPECT_EQ(v, 0.25f);
  v = 3.0f;
  EXPECT_EQ(ComMiscChangeVariableAtSpeedToDesiredAmount(&v, 1.0f, 1.5f), 0);
  EXPECT_EQ(ComMiscChangeVariableAtSpeedToDesiredAmount(&v, 1.0f, 1.5f), 1);
  EXPECT_EQ(v, 1.0f);
  EXPECT_EQ(ComMiscChangeVariableAtSpeedToDesiredAmount(nullptr, 1.0f, 1.0f), 1);

  _Vector3d pos = {0, 0, 0}, target = {10, -5, 2};
  EXPECT_EQ(ComMiscMoveVectorAtSpeed(&pos, &target, 2.0f), 0);
  EXPECT_FLOAT_EQ(pos.x, 2.0f);
  EXPECT_FLOAT_EQ(pos.y, -1.0f);
  EXPECT_FLOAT_EQ(pos.z, 0.4f);
  EXPECT_EQ(ComMiscMoveVectorAtSpeed(&pos, &target, 100.0f), 1);
  EXPECT_FLOAT_EQ(pos.x, 10.0f);
  EXPECT_EQ(ComMiscMoveVectorAtSpeed(&pos, &target, 1.0f), 1);
  pos = {0, 0, 0};
  EXPECT_EQ(ComMiscMoveVectorAtSpeed2(&pos, &target, 9.5f, 0.1f), 1);

  float in_range = 4.0f;
  EXPECT_EQ(*ComMiscKeepInRangeFloat(&in_range, 5.0f, 3.0f), 3.0f);
  EXPECT_EQ(ComMiscKeepInRangeFloat(nullptr, 0, 1), nullptr);

  float phase = 0.0f;
  EXPECT_NEAR(ComMiscThrobEffect(&phase, 0.0f), 0.0f, 1e-6);
  EXPECT_NEAR(ComMiscThrobEffect(&phase, (float)M_PI / 2), 1.0f, 1e-6);
  phase = (float)(4 * M_PI) - 0.1f;
  ComMiscThrobEffect(&phase, 0.1f);
  EXPECT_NEAR(phase, 0.1f, 1e-5);
}

TEST(ComMisc, SignsSidesAndNormals) {
  EXPECT_EQ(ComMiscSameSignFloat(0.0f, -3.0f), 1);
  EXPECT_EQ(ComMiscSameSignFloat(0.0f, 3.0f), 1);
  EXPECT_EQ(ComMiscSameSignFloat(-1.0f, 3.0f), 0);
  _Vector2d a = {0, 0}, b = {10, 0}, above = {5, 5}, below = {5, -5}, on = {3, 0}, behind = {-1, 9};
  EXPECT_LT(ComMiscGetSideOfLinePointIsOn2D(&above, &a, &b), 0.0f);
  EXPECT_GT(ComMiscGetSideOfLinePointIsOn2D(&below, &a, &b), 0.0f);
  EXPECT_EQ(ComMiscGetSideOfLinePointIsOn2D(&on, &a, &b), 0.0f);
  EXPECT_GT(ComMiscGetSideOfLinePointIsOn2DPerp(&above, &a, &b), 0.0f);
  EXPECT_LT(ComMiscGetSideOfLinePointIsOn2DPerp(&behind, &a, &b), 0.0f);
  _Vector3d v = {3, 0, 4}, out = {9, 9, 9}, zero = {0, 0, 0};
  ComMiscNormaliseVector2(&out, &v);
  EXPECT_FLOAT_EQ(out.x, 0.6f);
  EXPECT_FLOAT_EQ(out.z, 0.8f);
  ComMiscNormaliseVector2(&out, &zero);
  EXPECT_FLOAT_EQ(out.x, 0.6f) << "a zero vector writes nothing";
  EXPECT_EQ(ComMiscNormaliseVector(&zero)->x, 0.0f);
}

TEST_F(ComMiscTest, PreviousDay) {
  struct {
    int y, m, d, wy, wm, wd;
  } cases[] = {
      {1900, 3, 1, 1900, 2, 29}, {2000, 1, 1, 1999, 12, 31}, {2001, 3, 1, 2001, 2, 28},
      {2024, 3, 1, 2024, 2, 29}, {2023, 5, 1, 2023, 4, 30},  {2023, 12, 1, 2023, 11, 30},
      {2023, 2, 1, 2023, 1, 31}, {2023, 9, 1, 2023, 8, 31},  {2023, 7, 15, 2023, 7, 14},
      {0, 1, 1, -1, 12, 31},
  };
  for (const auto& c : cases) {
    int y = c.y, m = c.m, d = c.d;
    ComMiscGetPreviousDay(&y, &m, &d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.wy * 10000 + c.wm * 100 + c.wd) << c.y << "-" << c.m << "-" << c.d;
  }
  int y = 2000, m = 1, d = 0;
  ComMiscGetPreviousDay(&y, &m, &d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000100);
  m = 13;
  d = 5;
  ComMiscGetPreviousDay(&y, &m, &d);
  EXPECT_EQ(m, 13);
  ComMiscGetPreviousDay(nullptr, &m, &d);
  EXPECT_EQ(Log(), ErrorLine("ComMiscGetPreviousDay", "Invalid date 2000:01:00") +
                       ErrorLine("ComMiscGetPreviousDay", "Invalid date 2000:13:05"));
}

TEST_F(ComMiscTest, WanderingValueOnTheFrameClock) {
  _ComMiscChangeVarFloat var = {};
  EXPECT_EQ(ComMiscChangeVarFloatTick(&var), 0.0f);
  EXPECT_TRUE(Logged("ComMiscChangeVarFloatTick", "Var not setup"));
  ComMiscSetupChangeVarFloat(0, 0, 0, 1, 1, 1, 0, 1, 1, 0, &var);
  EXPECT_TRUE(Logged("ComMiscSetupChangeVarFloat", "Sign and angle specified"));
  ComMiscSetupChangeVarFloat(0, 0, 0, 1, 0, 0, 0.5f, 1, 1, 0, &var);
  EXPECT_TRUE(Logged("ComMiscSetupChangeVarFloat", "Parameter Error"));

  // A pause that runs across the wrap of the 32-bit millisecond clock.
  srand(3);
  var = {};
  var.value = 2.0f;
  EXPECT_EQ(ComMiscSetupChangeVarFloat(100, 100, 0.0f, 10.0f, 0, 0, 0.0f, 5.0f, 5.0f, 0, &var), 2.0f);
  n3d_per_second = 0.1f;
  n3d_current_time = (int)0xFFFFFFF0u;
  ComMiscChangeVarFloatTick(&var);
  EXPECT_EQ(var.next_change_time, 0xFFFFFFF0u + 100u);
  n3d_current_time = (int)0xFFFFFFFFu;
  ComMiscChangeVarFloatTick(&var);
  EXPECT_EQ(var.moving, 0) << "the pause has not passed yet";
  n3d_current_time = 0x60;
  ComMiscChangeVarFloatTick(&var);
  ASSERT_EQ(var.moving, 1);
  EXPECT_GE(var.target, 0.0f);
  EXPECT_LT(var.target, 10.0f);
  EXPECT_EQ(var.speed, 5.0f);
  const float target = var.target, start = var.value;
  int ticks = 0;
  while (var.moving && ticks < 100) {
    ComMiscChangeVarFloatTick(&var);
    ticks++;
  }
  EXPECT_EQ(var.moving, 0);
  EXPECT_NEAR(var.value, target, 0.5f + 1e-4f);
  EXPECT_NEAR(ticks, std::ceil(std::fabs(target - start) / 0.5f), 1.0);
}

TEST_F(ComMiscTest, ShowBinaryIsNotSupported) {
  char out[20] = "";
  EXPECT_EQ(ComMiscShowBinary(5, 8, out), out);
  EXPECT_STREQ(out, "Not Supported");
  EXPECT_EQ(ComMiscShowBinary(5, 8, nullptr), nullptr);
  EXPECT_EQ(Log(), ErrorLine("ComMiscShowBinary", "Not supported on MAC") +
                       ErrorLine("ComMiscShowBinary", "Not supported on MAC"));
}

}  // namespace
