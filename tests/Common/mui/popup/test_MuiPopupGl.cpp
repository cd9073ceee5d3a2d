// The popup drawn into a real window under Xvfb and read back: the screen behind it darkened by
// half, the popup's own background drawn over the darkening; and the bar graph's bars.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Common/graphics/support_GlPixels.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiBargraph.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiPopup.h"
#include "MuiRender.h"
#include "MuiTextures.h"

namespace {

void NoWarp(int, int) {}

class MuiPopupGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    ComWinSetCursorWarpSink(NoWarp);
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiRemoveAllBoxes();
    ComGlMiscSetClearColour(1.0f, 1.0f, 1.0f);
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    MuiRemoveAllBoxes();
    for (int i = 0; i < MUI_MAX_TEXTURES; i++)
      for (int s = 0; s < 4; s++)
        if (mui_texture[i].status[s] == MUI_TEX_LOADED) ComGlTextureRelease(&mui_texture[i].tex[s]);
    MuiTexturesPre3dInit();
    ComWinSetCursorWarpSink(nullptr);
  }
  void Frame() {
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
    MuiRenderAlwaysOnTop();
  }
};

TEST_F(MuiPopupGl, ThePopupDarkensWhatIsBehindIt) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_screen", SolidBmp("screen.bmp", {0, 200, 0}).c_str(), -1, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(27, "bmp_back", SolidBmp("back.bmp", {200, 0, 0}).c_str(), -1, 0, 0, 0));
  const int screen_box = MuiAddNewScreenBox(20, 20, 120, 120, nullptr);
  MuiSetBitmap(screen_box, "bmp_screen");

  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(70, 70), {0, 200, 0})) << Str(GlTestReadPixelTop(70, 70));
  EXPECT_TRUE(Near(GlTestReadPixelTop(600, 450), {255, 255, 255}));

  MuiPopupMessage("TITLE", "Hello", 0.0f, nullptr);
  ASSERT_TRUE(MuiPopupIsOn());
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  MuiGetDimensions(muiMuiPopupMain, &x1, &y1, &x2, &y2);
  Frame();
  // Behind the popup: the screen's box and the empty screen at half their brightness.
  EXPECT_TRUE(Near(GlTestReadPixelTop(70, 70), {0, 100, 0})) << Str(GlTestReadPixelTop(70, 70));
  EXPECT_TRUE(Near(GlTestReadPixelTop(600, 450), {128, 128, 128})) << Str(GlTestReadPixelTop(600, 450));
  // The popup's background is drawn over the darkening at full brightness.
  EXPECT_TRUE(Near(GlTestReadPixelTop(x1 + 3, y1 + 3), {200, 0, 0})) << Str(GlTestReadPixelTop(x1 + 3, y1 + 3));
  EXPECT_TRUE(Near(GlTestReadPixelTop(x2 - 3, y2 - 3), {200, 0, 0})) << Str(GlTestReadPixelTop(x2 - 3, y2 - 3));

  // Gone, the screen is bright again.
  MuiPopupClose(0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(70, 70), {0, 200, 0})) << Str(GlTestReadPixelTop(70, 70));
  EXPECT_TRUE(Near(GlTestReadPixelTop(600, 450), {255, 255, 255}));
}

TEST_F(MuiPopupGl, BarGraphBarsAreClampedPercentagesOfTheInnerWidth) {
  ASSERT_EQ(1, MuiTexturesAddButton(14, "bar1", SolidBmp("b14.bmp", {200, 0, 0}).c_str(), -1, 1, 16, 16));
  ASSERT_EQ(1, MuiTexturesAddButton(15, "bar3", SolidBmp("b15.bmp", {0, 200, 0}).c_str(), -1, 1, 16, 16));
  ASSERT_EQ(1, MuiTexturesAddButton(16, "bar2", SolidBmp("b16.bmp", {0, 0, 200}).c_str(), -1, 1, 16, 16));
  ASSERT_EQ(1, MuiTexturesInit());  // standard textures are drawn only once the table is loaded
  ComGlMiscSetClearColour(0, 0, 0);  // standard textures blend onto what is there
  // Inner rectangle 101..301 by 101..181: 200 wide, 80 high.
  const int id = MuiAddNewScreenBox(100, 100, 302, 182, nullptr);
  MuiBarGraphSetValues(id, 50, -1, -1);
  Frame();
  // One bar over the whole inner height, half the inner width long.
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 105), {200, 0, 0})) << Str(GlTestReadPixelTop(150, 105));
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 178), {200, 0, 0}));
  EXPECT_TRUE(Near(GlTestReadPixelTop(199, 140), {200, 0, 0}));
  EXPECT_TRUE(Near(GlTestReadPixelTop(203, 140), {0, 0, 0})) << Str(GlTestReadPixelTop(203, 140));

  // Three bars: bar 1 the bottom half, bar 2 a quarter above it, bar 3 the top quarter; a value
  // above 100 is drawn as 100 and 0 draws nothing.
  MuiBarGraphSetValues(id, 120, 25, 0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(298, 170), {200, 0, 0})) << Str(GlTestReadPixelTop(298, 170));
  EXPECT_TRUE(Near(GlTestReadPixelTop(306, 170), {0, 0, 0})) << Str(GlTestReadPixelTop(306, 170));
  EXPECT_TRUE(Near(GlTestReadPixelTop(140, 131), {0, 0, 200})) << Str(GlTestReadPixelTop(140, 131));
  EXPECT_TRUE(Near(GlTestReadPixelTop(160, 131), {0, 0, 0})) << Str(GlTestReadPixelTop(160, 131));
  EXPECT_TRUE(Near(GlTestReadPixelTop(110, 110), {0, 0, 0})) << Str(GlTestReadPixelTop(110, 110));
}

}  // namespace
