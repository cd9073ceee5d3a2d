// Writes the menu's button pictures into the resource folder, as one set in a calm dark blue:
//   - the standard widget pictures (arrows, scroll-bar thumb, check marks, list pieces, panel,
//     colour bars), dark shapes that read on the light button faces; those with a shape of their
//     own (arrows, thumb, check marks, list button, list selection, panel bar) get a mask
//     "<picture>_a.tga" and are drawn over the faces with premultiplied alpha, the open list's and
//     the panel's backs and the colour bars are opaque;
//   - "back1.bmp", the popup background;
//   - the large button "main_*.bmp", the small box "box_*.bmp" and the wide option box
//     "wbox_*.bmp" in their states (l normal, p pressed, h highlighted, d disabled), each with the
//     mask that rounds it ("main_a.tga", "box_a.tga", "wbox_a.tga");
//   - the title pictures "TitleN copy.bmp" (highlighted) and "TitleNL copy.bmp" (normal), N = 1 to 6,
//     which take the main button's mask, each showing the maker's program whose page it opens
//     (reader/app/MakerPrograms.h), their labels drawn with the given font.
// Pictures are 24-bit uncompressed BMPs, masks 32-bit TGAs, every one a power of two on each side
// and a picture the same size as its mask. The colours of masked pictures are premultiplied by the
// mask so that nothing shows outside the rounded shape.
// Usage: gen_menu_images OUTPUT_FOLDER FONT_FILE
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "MakerPrograms.h"
#include "gen_picture.h"

namespace {

using gen::Clamp01;
using gen::Picture;
using gen::Rgba;
using gen::RoundRectCoverage;

struct Colour {
  float r, g, b;
};

Colour Mix(Colour a, Colour b, float t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour Scale(Colour a, float s) { return Colour{a.r * s, a.g * s, a.b * s}; }

// Lays colour c with coverage a over the pixel. The alpha gathers the coverage, so a shape drawn
// on a new (black, clear) picture ends up with premultiplied colours and its own mask.
void Blend(Picture& p, int x, int y, Colour c, float a) {
  if (x < 0 || y < 0 || x >= p.w || y >= p.h || a <= 0) return;
  Rgba& d = p.at(x, y);
  a = Clamp01(a);
  d.r += (c.r - d.r) * a;
  d.g += (c.g - d.g) * a;
  d.b += (c.b - d.b) * a;
  d.a += (1 - d.a) * a;
}

// Coverage of a shape given by an inside test, 4 x 4 samples per pixel.
float Coverage(const std::function<bool(float, float)>& inside, int x, int y) {
  int n = 0;
  for (int sy = 0; sy < 4; sy++)
    for (int sx = 0; sx < 4; sx++)
      if (inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4)) n++;
  return n / 16.0f;
}

void FillShape(Picture& p, Colour c, const std::function<bool(float, float)>& inside) {
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++) Blend(p, x, y, c, Coverage(inside, x, y));
}

bool InTriangle(float px, float py, float ax, float ay, float bx, float by, float cx, float cy) {
  auto side = [](float x1, float y1, float x2, float y2, float x3, float y3) {
    return (x1 - x3) * (y2 - y3) - (x2 - x3) * (y1 - y3);
  };
  float d1 = side(px, py, ax, ay, bx, by), d2 = side(px, py, bx, by, cx, cy), d3 = side(px, py, cx, cy, ax, ay);
  bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
  return !(neg && pos);
}

bool InRoundRect(float px, float py, float x0, float y0, float x1, float y1, float r) {
  if (px < x0 || px > x1 || py < y0 || py > y1) return false;
  float cx = px < x0 + r ? x0 + r : (px > x1 - r ? x1 - r : px);
  float cy = py < y0 + r ? y0 + r : (py > y1 - r ? y1 - r : py);
  return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
}

// Distance from a point to the segment (ax, ay)-(bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  float vx = bx - ax, vy = by - ay;
  float t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  float dx = ax + vx * t - px, dy = ay + vy * t - py;
  return std::sqrt(dx * dx + dy * dy);
}

// ---------------------------------------------------------------------------------------------
// Files

bool WriteBmp(const std::string& path, Picture& p) {
  FILE* f = fopen((path + ".tmp").c_str(), "wb");
  if (!f) return false;
  const int row_bytes = (p.w * 3 + 3) & ~3;
  const uint32_t data = uint32_t(row_bytes) * p.h, size = 54 + data;
  unsigned char h[54] = {'B', 'M'};
  auto put32 = [&h](int at, uint32_t v) {
    for (int i = 0; i < 4; i++) h[at + i] = (unsigned char)(v >> (8 * i));
  };
  put32(2, size);
  put32(10, 54);                 // pixels follow the two headers
  put32(14, 40);                 // the 40-byte information header
  put32(18, uint32_t(p.w));
  put32(22, uint32_t(p.h));      // positive: bottom row first
  h[26] = 1;                     // one plane
  h[28] = 24;                    // bits per pixel
  put32(34, data);               // no compression (word 30 stays 0)
  put32(38, 2835);
  put32(42, 2835);
  bool ok = fwrite(h, 1, 54, f) == 54;
  std::vector<unsigned char> row(size_t(row_bytes), 0);
  for (int y = p.h - 1; ok && y >= 0; y--) {
    for (int x = 0; x < p.w; x++) {
      Rgba c = p.at(x, y);
      row[x * 3 + 0] = (unsigned char)std::lround(Clamp01(c.b) * 255);
      row[x * 3 + 1] = (unsigned char)std::lround(Clamp01(c.g) * 255);
      row[x * 3 + 2] = (unsigned char)std::lround(Clamp01(c.r) * 255);
    }
    ok = fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  ok = (fclose(f) == 0) && ok;
  return ok && rename((path + ".tmp").c_str(), path.c_str()) == 0;
}

// ---------------------------------------------------------------------------------------------
// Text through FreeType

class Font {
 public:
  bool Open(const char* path) {
    if (FT_Init_FreeType(&lib_)) return false;
    return FT_New_Face(lib_, path, 0, &face_) == 0;
  }
  ~Font() {
    if (face_) FT_Done_Face(face_);
    if (lib_) FT_Done_FreeType(lib_);
  }
  float Width(const std::string& s, int px) {
    FT_Set_Pixel_Sizes(face_, 0, px);
    float w = 0;
    for (unsigned char ch : s)
      if (FT_Load_Char(face_, ch, FT_LOAD_DEFAULT) == 0) w += face_->glyph->advance.x / 64.0f;
    return w;
  }
  // Draws s with its baseline at y, starting at x.
  void Draw(Picture& p, const std::string& s, int px, float x, int y, Colour c) {
    FT_Set_Pixel_Sizes(face_, 0, px);
    for (unsigned char ch : s) {
      if (FT_Load_Char(face_, ch, FT_LOAD_RENDER)) continue;
      FT_GlyphSlot g = face_->glyph;
      int gx = int(std::lround(x)) + g->bitmap_left, gy = y - g->bitmap_top;
      for (unsigned r = 0; r < g->bitmap.rows; r++)
        for (unsigned col = 0; col < g->bitmap.width; col++)
          Blend(p, gx + int(col), gy + int(r), c, g->bitmap.buffer[r * g->bitmap.pitch + col] / 255.0f);
      x += g->advance.x / 64.0f;
    }
  }
  // The largest size up to px at which s fits in width.
  int Fit(const std::string& s, int px, float width) {
    while (px > 8 && Width(s, px) > width) px--;
    return px;
  }

 private:
  FT_Library lib_ = nullptr;
  FT_Face face_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Masked buttons

struct Shape {
  int w, h;
  float radius, border;
};

// Coverage of the button's outline at a pixel: the mask and the picture agree on it exactly.
float ShapeCoverage(const Shape& s, int x, int y) {
  return RoundRectCoverage(x + 0.5f, y + 0.5f, 0.5f, 0.5f, s.w - 0.5f, s.h - 0.5f, s.radius);
}

Picture MakeMask(const Shape& s) {
  Picture p(s.w, s.h);
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      float a = ShapeCoverage(s, x, y);
      p.at(x, y) = Rgba{a, a, a, a};
    }
  return p;
}

struct Look {
  Colour top, bottom;   // the face's vertical gradient
  Colour border;        // the rim
  float gloss;          // strength of the light on the upper half
  float glow;           // strength of the light just inside the rim
};

// The button's face: gradient, a soft light on its upper half, a rim and an inner glow.
Picture MakeFace(const Shape& s, const Look& look) {
  Picture p(s.w, s.h);
  const float b = s.border;
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      float fy = (y + 0.5f) / s.h;
      Colour c = Mix(look.top, look.bottom, fy);
      if (fy < 0.48f) {
        float t = 1 - fy / 0.48f;
        c = Mix(c, Colour{1, 1, 1}, look.gloss * t * t);
      }
      float inner = RoundRectCoverage(x + 0.5f, y + 0.5f, 0.5f + b, 0.5f + b, s.w - 0.5f - b, s.h - 0.5f - b,
                                      s.radius > b ? s.radius - b : 0);
      float glow_band = RoundRectCoverage(x + 0.5f, y + 0.5f, 0.5f + 3 * b, 0.5f + 3 * b, s.w - 0.5f - 3 * b,
                                          s.h - 0.5f - 3 * b, s.radius > 3 * b ? s.radius - 3 * b : 0);
      c = Mix(c, look.border, look.glow * (inner - glow_band) * 0.5f);
      c = Mix(look.border, c, inner);
      p.at(x, y) = Rgba{c.r, c.g, c.b, 1};
    }
  return p;
}

// Multiplies the colours by the shape's coverage so that the corners stay black.
void Premultiply(Picture& p, const Shape& s) {
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      float a = ShapeCoverage(s, x, y);
      Rgba& c = p.at(x, y);
      c = Rgba{c.r * a, c.g * a, c.b * a, a};
    }
}

// The four states of every masked button, from one palette.
// Light faces, so that the screens' dark texts read on every state; the rim and the state
// carry the colour.
const Look kNormal = {{0.835f, 0.875f, 0.930f}, {0.660f, 0.725f, 0.815f}, {0.330f, 0.420f, 0.580f}, 0.10f, 0.0f};
const Look kPressed = {{0.560f, 0.635f, 0.745f}, {0.700f, 0.765f, 0.855f}, {0.240f, 0.340f, 0.520f}, 0.0f, 0.0f};
const Look kHighlighted = {{0.930f, 0.960f, 1.000f}, {0.745f, 0.835f, 0.950f}, {0.300f, 0.520f, 0.860f}, 0.14f,
                           0.8f};
const Look kDisabled = {{0.800f, 0.805f, 0.815f}, {0.700f, 0.705f, 0.720f}, {0.560f, 0.565f, 0.585f}, 0.04f, 0.0f};

// ---------------------------------------------------------------------------------------------
// Title pictures: a round badge with the program's initial, its name and what it does.

Picture MakeTitle(Font& font, const Shape& s, const _MakerProgram& prog, Colour badge_colour, bool lit) {
  Look look = lit ? kHighlighted : kNormal;
  if (!lit) {
    look.top = Scale(look.top, 0.94f);
    look.bottom = Scale(look.bottom, 0.94f);
  }
  Picture p = MakeFace(s, look);
  const float cx = 62, cy = s.h * 0.5f, r = 38;
  Colour badge = lit ? badge_colour : Scale(badge_colour, 0.72f);
  Colour ring = Mix(badge, Colour{1, 1, 1}, lit ? 0.55f : 0.3f);
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      Blend(p, x, y, ring, Coverage([&](float px, float py) {
              return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
            }, x, y));
      Blend(p, x, y, Mix(badge, Scale(badge, 0.6f), (y - (cy - r)) / (2 * r)),
            Coverage([&](float px, float py) {
              return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= (r - 3) * (r - 3);
            }, x, y));
    }
  std::string initial(1, prog.name[0]);
  const int ipx = 44;
  font.Draw(p, initial, ipx, cx - font.Width(initial, ipx) / 2, int(cy + ipx * 0.36f), Colour{1, 1, 1});
  const float tx = 114, room = s.w - tx - 14;
  // Dark texts: the faces are light in both states.
  Colour name_col = lit ? Colour{0.050f, 0.110f, 0.260f} : Colour{0.090f, 0.120f, 0.180f};
  Colour what_col = lit ? Colour{0.140f, 0.250f, 0.470f} : Colour{0.170f, 0.210f, 0.290f};
  font.Draw(p, prog.name, font.Fit(prog.name, 30, room), tx, 62, name_col);
  font.Draw(p, prog.what, font.Fit(prog.what, 15, room), tx, 88, what_col);
  return p;
}

// ---------------------------------------------------------------------------------------------
// Standard widget pictures, for the light faces: dark blue shapes on a clear ground (their masks
// are their alpha), and light opaque backs for the open list and the panel.

const Colour kStdLine = {0.180f, 0.270f, 0.440f};   // arrows, rims, ticks
const Colour kStdBack = {0.975f, 0.980f, 0.990f};   // the open list's back
const Colour kStdRim = {0.330f, 0.420f, 0.580f};    // the rim of the backs

Picture MakeArrow(int dir) {  // 0 left, 1 right, 2 up, 3 down
  Picture p(32, 32);
  float pts[4][6] = {{9, 16, 22, 6, 22, 26}, {23, 16, 10, 6, 10, 26}, {16, 9, 6, 22, 26, 22}, {16, 23, 6, 10, 26, 10}};
  const float* t = pts[dir];
  FillShape(p, kStdLine, [&](float x, float y) { return InTriangle(x, y, t[0], t[1], t[2], t[3], t[4], t[5]); });
  return p;
}

// The scroll bar's thumb: a saturated blue pill with a dark rim and light grip lines, so it
// stands out on the light bar faces and under the bar's dark label.
Picture MakeThumb() {
  Picture p(64, 32);
  FillShape(p, Colour{0.120f, 0.200f, 0.360f}, [](float x, float y) { return InRoundRect(x, y, 1, 2, 63, 30, 13); });
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++) {
      float in = Coverage([](float px, float py) { return InRoundRect(px, py, 4, 5, 60, 27, 10); }, x, y);
      Colour face = Mix(Colour{0.470f, 0.640f, 0.930f}, Colour{0.250f, 0.420f, 0.740f}, (y - 5) / 22.0f);
      Blend(p, x, y, face, in);
    }
  // Three grip lines in the middle.
  for (int i = -1; i <= 1; i++)
    FillShape(p, Colour{0.900f, 0.940f, 1.000f},
              [i](float x, float y) { return x >= 31 + i * 6 && x < 33 + i * 6 && y >= 10 && y < 22; });
  return p;
}

Picture MakeCheck(bool ticked) {
  Picture p(32, 32);
  FillShape(p, Colour{1, 1, 1}, [](float x, float y) { return InRoundRect(x, y, 4, 4, 28, 28, 5); });
  FillShape(p, kStdLine, [](float x, float y) {
    return InRoundRect(x, y, 3, 3, 29, 29, 6) && !InRoundRect(x, y, 5.5f, 5.5f, 26.5f, 26.5f, 4);
  });
  if (ticked)
    FillShape(p, kStdLine, [](float x, float y) {
      return SegmentDistance(x, y, 9, 16.5f, 14, 22) < 2.4f || SegmentDistance(x, y, 14, 22, 23.5f, 10) < 2.4f;
    });
  return p;
}

Picture MakeFlat(int w, int h, Colour c, float radius) {
  Picture p(w, h);
  FillShape(p, c, [&](float x, float y) { return InRoundRect(x, y, 0, 0, float(w), float(h), radius); });
  return p;
}

Picture MakeListButton() {
  Picture p(32, 32);
  FillShape(p, kStdLine, [](float x, float y) {
    return InRoundRect(x, y, 2, 2, 30, 30, 6) && !InRoundRect(x, y, 4, 4, 28, 28, 4);
  });
  FillShape(p, kStdLine, [](float x, float y) { return InTriangle(x, y, 16, 21, 9, 12, 23, 12); });
  return p;
}

// The open list's back, opaque: a light panel with a rim on its sides, and on its top or bottom
// for the caps.
Picture MakeListBack(int part) {  // 0 top, 1 middle, 2 bottom
  Picture p(64, 64);
  FillShape(p, kStdBack, [](float, float) { return true; });
  FillShape(p, kStdRim, [part](float x, float y) {
    bool side = x < 2 || x > 62;
    bool top = part == 0 && y < 10;  // the caps are drawn a few units high: a rim that shows
    bool bottom = part == 2 && y > 54;
    return side || top || bottom;
  });
  return p;
}

// The open list's scroll rows, opaque like its back, with an arrow up or down.
Picture MakeListScroll(bool up) {
  Picture p = MakeListBack(1);
  FillShape(p, kStdLine, [up](float x, float y) {
    return up ? InTriangle(x, y, 32, 22, 22, 42, 42, 42) : InTriangle(x, y, 32, 42, 22, 22, 42, 22);
  });
  return p;
}

// The open list's selection bar: a see-through blue, so the entry's dark text stays readable.
Picture MakeListSel() {
  Picture p(64, 32);
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++)
      Blend(p, x, y, Colour{0.300f, 0.500f, 0.900f},
            0.45f * Coverage([](float px, float py) { return InRoundRect(px, py, 1, 1, 63, 31, 6); }, x, y));
  return p;
}

Picture MakeColourBar(int channel) {
  Picture p(64, 64);
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) {
      float v = (x + 0.5f) / 64;
      float e = (y < 2 || y > 61) ? 0.5f : 1.0f;  // a darker rim above and below
      float c[3] = {0, 0, 0};
      c[channel] = v * e;
      p.at(x, y) = Rgba{c[0], c[1], c[2], 1};
    }
  return p;
}

Picture MakePopupBack() {
  Picture p(256, 256);
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      Colour c = Mix(Colour{0.140f, 0.180f, 0.255f}, Colour{0.075f, 0.098f, 0.145f}, (y + 0.5f) / 256);
      bool rim = x < 3 || y < 3 || x > 252 || y > 252;
      bool line = !rim && (x < 5 || y < 5 || x > 250 || y > 250);
      if (rim) c = Colour{0.420f, 0.520f, 0.700f};
      if (line) c = Colour{0.050f, 0.065f, 0.095f};
      p.at(x, y) = Rgba{c.r, c.g, c.b, 1};
    }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s OUTPUT_FOLDER FONT_FILE\n", argv[0]);
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  Font font;
  if (!font.Open(argv[2])) {
    fprintf(stderr, "gen_menu_images: cannot open the font %s\n", argv[2]);
    return 1;
  }
  bool ok = true;
  auto bmp = [&](const std::string& name, Picture p) {
    if (!WriteBmp(out + name, p)) {
      fprintf(stderr, "gen_menu_images: cannot write %s\n", name.c_str());
      ok = false;
    }
  };
  auto tga = [&](const std::string& name, Picture p) {
    if (!gen::WriteTga(out + name, p)) {
      fprintf(stderr, "gen_menu_images: cannot write %s\n", name.c_str());
      ok = false;
    }
  };

  // A shaped picture: its premultiplied colours and its mask.
  auto shaped = [&](const std::string& stem, Picture p) {
    Picture mask(p.w, p.h);
    for (size_t i = 0; i < p.px.size(); i++) mask.px[i] = Rgba{p.px[i].a, p.px[i].a, p.px[i].a, p.px[i].a};
    bmp(stem + ".bmp", p);
    tga(stem + "_a.tga", mask);
  };
  shaped("std_left_arrow", MakeArrow(0));
  shaped("std_right_arrow", MakeArrow(1));
  bmp("std_list_scroll_up.bmp", MakeListScroll(true));
  bmp("std_list_scroll_down.bmp", MakeListScroll(false));
  shaped("std_sb_button", MakeThumb());
  shaped("std_check", MakeCheck(true));
  shaped("std_uncheck", MakeCheck(false));
  bmp("std_panel_back.bmp", MakeFlat(64, 64, Colour{0.860f, 0.885f, 0.925f}, 0));
  shaped("std_panel_bar", MakeFlat(64, 64, Colour{0.330f, 0.480f, 0.760f}, 10));
  shaped("std_list_button", MakeListButton());
  bmp("std_list_back_top.bmp", MakeListBack(0));
  bmp("std_list_back_main.bmp", MakeListBack(1));
  bmp("std_list_back_bottom.bmp", MakeListBack(2));
  shaped("std_list_sel", MakeListSel());
  bmp("std_col_red.bmp", MakeColourBar(0));
  bmp("std_col_green.bmp", MakeColourBar(1));
  bmp("std_col_blue.bmp", MakeColourBar(2));
  bmp("back1.bmp", MakePopupBack());

  struct Button {
    const char* stem;
    Shape shape;
    bool disabled_picture;
  };
  const Button buttons[] = {{"main", {256, 128, 30, 4}, true}, {"box", {64, 64, 14, 3}, false},
                            {"wbox", {256, 32, 11, 2}, false}};
  for (const Button& b : buttons) {
    const struct {
      const char* suffix;
      const Look* look;
    } states[] = {{"l", &kNormal}, {"p", &kPressed}, {"h", &kHighlighted}, {"d", &kDisabled}};
    for (const auto& st : states) {
      if (st.look == &kDisabled && !b.disabled_picture) continue;
      Picture face = MakeFace(b.shape, *st.look);
      Premultiply(face, b.shape);
      bmp(std::string(b.stem) + "_" + st.suffix + ".bmp", face);
    }
    tga(std::string(b.stem) + "_a.tga", MakeMask(b.shape));
  }

  // Each title picture shows the program whose page it opens, by the one table of the programs.
  const Colour badges[MAKER_NUM_PICTURES] = {{0.220f, 0.450f, 0.700f}, {0.200f, 0.560f, 0.480f},
                                             {0.450f, 0.330f, 0.680f}, {0.700f, 0.460f, 0.220f},
                                             {0.300f, 0.550f, 0.300f}, {0.680f, 0.300f, 0.400f}};
  const Shape title = buttons[0].shape;  // the titles take the main button's mask
  for (int n = 1; n <= MAKER_NUM_PICTURES; n++) {
    const _MakerProgram* prog = MakerProgramOfPicture(n);
    if (!prog) {
      fprintf(stderr, "gen_menu_images: no program for title picture %d\n", n);
      ok = false;
      continue;
    }
    for (int lit = 0; lit <= 1; lit++) {
      Picture p = MakeTitle(font, title, *prog, badges[n - 1], lit != 0);
      Premultiply(p, title);
      bmp("Title" + std::to_string(n) + (lit ? "" : "L") + " copy.bmp", p);
    }
  }
  return ok ? 0 : 1;
}
