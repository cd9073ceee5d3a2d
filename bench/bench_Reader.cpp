// The reader under an X server, as paired measurements (see BenchPaired.h):
//  - start to text: the whole program started on a generated 1000-page PDF until its first frame
//    with book text, against `pdftotext -layout -enc Latin1` on the same file, both commands run
//    in turn (goal: at most 1.15); the same with the converted file reused, against a bare SDL +
//    GL program (lectrel_bare_window, linked with SDL and GL only: a window of the same size
//    whose first frame shows a bright band) (goal: at most 0.12 s, or at most 2 x the bare one);
//  - the settle of the frame timing at the end of a load: a key pressed as soon as the text shows,
//    against the same key pressed when the reader is idle, until the page changes;
//  - in this process: MainInit against the conversion alone; the settle's own time; the book
//    font with its blur against the same font plain; a text-size change on a 10 MB text book
//    against one block read of the file;
//  - frames per second of the reading view in page and scrolling modes (in this process, the
//    real drawing in a shown window), idle CPU of the whole program with and without the
//    reduce-processing-power option, the CPU-seconds of one page turn, the peak memory against
//    the cached text's size, and load times at 100, 300, 1000 and 3000 pages.
// How "text" is told from the progress box: the progress box covers rows 37.5 % to 62.5 % of the
// window and the message box 47 % to 53 %; while the progress box is up the reading view draws
// nothing else, the message box stands over the page; book text begins at the top margin. So a
// frame shows the book when rows 5 % to 33 % (columns
// 10 % to 90 %) hold more than 300 pixels of ink: pixels that differ by more than 60 levels from
// the band's median, whatever the paper's and the text's brightness (a first version counted
// bright pixels and took the empty light page behind the "Loading eBook" box for text). This was
// checked against the frames dumped with BENCH_DUMP_FRAMES=folder (PNG files named by the run,
// the milliseconds from its start and "text" or "none"): black frames before the first drawing,
// then frames of the empty page with the loading or progress box are "none", and the first "text"
// frame shows the book's first lines (under the "Loading eBook" box when the converted file is
// reused): the first frame of the settle of the frame timing that ends the load.
// Usage: xvfb-run -a -s "-screen 0 1280x800x24" bench_Reader [start|cached|settle|inprocess|font|
// big|frames|usage|sizes|ab]... (no argument: all but sizes and ab; "sizes" generates a 3000-page
// PDF; "ab" compares the reader named by BENCH_READER_REF with this build's, start to text). The
// environment's BENCH_PAIRS sets the number of pairs (5).
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo.h>
#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "BenchPaired.h"
#include "BookPdf.h"
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
#include "MainTick.h"
#include "PrefFolder.h"

namespace {

using bench::Now;

const int kWidth = 800, kHeight = 600;
int g_pairs = 5;

void QuietPopup(char*, char*, char) {}

std::string Bin(const char* name) { return std::string(LECTREL_BINARY_DIR) + "/" + name; }

// ---- Processes ----

pid_t Spawn(const std::vector<std::string>& args, const std::string& home) {
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    if (!home.empty()) {
      setenv("HOME", home.c_str(), 1);
      unsetenv("XDG_CONFIG_HOME");
    }
    int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, 1);
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
  return Wait(Spawn(args, home), timeout);
}

std::string RunOut(const std::vector<std::string>& args, double timeout) {
  char path[] = "/tmp/lectrel-bench-out-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return "";
  fflush(stdout);
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

// CPU seconds (user + system) a process has used so far, -1 when it is gone.
double CpuSeconds(pid_t pid) {
  char path[64];
  snprintf(path, sizeof(path), "/proc/%d/stat", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  char buf[1024];
  size_t n = fread(buf, 1, sizeof(buf) - 1, f);
  fclose(f);
  buf[n] = 0;
  const char* p = strrchr(buf, ')');
  if (!p) return -1;
  unsigned long utime = 0, stime = 0;
  // Fields after the name: state(3) ... utime(14) stime(15).
  if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) return -1;
  return (double)(utime + stime) / sysconf(_SC_CLK_TCK);
}

// The peak resident set of a running process in kB.
long PeakKb(pid_t pid) {
  char path[64];
  snprintf(path, sizeof(path), "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof(line), f))
    if (sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  fclose(f);
  return kb;
}

// ---- The window's pixels ----

struct Frame {
  int width = 0, height = 0;
  std::vector<float> lum;  // row by row
  float At(int x, int y) const { return lum[(size_t)y * width + x]; }
};

bool Grab(Display* d, Window w, Frame* f) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a) || a.width < 10 || a.height < 10) return false;
  XImage* img = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return false;
  f->width = a.width;
  f->height = a.height;
  f->lum.resize((size_t)a.width * a.height);
  // The usual 32-bit picture is read in place: a call per pixel would make every look at the
  // window several times slower, and the time to see the text would count that lag.
  const bool direct = img->bits_per_pixel == 32 && img->byte_order == LSBFirst && img->red_mask == 0xff0000 &&
                      img->green_mask == 0xff00 && img->blue_mask == 0xff;
  for (int y = 0; y < a.height; y++) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(img->data + (size_t)y * img->bytes_per_line);
    for (int x = 0; x < a.width; x++) {
      unsigned long p = direct ? row[x] : XGetPixel(img, x, y);
      f->lum[(size_t)y * a.width + x] = 0.3f * ((p >> 16) & 255) + 0.59f * ((p >> 8) & 255) + 0.11f * (p & 255);
    }
  }
  XDestroyImage(img);
  return true;
}

// Pixels in rows [y0, y1) and columns 10 % to 90 % (fractions of the window) that stand out from
// the band's background (its median) by more than 60 levels: ink on paper, either polarity.
int Ink(const Frame& f, double y0, double y1) {
  std::vector<int> histogram(256, 0);
  int total = 0;
  for (int y = (int)(f.height * y0); y < (int)(f.height * y1); y++)
    for (int x = f.width / 10; x < f.width - f.width / 10; x++, total++) histogram[(int)f.At(x, y) & 255]++;
  int median = 0;
  for (int seen = 0; median < 255 && (seen += histogram[median]) < total / 2;) median++;
  int n = 0;
  for (int v = 0; v < 256; v++)
    if (std::abs(v - median) > 60) n += histogram[v];
  return n;
}

// The band above the progress and message boxes, where only the book's text is ever drawn.
bool ShowsText(const Frame& f) { return Ink(f, 0.05, 0.33) > 300; }

// Mean difference of the text band between two frames.
double Difference(const Frame& a, const Frame& b) {
  if (a.width != b.width || a.height != b.height || a.lum.empty()) return 1e9;
  double s = 0;
  int n = 0;
  for (int y = (int)(a.height * 0.05); y < (int)(a.height * 0.9); y++)
    for (int x = a.width / 10; x < a.width - a.width / 10; x++, n++) s += std::fabs(a.At(x, y) - b.At(x, y));
  return n ? s / n : 1e9;
}

// With BENCH_DUMP_FRAMES=folder every frame looked at is written there as a PNG file, named by
// the program's run (counted from 1), then the milliseconds from its start.
int g_run = 0;
void Dump(const Frame& f, double t) {
  const char* dir = getenv("BENCH_DUMP_FRAMES");
  if (!dir || f.lum.empty()) return;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, f.width, f.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < f.height; y++)
    for (int x = 0; x < f.width; x++) {
      uint32_t v = (uint32_t)f.At(x, y);
      reinterpret_cast<uint32_t*>(data + (size_t)y * stride)[x] = v << 16 | v << 8 | v;
    }
  cairo_surface_mark_dirty(s);
  char path[1024];
  snprintf(path, sizeof(path), "%s/%03d-%06d-%s.png", dir, g_run, (int)(t * 1000), ShowsText(f) ? "text" : "none");
  cairo_surface_write_to_png(s, path);
  cairo_surface_destroy(s);
}

// The viewable window of a process (by its _NET_WM_PID), looked for among the root's children
// and theirs in this process, so the search adds no program start of its own to the figures.
Window WindowOfPid(Display* d, Window parent, long pid, Atom pid_atom, int depth) {
  Window root_ret, parent_ret, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, parent, &root_ret, &parent_ret, &children, &n)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < n && !found; i++) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* prop = nullptr;
    if (XGetWindowProperty(d, children[i], pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &prop) == Success && prop) {
      XWindowAttributes a;
      if (items == 1 && *reinterpret_cast<long*>(prop) == pid && XGetWindowAttributes(d, children[i], &a) &&
          a.map_state == IsViewable)
        found = children[i];
      XFree(prop);
    }
    if (!found && depth > 0) found = WindowOfPid(d, children[i], pid, pid_atom, depth - 1);
  }
  if (children) XFree(children);
  return found;
}

// Windows of other programs come and go while they are looked at: their errors are not ours.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Window FindWindow(Display* d, pid_t pid, double timeout) {
  double end = Now() + timeout;
  Atom pid_atom = XInternAtom(d, "_NET_WM_PID", False);
  while (Now() < end) {
    Window w = WindowOfPid(d, DefaultRootWindow(d), pid, pid_atom, 1);
    if (w) return w;
    if (waitpid(pid, nullptr, WNOHANG) == pid) return 0;
    usleep(2000);
  }
  return 0;
}

// Asks the window to close, as a window manager's close button does.
void AskToClose(Display* d, Window w) {
  XEvent ev;
  memset(&ev, 0, sizeof(ev));
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSendEvent(d, w, False, NoEventMask, &ev);
  XFlush(d);
}

void Close(Display* d, Window w, pid_t pid) {
  AskToClose(d, w);
  if (Wait(pid, 60) < 0) fprintf(stderr, "bench_Reader: a program had to be killed at its close\n");
}

// How long each look at a window took: the time to see the text lags the drawing by up to one
// look (and the 2 ms pause between looks); printed with the start-to-text figures.
std::vector<double> g_grab_seconds;

void PrintGrabLag() {
  printf("  (one look at the window: median %.1f ms, largest %.1f ms, over %zu looks)\n",
         bench::Median(g_grab_seconds) * 1e3, bench::Largest(g_grab_seconds) * 1e3, g_grab_seconds.size());
  g_grab_seconds.clear();
}

// A program showing a window, started and watched until its text band shows text.
struct Shown {
  pid_t pid = 0;
  Window win = 0;
  double seconds = -1;  // start to text
};

Shown StartToText(Display* d, const std::vector<std::string>& args, const std::string& home) {
  Shown r;
  g_run++;
  double t0 = Now();
  r.pid = Spawn(args, home);
  r.win = FindWindow(d, r.pid, 60);
  if (!r.win) return r;
  Frame f;
  while (Now() - t0 < 600) {
    double g0 = Now();
    bool grabbed = Grab(d, r.win, &f);
    g_grab_seconds.push_back(Now() - g0);
    if (grabbed) {
      Dump(f, Now() - t0);
      if (ShowsText(f)) {
        r.seconds = Now() - t0;
        return r;
      }
    }
    if (waitpid(r.pid, nullptr, WNOHANG) == r.pid) return r;
    usleep(2000);
  }
  return r;
}

// Start to text and close; -1 on failure.
double TimeToText(Display* d, const std::vector<std::string>& args, const std::string& home) {
  Shown r = StartToText(d, args, home);
  if (r.win) Close(d, r.win, r.pid);
  else if (r.pid > 0) Wait(r.pid, 5);
  return r.seconds;
}

// Sends a key and answers the seconds until the text band changed, -1 on a time-out.
double KeyToChange(Display* d, Window w, const char* key) {
  Frame before, now;
  // The key goes to the window under the pointer (xdotool's XTEST keys; SDL drops sent events).
  Run({"xdotool", "mousemove", "--window", std::to_string(w), "400", "300"}, "", 10);
  if (!Grab(d, w, &before)) return -1;
  double k0 = Now();
  Run({"xdotool", "key", key}, "", 10);
  while (Now() - k0 < 60) {
    if (Grab(d, w, &now) && Difference(before, now) > 2) return Now() - k0;
    usleep(2000);
  }
  return -1;
}

// ---- Books and homes ----

std::string TempDir() {
  char t[] = "/tmp/lectrel-bench-XXXXXX";
  char* p = mkdtemp(t);
  return p ? p : "";
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }
void RemoveTree(const std::string& dir) { nftw(dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); }

bool Prepare(const std::string& home, const std::string& book) {
  return Run({Bin("tools/lectrel_prepare_home"), book, std::to_string(kWidth), std::to_string(kHeight)}, home,
             60) == 0;
}

// The cached text file of a book in a prepared home (found by its name), "" when absent.
std::string CacheOf(const std::string& home, const std::string& book) {
  std::string name = book.substr(book.rfind('/') + 1);
  name = name.substr(0, name.rfind('.')) + ".txt";
  std::string out = RunOut({"find", home, "-name", name, "-not", "-path", book}, 10);
  if (out.empty()) return "";
  return out.substr(0, out.find('\n'));
}

long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

// Sets a byte of the settings file of a prepared home (the file is the settings record).
bool PatchSetting(const std::string& home, size_t offset, char value) {
  std::string out = RunOut({"find", home, "-name", CONFIG_FILE_NAME, "-type", "f"}, 10);
  std::string path = out.substr(0, out.find('\n'));
  FILE* f = path.empty() ? nullptr : fopen(path.c_str(), "r+b");
  if (!f) return false;
  bool ok = fseek(f, (long)offset, SEEK_SET) == 0 && fputc(value, f) != EOF;
  return fclose(f) == 0 && ok;
}

std::string MakePdf(const std::string& dir, int pages) {
  std::string pdf = dir + "/Book" + std::to_string(pages) + ".pdf";
  std::string sample = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
  if (Run({Bin("tools/gen_sample_pdf"), sample, pdf, std::to_string(pages)}, "", 900) != 0) return "";
  return pdf;
}

std::vector<std::string> Reader() { return {Bin("lectrel")}; }

// ---- In this process: the reading view's own code, a GL context for the book font ----

bool g_in_process = false;
SDL_Window* g_window = nullptr;

bool InProcessSetup() {
  if (g_in_process) return true;
  std::string home = TempDir();
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
  if (chdir(LECTREL_RESOURCES) != 0) return false;
  // Its log goes to the throwaway preferences folder, never into the resource folder.
  if (!PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"LogFile.txt")) return false;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_Window* w = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
  if (!w || !SDL_GL_CreateContext(w)) return false;
  g_window = w;
  WIDTH = kWidth;
  HEIGHT = kHeight;
  ComGlMiscSetDefaultGraphicParamaters();
  ConfigLoad();
  g_in_process = LecFontMainCreate(book_font, 0);
  return g_in_process;
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

double BlockRead(const std::string& path) {
  static std::vector<char> buf;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return -1;
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  rewind(f);
  if ((long)buf.size() < size) {
    buf.assign((size_t)size, 1);
    fread(buf.data(), 1, buf.size(), f);  // pages in place and the file read once already
    rewind(f);
  }
  double t0 = Now();
  size_t n = fread(buf.data(), 1, (size_t)size, f);
  double t = Now() - t0;
  fclose(f);
  return (long)n == size ? t : -1;
}

// ---- The measurements ----

struct Books {
  std::string dir, pdf, home;
};

bool PdfBook(Books* b) {
  if (!b->pdf.empty()) return true;
  b->dir = TempDir();
  b->pdf = MakePdf(b->dir, 1000);
  b->home = b->dir + "/home";
  mkdir(b->home.c_str(), 0755);
  if (b->pdf.empty() || !Prepare(b->home, b->pdf)) {
    fprintf(stderr, "bench_Reader: could not prepare the 1000-page book\n");
    return false;
  }
  return true;
}

// Start to text with a fresh conversion against the pdftotext command; answers the cache path.
bool BenchStart(Display* d, const std::string& home, const std::string& pdf, const char* key, int pairs,
                std::string* cache) {
  std::string oracle = home + "/oracle.txt";
  g_grab_seconds.clear();
  bench::Paired p;
  bool ok = bench::RunPaired(
      pairs, [&] { return bench::TimeCommand({"pdftotext", "-layout", "-enc", "Latin1", pdf, oracle}); },
      [&] {
        std::string c = CacheOf(home, pdf);
        if (!c.empty()) unlink(c.c_str());
        return TimeToText(d, Reader(), home);
      },
      &p);
  if (!ok) {
    fprintf(stderr, "bench_Reader: %s failed\n", key);
    return false;
  }
  bench::PrintPaired(key, "pdftotext -layout -enc Latin1 (command)", "reader, start to text (converting)", p,
                     "<= 1.15");
  PrintGrabLag();
  if (cache) *cache = CacheOf(home, pdf);
  return true;
}

bool BenchCached(Display* d, Books& b) {
  g_grab_seconds.clear();
  bench::Paired p;
  bool ok = bench::RunPaired(
      g_pairs, [&] { return TimeToText(d, {Bin("bench/lectrel_bare_window"), std::to_string(kWidth), std::to_string(kHeight)}, ""); },
      [&] { return TimeToText(d, Reader(), b.home); }, &p);
  if (!ok) {
    fprintf(stderr, "bench_Reader: cached start failed\n");
    return false;
  }
  bench::PrintPaired("start_to_text_cached", "bare SDL + GL program, start to first frame",
                     "reader, start to text (converted file reused)", p, "<= 2 (or <= 0.12 s)");
  printf("start_to_text_cached: reader median %.3f s (goal <= 0.12 s)\n", bench::Median(p.cand));
  PrintGrabLag();
  return true;
}

// A key pressed as soon as the text shows, during the settle of the frame timing, against the same
// key pressed once the reader is idle: each until the page changes.
bool BenchSettle(Display* d, Books& b) {
  bench::Paired p;
  bool ok = bench::RunPaired(
      g_pairs,
      [&] {
        Shown r = StartToText(d, Reader(), b.home);
        if (r.seconds < 0) return -1.0;
        usleep(1500000);
        double t = KeyToChange(d, r.win, "Down");
        Close(d, r.win, r.pid);
        return t;
      },
      [&] {
        Shown r = StartToText(d, Reader(), b.home);
        if (r.seconds < 0) return -1.0;
        double t = KeyToChange(d, r.win, "Down");
        Close(d, r.win, r.pid);
        return t;
      },
      &p);
  if (!ok) {
    fprintf(stderr, "bench_Reader: a page key was not answered\n");
    return false;
  }
  bench::PrintPaired("key_during_settle", "page key, reader idle, to the page changed",
                     "page key at first text, to the page changed", p, nullptr);
  return true;
}

bool BenchInProcess(Books& b) {
  if (!InProcessSetup()) {
    fprintf(stderr, "bench_Reader: no GL context for the book font\n");
    return false;
  }
  std::string out = b.dir + "/inprocess.txt";
  bench::Paired p;
  bool ok = bench::RunPaired(
      3,
      [&] {
        std::vector<std::string> args = {"Lectrel", "-layout", b.pdf, out};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        double t0 = Now();
        return pdftotext_main(4, argv.data()) == 0 ? Now() - t0 : -1;
      },
      [&] {
        double t = TimeMainInit(b.pdf);
        if (text_filename[0]) unlink(text_filename);
        MainExit();
        return t;
      },
      &p);
  if (!ok) {
    fprintf(stderr, "bench_Reader: MainInit failed\n");
    return false;
  }
  bench::PrintPaired("maininit_vs_conversion", "conversion alone (pdftotext_main, in process)",
                     "MainInit, converting (in process)", p, nullptr);
  // MainInit ends with the settle of the frame timing, a fixed spell of frames (with the book's
  // text on the screen from its first frame).
  bench::Paired settle;
  bench::RunPaired(
      3,
      [&] {
        double t = TimeMainInit(b.pdf);
        MainExit();
        return t;
      },
      [&] {
        double s0 = Now();
        ComGlMiscSettleFrameRate2(1, nullptr);
        return Now() - s0;
      },
      &settle);
  bench::PrintPaired("settle_in_maininit", "MainInit, converted file reused (in process)",
                     "settle of the frame timing alone", settle, nullptr);
  // The load's own work: MainInit converting less the settle's fixed spell, against the conversion.
  double work = bench::Median(p.cand) - bench::Median(settle.cand);
  printf("RATIO maininit_work_vs_conversion %.3f (medians: MainInit converting %.3f s less the settle %.3f s, "
         "over the conversion alone %.3f s)\n",
         bench::Median(p.ref) > 0 ? work / bench::Median(p.ref) : 0, bench::Median(p.cand),
         bench::Median(settle.cand), bench::Median(p.ref));
  return true;
}

// A 10 MB text book: the text-size change closes and lays out the book again.
bool BenchBig(Display* d) {
  if (!InProcessSetup()) return false;
  std::string dir = TempDir();
  std::string big = dir + "/Big.txt";
  std::string sample = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
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
  std::string home = dir + "/home";
  mkdir(home.c_str(), 0755);
  if (!Prepare(home, big)) return false;
  if (TimeMainInit(big) < 0) return false;
  bench::Paired p;
  bool ok = bench::RunPaired(
      g_pairs, [&] { return BlockRead(big); },
      [&] {
        snprintf(pdf_filename, sizeof(pdf_filename), "%s", big.c_str());
        double k0 = Now();
        text_size_mult /= 0.97f;
        GameSaveCurrentBookConfigAndCloseBook(1);
        char done = GameLoadConfigAndOpenCurrentBook(1);
        return done ? Now() - k0 : -1;
      },
      &p);
  MainExit();
  if (!ok) return false;
  bench::PrintPaired("reformat_10mb", "one block read of the 10 MB text (in process)",
                     "text-size change, close and lay out again (in process)", p, nullptr);

  // The whole program: "+" to the new layout on the screen.
  std::vector<double> to_text, reformat;
  for (int i = 0; i < 3; i++) {
    Shown r = StartToText(d, Reader(), home);
    if (r.seconds < 0) return false;
    to_text.push_back(r.seconds);
    usleep(3000000);  // the loading box fades
    reformat.push_back(KeyToChange(d, r.win, "plus"));
    Close(d, r.win, r.pid);
  }
  printf("10 MB text book, whole program (%zu runs, load %s):\n", to_text.size(), bench::Load().c_str());
  bench::PrintSide("start to text", to_text, "s", 1);
  bench::PrintSide("\"+\" to the new layout on the screen", reformat, "s", 1);
  RemoveTree(dir);
  return true;
}

// Frames per second of the reading view: in this process, a shown window, the real drawing.
bool BenchFrames(Books& b) {
  if (!InProcessSetup()) return false;
  if (TimeMainInit(b.pdf) < 0) return false;
  for (int scrolling = 0; scrolling < 2; scrolling++) {
    config.scrolling = (char)scrolling;
    config.scroll_speed = scrolling ? 0.5f : 0;
    std::vector<double> fps;
    for (int run = 0; run < 3; run++) {
      // The reading view's frame as the main loop runs it: tick, draw, show.
      int frames = 0;
      double t0 = Now();
      while (Now() - t0 < 1.0) {
        MainTick();
        MainRender();
        SDL_GL_SwapWindow(g_window);
        frames++;
      }
      fps.push_back(frames / (Now() - t0));
    }
    printf("frames per second, %s mode (in process, a shown window, no frame-rate limit, 3 runs of 1 s, "
           "load %s):\n",
           scrolling ? "scrolling" : "page", bench::Load().c_str());
    bench::PrintSide("frames per second", fps, "fps", 1);
  }
  config.scrolling = 0;
  MainExit();
  return true;
}

// Idle CPU of the whole program with and without reduce-processing-power, the CPU-seconds of a
// page turn, and peak memory against the cached text.
bool BenchUsage(Display* d, Books& b) {

  // Idle CPU: the whole program, 3 s after its text showed, over 4 s.
  for (int reduce = 0; reduce < 2; reduce++) {
    if (!PatchSetting(b.home, offsetof(_Config, reduce_power), (char)reduce)) {
      fprintf(stderr, "bench_Reader: no settings file to set reduce-processing-power\n");
      return false;
    }
    std::vector<double> idle, turn;
    for (int run = 0; run < 3; run++) {
      Shown r = StartToText(d, Reader(), b.home);
      if (r.seconds < 0) return false;
      usleep(3000000);
      double c0 = CpuSeconds(r.pid), t0 = Now();
      usleep(4000000);
      double c1 = CpuSeconds(r.pid), t1 = Now();
      idle.push_back((c1 - c0) / (t1 - t0));
      // Page turns: the CPU over 4 s holding five page keys half a second apart, less the idle
      // CPU of 4 s, per turn.
      Run({"xdotool", "mousemove", "--window", std::to_string(r.win), "400", "300"}, "", 10);
      double k0 = CpuSeconds(r.pid), kt = Now();
      for (int k = 0; k < 5; k++) {
        Run({"xdotool", "key", "Down"}, "", 10);
        usleep(500000);
      }
      while (Now() - kt < 4) usleep(10000);
      double k1 = CpuSeconds(r.pid);
      turn.push_back(((k1 - k0) - idle.back() * (Now() - kt)) / 5);
      Close(d, r.win, r.pid);
    }
    printf("whole program, reduce-processing-power %s (3 runs, load %s):\n", reduce ? "on" : "off",
           bench::Load().c_str());
    bench::PrintSide("idle CPU (fraction of one core)", idle, "", 1);
    bench::PrintSide("one page turn, CPU less idle", turn, "s", 1);
  }
  PatchSetting(b.home, offsetof(_Config, reduce_power), 0);

  // Peak memory against the cached text: the same program on the sample text (a few pages, so a
  // full page is drawn as well) is the baseline; each run is read 8 s after its text showed.
  std::string small_home = b.dir + "/small";
  mkdir(small_home.c_str(), 0755);
  if (!Prepare(small_home, std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt")) return false;
  auto peak = [&](const std::string& home) -> double {
    Shown r = StartToText(d, Reader(), home);
    if (r.seconds < 0) return -1;
    usleep(8000000);
    long kb = PeakKb(r.pid);
    Close(d, r.win, r.pid);
    return (double)kb;
  };
  bench::Paired p;
  if (!bench::RunPaired(3, [&] { return peak(small_home); }, [&] { return peak(b.home); }, &p)) return false;
  bench::PrintPaired("memory_peak", "reader on the sample text (peak kB)", "reader on the 1000-page book (peak kB)",
                     p, nullptr, "kB", 1);
  long cache = FileSize(CacheOf(b.home, b.pdf));
  printf("RATIO memory_vs_cached_text %.3f goal <= 3 (median peak less the sample's, over the cached text of "
         "%ld kB)\n",
         cache > 0 ? (bench::Median(p.cand) - bench::Median(p.ref)) / (cache / 1024.0) : 0, cache / 1024);
  return true;
}

// Building the reader's font at start-up (the menu and the book font are both built this way):
// with its margin and blur effects, against the same font plain.
bool BenchFont() {
  if (!InProcessSetup()) return false;
  static _ComFreeTypeFont font;
  bench::Paired p;
  bool ok = bench::RunPaired(
      g_pairs,
      [&] {
        ComFreeTypeSetCreationEffects(nullptr);
        double t0 = Now();
        char done = ComFreeTypeCreate((char*)"default.ttf", 144, 64, 256, 0.090205f, 0.07541f, 1.065574f, 0, 0, 0,
                                      0, 0, 1, &font);
        double t = Now() - t0;
        if (font.setup) ComFreeTypeRelease(&font);
        return done ? t : -1;
      },
      [&] {
        double t0 = Now();
        char done = LecFontMainCreate(&font, 0);
        double t = Now() - t0;
        if (font.setup) ComFreeTypeRelease(&font);
        return done ? t : -1;
      },
      &p);
  if (!ok) return false;
  bench::PrintPaired("font_create", "the book font plain (in process)", "the book font with its effects", p,
                     nullptr, "ms", 1e3);
  return true;
}

// Two builds of the reader, start to text with a fresh conversion, in turn: the one named by
// BENCH_READER_REF (a copy of the lectrel program built before a change) against this build's.
// A termination signal in the reading view against a close of the window: each from the moment
// it is asked until the process is gone, through the same exit (the reading position saved).
bool BenchQuit(Display* d, Books& b) {
  auto end_by = [&](bool signal) -> double {
    Shown r = StartToText(d, Reader(), b.home);
    if (r.seconds < 0) return -1.0;
    usleep(500000);
    const double start = Now();
    if (signal)
      kill(r.pid, SIGTERM);
    else
      AskToClose(d, r.win);
    if (Wait(r.pid, 60) != 0) return -1.0;
    return Now() - start;
  };
  bench::Paired p;
  if (!bench::RunPaired(g_pairs, [&] { return end_by(false); }, [&] { return end_by(true); }, &p)) {
    fprintf(stderr, "bench_Reader: a reader did not end through its own exit\n");
    return false;
  }
  bench::PrintPaired("signal_to_exit", "window closed, to the process gone", "SIGTERM, to the process gone", p,
                     "<= 1.2");
  return true;
}

bool BenchAb(Display* d, Books& b) {
  const char* ref = getenv("BENCH_READER_REF");
  if (!ref) {
    fprintf(stderr, "bench_Reader: ab needs BENCH_READER_REF=path of the other reader\n");
    return false;
  }
  auto run = [&](const std::string& program) {
    std::string c = CacheOf(b.home, b.pdf);
    if (!c.empty()) unlink(c.c_str());
    return TimeToText(d, {program}, b.home);
  };
  bench::Paired p;
  if (!bench::RunPaired(g_pairs, [&] { return run(ref); }, [&] { return run(Bin("lectrel")); }, &p)) return false;
  bench::PrintPaired("reader_ab", ref, "this build's reader", p, nullptr);
  return true;
}

bool BenchSizes(Display* d) {
  for (int pages : {100, 300, 1000, 3000}) {
    std::string dir = TempDir();
    std::string pdf = MakePdf(dir, pages);
    std::string home = dir + "/home";
    mkdir(home.c_str(), 0755);
    if (pdf.empty() || !Prepare(home, pdf)) return false;
    std::string key = "start_to_text_" + std::to_string(pages) + "_pages";
    if (!BenchStart(d, home, pdf, key.c_str(), pages >= 3000 ? 3 : g_pairs, nullptr)) return false;
    RemoveTree(dir);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    fprintf(stderr, "bench_Reader: needs an X server (run under xvfb-run)\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  if (getenv("BENCH_PAIRS")) g_pairs = atoi(getenv("BENCH_PAIRS"));
  std::set<std::string> parts;
  for (int i = 1; i < argc; i++) parts.insert(argv[i]);
  if (parts.empty()) parts = {"start", "cached", "settle", "quit", "inprocess", "font", "big", "frames", "usage"};
  printf("load before: %s\n", bench::Load().c_str());
  Books b;
  bool ok = true;
  if (ok && parts.count("start")) {
    ok = PdfBook(&b) && BenchStart(d, b.home, b.pdf, "start_to_text", g_pairs, nullptr);
  }
  if (ok && (parts.count("cached") || parts.count("settle") || parts.count("quit") || parts.count("usage"))) {
    // The converted file must be there for these.
    ok = PdfBook(&b) && (!CacheOf(b.home, b.pdf).empty() || TimeToText(d, Reader(), b.home) > 0);
  }
  if (ok && parts.count("cached")) ok = BenchCached(d, b);
  if (ok && parts.count("settle")) ok = BenchSettle(d, b);
  if (ok && parts.count("quit")) ok = BenchQuit(d, b);
  if (ok && parts.count("inprocess")) ok = PdfBook(&b) && BenchInProcess(b);
  if (ok && parts.count("frames")) ok = PdfBook(&b) && BenchFrames(b);
  if (ok && parts.count("usage")) ok = BenchUsage(d, b);
  if (ok && parts.count("big")) ok = BenchBig(d);
  if (ok && parts.count("font")) ok = BenchFont();
  if (ok && parts.count("ab")) ok = PdfBook(&b) && BenchAb(d, b);
  if (ok && parts.count("sizes")) ok = BenchSizes(d);
  if (!b.dir.empty()) RemoveTree(b.dir);
  XCloseDisplay(d);
  return ok ? 0 : 1;
}
