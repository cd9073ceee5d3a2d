// The reading view's geometry: the four rotations by the bar modes (text viewport, bar strip, bar
// fraction, pointer unmapping) and the display lines a position shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Config.h"
#include "MainGeometry.h"
#include "MainRender.h"

namespace {

struct Point {
  int x, y;
};

TEST(Rotations, ViewportStripFractionAndPointerOverEveryBarMode) {
  // Per rotation, independent of the bar: a point of the bar and the fraction of the book under
  // it, a point outside the bar's length, and a pointer position with its unrotated place.
  struct PerRotation {
    char turned;
    float texture_degrees;
    Point bar_point;
    float fraction;
    Point outside;
    float ux, uy;  // where (100, 60) lies on the unrotated page
  } rot[4] = {
      {0, 0, {160, 120}, 0.25f, {700, 10}, 100, 60},
      {1, -90, {160, 120}, 0.25f, {10, 500}, 80, 405},
      {0, 180, {160, 120}, 0.75f, {-1, 10}, 540, 420},
      {1, 90, {160, 120}, 0.75f, {10, -1}, 560, 75},
  };
  // Per rotation and bar mode (0 bottom, 1 top, 2 bottom always shown, 3 top always shown) with a
  // bar 20 high: the viewport (w 0: the whole screen), a point just in the strip (3 units of
  // slack) and one just out of it.
  struct PerMode {
    int rotation, mode;
    int x, y, w, h;
    Point in, out;
  } cases[] = {
      {0, 0, 0, 0, 0, 0, {300, 457}, {300, 456}},   {0, 1, 0, 0, 0, 0, {300, 23}, {300, 24}},
      {0, 2, 0, 0, 640, 460, {300, 457}, {300, 456}}, {0, 3, 0, 20, 640, 460, {300, 23}, {300, 24}},
      {1, 0, 0, 0, 0, 0, {23, 200}, {24, 200}},     {1, 1, 0, 0, 0, 0, {617, 200}, {616, 200}},
      {1, 2, 20, 0, 620, 480, {23, 200}, {24, 200}}, {1, 3, 0, 0, 620, 480, {617, 200}, {616, 200}},
      {2, 0, 0, 0, 0, 0, {300, 23}, {300, 24}},     {2, 1, 0, 0, 0, 0, {300, 457}, {300, 456}},
      {2, 2, 0, 20, 640, 460, {300, 23}, {300, 24}}, {2, 3, 0, 0, 640, 460, {300, 457}, {300, 456}},
      {3, 0, 0, 0, 0, 0, {617, 200}, {616, 200}},   {3, 1, 0, 0, 0, 0, {23, 200}, {24, 200}},
      {3, 2, 0, 0, 620, 480, {617, 200}, {616, 200}}, {3, 3, 20, 0, 620, 480, {23, 200}, {24, 200}},
  };
  for (const PerMode& c : cases) {
    SCOPED_TRACE("rotation " + std::to_string(c.rotation) + " bar mode " + std::to_string(c.mode));
    const PerRotation& r = rot[c.rotation];
    char always = c.mode >= 2, top = c.mode == 1 || c.mode == 3;
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_EQ(MainGetTextViewportFor(c.rotation, always, top, 20, &x, &y, &w, &h), c.w != 0);
    if (c.w) {
      EXPECT_EQ(x, c.x);
      EXPECT_EQ(y, c.y);
      EXPECT_EQ(w, c.w);
      EXPECT_EQ(h, c.h);
    }
    EXPECT_TRUE(MainPointInBarStrip(c.rotation, top, 20, c.in.x, c.in.y));
    EXPECT_FALSE(MainPointInBarStrip(c.rotation, top, 20, c.out.x, c.out.y));
    EXPECT_FLOAT_EQ(MainGetBarFraction(c.rotation, r.bar_point.x, r.bar_point.y), r.fraction);
    EXPECT_EQ(MainGetBarFraction(c.rotation, r.outside.x, r.outside.y), -1);
    float ux, uy;
    MainUnrotatePoint(c.rotation, 100, 60, &ux, &uy);
    EXPECT_NEAR(ux, r.ux, 1e-3);
    EXPECT_NEAR(uy, r.uy, 1e-3);
    EXPECT_EQ(MainGetRotation(c.rotation).turned, r.turned);
    EXPECT_EQ(MainGetRotation(c.rotation).texture_degrees, r.texture_degrees);
    EXPECT_EQ(MainGetRotation(c.rotation).page_radians == 0, c.rotation == 0);
  }
  // The reading view's own functions follow the settings through the same table.
  config.rotation = 1;
  config.bar_mode = 2;
  bar_height = 20;
  int x, y, w, h;
  ASSERT_TRUE(MainGetTextViewport(&x, &y, &w, &h));
  EXPECT_EQ(x, 20);
  EXPECT_EQ(w, 620);
  config.rotation = 0;
  config.bar_mode = 0;
}

// Ten lines of text, an empty line of half a line's height, then twenty lines of text, on a page
// of 20-unit lines between the margins 10 and 470 (23 lines, with 2 units of slack at either).
class VisibleLines : public ::testing::Test {
 protected:
  void SetUp() override {
    line_ygap = 20;
    line_ygap2 = 10;
    empty_line_ygap = 10;
    top_margin = 10;
    bottom_margin = 470;
    lines_per_page = 24;
    page_height = 480;
    double y = 0;
    for (int i = 0; i < 31; i++) {
      _Line l;
      memset(&l, 0, sizeof(l));
      l.empty = i == 10;
      l.y = y;
      y += l.empty ? 0.5 : 1;
      lines_.push_back(l);
    }
  }
  std::vector<_Line> lines_;
};

TEST_F(VisibleLines, RangeAndCentringByPosition) {
  struct Case {
    double position;
    char scrolling;
    int first, last;
    double centre;
  } cases[] = {
      {0, 0, 0, 22, 5},      // 22 lines and the empty one: 10 units free, half of it above
      {-2, 0, 0, 20, 0},     // above the book's start: 60 units free, more than two lines
      {0.15, 0, 1, 22, 15},  // a line 3 units above the top margin is left out
      {0.05, 0, 0, 22, 5},   // 1 unit above it is kept
      {10.5, 0, 11, 30, 0},  // the end of the book: a short page is not centred
      {0, 1, 0, 25, 0},      // scrolling: the screen with a line of slack beyond either edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("position " + std::to_string(c.position) + (c.scrolling ? " scrolling" : ""));
    _MainVisibleLines v =
        MainGetVisibleLines(lines_.data(), (int)lines_.size(), c.position, c.scrolling);
    ASSERT_TRUE(v.shown);
    EXPECT_EQ(v.first, c.first);
    EXPECT_EQ(v.last, c.last);
    EXPECT_DOUBLE_EQ(v.centre_adjust, c.centre);
  }
  EXPECT_FALSE(MainGetVisibleLines(nullptr, 0, 0, 0).shown);
}

TEST_F(VisibleLines, APageFilledUpwardsEndsWithItsLine) {
  // The fullest page ending at line 22 is the first page; at line 30 it starts 23 units higher.
  EXPECT_EQ(MainGetPageTopEndingAt(lines_.data(), (int)lines_.size(), 22), 0);
  EXPECT_EQ(MainGetPageTopEndingAt(lines_.data(), (int)lines_.size(), 30), 8);
  EXPECT_EQ(MainGetPageTopEndingAt(lines_.data(), (int)lines_.size(), 0), 0);
  EXPECT_EQ(MainNextTextLine(lines_.data(), (int)lines_.size(), 10), 11);
}

}  // namespace
