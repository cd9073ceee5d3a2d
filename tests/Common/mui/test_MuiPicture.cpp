// Pictures on boxes, headless: the texture-name test, attaching only a created texture to a box
// of the table, texture parts, and every picture forgotten by a new box, shut-down and exit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ComGlTexture.h"
#include "Mui.h"
#include "MuiPicture.h"
#include "support_MuiKit.h"

namespace {

using MuiPictureTest = MuiKitTest;

TEST(MuiIsTexFilenameOk, NamesOfOneTo255Characters) {
  const std::string longest(255, 'x'), too_long(256, 'y');
  struct Case {
    const char* name;
    char required;
    char ok;
  } cases[] = {
      {"bar.bmp", 1, 1}, {"", 0, 0},   {"", 1, 0},         {nullptr, 0, 1},
      {nullptr, 1, 0},   {longest.c_str(), 1, 1}, {too_long.c_str(), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? std::to_string(strlen(c.name)) : "null");
    EXPECT_EQ(c.ok, MuiIsTexFilenameOk(c.name, c.required));
  }
}

// A texture record as a loaded one looks to the layer; nothing is drawn headless.
_ComGlDxTexture Loaded() {
  _ComGlDxTexture t = {};
  t.created = 1;
  return t;
}

TEST_F(MuiPictureTest, OnlyACreatedTextureOnABoxOfTheTableIsAttached) {
  _ComGlDxTexture tex = Loaded(), empty = {};
  const int id = MuiAddNewScreenBox(100, 100, 200, 150, nullptr);
  MuiPictureAttachTextureToButton(id, &tex, 3);
  EXPECT_EQ(5, mouse_box[id].picture);
  EXPECT_EQ(&tex, mui_pic_ptrs[id]);
  MuiPictureSetTextureCoordinates(id, 0, 0, 0.5f, 1);
  EXPECT_EQ(1.0f, mui_pic_tcs[id].part);
  EXPECT_EQ(0.5f, mui_pic_tcs[id].right);

  struct Case {
    const char* what;
    int id;
    _ComGlDxTexture* tex;
    const char* log;
  } cases[] = {
      {"not created", id, &empty, "Texture Not Ok"},
      {"no texture", id, nullptr, "Invalid Parameters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MuiPictureAttachTextureToButton(id, &tex, 0);
    MuiKitClearLog();
    MuiPictureAttachTextureToButton(c.id, c.tex, 0);
    EXPECT_TRUE(MuiKitLogHas(std::string("( MuiPictureAttachTextureToButton )  2  ") + c.log));
    EXPECT_EQ(0, mouse_box[id].picture) << "a refusal clears the box's picture";
    EXPECT_EQ(nullptr, mui_pic_ptrs[id]);
  }
  for (int bad : {-1, 1, 499}) {
    MuiKitClearLog();
    MuiPictureAttachTextureToButton(bad, &tex, 0);
    EXPECT_TRUE(MuiKitLogHas("Invalid Parameters")) << bad;
    MuiPictureSetTextureCoordinates(bad, 0, 0, 1, 1);
    EXPECT_TRUE(MuiKitLogHas("( MuiPictureSetTextureCoordinates )  2  Invalid Parameters")) << bad;
  }
  EXPECT_EQ(nullptr, mui_pic_ptrs[499]);
  MuiPictureSetTextureCoordinates(id, 0, 0, 1, 1);  // the box has no picture now
  EXPECT_TRUE(MuiKitLogHas("( MuiPictureSetTextureCoordinates )  2  Texture Not Ok"));
  EXPECT_EQ(0.0f, mui_pic_tcs[id].part);
}

TEST_F(MuiPictureTest, PicturesAreForgottenByANewBoxShutDownAndExit) {
  _ComGlDxTexture tex = Loaded();
  const int id = MuiAddNewScreenBox(100, 100, 200, 150, nullptr);
  MuiPictureAttachTextureToButton(id, &tex, 0);
  MuiRemoveAllBoxes();
  ASSERT_EQ(id, MuiAddNewScreenBox(0, 0, 50, 50, nullptr));
  EXPECT_EQ(0, mouse_box[id].picture);
  EXPECT_EQ(nullptr, mui_pic_ptrs[id]);

  MuiPictureAttachTextureToButton(id, &tex, 0);
  MuiShutdown();  // the application may release its textures once the menus are off
  EXPECT_EQ(nullptr, mui_pic_ptrs[id]);
  EXPECT_EQ(0, mouse_box[id].picture);

  MuiStartup();
  MuiAddNewScreenBox(0, 0, 50, 50, nullptr);
  MuiPictureAttachTextureToButton(id, &tex, 0);
  MuiPictureRemoveTextureFromButton(id);
  EXPECT_EQ(nullptr, mui_pic_ptrs[id]);
  MuiPictureAttachTextureToButton(id, &tex, 0);
  MuiExit();
  EXPECT_EQ(nullptr, mui_pic_ptrs[id]);
}

}  // namespace
