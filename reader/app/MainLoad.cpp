// The reading view: naming a book and its cache file, loading it through the book conversion and
// layout under a message or progress box, placing the display lines on the line axis, and the
// character tests that the conversion uses.
#include "MainLoad.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "BookCache.h"
#include "BookFormat.h"
#include "BookPageBreaks.h"
#include "BookParagraphs.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlMiscModes.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "Config.h"
#include "GameFolders.h"
#include "MainGeometry.h"
#include "MainRender.h"
#include "MainTick.h"

char pdf_filename[1024];
char text_filename[1024];
char book_name[512];
char* buffer;
char* buffer2;
char main_loading_book;
char quit_loading_book;
char had_problem_loading_book;
char load_control_force_reconvert;
float max_draw_width = 576;
double cur_book_height;
double total_book_height = 1;
float book_read_perc;

_Line* formatted_line_list;
int num_formatted_lines;

char display_str[512];

char m_render_box;
float m_render_box_alpha;
char m_render_box_str[128];
char draw_progress_string;
float display_perc = -1;
_ComGlDxTexture misc_tex;
char use_command_line = 1;

namespace {

// The log's own name in the data folder: a book of that name must not overwrite it.
const char* const kLogFileName = "LogFile.txt";
// The progress display is drawn at most this often; events are pumped on every call. Where
// drawing is slow (software OpenGL on a busy machine) the pause after a drawing is at least this
// many times the drawing's own time, so the display never takes more than a fifth of the work.
const unsigned kProgressRenderIntervalMs = 100;
const unsigned kProgressWorkPerDrawing = 4;
const unsigned kProgressPauseMaxMs = 1000;  // the display still moves on a very slow machine

unsigned ml_last_progress_render;
unsigned ml_progress_pause = kProgressRenderIntervalMs;
char ml_progress_rendered;

// Copies src into dst (size bytes) through a temporary, so src may overlap dst; 0 when it does
// not fit.
char CopyPath(char* dst, size_t size, const char* src, size_t len) {
  if (len >= size) return 0;
  char tmp[1024];
  if (len >= sizeof(tmp)) return 0;
  memcpy(tmp, src, len);
  tmp[len] = 0;
  memcpy(dst, tmp, len + 1);
  return 1;
}

char HasBookExtension(const char* path) {
  size_t len = strlen(path);
  if (len < 5) return 0;
  static const char* const kExts[] = {".pdf", ".htm", ".html", ".opf", ".txt"};
  for (const char* ext : kExts) {
    size_t n = strlen(ext);
    if (len >= n && strcasecmp(path + len - n, ext) == 0) return 1;
  }
  return 0;
}

void FreeBuffers() {
  free(buffer);
  free(buffer2);
  buffer = nullptr;
  buffer2 = nullptr;
}

// The failure of a step after the conversion: the load ends, its partial state stays until the
// next MainExit.
char LoadFailed() {
  main_loading_book = 0;
  return 0;
}

// Between the length pass and the reading pass: every paragraph's text, its length + 1 bytes.
char AllocateParagraphTexts() {
  if (num_lines > 0 && !line_list) return 0;
  for (unsigned i = 0; i < (unsigned)num_lines; i++) {
    uint64_t size = (uint64_t)line_list[i].length + 1;
    char* text = size <= 0x7fffffffu ? static_cast<char*>(malloc((size_t)size)) : nullptr;
    if (!text) {
      DebugError("CalcLineLengths", "No memory for string %u (%u)", i, (unsigned)size);
      return 0;
    }
    text[0] = 0;
    line_list[i].text = text;
  }
  return 1;
}

// The page geometry for the formatter, then the display lines.
char FormatLinesForThePage() {
  // The margin is held to 0..30 percent here too (a NaN counts as none), so the page never
  // comes out narrower than 40 percent of the screen.
  char turned = MainGetRotation(config.rotation).turned;
  float margin = *MainSideMarginSetting();
  if (!(margin >= 0)) margin = 0;
  if (margin > 30) margin = 30;
  float page_width = turned ? 480.0f : 640.0f;
  side_margin = margin * page_width / 100;
  max_draw_width = page_width - 2 * side_margin;
  MainCalcBarHeight();
  FormatLinesRelease();
  return FormatLines();
}

}  // namespace

void MainSetPathMessage(char* error_text, const char* format, const char* arg) {
  if (!error_text) return;
  // The Load screen's message buffer is 512 bytes; a long path is shortened in the message only,
  // from its front, so that its end (the file name) is still told.
  int n = snprintf(error_text, 512, format, arg);
  if (n < 512) return;
  const size_t over = (size_t)n - 511 + 3;  // what must go, and room for the "..."
  if (over >= strlen(arg)) {
    error_text[511] = 0;
    return;
  }
  char shortened[512];
  snprintf(shortened, sizeof(shortened), "...%s", arg + over);
  snprintf(error_text, 512, format, shortened);
}

signed char MainSetupFilename(char* path, char* error_text) {
  if (error_text) error_text[0] = 0;
  char remembered = 0;
  if (path && path[0] && use_command_line) {
    size_t len = strnlen(path, 1024);
    if (len >= 1024) {
      // pdf_filename holds 1023 characters and its terminator.
      MainSetPathMessage(error_text, "%s", "File name is too big");
      return 0;
    }
    const char* from = path;
    if (path[0] == '"' && len > 2) {
      from = path + 1;
      len -= 2;
    }
    CopyPath(pdf_filename, sizeof(pdf_filename), from, len);
  } else {
    ConfigLoad();
    size_t len = strnlen(config.last_book, sizeof(config.last_book) - 1);
    CopyPath(pdf_filename, sizeof(pdf_filename), config.last_book, len);
    remembered = 1;
  }
  if (!pdf_filename[0]) return 0;
  // A remembered book that cannot be opened is forgotten; its reason is given all the same.
  if (!HasBookExtension(pdf_filename)) {
    MainSetPathMessage(error_text, "File type not supported (%s)", pdf_filename);
    if (remembered) MainResetLastFileLoadedConfigEntry();
    return 0;
  }
  if (!ComFileExists(pdf_filename)) {
    MainSetPathMessage(error_text, "Cannot access file (%s)", pdf_filename);
    if (remembered) MainResetLastFileLoadedConfigEntry();
    return 0;
  }
  void* f = ComFileOpenForReading(pdf_filename);
  if (!f) {
    MainSetPathMessage(error_text, "Could not open file (%s)", pdf_filename);
    if (remembered) MainResetLastFileLoadedConfigEntry();
    return -1;
  }
  ComFileClose(f);

  // The book's name: the file name without its folder and its last extension.
  const char* name = pdf_filename;
  for (const char* p = pdf_filename; *p; p++)
    if (*p == '/' || *p == '\\') name = p + 1;
  size_t name_len = strlen(name);
  const char* dot = strrchr(name, '.');
  if (dot && dot != name) name_len = (size_t)(dot - name);
  if (name_len >= sizeof(book_name)) name_len = sizeof(book_name) - 1;
  memmove(book_name, name, name_len);
  book_name[name_len] = 0;

  char dir[1024];
  if (!GameGetDataDir(dir, sizeof(dir))) snprintf(dir, sizeof(dir), ".");
  const char* suffix = ".txt";
  char file_part[600];
  snprintf(file_part, sizeof(file_part), "%s.txt", book_name);
  if (strcasecmp(file_part, kLogFileName) == 0) suffix = " (book).txt";
  int n = snprintf(text_filename, sizeof(text_filename), "%s/%s%s", dir, book_name, suffix);
  if (n < 0 || (size_t)n >= sizeof(text_filename)) {
    DebugError("MainSetupFilename", "Cache file name too long for <%s>", book_name);
    text_filename[0] = 0;
    MainSetPathMessage(error_text, "Could not create temporary file (%s)", book_name);
    return 0;
  }
  if (ComFileExists(text_filename)) return 1;
  // Prove the folder writable before a long conversion starts, with a temporary of its own: the
  // cache's own name may be written by another reader at this moment.
  char probe[1100];
  if (!ComFileCreateTemporary(text_filename, probe, sizeof(probe))) {
    MainSetPathMessage(error_text, "Could not create temporary file (%s)", text_filename);
    return 0;
  }
  ComFileReleaseTemporary(probe, nullptr);
  return 1;
}

char MainInit() {
  quit_loading_book = 0;
  main_loading_book = 1;
  had_problem_loading_book = 1;
  ml_progress_rendered = 0;
  FreeBuffers();
  buffer = static_cast<char*>(malloc(MAIN_BUFFER_SIZE));
  if (!buffer) {
    DebugError("MainInit", "No memory for buffer (size: %u)", (unsigned)MAIN_BUFFER_SIZE);
    return LoadFailed();
  }
  buffer2 = static_cast<char*>(malloc(MAIN_BUFFER_SIZE));
  if (!buffer2) {
    DebugError("MainInit", "No memory for buffer2 (size: %u)", (unsigned)MAIN_BUFFER_SIZE);
    return LoadFailed();
  }
  buffer[0] = 0;
  buffer2[0] = 0;
  if (!m_render_box) MainDisplayBoxMessage(2, (char*)"Loading eBook");

  // The load's steps in order; after each one a cancel ends the load. A failed conversion ends it
  // as a cancel does (what it made is deleted); a later step that fails keeps its partial state
  // until the next MainExit.
  static const struct {
    char (*run)();
    char quit_on_failure;
  } kLoadSteps[] = {
      {CreateTextFileIfNeeded, 1},
      {AnalysePageBreaks, 0},
      {GetMaxLineWidthInTextFile, 0},
      {CountNumLinesInTextFile, 0},
      {CalcLineLengths, 0},
      {AllocateParagraphTexts, 0},
      {ReadLinesIntoMemory, 0},
      {FormatLinesForThePage, 0},
  };
  for (const auto& step : kLoadSteps) {
    const char ok = step.run();
    if (!ok && !step.quit_on_failure) return LoadFailed();
    if (!ok || quit_loading_book) {
      MainQuitLoadingBook();
      return 0;
    }
  }
  MainCalcTotalBookHeight();

  FreeBuffers();
  MainFreeLineList();
  PageBreaksRelease();

  cur_book_height = book_read_perc * total_book_height;
  MainSnapDrawLinePosIfNeeded();
  ComGlMiscSettleFrameRate2(1, nullptr);

  main_loading_book = 0;
  quit_loading_book = 0;
  had_problem_loading_book = 0;
  load_control_force_reconvert = 0;
  size_t cut = 0;
  for (size_t i = 0; pdf_filename[i]; i++)
    if (pdf_filename[i] == '/' || pdf_filename[i] == '\\') cut = i;
  if (cut >= sizeof(config.last_folder)) cut = 0;
  memcpy(config.last_folder, pdf_filename, cut);
  config.last_folder[cut] = 0;
  return 1;
}

void MainExit() {
  FreeBuffers();
  MainFreeLineList();
  num_lines = 0;
  FormatLinesRelease();
  PageBreaksRelease();
  first_line_rendered = 0;
  last_line_rendered = 0;
  MainForgetPageTurns();
}

void MainFreeLineList() {
  if (!line_list) return;
  for (unsigned i = 0; i < (unsigned)num_lines; i++) free(line_list[i].text);
  free(line_list);
  line_list = nullptr;
}

void MainQuitLoadingBook() {
  MainExit();
  // Only a text file that this load converted goes: never a cache it found, never the book.
  if (CreateTextFileMadeByLastLoad() && text_filename[0] && strcmp(text_filename, pdf_filename) != 0 &&
      ComFileExists(text_filename))
    ComFileDelete(text_filename);
  main_loading_book = 0;
  m_render_box = 0;
  m_render_box_alpha = 0;
  draw_progress_string = 0;
  MainUpdateAfterScrollingOrMuiChange();
}

void MainResetLastFileLoadedConfigEntry() {
  config.last_book[0] = 0;
  pdf_filename[0] = 0;
  // The name goes with the path, or the next save would file a position under the refused book.
  book_name[0] = 0;
  ConfigSave(0);
}

void MainDisplayBoxMessage(char kind, char* text) {
  if (text) snprintf(m_render_box_str, sizeof(m_render_box_str), "%s", text);
  if (kind == 0) {
    m_render_box = 0;
    m_render_box_alpha = 0;
    MainUpdateAfterScrollingOrMuiChange();
    return;
  }
  // The kind and life are set before the first frames, so those frames show the box.
  m_render_box = kind;
  if (kind == 1)
    m_render_box_alpha = 2.0f;
  else if (kind == 5)
    m_render_box_alpha = 5.0f;
  else if (kind == 2)
    m_render_box_alpha = 1.5f;
  else
    m_render_box_alpha = 1.0f;
  if (kind >= 2)
    for (int i = 0; i < 4; i++) ComWinTickAndRender(0, 1, 1, 0);
  MainUpdateAfterScrollingOrMuiChange();
}

char MainDisplayProgressMessage(char* text, float fraction) {
  display_perc = fraction;
  if (text) snprintf(display_str, sizeof(display_str), "%s", text);
  draw_progress_string = 1;
  unsigned now = ComWinGetTickCount();
  if (!ml_progress_rendered || (unsigned)(now - ml_last_progress_render) >= ml_progress_pause) {
    ComWinTickAndRender(0, 1, 1, 0);
    ComWinTickAndRender(0, 1, 1, 0);
    ml_last_progress_render = ComWinGetTickCount();
    ml_progress_rendered = 1;
    unsigned drawing = ml_last_progress_render - now;
    ml_progress_pause = drawing > kProgressRenderIntervalMs / kProgressWorkPerDrawing
                            ? drawing * kProgressWorkPerDrawing
                            : kProgressRenderIntervalMs;
    if (ml_progress_pause > kProgressPauseMaxMs) ml_progress_pause = kProgressPauseMaxMs;
  }
  // At most two pending events, one at a time: a quick Escape tap queued during a slow page
  // brings its press and its release together, and the release would clear the press.
  char still_running = 1, escape = 0;
  for (int i = 0; i < 2 && still_running && !escape; i++) {
    still_running = ComWinRunMessagesOnlyLoop(1);
    escape = key_down[27] >= 2;
  }
  if (escape || !still_running || cme_quit_main_loop) {
    // Escape, or the window being closed, cancels the conversion.
    quit_loading_book = 1;
    had_problem_loading_book = 0;
    key_down[27] = 0;
  } else {
    draw_progress_string = 0;
  }
  return 1;
}

void MainTurnOffBoxMessage() {
  m_render_box = 0;
  m_render_box_alpha = 0;
  draw_progress_string = 0;
  MainUpdateAfterScrollingOrMuiChange();
}

void MainCalcTotalBookHeight() {
  double sum = 0;
  for (int i = 0; i < num_formatted_lines; i++) {
    _Line* line = &formatted_line_list[i];
    if (line->text && line->length > 0) {
      const unsigned char* p = reinterpret_cast<const unsigned char*>(line->text);
      uint32_t k = 0;
      while (k < line->length && (p[k] == 9 || p[k] == 32 || p[k] == 160)) k++;
      if (k == line->length) line->length = 0;
    }
    line->empty = (!line->text || !line->text[0] || line->length == 0) ? 1 : 0;
    if (line->mark == 2) line->empty = 0;
    line->y = sum;
    sum += line->empty ? config.paragraph_spacing : 1.0;
  }
  total_book_height = 1;
  if (num_formatted_lines <= 0 || !formatted_line_list) return;
  int top = MainGetLastPageTop(formatted_line_list, num_formatted_lines);
  total_book_height = formatted_line_list[top].y;
  if (total_book_height < 1) total_book_height = 1;
}

void MainSnapDrawLinePosIfNeeded() {
  if (config.scrolling || !formatted_line_list || num_formatted_lines <= 0) return;
  int cand[3] = {-1, -1, -1};  // best, the one before, the one before that
  double best = 0;
  for (int i = 0; i < num_formatted_lines; i++) {
    double d = formatted_line_list[i].y - cur_book_height - 0.5;
    if (d < 0) d = -d;
    if (cand[0] < 0 || d < best) {
      cand[2] = cand[1];
      cand[1] = cand[0];
      cand[0] = i;
      best = d;
    }
  }
  int chosen = -1;
  double chosen_d = 0;
  for (int c = 0; c < 3; c++) {
    int k = cand[c];
    if (k < 0) continue;
    k = MainNextTextLine(formatted_line_list, num_formatted_lines, k);
    double d = formatted_line_list[k].y - cur_book_height;
    if (d < 0) d = -d;
    if (chosen < 0 || d < chosen_d) {
      chosen = k;
      chosen_d = d;
    }
  }
  if (chosen >= 0) cur_book_height = formatted_line_list[chosen].y;
}

void MainUpdateDrawLinePosFromBookReadPerc() {
  cur_book_height = book_read_perc * total_book_height;
  MainSnapDrawLinePosIfNeeded();
}

void MainUpdateBookReadPerc() {
  if (num_formatted_lines > 0 && total_book_height > 0)
    book_read_perc = (float)(cur_book_height / total_book_height);
}

char MainLoadGraphics() {
  if (!ComGlTextureLoadFromTgaFile("Misc.tga", 0, 1, 2, &misc_tex)) {
    DebugError("MainLoadGraphics", "Could not load <%s>", "Misc.tga");
    return 0;
  }
  return 1;
}

void MainDestroyGraphics() { ComGlTextureRelease(&misc_tex); }

char MainCharIsWhitespace(unsigned char c, char nbsp_too) {
  return (c == 32 || c == 9 || (nbsp_too && c == 160)) ? 1 : 0;
}

char MainCharIsAlphaNumeric(unsigned char c) {
  return ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ? 1 : 0;
}

char MainStringIsWhitespace(unsigned char* s) {
  if (!s) return 1;
  for (; *s; s++)
    if (*s != 32 && *s != 9 && *s != 160) return 0;
  return 1;
}

char MainStringIsAlphaNumeric(unsigned char* s) {
  if (!s) return 0;
  for (; *s; s++)
    if (MainCharIsAlphaNumeric(*s)) return 1;
  return 0;
}

char MainStringIsNumeric(unsigned char* s) {
  if (!s) return 0;
  for (; *s; s++)
    if (*s < '0' || *s > '9') return 0;
  return 1;
}
