// Image loaders: BMP, TGA and JPEG files become textures with power-of-two sides, the texel
// bytes kept in memory (bottom row first) beside the OpenGL texture.
#ifndef COM_GL_LOAD_H
#define COM_GL_LOAD_H

#include "ComGlTexture.h"
#include "ComGlJpeg.h"

char ComGlLoadImageLoadBmp(const char* path, char force32, char alpha_type, _ComGlTextureImage* image);
char ComGlLoadImageLoadTga(const char* path, char force32, char alpha_type, _ComGlTextureImage* image);
char ComGlLoadImageCanTgaFileBeLoaded(const char* path);

// The same loaders without the upload: the texels they would upload (power-of-two sides, bottom
// row first, RGBA when rgba is set, else RGB), for the caller to free. Needs no GL context.
struct _ComGlLoadTexels {
  unsigned char* pixels;
  int width;
  int height;
  char rgba;
};
char ComGlLoadImageDecodeBmp(const char* path, char force32, char alpha_type, _ComGlLoadTexels* texels);
char ComGlLoadImageDecodeTga(const char* path, char force32, char alpha_type, _ComGlLoadTexels* texels);
char ComGlLoadImageCreateEmptyTextureImage(int width, int height, int bpp, _ComGlTextureImage* image);
void ComGlLoadImageReleaseTextureImage(_ComGlTextureImage* image);

// The one upload behind every file loader (BMP, TGA, JPEG): texels of power-of-two sides, bottom
// row first, RGBA when rgba is set and RGB otherwise, become a linearly filtered texture. On
// success the image takes the buffer and is marked loaded; when the context refuses the texture,
// its name is deleted, the buffer freed, the error logged under label, the image left as it was,
// and 0 returned.
char ComGlLoadImageUploadTexels(const char* label, unsigned char* pixels, int width, int height, char rgba,
                                _ComGlTextureImage* image);

#endif
