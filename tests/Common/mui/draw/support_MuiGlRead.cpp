// Read-back and font helpers for the menu drawing tests (see support_MuiGlRead.h).
#include "support_MuiGlRead.h"

#include <GL/gl.h>

#include <string>
#include <vector>

#include "ComFreeType.h"

int MuiGlLit(int x0, int y0, int x1, int y1) {
  if (x1 <= x0 || y1 <= y0) return 0;
  std::vector<unsigned char> px((size_t)(x1 - x0) * (y1 - y0) * 4);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x0, 480 - y1, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  int n = 0;
  for (size_t i = 0; i < px.size(); i += 4)
    if (px[i] > 40 || px[i + 1] > 40 || px[i + 2] > 40) n++;
  return n;
}

char MuiGlCreateMenuFont(_ComFreeTypeFont* font) {
  const std::string path = std::string(LECTREL_RESOURCES) + "/default.ttf";
  return ComFreeTypeCreate(path.c_str(), 144, 64, 256, 0.090205f, 0.07541f, 1.065574f, 0, 0, 0, 0, 0, 1, font);
}
