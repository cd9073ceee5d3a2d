// SDL's events turned into the shell's input calls, the pumps, and the resize that is applied
// from the top-level loop only.
#include "ComMacEvents.h"

#include <SDL.h>

#include <cstring>

#include "ComDebug.h"
#include "ComMacSignals.h"
#include "ComMacText.h"
#include "ComMacWin.h"

char cme_quit_main_loop = 0;

static char cme_handler_installed = 0;
static char cme_resize_pending = 0;
static int cme_resize_width = 0, cme_resize_height = 0;
// The scancode of a printable key whose character is still to come as text input.
static int cme_awaiting_text_scancode = -1;
// The program code each scancode sent down, so its key-up releases the same code.
static unsigned char cme_scancode_code[SDL_NUM_SCANCODES];

void ComMacEventsStopLoop() { cme_quit_main_loop = 1; }

// The longest wait for events: a termination signal is noticed within it.
static const unsigned kSignalCheckMs = 100;

// The platform's quit command, from SDL or from a termination signal; the application may take it.
static void QuitCommand() {
  if (cmw_misc_cb.menu_command && cmw_misc_cb.menu_command(0x71756974ul /* 'quit' */)) {
    ComMacWinGotEvent(0);
    return;
  }
  ComMacEventsStopLoop();
  ComMacWinGotEvent(0);
}

// A termination signal that came stops the loop, once.
static void QuitOnSignal() {
  static char noticed = 0;
  const int sig = ComMacSignalsReceived();
  if (!sig || noticed) return;
  noticed = 1;
  DebugError("ComMacEventsRunLoop", "Signal %d - quitting", sig);
  // Unlike the window's close, the application cannot refuse it.
  ComMacEventsStopLoop();
  ComMacWinGotEvent(0);
}

char ComMacEventsSetupHandler() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    DebugError("ComMacEventsSetupHandler", "InstallApplicationEventHandler failed [%d]", -1);
    return 0;
  }
  SDL_StartTextInput();
  SDL_memset(cme_scancode_code, 0, sizeof(cme_scancode_code));
  cme_awaiting_text_scancode = -1;
  cme_handler_installed = 1;
  return 1;
}

static bool IsModifierKey(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_LSHIFT: case SDLK_RSHIFT: case SDLK_LCTRL: case SDLK_RCTRL: case SDLK_LALT:
    case SDLK_RALT: case SDLK_LGUI: case SDLK_RGUI: case SDLK_CAPSLOCK: case SDLK_NUMLOCKCLEAR:
    case SDLK_MODE:
      return true;
    default:
      return false;
  }
}

// The keys whose code comes from the key event itself (all others type a character).
static bool IsSpecialKey(SDL_Keycode sym) {
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return true;
  switch (sym) {
    case SDLK_BACKSPACE: case SDLK_DELETE: case SDLK_HELP: case SDLK_INSERT: case SDLK_PAGEUP:
    case SDLK_PAGEDOWN: case SDLK_LEFT: case SDLK_RIGHT: case SDLK_UP: case SDLK_DOWN:
    case SDLK_HOME: case SDLK_END: case SDLK_RETURN: case SDLK_RETURN2: case SDLK_KP_ENTER:
    case SDLK_TAB: case SDLK_ESCAPE:
      return true;
    default:
      return false;
  }
}

static void HandleText(const char* text) {
  const unsigned char* p = (const unsigned char*)text;
  size_t left = strlen(text);
  char first = 1;
  while (left > 0) {
    unsigned int cp;
    int n = ComMacTextUtf8Decode(p, left, &cp);
    if (n == 0) n = 1, cp = 0;  // a byte that is not UTF-8 types nothing
    p += n;
    left -= (size_t)n;
    int c = ComMacTextLatin1Byte(cp);
    if (c <= 0) continue;
    if (c >= 128) {
      ComMacWinHighCharTyped((unsigned char)c);
    } else {
      unsigned char code = ComMacWinConvertKey(0, (char)c, SDL_GetModState());
      if (!code) continue;
      if (first && cme_awaiting_text_scancode >= 0) {
        if (cme_scancode_code[cme_awaiting_text_scancode] && cme_scancode_code[cme_awaiting_text_scancode] != code)
          ComMacWinKeyUp(cme_scancode_code[cme_awaiting_text_scancode]);
        cme_scancode_code[cme_awaiting_text_scancode] = code;
        ComMacWinKeyDown(code);
      } else {
        // Text without a key of its own (an input method): a press and a release.
        ComMacWinKeyDown(code);
        ComMacWinKeyUp(code);
      }
    }
    first = 0;
  }
  cme_awaiting_text_scancode = -1;
}

static void HandleKey(const SDL_KeyboardEvent& k, char down) {
  SDL_Keycode sym = k.keysym.sym;
  int sc = k.keysym.scancode;
  if (sc < 0 || sc >= SDL_NUM_SCANCODES) return;
  if (IsModifierKey(sym)) {
    ComMacWinKeyModifiersChanged(SDL_GetModState());
    ComMacWinGotEvent(2);
    return;
  }
  if (!down) {
    unsigned char code = cme_scancode_code[sc];
    if (cme_awaiting_text_scancode == sc) cme_awaiting_text_scancode = -1;
    if (!code) return;
    cme_scancode_code[sc] = 0;
    ComMacWinKeyUp(code);
    ComMacWinGotEvent(0);
    return;
  }
  char character = 0;
  if ((k.keysym.mod & KMOD_CTRL) && sym >= SDLK_a && sym <= SDLK_z) character = (char)(sym - SDLK_a + 1);
  if (IsSpecialKey(sym) || character) {
    unsigned char code = ComMacWinConvertKey((unsigned long)sym, character, k.keysym.mod);
    if (!code) return;
    cme_scancode_code[sc] = code;
    ComMacWinKeyDown(code);
    ComMacWinGotEvent(0);
    return;
  }
  // A printable key: its character arrives as text input right after this event.
  cme_awaiting_text_scancode = sc;
}

char ComMacEventsHandler(SDL_Event* e) {
  if (!e) return 0;
  switch (e->type) {
    case SDL_QUIT:
      QuitCommand();
      return 1;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(e->key, e->type == SDL_KEYDOWN);
      return 1;
    case SDL_TEXTINPUT:
      HandleText(e->text.text);
      ComMacWinGotEvent(0);
      return 1;
    case SDL_TEXTEDITING:
    case SDL_KEYMAPCHANGED:
      return 1;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (e->button.which == SDL_TOUCH_MOUSEID) return 1;
      int button = (int)e->button.button;
      // SDL numbers left, middle, right 1, 2, 3; the program's are left 0, right 1, middle 2.
      if (button == SDL_BUTTON_LEFT) button = (SDL_GetModState() & KMOD_CTRL) ? 1 : 0;
      else if (button == SDL_BUTTON_RIGHT) button = 1;
      else if (button == SDL_BUTTON_MIDDLE) button = 2;
      else button = button - 1;
      ComMacWinMousePress((char)button, e->type == SDL_MOUSEBUTTONDOWN, e->button.clicks);
      ComMacWinGotEvent(0);
      return 1;
    }
    case SDL_MOUSEMOTION:
      // SDL gives window positions; the shell's move takes screen positions in a window.
      if (run_windowed)
        ComMacWinMouseMove(e->motion.x + cmw_corner_x, e->motion.y + cmw_corner_y);
      else
        ComMacWinMouseMove(e->motion.x, e->motion.y);
      ComMacWinGotEvent(1);
      return 1;
    case SDL_MOUSEWHEEL: {
      int delta = e->wheel.y;
      if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
      if (delta) ComMacWinMouseWheelInput(delta);
      ComMacWinGotEvent(0);
      return 1;
    }
    case SDL_WINDOWEVENT:
      switch (e->window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (main_window) ComMacWinActiveStateChanged(1);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (main_window) ComMacWinActiveStateChanged(0);
          break;
        case SDL_WINDOWEVENT_MOVED:
          ComMacWinUpdateWindowCorner();
          break;
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (main_window && run_windowed) {
            // A resize inside a nested pump (a book being loaded) would free the book's lists
            // while they are filled: only the latest size is kept here.
            int w = e->window.data1, h = e->window.data2;
            if (w == WIDTH && h == HEIGHT && !cme_resize_pending) break;
            cme_resize_pending = 1;
            cme_resize_width = w;
            cme_resize_height = h;
          }
          break;
        case SDL_WINDOWEVENT_CLOSE:
          ComMacEventsStopLoop();
          ComMacWinGotEvent(0);
          break;
        default:
          break;
      }
      return 1;
    case SDL_DISPLAYEVENT:
      return 1;
    default:
      return 0;
  }
}

void ComMacEventsHandleEvent(SDL_Event* e) {
  if (!e) return;
  if (e->type >= SDL_USEREVENT)
    DebugError("ComMacEventsHandleEvent", "Unknown Event [%d:%d] [0x%x:0x%x]", (int)e->type,
               (int)e->user.code, (unsigned)e->type, (unsigned)e->user.code);
}

static void Dispatch(SDL_Event* e) {
  if (!ComMacEventsHandler(e)) ComMacEventsHandleEvent(e);
}

char ComMacEventsRunLoop() {
  QuitOnSignal();
  if (cme_quit_main_loop) return 0;
  SDL_Event e;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&e)) Dispatch(&e);
  return 1;
}

char ComMacEventsRunLoopWithWait(unsigned ticks) {
  QuitOnSignal();
  if (cme_quit_main_loop) return 0;
  SDL_Event e;
  int ms = (int)((unsigned long long)ticks * 1000ull / 60ull);
  if (ms > (int)kSignalCheckMs) ms = (int)kSignalCheckMs;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_WaitEventTimeout(&e, ms)) Dispatch(&e);
  QuitOnSignal();
  return 1;
}

char ComMacEventsWaitAndDispatch(unsigned ms) {
  QuitOnSignal();
  if (cme_quit_main_loop) return 0;
  // The caller's loop waits again for what is left of its interval.
  if (ms > kSignalCheckMs) ms = kSignalCheckMs;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (ms) SDL_Delay(ms);
    return 1;
  }
  SDL_Event e;
  int got = ms ? SDL_WaitEventTimeout(&e, (int)(ms > 0x7FFFFFFF ? 0x7FFFFFFF : ms)) : SDL_PollEvent(&e);
  // Bounded so that a flood of motion events cannot hold the loop.
  for (int n = 0; got && n < 512; n++) {
    Dispatch(&e);
    got = SDL_PollEvent(&e);
  }
  QuitOnSignal();
  return cme_quit_main_loop ? 0 : 1;
}

char ComWinRunMessagesOnlyLoop(int count) {
  for (int i = 0; i < count; i++) {
    if (!ComMacEventsRunLoop()) {
      ComMacEventsStopLoop();
      return 0;
    }
  }
  if (cme_quit_main_loop) return 0;
  return 1;
}

char ComWinMessagesOnlyLoop() { return ComMacEventsRunLoop(); }

char ComMacEventsIsResizePending() { return cme_resize_pending; }

char ComMacEventsApplyPendingResize() {
  if (!cme_resize_pending) return 0;
  cme_resize_pending = 0;
  ComMacWinResizeCB(cme_resize_width, cme_resize_height);
  return 1;
}
