// The termination signals. The handler does only what is safe inside a signal handler: it stores
// the signal number in a sig_atomic_t and writes one byte to a non-blocking pipe.
#include "ComMacSignals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "ComDebug.h"

namespace {

volatile sig_atomic_t cms_received = 0;
int cms_pipe[2] = {-1, -1};

void OnSignal(int sig) {
  const int saved = errno;
  if (!cms_received) cms_received = sig;
  if (cms_pipe[1] >= 0) {
    const char byte = 1;
    ssize_t r = write(cms_pipe[1], &byte, 1);  // a full pipe already wakes its reader
    (void)r;
  }
  errno = saved;
}

}  // namespace

void ComMacSignalsInstall() {
  if (cms_pipe[0] < 0 && pipe2(cms_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
    DebugError("ComMacSignalsInstall", "Could not make the signal pipe [%d]", errno);
    cms_pipe[0] = cms_pipe[1] = -1;
  }
  struct sigaction sa;
  memset(&sa, 0, sizeof(sa));
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  // Interrupted file work goes on; the waits that matter (poll) return at once all the same.
  sa.sa_flags = SA_RESTART;
  const int signals[] = {SIGTERM, SIGINT, SIGHUP};
  for (int s : signals) sigaddset(&sa.sa_mask, s);
  for (int s : signals)
    if (sigaction(s, &sa, nullptr) != 0) DebugError("ComMacSignalsInstall", "Could not handle signal %d", s);
}

int ComMacSignalsReceived() { return (int)cms_received; }

int ComMacSignalsWakeFd() { return cms_pipe[0]; }
