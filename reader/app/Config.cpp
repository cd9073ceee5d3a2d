// The settings record and its file. The file is the record's raw image; everything read from a
// file is brought into range before use, and a save never destroys the file that was there.
#include "Config.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacMisc.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainCleanup.h"
#include "MainLoad.h"
#include "Slots.h"

_Config config;
_Config temp_config;
char config_filename[1024];

namespace {

// Once a save of this run has failed, the record in use is newer than the file: a load keeps it
// (the reopened book gets the change just made, not the old file's), until a save works again.
bool cfg_newer_than_file = false;
// A settings file that could not be read may still hold every reading position: this run never
// writes over it, and works on the record in use.
bool cfg_file_unread = false;
// The first failure of a run is told once; later ones are only logged.
bool cfg_failure_told = false;
// The failure waiting to be told: its reason, what failed (CONFIG_NOTICE_...) and the slot.
char cfg_save_notice[128] = "";
int cfg_notice_kind = CONFIG_NOTICE_SAVE;
int cfg_notice_slot = -1;

const char* ConfigReason(int err) { return err ? strerror(err) : "unknown reason"; }

void ConfigSetNotice(int kind, int slot, const char* reason) {
  snprintf(cfg_save_notice, sizeof(cfg_save_notice), "%s", reason);
  cfg_notice_kind = kind;
  cfg_notice_slot = slot;
}

char ConfigSaveFailed(int err) {
  const char* reason = ConfigReason(err);
  cfg_newer_than_file = true;
  DebugError("ConfigSave", "Could not save settings <%s> [%s]", config_filename, reason);
  if (!cfg_failure_told) {
    cfg_failure_told = true;
    ConfigSetNotice(CONFIG_NOTICE_SAVE, -1, reason);
  }
  return 0;
}

// Copies a string into a fixed field, always terminated; false when it had to be cut.
bool ConfigCopyText(char* dst, size_t size, const char* src) {
  size_t n = strnlen(src, size);
  bool fits = n < size;
  if (!fits) n = size - 1;
  memcpy(dst, src, n);
  dst[n] = 0;
  return fits;
}

template <typename T>
void ConfigClampInt(T* v, T lo, T hi) {
  if (*v < lo) *v = lo;
  if (*v > hi) *v = hi;
}

// A float read from a file: NaN or infinity becomes the default, then the value is held to its
// range. The comparisons are written so that a NaN never slips through them.
void ConfigClampFloat(float* v, float lo, float hi, float def) {
  if (!std::isfinite(*v)) *v = def;
  if (!(*v >= lo)) *v = lo;
  if (!(*v <= hi)) *v = hi;
}

// A float read from a file outside its range (NaN and infinities included) was not written by
// this program, whose keys and bars stop at the range's ends: the value is the default, not the
// nearest end, so a damaged file opens on a readable page.
void ConfigRepairFloat(float* v, float lo, float hi, float def) {
  if (!(*v >= lo && *v <= hi)) *v = def;
}

// Every single float of the record with its range and its default. The ranges are the ends the
// options screen's bars and the layout keys stop at. The size, shape and spacing of the text are
// scaled by keys in small steps, so their ranges are wide: they only keep the layout away from
// zero and from sizes no window can show.
struct ConfigFloatField {
  float _Config::*field;
  float lo, hi, def;
};
const ConfigFloatField kConfigFloatFields[] = {
    {&_Config::side_margin, 0, 30, 5},
    {&_Config::side_margin_rotated, 0, 30, 5},
    {&_Config::top_margin, 0, 30, 2},
    {&_Config::top_margin_rotated, 0, 30, 2},
    {&_Config::paragraph_spacing, 0, 1, 0.5f},
    {&_Config::bar_height, 0, 30, 15},
    {&_Config::scroll_speed, -100, 100, 0.2f},
    {&_Config::text_size, 0.01f, 100, 1.5f},
    {&_Config::text_width, 0.01f, 100, 1.0f},
    {&_Config::text_height, 0.01f, 100, 1.2f},
    {&_Config::line_spacing, 0.1f, 10000, 36},
    {&_Config::background_brightness, 0, 1, 0},
    {&_Config::text_brightness, 0, 1, 0.7f},
    {&_Config::paper_size, 0, 1, 0.5f},
    {&_Config::paper_contrast, 0, 1, 0.5f},
    {&_Config::battery_transparency, 0, 1, 1.0f},
};

// A slot file that SlotsReadSlot would accept: at least a whole record, starting with 1.7.
bool ConfigSlotFileIsValid(const char* path) {
  if (!ComFileExists(path)) return false;
  if (ComFileGetSizeFilename(path) < static_cast<int32_t>(sizeof(_Config))) return false;
  void* f = ComFileOpenForReading(path);
  if (!f) return false;
  float version = 0;
  bool ok = ComFileRead(f, &version, sizeof(version)) && version == CONFIG_VERSION;
  ComFileClose(f);
  return ok;
}

// The three preset slots shipped in the resource folder (the working folder), each copied only
// over a slot that is missing or unusable, so the user's own saved slots survive a reset.
void ConfigCopyPresetSlots(const char* data_dir) {
  char settings_dir[1024];
  int n = snprintf(settings_dir, sizeof(settings_dir), "%s/Settings", data_dir);
  if (n < 0 || n >= static_cast<int>(sizeof(settings_dir))) {
    DebugError("ConfigSetDefaults", "Path too long <%s>", data_dir);
    return;
  }
  if (!ComFileDirectoryExists(settings_dir)) ComFileCreateDirectory(settings_dir);
  const char* prefix = ComMacMiscGetOsxVersion() >= 0x1050 ? "i386_05_" : "i386_";
  for (int i = 1; i <= 3; i++) {
    char from[64];
    char to[1024];
    snprintf(from, sizeof(from), "%sSlot%02d.lcs", prefix, i);
    n = snprintf(to, sizeof(to), "%s/Slot%02d.lcs", settings_dir, i);
    if (n < 0 || n >= static_cast<int>(sizeof(to))) {
      DebugError("ConfigSetDefaults", "Path too long <%s>", settings_dir);
      return;
    }
    if (ConfigSlotFileIsValid(to)) continue;
    ComFileCopyFile(from, to, 0);
  }
}

// The entry of the open book in config.books, chosen or made; -1 when the list is unusable.
int ConfigChooseBookEntry() {
  if (config.num_books < 0 || config.num_books > CONFIG_MAX_BOOKS) {
    DebugError("ConfigSave", "Internal Error");
    return -1;
  }
  for (int i = 0; i < config.num_books; i++)
    if (!strncmp(config.books[i].name, book_name, sizeof(config.books[i].name))) return i;
  int entry;
  if (config.num_books < CONFIG_MAX_BOOKS) {
    entry = config.num_books++;
  } else {
    entry = 0;
    for (int i = 1; i < CONFIG_MAX_BOOKS; i++)
      if (config.books[i].recency < config.books[entry].recency) entry = i;
  }
  if (entry < 0 || entry >= CONFIG_MAX_BOOKS) {
    DebugError("ConfigSave", "Internal Error (2)");
    return -1;
  }
  // A new or reused entry must not inherit another book's position.
  memset(&config.books[entry], 0, sizeof(config.books[entry]));
  return entry;
}

void ConfigUpdateRecency(int chosen) {
  int64_t max = -1, min = -1;
  bool any = false;
  for (int i = 0; i < config.num_books; i++) {
    if (i == chosen) continue;
    int64_t r = config.books[i].recency;
    if (!any || r > max) max = r;
    if (!any || r < min) min = r;
    any = true;
  }
  config.books[chosen].recency = static_cast<int32_t>(max + 1 > INT32_MAX ? INT32_MAX : max + 1);
  for (int i = 0; i < config.num_books; i++) {
    int64_t r = static_cast<int64_t>(config.books[i].recency) - min;
    if (r > INT32_MAX) r = INT32_MAX;
    if (r < INT32_MIN) r = INT32_MIN;
    config.books[i].recency = static_cast<int32_t>(r);
  }
}

}  // namespace

void ConfigClampRecord(_Config* c) {
  ConfigClampInt<char>(&c->options_page, 0, 3);
  ConfigClampInt<int32_t>(&c->num_books, 0, CONFIG_MAX_BOOKS);
  ConfigClampInt<int32_t>(&c->rotation, 0, 3);
  ConfigClampInt<char>(&c->margin_lines, 0, 3);
  ConfigClampInt<char>(&c->bar_mode, 0, 3);
  ConfigClampInt<int32_t>(&c->smoothing, 0, 10);
  // A paper number outside 1..15 names no picture: no paper, not the nearest one.
  if (c->paper < 0 || c->paper > 15) c->paper = 0;
  ConfigClampInt<char>(&c->battery_mode, 0, 5);
  ConfigClampInt<char>(&c->html_paragraph_spacing, 0, 2);
  ConfigClampInt<int32_t>(&c->run_counter, 0, 1);
  for (const ConfigFloatField& f : kConfigFloatFields) ConfigRepairFloat(&(c->*f.field), f.lo, f.hi, f.def);
  for (int i = 0; i < 3; i++) {
    ConfigRepairFloat(&c->text_colour[i], 0, 1, 1);
    ConfigRepairFloat(&c->background_colour[i], 0, 1, 1);
  }
  // A reading position is the program's own fraction, which rounding can take a hair past an
  // end: it is held to the nearest end, where the reader was.
  for (_ConfigBook& b : c->books) ConfigClampFloat(&b.read_fraction, 0, 1, 0);
  for (_ConfigBook& b : c->books) b.name[sizeof(b.name) - 1] = 0;
  c->font_file[sizeof(c->font_file) - 1] = 0;
  c->last_book[sizeof(c->last_book) - 1] = 0;
  c->last_folder[sizeof(c->last_folder) - 1] = 0;
}

bool ConfigFloatRange(float _Config::*field, float* lo, float* hi) {
  for (const ConfigFloatField& f : kConfigFloatFields) {
    if (f.field != field) continue;
    if (lo) *lo = f.lo;
    if (hi) *hi = f.hi;
    return true;
  }
  return false;
}

float ConfigKeepInRange(float _Config::*field, float v) {
  for (const ConfigFloatField& f : kConfigFloatFields) {
    if (f.field != field) continue;
    ConfigClampFloat(&v, f.lo, f.hi, f.def);
    return v;
  }
  return v;
}

void ConfigSetupFilename() {
  char dir[1024];
  if (!GameGetSettingsDir(dir, sizeof(dir))) ConfigCopyText(dir, sizeof(dir), ".");
  int n = snprintf(config_filename, sizeof(config_filename), "%s/%s", dir, CONFIG_FILE_NAME);
  if (n < 0 || n >= static_cast<int>(sizeof(config_filename))) {
    DebugError("ConfigSetupFilename", "Path too long <%s>", dir);
    config_filename[0] = 0;
  }
}

char ConfigLoad() {
  ConfigSetupFilename();
  if (cfg_newer_than_file) {
    ConfigUpdateProgramVars(1);
    return 1;
  }
  if (!config_filename[0] || !ComFileExists(config_filename)) {
    ConfigSetDefaults();
    return 1;
  }
  int32_t size = ComFileGetSizeFilename(config_filename);
  bool bad = size != static_cast<int32_t>(sizeof(_Config));
  if (!bad) {
    errno = 0;
    if (!ComFileOpenReadAndClose(config_filename, &temp_config, sizeof(temp_config))) {
      // A read that failed says nothing about the file: keep it (and its reading positions),
      // and never save over it in this run.
      const char* reason = ConfigReason(errno);
      DebugError("ConfigLoad", "Could not read settings file <%s> [%s]", config_filename, reason);
      cfg_file_unread = true;
      cfg_newer_than_file = true;
      cfg_failure_told = true;
      ConfigSetNotice(CONFIG_NOTICE_READ, -1, reason);
      ConfigSetDefaults();
      return 1;
    }
    bad = temp_config.version != CONFIG_VERSION;
  }
  if (bad) {
    // A file of another layout: the cached books may not match it either.
    MainDoCleanupCB(99);
    ComFileDelete(config_filename);
    ConfigSetDefaults();
    return 1;
  }
  memcpy(&config, &temp_config, sizeof(config));
  ConfigClampRecord(&config);
  ConfigUpdateProgramVars(1);
  return 1;
}

void ConfigUpdateProgramVars(char with_book) {
  ConfigClampInt<int32_t>(&config.num_books, 0, CONFIG_MAX_BOOKS);
  if (with_book && book_name[0]) {
    for (int i = 0; i < config.num_books; i++) {
      if (!strncmp(config.books[i].name, book_name, sizeof(config.books[i].name))) {
        book_read_perc = config.books[i].read_fraction;
        break;
      }
    }
  }
  text_size_mult = config.text_size;
  font_orig_scale_x = config.text_width;
  font_orig_scale_y = config.text_height;
  line_orig_ygap = config.line_spacing;
  config.font_file[sizeof(config.font_file) - 1] = 0;
  ConfigCopyText(mc_font_name, sizeof(mc_font_name), config.font_file);
}

void ConfigSetDefaults() {
  memset(&config, 0, sizeof(config));
  config.version = CONFIG_VERSION;
  config.options_page = 0;
  config.show_resolution_window = 1;
  config.num_books = 0;
  config.rotation = 0;
  config.margin_lines = 0;
  config.bar_mode = 1;
  config.reserved = 0;
  config.scrolling = 0;
  config.smoothing = 5;
  config.dark_on_bright = 0;
  for (const ConfigFloatField& f : kConfigFloatFields) config.*f.field = f.def;
  for (int i = 0; i < 3; i++) {
    config.text_colour[i] = 1;
    config.background_colour[i] = 1;
  }
  config.paper = 0;
  config.page_divisions = 0;
  config.battery_mode = 0;
  config.reduce_power = 0;
  config.html_paragraph_spacing = 2;
  config.run_counter = 0;
  ConfigUpdateProgramVars(1);

  char data_dir[1024];
  if (GameGetDataDir(data_dir, 1023)) ConfigCopyPresetSlots(data_dir);
  if (SlotsReadSlot(0)) SlotsUpdateFromLoadedTempConfig();
}

char ConfigSave(char with_position) {
  ConfigSetupFilename();
  mc_font_name[sizeof(mc_font_name) - 1] = 0;
  ConfigCopyText(config.font_file, sizeof(config.font_file), mc_font_name);
  if (pdf_filename[0]) ConfigCopyText(config.last_book, sizeof(config.last_book), pdf_filename);
  config.text_size = text_size_mult;
  config.text_width = font_orig_scale_x;
  config.text_height = font_orig_scale_y;
  config.line_spacing = line_orig_ygap;

  if (book_name[0]) {
    int entry = ConfigChooseBookEntry();
    if (entry >= 0) {
      ConfigCopyText(config.books[entry].name, sizeof(config.books[entry].name), book_name);
      if (with_position) config.books[entry].read_fraction = book_read_perc;
      ConfigUpdateRecency(entry);
    }
  }

  config.version = CONFIG_VERSION;
  if (cfg_file_unread) {
    DebugError("ConfigSave", "Settings not saved: <%s> could not be read and is kept", config_filename);
    return 0;
  }
  if (!config_filename[0]) return ConfigSaveFailed(ENAMETOOLONG);
  // The file layer writes under a temporary name and renames on a clean close, so a failed
  // write leaves the previous settings file (and the reading positions in it) in place.
  ComFileTakeWriteError();  // an earlier failure, of this file or another, is not this save's
  errno = 0;
  void* f = ComFileCreateForWriting(config_filename);
  if (!f) return ConfigSaveFailed(errno);
  bool ok = ComFileWrite(f, &config, sizeof(config));
  if (!ComFileClose(f)) ok = false;
  if (!ok) {
    const int err = ComFileTakeWriteError();
    return ConfigSaveFailed(err ? err : errno);
  }
  cfg_newer_than_file = false;
  return 1;
}

void ConfigTellSlotNotSaved(int slot, int err) { ConfigSetNotice(CONFIG_NOTICE_SLOT, slot, ConfigReason(err)); }

const char* ConfigTakeSaveNotice(int* kind, int* slot) {
  if (!cfg_save_notice[0]) return nullptr;
  if (kind) *kind = cfg_notice_kind;
  if (slot) *slot = cfg_notice_slot;
  static char taken[sizeof(cfg_save_notice)];
  snprintf(taken, sizeof(taken), "%s", cfg_save_notice);
  cfg_save_notice[0] = 0;
  return taken;
}
