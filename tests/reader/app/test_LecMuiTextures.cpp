// The reader's menu font and button textures in a real window under Xvfb, loaded from the
// generated resource folder the way the reader starts its menus: the masks round every state of
// the large buttons (disabled too), the shared names answer the main button's pictures, "bmp_none"
// draws nothing, the title pictures follow the run counter, and the generated files have the
// sizes their masks need.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Common/graphics/support_GlWindow.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "Config.h"
#include "Game.h"
#include "LecFont.h"
#include "LecMuiTextures.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiRender.h"
#include "MuiText.h"
#include "MuiTextures.h"
#include "PrefFolder.h"

namespace {

// Width and height of a generated BMP or TGA, read from its header; 0, 0 when unreadable.
void FileSize(const std::string& name, int* w, int* h) {
  *w = *h = 0;
  std::vector<unsigned char> b = GlTestReadFile(std::string(LECTREL_RESOURCES) + "/" + name);
  if (b.size() < 26) return;
  if (b[0] == 'B' && b[1] == 'M') {
    *w = b[18] | b[19] << 8 | b[20] << 16 | b[21] << 24;
    *h = b[22] | b[23] << 8 | b[24] << 16 | b[25] << 24;
    EXPECT_EQ(24, b[28]) << name;  // 24 bits, no compression
    EXPECT_EQ(0, b[30]) << name;
  } else {
    *w = b[12] | b[13] << 8;
    *h = b[14] | b[15] << 8;
    EXPECT_EQ(2, b[2]) << name;  // uncompressed true colour, 32 bits
    EXPECT_EQ(32, b[16]) << name;
  }
}

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

class LecMuiTexturesGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    ASSERT_EQ(0, chdir(LECTREL_RESOURCES));
    // The reader's menu set-up before its context, then the menus started.
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    LecMuiTexturesPre3dInit();
    MuiSetUsingAlphaTextures(MUI_ALPHA_TYPE_2);
    MuiTexturesSetPostLoadButtonsCB(LecUpdateMuiButtonAlphaChannels);
    MuiSetupStandardButtonsDimensions();
    ComGlMiscSetClearColour(0, 0, 0);
  }
  void TearDown() override {
    MuiShutdown();
    MuiTexturesSetLoadCB(nullptr);
    MuiTexturesSetOverwriteTextureCB(nullptr);
    MuiTexturesSetPostLoadButtonsCB(nullptr);
    config.run_counter = 0;
    GlTestFixture::TearDown();
  }
  void Start() {
    GlTestLogMark();
    ASSERT_EQ(1, MuiStartup());
  }
  _ComGlDxTexture* Texture(const char* name, int state) {
    _ComGlDxTexture* t = nullptr;
    EXPECT_EQ(1, MuiTexturesGetButtonTexturePointer(name, (char)state, &t, nullptr)) << name << " " << state;
    return t;
  }
  // The texel's four bytes (R, G, B, A), rows counted from the bottom.
  const unsigned char* Texel(_ComGlDxTexture* t, int x, int y) {
    return t->image.pixels + ((size_t)y * t->image.width + x) * 4;
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

TEST_F(LecMuiTexturesGl, MasksRoundEveryStateAndLeaveTheCornersBlack) {
  Start();
  EXPECT_EQ(0, GlTestCountOccurrences(GlTestLogSince(), "Could not load")) << GlTestLogSince();
  EXPECT_EQ(0, GlTestCountOccurrences(GlTestLogSince(), "Texture sizes not the same"));
  const char* names[] = {"bmp_main", "bmp_title1", "bmp_title2", "bmp_title3", "bmp_title4", "bmp_box", "bmp_wbox"};
  for (const char* name : names)
    for (int s = 0; s < 4; s++) {
      _ComGlDxTexture* t = Texture(name, s);
      ASSERT_NE(nullptr, t) << name << " " << s;
      ASSERT_EQ(32, t->image.bpp) << name;
      const int w = t->image.width, h = t->image.height;
      const int corners[4][2] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
      for (const auto& c : corners) {
        const unsigned char* p = Texel(t, c[0], c[1]);
        EXPECT_EQ(0, p[3]) << name << " state " << s << " corner " << c[0] << "," << c[1];
        // Premultiplied: drawn with (1, 1 - alpha) nothing may show where the mask is empty.
        EXPECT_EQ(0, p[0] + p[1] + p[2]) << name << " state " << s;
      }
      EXPECT_EQ(255, Texel(t, w / 2, h / 2)[3]) << name << " state " << s;
    }
}

// The screens are light: the standard shapes carry masks and are laid on with premultiplied alpha,
// so the scroll bar's thumb reads as a blue thumb on a light bar face and nothing shows around it.
TEST_F(LecMuiTexturesGl, StandardShapesAreMaskedAndTheThumbStandsOutOnALightFace) {
  Start();
  EXPECT_EQ(0, GlTestCountOccurrences(GlTestLogSince(), "Could not load")) << GlTestLogSince();
  const int shaped[] = {MUI_STD_LEFT_ARROW, MUI_STD_RIGHT_ARROW, MUI_STD_SB_THUMB, MUI_STD_LIST_BUTTON,
                        MUI_STD_LIST_SEL,   MUI_STD_CHECK_ON,    MUI_STD_CHECK_OFF, MUI_STD_PANEL_BAR};
  for (int id : shaped) {
    _ComGlDxTexture* t = MuiTexturesGetTextureFromNum(id, 0);
    ASSERT_NE(nullptr, t) << id;
    const unsigned char* corner = Texel(t, 0, 0);
    EXPECT_EQ(0, corner[3]) << "standard " << id;
    EXPECT_EQ(0, corner[0] + corner[1] + corner[2]) << "standard " << id;
    EXPECT_GT(Texel(t, t->image.width / 2, t->image.height / 2)[3], 100) << "standard " << id;
  }
  Box(100, 100, 400, 130, "bmp_wbox");
  MuiSetStandardButtonBlendType(7);
  Frame();
  const GlTestRgba bar = GlTestReadPixelTop(242, 115);
  MuiBitmapDrawStandardButton(MUI_STD_SB_THUMB, 230, 107, 40, 16, 1);
  const GlTestRgba thumb = GlTestReadPixelTop(242, 115), outside = GlTestReadPixelTop(230, 107);
  MuiSetStandardButtonBlendType(1);
  EXPECT_GT(bar.r, 150) << "a light face";
  EXPECT_LT(thumb.r, bar.r - 60) << thumb.r << "," << thumb.g << "," << thumb.b;
  EXPECT_GT(thumb.b - thumb.r, 60) << "blue";
  Frame();
  const GlTestRgba plain = GlTestReadPixelTop(230, 107);
  EXPECT_NEAR(plain.r, outside.r, 8) << "nothing shows outside the thumb's shape";
  EXPECT_NEAR(plain.b, outside.b, 8);
}

TEST_F(LecMuiTexturesGl, SharedNamesDrawTheMainButtonAndNoneDrawsNothing) {
  Start();
  for (const char* name : {"bmp_go", "bmp_high", "bmp_option"})
    for (int s = 0; s < 4; s++) EXPECT_EQ(Texture("bmp_main", s), Texture(name, s)) << name << " " << s;
  _ComGlDxTexture* none = reinterpret_cast<_ComGlDxTexture*>(1);
  EXPECT_EQ(1, MuiTexturesGetButtonTexturePointer("bmp_none", 0, &none, nullptr));
  EXPECT_EQ(nullptr, none);
  char other = 0;
  EXPECT_EQ(2, LecOverwriteButtonTextureCB("bmp_box", 0, &none, &other));

  ComGlMiscSetClearColour(0, 0, 0.5f);
  const int main_id = Box(40, 40, 200, 120, "bmp_main");
  const int option = Box(240, 40, 400, 120, "bmp_option");
  Box(440, 40, 600, 120, "bmp_none");
  // A disabled wide box keeps its rounded corners over the background.
  const int wbox = Box(40, 200, 300, 232, "bmp_wbox");
  MuiSetActiveState(wbox, 0);
  box_highlighted = -1;
  Frame();
  for (int dy : {2, 20, 40, 78})
    for (int dx : {2, 30, 80, 157}) {
      GlTestRgba a = GlTestReadPixelTop(40 + dx, 40 + dy), b = GlTestReadPixelTop(240 + dx, 40 + dy);
      EXPECT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b) << dx << "," << dy;
    }
  GlTestRgba mid = GlTestReadPixelTop(120, 80);
  EXPECT_GT(mid.b, mid.r);  // the calm blue face, not the background
  EXPECT_NE(128, mid.b);
  GlTestRgba empty = GlTestReadPixelTop(520, 80);
  EXPECT_EQ(0, empty.r);
  EXPECT_NEAR(128, empty.b, 2);
  GlTestRgba corner = GlTestReadPixelTop(40, 200), inside = GlTestReadPixelTop(170, 216);
  EXPECT_EQ(0, corner.r);
  EXPECT_NEAR(128, corner.b, 2) << "a disabled wide box must not paint its corners";
  EXPECT_NE(128, inside.b);
  (void)main_id;
  (void)option;
}

TEST_F(LecMuiTexturesGl, TitlesThreeAndFourFollowTheRunCounter) {
  // The highlighted picture of title 3, once for each counter value.
  auto title3 = [this](int counter, int* after) {
    config.run_counter = counter;
    Start();
    _ComGlDxTexture* t = Texture("bmp_title3", MUI_TEX_HIGHLIGHTED);
    std::vector<unsigned char> px;
    if (t) px.assign(t->image.pixels, t->image.pixels + (size_t)t->image.width * t->image.height * 4);
    *after = config.run_counter;
    MuiShutdown();
    return px;
  };
  int after = 0;
  const std::vector<unsigned char> first = title3(0, &after);
  const std::vector<unsigned char> second = title3(1, &after);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_EQ(1, after);
  for (int odd : {2, -1, 7}) {
    EXPECT_EQ(first, title3(odd, &after)) << odd;
    EXPECT_EQ(0, after) << odd;
  }
}

TEST_F(LecMuiTexturesGl, MenuFontIsHandedToTheMenusAndTakenBackOnRelease) {
  _ComFreeTypeFont font = {};
  ASSERT_EQ(1, LecFontMainCreate(&font, 1));
  EXPECT_EQ(&font, mui_free_type_font);
  LecFontMainDestroy(&font, 1);
  EXPECT_EQ(nullptr, mui_free_type_font);
  EXPECT_EQ(0, font.setup);
  // The book's fallback font is made the same way without touching the menus.
  ASSERT_EQ(1, LecFontMainCreate(&font, 0));
  EXPECT_EQ(nullptr, mui_free_type_font);
  LecFontMainDestroy(&font, 0);
  EXPECT_EQ(0, LecFontMainCreate(nullptr, 1));
}

TEST(LecMenuSetUp, PreContextSetUpStylesTheMenusAndLeavesTheMasksForLater) {
  // In a folder without pictures: a mask load attempted now would log its failure.
  ASSERT_EQ(0, chdir(GlTestTempDir().c_str()));
  // The set-up reads the settings: they live in a throwaway home.
  setenv("HOME", GlTestTempDir().c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
  MuiTexturesPre3dInit();
  MuiSetupStandardButtonsDimensions();
  _MuiStandardDimensions before;
  MuiGetStandardButtonsDimensions(&before);
  GlTestLogMark();
  char a0[] = "lectrel";
  char* argv[] = {a0, nullptr};
  EXPECT_EQ(1, GamePre3dInitCB(1, argv));
  EXPECT_EQ(0, GlTestCountOccurrences(GlTestLogSince(), "alpha texture")) << GlTestLogSince();
  EXPECT_EQ(MUI_ALPHA_TYPE_2, mui_using_alpha_texs);
  EXPECT_EQ(7, mui_std_button_blend_type) << "premultiplied, as the masked standard pictures are";
  _MuiStandardDimensions after;
  MuiGetStandardButtonsDimensions(&after);
  EXPECT_FLOAT_EQ(0.05f, after.text_margin_perc);
  EXPECT_EQ(16, after.sb_thumb_h);
  EXPECT_FLOAT_EQ(0.012f, after.sb_margin_perc);
  EXPECT_EQ(before.arrow_w, after.arrow_w) << "the other sizes are kept";
  EXPECT_EQ(before.check_w, after.check_w);
  EXPECT_EQ(0, mui_can_turn_off_cursor);
  EXPECT_FLOAT_EQ(0.3f, mui_disabled_text_col[0]);
  EXPECT_FLOAT_EQ(0.3f, mui_disabled_text_col[2]);
  // The hooks are in place: the shared names are answered by the reader.
  _ComGlDxTexture* t = nullptr;
  EXPECT_EQ(1, MuiTexturesGetButtonTexturePointer("bmp_none", 0, &t, nullptr));
  MuiTexturesSetLoadCB(nullptr);
  MuiTexturesSetOverwriteTextureCB(nullptr);
  MuiTexturesSetPostLoadButtonsCB(nullptr);
}

TEST(LecMenuImages, PicturesMatchTheirMasksAndArePowersOfTwo) {
  struct Group {
    const char* mask;
    std::vector<std::string> pictures;
  } groups[] = {
      {"main_a.tga", {"main_l.bmp", "main_p.bmp", "main_h.bmp", "main_d.bmp"}},
      {"box_a.tga", {"box_l.bmp", "box_p.bmp", "box_h.bmp"}},
      {"wbox_a.tga", {"wbox_l.bmp", "wbox_p.bmp", "wbox_h.bmp"}},
      {"std_left_arrow_a.tga", {"std_left_arrow.bmp"}},
      {"std_right_arrow_a.tga", {"std_right_arrow.bmp"}},
      {"std_sb_button_a.tga", {"std_sb_button.bmp"}},
      {"std_list_button_a.tga", {"std_list_button.bmp"}},
      {"std_list_sel_a.tga", {"std_list_sel.bmp"}},
      {"std_check_a.tga", {"std_check.bmp"}},
      {"std_uncheck_a.tga", {"std_uncheck.bmp"}},
      {"std_panel_bar_a.tga", {"std_panel_bar.bmp"}},
  };
  for (int n = 1; n <= 6; n++) {
    groups[0].pictures.push_back("Title" + std::to_string(n) + " copy.bmp");
    groups[0].pictures.push_back("Title" + std::to_string(n) + "L copy.bmp");
  }
  for (const Group& g : groups) {
    int mw, mh;
    FileSize(g.mask, &mw, &mh);
    EXPECT_TRUE(PowerOfTwo(mw) && PowerOfTwo(mh)) << g.mask << " " << mw << "x" << mh;
    for (const std::string& p : g.pictures) {
      int w, h;
      FileSize(p, &w, &h);
      EXPECT_EQ(mw, w) << p;
      EXPECT_EQ(mh, h) << p;
    }
  }
  const char* others[] = {"back1.bmp", "std_left_arrow.bmp", "std_right_arrow.bmp", "std_sb_button.bmp",
                          "std_check.bmp", "std_uncheck.bmp", "std_panel_back.bmp", "std_panel_bar.bmp",
                          "std_list_button.bmp", "std_list_back_top.bmp", "std_list_back_main.bmp",
                          "std_list_back_bottom.bmp", "std_list_sel.bmp", "std_list_scroll_up.bmp",
                          "std_list_scroll_down.bmp", "std_col_red.bmp", "std_col_green.bmp", "std_col_blue.bmp"};
  for (const char* f : others) {
    int w, h;
    FileSize(f, &w, &h);
    EXPECT_TRUE(PowerOfTwo(w) && PowerOfTwo(h)) << f << " " << w << "x" << h;
  }
}

}  // namespace
