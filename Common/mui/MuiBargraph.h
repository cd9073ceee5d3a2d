// The bar graph (box type 14): one or three horizontal bars whose lengths are percentages.
#ifndef MUI_BARGRAPH_H
#define MUI_BARGRAPH_H

#include "MuiBox.h"

extern signed char mui_bargraph[MUI_MAX_BOXES][3];

void MuiBargraphReset(int id);
void MuiBarGraphSetValues(int id, char bar1, char bar2, char bar3);
void MuiBargraphDraw(int id);

#endif
