// The main-loop timer as a deadline loop on the main thread: wait for events until the next
// firing, dispatch them, run the scheduled step once the deadline has passed. Frames never run
// on another thread.
#include "ComMacWinTimer.h"

#include <SDL.h>
#include <ctime>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacWin.h"

uint32_t cmw_main_loop_interval_ms = 100;
char cmw_main_loop_interval_changed = 0;

static char cmw_main_timer = 0;      // the installed timer
static char cmw_main_timer_upp = 0;  // its procedure
static uint32_t cmw_next_firing = 0;
static uint32_t cmw_timer_period = 100;
static char cmw_timer_loop_running = 0;
static int cmw_step_depth = 0;
static char cmw_extra_frame_pending = 0;
static unsigned int (*cmw_tick_source)() = nullptr;

static unsigned int RealTickCount() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  unsigned long long ms = (unsigned long long)ts.tv_sec * 1000ull + (unsigned long long)ts.tv_nsec / 1000000ull;
  return (unsigned int)(ms & 0xFFFFFFFFull);
}

unsigned int ComWinGetTickCount() { return cmw_tick_source ? cmw_tick_source() : RealTickCount(); }

unsigned int ComWinGetTickCountInSecs() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (unsigned int)ts.tv_sec;
}

void ComWinSetTickCountSource(unsigned int (*source)()) { cmw_tick_source = source; }

void ComMacWinSetMainLoopTimerFrameRate(float fps) {
  if (!(fps > 0.0f)) return;  // also refuses NaN
  double ms = 1000.0 / (double)fps;
  uint32_t interval = ms >= 4294967295.0 ? 0xFFFFFFFFu : (uint32_t)ms;
  // The reading view sets its rate every tick; re-arming each time would fire at once every
  // time and defeat the slow rates.
  if (interval == cmw_main_loop_interval_ms) return;
  cmw_main_loop_interval_ms = interval;
  cmw_main_loop_interval_changed = 1;
}

void ComMacWinCreateMainLoopTimer() {
  if (cmw_main_timer || cmw_main_timer_upp)
    DebugError("ComMacWinCreateMainLoopTimer", "Timer already created");
  cmw_main_timer_upp = 1;
  cmw_main_timer = 1;
  // A period of 0 would spin the loop flat out.
  cmw_timer_period = cmw_main_loop_interval_ms < 1 ? 1 : cmw_main_loop_interval_ms;
  cmw_next_firing = ComWinGetTickCount();  // first firing immediate
  cmw_main_loop_interval_changed = 0;
}

void ComMacWinDestroyMainLoopTimer() {
  if (!cmw_main_timer || !cmw_main_timer_upp) DebugError("ComMacWinDestroyMainLoopTimer", "Timer not created");
  cmw_main_timer = 0;
  cmw_main_timer_upp = 0;
}

void ComMacWinMainLoopTimerAction(void* timer, void* data) {
  (void)timer;
  (void)data;
  ComMacWinMainDoTimerAction();
}

void ComMacWinMainDoTimerAction() {
  if (cme_quit_main_loop) {
    if (cmw_main_timer) ComMacWinDestroyMainLoopTimer();
    return;
  }
  cmw_step_depth++;
  ComGlMiscCalcFrameRate();
  ComWinTickAndRender(1, 1, 1, 0);
  cmw_step_depth--;
  if (cmw_main_loop_interval_changed && cmw_main_timer) {
    ComMacWinDestroyMainLoopTimer();
    ComMacWinCreateMainLoopTimer();
  }
}

void ComMacWinGotEvent(char kind) {
  if (kind != 0 || !cmw_main_loop_uses_timers || !cmw_timer_loop_running) return;
  // An event pumped inside a frame (progress display, sleeps) must not start another frame
  // there: it is run once the outer step has returned.
  if (cmw_step_depth > 0 || ComMacWinIsInFrame()) {
    cmw_extra_frame_pending = 1;
    return;
  }
  ComMacWinMainDoTimerAction();
}

char ComMacWinIsTimerLoopRunning() { return cmw_timer_loop_running; }

void ComMacWinRunTimerLoop() {
  cmw_timer_loop_running = 1;
  cmw_extra_frame_pending = 0;
  ComMacWinCreateMainLoopTimer();
  while (cmw_main_timer) {
    int32_t wait = cmw_extra_frame_pending ? 0 : (int32_t)(cmw_next_firing - ComWinGetTickCount());
    ComMacEventsWaitAndDispatch(wait > 0 ? (unsigned)wait : 0u);
    ComMacEventsApplyPendingResize();
    if (cmw_extra_frame_pending && cmw_main_timer) {
      cmw_extra_frame_pending = 0;
      ComMacWinMainDoTimerAction();
    }
    if (!cmw_main_timer) break;
    uint32_t now = ComWinGetTickCount();
    if ((int32_t)(now - cmw_next_firing) >= 0) {
      // No catch-up bursts after a long frame.
      uint32_t next = cmw_next_firing + cmw_timer_period;
      cmw_next_firing = (int32_t)(next - now) > 0 ? next : now;
      ComMacWinMainDoTimerAction();
    }
  }
  cmw_timer_loop_running = 0;
}

void ComMacWinRunPollingLoop() {
  for (;;) {
    if (!ComMacEventsRunLoop()) break;
    if (!ComMacEventsIsResizePending() || SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0)
      ComMacEventsApplyPendingResize();
    ComWinTickAndRender(1, 1, 1, 1);
    ComWinSleepForSleepTickAmount();
  }
}

char ComMacWinIdleTick(char pump) {
  if (pump && !ComMacEventsRunLoop()) return 0;
  SDL_Delay(1);
  return 1;
}

void ComWinSleep(unsigned long ms, char pump) {
  uint32_t start = ComWinGetTickCount();
  while ((uint32_t)(ComWinGetTickCount() - start) < ms) {
    if (!ComMacWinIdleTick(pump)) break;
  }
}

void ComWinSleepForSleepTickAmount() {
  if (!cmw_tick_sleep_amount) return;
  struct timespec ts;
  ts.tv_sec = cmw_tick_sleep_amount / 1000000u;
  ts.tv_nsec = (long)(cmw_tick_sleep_amount % 1000000u) * 1000L;
  nanosleep(&ts, nullptr);
}
