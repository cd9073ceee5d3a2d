// Settings slots: the display settings kept in "Slot01.lcs" to "Slot10.lcs" of the settings folder.
#include "Slots.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "Config.h"
#include "GameFolders.h"
#include "LecFont.h"

char SlotsReadSlot(int slot) {
  if (slot < 0 || slot > 9) return 0;
  char dir[1024], path[1100];
  if (!GameGetSettingsDir(dir, sizeof(dir))) return 0;
  int n = snprintf(path, sizeof(path), "%s%sSlot%02d.lcs", dir, "/", slot + 1);
  if (n < 0 || (size_t)n >= sizeof(path)) return 0;
  if (!ComFileExists(path)) return 0;
  void* f = ComFileOpenForReading(path);
  if (!f) return 0;
  // A longer file is accepted; its extra bytes are ignored.
  int32_t size = ComFileGetSize(f);
  char ok = size >= (int32_t)sizeof(_Config) && ComFileRead(f, &temp_config, sizeof(_Config));
  ComFileClose(f);
  if (!ok || temp_config.version != CONFIG_VERSION) return 0;
  ConfigClampRecord(&temp_config);
  return 1;
}

void SlotsUpdateFromLoadedTempConfig() {
  const _Config& t = temp_config;
  config.rotation = t.rotation;
  config.side_margin = t.side_margin;
  config.side_margin_rotated = t.side_margin_rotated;
  config.top_margin = t.top_margin;
  config.top_margin_rotated = t.top_margin_rotated;
  config.margin_lines = t.margin_lines;
  config.paragraph_spacing = t.paragraph_spacing;
  config.bar_mode = t.bar_mode;
  config.bar_height = t.bar_height;
  config.reserved = t.reserved;
  config.text_size = t.text_size;
  config.text_width = t.text_width;
  config.text_height = t.text_height;
  config.line_spacing = t.line_spacing;
  config.smoothing = t.smoothing;
  config.dark_on_bright = t.dark_on_bright;
  config.background_brightness = t.background_brightness;
  config.text_brightness = t.text_brightness;
  memcpy(config.text_colour, t.text_colour, sizeof(config.text_colour));
  memcpy(config.background_colour, t.background_colour, sizeof(config.background_colour));
  config.paper = t.paper;
  config.paper_size = t.paper_size;
  config.paper_contrast = t.paper_contrast;
  config.page_divisions = t.page_divisions;
  config.battery_mode = t.battery_mode;
  config.battery_transparency = t.battery_transparency;
  config.reduce_power = t.reduce_power;
  memcpy(config.font_file, t.font_file, sizeof(config.font_file));
  config.font_file[sizeof(config.font_file) - 1] = 0;
  snprintf(mc_font_name, sizeof(mc_font_name), "%s", config.font_file);
  ConfigUpdateProgramVars(0);
}

// The Slots screen's boxes come with the menu layer's widgets.
void CreateSlotsMuiBoxes() {}

void SlotsControlStartingCB() {}
