// The framework's 3D vector and plane geometry in single precision: products and magnitudes,
// planes, distances from points to planes and lines, ray-triangle intersection, angles in degrees
// and radians, and random vectors within ranges. Null pointers give 0 or do nothing.
#ifndef COM_MATH_H
#define COM_MATH_H

#include "ComMisc.h"

// The plane a x + b y + c z + d = 0; (a, b, c) is its normal, not necessarily of unit length.
struct _ComMathPlane {
  float a, b, c, d;
};

struct _ComMathRange3Var {
  float min_x, max_x, min_y, max_y, min_z, max_z;
};

float ComMathSquareMagnitude(_Vector3d* v);
float ComMathMagnitude(_Vector3d* v);
float ComMathDotProduct(_Vector3d* a, _Vector3d* b);
// out = a x b; out may be a or b.
void ComMathCrossProduct(_Vector3d* out, _Vector3d* a, _Vector3d* b);
int ComMathAbs(int v);  // INT_MIN, which has no positive counterpart, gives INT_MAX
float ComMathFabs(float v);
float ComMathGetSignFloat(float v);  // -1, 0 or 1
void ComMathInterpolateTwoVectors(_Vector3d* a, _Vector3d* b, float t, _Vector3d* out);
// Scales to unit length (the length computed in double precision); a zero vector stays zero.
void ComMathUnifyNormal(float* x, float* y, float* z);
void ComMathUnifyNormal(_Vector3d* v);

// Planes.
void ComMathGetPlaneFromThreePoints(_Vector3d* p1, _Vector3d* p2, _Vector3d* p3, _ComMathPlane* out);
void ComMathNormalisePlane(_ComMathPlane* plane);
float ComMathGetPlanePointDotProduct(_ComMathPlane* plane, _Vector3d* p);
float ComMathGetDistanceFromPointToPlane(_ComMathPlane* plane, _Vector3d* p);  // signed
void ComMathGetPlaneNormal(_ComMathPlane* plane, _Vector3d* out);

// Angles. The sign of the side test tells on which side of the line through (x1, y1) and
// (x2, y2) the point lies.
float ComMathGetSideOfLineAPointIsOn2D(float px, float py, float x1, float y1, float x2, float y2);
float ComMathGetAngleBetweenTwoPoints(float x1, float y1, float x2, float y2);  // [0, 2 pi)
float ComMathAverage2AngsRad(float a, float b);  // the short way round, in [0, 2 pi)
// Into [0, 360) and [-180, 180); values that are not finite stay as they are.
float* ComMathKeepAngleBetween0And360(float* deg);
float* ComMathKeepAngleBetweenMinus180And180(float* deg);

// Squared distances to lines; a zero direction gives 9999999999.0.
float ComMathDistOriginToLineSquared(_Vector3d* p, _Vector3d* dir);
float ComMathDistFromPointToLineSquared(_Vector3d* q, _Vector3d* p, _Vector3d* dir);
float ComMathDistFromPointToLineSquared2(_Vector3d* q, _Vector3d* p1, _Vector3d* p2);

// Two-sided ray-triangle test: 1 with the distance along the ray (negative behind the origin)
// and the barycentric coordinates, else 0.
char ComMathDoesLineIntersectTriangle(_Vector3d* origin, _Vector3d* dir, _Vector3d* c0, _Vector3d* c1,
                                      _Vector3d* c2, float* t, float* u, float* v);
// 1 when the triangle p1, p2, p3 turns the same way as the normal.
char check_same_clock_dir(_Vector3d* p1, _Vector3d* p2, _Vector3d* p3, _Vector3d* normal);
// One-sided: only a ray meeting the triangle's front face, ahead of the origin, gives 1 and the hit.
char ComMathLineIntersectLine(_Vector3d* t0, _Vector3d* t1, _Vector3d* t2, _Vector3d* origin, _Vector3d* dir,
                              _Vector3d* hit);

// Ranges.
char ComMathCheckIfRange3VarActive(_ComMathRange3Var* r);
void ComMathSetVector3dFromRange3Var(_Vector3d* out, _ComMathRange3Var* r);

#endif
