// Drawable textures: a loaded image plus where it goes on the virtual 640 x 480 screen (or in
// 3D), which part of it is shown, in-place pixel operations and the exchange with 32-bit pixel
// buffers.
#ifndef COM_GL_TEXTURE_H
#define COM_GL_TEXTURE_H

#include <stdint.h>

struct _Vector3d;
struct _ComTgaData;

// One loaded image. The first row in memory is the bottom row of the picture; rows are packed
// without padding, 3 bytes (R, G, B) or 4 bytes (R, G, B, A) per texel. A zeroed record is an
// empty image.
struct _ComGlTextureImage {
  unsigned char* pixels;   // owned (malloc), kept after upload
  int bpp;                 // 24 or 32
  int width;               // texture width in texels (a power of two for files)
  int height;              // texture height in texels
  unsigned int tex_name;   // the OpenGL texture name
  char loaded;             // 1 once uploaded
};

// The source texel that texel i of a copy scaled from src_len to dst_len texels takes: the
// nearest below (i x src_len / dst_len), never past the source's last. Every scaled copy of
// pixels (the file loaders, part copies, pixel-buffer fills) samples through it.
inline int ComGlTextureScaledIndex(int i, int src_len, int dst_len) {
  const int64_t s = (int64_t)i * src_len / dst_len;
  return s > src_len - 1 ? src_len - 1 : (int)s;
}

// A texture placed on screen. A zeroed record is a texture not created; records are plain data.
struct _ComGlDxTexture {
  _ComGlTextureImage image;
  char created;            // 1 after a successful load or creation
  float x, y, w, h;        // 2D placement (virtual screen for the plain draws)
  int width, height;       // copies of the image's texture size
  char full_coords;        // 1 while the coordinates are the automatic whole-image ones
  float tex_left, tex_top, tex_right, tex_bottom;  // measured from the top left of the picture
  char in_3d;              // 1 once a 3D placement was given
  char orientation;        // constant coordinate of the 3D quad: 0 z, 1 y, 2 x
  float corner_a[3];       // the (tex_right, tex_bottom) corner
  float corner_b[3];       // the (tex_left, tex_top) corner
  char has_normal;
  float normal[3];
};

// Loading and creation (1 on success).
char ComGlTextureLoadFromBmpFile(const char* path, char colour_key, char force32, char alpha_type, _ComGlDxTexture* texture);
char ComGlTextureLoadFromTgaFile(const char* path, char colour_key, char force32, char alpha_type, _ComGlDxTexture* texture);
char ComGlTextureLoadFromTgaFileWH(const char* path, char force32, char alpha_type, int* width, int* height, _ComGlDxTexture* texture);
char ComGlTextureLoadFromJpegFile(const char* path, char colour_key, char force32, char alpha_type, _ComGlDxTexture* texture);
int ComGlTextureGetFileExt(const char* path, int dat_type);
char ComGlTextureLoadFromFileUsingExt(const char* path, char colour_key, char force32, char alpha_type, int dat_type, _ComGlDxTexture* texture);
char ComGlTextureCreateEmptyTexture(int* width, int* height, char with_alpha, _ComGlDxTexture* texture);
void ComGlTextureRelease(_ComGlDxTexture* texture);

// Placement and coordinates.
char ComGlTexturePositionRatioed(_ComGlDxTexture* texture, int x, int y, int w, int h);
char ComGlTexturePositionFloatRatioed(_ComGlDxTexture* texture, float x, float y, float w, float h);
char ComGlTexturePositionFloatPure(_ComGlDxTexture* texture, float x, float y, float w, float h);
char ComGlTexturePosition3dVec3(_ComGlDxTexture* texture, char orientation, _Vector3d* corner_a, _Vector3d* corner_b);
void ComGlTextureSetTextureCoordinates(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right, float tex_bottom);
void ComGlTextureUpdateFullTextureCoordinates(_ComGlDxTexture* texture);
void ComGlTextureSetNormal(_ComGlDxTexture* texture, float x, float y, float z);

// Drawing.
void ComGlTextureDraw(_ComGlDxTexture* texture);
void ComGlTextureDrawPure(_ComGlDxTexture* texture);
void ComGlTextureDrawPart(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right, float tex_bottom);
void ComGlTextureDrawPartPure(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right, float tex_bottom);
void ComGlTextureDrawWithColour(_ComGlDxTexture* texture, float r, float g, float b, float a);
void ComGlTextureDrawPartWithColour(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right, float tex_bottom, float r, float g, float b, float a);
void ComGlTextureDrawPartPureWithColour(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right, float tex_bottom, float r, float g, float b, float a);
void ComGlTextureDrawAsBackground(_ComGlDxTexture* texture);
void ComGlTexturePositionFloatRatioedAndDraw(_ComGlDxTexture* texture, float x, float y, float w, float h);
void ComGlTextureDraw4As1(_ComGlDxTexture* tex_bottom, _ComGlDxTexture* t2, _ComGlDxTexture* t3, _ComGlDxTexture* t4, float x, float y, float w, float h);

// Pixel operations (1 on success). Rectangles count from the top left of the picture; a
// negative width or height means the whole texture's.
char ComGlTextureTransformPixels(_ComGlDxTexture* texture, int op, int x, int y, int w, int h, float kr, float kg, float kb, float ka);
char ComGlTextureSetPartColour(_ComGlDxTexture* texture, int x, int y, int w, int h, float kr, float kg, float kb, float ka);
char ComGlTextureInvertTexturePart(_ComGlDxTexture* texture, int x, int y, int w, int h, float kr, float kg, float kb, float ka);
char ComGlTextureMultiplyTextPartColour(_ComGlDxTexture* texture, int x, int y, int w, int h, float kr, float kg, float kb, float ka);
char ComGlTexturePowerTextPartColour(_ComGlDxTexture* texture, int x, int y, int w, int h, float kr, float kg, float kb, float ka);
char ComGlTextureClearTexturePart(_ComGlDxTexture* texture, int x, int y, int w, int h);
char ComGlTextureCopyAlphaChannelFromTexture(_ComGlDxTexture* source, _ComGlDxTexture* destination);
char ComGlTextureCopyPartToAnotherTexture(_ComGlDxTexture* from, _ComGlDxTexture* to, int x, int y, int w, int h, int to_x, int to_y, int to_w, int to_h, char blend);
char ComGlTextureUpdateFromScreen(int x, int y, int w, int h, _ComGlDxTexture* texture);

// Exchange with 32-bit pixel buffers (pixel words 0xAARRGGBB).
char ComGlTgaFillDataFromTexture(int x, int y, int w, int h, _ComGlDxTexture* texture, int to_x, int to_y, int to_w, int to_h, _ComTgaData* data, char mirror_x, char mirror_y, char alpha_mode, float factor);
char ComGlTgaFillTextureWithTgaData(_ComTgaData* data, _ComGlDxTexture* texture);
char ComGlTgaUpdateTexCharBufferFromGlTexture(_ComGlDxTexture* texture, unsigned char* buffer, uint32_t length);

#endif
