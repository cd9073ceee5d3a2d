// The panel drawn into a real window under Xvfb and read back: row states for the selection, an
// inactive box and a panel without shown selection, the side bar and its thumb, and the thumb
// drawn where a press grabs it on every page.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <string>

#include "Common/graphics/support_GlPixels.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiPanel.h"
#include "MuiRender.h"
#include "MuiTextures.h"

namespace {

const Rgb kRow{60, 60, 60}, kSelected{0, 0, 200}, kPressed{90, 0, 90}, kDisabled{120, 120, 0};
const Rgb kBack{0, 160, 0}, kBar{220, 0, 0}, kClear{0, 0, 0};

char g_strings[25][MUI_TEXT_LEN];

// The panel's textures, added when the texture table loads: the rows by state (normal, pressed,
// highlighted, disabled) and the two standard side-bar textures.
void LoadTextures(char) {
  const Rgb states[4] = {kRow, kPressed, kSelected, kDisabled};
  for (int s = 0; s < 4; s++)
    EXPECT_EQ(1, MuiTexturesAddButton(30, "bmp_rows", SolidBmp("s" + std::to_string(s) + ".bmp", states[s]).c_str(),
                                      (char)s, 0, 0, 0));
  EXPECT_EQ(1, MuiTexturesAddButton(17, "panel_back", SolidBmp("back.bmp", kBack).c_str(), -1, 1, 0, 0));
  EXPECT_EQ(1, MuiTexturesAddButton(18, "panel_bar", SolidBmp("bar.bmp", kBar).c_str(), -1, 1, 0, 0));
}

class PanelGl : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    MuiSetupStandardButtonsDimensions();  // side bar 15 wide, thumb 12
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiTexturesSetupSegmentedDrawing(0, 5, 0.25f);
    MuiSetStandardButtonBlendType(0);
    MuiRemoveAllBoxes();
    MuiTexturesSetLoadCB(LoadTextures);
    ASSERT_EQ(1, MuiTexturesInit());
    for (int i = 0; i < 25; i++) snprintf(g_strings[i], sizeof(g_strings[i]), "e%d", i);
    // 25 entries, 10 rows of 20 from y 100; the side bar from x 285.
    id_ = MuiAddNewScreenBox(100, 100, 300, 300, nullptr);
    MuiSetType(id_, MUI_TYPE_PANEL);
    MuiSetBitmap(id_, "bmp_rows");
    MuiPanelSetStrings(id_, 25, 10, g_strings);
    ComGlMiscSetClearColour(0, 0, 0);
  }
  void TearDown() override {
    MuiTexturesExit();
    MuiTexturesSetLoadCB(nullptr);
    MuiTexturesPre3dInit();
    MuiRemoveAllBoxes();
    MuiSetStandardButtonBlendType(1);
  }
  void Frame() {
    ComGlMiscClearScreenAndDepthBuffers();
    MuiRender();
  }
  // The colour at the centre of row k of the page.
  GlTestRgba Row(int k) { return GlTestReadPixelTop(150, 100 + k * 20 + 10); }

  int id_ = -1;
};

TEST_F(PanelGl, RowStatesFollowSelectionActivityAndShownSelection) {
  MuiPanelSetPos(id_, 3, 0);
  Frame();
  for (int k = 0; k < 10; k++) {
    GlTestRgba p = Row(k);
    EXPECT_TRUE(Near(p, k == 3 ? kSelected : kRow)) << "row " << k << ": " << Str(p);
  }
  GlTestRgba side = GlTestReadPixelTop(292, 295);
  EXPECT_TRUE(Near(side, kBack)) << "the side bar below the thumb: " << Str(side);
  EXPECT_TRUE(Near(GlTestReadPixelTop(283, 110), kRow)) << "the rows end where the side bar starts";
  EXPECT_TRUE(Near(GlTestReadPixelTop(99, 110), kClear)) << "nothing left of the box";

  MuiSetActiveState(id_, 0);
  Frame();
  for (int k : {0, 3, 9}) EXPECT_TRUE(Near(Row(k), kDisabled)) << "inactive row " << k << ": " << Str(Row(k));
  MuiSetActiveState(id_, 1);
  MuiPanelShowSel(id_, 0);
  Frame();
  for (int k : {0, 3, 9}) EXPECT_TRUE(Near(Row(k), kSelected)) << "no shown selection, row " << k;

  // The selection off the page draws no row selected.
  MuiPanelShowSel(id_, 1);
  MuiPanelSetDisplayPos(id_, 10);
  Frame();
  for (int k = 0; k < 10; k++) EXPECT_TRUE(Near(Row(k), kRow)) << "row " << k << ": " << Str(Row(k));
}

TEST_F(PanelGl, ThumbIsDrawnWhereAPressGrabsIt) {
  for (int d : {0, 4, 9, 15}) {
    MuiPanelSetDisplayPos(id_, d);
    Frame();
    _SideBarInfo sb;
    ASSERT_EQ(1, MuiPanelGetSidebarDimensions(id_, &sb));
    const int x = sb.thumb_x + sb.thumb_w / 2;
    // The thumb's own first and last lines are bar, the lines just outside it are side bar.
    EXPECT_TRUE(Near(GlTestReadPixelTop(x, sb.thumb_y), kBar)) << d << " top " << Str(GlTestReadPixelTop(x, sb.thumb_y));
    EXPECT_TRUE(Near(GlTestReadPixelTop(x, sb.thumb_y2 - 1), kBar)) << d << " bottom";
    if (sb.thumb_y > sb.sb_y) {
      EXPECT_TRUE(Near(GlTestReadPixelTop(x, sb.thumb_y - 1), kBack)) << d << " above";
    }
    if (sb.thumb_y2 < sb.sb_y2) {
      EXPECT_TRUE(Near(GlTestReadPixelTop(x, sb.thumb_y2), kBack)) << d << " below";
    }
    // A press on the drawn thumb's first line starts a drag and moves nothing.
    dragging = 0;
    MuiPanelHandleMousePress(id_, x, sb.thumb_y);
    EXPECT_EQ(dragging, 1) << d;
    MuiPanelHandleDragging(id_, sb.thumb_y);
    EXPECT_EQ(MuiPanelGetDisplayPos(id_), d);
    dragging = 0;
  }
}

}  // namespace
