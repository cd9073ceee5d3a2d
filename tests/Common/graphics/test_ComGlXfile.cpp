// The text 3D model store on small model files written here: meshes drawn in a real context and
// read back in the middle of a face, inline and named materials, textures by name (BMP names
// loaded as TGA), the parser's states on tab-indented files, zero counts and bad counts and
// indices, the part-parsed callback and the checks of model and part numbers.
#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ComGlLights.h"
#include "ComGlMisc.h"
#include "ComGlXfile.h"
#include "support_GlWindow.h"

namespace {

struct V3 {
  float x, y, z;
};

const V3 kCubeVertices[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                             {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};

// The cube's sides as rings turning anticlockwise seen from outside, with their normals.
struct Side {
  int ring[4];
  V3 normal;
};
const Side kSides[6] = {
    {{4, 5, 6, 7}, {0, 0, 1}},  {{1, 0, 3, 2}, {0, 0, -1}}, {{5, 1, 2, 6}, {1, 0, 0}},
    {{0, 4, 7, 3}, {-1, 0, 0}}, {{7, 6, 2, 3}, {0, 1, 0}},  {{0, 1, 5, 4}, {0, -1, 0}},
};

std::string F(float v) {
  char buf[32];
  snprintf(buf, sizeof(buf), "%.4f", v);
  return buf;
}

std::string Inline(float r, float g, float b, float power = 5, const std::string& texture_line = "") {
  return "Material {\n" + F(r) + ";" + F(g) + ";" + F(b) + ";1.0000;;\n" + F(power) +
         ";\n0.5000;0.5000;0.5000;;\n0.0000;0.0000;0.0000;;\n" + texture_line + "}\n";
}

// One mesh of the given sides of the cube (the whole cube by default), its faces written the way
// model files turn them (clockwise seen from outside), then its material block.
std::string CubeMesh(const std::string& name, const std::string& material, std::vector<int> sides = {0, 1, 2, 3, 4, 5},
                     const std::string& after = "") {
  std::string s = "Mesh " + name + " {\n8;\n";
  for (const V3& v : kCubeVertices) s += F(v.x) + ";" + F(v.y) + ";" + F(v.z) + ";,\n";
  s += std::to_string(2 * sides.size()) + ";\n";
  for (int i : sides) {
    const int* r = kSides[i].ring;
    s += "3;" + std::to_string(r[0]) + "," + std::to_string(r[2]) + "," + std::to_string(r[1]) + ";,\n";
    s += "3;" + std::to_string(r[0]) + "," + std::to_string(r[3]) + "," + std::to_string(r[2]) + ";,\n";
  }
  s += "MeshNormals {\n" + std::to_string(sides.size()) + ";\n";
  for (int i : sides) s += F(kSides[i].normal.x) + ";" + F(kSides[i].normal.y) + ";" + F(kSides[i].normal.z) + ";,\n";
  s += std::to_string(2 * sides.size()) + ";\n";
  for (size_t k = 0; k < sides.size(); k++) {
    std::string n = std::to_string(k);
    s += "3;" + n + "," + n + "," + n + ";,\n3;" + n + "," + n + "," + n + ";,\n";
  }
  s += "}\nMeshMaterialList {\n1;\n" + std::to_string(2 * sides.size()) + ";\n";
  for (size_t k = 0; k < 2 * sides.size(); k++) s += k + 1 < 2 * sides.size() ? "0,\n" : "0;;\n";
  s += material + "}\n" + after + "}\n";
  return s;
}

std::string TexCoords() {
  std::string s = "MeshTextureCoords {\n8;\n";
  for (const V3& v : kCubeVertices) s += F((v.x + 1) / 2) + ";" + F((1 - v.y) / 2) + ";,\n";
  return s + "}\n";
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  size_t at = s.find(from);
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

std::string TabIndent(const std::string& text) {
  std::string out = "\t";
  for (char c : text) out += c == '\n' ? std::string("\n\t") : std::string(1, c);
  return out;
}

void WriteText(const std::string& name, const std::string& text) {
  ASSERT_TRUE(GlTestWriteFile(GlTestPath(name), std::vector<unsigned char>(text.begin(), text.end())));
}

void WriteSolidTga(const std::string& name, int r, int g, int b) {
  GlTestPicture pic;
  pic.Resize(8, 8, 3);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) pic.Set(x, y, r, g, b);
  ASSERT_TRUE(GlTestWriteTga(GlTestPath(name), pic));
}

// What the part-parsed callback saw.
struct Seen {
  unsigned vertices = 0, normals = 0, faces = 0;
  unsigned a = 99, b = 99, c = 99;
  float s = 0, t = 0;
  char has_tex = -1;
  std::string texture;
  int calls = 0;
};
Seen seen;
char stop_at = -1;

char RecordPart(int part) {
  seen.calls++;
  seen.vertices = ComGlXfileParseGetPartNumVertices();
  seen.normals = ComGlXfileParseGetPartNumNormals();
  seen.faces = ComGlXfileParseGetPartNumFaces();
  ComGlXfileParseGetPartFace(0, &seen.a, &seen.b, &seen.c);
  seen.has_tex = ComGlXfileParseGetPartVertexTexCoord(1, &seen.s, &seen.t);
  seen.texture = ComGlXfileParseGetPartMaterialFilename();
  return part == stop_at ? 0 : 1;
}

class ComGlXfileTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    ComGlXfileInit();
    ComGlXfileTreatBmpFilesAsTGAs(0);
    ComGlXfileParseSetPartParsedCB(nullptr);
    seen = Seen();
    stop_at = -1;
    while (glGetError() != GL_NO_ERROR) {
    }
    GlTestLogMark();
  }
  void TearDown() override {
    ComGlXfileExit();
    ComGlXfileUseAdvancedMaterials(0);
    ComGlMaterialsUseAdvancedMaterials(0);
    ComGlMaterialsApplyAdvancedMaterialsSetting();
  }

  // A grey background, an orthographic view down -z, no lighting: colours arrive as they are.
  static void StartFrame() {
    glViewport(0, 0, 640, 480);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
  }

  static char Load(const std::string& name, int model = 0, float scale = 1) {
    return ComGlXfileLoadFromFile(GlTestTempDir().c_str(), name.c_str(), model, scale, scale, scale, nullptr, 0, 0,
                                  nullptr);
  }

  static void ExpectPixel(int x, int y, int r, int g, int b, const std::string& what) {
    GlTestRgba p = GlTestReadPixel(x, y);
    EXPECT_NEAR(p.r, r, 2) << what;
    EXPECT_NEAR(p.g, g, 2) << what;
    EXPECT_NEAR(p.b, b, 2) << what;
  }

  bool Logged(const std::string& func, const std::string& text) {
    return GlTestLogSince().find(GlTestErrorLine(func, text)) != std::string::npos;
  }
};

TEST_F(ComGlXfileTest, CubeWithInlineMaterialDrawsInItsColour) {
  WriteText("cube.x", "xof 0303txt 0032\n\n" + CubeMesh("Cube", Inline(1, 0, 0)));
  ComGlXfileParseSetPartParsedCB(RecordPart);
  ASSERT_EQ(Load("cube.x", 7), 1) << GlTestLogSince();
  EXPECT_EQ(ComGlXfileExists(7), 1);
  EXPECT_EQ(ComGlXfileGetNumParts(7), 1);
  // The parser as the callback saw it: the file's corner order, no texture coordinates.
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.vertices, 8u);
  EXPECT_EQ(seen.normals, 6u);
  EXPECT_EQ(seen.faces, 12u);
  EXPECT_EQ(seen.a, 4u);
  EXPECT_EQ(seen.b, 6u);
  EXPECT_EQ(seen.c, 5u);
  EXPECT_EQ(seen.has_tex, 0);
  EXPECT_FLOAT_EQ(seen.s, 0.9999f);
  EXPECT_EQ(seen.texture, "");
  EXPECT_STREQ(ComGlXfileParseGetPartMaterialFilename(), "No part");

  StartFrame();
  ASSERT_EQ(ComGlXfileRender(7), 1);
  ExpectPixel(320, 240, 255, 0, 0, "the front side");
  ExpectPixel(5, 5, 128, 128, 128, "outside the cube");
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);

  // Scaled by a half: the cube's edge moves in.
  ASSERT_EQ(Load("cube.x", 7, 0.5f), 1);
  StartFrame();
  ComGlXfileRender(7);
  ExpectPixel(320 + 120, 240, 128, 128, 128, "beyond the half-size cube");
  ExpectPixel(320 + 40, 240, 255, 0, 0, "inside the half-size cube");

  // Hidden parts draw nothing; colours change per part.
  ComGlXfileShowPart(7, 0, 0);
  StartFrame();
  ComGlXfileRender(7);
  ExpectPixel(320, 240, 128, 128, 128, "hidden");
  ComGlXfileShowPart(7, 0, 1);
  ASSERT_EQ(ComGlXfileSetColour(7, 0, 0, 1), 1);
  StartFrame();
  ComGlXfileRender(7);
  ExpectPixel(320, 240, 0, 0, 255, "recoloured");

  ComGlXfileRelease(7);
  EXPECT_EQ(ComGlXfileExists(7), 0);
}

TEST_F(ComGlXfileTest, FacesTurnTheWayOpenGLExpects) {
  // Only the side facing the viewer: drawn with its corners first, third, second it faces the
  // front and survives back-face culling.
  WriteText("front.x", CubeMesh("Front", Inline(0, 1, 0), {0}));
  ASSERT_EQ(Load("front.x"), 1) << GlTestLogSince();
  StartFrame();
  ASSERT_TRUE(glIsEnabled(GL_CULL_FACE));
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 0, 255, 0, "front side kept");
  // Only the far side: its back faces the viewer, so it is culled.
  WriteText("back.x", CubeMesh("Back", Inline(0, 1, 0), {1}));
  ASSERT_EQ(Load("back.x"), 1);
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 128, 128, 128, "far side culled");
}

TEST_F(ComGlXfileTest, NamedMaterialWithTextureAndBmpNamesLoadedAsTga) {
  WriteSolidTga("wall.tga", 0, 255, 0);
  const std::string named =
      "Material Wall {\n 1.0;0.0;0.0;1.0;;\n 9.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n TextureFilename {\n"
      "  \"wall.bmp\";\n }\n}\n";
  WriteText("named.x", named + CubeMesh("Cube", "{ Wall }\n", {0, 1, 2, 3, 4, 5}, TexCoords()));
  // No wall.bmp exists: without the switch the texture cannot load.
  EXPECT_EQ(Load("named.x"), 0);
  EXPECT_TRUE(Logged("ComGlXfileParseFile", "Could not load texture <" + GlTestPath("wall.bmp") +
                                                "> for part 0 of model 0"))
      << GlTestLogSince();

  ComGlXfileTreatBmpFilesAsTGAs(1);
  ComGlXfileParseSetPartParsedCB(RecordPart);
  ASSERT_EQ(Load("named.x"), 1) << GlTestLogSince();
  EXPECT_EQ(seen.texture, "wall.bmp");
  EXPECT_EQ(seen.has_tex, 1);
  EXPECT_FLOAT_EQ(seen.s, 1.0f);
  EXPECT_FLOAT_EQ(seen.t, 1.0f);
  _ComGlDxTexture* texture = nullptr;
  EXPECT_EQ(ComXfileGetPartTextureP(0, 0, &texture), 1);
  EXPECT_NE(texture, nullptr);

  ComGlMaterialsUseAdvancedMaterials(1);
  ComGlXfileUseAdvancedMaterials(1);
  _ComMaterial* material = nullptr;
  ASSERT_EQ(ComGlXfileGetPartMaterialP(0, 0, &material), 1);
  EXPECT_FLOAT_EQ(material->diffuse[0], 1);
  EXPECT_FLOAT_EQ(material->diffuse[1], 1);
  EXPECT_FLOAT_EQ(material->ambient[2], 1);
  EXPECT_FLOAT_EQ(material->shininess, 127);
  ComGlXfileUseAdvancedMaterials(0);
  ComGlMaterialsUseAdvancedMaterials(0);

  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 0, 255, 0, "the texture");
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0) << "the texture is unbound after the draw";
}

TEST_F(ComGlXfileTest, InlineTextureAndTextureNameCallback) {
  WriteSolidTga("skin.tga", 0, 0, 255);
  WriteSolidTga("other.tga", 255, 255, 0);
  WriteText("inline.x",
            CubeMesh("Cube", Inline(1, 0, 0, 5, "TextureFilename { \"skin.bmp\"; }\n"), {0, 1, 2, 3, 4, 5}, TexCoords()));
  ComGlXfileTreatBmpFilesAsTGAs(1);
  ASSERT_EQ(Load("inline.x"), 1) << GlTestLogSince();
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 0, 0, 255, "inline texture");

  // The callback names another file, or none.
  static std::string answer;
  auto callback = [](int, int, char*, char* file) -> char* {
    EXPECT_STREQ(file, "skin.bmp");
    return &answer[0];
  };
  answer = GlTestPath("other.tga");
  ASSERT_EQ(ComGlXfileLoadFromFile(GlTestTempDir().c_str(), "inline.x", 0, 1, 1, 1, nullptr, 0, 0, callback), 1);
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 255, 255, 0, "texture named by the callback");
  answer = "";
  ASSERT_EQ(ComGlXfileLoadFromFile(GlTestTempDir().c_str(), "inline.x", 0, 1, 1, 1, nullptr, 0, 0, callback), 1);
  _ComGlDxTexture* texture = nullptr;
  EXPECT_EQ(ComXfileGetPartTextureP(0, 0, &texture), 0);
}

TEST_F(ComGlXfileTest, TabIndentedFileLoads) {
  WriteText("tabs.x", TabIndent(CubeMesh("Cube", Inline(0, 0, 1))));
  ASSERT_EQ(Load("tabs.x"), 1) << GlTestLogSince();
  EXPECT_EQ(ComGlXfileGetNumParts(0), 1);
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 0, 0, 255, "tab-indented cube");
}

TEST_F(ComGlXfileTest, EveryPartOfAFileLoads) {
  // An empty mesh (counts of 0), a textured mesh without texture coordinates, then the front side.
  std::string empty = "Mesh Empty {\n0;\n0;\nMeshNormals {\n0;\n0;\n}\nMeshMaterialList {\n1;\n0;\n" +
                      Inline(1, 1, 0) + "}\n}\n";
  WriteSolidTga("plain.tga", 255, 0, 255);
  std::string no_coords = CubeMesh("NoCoords", Inline(1, 1, 1, 5, "TextureFilename { \"plain.tga\"; }\n"), {1});
  WriteText("parts.x", empty + no_coords + CubeMesh("Front", Inline(0, 1, 1), {0}));
  ComGlXfileParseSetPartParsedCB(RecordPart);
  ASSERT_EQ(Load("parts.x"), 1) << GlTestLogSince();
  EXPECT_EQ(ComGlXfileGetNumParts(0), 3);
  EXPECT_EQ(seen.calls, 3);
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 0, 255, 255, "the last part");

  // A mesh of quads loads and draws nothing.
  std::string quads = Replace(CubeMesh("Quads", Inline(1, 0, 0), {0}), "2;\n3;4,6,5;,\n3;4,7,6;,\n", "1;\n4;4,7,6,5;,\n");
  quads = Replace(quads, "2;\n3;0,0,0;,\n3;0,0,0;,\n", "1;\n4;0,0,0,0;,\n");
  WriteText("quads.x", quads);
  ComGlXfileParseSetPartParsedCB(nullptr);
  ASSERT_EQ(Load("quads.x"), 1) << GlTestLogSince();
  StartFrame();
  ComGlXfileRender(0);
  ExpectPixel(320, 240, 128, 128, 128, "quads are not drawn");
}

TEST_F(ComGlXfileTest, BadFilesAreRefused) {
  const std::string cube = CubeMesh("Cube", Inline(1, 0, 0));
  std::string many;
  for (int i = 0; i < 150; i++) many += "Mesh M" + std::to_string(i) + " {\n}\n";
  struct Case {
    std::string text, func, log;
  } cases[] = {
      {Replace(cube, "Mesh Cube {\n8;", "Mesh Cube {\n4000;"), "ComGlXfileParseLine", "Too many xfp_vertices"},
      {Replace(cube, "12;\n3;", "-1;\n3;"), "ComGlXfileParseLine", "Invalid count (-1)"},
      {Replace(cube, "3;4,6,5;", "3;4,-6,5;"), "ComGlXfileParseLine", "Bad Vertices <4,-6,5>"},
      {Replace(cube, "3;4,6,5;", "3;4,9,5;"), "ComGlXfileParseDoFillList", "Bad Vertices (4 9 5)"},
      {Replace(cube, "3;4,6,5;", "5;4,6,5,1,2;"), "ComGlXfileParseLine", "<53> point xfp_faces not supported"},
      {Replace(cube, "3;0,0,0;", "3;0,0,6;"), "ComGlXfileParseDoFillList", "Bad Normals (0 0 6)"},
      {Replace(cube, "}\nMeshMaterialList {\n1;", "}\nMeshMaterialList {\n2;"), "ComGlXfileParseLine",
       "Invalid num. mesh materials (2)"},
      {Replace(cube, "12;\n3;0,0,0;", "11;\n3;0,0,0;"), "ComGlXfileParseLine", "Num normal xfp_faces (11) is not equal num xfp_faces(12)"},
      {Replace(cube, "5.0000;\n", "lots;\n"), "ComGlXfileParseLine", "Invalid line <lots;> (state 16)"},
      {cube.substr(0, cube.find("MeshNormals")), "ComGlXfileParseFile", "Unexpected end of file in part 0 of model 3"},
      {"xof 0303txt 0032\n", "ComGlXfileParseFile", "Could not find any meshes in model 3"},
      {many, "ComGlXfileParseFile", "Too many parts in model 3"},
  };
  for (const Case& c : cases) {
    WriteText("bad.x", c.text);
    GlTestLogMark();
    EXPECT_EQ(Load("bad.x", 3), 0) << c.log;
    EXPECT_TRUE(Logged(c.func, c.log)) << c.log << "\n" << GlTestLogSince();
  }
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);

  GlTestLogMark();
  EXPECT_EQ(Load("no such file.x"), 0);
  EXPECT_TRUE(Logged("ComGlXfileLoadFromFile", "Could not open file <" + GlTestPath("no such file.x") + ">"));
  EXPECT_EQ(ComGlXfileLoadFromFile(nullptr, nullptr, 0, 1, 1, 1, nullptr, 0, 0, nullptr), 0);
  EXPECT_TRUE(Logged("ComGlXfileLoadFromFile", "No file name"));
  EXPECT_EQ(ComGlXfileLoadFromFile(std::string(300, 'd').c_str(), std::string(300, 'n').c_str(), 0, 1, 1, 1, nullptr,
                                   0, 0, nullptr),
            0);
  EXPECT_NE(GlTestLogSince().find("Invalid file name <"), std::string::npos);
}

TEST_F(ComGlXfileTest, ModelAndPartNumbersAreChecked) {
  WriteText("cube.x", CubeMesh("Cube", Inline(1, 0, 0)));
  ASSERT_EQ(Load("cube.x", 999), 1);
  EXPECT_EQ(Load("cube.x", 1000), 0);
  EXPECT_TRUE(Logged("ComGlXfileLoadFromFile", "Object num too big (1000)"));
  EXPECT_EQ(Load("cube.x", -1), 0);
  EXPECT_TRUE(Logged("ComGlXfileLoadFromFile", "Invalid object num (-1)"));

  for (int model : {-5, 1000, 123456}) {
    EXPECT_EQ(ComGlXfileExists(model), 0);
    EXPECT_EQ(ComGlXfileGetNumParts(model), 0);
    EXPECT_EQ(ComGlXfileRender(model), 0);
    EXPECT_EQ(ComGlXfileSetColour(model, 1, 1, 1), 0);
    EXPECT_EQ(ComGlXfileShowPart(model, 0, 1), 0);
    ComGlXfileRelease(model);
  }
  for (int part : {-1, 1, 150}) {
    EXPECT_EQ(ComGlXfileShowPart(999, part, 0), 0);
    EXPECT_EQ(ComGlXfileSetPartColour(999, part, 1, 1, 1), 0);
    EXPECT_EQ(ComGlXfileSetPartTextureFromFile(999, part, "", 0), 0);
    EXPECT_EQ(ComGlXfileSetPartTextureFromFile(999, part, "", 1), 1) << "only replacing: nothing to do";
    EXPECT_EQ(ComGlXfileRenderPartNoColour(999, part), 0);
    char bound = 1, colour = 1;
    EXPECT_EQ(ComGlXfileRenderPart(999, part, 1, 1, 1, 1, &bound, &colour), 0);
    EXPECT_EQ(bound, 0) << "the clean-up still runs";
    EXPECT_EQ(colour, 0);
  }
  EXPECT_TRUE(Logged("ComGlXfileRenderPart", "XFile 999 Only has 1 materials (num = 150)"));
  _ComGlDxTexture* texture = nullptr;
  EXPECT_EQ(ComXfileGetPartTextureP(999, 4, &texture), 0);
  EXPECT_TRUE(Logged("ComXfileGetPartTextureP", "Bad part num 4 (num = 1)"));
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(ComGlXfileTest, MaterialsAndSwitches) {
  WriteText("shiny.x", CubeMesh("Cube", Inline(0.25f, 0.5f, 0.75f, 300)));
  ASSERT_EQ(Load("shiny.x"), 1);

  // Advanced materials only after the lights module has them.
  ComGlXfileUseAdvancedMaterials(1);
  EXPECT_TRUE(Logged("ComGlXfileUseAdvancedMaterials", "Call ComGlMaterialsUseAdvancedMaterials(1) first"));
  _ComMaterial* m = nullptr;
  EXPECT_EQ(ComGlXfileGetPartMaterialP(0, 0, &m), 0);
  EXPECT_TRUE(Logged("ComGlXfileGetPartMaterialP", "Advanved Materials not turned on"));
  ComGlMaterialsUseAdvancedMaterials(1);
  ComGlMaterialsApplyAdvancedMaterialsSetting();
  ComGlXfileUseAdvancedMaterials(1);
  EXPECT_EQ(ComGlXfileGetPartMaterialP(0, 0, nullptr), 0);
  EXPECT_TRUE(Logged("ComGlXfileGetPartMaterialP", "Invalid paramters"));
  ASSERT_EQ(ComGlXfileGetPartMaterialP(0, 0, &m), 1);
  EXPECT_FLOAT_EQ(m->shininess, 128) << "a file's shininess above 128 is clamped";
  EXPECT_FLOAT_EQ(m->diffuse[1], 0.5f);
  EXPECT_FLOAT_EQ(m->ambient[2], 0.75f);
  EXPECT_FLOAT_EQ(m->specular[0], 0.5f);
  EXPECT_FLOAT_EQ(m->emission[3], 1);

  // Transparency: 1 means "when the alpha is partial".
  ComGlXfileSetPartMaterial(0, 0, 1, 0, 0, 0.5f, 0, 0, 0, 10, 0, 0, 0, 1, 7);
  EXPECT_EQ(m->transparent, 1);
  ComGlXfileSetPartMaterial(0, 0, 1, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 1, 7);
  EXPECT_EQ(m->transparent, 0);
  _ComMaterial ex = *m;
  ex.emission[3] = 0.3f;
  ComGlXfileSetPartMaterialEx(0, 0, &ex, 1, 7);
  EXPECT_EQ(m->transparent, 1);
  EXPECT_EQ(ComGlXfileSetPartMaterialEx(0, 0, nullptr, 1, 7), 0);

  // Drawn with its material under light, the specular pass adds to it; nothing is left bound.
  ComGlXfileSetPartMaterial(0, 0, 1, 0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 0, 0);
  StartFrame();
  glEnable(GL_LIGHTING);
  ComGlXfileRender(0);
  GlTestRgba lit = GlTestReadPixel(320, 240);
  EXPECT_GT(lit.r, 0);
  EXPECT_EQ(lit.b, 0);
  EXPECT_EQ(ComGlXfileRenderSpecularHighlight(0), 1);
  EXPECT_FALSE(ComGlMiscIsBlendingEnabled()) << "blending restored";
  glDisable(GL_LIGHTING);
  EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);

  // A callback answering 0 ends the load.
  stop_at = 0;
  ComGlXfileParseSetPartParsedCB(RecordPart);
  EXPECT_EQ(Load("shiny.x"), 0);
}

TEST_F(ComGlXfileTest, FormatLine) {
  struct Case {
    const char *in, *want;
  } cases[] = {
      {"  Mesh a {", "Mesh a {"}, {"\t\t3;0,1,2;,", "3;0,1,2;,"}, {" \t x\ty\r\n", "x y"}, {"", ""}, {"\r\n", ""},
  };
  for (const Case& c : cases) {
    char out[64];
    ComGlXfileFormatLine(c.in, out);
    EXPECT_STREQ(out, c.want) << c.in;
  }
}

}  // namespace
