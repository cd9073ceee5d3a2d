// The reading view: the layout numbers made from the settings, and the drawing of one frame while
// the menu layer is off (visible lines, dividers, margin lines, progress bar, battery gauge, boxes
// and the on-screen "Menu" button). Coordinates are in the virtual 640 x 480 screen.
#ifndef MAINRENDER_H
#define MAINRENDER_H

#include <cstddef>

#include "LecFont.h"

struct _MainButton {
  char name[64];
  float x, y, width, height;
  char hovered;
  void (*callback)();
};

extern float font_scale_x, font_scale_y;   // the book font's scale
extern float line_ygap;                    // height of one text line, at least 0.1
extern float line_ygap2;                   // half of it
extern float empty_line_ygap;              // line_ygap x paragraph spacing
extern float top_margin, bottom_margin;    // y of the text area's top and bottom
extern float side_margin;
extern int lines_per_page;
extern double page_height;                 // 480, or 640 when rotated
extern float ylimit1, ylimit2;
extern int bar_height;
extern double scrolling_center_y_adjust;
extern unsigned int first_line_rendered, last_line_rendered;
extern float battery_perc;                 // 0..1
extern int show_battery;
extern char menu_on;                       // the pointer-active flag
extern float menu_blend;                   // fade of the progress bar and the "Menu" button
extern char m_rotating_screen;             // set while a rotation change reloads the book
extern _MainButton menu_buttons[1];

// The book font's scale and the height of one text line (at least 0.1) for a page rotation, from
// the size settings' working copies and the window's size.
struct _MainFontScales {
  float x, y, gap;
};
_MainFontScales MainGetFontScales(int rotation);
void MainCalcFontScales();
void MainUpdateAfterConfigChange();
void MainSetBackgroundColour();
void MainSetBackgroundAndFontColours();
void MainRender();
void MainRenderText();
void MainRenderProgressBar(float inset, float y_centre, float height, float fraction, float alpha);
void MainRenderBoxBg(float x, float y, float width, float height, float cap_width, float alpha);
char MainRenderBox(char which);
// The progress box's percentage line, "(%d %%)", for a fraction of 0 to 1.
void MainFormatProgressPercent(float fraction, char* out, size_t size);
void MainDrawString(float x, float y, char* text);
void MainUpdateForPageRotationForDrawingTextures();
void MainTurnOnMenu(char set_blend);
void MainTurnOffMenu(char set_blend);

// Helpers of the frame, kept public so their geometry can be checked without a window.
void MainCalcBarHeight();                      // bar_height for the current rotation
float MainGetMenuButtonY();                    // the "Menu" button follows a top bar
// The bar-less text rectangle of an "Always On" bar (virtual units, origin top left); 0 when the
// whole screen is used.
char MainGetTextViewport(int* x, int* y, int* w, int* h);

#endif
