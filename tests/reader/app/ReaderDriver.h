// Drives the real reader under the test's X server: runs it with a throwaway HOME, finds its
// window, grabs the window's picture, sends keys and clicks through xdotool, and compares pictures
// by blocks of the text area. Every wait has a time limit; a blocked reader is killed.
// Include GoogleTest first: Xlib's macros (None, Bool) would otherwise clash with its names.
#ifndef READER_DRIVER_H
#define READER_DRIVER_H

#include <X11/Xatom.h>
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
#include <utility>
#include <vector>

#include "ComDebug.h"
#include "Config.h"
#include "MainLoad.h"
#include "PrefFolder.h"

namespace e2e {

inline double NowSeconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

inline void SleepMs(int ms) { usleep(ms * 1000); }

inline std::string MakeTempDir() {
  char tmpl[] = "/tmp/lectrel-e2e-XXXXXX";
  char* d = mkdtemp(tmpl);
  return d ? d : "";
}

// Runs a program with HOME set, waits at most timeout seconds; answers its exit status, or -1
// when it had to be killed. The standard output (with the standard error when with_stderr) is
// returned through out when given.
inline int RunWithHome(const std::vector<std::string>& args, const std::string& home, double timeout,
                std::string* out = nullptr, bool with_stderr = false) {
  int pipefd[2] = {-1, -1};
  if (out && pipe(pipefd) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    if (out) {
      dup2(pipefd[1], 1);
      if (with_stderr) dup2(pipefd[1], 2);
      close(pipefd[0]);
      close(pipefd[1]);
    }
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (out) {
    close(pipefd[1]);
    fcntl(pipefd[0], F_SETFL, O_NONBLOCK);
  }
  double end = NowSeconds() + timeout;
  int status = 0;
  for (;;) {
    if (out) {
      char buf[512];
      ssize_t n;
      while ((n = read(pipefd[0], buf, sizeof(buf))) > 0) out->append(buf, (size_t)n);
    }
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (NowSeconds() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      if (out) close(pipefd[0]);
      return -1;
    }
    SleepMs(20);
  }
  if (out) close(pipefd[0]);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The tools' throwaway home: settings naming book as the last one read ("" for none) and a
// display-mode file for a window of width x height. True when the tool succeeded.
inline bool PrepareHome(const std::string& home, const std::string& book, int width, int height) {
  const std::string tool = std::string(LECTREL_BINARY_DIR) + "/tools/lectrel_prepare_home";
  return RunWithHome({tool, book, std::to_string(width), std::to_string(height)}, home, 30) == 0;
}

// A PDF of 4000 pages of the sample text, long enough to convert for a while. True when written.
inline bool MakeLongPdf(const std::string& home, const std::string& pdf) {
  const std::string tool = std::string(LECTREL_BINARY_DIR) + "/tools/gen_sample_pdf";
  const std::string src = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
  return RunWithHome({tool, src, pdf, "4000"}, home, 60) == 0;
}

// Loads into this process's `config` the settings the reader left in home.
inline void LoadStoredSettings(const std::string& home) {
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
  DebugSetLogFilename((home + "/test-log.txt").c_str(), 1);
  pdf_filename[0] = 0;
  ConfigLoad();
}

struct Shot {
  int w = 0, h = 0;
  std::vector<float> lum;  // 0..255 per pixel, row 0 at the top
  float At(int x, int y) const { return lum[(size_t)y * w + x]; }
};

class Reader {
 public:
  explicit Reader(const std::string& home) : home_(home) {}
  // A variable of the reader's environment besides HOME (say PATH), set before Start.
  void SetEnv(const std::string& name, const std::string& value) { env_.push_back({name, value}); }
  // An argument for the reader's command line, given before Start.
  void AddArg(const std::string& arg) { args_.push_back(arg); }
  Window win() const { return win_; }
  // Sends the reader a signal.
  void Signal(int sig) {
    if (pid_ > 0) kill(pid_, sig);
  }
  ~Reader() { Kill(); if (dpy_) XCloseDisplay(dpy_); }

  bool Start() {
    // The X server resets when its last client leaves (the reader before this one and its
    // driver), and refuses connections meanwhile: try again for a while.
    for (double end = NowSeconds() + 10; !dpy_ && NowSeconds() < end; SleepMs(100)) dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) return false;
    pid_ = fork();
    if (pid_ == 0) {
      setenv("HOME", home_.c_str(), 1);
      unsetenv("XDG_CONFIG_HOME");
      for (const auto& e : env_) setenv(e.first.c_str(), e.second.c_str(), 1);
      std::string exe = std::string(LECTREL_BINARY_DIR) + "/lectrel";
      int devnull = open("/dev/null", O_WRONLY);
      if (devnull >= 0) dup2(devnull, 1);
      std::vector<char*> argv{const_cast<char*>(exe.c_str())};
      for (const std::string& a : args_) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(exe.c_str(), argv.data());
      _exit(127);
    }
    // The window, found by the process that owns it.
    double end = NowSeconds() + 30;
    while (NowSeconds() < end && !win_) {
      std::string out;
      RunWithHome({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid_)}, home_, 5, &out);
      unsigned long id = 0;
      size_t pos = out.rfind('\n', out.size() >= 2 ? out.size() - 2 : 0);
      std::string last = pos == std::string::npos ? out : out.substr(pos + 1);
      if (sscanf(last.c_str(), "%lu", &id) == 1) win_ = id;
      if (!Running()) return false;
      SleepMs(200);
    }
    return win_ != 0;
  }

  bool Running() {
    if (pid_ <= 0) return false;
    int status;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      pid_ = -1;
      return false;
    }
    return true;
  }

  bool Grab(Shot* s) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, win_, &a)) return false;
    XImage* img = XGetImage(dpy_, win_, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return false;
    s->w = a.width;
    s->h = a.height;
    s->lum.resize((size_t)s->w * s->h);
    for (int y = 0; y < s->h; y++)
      for (int x = 0; x < s->w; x++) {
        unsigned long p = XGetPixel(img, x, y);
        float r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        s->lum[(size_t)y * s->w + x] = 0.3f * r + 0.59f * g + 0.11f * b;
      }
    XDestroyImage(img);
    return true;
  }

  // Waits until the picture has held still for kSettledSeconds (boxes faded, cursor hidden), at
  // most timeout s. Two grabs a second apart are not enough: on a loaded machine frames come up to
  // a second apart, so a message box can stand unchanged over two grabs before it fades.
  static constexpr double kSettledSeconds = 3.0;
  bool Settle(Shot* s, double timeout);
  // The same after the picture has first changed from prev (a slow reader answers late).
  bool SettleChanged(const Shot& prev, Shot* s, double timeout);

  void Xdo(const std::vector<std::string>& args) {
    std::vector<std::string> a = {"xdotool"};
    a.insert(a.end(), args.begin(), args.end());
    RunWithHome(a, home_, 10);
  }

  // Brightness of the centre band where the progress box stands (y 180 to 300 of 480).
  int BoxPixels() {
    Shot s;
    if (!Grab(&s)) return 0;
    int n = 0;
    for (int y = s.h * 190 / 480; y < s.h * 290 / 480; y++)
      for (int x = s.w / 4; x < s.w * 3 / 4; x++)
        if (s.At(x, y) > 100) n++;
    return n;
  }

  // Waits until the progress box shows (polled every 10 ms, as it may be up only briefly).
  bool WaitForProgressBox(double timeout) {
    double end = NowSeconds() + timeout;
    while (NowSeconds() < end && Running()) {
      if (BoxPixels() > 200) return true;
      SleepMs(10);
    }
    return false;
  }

  // Waits for a picture that passes test, at most timeout seconds.
  template <typename F>
  bool WaitFor(F test, double timeout, Shot* out = nullptr) {
    double end = NowSeconds() + timeout;
    while (NowSeconds() < end && Running()) {
      Shot s;
      if (Grab(&s) && test(s)) {
        if (out) *out = s;
        return true;
      }
      SleepMs(100);
    }
    return false;
  }

  // Moves the pointer to x, y of the window and clicks the left button (count 2: a double click).
  void ClickAt(int x, int y, int count = 1) {
    Xdo({"mousemove", "--window", std::to_string(win_), std::to_string(x), std::to_string(y)});
    SleepMs(150);
    if (count == 2) Xdo({"click", "--repeat", "2", "--delay", "80", "1"});
    else Xdo({"click", "1"});
    SleepMs(300);
  }

  void PointAtWindow() { Xdo({"mousemove", "--window", std::to_string(win_), "320", "240"}); }

  // The close a window manager sends: WM_DELETE_WINDOW through WM_PROTOCOLS.
  void Close() {
    XEvent ev;
    memset(&ev, 0, sizeof(ev));
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win_;
    ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy_, win_, False, NoEventMask, &ev);
    XFlush(dpy_);
  }

  int WaitExit(double timeout) {
    double end = NowSeconds() + timeout;
    while (Running()) {
      if (NowSeconds() > end) {
        Kill();
        return -2;
      }
      SleepMs(50);
    }
    return exit_status_;
  }

  void Kill() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }

 private:
  std::string home_;
  std::vector<std::pair<std::string, std::string>> env_;
  std::vector<std::string> args_;
  Display* dpy_ = nullptr;
  pid_t pid_ = -1;
  Window win_ = 0;
  int exit_status_ = -1;
};

// Mean brightness of 16 x 16 blocks of the text area (10 % in from every side).
inline std::vector<float> Blocks(const Shot& s, bool turned) {
  std::vector<float> out;
  int x0 = s.w / 10, x1 = s.w - s.w / 10, y0 = s.h / 10, y1 = s.h - s.h / 10;
  for (int by = y0; by + 16 <= y1; by += 16)
    for (int bx = x0; bx + 16 <= x1; bx += 16) {
      float sum = 0;
      for (int y = by; y < by + 16; y++)
        for (int x = bx; x < bx + 16; x++)
          sum += turned ? s.At(s.w - 1 - x, s.h - 1 - y) : s.At(x, y);
      out.push_back(sum / 256);
    }
  return out;
}

inline double Correlation(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double ma = 0, mb = 0;
  for (size_t i = 0; i < a.size(); i++) ma += a[i], mb += b[i];
  ma /= a.size();
  mb /= b.size();
  double sab = 0, saa = 0, sbb = 0;
  for (size_t i = 0; i < a.size(); i++) {
    sab += (a[i] - ma) * (b[i] - mb);
    saa += (a[i] - ma) * (a[i] - ma);
    sbb += (b[i] - mb) * (b[i] - mb);
  }
  return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}

inline int TextPixels(const Shot& s) {
  int n = 0;
  for (int y = s.h / 10; y < s.h - s.h / 10; y++)
    for (int x = s.w / 10; x < s.w - s.w / 10; x++)
      if (s.At(x, y) > 100) n++;
  return n;
}

inline bool Reader::Settle(Shot* s, double timeout) {
  double end = NowSeconds() + timeout;
  Shot first;
  double since = 0;
  bool have_first = false;
  while (NowSeconds() < end && Running()) {
    Shot cur;
    if (Grab(&cur)) {
      double now = NowSeconds();
      if (have_first && Correlation(Blocks(first, false), Blocks(cur, false)) > 0.999) {
        if (now - since >= kSettledSeconds && TextPixels(cur) > 300) {
          *s = cur;
          return true;
        }
      } else {
        first = cur;
        since = now;
        have_first = true;
      }
    }
    SleepMs(500);
  }
  return false;
}

inline bool Reader::SettleChanged(const Shot& prev, Shot* s, double timeout) {
  double end = NowSeconds() + timeout;
  while (NowSeconds() < end && Running()) {
    Shot cur;
    if (Grab(&cur) && Correlation(Blocks(prev, false), Blocks(cur, false)) < 0.995) break;
    SleepMs(50);
  }
  return Settle(s, end - NowSeconds());
}

}  // namespace e2e

#endif
