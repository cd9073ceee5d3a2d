// The line record shared by the paragraph list and the display-line list.
#ifndef BOOKLINE_H
#define BOOKLINE_H

#include <cstdint>

// The size of each of a load's two work buffers (buffer, buffer2), and the longest line the
// readers take into one, its terminator counted: a longer line arrives in pieces of
// BOOK_READ_LIMIT - 1 bytes, and a pending line of BOOK_READ_LIMIT bytes still leaves room for
// its terminator.
inline constexpr uint32_t BOOK_WORK_BUFFER_SIZE = 10000;
inline constexpr uint32_t BOOK_READ_LIMIT = 9999;
static_assert(BOOK_READ_LIMIT + 1 <= BOOK_WORK_BUFFER_SIZE,
              "a line read whole and its terminator fit in a work buffer");

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
