// The reading view's geometry rules (see MainGeometry.h). Positions on the line axis are in line
// units: a line with text takes 1, an empty line the paragraph spacing.
#include "MainGeometry.h"

#include "Config.h"

#include "MainRender.h"

namespace {

// Slack at either margin within which a line still counts as on the page.
const double kPageSlack = 2;

// The edges of the virtual screen, named by where they lie on the window.
enum Edge { kEdgeBottom, kEdgeLeft, kEdgeTop, kEdgeRight };

struct RotationRow {
  _MainRotation public_part;
  // Pointer unmapping: ux = ux_x x + ux_y y + ux_0, uy = uy_x x + uy_y y + uy_0.
  float ux_x, ux_y, ux_0, uy_x, uy_y, uy_0;
  char bar_axis_y;        // the progress bar runs along y
  char bar_reversed;      // the book's start lies at the far end of the axis
  Edge page_bottom;       // the screen edge at the page's bottom
};

const RotationRow kRotations[4] = {
    {{0, 0, 0, 0, 0}, 1, 0, 0, 0, 1, 0, 0, 0, kEdgeBottom},
    {{160, 480, 4.712389f, -90, 1}, 0, 640.0f / 480, 0, -480.0f / 640, 0, 480, 1, 0, kEdgeLeft},
    {{640, 480, 3.1415927f, 180, 0}, -1, 0, 640, 0, -1, 480, 0, 1, kEdgeTop},
    {{480, 0, 1.5707964f, 90, 1}, 0, -640.0f / 480, 640, 480.0f / 640, 0, 0, 1, 1, kEdgeRight},
};

const RotationRow& Row(int rotation) { return kRotations[rotation & 3]; }

Edge BarEdge(int rotation, char at_top) {
  Edge bottom = Row(rotation).page_bottom;
  return at_top ? (Edge)((bottom + 2) & 3) : bottom;
}

}  // namespace

float MainLineGap(const _Line& line) { return line.empty ? empty_line_ygap : line_ygap; }

char MainLineFitsPage(double from_top) {
  return from_top >= -kPageSlack &&
         from_top + line_ygap <= bottom_margin - top_margin + kPageSlack;
}

double MainGetFirstLineCentre() {
  return top_margin + line_ygap / 2 + scrolling_center_y_adjust;
}

_MainVisibleLines MainGetVisibleLines(const _Line* lines, int count, double position,
                                      char scrolling) {
  _MainVisibleLines v = {0, -1, 0, 0};
  if (!lines || count <= 0) return v;
  double lo = position - 2, hi = position + lines_per_page + 2;
  // Lines lie in ascending y: the first candidate is found by halving.
  int a = 0, b = count;
  while (a < b) {
    int m = a + (b - a) / 2;
    if (lines[m].y < lo) a = m + 1;
    else b = m;
  }
  double used = 0;
  for (int i = a; i < count && lines[i].y <= hi; i++) {
    double offset = (lines[i].y - position) * line_ygap;
    char fits;
    if (scrolling) {
      // The whole screen with a line of slack at either end, so lines slide in and out.
      double c = offset;
      fits = c - line_ygap2 >= -kPageSlack - line_ygap &&
             c + line_ygap2 <= page_height + kPageSlack + line_ygap;
    } else {
      fits = MainLineFitsPage(offset);
    }
    if (!fits) continue;
    if (!v.shown) v.first = i;
    v.last = i;
    v.shown = 1;
    used += MainLineGap(lines[i]);
  }
  if (!scrolling) {
    double free_room = bottom_margin - top_margin - used;
    v.centre_adjust = free_room <= 2 * line_ygap ? free_room / 2 : 0;
  }
  return v;
}

int MainGetPageTopEndingAt(const _Line* lines, int count, int last) {
  if (!lines || count <= 0) return 0;
  if (last >= count) last = count - 1;
  if (last <= 0) return 0;
  int top = last;
  while (top > 0 && MainLineFitsPage((lines[last].y - lines[top - 1].y) * line_ygap)) top--;
  return top;
}

int MainGetLastPageTop(const _Line* lines, int count) {
  if (!lines || count <= 0) return 0;
  int i = count - 1;
  float room = bottom_margin - kPageSlack - MainLineGap(lines[i]);
  while (room > top_margin && i > 0) {
    i--;
    room -= MainLineGap(lines[i]);
  }
  if (room < top_margin && i < count - 1) i++;
  // It starts at a line with text, and never past the last line.
  int k = i;
  while (k < count && lines[k].empty) k++;
  if (k >= count) {
    k = i;
    while (k > 0 && lines[k].empty) k--;
  }
  return k;
}

int MainNextTextLine(const _Line* lines, int count, int i) {
  if (i < 0) i = 0;
  while (i < count - 1 && lines[i].empty) i++;
  return i;
}

const _MainRotation& MainGetRotation(int rotation) { return Row(rotation).public_part; }

float* MainSideMarginSetting() {
  return MainGetRotation(config.rotation).turned ? &config.side_margin_rotated : &config.side_margin;
}

float* MainTopMarginSetting() {
  return MainGetRotation(config.rotation).turned ? &config.top_margin_rotated : &config.top_margin;
}

void MainUnrotatePoint(int rotation, float x, float y, float* ux, float* uy) {
  const RotationRow& r = Row(rotation);
  *ux = r.ux_x * x + r.ux_y * y + r.ux_0;
  *uy = r.uy_x * x + r.uy_y * y + r.uy_0;
}

float MainGetBarFraction(int rotation, int x, int y) {
  const RotationRow& r = Row(rotation);
  int v = r.bar_axis_y ? y : x;
  float length = r.bar_axis_y ? 480.0f : 640.0f;
  if (v < 0 || v > length) return -1;
  return r.bar_reversed ? (length - v) / length : v / length;
}

char MainPointInBarStrip(int rotation, char at_top, int bar, int x, int y) {
  switch (BarEdge(rotation, at_top)) {
    case kEdgeBottom: return y >= 477 - bar;
    case kEdgeLeft: return x <= bar + 3;
    case kEdgeTop: return y <= bar + 3;
    default: return x >= 637 - bar;
  }
}

char MainGetTextViewportFor(int rotation, char always_on, char at_top, int bar, int* x, int* y,
                            int* w, int* h) {
  if (!always_on || bar <= 0) return 0;
  int vx = 0, vy = 0, vw = 640, vh = 480;
  switch (BarEdge(rotation, at_top)) {
    case kEdgeBottom: vh = 480 - bar; break;
    case kEdgeLeft: vx = bar; vw = 640 - bar; break;
    case kEdgeTop: vy = bar; vh = 480 - bar; break;
    default: vw = 640 - bar; break;
  }
  if (x) *x = vx;
  if (y) *y = vy;
  if (w) *w = vw;
  if (h) *h = vh;
  return 1;
}
