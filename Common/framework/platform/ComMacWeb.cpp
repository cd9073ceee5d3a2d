// Opening a web page: "xdg-open" by fork and exec, never through a shell. The browser must
// outlive nothing of ours and leave no zombie behind, so the opener is started by a short-lived
// child in its own session and the child is reaped at once; a pipe closed on exec tells whether
// the opener really started.
#include "ComMacWeb.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ComDebug.h"

namespace {

constexpr size_t kMaxUrl = 4096;
const char* const kOpener = "xdg-open";

bool UrlOk(const char* url) {
  if (!url) return false;
  size_t len = strlen(url);
  if (len >= kMaxUrl) return false;
  if (strncasecmp(url, "http://", 7) != 0 && strncasecmp(url, "https://", 8) != 0) return false;
  for (size_t i = 0; i < len; i++) {
    unsigned char c = (unsigned char)url[i];
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// The opener's full path from PATH, or empty when it is not installed.
std::string FindOpener() {
  const char* path = getenv("PATH");
  if (!path || !path[0]) path = "/usr/local/bin:/usr/bin:/bin";
  std::string dirs = path;
  size_t start = 0;
  for (;;) {
    size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir = ".";
    std::string full = dir + "/" + kOpener;
    struct stat st;
    if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0)
      return full;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return std::string();
}

ssize_t ReadFully(int fd, void* buf, size_t len) {
  size_t got = 0;
  while (got < len) {
    ssize_t n = read(fd, (char*)buf + got, len - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += (size_t)n;
  }
  return (ssize_t)got;
}

}  // namespace

char ComMacWebCheckURL(const char* url) { return UrlOk(url) ? 1 : 0; }

char ComMacWebOpenURL(const char* url) {
  if (!UrlOk(url)) {
    DebugError("ComMacWebOpenURL", "Refused URL <%.200s>", url ? url : "(null)");
    return 0;
  }
  const std::string opener = FindOpener();
  if (opener.empty()) {
    DebugError("ComMacWebOpenURL", "Could not find %s", kOpener);
    return 0;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    DebugError("ComMacWebOpenURL", "pipe() failed [%d]", errno);
    return 0;
  }
  // Everything the children need is ready before the fork: only exec and _exit follow it.
  char* const argv[] = {const_cast<char*>(kOpener), const_cast<char*>(url), nullptr};
  pid_t child = fork();
  if (child < 0) {
    DebugError("ComMacWebOpenURL", "fork() failed [%d]", errno);
    close(fds[0]);
    close(fds[1]);
    return 0;
  }
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) {
      int devnull = open("/dev/null", O_RDONLY);
      if (devnull >= 0) dup2(devnull, 0);
      signal(SIGPIPE, SIG_DFL);
      execv(opener.c_str(), argv);
      int err = errno;
      ssize_t w = write(fds[1], &err, sizeof(err));
      (void)w;
      _exit(127);
    }
    if (grandchild < 0) {
      int err = errno;
      ssize_t w = write(fds[1], &err, sizeof(err));
      (void)w;
    }
    _exit(0);
  }
  close(fds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t n = ReadFully(fds[0], &err, sizeof(err));
  close(fds[0]);
  if (n == (ssize_t)sizeof(err)) {
    DebugError("ComMacWebOpenURL", "Could not start %s [%s]", opener.c_str(), strerror(err));
    return 0;
  }
  return 1;
}
