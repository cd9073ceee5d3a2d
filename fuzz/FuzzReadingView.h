// For the settings and slot targets: the reading view's float-to-int conversions over the
// settings in use (bar height in every rotation, font scales, colours, brightness readouts).
#ifndef FUZZ_READING_VIEW_H
#define FUZZ_READING_VIEW_H

#include "Config.h"

// A settings record made by the program itself (its defaults), for seeds.
_Config FuzzDefaultRecord();
void FuzzExerciseReadingView();

#endif
