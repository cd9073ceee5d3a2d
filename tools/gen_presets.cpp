// Writes the three preset settings slots into the resource folder: "i386_05_Slot01.lcs" to
// "i386_05_Slot03.lcs", each the raw image of the settings record, named in its last-folder
// field. A fresh settings file copies them into the Settings folder and applies the first.
//   1 "Day Reading":   dark text on a warm white page.
//   2 "Night Reading": soft amber text on a near-black page, a dimmer progress bar.
//   3 "Paper Page":    dark brown text on a tinted paper texture.
// Usage: gen_presets OUTPUT_FOLDER
#include <cstdio>
#include <cstring>
#include <string>

#include "Config.h"

namespace {

// The record's own defaults, which the presets then change.
void SetRecordDefaults(_Config* c) {
  memset(c, 0, sizeof(*c));
  c->version = CONFIG_VERSION;
  c->show_resolution_window = 1;
  c->side_margin = 5;
  c->side_margin_rotated = 5;
  c->top_margin = 2;
  c->top_margin_rotated = 2;
  c->paragraph_spacing = 0.5f;
  c->bar_mode = 1;
  c->bar_height = 15;
  c->scroll_speed = 0.2f;
  c->text_size = 1.5f;
  c->text_width = 1.0f;
  c->text_height = 1.2f;
  c->line_spacing = 36;
  c->smoothing = 5;
  c->text_brightness = 0.7f;
  for (int i = 0; i < 3; i++) c->text_colour[i] = c->background_colour[i] = 1;
  c->paper_size = 0.5f;
  c->paper_contrast = 0.5f;
  c->battery_transparency = 1.0f;
  c->html_paragraph_spacing = 2;
}

void SetRgb(float* dst, float r, float g, float b) {
  dst[0] = r;
  dst[1] = g;
  dst[2] = b;
}

// What the three presets share: single-spaced lines of the default size, wider margins than
// the bare record, a thin progress bar that hides itself.
void SetReadingLayout(_Config* c, const char* name) {
  snprintf(c->last_folder, sizeof(c->last_folder), "%s", name);
  c->side_margin = 7;
  c->side_margin_rotated = 6;
  c->top_margin = 4;
  c->top_margin_rotated = 3;
  c->line_spacing = 22;
  c->paragraph_spacing = 0.6f;
  c->bar_mode = 1;
  c->bar_height = 10;
  c->smoothing = 5;
}

void Day(_Config* c) {
  SetRecordDefaults(c);
  SetReadingLayout(c, "Day Reading");
  // With dark text on a bright background the text colour is shown inverted.
  c->dark_on_bright = 1;
  SetRgb(c->background_colour, 1.0f, 0.98f, 0.93f);
  c->background_brightness = 0.96f;
  SetRgb(c->text_colour, 0.9f, 0.9f, 0.88f);
  c->text_brightness = 0.95f;
}

void Night(_Config* c) {
  SetRecordDefaults(c);
  SetReadingLayout(c, "Night Reading");
  c->dark_on_bright = 0;
  SetRgb(c->background_colour, 0.55f, 0.55f, 0.65f);
  c->background_brightness = 0.12f;
  SetRgb(c->text_colour, 1.0f, 0.84f, 0.62f);
  c->text_brightness = 0.75f;
  c->battery_transparency = 0.5f;
}

void PaperPage(_Config* c) {
  SetRecordDefaults(c);
  SetReadingLayout(c, "Paper Page");
  c->dark_on_bright = 1;
  SetRgb(c->background_colour, 1.0f, 0.95f, 0.85f);
  c->background_brightness = 1.0f;
  SetRgb(c->text_colour, 0.8f, 0.86f, 0.94f);
  c->text_brightness = 0.95f;
  c->paper = 1;
  c->paper_size = 0.5f;
  c->paper_contrast = 0.4f;
}

bool WriteSlot(const std::string& path, const _Config& c) {
  std::string tmp = path + ".tmp";
  FILE* f = fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(&c, sizeof(c), 1, f) == 1;
  ok = fclose(f) == 0 && ok;
  if (ok) ok = rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) remove(tmp.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  // Filled in place, so the padding between fields stays zero in the files.
  static _Config slots[3];
  Day(&slots[0]);
  Night(&slots[1]);
  PaperPage(&slots[2]);
  for (int i = 0; i < 3; i++) {
    char name[32];
    snprintf(name, sizeof(name), "/i386_05_Slot%02d.lcs", i + 1);
    if (!WriteSlot(argv[1] + std::string(name), slots[i])) {
      fprintf(stderr, "gen_presets: cannot write %s%s\n", argv[1], name);
      return 1;
    }
  }
  return 0;
}
