// The reading view's geometry, each rule once: the height a display line takes, whether a line
// fits on the page, which display lines a position shows, where a page that ends at a line
// starts, and the four screen rotations (page transform, pointer, progress-bar strip, text
// viewport). The renderer, the page turns, the book height, snapping and the paper use these.
#ifndef MAINGEOMETRY_H
#define MAINGEOMETRY_H

#include "BookLine.h"

// The height of a display line on the page: line_ygap, or empty_line_ygap for an empty line.
float MainLineGap(const _Line& line);

// A line whose top lies from_top units below the top margin, drawn line_ygap high, fits on the
// page when it lies wholly between the margins, with 2 units of slack at either margin.
char MainLineFitsPage(double from_top);

// Where the centre of a page's first line lies in page mode: below the top margin by half a line
// and the page's centring (scrolling_center_y_adjust).
double MainGetFirstLineCentre();

// The display lines a position shows. first..last are the lines drawn (empty ones included);
// shown is 0 when none is. centre_adjust is the page's vertical centring (page mode only): half
// the free room when it is at most two lines, else 0.
struct _MainVisibleLines {
  int first, last;
  char shown;
  double centre_adjust;
};
_MainVisibleLines MainGetVisibleLines(const _Line* lines, int count, double position,
                                      char scrolling);

// The first line of the fullest page that still shows line `last` as its final text: the
// smallest index whose page (starting at its y) keeps `last` within the margins.
int MainGetPageTopEndingAt(const _Line* lines, int count, int last);

// The first line of the book's last page, a line with text: the page is filled upwards from the
// last line with the lines' gaps, with 2 units less room than the drawing holds, so the end of
// the book is a page that no slack is needed to hold.
int MainGetLastPageTop(const _Line* lines, int count);

// The index of the first line with text at or after i (the last line when none follows).
int MainNextTextLine(const _Line* lines, int count, int i);

// ---- Rotations: 0 none, 1 90 degrees, 2 180, 3 270; the virtual screen is 640 x 480.
struct _MainRotation {
  // The page transform of text drawing: a move to (page_x, page_y) and a turn by page_radians;
  // rotation 0 is the identity.
  float page_x, page_y, page_radians;
  float texture_degrees;  // glRotatef angle of the virtual screen's drawing of texture pieces
  char turned;            // the page is 480 wide and 640 high
};
const _MainRotation& MainGetRotation(int rotation);
// The settings' side and top/bottom margin (percent) of the current rotation: a turned page keeps
// margins of its own.
float* MainSideMarginSetting();
float* MainTopMarginSetting();

// A pointer position of the window's virtual screen turned back into the page's unrotated
// 640 x 480 coordinates.
void MainUnrotatePoint(int rotation, float x, float y, float* ux, float* uy);
// The fraction of the book under a point of the progress bar; -1 outside the bar's length.
float MainGetBarFraction(int rotation, int x, int y);
// Whether a point lies in the progress bar's strip of height bar (3 units of slack), for a bar
// at the top (at_top) or the bottom of the page.
char MainPointInBarStrip(int rotation, char at_top, int bar, int x, int y);
// The text rectangle left by an always-shown bar of height bar (virtual units, origin top
// left); 0 with nothing left out.
char MainGetTextViewportFor(int rotation, char always_on, char at_top, int bar, int* x, int* y,
                            int* w, int* h);

#endif
