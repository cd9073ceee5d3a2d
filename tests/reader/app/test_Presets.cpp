// The preset settings slots of the resource folder: fresh settings copy all three into the
// Settings folder and start from the first.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "Config.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "PrefFolder.h"
#include "Slots.h"

namespace {

void QuietPopup(char*, char*, char) {}

std::string ReadAll(const std::string& path) {
  std::string data;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return data;
  char chunk[8192];
  size_t n;
  while ((n = fread(chunk, 1, sizeof(chunk), f)) > 0) data.append(chunk, n);
  fclose(f);
  return data;
}

TEST(Presets, FreshSettingsCopyTheThreeSlotsAndApplyTheFirst) {
  ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
  char tmpl[] = "/tmp/lectrel-presets-XXXXXX";
  ASSERT_TRUE(mkdtemp(tmpl));
  std::string home = tmpl;
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  ASSERT_TRUE(PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt"));
  DebugSetLogFilename((home + "/test-log.txt").c_str(), 1);
  char settings[1024];
  ASSERT_TRUE(GameGetSettingsDir(settings, sizeof(settings)));

  // The reader works in its resource folder, where the presets are.
  char old_cwd[1024];
  ASSERT_TRUE(getcwd(old_cwd, sizeof(old_cwd)));
  ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);
  EXPECT_EQ(ConfigLoad(), 1);
  ASSERT_EQ(chdir(old_cwd), 0);

  std::set<std::string> names;
  _Config slot1;
  for (int n = 1; n <= 3; n++) {
    char src[64], dst[1100];
    snprintf(src, sizeof(src), "/i386_05_Slot%02d.lcs", n);
    snprintf(dst, sizeof(dst), "%s/Slot%02d.lcs", settings, n);
    std::string preset = ReadAll(std::string(LECTREL_RESOURCES) + src);
    ASSERT_EQ(preset.size(), sizeof(_Config)) << src;
    EXPECT_EQ(ReadAll(dst), preset) << dst << " is the preset's copy";
    _Config c;
    memcpy(&c, preset.data(), sizeof(c));
    EXPECT_EQ(c.version, CONFIG_VERSION) << src;
    ASSERT_NE(memchr(c.last_folder, 0, 64), nullptr) << src << ": a name of at most 63 characters";
    EXPECT_NE(c.last_folder[0], 0) << src << " is named";
    names.insert(c.last_folder);
    EXPECT_EQ(SlotsReadSlot(n - 1), 1) << "slot " << n << " is valid";
    if (n == 1) slot1 = c;
  }
  EXPECT_EQ(names.size(), 3u) << "three different presets";

  // Slot 1's reading settings are the settings now; its name is not.
  EXPECT_NE(slot1.line_spacing, 36.0f) << "the first preset is closer than the bare record";
  EXPECT_EQ(config.line_spacing, slot1.line_spacing);
  EXPECT_EQ(line_orig_ygap, slot1.line_spacing);
  EXPECT_EQ(config.dark_on_bright, slot1.dark_on_bright);
  EXPECT_EQ(config.background_brightness, slot1.background_brightness);
  EXPECT_EQ(config.side_margin, slot1.side_margin);
  EXPECT_EQ(config.last_folder[0], 0);
  EXPECT_EQ(config.num_books, 0);
}

}  // namespace
