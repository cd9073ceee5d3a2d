// The line record shared by the paragraph list and the display-line list.
#ifndef BOOKLINE_H
#define BOOKLINE_H

#include <cstdint>

struct _Line {
  char* text;          // owned, NUL-terminated, length + 1 bytes
  uint32_t length;     // bytes of text
  uint8_t justify;     // display lines: drawn justified
  float blank_width;   // display lines: width of one blank when justified (virtual-screen units)
  uint8_t mark;        // 0 none, 1 page divider, 2 horizontal rule
  uint8_t empty;       // display lines: shows nothing
  double y;            // display lines: vertical position in line units
};

#endif
