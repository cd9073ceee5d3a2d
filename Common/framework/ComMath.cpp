// Vector and plane geometry. Every function reads its inputs before writing its output, so an
// output may also be one of the inputs.
#include "ComMath.h"

#include <climits>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;
constexpr float kNoLine = 9999999999.0f;

_Vector3d Sub(const _Vector3d& a, const _Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

_Vector3d Cross(const _Vector3d& a, const _Vector3d& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const _Vector3d& a, const _Vector3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Into [0, period) for a finite value; the remainder is exact, and a negative remainder so close
// to 0 that adding the period rounds up to it becomes 0.
float WrapPositive(float v, float period) {
  if (!std::isfinite(v)) return v;
  float r = fmodf(v, period);
  if (r < 0) r += period;
  if (r >= period) r = 0;
  return r;
}

}  // namespace

float ComMathSquareMagnitude(_Vector3d* v) { return v ? Dot(*v, *v) : 0.0f; }

float ComMathMagnitude(_Vector3d* v) { return sqrtf(ComMathSquareMagnitude(v)); }

float ComMathDotProduct(_Vector3d* a, _Vector3d* b) { return a && b ? Dot(*a, *b) : 0.0f; }

void ComMathCrossProduct(_Vector3d* out, _Vector3d* a, _Vector3d* b) {
  if (out && a && b) *out = Cross(*a, *b);
}

int ComMathAbs(int v) {
  if (v == INT_MIN) return INT_MAX;
  return v < 0 ? -v : v;
}

float ComMathFabs(float v) { return fabsf(v); }

float ComMathGetSignFloat(float v) {
  if (v < 0) return -1.0f;
  if (v > 0) return 1.0f;
  return 0.0f;
}

void ComMathInterpolateTwoVectors(_Vector3d* a, _Vector3d* b, float t, _Vector3d* out) {
  if (!a || !b || !out) return;
  _Vector3d r = {a->x + (b->x - a->x) * t, a->y + (b->y - a->y) * t, a->z + (b->z - a->z) * t};
  *out = r;
}

void ComMathUnifyNormal(float* x, float* y, float* z) {
  if (!x || !y || !z) return;
  double len = sqrt((double)*x * *x + (double)*y * *y + (double)*z * *z);
  if (len == 0.0) return;
  *x = (float)(*x / len);
  *y = (float)(*y / len);
  *z = (float)(*z / len);
}

void ComMathUnifyNormal(_Vector3d* v) {
  if (v) ComMathUnifyNormal(&v->x, &v->y, &v->z);
}

// ---- Planes ----

void ComMathGetPlaneFromThreePoints(_Vector3d* p1, _Vector3d* p2, _Vector3d* p3, _ComMathPlane* out) {
  if (!p1 || !p2 || !p3 || !out) return;
  _Vector3d n = Cross(Sub(*p2, *p1), Sub(*p3, *p1));
  *out = {n.x, n.y, n.z, -Dot(n, *p1)};
}

void ComMathNormalisePlane(_ComMathPlane* plane) {
  if (!plane) return;
  float len = sqrtf(plane->a * plane->a + plane->b * plane->b + plane->c * plane->c);
  if (len == 0.0f) return;
  plane->a /= len;
  plane->b /= len;
  plane->c /= len;
  plane->d /= len;
}

float ComMathGetPlanePointDotProduct(_ComMathPlane* plane, _Vector3d* p) {
  if (!plane || !p) return 0.0f;
  return plane->a * p->x + plane->b * p->y + plane->c * p->z + plane->d;
}

float ComMathGetDistanceFromPointToPlane(_ComMathPlane* plane, _Vector3d* p) {
  if (!plane || !p) return 0.0f;
  float len = sqrtf(plane->a * plane->a + plane->b * plane->b + plane->c * plane->c);
  if (len == 0.0f) return 0.0f;
  return ComMathGetPlanePointDotProduct(plane, p) / len;
}

void ComMathGetPlaneNormal(_ComMathPlane* plane, _Vector3d* out) {
  if (!plane || !out) return;
  *out = {plane->a, plane->b, plane->c};
  ComMathUnifyNormal(out);
}

// ---- Angles ----

float ComMathGetSideOfLineAPointIsOn2D(float px, float py, float x1, float y1, float x2, float y2) {
  return (y1 - y2) * px + (x2 - x1) * py + (x1 * y2 - y1 * x2);
}

float ComMathGetAngleBetweenTwoPoints(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1, dy = y2 - y1;
  float a;
  if (dx != 0 && dy != 0) {
    a = atanf(dy / dx);
    if (dx < 0) a += kPi;
    else if (dy < 0) a += kTwoPi;
  } else if (dy == 0) {
    a = dx < 0 ? kPi : 0.0f;
  } else {
    a = dy > 0 ? kPi / 2 : 3 * kPi / 2;
  }
  return WrapPositive(a, kTwoPi);
}

float ComMathAverage2AngsRad(float a, float b) {
  float d;
  if (a >= kPi && b <= kPi && a - b > kPi) {
    d = b + kTwoPi - a;
  } else {
    d = b - a;
    if (b >= kPi && a <= kPi && d > kPi) {
      a += kTwoPi;
      d = b - a;
    }
  }
  return WrapPositive(a + d / 2, kTwoPi);
}

float* ComMathKeepAngleBetween0And360(float* deg) {
  if (deg) *deg = WrapPositive(*deg, 360.0f);
  return deg;
}

float* ComMathKeepAngleBetweenMinus180And180(float* deg) {
  if (!deg || !std::isfinite(*deg)) return deg;
  float r = fmodf(*deg, 360.0f);  // exact, within (-360, 360)
  if (r < -180.0f) r += 360.0f;
  if (r >= 180.0f) r -= 360.0f;
  *deg = r;
  return deg;
}

// ---- Distances to lines ----

float ComMathDistOriginToLineSquared(_Vector3d* p, _Vector3d* dir) {
  if (!p || !dir) return 0.0f;
  float len2 = Dot(*dir, *dir);
  if (len2 == 0.0f) return kNoLine;
  _Vector3d c = Cross(*p, *dir);
  return Dot(c, c) / len2;
}

float ComMathDistFromPointToLineSquared(_Vector3d* q, _Vector3d* p, _Vector3d* dir) {
  if (!q || !p || !dir) return 0.0f;
  _Vector3d shifted = Sub(*p, *q);
  return ComMathDistOriginToLineSquared(&shifted, dir);
}

float ComMathDistFromPointToLineSquared2(_Vector3d* q, _Vector3d* p1, _Vector3d* p2) {
  if (!q || !p1 || !p2) return 0.0f;
  _Vector3d dir = Sub(*p2, *p1);
  return ComMathDistFromPointToLineSquared(q, p1, &dir);
}

// ---- Rays and triangles ----

char ComMathDoesLineIntersectTriangle(_Vector3d* origin, _Vector3d* dir, _Vector3d* c0, _Vector3d* c1,
                                      _Vector3d* c2, float* t, float* u, float* v) {
  if (!origin || !dir || !c0 || !c1 || !c2) return 0;
  float tt, uu, vv;
  if (!t) t = &tt;
  if (!u) u = &uu;
  if (!v) v = &vv;
  _Vector3d e1 = Sub(*c1, *c0), e2 = Sub(*c2, *c0);
  _Vector3d p = Cross(*dir, e2);
  float det = Dot(e1, p);
  if (det > -0.000001f && det < 0.000001f) return 0;
  float inv = 1.0f / det;
  _Vector3d tv = Sub(*origin, *c0);
  *u = Dot(tv, p) * inv;
  if (*u < 0.0f || *u > 1.0f) return 0;
  _Vector3d q = Cross(tv, e1);
  *v = Dot(*dir, q) * inv;
  if (*v < 0.0f || *u + *v > 1.0f) return 0;
  *t = Dot(e2, q) * inv;
  return 1;
}

char check_same_clock_dir(_Vector3d* p1, _Vector3d* p2, _Vector3d* p3, _Vector3d* normal) {
  if (!p1 || !p2 || !p3 || !normal) return 0;
  return Dot(Cross(Sub(*p2, *p1), Sub(*p3, *p1)), *normal) >= 0.0f ? 1 : 0;
}

char ComMathLineIntersectLine(_Vector3d* t0, _Vector3d* t1, _Vector3d* t2, _Vector3d* origin, _Vector3d* dir,
                              _Vector3d* hit) {
  if (!t0 || !t1 || !t2 || !origin || !dir) return 0;
  _Vector3d n = Cross(Sub(*t1, *t0), Sub(*t2, *t1));
  float den = Dot(n, *dir);
  if (den >= 0.0f) return 0;
  float s = -Dot(Sub(*origin, *t0), n) / den;
  if (s < 0.0f) return 0;
  _Vector3d h = {origin->x + s * dir->x, origin->y + s * dir->y, origin->z + s * dir->z};
  if (hit) *hit = h;
  if (Dot(Cross(Sub(*t1, *t0), Sub(h, *t0)), n) < 0.0f) return 0;
  if (Dot(Cross(Sub(*t2, *t1), Sub(h, *t1)), n) < 0.0f) return 0;
  if (Dot(Cross(Sub(*t0, *t2), Sub(h, *t2)), n) < 0.0f) return 0;
  return 1;
}

// ---- Ranges ----

char ComMathCheckIfRange3VarActive(_ComMathRange3Var* r) {
  if (!r) return 0;
  const float axes[3][2] = {{r->min_x, r->max_x}, {r->min_y, r->max_y}, {r->min_z, r->max_z}};
  for (const auto& axis : axes)
    if (!(axis[0] == 0.0f && axis[1] == 0.0f) && axis[0] <= axis[1]) return 1;
  return 0;
}

void ComMathSetVector3dFromRange3Var(_Vector3d* out, _ComMathRange3Var* r) {
  if (!out || !r) return;
  // Drawn in the order x, y, z, so a seeded run repeats.
  out->x = ComMiscRandRangeFloat(r->min_x, r->max_x, 0);
  out->y = ComMiscRandRangeFloat(r->min_y, r->max_y, 0);
  out->z = ComMiscRandRangeFloat(r->min_z, r->max_z, 0);
}
