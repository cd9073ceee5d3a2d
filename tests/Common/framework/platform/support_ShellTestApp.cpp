// The test application of the platform shell's tests (see ShellTestApp.h).
#include "ShellTestApp.h"

#include <SDL.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Mui.h"
#include "PrefFolder.h"

namespace shelltest {

static Config g_cfg;
static std::vector<std::string> g_trace, g_popups, g_keys;
static std::vector<unsigned> g_frame_times;
static int g_frames = 0;

Config& Cfg() { return g_cfg; }
std::vector<std::string>& Trace() { return g_trace; }
void Log(const std::string& s) { g_trace.push_back(s); }
int Frames() { return g_frames; }
std::vector<unsigned>& FrameTimes() { return g_frame_times; }
std::vector<std::string>& Popups() { return g_popups; }
std::vector<std::string>& Keys() { return g_keys; }

static void RecordPopup(char* title, char* text, char kind) {
  g_popups.push_back(std::string(title ? title : "(null)") + "|" + (text ? text : "(null)") + "|" + std::to_string((int)kind));
}
static void RecordAfterExitPopup(char* title, char* text, char kind) {
  g_popups.push_back(std::string("AE:") + (title ? title : "(null)") + "|" + (text ? text : "(null)") + "|" + std::to_string((int)kind));
  Log("after_exit_popup");
}

static char PreCreate(int, char**) { Log("pre_create_window"); return g_cfg.pre_create_result; }
static char Pre3d(int, char**) {
  Log("pre_3d");
  if (g_cfg.pre3d_width >= 0) WIDTH = g_cfg.pre3d_width;
  if (g_cfg.pre3d_height >= 0) HEIGHT = g_cfg.pre3d_height;
  if (g_cfg.on_pre_3d) g_cfg.on_pre_3d();
  return g_cfg.pre_3d_result;
}
static char Post3d(int, char**) {
  Log("post_3d");
  if (g_cfg.quit_in_post_3d) ComWinCloseProgram();
  if (g_cfg.on_post_3d) g_cfg.on_post_3d();
  return g_cfg.post_3d_result;
}
static char CreateGraphics() { Log("create_graphics"); return g_cfg.create_graphics_result; }
static void DeleteGraphics() { Log("delete_graphics"); }
static void PostResChange() { Log("post_res_change"); }
static char TickOff() {
  g_frames++;
  g_frame_times.push_back(ComWinGetTickCount());
  if (g_frames == 1) Log("first_frame");
  if (g_cfg.on_tick) g_cfg.on_tick(g_frames);
  if (g_cfg.quit_after_frames && g_frames == g_cfg.quit_after_frames) ComWinCloseProgram();
  return 1;
}
static char TickOn() { g_frames++; return 1; }
static void RenderOff() {}
static void Pre3dExit() { Log("pre_3d_exit"); }
static void Post3dExit() { Log("post_3d_exit"); }
static void AfterExit() { Log("after_exit"); }
static char PressOff(char b, char d) { g_keys.push_back("press " + std::to_string(b) + " " + std::to_string(d)); return 0; }
static char PressOn(char b, char d) { g_keys.push_back("press_on " + std::to_string(b) + " " + std::to_string(d)); return 0; }
static void DblOff(char b) { g_keys.push_back("dbl " + std::to_string(b)); }
static void MoveOff(int x, int y) { g_keys.push_back("move " + std::to_string(x) + " " + std::to_string(y)); }
static void MoveOn(int x, int y) { g_keys.push_back("move_on " + std::to_string(x) + " " + std::to_string(y)); }
static void WheelOff(int d) { g_keys.push_back("wheel " + std::to_string(d)); }
static char KeyDownOff(int k) { g_keys.push_back("down " + std::to_string(k)); return 0; }
static char KeyDownOn(int k) { g_keys.push_back("down_on " + std::to_string(k)); return 0; }
static char KeyUpOff(int k) { g_keys.push_back("up " + std::to_string(k)); return 0; }
static char KeyUpOn(int k) { g_keys.push_back("up_on " + std::to_string(k)); return 0; }

void Reset() {
  g_cfg = Config();
  g_trace.clear();
  g_popups.clear();
  g_keys.clear();
  g_frame_times.clear();
  g_frames = 0;
  ComMacWinDestroyWindow();
  cme_quit_main_loop = 0;
  cmw_main_cb = {};
  cmw_misc_cb = {};
  ComMacWinSetInputCallbacks(PressOff, PressOn, DblOff, MoveOff, MoveOn, WheelOff, KeyDownOff, KeyDownOn,
                             KeyUpOff, KeyUpOn);
  WIDTH = 640; HEIGHT = 480; WIDTH2 = 320; HEIGHT2 = 240;
  BITDEPTH = 16; FREQUENCY = 60; run_windowed = 1; ANTI_ALIASING = 0;
  cmw_main_loop_uses_timers = 0;
  cmw_main_loop_interval_ms = 100;
  cmw_main_loop_interval_changed = 0;
  cmw_tick_sleep_amount = 0;
  cmw_after_exit_popup_on = 0;
  cmw_style_top_bar = cmw_style_can_resize = cmw_center_on_desktop = 1;
  cmw_screens_were_on = 0;
  cmw_process_double_clicks = 0;
  cmw_corner_x = cmw_corner_y = 0;
  ComMacWinResetInput();
  ComScreenRemoveAll();
  com_screen_on = 0;
  com_screen_current = 0;
  mouseui_on = 0;
  ComGlMiscResetFrameRate();
  ComWinSetTickCountSource(nullptr);
  ComWinSetPopupMessagesCallback(RecordPopup, RecordAfterExitPopup);
  if (SDL_WasInit(SDL_INIT_VIDEO)) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
}

static int RmOne(const char* p, const struct stat*, int, struct FTW*) { return remove(p); }
void RemoveTree(const std::string& path) {
  if (!path.empty()) nftw(path.c_str(), RmOne, 16, FTW_DEPTH | FTW_PHYS);
}

std::string MakeTempHome() {
  char tmpl[] = "/tmp/lectrel-shell-XXXXXX";
  char* d = mkdtemp(tmpl);
  if (!d) return "";
  std::string home = d;
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  return home;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int CountOf(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + needle.size())) n++;
  return n;
}

void EnsureResourceFolder() {
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n <= 0) return;
  exe[n] = 0;
  char* slash = strrchr(exe, '/');
  if (!slash) return;
  *slash = 0;
  std::string res = std::string(exe) + "/Resources";
  mkdir(res.c_str(), 0755);
}

std::string LogPath() {
  const char* x = getenv("XDG_CONFIG_HOME");
  return std::string(x ? x : "") + "/Quorvane/Quorvane Lectrel/LogFile.txt";
}

}  // namespace shelltest

using namespace shelltest;

char GameSetupAll_MAC(int, char**) {
  Log("GameSetupAll_MAC");
  PrefFolderSetup((char*)"Quorvane Lectrel", 1, nullptr);
  if (g_cfg.setup_result != 1) return g_cfg.setup_result;
  ComMacWinSetMainCallbacks(g_cfg.null_pre_create ? nullptr : PreCreate, g_cfg.null_pre_3d ? nullptr : Pre3d,
                            g_cfg.null_post_3d ? nullptr : Post3d, CreateGraphics, DeleteGraphics, PostResChange,
                            TickOff, TickOn, RenderOff, nullptr, nullptr, nullptr, Pre3dExit, Post3dExit);
  ComWinSetAfterExitCallback(AfterExit);
  if (g_cfg.timers) ComMacWinUseTimersForMainLoop();
  ComMacWinSetMainLoopTimerFrameRate(g_cfg.fps);
  ComMacWinSetInitialResolution(g_cfg.width, g_cfg.height, 32, 60, 1, 0);
  return 1;
}
