// 4 x 4 matrix and quaternion arithmetic of the 3D toolkit. One memory layout serves OpenGL
// (column vectors, column-major storage) and row-vector interfaces with row-major storage: the
// translation sits in m12, m13, m14 and a point transforms as a row vector.
#ifndef COM_GL_MATRIX_H
#define COM_GL_MATRIX_H

struct _Vector3d;
struct _Vector2d;

struct _ComGlDxMatrix {
  float m[16];
};

struct _ComGlDxMatricesDxMatrix {
  float m[16];
};

struct _ComGlDxMatrix3x3 {
  float m[9];
};

struct _ComGlQuat {
  float x, y, z, w;
};

// Builders (nothing for a null matrix).
void ComGlDxMatricesSetIdentityMatrix(_ComGlDxMatrix* m);
void ComGlDxMatricesSetIdentityMatrix3x3(_ComGlDxMatrix3x3* m);
void ComGlDxMatricesSetTranslateMatrix(_ComGlDxMatrix* m, float x, float y, float z);
void ComGlDxMatricesSetScaleMatrix(_ComGlDxMatrix* m, float x, float y, float z);
void ComGlDxMatricesSetRotateXMatrixRad(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotateYMatrixRad(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotateZMatrixRad(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotateXMatrixDeg(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotateYMatrixDeg(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotateZMatrixDeg(_ComGlDxMatrix* m, float a);
void ComGlDxMatricesSetRotationXYZMatrixRad(_ComGlDxMatrix* m, float ax, float ay, float az);
void ComGlDxMatricesSetRotationXYZMatrixDeg(_ComGlDxMatrix* m, float ax, float ay, float az);
void ComGlDxMatricesSetRotationXYZMatrixRadVec3(_ComGlDxMatrix* m, _Vector3d* angles);
void ComGlDxMatricesSetRotationXYZMatrixDegVec3(_ComGlDxMatrix* m, _Vector3d* angles);
void ComGlDxMatricesSetRotationZYXMatrixDeg(_ComGlDxMatrix* m, float ax, float ay, float az);

// Transforms (x', y', z' divided by w' when w' is not 0).
void ComGlDxMatricesTransformVectorByMatrix(_Vector3d* v, _ComGlDxMatrix* m);
void ComGlDxMatricesTransformVectorByMatrix2(_Vector3d* in, _Vector3d* out, _ComGlDxMatrix* m);
void ComGlDxMatricesTransformVectorByMatrix3(float x, float y, float z, _Vector3d* out,
                                             _ComGlDxMatrix* m);
void ComGlDxMatricesTransformVector2dByMatrix2(_Vector2d* in, _Vector2d* out, _ComGlDxMatrix* m);

// out = a x b in OpenGL's reading (transforming by out applies b, then a); out may be b.
void ComGlDxMatricesMultiplyMatrixByMatrix(_ComGlDxMatrix* out, _ComGlDxMatrix* a,
                                           _ComGlDxMatrix* b);
void ComGlDxMatricesLinearInterpolateTwoMatrices(_ComGlDxMatrix* a, _ComGlDxMatrix* b, float t,
                                                 _ComGlDxMatrix* out);
// 1, or 0 with out = identity when |det| < 0.0005; out must differ from in.
char ComGlDxMatricesCalcInverseMatrix(_ComGlDxMatrix* out, _ComGlDxMatrix* in);
void ComGlDxMatricesConvertToDxMatrix(_ComGlDxMatrix* gl, _ComGlDxMatricesDxMatrix* dx);
void ComGlDxMatricesConvertFromDxMatrix(_ComGlDxMatricesDxMatrix* dx, _ComGlDxMatrix* gl);

// Quaternions (x, y, z, w): the rotation by angle a about the unit axis n is (n sin a/2, cos a/2).
// Outputs may be inputs; nothing happens for a null pointer.
// Normalises the axis in place first.
void ComGlQuatsGetQuatFromAxisAngleRad(_Vector3d* axis, float angle, _ComGlQuat* q);
void ComGlQuatsGetQuatFromAxisAngleDeg(_Vector3d* axis, float angle, _ComGlQuat* q);
void ComGlQuatsGetQuatFromRotationMatrix(_ComGlDxMatrix* m, _ComGlQuat* q);
void ComGlQuatsGetRotationMatrixFromQuat(_ComGlQuat* q, _ComGlDxMatrix* m);
// out = a b: its rotation matrix is the product of a's and b's (b applied first).
void ComGlQuatsMultiplyTwoQuats(_ComGlQuat* a, _ComGlQuat* b, _ComGlQuat* out);
void ComGlQuatsGetQuatFromYawPitchAndRollDeg(float yaw, float pitch, float roll, _ComGlQuat* q);
// The product of the rotations about x, y and z, in that order from the left.
void ComGlQuatsGetQuatFromEulerAnglesDeg(float ax, float ay, float az, _ComGlQuat* q);
float ComGlQuatsGetQuatMagnitude(_ComGlQuat* q);
_ComGlQuat* ComGlQuatsNormaliseQuat(_ComGlQuat* q);  // a zero quaternion stays as it is
// Normalises q in place. The identity gives angle 0 and axis (0, 0, 0).
void ComGlQuatsGetAxisAndAngleFromQuatRad(_ComGlQuat* q, _Vector3d* axis, float* angle);
void ComGlQuatsGetAxisAndAngleFromQuatDeg(_ComGlQuat* q, _Vector3d* axis, float* angle);
// The rotation from a towards b by the fraction t (a's own translation kept), the short way round.
void ComGlQuatsInterpolateTwoMatrices(_ComGlDxMatrix* a, _ComGlDxMatrix* b, float t, _ComGlDxMatrix* out);
void ComGlQuatsInterpolateTwoQuats(_ComGlQuat* qa, _ComGlQuat* qb, float t, _ComGlQuat* out);

#endif
