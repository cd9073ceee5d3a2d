// Fixed-function lighting of the 3D toolkit: one of three light systems (one directional light,
// one point light, two point lights) kept here and pushed to OpenGL's first two lights, the
// global ambient light, the local-viewer switch, and materials (colour-material mode or explicit
// "advanced" material properties).
#ifndef COM_GL_LIGHTS_H
#define COM_GL_LIGHTS_H

struct _Vector3d;

// One point light; also the record callers fill and pass.
struct _ComLightsPointInfo {
  float position[4];      // x, y, z, w (w 1)
  float diffuse[4];       // R, G, B, A
  float ambient[4];
  char specular_locked;   // 1: the specular colour follows the diffuse colour
  float specular[4];
  float attenuation[3];   // constant, linear, quadratic
  char relative_to_camera;
};

// The directional light (GL_LIGHT0 of light system 0).
struct _ComLightsDirectionalInfo {
  float direction[4];     // x, y, z, w (w 0 makes it directional)
  float diffuse[4];
  float ambient[4];
  char specular_locked;
  float specular[4];
  char relative_to_camera;
};

// A surface's full material: the part record of a 3D model carries one.
struct _ComMaterial {
  float ambient[4];   // R, G, B, A
  float diffuse[4];   // the colour in colour-material mode
  float specular[4];
  float shininess;    // 0 .. 128
  float emission[4];
  char transparent;   // 1: drawn with its blending type
};

// Light system and general.
void ComGlLightsPre3dInit();
void ComGlLightsSetLightSystem(char system);  // 0 directional, 1 one point, 2 two points
void ComGlLightsSetDirectionalLightSystem();
void ComGlLightsSetOnePointLightSystem();
void ComGlLightsSetTwoPointsLightSystem();
char ComGlLightsGetLightSystem();
void ComGlLightsSetupLights();
void ComGlLightsSetOverallAmbientLightColour(float r, float g, float b);
void ComGlLightsSetOverallAmbientLightLevel(float level);
void ComGlLightsUpdateOverallAmbientLight();
// A value with its top bit set (255, -1) keeps the stored switch and re-sends it.
void ComGlLightsSetSpecularColourLocalViewpoint(char on);

// Point-light records (nothing for a null record).
void ComGlLightsSetPointInfoAttrDefaults(_ComLightsPointInfo* info);
void ComGlLightsSetPointInfoAttrPos(_ComLightsPointInfo* info, float x, float y, float z);
void ComGlLightsSetPointInfoAttrColours(_ComLightsPointInfo* info, float dr, float dg, float db,
                                        float ar, float ag, float ab);
void ComGlLightsSetPointInfoAttrSpecularColours(_ComLightsPointInfo* info, float r, float g,
                                                float b);
void ComGlLightsSetPointInfoAttrSpecularColoursSameAsMainColours(_ComLightsPointInfo* info,
                                                                 float factor);
void ComGlLightsSetPointInfoAttrAttenuation(_ComLightsPointInfo* info, float constant,
                                            float linear, float quadratic);

// Point lights (n is 0 or 1, and 0 with light system 1).
void ComGlLightsGetPointLightAttributes(int n, _ComLightsPointInfo* info);
void ComGlLightsSetPointLightAttributesEx(int n, _ComLightsPointInfo* info);
void ComGlLightsSetPointLightAttributes(int n, float dr, float dg, float db, float ar, float ag,
                                        float ab, float sr, float sg, float sb, float x, float y,
                                        float z, float constant, float linear, float quadratic,
                                        float unused);
void ComGlLightsSetPointLightPos(int n, float x, float y, float z);
void ComGlLightsSetPointLightPosVec3(int n, _Vector3d* pos);
void ComGlLightsSetPointLightSpecularColour(int n, float r, float g, float b);
void ComGlLightsLockPointLightSpecularColourWithMainColour(int n, char lock);
void ComGlLightsSetPointLightRelativeToCamera(int n, char relative);
void ComGlLightsUpdatePointLight(int n);
void ComGlLightsSetupPointLights();
char ComGlLightsCheckPointLightSetup(int n);

// Directional light (only while the light system is 0).
void ComGlLightsSetDirectionalLightDirection(float x, float y, float z);
void ComGlLightsSetDirectionalLightDirectionVec3(_Vector3d* dir);
void ComGlLightsSetDirectionalLightLevels(float dr, float dg, float db, float ar, float ag,
                                          float ab);
void ComGlLightsSetDirectionalLightColour(float r, float g, float b);
void ComGlLightsSetDirectionalSpecularColour(float r, float g, float b);
void ComGlLightsLockDirectionalSpecularColourWithMainColour(char lock);
void ComGlLightsSetDirectionalLightRelativeToCamera(char relative);
void ComGlLightsSetupDirectionalLight();

// Sends a light's position in eye coordinates (the modelview matrix is left unchanged).
void ComGlLightsDoSetLightPosition(int light, const float* position4, char directional,
                                   char relative);

// Materials (all on GL_FRONT_AND_BACK; shininess clamped to 0..128).
void ComGlMaterialsUseAdvancedMaterials(char on);
char ComGlMaterialsAreAdvancedMaterialsOn();
void ComGlMaterialsApplyAdvancedMaterialsSetting();
void ComGlMaterialsSetAdvancedMaterialFull(float ar, float ag, float ab, float aa, float dr,
                                           float dg, float db, float da, float sr, float sg,
                                           float sb, float sa, float shininess, float er,
                                           float eg, float eb, float ea);
void ComGlMaterialsSetAdvancedMaterial(float ar, float ag, float ab, float dr, float dg,
                                       float db, float sr, float sg, float sb, float shininess,
                                       float er, float eg, float eb);
void ComGlMaterialsSetAdvancedMaterialArray(const float* ambient, const float* diffuse,
                                            const float* specular, float shininess,
                                            const float* emission);
void ComGlMaterialsSetAdvancedMaterialWithFade(float ar, float ag, float ab, float dr, float dg,
                                               float db, float sr, float sg, float sb,
                                               float shininess, float er, float eg, float eb,
                                               float fade);
void ComGlMaterialsSetAdvancedMaterialWithFadeArray(const float* ambient, const float* diffuse,
                                                    const float* specular, float shininess,
                                                    const float* emission, float fade);
void ComGlMaterialsSetAdvancedMaterialColourAndSpecular(float r, float g, float b, float sr,
                                                        float sg, float sb, float shininess);
void ComGlMaterialsSetDefaultAdvancedMaterial();
void ComGlMaterialsSetDefaultAdvancedMaterialColourAndSpecular();
void ComGlMaterialsSetDefaultMaterialColour();

#endif
