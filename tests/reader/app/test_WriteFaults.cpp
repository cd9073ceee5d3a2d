// Saves that fail or are cut short: the settings file, a slot file and the display-mode file are
// saved with a fault injected at every write, flush, sync to the disk, close and rename in turn, and a child saving
// the settings over and over is killed at random moments. Each time the file on disk must be the
// old one or the new one, byte for byte, never a mixture and never missing, and a failed save
// must say so.
#include <gtest/gtest.h>

#include <dirent.h>
#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacMessageBox.h"
#include "Config.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainLoad.h"
#include "PrefFolder.h"
#include "Resolution.h"

namespace {

int g_popups = 0;
void CountPopup(char*, char*, char) { g_popups++; }

std::string ReadAll(const std::string& path) {
  std::string s;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  char buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0) s.append(buf, n);
  fclose(f);
  return s;
}

// Temporary files in the folder (the names a save writes under before it renames).
int CountTemporaries(const std::string& dir) {
  int n = 0;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (strstr(e->d_name, ".tmp-")) n++;
    closedir(d);
  }
  return n;
}

class WriteFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ComWinSetPopupMessagesCallback(CountPopup, CountPopup);
    char tmpl[] = "/tmp/lectrel-faults-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    DebugSetLogFilename((home_ + "/test-log.txt").c_str(), 1);
    char dir[1024];
    ASSERT_TRUE(GameGetSettingsDir(dir, sizeof(dir)));
    settings_dir_ = dir;
    pdf_filename[0] = book_name[0] = 0;
    ConfigSetupFilename();
    ConfigSetDefaults();
  }
  void TearDown() override {
    ComFileInjectFault(0);
    nftw(home_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }

  // Saves with set_old, then with set_new under a fault at n = 1, 2, ... until a save goes
  // through untouched. save answers whether the save reported success.
  void EveryFault(const std::string& path, const std::function<void()>& set_old,
                  const std::function<void()>& set_new, const std::function<bool()>& save) {
    set_old();
    ASSERT_TRUE(save());
    const std::string old_bytes = ReadAll(path);
    set_new();
    ASSERT_TRUE(save());
    const std::string new_bytes = ReadAll(path);
    ASSERT_NE(old_bytes, new_bytes);
    int n = 1;
    for (;; n++) {
      ASSERT_LT(n, 100) << "the save never got past the injected faults";
      set_old();
      ASSERT_TRUE(save());
      set_new();
      ComFileInjectFault(n);
      bool ok = save();
      bool fired = ComFileFaultFired();
      ComFileInjectFault(0);
      SCOPED_TRACE("fault at operation " + std::to_string(n));
      const std::string now = ReadAll(path);
      EXPECT_EQ(0, CountTemporaries(path.substr(0, path.rfind('/'))))
          << "a failed save leaves no temporary file";
      if (!fired) {
        EXPECT_TRUE(ok);
        EXPECT_TRUE(now == new_bytes);
        break;
      }
      EXPECT_FALSE(ok) << "a failed save is reported";
      EXPECT_TRUE(now == old_bytes) << "the old file is kept byte for byte";
    }
    EXPECT_GE(n, 5) << "a write, flush, sync, close and rename were each failed once";
  }

  std::string home_, settings_dir_;
};

TEST_F(WriteFaults, SettingsFile) {
  EveryFault(
      config_filename, [] { text_size_mult = 1.5f; }, [] { text_size_mult = 2.5f; },
      [] { return ConfigSave(1) == 1; });
}

// The slot save writes the whole record under the slot's name through the same file layer.
TEST_F(WriteFaults, SlotFile) {
  const std::string path = settings_dir_ + "/Slot05.lcs";
  EveryFault(
      path, [] { snprintf(config.last_folder, sizeof(config.last_folder), "Evening"); },
      [] { snprintf(config.last_folder, sizeof(config.last_folder), "Morning"); },
      [path] {
        void* f = ComFileCreateForWriting(path.c_str());
        if (!f) return false;
        bool ok = ComFileWrite(f, &config, sizeof(config));
        return ComFileClose(f) && ok;
      });
}

TEST_F(WriteFaults, DisplayModeFile) {
  ResolutionSetupFilename();
  ASSERT_TRUE(res_file_str[0]);
  ResolutionSetDefaultResolution();
  EveryFault(
      res_file_str, [] { resolution.win_width = 800; }, [] { resolution.win_width = 1024; },
      [] {
        int before = g_popups;
        ResolutionSaveSettings();
        return g_popups == before;  // a failed save tells the user in a popup
      });
}

// A child saves two different settings in turn without pause and is killed at a random moment,
// many times over: the file is always one of the two saves, whole.
TEST_F(WriteFaults, KilledInTheMiddleOfASettingsSave) {
  text_size_mult = 1.5f;
  ASSERT_TRUE(ConfigSave(1));
  const std::string a = ReadAll(config_filename);
  text_size_mult = 2.5f;
  ASSERT_TRUE(ConfigSave(1));
  const std::string b = ReadAll(config_filename);
  ASSERT_NE(a, b);
  srand(12345);
  for (int round = 0; round < 30; round++) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 0;; i++) {
        text_size_mult = (i & 1) ? 2.5f : 1.5f;
        ConfigSave(1);
      }
    }
    timespec pause = {0, (long)(rand() % 20000) * 1000};  // up to 20 ms
    nanosleep(&pause, nullptr);
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string now = ReadAll(config_filename);
    ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
}

}  // namespace
