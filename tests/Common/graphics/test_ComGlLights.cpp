// Lights and materials read back from a real context after each light system and setter.
#include <GL/gl.h>

#include <cstring>
#include <string>

#include "ComGlLights.h"
#include "ComGlMisc.h"
#include "ComMisc.h"
#include "support_GlWindow.h"

namespace {

void Expect4(float a, float b, float c, float d, const float* v, const char* what) {
  EXPECT_NEAR(a, v[0], 1e-5) << what;
  EXPECT_NEAR(b, v[1], 1e-5) << what;
  EXPECT_NEAR(c, v[2], 1e-5) << what;
  EXPECT_NEAR(d, v[3], 1e-5) << what;
}

class ComGlLightsTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ComGlLightsPre3dInit();
    ComGlMiscSetDefaultGraphicParamaters();
    while (glGetError() != GL_NO_ERROR) {
    }
    GlTestLogMark();
  }
  static void Light(GLenum light, GLenum what, float* v) { glGetLightfv(light, what, v); }
  static bool On(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
  bool Logged(const std::string& func, const std::string& text) {
    return GlTestLogSince().find(GlTestErrorLine(func, text)) != std::string::npos;
  }
};

TEST_F(ComGlLightsTest, DefaultStateIsTheDirectionalLight) {
  float v[4];
  EXPECT_EQ(0, ComGlLightsGetLightSystem());
  EXPECT_TRUE(On(GL_LIGHTING));
  EXPECT_TRUE(On(GL_LIGHT0));
  EXPECT_FALSE(On(GL_LIGHT1));
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(0, 1, 5, 0, v, "direction in eye coordinates");
  Light(GL_LIGHT0, GL_DIFFUSE, v);
  Expect4(0.8f, 0.8f, 0.8f, 1, v, "diffuse");
  Light(GL_LIGHT0, GL_AMBIENT, v);
  Expect4(0, 0, 0, 1, v, "ambient");
  Light(GL_LIGHT0, GL_SPECULAR, v);
  Expect4(0, 0, 0, 1, v, "specular");
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
  Expect4(0.2f, 0.2f, 0.2f, 1, v, "global ambient");
  GLint local = -1;
  glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &local);
  EXPECT_EQ(0, local);
  EXPECT_TRUE(On(GL_COLOR_MATERIAL));
  EXPECT_EQ(GL_NO_ERROR, glGetError());
}

TEST_F(ComGlLightsTest, PositionsAreSentInEyeCoordinatesAndTheMatrixIsKept) {
  // A camera-like modelview and the projection matrix current: the light still lands where it
  // was asked, and both matrices and the matrix mode come back as they were.
  glTranslatef(5, 6, 7);
  float model_before[16], model_after[16], v[4];
  glGetFloatv(GL_MODELVIEW_MATRIX, model_before);
  glMatrixMode(GL_PROJECTION);
  ComGlLightsSetOnePointLightSystem();
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(GL_PROJECTION, mode);
  glMatrixMode(GL_MODELVIEW);
  glGetFloatv(GL_MODELVIEW_MATRIX, model_after);
  for (int i = 0; i < 16; i++) EXPECT_EQ(model_before[i], model_after[i]) << "m" << i;
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(0, 10, 10, 1, v, "point light 0");
  ComGlLightsSetPointLightPos(0, 1, 2, 3);
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(1, 2, 3, 1, v, "moved");
}

TEST_F(ComGlLightsTest, OnePointLightSystem) {
  ComGlLightsSetOnePointLightSystem();
  float v[4];
  EXPECT_EQ(1, ComGlLightsGetLightSystem());
  EXPECT_TRUE(On(GL_LIGHT0));
  EXPECT_FALSE(On(GL_LIGHT1));
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(0, 10, 10, 1, v, "position");
  Light(GL_LIGHT0, GL_CONSTANT_ATTENUATION, v);
  EXPECT_FLOAT_EQ(1, v[0]);
  Light(GL_LIGHT0, GL_LINEAR_ATTENUATION, v);
  EXPECT_FLOAT_EQ(0, v[0]);
  Light(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, v);
  EXPECT_FLOAT_EQ(0, v[0]);

  _ComLightsPointInfo info;
  memset(&info, 0x55, sizeof(info));
  _ComLightsPointInfo untouched = info;
  ComGlLightsGetPointLightAttributes(1, &info);
  EXPECT_TRUE(Logged("ComGlLightsCheckPointLightSetup", "Invalid point light number <1>"));
  EXPECT_EQ(0, memcmp(&info, &untouched, sizeof(info)));
  GlTestLogMark();
  ComGlLightsSetDirectionalLightColour(1, 0, 0);
  EXPECT_TRUE(Logged("ComGlLightsCheckDirectionalLightSetup", "Directional light system not setup"));
  Light(GL_LIGHT0, GL_DIFFUSE, v);
  Expect4(0.8f, 0.8f, 0.8f, 1, v, "diffuse unchanged");
}

TEST_F(ComGlLightsTest, TwoPointLightsAndBackToDirectional) {
  ComGlLightsSetTwoPointsLightSystem();
  float v[4];
  EXPECT_TRUE(On(GL_LIGHT0));
  EXPECT_TRUE(On(GL_LIGHT1));
  Light(GL_LIGHT1, GL_POSITION, v);
  Expect4(-10, 10, 10, 1, v, "light 1");

  ComGlLightsSetPointLightAttributes(1, 0.5f, 0.4f, 0.3f, 0.1f, 0.1f, 0.1f, 0.9f, 0.8f, 0.7f, 1, 2,
                                     3, 2, 0.5f, 0.25f, 99);
  Light(GL_LIGHT1, GL_DIFFUSE, v);
  Expect4(0.5f, 0.4f, 0.3f, 1, v, "diffuse");
  Light(GL_LIGHT1, GL_SPECULAR, v);
  Expect4(0.9f, 0.8f, 0.7f, 1, v, "specular");
  Light(GL_LIGHT1, GL_LINEAR_ATTENUATION, v);
  EXPECT_FLOAT_EQ(0.5f, v[0]);
  _ComLightsPointInfo info;
  ComGlLightsGetPointLightAttributes(1, &info);
  Expect4(1, 2, 3, 1, info.position, "stored position");

  // Locking the specular colour to the diffuse colour and setting it again unlocks.
  ComGlLightsLockPointLightSpecularColourWithMainColour(1, 1);
  Light(GL_LIGHT1, GL_SPECULAR, v);
  Expect4(0.5f, 0.4f, 0.3f, 1, v, "locked");
  ComGlLightsSetPointLightSpecularColour(1, 0.2f, 0.2f, 0.2f);
  Light(GL_LIGHT1, GL_SPECULAR, v);
  Expect4(0.2f, 0.2f, 0.2f, 1, v, "own specular");
  ComGlLightsGetPointLightAttributes(1, &info);
  EXPECT_EQ(0, info.specular_locked);

  GlTestLogMark();
  ComGlLightsSetPointLightAttributesEx(0, nullptr);
  EXPECT_TRUE(Logged("ComGlLightsSetPointLightAttributesEx", "Invalid parameter"));

  ComGlLightsSetDirectionalLightSystem();
  EXPECT_TRUE(On(GL_LIGHT0));
  EXPECT_FALSE(On(GL_LIGHT1));
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(0, 1, 5, 0, v, "directional again");
  ComGlLightsSetDirectionalLightLevels(0.3f, 0.2f, 0.1f, 0.05f, 0.05f, 0.05f);
  ComGlLightsLockDirectionalSpecularColourWithMainColour(1);
  Light(GL_LIGHT0, GL_SPECULAR, v);
  Expect4(0.3f, 0.2f, 0.1f, 1, v, "directional locked");
  ComGlLightsSetDirectionalLightColour(0.6f, 0.6f, 0.6f);
  Light(GL_LIGHT0, GL_SPECULAR, v);
  Expect4(0.6f, 0.6f, 0.6f, 1, v, "follows the diffuse colour");
  _Vector3d dir = {1, 0, 0};
  ComGlLightsSetDirectionalLightDirectionVec3(&dir);
  ComGlLightsSetDirectionalLightDirectionVec3(nullptr);
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(1, 0, 0, 0, v, "new direction");
}

TEST_F(ComGlLightsTest, UnknownLightSystemChangesNothing) {
  ComGlLightsSetOnePointLightSystem();
  GlTestLogMark();
  ComGlLightsSetLightSystem(3);
  EXPECT_TRUE(Logged("ComGlLightsSetLightSystem", "Unknown light sytem (3)"));
  EXPECT_EQ(1, ComGlLightsGetLightSystem());
  EXPECT_TRUE(On(GL_LIGHT0));
  EXPECT_FALSE(On(GL_LIGHT1));
  float v[4];
  Light(GL_LIGHT0, GL_POSITION, v);
  Expect4(0, 10, 10, 1, v, "still the point light");
}

TEST_F(ComGlLightsTest, AmbientAndLocalViewer) {
  float v[4];
  ComGlLightsSetOverallAmbientLightLevel(0.5f);
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
  Expect4(0.5f, 0.5f, 0.5f, 1, v, "level");
  ComGlLightsSetOverallAmbientLightColour(0.1f, 0.2f, 0.3f);
  const float black[4] = {0, 0, 0, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
  ComGlLightsUpdateOverallAmbientLight();
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
  Expect4(0.1f, 0.2f, 0.3f, 1, v, "stored colour re-sent");

  GLint local = -1;
  ComGlLightsSetSpecularColourLocalViewpoint(1);
  ComGlLightsSetSpecularColourLocalViewpoint((char)255);  // keeps the stored value
  glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &local);
  EXPECT_EQ(1, local);
  ComGlLightsSetSpecularColourLocalViewpoint(0);
  glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &local);
  EXPECT_EQ(0, local);
}

TEST_F(ComGlLightsTest, PointInfoRecords) {
  _ComLightsPointInfo info;
  ComGlLightsSetPointInfoAttrDefaults(&info);
  Expect4(10, 10, 10, 1, info.position, "default position");
  Expect4(0, 0, 0, 0, info.specular, "default specular");
  ComGlLightsSetPointInfoAttrColours(&info, 0.8f, 0.6f, 0.4f, 0, 0, 0);
  ComGlLightsSetPointInfoAttrSpecularColoursSameAsMainColours(&info, 0.5f);
  Expect4(0.4f, 0.3f, 0.2f, 1, info.specular, "half the diffuse");
  ComGlLightsSetPointInfoAttrSpecularColoursSameAsMainColours(&info, 1.0f);
  Expect4(0.8f, 0.6f, 0.4f, 1, info.specular, "the diffuse");
  GlTestLogMark();
  ComGlLightsSetPointInfoAttrPos(nullptr, 1, 2, 3);
  EXPECT_TRUE(Logged("ComGlLightsSetPointInfoAttrPos", "Invalid parameter"));
}

TEST_F(ComGlLightsTest, Materials) {
  float v[4];
  // Colour-material mode: the default colour is opaque white and no material is sent.
  glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
  ComGlMaterialsSetDefaultMaterialColour();
  glGetFloatv(GL_CURRENT_COLOR, v);
  Expect4(1, 1, 1, 1, v, "current colour");
  EXPECT_EQ("", GlTestLogSince());

  // Materials sent with advanced materials off are logged and still sent.
  glDisable(GL_COLOR_MATERIAL);
  ComGlMaterialsSetAdvancedMaterial(0.1f, 0.1f, 0.1f, 0.7f, 0.6f, 0.5f, 0.3f, 0.3f, 0.3f, 500,
                                    0, 0, 0);
  EXPECT_TRUE(Logged("ComGlMaterialsSetAdvancedMaterial", "Advanced materials not on"));
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  Expect4(0.7f, 0.6f, 0.5f, 1, v, "diffuse");
  glGetMaterialfv(GL_BACK, GL_SHININESS, v);
  EXPECT_FLOAT_EQ(128, v[0]);  // kept within OpenGL's range
  EXPECT_EQ(GL_NO_ERROR, glGetError());

  ComGlMaterialsUseAdvancedMaterials(1);
  ComGlMaterialsApplyAdvancedMaterialsSetting();
  EXPECT_FALSE(On(GL_COLOR_MATERIAL));
  GlTestLogMark();
  const float amb[4] = {0.2f, 0.2f, 0.2f, 0.5f}, dif[4] = {0.8f, 0.4f, 0.2f, 0.25f},
              specular[4] = {1, 1, 1, 1}, emi[4] = {0.5f, 0.5f, 0.5f, 1};
  ComGlMaterialsSetAdvancedMaterialWithFadeArray(amb, dif, specular, -3, emi, 0.5f);
  EXPECT_EQ("", GlTestLogSince());
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  Expect4(0.4f, 0.2f, 0.1f, 0.25f, v, "faded diffuse keeps its alpha");
  glGetMaterialfv(GL_FRONT, GL_EMISSION, v);
  Expect4(0.25f, 0.25f, 0.25f, 1, v, "faded emission");
  glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
  EXPECT_FLOAT_EQ(0, v[0]);
  EXPECT_EQ(GL_NO_ERROR, glGetError());

  ComGlMaterialsSetAdvancedMaterialWithFadeArray(amb, nullptr, specular, 1, emi, 1);
  EXPECT_TRUE(Logged("ComGlMaterialsSetAdvancedMaterialWithFadeArray", "Invalid parameter"));
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  Expect4(0.4f, 0.2f, 0.1f, 0.25f, v, "unchanged after the refusal");

  ComGlMaterialsSetAdvancedMaterialArray(nullptr, dif, nullptr, 10, nullptr);
  glGetMaterialfv(GL_FRONT, GL_AMBIENT, v);
  Expect4(0.1f, 0.1f, 0.1f, 0.5f, v, "ambient skipped");

  ComGlMaterialsSetDefaultMaterialColour();
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  Expect4(1, 1, 1, 1, v, "default advanced material");
  glGetMaterialfv(GL_FRONT, GL_SPECULAR, v);
  Expect4(0, 0, 0, 1, v, "default specular");
  ComGlMaterialsUseAdvancedMaterials(0);
  ComGlMaterialsApplyAdvancedMaterialsSetting();
  EXPECT_TRUE(On(GL_COLOR_MATERIAL));
}

}  // namespace
