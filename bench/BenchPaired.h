// Paired measurements for the benchmarks. A machine shared with other work gives noisy times, so
// a benchmark never compares a best run with another best run: it runs the reference and the
// candidate in turn, the same number of times and the same kind of process on both sides, and
// prints the medians, the ranges (smallest..largest) and the ratio of the medians, with the
// range of the ratios of each pair. The load of the machine is printed alongside.
#ifndef BENCH_PAIRED_H
#define BENCH_PAIRED_H

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

inline double Smallest(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
inline double Largest(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// The load average of the machine, to be printed with the figures it disturbs.
inline std::string Load() {
  FILE* f = fopen("/proc/loadavg", "r");
  if (!f) return "?";
  char buf[64] = {0};
  if (!fgets(buf, sizeof(buf), f)) buf[0] = 0;
  fclose(f);
  std::string s(buf);
  size_t third = s.find(' ', s.find(' ', s.find(' ') + 1) + 1);
  return s.substr(0, third);
}

struct Paired {
  std::vector<double> ref, cand;
  void Add(double r, double c) {
    ref.push_back(r);
    cand.push_back(c);
  }
  double Ratio() const { return Median(ref) > 0 ? Median(cand) / Median(ref) : 0; }
};

// Runs `pairs` pairs, reference first in even pairs and candidate first in odd ones, so neither
// side always runs on a warmer cache. Each function answers seconds, or a negative number on
// failure (which stops the measurement and answers false).
inline bool RunPaired(int pairs, const std::function<double()>& ref, const std::function<double()>& cand,
                      Paired* out) {
  for (int i = 0; i < pairs; i++) {
    double r, c;
    if (i % 2 == 0) {
      r = ref();
      c = r < 0 ? -1 : cand();
    } else {
      c = cand();
      r = c < 0 ? -1 : ref();
    }
    if (r < 0 || c < 0) return false;
    out->Add(r, c);
  }
  return true;
}

inline void PrintSide(const char* name, const std::vector<double>& v, const char* unit, double scale) {
  printf("  %-44s median %9.4f %s  range %9.4f .. %9.4f\n", name, Median(v) * scale, unit, Smallest(v) * scale,
         Largest(v) * scale);
}

// Prints both sides and the line "RATIO key value (goal)"; goal may be null.
inline void PrintPaired(const char* key, const char* ref_name, const char* cand_name, const Paired& p,
                        const char* goal, const char* unit = "s", double scale = 1) {
  printf("%s: %zu pairs, load %s\n", key, p.ref.size(), Load().c_str());
  PrintSide(ref_name, p.ref, unit, scale);
  PrintSide(cand_name, p.cand, unit, scale);
  std::vector<double> each;
  for (size_t i = 0; i < p.ref.size(); i++)
    if (p.ref[i] > 0) each.push_back(p.cand[i] / p.ref[i]);
  printf("RATIO %s %.3f (pairs %.3f .. %.3f)%s%s\n", key, p.Ratio(), Smallest(each), Largest(each),
         goal ? " goal " : "", goal ? goal : "");
  fflush(stdout);
}

// Runs job in a forked child; answers the child's wall time from fork to exit in seconds (-1
// when it failed) and its peak resident set in kB.
inline double TimeChild(const std::function<int()>& job, long* peak_kb = nullptr) {
  fflush(stdout);
  double start = Now();
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) _exit(job());
  int status = 0;
  struct rusage ru;
  if (wait4(pid, &status, 0, &ru) != pid) return -1;
  double t = Now() - start;
  if (peak_kb) *peak_kb = ru.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? t : -1;
}

// Runs job in a forked child, which times itself: answers the seconds job reports (-1 on
// failure). The child starts from this process's state but its own fresh heap history is not
// carried back, so runs do not disturb each other.
inline double TimeInChild(const std::function<double()>& job) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    close(fds[0]);
    double t = job();
    ssize_t w = write(fds[1], &t, sizeof(t));
    _exit(w == (ssize_t)sizeof(t) ? 0 : 1);
  }
  close(fds[1]);
  double t = -1;
  if (read(fds[0], &t, sizeof(t)) != (ssize_t)sizeof(t)) t = -1;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? t : -1;
}

// Runs a program (fork and exec) with its output thrown away; its wall time, -1 on failure.
inline double TimeCommand(const std::vector<std::string>& args, long* peak_kb = nullptr) {
  return TimeChild(
      [&] {
        FILE* null = freopen("/dev/null", "w", stdout);
        (void)null;
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        return 127;
      },
      peak_kb);
}

// The peak resident set of this process since it started (or since its last exec), in kB. A
// parent's figure from wait4 would also count the pages the child had from the fork.
inline long PeakKb() {
  FILE* f = fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof(line), f))
    if (sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  fclose(f);
  return kb;
}

// Runs a program and answers the first number it prints (-1 on failure).
inline long CommandNumber(const std::vector<std::string>& args) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  std::string out;
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof(buf))) > 0) out.append(buf, (size_t)n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  long v = -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || sscanf(out.c_str(), "%ld", &v) != 1) return -1;
  return v;
}

// The path of the running benchmark, so it can run itself as the candidate of a pair.
inline std::string Self() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  return n > 0 ? std::string(buf, (size_t)n) : std::string();
}

}  // namespace bench

#endif
