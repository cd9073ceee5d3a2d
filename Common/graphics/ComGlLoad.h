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

// A decoded picture as the resampling behind every loader reads it.
struct _ComGlLoadSource {
  const unsigned char* data;
  int width;
  int height;
  int bytes_per_pixel;  // 3 or 4
  int r_off, g_off, b_off;
  int a_off;            // -1 when the source has no alpha
  bool top_first;       // the first row in memory is the top of the picture
};
// The picture scaled to new texels of power-of-two sides (ComMiscGetClosestPowerOf2 of each side),
// bottom row first, RGBA when rgba is set (alpha from the source's own when alpha_from_file, else
// computed by alpha_type) and RGB otherwise; their sides in width and height. Null when memory is
// short. The caller frees them.
unsigned char* ComGlLoadImageResample(const _ComGlLoadSource* src, char rgba, char alpha_type, char alpha_from_file,
                                      int* width, int* height);

// The one upload behind every file loader (BMP, TGA, JPEG): texels of power-of-two sides, bottom
// row first, RGBA when rgba is set and RGB otherwise, become a linearly filtered texture. On
// success the image takes the buffer and is marked loaded; when the context refuses the texture,
// its name is deleted, the buffer freed, the error logged under label, the image left as it was,
// and 0 returned.
char ComGlLoadImageUploadTexels(const char* label, unsigned char* pixels, int width, int height, char rgba,
                                _ComGlTextureImage* image);

#endif
