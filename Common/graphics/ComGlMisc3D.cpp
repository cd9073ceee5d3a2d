// Perspective, camera, object transforms, matrix stack, viewport records, picking, quads in 3D
// and the extension query.
#include "ComGlMisc3D.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <math.h>
#include <string.h>

#include "ComDebug.h"
#include "ComGlMatrix.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "ComMisc.h"

float cglm_perspective_fov = 45.0f;
float cglm_perspective_aspect = 1.0f;
float cglm_perspective_near_plane = 0.1f;
float cglm_perspective_far_plane = 200.0f;
signed char cglm_matrix_stack_level = 0;

static const float kRadToDeg = 57.29578f;

// ---------------------------------------------------------------------------------------------
// Projection and camera

void ComGlMiscUpdatePerspectiveMatrix(char select_modelview) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(cglm_perspective_fov, cglm_perspective_aspect, cglm_perspective_near_plane,
                 cglm_perspective_far_plane);
  if (select_modelview) glMatrixMode(GL_MODELVIEW);
}

void ComGlMiscSetPerspectiveFOV(float fov, char apply) {
  cglm_perspective_fov = fov;
  if (apply) ComGlMiscUpdatePerspectiveMatrix(1);
}

void ComGlMiscSetPerspectiveAspect(float aspect, char apply) {
  cglm_perspective_aspect = aspect;
  if (apply) ComGlMiscUpdatePerspectiveMatrix(1);
}

void ComGlMiscSetPerspectiveNearAndFarPlanes(float near_plane, float far_plane, char apply) {
  cglm_perspective_near_plane = near_plane;
  cglm_perspective_far_plane = far_plane;
  if (apply) ComGlMiscUpdatePerspectiveMatrix(1);
}

float ComGlMiscGetPerspectiveFOV() { return cglm_perspective_fov; }
float ComGlMiscGetPerspectiveAspect() { return cglm_perspective_aspect; }
float ComGlMiscGetPerspectiveNearPlane() { return cglm_perspective_near_plane; }
float ComGlMiscGetPerspectiveFarPlane() { return cglm_perspective_far_plane; }

void ComGlMiscSetupCustomProjectionMatrix(double fov, double aspect, double near_plane,
                                          double far_plane) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fov, aspect, near_plane, far_plane);
  glMatrixMode(GL_MODELVIEW);
}

// The camera goes into the projection matrix; the modelview matrix stays for object transforms.
void ComGlMiscSetLookAtValues(float ex, float ey, float ez, float cx, float cy, float cz,
                              float ux, float uy, float uz) {
  ComGlMiscUpdatePerspectiveMatrix(0);
  gluLookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
  glMatrixMode(GL_MODELVIEW);
}

static void LookAt(_Vector3d* eye, _Vector3d* centre, float z_sign, float ux, float uy, float uz) {
  if (!eye || !centre) return;
  ComGlMiscSetLookAtValues(eye->x, eye->y, eye->z * z_sign, centre->x, centre->y,
                           centre->z * z_sign, ux, uy, uz);
}

void ComGlMiscSetLookAtMatrix(_Vector3d* eye, _Vector3d* centre) { LookAt(eye, centre, 1, 0, 0, 1); }
void ComGlMiscSetLookAtMatrixInvZ(_Vector3d* eye, _Vector3d* centre) {
  LookAt(eye, centre, -1, 0, 0, 1);
}
void ComGlMiscSetLookAtMatrixInvUp(_Vector3d* eye, _Vector3d* centre) {
  LookAt(eye, centre, 1, 0, 0, -1);
}
void ComGlMiscSetLookAtMatrixInvZInvUp(_Vector3d* eye, _Vector3d* centre) {
  LookAt(eye, centre, -1, 0, 0, -1);
}
void ComGlMiscSetLookAtMatrixYUp(_Vector3d* eye, _Vector3d* centre) {
  LookAt(eye, centre, 1, 0, 1, 0);
}
void ComGlMiscSetLookAtMatrixAxis(_Vector3d* eye, _Vector3d* centre, _Vector3d* up) {
  if (!up) return;
  LookAt(eye, centre, 1, up->x, up->y, up->z);
}

void ComGlMiscGetProjectionAndViewMatrices(_Vector3d* centre, _Vector3d* eye, _Vector3d* up,
                                           _ComGlDxMatrix* projection, _ComGlDxMatrix* view) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  if (projection) {
    glLoadIdentity();
    gluPerspective(cglm_perspective_fov, cglm_perspective_aspect, cglm_perspective_near_plane,
                   cglm_perspective_far_plane);
    glGetFloatv(GL_PROJECTION_MATRIX, projection->m);
  }
  if (view && centre && eye && up) {
    glLoadIdentity();
    gluLookAt(eye->x, eye->y, eye->z, centre->x, centre->y, centre->z, up->x, up->y, up->z);
    glGetFloatv(GL_PROJECTION_MATRIX, view->m);
  }
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

// ---------------------------------------------------------------------------------------------
// Object transforms

static void Start(bool identity) {
  glMatrixMode(GL_MODELVIEW);
  if (identity) glLoadIdentity();
}

static void RotXYZ(float rx, float ry, float rz) {
  glRotatef(rx, 1, 0, 0);
  glRotatef(ry, 0, 1, 0);
  glRotatef(rz, 0, 0, 1);
}

void ComGlMiscSetTransformMatrixIdentity() { Start(true); }

void ComGlMiscSetTransformMatrixPos(float x, float y, float z) {
  Start(true);
  glTranslatef(x, y, z);
}

void ComGlMiscSetTransformMatrixPosVec3(_Vector3d* pos) {
  Start(true);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
}

void ComGlMiscSetTransformMatrixPosScale(float x, float y, float z, float sx, float sy, float sz) {
  Start(true);
  glTranslatef(x, y, z);
  glScalef(sx, sy, sz);
}

void ComGlMiscSetTransformMatrix(float x, float y, float z, float rx, float ry, float rz) {
  Start(true);
  glTranslatef(x, y, z);
  RotXYZ(rx, ry, rz);
}

void ComGlMiscSetTransformMatrixPosRotVec3(_Vector3d* pos, _Vector3d* rot) {
  Start(true);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
  if (rot) RotXYZ(rot->x, rot->y, rot->z);
}

void ComGlMiscSetTransformMatrixPosRotScaleVec3(_Vector3d* pos, _Vector3d* rot, _Vector3d* scale) {
  ComGlMiscSetTransformMatrixPosRotVec3(pos, rot);
  if (scale) glScalef(scale->x, scale->y, scale->z);
}

void ComGlMiscSetTransformMatrixVec3YawPitchRoll(_Vector3d* pos, _Vector3d* rot) {
  Start(true);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
  if (rot) {
    glRotatef(rot->y, 0, 1, 0);
    glRotatef(rot->x, 1, 0, 0);
    glRotatef(rot->z, 0, 0, 1);
  }
}

void ComGlMiscSetTransformMatrixVec3Zyx(_Vector3d* pos, _Vector3d* rot) {
  Start(true);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
  if (rot) {
    glRotatef(rot->z, 0, 0, 1);
    glRotatef(rot->y, 0, 1, 0);
    glRotatef(rot->x, 1, 0, 0);
  }
}

void ComGlMiscSetTransformMatrixVec3NoIdentity(_Vector3d* pos, _Vector3d* rot) {
  Start(false);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
  if (rot) RotXYZ(rot->x, rot->y, rot->z);
}

void ComGlMiscSetTransformMatrixPosRotRad(float x, float y, float z, float rx, float ry, float rz) {
  ComGlMiscSetTransformMatrix(x, y, z, rx * kRadToDeg, ry * kRadToDeg, rz * kRadToDeg);
}

void ComGlMiscSetTransformMatrixPosRotRadScale(float x, float y, float z, float rx, float ry,
                                               float rz, float sx, float sy, float sz) {
  ComGlMiscSetTransformMatrixPosRotRad(x, y, z, rx, ry, rz);
  glScalef(sx, sy, sz);
}

void ComGlMiscSetTransformMatrixPosRotVec3Rad(_Vector3d* pos, _Vector3d* rot) {
  Start(true);
  if (pos) glTranslatef(pos->x, pos->y, pos->z);
  if (rot) RotXYZ(rot->x * kRadToDeg, rot->y * kRadToDeg, rot->z * kRadToDeg);
}

void ComGlMiscSetTransformMatrixPosRotScaleVec3Rad(_Vector3d* pos, _Vector3d* rot,
                                                   _Vector3d* scale) {
  ComGlMiscSetTransformMatrixPosRotVec3Rad(pos, rot);
  if (scale) glScalef(scale->x, scale->y, scale->z);
}

void ComGlMiscSetTransformMatrixToMatrix(_ComGlDxMatrix* m) {
  Start(false);
  if (m) glLoadMatrixf(m->m);
}

void ComGlMiscApplyScaleMatrixP(_Vector3d* scale) {
  Start(false);
  if (scale) glScalef(scale->x, scale->y, scale->z);
}

// ---------------------------------------------------------------------------------------------
// Matrix stack and matrices

void ComGlMiscPushTransformMatrix() {
  glPushMatrix();
  cglm_matrix_stack_level++;
}

void ComGlMiscPopTransformMatrix() {
  if (cglm_matrix_stack_level <= 0) {
    // A pop below what was pushed here would take a matrix that belongs to someone else.
    DebugError("ComGlMiscPopMatrix", "Too many pops");
    cglm_matrix_stack_level = 0;
    return;
  }
  glPopMatrix();
  cglm_matrix_stack_level--;
}

void ComGlMiscGetCurrentModelMatrix(_ComGlDxMatrix* m) {
  if (m) glGetFloatv(GL_MODELVIEW_MATRIX, m->m);
}

void ComGlMiscApplyInverseProjectionMatrix(_Vector3d* v) {
  if (!v) return;
  _ComGlDxMatrix p, inv;
  glGetFloatv(GL_PROJECTION_MATRIX, p.m);
  if (!ComGlDxMatricesCalcInverseMatrix(&inv, &p)) return;
  ComGlDxMatricesTransformVectorByMatrix(v, &inv);
}

void ComGlMiscNormaliseVector(float* x, float* y, float* z) {
  if (!x || !y || !z) return;
  float len = sqrtf(*x * *x + *y * *y + *z * *z);
  if (len == 0.0f) return;
  *x /= len;
  *y /= len;
  *z /= len;
}

// ---------------------------------------------------------------------------------------------
// Viewport records

void ComGlMiscSetViewportStructToSize(_ComGlDxViewport* vp, int x, int y, int w, int h) {
  if (!vp) return;
  vp->x = x;
  vp->y = y;
  vp->width = w;
  vp->height = h;
}

void ComGlMiscSetViewportStructToSizeRatioed(_ComGlDxViewport* vp, int x, int y, int w, int h) {
  if (!vp) return;
  vp->x = ComMiscRound((float)x * x_ratio);
  vp->y = ComMiscRound((float)y * y_ratio);
  vp->width = ComMiscRound((float)w * x_ratio);
  vp->height = ComMiscRound((float)h * y_ratio);
}

void ComGlMiscSetViewportToViewportStruct(_ComGlDxViewport* vp) {
  if (!vp) return;
  glViewport(vp->x, HEIGHT - vp->y - vp->height, vp->width, vp->height);
  cglm_viewport_is_fullscreen = 0;
}

void ComGlMiscGetCurrentViewportStruct(_ComGlDxViewport* vp) {
  if (!vp) return;
  GLint v[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, v);
  vp->x = v[0];
  vp->y = v[1];
  vp->width = v[2];
  vp->height = v[3];
}

// ---------------------------------------------------------------------------------------------
// Picking

static char ScreenPoint(_ComGlDxViewport* vp, int sx, int sy, float plane_z, _Vector3d* centre,
                        _Vector3d* eye, float up_z, float* out_x, float* out_y) {
  if (!centre || !eye) return 0;
  int width = WIDTH, height = HEIGHT;
  if (vp) {
    if (sx < vp->x || sx > vp->x + vp->width || sy < vp->y || sy > vp->y + vp->height) return 0;
    sx -= vp->x;
    sy -= vp->y;
    width = vp->width;
    height = vp->height;
  }
  if (width <= 0 || height <= 0) return 0;
  _Vector3d up = {0.0f, 0.0f, up_z};
  _ComGlDxMatrix P, V, I;
  ComGlMiscGetProjectionAndViewMatrices(centre, eye, &up, &P, &V);
  if (!ComGlDxMatricesCalcInverseMatrix(&I, &V)) return 0;  // no camera to cast the ray from
  if (P.m[0] == 0.0f || P.m[5] == 0.0f) return 0;
  float nx = -(2.0f * (float)sx / (float)width - 1.0f) / P.m[0];
  float ny = (2.0f * (float)sy / (float)height - 1.0f) / P.m[5];
  const float* m = I.m;
  float dx = nx * m[0] + ny * m[4] + m[8];
  float dy = nx * m[1] + ny * m[5] + m[9];
  float dz = nx * m[2] + ny * m[6] + m[10];
  if (dz == 0.0f) return 0;
  float k = (plane_z - m[14]) / dz;
  if (out_x) *out_x = m[12] + k * dx;
  if (out_y) *out_y = m[13] + k * dy;
  return 1;
}

char ComGlMiscGetScreenPointInViewportStruct(_ComGlDxViewport* vp, int sx, int sy, float plane_z,
                                             _Vector3d* centre, _Vector3d* eye, float* x,
                                             float* y) {
  return ScreenPoint(vp, sx, sy, plane_z, centre, eye, 1.0f, x, y);
}

char ComGlMiscGetScreenPointInViewportStructInvUp(_ComGlDxViewport* vp, int sx, int sy,
                                                  float plane_z, _Vector3d* centre,
                                                  _Vector3d* eye, float* x, float* y) {
  return ScreenPoint(vp, sx, sy, plane_z, centre, eye, -1.0f, x, y);
}

char ComGlMiscGetScreenPointInFullScreen(int sx, int sy, float plane_z, _Vector3d* centre,
                                         _Vector3d* eye, float* x, float* y) {
  return ScreenPoint(nullptr, sx, sy, plane_z, centre, eye, 1.0f, x, y);
}

char ComGlMiscGetScreenPointInCurrentViewport(int sx, int sy, float plane_z, _Vector3d* centre,
                                              _Vector3d* eye, float* x, float* y) {
  if (cglm_viewport_is_fullscreen)
    return ScreenPoint(nullptr, sx, sy, plane_z, centre, eye, 1.0f, x, y);
  _ComGlDxViewport vp = {0, 0, 0, 0};
  ComGlMiscGetCurrentViewport(&vp.x, &vp.y, &vp.width, &vp.height);
  // OpenGL counts the viewport from the bottom of the window; positions count from the top.
  vp.y = HEIGHT - vp.y - vp.height;
  return ScreenPoint(&vp, sx, sy, plane_z, centre, eye, 1.0f, x, y);
}

// ---------------------------------------------------------------------------------------------
// Quad in 3D

void ComGlMiscDrawTexturePartIn3D(char load_identity, _Vector3d* position, char plane, float x1,
                                  float y1, float z1, float x2, float y2, float z2,
                                  float u_start, float v_start, float u_end, float v_end,
                                  _ComGlTextureImage* image) {
  if (!image || !image->loaded) return;
  if (load_identity) glLoadIdentity();
  if (position) glTranslatef(position->x, position->y, position->z);
  glBindTexture(GL_TEXTURE_2D, image->tex_name);
  glBegin(GL_QUADS);
  if (plane == 0) {
    glTexCoord2f(u_start, v_end);
    glVertex3f(x1, y2, z1);
    glTexCoord2f(u_start, v_start);
    glVertex3f(x1, y1, z1);
    glTexCoord2f(u_end, v_start);
    glVertex3f(x2, y1, z1);
    glTexCoord2f(u_end, v_end);
    glVertex3f(x2, y2, z1);
  } else if (plane == 1) {
    glTexCoord2f(u_start, v_end);
    glVertex3f(x1, y1, z2);
    glTexCoord2f(u_start, v_start);
    glVertex3f(x1, y1, z1);
    glTexCoord2f(u_end, v_start);
    glVertex3f(x2, y1, z1);
    glTexCoord2f(u_end, v_end);
    glVertex3f(x2, y1, z2);
  } else if (plane == 2) {
    glTexCoord2f(u_start, v_end);
    glVertex3f(x1, y1, z2);
    glTexCoord2f(u_start, v_start);
    glVertex3f(x1, y1, z1);
    glTexCoord2f(u_end, v_start);
    glVertex3f(x1, y2, z1);
    glTexCoord2f(u_end, v_end);
    glVertex3f(x1, y2, z2);
  }
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
}

// ---------------------------------------------------------------------------------------------
// Extensions

char ComGlMiscQueryExtension(const char* name) {
  if (!name || !name[0]) return 0;
  const char* ext = (const char*)glGetString(GL_EXTENSIONS);
  if (!ext) return 0;
  size_t len = strlen(name);
  const char* p = ext;
  while (*p) {
    while (*p == ' ') p++;
    const char* end = p;
    while (*end && *end != ' ') end++;
    if ((size_t)(end - p) == len && strncmp(p, name, len) == 0) return 1;
    p = end;
  }
  return 0;
}
