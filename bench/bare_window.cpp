// The bare SDL + GL program that the reader's start-up is measured against: a window of the
// reader's size and an OpenGL context, one frame with a bright band where the reader's first
// lines stand, then nothing but waiting for the close. It links SDL and GL only.
// Usage: lectrel_bare_window WIDTH HEIGHT
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>

int main(int argc, char** argv) {
  int width = argc > 2 ? atoi(argv[1]) : 800, height = argc > 2 ? atoi(argv[2]) : 600;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* w = SDL_CreateWindow("bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                   SDL_WINDOW_OPENGL);
  if (!w || !SDL_GL_CreateContext(w)) return 1;
  bool drawn = false;
  for (;;) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
      if (e.type == SDL_QUIT) return 0;
    if (!drawn) {
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glEnable(GL_SCISSOR_TEST);
      glScissor(width / 5, height * 3 / 4, width * 3 / 5, height / 20);
      glClearColor(1, 1, 1, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      glDisable(GL_SCISSOR_TEST);
      SDL_GL_SwapWindow(w);
      drawn = true;
    }
    SDL_Delay(10);
  }
}
