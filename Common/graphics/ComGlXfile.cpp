// Text 3D model store: the line parser and its states, one display list per mesh, per-part
// materials and textures, and the draws.
#include "ComGlXfile.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlMisc.h"
#include "ComMath.h"

char glxf_use_advanced_materials = 0;
char glxf_spec_highlights_over_textures = 0;
char glxf_use_colours_with_textures = 0;
char glxf_treat_dat_files_as_tgas = 0;
char glxf_treat_bmp_files_as_tgas = 0;
char xfp_allow_reset = 1;

namespace {

struct XfilePart {
  _ComMaterial material;
  int texture_index;  // entry of the file's texture-name list, -1 for none
  _ComGlDxTexture texture;
  char hidden;
  int blend_type;  // used while a transparent part is drawn
};

struct XfileModel {
  unsigned int list_base;  // part n is list base + n
  XfilePart parts[XFILE_MAX_PARTS];
  int num_parts;  // 0: the slot is empty
};

// The store. A slot's record is made when a model is loaded into it, so the empty store costs
// nothing (a full record is some 30 KB).
std::unique_ptr<XfileModel> com_gl_xfile[XFILE_MAX_MODELS];

struct XfpFace {
  int points;  // 3 or 4
  unsigned index[4];
};

// One entry of the file's texture-name list: a named material (or "" for an inline one) and its
// texture file.
struct XfpName {
  char material[XFILE_LINE_SIZE];
  char file[XFILE_LINE_SIZE];
};

// The part being read.
struct XfpState {
  _Vector3d vertices[XFILE_MAX_ENTRIES];
  _Vector3d normals[XFILE_MAX_ENTRIES];
  float texcoords[XFILE_MAX_ENTRIES][2];
  XfpFace faces[XFILE_MAX_ENTRIES];
  XfpFace normal_faces[XFILE_MAX_ENTRIES];
  unsigned num_vertices, num_normals, num_faces, num_normal_faces, num_texcoords;
  unsigned expected;     // entries the current list state waits for, in total
  unsigned index_lines;  // material index lines read
  char has_texcoords;
  float face_colour[4];
  float power;
  float specular[3];
  float emissive[3];
  int texture_index;
  int state;
  char unexpected_logged;
};

XfpState xfp;
// One spare entry: a named material's name is read into the next entry before it is kept.
XfpName xfp_names[XFILE_MAX_MATERIALS + 1];
int xfp_num_names = 0;
float xfp_scale[3] = {1, 1, 1};
char xfp_scaling = 0;
int xfp_model = -1;  // the model and part being read; -1 outside a load
int xfp_part = -1;
char (*xfp_part_parsed_cb)(int part) = nullptr;
_XfileConvert xfp_convert;

const char* const kParseLabel = "ComGlXfileParseLine";

bool StartsWith(const char* s, const char* prefix) { return strncmp(s, prefix, strlen(prefix)) == 0; }

float ClampShininess(float s) {
  if (!(s >= 0)) return 0;  // also NaN
  return s > 128 ? 128 : s;
}

bool ValidModel(const char* label, int model) {
  if (model >= XFILE_MAX_MODELS) {
    DebugError(label, "Object num too big (%d)", model);
    return false;
  }
  if (model < 0) {
    DebugError(label, "Invalid object num (%d)", model);
    return false;
  }
  return true;
}

// The model's record, null when the number is invalid (logged) or nothing is loaded there.
XfileModel* Model(const char* label, int model) {
  if (!ValidModel(label, model)) return nullptr;
  return com_gl_xfile[model].get();
}

int NumParts(const XfileModel* m) { return m ? m->num_parts : 0; }

XfilePart* Part(const char* label, int model, int part) {
  if (!ValidModel(label, model)) return nullptr;
  XfileModel* m = com_gl_xfile[model].get();
  if (!m || part < 0 || part >= m->num_parts) {
    DebugError(label, "No part <%d> in model <%d>", part, model);
    return nullptr;
  }
  return &m->parts[part];
}

bool HasTexture(const XfilePart& p) { return p.texture.created != 0; }

void SetColour4(float* dst, float r, float g, float b, float a) {
  dst[0] = r;
  dst[1] = g;
  dst[2] = b;
  dst[3] = a;
}

bool AlphaIsPartial(float a) { return a != 0.0f && a != 1.0f; }

// Frees a slot's memory without OpenGL calls: its context is already gone.
void DropSlot(int model) {
  XfileModel* m = com_gl_xfile[model].get();
  if (!m) return;
  for (XfilePart& p : m->parts) free(p.texture.image.pixels);
  com_gl_xfile[model].reset();
}

// A name quoted as "name"; (blank-free): the text from the quote up to the next quote.
bool ReadQuotedName(const char* from_quote, char* out) {
  char buf[XFILE_LINE_SIZE];
  if (sscanf(from_quote, "\"%511s", buf) != 1) return false;
  char* end = strchr(buf, '"');
  if (end) *end = 0;
  snprintf(out, XFILE_LINE_SIZE, "%s", buf);
  return true;
}

// Adds an entry to the texture-name list (the name is already in the spare entry for named
// materials). -1 when the list is full (logged).
int AddNameEntry() {
  if (xfp_num_names >= XFILE_MAX_MATERIALS) {
    DebugError(kParseLabel, "Too many materials");
    return -1;
  }
  return xfp_num_names++;
}

// A count line of a list state: 0 .. 3999.
bool ReadCount(const char* line, int* out) {
  int n;
  if (sscanf(line, "%d", &n) != 1) {
    DebugError(kParseLabel, "Invalid line <%s> (state %d)", line, xfp.state);
    return false;
  }
  *out = n;
  return true;
}

bool BadCount(int n, const char* what) {
  if (n >= 0 && n < XFILE_MAX_ENTRIES) return false;
  if (n < 0)
    DebugError(kParseLabel, "Invalid count (%d)", n);
  else if (strcmp(what, "faces") == 0)
    DebugError(kParseLabel, "Too many xfp_faces (%d)", n);
  else
    DebugError(kParseLabel, "Too many xfp_%s", what);
  return true;
}

// A face line "3;a,b,c;" or "4;a,b,c,d;". Indices compare unsigned, so negative ones are refused.
bool ReadFace(const char* line, XfpFace* face, bool normals) {
  int v[4] = {0, 0, 0, 0};
  const char* what = normals ? "Normals" : "Vertices";
  if (line[0] == '3') {
    if (sscanf(line, "3;%d,%d,%d;", &v[0], &v[1], &v[2]) != 3) {
      DebugError(kParseLabel, "Invalid line <%s> (state %d)", line, xfp.state);
      return false;
    }
    for (int k = 0; k < 3; k++)
      if ((unsigned)v[k] >= (unsigned)XFILE_MAX_ENTRIES) {
        DebugError(kParseLabel, "Bad %s <%d,%d,%d>", what, v[0], v[1], v[2]);
        return false;
      }
    face->points = 3;
  } else if (line[0] == '4') {
    if (sscanf(line, "4;%d,%d,%d,%d;", &v[0], &v[1], &v[2], &v[3]) != 4) {
      DebugError(kParseLabel, "Invalid line <%s> (state %d)", line, xfp.state);
      return false;
    }
    for (int k = 0; k < 4; k++)
      if ((unsigned)v[k] >= (unsigned)XFILE_MAX_ENTRIES) {
        DebugError(kParseLabel, "Bad %s <%d,%d,%d,%d>", what, v[0], v[1], v[2], v[3]);
        return false;
      }
    face->points = 4;
  } else {
    if (normals)
      DebugError(kParseLabel, "<%d> point normal xfp_faces not supported", line[0]);
    else
      DebugError(kParseLabel, "<%d> point xfp_faces not supported", line[0]);
    return false;
  }
  for (int k = 0; k < 4; k++) face->index[k] = (unsigned)v[k];
  return true;
}

bool ReadFloats(const char* line, const char* format, int n, float* a, float* b, float* c = nullptr,
                float* d = nullptr) {
  if (sscanf(line, format, a, b, c, d) == n) return true;
  DebugError(kParseLabel, "Invalid line <%s> (state %d)", line, xfp.state);
  return false;
}

// The part's material from what the parser read: textured parts are white.
void SetPartMaterialFromParser(XfilePart* part) {
  _ComMaterial& m = part->material;
  memset(&m, 0, sizeof(m));
  if (xfp.texture_index >= 0) {
    SetColour4(m.ambient, 1, 1, 1, 1);
    SetColour4(m.diffuse, 1, 1, 1, 1);
    SetColour4(m.specular, 0, 0, 0, 1);
    m.shininess = 127;
    SetColour4(m.emission, 0, 0, 0, 0);
  } else {
    memcpy(m.ambient, xfp.face_colour, sizeof(m.ambient));
    memcpy(m.diffuse, xfp.face_colour, sizeof(m.diffuse));
    SetColour4(m.specular, xfp.specular[0], xfp.specular[1], xfp.specular[2], 1);
    m.shininess = ClampShininess(xfp.power);
    SetColour4(m.emission, xfp.emissive[0], xfp.emissive[1], xfp.emissive[2], 1);
  }
  part->texture_index = xfp.texture_index;
}

// The lines counted as parts ("Mesh " and a name); the file is rewound.
int CountMeshes(void* file) {
  char line[XFILE_LINE_SIZE], formatted[XFILE_LINE_SIZE];
  int count = 0;
  while (ComFileReadLine(file, line, sizeof(line))) {
    ComGlXfileFormatLine(line, formatted);
    if (StartsWith(formatted, "Mesh ") && strlen(formatted) > 5) count++;
  }
  ComFileRewind(file);
  return count;
}

// Loads the textures named for the parts. 0 on the first failure.
char LoadPartTextures(const char* label, const char* folder, int model, XfileModel* m, char force32,
                      char alpha_type, XfileTextureNameCallback texture_name) {
  char folder_copy[XFILE_LINE_SIZE];
  snprintf(folder_copy, sizeof(folder_copy), "%s", folder ? folder : "");
  for (int n = 0; n < m->num_parts; n++) {
    XfilePart& part = m->parts[n];
    if (part.texture_index < 0 || part.texture_index >= xfp_num_names) continue;
    char* file = xfp_names[part.texture_index].file;
    char path[XFILE_LINE_SIZE];
    char* answer = texture_name ? texture_name(model, n, folder_copy, file) : nullptr;
    if (answer) {
      if (strlen(answer) >= sizeof(path)) {
        DebugError(label, "Material name to long <%s>", answer);
        return 0;
      }
      if (!answer[0]) {
        ComGlTextureRelease(&part.texture);
        part.texture_index = -1;
        continue;
      }
      snprintf(path, sizeof(path), "%s", answer);
    } else {
      int len = folder_copy[0] ? snprintf(path, sizeof(path), "%s/%s", folder_copy, file)
                               : snprintf(path, sizeof(path), "%s", file);
      if (len < 0 || (size_t)len >= sizeof(path)) {
        DebugError(label, "Material name to long <%s>", file);
        return 0;
      }
    }
    const int dat_type = glxf_treat_dat_files_as_tgas ? 2 : 1;
    if (ComGlTextureGetFileExt(path, dat_type) == 1 && glxf_treat_bmp_files_as_tgas) {
      size_t len = strlen(path);
      memcpy(path + len - 3, "tga", 3);
    }
    ComGlTextureRelease(&part.texture);
    if (!ComGlTextureLoadFromFileUsingExt(path, 0, force32, alpha_type, dat_type, &part.texture)) {
      DebugError(label, "Could not load texture <%s> for part %d of model %d", path, n, model);
      return 0;
    }
  }
  return 1;
}

void BindPartTexture(const XfilePart& p) { glBindTexture(GL_TEXTURE_2D, HasTexture(p) ? p.texture.image.tex_name : 0); }

}  // namespace

// ---- Set-up and switches ----

void ComGlXfileInit() {
  for (int i = 0; i < XFILE_MAX_MODELS; i++) DropSlot(i);
}

void ComGlXfileExit() {
  for (int i = 0; i < XFILE_MAX_MODELS; i++)
    if (com_gl_xfile[i]) ComGlXfileRelease(i);
}

void ComGlXfileUseAdvancedMaterials(char on) {
  if (on && !ComGlMaterialsAreAdvancedMaterialsOn()) {
    DebugError("ComGlXfileUseAdvancedMaterials", "Call ComGlMaterialsUseAdvancedMaterials(1) first");
    return;
  }
  glxf_use_advanced_materials = on ? 1 : 0;
}

void ComGlXfileUseColourWhenRenderingPartsThatHaveTextures(char on) { glxf_use_colours_with_textures = on ? 1 : 0; }
void ComGlXfileTreatDatFilesAsTGAs(char on) { glxf_treat_dat_files_as_tgas = on ? 1 : 0; }
void ComGlXfileTreatBmpFilesAsTGAs(char on) { glxf_treat_bmp_files_as_tgas = on ? 1 : 0; }
void ComGlXfileParseAllowReset(char on) { xfp_allow_reset = on ? 1 : 0; }
void ComGlXfileParseSetPartParsedCB(char (*callback)(int part)) { xfp_part_parsed_cb = callback; }

void ComGlXfileDrawSpecularHighlightsOnTopOfTexture(char on) {
  // A value with its top bit set keeps the stored switch: the default state re-sends it into
  // every new context this way.
  if (!((unsigned char)on & 0x80)) glxf_spec_highlights_over_textures = on ? 1 : 0;
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                glxf_spec_highlights_over_textures ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
}

// ---- Loading ----

char ComGlXfileLoadFromFile(const char* folder, const char* name, int model, float sx, float sy, float sz,
                            _XfileConvert* convert, char force32, char alpha_type,
                            XfileTextureNameCallback texture_name) {
  const char* label = "ComGlXfileLoadFromFile";
  if (!name) {
    DebugError(label, "No file name");
    return 0;
  }
  const bool has_folder = folder && folder[0];
  char path[XFILE_LINE_SIZE];
  int len = has_folder ? snprintf(path, sizeof(path), "%s/%s", folder, name) : snprintf(path, sizeof(path), "%s", name);
  if (len < 0 || (size_t)len >= sizeof(path)) {
    DebugError(label, "Invalid file name <%s><%s>", folder ? folder : "", name);
    return 0;
  }
  if (!ValidModel(label, model)) return 0;
  ComGlMiscCheckGlError(label, "Existing Error Before Function Call");
  ComGlXfileRelease(model);
  void* file = ComFileOpenForReading(path);
  if (!file) {
    DebugError(label, "Could not open file <%s>", path);
    return 0;
  }
  char ok = ComGlXfileParseFile(file, has_folder ? folder : nullptr, model, sx, sy, sz, convert, force32,
                                alpha_type, texture_name);
  ComFileClose(file);
  return ok;
}

char ComGlXfileParseFile(void* file, const char* folder, int model, float sx, float sy, float sz,
                         _XfileConvert* convert, char force32, char alpha_type,
                         XfileTextureNameCallback texture_name) {
  const char* label = "ComGlXfileParseFile";
  if (!ValidModel(label, model)) return 0;
  if (!file) {
    DebugError(label, "No file");
    return 0;
  }
  if (convert) xfp_convert = *convert;
  ComGlXfileRelease(model);
  com_gl_xfile[model].reset(new XfileModel());
  XfileModel* m = com_gl_xfile[model].get();
  for (XfilePart& p : m->parts) p.texture_index = -1;
  xfp_num_names = 0;

  const int count = CountMeshes(file);
  if (count == 0) {
    DebugError(label, "Could not find any meshes in model %d", model);
    return 0;
  }
  if (count >= XFILE_MAX_PARTS) {
    DebugError(label, "Too many parts in model %d", model);
    return 0;
  }
  xfp_scale[0] = sx;
  xfp_scale[1] = sy;
  xfp_scale[2] = sz;
  xfp_scaling = sx != 1.0f || sy != 1.0f || sz != 1.0f;

  const GLuint base = glGenLists(count);
  if (base == 0) {
    DebugError(label, "Could not create %d display lists for model %d", count, model);
    return 0;
  }
  m->list_base = base;
  m->num_parts = count;
  glNewList(base, GL_COMPILE);
  ComGlMiscCheckGlError(label, "glNewList()");
  bool list_open = true;

  xfp_model = model;
  xfp_part = 0;
  ComGlXfileParseReset(1);
  char ok = 1;
  bool stopped = false;
  bool again = false;  // the line that ended a part is read again as the next part's first
  char line[XFILE_LINE_SIZE], formatted[XFILE_LINE_SIZE];
  int part = 0;
  for (;;) {
    char result;
    if (again) {
      again = false;
      result = ComGlXfileParseLine(formatted);
    } else if (ComFileReadLine(file, line, sizeof(line))) {
      ComGlXfileFormatLine(line, formatted);
      if (!formatted[0]) continue;
      result = ComGlXfileParseLine(formatted);
    } else {
      // The end of the file: a part waiting only for what may follow its material is complete.
      if (part >= count) break;
      if (xfp.state == 19 && xfp.texture_index < 0) {
        result = XFILE_PARSE_PART_DONE;
        formatted[0] = 0;
      } else {
        DebugError(label, "Unexpected end of file in part %d of model %d", part, model);
        ok = 0;
        break;
      }
    }
    if (result == XFILE_PARSE_ERROR) {
      ok = 0;
      break;
    }
    if (result != XFILE_PARSE_PART_DONE || part >= count) continue;

    if (!ComGlXfileParseFillList()) {
      ok = 0;
      break;
    }
    glEndList();
    ComGlMiscCheckGlError(label, "glEndList()");
    list_open = false;
    SetPartMaterialFromParser(&m->parts[part]);
    if (xfp_part_parsed_cb && !xfp_part_parsed_cb(part)) {
      stopped = true;
      break;
    }
    part++;
    again = StartsWith(formatted, "Mesh ");
    if (part < count) {
      glNewList(base + part, GL_COMPILE);
      ComGlMiscCheckGlError(label, "glNewList() (2)");
      list_open = true;
      xfp_part = part;
      ComGlXfileParseReset(1);
    } else {
      // Named materials after the meshes are still collected.
      xfp_part = -1;
      ComGlXfileParseReset(0);
    }
  }
  if (list_open) glEndList();
  xfp_model = -1;
  xfp_part = -1;
  if (stopped) return 0;

  if (!LoadPartTextures(label, folder, model, m, force32, alpha_type, texture_name)) return 0;
  ComGlMiscCheckGlError(label, "At End");
  return ok;
}

void ComGlXfileRelease(int model) {
  XfileModel* m = Model("ComGlXfileRelease", model);
  if (!m) return;
  if (m->num_parts > 0) glDeleteLists(m->list_base, m->num_parts);
  for (XfilePart& p : m->parts) ComGlTextureRelease(&p.texture);
  com_gl_xfile[model].reset();
}

char ComGlXfileExists(int model) { return NumParts(Model("ComGlXfileExists", model)) > 0 ? 1 : 0; }

int ComGlXfileGetNumParts(int model) { return NumParts(Model("ComGlXfileGetNumParts", model)); }

// ---- The parser ----

void ComGlXfileParseReset(char clear) {
  xfp.state = 0;
  xfp.num_vertices = xfp.num_normals = xfp.num_faces = xfp.num_normal_faces = xfp.num_texcoords = 0;
  xfp.expected = xfp.index_lines = 0;
  xfp.has_texcoords = 0;
  xfp.texture_index = -1;
  xfp.unexpected_logged = 0;
  if (clear && xfp_allow_reset) {
    memset(xfp.face_colour, 0, sizeof(xfp.face_colour));
    xfp.power = 0;
    memset(xfp.specular, 0, sizeof(xfp.specular));
    memset(xfp.emissive, 0, sizeof(xfp.emissive));
    memset(xfp.vertices, 0, sizeof(xfp.vertices));
    memset(xfp.normals, 0, sizeof(xfp.normals));
    memset(xfp.texcoords, 0, sizeof(xfp.texcoords));
    memset(xfp.faces, 0, sizeof(xfp.faces));
    memset(xfp.normal_faces, 0, sizeof(xfp.normal_faces));
  }
}

char ComGlXfileParseLine(const char* line) {
  if (!line) return XFILE_PARSE_OK;
  const size_t len = strlen(line);
  if (len == 0) return XFILE_PARSE_OK;
  // Count lines are at least 2 characters ("8;"), list entries at least 4.
  switch (xfp.state) {
    case 1: case 3: case 6: case 8: case 12:
      if (len < 2) return XFILE_PARSE_OK;
      break;
    case 2: case 4: case 7: case 9:
      if (len < 4) return XFILE_PARSE_OK;
      break;
    default:
      break;
  }
  int n;
  switch (xfp.state) {
    case 0:
      if (StartsWith(line, "Mesh ") && len > 5) {
        xfp.state = 1;
      } else if (StartsWith(line, "Material ") && len > 10) {
        XfpName& entry = xfp_names[xfp_num_names];
        entry.material[0] = entry.file[0] = 0;
        if (sscanf(line, "Material %511s {", entry.material) != 1) entry.material[0] = 0;
        xfp.state = 30;
      }
      return XFILE_PARSE_OK;

    case 30:
      if (strstr(line, "TextureFilename"))
        xfp.state = strchr(line, '}') ? 0 : 31;
      else if (strchr(line, '}'))
        xfp.state = 0;  // a named material without texture is not kept
      return XFILE_PARSE_OK;

    case 31: {
      const char* quote = strchr(line, '"');
      if (!quote) {
        if (strchr(line, '}')) xfp.state = 0;
        return XFILE_PARSE_OK;  // "{" before the name
      }
      if (!ReadQuotedName(quote, xfp_names[xfp_num_names].file)) return XFILE_PARSE_OK;
      if (AddNameEntry() < 0) return XFILE_PARSE_ERROR;
      xfp.state = 0;
      return XFILE_PARSE_OK;
    }

    case 1:
      if (!ReadCount(line, &n) || BadCount(n, "vertices")) return XFILE_PARSE_ERROR;
      xfp.expected = (unsigned)n;
      xfp.state = n ? 2 : 3;
      return XFILE_PARSE_OK;

    case 2: {
      _Vector3d& v = xfp.vertices[xfp.num_vertices];
      if (!ReadFloats(line, "%f;%f;%f;", 3, &v.x, &v.y, &v.z)) return XFILE_PARSE_ERROR;
      if (++xfp.num_vertices == xfp.expected) xfp.state = 3;
      return XFILE_PARSE_OK;
    }

    case 3:
      if (!ReadCount(line, &n) || BadCount(n, "faces")) return XFILE_PARSE_ERROR;
      xfp.expected = (unsigned)n;
      xfp.state = n ? 4 : 5;
      return XFILE_PARSE_OK;

    case 4:
      if (!ReadFace(line, &xfp.faces[xfp.num_faces], false)) return XFILE_PARSE_ERROR;
      if (++xfp.num_faces == xfp.expected) xfp.state = 5;
      return XFILE_PARSE_OK;

    case 5:
      if (strstr(line, "MeshNormals ")) xfp.state = 6;
      return XFILE_PARSE_OK;

    case 6:
      if (!ReadCount(line, &n) || BadCount(n, "normals")) return XFILE_PARSE_ERROR;
      xfp.expected = (unsigned)n;
      xfp.state = n ? 7 : 8;
      return XFILE_PARSE_OK;

    case 7: {
      _Vector3d& v = xfp.normals[xfp.num_normals];
      if (!ReadFloats(line, "%f;%f;%f;", 3, &v.x, &v.y, &v.z)) return XFILE_PARSE_ERROR;
      ComGlXfileUnifyNormalP(&v);
      if (++xfp.num_normals == xfp.expected) xfp.state = 8;
      return XFILE_PARSE_OK;
    }

    case 8:
      if (!ReadCount(line, &n)) return XFILE_PARSE_ERROR;
      if (n != (int)xfp.num_faces) {
        DebugError(kParseLabel, "Num normal xfp_faces (%d) is not equal num xfp_faces(%d)", n, (int)xfp.num_faces);
        return XFILE_PARSE_ERROR;
      }
      xfp.expected = (unsigned)n;
      xfp.state = n ? 9 : 10;
      return XFILE_PARSE_OK;

    case 9:
      if (!ReadFace(line, &xfp.normal_faces[xfp.num_normal_faces], true)) return XFILE_PARSE_ERROR;
      if (++xfp.num_normal_faces == xfp.expected) xfp.state = 10;
      return XFILE_PARSE_OK;

    case 10:
      if (strstr(line, "MeshMaterialList ")) xfp.state = 11;
      return XFILE_PARSE_OK;

    case 11:
      if (sscanf(line, "%d", &n) != 1) n = 0;
      if (n != 1) {
        DebugError(kParseLabel, "Invalid num. mesh materials (%d)", n);
        return XFILE_PARSE_ERROR;
      }
      xfp.state = 12;
      return XFILE_PARSE_OK;

    case 12:
      if (!ReadCount(line, &n) || BadCount(n, "faces")) return XFILE_PARSE_ERROR;
      xfp.expected = (unsigned)n;
      xfp.index_lines = 0;
      xfp.state = n ? 13 : 14;
      return XFILE_PARSE_OK;

    case 13:
      if (++xfp.index_lines == xfp.expected) {
        xfp.state = strstr(line, "Material {") ? 15 : 14;
      }
      return XFILE_PARSE_OK;

    case 14: {
      if (strstr(line, "Material") && strstr(line, " {")) {
        xfp.state = 15;
        return XFILE_PARSE_OK;
      }
      char name[XFILE_LINE_SIZE];
      if (sscanf(line, "{ %511s }", name) != 1) return XFILE_PARSE_OK;
      char* brace = strchr(name, '}');
      if (brace) *brace = 0;
      if (!name[0]) return XFILE_PARSE_OK;
      for (int i = xfp_num_names - 1; i >= 0; i--)
        if (strcmp(xfp_names[i].material, name) == 0) {
          xfp.texture_index = i;
          break;
        }
      if (xfp.texture_index < 0) DebugError(kParseLabel, "Could not find xfp_material <%s> in file", name);
      xfp.state = 19;
      return XFILE_PARSE_OK;
    }

    case 15:
      if (!ReadFloats(line, "%f;%f;%f;%f", 4, &xfp.face_colour[0], &xfp.face_colour[1], &xfp.face_colour[2],
                      &xfp.face_colour[3]))
        return XFILE_PARSE_ERROR;
      xfp.state = 16;
      return XFILE_PARSE_OK;

    case 16:
      if (sscanf(line, "%f", &xfp.power) != 1) {
        DebugError(kParseLabel, "Invalid line <%s> (state %d)", line, xfp.state);
        return XFILE_PARSE_ERROR;
      }
      xfp.state = 17;
      return XFILE_PARSE_OK;

    case 17:
      if (!ReadFloats(line, "%f;%f;%f", 3, &xfp.specular[0], &xfp.specular[1], &xfp.specular[2]))
        return XFILE_PARSE_ERROR;
      xfp.state = 18;
      return XFILE_PARSE_OK;

    case 18:
      if (!ReadFloats(line, "%f;%f;%f", 3, &xfp.emissive[0], &xfp.emissive[1], &xfp.emissive[2]))
        return XFILE_PARSE_ERROR;
      xfp.state = 19;
      return XFILE_PARSE_OK;

    case 19:
      if (xfp.texture_index < 0) {
        const char* quote = strchr(line, '"');
        if (strstr(line, "TextureFilename ") && quote) {
          XfpName& entry = xfp_names[xfp_num_names];
          entry.material[0] = 0;
          if (!ReadQuotedName(quote, entry.file)) entry.file[0] = 0;
          int index = AddNameEntry();
          if (index < 0) return XFILE_PARSE_ERROR;
          xfp.texture_index = index;
          return XFILE_PARSE_OK;
        }
        return XFILE_PARSE_PART_DONE;
      }
      // A textured part waits for its coordinates, but the next mesh ends it without them.
      if (StartsWith(line, "Mesh ")) return XFILE_PARSE_PART_DONE;
      if (strstr(line, "MeshTextureCoords ")) xfp.state = 20;
      return XFILE_PARSE_OK;

    case 20:
      if (sscanf(line, "%d", &n) != 1) n = -1;
      if (n != (int)xfp.num_vertices) {
        DebugError(kParseLabel, "Invalid num. text coordinates (%u not %u)", (unsigned)n, xfp.num_vertices);
        return XFILE_PARSE_ERROR;
      }
      if (n == 0) {
        xfp.has_texcoords = 1;
        return XFILE_PARSE_PART_DONE;
      }
      xfp.num_texcoords = 0;
      xfp.state = 21;
      return XFILE_PARSE_OK;

    case 21: {
      float* tc = xfp.texcoords[xfp.num_texcoords];
      if (!ReadFloats(line, "%f;%f;", 2, &tc[0], &tc[1])) return XFILE_PARSE_ERROR;
      if (++xfp.num_texcoords == xfp.num_vertices) {
        xfp.has_texcoords = 1;
        return XFILE_PARSE_PART_DONE;
      }
      return XFILE_PARSE_OK;
    }

    default:
      if (!xfp.unexpected_logged) DebugError(kParseLabel, "Unexpected parse state: %d", xfp.state);
      xfp.unexpected_logged = 1;
      return XFILE_PARSE_OK;
  }
}

char ComGlXfileParseFillList() {
  if (xfp_scaling)
    for (unsigned i = 0; i < xfp.num_vertices; i++) {
      xfp.vertices[i].x *= xfp_scale[0];
      xfp.vertices[i].y *= xfp_scale[1];
      xfp.vertices[i].z *= xfp_scale[2];
    }
  return ComGlXfileParseDoFillList();
}

char ComGlXfileParseDoFillList() {
  const char* label = "ComGlXfileParseDoFillList";
  ComGlMiscCheckGlError(label, "Before glBegin()");
  glBegin(GL_TRIANGLES);
  for (unsigned f = 0; f < xfp.num_faces; f++) {
    const XfpFace& face = xfp.faces[f];
    if (face.points != 3) continue;  // quads are kept but not drawn
    const unsigned* v = face.index;
    if (v[0] >= xfp.num_vertices || v[1] >= xfp.num_vertices || v[2] >= xfp.num_vertices) {
      glEnd();
      DebugError(label, "Bad Vertices (%u %u %u)", v[0], v[1], v[2]);
      return 0;
    }
    static const unsigned kNone[4] = {~0u, ~0u, ~0u, ~0u};
    const unsigned* nv = f < xfp.num_normal_faces ? xfp.normal_faces[f].index : kNone;
    if (nv[0] >= xfp.num_normals || nv[1] >= xfp.num_normals || nv[2] >= xfp.num_normals) {
      glEnd();
      DebugError(label, "Bad Normals (%u %u %u)", nv[0], nv[1], nv[2]);
      return 0;
    }
    // The file's faces turn the other way: corners first, third, second.
    for (int k : {0, 2, 1}) {
      const _Vector3d& n = xfp.normals[nv[k]];
      const _Vector3d& p = xfp.vertices[v[k]];
      glNormal3f(n.x, n.y, n.z);
      if (xfp.has_texcoords) glTexCoord2f(xfp.texcoords[v[k]][0], xfp.texcoords[v[k]][1]);
      glVertex3f(p.x, p.y, p.z);
    }
  }
  glEnd();
  ComGlMiscCheckGlError(label, "After glEnd()");
  return 1;
}

// ---- Parser access ----

unsigned ComGlXfileParseGetPartNumVertices() { return xfp.num_vertices; }
unsigned ComGlXfileParseGetPartNumNormals() { return xfp.num_normals; }
unsigned ComGlXfileParseGetPartNumFaces() { return xfp.num_faces; }

namespace {

bool ValidIndex(const char* label, unsigned i, unsigned count) {
  if (i < count) return true;
  DebugError(label, "Invalid num %u (%u)", i, count);
  return false;
}

char GetFace(const char* label, unsigned i, const XfpFace* faces, unsigned count, unsigned* a, unsigned* b,
             unsigned* c) {
  if (!ValidIndex(label, i, count)) return 0;
  if (faces[i].points != 3) {
    DebugError(label, "Face %u does not have 3 points (%d)", i, faces[i].points);
    return 0;
  }
  if (a) *a = faces[i].index[0];
  if (b) *b = faces[i].index[1];
  if (c) *c = faces[i].index[2];
  return 1;
}

}  // namespace

char ComGlXfileParseGetPartVertex(unsigned i, _Vector3d* v) {
  if (!ValidIndex("ComGlXfileParseGetPartVertex", i, xfp.num_vertices)) return 0;
  if (v) *v = xfp.vertices[i];
  return 1;
}

char ComGlXfileParseGetPartNormal(unsigned i, _Vector3d* n) {
  if (!ValidIndex("ComGlXfileParseGetPartNormal", i, xfp.num_normals)) return 0;
  if (n) *n = xfp.normals[i];
  return 1;
}

char ComGlXfileParseGetPartFace(unsigned i, unsigned* a, unsigned* b, unsigned* c) {
  return GetFace("ComGlXfileParseGetPartFace", i, xfp.faces, xfp.num_faces, a, b, c);
}

char ComGlXfileParseGetPartFaceNormals(unsigned i, unsigned* a, unsigned* b, unsigned* c) {
  return GetFace("ComGlXfileParseGetPartFaceNormals", i, xfp.normal_faces, xfp.num_normal_faces, a, b, c);
}

char ComGlXfileParseGetPartVertexTexCoord(unsigned i, float* s, float* t) {
  if (!xfp.has_texcoords) {
    if (s) *s = 0.9999f;
    if (t) *t = 0.9999f;
    return 0;
  }
  if (!ValidIndex("ComGlXfileParseGetPartVertexTexCoord", i, xfp.num_vertices)) return 0;
  if (s) *s = xfp.texcoords[i][0];
  if (t) *t = xfp.texcoords[i][1];
  return 1;
}

const char* ComGlXfileParseGetPartMaterialFilename() {
  if (xfp_model < 0) return "No part";
  if (xfp.texture_index < 0 || xfp.texture_index >= xfp_num_names) return "";
  return xfp_names[xfp.texture_index].file;
}

void ComGlXfileUnifyNormal(float* x, float* y, float* z) { ComMathUnifyNormal(x, y, z); }

void ComGlXfileUnifyNormalP(_Vector3d* v) { ComMathUnifyNormal(v); }

void ComGlXfileFormatLine(const char* line, char* out) {
  if (!out) return;
  size_t n = 0;
  if (line) {
    // Tabs count as blanks, so a tab-indented line loses its indent too.
    while (*line == ' ' || *line == '\t') line++;
    for (; *line && *line != '\r' && *line != '\n'; line++) out[n++] = *line == '\t' ? ' ' : *line;
  }
  out[n] = 0;
}

// ---- Parts ----

char ComGlXfileShowPart(int model, int part, char show) {
  XfilePart* p = Part("ComGlXfileShowPart", model, part);
  if (!p) return 0;
  p->hidden = show ? 0 : 1;
  return 1;
}

char ComGlXfileSetPartColour(int model, int part, float r, float g, float b) {
  XfilePart* p = Part("ComGlXfileSetPartColour", model, part);
  if (!p) return 0;
  SetColour4(p->material.diffuse, r, g, b, p->material.diffuse[3]);
  if (glxf_use_advanced_materials) SetColour4(p->material.ambient, r, g, b, p->material.ambient[3]);
  return 1;
}

char ComGlXfileSetPartColourWithAlpha(int model, int part, float r, float g, float b, float a) {
  XfilePart* p = Part("ComGlXfileSetPartColourWithAlpha", model, part);
  if (!p) return 0;
  SetColour4(p->material.diffuse, r, g, b, a);
  if (glxf_use_advanced_materials) SetColour4(p->material.ambient, r, g, b, a);
  return 1;
}

char ComGlXfileSetPartColourAlphaLevel(int model, int part, float a) {
  XfilePart* p = Part("ComGlXfileSetPartColourAlphaLevel", model, part);
  if (!p) return 0;
  p->material.diffuse[3] = a;
  if (glxf_use_advanced_materials) p->material.ambient[3] = a;
  return 1;
}

char ComGlXfileSetPartSpecularColour(int model, int part, float r, float g, float b, float shininess) {
  const char* label = "ComGlXfileSetPartSpecularColour";
  XfilePart* p = Part(label, model, part);
  if (!p) return 0;
  if (!glxf_use_advanced_materials) DebugError(label, "Advanced Materials not on");
  SetColour4(p->material.specular, r, g, b, 1);
  p->material.shininess = ClampShininess(shininess);
  return 1;
}

char ComGlXfileSetPartMaterial(int model, int part, float r, float g, float b, float a, float sr, float sg,
                               float sb, float shininess, float er, float eg, float eb, char transparency,
                               int blend_type) {
  const char* label = "ComGlXfileSetPartMaterial";
  XfilePart* p = Part(label, model, part);
  if (!p) return 0;
  if (!glxf_use_advanced_materials) DebugError(label, "Advanved Materials not turned on");
  _ComMaterial& m = p->material;
  SetColour4(m.ambient, r, g, b, a);
  SetColour4(m.diffuse, r, g, b, a);
  SetColour4(m.specular, sr, sg, sb, 1);
  m.shininess = ClampShininess(shininess);
  SetColour4(m.emission, er, eg, eb, 1);
  p->blend_type = blend_type;
  m.transparent = transparency == 2 || (transparency == 1 && AlphaIsPartial(a)) ? 1 : 0;
  return 1;
}

char ComGlXfileSetPartMaterialEx(int model, int part, _ComMaterial* material, char transparency, int blend_type) {
  const char* label = "ComGlXfileSetPartMaterialEx";
  XfilePart* p = Part(label, model, part);
  if (!p || !material) return 0;
  if (!glxf_use_advanced_materials) DebugError(label, "Advanved Materials not turned on");
  p->material = *material;
  p->material.shininess = ClampShininess(material->shininess);
  p->blend_type = blend_type;
  const bool partial = AlphaIsPartial(material->diffuse[3]) || AlphaIsPartial(material->ambient[3]) ||
                       AlphaIsPartial(material->specular[3]) || AlphaIsPartial(material->emission[3]);
  p->material.transparent = transparency == 2 || (transparency == 1 && partial) ? 1 : 0;
  return 1;
}

char ComGlXfileSetPartTextureFromFile(int model, int part, const char* path, char only_replace) {
  const char* label = "ComGlXfileSetPartTextureFromFile";
  if (!ValidModel(label, model)) return 0;
  if (only_replace) {
    XfileModel* m = com_gl_xfile[model].get();
    if (part < 0 || part >= NumParts(m) || !HasTexture(m->parts[part])) return 1;
  }
  XfilePart* p = Part(label, model, part);
  if (!p) return 0;
  ComGlTextureRelease(&p->texture);
  if (!path || !path[0]) {
    p->texture_index = -1;
    return 1;
  }
  if (!ComGlTextureLoadFromFileUsingExt(path, 0, 0, 0, 0, &p->texture)) {
    DebugError(label, "Could not load texture <%s> for part %d of model %d", path, part, model);
    return 0;
  }
  return 1;
}

char ComGlXfileGetPartMaterialP(int model, int part, _ComMaterial** material) {
  const char* label = "ComGlXfileGetPartMaterialP";
  if (!glxf_use_advanced_materials) {
    DebugError(label, "Advanved Materials not turned on");
    return 0;
  }
  if (!material) {
    DebugError(label, "Invalid paramters");
    return 0;
  }
  XfilePart* p = Part(label, model, part);
  if (!p) return 0;
  *material = &p->material;
  return 1;
}

char ComXfileGetPartTextureP(int model, int part, _ComGlDxTexture** texture) {
  const char* label = "ComXfileGetPartTextureP";
  if (!ValidModel(label, model)) return 0;
  XfileModel* m = com_gl_xfile[model].get();
  if (part < 0 || part >= NumParts(m)) {
    DebugError(label, "Bad part num %d (num = %d)", part, NumParts(m));
    return 0;
  }
  XfilePart& p = m->parts[part];
  if (!texture || !HasTexture(p)) return 0;
  *texture = &p.texture;
  return 1;
}

// ---- Whole models ----

namespace {

// Applies a part form to every part: 1 when every part took it.
template <typename F>
char ForEachPart(const char* label, int model, F apply) {
  XfileModel* m = Model(label, model);
  if (!m) return 0;
  char ok = 1;
  for (int n = 0; n < m->num_parts; n++)
    if (!apply(n)) ok = 0;
  return ok;
}

}  // namespace

char ComGlXfileSetColour(int model, float r, float g, float b) {
  return ForEachPart("ComGlXfileSetColour", model, [&](int n) { return ComGlXfileSetPartColour(model, n, r, g, b); });
}

char ComGlXfileSetColourWithAlpha(int model, float r, float g, float b, float a) {
  return ForEachPart("ComGlXfileSetColourWithAlpha", model,
                     [&](int n) { return ComGlXfileSetPartColourWithAlpha(model, n, r, g, b, a); });
}

char ComGlXfileSetAlphaLevel(int model, float a) {
  return ForEachPart("ComGlXfileSetAlphaLevel", model,
                     [&](int n) { return ComGlXfileSetPartColourAlphaLevel(model, n, a); });
}

char ComGlXfileSetSpecularColour(int model, float r, float g, float b, float shininess) {
  return ForEachPart("ComGlXfileSetSpecularColour", model,
                     [&](int n) { return ComGlXfileSetPartSpecularColour(model, n, r, g, b, shininess); });
}

char ComGlXfileSetMaterial(int model, float r, float g, float b, float a, float sr, float sg, float sb,
                           float shininess, float er, float eg, float eb, char transparency, int blend_type) {
  return ForEachPart("ComGlXfileSetMaterial", model, [&](int n) {
    return ComGlXfileSetPartMaterial(model, n, r, g, b, a, sr, sg, sb, shininess, er, eg, eb, transparency,
                                     blend_type);
  });
}

char ComGlXfileSetMaterialEx(int model, _ComMaterial* material, char transparency, int blend_type) {
  return ForEachPart("ComGlXfileSetMaterialEx", model, [&](int n) {
    return ComGlXfileSetPartMaterialEx(model, n, material, transparency, blend_type);
  });
}

char ComGlXfileSetAllTexturesFromFile(int model, const char* path, char only_replace) {
  return ForEachPart("ComGlXfileSetAllTexturesFromFile", model,
                     [&](int n) { return ComGlXfileSetPartTextureFromFile(model, n, path, only_replace); });
}

// ---- Drawing ----

void ComGlXfileClearTexture() { glBindTexture(GL_TEXTURE_2D, 0); }

void ComGlXfileRestoreDefaultColour() {
  if (glxf_use_advanced_materials)
    ComGlMaterialsSetDefaultAdvancedMaterial();
  else
    glColor4f(1, 1, 1, 1);
}

void ComXfileCleanupTexAndColour(char texture_bound, char colour_set) {
  if (texture_bound) ComGlXfileClearTexture();
  if (colour_set) ComGlXfileRestoreDefaultColour();
}

char ComGlXfileRenderPart(int model, int part, char texture_bound, char colour_set, char unbind_after,
                          char restore_colour_after, char* texture_bound_out, char* colour_set_out) {
  const char* label = "ComGlXfileRenderPart";
  char result = 1;
  XfileModel* m = ValidModel(label, model) ? com_gl_xfile[model].get() : nullptr;
  XfilePart* p = nullptr;
  if (model < 0 || model >= XFILE_MAX_MODELS) {
    result = 0;
  } else if (part < 0 || part >= NumParts(m)) {
    DebugError(label, "XFile %d Only has %d materials (num = %d)", model, NumParts(m), part);
    result = 0;
  } else if (!m->parts[part].hidden) {
    p = &m->parts[part];
  }

  if (p) {
    const bool textured = HasTexture(*p);
    bool blending_saved = false;
    if (!textured || glxf_use_colours_with_textures) {
      const _ComMaterial& mat = p->material;
      if (glxf_use_advanced_materials) {
        if (mat.transparent && ComGlMiscSaveOrRestoreBlendingState(1)) {
          blending_saved = true;
          ComGlMiscEnableBlendingType(p->blend_type);
        }
        ComGlMaterialsSetAdvancedMaterialArray(mat.ambient, mat.diffuse, mat.specular, mat.shininess, mat.emission);
      } else {
        glColor4fv(mat.diffuse);
      }
      colour_set = 1;
    } else if (colour_set) {
      // A textured part shows its texture's own colours.
      ComGlXfileRestoreDefaultColour();
      colour_set = 0;
    }
    if (textured) {
      BindPartTexture(*p);
      texture_bound = 1;
    } else if (texture_bound) {
      ComGlXfileClearTexture();
      texture_bound = 0;
    }
    glCallList(m->list_base + (unsigned)part);
    if (blending_saved) ComGlMiscSaveOrRestoreBlendingState(0);
  }

  if (restore_colour_after && colour_set) {
    ComGlXfileRestoreDefaultColour();
    colour_set = 0;
  }
  if (unbind_after && texture_bound) {
    ComGlXfileClearTexture();
    texture_bound = 0;
  }
  if (texture_bound_out) *texture_bound_out = texture_bound;
  if (colour_set_out) *colour_set_out = colour_set;
  return result;
}

char ComGlXfileRender(int model) {
  if (!ValidModel("ComGlXfileRender", model)) return 0;
  XfileModel* m = com_gl_xfile[model].get();
  char texture_bound = 0, colour_set = 0, ok = 1;
  for (int n = 0; n < NumParts(m); n++)
    if (!ComGlXfileRenderPart(model, n, texture_bound, colour_set, 0, 0, &texture_bound, &colour_set)) ok = 0;
  ComXfileCleanupTexAndColour(texture_bound, colour_set);
  return ok;
}

namespace {

// The lists of the visible parts, with their textures or none.
char RenderPlain(const char* label, int model, int first, int last, bool with_texture) {
  XfileModel* m = Model(label, model);
  if (!m) return 0;
  for (int n = first; n <= last; n++) {
    const XfilePart& p = m->parts[n];
    if (p.hidden) continue;
    if (with_texture) BindPartTexture(p);
    glCallList(m->list_base + (unsigned)n);
  }
  return 1;
}

bool ValidPart(const char* label, int model, int part) {
  if (!ValidModel(label, model)) return false;
  const int count = NumParts(com_gl_xfile[model].get());
  if (part >= 0 && part < count) return true;
  DebugError(label, "XFile %d Only has %d materials (num = %d)", model, count, part);
  return false;
}

// Adds the specular light of the visible parts in [first, last] on top of what is drawn.
char RenderSpecular(const char* label, int model, int first, int last) {
  XfileModel* m = Model(label, model);
  if (!m || m->num_parts <= 0) return 0;
  const float none[4] = {0, 0, 0, 0};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
  const bool saved = ComGlMiscSaveOrRestoreBlendingState(1) != 0;
  ComGlMiscEnableSpecificBlending(CM_BLEND_ONE, CM_BLEND_ONE);
  for (int n = first; n <= last; n++) {
    const XfilePart& p = m->parts[n];
    if (p.hidden) continue;
    if (glxf_use_advanced_materials) {
      glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, p.material.specular);
      glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, ClampShininess(p.material.shininess));
    }
    glCallList(m->list_base + (unsigned)n);
  }
  if (saved) ComGlMiscSaveOrRestoreBlendingState(0);
  ComGlXfileRestoreDefaultColour();
  return 1;
}

}  // namespace

char ComGlXfileRenderNoColour(int model) {
  const char* label = "ComGlXfileRenderNoColour";
  if (!ValidModel(label, model)) return 0;
  return RenderPlain(label, model, 0, ComGlXfileGetNumParts(model) - 1, true);
}

char ComGlXfileRenderPartNoColour(int model, int part) {
  const char* label = "ComGlXfileRenderPartNoColour";
  return ValidPart(label, model, part) ? RenderPlain(label, model, part, part, true) : 0;
}

char ComGlXfileRenderNoColourNoTexture(int model) {
  const char* label = "ComGlXfileRenderNoColourNoTexture";
  if (!ValidModel(label, model)) return 0;
  return RenderPlain(label, model, 0, ComGlXfileGetNumParts(model) - 1, false);
}

char ComGlXfileRenderPartNoColourNoTexture(int model, int part) {
  const char* label = "ComGlXfileRenderPartNoColourNoTexture";
  return ValidPart(label, model, part) ? RenderPlain(label, model, part, part, false) : 0;
}

char ComGlXfileRenderSpecularHighlight(int model) {
  const char* label = "ComGlXfileRenderSpecularHighlight";
  if (!ValidModel(label, model)) return 0;
  return RenderSpecular(label, model, 0, ComGlXfileGetNumParts(model) - 1);
}

char ComGlXfileRenderSpecularHighlightPart(int model, int part) {
  const char* label = "ComGlXfileRenderSpecularHighlightPart";
  return ValidPart(label, model, part) ? RenderSpecular(label, model, part, part) : 0;
}

char ComGlXfileSetTexture(int model, int part) {
  const char* label = "ComGlXfileSetTexture";
  if (!ValidPart(label, model, part)) return 0;
  const XfilePart& p = com_gl_xfile[model]->parts[part];
  BindPartTexture(p);
  return HasTexture(p) ? 1 : 0;
}
