// The graphics tests' window, read-back and fixture writers, built into the scroll bar, colour
// and range drawing tests as they are (support files are linked per folder).
#include "Common/graphics/support_GlWindow.cpp"
