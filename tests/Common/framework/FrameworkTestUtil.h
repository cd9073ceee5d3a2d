// Helpers shared by the framework core's tests: a temporary folder, whole-file reads and writes,
// a log redirected into the temporary folder, a popup recorder so no box ever blocks, a child
// process with a time limit, and the things that can stand at a file's place without being one.
#ifndef FRAMEWORK_TEST_UTIL_H
#define FRAMEWORK_TEST_UTIL_H

#include <dirent.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ComDebug.h"
#include "ComMacMessageBox.h"

namespace fwtest {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), (std::streamsize)bytes.size());
}

inline bool PathExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Names in a folder, "." and ".." left out.
inline std::vector<std::string> ListDir(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  return names;
}

struct Popup {
  std::string title, text;
  char kind;
};

inline std::vector<Popup>& Popups() {
  static std::vector<Popup> popups;
  return popups;
}

inline void RecordPopup(char* title, char* text, char kind) {
  Popups().push_back(Popup{title ? title : "(null)", text ? text : "(null)", kind});
}

// A temporary folder with the log inside it and the popup recorder installed; both are undone
// at the end.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/lectrel-fw-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    log_ = dir_ + "/log.txt";
    ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
    Popups().clear();
    ComWinSetPopupMessagesCallback(RecordPopup, RecordPopup);
  }

  void TearDown() override {
    DebugSetLogFilename(nullptr, 0);
    nftw(
        dir_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Log() const { return ReadAll(log_); }
  // The exact log line of a DebugError report.
  static std::string ErrorLine(const std::string& func, const std::string& text) {
    return " <ERROR>  ( " + func + " )  2  " + text + "\r\n";
  }
  bool Logged(const std::string& func, const std::string& text) const {
    return Log().find(ErrorLine(func, text)) != std::string::npos;
  }

  std::string dir_, log_;
};

// Runs body in a child process (fresh copy of this process's state) with a time limit; answers
// the child's exit status, or -1 when it was killed or timed out.
template <typename F>
int RunInChild(F body, int seconds = 20) {
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    alarm((unsigned)seconds);
    _exit(body());
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs checks (GoogleTest expectations) in a child with a time limit: 0 when they all held, 1 when
// one failed (the child prints it), -1 when the child was killed or waited past the limit, so a
// call that blocks fails the test instead of hanging it.
template <typename F>
int RunChecksInChild(F checks, int seconds) {
  return RunInChild(
      [&] {
        const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
        const int before = result->total_part_count();
        checks();
        for (int i = before; i < result->total_part_count(); i++)
          if (result->GetTestPartResult(i).failed()) return 1;
        return 0;
      },
      seconds);
}

// What can stand at a file's place without being a file: a FIFO (an open for reading waits for
// a writer), a folder, a socket, and a link to a device that gives endless bytes.
enum class NonFile { kFifo, kFolder, kSocket, kDeviceLink };
inline const NonFile kNonFiles[] = {NonFile::kFifo, NonFile::kFolder, NonFile::kSocket, NonFile::kDeviceLink};

inline const char* NonFileName(NonFile kind) {
  switch (kind) {
    case NonFile::kFifo: return "FIFO";
    case NonFile::kFolder: return "folder";
    case NonFile::kSocket: return "socket";
    case NonFile::kDeviceLink: return "link to /dev/zero";
  }
  return "?";
}

// Makes one at path (nothing may be there). True when made.
inline bool MakeNonFile(NonFile kind, const std::string& path) {
  switch (kind) {
    case NonFile::kFifo: return mkfifo(path.c_str(), 0644) == 0;
    case NonFile::kFolder: return mkdir(path.c_str(), 0755) == 0;
    case NonFile::kDeviceLink: return symlink("/dev/zero", path.c_str()) == 0;
    case NonFile::kSocket: {
      sockaddr_un addr;
      memset(&addr, 0, sizeof(addr));
      addr.sun_family = AF_UNIX;
      if (path.size() >= sizeof(addr.sun_path)) return false;
      memcpy(addr.sun_path, path.c_str(), path.size() + 1);
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      if (fd < 0) return false;
      const bool ok = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
      close(fd);  // the socket's name stays in the folder
      return ok;
    }
  }
  return false;
}

// Removes what MakeNonFile made (or a file that took its place).
inline void RemoveNonFile(const std::string& path) {
  if (unlink(path.c_str()) != 0) rmdir(path.c_str());
}

}  // namespace fwtest

#endif
