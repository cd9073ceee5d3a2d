// Recording stand-ins for the reading view, so the book modules can be tested without a window.
// Weak, so that a program linking the real reading view takes the real definitions.
#include "support_MainFakes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ComGlTexture.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainCleanup.h"
#include "MainLoad.h"
#include "Slots.h"

#define FAKE __attribute__((weak))

MainFakeCalls main_fake_calls;

FAKE char pdf_filename[1024];
FAKE char text_filename[1024];
FAKE char book_name[512];
FAKE char* buffer;
FAKE char* buffer2;
FAKE char main_loading_book;
FAKE char quit_loading_book;
FAKE char had_problem_loading_book;
FAKE char load_control_force_reconvert;
FAKE float max_draw_width;
FAKE double cur_book_height;
FAKE double total_book_height;
FAKE float book_read_perc;
FAKE _Line* formatted_line_list;
FAKE int num_formatted_lines;
FAKE char display_str[512];

FAKE char m_render_box;
FAKE float m_render_box_alpha;
FAKE char m_render_box_str[128];
FAKE char draw_progress_string;
FAKE float display_perc;
FAKE _ComGlDxTexture misc_tex;
FAKE char use_command_line;

// The fonts (a test that measures text sets book_font) and the working copies of the settings
// that the settings record updates.
FAKE _ComFreeTypeFont* mui_font;
FAKE _ComFreeTypeFont* book_font;
FAKE float text_size_mult;
FAKE float font_orig_scale_x;
FAKE float font_orig_scale_y;
FAKE float line_orig_ygap;
FAKE char mc_font_name[256];

void MainFakesReset() {
  main_fake_calls = MainFakeCalls();
  pdf_filename[0] = 0;
  text_filename[0] = 0;
  book_name[0] = 0;
  main_loading_book = 0;
  quit_loading_book = 0;
  had_problem_loading_book = 0;
  load_control_force_reconvert = 0;
  max_draw_width = 0;
  cur_book_height = 0;
  total_book_height = 0;
  book_read_perc = 0;
  display_str[0] = 0;
  m_render_box = 0;
  m_render_box_alpha = 0;
  m_render_box_str[0] = 0;
  draw_progress_string = 0;
  display_perc = 0;
  use_command_line = 1;
  text_size_mult = 0;
  font_orig_scale_x = 0;
  font_orig_scale_y = 0;
  line_orig_ygap = 0;
  mc_font_name[0] = 0;
}

void MainFakesAllocBuffers() {
  MainFakesFreeBuffers();
  buffer = static_cast<char*>(calloc(MAIN_BUFFER_SIZE, 1));
  buffer2 = static_cast<char*>(calloc(MAIN_BUFFER_SIZE, 1));
}

void MainFakesFreeBuffers() {
  free(buffer);
  free(buffer2);
  buffer = nullptr;
  buffer2 = nullptr;
}

FAKE char MainDisplayProgressMessage(char* text, float fraction) {
  if (text) {
    size_t n = strnlen(text, sizeof(display_str) - 1);
    memcpy(display_str, text, n);
    display_str[n] = 0;
  }
  main_fake_calls.progress_calls++;
  main_fake_calls.fractions.push_back(fraction);
  main_fake_calls.texts.push_back(display_str);
  if (main_fake_calls.on_progress) main_fake_calls.on_progress();
  if (main_fake_calls.quit_on_progress_call > 0 &&
      main_fake_calls.progress_calls == main_fake_calls.quit_on_progress_call) {
    // What Escape does in the real progress box.
    quit_loading_book = 1;
    had_problem_loading_book = 0;
  }
  return 1;
}

FAKE void MainTurnOffBoxMessage() { main_fake_calls.turn_off_calls++; }

FAKE char MainCharIsWhitespace(unsigned char c, char nbsp_too) {
  return c == 32 || c == 9 || (nbsp_too && c == 160);
}

FAKE char MainCharIsAlphaNumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

FAKE char MainStringIsWhitespace(unsigned char* s) {
  if (!s) return 1;
  for (; *s; s++)
    if (*s != 32 && *s != 9 && *s != 160) return 0;
  return 1;
}

FAKE char MainStringIsAlphaNumeric(unsigned char* s) {
  if (!s) return 0;
  for (; *s; s++)
    if (MainCharIsAlphaNumeric(*s)) return 1;
  return 0;
}

FAKE char MainStringIsNumeric(unsigned char* s) {
  if (!s) return 0;
  for (; *s; s++)
    if (*s < '0' || *s > '9') return 0;
  return 1;
}

// The settings loader's calls into the converted-file cleanup and the slots screen.
FAKE void MainDoCleanupCB(char code) {
  main_fake_calls.cleanup_calls++;
  main_fake_calls.last_cleanup_code = code;
}

FAKE char SlotsReadSlot(int) {
  main_fake_calls.slot_reads++;
  return main_fake_calls.slot_read_result;
}

FAKE void SlotsUpdateFromLoadedTempConfig() { main_fake_calls.slot_applies++; }

static char FakeFolder(char* dst, int len, const char* sub) {
  if (!dst || len < 1) return 0;
  dst[0] = 0;
  if (main_fake_calls.data_dir.empty()) return 0;
  int n = snprintf(dst, static_cast<size_t>(len), "%s%s", main_fake_calls.data_dir.c_str(), sub);
  if (n < 0 || n >= len) {
    dst[0] = 0;
    return 0;
  }
  return 1;
}

FAKE char GameGetDataDir(char* dst, int len) { return FakeFolder(dst, len, ""); }
FAKE char GameGetSettingsDir(char* dst, int len) { return FakeFolder(dst, len, "/Settings"); }

// The rest of the loading side of the reading view: inert, for programs that link a module
// calling them.
FAKE signed char MainSetupFilename(char*, char* error_text) {
  if (error_text) error_text[0] = 0;
  return 0;
}
FAKE char MainInit() { return 0; }
FAKE void MainExit() {}
FAKE void MainFreeLineList() {}
FAKE void MainQuitLoadingBook() {}
FAKE void MainResetLastFileLoadedConfigEntry() {}
FAKE void MainDisplayBoxMessage(char kind, char*) { m_render_box = kind; }
FAKE void MainCalcTotalBookHeight() {}
FAKE void MainSnapDrawLinePosIfNeeded() {}
FAKE void MainUpdateDrawLinePosFromBookReadPerc() {}
FAKE void MainUpdateBookReadPerc() {}
FAKE char MainLoadGraphics() { return 0; }
FAKE void MainDestroyGraphics() {}
