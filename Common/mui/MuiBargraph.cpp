// The bar graph (box type 14): one or three horizontal bars whose lengths are percentages.
#include "MuiBargraph.h"

signed char mui_bargraph[MUI_MAX_BOXES][3];

void MuiBargraphReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_bargraph[id][0] = 100;
  mui_bargraph[id][1] = 50;
  mui_bargraph[id][2] = 25;
}
void MuiBarGraphSetValues(int, char, char, char) {}
void MuiBargraphDraw(int) {}
