// The reading view's layout numbers from the settings in use, without a window or a book.
#include "FuzzReadingView.h"

#include <initializer_list>

#include "ComGlMiscModes.h"
#include "MainRender.h"
#include "MainTick.h"

_Config FuzzDefaultRecord() {
  ConfigSetDefaults();
  return config;
}

void FuzzExerciseReadingView() {
  const int32_t rotation = config.rotation;
  for (int32_t r = 0; r < 4; r++) {
    config.rotation = r;
    MainCalcBarHeight();
    MainCalcFontScales();
    MainGetTextViewport(nullptr, nullptr, nullptr, nullptr);
  }
  config.rotation = rotation;
  MainSetBackgroundAndFontColours();
  // The brightness keys and their readouts; the clock moves past the keys' pause.
  for (char key : {'p', 'o', '0', '9'}) {
    n3d_current_time += 100;
    MainProcessCharKey(key);
  }
}
