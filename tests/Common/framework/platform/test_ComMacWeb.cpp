// The browser launcher: a recording "xdg-open" put first on PATH receives the URL as its one
// argument, unsafe URLs never reach it, and without any xdg-open the launcher fails cleanly and
// leaves no child behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "ComMacWeb.h"
#include "Common/framework/FrameworkTestUtil.h"

namespace {

class Launcher : public fwtest::TempDirTest {
 protected:
  void SetUp() override {
    fwtest::TempDirTest::SetUp();
    const char* p = getenv("PATH");
    old_path_ = p ? p : "";
    bin_ = Path("bin");
    mkdir(bin_.c_str(), 0755);
    record_ = Path("opened.txt");
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    fwtest::TempDirTest::TearDown();
  }
  // A fake xdg-open that appends each argument on a line of its own, then a line "--".
  void InstallFake() {
    std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record_ +
                         "'; done\necho -- >> '" + record_ + "'\n";
    fwtest::WriteAll(bin_ + "/xdg-open", script);
    chmod((bin_ + "/xdg-open").c_str(), 0755);
  }
  // The recording once the fake has written count URLs (it runs detached), or what is there
  // after five seconds.
  std::string Recorded(int count) {
    for (int i = 0; i < 250; i++) {
      std::string r = fwtest::ReadAll(record_);
      size_t n = 0;
      for (size_t p = r.find("--\n"); p != std::string::npos; p = r.find("--\n", p + 1)) n++;
      if ((int)n >= count) return r;
      usleep(20000);
    }
    return fwtest::ReadAll(record_);
  }
  static bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

  std::string old_path_, bin_, record_;
};

TEST_F(Launcher, OpensTheUrlAsOneArgumentWithoutAShell) {
  InstallFake();
  setenv("PATH", (bin_ + ":" + old_path_).c_str(), 1);
  const std::string tricky = "https://example.invalid/a b;touch '" + Path("pwned") + "'&$(id)";
  EXPECT_EQ(ComMacWebOpenURL("http://127.0.0.1/lectrel/iga/m_home_page.html"), 1);
  EXPECT_EQ(ComMacWebOpenURL(tricky.c_str()), 1);
  EXPECT_EQ(Recorded(2), "http://127.0.0.1/lectrel/iga/m_home_page.html\n--\n" + tricky + "\n--\n");
  EXPECT_FALSE(fwtest::PathExists(Path("pwned")));
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(Launcher, RefusesUnsafeUrlsAndSurvivesAMissingOpener) {
  InstallFake();
  setenv("PATH", (bin_ + ":" + old_path_).c_str(), 1);
  for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "-h", "", "http://a\nb",
                          "http://a\x7f" "b", "httpx://a"}) {
    EXPECT_EQ(ComMacWebOpenURL(url), 0) << url;
  }
  EXPECT_EQ(ComMacWebOpenURL(nullptr), 0);
  EXPECT_EQ(ComMacWebOpenURL(("http://a/" + std::string(5000, 'x')).c_str()), 0);
  usleep(200000);
  EXPECT_FALSE(fwtest::PathExists(record_)) << "nothing refused reached the opener";

  // No xdg-open anywhere on PATH.
  setenv("PATH", bin_.c_str(), 1);
  unlink((bin_ + "/xdg-open").c_str());
  EXPECT_EQ(ComMacWebOpenURL("http://127.0.0.1/"), 0);
  EXPECT_NE(Log().find("Could not find xdg-open"), std::string::npos);
  // One that is found but cannot be run.
  fwtest::WriteAll(bin_ + "/xdg-open", "#!/nonexistent/interpreter\n");
  chmod((bin_ + "/xdg-open").c_str(), 0755);
  EXPECT_EQ(ComMacWebOpenURL("http://127.0.0.1/"), 0);
  EXPECT_NE(Log().find("Could not start"), std::string::npos);
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
