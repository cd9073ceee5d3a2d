// URL download against a loopback HTTP server started by the test: answers that fit, the size
// cap, HTTP errors, a closed port, refused schemes, and the caller's buffer left alone on every
// failure; a transfer that a termination signal ends; the error texts of the result codes.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "ComMacInternet.h"
#include "ComMacSignals.h"
#include "Common/framework/FrameworkTestUtil.h"
#include "LoopbackHttp.h"

namespace {

class Download : public fwtest::TempDirTest {
 protected:
  // Fetches url into a buffer of size bytes pre-filled with '#'; answers the result.
  int Fetch(const std::string& url, unsigned long size) {
    buf_.assign(size + 1, '#');
    len_ = 999;
    std::string u = url;
    return ComMacInternetDownloadURL(&u[0], &buf_[0], size, &len_);
  }
  bool Untouched() const { return buf_.find_first_not_of('#') == std::string::npos; }

  std::string buf_;
  unsigned long len_ = 0;
};

TEST_F(Download, AnswersThatFitAreCopiedWholeByLength) {
  looptest::LoopbackHttp server;
  ASSERT_GT(server.Port(), 0);
  struct Case {
    std::string body;
    unsigned long size;
  } cases[] = {
      {"Y1", 512},
      {"", 512},                            // empty: 1, length 0, an empty string
      {std::string("N\0007", 3), 512},      // a NUL inside is copied too
      {std::string(15, 'a'), 16},           // one byte less than the buffer
  };
  for (const Case& c : cases) {
    server.Answer(200, c.body);
    EXPECT_EQ(Fetch(server.Base() + "/x", c.size), 1) << c.body.size();
    EXPECT_EQ(len_, c.body.size());
    EXPECT_EQ(buf_.substr(0, c.body.size()), c.body);
    EXPECT_EQ(buf_[c.body.size()], '\0');
  }
  ASSERT_EQ(server.Targets().size(), 4u);
  EXPECT_EQ(server.Targets()[0], "/x");
}

TEST_F(Download, FailuresLeaveTheBufferAndReportTheNearestText) {
  looptest::LoopbackHttp server;
  server.Answer(200, std::string(16, 'a'));
  EXPECT_EQ(Fetch(server.Base() + "/exact", 16), -1) << "the NUL needs a byte of its own";
  EXPECT_TRUE(Untouched());
  server.Answer(200, std::string(600, 'b'));
  EXPECT_EQ(Fetch(server.Base() + "/long", 512), -1);
  EXPECT_TRUE(Untouched());
  EXPECT_TRUE(Logged("ComMacInternetDownloadURL", "Downloaded size too big"));

  server.Answer(500, "Y1");
  EXPECT_EQ(Fetch(server.Base() + "/err", 512), -1);
  EXPECT_TRUE(Untouched());
  EXPECT_TRUE(Logged("ComMacInternetDownloadURL", "URLDownload() - Failed data transfer operation."));

  // Nothing listening: the no-connection answer.
  EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(looptest::ClosedPort()) + "/", 512), 0);
  EXPECT_TRUE(Untouched());

  // Other schemes and malformed URLs are refused before anything is read.
  EXPECT_EQ(Fetch("file:///etc/passwd", 4096), -1);
  EXPECT_TRUE(Untouched());
  EXPECT_TRUE(Logged("ComMacInternetDownloadURL",
                     "URLNewReference() - The transfer protocol is not supported."));
  EXPECT_EQ(Fetch("ftp://127.0.0.1/", 512), -1);
  EXPECT_EQ(Fetch(server.Base() + "/a\x01" "b", 512), -1);
  EXPECT_TRUE(Logged("ComMacInternetDownloadURL", "URLNewReference() - The format of the URL is invalid."));
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(server.Targets().size(), 3u) << "refused URLs never reach the server";

  char out[8];
  EXPECT_EQ(ComMacInternetDownloadURL(nullptr, out, sizeof(out), nullptr), -1);
  EXPECT_TRUE(Logged("ComMacInternetDownloadURL", "Bad Parameters"));
}

// A server that never answers would hold the program's exit for curl's whole time limit (30 s):
// a termination signal ends the transfer within about a second, as a failed one. Run in a child,
// since the signal stays received for the rest of the process.
TEST_F(Download, ATerminationSignalEndsATransferThatGetsNoAnswer) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto transfer = [this] {
    ComMacSignalsInstall();
    looptest::SilentServer server;
    std::thread signal_soon([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      kill(getpid(), SIGTERM);
    });
    const auto start = std::chrono::steady_clock::now();
    const int result = Fetch(server.Base() + "/slow", 512);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    signal_soon.join();
    const bool failed = result == -1 && Untouched() &&
                        Logged("ComMacInternetDownloadURL", "URLDownload() - Failed data transfer operation.");
    _exit(!failed ? 1 : secs >= 10 ? 2 : 0);
  };
  EXPECT_EXIT(transfer(), ::testing::ExitedWithCode(0), "") << "1: not a failed transfer, 2: not ended by the signal";
}

TEST_F(Download, ErrorTextsOfTheResultCodes) {
  EXPECT_EQ(ComMacInternetCheckError((char*)"F", (char*)"Step", 0), 1);
  EXPECT_EQ(ComMacInternetCheckError((char*)"F", (char*)"Step", -30776), 0);
  EXPECT_TRUE(Logged("F", "Step - The user name and password properties of the URL are set "
                          "incorrectly or don\x92t exist."));
  EXPECT_EQ(ComMacInternetCheckError((char*)"F", nullptr, -30783), 0);
  EXPECT_TRUE(Logged("F", "Failed data transfer operation."));
  EXPECT_EQ(ComMacInternetCheckError((char*)"F", (char*)"Step", 70000), 0);
  EXPECT_TRUE(Logged("F", "Step - Unknown Error - 70000 [4464]"));
  EXPECT_EQ(ComMacInternetCheckError((char*)"F", (char*)"S", -43), 0);
  EXPECT_TRUE(Logged("F", "S - File Not Found."));
}

}  // namespace
