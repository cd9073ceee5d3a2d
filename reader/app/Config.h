// The settings record: every user setting, the reading positions of up to 100 books, the last
// book and folder. The record is written to disk as its raw memory image ("Lectrel.cfg" in the
// "Settings" folder of the preferences folder); slot files share its layout and are read into
// temp_config.
#ifndef CONFIG_H
#define CONFIG_H

#include <cstddef>
#include <cstdint>

#define CONFIG_VERSION 1.7f
#define CONFIG_MAX_BOOKS 100
#define CONFIG_FILE_NAME "Lectrel.cfg"

// One remembered book: its shown name (book_name), where the reader was, and how recently.
struct _ConfigBook {
  char name[512];
  float read_fraction;
  int32_t recency;  // larger is more recent
};

// Little-endian, natural alignment; bytes between fields are padding and stay as they are.
struct _Config {
  float version;                // must be 1.7 when read
  char options_page;            // 0 Font, 1 Layout, 2 Colors, 3 Misc.
  char show_resolution_window;  // start-up display dialog at every start
  _ConfigBook books[CONFIG_MAX_BOOKS];
  int32_t num_books;            // 0 to 100
  int32_t rotation;             // 0 to 3: 0, 90, 180, 270 degrees
  float side_margin;            // percent of the width, 0 to 30
  float side_margin_rotated;
  float top_margin;             // percent, 0 to 30
  float top_margin_rotated;
  char margin_lines;            // 0 off, 1 thin, 2 medium, 3 thick
  float paragraph_spacing;      // empty-line height factor, 0 to 1
  char bar_mode;                // 0..3: auto-hide bottom/top, always on bottom/top
  float bar_height;             // 0 to 30
  char reserved;
  char scrolling;               // 1 scrolling mode, 0 page mode
  float scroll_speed;
  float text_size;
  float text_width;
  float text_height;
  float line_spacing;
  int32_t smoothing;            // 0 to 10
  char dark_on_bright;
  float background_brightness;  // 0 to 1
  float text_brightness;        // 0 to 1
  float text_colour[3];
  float background_colour[3];
  int32_t paper;                // 0 none, 1 to 15
  float paper_size;             // 0 to 1
  float paper_contrast;         // 0 to 1
  char page_divisions;          // show page breaks as dividers
  char battery_mode;            // 0 to 5
  float battery_transparency;   // 0 to 1
  char reduce_power;
  char font_file[256];
  char last_book[1024];
  char last_folder[512];        // in slot files: the slot's name
  char html_paragraph_spacing;  // 0 Less, 1 More, 2 Auto
  int32_t run_counter;          // alternates 0 and 1 at every exit
};

static_assert(sizeof(_ConfigBook) == 520, "book entry must be 520 bytes");
static_assert(sizeof(_Config) == 53932, "settings record must be 53932 bytes");
static_assert(offsetof(_Config, version) == 0, "layout");
static_assert(offsetof(_Config, options_page) == 4, "layout");
static_assert(offsetof(_Config, show_resolution_window) == 5, "layout");
static_assert(offsetof(_Config, books) == 8, "layout");
static_assert(offsetof(_Config, num_books) == 52008, "layout");
static_assert(offsetof(_Config, rotation) == 52012, "layout");
static_assert(offsetof(_Config, side_margin) == 52016, "layout");
static_assert(offsetof(_Config, side_margin_rotated) == 52020, "layout");
static_assert(offsetof(_Config, top_margin) == 52024, "layout");
static_assert(offsetof(_Config, top_margin_rotated) == 52028, "layout");
static_assert(offsetof(_Config, margin_lines) == 52032, "layout");
static_assert(offsetof(_Config, paragraph_spacing) == 52036, "layout");
static_assert(offsetof(_Config, bar_mode) == 52040, "layout");
static_assert(offsetof(_Config, bar_height) == 52044, "layout");
static_assert(offsetof(_Config, reserved) == 52048, "layout");
static_assert(offsetof(_Config, scrolling) == 52049, "layout");
static_assert(offsetof(_Config, scroll_speed) == 52052, "layout");
static_assert(offsetof(_Config, text_size) == 52056, "layout");
static_assert(offsetof(_Config, text_width) == 52060, "layout");
static_assert(offsetof(_Config, text_height) == 52064, "layout");
static_assert(offsetof(_Config, line_spacing) == 52068, "layout");
static_assert(offsetof(_Config, smoothing) == 52072, "layout");
static_assert(offsetof(_Config, dark_on_bright) == 52076, "layout");
static_assert(offsetof(_Config, background_brightness) == 52080, "layout");
static_assert(offsetof(_Config, text_brightness) == 52084, "layout");
static_assert(offsetof(_Config, text_colour) == 52088, "layout");
static_assert(offsetof(_Config, background_colour) == 52100, "layout");
static_assert(offsetof(_Config, paper) == 52112, "layout");
static_assert(offsetof(_Config, paper_size) == 52116, "layout");
static_assert(offsetof(_Config, paper_contrast) == 52120, "layout");
static_assert(offsetof(_Config, page_divisions) == 52124, "layout");
static_assert(offsetof(_Config, battery_mode) == 52125, "layout");
static_assert(offsetof(_Config, battery_transparency) == 52128, "layout");
static_assert(offsetof(_Config, reduce_power) == 52132, "layout");
static_assert(offsetof(_Config, font_file) == 52133, "layout");
static_assert(offsetof(_Config, last_book) == 52389, "layout");
static_assert(offsetof(_Config, last_folder) == 53413, "layout");
static_assert(offsetof(_Config, html_paragraph_spacing) == 53925, "layout");
static_assert(offsetof(_Config, run_counter) == 53928, "layout");

extern _Config config;            // the settings in use
extern _Config temp_config;       // a slot file or a settings file being checked
extern char config_filename[1024];

void ConfigSetupFilename();
char ConfigLoad();                        // always 1: the file, or the defaults
// 1 when written. After a failed save the settings in use stay in use for the run (a load keeps
// them) and the first failure's notice waits for ConfigTakeSaveNotice. A settings file that
// could not be read is never written in that run (0).
char ConfigSave(char with_position);
// What a notice tells: a failed save of the settings, a settings file that could not be read
// (kept, and not saved over in this run), a failed save of a slot.
enum { CONFIG_NOTICE_SAVE = 0, CONFIG_NOTICE_READ = 1, CONFIG_NOTICE_SLOT = 2 };
// A slot save that failed (slot 0 to 9, err its errno): told like a failed save of the settings.
void ConfigTellSlotNotSaved(int slot, int err);
// The reason of the failure to tell ("Permission denied"), once: the run's first failed save, an
// unreadable settings file, or the last failed slot save; null when there is none to tell. kind
// gets what failed (CONFIG_NOTICE_...), slot the slot of a slot save.
const char* ConfigTakeSaveNotice(int* kind = nullptr, int* slot = nullptr);
void ConfigSetDefaults();                 // defaults, preset slots, slot 1
void ConfigUpdateProgramVars(char with_book);
// Brings every count, enumeration, float and text of a record read from a file into range, so that
// no reader indexes past a table, runs off the end of a string or turns a NaN into an integer. A
// setting float outside its range (NaN and infinities too) becomes its default.
void ConfigClampRecord(_Config* c);
// The range a float field of the record is held to (the one ConfigClampRecord applies), and a
// value brought into it as the keys and bars do: to the nearest end (NaN becomes the field's
// default). Fields outside the table answer the value unchanged.
bool ConfigFloatRange(float _Config::*field, float* lo, float* hi);
float ConfigKeepInRange(float _Config::*field, float v);

#endif
