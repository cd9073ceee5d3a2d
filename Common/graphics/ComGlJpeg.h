// JPEG through libjpeg: probe, decode into a caller's buffer, encode RGB rows, save a texture or
// a pixel buffer, and turn a three-component JPEG file into a texture image.
#ifndef COM_GL_JPEG_H
#define COM_GL_JPEG_H

struct _ComGlTextureImage;
struct _ComGlDxTexture;
struct _ComTgaData;

char ComGlJpegCreateTextureFromFile(const char* path, char force32, char alpha_type, _ComGlTextureImage* image);

char ComJpegGetFileInfo(const char* path, int* width, int* height, int* components);
// buffer must hold width x height x components bytes; rows top first.
char ComJpegReadFileToBuffer(const char* path, int* width, int* height, unsigned char* buffer);
// rgb holds width x height x 3 bytes, rows top first.
char ComJpegWriteFileFromBuffer(const char* path, int quality, int dpi, int width, int height, unsigned char* rgb);
char ComJpegSaveToFileFromTexture(const char* path, _ComGlDxTexture* texture, int quality, int dpi);
char ComJpegSaveToFileFromTgaData(const char* path, _ComTgaData* data, int quality, int dpi);
char ComJpegDoesFileHaveJpegExtension(const char* path);

#endif
