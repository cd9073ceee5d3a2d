// Glyph fonts: the texel builder on small hand-made bitmaps (resampler, margin, gradient, shadow,
// blur, sizes that do not fit), measuring and word wrapping with a hand-filled font record (no
// OpenGL), and real DejaVu fonts created, measured and drawn under Xvfb.
#include <GL/gl.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Common/framework/FrameworkTestUtil.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComMacWin.h"
#include "support_GlWindow.h"

namespace {

const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

bool FileThere(const char* p) {
  struct stat st;
  return stat(p, &st) == 0;
}

struct Texels {
  int w, h;
  std::vector<unsigned char> t;
  Texels(int w_, int h_) : w(w_), h(h_), t((size_t)w_ * h_ * 2, 0xCD) {}
  int Lum(int x, int y) const { return t[((size_t)y * w + x) * 2]; }
  int Alpha(int x, int y) const { return t[((size_t)y * w + x) * 2 + 1]; }
};

_ComFreeTypeCreationEffects NoEffects() {
  _ComFreeTypeCreationEffects e;
  memset(&e, 0, sizeof(e));
  return e;
}

// ---- Texel builder ------------------------------------------------------------------------

TEST(ComFreeTypeTexels, OneToOneResamplerIsTheMeanOfTwoLinearWeights) {
  // At 1:1 the fractions are 0, so every texel is (2 p00 + p10 + p01) / 4 with the edge rules:
  // the last column repeats p00 for p10, the last row repeats p00 for p01.
  const int W = 3, H = 3;
  const unsigned char bm[W * H] = {100, 200, 40,  //
                                   8,   16,  255,  //
                                   0,   60,  120};
  Texels out(W, H);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm, W, H, W, H, nullptr, out.t.data()));
  auto px = [&](int x, int y) { return (int)bm[y * W + x]; };
  for (int y = 0; y < H; y++) {
    for (int x = 0; x < W; x++) {
      int p00 = px(x, y);
      int p10 = x < W - 1 ? px(x + 1, y) : p00;
      int p01 = y < H - 1 ? px(x, y + 1) : p00;
      int expected = (2 * p00 + p10 + p01) / 4;
      EXPECT_EQ(expected, out.Lum(x, y)) << x << "," << y;
      EXPECT_EQ(expected, out.Alpha(x, y)) << x << "," << y;
    }
  }
  // Pinned by hand: (2*100 + 200 + 8) / 4 = 102, and the bottom right corner keeps 120.
  EXPECT_EQ(102, out.Lum(0, 0));
  EXPECT_EQ(120, out.Lum(2, 2));
}

TEST(ComFreeTypeTexels, MarginLeavesTheBorderFreeAndTheGlyphFillsTheRest) {
  std::vector<unsigned char> bm(40 * 50, 255);
  _ComFreeTypeCreationEffects e = NoEffects();
  e.margin = 2;
  int tw = 0, th = 0;
  ComFreeTypeGetGlyphTextureSize(40, 50, 64, &e, &tw, &th);
  ASSERT_EQ(64, tw);
  ASSERT_EQ(64, th);
  Texels out(tw, th);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), 40, 50, tw, th, &e, out.t.data()));
  for (int i = 0; i < 64; i++) {
    // Inside, the two-weight mean of a solid glyph truncates to 254 or 255.
    bool inside = i >= 2 && i <= 61;
    if (inside) {
      EXPECT_GE(out.Lum(i, 32), 254) << "column " << i;
      EXPECT_GE(out.Alpha(32, i), 254) << "row " << i;
    } else {
      EXPECT_EQ(0, out.Lum(i, 32)) << "column " << i;
      EXPECT_EQ(0, out.Alpha(32, i)) << "row " << i;
    }
  }
}

TEST(ComFreeTypeTexels, TopRowReachesTheTextureAndRowsStayInOrder) {
  // A bitmap whose top row is bright and the rest dark, scaled down 8 -> 4: texture row 0 is the
  // glyph's top.
  std::vector<unsigned char> bm(8 * 8, 0);
  for (int x = 0; x < 8; x++) bm[x] = 200;
  Texels out(8, 4);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), 8, 8, 8, 4, nullptr, out.t.data()));
  EXPECT_GT(out.Lum(3, 0), 0);
  EXPECT_EQ(0, out.Lum(3, 3));
}

struct SizeCase {
  int bw, br, max;
  bool effects;
  int tw, th;
};

TEST(ComFreeTypeTexels, TextureSides) {
  const SizeCase cases[] = {
      {40, 20, 0, false, 32, 16},    // closest powers of two, shrinking the 40 wide glyph
      {100, 100, 64, false, 64, 64}, // 128 capped
      {40, 20, 64, false, 32, 16},   // below the cap
      {10, 10, 64, true, 64, 64},    // effects make the texture square at the cap
      {0, 0, 64, true, 2, 2},        // the empty space glyph
      {5001, 10, 0, false, 2, 2},    // unusable
      {10, -1, 0, false, 2, 2},
  };
  for (const SizeCase& c : cases) {
    _ComFreeTypeCreationEffects e = NoEffects();
    if (c.effects) e.lum_blur_passes = 1;
    int tw = -1, th = -1;
    ComFreeTypeGetGlyphTextureSize(c.bw, c.br, c.max, &e, &tw, &th);
    EXPECT_EQ(c.tw, tw) << c.bw << "x" << c.br;
    EXPECT_EQ(c.th, th) << c.bw << "x" << c.br;
  }
}

TEST(ComFreeTypeTexels, GradientFollowsTheDistanceFromTheEdge) {
  const int S = 16, d = 4;
  std::vector<unsigned char> bm(S * S, 255);
  _ComFreeTypeCreationEffects e = NoEffects();
  e.gradient_depth = d;
  e.grad_lum_deep = 0.2f, e.grad_lum_edge = 0.1f, e.grad_lum_middle = 0.5f, e.grad_lum_inner = 0.8f;
  e.grad_alpha_deep = 0.9f, e.grad_alpha_edge = 1.0f, e.grad_alpha_middle = 0.0f,
  e.grad_alpha_inner = 0.4f;
  Texels out(S, S);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), S, S, S, S, &e, out.t.data()));
  // The border texels are the edge (mark 1); mark m = distance + 1; depth + 1 keeps its value;
  // farther in is the deep interior.
  auto factor = [&](int dist, float edge, float middle, float inner, float deep) -> float {
    int m = dist + 1;
    if (m > d + 1) return deep;
    if (m == d + 1) return 1.0f;
    float t = (float)m / d;
    if (t == 0.5f) return middle;
    if (t < 0.5f) return (1 - 2 * t) * edge + 2 * t * middle;
    float u = 2 * (t - 0.5f);
    return (1 - u) * middle + u * inner;
  };
  for (int x = 0; x < S / 2; x++) {
    float fl = factor(x, 0.1f, 0.5f, 0.8f, 0.2f);
    float fa = factor(x, 1.0f, 0.0f, 0.4f, 0.9f);
    EXPECT_NEAR((int)(255 * fl), out.Lum(x, S / 2), 1) << "distance " << x;
    EXPECT_NEAR((int)(255 * fa), out.Alpha(x, S / 2), 1) << "distance " << x;
  }
  EXPECT_NEAR(204, out.Lum(3, 8), 1);   // three inside: t = 1, the inner factor
  EXPECT_EQ(255, out.Lum(4, 8));        // four inside: unchanged
  EXPECT_NEAR(51, out.Lum(7, 8), 1);    // deeper: the deep factor
  EXPECT_NEAR(127, out.Lum(1, 8), 1);   // t = 0.5: the middle factor
}

TEST(ComFreeTypeTexels, ShadowFillsOnlyTransparentTexelsBelowRight) {
  std::vector<unsigned char> bm(6 * 6, 255);
  _ComFreeTypeCreationEffects e = NoEffects();
  e.shadow_x = 2;
  e.shadow_y = 2;
  e.shadow_lum_factor = 0.5f;
  e.shadow_alpha_factor = 0.25f;
  Texels out(8, 8);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), 6, 6, 8, 8, &e, out.t.data()));
  // The glyph occupies 0..5 both ways (8 minus the shadow offset).
  EXPECT_EQ(255, out.Lum(3, 3));
  EXPECT_EQ(255, out.Alpha(5, 5));
  // Right of and below the glyph: the shadow colour.
  EXPECT_EQ(127, out.Lum(7, 7));
  EXPECT_EQ(63, out.Alpha(7, 7));
  EXPECT_EQ(63, out.Alpha(6, 2));
  // Above or left of the offset nothing is cast.
  EXPECT_EQ(0, out.Alpha(6, 1));
  EXPECT_EQ(0, out.Alpha(1, 6));
}

TEST(ComFreeTypeTexels, BlurKeepsAUniformGlyphAndTouchesOnlyItsChannel) {
  // Neighbours outside the texture count in neither the sum nor the weight, so a uniform texture
  // stays uniform up to its corners.
  std::vector<unsigned char> bm(4 * 4, 200);
  _ComFreeTypeCreationEffects e = NoEffects();
  e.alpha_blur_passes = 3;
  Texels out(4, 4);
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), 4, 4, 4, 4, &e, out.t.data()));
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 4; x++) EXPECT_EQ(200, out.Alpha(x, y)) << x << "," << y;

  // One bright texel: luminance left as resampled, alpha spread with weights 1, 0.5, 0.25.
  std::vector<unsigned char> dot(3 * 3, 0);
  Texels plain(3, 3), blurred(3, 3);
  dot[1 * 3 + 1] = 255;
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(dot.data(), 3, 3, 3, 3, nullptr, plain.t.data()));
  e.alpha_blur_passes = 1;
  ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(dot.data(), 3, 3, 3, 3, &e, blurred.t.data()));
  float sum = 0, weight = 0;
  for (int dy = -1; dy <= 1; dy++)
    for (int dx = -1; dx <= 1; dx++) {
      float w = (dx == 0 && dy == 0) ? 1.0f : (dx == 0 || dy == 0) ? 0.5f : 0.25f;
      sum += w * plain.Alpha(1 + dx, 1 + dy);
      weight += w;
    }
  EXPECT_EQ((int)(sum / weight), blurred.Alpha(1, 1));
  for (int i = 0; i < 9; i++) EXPECT_EQ(plain.Lum(i % 3, i / 3), blurred.Lum(i % 3, i / 3));
}

// The blur as it was first written, 3 x 3 weights summed in float texel by texel: the two-pass
// form must give the very same bytes.
void ReferenceBlur(std::vector<unsigned char>& t, int tw, int th, int ch) {
  std::vector<unsigned char> out((size_t)tw * th);
  for (int y = 0; y < th; y++)
    for (int x = 0; x < tw; x++) {
      float sum = 0.0f, weight = 0.0f;
      for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
          int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= tw || ny >= th) continue;
          float w = (dx == 0 && dy == 0) ? 1.0f : ((dx == 0 || dy == 0) ? 0.5f : 0.25f);
          sum += w * t[((size_t)ny * tw + nx) * 2 + ch];
          weight += w;
        }
      float v = sum / weight;
      out[(size_t)y * tw + x] = !(v > 0.0f) ? 0 : v >= 255.0f ? 255 : (unsigned char)(int)v;
    }
  for (size_t i = 0; i < out.size(); i++) t[i * 2 + ch] = out[i];
}

TEST(ComFreeTypeTexels, BlurGivesTheSameBytesAsTheDirectForm) {
  unsigned seed = 7;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const int sizes[][2] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {3, 5}, {17, 33}, {64, 64}, {128, 96}};
  for (const auto& size : sizes) {
    const int tw = size[0], th = size[1];
    for (int kind = 0; kind < 3; kind++) {
      // Random bytes, a glyph-like block of full and empty texels, and the menu font's effects.
      std::vector<unsigned char> bm((size_t)tw * th);
      for (size_t i = 0; i < bm.size(); i++)
        bm[i] = kind == 0 ? (unsigned char)next() : ((i / 3 + i / tw) % 4 < 2 ? 255 : 0);
      _ComFreeTypeCreationEffects plain = NoEffects(), blurred = NoEffects();
      if (kind == 2) plain.margin = blurred.margin = 2;
      blurred.lum_blur_passes = 3;
      blurred.alpha_blur_passes = 2;
      Texels want(tw, th), got(tw, th);
      ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), tw, th, tw, th, &plain, want.t.data()));
      for (int p = 0; p < 3; p++) ReferenceBlur(want.t, tw, th, 0);
      for (int p = 0; p < 2; p++) ReferenceBlur(want.t, tw, th, 1);
      ASSERT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), tw, th, tw, th, &blurred, got.t.data()));
      ASSERT_EQ(want.t, got.t) << tw << "x" << th << " kind " << kind;
    }
  }
}

TEST(ComFreeTypeTexels, EffectSizesThatDoNotFitAreCutDown) {
  // Margins and shadows larger than the texture, negative sizes and a huge gradient depth must
  // neither divide by zero nor write outside the texels (the sanitizer build checks the writes).
  std::vector<unsigned char> bm(5 * 5, 255);
  const int sizes[][4] = {{40, 0, 0, 0}, {3, 9, 9, 0}, {-4, -3, -2, 0}, {0, 0, 0, 100000},
                          {1, 1, 1, -7}};
  for (const auto& s : sizes) {
    _ComFreeTypeCreationEffects e = NoEffects();
    e.margin = s[0];
    e.shadow_x = s[1];
    e.shadow_y = s[2];
    e.gradient_depth = s[3];
    e.shadow_alpha_factor = e.shadow_lum_factor = 1.0f;
    e.grad_lum_deep = e.grad_lum_edge = e.grad_lum_middle = e.grad_lum_inner = 1.0f;
    e.grad_alpha_deep = e.grad_alpha_edge = e.grad_alpha_middle = e.grad_alpha_inner = 1.0f;
    Texels out(8, 8);
    std::vector<unsigned char> guard(out.t.size() + 64, 0xAB);
    EXPECT_EQ(1, ComFreeTypeBuildGlyphTexels(bm.data(), 5, 5, 8, 8, &e, guard.data()));
    for (size_t i = out.t.size(); i < guard.size(); i++) ASSERT_EQ(0xAB, guard[i]);
    int nonzero = 0;
    for (size_t i = 0; i < out.t.size(); i++) nonzero += guard[i] != 0;
    EXPECT_GT(nonzero, 0) << "margin " << s[0] << " shadow " << s[1];
  }
  Texels blank(2, 2);
  EXPECT_EQ(1, ComFreeTypeBuildGlyphTexels(nullptr, 0, 0, 2, 2, nullptr, blank.t.data()));
  for (unsigned char b : blank.t) EXPECT_EQ(0, b);
  EXPECT_EQ(0, ComFreeTypeBuildGlyphTexels(bm.data(), 5, 5, 0, 8, nullptr, blank.t.data()));
}

// ---- Measuring with a hand-filled record (no OpenGL) -----------------------------------------

_ComFreeTypeFont HandFont() {
  _ComFreeTypeFont f;
  memset(&f, 0, sizeof(f));
  f.setup = 1;
  f.height = 10.0f;
  f.letter_count = 256;
  f.scale_x = f.scale_y = 1.0f;
  for (int c = 33; c < 256; c++) f.advance[c] = 10.0f;
  f.advance[' '] = 5.0f;
  f.advance['\t'] = 5.0f;
  f.advance[0xE9] = 7.0f;
  return f;
}

TEST(ComFreeTypeMeasure, ScalesWidthsAndLatin1Bytes) {
  _ComFreeTypeFont f = HandFont();
  EXPECT_FLOAT_EQ(7.0f, ComFreeTypeGetCharWidth(&f, (char)0xE9));
  EXPECT_FLOAT_EQ(29.0f, ComFreeTypeGetStringWidth(&f, "A\xE9\xE9" "\x20"));
  EXPECT_FLOAT_EQ(0.0f, ComFreeTypeGetStringWidth(&f, nullptr));

  struct {
    float x, y;
    char on;
  } scales[] = {{1.0f, 1.0f, 0}, {2.0f, 0.0f, 0}, {1.0f, 0.5f, 1}, {0.0f, 3.0f, 0}};
  for (auto& s : scales) {
    ComFreeTypeSetScale(&f, s.x, s.y);
    EXPECT_EQ(s.on, f.scaling_on) << s.x << "," << s.y;
    float gx = -1, gy = -1;
    ComFreeTypeGetScale(&f, &gx, &gy);
    EXPECT_EQ(s.x, gx);
    EXPECT_EQ(s.y, gy);
  }
  ComFreeTypeSetScale(&f, 2.0f, 0.5f);
  EXPECT_FLOAT_EQ(14.0f, ComFreeTypeGetScaledCharWidth(&f, (char)0xE9));
  EXPECT_FLOAT_EQ(7.0f, ComFreeTypeGetCharWidth(&f, (char)0xE9));
  EXPECT_FLOAT_EQ(40.0f, ComFreeTypeGetStringWidth(&f, "AB"));
  EXPECT_FLOAT_EQ(5.0f, ComFreeTypeGetFontHeight(&f, 1));
  EXPECT_FLOAT_EQ(10.0f, ComFreeTypeGetFontHeight(&f, 0));

  float r = 0, g = 0, b = 0, a = 0;
  ComFreeTypeGetColour(&f, &r, &g, &b, &a);
  EXPECT_EQ(1.0f, r + g + b + a - 3.0f);
  ComFreeTypeSetColour(&f, 0.1f, 0.2f, 0.3f, 0.4f);
  ComFreeTypeGetColour(&f, &r, nullptr, &b, &a);
  EXPECT_FLOAT_EQ(0.1f, r);
  EXPECT_FLOAT_EQ(0.4f, a);

  f.setup = 0;  // an unset font measures nothing
  EXPECT_EQ(0.0f, ComFreeTypeGetStringWidth(&f, "AB"));
  EXPECT_EQ(0.0f, ComFreeTypeGetCharWidth(nullptr, 'A'));
  EXPECT_EQ(1, ComFreeTypeIsCharWhitespace('\t'));
  EXPECT_EQ(0, ComFreeTypeIsCharWhitespace('\n'));
}

struct WrapCase {
  const char* name;
  const char* text;
  float box_w, box_h;
  int first_line;
  float gap;
  int lines;
  float max_width, used_height;
  char reached_end;
};

TEST(ComFreeTypeMeasure, MultilineWrapping) {
  const WrapCase cases[] = {
      {"empty", "", 100, 100, 0, 0, 1, 0, 10, 1},
      {"one space", " ", 100, 100, 0, 0, 1, 0, 10, 1},
      {"one letter", "A", 100, 100, 0, 0, 1, 10, 10, 1},
      {"soft break at the blank", "AAAA BBBB", 65, 100, 0, 0, 2, 45, 20, 1},
      {"fits on one line", "AAAA BBBB", 200, 100, 0, 0, 1, 85, 10, 1},
      {"word longer than the box", "AAAAAAAAAA", 35, 100, 0, 0, 4, 20, 40, 1},
      {"newlines", "AB\nCD", 100, 100, 0, 0, 2, 20, 20, 1},
      {"blank line counts", "A\n\nB", 100, 100, 0, 0, 3, 10, 30, 1},
      {"first line 2", "AAAA BBBB CCCC", 65, 100, 2, 0, 1, 45, 10, 1},
      {"box of two line heights", "AAAA BBBB CCCC", 65, 20, 0, 0, 1, 45, 10, 0},
      {"line gap", "AB\nCD", 100, 100, 0, 15, 2, 20, 30, 1},
      {"latin-1 widths", "\xE9\xE9", 100, 100, 0, 0, 1, 14, 10, 1},
  };
  for (const WrapCase& c : cases) {
    _ComFreeTypeFont f = HandFont();
    f.multiline_gap = c.gap;
    float mw = -1, uh = -1;
    int lines = -1;
    char end = -1;
    ComFreeTypeDrawMultilineText(&f, 0, 0, c.box_w, c.box_h, 0, 0, c.text, 0, c.first_line, &mw,
                                 &uh, &lines, &end);
    EXPECT_EQ(c.lines, lines) << c.name;
    EXPECT_FLOAT_EQ(c.max_width, mw) << c.name;
    EXPECT_FLOAT_EQ(c.used_height, uh) << c.name;
    EXPECT_EQ(c.reached_end, end) << c.name;
  }
  // A null font or string: nothing, and the end is reached. Null outputs are allowed.
  int lines = -1;
  char end = 0;
  ComFreeTypeDrawMultilineText(nullptr, 0, 0, 100, 100, 0, 0, "A", 0, 0, nullptr, nullptr, &lines,
                               &end);
  EXPECT_EQ(0, lines);
  EXPECT_EQ(1, end);
  _ComFreeTypeFont f = HandFont();
  ComFreeTypeDrawMultilineText(&f, 0, 0, 100, 100, 0, 0, "AB\nCD", 0, 0, nullptr, nullptr, nullptr,
                               nullptr);
}

// ---- Real fonts under Xvfb -------------------------------------------------------------------

class ComFreeTypeGlTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    if (!FileThere(kSans) || !FileThere(kMono)) GTEST_SKIP() << "fonts-dejavu-core missing";
    ComFreeTypeSetCreationEffects(nullptr);
    while (cft_ready_for_drawing) ComFreeTypeRestoreAfterDrawing();
    while (cglm_2d_prepared == 1) ComGlMiscRestoreAfter2D();
    GlTestLogMark();
  }
  void TearDown() override {
    ComFreeTypeSetCreationEffects(nullptr);
    for (_ComFreeTypeFont* f : fonts_)
      if (f->setup) ComFreeTypeRelease(f);
    for (_ComFreeTypeFont* f : fonts_) delete f;
  }
  _ComFreeTypeFont* NewFont() {
    _ComFreeTypeFont* f = new _ComFreeTypeFont;
    memset(f, 0, sizeof(*f));
    fonts_.push_back(f);
    return f;
  }
  // The menu font's settings: margin 2 and blurs, texture side 64.
  static _ComFreeTypeCreationEffects MenuEffects() {
    _ComFreeTypeCreationEffects e = NoEffects();
    e.margin = 2;
    e.shadow_lum_factor = e.shadow_alpha_factor = 0.532468f;
    e.lum_blur_passes = e.alpha_blur_passes = 3;
    e.grad_lum_deep = e.grad_lum_edge = e.grad_lum_middle = e.grad_lum_inner = 1.0f;
    e.grad_alpha_deep = 1.0f, e.grad_alpha_middle = 0.155844f, e.grad_alpha_inner = 0.5f;
    return e;
  }
  static void TextureSize(unsigned int tex, int* w, int* h) {
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  std::vector<_ComFreeTypeFont*> fonts_;
};

TEST_F(ComFreeTypeGlTest, MenuFontAdvancesAndTextureSizes) {
  _ComFreeTypeCreationEffects e = MenuEffects();
  ComFreeTypeSetCreationEffects(&e);
  _ComFreeTypeFont* f = NewFont();
  const float qsx = 0.090205f;
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 144, 64, 256, qsx, 0.07541f, 1.065574f, 0, 0, 0, 0, 0, 1, f));
  EXPECT_EQ(1, f->setup);
  EXPECT_EQ(256, f->letter_count);
  EXPECT_FLOAT_EQ(144 * 0.07541f, f->height);
  EXPECT_EQ(GL_RGBA, f->texture_format);
  EXPECT_EQ(0, f->scaling_on);
  EXPECT_EQ(0, f->colour_on);
  // Advances are whole glyph pixels times the x scale.
  for (int c = 32; c < 256; c++) {
    float px = f->advance[c] / qsx;
    EXPECT_NEAR(std::round(px), px, 1e-3) << "code " << c;
  }
  EXPECT_GT(f->advance['A'], 0.0f);
  // The accented letter has a real width, the one of its base letter in this font.
  EXPECT_GT(ComFreeTypeGetCharWidth(f, (char)0xE9), 0.0f);
  EXPECT_FLOAT_EQ(f->advance['e'], ComFreeTypeGetCharWidth(f, (char)0xE9));
  EXPECT_GT(f->advance[' '], 0.0f);

  int w = 0, h = 0;
  ASSERT_NE(0u, f->texture_ids['A']);
  TextureSize(f->texture_ids['A'], &w, &h);
  EXPECT_EQ(64, w);
  EXPECT_EQ(64, h);
  TextureSize(f->texture_ids[' '], &w, &h);
  EXPECT_EQ(2, w);
  EXPECT_EQ(2, h);
  EXPECT_EQ(1, ComGlMiscCheckGlError("MenuFontAdvancesAndTextureSizes", "after create"));
}

TEST_F(ComFreeTypeGlTest, MonospacedFontHasEqualAsciiAdvances) {
  _ComFreeTypeFont* f = NewFont();
  ASSERT_EQ(1, ComFreeTypeCreate(kMono, 144, 64, 128, 0.1f, 0.1f, 0, 0, 0, 0, 0, 0, 1, f));
  for (int c = 33; c < 127; c++) EXPECT_FLOAT_EQ(f->advance['M'], f->advance[c]) << "code " << c;
  // A font of 128 letters leaves the higher codes as they were.
  EXPECT_EQ(0.0f, f->advance[0xE9]);
}

TEST_F(ComFreeTypeGlTest, CreationChecks) {
  struct {
    int letters;
    const char* message;
  } counts[] = {{127, "Bad number of letters [127]"}, {257, "Bad number of letters [257]"}};
  for (auto& c : counts) {
    _ComFreeTypeFont* f = NewFont();
    GlTestLogMark();
    EXPECT_EQ(0, ComFreeTypeCreate(kSans, 20, 0, c.letters, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
    EXPECT_EQ(0, f->setup);
    EXPECT_NE(std::string::npos,
              GlTestLogSince().find(GlTestErrorLine("ComFreeTypeCreate", c.message)));
  }
  _ComFreeTypeFont* f = NewFont();
  GlTestLogMark();
  EXPECT_EQ(0, ComFreeTypeCreate("", 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  EXPECT_EQ(0, ComFreeTypeCreate("/nonexistent/font.ttf", 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  EXPECT_EQ(0, ComFreeTypeCreate(kSans, 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, nullptr));
  std::string notfont = GlTestPath("notafont.ttf");
  ASSERT_TRUE(GlTestWriteFile(notfont, std::vector<unsigned char>(100, 'x')));
  EXPECT_EQ(0, ComFreeTypeCreate(notfont.c_str(), 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  std::string log = GlTestLogSince();
  EXPECT_NE(std::string::npos, log.find(GlTestErrorLine("ComFreeTypeCreate", "No font file name specified")));
  EXPECT_NE(std::string::npos,
            log.find(GlTestErrorLine("ComFreeTypeCreate", "Could not find file </nonexistent/font.ttf>")));
  EXPECT_NE(std::string::npos, log.find(GlTestErrorLine("ComFreeTypeCreate", "FD is null")));
  EXPECT_NE(std::string::npos, log.find(GlTestErrorLine("ComFreeTypeCreate", "Problem loading font <" + notfont + ">")));
  EXPECT_EQ(0, f->setup);

  // 128 and 256 are accepted; a set-up font is refused and left untouched.
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  _ComFreeTypeFont copy = *f;
  GlTestLogMark();
  EXPECT_EQ(0, ComFreeTypeCreate(kSans, 30, 0, 256, 2, 2, 0, 0, 0, 0, 0, 0, 1, f));
  EXPECT_NE(std::string::npos, GlTestLogSince().find(GlTestErrorLine("ComFreeTypeCreate", "FD already setup")));
  EXPECT_EQ(0, memcmp(&copy, f, sizeof(copy)));

  // Released, then created again into the same record.
  ComFreeTypeRelease(f);
  EXPECT_EQ(0, f->setup);
  EXPECT_EQ(nullptr, f->texture_ids);
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 20, 0, 256, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  GlTestLogMark();
  ComFreeTypeRelease(f);
  ComFreeTypeRelease(f);
  EXPECT_NE(std::string::npos,
            GlTestLogSince().find(GlTestErrorLine("ComFreeTypeRelease", "ComFreeTypeFont not ok")));
}

TEST_F(ComFreeTypeGlTest, FontFileNames) {
  char family[CFT_FONT_NAME_SIZE] = "x", style[CFT_FONT_NAME_SIZE] = "x";
  ASSERT_EQ(1, ComFreeTypeGetFontFileDetails(kSans, family, style));
  EXPECT_STREQ("DejaVu Sans", family);
  EXPECT_STREQ("Book", style);
  char small[4];
  ASSERT_EQ(1, ComFreeTypeGetFontFileDetails(kSans, small, nullptr, sizeof(small)));
  EXPECT_STREQ("Dej", small);
  std::string notfont = GlTestPath("names-notafont.ttf");
  ASSERT_TRUE(GlTestWriteFile(notfont, std::vector<unsigned char>(64, 0)));
  GlTestLogMark();
  EXPECT_EQ(0, ComFreeTypeGetFontFileDetails(notfont.c_str(), family, style));
  EXPECT_EQ(0, ComFreeTypeGetFontFileDetails("/nonexistent.ttf", family, style));
  EXPECT_EQ("", GlTestLogSince());
}

// A FIFO, a folder, a socket or a device named as a font is no font, found at once: each kind in a
// child with a time limit, where FreeType's own open of a FIFO would wait for a writer for good.
TEST(ComFreeTypeFiles, ANonFileIsNoFontAndIsNeverWaitedFor) {
  char dir[] = "/tmp/lectrel-font-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string p = std::string(dir) + "/Font.ttf";
  for (fwtest::NonFile kind : fwtest::kNonFiles) {
    SCOPED_TRACE(fwtest::NonFileName(kind));
    ASSERT_TRUE(fwtest::MakeNonFile(kind, p));
    EXPECT_EQ(0, fwtest::RunChecksInChild(
                     [&] {
                       char family[CFT_FONT_NAME_SIZE], style[CFT_FONT_NAME_SIZE];
                       EXPECT_EQ(0, ComFreeTypeGetFontFileDetails(p.c_str(), family, style));
                       _ComFreeTypeFont font;
                       memset(&font, 0, sizeof(font));
                       EXPECT_EQ(0, ComFreeTypeCreate(p.c_str(), 20, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, &font));
                     },
                     5));
    fwtest::RemoveNonFile(p);
  }
  rmdir(dir);
}

// Reads a band of the back buffer as luminance.
std::vector<int> ReadBand(int x, int y, int w, int h) {
  std::vector<unsigned char> px((size_t)w * h * 4);
  glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  std::vector<int> out((size_t)w * h);
  for (size_t i = 0; i < out.size(); i++) out[i] = px[i * 4];
  return out;
}

int Lit(const std::vector<int>& v) {
  int n = 0;
  for (int p : v) n += p > 32;
  return n;
}

TEST_F(ComFreeTypeGlTest, TwoLettersDrawLikeEachAtItsAdvance) {
  _ComFreeTypeFont* f = NewFont();
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 24, 0, 256, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  const float x = 100, y = 200;
  auto draw = [&](bool together) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ComFreeTypePrepareForDrawing(0);
    if (together) {
      ComFreeTypeDrawString(f, x, y, "AB");
    } else {
      ComFreeTypeDrawString(f, x, y, "A");
      ComFreeTypeDrawString(f, x + ComFreeTypeGetCharWidth(f, 'A'), y, "B");
    }
    ComFreeTypeRestoreAfterDrawing();
    return ReadBand(90, HEIGHT - 240, 100, 70);
  };
  std::vector<int> both = draw(true);
  std::vector<int> apart = draw(false);
  ASSERT_GT(Lit(both), 100) << "nothing was drawn";
  int differing = 0;
  for (size_t i = 0; i < both.size(); i++) differing += std::abs(both[i] - apart[i]) > 2;
  EXPECT_EQ(0, differing);
  EXPECT_EQ(1, ComGlMiscCheckGlError("TwoLettersDrawLikeEachAtItsAdvance", "after drawing"));
}

TEST_F(ComFreeTypeGlTest, CodesAboveTheLetterCountDrawNothing) {
  // The full font is made after the short one, so its lists follow the short font's; a byte beyond
  // the short font's letters must not reach them.
  _ComFreeTypeFont* short_font = NewFont();
  _ComFreeTypeFont* full = NewFont();
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 24, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, short_font));
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 24, 0, 256, 1, 1, 0, 0, 0, 0, 0, 0, 1, full));
  auto lit = [&](_ComFreeTypeFont* font, const char* s) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ComFreeTypePrepareForDrawing(0);
    ComFreeTypeDrawString(font, 100, 200, s);
    ComFreeTypeRestoreAfterDrawing();
    return Lit(ReadBand(90, HEIGHT - 240, 100, 70));
  };
  EXPECT_GT(lit(full, "\xE9\xE9"), 50);
  EXPECT_EQ(0, lit(short_font, "\xE9\xE9"));
  EXPECT_GT(lit(short_font, "ee"), 50);
}

TEST_F(ComFreeTypeGlTest, DrawingBrackets) {
  _ComFreeTypeFont* f = NewFont();
  ASSERT_EQ(1, ComFreeTypeCreate(kSans, 24, 0, 128, 1, 1, 0, 0, 0, 0, 0, 0, 1, f));
  GlTestLogMark();
  ComFreeTypeDrawString(f, 10, 10, "A");  // no prepare, no 2D
  EXPECT_NE(std::string::npos, GlTestLogSince().find(GlTestErrorLine("ComFreeTypeDrawString", "2D Not setup")));

  GLint depth_before = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth_before);
  ComFreeTypePrepareForDrawing(0);
  EXPECT_EQ(1, ComFreeTypeIsReadyForDrawing());
  EXPECT_EQ(1, cglm_2d_prepared);
  char here = 7;
  ComFreeTypePrepareForDrawingIfNeeded(0, &here);
  EXPECT_EQ(0, here);
  GlTestLogMark();
  ComFreeTypePrepareForDrawingIfNeeded(1, &here);
  EXPECT_EQ(1, here);
  EXPECT_EQ(1, cft_using_ratio);
  EXPECT_EQ(1, GlTestCountOccurrences(GlTestLogSince(), "Ratio mix problem"));
  ComFreeTypeDrawStringAlign(f, 320, 240, 1, 1, "Mix", 1);
  EXPECT_EQ(1, ComFreeTypeIsReadyForDrawing());  // the align call did not leave the bracket
  EXPECT_EQ(1, ComFreeTypeRestoreAfterDrawingIfNeeded());
  EXPECT_EQ(0, ComFreeTypeRestoreAfterDrawingIfNeeded());
  EXPECT_EQ(0, cglm_2d_prepared);
  GLint depth_after = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  GlTestLogMark();
  ComFreeTypeRestoreAfterDrawing();
  EXPECT_NE(std::string::npos,
            GlTestLogSince().find(GlTestErrorLine("ComFreeTypeRestoreAfterDrawing", "Not setup")));

  // Leaving text drawing for other drawing and coming back in the same mode.
  ComFreeTypePrepareForDrawing(1);
  ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
  EXPECT_EQ(0, ComFreeTypeIsReadyForDrawing());
  ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
  EXPECT_EQ(1, ComFreeTypeIsReadyForDrawing());
  EXPECT_EQ(1, cft_using_ratio);
  GlTestLogMark();
  ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
  EXPECT_NE(std::string::npos, GlTestLogSince().find("Not saved"));
  ComFreeTypeRestoreAfterDrawing();

  // Pure mode touches no matrix and needs no 2D.
  ComFreeTypePrepareForDrawingPure();
  EXPECT_EQ(0, cglm_2d_prepared);
  GlTestLogMark();
  ComFreeTypeDrawString(f, 0, 0, "A");
  EXPECT_EQ("", GlTestLogSince());
  ComFreeTypeRestoreAfterDrawing();
  EXPECT_EQ(1, ComGlMiscCheckGlError("DrawingBrackets", "after the brackets"));
}

}  // namespace
