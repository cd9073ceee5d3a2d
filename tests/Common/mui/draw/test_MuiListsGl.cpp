// The list, bars and pictures drawn into a real window under Xvfb and read back: the open list
// over the boxes after it, progress bar lengths and blocks, statistics blocks per colour, the
// bounded block loops, pictures whole, in part, and not at all on a one-unit box.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "Common/graphics/support_GlWindow.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiBars.h"
#include "MuiBitmap.h"
#include "MuiChoice.h"
#include "MuiList.h"
#include "MuiPicture.h"
#include "MuiRender.h"
#include "MuiText.h"
#include "MuiTextures.h"
#include "support_MuiGlRead.h"

namespace {

struct Rgb {
  int r, g, b;
};
const Rgb kBlack{0, 0, 0}, kRed{220, 0, 0}, kBlue{0, 0, 220}, kGreen{0, 200, 0}, kYellow{200, 200, 0},
    kMagenta{200, 0, 200};

bool Near(const GlTestRgba& p, Rgb c) {
  return abs(p.r - c.r) <= 4 && abs(p.g - c.g) <= 4 && abs(p.b - c.b) <= 4;
}

std::string Str(const GlTestRgba& p) {
  return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b);
}

// A 16 x 16 BMP, the left half `left`, the right half `right`.
std::string Bmp(const std::string& name, Rgb left, Rgb right) {
  GlTestPicture pic;
  pic.Resize(16, 16, 3);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      const Rgb& c = x < 8 ? left : right;
      pic.Set(x, y, c.r, c.g, c.b);
    }
  std::string path = GlTestPath(name);
  EXPECT_TRUE(GlTestWriteBmp24(path, pic));
  return path;
}
std::string Bmp(const std::string& name, Rgb c) { return Bmp(name, c, c); }

// Runs of a colour along a row of the window (y from the top) and the last column it covers.
struct Runs {
  int count = 0, last = -1;
};
Runs RunsOf(int y, Rgb c) {
  Runs r;
  bool in = false;
  for (int x = 0; x < 640; x++) {
    const bool hit = Near(GlTestReadPixelTop(x, y), c);
    if (hit && !in) r.count++;
    if (hit) r.last = x;
    in = hit;
  }
  return r;
}

void NoWarp(int, int) {}

class MuiListsGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    ComWinSetCursorWarpSink(NoWarp);  // the list's opening must not move the display's pointer
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiPicturePre3dInit();
    MuiTexturesSetupSegmentedDrawing(0, 5, 0.25f);
    MuiRemoveAllBoxes();
    ComGlMiscSetClearColour(0, 0, 0);
    MuiSetStandardButtonBlendType(-1);  // opaque: each colour read back is one texture's
  }
  void TearDown() override {
    for (int i = 0; i < MUI_MAX_TEXTURES; i++)
      for (int s = 0; s < 4; s++)
        if (mui_texture[i].status[s] == MUI_TEX_LOADED) ComGlTextureRelease(&mui_texture[i].tex[s]);
    MuiProgressReleaseTextures();
    MuiProgressInitTextures(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    MuiTexturesPre3dInit();
    MuiRemoveAllBoxes();
    ComWinSetCursorWarpSink(nullptr);
    MuiSetStandardButtonBlendType(1);
  }
  void Standard(int id, Rgb c) {
    const std::string name = "std" + std::to_string(id);
    ASSERT_EQ(1, MuiTexturesAddButton(id, name.c_str(), Bmp(name + ".bmp", c).c_str(), -1, 1, 16, 16));
  }
  void Frame() {
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
  }
};

char g_entries[5][MUI_TEXT_LEN] = {"a", "b", "c", "d", "e"};

TEST_F(MuiListsGl, TheOpenListIsDrawnOverBoxesMadeAfterIt) {
  Standard(MUI_STD_LIST_BACK_MAIN, kBlue);
  Standard(MUI_STD_LIST_SEL, kRed);
  ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_green", Bmp("green.bmp", kGreen).c_str(), -1, 0, 0, 0));
  mt_init_ok = 1;
  const int list = MuiAddNewScreenBox(100, 200, 300, 220, nullptr);
  MuiSetType(list, MUI_TYPE_LIST);
  MuiListSetStrings(list, 5, g_entries);
  MuiListSetPos(list, 1);
  const int later = MuiAddNewScreenBox(100, 240, 300, 260, nullptr);
  MuiSetBitmap(later, "bmp_green");
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 250), kGreen)) << Str(GlTestReadPixelTop(150, 250));

  MuiListOpen(list);  // entries 0 to 4 on rows 180 to 280, entry 1 in the box's own row
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 250), kBlue)) << Str(GlTestReadPixelTop(150, 250));
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 185), kBlue)) << Str(GlTestReadPixelTop(150, 185));
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 210), kRed)) << Str(GlTestReadPixelTop(150, 210));
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 290), kBlack)) << Str(GlTestReadPixelTop(150, 290));
  MuiListClose(0, 0);
}

// The standard pictures are laid on with the standard blending (additive by default), but an open
// list's back must hide what is beneath it: only the selection bar is blended over the back.
TEST_F(MuiListsGl, TheOpenListsBackHidesWhatIsBeneathWhateverTheStandardBlending) {
  Standard(MUI_STD_LIST_BACK_MAIN, kBlue);
  Standard(MUI_STD_LIST_BACK_TOP, kBlue);
  Standard(MUI_STD_LIST_SEL, kRed);
  ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_green", Bmp("green.bmp", kGreen).c_str(), -1, 0, 0, 0));
  mt_init_ok = 1;
  const int list = MuiAddNewScreenBox(100, 200, 300, 220, nullptr);
  MuiSetType(list, MUI_TYPE_LIST);
  MuiListSetStrings(list, 5, g_entries);
  MuiListSetPos(list, 1);
  const int beneath = MuiAddNewScreenBox(100, 240, 300, 260, nullptr);
  MuiSetBitmap(beneath, "bmp_green");
  MuiListOpen(list);
  const struct {
    int blend;
    Rgb sel;
  } cases[] = {{1, {220, 0, 220}}, {10, {220, 0, 220}}, {0, kRed}};
  for (const auto& c : cases) {
    SCOPED_TRACE("standard blending " + std::to_string(c.blend));
    MuiSetStandardButtonBlendType(c.blend);
    Frame();
    EXPECT_TRUE(Near(GlTestReadPixelTop(150, 250), kBlue)) << Str(GlTestReadPixelTop(150, 250));
    EXPECT_TRUE(Near(GlTestReadPixelTop(150, 185), kBlue)) << Str(GlTestReadPixelTop(150, 185));
    EXPECT_TRUE(Near(GlTestReadPixelTop(150, 210), c.sel)) << Str(GlTestReadPixelTop(150, 210));
  }
  MuiListClose(0, 0);
}

TEST_F(MuiListsGl, ProgressBarLengthsAndBlocks) {
  MuiProgressInitTextures(nullptr, Bmp("bg.bmp", kBlue).c_str(), nullptr, nullptr, Bmp("bar.bmp", kRed).c_str(),
                          nullptr);
  MuiProgressLoadTextures();
  const int id = MuiAddNewScreenBox(100, 100, 300, 130, nullptr);
  // Defaults: margins 2, sides 10; the bar starts at 102 and is (pos / 100) x 176 + 20 long,
  // one unit more when continuous.
  struct Case {
    const char* what;
    float pos, block, gap;
    int runs, last;
  } cases[] = {
      {"half", 50, 0, 0, 1, 210},
      {"empty", 0, 0, 0, 1, 122},
      {"full", 100, 0, 0, 1, 298},
      {"past the maximum: up to the box's end", 150, 0, 0, 1, 300},
      {"below the minimum", -50, 0, 0, 0, -1},
      {"blocks of 10 every 15", 50, 10, 5, 8, 209},
      {"size plus gap 0: continuous", 50, 10, -10, 1, 210},
      {"size plus gap below a pixel: continuous", 50, 2, -1.9999f, 1, 210},
      {"blocks under a pixel: none", 50, 0.001f, 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MuiProgressSetSizes(id, c.block, c.gap, 10, 10, 2, 2);
    MuiProgressSetPos(id, c.pos);
    Frame();
    const Runs r = RunsOf(115, kRed);
    EXPECT_EQ(c.runs, r.count);
    EXPECT_NEAR(c.last, r.last, 1);
    EXPECT_TRUE(Near(GlTestReadPixelTop(301, 115), kBlack));
  }
  MuiProgressSetRange(id, 5, 5);
  GlTestLogMark();
  for (int i = 0; i < 7; i++) Frame();
  EXPECT_EQ(5, GlTestCountOccurrences(GlTestLogSince(), "Bad Values for id 0"));
}

TEST_F(MuiListsGl, StatisticsBlocksPerThreshold) {
  Standard(MUI_STD_BAR1, kGreen);
  Standard(MUI_STD_BAR2, kYellow);
  Standard(MUI_STD_BAR3, kMagenta);
  mt_init_ok = 1;
  const int id = MuiAddNewScreenBox(100, 200, 300, 230, nullptr);
  MuiStatsbarSetValues3(id, 0, 10, 5, 8, 1, 9);  // blocks 19 wide, gaps of 1
  Frame();
  EXPECT_EQ(5, RunsOf(215, kGreen).count);
  EXPECT_EQ(3, RunsOf(215, kYellow).count);
  const Runs last = RunsOf(215, kMagenta);
  EXPECT_EQ(1, last.count);
  EXPECT_NEAR(278, last.last, 1);

  // A step of a billionth: no block is a pixel wide, and the frame ends (no loop per value).
  MuiStatsbarSetValues(id, 0, 10, 8, 1e-9f, 9);
  Frame();
  EXPECT_EQ(0, RunsOf(215, kGreen).count);
  // Wide blocks closer than a pixel (a negative gap) draw as one piece, stopped at the box's end.
  MuiStatsbarSetValues3(id, 0, 10, 20, 20, 0.001f, 10);
  MuiStatsbarSetGap(id, -5);
  Frame();
  const Runs piece = RunsOf(215, kGreen);
  EXPECT_EQ(1, piece.count);
  EXPECT_NEAR(300, piece.last, 1);

  // A position outside the range: logged with whole numbers, five times at most.
  mui_statsbar[id].pos = 12.7f;
  GlTestLogMark();
  for (int i = 0; i < 7; i++) Frame();
  EXPECT_EQ(5, GlTestCountOccurrences(GlTestLogSince(), "Bad Pos for id 0 [Pos: 12 Low: 0 High: 10]"));
  EXPECT_EQ(0, RunsOf(215, kGreen).count);
}

TEST_F(MuiListsGl, PicturesWholeInPartAndNotOnAOneUnitBox) {
  _ComGlDxTexture tex = {};
  ASSERT_EQ(1, ComGlTextureLoadFromBmpFile(Bmp("pic.bmp", kRed, kBlue).c_str(), 0, 0, 0, &tex));
  const int id = MuiAddNewScreenBox(100, 300, 200, 350, nullptr);
  MuiPictureAttachTextureToButton(id, &tex, 0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(120, 320), kRed)) << Str(GlTestReadPixelTop(120, 320));
  EXPECT_TRUE(Near(GlTestReadPixelTop(180, 320), kBlue)) << Str(GlTestReadPixelTop(180, 320));
  EXPECT_EQ(0, ComGlMiscIsBlendingEnabled()) << "the picture's blending is given back";

  MuiPictureSetTextureCoordinates(id, 0.5f, 0.0f, 1.0f, 1.0f);  // the right half only
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(120, 320), kBlue)) << Str(GlTestReadPixelTop(120, 320));

  MuiSetDimensions(id, 100, 300, 101, 301);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(120, 320), kBlack)) << Str(GlTestReadPixelTop(120, 320));
  EXPECT_TRUE(Near(GlTestReadPixelTop(100, 300), kBlack)) << Str(GlTestReadPixelTop(100, 300));
  MuiPictureRemoveAll();
  ComGlTextureRelease(&tex);
}

TEST_F(MuiListsGl, ChoiceCellsTakeTheirStateTextures) {
  ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_cell", Bmp("n.bmp", kBlue).c_str(), 0, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_cell", Bmp("h.bmp", kRed).c_str(), MUI_TEX_HIGHLIGHTED, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(30, "bmp_cell", Bmp("d.bmp", kYellow).c_str(), MUI_TEX_DISABLED, 0, 0, 0));
  const int id = MuiAddNewScreenBox(100, 100, 400, 130, nullptr);
  MuiSetType(id, MUI_TYPE_CHOICE);
  MuiSetBitmap(id, "bmp_cell");
  MuiChoiceSetStrings(id, 3, g_entries);
  MuiChoiceSetSel(id, 1, 0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(150, 115), kBlue)) << Str(GlTestReadPixelTop(150, 115));
  EXPECT_TRUE(Near(GlTestReadPixelTop(250, 115), kRed)) << Str(GlTestReadPixelTop(250, 115));
  EXPECT_TRUE(Near(GlTestReadPixelTop(350, 115), kBlue)) << Str(GlTestReadPixelTop(350, 115));
  MuiSetActiveState(id, 0);
  Frame();
  EXPECT_TRUE(Near(GlTestReadPixelTop(250, 115), kYellow)) << Str(GlTestReadPixelTop(250, 115));
}

// With the real menu font: texts of choice cells and of the open list's rows.
class MuiListsTextGl : public MuiListsGl {
 protected:
  _ComFreeTypeFont font = {};
  void SetUp() override {
    MuiListsGl::SetUp();
    ASSERT_EQ(1, MuiGlCreateMenuFont(&font));
    MuiSetFreeTypeFont(&font);
  }
  void TearDown() override {
    MuiSetFreeTypeFont(nullptr);
    ComFreeTypeRelease(&font);
    MuiListsGl::TearDown();
  }
  int Lit(int x0, int y0, int x1, int y1) { return MuiGlLit(x0, y0, x1, y1); }
  void White(int id) {
    MuiSetTextSize(id, 16, 10);
    MuiSetTextColourFloat(id, 1, 1, 1, 1, 1, 1);
  }
};

char g_words[3][MUI_TEXT_LEN] = {"ONE", "TWO", "FOUR"};

TEST_F(MuiListsTextGl, ChoiceCellTextsAreDrawnThroughTheScratchRow) {
  const int id = MuiAddNewScreenBox(100, 100, 400, 130, nullptr);
  MuiSetType(id, MUI_TYPE_CHOICE);
  White(id);
  MuiChoiceSetStrings(id, 3, g_words);
  Frame();
  for (int cell = 0; cell < 3; cell++) {
    const int x0 = 100 + cell * 100;
    EXPECT_GT(Lit(x0 + 20, 100, x0 + 80, 131), 20) << cell;  // centred in its cell
    EXPECT_EQ(0, Lit(x0 + 2, 100, x0 + 12, 131)) << cell;   // not at the cell's edges
  }
  EXPECT_EQ(0, Lit(0, 0, 640, 95));
  EXPECT_EQ(300, mouse_box[MUI_SCRATCH_BOX].x1) << "the scratch row held the last cell";
  EXPECT_EQ(100, mouse_box[id].x1);
  EXPECT_STREQ("", mouse_box[id].text[0]);
}

TEST_F(MuiListsTextGl, OpenListRowsShowTheirEntries) {
  const int id = MuiAddNewScreenBox(100, 200, 300, 220, nullptr);
  MuiSetType(id, MUI_TYPE_LIST);
  White(id);
  MuiListSetStrings(id, 5, g_entries);
  MuiListSetPos(id, 1);
  Frame();
  EXPECT_GT(Lit(100, 200, 301, 221), 10);
  EXPECT_EQ(0, Lit(100, 221, 301, 300));
  MuiListOpen(id);
  Frame();
  for (int row = 0; row < 5; row++) EXPECT_GT(Lit(100, 180 + 20 * row, 301, 200 + 20 * row), 10) << row;
  EXPECT_EQ(0, Lit(100, 282, 301, 480));
  MuiListClose(0, 0);
}

// A list's text fits beside its drop-down button, closed, and keeps its margins in the open
// list's rows (the options screen's paper list, "Paper: Type 10" in a box 141 wide).
char g_papers[3][MUI_TEXT_LEN] = {"Paper: Type 10", "Paper: Type 11", "Paper: Type 12"};

TEST_F(MuiListsTextGl, ListTextsStayClearOfTheButtonAndTheEdges) {
  MuiSetupStandardButtonsDimensions();
  const int id = MuiAddNewScreenBox(28, 200, 169, 228, nullptr);
  MuiSetType(id, MUI_TYPE_LIST);
  White(id);
  MuiSetTextSize(id, 14, 8);
  MuiListSetStrings(id, 3, g_papers);
  const _MouseBox& b = mouse_box[id];
  ASSERT_GT(MuiTextGetStringWidth(id, g_papers[0]), (float)(b.w - 2 * b.text_margin - mui_std_dim.list_button_w))
      << "the text must need fitting";
  Frame();
  const int button_x = b.x2 - mui_std_dim.list_button_w - b.list_margin;
  EXPECT_GT(Lit(b.x1, b.y1, button_x, b.y2 + 1), 20);
  EXPECT_EQ(0, Lit(button_x, b.y1, 640, b.y2 + 1)) << "under the drop-down button";
  MuiListOpen(id);
  Frame();
  for (int row = 0; row < 3; row++) {
    const int y = b.y1 + 28 * row;
    EXPECT_GT(Lit(b.x1, y, b.x2 + 1, y + 28), 20) << row;
    EXPECT_EQ(0, Lit(0, y, b.x1 + b.text_margin, y + 28)) << "at the open list's left edge, row " << row;
  }
  MuiListClose(0, 0);
}

}  // namespace
