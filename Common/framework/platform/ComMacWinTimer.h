// The main-loop timer: a deadline loop on the main thread that runs the scheduled step at the
// rate the application asks for, the clock, and the sleeps that keep pumping events.
#ifndef COM_MAC_WIN_TIMER_H
#define COM_MAC_WIN_TIMER_H

#include <cstdint>

extern uint32_t cmw_main_loop_interval_ms;    // timer period in milliseconds (100 at start)
extern char cmw_main_loop_interval_changed;

void ComMacWinSetMainLoopTimerFrameRate(float fps);
void ComMacWinCreateMainLoopTimer();
void ComMacWinDestroyMainLoopTimer();
void ComMacWinMainLoopTimerAction(void* timer, void* data);
void ComMacWinMainDoTimerAction();
// kind 0 runs an extra frame (queued when a frame is already running); 1 mouse move and
// 2 modifier change run nothing.
void ComMacWinGotEvent(char kind);
// Runs the timer loop until the quit request ends it (step 13 of start-up).
void ComMacWinRunTimerLoop();
// Runs the polling loop until the quit request ends it.
void ComMacWinRunPollingLoop();
// 1 while the timer loop runs.
char ComMacWinIsTimerLoopRunning();

void ComWinSleep(unsigned long ms, char pump);
char ComMacWinIdleTick(char pump);
void ComWinSleepForSleepTickAmount();

// Milliseconds of a monotonic clock, wrapping at 32 bits; compare as (int32_t)(now - then).
unsigned int ComWinGetTickCount();
unsigned int ComWinGetTickCountInSecs();
// Tests may replace the clock (null restores the real one).
void ComWinSetTickCountSource(unsigned int (*source)());

#endif
