// 4 x 4 matrix and quaternion arithmetic in OpenGL's column-major memory order.
#include "ComGlMatrix.h"

#include <math.h>
#include <string.h>

#include "ComDebug.h"
#include "ComMath.h"
#include "ComMisc.h"

static const float kDegToRad = 0.017453292f;

void ComGlDxMatricesSetIdentityMatrix(_ComGlDxMatrix* m) {
  if (!m) return;
  memset(m->m, 0, sizeof(m->m));
  m->m[0] = m->m[5] = m->m[10] = m->m[15] = 1.0f;
}

void ComGlDxMatricesSetIdentityMatrix3x3(_ComGlDxMatrix3x3* m) {
  if (!m) return;
  memset(m->m, 0, sizeof(m->m));
  m->m[0] = m->m[4] = m->m[8] = 1.0f;
}

void ComGlDxMatricesSetTranslateMatrix(_ComGlDxMatrix* m, float x, float y, float z) {
  if (!m) return;
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[12] = x;
  m->m[13] = y;
  m->m[14] = z;
}

void ComGlDxMatricesSetScaleMatrix(_ComGlDxMatrix* m, float x, float y, float z) {
  if (!m) return;
  memset(m->m, 0, sizeof(m->m));
  m->m[0] = x;
  m->m[5] = y;
  m->m[10] = z;
  m->m[15] = 1.0f;
}

void ComGlDxMatricesSetRotateXMatrixRad(_ComGlDxMatrix* m, float a) {
  if (!m) return;
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[5] = cosf(a);
  m->m[6] = sinf(a);
  m->m[9] = -sinf(a);
  m->m[10] = cosf(a);
}

void ComGlDxMatricesSetRotateYMatrixRad(_ComGlDxMatrix* m, float a) {
  if (!m) return;
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[0] = cosf(a);
  m->m[2] = -sinf(a);
  m->m[8] = sinf(a);
  m->m[10] = cosf(a);
}

void ComGlDxMatricesSetRotateZMatrixRad(_ComGlDxMatrix* m, float a) {
  if (!m) return;
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[0] = cosf(a);
  m->m[1] = sinf(a);
  m->m[4] = -sinf(a);
  m->m[5] = cosf(a);
}

void ComGlDxMatricesSetRotateXMatrixDeg(_ComGlDxMatrix* m, float a) {
  ComGlDxMatricesSetRotateXMatrixRad(m, a * kDegToRad);
}
void ComGlDxMatricesSetRotateYMatrixDeg(_ComGlDxMatrix* m, float a) {
  ComGlDxMatricesSetRotateYMatrixRad(m, a * kDegToRad);
}
void ComGlDxMatricesSetRotateZMatrixDeg(_ComGlDxMatrix* m, float a) {
  ComGlDxMatricesSetRotateZMatrixRad(m, a * kDegToRad);
}

void ComGlDxMatricesSetRotationXYZMatrixRad(_ComGlDxMatrix* m, float ax, float ay, float az) {
  if (!m) return;
  float cx = cosf(ax), sx = sinf(ax), cy = cosf(ay), sy = sinf(ay), cz = cosf(az), sz = sinf(az);
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[0] = cy * cz;
  m->m[1] = -cy * sz;
  m->m[2] = sy;
  m->m[4] = sx * sy * cz + cx * sz;
  m->m[5] = cx * cz - sx * sy * sz;
  m->m[6] = -sx * cy;
  m->m[8] = sx * sz - cx * sy * cz;
  m->m[9] = cx * sy * sz + sx * cz;
  m->m[10] = cx * cy;
}

void ComGlDxMatricesSetRotationXYZMatrixDeg(_ComGlDxMatrix* m, float ax, float ay, float az) {
  ComGlDxMatricesSetRotationXYZMatrixRad(m, ax * kDegToRad, ay * kDegToRad, az * kDegToRad);
}

void ComGlDxMatricesSetRotationXYZMatrixRadVec3(_ComGlDxMatrix* m, _Vector3d* a) {
  if (!a) return;
  ComGlDxMatricesSetRotationXYZMatrixRad(m, a->x, a->y, a->z);
}

void ComGlDxMatricesSetRotationXYZMatrixDegVec3(_ComGlDxMatrix* m, _Vector3d* a) {
  if (!a) return;
  ComGlDxMatricesSetRotationXYZMatrixDeg(m, a->x, a->y, a->z);
}

void ComGlDxMatricesSetRotationZYXMatrixDeg(_ComGlDxMatrix* m, float ax, float ay, float az) {
  if (!m) return;
  ax *= kDegToRad;
  ay *= kDegToRad;
  az *= kDegToRad;
  float cx = cosf(ax), sx = sinf(ax), cy = cosf(ay), sy = sinf(ay), cz = cosf(az), sz = sinf(az);
  ComGlDxMatricesSetIdentityMatrix(m);
  m->m[0] = cy * cz;
  m->m[1] = sx * sy * cz - cx * sz;
  m->m[2] = sx * sz + cx * sy * cz;
  m->m[4] = cy * sz;
  m->m[5] = cx * cz + sx * sy * sz;
  m->m[6] = cx * sy * sz - sx * cz;
  m->m[8] = -sy;
  m->m[9] = sx * cy;
  m->m[10] = cx * cy;
}

void ComGlDxMatricesTransformVectorByMatrix3(float x, float y, float z, _Vector3d* out,
                                             _ComGlDxMatrix* mat) {
  if (!out || !mat) return;
  const float* m = mat->m;
  float nx = x * m[0] + y * m[4] + z * m[8] + m[12];
  float ny = x * m[1] + y * m[5] + z * m[9] + m[13];
  float nz = x * m[2] + y * m[6] + z * m[10] + m[14];
  float w = x * m[3] + y * m[7] + z * m[11] + m[15];
  if (w != 0.0f) {
    nx /= w;
    ny /= w;
    nz /= w;
  }
  out->x = nx;
  out->y = ny;
  out->z = nz;
}

void ComGlDxMatricesTransformVectorByMatrix(_Vector3d* v, _ComGlDxMatrix* m) {
  if (!v) return;
  ComGlDxMatricesTransformVectorByMatrix3(v->x, v->y, v->z, v, m);
}

void ComGlDxMatricesTransformVectorByMatrix2(_Vector3d* in, _Vector3d* out, _ComGlDxMatrix* m) {
  if (!in) return;
  ComGlDxMatricesTransformVectorByMatrix3(in->x, in->y, in->z, out, m);
}

void ComGlDxMatricesTransformVector2dByMatrix2(_Vector2d* in, _Vector2d* out, _ComGlDxMatrix* mat) {
  if (!in || !out || !mat) return;
  if (in == out) {
    DebugError("ComGlDxMatricesTransformVector2dByMatrix", "Not implemented");
    return;
  }
  const float* m = mat->m;
  float x = in->x * m[0] + in->y * m[4] + m[12];
  float y = in->x * m[1] + in->y * m[5] + m[13];
  float w = in->x * m[3] + in->y * m[7] + m[15];
  if (w != 0.0f) {
    x /= w;
    y /= w;
  }
  out->x = x;
  out->y = y;
}

void ComGlDxMatricesMultiplyMatrixByMatrix(_ComGlDxMatrix* out, _ComGlDxMatrix* a,
                                           _ComGlDxMatrix* b) {
  if (!out || !a || !b) return;
  _ComGlDxMatrix bc = *b;  // out may be b
  _ComGlDxMatrix r;
  for (int i = 0; i < 4; i++)
    for (int n = 0; n < 4; n++)
      r.m[4 * i + n] = bc.m[4 * i] * a->m[n] + bc.m[4 * i + 1] * a->m[4 + n] +
                       bc.m[4 * i + 2] * a->m[8 + n] + bc.m[4 * i + 3] * a->m[12 + n];
  *out = r;
}

void ComGlDxMatricesLinearInterpolateTwoMatrices(_ComGlDxMatrix* a, _ComGlDxMatrix* b, float t,
                                                 _ComGlDxMatrix* out) {
  if (!a || !b || !out) return;
  for (int i = 0; i < 16; i++) out->m[i] = a->m[i] + (b->m[i] - a->m[i]) * t;
}

// Determinant of the 3 x 3 minor of `in` without row `row` and column `col`, reading element
// (r, c) as in[4r + c].
static float MatrixMinor(const float* in, int row, int col) {
  float v[9];
  int k = 0;
  for (int r = 0; r < 4; r++) {
    if (r == row) continue;
    for (int c = 0; c < 4; c++) {
      if (c == col) continue;
      v[k++] = in[4 * r + c];
    }
  }
  return v[0] * (v[4] * v[8] - v[5] * v[7]) - v[1] * (v[3] * v[8] - v[5] * v[6]) +
         v[2] * (v[3] * v[7] - v[4] * v[6]);
}

char ComGlDxMatricesCalcInverseMatrix(_ComGlDxMatrix* out, _ComGlDxMatrix* in) {
  if (!out || !in) return 0;
  const float* m = in->m;
  float det = 0.0f;
  for (int c = 0; c < 4; c++) det += ((c & 1) ? -1.0f : 1.0f) * m[c] * MatrixMinor(m, 0, c);
  if (fabsf(det) < 0.0005f) {
    ComGlDxMatricesSetIdentityMatrix(out);
    return 0;
  }
  _ComGlDxMatrix r;
  for (int j = 0; j < 4; j++)
    for (int k = 0; k < 4; k++)
      r.m[4 * k + j] = (((j + k) & 1) ? -1.0f : 1.0f) * MatrixMinor(m, j, k) / det;
  *out = r;
  return 1;
}

void ComGlDxMatricesConvertToDxMatrix(_ComGlDxMatrix* gl, _ComGlDxMatricesDxMatrix* dx) {
  if (!gl || !dx) return;
  memcpy(dx->m, gl->m, sizeof(dx->m));
}

void ComGlDxMatricesConvertFromDxMatrix(_ComGlDxMatricesDxMatrix* dx, _ComGlDxMatrix* gl) {
  if (!dx || !gl) return;
  memcpy(gl->m, dx->m, sizeof(gl->m));
}

// ---- Quaternions ----

static const float kRadToDeg = 57.29578f;

void ComGlQuatsGetQuatFromAxisAngleRad(_Vector3d* axis, float angle, _ComGlQuat* q) {
  if (!axis || !q) return;
  ComMathUnifyNormal(axis);
  float s = sinf(angle / 2);
  *q = {axis->x * s, axis->y * s, axis->z * s, cosf(angle / 2)};
}

void ComGlQuatsGetQuatFromAxisAngleDeg(_Vector3d* axis, float angle, _ComGlQuat* q) {
  ComGlQuatsGetQuatFromAxisAngleRad(axis, angle * kDegToRad, q);
}

void ComGlQuatsGetQuatFromRotationMatrix(_ComGlDxMatrix* mat, _ComGlQuat* q) {
  if (!mat || !q) return;
  const float* m = mat->m;
  float trace = m[0] + m[5] + m[10] + 1.0f;
  if (trace > 0.1f) {
    float s = 2 * sqrtf(trace);
    *q = {(m[6] - m[9]) / s, (m[8] - m[2]) / s, (m[1] - m[4]) / s, s / 4};
    return;
  }
  // Near a half turn the trace says too little: work from the largest diagonal element.
  auto scale = [](float v) {
    float s = v > 0 ? 2 * sqrtf(v) : 0.0f;
    return s > 0.00000001f ? s : 0.00000001f;
  };
  if (m[0] > m[5] && m[0] > m[10]) {
    float s = scale(1 + m[0] - m[5] - m[10]);
    *q = {s / 4, (m[1] + m[4]) / s, (m[8] + m[2]) / s, (m[6] - m[9]) / s};
  } else if (m[5] > m[10]) {
    float s = scale(1 + m[5] - m[0] - m[10]);
    *q = {(m[1] + m[4]) / s, s / 4, (m[6] + m[9]) / s, (m[8] - m[2]) / s};
  } else {
    float s = scale(1 + m[10] - m[0] - m[5]);
    *q = {(m[8] + m[2]) / s, (m[6] + m[9]) / s, s / 4, (m[1] - m[4]) / s};
  }
}

void ComGlQuatsGetRotationMatrixFromQuat(_ComGlQuat* quat, _ComGlDxMatrix* mat) {
  if (!quat || !mat) return;
  const _ComGlQuat q = *quat;
  float* m = mat->m;
  memset(m, 0, sizeof(mat->m));
  m[0] = 1 - 2 * (q.y * q.y + q.z * q.z);
  m[1] = 2 * (q.x * q.y + q.z * q.w);
  m[2] = 2 * (q.x * q.z - q.y * q.w);
  m[4] = 2 * (q.x * q.y - q.z * q.w);
  m[5] = 1 - 2 * (q.z * q.z + q.x * q.x);
  m[6] = 2 * (q.x * q.w + q.y * q.z);
  m[8] = 2 * (q.x * q.z + q.y * q.w);
  m[9] = 2 * (q.y * q.z - q.x * q.w);
  m[10] = 1 - 2 * (q.x * q.x + q.y * q.y);
  m[15] = 1;
}

void ComGlQuatsMultiplyTwoQuats(_ComGlQuat* qa, _ComGlQuat* qb, _ComGlQuat* out) {
  if (!qa || !qb || !out) return;
  const _ComGlQuat a = *qa, b = *qb;
  *out = {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
          a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

void ComGlQuatsGetQuatFromYawPitchAndRollDeg(float yaw, float pitch, float roll, _ComGlQuat* q) {
  if (!q) return;
  float sy = sinf(yaw * kDegToRad / 2), cy = cosf(yaw * kDegToRad / 2);
  float sp = sinf(pitch * kDegToRad / 2), cp = cosf(pitch * kDegToRad / 2);
  float sr = sinf(roll * kDegToRad / 2), cr = cosf(roll * kDegToRad / 2);
  *q = {sr * cy * cp - cr * sy * sp, sy * cr * cp + cy * sr * sp, cy * cr * sp - sy * sr * cp,
        cy * cp * cr + sy * sp * sr};
}

void ComGlQuatsGetQuatFromEulerAnglesDeg(float ax, float ay, float az, _ComGlQuat* q) {
  if (!q) return;
  _Vector3d x = {1, 0, 0}, y = {0, 1, 0}, z = {0, 0, 1};
  _ComGlQuat qx, qy, qz;
  ComGlQuatsGetQuatFromAxisAngleDeg(&x, ax, &qx);
  ComGlQuatsGetQuatFromAxisAngleDeg(&y, ay, &qy);
  ComGlQuatsGetQuatFromAxisAngleDeg(&z, az, &qz);
  ComGlQuatsMultiplyTwoQuats(&qx, &qy, q);
  ComGlQuatsMultiplyTwoQuats(q, &qz, q);
}

float ComGlQuatsGetQuatMagnitude(_ComGlQuat* q) {
  if (!q) return 0.0f;
  return sqrtf(q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w);
}

_ComGlQuat* ComGlQuatsNormaliseQuat(_ComGlQuat* q) {
  float len = ComGlQuatsGetQuatMagnitude(q);
  if (len == 0.0f) return q;
  q->x /= len;
  q->y /= len;
  q->z /= len;
  q->w /= len;
  return q;
}

void ComGlQuatsGetAxisAndAngleFromQuatRad(_ComGlQuat* q, _Vector3d* axis, float* angle) {
  if (!q || !axis || !angle) return;
  ComGlQuatsNormaliseQuat(q);
  // Rounding can leave |w| a little above 1 after normalising: acos and the root would give NaN.
  float w = q->w > 1.0f ? 1.0f : (q->w < -1.0f ? -1.0f : q->w);
  *angle = 2 * acosf(w);
  float s = sqrtf(1 - w * w);
  if (fabsf(s) < 0.0000001f) s = 1;
  *axis = {q->x / s, q->y / s, q->z / s};
}

void ComGlQuatsGetAxisAndAngleFromQuatDeg(_ComGlQuat* q, _Vector3d* axis, float* angle) {
  if (!q || !axis || !angle) return;
  ComGlQuatsGetAxisAndAngleFromQuatRad(q, axis, angle);
  *angle *= kRadToDeg;
}

void ComGlQuatsInterpolateTwoMatrices(_ComGlDxMatrix* a, _ComGlDxMatrix* b, float t, _ComGlDxMatrix* out) {
  if (!a || !b || !out) return;
  _ComGlDxMatrix inv, d, r;
  ComGlDxMatricesCalcInverseMatrix(&inv, a);
  ComGlDxMatricesMultiplyMatrixByMatrix(&d, &inv, b);
  _ComGlQuat q;
  ComGlQuatsGetQuatFromRotationMatrix(&d, &q);
  // q and -q are the same rotation; the one with w >= 0 turns through at most half a turn, so
  // the steps in between go the short way.
  if (q.w < 0) q = {-q.x, -q.y, -q.z, -q.w};
  _Vector3d axis;
  float angle;
  ComGlQuatsGetAxisAndAngleFromQuatDeg(&q, &axis, &angle);
  ComGlQuatsGetQuatFromAxisAngleDeg(&axis, angle * t, &q);
  ComGlQuatsGetRotationMatrixFromQuat(&q, &r);
  ComGlDxMatricesMultiplyMatrixByMatrix(out, a, &r);
}

void ComGlQuatsInterpolateTwoQuats(_ComGlQuat* qa, _ComGlQuat* qb, float t, _ComGlQuat* out) {
  if (!qa || !qb || !out) return;
  _ComGlDxMatrix a, b, m;
  ComGlQuatsGetRotationMatrixFromQuat(qa, &a);
  ComGlQuatsGetRotationMatrixFromQuat(qb, &b);
  ComGlQuatsInterpolateTwoMatrices(&a, &b, t, &m);
  ComGlQuatsGetQuatFromRotationMatrix(&m, out);
}
