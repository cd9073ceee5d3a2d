// Vector maths: the angle functions on their turning points, ranges that must not loop, products
// whose output is also an input, planes and line distances, and the two ray-triangle tests.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "ComMath.h"

namespace {

constexpr float kPi = 3.14159265f;

void ExpectVec(const _Vector3d& v, float x, float y, float z, float tol = 1e-5f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

TEST(ComMath, AngleBetweenTwoPoints) {
  struct Case {
    float x2, y2, want;
  } cases[] = {
      {1, 0, 0},          {1, 1, kPi / 4},     {0, 1, kPi / 2},     {-1, 1, 3 * kPi / 4},
      {-1, 0, kPi},       {-1, -1, 5 * kPi / 4}, {0, -1, 3 * kPi / 2}, {1, -1, 7 * kPi / 4},
      {0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(ComMathGetAngleBetweenTwoPoints(0, 0, c.x2, c.y2), c.want, 1e-5f) << c.x2 << "," << c.y2;
  // From a point other than the origin.
  EXPECT_NEAR(ComMathGetAngleBetweenTwoPoints(2, 3, 2, 1), 3 * kPi / 2, 1e-5f);
}

TEST(ComMath, AverageOfTwoAnglesTakesTheShortWay) {
  EXPECT_NEAR(ComMathAverage2AngsRad(6.0f, 0.2f), 6.0f + (0.2f + 2 * kPi - 6.0f) / 2, 1e-5f);
  EXPECT_NEAR(ComMathAverage2AngsRad(0.2f, 6.0f), 6.0f + (0.2f + 2 * kPi - 6.0f) / 2, 1e-5f);
  EXPECT_NEAR(ComMathAverage2AngsRad(1.0f, 2.0f), 1.5f, 1e-6f);
  // Across 0 with the mean on the far side of 0: wrapped back into [0, 2 pi).
  EXPECT_NEAR(ComMathAverage2AngsRad(6.2f, 0.5f), (6.2f + 0.5f + 2 * kPi) / 2 - 2 * kPi, 1e-5f);
}

TEST(ComMath, KeepAngleInRange) {
  struct Case {
    float in, want360, want180;
  } cases[] = {
      {0, 0, 0},         {180, 180, -180},    {-180, 180, -180},  {360, 0, 0},
      {-1, 359, -1},     {725, 5, 5},         {-725, 355, -5},    {179.5f, 179.5f, 179.5f},
  };
  for (const Case& c : cases) {
    float a = c.in, b = c.in;
    EXPECT_EQ(ComMathKeepAngleBetween0And360(&a), &a);
    EXPECT_NEAR(a, c.want360, 1e-3f) << c.in;
    EXPECT_EQ(ComMathKeepAngleBetweenMinus180And180(&b), &b);
    EXPECT_NEAR(b, c.want180, 1e-3f) << c.in;
    EXPECT_TRUE(a >= 0 && a < 360) << c.in;
    EXPECT_TRUE(b >= -180 && b < 180) << c.in;
  }
  // A tiny negative angle would round up to 360 after adding it; huge ones come in range at once.
  for (float in : {-1e-8f, 1e30f, -3e25f}) {
    float a = in, b = in;
    ComMathKeepAngleBetween0And360(&a);
    ComMathKeepAngleBetweenMinus180And180(&b);
    EXPECT_TRUE(a >= 0 && a < 360) << in << " " << a;
    EXPECT_TRUE(b >= -180 && b < 180) << in << " " << b;
  }
  // Values that are not finite come back as they are (no endless loop).
  float inf = INFINITY, ninf = -INFINITY, nan = NAN;
  ComMathKeepAngleBetween0And360(&inf);
  ComMathKeepAngleBetweenMinus180And180(&ninf);
  ComMathKeepAngleBetween0And360(&nan);
  EXPECT_EQ(inf, INFINITY);
  EXPECT_EQ(ninf, -INFINITY);
  EXPECT_TRUE(std::isnan(nan));
  EXPECT_EQ(ComMathKeepAngleBetween0And360(nullptr), nullptr);
}

TEST(ComMath, ProductsAndNormals) {
  _Vector3d a = {1, 2, 3}, b = {4, 5, 6}, out;
  ComMathCrossProduct(&out, &a, &b);
  ExpectVec(out, -3, 6, -3);
  // The output may be either input.
  _Vector3d a2 = a;
  ComMathCrossProduct(&a2, &a2, &b);
  ExpectVec(a2, -3, 6, -3);
  _Vector3d b2 = b;
  ComMathCrossProduct(&b2, &a, &b2);
  ExpectVec(b2, -3, 6, -3);
  EXPECT_FLOAT_EQ(ComMathDotProduct(&a, &b), 32);
  EXPECT_FLOAT_EQ(ComMathSquareMagnitude(&a), 14);
  EXPECT_FLOAT_EQ(ComMathMagnitude(&a), sqrtf(14));

  _Vector3d mid;
  ComMathInterpolateTwoVectors(&a, &b, 0.25f, &mid);
  ExpectVec(mid, 1.75f, 2.75f, 3.75f);

  _Vector3d n = {3, 0, 4};
  ComMathUnifyNormal(&n);
  ExpectVec(n, 0.6f, 0, 0.8f, 1e-7f);
  _Vector3d zero = {0, 0, 0};
  ComMathUnifyNormal(&zero);
  ExpectVec(zero, 0, 0, 0, 0);

  EXPECT_EQ(ComMathAbs(-5), 5);
  EXPECT_EQ(ComMathAbs(INT_MIN), INT_MAX);
  EXPECT_FLOAT_EQ(ComMathFabs(-2.5f), 2.5f);
  EXPECT_EQ(ComMathGetSignFloat(-0.1f), -1);
  EXPECT_EQ(ComMathGetSignFloat(0.0f), 0);
  EXPECT_EQ(ComMathGetSignFloat(3.0f), 1);
}

TEST(ComMath, Planes) {
  // The plane z = 2 through three points turning anticlockwise seen from above: normal +z.
  _Vector3d p1 = {0, 0, 2}, p2 = {2, 0, 2}, p3 = {0, 2, 2};
  _ComMathPlane plane;
  ComMathGetPlaneFromThreePoints(&p1, &p2, &p3, &plane);
  EXPECT_FLOAT_EQ(plane.c, 4);
  EXPECT_FLOAT_EQ(plane.d, -8);
  _Vector3d above = {5, -7, 5}, below = {1, 1, -1};
  EXPECT_FLOAT_EQ(ComMathGetPlanePointDotProduct(&plane, &above), 12);
  EXPECT_FLOAT_EQ(ComMathGetDistanceFromPointToPlane(&plane, &above), 3);
  EXPECT_FLOAT_EQ(ComMathGetDistanceFromPointToPlane(&plane, &below), -3);
  _Vector3d normal;
  ComMathGetPlaneNormal(&plane, &normal);
  ExpectVec(normal, 0, 0, 1);
  ComMathNormalisePlane(&plane);
  EXPECT_FLOAT_EQ(plane.c, 1);
  EXPECT_FLOAT_EQ(plane.d, -2);

  _ComMathPlane flat = {0, 0, 0, 5};
  EXPECT_EQ(ComMathGetDistanceFromPointToPlane(&flat, &above), 0);
  EXPECT_EQ(ComMathGetDistanceFromPointToPlane(nullptr, &above), 0);
  ComMathGetPlaneNormal(&flat, &normal);
  ExpectVec(normal, 0, 0, 0, 0);

  _Vector3d up = {0, 0, 1}, down = {0, 0, -1};
  EXPECT_EQ(check_same_clock_dir(&p1, &p2, &p3, &up), 1);
  EXPECT_EQ(check_same_clock_dir(&p1, &p2, &p3, &down), 0);

  // Left of the line from (0, 0) to (1, 0) is positive.
  EXPECT_GT(ComMathGetSideOfLineAPointIsOn2D(0.5f, 1, 0, 0, 1, 0), 0);
  EXPECT_LT(ComMathGetSideOfLineAPointIsOn2D(0.5f, -1, 0, 0, 1, 0), 0);
  EXPECT_EQ(ComMathGetSideOfLineAPointIsOn2D(7, 0, 0, 0, 1, 0), 0);
}

TEST(ComMath, DistancesToLines) {
  _Vector3d p = {0, 3, 0}, dir = {2, 0, 0}, zero = {0, 0, 0};
  EXPECT_FLOAT_EQ(ComMathDistOriginToLineSquared(&p, &dir), 9);
  EXPECT_EQ(ComMathDistOriginToLineSquared(&p, &zero), 9999999999.0f);
  EXPECT_EQ(ComMathDistOriginToLineSquared(nullptr, &dir), 0);
  _Vector3d q = {5, 1, 4};
  EXPECT_FLOAT_EQ(ComMathDistFromPointToLineSquared(&q, &p, &dir), 4 + 16);
  _Vector3d p2 = {7, 3, 0};
  EXPECT_FLOAT_EQ(ComMathDistFromPointToLineSquared2(&q, &p, &p2), 4 + 16);
}

TEST(ComMath, RayAndTriangle) {
  // A triangle in the plane z = 0 whose front face (anticlockwise from +z) looks up.
  _Vector3d c0 = {0, 0, 0}, c1 = {4, 0, 0}, c2 = {0, 4, 0};
  _Vector3d from_above = {1, 1, 5}, down = {0, 0, -1};
  _Vector3d from_below = {1, 1, -5}, up = {0, 0, 1};
  float t = -1, u = -1, v = -1;
  ASSERT_EQ(ComMathDoesLineIntersectTriangle(&from_above, &down, &c0, &c1, &c2, &t, &u, &v), 1);
  EXPECT_FLOAT_EQ(t, 5);
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(v, 0.25f);
  _Vector3d hit = {9, 9, 9};
  ASSERT_EQ(ComMathLineIntersectLine(&c0, &c1, &c2, &from_above, &down, &hit), 1);
  ExpectVec(hit, 1, 1, 0);

  // The back face: the two-sided test reports it, the one-sided one does not.
  EXPECT_EQ(ComMathDoesLineIntersectTriangle(&from_below, &up, &c0, &c1, &c2, &t, &u, &v), 1);
  EXPECT_FLOAT_EQ(t, 5);
  EXPECT_EQ(ComMathLineIntersectLine(&c0, &c1, &c2, &from_below, &up, &hit), 0);

  // Behind the origin: the two-sided test gives a negative distance, the one-sided one refuses.
  _Vector3d away = {0, 0, 1};
  EXPECT_EQ(ComMathDoesLineIntersectTriangle(&from_above, &away, &c0, &c1, &c2, &t, &u, &v), 1);
  EXPECT_FLOAT_EQ(t, -5);
  EXPECT_EQ(ComMathLineIntersectLine(&c0, &c1, &c2, &from_above, &away, &hit), 0);

  // Outside the triangle, on an edge, parallel.
  _Vector3d outside = {3, 3, 5}, on_edge = {2, 0, 5}, side = {1, 0, 0};
  EXPECT_EQ(ComMathDoesLineIntersectTriangle(&outside, &down, &c0, &c1, &c2, &t, &u, &v), 0);
  EXPECT_EQ(ComMathLineIntersectLine(&c0, &c1, &c2, &outside, &down, &hit), 0);
  EXPECT_EQ(ComMathLineIntersectLine(&c0, &c1, &c2, &on_edge, &down, &hit), 1);
  EXPECT_EQ(ComMathDoesLineIntersectTriangle(&from_above, &side, &c0, &c1, &c2, &t, &u, &v), 0);
}

TEST(ComMath, Ranges) {
  _ComMathRange3Var none = {0, 0, 0, 0, 0, 0};
  _ComMathRange3Var reversed = {0, 0, 3, 1, 0, 0};
  _ComMathRange3Var z_only = {0, 0, 0, 0, -2, 2};
  _ComMathRange3Var fixed = {5, 5, 0, 0, 0, 0};
  EXPECT_EQ(ComMathCheckIfRange3VarActive(&none), 0);
  EXPECT_EQ(ComMathCheckIfRange3VarActive(&reversed), 0);
  EXPECT_EQ(ComMathCheckIfRange3VarActive(&z_only), 1);
  EXPECT_EQ(ComMathCheckIfRange3VarActive(&fixed), 1);
  EXPECT_EQ(ComMathCheckIfRange3VarActive(nullptr), 0);

  _ComMathRange3Var r = {1, 2, -4, -3, 10, 20};
  srand(7);
  for (int i = 0; i < 200; i++) {
    _Vector3d v;
    ComMathSetVector3dFromRange3Var(&v, &r);
    EXPECT_TRUE(v.x >= 1 && v.x <= 2 && v.y >= -4 && v.y <= -3 && v.z >= 10 && v.z <= 20);
  }
  // A range of one value gives that value.
  _Vector3d v;
  ComMathSetVector3dFromRange3Var(&v, &fixed);
  ExpectVec(v, 5, 0, 0, 0);
}

}  // namespace
