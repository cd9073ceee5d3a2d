// Quaternions: conversions to and from matrices, axis-angle pairs and Euler angles on known
// rotations and random round trips, products whose output is an input, and interpolation.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ComGlMatrix.h"
#include "ComMisc.h"

namespace {

void ExpectQuat(const _ComGlQuat& q, float x, float y, float z, float w, float tol = 1e-5f) {
  EXPECT_NEAR(q.x, x, tol);
  EXPECT_NEAR(q.y, y, tol);
  EXPECT_NEAR(q.z, z, tol);
  EXPECT_NEAR(q.w, w, tol);
}

void ExpectMatrix(const _ComGlDxMatrix& want, const _ComGlDxMatrix& got, float tol, const std::string& what) {
  for (int i = 0; i < 16; i++) EXPECT_NEAR(want.m[i], got.m[i], tol) << what << " m" << i;
}

// The same rotation: q and -q both are.
void ExpectSameRotation(const _ComGlQuat& a, const _ComGlQuat& b, float tol = 1e-4f) {
  float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  EXPECT_NEAR(fabsf(dot), 1.0f, tol);
}

_ComGlQuat RandomUnitQuat(std::mt19937& rng) {
  std::uniform_real_distribution<float> angle(-360.0f, 360.0f);
  _ComGlQuat q;
  ComGlQuatsGetQuatFromYawPitchAndRollDeg(angle(rng), angle(rng), angle(rng), &q);
  return q;
}

const float kHalf = sqrtf(0.5f);

TEST(ComGlQuats, KnownRotations) {
  _ComGlQuat q;
  _Vector3d axis = {0, 0, 5};  // normalised in place
  ComGlQuatsGetQuatFromAxisAngleDeg(&axis, 90, &q);
  ExpectQuat(q, 0, 0, kHalf, kHalf);
  EXPECT_FLOAT_EQ(axis.z, 1);

  // A quarter turn about z takes x to y, as the matrix of the same angle does.
  _ComGlDxMatrix m, rz;
  ComGlQuatsGetRotationMatrixFromQuat(&q, &m);
  ComGlDxMatricesSetRotateZMatrixDeg(&rz, 90);
  ExpectMatrix(rz, m, 1e-6f, "quarter turn about z");

  // Half a turn about x: the trace is 0, so the largest diagonal element decides.
  ComGlDxMatricesSetRotateXMatrixDeg(&m, 180);
  ComGlQuatsGetQuatFromRotationMatrix(&m, &q);
  ExpectQuat(q, 1, 0, 0, 0);
  ComGlDxMatricesSetRotateYMatrixDeg(&m, 180);
  ComGlQuatsGetQuatFromRotationMatrix(&m, &q);
  ExpectQuat(q, 0, 1, 0, 0);
  ComGlDxMatricesSetRotateZMatrixDeg(&m, 180);
  ComGlQuatsGetQuatFromRotationMatrix(&m, &q);
  ExpectQuat(q, 0, 0, 1, 0);

  // Yaw turns about y, pitch about z, roll about x.
  ComGlQuatsGetQuatFromYawPitchAndRollDeg(90, 0, 0, &q);
  ExpectQuat(q, 0, kHalf, 0, kHalf);
  ComGlQuatsGetQuatFromYawPitchAndRollDeg(0, 90, 0, &q);
  ExpectQuat(q, 0, 0, kHalf, kHalf);
  ComGlQuatsGetQuatFromYawPitchAndRollDeg(0, 0, 90, &q);
  ExpectQuat(q, kHalf, 0, 0, kHalf);

  // Euler angles: x, then y, then z from the left.
  _ComGlQuat e, qx, qy, qz, want;
  ComGlQuatsGetQuatFromEulerAnglesDeg(30, 40, 50, &e);
  _Vector3d x = {1, 0, 0}, y = {0, 1, 0}, z = {0, 0, 1};
  ComGlQuatsGetQuatFromAxisAngleDeg(&x, 30, &qx);
  ComGlQuatsGetQuatFromAxisAngleDeg(&y, 40, &qy);
  ComGlQuatsGetQuatFromAxisAngleDeg(&z, 50, &qz);
  ComGlQuatsMultiplyTwoQuats(&qx, &qy, &want);
  ComGlQuatsMultiplyTwoQuats(&want, &qz, &want);
  ExpectQuat(e, want.x, want.y, want.z, want.w);
}

TEST(ComGlQuats, MagnitudeAxisAndAngle) {
  _ComGlQuat q = {0, 0, 3, 4};
  EXPECT_FLOAT_EQ(ComGlQuatsGetQuatMagnitude(&q), 5);
  EXPECT_EQ(ComGlQuatsNormaliseQuat(&q), &q);
  ExpectQuat(q, 0, 0, 0.6f, 0.8f, 1e-7f);
  _ComGlQuat zero = {0, 0, 0, 0};
  ComGlQuatsNormaliseQuat(&zero);
  ExpectQuat(zero, 0, 0, 0, 0, 0);

  _ComGlQuat identity = {0, 0, 0, 1};
  _Vector3d axis = {9, 9, 9};
  float angle = 9;
  ComGlQuatsGetAxisAndAngleFromQuatRad(&identity, &axis, &angle);
  EXPECT_EQ(angle, 0);
  EXPECT_EQ(axis.x, 0);
  EXPECT_EQ(axis.y, 0);
  EXPECT_EQ(axis.z, 0);

  // Not normalised on the way in: normalised in place first.
  _ComGlQuat scaled = {0, 2 * kHalf, 0, 2 * kHalf};
  ComGlQuatsGetAxisAndAngleFromQuatDeg(&scaled, &axis, &angle);
  EXPECT_NEAR(angle, 90, 1e-3f);
  EXPECT_NEAR(axis.y, 1, 1e-5f);
  EXPECT_NEAR(ComGlQuatsGetQuatMagnitude(&scaled), 1, 1e-6f);

  // Nearly the identity (w at 1 after normalising): a finite angle and axis.
  for (float tiny : {1e-8f, 3e-5f, 1e-4f}) {
    _ComGlQuat near_one = {tiny, -tiny, tiny, 1.0f + tiny};
    ComGlQuatsGetAxisAndAngleFromQuatRad(&near_one, &axis, &angle);
    EXPECT_TRUE(std::isfinite(angle) && std::isfinite(axis.x) && std::isfinite(axis.y) && std::isfinite(axis.z))
        << tiny;
  }
}

TEST(ComGlQuats, RoundTrips) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 500; i++) {
    _ComGlQuat q = RandomUnitQuat(rng);
    EXPECT_NEAR(ComGlQuatsGetQuatMagnitude(&q), 1, 1e-5f);

    _ComGlDxMatrix m, m2;
    ComGlQuatsGetRotationMatrixFromQuat(&q, &m);
    _ComGlQuat back;
    ComGlQuatsGetQuatFromRotationMatrix(&m, &back);
    ExpectSameRotation(q, back);
    ComGlQuatsGetRotationMatrixFromQuat(&back, &m2);
    ExpectMatrix(m, m2, 1e-4f, "matrix round trip");

    _ComGlQuat copy = q, again;
    _Vector3d axis;
    float angle;
    ComGlQuatsGetAxisAndAngleFromQuatRad(&copy, &axis, &angle);
    ComGlQuatsGetQuatFromAxisAngleRad(&axis, angle, &again);
    ExpectSameRotation(q, again);
  }
}

TEST(ComGlQuats, ProductIsTheMatrixProduct) {
  std::mt19937 rng(99);
  for (int i = 0; i < 50; i++) {
    _ComGlQuat a = RandomUnitQuat(rng), b = RandomUnitQuat(rng), ab;
    ComGlQuatsMultiplyTwoQuats(&a, &b, &ab);
    _ComGlDxMatrix ma, mb, mab, product;
    ComGlQuatsGetRotationMatrixFromQuat(&a, &ma);
    ComGlQuatsGetRotationMatrixFromQuat(&b, &mb);
    ComGlQuatsGetRotationMatrixFromQuat(&ab, &mab);
    ComGlDxMatricesMultiplyMatrixByMatrix(&product, &ma, &mb);
    ExpectMatrix(product, mab, 1e-5f, "R(ab) = R(a) R(b)");

    // The output may be either input.
    _ComGlQuat a2 = a, b2 = b;
    ComGlQuatsMultiplyTwoQuats(&a2, &b, &a2);
    ComGlQuatsMultiplyTwoQuats(&a, &b2, &b2);
    ExpectQuat(a2, ab.x, ab.y, ab.z, ab.w, 0);
    ExpectQuat(b2, ab.x, ab.y, ab.z, ab.w, 0);
  }
}

TEST(ComGlQuats, InterpolateMatrices) {
  // From a rotated and moved frame a to b = a turned a further 90 degrees about z.
  _ComGlDxMatrix a, b, turn, rot, move, out;
  ComGlDxMatricesSetRotationXYZMatrixDeg(&rot, 20, -35, 70);
  ComGlDxMatricesSetTranslateMatrix(&move, 1, 2, 3);
  ComGlDxMatricesMultiplyMatrixByMatrix(&a, &move, &rot);
  ComGlDxMatricesSetRotateZMatrixDeg(&turn, 90);
  ComGlDxMatricesMultiplyMatrixByMatrix(&b, &a, &turn);

  ComGlQuatsInterpolateTwoMatrices(&a, &b, 0, &out);
  ExpectMatrix(a, out, 1e-5f, "t = 0");
  ComGlQuatsInterpolateTwoMatrices(&a, &b, 1, &out);
  ExpectMatrix(b, out, 1e-4f, "t = 1");
  _ComGlDxMatrix half_turn, half;
  ComGlDxMatricesSetRotateZMatrixDeg(&half_turn, 45);
  ComGlDxMatricesMultiplyMatrixByMatrix(&half, &a, &half_turn);
  ComGlQuatsInterpolateTwoMatrices(&a, &b, 0.5f, &out);
  ExpectMatrix(half, out, 1e-4f, "t = 0.5");

  // 200 degrees one way is 160 the other: half way is -80 degrees, not +100.
  _ComGlDxMatrix id, far, minus80;
  ComGlDxMatricesSetIdentityMatrix(&id);
  ComGlDxMatricesSetRotateZMatrixDeg(&far, 200);
  ComGlDxMatricesSetRotateZMatrixDeg(&minus80, -80);
  ComGlQuatsInterpolateTwoMatrices(&id, &far, 0.5f, &out);
  ExpectMatrix(minus80, out, 1e-4f, "short way");
  ComGlQuatsInterpolateTwoMatrices(&id, &far, 1, &out);
  ExpectMatrix(far, out, 1e-4f, "short way, t = 1");

  // Quaternions the same way.
  _ComGlQuat qa = {0, 0, 0, 1}, qb, qh;
  _Vector3d x = {1, 0, 0};
  ComGlQuatsGetQuatFromAxisAngleDeg(&x, 120, &qb);
  ComGlQuatsInterpolateTwoQuats(&qa, &qb, 0.25f, &qh);
  ExpectSameRotation(qh, {sinf(15 * 0.017453292f), 0, 0, cosf(15 * 0.017453292f)});
}

}  // namespace
