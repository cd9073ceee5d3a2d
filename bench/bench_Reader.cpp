// The reader under an X server: how long MainInit takes to open a generated 1000-page PDF
// (conversion, page-break analysis, paragraphs and layout, with the real book font in a GL
// context), against `pdftotext -layout -enc Latin1` on the same file (goal: at most 1.3); how long
// a 10 MB text book takes to be closed and laid out again after a text-size change; and, for the
// whole program, the time from start to text on the screen with and without the converted file.
// Run under xvfb-run.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Game.h"
#include "LecFont.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "PrefFolder.h"

namespace {

double Now();
void QuietPopup(char*, char*, char) {}

// The reading view's own code in this process: a GL context for the book font, a throwaway HOME.
bool InProcessSetup(const std::string& home) {
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
  if (chdir(LECTREL_RESOURCES) != 0) return false;
  // Its log goes to the throwaway preferences folder, never into the resource folder.
  if (!PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"LogFile.txt")) return false;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_Window* w = SDL_CreateWindow("bench", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!w || !SDL_GL_CreateContext(w)) return false;
  WIDTH = 800;
  HEIGHT = 600;
  ComGlMiscSetDefaultGraphicParamaters();
  ConfigLoad();
  return LecFontMainCreate(book_font, 0);
}

double TimeMainInit(const std::string& book) {
  std::vector<char> path(book.begin(), book.end());
  path.push_back(0);
  book_read_perc = 0;
  if (MainSetupFilename(path.data(), nullptr) != 1) return -1;
  MainUpdateAfterConfigChange();
  double t0 = Now();
  char ok = MainInit();
  double t = Now() - t0;
  return ok ? t : -1;
}

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& home, bool quiet) {
  pid_t pid = fork();
  if (pid == 0) {
    if (!home.empty()) {
      setenv("HOME", home.c_str(), 1);
      unsetenv("XDG_CONFIG_HOME");
    }
    if (quiet) {
      int devnull = open("/dev/null", O_WRONLY);
      if (devnull >= 0) dup2(devnull, 1);
    }
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// Waits at most timeout seconds; kills on time-out. Answers the exit status or -1.
int Wait(pid_t pid, double timeout) {
  double end = Now() + timeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (Now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(5000);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Run(const std::vector<std::string>& args, const std::string& home, double timeout) {
  return Wait(Spawn(args, home, true), timeout);
}

std::string RunOut(const std::vector<std::string>& args, double timeout) {
  char path[] = "/tmp/lectrel-bench-out-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return "";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fd, 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  Wait(pid, timeout);
  std::string out;
  char buf[256];
  lseek(fd, 0, SEEK_SET);
  ssize_t n;
  while ((n = read(fd, buf, sizeof(buf))) > 0) out.append(buf, (size_t)n);
  close(fd);
  unlink(path);
  return out;
}

// Luminance of the window's pixels within [y0, y1) of its height (fractions).
bool Grab(Display* d, Window w, double y0, double y1, std::vector<float>* lum) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return false;
  int top = (int)(a.height * y0), bottom = (int)(a.height * y1);
  XImage* img = XGetImage(d, w, 0, top, a.width, bottom - top, AllPlanes, ZPixmap);
  if (!img) return false;
  lum->clear();
  for (int y = 0; y < bottom - top; y++)
    for (int x = a.width / 10; x < a.width - a.width / 10; x++) {
      unsigned long p = XGetPixel(img, x, y);
      lum->push_back(0.3f * ((p >> 16) & 255) + 0.59f * ((p >> 8) & 255) + 0.11f * (p & 255));
    }
  XDestroyImage(img);
  return true;
}

int Bright(const std::vector<float>& l) {
  int n = 0;
  for (float v : l) n += v > 100;
  return n;
}

double Difference(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double s = 0;
  for (size_t i = 0; i < a.size(); i++) s += std::fabs(a[i] - b[i]);
  return s / a.size();
}

Window FindWindow(pid_t pid, double timeout) {
  double end = Now() + timeout;
  while (Now() < end) {
    std::string out = RunOut({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)}, 5);
    unsigned long id = 0;
    if (sscanf(out.c_str(), "%lu", &id) == 1) return id;
    usleep(20000);
  }
  return 0;
}

// Seconds from the start of the reader until text shows in the upper text area; -1 on failure.
double TimeToText(const std::string& home, Display* d, pid_t* out_pid, Window* out_win) {
  double t0 = Now();
  pid_t pid = Spawn({std::string(LECTREL_BINARY_DIR) + "/lectrel"}, home, true);
  Window w = FindWindow(pid, 60);
  *out_pid = pid;
  *out_win = w;
  if (!w) return -1;
  std::vector<float> l;
  while (Now() - t0 < 600) {
    if (Grab(d, w, 0.1, 0.4, &l) && Bright(l) > 300) return Now() - t0;
    if (waitpid(pid, nullptr, WNOHANG) == pid) return -1;
    usleep(5000);
  }
  return -1;
}

void Close(Display* d, Window w, pid_t pid) {
  XEvent ev;
  memset(&ev, 0, sizeof(ev));
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSendEvent(d, w, False, NoEventMask, &ev);
  XFlush(d);
  Wait(pid, 60);
}

std::string TempDir() {
  char t[] = "/tmp/lectrel-bench-XXXXXX";
  char* p = mkdtemp(t);
  return p ? p : "";
}

bool Prepare(const std::string& home, const std::string& book) {
  return Run({std::string(LECTREL_BINARY_DIR) + "/tools/lectrel_prepare_home", book, "800", "600"}, home,
             60) == 0;
}

}  // namespace

int main() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    fprintf(stderr, "bench_Reader: needs an X server (run under xvfb-run)\n");
    return 1;
  }
  std::string sample = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";

  // ---- 1000-page PDF: the reader against pdftotext.
  std::string home = TempDir();
  std::string pdf = home + "/Thousand.pdf";
  if (Run({std::string(LECTREL_BINARY_DIR) + "/tools/gen_sample_pdf", sample, pdf, "1000"}, "", 300) != 0 ||
      !Prepare(home, pdf)) {
    fprintf(stderr, "bench_Reader: could not prepare the 1000-page book\n");
    return 1;
  }
  double t0 = Now();
  int rc = Run({"pdftotext", "-layout", "-enc", "Latin1", pdf, home + "/oracle.txt"}, "", 600);
  double t_oracle = Now() - t0;
  if (rc != 0) {
    fprintf(stderr, "bench_Reader: pdftotext failed\n");
    return 1;
  }
  std::string home_in = TempDir();
  if (!InProcessSetup(home_in)) {
    fprintf(stderr, "bench_Reader: no GL context for the book font\n");
    return 1;
  }
  double t_init = TimeMainInit(pdf);
  printf("1000-page PDF: pdftotext -layout -enc Latin1 %.3f s; MainInit %.3f s (%d display lines)\n",
         t_oracle, t_init, num_formatted_lines);
  printf("ratio MainInit / pdftotext: %.2f (goal <= 1.3)\n", t_init / t_oracle);
  MainExit();
  double t_reuse = TimeMainInit(pdf);
  printf("MainInit with the converted file reused (layout only): %.3f s\n", t_reuse);
  MainExit();
  // MainInit ends with the frame-rate settling of the frame timing, a fixed spell of frames.
  double s0 = Now();
  ComGlMiscSettleFrameRate2(1, nullptr);
  double t_settle = Now() - s0;
  printf("of which frame-rate settling: %.3f s; MainInit less settling / pdftotext: %.2f\n", t_settle,
         (t_init - t_settle) / t_oracle);

  pid_t pid;
  Window w;
  double t_first = TimeToText(home, d, &pid, &w);
  if (t_first < 0) {
    fprintf(stderr, "bench_Reader: the reader showed no text\n");
    return 1;
  }
  Close(d, w, pid);
  double t_cached = TimeToText(home, d, &pid, &w);  // the converted file is reused
  Close(d, w, pid);
  printf("whole program, start to text: %.3f s, with the converted file reused %.3f s\n", t_first,
         t_cached);

  // ---- 10 MB text book: reformatting after a text-size change.
  std::string home2 = TempDir();
  std::string big = home2 + "/Big.txt";
  {
    FILE* in = fopen(sample.c_str(), "rb");
    std::string text;
    char buf[4096];
    size_t n;
    while (in && (n = fread(buf, 1, sizeof(buf), in)) > 0) text.append(buf, n);
    if (in) fclose(in);
    FILE* out = fopen(big.c_str(), "wb");
    size_t written = 0;
    while (out && !text.empty() && written < 10u * 1024 * 1024) {
      fwrite(text.data(), 1, text.size(), out);
      written += text.size();
    }
    if (out) fclose(out);
  }
  if (!Prepare(home2, big)) return 1;
  {
    // In this process: open the big book, then the text-size change ("+") closes and reopens it.
    double t_open_in = TimeMainInit(big);
    snprintf(pdf_filename, sizeof(pdf_filename), "%s", big.c_str());
    double k0 = Now();
    text_size_mult /= 0.97f;
    GameSaveCurrentBookConfigAndCloseBook(1);
    char ok = GameLoadConfigAndOpenCurrentBook(1);
    double t_re = Now() - k0;
    printf("10 MB text book in process: MainInit %.3f s; reformat after a text-size change %.3f s%s\n",
           t_open_in, t_re, ok ? "" : " (failed)");
    MainExit();
  }
  double t_open = TimeToText(home2, d, &pid, &w);
  if (t_open < 0) {
    fprintf(stderr, "bench_Reader: the 10 MB book showed no text\n");
    return 1;
  }
  usleep(3000000);  // the loading box fades
  std::vector<float> before, now;
  Grab(d, w, 0.1, 0.4, &before);
  Run({"xdotool", "mousemove", "--window", std::to_string(w), "400", "300"}, "", 10);
  usleep(200000);
  Grab(d, w, 0.1, 0.4, &before);
  double k0 = Now();
  Run({"xdotool", "key", "plus"}, "", 10);
  double t_reformat = -1;
  while (Now() - k0 < 600) {
    if (Grab(d, w, 0.1, 0.4, &now) && Difference(before, now) > 2 && Bright(now) > 300) {
      t_reformat = Now() - k0;
      break;
    }
    usleep(5000);
  }
  Close(d, w, pid);
  printf("10 MB text book, whole program: start to text %.3f s; \"+\" to the new layout on screen %.3f s\n",
         t_open, t_reformat);
  XCloseDisplay(d);
  return 0;
}
