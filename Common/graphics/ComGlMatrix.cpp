// 4 x 4 matrix arithmetic in OpenGL's column-major memory order.
#include "ComGlMatrix.h"

#include <math.h>
#include <string.h>

#include "ComDebug.h"
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
