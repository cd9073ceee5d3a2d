// 32-bit pixel buffers that load from and save to uncompressed TGA files, paint, blit, combine
// and halve, and exchange pixels with textures.
#ifndef COM_TGA_H
#define COM_TGA_H

#include <stdint.h>

struct _ComGlDxTexture;

// Pixel words hold alpha in bits 24..31, red 16..23, green 8..15, blue 0..7 (stored
// little-endian: the B, G, R, A byte order of a 32-bit TGA file). The first row in memory is the
// bottom row of the picture. A zeroed record is an empty buffer.
struct _ComTgaData {
  uint32_t* pixels;  // owned (malloc)
  int width;
  int height;
  int bpp;           // always 32 for a created buffer
  int size;          // byte length: width x height x 4
};

char ComTgaCreateDataForFileWithColour(int width, int height, int bpp, float r, float g, float b, float a, _ComTgaData* data);
char ComTgaCreateDataForFile(int width, int height, int bpp, _ComTgaData* data);
void ComTgaFreeData(_ComTgaData* data);
char ComTgaLoadDataFromFile(const char* path, _ComTgaData* data, char create);
char ComTgaSaveToFileFromData(const char* path, _ComTgaData* data);
char ComTgaSaveToFileFromTexture(const char* path, _ComGlDxTexture* texture);
char ComTgaSetDataEntryToColour(_ComTgaData* data, int x, int y, float r, float g, float b);
void ComTgaSetDataEntryToColourNoChecks(_ComTgaData* data, int x, int y, float r, float g, float b);
char ComTgaSetDataPartColour(_ComTgaData* data, int x, int y, int w, int h, float r, float g, float b, float a);
char ComTgaInvertAlpha(_ComTgaData* data);
uint32_t ComTgaAverageTwoPixels(uint32_t p, uint32_t q);
char ComTgaCopyDataToHalfResData(_ComTgaData* source, _ComTgaData* target, char create);
char ComTgaFillDataFromData(int sx, int sy, int sw, int sh, _ComTgaData* source, int dx, int dy, int dw, int dh, _ComTgaData* target, char mirror, char flip, char mode, char alpha_only);
char ComTgaFillDataFromTexture(int x, int y, int w, int h, _ComGlDxTexture* texture, int to_x, int to_y, int to_w, int to_h, _ComTgaData* data, char mirror_x, char mirror_y, char alpha_mode, float factor);
char ComTgaFillTextureWithTgaData(_ComTgaData* data, _ComGlDxTexture* texture);

// The header check shared by every TGA reader (these buffers and the texture loaders): reads the
// 18 header bytes from an open file at its start and answers 1 for an uncompressed true-colour
// file, with its sides, bits per pixel (not checked here) and whether its first row is the top.
// 0, with nothing logged, when the file is shorter or of another kind.
char ComTgaReadFileHeader(void* file, int* width, int* height, int* bits, char* top_first);

#endif
