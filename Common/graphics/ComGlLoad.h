// Image loaders: BMP, TGA and JPEG files become textures with power-of-two sides, the texel
// bytes kept in memory (bottom row first) beside the OpenGL texture.
#ifndef COM_GL_LOAD_H
#define COM_GL_LOAD_H

#include "ComGlTexture.h"
#include "ComGlJpeg.h"

char ComGlLoadImageLoadBmp(const char* path, char force32, char alpha_type, _ComGlTextureImage* image);
char ComGlLoadImageLoadTga(const char* path, char force32, char alpha_type, _ComGlTextureImage* image);
char ComGlLoadImageCanTgaFileBeLoaded(const char* path);
char ComGlLoadImageCreateEmptyTextureImage(int width, int height, int bpp, _ComGlTextureImage* image);
void ComGlLoadImageReleaseTextureImage(_ComGlTextureImage* image);

#endif
