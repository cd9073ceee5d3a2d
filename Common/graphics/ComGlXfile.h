// Text 3D model store: up to 1000 models (numbers 0 to 999), each read from a text model file of
// "Mesh" blocks with normals, one material and optional texture coordinates, compiled into one
// OpenGL display list per mesh ("part", up to 149 per model), with per-part materials, colours
// and textures that can be changed and drawn part by part or whole. The store is zeroed when the
// OpenGL graphics are created and released when they are deleted.
#ifndef COM_GL_XFILE_H
#define COM_GL_XFILE_H

#include <cstdint>

#include "ComGlLights.h"
#include "ComGlTexture.h"
#include "ComMisc.h"

inline constexpr int XFILE_MAX_MODELS = 1000;
inline constexpr int XFILE_MAX_PARTS = 150;     // a file of 150 meshes or more is refused
inline constexpr int XFILE_MAX_ENTRIES = 4000;  // vertices, normals, faces per part (counts <= 3999)
inline constexpr int XFILE_MAX_MATERIALS = 19;  // texture names per file
inline constexpr int XFILE_LINE_SIZE = 512;     // lines up to 511 characters

// Six values the loader keeps but does not use.
struct _XfileConvert {
  int32_t value[6];
};
static_assert(sizeof(_XfileConvert) == 24, "six 4-byte values");

// Module switches (all initially 0).
extern char glxf_use_advanced_materials;
extern char glxf_spec_highlights_over_textures;
extern char glxf_use_colours_with_textures;
extern char glxf_treat_dat_files_as_tgas;
extern char glxf_treat_bmp_files_as_tgas;
extern char xfp_allow_reset;  // initially 1: the parser clears its arrays for every part

// Set-up and switches.
void ComGlXfileInit();
void ComGlXfileExit();
// Turning it on needs ComGlMaterialsUseAdvancedMaterials(1) first.
void ComGlXfileUseAdvancedMaterials(char on);
void ComGlXfileUseColourWhenRenderingPartsThatHaveTextures(char on);
void ComGlXfileTreatDatFilesAsTGAs(char on);
void ComGlXfileTreatBmpFilesAsTGAs(char on);
// A value with its top bit set (such as -1) keeps the stored switch and re-sends it.
void ComGlXfileDrawSpecularHighlightsOnTopOfTexture(char on);
void ComGlXfileParseAllowReset(char on);
// Called after each part is read, with the parser's data still readable; 0 ends the load.
void ComGlXfileParseSetPartParsedCB(char (*callback)(int part));

// Loading. The texture-name callback, when given, may answer the path of a part's texture (an
// empty answer: the part has none); else the path is the file's name beside the model. 1 when the
// whole file was read; on 0 the slot keeps what was built until it is released or loaded again.
typedef char* (*XfileTextureNameCallback)(int model, int part, char* folder, char* file);
char ComGlXfileLoadFromFile(const char* folder, const char* name, int model, float sx, float sy, float sz,
                            _XfileConvert* convert, char force32, char alpha_type,
                            XfileTextureNameCallback texture_name);
// The same from a file opened for reading (textures are looked for in folder, which may be null).
char ComGlXfileParseFile(void* file, const char* folder, int model, float sx, float sy, float sz,
                         _XfileConvert* convert, char force32, char alpha_type,
                         XfileTextureNameCallback texture_name);
void ComGlXfileRelease(int model);
char ComGlXfileExists(int model);
int ComGlXfileGetNumParts(int model);

// Parts (1 on success).
char ComGlXfileShowPart(int model, int part, char show);
char ComGlXfileSetPartColour(int model, int part, float r, float g, float b);
char ComGlXfileSetPartColourWithAlpha(int model, int part, float r, float g, float b, float a);
char ComGlXfileSetPartColourAlphaLevel(int model, int part, float a);
char ComGlXfileSetPartSpecularColour(int model, int part, float r, float g, float b, float shininess);
// transparency 2: transparent; 1: transparent when the alpha is neither 0 nor 1; else opaque.
char ComGlXfileSetPartMaterial(int model, int part, float r, float g, float b, float a, float sr, float sg,
                               float sb, float shininess, float er, float eg, float eb, char transparency,
                               int blend_type);
char ComGlXfileSetPartMaterialEx(int model, int part, _ComMaterial* material, char transparency, int blend_type);
// An empty path leaves the part without texture. With only_replace, a part that has no texture
// (or does not exist) is left alone.
char ComGlXfileSetPartTextureFromFile(int model, int part, const char* path, char only_replace);
// The part's own material, to change in place (advanced materials only).
char ComGlXfileGetPartMaterialP(int model, int part, _ComMaterial** material);
char ComXfileGetPartTextureP(int model, int part, _ComGlDxTexture** texture);  // 0 without texture

// The same on every part of a model.
char ComGlXfileSetColour(int model, float r, float g, float b);
char ComGlXfileSetColourWithAlpha(int model, float r, float g, float b, float a);
char ComGlXfileSetAlphaLevel(int model, float a);
char ComGlXfileSetSpecularColour(int model, float r, float g, float b, float shininess);
char ComGlXfileSetMaterial(int model, float r, float g, float b, float a, float sr, float sg, float sb,
                           float shininess, float er, float eg, float eb, char transparency, int blend_type);
char ComGlXfileSetMaterialEx(int model, _ComMaterial* material, char transparency, int blend_type);
char ComGlXfileSetAllTexturesFromFile(int model, const char* path, char only_replace);

// Drawing. A part is drawn with the caller's texture-bound and colour-set state, which comes back
// through the out pointers (either may be null).
char ComGlXfileRender(int model);
char ComGlXfileRenderPart(int model, int part, char texture_bound, char colour_set, char unbind_after,
                          char restore_colour_after, char* texture_bound_out, char* colour_set_out);
char ComGlXfileRenderNoColour(int model);
char ComGlXfileRenderPartNoColour(int model, int part);
char ComGlXfileRenderNoColourNoTexture(int model);
char ComGlXfileRenderPartNoColourNoTexture(int model, int part);
char ComGlXfileRenderSpecularHighlight(int model);
char ComGlXfileRenderSpecularHighlightPart(int model, int part);
char ComGlXfileSetTexture(int model, int part);
void ComGlXfileClearTexture();
void ComGlXfileRestoreDefaultColour();
void ComXfileCleanupTexAndColour(char texture_bound, char colour_set);

// The part just read (for the part-parsed callback).
unsigned ComGlXfileParseGetPartNumVertices();
char ComGlXfileParseGetPartVertex(unsigned i, _Vector3d* v);
unsigned ComGlXfileParseGetPartNumNormals();
char ComGlXfileParseGetPartNormal(unsigned i, _Vector3d* n);
unsigned ComGlXfileParseGetPartNumFaces();
char ComGlXfileParseGetPartFace(unsigned i, unsigned* a, unsigned* b, unsigned* c);
char ComGlXfileParseGetPartFaceNormals(unsigned i, unsigned* a, unsigned* b, unsigned* c);
// Without texture coordinates: s = t = 0.9999 and 0.
char ComGlXfileParseGetPartVertexTexCoord(unsigned i, float* s, float* t);
// The part's texture file name, "" without one, "No part" outside a load.
const char* ComGlXfileParseGetPartMaterialFilename();

// Utilities. A zero vector stays zero.
void ComGlXfileUnifyNormal(float* x, float* y, float* z);
void ComGlXfileUnifyNormalP(_Vector3d* v);
// The line with tabs made blanks, leading blanks dropped and cut at its first CR or LF; out holds
// at least strlen(line) + 1 bytes.
void ComGlXfileFormatLine(const char* line, char* out);

// The parser, one line at a time.
inline constexpr char XFILE_PARSE_ERROR = 0;     // logged; the reading ends
inline constexpr char XFILE_PARSE_OK = 1;
inline constexpr char XFILE_PARSE_PART_DONE = 2;
void ComGlXfileParseReset(char clear);
char ComGlXfileParseLine(const char* line);  // a formatted, non-empty line
char ComGlXfileParseFillList();              // the part's triangles into the open display list
char ComGlXfileParseDoFillList();

#endif
