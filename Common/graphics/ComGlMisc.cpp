// The OpenGL state module: default state, 2D bracket, blending cache, textured quads,
// viewports, darkening, dimming and the GL error check.
#include "ComGlMisc.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <stdio.h>

#include "ComDebug.h"
#include "ComGlLights.h"
#include "ComGlTexture.h"
#include "ComGlXfile.h"
#include "ComMacWin.h"
#include "ComMisc.h"

char cglm_blending_on = 0;
int cglm_src_blend_type = -1;
int cglm_dest_blend_type = -1;
int cglm_use_depth_buffer = 1;
char cglm_2d_prepared = 0;
char cglm_2d_lights_turned_off = 0;
char cglm_2d_depth_buffer_was_on = 0;
float cglm_clear_col[3] = {0.0f, 0.0f, 0.0f};
int cglm_full_viewport[4] = {0, 0, 640, 480};
char cglm_viewport_is_fullscreen = 1;
char cglm_two_sided_polys_on = 0;
char com_gl_dim_on = 0;
float com_gl_dim_level = 1.0f;

namespace {

struct BlendPair {
  GLenum src;
  GLenum dst;
};

const BlendPair cglm_blend_types[18] = {
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},            // 0
    {GL_SRC_ALPHA, GL_SRC_ALPHA},                      // 1
    {GL_SRC_ALPHA, GL_DST_COLOR},                      // 2
    {GL_ONE, GL_SRC_ALPHA},                            // 3
    {GL_SRC_COLOR, GL_SRC_ALPHA},                      // 4
    {GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},            // 5
    {GL_ONE_MINUS_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR},  // 6
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},                  // 7
    {GL_SRC_ALPHA, GL_ONE},                            // 8
    {GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA},            // 9
    {GL_ONE, GL_ONE},                                  // 10
    {GL_ONE_MINUS_SRC_ALPHA, GL_ONE},                  // 11
    {GL_ONE_MINUS_SRC_COLOR, GL_ONE},                  // 12
    {GL_DST_COLOR, GL_ZERO},                           // 13
    {GL_ZERO, GL_ONE_MINUS_SRC_COLOR},                 // 14
    {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA},            // 15
    {GL_SRC_COLOR, GL_ONE},                            // 16
    {GL_ONE, GL_ONE_MINUS_SRC_COLOR},                  // 17
};

// One saved level of the blend state.
char cglm_saved_blend = 0;
char cglm_saved_blend_on = 0;
int cglm_saved_src = -1;
int cglm_saved_dst = -1;

// OpenGL errors still to be logged in this run.
int cglm_error_budget = 100;

inline float VirtualToDeviceX(float x) { return x / 320.0f - 1.0f; }
inline float VirtualToDeviceY(float y) { return (480.0f - y) / 240.0f - 1.0f; }

// One quad in the virtual screen: vertices top left, bottom left, bottom right, top right, with
// the texture's v running upwards (rows are stored bottom row first).
void DrawVirtualQuad(float x, float y, float w, float h, float u1, float v_top, float u2, float v_bottom,
                     GLuint name) {
  const float left = VirtualToDeviceX(x);
  const float right = VirtualToDeviceX(x + w);
  const float top = VirtualToDeviceY(y);
  const float bottom = VirtualToDeviceY(y + h);
  glBindTexture(GL_TEXTURE_2D, name);
  glBegin(GL_QUADS);
  glTexCoord2f(u1, v_top);
  glVertex3f(left, top, 1.0f);
  glTexCoord2f(u1, v_bottom);
  glVertex3f(left, bottom, 1.0f);
  glTexCoord2f(u2, v_bottom);
  glVertex3f(right, bottom, 1.0f);
  glTexCoord2f(u2, v_top);
  glVertex3f(right, top, 1.0f);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
}

// The pure quad: coordinates as given, y upwards; texture coordinates per vertex supplied.
void DrawPureQuad(float x, float y, float w, float h, const float tc[8], GLuint name) {
  glBindTexture(GL_TEXTURE_2D, name);
  glBegin(GL_QUADS);
  glTexCoord2f(tc[0], tc[1]);
  glVertex3f(x, y + h, 1.0f);
  glTexCoord2f(tc[2], tc[3]);
  glVertex3f(x, y, 1.0f);
  glTexCoord2f(tc[4], tc[5]);
  glVertex3f(x + w, y, 1.0f);
  glTexCoord2f(tc[6], tc[7]);
  glVertex3f(x + w, y + h, 1.0f);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
}

inline bool ImageDrawable(const _ComGlTextureImage* image) { return image && image->loaded; }

// A black quad of the given alpha over the whole device square.
void DrawBlackDeviceQuad(float alpha) {
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor4f(0.0f, 0.0f, 0.0f, alpha);
  glBegin(GL_QUADS);
  glVertex3f(-1.0f, 1.0f, 1.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glVertex3f(1.0f, -1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 1.0f);
  glEnd();
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace

// ---------------------------------------------------------------- default state and buffers

void ComGlMiscSetDefaultGraphicParamaters() {
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  // Texel rows are packed without padding: a 24-bit texture of odd width would otherwise be read
  // (and read back) past the end of its buffer.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);

  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

  glEnable(GL_LIGHTING);
  ComGlLightsSetupLights();

  // The new context starts with its own blend state: put the cached one into it.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  const int src = cglm_src_blend_type;
  const int dst = cglm_dest_blend_type;
  cglm_src_blend_type = -1;
  cglm_dest_blend_type = -1;
  if (cglm_blending_on) {
    cglm_blending_on = 0;
    ComGlMiscEnableSpecificBlending(src, dst);
  } else {
    glDisable(GL_BLEND);
  }

  glEnable(GL_TEXTURE_2D);
  ComGlMiscShowTwoSidedPolygons(0);
  ComGlMiscSetPolygonDrawOrder(1);

  ComGlMaterialsApplyAdvancedMaterialsSetting();
  ComGlLightsSetSpecularColourLocalViewpoint(-1);
  ComGlXfileDrawSpecularHighlightsOnTopOfTexture(-1);

  glClearColor(cglm_clear_col[0], cglm_clear_col[1], cglm_clear_col[2], 1.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);

  if (cglm_use_depth_buffer) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
  }

  cglm_full_viewport[0] = 0;
  cglm_full_viewport[1] = 0;
  cglm_full_viewport[2] = WIDTH;
  cglm_full_viewport[3] = HEIGHT;
  glViewport(0, 0, WIDTH > 0 ? WIDTH : 0, HEIGHT > 0 ? HEIGHT : 0);
  cglm_viewport_is_fullscreen = 1;
}

void ComGlMiscSetClearColour(float r, float g, float b) {
  cglm_clear_col[0] = r;
  cglm_clear_col[1] = g;
  cglm_clear_col[2] = b;
  glClearColor(r, g, b, 1.0f);
}

void ComGlMiscGetClearColour(float* r, float* g, float* b) {
  if (r) *r = cglm_clear_col[0];
  if (g) *g = cglm_clear_col[1];
  if (b) *b = cglm_clear_col[2];
}

void ComGlMiscClearScreenAndDepthBuffers() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
void ComGlMiscClearScreenBuffer() { glClear(GL_COLOR_BUFFER_BIT); }
void ComGlMiscClearDepthBuffer() { glClear(GL_DEPTH_BUFFER_BIT); }

void ComGlMiscUseDepthBuffer(char on) { cglm_use_depth_buffer = on; }

void ComGlMiscTurnOnDepthBuffer() {
  if (cglm_use_depth_buffer) glEnable(GL_DEPTH_TEST);
}

void ComGlMiscTurnOffDepthBuffer() {
  if (cglm_use_depth_buffer) {
    glDisable(GL_DEPTH_TEST);
    cglm_2d_depth_buffer_was_on = 0;
  }
}

void ComGlMiscTurnOffDepthBufferIfNeeded(char* was_on) {
  if (cglm_use_depth_buffer && glIsEnabled(GL_DEPTH_TEST)) {
    glDisable(GL_DEPTH_TEST);
    if (was_on) *was_on = 1;
  } else if (was_on) {
    *was_on = 0;
  }
}

void ComGlMiscTurnOnLighting() { glEnable(GL_LIGHTING); }
void ComGlMiscTurnOffLighting() { glDisable(GL_LIGHTING); }

void ComGlMiscTurnOffLightingIfNeeded(char* was_on) {
  if (glIsEnabled(GL_LIGHTING)) {
    glDisable(GL_LIGHTING);
    if (was_on) *was_on = 1;
  } else if (was_on) {
    *was_on = 0;
  }
}

void ComGlMiscShowTwoSidedPolygons(char on) {
  if (on)
    glDisable(GL_CULL_FACE);
  else
    glEnable(GL_CULL_FACE);
  cglm_two_sided_polys_on = on ? 1 : 0;
}

char ComGlMiscAreTwoSidedPolygonsOn() { return cglm_two_sided_polys_on; }

void ComGlMiscSetPolygonDrawOrder(char ccw) { glFrontFace(ccw ? GL_CCW : GL_CW); }

void ComGlMiscSetColour(float r, float g, float b, float a) { glColor4f(r, g, b, a); }
void ComGlMiscClearTexture() { glBindTexture(GL_TEXTURE_2D, 0); }
void ComGlMiscSetModelView() { glMatrixMode(GL_MODELVIEW); }

// ---------------------------------------------------------------- 2D mode

static void PushIdentityMatrices() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

static void PopMatrices() {
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

void ComGlMiscPrepareFor2D(char lights_off) {
  if (cglm_2d_prepared) {
    DebugError("ComGlMiscPrepareFor2D", "Already prepared");
    return;
  }
  if (lights_off) {
    glDisable(GL_LIGHTING);
    cglm_2d_lights_turned_off = 1;
  }
  ComGlMiscTurnOffDepthBufferIfNeeded(&cglm_2d_depth_buffer_was_on);
  PushIdentityMatrices();
  cglm_2d_prepared = 1;
}

void ComGlMiscPrepareFor2DIfNeeded(char lights_off, char* prepared_here) {
  if (cglm_2d_prepared) {
    if (prepared_here) *prepared_here = 0;
    return;
  }
  ComGlMiscPrepareFor2D(lights_off);
  if (prepared_here) *prepared_here = 1;
}

void ComGlMiscRestoreAfter2D() {
  if (cglm_2d_prepared != 1) {
    DebugError("ComGlMiscRestoreAfter2D", "Not prepared");
    return;
  }
  PopMatrices();
  if (cglm_2d_lights_turned_off) {
    glEnable(GL_LIGHTING);
    cglm_2d_lights_turned_off = 0;
  }
  if (cglm_2d_depth_buffer_was_on) {
    if (cglm_use_depth_buffer) glEnable(GL_DEPTH_TEST);
    cglm_2d_depth_buffer_was_on = 0;
  }
  cglm_2d_prepared = 0;
}

char ComGlMiscIs2DPrepared() { return cglm_2d_prepared; }

void ComGlMiscPrepareFor2DMatricesOnly() {
  if (cglm_2d_prepared) {
    DebugError("ComGlMiscPrepareFor2DMatricesOnly", "Already prepared");
    return;
  }
  PushIdentityMatrices();
  cglm_2d_prepared = 2;
}

void ComGlMiscRestoreAfter2DMatricesOnly() {
  if (cglm_2d_prepared != 2) {
    DebugError("ComGlMiscRestoreAfter2D", "Not prepared");
    return;
  }
  PopMatrices();
  cglm_2d_prepared = 0;
}

// ---------------------------------------------------------------- blending

void ComGlMiscEnableSpecificBlending(int src, int dst) {
  if (src != cglm_src_blend_type || dst != cglm_dest_blend_type) {
    glBlendFunc((GLenum)src, (GLenum)dst);
    cglm_src_blend_type = src;
    cglm_dest_blend_type = dst;
  }
  if (!cglm_blending_on) {
    glEnable(GL_BLEND);
    cglm_blending_on = 1;
  }
}

void ComGlMiscEnableBlendingType(int type) {
  if (type < 0 || type > 17) {
    DebugError("ComGlMiscEnableBlendingType", "Invalid Type");
    return;
  }
  ComGlMiscEnableSpecificBlending((int)cglm_blend_types[type].src, (int)cglm_blend_types[type].dst);
}

void ComGlMiscDisableBlending() {
  if (cglm_blending_on) {
    glDisable(GL_BLEND);
    cglm_blending_on = 0;
  }
}

char ComGlMiscIsBlendingEnabled() { return cglm_blending_on; }

char ComGlMiscGetBlendingState(char* on, int* src, int* dst) {
  if (on) *on = cglm_blending_on;
  if (src) *src = cglm_src_blend_type;
  if (dst) *dst = cglm_dest_blend_type;
  return cglm_blending_on;
}

char ComGlMiscSaveOrRestoreBlendingState(char save) {
  if (save) {
    if (cglm_saved_blend) {
      DebugError("ComGlMiscSaveOrRestoreBlendingState", "Already saved");
      return 0;
    }
    cglm_saved_blend_on = cglm_blending_on;
    cglm_saved_src = cglm_src_blend_type;
    cglm_saved_dst = cglm_dest_blend_type;
    cglm_saved_blend = 1;
    return 1;
  }
  if (!cglm_saved_blend) {
    DebugError("ComGlMiscSaveOrRestoreBlendingState", "Not saved");
    return 0;
  }
  if (cglm_saved_blend_on && !cglm_blending_on) {
    ComGlMiscEnableSpecificBlending(cglm_saved_src, cglm_saved_dst);
  } else if (!cglm_saved_blend_on && cglm_blending_on) {
    glDisable(GL_BLEND);
    cglm_blending_on = 0;
  }
  cglm_saved_blend = 0;
  return 1;
}

// ---------------------------------------------------------------- textured quads

void ComGlMiscDrawTextureFloat(float x, float y, float w, float h, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  DrawVirtualQuad(x, y, w, h, 0.0f, 1.0f, 1.0f, 0.0f, image->tex_name);
}

void ComGlMiscDrawTexture(int x, int y, int w, int h, _ComGlTextureImage* image) {
  ComGlMiscDrawTextureFloat((float)x, (float)y, (float)w, (float)h, image);
}

void ComGlMiscDrawTextureFloatWithColour(float x, float y, float w, float h, float r, float g, float b, float a,
                                         _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  glColor4f(r, g, b, a);
  DrawVirtualQuad(x, y, w, h, 0.0f, 1.0f, 1.0f, 0.0f, image->tex_name);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void ComGlMiscDrawTexturePartFloat(float x, float y, float w, float h, float tex_left, float tex_top,
                                   float tex_right, float tex_bottom, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  DrawVirtualQuad(x, y, w, h, tex_left, 1.0f - tex_top, tex_right, 1.0f - tex_bottom, image->tex_name);
}

void ComGlMiscDrawTexturePartWithColourFloat(float x, float y, float w, float h, float tex_left, float tex_top,
                                             float tex_right, float tex_bottom, float r, float g, float b,
                                             float a, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  glColor4f(r, g, b, a);
  DrawVirtualQuad(x, y, w, h, tex_left, 1.0f - tex_top, tex_right, 1.0f - tex_bottom, image->tex_name);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void ComGlMiscDrawTextureFloatPure(float x, float y, float w, float h, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  const float tc[8] = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f};
  DrawPureQuad(x, y, w, h, tc, image->tex_name);
}

void ComGlMiscDrawTexturePartFloatPure(float x, float y, float w, float h, float tex_left, float tex_top,
                                       float tex_right, float tex_bottom, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  const float tc[8] = {tex_left, tex_bottom, tex_left, tex_top, tex_right, tex_top, tex_right, tex_bottom};
  DrawPureQuad(x, y, w, h, tc, image->tex_name);
}

void ComGlMiscDrawTexturePartPureWithColourFloat(float x, float y, float w, float h, float tex_left,
                                                 float tex_top, float tex_right, float tex_bottom, float r,
                                                 float g, float b, float a, _ComGlTextureImage* image) {
  if (!ImageDrawable(image)) return;
  const float tc[8] = {tex_left,  1.0f - tex_top,    tex_left,  1.0f - tex_bottom,
                       tex_right, 1.0f - tex_bottom, tex_right, 1.0f - tex_top};
  glColor4f(r, g, b, a);
  DrawPureQuad(x, y, w, h, tc, image->tex_name);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void ComGlMiscDrawTextureAsBackground(_ComGlTextureImage* image) {
  if (!image || !image->tex_name) return;
  ComGlMiscPrepareFor2D(1);
  glBindTexture(GL_TEXTURE_2D, image->tex_name);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 1.0f);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
  ComGlMiscRestoreAfter2D();
}

static void DrawQuarter(_ComGlDxTexture* t, float x0, float y0, float x1, float y1) {
  float u1 = 0.0f, v1 = 0.0f, u2 = 1.0f, v2 = 1.0f;
  if (!t->full_coords) {
    // Coordinates given explicitly are sent as they are.
    u1 = t->tex_left;
    v1 = t->tex_top;
    u2 = t->tex_right;
    v2 = t->tex_bottom;
  }
  glBindTexture(GL_TEXTURE_2D, t->image.tex_name);
  glBegin(GL_QUADS);
  glTexCoord2f(u1, v1);
  glVertex3f(x0, y0, 1.0f);
  glTexCoord2f(u2, v1);
  glVertex3f(x1, y0, 1.0f);
  glTexCoord2f(u2, v2);
  glVertex3f(x1, y1, 1.0f);
  glTexCoord2f(u1, v2);
  glVertex3f(x0, y1, 1.0f);
  glEnd();
}

void ComGlMiscDrawFourTexturesAsBackground(_ComGlDxTexture* top_left, _ComGlDxTexture* top_right,
                                           _ComGlDxTexture* bottom_left, _ComGlDxTexture* bottom_right) {
  if (!top_left || !top_right || !bottom_left || !bottom_right) return;
  if (!top_left->created || !top_right->created || !bottom_left->created || !bottom_right->created) return;
  ComGlMiscPrepareFor2D(1);
  DrawQuarter(top_left, -1.0f, 0.0f, 0.0f, 1.0f);
  DrawQuarter(top_right, 0.0f, 0.0f, 1.0f, 1.0f);
  DrawQuarter(bottom_left, -1.0f, -1.0f, 0.0f, 0.0f);
  DrawQuarter(bottom_right, 0.0f, -1.0f, 1.0f, 0.0f);
  ComGlMiscRestoreAfter2D();
  glBindTexture(GL_TEXTURE_2D, 0);
}

// ---------------------------------------------------------------- viewports

void ComGlMiscSetViewportFullScreen() {
  glViewport(0, 0, WIDTH > 0 ? WIDTH : 0, HEIGHT > 0 ? HEIGHT : 0);
  cglm_viewport_is_fullscreen = 1;
}

void ComGlMiscSetViewportToSize(int x, int y, int w, int h) {
  // OpenGL refuses a negative size (and keeps the old viewport); an empty one is what was meant.
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  glViewport(x, HEIGHT - y - h, w, h);
  cglm_viewport_is_fullscreen = 0;
}

void ComGlMiscSetViewportToSizeRatioed(int x, int y, int w, int h) {
  ComGlMiscSetViewportToSize(ComMiscRound((float)x * x_ratio), ComMiscRound((float)y * y_ratio),
                             ComMiscRound((float)w * x_ratio), ComMiscRound((float)h * y_ratio));
}

int* ComGlMiscGetFullScreenViewport() { return cglm_full_viewport; }

void ComGlMiscGetCurrentViewport(int* x, int* y, int* w, int* h) {
  GLint vp[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, vp);
  if (x) *x = vp[0];
  if (y) *y = vp[1];
  if (w) *w = vp[2];
  if (h) *h = vp[3];
}

// ---------------------------------------------------------------- darkening and dimming

void ComGlMiscDarkenScreen(float alpha) {
  ComGlMiscPrepareFor2D(1);
  ComGlMiscEnableSpecificBlending(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  DrawBlackDeviceQuad(alpha);
  ComGlMiscDisableBlending();
  ComGlMiscRestoreAfter2D();
}

void ComGlDimDarkenScreen(float alpha) {
  char prepared_here = 0;
  ComGlMiscPrepareFor2DIfNeeded(1, &prepared_here);
  const char saved = ComGlMiscSaveOrRestoreBlendingState(1);
  ComGlMiscEnableBlendingType(0);
  DrawBlackDeviceQuad(alpha);
  // Only our own save may be restored: a failed save means someone else's is pending.
  if (saved) ComGlMiscSaveOrRestoreBlendingState(0);
  if (prepared_here) ComGlMiscRestoreAfter2D();
}

void ComGlDimSetLevel(float level) {
  com_gl_dim_level = level;
  com_gl_dim_on = 1;
}

float ComGlDimGetLevel() { return com_gl_dim_level; }
void ComGlDimTurnOff() { com_gl_dim_on = 0; }
char ComGlDimIsOn() { return com_gl_dim_on; }

void ComGlDimDo() {
  if (com_gl_dim_on) ComGlDimDarkenScreen(1.0f - com_gl_dim_level);
}

// ---------------------------------------------------------------- alpha from brightness

unsigned char ComGlMiscGetPixelAlphaFromBrightness(char type, unsigned char r, unsigned char g, unsigned char b) {
  unsigned char mx = r > g ? r : g;
  if (b > mx) mx = b;
  unsigned char mn = r < g ? r : g;
  if (b < mn) mn = b;
  switch (type) {
    case 0:
      return 255;
    case 1:
      return 0;
    case 2:
      DebugError("ComGlMiscGetPixelAlphaFromBrightness", "Alpha from file specified");
      return 0;
    case 3:
      return mx;
    case 4:
      if (mx >= 64) return 255;
      if (mx < 32) return 0;
      return (unsigned char)((mx - 32) * 8);
    case 5:
      if (mx >= 32) return 255;
      return (unsigned char)(mx * 8);
    case 6:
      return mn;
    default:
      DebugError("ComGlMiscGetPixelAlphaFromBrightness", "Unknown alpha type %d", (int)type);
      return 0;
  }
}

// ---------------------------------------------------------------- errors

char ComGlMiscCheckGlError(const char* function_name, const char* text) {
  const GLenum error = glGetError();
  if (error == GL_NO_ERROR) return 1;
  if (cglm_error_budget > 0) {
    const char* name = (const char*)gluErrorString(error);
    char unknown[40];
    if (!name) {
      snprintf(unknown, sizeof(unknown), "unknown GL error 0x%04X", (unsigned)error);
      name = unknown;
    }
    const char* func = function_name ? function_name : "";
    const char* what = text ? text : "";
    if (cglm_error_budget == 1)
      DebugError(func, "%s : OpenGL error: %s (no more errors)", what, name);
    else
      DebugError(func, "%s : OpenGL error: %s", what, name);
    cglm_error_budget--;
  }
  return 0;
}
