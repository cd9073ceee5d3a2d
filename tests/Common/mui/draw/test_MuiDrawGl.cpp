// The menu layer drawn into a real window under Xvfb and read back: button textures by state,
// nine-sliced corners at any size, boxes in id order, and texts kept inside their limits.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>

#include <string>
#include <vector>

#include "Common/graphics/support_GlPixels.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiPopup.h"
#include "MuiRender.h"
#include "MuiScrollbar.h"
#include "MuiText.h"
#include "MuiTextures.h"

namespace {

// 64 x 64 in a 3 x 3 grid of bands 16, 32 and 16 texels wide: with the corner fraction 0.25 each
// band is one part of the nine-slice.
const Rgb kGrid[3][3] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                         {{255, 255, 0}, {0, 0, 0}, {0, 255, 255}},
                         {{255, 0, 255}, {255, 255, 255}, {128, 128, 128}}};
int Band(int v) { return v < 16 ? 0 : (v < 48 ? 1 : 2); }

std::string GridBmp() {
  GlTestPicture pic;
  pic.Resize(64, 64, 3);
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) {
      const Rgb& c = kGrid[Band(y)][Band(x)];
      pic.Set(x, y, c.r, c.g, c.b);
    }
  std::string path = GlTestPath("grid.bmp");
  EXPECT_TRUE(GlTestWriteBmp24(path, pic));
  return path;
}

class MuiDrawGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiTexturesSetupSegmentedDrawing(0, 5, 0.25f);
    MuiRemoveAllBoxes();
    ComGlMiscSetClearColour(0, 0, 0);
    ComGlMiscClearScreenAndDepthBuffers();
  }
  void TearDown() override {
    for (int i = 0; i < MUI_MAX_TEXTURES; i++)
      for (int s = 0; s < 4; s++)
        if (mui_texture[i].status[s] == MUI_TEX_LOADED) ComGlTextureRelease(&mui_texture[i].tex[s]);
    MuiTexturesPre3dInit();
    MuiRemoveAllBoxes();
  }
  int Box(int x1, int y1, int x2, int y2, const char* bitmap) {
    int id = MuiAddNewScreenBox(x1, y1, x2, y2, nullptr);
    EXPECT_GE(id, 0);
    MuiSetBitmap(id, bitmap);
    return id;
  }
  void Frame() {
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
  }
};

TEST_F(MuiDrawGl, EachStateDrawsItsOwnTexture) {
  const Rgb normal{200, 0, 0}, pressed{0, 200, 0}, high{0, 0, 200}, disabled{200, 200, 0};
  const char* files[4] = {"n.bmp", "p.bmp", "h.bmp", "d.bmp"};
  const Rgb cols[4] = {normal, pressed, high, disabled};
  for (int s = 0; s < 4; s++)
    ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_states", SolidBmp(files[s], cols[s]).c_str(), (char)s, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(31, "bmp_one", SolidBmp("one.bmp", {50, 100, 150}).c_str(), -1, 0, 0, 0));
  int id = Box(100, 100, 200, 150, "bmp_states");
  int one = Box(300, 100, 400, 150, "bmp_one");

  struct Case {
    const char* what;
    unsigned char active, pressed;
    bool highlighted;
    Rgb expect;
  } cases[] = {
      {"normal", 1, 0, false, normal},
      {"pressed", 1, 1, false, pressed},
      {"highlighted", 1, 0, true, high},
      {"pressed wins over highlighted", 1, 1, true, pressed},
      {"disabled wins over all", 0, 1, true, disabled},
  };
  for (const Case& c : cases) {
    mouse_box[id].active = mouse_box[one].active = c.active;
    mouse_box[id].pressed = mouse_box[one].pressed = c.pressed;
    box_highlighted = c.highlighted ? id : -1;
    Frame();
    GlTestRgba p = GlTestReadPixelTop(150, 125);
    EXPECT_TRUE(Near(p, c.expect)) << c.what << ": " << Str(p);
    // A one-file slot answers its one image in every state.
    box_highlighted = c.highlighted ? one : -1;
    Frame();
    p = GlTestReadPixelTop(350, 125);
    EXPECT_TRUE(Near(p, {50, 100, 150})) << c.what << " (one file): " << Str(p);
  }
  box_highlighted = -1;
}

TEST_F(MuiDrawGl, NineSlicedButtonKeepsItsCornersAtAnySize) {
  MuiTexturesSetupSegmentedDrawing(1, 5, 0.25f);
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_nine", GridBmp().c_str(), -1, 0, 0, 0));
  ASSERT_EQ(1, mui_texture[26].segmented);
  struct Size {
    int w, h;
  } sizes[] = {{40, 40}, {200, 120}, {300, 60}};
  for (const Size& s : sizes) {
    MuiRemoveAllBoxes();
    const int x = 100, y = 100;
    Box(x, y, x + s.w, y + s.h, "bmp_nine");
    Frame();
    // Corners stay 5 units whatever the size; the edges and the middle take the rest.
    const int xs[3] = {x + 2, x + s.w / 2, x + s.w - 3};
    const int ys[3] = {y + 2, y + s.h / 2, y + s.h - 3};
    for (int r = 0; r < 3; r++)
      for (int c = 0; c < 3; c++) {
        GlTestRgba p = GlTestReadPixelTop(xs[c], ys[r]);
        EXPECT_TRUE(Near(p, kGrid[r][c], 4)) << s.w << "x" << s.h << " part " << r << "," << c << ": " << Str(p);
      }
    // Past the 5-unit corner is already the edge, where a stretched picture would still show
    // the corner (a quarter of the width). Wide edges blend with the corner texel near the seam.
    GlTestRgba past = GlTestReadPixelTop(x + (s.w >= 100 ? 20 : 8), y + 2);
    EXPECT_TRUE(Near(past, kGrid[0][1], 4)) << s.w << "x" << s.h << ": " << Str(past);
  }
}

TEST_F(MuiDrawGl, SmallBoxesFallBackToFewerParts) {
  MuiTexturesSetupSegmentedDrawing(1, 5, 0.25f);
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_nine", GridBmp().c_str(), -1, 0, 0, 0));
  // 15 x 15 is not above three corners: one stretched quad, whose middle is the picture's middle.
  Box(100, 100, 115, 115, "bmp_nine");
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(107, 107), kGrid[1][1], 4)) << Str(GlTestReadPixelTop(107, 107));
  EXPECT_TRUE(Near(GlTestReadPixelTop(101, 101), kGrid[0][0], 4)) << Str(GlTestReadPixelTop(101, 101));
  // 60 wide and 15 high: three parts across at full height. The left part (5 wide) shows the
  // picture's left column top to bottom.
  MuiRemoveAllBoxes();
  Box(100, 200, 160, 215, "bmp_nine");
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(102, 201), kGrid[0][0], 4)) << Str(GlTestReadPixelTop(102, 201));
  EXPECT_TRUE(Near(GlTestReadPixelTop(102, 207), kGrid[1][0], 4)) << Str(GlTestReadPixelTop(102, 207));
  EXPECT_TRUE(Near(GlTestReadPixelTop(108, 201), kGrid[0][1], 4)) << Str(GlTestReadPixelTop(108, 201));
}

TEST_F(MuiDrawGl, LaterBoxesDrawOverEarlierOnes) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_red", SolidBmp("red.bmp", {220, 0, 0}).c_str(), -1, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(27, "bmp_green", SolidBmp("green.bmp", {0, 220, 0}).c_str(), -1, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(28, "bmp_blue", SolidBmp("blue.bmp", {0, 0, 220}).c_str(), -1, 0, 0, 0));
  // The background goes under every box.
  MuiRenderSetBackgroundTexture(&mui_texture[28].tex[0]);
  Box(100, 100, 300, 200, "bmp_red");
  Box(200, 150, 400, 250, "bmp_green");
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(20, 20), {0, 0, 220}));
  MuiRenderSetBackgroundTexture(nullptr);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 120), {220, 0, 0}));
  EXPECT_TRUE(Near(GlTestReadPixelTop(250, 175), {0, 220, 0})) << Str(GlTestReadPixelTop(250, 175));
  // A hidden box is not drawn; the one below shows through.
  MuiShowButton(1, 0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(250, 175), {220, 0, 0})) << Str(GlTestReadPixelTop(250, 175));
  EXPECT_TRUE(Near(GlTestReadPixelTop(350, 225), {0, 0, 0}));
}

TEST_F(MuiDrawGl, ZeroSizedOrMissingTexturesDrawNothing) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_red", SolidBmp("red.bmp", {220, 0, 0}).c_str(), -1, 0, 0, 0));
  _ComGlDxTexture* t = nullptr;
  ASSERT_EQ(1, MuiTexturesGetButtonTexturePointer("bmp_red", 0, &t, nullptr));
  ASSERT_NE(nullptr, t);
  Frame();
  EXPECT_EQ(1, MuiTexturesDrawTexture(t, 100, 100, 50, 50, 0));
  // Zero or negative sizes would reuse the last placement: nothing may appear there again.
  ComGlMiscClearScreenAndDepthBuffers();
  EXPECT_EQ(0, MuiTexturesDrawTexture(t, 300, 300, 0, 50, 0));
  EXPECT_EQ(0, MuiTexturesDrawTexture(t, 300, 300, 50, -5, 0));
  _ComGlDxTexture empty = {};
  EXPECT_EQ(0, MuiTexturesDrawTexture(&empty, 100, 100, 50, 50, 1));
  EXPECT_TRUE(Near(GlTestReadPixelTop(125, 125), {0, 0, 0})) << Str(GlTestReadPixelTop(125, 125));
}

TEST_F(MuiDrawGl, AStateWithoutAFileCannotReplaceALoadedOne) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_red", SolidBmp("red.bmp", {220, 0, 0}).c_str(), 0, 0, 0, 0));
  mt_init_ok = 1;
  ASSERT_NE(nullptr, MuiTexturesGetTextureFromNum(26, 0));
  const unsigned int name = mui_texture[26].tex[0].image.tex_name;
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_red", nullptr, 0, 0, 0, 0));
  EXPECT_NE(std::string::npos,
            GlTestLogSince().find(GlTestErrorLine("MuiTexturesAddButton", "Button <26:0> already set")));
  EXPECT_EQ(MUI_TEX_LOADED, mui_texture[26].status[0]);
  Box(100, 100, 200, 150, "bmp_red");
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 125), {220, 0, 0}));
  // Leaving the menus releases it: the GL name is gone.
  MuiTexturesExit();
  EXPECT_EQ(GL_FALSE, glIsTexture(name));
  EXPECT_EQ(MUI_TEX_NOT_SET, mui_texture[26].status[0]);
}

TEST_F(MuiDrawGl, AlphaModesLoadThirtyTwoBitTextures) {
  const std::string file = SolidBmp("alpha.bmp", {10, 20, 30});
  struct Case {
    _MuiAlphaTexturesType mode;
    int bpp;
  } cases[] = {{MUI_ALPHA_NONE, 24}, {MUI_ALPHA_TYPE_3, 32}, {MUI_ALPHA_TYPE_2, 32}};
  int id = 26;
  for (const Case& c : cases) {
    MuiSetUsingAlphaTextures(c.mode);
    ASSERT_EQ(1, MuiTexturesAddButton(id, "bmp_alpha", file.c_str(), 0, 0, 0, 0));
    EXPECT_EQ(c.bpp, mui_texture[id].tex[0].image.bpp) << (int)c.mode;
    id++;
  }
  MuiSetUsingAlphaTextures(MUI_ALPHA_NONE);
}

TEST_F(MuiDrawGl, ButtonBlendingFollowsTheBoxAndTheLayer) {
  int id = MuiAddNewScreenBox(10, 10, 50, 50, nullptr);
  struct Case {
    unsigned char box_blend;
    _MuiAlphaTexturesType alpha;
    int layer_blend;
    int expect;  // blending type, -1 none
  } cases[] = {{1, MUI_ALPHA_NONE, -1, 10}, {2, MUI_ALPHA_NONE, -1, 4},  {3, MUI_ALPHA_NONE, -1, 8},
               {0, MUI_ALPHA_TYPE_2, -1, 7}, {0, MUI_ALPHA_NONE, 5, 5},  {0, MUI_ALPHA_NONE, -1, -1}};
  for (const Case& c : cases) {
    ComGlMiscDisableBlending();
    char on = 0;
    int src = 0, dst = 0, want_src = 0, want_dst = 0;
    if (c.expect >= 0) {
      ComGlMiscEnableBlendingType(c.expect);
      ComGlMiscGetBlendingState(&on, &want_src, &want_dst);
      ComGlMiscDisableBlending();
    }
    mouse_box[id].button_blend_type = c.box_blend;
    MuiSetUsingAlphaTextures(c.alpha);
    MuiSetDefaultButtonBlendType(c.layer_blend);
    MuiBitmapSetupBlending(&mouse_box[id]);
    ComGlMiscGetBlendingState(&on, &src, &dst);
    EXPECT_EQ(c.expect >= 0, on != 0) << (int)c.box_blend;
    if (c.expect >= 0) {
      EXPECT_EQ(want_src, src) << (int)c.box_blend;
      EXPECT_EQ(want_dst, dst) << (int)c.box_blend;
    }
    MuiBitmapTurnOffBlending(&mouse_box[id]);
    EXPECT_EQ(0, ComGlMiscIsBlendingEnabled());
  }
  MuiSetUsingAlphaTextures(MUI_ALPHA_NONE);
  MuiSetDefaultButtonBlendType(-1);
}

void NoAction(char) {}

TEST_F(MuiDrawGl, ArrowsAreDrawnWhereTheBoxPlacesThem) {
  ASSERT_EQ(1, MuiTexturesAddButton(0, "StdLeftArrow", SolidBmp("l.bmp", {220, 0, 220}).c_str(), -1, 1, 12, 12));
  ASSERT_EQ(1, MuiTexturesAddButton(1, "StdRightArrow", SolidBmp("r.bmp", {0, 220, 220}).c_str(), -1, 1, 12, 12));
  mt_init_ok = 1;
  mui_std_dim.arrow_w = 12;
  mui_std_dim.arrow_h = 12;
  int id = MuiAddNewScreenBox(100, 100, 300, 130, NoAction);
  mouse_box[id].arrow_margin = 4;
  MuiSetArrowsState(id, 1, 3);  // left at the end, right centred
  Frame();
  // Left arrow at x1 + 4 .. + 12, right arrow centred at 194 .. 206, both 109 .. 121 high.
  EXPECT_TRUE(Near(GlTestReadPixelTop(110, 115), {220, 0, 220})) << Str(GlTestReadPixelTop(110, 115));
  EXPECT_TRUE(Near(GlTestReadPixelTop(200, 115), {0, 220, 220})) << Str(GlTestReadPixelTop(200, 115));
  EXPECT_TRUE(Near(GlTestReadPixelTop(290, 115), {0, 0, 0})) << Str(GlTestReadPixelTop(290, 115));
  // An inactive box shows no arrows.
  MuiSetActiveState(id, 0);
  MuiSetArrowsState(id, 1, 3);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(110, 115), {0, 0, 0})) << Str(GlTestReadPixelTop(110, 115));
  EXPECT_TRUE(Near(GlTestReadPixelTop(200, 115), {0, 0, 0})) << Str(GlTestReadPixelTop(200, 115));
}

// The application's hooks for the alpha-mask test: register two buttons, then shape the red one
// with a mask whose left half is opaque and right half clear.
std::string mask_button, mask_back, mask_file;
void MaskLoad(char) {
  MuiTexturesAddButton(26, "bmp_back", mask_back.c_str(), -1, 0, 0, 0);
  MuiTexturesAddButton(27, "bmp_main", mask_button.c_str(), 0, 0, 0, 0);
}
void MaskPostLoad() {
  _ComGlDxTexture mask = {};
  _ComGlDxTexture* main = nullptr;
  ASSERT_EQ(1, ComGlTextureLoadFromTgaFile(mask_file.c_str(), 0, 1, 2, &mask));
  ASSERT_EQ(1, MuiTexturesGetButtonTexturePointer("bmp_main", 0, &main, nullptr));
  EXPECT_EQ(1, ComGlTextureCopyAlphaChannelFromTexture(&mask, main));
  ComGlTextureRelease(&mask);
}

TEST_F(MuiDrawGl, AlphaMaskCopiedAfterLoadingShapesTheButton) {
  mask_back = SolidBmp("mask_back.bmp", {0, 0, 220});
  mask_button = SolidBmp("mask_button.bmp", {220, 0, 0});
  GlTestPicture mask;
  mask.Resize(16, 16, 4);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) mask.Set(x, y, 255, 255, 255, x < 8 ? 255 : 0);
  mask_file = GlTestPath("mask.tga");
  ASSERT_TRUE(GlTestWriteTga(mask_file, mask));
  MuiSetUsingAlphaTextures(MUI_ALPHA_TYPE_2);
  MuiTexturesSetLoadCB(MaskLoad);
  MuiTexturesSetPostLoadButtonsCB(MaskPostLoad);
  ASSERT_EQ(1, MuiTexturesInit());
  Box(100, 100, 300, 200, "bmp_back");
  Box(120, 120, 280, 180, "bmp_main");
  Frame();
  // Blended with type 7 (one, one minus source alpha): the opaque half covers the back, the
  // clear half lets it through.
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 150), {220, 0, 0}, 6)) << Str(GlTestReadPixelTop(150, 150));
  EXPECT_TRUE(Near(GlTestReadPixelTop(250, 150), {220, 0, 220}, 6)) << Str(GlTestReadPixelTop(250, 150));
  EXPECT_TRUE(Near(GlTestReadPixelTop(110, 110), {0, 0, 220}, 6)) << Str(GlTestReadPixelTop(110, 110));
  MuiTexturesExit();
  MuiTexturesSetLoadCB(nullptr);
  MuiTexturesSetPostLoadButtonsCB(nullptr);
  MuiSetUsingAlphaTextures(MUI_ALPHA_NONE);
}

// ---------------------------------------------------------------------------------------------
// Texts with the real menu font

class MuiTextGl : public MuiDrawGl {
 protected:
  _ComFreeTypeFont font = {};
  void SetUp() override {
    MuiDrawGl::SetUp();
    std::string path = std::string(LECTREL_RESOURCES) + "/default.ttf";
    ASSERT_EQ(1, ComFreeTypeCreate(path.c_str(), 144, 64, 256, 0.090205f, 0.07541f, 1.065574f, 0, 0, 0, 0, 0, 1,
                                   &font));
    mui_free_type_font = &font;
    mui_text_type = 1;
  }
  void TearDown() override {
    mui_text_type = 0;
    mui_free_type_font = nullptr;
    ComFreeTypeRelease(&font);
    MuiDrawGl::TearDown();
  }
  // Lit pixels (any channel above 40) in columns [x0, x1) and rows [y0, y1) from the top.
  int Lit(int x0, int y0, int x1, int y1) {
    std::vector<unsigned char> px((size_t)(x1 - x0) * (y1 - y0) * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, 480 - y1, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
      if (px[i] > 40 || px[i + 1] > 40 || px[i + 2] > 40) n++;
    return n;
  }
  int Label(int x1, int y1, int x2, int y2, const char* text, int h, int w) {
    int id = MuiAddNewScreenBox(x1, y1, x2, y2, nullptr);
    MuiSetText(id, text);
    MuiSetTextSize(id, h, w);
    MuiSetTextColourFloat(id, 1, 1, 1, 1, 1, 1);
    return id;
  }
};

TEST_F(MuiTextGl, WideTextIsShrunkIntoItsLimits) {
  int id = Label(300, 200, 340, 230, "A LONG LABEL FOR A NARROW BOX", 16, 10);
  ASSERT_GT(MuiTextGetStringWidth(id, mouse_box[id].text[0]), 150.0f);
  int left = 0, right = 0;
  ASSERT_EQ(1, MuiGetButtonTextXLimits(id, &left, &right));
  Frame();
  EXPECT_GT(Lit(left, 200, right + 1, 231), 20);
  EXPECT_EQ(0, Lit(0, 190, left - 1, 240));
  EXPECT_EQ(0, Lit(right + 2, 190, 640, 240));
  // The font's own scale is back where it was.
  EXPECT_FALSE(font.scaling_on);
}

TEST_F(MuiTextGl, CrossedLimitsAndZeroSizesDrawNothing) {
  struct Case {
    const char* what;
    int x1, x2, h, w;
  } cases[] = {
      {"visible reference", 200, 440, 16, 10},
      {"limits meeting: a shrink factor of 0 would draw full size", 300, 310, 16, 10},
      {"limits crossed by the margins", 300, 304, 16, 10},
      {"zero text height", 200, 440, 0, 10},
      {"zero text width", 200, 440, 16, 0},
  };
  for (const Case& c : cases) {
    MuiRemoveAllBoxes();
    int id = Label(c.x1, 200, c.x2, 230, "Label", c.h, c.w);
    if (c.x2 - c.x1 <= 10) mouse_box[id].text_margin = 5;
    Frame();
    int lit = Lit(0, 150, 640, 280);
    if (c.what[0] == 'v')
      EXPECT_GT(lit, 20) << c.what;
    else
      EXPECT_EQ(0, lit) << c.what;
  }
}

TEST_F(MuiTextGl, InactiveTextsTakeTheDisabledColourWhenAsked) {
  int id = Label(200, 200, 440, 230, "Label", 16, 10);
  auto brightest = [&]() {
    glFinish();
    std::vector<unsigned char> px(240 * 60 * 4);
    glReadPixels(200, 480 - 250, 240, 60, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int m = 0;
    for (size_t i = 0; i < px.size(); i += 4) m = std::max(m, (int)px[i]);
    return m;
  };
  mouse_box[id].active = 0;
  Frame();
  EXPECT_GT(brightest(), 200);  // the switch is off: still white
  MuiUseDisabledTextColour(1);
  MuiSetDisabledTextColour(0.3f, 0.3f, 0.3f);
  Frame();
  int grey = brightest();
  EXPECT_GT(grey, 30);
  EXPECT_LE(grey, 80);
  mouse_box[id].active = 1;
  Frame();
  EXPECT_GT(brightest(), 200);
  MuiUseDisabledTextColour(0);
}

TEST_F(MuiTextGl, MultiLineBoxesBreakLinesAndFitAWordLongerThanTheBox) {
  // A backslash and an n split the text into two lines: two bands of lit rows.
  int id = Label(200, 100, 440, 220, "acme\\nmoon", 16, 10);
  MuiSetButtonDrawType(id, MUI_TEXT_MULTI_CENTRED_HEAD_LEFT);
  Frame();
  int bands = 0;
  bool in_band = false;
  for (int y = 100; y < 221; y++) {
    bool lit = Lit(200, y, 441, y + 1) > 0;
    if (lit && !in_band) bands++;
    in_band = lit;
  }
  EXPECT_EQ(2, bands);
  // An unbroken word wider than the box is fitted into the box, in a multi-line box as in a
  // one-line box.
  MuiRemoveAllBoxes();
  id = Label(300, 300, 340, 330, "UNBROKENWORDLONGERTHANITSBOX", 16, 10);
  for (_MuiTextDrawType type : {MUI_TEXT_MULTI_LEFT, MUI_TEXT_LEFT}) {
    MuiSetButtonDrawType(id, type);
    Frame();
    EXPECT_EQ(0, Lit(345, 290, 640, 340)) << type;
    EXPECT_EQ(0, Lit(0, 290, 298, 340)) << type;
    EXPECT_GT(Lit(300, 290, 345, 340), 20) << type;
  }
}

// A remembered path of 1,023 characters, told in the "Error Loading File" popup as the reader
// tells it (shortened from its front to the popup's 511 characters): every lit pixel lies inside
// the popup, at the reader's popup text sizes and at the default ones.
TEST_F(MuiTextGl, ALongPathIsDrawnInsideItsPopup) {
  const std::string tail = "/Chapter-Notes.pdf)";
  std::string message = "Cannot access file (...";
  message += std::string(511 - message.size() - tail.size(), 'd') + tail;
  ASSERT_EQ(511u, message.size());
  for (float scale_x : {0.8f, 1.0f}) {
    SCOPED_TRACE(scale_x);
    MuiPopupSetTextSizes(scale_x, scale_x == 1.0f ? 1.0f : 0.7f);
    MuiPopupSimpleMessage("Error Loading File", message.c_str());
    ASSERT_TRUE(MuiPopupIsOn());
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    MuiGetDimensions(muiMuiPopupMain, &x1, &y1, &x2, &y2);
    for (int id = mp_old_num_boxes; id < num_mouse_boxes; id++) {
      const _MouseBox& b = mouse_box[id];
      if (!b.shown) continue;
      EXPECT_TRUE(b.x1 >= x1 && b.x2 <= x2 && b.y1 >= y1 && b.y2 <= y2) << "box " << id << " leaves the popup";
    }
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
    MuiRenderAlwaysOnTop();
    const int inside = Lit(x1, y1, x2 + 1, y2 + 1);
    EXPECT_GT(inside, 500);
    EXPECT_EQ(inside, Lit(0, 0, 640, 480)) << "text drawn outside the popup " << x1 << "," << y1 << " " << x2 << ","
                                           << y2;
    MuiPopupClose(0);
  }
  MuiPopupSetTextSizes(1.0f, 1.0f);
}

// A scroll bar's label runs across its thumb: where the letters lie over the thumb they are drawn
// in the colour opposite to their own, so dark letters still read on a dark thumb.
TEST_F(MuiTextGl, AScrollBarLabelReadsOverItsThumb) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_light", SolidBmp("light.bmp", {200, 200, 200}).c_str(), -1, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(MUI_STD_SB_THUMB, "StdThumb", SolidBmp("thumb.bmp", {0, 0, 160}).c_str(), -1, 1,
                                    40, 20));
  mt_init_ok = 1;
  MuiSetStandardButtonBlendType(-1);  // the thumb opaque: its colour is read back
  MuiSetupStandardButtonsDimensions();
  const int id = Label(100, 200, 400, 230, "MMMMMMMMMMMMMMMMMMMM", 16, 10);
  MuiSetBitmap(id, "bmp_light");
  MuiSetTextColourFloat(id, 0, 0, 0, 0, 0, 0);
  MuiSetCallback(id, [](char) {});
  MuiScrollbarSetValuesDouble(id, 0, 100, 10, 1);
  MuiScrollbarSetPos(id, 50, 0);
  Frame();
  const _MuiBitmap& b = mui_bitmap[id];
  ASSERT_EQ(1, b.std_include[MUI_STD_SB_THUMB]);
  const int tx = b.std_x[MUI_STD_SB_THUMB], ty = b.std_y[MUI_STD_SB_THUMB];
  // Bright pixels (letters) inside the thumb; the thumb itself is dark.
  glFinish();
  std::vector<unsigned char> px(40 * 20 * 4);
  glReadPixels(tx, 480 - (ty + 20), 40, 20, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  int bright = 0, thumb = 0;
  for (size_t i = 0; i < px.size(); i += 4) {
    const int y = (299 * px[i] + 587 * px[i + 1] + 114 * px[i + 2]) / 1000;
    if (y > 150) bright++;
    if (px[i] < 40 && px[i + 1] < 40 && px[i + 2] > 120) thumb++;
  }
  EXPECT_GT(bright, 40) << "letters over the thumb";
  EXPECT_GT(thumb, 100) << "the thumb is still drawn";
  MuiSetStandardButtonBlendType(1);
  mt_init_ok = -1;
}

}  // namespace
