// The headless kit for the menu toolkit's tests (see support_MuiKit.h).
#include "support_MuiKit.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComMacWinInput.h"
#include "ComMacWinTimer.h"
#include "MuiText.h"
#include "MuiTextures.h"

namespace {

unsigned int g_now = 0;
std::vector<std::string> g_calls;
std::vector<int> g_sounds;
std::vector<std::pair<int, int>> g_warps;
std::string g_dir;
std::string g_log;
_ComFreeTypeFont g_font;

unsigned int Clock() { return g_now; }
void Sound(int id) { g_sounds.push_back(id); }
void Warp(int x, int y) { g_warps.emplace_back(x, y); }
void NoBox(char*, char*, char) {}

}  // namespace

unsigned int MuiKitNow() { return g_now; }

void MuiKitSetTime(unsigned int ms) {
  g_now = ms;
  n3d_current_time = (int)ms;
}

void MuiKitAdvance(int ms) {
  g_now += (unsigned int)ms;
  n3d_current_time = (int)((unsigned int)n3d_current_time + (unsigned int)ms);
}

_ComFreeTypeFont* MuiKitFont(float advance, float height) {
  memset(&g_font, 0, sizeof(g_font));
  g_font.setup = 1;
  g_font.height = height;
  g_font.letter_count = 256;
  g_font.scale_x = 1.0f;
  g_font.scale_y = 1.0f;
  g_font.red = g_font.green = g_font.blue = g_font.alpha = 1.0f;
  for (int c = 32; c < 256; c++) g_font.advance[c] = advance;
  return &g_font;
}

std::vector<std::string>& MuiKitCalls() { return g_calls; }
std::vector<int>& MuiKitSounds() { return g_sounds; }
std::vector<std::pair<int, int>>& MuiKitWarps() { return g_warps; }

void MuiKitClearRecords() {
  g_calls.clear();
  g_sounds.clear();
  g_warps.clear();
}

void MuiKitRecord(const std::string& name, int arg) { g_calls.push_back(name + ":" + std::to_string(arg)); }

void MuiKitRepeatCb(int a, int b) { MuiKitRecord("rep", a * 1000 + b); }

std::string MuiKitLog() {
  std::ifstream in(g_log, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool MuiKitLogHas(const std::string& text) { return MuiKitLog().find(text) != std::string::npos; }

void MuiKitClearLog() {
  std::ofstream out(g_log, std::ios::binary | std::ios::trunc);
}

void MuiKitStart(unsigned int start_ms) {
  if (g_dir.empty()) {
    char tmpl[] = "/tmp/lectrel-mui-XXXXXX";
    if (mkdtemp(tmpl)) g_dir = tmpl;
    g_log = g_dir + "/log.txt";
  }
  DebugSetLogFilename(g_log.c_str(), 1);
  MuiKitClearLog();
  ComWinSetPopupMessagesCallback(NoBox, NoBox);
  MuiKitSetTime(start_ms);
  ComWinSetTickCountSource(Clock);
  ComWinSetCursorWarpSink(Warp);
  WIDTH = 640;
  HEIGHT = 480;
  MuiCalcRatios();
  MuiTexturesPre3dInit();
  MuiPre3dInit();
  MuiSetSoundPlayIdFunction(Sound);
  MuiSetFreeTypeFont(MuiKitFont());
  mouse_pos_x = 320;
  mouse_pos_y = 240;
  MuiStartup();
  next_escape_press_time = (int)start_ms;  // no guard left over from an earlier test
  MuiKitClearRecords();
}

void MuiKitStop() {
  MuiShutdown();
  MuiSetSoundPlayIdFunction(nullptr);
  MuiSetFreeTypeFont(nullptr);
  ComWinSetCursorWarpSink(nullptr);
  ComWinSetTickCountSource(nullptr);
  if (!g_dir.empty()) {
    unlink(g_log.c_str());
    rmdir(g_dir.c_str());
    g_dir.clear();
  }
}

void MuiKitMoveTo(int x, int y) { MuiMove(x, y, 0); }
void MuiKitPress() { MuiPress(0, 1); }
void MuiKitRelease() { MuiPress(0, 0); }

void MuiKitClick(int x, int y) {
  MuiKitMoveTo(x, y);
  MuiKitPress();
  MuiKitRelease();
}
