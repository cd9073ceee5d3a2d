// The button texture table and the per-box bitmaps without a window: refusals, slots without a
// file, the overwrite hook, lookups by name and number, the life cycle, and the standard textures
// a box includes (arrows, check marks) with their positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiList.h"
#include "MuiMulti.h"
#include "MuiPanel.h"
#include "MuiRange.h"
#include "MuiTextures.h"
#include "support_MuiDraw.h"
#include "support_MuiKit.h"

namespace {

class MuiTexturesTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    MuiTexturesPre3dInit();
    MuiBitmapPre3dInit();
    MuiTexturesSetOverwriteTextureCB(nullptr);
    MuiTexturesSetLoadCB(nullptr);
    MuiTexturesSetPostLoadButtonsCB(nullptr);
    MuiSetupStandardButtonsDimensions();
    MuiRemoveAllBoxes();
  }
  void TearDown() override {
    MuiTexturesSetOverwriteTextureCB(nullptr);
    MuiTexturesSetLoadCB(nullptr);
    MuiTexturesSetPostLoadButtonsCB(nullptr);
    MuiKitTest::TearDown();
  }
  bool Logged(const std::string& func, const std::string& text) { return MuiDrawLogged(func, text); }
};

TEST_F(MuiTexturesTest, AddButtonRefusesBadArgumentsBeforeChangingAnything) {
  const std::string long_name(64, 'n');
  struct Case {
    int id;
    const char* name;
    char state, standard;
    std::string message;
  } cases[] = {
      {-1, "bmp", 0, 0, "Invalid id <-1>"},
      {100, "bmp", 0, 0, "Invalid id <100>"},
      {26, "bmp", 0, 1, "Invalid standard id <26>"},
      {25, "bmp", 0, 0, "Invalid normal id <25>"},
      {30, "bmp", 4, 0, "Invalid state <4>"},
      {30, "bmp", 127, 0, "Invalid state <127>"},
      {30, nullptr, 0, 0, "No name specified"},
      {30, "", 0, 0, "No name specified"},
      {30, long_name.c_str(), 0, 0, "Name too long <" + long_name + ">"},
  };
  for (const Case& c : cases) {
    MuiKitClearLog();
    EXPECT_EQ(0, MuiTexturesAddButton(c.id, c.name, nullptr, c.state, c.standard, 0, 0)) << c.message;
    EXPECT_TRUE(Logged("MuiTexturesAddButton", c.message)) << c.message;
  }
  for (const _MuiTexture& slot : mui_texture) {
    EXPECT_EQ(0, slot.name[0]);
    EXPECT_EQ(0, slot.status[0]);
  }
  // 63 characters fit.
  EXPECT_EQ(1, MuiTexturesAddButton(30, std::string(63, 'n').c_str(), nullptr, 0, 0, 0, 0));
}

TEST_F(MuiTexturesTest, StatesWithoutAFileAnswerFoundWithoutATexture) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_half", nullptr, 0, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_half", nullptr, 2, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(27, "bmp_all", nullptr, -1, 0, 0, 0));
  EXPECT_EQ(MUI_TEX_NO_FILE, mui_texture[26].status[0]);
  EXPECT_EQ(1, mui_texture[27].one_file);
  struct Case {
    const char* name;
    char state, answer;
  } cases[] = {
      {"bmp_half", 0, 1}, {"bmp_half", 1, 0}, {"bmp_half", 2, 1}, {"bmp_half", 3, 0},
      {"bmp_all", 0, 1},  {"bmp_all", 1, 1},  {"bmp_all", 2, 1},  {"bmp_all", 3, 1},
      {"bmp_half", 4, 0}, {"bmp_half", -1, 0}, {"", 0, 0},
  };
  for (const Case& c : cases) {
    _ComGlDxTexture* t = reinterpret_cast<_ComGlDxTexture*>(&mui_texture[99]);
    EXPECT_EQ(c.answer, MuiTexturesGetButtonTexturePointer(c.name, c.state, &t, nullptr)) << c.name << (int)c.state;
    EXPECT_EQ(nullptr, t) << c.name << (int)c.state;
  }
  // Numbers and names answer only loaded normal states.
  EXPECT_EQ(-1, MuiTexturesGetTextureNumFromName("bmp_half"));
  EXPECT_EQ(nullptr, MuiTexturesGetTextureFromNum(26, 0));
  EXPECT_EQ(0, MuiTexturesDrawButtonTexture(26, 0, 0, 0, 10, 10));
}

TEST_F(MuiTexturesTest, ReAddingAStateIsRefused) {
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_a", nullptr, 0, 0, 0, 0));
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_b", "/nonexistent/file.bmp", 0, 0, 0, 0));
  EXPECT_TRUE(Logged("MuiTexturesAddButton", "Button <26:0> already set"));
  EXPECT_STREQ("bmp_a", mui_texture[26].name);
  // A file that does not load leaves the state free.
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_a", "/nonexistent/file.bmp", 1, 0, 0, 0));
  EXPECT_TRUE(Logged("MuiTexturesLoadFromFile", "Could not load bmp texture </nonexistent/file.bmp>"));
  EXPECT_EQ(MUI_TEX_NOT_SET, mui_texture[26].status[1]);
  MuiTexturesLoadUsingBmpFormat(0);
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_a", "/nonexistent/file.tga", 1, 0, 0, 0));
  EXPECT_TRUE(Logged("MuiTexturesLoadFromFile", "Could not load tga texture </nonexistent/file.tga>"));
  MuiTexturesLoadUsingBmpFormat(1);
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_a", "", 1, 0, 0, 0));
  EXPECT_TRUE(Logged("MuiTexturesLoadFromFile", "Bad filename"));
  EXPECT_EQ(0, MuiTexturesAddButton(26, "bmp_a", std::string(255, 'f').c_str(), 1, 0, 0, 0));
  // Standard textures take their size, 64 x 64 without one.
  ASSERT_EQ(1, MuiTexturesAddButton(2, "StdScrollbarButton", nullptr, -1, 1, 24, 12));
  ASSERT_EQ(1, MuiTexturesAddButton(17, "StdPanelBack", nullptr, -1, 1, 0, 0));
  EXPECT_EQ(24, mui_tex_std_widths[2]);
  EXPECT_EQ(12, mui_tex_std_heights[2]);
  EXPECT_EQ(64, mui_tex_std_widths[17]);
  EXPECT_EQ(64, mui_tex_std_heights[17]);
}

// The overwrite hook: what it answers, unless it says "not handled" (2).
struct HookCall {
  std::string name;
  int state;
};
std::vector<HookCall> hook_calls;
char HookAnswer(const char* name, char state, _ComGlDxTexture** texture, char* segmented) {
  hook_calls.push_back({name, state});
  std::string n = name;
  if (n == "bmp_none") return 1;  // handled, no texture written
  if (n == "bmp_go") return MuiTexturesGetButtonTexturePointer("bmp_main", state, texture, segmented);
  if (n == "bmp_refused") return 0;
  return 2;
}

TEST_F(MuiTexturesTest, OverwriteHookAnswersFirst) {
  hook_calls.clear();
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_main", nullptr, 0, 0, 0, 0));
  ASSERT_EQ(1, MuiTexturesAddButton(27, "bmp_refused", nullptr, 0, 0, 0, 0));
  MuiTexturesSetOverwriteTextureCB(HookAnswer);
  struct Case {
    const char* name;
    char state, answer;
  } cases[] = {
      {"bmp_none", 0, 1},     // handled by the hook: found, no texture
      {"bmp_go", 0, 1},       // answered with bmp_main's state 0 (set without a file)
      {"bmp_go", 1, 0},       // bmp_main's state 1 is not set
      {"bmp_main", 0, 1},     // not handled: the table answers
      {"bmp_refused", 0, 0},  // the hook's own answer wins over the table's
  };
  for (const Case& c : cases) {
    _ComGlDxTexture* t = reinterpret_cast<_ComGlDxTexture*>(&mui_texture[99]);  // not null
    EXPECT_EQ(c.answer, MuiTexturesGetButtonTexturePointer(c.name, c.state, &t, nullptr)) << c.name;
    EXPECT_EQ(nullptr, t) << c.name;
  }
  EXPECT_EQ("bmp_none", hook_calls[0].name);
  MuiKitClearLog();
  _ComGlDxTexture* t = nullptr;
  EXPECT_EQ(0, MuiTexturesGetButtonTexturePointer("bmp_unknown", 0, &t, nullptr));
  EXPECT_TRUE(Logged("MuiTexturesGetButtonTexturePointer", "Unknown bitmap bmp_unknown"));
}

TEST_F(MuiTexturesTest, SetBitmapLooksUpFourStatesAndNullMeansNone) {
  int id = MuiAddNewScreenBox(10, 10, 100, 40, nullptr);
  MuiSetBitmap(id, "bmp_nowhere");
  EXPECT_EQ(4, MuiDrawLogCount("Unknown bitmap bmp_nowhere"));
  for (_ComGlDxTexture* t : mui_bitmap[id].tex) EXPECT_EQ(nullptr, t);
  MuiKitClearLog();
  MuiSetBitmap(id, nullptr);
  for (_ComGlDxTexture* t : mui_bitmap[id].tex) EXPECT_EQ(nullptr, t);
  EXPECT_EQ("", MuiKitLog());
  MuiSetBitmap(-1, "bmp_nowhere");
  MuiSetBitmap(id + 1, "bmp_nowhere");
  EXPECT_TRUE(Logged("MuiSetBitmap", "Invalid ID: -1"));
  EXPECT_TRUE(Logged("MuiSetBitmap", "Invalid ID: 1"));
}

TEST_F(MuiTexturesTest, LookupsCheckIdsAndStates) {
  _ComGlDxTexture* t = nullptr;
  char standard = 0;
  for (int id : {-1, 100, 1000}) {
    EXPECT_EQ(0, MuiTextureGetStandardTexturePointer(id, 0, &t, nullptr)) << id;
    EXPECT_EQ(nullptr, MuiTexturesGetTextureName(id, &standard)) << id;
    EXPECT_EQ(nullptr, MuiTexturesGetTextureFromNum(id, 0)) << id;
    EXPECT_EQ(0, MuiTexturesDrawButtonTexture(id, 0, 0, 0, 10, 10)) << id;
  }
  EXPECT_EQ(0, MuiTextureGetStandardTexturePointer(2, 4, &t, nullptr));
  EXPECT_EQ(nullptr, MuiTexturesGetTextureFromNum(2, -1));
  MuiBitmapReset(-1);
  MuiBitmapReset(500);
  MuiBitmapCalcNumStandards(-3);
  EXPECT_TRUE(Logged("MuiBitmapReset", "Invalid ID: -1"));
  EXPECT_TRUE(Logged("MuiBitmapReset", "Invalid ID: 500"));
  EXPECT_TRUE(Logged("MuiBitmapCalcNumStandards", "Invalid ID: -3"));
  MuiIncludeStandardBitmap(-1, 0, 0, 0);
  MuiTexturesSetButtonUsesSegmentedDrawingMethod(100, 1);
  EXPECT_TRUE(Logged("MuiTexturesSetButtonUsesSegmentedDrawingMethod", "Invalid id <100>"));
}

std::vector<std::string> life_calls;
void LoadHook(char) {
  life_calls.push_back("load");
  MuiTexturesAddButton(26, "bmp_loaded", nullptr, -1, 0, 0, 0);
}
void PostLoadHook() { life_calls.push_back("post"); }

TEST_F(MuiTexturesTest, LifeCycleRunsTheHooksOnceAndClearsOnExit) {
  life_calls.clear();
  mt_init_ok = -1;
  EXPECT_EQ(0, MuiTexturesInit());
  EXPECT_TRUE(Logged("MuiTexturesInit", "MuiTexturesPre3dInit() not called"));
  MuiTexturesPre3dInit();
  MuiTexturesSetLoadCB(LoadHook);
  MuiTexturesSetPostLoadButtonsCB(PostLoadHook);
  EXPECT_EQ(1, MuiTexturesInit());
  EXPECT_EQ(1, mt_init_ok);
  EXPECT_EQ(0, MuiTexturesInit());
  EXPECT_TRUE(Logged("MuiTexturesInit", "Already init'd"));
  EXPECT_EQ((std::vector<std::string>{"load", "post"}), life_calls);
  EXPECT_STREQ("bmp_loaded", mui_texture[26].name);
  MuiTexturesExit();
  EXPECT_EQ(0, mt_init_ok);
  EXPECT_EQ(0, mui_texture[26].name[0]);
  MuiTexturesExit();
  EXPECT_TRUE(Logged("MuiTexturesExit", "Not init'd"));
}

TEST_F(MuiTexturesTest, SegmentedSettingsKeepValuesOutOfRange) {
  MuiTexturesSetupSegmentedDrawing(1, 8, 0.2f);
  EXPECT_EQ(1, mt_segmented_drawing_on);
  EXPECT_EQ(8, mt_segmented_drawing_corner_size);
  EXPECT_FLOAT_EQ(0.2f, mt_tc1);
  EXPECT_FLOAT_EQ(0.8f, mt_tc2);
  MuiTexturesSetupSegmentedDrawing(1, 0, 0.5f);
  EXPECT_EQ(8, mt_segmented_drawing_corner_size);
  EXPECT_FLOAT_EQ(0.2f, mt_tc1);
  MuiTexturesSetupSegmentedDrawing(0, 3, 0.1f);
  EXPECT_EQ(0, mt_segmented_drawing_on);
  EXPECT_EQ(8, mt_segmented_drawing_corner_size);
  MuiTexturesSetupSegmentedDrawing(1, 5, 0.25f);
  ASSERT_EQ(1, MuiTexturesAddButton(26, "bmp_seg", nullptr, 0, 0, 0, 0));
  MuiTexturesSetupSegmentedDrawing(0, 5, 0.25f);
  EXPECT_EQ(1, mui_texture[26].segmented);
}

TEST_F(MuiTexturesTest, ArrowsAndCheckMarksAreIncludedWhereTheyBelong) {
  mui_std_dim.arrow_w = 12;
  mui_std_dim.arrow_h = 10;
  int id = MuiAddNewScreenBox(100, 50, 300, 80, [](char) {});
  mouse_box[id].arrow_margin = 3;
  mouse_box[id].scrollbar_margin = 7;
  struct Case {
    const char* what;
    _MuiButtonType type;
    unsigned char left, right;
    int lx, rx;  // -1: not included
  } cases[] = {
      {"repeating arrows at the ends", MUI_TYPE_BUTTON, 1, 1, 103, 285},
      {"kind 3 arrows centred", MUI_TYPE_BUTTON, 3, 3, 194, 194},
      {"push button, right arrow", MUI_TYPE_BUTTON, 2, 1, -1, 285},
      {"scroll bar uses its own margin", MUI_TYPE_SCROLLBAR, 1, 1, 107, 281},
  };
  for (const Case& c : cases) {
    MuiBitmapReset(id);
    mouse_box[id].type = c.type;
    mouse_box[id].left_arrow = c.left;
    mouse_box[id].right_arrow = c.right;
    MuiBitmapUpdateStandardArrows(id);
    const _MuiBitmap& b = mui_bitmap[id];
    EXPECT_EQ(c.lx >= 0, b.std_include[MUI_STD_LEFT_ARROW] != 0) << c.what;
    EXPECT_EQ(c.rx >= 0, b.std_include[MUI_STD_RIGHT_ARROW] != 0) << c.what;
    if (c.lx >= 0) {
      EXPECT_EQ(c.lx, b.std_x[MUI_STD_LEFT_ARROW]) << c.what;
    }
    if (c.rx >= 0) {
      EXPECT_EQ(c.rx, b.std_x[MUI_STD_RIGHT_ARROW]) << c.what;
    }
    EXPECT_EQ(60, b.std_y[c.lx >= 0 ? MUI_STD_LEFT_ARROW : MUI_STD_RIGHT_ARROW]) << c.what;
  }
  // An inactive box gets no arrows.
  MuiBitmapReset(id);
  mouse_box[id].active = 0;
  MuiBitmapUpdateStandardArrows(id);
  MuiBitmapSetArrows(id, 1, 1);
  EXPECT_EQ(0, mui_bitmap[id].any_standard);

  // Check marks: one of four by value and active state.
  struct Mark {
    unsigned char active;
    char value;
    int included;
  } marks[] = {{1, 1, MUI_STD_CHECK_ON}, {1, 0, MUI_STD_CHECK_OFF}, {0, 1, MUI_STD_CHECK_ON_DISABLED},
               {0, 0, MUI_STD_CHECK_OFF_DISABLED}};
  for (const Mark& m : marks) {
    mouse_box[id].active = m.active;
    MuiBitmapSetCheckbox(id, m.value);
    for (int s = MUI_STD_CHECK_ON; s <= MUI_STD_CHECK_OFF_DISABLED; s++)
      EXPECT_EQ(s == m.included, mui_bitmap[id].std_include[s] != 0) << (int)m.active << (int)m.value << " " << s;
    EXPECT_EQ(1, mui_bitmap[id].any_standard);
  }
}

// A widget that takes its arrows away on set-up takes their pictures with them: a box that had
// arrows does not keep drawing them once it is a panel, a multi-selection list, a list or a range.
char* Entry(int) { return const_cast<char*>("entry"); }

TEST_F(MuiTexturesTest, WidgetsThatDropTheirArrowsDropTheirPictures) {
  struct Case {
    const char* what;
    _MuiButtonType type;
    void (*set_up)(int id);
  } cases[] = {
      {"panel", MUI_TYPE_PANEL, [](int id) { MuiPanelSetValues(id, 3, 5, Entry); }},
      {"multi-selection list", MUI_TYPE_MULTISEL, [](int id) { MuiMultiselSetValues(id, 3, 5, Entry); }},
      {"list", MUI_TYPE_LIST, [](int id) { MuiListSetValues(id, 3, Entry); }},
      {"range", MUI_TYPE_RANGE, [](int id) { MuiRangeSetLimits(id, 0.0f, 1.0f, 0.1f); }},
  };
  for (const Case& c : cases) {
    MuiRemoveAllBoxes();
    const int id = MuiAddNewScreenBox(100, 50, 300, 80, [](char) {});
    MuiSetArrowsState(id, 1, 1);
    ASSERT_EQ(1, mui_bitmap[id].std_include[MUI_STD_LEFT_ARROW]) << c.what;
    MuiSetType(id, c.type);
    c.set_up(id);
    EXPECT_EQ(0, mouse_box[id].left_arrow) << c.what;
    EXPECT_EQ(0, mouse_box[id].right_arrow) << c.what;
    EXPECT_EQ(0, mui_bitmap[id].std_include[MUI_STD_LEFT_ARROW]) << c.what;
    EXPECT_EQ(0, mui_bitmap[id].std_include[MUI_STD_RIGHT_ARROW]) << c.what;
    EXPECT_EQ(0, mui_bitmap[id].any_standard) << c.what;
  }
}

}  // namespace
