// TrueType glyph fonts: creation (FreeType rasterises, everything after the bitmap is ours),
// measuring from the advance table, and drawing with one glCallLists per string.
#include "ComFreeType.h"

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_BITMAP_H

#include <stdio.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <string.h>

#include <cstdint>
#include <vector>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlMisc.h"
#include "ComMacWin.h"
#include "ComMisc.h"

_ComFreeTypeCreationEffects cft_effects;
char cft_ready_for_drawing = 0;
char cft_using_ratio = 0;
char cft_prepared_2d = 0;

static char cft_state_saved = 0;
static char cft_saved_was_ready = 0;
static char cft_saved_mode = 0;

// Largest usable side of a glyph bitmap.
static const int kMaxBitmapSide = 5000;
// Marks of the gradient are bytes and 255 means "interior, not reached", so the deepest mark
// (depth + 1) must stay below it.
static const int kMaxGradientDepth = 253;

// ---------------------------------------------------------------------------------------------
// Glyph texels (no OpenGL, no FreeType)

static bool BitmapUsable(int w, int rows) {
  return w >= 1 && w <= kMaxBitmapSide && rows >= 1 && rows <= kMaxBitmapSide;
}

static bool EffectsNeedSquare(const _ComFreeTypeCreationEffects* e) {
  return e && (e->margin != 0 || e->lum_blur_passes != 0 || e->alpha_blur_passes != 0 ||
               e->gradient_depth != 0);
}

void ComFreeTypeGetGlyphTextureSize(int bitmap_width, int bitmap_rows, int max_texture_size,
                                    const _ComFreeTypeCreationEffects* effects, int* tex_width,
                                    int* tex_height) {
  int w = 2, h = 2;
  if (BitmapUsable(bitmap_width, bitmap_rows)) {
    w = (int)ComMiscGetClosestPowerOf2((unsigned)bitmap_width);
    h = (int)ComMiscGetClosestPowerOf2((unsigned)bitmap_rows);
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    if (max_texture_size > 0) {
      if (EffectsNeedSquare(effects)) {
        w = h = max_texture_size;
      } else {
        if (w > max_texture_size) w = max_texture_size;
        if (h > max_texture_size) h = max_texture_size;
      }
    }
  }
  if (tex_width) *tex_width = w;
  if (tex_height) *tex_height = h;
}

static int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

static unsigned char ToByte(float v) {
  if (!(v > 0.0f)) return 0;  // also NaN
  if (v >= 255.0f) return 255;
  return (unsigned char)(int)v;
}

// The gradient factor of a texel whose mark is m (1..depth).
static float GradientFactor(int m, int depth, float edge, float middle, float inner) {
  float t = (float)m / (float)depth;
  if (t == 0.5f) return middle;
  if (t < 0.5f) return (1.0f - 2.0f * t) * edge + 2.0f * t * middle;
  float u = 2.0f * (t - 0.5f);
  return (1.0f - u) * middle + u * inner;
}

static void ApplyGradient(unsigned char* texels, int tw, int th, int depth,
                          const _ComFreeTypeCreationEffects* e) {
  size_t n = (size_t)tw * (size_t)th;
  std::vector<unsigned char> mark;
  std::vector<unsigned char> result;
  try {
    mark.resize(n);
    result.resize(n * 2);
  } catch (...) {
    return;  // no memory: the glyph goes without its gradient
  }
  auto lum = [&](int x, int y) { return texels[((size_t)y * tw + x) * 2]; };
  for (int y = 0; y < th; y++) {
    for (int x = 0; x < tw; x++) {
      unsigned char& mk = mark[(size_t)y * tw + x];
      if (lum(x, y) < 64) {
        mk = 0;
        continue;
      }
      bool edge = (x == 0 || y == 0 || x == tw - 1 || y == th - 1);
      for (int dy = -1; dy <= 1 && !edge; dy++)
        for (int dx = -1; dx <= 1 && !edge; dx++)
          if ((dx || dy) && lum(x + dx, y + dy) < 64) edge = true;
      mk = edge ? 1 : 255;
    }
  }
  for (int p = 0; p < depth; p++) {
    for (int y = 0; y < th; y++) {
      for (int x = 0; x < tw; x++) {
        if (mark[(size_t)y * tw + x] != p + 1) continue;
        for (int dy = -1; dy <= 1; dy++) {
          for (int dx = -1; dx <= 1; dx++) {
            int nx = x + dx, ny = y + dy;
            if ((!dx && !dy) || nx < 0 || ny < 0 || nx >= tw || ny >= th) continue;
            unsigned char& nm = mark[(size_t)ny * tw + nx];
            if (nm == 255) nm = (unsigned char)(p + 2);
          }
        }
      }
    }
  }
  for (int ch = 0; ch < 2; ch++) {
    float deep = ch ? e->grad_alpha_deep : e->grad_lum_deep;
    float edge = ch ? e->grad_alpha_edge : e->grad_lum_edge;
    float middle = ch ? e->grad_alpha_middle : e->grad_lum_middle;
    float inner = ch ? e->grad_alpha_inner : e->grad_lum_inner;
    for (size_t i = 0; i < n; i++) {
      unsigned char v = texels[i * 2 + ch];
      int m = mark[i];
      if (m == 255)
        result[i * 2 + ch] = ToByte(v * deep);
      else if (m == 0 || m >= depth + 1)
        result[i * 2 + ch] = v;
      else
        result[i * 2 + ch] = ToByte(v * GradientFactor(m, depth, edge, middle, inner));
    }
  }
  memcpy(texels, result.data(), n * 2);
}

static void ApplyShadow(unsigned char* texels, int tw, int th, int sx, int sy,
                        const _ComFreeTypeCreationEffects* e) {
  size_t n = (size_t)tw * (size_t)th;
  std::vector<unsigned char> copy;
  try {
    copy.assign(texels, texels + n * 2);
  } catch (...) {
    return;
  }
  for (int y = sy; y < th; y++) {
    for (int x = sx; x < tw; x++) {
      const unsigned char* s = &copy[((size_t)(y - sy) * tw + (x - sx)) * 2];
      const unsigned char* o = &copy[((size_t)y * tw + x) * 2];
      if (s[1] > 7 && o[1] < 8) {
        unsigned char* t = &texels[((size_t)y * tw + x) * 2];
        t[0] = ToByte(s[0] * e->shadow_lum_factor);
        t[1] = ToByte(s[1] * e->shadow_alpha_factor);
      }
    }
  }
}

// One pass of the 3 x 3 blur: the centre weighs 1, the four sides 0.5, the four corners 0.25, and
// the sum is divided by the weights of the texels inside the texture. The kernel is the product
// of (0.5, 1, 0.5) across and down, so it runs as a row pass and a column pass over whole
// numbers (each weight doubled: 1, 2, 1): the sums are four times the weighted sums, exactly,
// as the weighted sums of bytes with these weights are exact in float too, so the one float
// division gives the very same byte as the direct 3 x 3 form.
static void BlurChannel(unsigned char* texels, int tw, int th, int ch) {
  size_t n = (size_t)tw * (size_t)th;
  std::vector<uint16_t> rows;
  try {
    rows.resize(n);
  } catch (...) {
    return;  // the pass is skipped
  }
  for (int y = 0; y < th; y++) {
    const unsigned char* in = texels + (size_t)y * tw * 2 + ch;
    uint16_t* out = &rows[(size_t)y * tw];
    for (int x = 0; x < tw; x++) {
      unsigned v = 2u * in[(size_t)x * 2];
      if (x > 0) v += in[(size_t)(x - 1) * 2];
      if (x < tw - 1) v += in[(size_t)(x + 1) * 2];
      out[x] = (uint16_t)v;
    }
  }
  for (int y = 0; y < th; y++) {
    const uint16_t* mid = &rows[(size_t)y * tw];
    const uint16_t* up = y > 0 ? mid - tw : nullptr;
    const uint16_t* down = y < th - 1 ? mid + tw : nullptr;
    const unsigned weight_down = 2u + (y > 0) + (y < th - 1);
    unsigned char* out = texels + (size_t)y * tw * 2 + ch;
    for (int x = 0; x < tw; x++) {
      unsigned sum = 2u * mid[x];
      if (up) sum += up[x];
      if (down) sum += down[x];
      const unsigned weight = (2u + (x > 0) + (x < tw - 1)) * weight_down;
      out[(size_t)x * 2] = ToByte((float)sum / (float)weight);
    }
  }
}

char ComFreeTypeBuildGlyphTexels(const unsigned char* bitmap, int bitmap_width, int bitmap_rows,
                                 int tex_width, int tex_height,
                                 const _ComFreeTypeCreationEffects* effects,
                                 unsigned char* texels) {
  if (!texels || tex_width < 1 || tex_height < 1 || tex_width > 65536 || tex_height > 65536)
    return 0;
  const int tw = tex_width, th = tex_height;
  memset(texels, 0, (size_t)tw * (size_t)th * 2);
  static const _ComFreeTypeCreationEffects kNone = {};
  const _ComFreeTypeCreationEffects* e = effects ? effects : &kNone;

  // Sizes that cannot fit the texture are cut down so the used area keeps at least one texel.
  int margin = ClampInt(e->margin, 0, (tw < th ? tw - 1 : th - 1) / 2);
  int shadow_x = ClampInt(e->shadow_x, 0, tw - 2 * margin - 1);
  int shadow_y = ClampInt(e->shadow_y, 0, th - 2 * margin - 1);
  int depth = ClampInt(e->gradient_depth, 0, kMaxGradientDepth);

  if (bitmap && BitmapUsable(bitmap_width, bitmap_rows)) {
    const int bw = bitmap_width, br = bitmap_rows;
    const int used_w = tw - 2 * margin - shadow_x;
    const int used_h = th - 2 * margin - shadow_y;
    for (int r = 0; r < used_h; r++) {
      float fy = (float)r * (float)br / (float)used_h;
      int iy = (int)fy;
      float dy = fy - (float)iy;
      for (int q = 0; q < used_w; q++) {
        float fx = (float)q * (float)bw / (float)used_w;
        int ix = (int)fx;
        float dx = fx - (float)ix;
        unsigned char value = 0;
        if (ix >= 0 && ix < bw && iy >= 0 && iy < br) {
          const unsigned char* row = bitmap + (size_t)iy * bw;
          float p00 = row[ix];
          bool right = ix < bw - 1, down = iy < br - 1;
          float p10 = right ? row[ix + 1] : p00;
          float p01 = down ? row[(size_t)bw + ix] : p00;
          float p11 = (right && down) ? row[(size_t)bw + ix + 1] : p10;
          float v = (p00 * ((1 - dx) + (1 - dy)) + p10 * ((1 - dy) + dx) + p01 * ((1 - dx) + dy) +
                     p11 * (dx + dy)) /
                    4.0f;
          value = ToByte(v);
        }
        unsigned char* t = &texels[((size_t)(margin + r) * tw + (margin + q)) * 2];
        t[0] = t[1] = value;
      }
    }
  }

  if (depth > 0) ApplyGradient(texels, tw, th, depth, e);
  if (shadow_x || shadow_y) ApplyShadow(texels, tw, th, shadow_x, shadow_y, e);
  for (int p = 0; p < e->lum_blur_passes; p++) BlurChannel(texels, tw, th, 0);
  for (int p = 0; p < e->alpha_blur_passes; p++) BlurChannel(texels, tw, th, 1);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Creation

void ComFreeTypeSetCreationEffects(_ComFreeTypeCreationEffects* effects) {
  if (effects)
    cft_effects = *effects;
  else
    memset(&cft_effects, 0, sizeof(cft_effects));
}

void ComFreeTypeUseTransparentFonts(char) {}

// The glyph's coverage as one byte per pixel, rows of width bytes, top row first. Other pixel
// modes, padded rows and upward-flowing bitmaps are converted; what cannot be converted is
// treated as an empty glyph (false).
static bool GlyphCoverage(FT_Library library, const FT_Bitmap& src,
                          std::vector<unsigned char>* out) {
  const int w = (int)src.width, rows = (int)src.rows;
  if (!BitmapUsable(w, rows) || !src.buffer) return false;
  try {
    out->resize((size_t)w * rows);
  } catch (...) {
    return false;
  }
  if (src.pixel_mode == FT_PIXEL_MODE_GRAY && src.pitch == w && src.num_grays == 256) {
    memcpy(out->data(), src.buffer, (size_t)w * rows);
    return true;
  }
  FT_Bitmap conv;
  FT_Bitmap_Init(&conv);
  bool ok = FT_Bitmap_Convert(library, &src, &conv, 1) == 0 && (int)conv.width == w &&
            (int)conv.rows == rows && conv.pitch == w && conv.buffer;
  if (ok) {
    int grays = conv.num_grays > 1 ? conv.num_grays : 2;
    for (size_t i = 0; i < (size_t)w * rows; i++) {
      int v = conv.buffer[i] * 255 / (grays - 1);
      (*out)[i] = (unsigned char)(v > 255 ? 255 : v);
    }
  }
  FT_Bitmap_Done(library, &conv);
  return ok;
}

// Renders code c into its texture and display list. 1 on success.
static char ParseLetter(FT_Library library, FT_Face face, int c, int max_texture_size,
                        float qsx, float qsy, float qoy, float il, float ir, float it, float ib,
                        char ccw, _ComFreeTypeFont* font) {
  FT_UInt index = FT_Get_Char_Index(face, (FT_ULong)c);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT)) {
    DebugError("ComFreeTypeParseLetter", "FT_Load_Glyph failed");
    return 0;
  }
  FT_Glyph glyph = nullptr;
  if (FT_Get_Glyph(face->glyph, &glyph)) {
    DebugError("ComFreeTypeParseLetter", "FT_Get_Glyph failed");
    return 0;
  }
  const int advance = (int)(face->glyph->advance.x >> 6);

  bool have_bitmap = glyph->format == FT_GLYPH_FORMAT_BITMAP;
  if (!have_bitmap) {
    if (FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
      have_bitmap = true;
    } else if (c != 32 && c != 160) {
      DebugError("ComFreeTypeParseLetter", "FT_Glyph_To_Bitmap failed");
    }
  }
  int bw = 0, br = 0, left = 0, top = 0;
  std::vector<unsigned char> coverage;
  bool usable = false;
  if (have_bitmap) {
    FT_BitmapGlyph bg = (FT_BitmapGlyph)glyph;
    bw = (int)bg->bitmap.width;
    br = (int)bg->bitmap.rows;
    left = bg->left;
    top = bg->top;
    usable = GlyphCoverage(library, bg->bitmap, &coverage);
  }

  int tw = 2, th = 2;
  if (usable) ComFreeTypeGetGlyphTextureSize(bw, br, max_texture_size, &cft_effects, &tw, &th);
  unsigned char* texels = (unsigned char*)malloc((size_t)tw * th * 2);
  if (!texels) {
    DebugError("ComFreeTypeParseLetter", "no memory");
    FT_Done_Glyph(glyph);
    return 0;
  }
  ComFreeTypeBuildGlyphTexels(usable ? coverage.data() : nullptr, usable ? bw : 0,
                              usable ? br : 0, tw, th, &cft_effects, texels);

  font->texture_format = GL_RGBA;
  GLint old_align = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &old_align);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows of 2-byte texels may be 2 bytes long
  glBindTexture(GL_TEXTURE_2D, font->texture_ids[c]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, texels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, old_align);
  free(texels);

  const float W = (float)bw * qsx, H = (float)br * qsy;
  glNewList(font->list_base + (GLuint)c, GL_COMPILE);
  glBindTexture(GL_TEXTURE_2D, font->texture_ids[c]);
  glPushMatrix();
  glTranslatef((float)left * qsx, (float)(top - br) * qsy + qoy, 0.0f);
  glBegin(GL_QUADS);
  if (ccw) {
    glTexCoord2d(il, it);
    glVertex2f(0, H);
    glTexCoord2d(il, 1.0 - ib);
    glVertex2f(0, 0);
    glTexCoord2d(1.0 - ir, 1.0 - ib);
    glVertex2f(W, 0);
    glTexCoord2d(1.0 - ir, it);
    glVertex2f(W, H);
  } else {
    glTexCoord2d(1.0 - ir, it);
    glVertex2f(W, H);
    glTexCoord2d(1.0 - ir, 1.0 - ib);
    glVertex2f(W, 0);
    glTexCoord2d(il, 1.0 - ib);
    glVertex2f(0, 0);
    glTexCoord2d(il, it);
    glVertex2f(0, H);
  }
  glEnd();
  glPopMatrix();
  glTranslatef((float)advance * qsx, 0.0f, 0.0f);
  glEndList();

  font->advance[c] = (float)advance * qsx;
  FT_Done_Glyph(glyph);
  return 1;
}

// A font file read by FreeType through the file layer's stream, so a font path that names a FIFO
// or a device is refused as a missing file is, where FreeType's own open would wait on it. The
// stream outlives the face: FreeType's close call leaves the file to this owner.
struct FontStream {
  FT_StreamRec rec;
  FILE* file = nullptr;
  FontStream() { memset(&rec, 0, sizeof(rec)); }
  ~FontStream() { ComFileClose(file); }
  FontStream(const FontStream&) = delete;
  FontStream& operator=(const FontStream&) = delete;
};

static unsigned long FontStreamRead(FT_Stream stream, unsigned long offset, unsigned char* buf,
                                    unsigned long count) {
  FILE* f = static_cast<FILE*>(stream->descriptor.pointer);
  // A call with no bytes asks for a seek and answers 0 on success.
  if (!f || fseeko(f, (off_t)offset, SEEK_SET) != 0) return count ? 0 : 1;
  return count ? (unsigned long)fread(buf, 1, count, f) : 0;
}

static void FontStreamClose(FT_Stream stream) { stream->descriptor.pointer = nullptr; }

static FT_Error OpenFontFace(FT_Library library, const char* path, FontStream* fs, FT_Face* face) {
  fs->file = static_cast<FILE*>(ComFileOpenForReadingIfExists(path));
  struct stat st;
  if (!fs->file || fstat(fileno(fs->file), &st) != 0) return FT_Err_Cannot_Open_Resource;
  fs->rec.size = (unsigned long)st.st_size;
  fs->rec.descriptor.pointer = fs->file;
  fs->rec.read = FontStreamRead;
  fs->rec.close = FontStreamClose;
  FT_Open_Args args;
  memset(&args, 0, sizeof(args));
  args.flags = FT_OPEN_STREAM;
  args.stream = &fs->rec;
  return FT_Open_Face(library, &args, 0, face);
}

char ComFreeTypeCreate(const char* path, int size, int max_texture_size, int letters,
                       float quad_scale_x, float quad_scale_y, float quad_offset_y,
                       float extra_height, float inset_left, float inset_right, float inset_top,
                       float inset_bottom, char counter_clockwise, _ComFreeTypeFont* font) {
  static const char* kFn = "ComFreeTypeCreate";
  if (!path || !path[0]) {
    DebugError(kFn, "No font file name specified");
    return 0;
  }
  if (!ComFileExists(path)) {
    DebugError(kFn, "Could not find file <%s>", path);
    return 0;
  }
  if (!font) {
    DebugError(kFn, "FD is null");
    return 0;
  }
  if (font->setup) {
    DebugError(kFn, "FD already setup");
    return 0;
  }
  if (letters < CFT_MIN_LETTERS || letters > CFT_MAX_LETTERS) {
    DebugError(kFn, "Bad number of letters [%d]", letters);
    return 0;
  }
  font->letter_count = letters;
  font->height = (float)size * quad_scale_y;

  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library)) {
    DebugError(kFn, "FT_Init_FreeType Failed");
    return 0;
  }
  FontStream font_file;
  FT_Face face = nullptr;
  if (OpenFontFace(library, path, &font_file, &face)) {
    DebugError(kFn, "Problem loading font <%s>", path);
    FT_Done_FreeType(library);
    return 0;
  }
  FT_Set_Char_Size(face, (FT_F26Dot6)size * 64, (FT_F26Dot6)(((float)size + extra_height) * 64.0f),
                   96, 96);

  unsigned int* ids = (unsigned int*)calloc((size_t)letters, sizeof(unsigned int));
  if (!ids) {
    DebugError(kFn, "No memory for texture ids list");
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
  }
  // Every font holds a list for each byte value, so a byte beyond the letter count calls an
  // empty list of this font and never another font's glyph.
  GLuint base = glGenLists(CFT_MAX_LETTERS);
  if (base == 0) {
    DebugError(kFn, "glGenLists failed");
    free(ids);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
  }
  for (int c = letters; c < CFT_MAX_LETTERS; c++) {
    glNewList(base + (GLuint)c, GL_COMPILE);
    glEndList();
  }
  glGenTextures(letters, ids);
  font->texture_ids = ids;
  font->list_base = base;

  for (int c = 0; c < letters; c++) {
    if (!ParseLetter(library, face, c, max_texture_size, quad_scale_x, quad_scale_y,
                     quad_offset_y, inset_left, inset_right, inset_top, inset_bottom,
                     counter_clockwise, font)) {
      DebugError(kFn, "ComFreeTypeParseLetter Failed <%d - %c>", c, (char)c);
      if (ids[c]) glDeleteTextures(1, &ids[c]);
      ids[c] = 0;
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);

  font->scale_x = font->scale_y = 1.0f;
  font->scaling_on = 0;
  font->red = font->green = font->blue = font->alpha = 1.0f;
  font->colour_on = 0;
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  font->setup = 1;
  return 1;
}

void ComFreeTypeRelease(_ComFreeTypeFont* font) {
  if (!font || !font->setup) {
    DebugError("ComFreeTypeRelease", "ComFreeTypeFont not ok");
    return;
  }
  glDeleteLists(font->list_base, CFT_MAX_LETTERS);
  if (font->texture_ids) {
    glDeleteTextures(font->letter_count, font->texture_ids);
    free(font->texture_ids);
    font->texture_ids = nullptr;
  }
  font->setup = 0;
}

static void CopyName(char* dst, int size, const char* src) {
  if (!dst || size < 1) return;
  snprintf(dst, (size_t)size, "%s", src ? src : "");  // names are cut to the buffer
}

char ComFreeTypeGetFontFileDetails(const char* path, char* family, char* style, int family_size,
                                   int style_size) {
  if (!path) return 0;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library)) return 0;
  FontStream font_file;
  FT_Face face = nullptr;
  if (OpenFontFace(library, path, &font_file, &face)) {
    FT_Done_FreeType(library);
    return 0;
  }
  CopyName(family, family_size, face->family_name);
  CopyName(style, style_size, face->style_name);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Settings and measures

static bool FontOk(const _ComFreeTypeFont* font) { return font && font->setup; }

void ComFreeTypeSetScale(_ComFreeTypeFont* font, float x, float y) {
  if (!FontOk(font)) return;
  font->scale_x = x;
  font->scale_y = y;
  font->scaling_on = (x == 1.0f && y == 1.0f) || x == 0.0f || y == 0.0f ? 0 : 1;
}

void ComFreeTypeGetScale(_ComFreeTypeFont* font, float* x, float* y) {
  if (!FontOk(font)) return;
  if (x) *x = font->scale_x;
  if (y) *y = font->scale_y;
}

void ComFreeTypeSetColour(_ComFreeTypeFont* font, float r, float g, float b, float a) {
  if (!FontOk(font)) return;
  font->red = r;
  font->green = g;
  font->blue = b;
  font->alpha = a;
  font->colour_on = 1;
}

void ComFreeTypeGetColour(_ComFreeTypeFont* font, float* r, float* g, float* b, float* a) {
  if (!FontOk(font)) return;
  bool on = font->colour_on != 0;
  if (r) *r = on ? font->red : 1.0f;
  if (g) *g = on ? font->green : 1.0f;
  if (b) *b = on ? font->blue : 1.0f;
  if (a) *a = on ? font->alpha : 1.0f;
}

void ComFreeTypeSetMultilineYgap(_ComFreeTypeFont* font, float gap) {
  if (!FontOk(font)) return;
  font->multiline_gap = gap;
}

float ComFreeTypeGetCharWidth(_ComFreeTypeFont* font, char c) {
  if (!FontOk(font)) return 0.0f;
  return font->advance[(unsigned char)c];
}

float ComFreeTypeGetScaledCharWidth(_ComFreeTypeFont* font, char c) {
  if (!FontOk(font)) return 0.0f;
  float w = font->advance[(unsigned char)c];
  return font->scaling_on ? w * font->scale_x : w;
}

float ComFreeTypeGetStringWidth(_ComFreeTypeFont* font, const char* s) {
  if (!FontOk(font) || !s) return 0.0f;
  float w = 0.0f;
  for (const unsigned char* p = (const unsigned char*)s; *p; p++) w += font->advance[*p];
  return font->scaling_on ? w * font->scale_x : w;
}

float ComFreeTypeGetFontHeight(_ComFreeTypeFont* font, char scaled) {
  if (!FontOk(font)) return 0.0f;
  return (scaled && font->scaling_on) ? font->height * font->scale_y : font->height;
}

char ComFreeTypeIsCharWhitespace(char c) { return (c == ' ' || c == '\t') ? 1 : 0; }

// ---------------------------------------------------------------------------------------------
// Drawing brackets

void ComFreeTypePrepareForDrawingPure() {
  ComGlMiscSaveOrRestoreBlendingState(1);
  ComGlMiscEnableBlendingType(0);
  cft_prepared_2d = 0;
  cft_ready_for_drawing = 1;
  cft_using_ratio = 2;
}

void ComFreeTypePrepareForDrawing(char mode) {
  if (mode == 2) {
    ComFreeTypePrepareForDrawingPure();
    return;
  }
  ComGlMiscPrepareFor2DIfNeeded(1, &cft_prepared_2d);
  ComGlMiscSaveOrRestoreBlendingState(1);
  ComGlMiscEnableBlendingType(0);
  double w = mode == 1 ? 640.0 : (double)WIDTH;
  double h = mode == 1 ? 480.0 : (double)HEIGHT;
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, w, 0, h, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  cft_ready_for_drawing = 1;
  cft_using_ratio = mode;
}

void ComFreeTypePrepareForDrawingIfNeeded(char mode, char* prepared_here) {
  char here = 0;
  if (cft_ready_for_drawing) {
    bool compatible = (mode == 0) == (cft_using_ratio == 0);
    if (!compatible) {
      DebugError("ComFreeTypePrepareForDrawingIfNeeded", "Ratio mix problem");
      ComFreeTypeRestoreAfterDrawing();
      ComFreeTypePrepareForDrawing(mode);
      here = 1;
    }
  } else {
    ComFreeTypePrepareForDrawing(mode);
    here = 1;
  }
  if (prepared_here) *prepared_here = here;
}

void ComFreeTypeRestoreAfterDrawing() {
  if (!cft_ready_for_drawing) {
    DebugError("ComFreeTypeRestoreAfterDrawing", "Not setup");
    return;
  }
  if (cft_using_ratio != 2) {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
  }
  glColor4f(1, 1, 1, 1);
  ComGlMiscSaveOrRestoreBlendingState(0);
  if (cft_prepared_2d) {
    ComGlMiscRestoreAfter2D();
    cft_prepared_2d = 0;
  }
  cft_ready_for_drawing = 0;
}

char ComFreeTypeRestoreAfterDrawingIfNeeded() {
  if (!cft_ready_for_drawing) return 0;
  ComFreeTypeRestoreAfterDrawing();
  return 1;
}

char ComFreeTypeIsReadyForDrawing() { return cft_ready_for_drawing; }

void ComFreeTypeRestoreColour() { glColor4f(1, 1, 1, 1); }

void ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(char save) {
  static const char* kFn = "ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState";
  if (save) {
    if (cft_state_saved) {
      DebugError(kFn, "Already saved");
      return;
    }
    cft_saved_was_ready = cft_ready_for_drawing;
    cft_saved_mode = cft_using_ratio;
    if (cft_ready_for_drawing) ComFreeTypeRestoreAfterDrawing();
    cft_state_saved = 1;
  } else {
    if (!cft_state_saved) {
      DebugError(kFn, "Not saved");
      return;
    }
    if (cft_saved_was_ready) ComFreeTypePrepareForDrawing(cft_saved_mode);
    cft_state_saved = 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Strings

void ComFreeTypeDrawString(_ComFreeTypeFont* font, float x, float y, const char* s) {
  if (!FontOk(font) || !s) return;
  if (cft_using_ratio != 2 && !ComGlMiscIs2DPrepared()) {
    DebugError("ComFreeTypeDrawString", "2D Not setup");
    return;
  }
  if (!cft_ready_for_drawing) {
    DebugError("ComFreeTypeDrawString", "Not ready for drawings");
    return;
  }
  float Y = y;
  if (cft_using_ratio == 1)
    Y = 480.0f - y;
  else if (cft_using_ratio == 0)
    Y = (float)HEIGHT - y;
  glListBase(font->list_base);
  glPushMatrix();
  glTranslatef(x, Y, 0.0f);
  if (font->scaling_on) glScalef(font->scale_x, font->scale_y, 1.0f);
  if (font->colour_on) glColor4f(font->red, font->green, font->blue, font->alpha);
  glCallLists((GLsizei)strlen(s), GL_UNSIGNED_BYTE, s);
  glBindTexture(GL_TEXTURE_2D, 0);
  glPopMatrix();
}

void ComFreeTypeDrawStringAlign(_ComFreeTypeFont* font, float x, float y, char h_align,
                                char v_align, const char* s, char prepare) {
  if (!FontOk(font) || !s) return;
  float h = font->scaling_on ? font->height * font->scale_y : font->height;
  if (v_align == 1)
    y += h / 2.0f;
  else if (v_align != 2)
    y += h;
  if (h_align == 1)
    x -= ComFreeTypeGetStringWidth(font, s) / 2.0f;
  else if (h_align == 2)
    x -= ComFreeTypeGetStringWidth(font, s);
  char prepared_here = 0;
  if (prepare) ComFreeTypePrepareForDrawingIfNeeded(1, &prepared_here);
  ComFreeTypeDrawString(font, x, y, s);
  if (prepared_here) ComFreeTypeRestoreAfterDrawing();
}

void ComFreeTypeDrawStringAlignInt(_ComFreeTypeFont* font, int x, int y, char h_align,
                                   char v_align, const char* s, char prepare) {
  ComFreeTypeDrawStringAlign(font, (float)x, (float)y, h_align, v_align, s, prepare);
}

void ComFreeTypeDrawMultilineText(_ComFreeTypeFont* font, float x, float y, float box_width,
                                  float box_height, char h_align, char v_align, const char* s,
                                  char draw, int first_line, float* max_width, float* used_height,
                                  int* lines, char* reached_end) {
  static const char* kFn = "ComFreeTypeDrawMultilineText";
  auto result = [&](float m, float h, int n, char end) {
    if (max_width) *max_width = m;
    if (used_height) *used_height = h;
    if (lines) *lines = n;
    if (reached_end) *reached_end = end;
  };
  if (!FontOk(font) || !s) {
    result(0.0f, 0.0f, 0, 1);
    return;
  }
  const float L = font->height * font->scale_y;
  const int len = (int)strlen(s);
  auto blank = [&](int i) { return s[i] == ' ' || s[i] == '\t'; };
  if (len == 0 || (len == 1 && blank(0))) {
    result(0.0f, L, 1, 1);
    return;
  }
  // Width of the byte at i for the fit test: newlines, blanks and the end measure 0.
  auto fit_width = [&](int i) -> float {
    if (i >= len || s[i] == '\n' || blank(i)) return 0.0f;
    return font->advance[(unsigned char)s[i]] * font->scale_x;
  };

  int line_start = 0, line_index = 0, last_break = -1, drawn = 0;
  float W = 0.0f, M = 0.0f, pen_y = y;
  int i = 0;
  while (i <= len) {
    int line_end, next_start, next_i;
    bool last = false;
    if (i == len) {
      line_end = next_start = len;
      next_i = len + 1;
      last = true;
    } else if (s[i] == '\n') {
      line_end = next_start = i;
      next_i = i + 1;
    } else if (W + fit_width(i) + fit_width(i + 1) >= box_width) {
      bool newline_near = s[i] == '\n' || (i > 0 && s[i - 1] == '\n');
      int k = -1;
      if (!newline_near)
        for (int j = i; j > 0; j--)
          if (blank(j)) {
            k = j;
            break;
          }
      if (k >= 0 && k < i && k > last_break) {
        line_end = next_start = k;
        next_i = k + 1;
        if (k + 1 == len) last = true;
      } else {
        line_end = next_start = i;
        next_i = i + 1;
      }
    } else {
      W += font->advance[(unsigned char)s[i]] * font->scale_x;
      if (W > M) M = W;
      i++;
      continue;
    }

    if (line_index >= first_line && line_end > line_start) {
      char piece[1024];
      int n = line_end - line_start;
      if (n < 1 || n >= len) n = len - line_start;
      if (n > 1023) {
        DebugError(kFn, "Line part too long");
        n = 1023;
      }
      memcpy(piece, s + line_start, (size_t)n);
      piece[n] = 0;
      const char* p = piece;
      if (p[0] == '\n') p++;
      if (draw && strcmp(piece, "\n") != 0) {
        const char* q = (h_align == 0 && p[0] == ' ') ? p + 1 : p;
        ComFreeTypeDrawStringAlign(font, x, pen_y, h_align, v_align, q, 0);
      }
      drawn++;
      pen_y += font->multiline_gap != 0.0f ? font->multiline_gap : L;
    }
    W = 0.0f;
    line_index++;
    line_start = next_start;
    last_break = line_end;
    if (pen_y >= y + box_height - L || last) {
      result(M, pen_y - y, drawn, last ? 1 : 0);
      return;
    }
    i = next_i;
  }
  DebugError(kFn, "Internal Error - should not get here");
}

char ComFreeTypeDrawToTexture(_ComFreeTypeFont*, _ComGlDxTexture* texture, const char* s, int,
                              int, int, int, char) {
  if (!s) return 0;
  if (!s[0]) return 1;
  if (texture) DebugError("ComFreeTypeDrawToTexture", "Not implemented yet (GL)");
  return 0;
}

char ComFreeTypeGetCharDrawingDimensions(_ComFreeTypeFont*, int, float*, float*, float*) {
  DebugError("ComFreeTypeGetCharDrawingDimensions", "Not implemented yet (GL)");
  return 0;
}
