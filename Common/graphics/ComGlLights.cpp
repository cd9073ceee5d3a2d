// Fixed-function lighting and materials of the 3D toolkit.
#include "ComGlLights.h"

#include <GL/gl.h>
#include <string.h>

#include "ComDebug.h"
#include "ComMisc.h"

static char cgl_light_system = 0;
static int cgl_num_point_lights = 0;
static float cgl_ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
static char cgl_local_viewpoint = 0;
static char cgl_advanced_materials = 0;
static _ComLightsDirectionalInfo cgl_dir;
static _ComLightsPointInfo cgl_point[2];

static void Set4(float* d, float a, float b, float c, float e) {
  d[0] = a;
  d[1] = b;
  d[2] = c;
  d[3] = e;
}

static void StartupDefaults() {
  memset(&cgl_dir, 0, sizeof(cgl_dir));
  Set4(cgl_dir.direction, 0, 1, 5, 0);
  Set4(cgl_dir.diffuse, 0.8f, 0.8f, 0.8f, 1);
  Set4(cgl_dir.ambient, 0, 0, 0, 1);
  Set4(cgl_dir.specular, 0, 0, 0, 1);
  for (int n = 0; n < 2; n++) {
    _ComLightsPointInfo* p = &cgl_point[n];
    memset(p, 0, sizeof(*p));
    if (n == 0)
      Set4(p->position, 0, 10, 10, 1);
    else
      Set4(p->position, -10, 10, 10, 1);
    Set4(p->diffuse, 0.8f, 0.8f, 0.8f, 1);
    Set4(p->ambient, 0, 0, 0, 1);
    Set4(p->specular, 0, 0, 0, 1);
    p->attenuation[0] = 1;
  }
}

// The module starts with the start-up defaults even before ComGlLightsPre3dInit runs.
static struct LightsInit {
  LightsInit() { StartupDefaults(); }
} cgl_lights_init;

// ---------------------------------------------------------------------------------------------
// Light system and general

void ComGlLightsPre3dInit() {
  cgl_light_system = 0;
  cgl_num_point_lights = 0;
  Set4(cgl_ambient, 0.2f, 0.2f, 0.2f, 1.0f);
  cgl_local_viewpoint = 0;
  cgl_advanced_materials = 0;
  StartupDefaults();
}

void ComGlLightsSetLightSystem(char system) {
  if ((unsigned char)system > 2) {
    DebugError("ComGlLightsSetLightSystem", "Unknown light sytem (%d)", (int)(unsigned char)system);
    return;
  }
  cgl_light_system = system;
  cgl_num_point_lights = system == 1 ? 1 : (system == 2 ? 2 : 0);
  ComGlLightsSetupLights();
}

void ComGlLightsSetDirectionalLightSystem() { ComGlLightsSetLightSystem(0); }
void ComGlLightsSetOnePointLightSystem() { ComGlLightsSetLightSystem(1); }
void ComGlLightsSetTwoPointsLightSystem() { ComGlLightsSetLightSystem(2); }
char ComGlLightsGetLightSystem() { return cgl_light_system; }

void ComGlLightsDoSetLightPosition(int light, const float* position4, char directional,
                                   char relative) {
  if (!position4) {
    DebugError("ComGlLightsDoSetLightPosition", "Invalid parameter");
    return;
  }
  if (directional && relative) DebugError("ComGlLightsDoSetLightPosition", "Needs to be updated");
  // Positions go out in eye coordinates: sent under an identity modelview matrix, with the
  // caller's matrix and matrix mode given back afterwards.
  GLint mode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glLightfv((GLenum)light, GL_POSITION, position4);
  glPopMatrix();
  glMatrixMode((GLenum)mode);
}

static void SendColours(GLenum light, const float* diffuse, const float* ambient, char locked,
                        const float* specular) {
  glLightfv(light, GL_DIFFUSE, diffuse);
  glLightfv(light, GL_AMBIENT, ambient);
  glLightfv(light, GL_SPECULAR, locked ? diffuse : specular);
}

static void SendDirectional() {
  ComGlLightsDoSetLightPosition(GL_LIGHT0, cgl_dir.direction, 1, cgl_dir.relative_to_camera);
  SendColours(GL_LIGHT0, cgl_dir.diffuse, cgl_dir.ambient, cgl_dir.specular_locked,
              cgl_dir.specular);
}

static void SendPoint(int n) {
  const _ComLightsPointInfo* p = &cgl_point[n];
  GLenum light = (GLenum)(GL_LIGHT0 + n);
  ComGlLightsDoSetLightPosition((int)light, p->position, 0, p->relative_to_camera);
  SendColours(light, p->diffuse, p->ambient, p->specular_locked, p->specular);
  glLightf(light, GL_CONSTANT_ATTENUATION, p->attenuation[0]);
  glLightf(light, GL_LINEAR_ATTENUATION, p->attenuation[1]);
  glLightf(light, GL_QUADRATIC_ATTENUATION, p->attenuation[2]);
}

void ComGlLightsSetupLights() {
  if (cgl_light_system == 0) {
    SendDirectional();
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
  } else if (cgl_light_system == 1 || cgl_light_system == 2) {
    for (int n = cgl_num_point_lights; n <= 1; n++) glDisable((GLenum)(GL_LIGHT0 + n));
    for (int n = 0; n < cgl_num_point_lights; n++) {
      SendPoint(n);
      glEnable((GLenum)(GL_LIGHT0 + n));
    }
  } else {
    DebugError("ComGlLightsSetupLights", "Unknown ligh type <%d>", (int)cgl_light_system);
    return;
  }
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, cgl_ambient);
}

void ComGlLightsSetOverallAmbientLightColour(float r, float g, float b) {
  Set4(cgl_ambient, r, g, b, 1);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, cgl_ambient);
}

void ComGlLightsSetOverallAmbientLightLevel(float level) {
  ComGlLightsSetOverallAmbientLightColour(level, level, level);
}

void ComGlLightsUpdateOverallAmbientLight() { glLightModelfv(GL_LIGHT_MODEL_AMBIENT, cgl_ambient); }

void ComGlLightsSetSpecularColourLocalViewpoint(char on) {
  if (!((unsigned char)on & 0x80)) cgl_local_viewpoint = on;
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, cgl_local_viewpoint != 0 ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Point-light records

static bool RecordOk(const void* info, const char* fn) {
  if (info) return true;
  DebugError(fn, "Invalid parameter");
  return false;
}

void ComGlLightsSetPointInfoAttrDefaults(_ComLightsPointInfo* info) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrDefaults")) return;
  memset(info, 0, sizeof(*info));
  Set4(info->position, 10, 10, 10, 1);
  Set4(info->diffuse, 1, 1, 1, 1);
  Set4(info->ambient, 0.2f, 0.2f, 0.2f, 1);
  Set4(info->specular, 0, 0, 0, 0);
  info->attenuation[0] = 1;
}

void ComGlLightsSetPointInfoAttrPos(_ComLightsPointInfo* info, float x, float y, float z) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrPos")) return;
  Set4(info->position, x, y, z, 1);
}

void ComGlLightsSetPointInfoAttrColours(_ComLightsPointInfo* info, float dr, float dg, float db,
                                        float ar, float ag, float ab) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrColours")) return;
  Set4(info->diffuse, dr, dg, db, 1);
  Set4(info->ambient, ar, ag, ab, 1);
}

void ComGlLightsSetPointInfoAttrSpecularColours(_ComLightsPointInfo* info, float r, float g,
                                                float b) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrSpecularColours")) return;
  Set4(info->specular, r, g, b, 1);
}

void ComGlLightsSetPointInfoAttrSpecularColoursSameAsMainColours(_ComLightsPointInfo* info,
                                                                 float factor) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrSpecularColoursSameAsMainColours")) return;
  if (factor == 1.0f)
    Set4(info->specular, info->diffuse[0], info->diffuse[1], info->diffuse[2], 1);
  else
    Set4(info->specular, info->diffuse[0] * factor, info->diffuse[1] * factor,
         info->diffuse[2] * factor, 1);
}

void ComGlLightsSetPointInfoAttrAttenuation(_ComLightsPointInfo* info, float constant,
                                            float linear, float quadratic) {
  if (!RecordOk(info, "ComGlLightsSetPointInfoAttrAttenuation")) return;
  info->attenuation[0] = constant;
  info->attenuation[1] = linear;
  info->attenuation[2] = quadratic;
}

// ---------------------------------------------------------------------------------------------
// Point lights

char ComGlLightsCheckPointLightSetup(int n) {
  if (cgl_light_system != 1 && cgl_light_system != 2) {
    DebugError("ComGlLightsCheckPointLightSetup", "Point light system not setup");
    return 0;
  }
  if (n < 0 || n > 1 || (n == 1 && cgl_light_system == 1)) {
    DebugError("ComGlLightsCheckPointLightSetup", "Invalid point light number <%d>", n);
    return 0;
  }
  return 1;
}

void ComGlLightsGetPointLightAttributes(int n, _ComLightsPointInfo* info) {
  if (!RecordOk(info, "ComGlLightsGetPointLightAttributes")) return;
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  *info = cgl_point[n];
}

void ComGlLightsUpdatePointLight(int n) {
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  SendPoint(n);
}

void ComGlLightsSetPointLightAttributesEx(int n, _ComLightsPointInfo* info) {
  if (!RecordOk(info, "ComGlLightsSetPointLightAttributesEx")) return;
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  cgl_point[n] = *info;
  SendPoint(n);
}

void ComGlLightsSetPointLightAttributes(int n, float dr, float dg, float db, float ar, float ag,
                                        float ab, float sr, float sg, float sb, float x, float y,
                                        float z, float constant, float linear, float quadratic,
                                        float) {
  _ComLightsPointInfo info;
  memset(&info, 0, sizeof(info));
  Set4(info.diffuse, dr, dg, db, 1);
  Set4(info.ambient, ar, ag, ab, 1);
  Set4(info.specular, sr, sg, sb, 1);
  Set4(info.position, x, y, z, 1);
  info.attenuation[0] = constant;
  info.attenuation[1] = linear;
  info.attenuation[2] = quadratic;
  ComGlLightsSetPointLightAttributesEx(n, &info);
}

void ComGlLightsSetPointLightPos(int n, float x, float y, float z) {
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  _ComLightsPointInfo* p = &cgl_point[n];
  p->position[0] = x;
  p->position[1] = y;
  p->position[2] = z;
  ComGlLightsDoSetLightPosition(GL_LIGHT0 + n, p->position, 0, p->relative_to_camera);
}

void ComGlLightsSetPointLightPosVec3(int n, _Vector3d* pos) {
  if (!RecordOk(pos, "ComGlLightsSetPointLightPosVec3")) return;
  ComGlLightsSetPointLightPos(n, pos->x, pos->y, pos->z);
}

void ComGlLightsLockPointLightSpecularColourWithMainColour(int n, char lock) {
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  _ComLightsPointInfo* p = &cgl_point[n];
  p->specular_locked = lock;
  glLightfv((GLenum)(GL_LIGHT0 + n), GL_SPECULAR, lock ? p->diffuse : p->specular);
}

void ComGlLightsSetPointLightSpecularColour(int n, float r, float g, float b) {
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  ComGlLightsLockPointLightSpecularColourWithMainColour(n, 0);
  Set4(cgl_point[n].specular, r, g, b, 1);
  glLightfv((GLenum)(GL_LIGHT0 + n), GL_SPECULAR, cgl_point[n].specular);
}

void ComGlLightsSetPointLightRelativeToCamera(int n, char relative) {
  if (!ComGlLightsCheckPointLightSetup(n)) return;
  cgl_point[n].relative_to_camera = relative;
}

void ComGlLightsSetupPointLights() {
  if (cgl_light_system != 1 && cgl_light_system != 2) {
    DebugError("ComGlLightsCheckPointLightSetup", "Point light system not setup");
    return;
  }
  for (int n = cgl_num_point_lights; n <= 1; n++) glDisable((GLenum)(GL_LIGHT0 + n));
  for (int n = 0; n < cgl_num_point_lights; n++) {
    SendPoint(n);
    glEnable((GLenum)(GL_LIGHT0 + n));
  }
}

// ---------------------------------------------------------------------------------------------
// Directional light

static bool DirectionalOk() {
  if (cgl_light_system == 0) return true;
  DebugError("ComGlLightsCheckDirectionalLightSetup", "Directional light system not setup");
  return false;
}

void ComGlLightsSetDirectionalLightDirection(float x, float y, float z) {
  if (!DirectionalOk()) return;
  cgl_dir.direction[0] = x;
  cgl_dir.direction[1] = y;
  cgl_dir.direction[2] = z;
  ComGlLightsDoSetLightPosition(GL_LIGHT0, cgl_dir.direction, 1, cgl_dir.relative_to_camera);
}

void ComGlLightsSetDirectionalLightDirectionVec3(_Vector3d* dir) {
  if (!dir) return;
  ComGlLightsSetDirectionalLightDirection(dir->x, dir->y, dir->z);
}

void ComGlLightsSetDirectionalLightLevels(float dr, float dg, float db, float ar, float ag,
                                          float ab) {
  if (!DirectionalOk()) return;
  Set4(cgl_dir.diffuse, dr, dg, db, 1);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, cgl_dir.diffuse);
  Set4(cgl_dir.ambient, ar, ag, ab, 1);
  glLightfv(GL_LIGHT0, GL_AMBIENT, cgl_dir.ambient);
  if (cgl_dir.specular_locked) glLightfv(GL_LIGHT0, GL_SPECULAR, cgl_dir.diffuse);
}

void ComGlLightsSetDirectionalLightColour(float r, float g, float b) {
  if (!DirectionalOk()) return;
  Set4(cgl_dir.diffuse, r, g, b, 1);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, cgl_dir.diffuse);
  if (cgl_dir.specular_locked) glLightfv(GL_LIGHT0, GL_SPECULAR, cgl_dir.diffuse);
}

void ComGlLightsLockDirectionalSpecularColourWithMainColour(char lock) {
  if (!DirectionalOk()) return;
  cgl_dir.specular_locked = lock;
  glLightfv(GL_LIGHT0, GL_SPECULAR, lock ? cgl_dir.diffuse : cgl_dir.specular);
}

void ComGlLightsSetDirectionalSpecularColour(float r, float g, float b) {
  if (!DirectionalOk()) return;
  ComGlLightsLockDirectionalSpecularColourWithMainColour(0);
  Set4(cgl_dir.specular, r, g, b, 1);
  glLightfv(GL_LIGHT0, GL_SPECULAR, cgl_dir.specular);
}

void ComGlLightsSetDirectionalLightRelativeToCamera(char relative) {
  if (!DirectionalOk()) return;
  cgl_dir.relative_to_camera = relative;
}

void ComGlLightsSetupDirectionalLight() {
  if (!DirectionalOk()) return;
  SendDirectional();
  glEnable(GL_LIGHT0);
  glDisable(GL_LIGHT1);
}

// ---------------------------------------------------------------------------------------------
// Materials

static float Shine(float s) {
  if (!(s >= 0.0f)) return 0.0f;  // also NaN
  return s > 128.0f ? 128.0f : s;
}

static void WarnIfNotAdvanced(const char* fn) {
  if (!cgl_advanced_materials) DebugError(fn, "Advanced materials not on");
}

void ComGlMaterialsUseAdvancedMaterials(char on) { cgl_advanced_materials = on; }
char ComGlMaterialsAreAdvancedMaterialsOn() { return cgl_advanced_materials; }

void ComGlMaterialsApplyAdvancedMaterialsSetting() {
  if (cgl_advanced_materials)
    glDisable(GL_COLOR_MATERIAL);
  else
    glEnable(GL_COLOR_MATERIAL);
}

static void SendMaterial(const float* ambient, const float* diffuse, const float* specular,
                         float shininess, const float* emission) {
  if (ambient) glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  if (diffuse) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  if (specular) glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, Shine(shininess));
  if (emission) glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
}

void ComGlMaterialsSetAdvancedMaterialFull(float ar, float ag, float ab, float aa, float dr,
                                           float dg, float db, float da, float sr, float sg,
                                           float sb, float sa, float shininess, float er,
                                           float eg, float eb, float ea) {
  WarnIfNotAdvanced("ComGlMaterialsSetAdvancedMaterialFull");
  const float a[4] = {ar, ag, ab, aa}, d[4] = {dr, dg, db, da}, s[4] = {sr, sg, sb, sa},
              e[4] = {er, eg, eb, ea};
  SendMaterial(a, d, s, shininess, e);
}

void ComGlMaterialsSetAdvancedMaterial(float ar, float ag, float ab, float dr, float dg,
                                       float db, float sr, float sg, float sb, float shininess,
                                       float er, float eg, float eb) {
  WarnIfNotAdvanced("ComGlMaterialsSetAdvancedMaterial");
  const float a[4] = {ar, ag, ab, 1}, d[4] = {dr, dg, db, 1}, s[4] = {sr, sg, sb, 1},
              e[4] = {er, eg, eb, 1};
  SendMaterial(a, d, s, shininess, e);
}

void ComGlMaterialsSetAdvancedMaterialArray(const float* ambient, const float* diffuse,
                                            const float* specular, float shininess,
                                            const float* emission) {
  WarnIfNotAdvanced("ComGlMaterialsSetAdvancedMaterialArray");
  SendMaterial(ambient, diffuse, specular, shininess, emission);
}

void ComGlMaterialsSetAdvancedMaterialWithFade(float ar, float ag, float ab, float dr, float dg,
                                               float db, float sr, float sg, float sb,
                                               float shininess, float er, float eg, float eb,
                                               float fade) {
  WarnIfNotAdvanced("ComGlMaterialsSetAdvancedMaterialWithFade");
  const float a[4] = {ar * fade, ag * fade, ab * fade, 1}, d[4] = {dr * fade, dg * fade, db * fade, 1},
              s[4] = {sr, sg, sb, 1}, e[4] = {er * fade, eg * fade, eb * fade, 1};
  SendMaterial(a, d, s, shininess, e);
}

void ComGlMaterialsSetAdvancedMaterialWithFadeArray(const float* ambient, const float* diffuse,
                                                    const float* specular, float shininess,
                                                    const float* emission, float fade) {
  static const char* kFn = "ComGlMaterialsSetAdvancedMaterialWithFadeArray";
  if (!ambient || !diffuse || !specular || !emission) {
    DebugError(kFn, "Invalid parameter");
    return;
  }
  WarnIfNotAdvanced(kFn);
  const float a[4] = {ambient[0] * fade, ambient[1] * fade, ambient[2] * fade, ambient[3]};
  const float d[4] = {diffuse[0] * fade, diffuse[1] * fade, diffuse[2] * fade, diffuse[3]};
  const float e[4] = {emission[0] * fade, emission[1] * fade, emission[2] * fade, emission[3]};
  SendMaterial(a, d, specular, shininess, e);
}

void ComGlMaterialsSetAdvancedMaterialColourAndSpecular(float r, float g, float b, float sr,
                                                        float sg, float sb, float shininess) {
  WarnIfNotAdvanced("ComGlMaterialsSetAdvancedMaterialColourAndSpecular");
  const float c[4] = {r, g, b, 1}, s[4] = {sr, sg, sb, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, c);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, s);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, Shine(shininess));
}

void ComGlMaterialsSetDefaultAdvancedMaterial() {
  WarnIfNotAdvanced("ComGlMaterialsSetDefaultAdvancedMaterial");
  const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
}

void ComGlMaterialsSetDefaultAdvancedMaterialColourAndSpecular() {
  WarnIfNotAdvanced("ComGlMaterialsSetDefaultAdvancedMaterialColourAndSpecular");
  const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
}

void ComGlMaterialsSetDefaultMaterialColour() {
  if (cgl_advanced_materials)
    ComGlMaterialsSetDefaultAdvancedMaterial();
  else
    glColor4f(1, 1, 1, 1);
}
