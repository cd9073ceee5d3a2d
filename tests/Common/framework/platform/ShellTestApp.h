// A test application for the platform shell: its set-up call, callbacks that record a trace,
// a temporary HOME, and a reset of the shell's state between tests.
#ifndef SHELL_TEST_APP_H
#define SHELL_TEST_APP_H

#include <string>
#include <vector>

namespace shelltest {

struct Config {
  char setup_result = 1;
  char pre_create_result = 1, pre_3d_result = 1, post_3d_result = 1;
  bool null_pre_create = false, null_pre_3d = false, null_post_3d = false;
  bool quit_in_post_3d = false;
  int width = 320, height = 240;         // asked through the initial resolution
  int pre3d_width = -1, pre3d_height = -1;  // set WIDTH/HEIGHT in the pre-3D callback
  float fps = 60.0f;
  bool timers = true;
  char create_graphics_result = 1;
  int quit_after_frames = 3;             // 0: never from the tick
  void (*on_post_3d)() = nullptr;
  void (*on_tick)(int frame) = nullptr;  // each ticking frame with the menu layer off
  void (*on_pre_3d)() = nullptr;
};

Config& Cfg();
std::vector<std::string>& Trace();
void Log(const std::string& s);
int Frames();
std::vector<unsigned>& FrameTimes();  // tick count of each frame
std::vector<std::string>& Popups();   // "title|text|kind", also the after-exit popup ("AE:" first)
std::vector<std::string>& Keys();     // "down 65", "up 65", "press 0 1", "dbl 0", "wheel 1", "move x y"

// Shell state as a fresh process has it; also installs the popup recorder.
void Reset();
// A temporary folder used as HOME and XDG_CONFIG_HOME's parent; removed by the caller's TearDown.
std::string MakeTempHome();
void RemoveTree(const std::string& path);
std::string ReadFile(const std::string& path);
int CountOf(const std::string& hay, const std::string& needle);
// The Resources folder beside the test executable, made when missing (main changes into it).
void EnsureResourceFolder();
std::string LogPath();  // the preferences folder's log file of the temporary HOME

}  // namespace shelltest

#endif
