// The real "lectrel SHOWRESWIN" under the test's X server in a throwaway HOME: the display dialog
// appears before the reader's window, Return presses its Start, the choice is written as a
// 40-byte display-mode file and the reader's own window opens. Every wait has a time limit.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// Starts a program with HOME set; its output goes to out_path (or nowhere).
pid_t Spawn(const std::vector<std::string>& args, const std::string& home, const std::string& out_path) {
  pid_t pid = fork();
  if (pid == 0) {
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    int fd = open(out_path.empty() ? "/dev/null" : out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      dup2(fd, 1);
      dup2(fd, 2);
    }
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

// Runs a program to its end (at most 10 s); answers its exit status and its output.
int RunTool(const std::vector<std::string>& args, const std::string& home, std::string* out = nullptr) {
  std::string path = home + "/run-output.txt";
  pid_t pid = Spawn(args, home, path);
  int status = 0;
  double end = Now() + 10;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(20000);
  }
  if (out) {
    out->clear();
    if (FILE* f = fopen(path.c_str(), "rb")) {
      char buf[512];
      size_t n;
      while ((n = fread(buf, 1, sizeof(buf), f)) > 0) out->append(buf, n);
      fclose(f);
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The visible windows of a process, as xdotool lists them.
std::vector<std::string> Windows(pid_t pid, const std::string& home) {
  std::string out;
  RunTool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)}, home, &out);
  std::vector<std::string> ids;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    std::string id = out.substr(start, end - start);
    if (!id.empty() && id.find_first_not_of("0123456789") == std::string::npos) ids.push_back(id);
    start = end + 1;
  }
  return ids;
}

long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

TEST(ResolutionEndToEnd, ShowResWinAsksAndReturnStartsTheReader) {
  char tmpl[] = "/tmp/lectrel-rese2e-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string home = tmpl, bin = LECTREL_BINARY_DIR;
  const std::string book = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
  ASSERT_EQ(RunTool({bin + "/tools/lectrel_prepare_home", book, "640", "480"}, home), 0);
  const std::string res_file = home + "/.config/Quorvane/Quorvane Lectrel/Resolution.dat";
  ASSERT_EQ(unlink(res_file.c_str()), 0);

  pid_t pid = Spawn({bin + "/lectrel", "SHOWRESWIN"}, home, home + "/lectrel-output.txt");
  // The dialog, and nothing else of the program, is shown first.
  std::vector<std::string> wins;
  for (double end = Now() + 30; Now() < end && wins.empty(); usleep(200000)) wins = Windows(pid, home);
  ASSERT_EQ(wins.size(), 1u) << "no dialog";
  const std::string dialog = wins[0];
  std::string name;
  RunTool({"xdotool", "getwindowname", dialog}, home, &name);
  EXPECT_EQ(name, "Quorvane Lectrel\n");
  usleep(300000);
  EXPECT_EQ(FileSize(res_file), -1) << "nothing chosen yet";

  // With no window manager the keyboard follows the pointer; Start has the focus.
  RunTool({"xdotool", "mousemove", "--window", dialog, "200", "200"}, home);
  usleep(200000);
  RunTool({"xdotool", "key", "Return"}, home);

  bool reader_shown = false;
  for (double end = Now() + 30; Now() < end && !reader_shown; usleep(200000)) {
    for (const std::string& w : Windows(pid, home))
      if (w != dialog) reader_shown = true;
    if (waitpid(pid, nullptr, WNOHANG) == pid) break;
  }
  EXPECT_TRUE(reader_shown) << "the reader's window did not open";
  EXPECT_EQ(FileSize(res_file), 40);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  RunTool({"rm", "-rf", home}, "/tmp");
}

TEST(ResolutionEndToEnd, QuitInTheDialogEndsTheProgramQuietly) {
  char tmpl[] = "/tmp/lectrel-rese2e-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string home = tmpl, bin = LECTREL_BINARY_DIR;
  const std::string book = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
  ASSERT_EQ(RunTool({bin + "/tools/lectrel_prepare_home", book, "640", "480"}, home), 0);
  const std::string res_file = home + "/.config/Quorvane/Quorvane Lectrel/Resolution.dat";
  ASSERT_EQ(unlink(res_file.c_str()), 0);

  pid_t pid = Spawn({bin + "/lectrel", "SHOWRESWIN"}, home, home + "/lectrel-output.txt");
  std::vector<std::string> wins;
  for (double end = Now() + 30; Now() < end && wins.empty(); usleep(200000)) wins = Windows(pid, home);
  ASSERT_EQ(wins.size(), 1u) << "no dialog";
  RunTool({"xdotool", "mousemove", "--window", wins[0], "200", "200"}, home);
  usleep(200000);
  // From Start, the focus goes back to Quit.
  RunTool({"xdotool", "key", "shift+Tab", "Return"}, home);
  int status = 0;
  bool ended = false;
  for (double end = Now() + 20; Now() < end && !ended; usleep(100000)) ended = waitpid(pid, &status, WNOHANG) == pid;
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  ASSERT_TRUE(ended) << "Quit did not end the program";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(FileSize(res_file), -1) << "nothing chosen, nothing stored";
  std::string log;
  RunTool({"cat", home + "/.config/Quorvane/Quorvane Lectrel/LogFile.txt"}, home, &log);
  EXPECT_NE(log.find("Prog Version"), std::string::npos) << "the log was written";
  EXPECT_EQ(log.find("Internal Error"), std::string::npos) << log;
  EXPECT_EQ(log.find("Callback Failed"), std::string::npos) << log;
  RunTool({"rm", "-rf", home}, "/tmp");
}

}  // namespace
