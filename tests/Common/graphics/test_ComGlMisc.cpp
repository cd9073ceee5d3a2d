// The 2D drawing model read back from a real context: blending types against their formulas, the
// blend cache and its one saved level, the 2D brackets, quads over the virtual screen,
// viewports, darkening and dimming, and the default state of a new context.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "ComGlLoad.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "support_GlWindow.h"

namespace {

class ComGlMiscTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    // Every test starts outside 2D with blending off and nothing saved.
    while (cglm_2d_prepared == 1) ComGlMiscRestoreAfter2D();
    while (cglm_2d_prepared == 2) ComGlMiscRestoreAfter2DMatricesOnly();
    ComGlMiscDisableBlending();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    GlTestLogMark();
  }
  void TearDown() override {
    for (auto& t : textures_) ComGlTextureRelease(&t);
  }

  // A solid or two-band texture of 64 x 64 texels (rows bottom first).
  _ComGlDxTexture* MakeTexture(bool bands, unsigned char r = 255, unsigned char g = 255, unsigned char b = 255) {
    textures_.emplace_back();
    _ComGlDxTexture* t = &textures_.back();
    *t = _ComGlDxTexture{};
    int w = 64, h = 64;
    EXPECT_TRUE(ComGlTextureCreateEmptyTexture(&w, &h, 1, t));
    for (int row = 0; row < h; row++)
      for (int x = 0; x < w; x++) {
        unsigned char* p = t->image.pixels + (row * w + x) * 4;
        const bool top = row >= h / 2;
        p[0] = bands ? (top ? 255 : 0) : r;
        p[1] = bands ? 0 : g;
        p[2] = bands ? (top ? 0 : 255) : b;
        p[3] = 255;
      }
    EXPECT_TRUE(ComGlTextureMultiplyTextPartColour(t, 0, 0, -1, -1, 1, 1, 1, 1));  // re-uploads
    return t;
  }

  std::vector<_ComGlDxTexture> textures_ = std::vector<_ComGlDxTexture>();

 public:
  ComGlMiscTest() { textures_.reserve(16); }
};

void ExpectNear(const GlTestRgba& got, int r, int g, int b, int tol, const char* what) {
  EXPECT_NEAR(got.r, r, tol) << what;
  EXPECT_NEAR(got.g, g, tol) << what;
  EXPECT_NEAR(got.b, b, tol) << what;
}

// An untextured quad over the whole device square in the current blend state.
void DrawColourQuad(float r, float g, float b, float a) {
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor4f(r, g, b, a);
  glBegin(GL_QUADS);
  glVertex3f(-1, -1, 0.5f);
  glVertex3f(1, -1, 0.5f);
  glVertex3f(1, 1, 0.5f);
  glVertex3f(-1, 1, 0.5f);
  glEnd();
  glColor4f(1, 1, 1, 1);
}

double Factor(GLenum f, const double s[4], const double d[4], int c) {
  switch (f) {
    case GL_ZERO: return 0;
    case GL_ONE: return 1;
    case GL_SRC_ALPHA: return s[3];
    case GL_ONE_MINUS_SRC_ALPHA: return 1 - s[3];
    case GL_SRC_COLOR: return s[c];
    case GL_ONE_MINUS_SRC_COLOR: return 1 - s[c];
    case GL_DST_COLOR: return d[c];
    default: ADD_FAILURE() << "factor not modelled"; return 0;
  }
}

TEST_F(ComGlMiscTest, EveryBlendingTypeMatchesItsFormula) {
  const GLenum table[18][2] = {
      {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_SRC_ALPHA, GL_SRC_ALPHA},
      {GL_SRC_ALPHA, GL_DST_COLOR},           {GL_ONE, GL_SRC_ALPHA},
      {GL_SRC_COLOR, GL_SRC_ALPHA},           {GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},
      {GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR}, {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},
      {GL_SRC_ALPHA, GL_ONE},                 {GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA},
      {GL_ONE, GL_ONE},                       {GL_ONE_MINUS_SRC_ALPHA, GL_ONE},
      {GL_ONE_MINUS_SRC_COLOR, GL_ONE},       {GL_DST_COLOR, GL_ZERO},
      {GL_ZERO, GL_ONE_MINUS_SRC_COLOR},      {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA},
      {GL_SRC_COLOR, GL_ONE},                 {GL_ONE, GL_ONE_MINUS_SRC_COLOR},
  };
  const double src[4] = {0.8, 0.4, 0.2, 0.6};
  const double dst[4] = {0.2, 0.5, 0.9, 1.0};
  ComGlMiscPrepareFor2D(1);
  for (int type = 0; type < 18; type++) {
    SCOPED_TRACE(type);
    ComGlMiscDisableBlending();
    glClearColor((float)dst[0], (float)dst[1], (float)dst[2], 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ComGlMiscEnableBlendingType(type);
    GLint gl_src = 0, gl_dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &gl_src);
    glGetIntegerv(GL_BLEND_DST, &gl_dst);
    EXPECT_EQ((GLenum)gl_src, table[type][0]);
    EXPECT_EQ((GLenum)gl_dst, table[type][1]);
    EXPECT_EQ(cglm_src_blend_type, (int)table[type][0]);
    EXPECT_EQ(cglm_dest_blend_type, (int)table[type][1]);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    DrawColourQuad((float)src[0], (float)src[1], (float)src[2], (float)src[3]);
    int expected[3];
    for (int c = 0; c < 3; c++) {
      const double v = src[c] * Factor(table[type][0], src, dst, c) + dst[c] * Factor(table[type][1], src, dst, c);
      expected[c] = (int)std::lround(std::min(1.0, std::max(0.0, v)) * 255.0);
    }
    ExpectNear(GlTestReadPixel(320, 240), expected[0], expected[1], expected[2], 2, "blended pixel");
  }
  ComGlMiscRestoreAfter2D();
  glClearColor(0, 0, 0, 1);
}

TEST_F(ComGlMiscTest, BlendCacheSkipsRepeatsAndRefusesUnknownTypes) {
  ComGlMiscEnableBlendingType(0);
  // Someone changes the context behind the cache; the same type again issues nothing, which
  // shows that neither glBlendFunc nor glEnable is repeated.
  glBlendFunc(GL_ONE, GL_ZERO);
  glDisable(GL_BLEND);
  ComGlMiscEnableBlendingType(0);
  GLint gl_src = 0;
  glGetIntegerv(GL_BLEND_SRC, &gl_src);
  EXPECT_EQ(gl_src, GL_ONE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glEnable(GL_BLEND);

  ComGlMiscEnableBlendingType(18);
  ComGlMiscEnableBlendingType(-1);
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComGlMiscEnableBlendingType", "Invalid Type")), 2);
  EXPECT_EQ(cglm_src_blend_type, GL_SRC_ALPHA);
  EXPECT_EQ(cglm_dest_blend_type, GL_ONE_MINUS_SRC_ALPHA);

  ComGlMiscDisableBlending();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(ComGlMiscIsBlendingEnabled(), 0);
  char on = 9;
  int s = 0, d = 0;
  EXPECT_EQ(ComGlMiscGetBlendingState(&on, &s, &d), 0);
  EXPECT_EQ(on, 0);
  EXPECT_EQ(s, GL_SRC_ALPHA);
  EXPECT_EQ(ComGlMiscGetBlendingState(nullptr, nullptr, nullptr), 0);
}

TEST_F(ComGlMiscTest, SavedBlendStateComesBackOneLevel) {
  // Saved on with type 3, changed to type 0: on at both times, so the factors stay type 0's.
  ComGlMiscEnableBlendingType(3);
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(1));
  ComGlMiscEnableBlendingType(0);
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(0));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(cglm_src_blend_type, GL_SRC_ALPHA);
  EXPECT_EQ(cglm_dest_blend_type, GL_ONE_MINUS_SRC_ALPHA);

  // Saved on with type 3, disabled: restoring brings type 3 back.
  ComGlMiscEnableBlendingType(3);
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(1));
  ComGlMiscDisableBlending();
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(0));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint gl_src = 0, gl_dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &gl_src);
  glGetIntegerv(GL_BLEND_DST, &gl_dst);
  EXPECT_EQ(gl_src, GL_ONE);
  EXPECT_EQ(gl_dst, GL_SRC_ALPHA);

  // Saved off, turned on: restoring turns it off.
  ComGlMiscDisableBlending();
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(1));
  ComGlMiscEnableBlendingType(10);
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(0));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(cglm_blending_on, 0);

  // Misuse: restoring with nothing saved, saving twice.
  EXPECT_FALSE(ComGlMiscSaveOrRestoreBlendingState(0));
  EXPECT_TRUE(ComGlMiscSaveOrRestoreBlendingState(1));
  EXPECT_FALSE(ComGlMiscSaveOrRestoreBlendingState(1));
  EXPECT_TRUE(ComGlMiscSaveOrRestoreBlendingState(0));
  const std::string log = GlTestLogSince();
  EXPECT_NE(log.find(GlTestErrorLine("ComGlMiscSaveOrRestoreBlendingState", "Not saved")), std::string::npos);
  EXPECT_NE(log.find(GlTestErrorLine("ComGlMiscSaveOrRestoreBlendingState", "Already saved")), std::string::npos);
}

TEST_F(ComGlMiscTest, DefaultStateOfANewContextCarriesTheCachedBlendAndClearColour) {
  ComGlMiscEnableBlendingType(3);
  ComGlMiscSetClearColour(0.25f, 0.5f, 0.75f);
  // A new context starts blank; the default state must put the cached state into it.
  GlTestCloseWindow();
  ASSERT_TRUE(GlTestOpenWindow(640, 480));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint v = 0;
  glGetIntegerv(GL_BLEND_SRC, &v);
  EXPECT_EQ(v, GL_ONE);
  glGetIntegerv(GL_BLEND_DST, &v);
  EXPECT_EQ(v, GL_SRC_ALPHA);
  GLfloat clear[4] = {0, 0, 0, 0};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[0], 0.25f);
  EXPECT_FLOAT_EQ(clear[2], 0.75f);
  EXPECT_FLOAT_EQ(clear[3], 1.0f);
  // Rows are packed both ways, so a 24-bit texture of odd width is read within its buffer.
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &v);
  EXPECT_EQ(v, 1);
  glGetIntegerv(GL_PACK_ALIGNMENT, &v);
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(ComGlMiscAreTwoSidedPolygonsOn(), 0);
  glGetIntegerv(GL_FRONT_FACE, &v);
  EXPECT_EQ(v, GL_CCW);
  glGetIntegerv(GL_DEPTH_FUNC, &v);
  EXPECT_EQ(v, GL_LEQUAL);
  EXPECT_EQ(cglm_full_viewport[2], 640);
  EXPECT_EQ(cglm_full_viewport[3], 480);
  EXPECT_EQ(cglm_viewport_is_fullscreen, 1);

  // With blending off in the cache, the new context has it off too.
  ComGlMiscDisableBlending();
  ComGlMiscSetClearColour(0, 0, 0);
  GlTestCloseWindow();
  ASSERT_TRUE(GlTestOpenWindow(640, 480));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(cglm_src_blend_type, -1);
}

TEST_F(ComGlMiscTest, TwoDBracketsSwitchStateAndRefuseMisuse) {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScalef(2, 2, 2);
  glMatrixMode(GL_MODELVIEW);
  GLint depth_before = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);

  ComGlMiscPrepareFor2D(1);
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_FLOAT_EQ(m[0], 1.0f);
  GLint mode = 0, depth = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, depth_before + 1);

  ComGlMiscPrepareFor2D(1);  // does not nest
  char here = 7;
  ComGlMiscPrepareFor2DIfNeeded(1, &here);
  EXPECT_EQ(here, 0);
  ComGlMiscRestoreAfter2D();
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 0);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_FLOAT_EQ(m[0], 2.0f);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, depth_before);
  ComGlMiscRestoreAfter2D();  // not in 2D

  // Lights left on when asked; a depth test that was off stays off after.
  glDisable(GL_DEPTH_TEST);
  ComGlMiscPrepareFor2DIfNeeded(0, &here);
  EXPECT_EQ(here, 1);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  ComGlMiscRestoreAfter2D();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

  // Matrices only: lighting and depth untouched, and only its own restore leaves it.
  glEnable(GL_DEPTH_TEST);
  ComGlMiscPrepareFor2DMatricesOnly();
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 2);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  ComGlMiscPrepareFor2DMatricesOnly();
  ComGlMiscRestoreAfter2D();
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 2);
  ComGlMiscRestoreAfter2DMatricesOnly();
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 0);
  ComGlMiscRestoreAfter2DMatricesOnly();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);

  const std::string log = GlTestLogSince();
  EXPECT_EQ(GlTestCountOccurrences(log, GlTestErrorLine("ComGlMiscPrepareFor2D", "Already prepared")), 1);
  EXPECT_EQ(GlTestCountOccurrences(log, GlTestErrorLine("ComGlMiscPrepareFor2DMatricesOnly", "Already prepared")), 1);
  EXPECT_EQ(GlTestCountOccurrences(log, GlTestErrorLine("ComGlMiscRestoreAfter2D", "Not prepared")), 3);
}

TEST_F(ComGlMiscTest, FullVirtualScreenQuadCoversTheWindowAtEverySize) {
  for (const auto& size : {std::pair<int, int>{640, 480}, std::pair<int, int>{800, 600}}) {
    SCOPED_TRACE(size.first);
    for (auto& t : textures_) ComGlTextureRelease(&t);
    textures_.clear();
    ASSERT_TRUE(GlTestOpenWindow(size.first, size.second));
    _ComGlDxTexture* white = MakeTexture(false, 255, 255, 255);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ComGlMiscPrepareFor2D(1);
    ComGlMiscDrawTexture(0, 0, 640, 480, &white->image);
    ComGlMiscRestoreAfter2D();
    const int w = size.first, h = size.second;
    for (auto xy : {std::pair<int, int>{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, h / 2}})
      ExpectNear(GlTestReadPixel(xy.first, xy.second), 255, 255, 255, 0, "corner");

    // A quad of the top-left quarter of the virtual screen lands in the window's top-left quarter.
    glClear(GL_COLOR_BUFFER_BIT);
    ComGlMiscPrepareFor2D(1);
    ComGlMiscDrawTextureFloat(0, 0, 320, 240, &white->image);
    ComGlMiscRestoreAfter2D();
    ExpectNear(GlTestReadPixelTop(w / 4, h / 4), 255, 255, 255, 0, "inside");
    ExpectNear(GlTestReadPixelTop(w * 3 / 4, h / 4), 0, 0, 0, 0, "right of it");
    ExpectNear(GlTestReadPixelTop(w / 4, h * 3 / 4), 0, 0, 0, 0, "below it");
  }
}

TEST_F(ComGlMiscTest, PictureTopIsDrawnAtTheTopAndPartsCountFromTheTop) {
  _ComGlDxTexture* bands = MakeTexture(true);  // top half red, bottom half blue
  struct Case {
    const char* what;
    int kind;  // 0 whole, 1 part, 2 pure whole, 3 pure part, 4 pure part with colour
    float tl, tt, tr, tb;
    int top_r, top_b, bottom_r, bottom_b;
  };
  const Case cases[] = {
      {"whole image", 0, 0, 0, 1, 1, 255, 0, 0, 255},
      {"part: top half", 1, 0, 0, 1, 0.5f, 255, 0, 255, 0},
      {"part: bottom half", 1, 0, 0.5f, 1, 1, 0, 255, 0, 255},
      {"pure whole", 2, 0, 0, 1, 1, 255, 0, 0, 255},
      // The pure part sends its vertical coordinates unflipped: 0 .. 0.5 is the picture's bottom.
      {"pure part unflipped", 3, 0, 0, 1, 0.5f, 0, 255, 0, 255},
      {"pure part with colour, flipped", 4, 0, 0, 1, 0.5f, 255, 0, 255, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    glClear(GL_COLOR_BUFFER_BIT);
    ComGlMiscPrepareFor2D(1);
    switch (c.kind) {
      case 0: ComGlMiscDrawTextureFloat(0, 0, 640, 480, &bands->image); break;
      case 1: ComGlMiscDrawTexturePartFloat(0, 0, 640, 480, c.tl, c.tt, c.tr, c.tb, &bands->image); break;
      case 2: ComGlMiscDrawTextureFloatPure(-1, -1, 2, 2, &bands->image); break;
      case 3: ComGlMiscDrawTexturePartFloatPure(-1, -1, 2, 2, c.tl, c.tt, c.tr, c.tb, &bands->image); break;
      case 4:
        ComGlMiscDrawTexturePartPureWithColourFloat(-1, -1, 2, 2, c.tl, c.tt, c.tr, c.tb, 1, 1, 1, 1, &bands->image);
        break;
    }
    ComGlMiscRestoreAfter2D();
    // Sample a quarter in from the top and bottom, away from the filtered band edge.
    const GlTestRgba top = GlTestReadPixelTop(320, 60);
    const GlTestRgba bottom = GlTestReadPixelTop(320, 420);
    EXPECT_NEAR(top.r, c.top_r, 2);
    EXPECT_NEAR(top.b, c.top_b, 2);
    EXPECT_NEAR(bottom.r, c.bottom_r, 2);
    EXPECT_NEAR(bottom.b, c.bottom_b, 2);
  }
}

TEST_F(ComGlMiscTest, TintedQuadsMultiplyAndLeaveTheColourWhite) {
  _ComGlDxTexture* white = MakeTexture(false);
  ComGlMiscPrepareFor2D(1);
  ComGlMiscDrawTextureFloatWithColour(0, 0, 640, 480, 0.5f, 1.0f, 0.0f, 1.0f, &white->image);
  ExpectNear(GlTestReadPixel(320, 240), 128, 255, 0, 2, "tinted");
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f);
  EXPECT_FLOAT_EQ(colour[2], 1.0f);
  // A null or unloaded image draws nothing.
  glClear(GL_COLOR_BUFFER_BIT);
  _ComGlTextureImage unloaded = white->image;
  unloaded.loaded = 0;
  ComGlMiscDrawTextureFloat(0, 0, 640, 480, &unloaded);
  ComGlMiscDrawTextureFloat(0, 0, 640, 480, nullptr);
  ComGlMiscRestoreAfter2D();
  ExpectNear(GlTestReadPixel(320, 240), 0, 0, 0, 0, "nothing drawn");
}

TEST_F(ComGlMiscTest, BackgroundsFillTheViewport) {
  _ComGlDxTexture* bands = MakeTexture(true);
  glClear(GL_COLOR_BUFFER_BIT);
  ComGlMiscDrawTextureAsBackground(&bands->image);
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 0);
  EXPECT_NEAR(GlTestReadPixelTop(320, 60).r, 255, 2);
  EXPECT_NEAR(GlTestReadPixelTop(320, 420).b, 255, 2);

  _ComGlDxTexture* red = MakeTexture(false, 255, 0, 0);
  _ComGlDxTexture* green = MakeTexture(false, 0, 255, 0);
  _ComGlDxTexture* blue = MakeTexture(false, 0, 0, 255);
  _ComGlDxTexture* grey = MakeTexture(false, 128, 128, 128);
  glClear(GL_COLOR_BUFFER_BIT);
  ComGlMiscDrawFourTexturesAsBackground(red, green, blue, grey);
  ExpectNear(GlTestReadPixelTop(160, 120), 255, 0, 0, 2, "top left");
  ExpectNear(GlTestReadPixelTop(480, 120), 0, 255, 0, 2, "top right");
  ExpectNear(GlTestReadPixelTop(160, 360), 0, 0, 255, 2, "bottom left");
  ExpectNear(GlTestReadPixelTop(480, 360), 128, 128, 128, 2, "bottom right");
  // One texture missing: nothing at all.
  glClear(GL_COLOR_BUFFER_BIT);
  _ComGlDxTexture none{};
  ComGlMiscDrawFourTexturesAsBackground(red, green, blue, &none);
  ExpectNear(GlTestReadPixelTop(160, 120), 0, 0, 0, 0, "nothing drawn");
}

TEST_F(ComGlMiscTest, ViewportsCountFromTheTopAndClampNegativeSizes) {
  ComGlMiscSetViewportToSize(10, 20, 100, 50);
  int x, y, w, h;
  ComGlMiscGetCurrentViewport(&x, &y, &w, &h);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 410);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 50);
  EXPECT_EQ(cglm_viewport_is_fullscreen, 0);

  while (glGetError() != GL_NO_ERROR) {
  }
  ComGlMiscSetViewportToSize(5, 5, -3, -4);
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
  ComGlMiscGetCurrentViewport(nullptr, &y, &w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(y, 475);

  ComGlMiscSetViewportFullScreen();
  ComGlMiscGetCurrentViewport(&x, &y, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(cglm_viewport_is_fullscreen, 1);
  EXPECT_EQ(ComGlMiscGetFullScreenViewport(), cglm_full_viewport);

  // In an 800 x 600 window the virtual rectangle scales by 1.25 (with halves rounding down).
  ASSERT_TRUE(GlTestOpenWindow(800, 600));
  ComGlMiscSetViewportToSizeRatioed(10, 20, 100, 50);
  ComGlMiscGetCurrentViewport(&x, &y, &w, &h);
  EXPECT_EQ(x, 12);   // 12.5
  EXPECT_EQ(w, 125);
  EXPECT_EQ(h, 62);   // 62.5
  EXPECT_EQ(y, 600 - 25 - 62);
  ComGlMiscSetViewportFullScreen();
}

TEST_F(ComGlMiscTest, DarkeningDrawsBlackEvenWithATextureBound) {
  _ComGlDxTexture* red = MakeTexture(false, 255, 0, 0);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindTexture(GL_TEXTURE_2D, red->image.tex_name);
  ComGlMiscDarkenScreen(0.5f);
  ExpectNear(GlTestReadPixel(320, 240), 128, 128, 128, 2, "half dark");
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 0);

  // Dimming keeps the caller's blend state and 2D bracket.
  glClear(GL_COLOR_BUFFER_BIT);
  glBindTexture(GL_TEXTURE_2D, red->image.tex_name);
  ComGlMiscEnableBlendingType(10);
  ComGlMiscPrepareFor2D(1);
  ComGlDimDarkenScreen(0.75f);
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 1);
  ComGlMiscRestoreAfter2D();
  ExpectNear(GlTestReadPixel(320, 240), 64, 64, 64, 2, "three quarters dark");
  // Blending was on before and after: it stays on, with the factors dimming used.
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(cglm_src_blend_type, GL_SRC_ALPHA);
  EXPECT_EQ(cglm_dest_blend_type, GL_ONE_MINUS_SRC_ALPHA);

  // A save already pending belongs to someone else: dimming must not restore it.
  ComGlMiscDisableBlending();
  ASSERT_TRUE(ComGlMiscSaveOrRestoreBlendingState(1));
  ComGlDimDarkenScreen(0.1f);
  EXPECT_TRUE(ComGlMiscSaveOrRestoreBlendingState(0));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));

  // The frame's dimming pass: level 0.25 keeps a quarter of the brightness.
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(ComGlDimIsOn(), 0);
  ComGlDimDo();
  ExpectNear(GlTestReadPixel(320, 240), 255, 255, 255, 0, "dimming off");
  ComGlDimSetLevel(0.25f);
  EXPECT_EQ(ComGlDimIsOn(), 1);
  EXPECT_FLOAT_EQ(ComGlDimGetLevel(), 0.25f);
  ComGlDimDo();
  ExpectNear(GlTestReadPixel(320, 240), 64, 64, 64, 2, "dimmed");
  ComGlDimTurnOff();
  EXPECT_EQ(ComGlDimIsOn(), 0);
  glClearColor(0, 0, 0, 1);
}

TEST_F(ComGlMiscTest, DepthAndLightingSwitches) {
  char was = 9;
  glEnable(GL_DEPTH_TEST);
  ComGlMiscTurnOffDepthBufferIfNeeded(&was);
  EXPECT_EQ(was, 1);
  ComGlMiscTurnOffDepthBufferIfNeeded(&was);
  EXPECT_EQ(was, 0);
  ComGlMiscUseDepthBuffer(0);
  ComGlMiscTurnOnDepthBuffer();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  ComGlMiscUseDepthBuffer(1);
  ComGlMiscTurnOnDepthBuffer();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  ComGlMiscTurnOffDepthBuffer();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

  ComGlMiscTurnOnLighting();
  ComGlMiscTurnOffLightingIfNeeded(&was);
  EXPECT_EQ(was, 1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  ComGlMiscTurnOffLightingIfNeeded(nullptr);

  ComGlMiscShowTwoSidedPolygons(1);
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(ComGlMiscAreTwoSidedPolygonsOn(), 1);
  ComGlMiscShowTwoSidedPolygons(0);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  ComGlMiscSetPolygonDrawOrder(0);
  GLint face = 0;
  glGetIntegerv(GL_FRONT_FACE, &face);
  EXPECT_EQ(face, GL_CW);
  ComGlMiscSetPolygonDrawOrder(1);

  float r = 0, g = 0, b = 0;
  ComGlMiscSetClearColour(0.1f, 0.2f, 0.3f);
  ComGlMiscGetClearColour(&r, nullptr, &b);
  EXPECT_FLOAT_EQ(r, 0.1f);
  EXPECT_FLOAT_EQ(b, 0.3f);
  ComGlMiscGetClearColour(nullptr, &g, nullptr);
  EXPECT_FLOAT_EQ(g, 0.2f);
  ComGlMiscSetClearColour(0, 0, 0);
}

TEST(ComGlMiscAlphaTest, AlphaFromBrightnessAtTheThresholds) {
  GlTestLogMark();
  struct Case {
    char type;
    unsigned char r, g, b;
    int alpha;
  };
  const Case cases[] = {
      {0, 10, 20, 30, 255}, {1, 200, 200, 200, 0}, {3, 10, 90, 40, 90}, {6, 10, 90, 40, 10},
      {4, 31, 31, 31, 0},   {4, 32, 32, 32, 0},    {4, 40, 40, 40, 64}, {4, 63, 63, 63, 248},
      {4, 64, 64, 64, 255}, {4, 0, 0, 64, 255},    {5, 31, 31, 31, 248}, {5, 32, 32, 32, 255},
      {5, 0, 0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComGlMiscGetPixelAlphaFromBrightness(c.type, c.r, c.g, c.b), c.alpha) << "type " << (int)c.type;
  EXPECT_EQ(ComGlMiscGetPixelAlphaFromBrightness(2, 9, 9, 9), 0);
  EXPECT_EQ(ComGlMiscGetPixelAlphaFromBrightness(8, 9, 9, 9), 0);
  const std::string log = GlTestLogSince();
  EXPECT_NE(log.find(GlTestErrorLine("ComGlMiscGetPixelAlphaFromBrightness", "Alpha from file specified")),
            std::string::npos);
  EXPECT_NE(log.find(GlTestErrorLine("ComGlMiscGetPixelAlphaFromBrightness", "Unknown alpha type 8")),
            std::string::npos);
}

}  // namespace
