// The reading view's per-frame work, its choice of the main-loop rate, and its input: held keys,
// character keys, mouse buttons and moves, the wheel and the on-screen "Menu" button.
#include "MainTick.h"

#include <cstdio>
#include <vector>

#include "ComBattery.h"
#include "ComGlMiscModes.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Game.h"
#include "MainControl.h"
#include "MainGeometry.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "Mui.h"
#include "Paper.h"
#include "Screens.h"

int last_moved_text_time;
int next_battery_check_time;
char mc_clicking_on_progress_bar;
int m_mouse_x = -1, m_mouse_y = -1;

namespace {

int mt_tick_last_time;
int mt_keys_last_time;
int mt_last_char_time;
char mt_char_time_set;
float mt_prev_battery = 1.0f;

const unsigned char kSpace = 32, kEscape = 27, kControl = 229, kLeft = 244, kRight = 245,
                    kUp = 246, kDown = 247, kMouseLeft = 253, kMouseRight = 254,
                    kMouseMiddle = 255;

// Seconds since the last call that used this clock; 0 when unset or more than a second old.
float TimeStep(int* last) {
  int now = n3d_current_time;
  float step = 0;
  if (*last != 0) {
    int d = now - *last;
    if (d >= 0 && d <= 1000) step = d * 0.001f;
  }
  *last = now != 0 ? now : 1;
  return step;
}

char Held(unsigned char key) { return key_down[key] >= 2; }

char Consume(unsigned char key) {
  if (key_down[key] < 2) return 0;
  key_down[key] = 0;
  return 1;
}

void MarkMoved() {
  last_moved_text_time = n3d_current_time != 0 ? n3d_current_time : 1;
  MainUpdateAfterScrollingOrMuiChange();
}

// The reading position within [-2, total]; a speed driving past an end stops while scrolling.
void ClampPosition() {
  if (cur_book_height > total_book_height) {
    cur_book_height = total_book_height;
    if (config.scrolling && config.scroll_speed > 0) config.scroll_speed = 0;
  }
  if (cur_book_height < -2) {
    cur_book_height = -2;
    if (config.scrolling && config.scroll_speed < 0) config.scroll_speed = 0;
  }
}

// The page turns forward since the last other move: where each started and where it went, so a
// page back retraces them. Forward turns skip the empty lines between pages and a page back
// cannot tell from the lines alone which of two starts that both lead to this page was left.
struct PageTurn {
  double from, to;
  int lines;  // num_formatted_lines when the turn was made
};
std::vector<PageTurn> mt_page_turns;
const size_t kPageTurnsKept = 256;

int NextNonEmpty(int i) {
  return MainNextTextLine(formatted_line_list, num_formatted_lines, i);
}

// Where the top of the page sits on the line axis relative to the eye when scrolling.
double ScrollSwitchOffset() {
  return MainGetFirstLineCentre() / line_ygap;
}

// "g"/"h": 0 becomes 1, else +2; "b"/"n": 2 becomes 1, else -2; kept within 0..30.
char StepMargin(float* m, char up) {
  float old = *m, v;
  if (up)
    v = old == 0 ? 1 : old + 2;
  else
    v = old == 2 ? 1 : old - 2;
  if (!(v >= 0)) v = 0;
  if (v > 30) v = 30;
  *m = v;
  return v != old;
}

void ReloadForLayout(const char* message) {
  MainDisplayBoxMessage(2, (char*)message);
  GameSaveCurrentBookConfigAndCloseBook(1);
  GameLoadConfigAndOpenCurrentBook(1);
}

char InBarStrip(int x, int y) {
  char top = config.bar_mode == 1 || config.bar_mode == 3;
  return MainPointInBarStrip(config.rotation, top, bar_height, x, y);
}

void SeekTo(int x, int y) {
  float f = MainGetBarFraction(config.rotation, x, y);
  if (f < 0) return;
  book_read_perc = f;
  MainUpdateAfterConfigChange();
}

// A press on the shown bar moves within the book and starts a drag; it is not also a page turn.
char PressOnBar() {
  if (!g_cursor_is_on || bar_height <= 0 || !InBarStrip(m_mouse_x, m_mouse_y)) return 0;
  mc_clicking_on_progress_bar = 1;
  key_down[kMouseLeft] = key_down[kMouseRight] = key_down[kMouseMiddle] = 0;
  SeekTo(m_mouse_x, m_mouse_y);
  return 1;
}

}  // namespace

int MainChooseFrameRate(char menus_on, char scrolling, char reduce_power, char box_shown,
                        char progress_shown, char cursor_on, int last_move_time,
                        char bar_always_on, float blend) {
  if (menus_on) return 60;
  if (scrolling) return reduce_power ? 60 : 1000;
  if (!box_shown && !progress_shown && !cursor_on && last_move_time == 0 &&
      (bar_always_on || blend <= 0))
    return reduce_power ? 1 : 60;
  return 1000;
}

void MainUpdateAfterScrollingOrMuiChange() {
  int rate = MainChooseFrameRate(MuiIsOn(), config.scrolling, config.reduce_power, m_render_box != 0,
                                 draw_progress_string, g_cursor_is_on, last_moved_text_time,
                                 config.bar_mode == 2 || config.bar_mode == 3, menu_blend);
  ComMacWinSetMainLoopTimerFrameRate((float)rate);
}

void MainTickBattery(char has_reading, const _ComBatteryInfo* info) {
  show_battery = 0;
  // A negative percentage (no maximum capacity) is no reading, not an empty battery.
  if (!has_reading || !info || info->percent < 0) return;
  float f = info->percent / 100.0f;
  if (f < 0) f = 0;
  if (f > 1) f = 1;
  char draining = info->on_battery_power;
  if (draining) {
    if (f < 0.06f && mt_prev_battery >= 0.06f)
      MainDisplayBoxMessage(5, (char*)"VERY LOW BATTERY");
    else if (f < 0.10f && mt_prev_battery >= 0.10f)
      MainDisplayBoxMessage(5, (char*)"LOW BATTERY");
  }
  mt_prev_battery = f;
  battery_perc = f;
  switch (config.battery_mode) {
    case 0: show_battery = draining; break;
    case 1: show_battery = draining && f <= 0.5f; break;
    case 2: show_battery = draining && f <= 0.25f; break;
    case 3: show_battery = draining && f <= 0.1f; break;
    case 4: show_battery = 1; break;
    default: show_battery = 0; break;
  }
}

char MainTick() {
  float step = TimeStep(&mt_tick_last_time);
  int now = n3d_current_time;
  if (last_moved_text_time != 0 && now - last_moved_text_time > 2000) {
    last_moved_text_time = 0;
    MainUpdateAfterScrollingOrMuiChange();
  }
  float old_blend = menu_blend;
  if (menu_on) {
    menu_blend += 2 * step;
    if (menu_blend > 1) menu_blend = 1;
  } else {
    menu_blend -= step;
    if (menu_blend < 0) menu_blend = 0;
  }
  if ((menu_blend == 0) != (old_blend == 0)) MainUpdateAfterScrollingOrMuiChange();

  MainProcessKeys();

  if (config.scrolling) {
    cur_book_height += step * config.scroll_speed;
    ClampPosition();
  }

  if (m_render_box) {
    m_render_box_alpha -= step;
    if (m_render_box_alpha <= 0) {
      m_render_box = 0;
      m_render_box_alpha = 0;
      MainUpdateAfterScrollingOrMuiChange();
    }
  }

  if (next_battery_check_time == 0 || now - next_battery_check_time >= 0) {
    _ComBatteryInfo info;
    char has = ComBatteryGetInfo(&info);
    MainTickBattery(has, &info);
    next_battery_check_time = now + 5000;
    if (next_battery_check_time == 0) next_battery_check_time = 1;
  }
  return 1;
}

void MoveAdvanceLines(int lines) {
  double old = cur_book_height;
  cur_book_height += lines;
  ClampPosition();
  if (cur_book_height != old) {
    MainSnapDrawLinePosIfNeeded();
    if (cur_book_height == old && (lines < 0 ? -lines : lines) < 200) {
      MoveAdvanceLines(lines * 2);
      return;
    }
  }
  MarkMoved();
}

void MainForgetPageTurns() { mt_page_turns.clear(); }

void MainAdvancePage(int direction) {
  if (config.scrolling || (direction != 1 && direction != -1)) {
    MoveAdvanceLines(direction);
    return;
  }
  if (!formatted_line_list || num_formatted_lines <= 0) {
    MarkMoved();
    return;
  }
  const int n = num_formatted_lines;
  _MainVisibleLines v = MainGetVisibleLines(formatted_line_list, n, cur_book_height, 0);
  if (direction == 1) {
    int next = v.shown ? v.last + 1 : -1;
    if (!v.shown) {
      // Nothing fits (a line taller than the page): on to the next line with text.
      next = 0;
      while (next < n && formatted_line_list[next].y <= cur_book_height) next++;
    }
    if (next < n) {
      double from = cur_book_height;
      cur_book_height = formatted_line_list[NextNonEmpty(next)].y;
      if (cur_book_height != from) {
        if (mt_page_turns.size() >= kPageTurnsKept) mt_page_turns.erase(mt_page_turns.begin());
        mt_page_turns.push_back({from, cur_book_height, n});
      }
    }
  } else {
    const PageTurn* turn = mt_page_turns.empty() ? nullptr : &mt_page_turns.back();
    if (turn && turn->to == cur_book_height && turn->lines == n) {
      cur_book_height = turn->from;
      mt_page_turns.pop_back();
    } else {
      mt_page_turns.clear();
      int first = v.shown ? v.first : 0;
      if (!v.shown)
        while (first < n - 1 && formatted_line_list[first].y < cur_book_height) first++;
      // The page before ends at the last line with text above this one: the empty lines between
      // the two pages are skipped by a page on, so they do not take room here either.
      int last = first - 1;
      while (last > 0 && formatted_line_list[last].empty) last--;
      int top = last > 0 ? MainGetPageTopEndingAt(formatted_line_list, n, last) : 0;
      cur_book_height = formatted_line_list[NextNonEmpty(top)].y;
    }
  }
  MarkMoved();
}

void MainProcessKeys() {
  float step = TimeStep(&mt_keys_last_time);
  if (main_loading_book || quit_loading_book) return;
  char ctrl = Held(kControl);
  int lpp = lines_per_page;
  if (config.scrolling) {
    float accel = step * (ctrl ? 6 : 2);
    if (Held(kDown) && config.scroll_speed < 100) {
      float before = config.scroll_speed;
      config.scroll_speed += accel;
      if (before < 0 && config.scroll_speed >= 0) {
        config.scroll_speed = 0;
        key_down[kDown] = 0;
      }
    }
    if (Held(kUp) && config.scroll_speed > -100) {
      float before = config.scroll_speed;
      config.scroll_speed -= accel;
      if (before > 0 && config.scroll_speed <= 0) {
        config.scroll_speed = 0;
        key_down[kUp] = 0;
      }
    }
    int mult = ctrl ? 3 : 1;
    if (Consume(kLeft)) MoveAdvanceLines(-(lpp / 3) * mult);
    if (Consume(kRight)) MoveAdvanceLines((lpp / 3) * mult);
    if (Consume(kMouseLeft)) MoveAdvanceLines(lpp * mult);
    if (Consume(kMouseMiddle)) MoveAdvanceLines(-lpp * mult);
  } else if (!ctrl) {
    if (Consume(kUp)) MainAdvancePage(-1);
    if (Consume(kLeft)) MainAdvancePage(-1);
    if (Consume(kMouseMiddle)) MainAdvancePage(-1);
    if (Consume(kDown)) MainAdvancePage(1);
    if (Consume(kRight)) MainAdvancePage(1);
    if (Consume(kMouseLeft)) MainAdvancePage(1);
  } else {
    if (Consume(kUp)) MoveAdvanceLines(-3 * lpp);
    if (Consume(kLeft)) MoveAdvanceLines(-3 * lpp);
    if (Consume(kMouseMiddle)) MoveAdvanceLines(-3 * lpp);
    if (Consume(kDown)) MoveAdvanceLines(3 * lpp);
    if (Consume(kRight)) MoveAdvanceLines(3 * lpp);
    if (Consume(kMouseLeft)) MoveAdvanceLines(3 * lpp);
  }
  char space = Consume(kSpace);
  char right_button = Consume(kMouseRight);
  if (space || right_button) {
    double offset = ScrollSwitchOffset();
    if (!config.scrolling) {
      config.scrolling = 1;
      cur_book_height -= offset;
      if (cur_book_height < 0) cur_book_height = 0;
    } else {
      config.scrolling = 0;
      cur_book_height += offset;
      MainSnapDrawLinePosIfNeeded();
    }
    MarkMoved();
  }
}

void MainProcessMouseWheelInput(int delta) {
  if (main_loading_book || quit_loading_book) return;
  char ctrl = Held(kControl);
  if (config.scrolling) {
    float before = config.scroll_speed;
    config.scroll_speed += delta * (ctrl ? -0.18f : -0.06f);
    if ((before > 0 && config.scroll_speed < 0) || (before < 0 && config.scroll_speed > 0))
      config.scroll_speed = 0;
    if (config.scroll_speed > 100) config.scroll_speed = 100;
    if (config.scroll_speed < -100) config.scroll_speed = -100;
  } else {
    int k = lines_per_page / 12;
    if (k < 1) k = 1;
    if (ctrl) k *= 3;
    MoveAdvanceLines(-(k * delta));
  }
}

char MainProcessMousePress(char button, char pressed) {
  // The converter is using the buffers that the menus would free; the press is dropped, not
  // kept for a page turn after the load.
  if (main_loading_book || quit_loading_book) {
    key_down[kMouseLeft] = key_down[kMouseRight] = key_down[kMouseMiddle] = 0;
    return 0;
  }
  if (!pressed) {
    mc_clicking_on_progress_bar = 0;
    return 0;
  }
  if (mc_clicking_on_progress_bar) return 1;
  if (menu_buttons[0].hovered) {
    menu_buttons[0].hovered = 0;
    key_down[kMouseLeft] = key_down[kMouseRight] = key_down[kMouseMiddle] = 0;
    if (button == 0 && menu_buttons[0].callback) menu_buttons[0].callback();
    return 1;
  }
  PressOnBar();
  return 0;
}

void MainProcessMouseDoubleClick(char button) {
  (void)button;
  if (main_loading_book || quit_loading_book) return;
  // The second press of a double click comes here alone: on the bar it seeks as the first did.
  if (PressOnBar()) return;
  // Elsewhere it counts as one more left press.
  key_down[kMouseLeft] = 2;
  MainProcessKeys();
  key_down[kMouseLeft] = 0;
}

void MainProcessMouseMove(int x, int y) {
  if (main_loading_book || quit_loading_book) return;
  if (x >= 0 && y >= 0) {
    m_mouse_x = x;
    m_mouse_y = y;
  }
  if (mc_clicking_on_progress_bar) {
    SeekTo(m_mouse_x, m_mouse_y);
    GameResetTurnOffCursorTime();
    return;
  }
  float ux, uy;
  MainUnrotatePoint(config.rotation, (float)x, (float)y, &ux, &uy);
  _MainButton& b = menu_buttons[0];
  float by = MainGetMenuButtonY();
  b.hovered = (x >= 0 || y >= 0) && ux >= b.x && ux < b.x + 48 && uy >= by && uy < by + 20;
}

void MainProcessCharKey(char c) {
  if (main_loading_book || quit_loading_book) return;
  int now = n3d_current_time;
  int since = now - mt_last_char_time;
  char throttled = mt_char_time_set && since >= 0 && since < 50;
  mt_last_char_time = now;
  mt_char_time_set = 1;
  if (c >= '1' && c <= '4') {
    int r = c - '1';
    if (r == config.rotation) return;
    static const char* const kMsgs[] = {
        "Setting Rotation to 0 Degrees", "Setting Rotation to 90 Degrees",
        "Setting Rotation to 180 Degrees", "Setting Rotation to 270 Degrees"};
    config.rotation = r;
    MainCalcBarHeight();
    m_rotating_screen = 1;
    MainDisplayBoxMessage(2, (char*)kMsgs[r]);
    GameSaveCurrentBookConfigAndCloseBook(1);
    PaperReload();
    GameLoadConfigAndOpenCurrentBook(1);
    m_rotating_screen = 0;
    return;
  }
  char msg[64];
  switch (c) {
    case '+':
    case '=':
      text_size_mult = ConfigKeepInRange(&_Config::text_size, text_size_mult / 0.97f);
      ReloadForLayout("Increasing Font Size");
      return;
    case '-':
      text_size_mult = ConfigKeepInRange(&_Config::text_size, text_size_mult * 0.97f);
      ReloadForLayout("Reducing Font Size");
      return;
    case 'a':
      font_orig_scale_x = ConfigKeepInRange(&_Config::text_width, font_orig_scale_x / 0.94f);
      ReloadForLayout("Increasing Font Width");
      return;
    case 'z':
      font_orig_scale_x = ConfigKeepInRange(&_Config::text_width, font_orig_scale_x * 0.94f);
      ReloadForLayout("Reducing Font Width");
      return;
    case 's':
      font_orig_scale_y = ConfigKeepInRange(&_Config::text_height, font_orig_scale_y / 0.94f);
      ReloadForLayout("Increasing Font Height");
      return;
    case 'x':
      font_orig_scale_y = ConfigKeepInRange(&_Config::text_height, font_orig_scale_y * 0.94f);
      ReloadForLayout("Reducing Font Height");
      return;
    case 'd':
      line_orig_ygap = ConfigKeepInRange(&_Config::line_spacing, line_orig_ygap / 0.96f);
      ReloadForLayout("Increasing Line Spacing");
      return;
    case 'c':
      line_orig_ygap = ConfigKeepInRange(&_Config::line_spacing, line_orig_ygap * 0.96f);
      ReloadForLayout("Reducing Line Spacing");
      return;
    case 'g':
    case 'b':
      if (StepMargin(MainSideMarginSetting(), c == 'g'))
        ReloadForLayout(c == 'g' ? "Increasing Side Margin" : "Reducing Side Margin");
      return;
    case 'h':
    case 'n':
      if (config.scrolling) {
        MainDisplayBoxMessage(1, (char*)"Not applicable when scrolling");
        return;
      }
      if (StepMargin(MainTopMarginSetting(), c == 'h')) {
        MainDisplayBoxMessage(1, (char*)(c == 'h' ? "Increasing Top/Bottom Margin"
                                                  : "Reducing Top/Bottom Margin"));
        MainUpdateAfterConfigChange();
      }
      return;
    case 'f':
    case 'v': {
      float old = config.paragraph_spacing;
      float v = ConfigKeepInRange(&_Config::paragraph_spacing, old + (c == 'f' ? 0.2f : -0.2f));
      config.paragraph_spacing = v;
      if (v != old) {
        MainDisplayBoxMessage(1, (char*)(c == 'f' ? "Increasing Paragraph Spacing"
                                                  : "Reducing Paragraph Spacing"));
        MainUpdateAfterConfigChange();
      }
      return;
    }
    case 'p':
    case 'o':
    case '0':
    case '9': {
      if (throttled) return;
      char background = c == 'p' || c == 'o';
      float* v = background ? &config.background_brightness : &config.text_brightness;
      *v += (c == 'p' || c == '0') ? 0.01f : -0.01f;
      if (!(*v >= 0)) *v = 0;  // also a NaN
      if (*v > 1) *v = 1;
      MainSetBackgroundAndFontColours();
      snprintf(msg, sizeof(msg), background ? "Background: %d" : "Text Transparency: %d",
               (int)(*v * 100));
      MainDisplayBoxMessage(1, msg);
      return;
    }
    default:
      return;
  }
}

void MainMenuOptionsCB() { GameEnterMenus(screen_main, 1); }

void MainMenuOpenCB() {
  from_main_screen = 2;
  GameEnterMenus(screen_load_file, 1);
}

void MainMenuAboutCB() {
  from_main_screen = 2;
  GameEnterMenus(screen_load_file, 1);
}

void MainMenuExitCB() { ComWinCloseProgram(); }
