// Paper backgrounds: one of the fifteen paper pictures, tinted by the background colour, adjusted
// in contrast, repeated over the screen and moving with the text in the reading view.
#include "Paper.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "ComDebug.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "Config.h"
#include "MainLoad.h"
#include "MainGeometry.h"
#include "MainRender.h"
#include "Mui.h"

_ComGlDxTexture p_bg_tex;
float paper_r = 1, paper_g = 1, paper_b = 1;
float p_tc_mult = 0.75f;
float p_tc_umult = 0.75f * 6.4f, p_tc_vmult = 0.75f * 4.8f;
float p_tu1, p_tu2, p_tv1, p_tv2;
float p_uh = 1, p_vh = 1;

namespace {

float pp_tint_r = 1, pp_tint_g = 1, pp_tint_b = 1;  // the last tint given
float pp_set_tu1 = -1, pp_set_tv1 = -1, pp_set_tu2 = -1, pp_set_tv2 = -1;

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

char MenusOn() { return MuiIsOn(); }

void SetCoordinates(float tu1, float tv1, float tu2, float tv2) {
  if (tu1 == pp_set_tu1 && tv1 == pp_set_tv1 && tu2 == pp_set_tu2 && tv2 == pp_set_tv2) return;
  pp_set_tu1 = tu1;
  pp_set_tv1 = tv1;
  pp_set_tu2 = tu2;
  pp_set_tv2 = tv2;
  ComGlTextureSetTextureCoordinates(&p_bg_tex, tu1, tv1, tu2, tv2);
}

}  // namespace

void PaperCalcRepeats(float paper_size, char rotated, float* umult, float* vmult) {
  float k = 2.5f - 2.3f * Clamp01(paper_size);
  float across = 6.4f * k, down = 4.8f * k;
  if (rotated) {
    float t = across;
    across = down;
    down = t;
  }
  if (umult) *umult = across;
  if (vmult) *vmult = down;
}

float PaperCalcPower(float contrast) { return 3.5f * Clamp01(contrast) + 0.2f; }

float PaperCalcOffset(double cur_height, float ygap, float offset_units, float vmult, float h) {
  if (h <= 0) return 0;
  double t = (cur_height * ygap - offset_units) * vmult / h;
  // The picture repeats every whole unit: keep the offset within one repeat, or a long book's
  // offset grows until the float loses the fraction that places the paper.
  t -= std::floor(t);
  return (float)t;
}

char PaperGetFilename(int number, char* dst, int len) {
  if (!dst || len <= 0) return 0;
  dst[0] = 0;
  if (number <= 0 || number > 15) return 0;
  int n = snprintf(dst, (size_t)len, "%s%02d%s", "", number, " copy.jpg");
  return n > 0 && n < len;
}

char PaperIsLoaded() { return p_bg_tex.created && p_bg_tex.image.loaded; }

char PaperCreateGraphics() {
  if (config.paper > 15 || config.paper < 0) config.paper = 0;
  if (config.paper == 0) return 1;
  char name[64];
  if (!PaperGetFilename(config.paper, name, sizeof(name))) return 1;
  if (!ComGlTextureLoadFromJpegFile(name, 0, 0, 0, &p_bg_tex)) {
    DebugError("PaperCreateGraphics", "Could not load paper %d <%s>", (int)config.paper, name);
    return 0;
  }
  float x = PaperCalcPower(config.paper_contrast);
  ComGlTexturePowerTextPartColour(&p_bg_tex, 0, 0, -1, -1, x, x, x, -1);
  if (!config.dark_on_bright) ComGlTextureInvertTexturePart(&p_bg_tex, 0, 0, -1, -1, 1, 1, 1, 0);
  // The picture repeats over the screen.
  glBindTexture(GL_TEXTURE_2D, p_bg_tex.image.tex_name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glBindTexture(GL_TEXTURE_2D, 0);
  ComGlTexturePositionFloatRatioed(&p_bg_tex, 0, 0, 640, 480);
  pp_set_tu1 = pp_set_tv1 = pp_set_tu2 = pp_set_tv2 = -1;
  PaperSetPaperSize();
  if (PaperIsLoaded()) {
    paper_r = pp_tint_r;
    paper_g = pp_tint_g;
    paper_b = pp_tint_b;
  }
  return 1;
}

void PaperDestroyGraphics() {
  if (p_bg_tex.created) ComGlTextureRelease(&p_bg_tex);
}

char PaperReload() {
  PaperDestroyGraphics();
  return PaperCreateGraphics();
}

void PaperSetPaperSize() {
  char rotated = !MenusOn() && MainGetRotation(config.rotation).turned;
  PaperCalcRepeats(config.paper_size, rotated, &p_tc_umult, &p_tc_vmult);
  p_tc_mult = 2.5f - 2.3f * Clamp01(config.paper_size);
  p_tu1 = p_tv1 = 0;
  p_tu2 = p_uh = p_tc_umult;
  p_tv2 = p_vh = p_tc_vmult;
  if (p_bg_tex.created) SetCoordinates(p_tu1, p_tv1, p_tu2, p_tv2);
}

void PaperSetPaperColour(float r, float g, float b) {
  if (!PaperIsLoaded()) return;
  if (r >= 0) {
    pp_tint_r = r;
    pp_tint_g = g;
    pp_tint_b = b;
  }
  paper_r = pp_tint_r;
  paper_g = pp_tint_g;
  paper_b = pp_tint_b;
}

void PaperRenderBackground() {
  if (!ComGlMiscIs2DPrepared()) {
    ComGlMiscClearScreenBuffer();
    return;
  }
  ComFreeTypeRestoreAfterDrawingIfNeeded();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  if (!MenusOn())
    MainUpdateForPageRotationForDrawingTextures();
  else
    glLoadIdentity();
  ComGlMiscSaveOrRestoreBlendingState(1);
  ComGlMiscDisableBlending();
  ComGlTextureDrawWithColour(&p_bg_tex, paper_r, paper_g, paper_b, 1);
  ComGlMiscSaveOrRestoreBlendingState(0);
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void PaperTick() {
  if (!PaperIsLoaded()) return;
  float a = config.scrolling ? 0 : (float)MainGetFirstLineCentre();
  float h = (MenusOn() || !MainGetRotation(config.rotation).turned) ? 480 : 640;
  float t = PaperCalcOffset(cur_book_height, line_ygap, a, p_tc_vmult, h);
  p_tv1 = t;
  p_tv2 = t + p_vh;
  SetCoordinates(p_tu1, t, p_tu2, t + p_vh);
}
