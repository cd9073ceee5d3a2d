// The graphics tests' window, read-back and fixture writers, linked into the popup's GL tests.
#include "Common/graphics/support_GlWindow.cpp"
