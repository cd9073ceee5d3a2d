// The termination signals. The handler does only what is safe inside a signal handler: it stores
// the signal number in a sig_atomic_t, writes one byte to a non-blocking pipe and, on the first
// signal, gives the three signals back their default action.
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
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int sig) {
  const int saved = errno;
  if (!cms_received) {
    cms_received = sig;
    // The first signal asks for the orderly exit; a second one of the three, when the user (or a
    // logout) will not wait for it, ends the program at once, as if no handler were there: a box
    // that cannot be ended, or a save that hangs, must not keep the program alive until SIGKILL.
    struct sigaction dfl;
    memset(&dfl, 0, sizeof(dfl));
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    for (int s : kSignals) sigaction(s, &dfl, nullptr);
  }
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
  for (int s : kSignals) sigaddset(&sa.sa_mask, s);
  for (int s : kSignals)
    if (sigaction(s, &sa, nullptr) != 0) DebugError("ComMacSignalsInstall", "Could not handle signal %d", s);
}

int ComMacSignalsReceived() { return (int)cms_received; }

int ComMacSignalsWakeFd() { return cms_pipe[0]; }
