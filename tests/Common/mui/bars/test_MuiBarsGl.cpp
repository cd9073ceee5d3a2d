// Scroll bars, colour pickers and ranges drawn into a real window under Xvfb and read back: the
// thumb lands where the position puts it, at both ends and in the middle, and never outside its
// track; the colour bars and the range's caps draw their textures.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "Common/graphics/support_GlPixels.h"
#include "ComGlMisc.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiColour.h"
#include "MuiRange.h"
#include "MuiRender.h"
#include "MuiScrollbar.h"
#include "MuiTextures.h"

namespace {

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{220, 0, 0}, kGreen{0, 220, 0}, kBlue{0, 0, 220};

#define EXPECT_PIXEL(x, y, colour) \
  EXPECT_TRUE(Near(GlTestReadPixelTop(x, y), colour)) << "at " << (x) << "," << (y) << ": " << Str(GlTestReadPixelTop(x, y))

// A 64 x 16 BMP in up to three vertical bands: its left quarter, middle half and right quarter.
std::string BandsBmp(const std::string& name, Rgb left, Rgb middle, Rgb right) {
  GlTestPicture pic;
  pic.Resize(64, 16, 3);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 64; x++) {
      const Rgb& c = x < 16 ? left : x < 48 ? middle : right;
      pic.Set(x, y, c.r, c.g, c.b);
    }
  std::string path = GlTestPath(name);
  EXPECT_TRUE(GlTestWriteBmp24(path, pic));
  return path;
}

void NoAction(char) {}

class MuiBarsGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiTexturesSetupSegmentedDrawing(0, 5, 0.25f);
    MuiSetupStandardButtonsDimensions();  // thumb 24 x 12, arrows 12 x 12, range ends 8
    MuiRemoveAllBoxes();
    mt_init_ok = 1;
    ComGlMiscSetClearColour(0, 0, 0);
  }
  void TearDown() override {
    for (int i = 0; i < MUI_MAX_TEXTURES; i++)
      for (int s = 0; s < 4; s++)
        if (mui_texture[i].status[s] == MUI_TEX_LOADED) ComGlTextureRelease(&mui_texture[i].tex[s]);
    MuiTexturesPre3dInit();
    MuiRemoveAllBoxes();
  }
  void Thumb(Rgb c) {
    ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_SB_THUMB, "StdThumb", SolidBmp("thumb.bmp", c, 64, 16).c_str(), -1, 1, 24, 12));
  }
  void Frame() {
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
  }
};

// A box 156 wide at x 100 with arrows: the track starts at 116 and is 100 long, so on 0..100 the
// 24-wide thumb covers 116 + pos .. 139 + pos.
TEST_F(MuiBarsGl, AScrollBarThumbSitsAtItsPosition) {
  Thumb(kGreen);
  const int id = MuiAddNewScreenBox(100, 100, 256, 120, NoAction);
  MuiScrollbarSetValuesDouble(id, 0, 100, 10, 1);
  ASSERT_EQ(4, mouse_box[id].scrollbar_margin);
  for (int pos : {0, 50, 100}) {
    SCOPED_TRACE(pos);
    MuiScrollbarSetPos(id, pos, 0);
    Frame();
    EXPECT_PIXEL(116 + pos + 1, 110, kGreen);
    EXPECT_PIXEL(116 + pos + 22, 110, kGreen);
    EXPECT_PIXEL(116 + pos - 2, 110, kBlack);
    EXPECT_PIXEL(116 + pos + 26, 110, kBlack);
  }
  // A bar with no track left draws its thumb at the track's start, not off somewhere.
  MuiSetDimensions(id, 100, 100, 152, 120);
  MuiScrollbarSetPos(id, 100, 0);
  Frame();
  const int start = 100 + mouse_box[id].scrollbar_margin + 12;
  EXPECT_PIXEL(start + 1, 110, kGreen);
  EXPECT_PIXEL(start + 26, 110, kBlack);
}

// Each colour bar draws its own texture over the box narrowed by 3 and a third of its height; its
// thumb sits where the component puts it, at the end for a bound value outside 0..1.
TEST_F(MuiBarsGl, AColourPickerDrawsItsBarsAndThumbs) {
  Thumb(kWhite);
  ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_COLOUR_RED, "StdRed", SolidBmp("r.bmp", kRed, 64, 16).c_str(), -1, 1, 16, 16));
  ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_COLOUR_GREEN, "StdGreen", SolidBmp("g.bmp", kGreen, 64, 16).c_str(), -1, 1, 16, 16));
  ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_COLOUR_BLUE, "StdBlue", SolidBmp("b.bmp", kBlue, 64, 16).c_str(), -1, 1, 16, 16));
  // The options screen gives its pickers a callback and arrow kinds, so that a press reaches the
  // picker rather than firing as a push button; the bars have no arrows, and their thumbs travel
  // the same whole bar either way.
  for (bool arrows : {false, true}) {
    SCOPED_TRACE(arrows ? "arrow kinds set" : "no arrow kinds");
    MuiRemoveAllBoxes();
    const int id = MuiAddNewScreenBox(100, 100, 238, 164, arrows ? NoAction : nullptr);
    MuiSetType(id, MUI_TYPE_COLOUR);
    if (arrows) MuiSetArrowsState(id, 1, 1);
    _MuiFloat3 colour = {0.0f, 0.5f, 2.0f};
    MuiColourRegisterFloat3Variable(id, &colour);
    Frame();
    // Bars from y 102, 122, 142, 20 high, x 103..234; thumbs at 107 + 100 v, from bar top + 1.
    EXPECT_PIXEL(103, 112, kRed);
    EXPECT_PIXEL(101, 112, kBlack);
    EXPECT_PIXEL(200, 112, kRed);
    EXPECT_PIXEL(110, 112, kWhite);
    EXPECT_PIXEL(160, 132, kWhite);
    EXPECT_PIXEL(140, 132, kGreen);
    EXPECT_PIXEL(229, 152, kWhite);  // 2.0 drawn at the end: 207..230
    EXPECT_PIXEL(233, 152, kBlue);
    EXPECT_PIXEL(236, 152, kBlack);
    // Pressed at its far end a dozen times, a bar's thumb reaches that end with its value.
    colour = {0.0f, 0.0f, 0.0f};
    MuiColourUpdateFromFloatVar(id, 0);
    for (int i = 0; i < 12; i++) MuiColourHandleMousePress(id, 233, 112);
    EXPECT_FLOAT_EQ(1.0f, colour.r);
    Frame();
    EXPECT_PIXEL(229, 112, kWhite);
    EXPECT_PIXEL(205, 112, kRed);
  }
}

// An inactive box draws its standard pictures in the disabled state; a picture added as one file
// serves that state too, so an inactive scroll bar keeps its thumb.
TEST_F(MuiBarsGl, AnInactiveScrollBarKeepsItsThumb) {
  Thumb(kGreen);
  const int id = MuiAddNewScreenBox(100, 100, 256, 120, NoAction);
  MuiScrollbarSetValuesDouble(id, 0, 100, 10, 1);
  MuiScrollbarSetPos(id, 50, 0);
  for (char active : {1, 0}) {
    SCOPED_TRACE((int)active);
    MuiSetActiveState(id, active);
    Frame();
    EXPECT_PIXEL(116 + 50 + 1, 110, kGreen);
    EXPECT_PIXEL(116 + 50 + 22, 110, kGreen);
  }
}

// The range's bar is the thumb texture cut in three: the lower cap from its left quarter, the
// middle from its middle half, the upper cap from its right quarter.
TEST_F(MuiBarsGl, ARangeDrawsItsCapsAndMiddle) {
  ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_SB_THUMB, "StdThumb", BandsBmp("bands.bmp", kRed, kGreen, kBlue).c_str(),
                                    -1, 1, 24, 12));
  const int id = MuiAddNewScreenBox(100, 100, 232, 120, nullptr);
  MuiRangeSetLimits(id, 0, 1, 0.1f);
  MuiRangeSetRange(id, 0.25f, 0.75f, 0, 0);
  Frame();
  // The bar runs 129..202: caps 129..136 and 195..202, the middle between; 12 high about y 110.
  // (Pixels at the parts' seams mix neighbouring texels; their middles do not.)
  EXPECT_PIXEL(131, 110, kRed);
  EXPECT_PIXEL(134, 110, kRed);
  EXPECT_PIXEL(140, 110, kGreen);
  EXPECT_PIXEL(190, 110, kGreen);
  EXPECT_PIXEL(197, 110, kBlue);
  EXPECT_PIXEL(200, 110, kBlue);
  EXPECT_PIXEL(127, 110, kBlack);
  EXPECT_PIXEL(204, 110, kBlack);
  EXPECT_PIXEL(160, 103, kBlack);
  MuiRangeSetRange(id, 0.0f, 1.0f, 0, 0);
  Frame();
  EXPECT_PIXEL(107, 110, kRed);
  EXPECT_PIXEL(224, 110, kBlue);
}

}  // namespace
