// 3D projection, camera, transforms, matrix stack, viewport records, picking and the extension
// query read back from a real context; the matrix arithmetic they rest on.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <string>

#include "ComGlMatrix.h"
#include "ComGlMisc.h"
#include "ComGlMisc3D.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "ComMisc.h"
#include "support_GlWindow.h"

namespace {

void ExpectMatrixNear(const float* expected, const float* actual, float tol, const char* what) {
  for (int i = 0; i < 16; i++) EXPECT_NEAR(expected[i], actual[i], tol) << what << " m" << i;
}

// ---- Matrix arithmetic (no OpenGL) -----------------------------------------------------------

TEST(ComGlMatrix, ProductAppliesTheRightHandMatrixFirst) {
  _ComGlDxMatrix t, s, ts;
  ComGlDxMatricesSetTranslateMatrix(&t, 10, 20, 30);
  ComGlDxMatricesSetScaleMatrix(&s, 2, 3, 4);
  ComGlDxMatricesMultiplyMatrixByMatrix(&ts, &t, &s);
  _Vector3d p = {1, 1, 1};
  ComGlDxMatricesTransformVectorByMatrix(&p, &ts);
  EXPECT_FLOAT_EQ(12, p.x);
  EXPECT_FLOAT_EQ(23, p.y);
  EXPECT_FLOAT_EQ(34, p.z);
  // out may be the right-hand matrix.
  ComGlDxMatricesMultiplyMatrixByMatrix(&s, &t, &s);
  ExpectMatrixNear(ts.m, s.m, 0, "in place");
}

TEST(ComGlMatrix, InverseAndItsDeterminantThreshold) {
  _ComGlDxMatrix a, inv, prod, id;
  ComGlDxMatricesSetRotationXYZMatrixDeg(&a, 30, -45, 60);
  a.m[12] = 3, a.m[13] = -2, a.m[14] = 7;
  ASSERT_EQ(1, ComGlDxMatricesCalcInverseMatrix(&inv, &a));
  ComGlDxMatricesMultiplyMatrixByMatrix(&prod, &a, &inv);
  ComGlDxMatricesSetIdentityMatrix(&id);
  ExpectMatrixNear(id.m, prod.m, 1e-5f, "a x inverse");

  _ComGlDxMatrix small;
  ComGlDxMatricesSetScaleMatrix(&small, 0.0004f, 1, 1);
  memset(inv.m, 0x7F, sizeof(inv.m));
  EXPECT_EQ(0, ComGlDxMatricesCalcInverseMatrix(&inv, &small));
  ExpectMatrixNear(id.m, inv.m, 0, "singular gives identity");
  ComGlDxMatricesSetScaleMatrix(&small, 0.0005f, 1, 1);
  EXPECT_EQ(1, ComGlDxMatricesCalcInverseMatrix(&inv, &small));
  EXPECT_NEAR(2000.0f, inv.m[0], 0.5f);
}

TEST(ComGlMatrix, RotationsTurnTheAxesTheOpenGLWay) {
  _ComGlDxMatrix r;
  ComGlDxMatricesSetRotateZMatrixDeg(&r, 90);
  _Vector3d p = {1, 0, 0};
  ComGlDxMatricesTransformVectorByMatrix(&p, &r);
  EXPECT_NEAR(0, p.x, 1e-6);
  EXPECT_NEAR(1, p.y, 1e-6);
  _Vector2d in = {1, 2}, out = {0, 0};
  ComGlDxMatricesTransformVector2dByMatrix2(&in, &out, &r);
  EXPECT_NEAR(-2, out.x, 1e-6);
  EXPECT_NEAR(1, out.y, 1e-6);
}

// ---- With a context --------------------------------------------------------------------------

class ComGlMisc3DTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    cglm_perspective_fov = 45.0f;
    cglm_perspective_aspect = 1.0f;
    cglm_perspective_near_plane = 0.1f;
    cglm_perspective_far_plane = 200.0f;
    cglm_matrix_stack_level = 0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ComGlMiscSetViewportFullScreen();
    GlTestLogMark();
  }
  static void Get(GLenum which, float* m) { glGetFloatv(which, m); }
  static GLint MatrixMode() {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
  }
  // gluPerspective's matrix written out.
  static void Perspective(float fov, float aspect, float n, float f, float* m) {
    memset(m, 0, 16 * sizeof(float));
    float c = 1.0f / std::tan(fov * 3.14159265f / 360.0f);
    m[0] = c / aspect;
    m[5] = c;
    m[10] = (f + n) / (n - f);
    m[11] = -1;
    m[14] = 2 * f * n / (n - f);
  }
};

TEST_F(ComGlMisc3DTest, PerspectiveIsBuiltOnlyWhenApplied) {
  float before[16], after[16], expected[16];
  Get(GL_PROJECTION_MATRIX, before);
  ComGlMiscSetPerspectiveFOV(60, 0);
  Get(GL_PROJECTION_MATRIX, after);
  ExpectMatrixNear(before, after, 0, "not applied");
  EXPECT_EQ(60.0f, ComGlMiscGetPerspectiveFOV());

  glMatrixMode(GL_PROJECTION);
  ComGlMiscSetPerspectiveAspect(1.6f, 1);
  EXPECT_EQ(GL_MODELVIEW, MatrixMode());
  Get(GL_PROJECTION_MATRIX, after);
  Perspective(60, 1.6f, 0.1f, 200, expected);
  ExpectMatrixNear(expected, after, 1e-4f, "perspective");

  ComGlMiscUpdatePerspectiveMatrix(0);
  EXPECT_EQ(GL_PROJECTION, MatrixMode());
  ComGlMiscSetupCustomProjectionMatrix(90, 2, 1, 10);
  EXPECT_EQ(GL_MODELVIEW, MatrixMode());
  Get(GL_PROJECTION_MATRIX, after);
  Perspective(90, 2, 1, 10, expected);
  ExpectMatrixNear(expected, after, 1e-4f, "custom");
  EXPECT_EQ(60.0f, ComGlMiscGetPerspectiveFOV());  // the globals stay
}

TEST_F(ComGlMisc3DTest, LookAtGoesIntoTheProjectionAndLeavesTheModelview) {
  glTranslatef(1, 2, 3);
  float model_before[16], model_after[16], proj[16];
  Get(GL_MODELVIEW_MATRIX, model_before);
  _Vector3d eye = {0, -10, 0}, centre = {0, 0, 0}, up = {0, 0, 1};
  glMatrixMode(GL_PROJECTION);
  ComGlMiscSetLookAtMatrix(&eye, &centre);
  EXPECT_EQ(GL_MODELVIEW, MatrixMode());
  Get(GL_MODELVIEW_MATRIX, model_after);
  ExpectMatrixNear(model_before, model_after, 0, "modelview");

  // Looking along +y with z up: side (1, 0, 0), up (0, 0, 1), back (0, -1, 0), eye 10 behind.
  const float view_expected[16] = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, -10, 1};
  _ComGlDxMatrix p, v, pv;
  ComGlMiscGetProjectionAndViewMatrices(&centre, &eye, &up, &p, &v);
  ExpectMatrixNear(view_expected, v.m, 1e-6f, "view");
  float persp[16];
  Perspective(45, 1, 0.1f, 200, persp);
  ExpectMatrixNear(persp, p.m, 1e-4f, "projection");
  ComGlDxMatricesMultiplyMatrixByMatrix(&pv, &p, &v);
  Get(GL_PROJECTION_MATRIX, proj);
  ExpectMatrixNear(pv.m, proj, 1e-4f, "projection x view");

  // The variants: z negated and the up axis turned.
  float ref[16];
  _Vector3d e2 = {0, -10, 4}, c2 = {0, 0, 1};
  ComGlMiscSetLookAtMatrixInvZInvUp(&e2, &c2);
  Get(GL_PROJECTION_MATRIX, proj);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45, 1, 0.1, 200);
  gluLookAt(0, -10, -4, 0, 0, -1, 0, 0, -1);
  Get(GL_PROJECTION_MATRIX, ref);
  glMatrixMode(GL_MODELVIEW);
  ExpectMatrixNear(ref, proj, 1e-5f, "inverted z and up");
}

// Where the modelview matrix takes a point of the page.
void Map(float x, float y, float* ox, float* oy) {
  _ComGlDxMatrix m;
  glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
  _Vector3d p = {x, y, 0};
  ComGlDxMatricesTransformVectorByMatrix(&p, &m);
  *ox = p.x;
  *oy = p.y;
}

TEST_F(ComGlMisc3DTest, PageRotationTransformsPlaceTheCorners) {
  // The reading view's three rotations, with their positions and angles in radians.
  struct Case {
    float px, py, angle;
    float corner_in[4][2];
    float corner_out[4][2];
  } cases[] = {
      {160, 480, 4.712389f, {{0, 0}, {480, 0}, {0, 320}, {480, 320}},
       {{160, 480}, {160, 0}, {480, 480}, {480, 0}}},
      {640, 480, 3.1415927f, {{0, 0}, {640, 0}, {0, 480}, {640, 480}},
       {{640, 480}, {0, 480}, {640, 0}, {0, 0}}},
      {480, 0, 1.5707964f, {{0, 0}, {480, 0}, {0, 320}, {480, 320}},
       {{480, 0}, {480, 480}, {160, 0}, {160, 480}}},
  };
  for (const Case& c : cases) {
    glTranslatef(5, 5, 5);  // whatever was there is replaced
    ComGlMiscSetTransformMatrixPosRotRad(c.px, c.py, 0, 0, 0, c.angle);
    for (int k = 0; k < 4; k++) {
      float x, y;
      Map(c.corner_in[k][0], c.corner_in[k][1], &x, &y);
      EXPECT_NEAR(c.corner_out[k][0], x, 0.01f) << "angle " << c.angle << " corner " << k;
      EXPECT_NEAR(c.corner_out[k][1], y, 0.01f) << "angle " << c.angle << " corner " << k;
    }
  }
  ComGlMiscSetTransformMatrixIdentity();
  float x, y;
  Map(7, 9, &x, &y);
  EXPECT_FLOAT_EQ(7, x);
  EXPECT_FLOAT_EQ(9, y);
}

TEST_F(ComGlMisc3DTest, TransformOrderAndNullSteps) {
  // Translate, then X, Y, Z: the point is turned about Z first.
  ComGlMiscSetTransformMatrix(1, 2, 3, 90, 0, 90);
  float m[16];
  Get(GL_MODELVIEW_MATRIX, m);
  _ComGlDxMatrix mm;
  memcpy(mm.m, m, sizeof(m));
  _Vector3d p = {1, 0, 0};
  ComGlDxMatricesTransformVectorByMatrix(&p, &mm);  // z turns (1,0,0) to (0,1,0), x to (0,0,1)
  EXPECT_NEAR(1, p.x, 1e-5);
  EXPECT_NEAR(2, p.y, 1e-5);
  EXPECT_NEAR(4, p.z, 1e-5);

  _Vector3d pos = {1, 2, 3}, rot = {0, 0, 90};
  ComGlMiscSetTransformMatrixPosRotVec3(nullptr, &rot);
  Get(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(0, m[12], 1e-6);
  ComGlMiscSetTransformMatrixPosRotVec3(&pos, nullptr);
  Get(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(3, m[14]);
  EXPECT_FLOAT_EQ(1, m[0]);
  ComGlMiscSetTransformMatrixVec3NoIdentity(&pos, nullptr);
  Get(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(6, m[14]);  // added onto the current matrix
  _Vector3d s = {2, 2, 2};
  ComGlMiscApplyScaleMatrixP(&s);
  Get(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(2, m[0]);
  _ComGlDxMatrix load;
  ComGlDxMatricesSetTranslateMatrix(&load, 4, 5, 6);
  ComGlMiscSetTransformMatrixToMatrix(&load);
  ComGlMiscSetTransformMatrixToMatrix(nullptr);
  Get(GL_MODELVIEW_MATRIX, m);
  ExpectMatrixNear(load.m, m, 0, "loaded");
}

TEST_F(ComGlMisc3DTest, PopBeyondTheBaseIsSkipped) {
  GLint base = 0, depth = 0;
  glPushMatrix();  // someone else's matrix below this module's pushes
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &base);
  ComGlMiscPushTransformMatrix();
  ComGlMiscPopTransformMatrix();
  ComGlMiscPopTransformMatrix();
  EXPECT_EQ(0, cglm_matrix_stack_level);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(base, depth);
  EXPECT_EQ(1, GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComGlMiscPopMatrix", "Too many pops")));
  glPopMatrix();
}

TEST_F(ComGlMisc3DTest, ViewportRecords) {
  _ComGlDxViewport vp;
  float xr = x_ratio, yr = y_ratio;
  x_ratio = 1.25f;
  y_ratio = 0.5f;
  ComGlMiscSetViewportStructToSizeRatioed(&vp, 10, 21, 30, 5);
  x_ratio = xr;
  y_ratio = yr;
  EXPECT_EQ(12, vp.x);       // 12.5 rounds towards zero
  EXPECT_EQ(10, vp.y);       // 10.5 likewise
  EXPECT_EQ(37, vp.width);   // 37.5
  EXPECT_EQ(2, vp.height);   // 2.5

  ComGlMiscSetViewportStructToSize(&vp, 10, 20, 100, 50);
  ComGlMiscSetViewportToViewportStruct(&vp);
  EXPECT_EQ(0, cglm_viewport_is_fullscreen);
  _ComGlDxViewport cur;
  ComGlMiscGetCurrentViewportStruct(&cur);
  EXPECT_EQ(10, cur.x);
  EXPECT_EQ(HEIGHT - 20 - 50, cur.y);
  EXPECT_EQ(100, cur.width);
  EXPECT_EQ(50, cur.height);
  ComGlMiscGetCurrentViewportStruct(nullptr);
  ComGlMiscSetViewportFullScreen();
}

TEST_F(ComGlMisc3DTest, PickingMatchesUnprojection) {
  _Vector3d eye = {2, -10, 8}, centre = {1, 1, 0};
  _Vector3d up = {0, 0, 1};
  _ComGlDxMatrix p, v;
  ComGlMiscGetProjectionAndViewMatrices(&centre, &eye, &up, &p, &v);
  const int pts[][2] = {{320, 240}, {100, 50}, {600, 400}, {0, 479}};
  for (const auto& s : pts) {
    // The oracle: the ray through the pixel from GLU, meeting the plane z = 0.5.
    double pd[16], vd[16];
    for (int i = 0; i < 16; i++) pd[i] = p.m[i], vd[i] = v.m[i];
    GLint vpd[4] = {0, 0, WIDTH, HEIGHT};
    double ax, ay, az, bx, by, bz;
    ASSERT_TRUE(gluUnProject(s[0], HEIGHT - s[1], 0, vd, pd, vpd, &ax, &ay, &az));
    ASSERT_TRUE(gluUnProject(s[0], HEIGHT - s[1], 1, vd, pd, vpd, &bx, &by, &bz));
    double k = (0.5 - az) / (bz - az);
    float x = 0, y = 0;
    ASSERT_EQ(1, ComGlMiscGetScreenPointInFullScreen(s[0], s[1], 0.5f, &centre, &eye, &x, &y));
    EXPECT_NEAR(ax + k * (bx - ax), x, 0.01) << s[0] << "," << s[1];
    EXPECT_NEAR(ay + k * (by - ay), y, 0.01) << s[0] << "," << s[1];
  }
  float x, y;
  EXPECT_EQ(0, ComGlMiscGetScreenPointInFullScreen(10, 10, 0, nullptr, &eye, &x, &y));
  EXPECT_EQ(0, ComGlMiscGetScreenPointInFullScreen(10, 10, 0, &centre, nullptr, &x, &y));
  // Looking straight down the up axis has no camera matrix to invert.
  _Vector3d above = {0, 0, 10}, origin = {0, 0, 0};
  EXPECT_EQ(0, ComGlMiscGetScreenPointInFullScreen(320, 240, 0, &origin, &above, &x, &y));
}

TEST_F(ComGlMisc3DTest, PickingInsideViewports) {
  _Vector3d eye = {0, -10, 10}, centre = {0, 0, 0};
  _ComGlDxViewport vp = {100, 50, 200, 100};
  float x = 0, y = 0;
  EXPECT_EQ(1, ComGlMiscGetScreenPointInViewportStruct(&vp, 300, 150, 0, &centre, &eye, &x, &y));
  EXPECT_EQ(0, ComGlMiscGetScreenPointInViewportStruct(&vp, 301, 150, 0, &centre, &eye, &x, &y));
  EXPECT_EQ(0, ComGlMiscGetScreenPointInViewportStruct(&vp, 200, 151, 0, &centre, &eye, &x, &y));
  EXPECT_EQ(0, ComGlMiscGetScreenPointInViewportStruct(&vp, 99, 100, 0, &centre, &eye, &x, &y));
  // The centre of the viewport looks at the centre of the scene.
  ASSERT_EQ(1, ComGlMiscGetScreenPointInViewportStruct(&vp, 200, 100, 0, &centre, &eye, &x, &y));
  EXPECT_NEAR(0, x, 1e-4);
  EXPECT_NEAR(0, y, 1e-4);
  _ComGlDxViewport empty = {0, 0, 0, 10};
  EXPECT_EQ(0, ComGlMiscGetScreenPointInViewportStruct(&empty, 0, 0, 0, &centre, &eye, &x, &y));

  // The current viewport, set from the top of the window, answers like its record.
  ComGlMiscSetViewportToSize(100, 50, 200, 100);
  const int pts[][2] = {{200, 100}, {120, 60}, {290, 140}};
  for (const auto& s : pts) {
    float rx = 0, ry = 0, cx = 1, cy = 1;
    ASSERT_EQ(1, ComGlMiscGetScreenPointInViewportStruct(&vp, s[0], s[1], 0, &centre, &eye, &rx, &ry));
    ASSERT_EQ(1, ComGlMiscGetScreenPointInCurrentViewport(s[0], s[1], 0, &centre, &eye, &cx, &cy))
        << s[0] << "," << s[1];
    EXPECT_FLOAT_EQ(rx, cx);
    EXPECT_FLOAT_EQ(ry, cy);
  }
  ComGlMiscSetViewportFullScreen();
  float fx = 0, fy = 0;
  ASSERT_EQ(1, ComGlMiscGetScreenPointInCurrentViewport(20, 30, 0, &centre, &eye, &x, &y));
  ASSERT_EQ(1, ComGlMiscGetScreenPointInFullScreen(20, 30, 0, &centre, &eye, &fx, &fy));
  EXPECT_FLOAT_EQ(fx, x);
  EXPECT_FLOAT_EQ(fy, y);
}

TEST_F(ComGlMisc3DTest, ExtensionQuery) {
  const char* ext = (const char*)glGetString(GL_EXTENSIONS);
  ASSERT_NE(nullptr, ext);
  std::string all = std::string(" ") + ext + " ";
  std::string first = std::string(ext).substr(0, std::string(ext).find(' '));
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(1, ComGlMiscQueryExtension(first.c_str()));
  std::string prefix = first.substr(0, first.size() - 1);
  if (all.find(" " + prefix + " ") == std::string::npos)
    EXPECT_EQ(0, ComGlMiscQueryExtension(prefix.c_str()));
  EXPECT_EQ(0, ComGlMiscQueryExtension("GL_LECTREL_no_such_thing"));
  EXPECT_EQ(0, ComGlMiscQueryExtension(""));
  EXPECT_EQ(0, ComGlMiscQueryExtension(nullptr));
}

TEST_F(ComGlMisc3DTest, TexturePartIn3DDrawsOnlyLoadedImages) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  _ComGlDxTexture tex = {};
  int w = 2, h = 2;
  ASSERT_TRUE(ComGlTextureCreateEmptyTexture(&w, &h, 1, &tex));
  for (int i = 0; i < w * h; i++) memset(tex.image.pixels + i * 4, 255, 4);
  ASSERT_TRUE(ComGlTextureMultiplyTextPartColour(&tex, 0, 0, -1, -1, 1, 1, 1, 1));
  _ComGlTextureImage unloaded = tex.image;
  unloaded.loaded = 0;
  // The plane z = z1 over the right half of the device square, identity matrices.
  ComGlMiscDrawTexturePartIn3D(1, nullptr, 0, 0, -1, 0, 1, 1, 0, 0, 0, 1, 1, &unloaded);
  EXPECT_EQ(0, GlTestReadPixel(480, 240).r);
  ComGlMiscDrawTexturePartIn3D(1, nullptr, 3, 0, -1, 0, 1, 1, 0, 0, 0, 1, 1, &tex.image);
  EXPECT_EQ(0, GlTestReadPixel(480, 240).r);
  ComGlMiscDrawTexturePartIn3D(1, nullptr, 0, 0, -1, 0, 1, 1, 0, 0, 0, 1, 1, &tex.image);
  EXPECT_GT(GlTestReadPixel(480, 240).r, 250);
  EXPECT_EQ(0, GlTestReadPixel(160, 240).r);
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(0, bound);
  ComGlTextureRelease(&tex);
}

}  // namespace
