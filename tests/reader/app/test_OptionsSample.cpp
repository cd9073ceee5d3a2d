// The options screen's live sample in a real window under Xvfb: the book font's text lands inside
// the sample box only, turned with the page rotation, and nothing is drawn without a book font.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "Common/graphics/support_GlWindow.cpp"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "Config.h"
#include "LecFont.h"
#include "MainControl.h"
#include "MainFonts.h"
#include "MainRender.h"

namespace {

// The sample box, in window pixels from the top (the window is 640 x 480). The text is set 20
// units in from its edges; the glow of the glyphs' edges may reach a pixel or two past that.
const int kLeft = 370, kTop = 127, kRight = 616, kBottom = 389;

struct Ink {
  int inside = 0, outside = 0;
  std::vector<int> rows, cols;  // lit pixels per row and per column of the box
};

Ink Read() {
  std::vector<unsigned char> px(640 * 480 * 4);
  glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  Ink ink;
  ink.rows.assign(kBottom - kTop + 1, 0);
  ink.cols.assign(kRight - kLeft + 1, 0);
  for (int y = 0; y < 480; y++)
    for (int x = 0; x < 640; x++) {
      const unsigned char* p = &px[((size_t)(479 - y) * 640 + x) * 4];
      if (p[0] + p[1] + p[2] < 150) continue;
      if (x >= kLeft && x <= kRight && y >= kTop && y <= kBottom) {
        ink.inside++;
        ink.rows[y - kTop]++;
        ink.cols[x - kLeft]++;
      } else {
        ink.outside++;
      }
    }
  return ink;
}

// Runs of lit entries: the lines of text across the direction they are counted in.
int Bands(const std::vector<int>& v) {
  int n = 0;
  bool in = false;
  for (int c : v) {
    if (c > 0 && !in) n++;
    in = c > 0;
  }
  return n;
}

class OptionsSampleGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    ASSERT_EQ(0, chdir(LECTREL_RESOURCES));
    ConfigSetDefaults();
    config.dark_on_bright = 0;
    config.text_brightness = 1;
    config.background_brightness = 0;
    for (float& c : config.text_colour) c = 1;
    text_size_mult = 1.0f;
    font_orig_scale_x = font_orig_scale_y = 1.0f;
    line_orig_ygap = 20.0f;
    ComGlMiscSetClearColour(0, 0, 0);
  }
  void TearDown() override {
    if (book_font->setup) ComFreeTypeRelease(book_font);
    config.rotation = 0;
  }
  // The software renderer draws on this thread alone: its worker threads, still winding down at
  // exit, can trip the sanitizer build's leak check.
  static void SetUpTestSuite() { setenv("LP_NUM_THREADS", "0", 1); }
  static void TearDownTestSuite() { GlTestCloseWindow(); }
  static Ink Draw() {
    ComGlMiscSetClearColour(0, 0, 0);
    ComGlMiscClearScreenBuffer();
    MainControlRender();
    glFinish();
    return Read();
  }
};

TEST_F(OptionsSampleGl, TextStaysInTheSampleBoxTurnedWithThePage) {
  ASSERT_TRUE(LecFontMainCreate(book_font, 0));
  MainControlUpdateFontSizeAndColour();
  for (int r = 0; r < 4; r++) {
    SCOPED_TRACE("rotation " + std::to_string(r));
    config.rotation = r;
    Ink ink = Draw();
    EXPECT_GT(ink.inside, 500);
    EXPECT_EQ(ink.outside, 0);
    // Upright, the lines run across: bands from top to bottom. A quarter turn makes them columns.
    const bool turned = r == 1 || r == 3;
    EXPECT_GE(Bands(turned ? ink.cols : ink.rows), 4);
    EXPECT_LE(Bands(turned ? ink.rows : ink.cols), 2);
  }
  ComFreeTypeRelease(book_font);
  config.rotation = 0;
  Ink none = Draw();
  EXPECT_EQ(none.inside + none.outside, 0) << "no sample without a book font";
}

// The sample takes the reading view's upright scale and line height, with the same safeguards:
// a minimised window and a line spacing too small to see still give a line of at least 0.1.
TEST_F(OptionsSampleGl, SampleScaleFollowsTheUprightPage) {
  ASSERT_TRUE(LecFontMainCreate(book_font, 0));
  const int w = WIDTH, h = HEIGHT;
  struct Case {
    int width, height;
    float spacing;
  } cases[] = {{640, 480, 20}, {1280, 800, 20}, {0, 0, 20}, {640, 480, 0.00001f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    WIDTH = c.width;
    HEIGHT = c.height;
    line_orig_ygap = c.spacing;
    config.rotation = 1;  // the sample stands upright whatever the page does
    MainControlUpdateFontSizeAndColour();
    config.rotation = 0;
    MainCalcFontScales();
    float sx = 0, sy = 0;
    ComFreeTypeGetScale(book_font, &sx, &sy);
    EXPECT_TRUE(std::isfinite(sx) && std::isfinite(sy));
    EXPECT_FLOAT_EQ(sx, font_scale_x);
    EXPECT_FLOAT_EQ(sy, font_scale_y);
    EXPECT_FLOAT_EQ(book_font->multiline_gap, line_ygap);
    EXPECT_GE(book_font->multiline_gap, 0.1f);
  }
  WIDTH = w;
  HEIGHT = h;
}

}  // namespace
