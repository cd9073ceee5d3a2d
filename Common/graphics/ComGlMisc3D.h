// The 3D half of the OpenGL state module: perspective projection and its parameters, the camera
// set with a look-at (into the projection matrix), object transforms loaded into the modelview
// matrix (the reading view's page rotation among them), a counted matrix stack, viewport
// records, picking the point of a plane under a screen position, a textured quad placed in 3D,
// and the extension query.
#ifndef COM_GL_MISC_3D_H
#define COM_GL_MISC_3D_H

struct _Vector3d;
struct _ComGlDxMatrix;
struct _ComGlTextureImage;

// A rectangle in window pixels with its origin at the top left.
struct _ComGlDxViewport {
  int x, y, width, height;
};

extern float cglm_perspective_fov;         // vertical field of view in degrees (45)
extern float cglm_perspective_aspect;      // width / height (1)
extern float cglm_perspective_near_plane;  // 0.1
extern float cglm_perspective_far_plane;   // 200
extern signed char cglm_matrix_stack_level;  // pushes minus pops through this module

// Projection and camera.
void ComGlMiscUpdatePerspectiveMatrix(char select_modelview);
void ComGlMiscSetPerspectiveFOV(float fov, char apply);
void ComGlMiscSetPerspectiveAspect(float aspect, char apply);
void ComGlMiscSetPerspectiveNearAndFarPlanes(float near_plane, float far_plane, char apply);
float ComGlMiscGetPerspectiveFOV();
float ComGlMiscGetPerspectiveAspect();
float ComGlMiscGetPerspectiveNearPlane();
float ComGlMiscGetPerspectiveFarPlane();
void ComGlMiscSetupCustomProjectionMatrix(double fov, double aspect, double near_plane,
                                          double far_plane);
void ComGlMiscSetLookAtValues(float eye_x, float eye_y, float eye_z, float centre_x,
                              float centre_y, float centre_z, float up_x, float up_y,
                              float up_z);
void ComGlMiscSetLookAtMatrix(_Vector3d* eye, _Vector3d* centre);
void ComGlMiscSetLookAtMatrixInvZ(_Vector3d* eye, _Vector3d* centre);
void ComGlMiscSetLookAtMatrixInvUp(_Vector3d* eye, _Vector3d* centre);
void ComGlMiscSetLookAtMatrixInvZInvUp(_Vector3d* eye, _Vector3d* centre);
void ComGlMiscSetLookAtMatrixYUp(_Vector3d* eye, _Vector3d* centre);
void ComGlMiscSetLookAtMatrixAxis(_Vector3d* eye, _Vector3d* centre, _Vector3d* up);
void ComGlMiscGetProjectionAndViewMatrices(_Vector3d* centre, _Vector3d* eye, _Vector3d* up,
                                           _ComGlDxMatrix* projection, _ComGlDxMatrix* view);

// Object transforms (modelview matrix; degrees unless the name ends in Rad; a null vector
// skips its step).
void ComGlMiscSetTransformMatrixIdentity();
void ComGlMiscSetTransformMatrixPos(float x, float y, float z);
void ComGlMiscSetTransformMatrixPosVec3(_Vector3d* pos);
void ComGlMiscSetTransformMatrixPosScale(float x, float y, float z, float sx, float sy, float sz);
void ComGlMiscSetTransformMatrix(float x, float y, float z, float rx, float ry, float rz);
void ComGlMiscSetTransformMatrixPosRotVec3(_Vector3d* pos, _Vector3d* rot);
void ComGlMiscSetTransformMatrixPosRotScaleVec3(_Vector3d* pos, _Vector3d* rot, _Vector3d* scale);
void ComGlMiscSetTransformMatrixVec3YawPitchRoll(_Vector3d* pos, _Vector3d* rot);
void ComGlMiscSetTransformMatrixVec3Zyx(_Vector3d* pos, _Vector3d* rot);
void ComGlMiscSetTransformMatrixVec3NoIdentity(_Vector3d* pos, _Vector3d* rot);
void ComGlMiscSetTransformMatrixPosRotRad(float x, float y, float z, float rx, float ry, float rz);
void ComGlMiscSetTransformMatrixPosRotRadScale(float x, float y, float z, float rx, float ry,
                                               float rz, float sx, float sy, float sz);
void ComGlMiscSetTransformMatrixPosRotVec3Rad(_Vector3d* pos, _Vector3d* rot);
void ComGlMiscSetTransformMatrixPosRotScaleVec3Rad(_Vector3d* pos, _Vector3d* rot,
                                                   _Vector3d* scale);
void ComGlMiscSetTransformMatrixToMatrix(_ComGlDxMatrix* m);
void ComGlMiscApplyScaleMatrixP(_Vector3d* scale);

// Matrix stack and matrices.
void ComGlMiscPushTransformMatrix();
void ComGlMiscPopTransformMatrix();  // a pop beyond the base is logged and skipped
void ComGlMiscGetCurrentModelMatrix(_ComGlDxMatrix* m);
void ComGlMiscApplyInverseProjectionMatrix(_Vector3d* v);
void ComGlMiscNormaliseVector(float* x, float* y, float* z);

// Viewport records.
void ComGlMiscSetViewportStructToSize(_ComGlDxViewport* vp, int x, int y, int w, int h);
void ComGlMiscSetViewportStructToSizeRatioed(_ComGlDxViewport* vp, int x, int y, int w, int h);
void ComGlMiscSetViewportToViewportStruct(_ComGlDxViewport* vp);
void ComGlMiscGetCurrentViewportStruct(_ComGlDxViewport* vp);  // as OpenGL has it (origin bottom left)

// Picking: the point (x, y) of the plane z = plane_z under the window position (sx, sy) (origin
// top left). 1 with the point, or 0.
char ComGlMiscGetScreenPointInViewportStruct(_ComGlDxViewport* vp, int sx, int sy, float plane_z,
                                             _Vector3d* centre, _Vector3d* eye, float* x,
                                             float* y);
char ComGlMiscGetScreenPointInViewportStructInvUp(_ComGlDxViewport* vp, int sx, int sy,
                                                  float plane_z, _Vector3d* centre,
                                                  _Vector3d* eye, float* x, float* y);
char ComGlMiscGetScreenPointInFullScreen(int sx, int sy, float plane_z, _Vector3d* centre,
                                         _Vector3d* eye, float* x, float* y);
char ComGlMiscGetScreenPointInCurrentViewport(int sx, int sy, float plane_z, _Vector3d* centre,
                                              _Vector3d* eye, float* x, float* y);

// Quad in 3D: plane 0 is z = z1, 1 is y = y1, 2 is x = x1.
void ComGlMiscDrawTexturePartIn3D(char load_identity, _Vector3d* position, char plane, float x1,
                                  float y1, float z1, float x2, float y2, float z2,
                                  float u_start, float v_start, float u_end, float v_end,
                                  _ComGlTextureImage* image);

// 1 when name is one of the words of the extension string (0 for a null or empty name).
char ComGlMiscQueryExtension(const char* name);

#endif
