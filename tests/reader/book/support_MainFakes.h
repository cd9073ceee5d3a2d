// Recording stand-ins for the reading view's entry points and globals (MainLoad.h) and for the
// few reading-view names that the settings record mirrors, linked into every book test.
// All definitions are weak: a test that links the real reading view gets the real ones.
#ifndef SUPPORT_MAINFAKES_H
#define SUPPORT_MAINFAKES_H

#include <functional>
#include <string>
#include <vector>

struct MainFakeCalls {
  int progress_calls = 0;            // MainDisplayProgressMessage
  int turn_off_calls = 0;            // MainTurnOffBoxMessage
  int quit_on_progress_call = 0;     // k > 0: the k-th progress call sets quit_loading_book
  std::function<void()> on_progress;  // run at every progress call, after it is counted
  std::vector<float> fractions;      // fraction of every progress call, in order
  std::vector<std::string> texts;    // display_str as it stood after every progress call
  int cleanup_calls = 0;             // MainDoCleanupCB
  char last_cleanup_code = 0;
  int slot_reads = 0;                // SlotsReadSlot
  int slot_applies = 0;              // SlotsUpdateFromLoadedTempConfig
  char slot_read_result = 0;         // what SlotsReadSlot answers
  // The folders that GameGetDataDir and GameGetSettingsDir answer (the latter with "/Settings");
  // empty makes both fail.
  std::string data_dir;
};

extern MainFakeCalls main_fake_calls;

// Clears the records and every faked global (paths, names, flags; buffers and fonts left alone).
void MainFakesReset();

// Allocates (or frees) the two work buffers as MainInit does around a load.
void MainFakesAllocBuffers();
void MainFakesFreeBuffers();

#endif
